// Reading our sfnt fonts back.
#include "tests/engine/sfnt_check.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <memory>

#include "engine/io/file_system.hpp"
#include "engine/picture/ink_map.hpp"
#include "engine/picture/picture_ink.hpp"
#include "tests/support/host_tools.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {

namespace {

constexpr std::uint32_t kChecksumMagic = 0xB1B0AFBA;
constexpr std::size_t kRecordBytes = 16;
constexpr std::size_t kHeaderBytes = 12;

std::uint32_t checksum(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t count) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < count; ++i) {
    sum += std::uint32_t{bytes[at + i]} << (24 - 8 * (i % 4));
  }
  return sum;
}

}  // namespace

std::uint16_t be16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::uint16_t>((bytes.at(at) << 8) | bytes.at(at + 1));
}

std::uint32_t be32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return (std::uint32_t{be16(bytes, at)} << 16) | be16(bytes, at + 2);
}

::testing::AssertionResult read_sfnt_tables(const std::string& path, SfntTables& tables) {
  const std::vector<std::uint8_t> file = read_file(path);
  if (file.size() < kHeaderBytes || file.size() % 4 != 0) {
    return ::testing::AssertionFailure()
           << "the file's " << file.size() << " bytes are no whole number of 32-bit words";
  }
  if (checksum(file, 0, file.size()) != kChecksumMagic) {
    return ::testing::AssertionFailure() << "the file does not sum to 0xB1B0AFBA";
  }
  const std::uint16_t count = be16(file, 4);
  std::string last_tag;
  for (std::size_t record = 0; record < count; ++record) {
    const std::size_t at = kHeaderBytes + record * kRecordBytes;
    const std::string tag(file.begin() + static_cast<std::ptrdiff_t>(at),
                          file.begin() + static_cast<std::ptrdiff_t>(at + 4));
    const std::uint32_t sum = be32(file, at + 4);
    const std::uint32_t offset = be32(file, at + 8);
    const std::uint32_t length = be32(file, at + 12);
    if (tag <= last_tag) return ::testing::AssertionFailure() << tag << " is out of tag order";
    last_tag = tag;
    if (offset % 4 != 0 || offset + std::uint64_t{length} > file.size()) {
      return ::testing::AssertionFailure() << tag << " lies at " << offset << " for " << length;
    }
    std::uint32_t expected = checksum(file, offset, length);
    if (tag == "head") expected -= be32(file, offset + 8);  // the adjustment counts as 0
    if (sum != expected) return ::testing::AssertionFailure() << tag << "'s checksum is wrong";
    tables[tag].assign(file.begin() + offset, file.begin() + offset + length);
  }
  return ::testing::AssertionSuccess();
}

namespace {

struct Face {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  Face() = default;
  Face(const Face&) = delete;
  Face& operator=(const Face&) = delete;
  ~Face() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

// Opens path; selects pixel_size unless it is 0, and the first charmap when
// FreeType chose none (a BDF without CHARSET_REGISTRY).
bool open_face(const std::string& path, std::uint32_t pixel_size, Face& font) {
  if (FT_Init_FreeType(&font.library) != 0 ||
      FT_New_Face(font.library, path.c_str(), 0, &font.face) != 0) {
    return false;
  }
  if (font.face->charmap == nullptr && font.face->num_charmaps > 0) {
    FT_Set_Charmap(font.face, font.face->charmaps[0]);
  }
  return pixel_size == 0 || FT_Set_Pixel_Sizes(font.face, 0, pixel_size) == 0;
}

}  // namespace

std::uint32_t strike_size(const std::string& path) {
  Face font;
  if (!open_face(path, 0, font) || font.face->num_fixed_sizes == 0) return 0;
  return static_cast<std::uint32_t>(font.face->available_sizes[0].y_ppem / 64);
}

InkSet freetype_line(const std::string& path, std::uint32_t pixel_size, const std::string& text,
                     std::int32_t load_flags) {
  InkSet ink;
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return ink;
  const std::unique_ptr<FT_LibraryRec_, decltype(&FT_Done_FreeType)> library_owner(
      library, FT_Done_FreeType);
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
    ADD_FAILURE() << "FreeType cannot open " << path;
    return ink;
  }
  const std::unique_ptr<FT_FaceRec_, decltype(&FT_Done_Face)> face_owner(face, FT_Done_Face);
  if (FT_Set_Pixel_Sizes(face, 0, pixel_size) != 0) {
    ADD_FAILURE() << "FreeType has no size of " << pixel_size << " pixels in " << path;
    return ink;
  }
  int pen = 0;
  for (const char c : text) {
    const FT_UInt index = FT_Get_Char_Index(face, static_cast<unsigned char>(c));
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | load_flags) != 0) {
      ADD_FAILURE() << "FreeType cannot load the glyph of '" << c << "'";
      return ink;
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      const unsigned char* line = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
      for (unsigned column = 0; column < bitmap.width; ++column) {
        if (((line[column / 8] >> (7 - column % 8)) & 1) != 0) {
          ink.insert({pen + slot->bitmap_left + static_cast<int>(column),
                      static_cast<int>(row) - slot->bitmap_top});
        }
      }
    }
    pen += static_cast<int>(slot->advance.x / 64);
  }
  return ink;
}

InkSet png_ink(const std::string& path) {
  InkSet ink;
  InkMap map;
  ErrorDetail detail = ErrorDetail::kNone;
  if (read_picture_ink(system_file_system(), path.c_str(), InkRule::kDark, map, &detail) !=
      ResultCode::kOk) {
    ADD_FAILURE() << "cannot read " << path << ": detail " << static_cast<int>(detail);
    return ink;
  }
  for (std::uint32_t y = 0; y < map.height_px; ++y) {
    for (std::uint32_t x = 0; x < map.width_px; ++x) {
      if (map.is_ink(x, y)) ink.insert({static_cast<int>(x), static_cast<int>(y)});
    }
  }
  return ink;
}

InkSet cropped(const InkSet& ink) {
  if (ink.empty()) return ink;
  int left = ink.begin()->first;
  int top = ink.begin()->second;
  for (const auto& [x, y] : ink) {
    left = std::min(left, x);
    top = std::min(top, y);
  }
  InkSet moved;
  for (const auto& [x, y] : ink) moved.insert({x - left, y - top});
  return moved;
}

bool pango_draw(const std::string& work_dir, const std::string& font_dir, const std::string& family,
                std::uint32_t pixel_size, const std::string& text, const std::string& png,
                std::string& command) {
#ifdef _WIN32
  static_cast<void>(work_dir);
  static_cast<void>(font_dir);
  static_cast<void>(family);
  static_cast<void>(pixel_size);
  static_cast<void>(text);
  static_cast<void>(png);
  static_cast<void>(command);
  return false;  // fontconfig and pango-view are Unix programs
#else
  const std::string config = work_dir + "/fonts.conf";
  write_text(config,
             "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
             "<fontconfig>\n  <dir>" +
                 font_dir + "</dir>\n  <cachedir>" + work_dir +
                 "/fontconfig-cache</cachedir>\n</fontconfig>\n");
  command = "FONTCONFIG_FILE='" + config + "' pango-view --font='" + family + " " +
            std::to_string(pixel_size) + "px' --text='" + text +
            "' --antialias=none --hinting=full -q -o '" + png + "'";
  return run_shell(command + " 2>&1").exit_status == 0;
#endif
}

}  // namespace vellicor::test
