// cvellicor's callback table for --list: the extended fields, and a report
// that first completes the listing.
#pragma once

#include "console/field_provider.hpp"
#include "console/glyph_listing.hpp"
#include "driver/host_callbacks.hpp"

namespace vellicor::console {

// The context of listing_console_callbacks; style is also the context of
// print_glyph_line.
struct ListingRun {
  ExtendedCommandLine request;
  ListingStyle style;
};

// get_field as get_extended_console_field answers it for the run's request;
// report_message prints the list's unpaired characters, then the text, and
// ends the process as the console's report does.
const HostCallbacks& listing_console_callbacks();

}  // namespace vellicor::console
