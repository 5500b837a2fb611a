// The sfnt container: the table directory that leads every TrueType and
// OpenType file, each table padded to four bytes, the tables' checksums and
// the whole file's, which head.checkSumAdjustment balances.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/font/sfnt/sfnt_bytes.hpp"
#include "engine/io/output_file.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

struct SfntTable {
  std::uint32_t tag = 0;
  SfntBytes data;  // the table unpadded
};

// The sum of count bytes taken as big-endian 32-bit words, the last one
// filled up with zeros: the checksum of a table and of the file.
std::uint32_t sfnt_checksum(const std::uint8_t* bytes, std::size_t count);

// Writes the font of tables to file in the order given (readers find them
// through the directory, which lists them by tag as it must), setting the
// head table's checkSumAdjustment so that the whole file sums to 0xB1B0AFBA.
// kBadArgument (detail kFontTooLarge) when the file would pass the 4 GiB
// that 32-bit offsets reach, writing nothing; kFileAccess (detail
// kFileAccess) when a write fails.
ResultCode write_sfnt_file(OutputFile& file, std::vector<SfntTable>& tables, ErrorDetail* detail);

}  // namespace vellicor
