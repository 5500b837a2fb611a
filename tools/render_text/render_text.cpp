// Draws a line of text with bitmap fonts read by FreeType, as an independent
// consumer of the fonts vellicor writes: into a PNG picture and, with
// --terminal, as rows of '#' on standard output.
//
//   vellicor_render_text [--terminal] [--png FILE --scale N] TEXT FONT...
//
// Each character comes from the first font that maps it (Unicode charmap).
#include <ft2build.h>
#include FT_FREETYPE_H
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// UTF-8 to code points; invalid bytes become U+FFFD.
std::vector<std::uint32_t> decode(const std::string& text) {
  std::vector<std::uint32_t> codes;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    int length = byte < 0x80         ? 1
                 : (byte >> 5) == 6  ? 2
                 : (byte >> 4) == 14 ? 3
                 : (byte >> 3) == 30 ? 4
                                     : 0;
    if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) {
      codes.push_back(0xFFFD);
      ++i;
      continue;
    }
    std::uint32_t code = length == 1 ? byte : byte & (0x7Fu >> length);
    for (int k = 1; k < length; ++k)
      code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
    codes.push_back(code);
    i += static_cast<std::size_t>(length);
  }
  return codes;
}

struct Canvas {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> ink;  // 1 where a glyph pixel is set
  void set(int x, int y) {
    if (x >= 0 && y >= 0 && x < width && y < height)
      ink[static_cast<std::size_t>(y * width + x)] = 1;
  }
};

void put_u32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void put_chunk(std::string& out, const char* type, const std::string& data) {
  put_u32(out, static_cast<std::uint32_t>(data.size()));
  std::string body = std::string(type, 4) + data;
  out += body;
  put_u32(out, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                                static_cast<uInt>(body.size()))));
}

// A grey PNG, each canvas pixel scale x scale, dark ink on a light page.
bool write_png(const Canvas& canvas, int scale, const char* path) {
  const int width = canvas.width * scale;
  const int height = canvas.height * scale;
  std::string raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < width; ++x) {
      const bool ink =
          canvas.ink[static_cast<std::size_t>((y / scale) * canvas.width + x / scale)] != 0;
      raw.push_back(static_cast<char>(ink ? 0x20 : 0xF4));
    }
  }
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packed_size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packed_size,
                reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
                9) != Z_OK) {
    return false;
  }
  packed.resize(packed_size);
  std::string png = "\x89PNG\r\n\x1a\n";
  std::string header;
  put_u32(header, static_cast<std::uint32_t>(width));
  put_u32(header, static_cast<std::uint32_t>(height));
  header += std::string("\x08\x00\x00\x00\x00", 5);  // 8-bit grey, no interlace
  put_chunk(png, "IHDR", header);
  put_chunk(png, "IDAT", packed);
  put_chunk(png, "IEND", "");
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}

int usage() {
  std::fputs("usage: vellicor_render_text [--terminal] [--png FILE] [--scale N] TEXT FONT...\n",
             stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool terminal = false;
  const char* png = nullptr;
  int scale = 1;
  int index = 1;
  for (; index < argc && std::strncmp(argv[index], "--", 2) == 0; ++index) {
    if (std::strcmp(argv[index], "--terminal") == 0) {
      terminal = true;
    } else if (std::strcmp(argv[index], "--png") == 0 && index + 1 < argc) {
      png = argv[++index];
    } else if (std::strcmp(argv[index], "--scale") == 0 && index + 1 < argc) {
      scale = std::max(1, std::atoi(argv[++index]));
    } else {
      return usage();
    }
  }
  if (argc - index < 2) return usage();
  const std::vector<std::uint32_t> codes = decode(argv[index]);

  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return 1;
  std::vector<FT_Face> faces;
  int ascent = 0;
  int descent = 0;
  for (int font = index + 1; font < argc; ++font) {
    FT_Face face = nullptr;
    if (FT_New_Face(library, argv[font], 0, &face) != 0) {
      std::fprintf(stderr, "FreeType cannot open %s\n", argv[font]);
      return 1;
    }
    if (face->num_fixed_sizes > 0) FT_Select_Size(face, 0);
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    ascent = std::max(ascent, static_cast<int>(face->size->metrics.ascender >> 6));
    descent = std::max(descent, static_cast<int>(-(face->size->metrics.descender >> 6)));
    faces.push_back(face);
  }

  // Two passes: the first measures the line, the second draws it.
  constexpr int kMargin = 2;
  Canvas canvas;
  for (int pass = 0; pass < 2; ++pass) {
    int pen = kMargin;
    for (const std::uint32_t code : codes) {
      FT_Face face = nullptr;
      FT_UInt glyph = 0;
      for (FT_Face candidate : faces) {
        glyph = FT_Get_Char_Index(candidate, code);
        if (glyph != 0) {
          face = candidate;
          break;
        }
      }
      if (face == nullptr) {
        std::fprintf(stderr, "no font maps U+%04X\n", code);
        continue;
      }
      if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) continue;
      const FT_GlyphSlot slot = face->glyph;
      if (pass == 1) {
        const FT_Bitmap& bitmap = slot->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
          const unsigned char* line =
              bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
          for (unsigned column = 0; column < bitmap.width; ++column) {
            if (((line[column / 8] >> (7 - column % 8)) & 1) != 0) {
              canvas.set(pen + slot->bitmap_left + static_cast<int>(column),
                         kMargin + ascent - slot->bitmap_top + static_cast<int>(row));
            }
          }
        }
      }
      pen += static_cast<int>(slot->advance.x >> 6);
    }
    if (pass == 0) {
      canvas.width = pen + kMargin;
      canvas.height = kMargin + ascent + descent + kMargin;
      canvas.ink.assign(static_cast<std::size_t>(canvas.width * canvas.height), 0);
    }
  }

  if (terminal) {
    for (int y = kMargin; y < canvas.height - kMargin; ++y) {
      std::string line = "    ";
      for (int x = kMargin; x < canvas.width - kMargin; ++x) {
        line.push_back(canvas.ink[static_cast<std::size_t>(y * canvas.width + x)] != 0 ? '#' : ' ');
      }
      while (!line.empty() && line.back() == ' ') line.pop_back();
      std::puts(line.c_str());
    }
  }
  if (png != nullptr && !write_png(canvas, scale, png)) {
    std::fprintf(stderr, "cannot write %s\n", png);
    return 1;
  }
  for (FT_Face face : faces) FT_Done_Face(face);
  FT_Done_FreeType(library);
  return 0;
}
