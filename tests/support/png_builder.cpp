// Building PNG files byte by byte for tests.
#include "tests/support/png_builder.hpp"

#include <algorithm>
#include <array>

namespace vellicor::test {

namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

}  // namespace

std::uint32_t crc32_of(const std::uint8_t* bytes, std::size_t count) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < count; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::vector<std::uint8_t> chunk_bytes(const PngChunk& chunk) {
  std::vector<std::uint8_t> out;
  put_u32(out, static_cast<std::uint32_t>(chunk.data.size()));
  out.insert(out.end(), chunk.type.begin(), chunk.type.end());
  out.insert(out.end(), chunk.data.begin(), chunk.data.end());
  put_u32(out, crc32_of(out.data() + 4, out.size() - 4));
  return out;
}

std::vector<std::uint8_t> png_file(const std::vector<PngChunk>& chunks) {
  std::vector<std::uint8_t> out(kSignature.begin(), kSignature.end());
  for (const PngChunk& chunk : chunks) {
    const std::vector<std::uint8_t> bytes = chunk_bytes(chunk);
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  return out;
}

PngChunk ihdr_chunk(std::uint32_t width, std::uint32_t height, std::uint8_t bit_depth,
                    std::uint8_t colour_type, std::uint8_t interlace) {
  PngChunk chunk{"IHDR", {}};
  put_u32(chunk.data, width);
  put_u32(chunk.data, height);
  chunk.data.insert(chunk.data.end(), {bit_depth, colour_type, 0, 0, interlace});
  return chunk;
}

std::vector<std::uint8_t> zlib_stored(const std::vector<std::uint8_t>& raw) {
  std::vector<std::uint8_t> out = {0x78, 0x01};
  constexpr std::size_t kMaxStored = 65535;
  std::size_t at = 0;
  do {
    const std::size_t piece = std::min(kMaxStored, raw.size() - at);
    const bool last = at + piece == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<std::uint8_t>(piece));
    out.push_back(static_cast<std::uint8_t>(piece >> 8));
    out.push_back(static_cast<std::uint8_t>(~piece));
    out.push_back(static_cast<std::uint8_t>(~piece >> 8));
    out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
               raw.begin() + static_cast<std::ptrdiff_t>(at + piece));
    at += piece;
  } while (at < raw.size());
  std::uint32_t low = 1;
  std::uint32_t high = 0;
  for (const std::uint8_t byte : raw) {
    low = (low + byte) % 65521;
    high = (high + low) % 65521;
  }
  put_u32(out, high << 16 | low);
  return out;
}

std::vector<PngChunk> grey_strip_chunks(const std::vector<std::string>& rows) {
  const auto width = static_cast<std::uint32_t>(rows.at(0).size());
  std::vector<std::uint8_t> raw;
  for (const std::string& row : rows) {
    raw.push_back(0);  // filter: none
    std::vector<std::uint8_t> packed((width + 7) / 8, 0xFF);
    for (std::uint32_t x = 0; x < width; ++x) {
      if (row[x] == '#')
        packed[x / 8] = static_cast<std::uint8_t>(packed[x / 8] & ~(0x80u >> (x % 8)));
    }
    raw.insert(raw.end(), packed.begin(), packed.end());
  }
  return {ihdr_chunk(width, static_cast<std::uint32_t>(rows.size()), 1, 0),
          PngChunk{"IDAT", zlib_stored(raw)}, PngChunk{"IEND", {}}};
}

std::vector<std::uint8_t> rgba_png(std::uint32_t width, std::uint32_t height,
                                   const std::vector<std::uint8_t>& pixels) {
  constexpr std::size_t kBytesPerPixel = 4;
  std::vector<std::uint8_t> raw;
  for (std::uint32_t y = 0; y < height; ++y) {
    raw.push_back(0);  // filter: none
    const auto row = pixels.begin() + static_cast<std::ptrdiff_t>(y * width * kBytesPerPixel);
    raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(width * kBytesPerPixel));
  }
  return png_file(
      {ihdr_chunk(width, height, 8, 6), PngChunk{"IDAT", zlib_stored(raw)}, PngChunk{"IEND", {}}});
}

std::vector<std::uint8_t> layout_png(
    std::uint32_t width, std::uint32_t height, std::uint8_t bit_depth, std::uint8_t colour_type,
    bool interlaced,
    const std::function<std::vector<std::uint16_t>(std::uint32_t, std::uint32_t)>& samples,
    const std::vector<PngChunk>& extra) {
  // Adam7: where each pass starts and how far it steps; one pass covering
  // every pixel without interlacing.
  struct Pass {
    std::uint32_t x0, y0, dx, dy;
  };
  const std::vector<Pass> passes =
      interlaced ? std::vector<Pass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                     {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
                 : std::vector<Pass>{{0, 0, 1, 1}};
  std::vector<std::uint8_t> raw;
  for (const Pass& pass : passes) {
    if (pass.x0 >= width || pass.y0 >= height) continue;  // an empty pass has no rows
    for (std::uint32_t y = pass.y0; y < height; y += pass.dy) {
      raw.push_back(0);  // filter: none
      std::uint32_t bits = 0;
      std::uint32_t held = 0;
      for (std::uint32_t x = pass.x0; x < width; x += pass.dx) {
        for (const std::uint16_t sample : samples(x, y)) {
          if (bit_depth == 16) {
            raw.push_back(static_cast<std::uint8_t>(sample >> 8));
            raw.push_back(static_cast<std::uint8_t>(sample));
            continue;
          }
          bits = bits << bit_depth | sample;
          held += bit_depth;
          if (held == 8) {
            raw.push_back(static_cast<std::uint8_t>(bits));
            bits = 0;
            held = 0;
          }
        }
      }
      if (held != 0) raw.push_back(static_cast<std::uint8_t>(bits << (8 - held)));
    }
  }
  std::vector<PngChunk> chunks = {
      ihdr_chunk(width, height, bit_depth, colour_type, static_cast<std::uint8_t>(interlaced))};
  chunks.insert(chunks.end(), extra.begin(), extra.end());
  chunks.push_back(PngChunk{"IDAT", zlib_stored(raw)});
  chunks.push_back(PngChunk{"IEND", {}});
  return png_file(chunks);
}

std::vector<std::size_t> chunk_boundaries(const std::vector<PngChunk>& chunks) {
  std::vector<std::size_t> offsets;
  std::size_t at = kSignature.size();
  for (const PngChunk& chunk : chunks) {
    offsets.push_back(at);
    at += 12 + chunk.data.size();
  }
  offsets.push_back(at);
  return offsets;
}

}  // namespace vellicor::test
