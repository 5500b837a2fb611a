// The PSF font reader: the system's console fonts against kbd's own reading
// of their Unicode tables, a PSF 2 written by vellicor against its BDF as
// FreeType reads it, hand-made fonts for each header and table form, and
// refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/fontfile/font_file_reader.hpp"
#include "tests/support/bdf_check.hpp"
#include "tests/support/host_tools.hpp"
#include "tests/support/param_label.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {
namespace {

ResultCode read_bytes(const std::vector<std::uint8_t>& bytes, LoadedFont& font,
                      ErrorDetail* detail) {
  return read_psf_font(bytes.data(), bytes.size(), font, detail);
}

// The system's console fonts, kbd and cvellicor run through the shell of a
// Linux host.
#ifndef _WIN32
const std::filesystem::path kConsoleFonts = "/usr/share/consolefonts";

// The font at path, gunzipped into dir.
std::vector<std::uint8_t> gunzipped(const TempDir& dir, const std::filesystem::path& path) {
  const std::string plain = dir.file(path.stem().string());
  if (!shell_succeeds("gzip -dc '" + path.string() + "' > '" + plain + "'")) return {};
  return read_file(plain);
}

// kbd's psfgettable: the single code points of each position's entry, in
// order. It writes a sequence as its code points joined by ", ".
std::vector<std::vector<std::uint32_t>> kbd_table(const std::string& path) {
  std::vector<std::vector<std::uint32_t>> table;
  const ShellRun run = run_shell("psfgettable '" + path + "' 2>/dev/null");
  std::istringstream lines(run.output);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string position, code;
    fields >> position;
    const std::size_t index = std::stoul(position, nullptr, 16);
    if (table.size() <= index) table.resize(index + 1);
    bool in_sequence = false;
    while (fields >> code) {
      const bool sequence_goes_on = code.back() == ',';
      if (!in_sequence && !sequence_goes_on) {
        table[index].push_back(static_cast<std::uint32_t>(std::stoul(code.substr(2), nullptr, 16)));
      }
      in_sequence = sequence_goes_on;
    }
  }
  return table;
}

// The font in the file at path read as kbd reads its table: each position's
// code is the first of its code points that no earlier position took, and
// a position without one is counted; every glyph is a whole cell of the
// header's size with a quarter of it below the baseline.
void expect_read_as_kbd_reads(const std::string& path) {
  const std::vector<std::uint8_t> bytes = read_file(path);
  ASSERT_GE(bytes.size(), 4U);
  LoadedFont font;
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(read_bytes(bytes, font, &detail), ResultCode::kOk) << to_int(detail);
  const std::vector<std::vector<std::uint32_t>> table = kbd_table(path);
  ASSERT_FALSE(table.empty());

  std::vector<std::int64_t> expected;
  std::set<std::uint32_t> taken;
  std::uint32_t unlisted = 0;
  for (const std::vector<std::uint32_t>& listed : table) {
    auto free_code = std::find_if(listed.begin(), listed.end(), [&taken](std::uint32_t code) {
      return taken.insert(code).second;
    });
    if (free_code == listed.end()) {
      ++unlisted;
    } else {
      expected.push_back(*free_code);
    }
  }
  std::vector<std::int64_t> codes;
  for (const LoadedGlyph& glyph : font.glyphs) codes.push_back(glyph.code);
  EXPECT_EQ(codes, expected);
  EXPECT_EQ(font.glyphs_without_code, unlisted);
  EXPECT_TRUE(font.unicode);
  EXPECT_EQ(font.kind, bytes[0] == 0x36 ? FontFileKind::kPsf1 : FontFileKind::kPsf2);
  const LoadedGlyph& first = font.glyphs.front();
  EXPECT_EQ(font.descent, static_cast<std::int32_t>(first.height / 4));
  EXPECT_EQ(font.ascent + font.descent, static_cast<std::int32_t>(first.height));
  for (const LoadedGlyph& glyph : font.glyphs) {
    EXPECT_EQ(glyph.width, first.width);
    EXPECT_EQ(glyph.advance, static_cast<std::int32_t>(first.width));
    EXPECT_EQ(glyph.x_offset, 0);
    EXPECT_EQ(glyph.y_offset, -font.descent);
    EXPECT_EQ(glyph.lines.size(), glyph.stride() * glyph.height);
  }
}

// Every console font of the system.
TEST(PsfFontReader, ReadsTheSystemConsoleFontsAsKbdDoes) {
  if (!std::filesystem::exists(kConsoleFonts) || !have_program("psfgettable")) {
    GTEST_SKIP() << "no console fonts or no kbd";
  }
  std::uint32_t fonts = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kConsoleFonts)) {
    const std::string name = entry.path().filename().string();
    if (name.size() < 7 || name.substr(name.size() - 7) != ".psf.gz") continue;
    SCOPED_TRACE(name);
    const TempDir dir;
    ASSERT_FALSE(gunzipped(dir, entry.path()).empty());
    expect_read_as_kbd_reads(dir.file(entry.path().stem().string()));
    ++fonts;
  }
  EXPECT_GT(fonts, 0U);
}

// The fuzz seeds: PSF 1 with aliases, sequences and a glyph without a code,
// and the PSF 2 vellicor writes.
TEST(PsfFontReader, ReadsTheFuzzSeedsAsKbdDoes) {
  if (!have_program("psfgettable")) GTEST_SKIP() << "no kbd";
  const std::string seeds = std::string(VELLICOR_TEST_SOURCE_DIR) + "/fuzz/corpus/psf_font/";
  for (const char* name : {"psf1_table.psf", "psf2_vellicor.psf"}) {
    SCOPED_TRACE(name);
    expect_read_as_kbd_reads(seeds + name);
  }
}

// One glyph's bits exactly as the file holds them: 'A' of Terminus 8 x 16.
TEST(PsfFontReader, KeepsACellsBitsAndBlankRows) {
  const std::filesystem::path path = kConsoleFonts / "Lat2-Terminus16.psf.gz";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no Lat2-Terminus16";
  const TempDir dir;
  LoadedFont font;
  ASSERT_EQ(read_bytes(gunzipped(dir, path), font, nullptr), ResultCode::kOk);
  EXPECT_EQ(font.kind, FontFileKind::kPsf1);
  EXPECT_EQ(font.ascent, 12);
  EXPECT_EQ(font.descent, 4);
  const LoadedGlyph* a = nullptr;
  for (const LoadedGlyph& glyph : font.glyphs) {
    if (glyph.code == 'A') a = &glyph;
  }
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->width, 8U);
  EXPECT_EQ(a->height, 16U);
  EXPECT_EQ(a->y_offset, -4);
  EXPECT_EQ(a->lines, (std::vector<std::uint8_t>{0x00, 0x00, 0x3C, 0x42, 0x42, 0x42, 0x42, 0x7E,
                                                 0x42, 0x42, 0x42, 0x42, 0x00, 0x00, 0x00, 0x00}));
}

// A PSF 2 vellicor wrote shows every glyph of the BDF it wrote from the same
// picture (as FreeType reads that BDF), moved from the font's box into the
// cell; the positions past the glyphs hold no code.
TEST(PsfFontReader, ReadsVellicorsPsf2LikeItsBdf) {
  const TempDir dir;
  const std::string program = (binary_dir() / "cvellicor").string();
  const std::string source = VELLICOR_TEST_SOURCE_DIR;
  const std::string options = " -w -a 1 -d 2 --chars-file " + source + "/examples/latin.txt ";
  const std::string picture = source + "/examples/latin.bmp";
  ASSERT_TRUE(shell_succeeds(program + options + "--format psf -o " + dir.file("f.psf") + " " +
                             picture + " > /dev/null"));
  ASSERT_TRUE(shell_succeeds(program + options + "-o " + dir.file("f.bdf") + " " + picture +
                             " > /dev/null"));
  LoadedFont psf;
  ASSERT_EQ(read_bytes(read_file(dir.file("f.psf")), psf, nullptr), ResultCode::kOk);
  LoadedFont bdf;
  const std::vector<std::uint8_t> bdf_bytes = read_file(dir.file("f.bdf"));
  ASSERT_EQ(read_bdf_font(bdf_bytes.data(), bdf_bytes.size(), bdf, nullptr, nullptr),
            ResultCode::kOk);
  EXPECT_EQ(psf.kind, FontFileKind::kPsf2);
  EXPECT_TRUE(psf.unicode);
  EXPECT_EQ(psf.glyphs.size(), bdf.glyphs.size());
  EXPECT_EQ(psf.glyphs.size() + psf.glyphs_without_code, 256U);

  // The cell's lower left corner is the BDF box's (FONTBOUNDINGBOX x and y).
  std::istringstream box(lines_with(read_text(dir.file("f.bdf")), "FONTBOUNDINGBOX ").at(0));
  std::string keyword;
  int box_width = 0, box_height = 0, box_x = 0, box_y = 0;
  box >> keyword >> box_width >> box_height >> box_x >> box_y;
  const int shift_x = -box_x;
  const int shift_y = -psf.descent - box_y;
  std::map<std::int64_t, std::set<std::pair<int, int>>> psf_ink, bdf_ink;
  auto collect = [](const LoadedFont& font, int dx, int dy,
                    std::map<std::int64_t, std::set<std::pair<int, int>>>& ink) {
    for (const LoadedGlyph& glyph : font.glyphs) {
      auto& pixels = ink[glyph.code];
      for (std::uint32_t row = 0; row < glyph.height; ++row) {
        for (std::uint32_t column = 0; column < glyph.width; ++column) {
          if (glyph.ink(column, row)) {
            pixels.emplace(glyph.x_offset + static_cast<int>(column) + dx,
                           glyph.y_offset + static_cast<int>(glyph.height - 1 - row) + dy);
          }
        }
      }
    }
  };
  collect(psf, 0, 0, psf_ink);
  collect(bdf, shift_x, shift_y, bdf_ink);
  EXPECT_EQ(psf_ink, bdf_ink);
  EXPECT_EQ(psf.glyphs.front().height, static_cast<std::uint32_t>(box_height));
}

#endif

// PSF 1 and PSF 2 files built byte by byte.
std::vector<std::uint8_t> psf1(std::uint8_t mode, std::uint8_t height,
                               const std::vector<std::uint8_t>& table) {
  std::vector<std::uint8_t> bytes = {0x36, 0x04, mode, height};
  const std::size_t glyphs = (mode & 1) != 0 ? 512 : 256;
  for (std::size_t index = 0; index < glyphs * height; ++index) {
    bytes.push_back(static_cast<std::uint8_t>(index / height));  // position's low byte
  }
  bytes.insert(bytes.end(), table.begin(), table.end());
  return bytes;
}

void put_u32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

struct Psf2Header {
  std::uint32_t version = 0, header_size = 32, flags = 0, length = 2, glyph_bytes = 4, height = 2,
                width = 10;
};

std::vector<std::uint8_t> psf2(const Psf2Header& header, const std::vector<std::uint8_t>& cells,
                               const std::vector<std::uint8_t>& table) {
  std::vector<std::uint8_t> bytes = {0x72, 0xb5, 0x4a, 0x86};
  for (const std::uint32_t field : {header.version, header.header_size, header.flags, header.length,
                                    header.glyph_bytes, header.height, header.width}) {
    put_u32(bytes, field);
  }
  bytes.resize(header.header_size, 0);
  bytes.insert(bytes.end(), cells.begin(), cells.end());
  bytes.insert(bytes.end(), table.begin(), table.end());
  return bytes;
}

// Without a table, codes are positions; cells 10 pixels wide lose the bits
// past their width; blank cells are glyphs too.
TEST(PsfFontReader, CodesArePositionsWithoutATable) {
  LoadedFont font;
  ASSERT_EQ(
      read_bytes(psf2({}, {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, {}), font, nullptr),
      ResultCode::kOk);
  EXPECT_FALSE(font.unicode);
  EXPECT_EQ(font.kind, FontFileKind::kPsf2);
  ASSERT_EQ(font.glyphs.size(), 2U);
  EXPECT_EQ(font.glyphs[0].code, 0);
  EXPECT_EQ(font.glyphs[0].lines, (std::vector<std::uint8_t>{0xFF, 0xC0, 0x00, 0x00}));
  EXPECT_EQ(font.glyphs[1].code, 1);
  EXPECT_EQ(font.glyphs[1].lines, (std::vector<std::uint8_t>{0x00, 0x00, 0x00, 0x00}));
  EXPECT_EQ(font.ascent, 2);  // a cell of 2 rows has none below the baseline
  EXPECT_EQ(font.descent, 0);

  ASSERT_EQ(read_bytes(psf1(0x01, 8, {}), font, nullptr), ResultCode::kOk);
  EXPECT_EQ(font.kind, FontFileKind::kPsf1);
  ASSERT_EQ(font.glyphs.size(), 512U);
  EXPECT_EQ(font.glyphs[300].code, 300);
  EXPECT_EQ(font.glyphs[300].lines, std::vector<std::uint8_t>(8, 300 % 256));
  EXPECT_EQ(font.glyphs[300].y_offset, -2);
}

// A table's first single code point is the glyph's code; sequences, aliases
// and a code an earlier glyph took are passed over; a glyph whose entry
// names nothing else stays without a code.
TEST(PsfFontReader, TakesEachGlyphsFirstFreeCodePoint) {
  Psf2Header header;
  header.flags = 1;
  header.length = 4;
  const std::vector<std::uint8_t> cells(16, 0);
  const std::vector<std::uint8_t> table = {
      0xFE, 'a',  0xCC, 0x81, 'x',  0xFF,  // a sequence, then 'x' after it: still the sequence's
      0xC3, 0xA9, 'e',  0xFF,              // U+00E9, alias 'e'
      0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xFF,  // U+00E9 taken: U+20AC
      0xF0, 0x9F, 0x98, 0x80, 0xFF,        // U+1F600
      0x00};                               // after the table: passed over
  LoadedFont font;
  ASSERT_EQ(read_bytes(psf2(header, cells, table), font, nullptr), ResultCode::kOk);
  EXPECT_TRUE(font.unicode);
  EXPECT_EQ(font.glyphs_without_code, 1U);
  ASSERT_EQ(font.glyphs.size(), 3U);
  EXPECT_EQ(font.glyphs[0].code, 0xE9);
  EXPECT_EQ(font.glyphs[1].code, 0x20AC);
  EXPECT_EQ(font.glyphs[2].code, 0x1F600);

  // PSF 1: 16-bit codes, 0xFFFE starting sequences, 0xFFFF ending entries;
  // a surrogate half names nothing.
  std::vector<std::uint8_t> table1;
  for (std::size_t position = 0; position < 256; ++position) {
    const std::vector<std::uint16_t> entry =
        position == 0   ? std::vector<std::uint16_t>{0xD800, 0x263A, 0xFFFE, 0x41, 0x42, 0xFFFF}
        : position == 1 ? std::vector<std::uint16_t>{0xFFFE, 0x41, 0xFFFF}
                        : std::vector<std::uint16_t>{static_cast<std::uint16_t>(position), 0xFFFF};
    for (const std::uint16_t value : entry) {
      table1.push_back(static_cast<std::uint8_t>(value));
      table1.push_back(static_cast<std::uint8_t>(value >> 8));
    }
  }
  ASSERT_EQ(read_bytes(psf1(0x02, 4, table1), font, nullptr), ResultCode::kOk);
  EXPECT_EQ(font.glyphs_without_code, 1U);
  ASSERT_EQ(font.glyphs.size(), 255U);
  EXPECT_EQ(font.glyphs[0].code, 0x263A);
  EXPECT_EQ(font.glyphs[1].code, 2);
  EXPECT_EQ(font.glyphs[1].lines, std::vector<std::uint8_t>(4, 2));
}

struct Refusal {
  const char* label;
  std::vector<std::uint8_t> bytes;
  ErrorDetail detail;
};

std::vector<std::uint8_t> without_last_byte(std::vector<std::uint8_t> bytes) {
  bytes.pop_back();
  return bytes;
}

Psf2Header with(void (*change)(Psf2Header&)) {
  Psf2Header header;
  change(header);
  return header;
}

void PrintTo(const Refusal& row, std::ostream* out) { print_label(out, {row.label}); }

class PsfFontReaderRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(PsfFontReaderRefusals, NamesTheDetail) {
  LoadedFont font;
  font.font_name = "untouched";
  ErrorDetail detail = ErrorDetail::kNone;
  EXPECT_NE(read_bytes(GetParam().bytes, font, &detail), ResultCode::kOk);
  EXPECT_EQ(detail, GetParam().detail);
  EXPECT_EQ(font.font_name, "untouched");
}

const std::vector<std::uint8_t> kCells(8, 0);

INSTANTIATE_TEST_SUITE_P(
    Files, PsfFontReaderRefusals,
    ::testing::Values(
        Refusal{"Empty", {}, ErrorDetail::kFontUnknown},
        Refusal{"OtherMagic", {0x36, 0x05, 0, 8}, ErrorDetail::kFontUnknown},
        Refusal{"Psf1HeaderCut", {0x36, 0x04, 0}, ErrorDetail::kFontDamaged},
        Refusal{"Psf1ModePastKbds", {0x36, 0x04, 0x06, 8}, ErrorDetail::kFontDamaged},
        Refusal{"Psf1NoRows", psf1(0, 0, {}), ErrorDetail::kFontDamaged},
        Refusal{"Psf1GlyphsCut", without_last_byte(psf1(0, 8, {})), ErrorDetail::kFontDamaged},
        Refusal{"Psf1TableCut", psf1(0x02, 8, {0x41, 0x00, 0xFF, 0xFF}), ErrorDetail::kFontDamaged},
        Refusal{"Psf2HeaderCut", {0x72, 0xb5, 0x4a, 0x86, 0}, ErrorDetail::kFontDamaged},
        Refusal{"Psf2Version", psf2(with([](Psf2Header& h) { h.version = 1; }), kCells, {}),
                ErrorDetail::kFontDamaged},
        Refusal{"Psf2HeaderSizeSmall",
                psf2(with([](Psf2Header& h) { h.header_size = 28; }), kCells, {}),
                ErrorDetail::kFontDamaged},
        Refusal{"Psf2GlyphBytes", psf2(with([](Psf2Header& h) { h.glyph_bytes = 3; }), kCells, {}),
                ErrorDetail::kFontDamaged},
        Refusal{"Psf2ZeroWidth", psf2(with([](Psf2Header& h) { h.width = 0; }), kCells, {}),
                ErrorDetail::kFontDamaged},
        Refusal{"Psf2GlyphsCut", psf2({}, std::vector<std::uint8_t>(7, 0), {}),
                ErrorDetail::kFontDamaged},
        Refusal{"Psf2TableCut",
                psf2(with([](Psf2Header& h) { h.flags = 1; }), kCells, {'a', 0xFF, 'b'}),
                ErrorDetail::kFontDamaged},
        Refusal{
            "Psf2TableBadUtf8",
            psf2(with([](Psf2Header& h) { h.flags = 1; }), kCells, {0xC0, 0x81, 0xFF, 'b', 0xFF}),
            ErrorDetail::kFontDamaged},
        Refusal{"Psf2TableSurrogate",
                psf2(with([](Psf2Header& h) { h.flags = 1; }), kCells,
                     {0xED, 0xA0, 0x80, 0xFF, 'b', 0xFF}),
                ErrorDetail::kFontDamaged},
        Refusal{"Psf2TooManyGlyphs",
                psf2(with([](Psf2Header& h) { h.length = kMaxDrawnGlyphs + 1; }), kCells, {}),
                ErrorDetail::kFontTooLargeToDraw},
        Refusal{"Psf2TooWide",
                psf2(with([](Psf2Header& h) {
                       h.width = kMaxDrawnGlyphSide + 1;
                       h.height = 1;
                       h.glyph_bytes = 513;
                     }),
                     kCells, {}),
                ErrorDetail::kFontTooLargeToDraw},
        Refusal{"Psf2NoGlyph", psf2(with([](Psf2Header& h) { h.length = 0; }), {}, {}),
                ErrorDetail::kFontNoGlyph},
        Refusal{"Psf2OnlyGlyphsWithoutCode",
                psf2(with([](Psf2Header& h) { h.flags = 1; }), kCells, {0xFF, 0xFF}),
                ErrorDetail::kFontNoGlyph}),
    [](const auto& row) { return std::string(row.param.label); });

}  // namespace
}  // namespace vellicor::test
