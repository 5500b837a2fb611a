// An NE executable holding one font resource, laid out as Windows' resource
// compiler lays out font libraries: header, resource table, name tables,
// then the resources on aligned sectors.
#include "engine/font/ne_wrapper.hpp"

#include <array>
#include <string_view>

#include "engine/font/little_endian.hpp"

namespace vellicor {

namespace {

// The DOS header: 64 bytes, the NE header's offset in its last field.
constexpr std::uint64_t kDosHeaderBytes = 64;
constexpr std::uint64_t kDosParagraph = 16;
constexpr std::uint64_t kDosPage = 512;
constexpr std::uint64_t kNeOffset = 128;  // after the DOS header and its program
// The DOS program: print the message (at offset 0x0E of the code) through
// INT 21h function 09h and exit with code 1 through function 4Ch.
constexpr std::array<std::uint8_t, 14> kDosCode = {0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09,
                                                   0xCD, 0x21, 0xB8, 0x01, 0x4C, 0xCD, 0x21};
constexpr std::string_view kDosMessage = "This program cannot be run in DOS mode.\r\n$";
constexpr std::uint16_t kDosStackPointer = 0xB8;

constexpr std::uint64_t kNeHeaderBytes = 64;
constexpr std::uint8_t kLinkerVersion = 5;
constexpr std::uint8_t kLinkerRevision = 10;
// ne_flags: a library module (no instance data) calling the Windows API.
constexpr std::uint16_t kLibraryModule = 0x8000;
constexpr std::uint16_t kWindowsApplication = 0x0300;
constexpr std::uint8_t kWindowsTarget = 2;  // ne_exetyp
// Windows 3.0, the first to read version 3.0 font resources.
constexpr std::uint16_t kExpectedWindows = 0x0300;

constexpr std::uint16_t kFontDirectoryType = 0x8007;  // RT_FONTDIR, an integer type
constexpr std::uint16_t kFontType = 0x8008;           // RT_FONT
constexpr std::uint16_t kFontOrdinal = 1;
constexpr std::uint16_t kIntegerId = 0x8000;  // a resource id that is a number, not a name
// Resource flags: moveable and preloaded for the directory; moveable, pure
// and discardable for the font.
constexpr std::uint16_t kDirectoryFlags = 0x0050;
constexpr std::uint16_t kFontFlags = 0x1030;
constexpr std::string_view kDirectoryName = "FONTDIR";

constexpr std::uint64_t kTypeInfoBytes = 8;   // type, count, reserved DWORD
constexpr std::uint64_t kNameInfoBytes = 12;  // offset, length, flags, id, handle, usage
// The resource table: alignment shift, the two types with one resource
// each, the closing type 0, then the directory's name and the closing 0.
constexpr std::uint64_t kNameOffset = 2 + 2 * (kTypeInfoBytes + kNameInfoBytes) + 2;
constexpr std::uint64_t kResourceTableBytes = kNameOffset + 1 + kDirectoryName.size() + 1;

constexpr unsigned kLeastShift = 4;
constexpr unsigned kMostShift = 16;  // FreeType's bound; 16-bit sectors of 64 KiB
constexpr std::uint64_t kMostSectors = 0xFFFF;

// Offsets relative to the NE header of its tables, and the non-resident
// table's from the file's start.
struct Tables {
  std::uint64_t resources = kNeHeaderBytes;
  std::uint64_t resident_names = 0;
  std::uint64_t module_references = 0;  // also the imported names and the entry table
  std::uint64_t non_resident_names = 0;
  std::uint64_t non_resident_bytes = 0;
  std::uint64_t end = 0;  // from the file's start
};

Tables tables_of(const NeFontFile& file) {
  Tables tables;
  tables.resident_names = tables.resources + kResourceTableBytes;
  // Length byte, name, ordinal 0, closing 0.
  tables.module_references = tables.resident_names + 1 + file.module_name.size() + 2 + 1;
  // Empty module reference, imported name and entry tables share two zeros.
  tables.non_resident_names = kNeOffset + tables.module_references + 2;
  tables.non_resident_bytes = 1 + file.description.size() + 2 + 1;
  tables.end = tables.non_resident_names + tables.non_resident_bytes;
  return tables;
}

std::uint64_t aligned(std::uint64_t offset, unsigned shift) {
  const std::uint64_t unit = std::uint64_t{1} << shift;
  return (offset + unit - 1) / unit * unit;
}

std::uint64_t directory_bytes(const NeFontFile& file) {
  return 2 + 2 + file.directory_entry.size();  // count, ordinal, entry
}

void put_dos_stub(std::vector<std::uint8_t>& out) {
  const std::size_t start = out.size();
  const auto written = [&out, start] { return out.size() - start; };
  put_bytes(out, "MZ");
  put_u16(out, kNeOffset % kDosPage);                   // bytes on the last page
  put_u16(out, (kNeOffset + kDosPage - 1) / kDosPage);  // pages
  put_u16(out, 0);                                      // relocations
  put_u16(out, kDosHeaderBytes / kDosParagraph);        // header paragraphs
  put_u16(out, 0);                                      // least extra paragraphs
  put_u16(out, 0xFFFF);                                 // most extra paragraphs
  put_u16(out, 0);                                      // SS
  put_u16(out, kDosStackPointer);                       // SP
  put_u16(out, 0);                                      // checksum
  put_u16(out, 0);                                      // IP
  put_u16(out, 0);                                      // CS
  put_u16(out, kDosHeaderBytes);                        // relocation table
  put_u16(out, 0);                                      // overlay
  put_zeros(out, kDosHeaderBytes - 4 - written());
  put_u32(out, kNeOffset);
  out.insert(out.end(), kDosCode.begin(), kDosCode.end());
  put_bytes(out, kDosMessage);
  put_zeros(out, kNeOffset - written());
}

void put_ne_header(std::vector<std::uint8_t>& out, const Tables& tables, unsigned shift) {
  put_bytes(out, "NE");
  put_u8(out, kLinkerVersion);
  put_u8(out, kLinkerRevision);
  put_u16(out, tables.module_references);  // entry table
  put_u16(out, 0);                         // its length: empty
  put_u32(out, 0);                         // checksum
  put_u16(out, kLibraryModule | kWindowsApplication);
  put_u16(out, 0);  // automatic data segment
  put_u16(out, 0);  // heap
  put_u16(out, 0);  // stack
  put_u32(out, 0);  // CS:IP
  put_u32(out, 0);  // SS:SP
  put_u16(out, 0);  // segments
  put_u16(out, 0);  // module references
  put_u16(out, tables.non_resident_bytes);
  put_u16(out, tables.resources);  // segment table: empty, where the resources begin
  put_u16(out, tables.resources);
  put_u16(out, tables.resident_names);
  put_u16(out, tables.module_references);
  put_u16(out, tables.module_references);  // imported names
  put_u32(out, tables.non_resident_names);
  put_u16(out, 0);  // moveable entry points
  put_u16(out, shift);
  put_u16(out, 0);  // resource segments (an OS/2 field)
  put_u8(out, kWindowsTarget);
  put_u8(out, 0);   // other flags
  put_u16(out, 0);  // return thunks
  put_u16(out, 0);  // segment reference thunks
  put_u16(out, 0);  // swap area
  put_u16(out, kExpectedWindows);
}

void put_resource(std::vector<std::uint8_t>& out, std::uint64_t offset, std::uint64_t bytes,
                  unsigned shift, std::uint16_t flags, std::uint16_t id) {
  const std::uint64_t unit = std::uint64_t{1} << shift;
  put_u16(out, offset >> shift);
  put_u16(out, (bytes + unit - 1) >> shift);
  put_u16(out, flags);
  put_u16(out, id);
  put_u16(out, 0);  // handle, for the loader
  put_u16(out, 0);  // usage, for the loader
}

void put_counted(std::vector<std::uint8_t>& out, std::string_view text) {
  put_u8(out, text.size());
  put_bytes(out, text);
}

}  // namespace

bool lay_out_ne(const NeFontFile& file, NeLayout& layout) {
  const Tables tables = tables_of(file);
  for (unsigned shift = kLeastShift; shift <= kMostShift; ++shift) {
    NeLayout trial;
    trial.shift = shift;
    trial.directory_offset = aligned(tables.end, shift);
    trial.font_offset = aligned(trial.directory_offset + directory_bytes(file), shift);
    trial.end = aligned(trial.font_offset + file.font_bytes, shift);
    if ((trial.font_offset >> shift) <= kMostSectors &&
        ((trial.end - trial.font_offset) >> shift) <= kMostSectors) {
      layout = trial;
      return true;
    }
  }
  return false;
}

void put_ne_head(std::vector<std::uint8_t>& out, const NeFontFile& file, const NeLayout& layout) {
  const Tables tables = tables_of(file);
  const std::size_t start = out.size();
  const auto written = [&out, start] { return out.size() - start; };
  put_dos_stub(out);
  put_ne_header(out, tables, layout.shift);

  put_u16(out, layout.shift);
  put_u16(out, kFontDirectoryType);
  put_u16(out, 1);
  put_u32(out, 0);
  // The directory is named, by the offset of its name in this table.
  put_resource(out, layout.directory_offset, directory_bytes(file), layout.shift, kDirectoryFlags,
               kNameOffset);
  put_u16(out, kFontType);
  put_u16(out, 1);
  put_u32(out, 0);
  put_resource(out, layout.font_offset, file.font_bytes, layout.shift, kFontFlags,
               kIntegerId | kFontOrdinal);
  put_u16(out, 0);  // no more types
  put_counted(out, kDirectoryName);
  put_u8(out, 0);  // no more names

  put_counted(out, file.module_name);
  put_u16(out, 0);  // ordinal 0: the module's own name
  put_u8(out, 0);
  put_u16(out, 0);  // the empty reference, import and entry tables

  put_counted(out, file.description);
  put_u16(out, 0);
  put_u8(out, 0);

  put_zeros(out, layout.directory_offset - written());
  put_u16(out, 1);  // fonts in the directory
  put_u16(out, kFontOrdinal);
  out.insert(out.end(), file.directory_entry.begin(), file.directory_entry.end());
  put_zeros(out, layout.font_offset - written());
}

}  // namespace vellicor
