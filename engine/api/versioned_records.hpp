// The size-versioned records of the extended interface. A host states the
// size its records had when it was built; only the fields lying wholly
// within that size are read or written.
#pragma once

#include "vellicor/vellicor.h"

namespace vellicor {

// The host's settings as a whole record: fields past its size (or all of
// them for a null record) take their zero defaults.
ConversionSettings read_settings(const ConversionSettings* given);

// A report with every field zero and size set.
ConversionReport empty_report();

// Copies the fields of full that lie within given->size into given; does
// nothing for a null record and never changes given->size.
void write_report(const ConversionReport& full, ConversionReport* given);

}  // namespace vellicor
