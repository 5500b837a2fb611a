// The 16-bit Windows executable (NE) a .fon file is: a DOS stub, the NE
// header and its tables, and two resources, the font directory and the one
// font.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vellicor {

// What the wrapper holds besides the font resource itself.
struct NeFontFile {
  std::string module_name;  // the resident name table's module name
  std::string description;  // the non-resident name table's module description
  // The font directory's entry for the font: the font header's first
  // kFntDirectoryHeaderBytes bytes, the device name and the face name.
  std::vector<std::uint8_t> directory_entry;
  std::uint64_t font_bytes = 0;  // of the font resource
};

// Where the parts stand, in bytes from the file's start.
struct NeLayout {
  unsigned shift = 0;  // resources start on multiples of 1 << shift bytes
  std::uint64_t directory_offset = 0;
  std::uint64_t font_offset = 0;
  std::uint64_t end = 0;  // the file's size: the font resource padded to the alignment
};

// Lays out file with the least alignment, from 16 bytes up, under which the
// resource table's 16-bit sector figures hold the font's offset and length;
// false when none does (a font past about 4 GiB).
bool lay_out_ne(const NeFontFile& file, NeLayout& layout);

// Appends everything before the font resource: stub, header, tables, the
// font directory resource and the padding up to layout.font_offset.
void put_ne_head(std::vector<std::uint8_t>& out, const NeFontFile& file, const NeLayout& layout);

}  // namespace vellicor
