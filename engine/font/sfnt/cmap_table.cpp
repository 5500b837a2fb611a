// Character map subtables of formats 4 and 12, made of runs of codes whose
// glyph ids rise with them: a strip of consecutive codes is one run.
#include "engine/font/sfnt/cmap_table.hpp"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace vellicor {

namespace {

constexpr std::uint16_t kPlatformUnicode = 0;
constexpr std::uint16_t kPlatformWindows = 3;
constexpr std::uint16_t kUnicodeBmpEncoding = 3;   // Unicode 2.0 and on, basic plane
constexpr std::uint16_t kUnicodeFullEncoding = 4;  // Unicode 2.0 and on, all planes
constexpr std::uint16_t kWindowsBmpEncoding = 1;
constexpr std::uint16_t kWindowsFullEncoding = 10;
constexpr std::uint32_t kLastBmpCode = 0xFFFF;
constexpr std::size_t kFormat4HeaderBytes = 16;  // with the pad between endCode and startCode
constexpr std::size_t kFormat4SegmentBytes = 8;
constexpr std::size_t kMostFormat4Bytes = 0xFFFF;
constexpr std::size_t kFormat12HeaderBytes = 16;
constexpr std::size_t kFormat12GroupBytes = 12;
constexpr std::size_t kEncodingRecordBytes = 8;

struct Mapping {
  std::uint32_t code = 0;
  std::uint16_t glyph = 0;
};

// Codes in rising order that run on from code to last, their glyphs from
// glyph on.
struct Run {
  std::uint32_t code = 0;
  std::uint32_t last = 0;
  std::uint16_t glyph = 0;
};

std::vector<Mapping> mappings_of(const SfntPlan& plan) {
  std::vector<Mapping> mappings;
  for (std::size_t id = 0; id < plan.glyphs.size(); ++id) {
    const std::uint32_t code = plan.glyphs[id].code;
    if (code != kSfntNoCode) mappings.push_back({code, static_cast<std::uint16_t>(id)});
  }
  std::stable_sort(mappings.begin(), mappings.end(),
                   [](const Mapping& a, const Mapping& b) { return a.code < b.code; });
  mappings.erase(std::unique(mappings.begin(), mappings.end(),
                             [](const Mapping& a, const Mapping& b) { return a.code == b.code; }),
                 mappings.end());
  return mappings;
}

// Runs of mappings, none passing past_code (exclusive).
std::vector<Run> runs_of(const std::vector<Mapping>& mappings, std::uint64_t past_code) {
  std::vector<Run> runs;
  for (const Mapping& mapping : mappings) {
    if (mapping.code >= past_code) break;
    if (!runs.empty()) {
      Run& run = runs.back();
      if (mapping.code == run.last + 1 && mapping.glyph == run.glyph + (mapping.code - run.code)) {
        run.last = mapping.code;
        continue;
      }
    }
    runs.push_back({mapping.code, mapping.code, mapping.glyph});
  }
  return runs;
}

// Format 4: runs of the basic plane as segments that add a delta to the code,
// and the closing segment of code 0xFFFF the format requires (mapping it to
// its glyph, if any, else to .notdef). Keeps the lowest segments that fit
// the format's length; true when all did.
bool put_format4(SfntBytes& out, const std::vector<Mapping>& mappings) {
  std::vector<Run> runs = runs_of(mappings, kLastBmpCode);
  const std::size_t most_runs =
      (kMostFormat4Bytes - kFormat4HeaderBytes) / kFormat4SegmentBytes - 1;
  const bool complete = runs.size() <= most_runs;
  if (!complete) runs.resize(most_runs);
  std::uint16_t last_glyph = 0;  // of code 0xFFFF
  if (!mappings.empty() && mappings.back().code >= kLastBmpCode) {
    const auto at = std::lower_bound(
        mappings.begin(), mappings.end(), kLastBmpCode,
        [](const Mapping& mapping, std::uint32_t code) { return mapping.code < code; });
    if (at->code == kLastBmpCode) last_glyph = at->glyph;
  }
  runs.push_back({kLastBmpCode, kLastBmpCode, last_glyph});

  const auto segments = static_cast<std::uint16_t>(runs.size());
  std::uint16_t power = 1;
  std::uint16_t exponent = 0;
  while (power * 2 <= segments) {
    power = static_cast<std::uint16_t>(power * 2);
    ++exponent;
  }
  out.u16(4);
  out.u16(static_cast<std::uint16_t>(kFormat4HeaderBytes + kFormat4SegmentBytes * segments));
  out.u16(0);  // language: none
  out.u16(static_cast<std::uint16_t>(segments * 2));
  out.u16(static_cast<std::uint16_t>(power * 2));
  out.u16(exponent);
  out.u16(static_cast<std::uint16_t>((segments - power) * 2));
  for (const Run& run : runs) out.u16(static_cast<std::uint16_t>(run.last));
  out.u16(0);  // reserved pad
  for (const Run& run : runs) out.u16(static_cast<std::uint16_t>(run.code));
  // The delta wraps modulo 65536, as the format adds it.
  for (const Run& run : runs) out.u16(static_cast<std::uint16_t>(run.glyph - run.code));
  for (std::size_t i = 0; i < runs.size(); ++i) out.u16(0);  // no glyph id array
  return complete;
}

void put_format12(SfntBytes& out, const std::vector<Mapping>& mappings) {
  const std::vector<Run> runs = runs_of(mappings, std::uint64_t{kSfntNoCode} + 1);
  out.u16(12);
  out.u16(0);  // reserved
  out.u32(static_cast<std::uint32_t>(kFormat12HeaderBytes + kFormat12GroupBytes * runs.size()));
  out.u32(0);  // language: none
  out.u32(static_cast<std::uint32_t>(runs.size()));
  for (const Run& run : runs) {
    out.u32(run.code);
    out.u32(run.last);
    out.u32(run.glyph);
  }
}

}  // namespace

SfntBytes make_cmap(const SfntPlan& plan) {
  const std::vector<Mapping> mappings = mappings_of(plan);
  SfntBytes bmp;
  const bool bmp_complete = put_format4(bmp, mappings);
  const bool full = !bmp_complete || (!mappings.empty() && mappings.back().code > kLastBmpCode);
  SfntBytes all;
  if (full) put_format12(all, mappings);

  // Records in platform and encoding order, as readers search them.
  const std::uint16_t records = full ? 4 : 2;
  const auto bmp_at = static_cast<std::uint32_t>(4 + kEncodingRecordBytes * records);
  const auto all_at = static_cast<std::uint32_t>(bmp_at + bmp.size());
  SfntBytes out;
  out.u16(0);  // version
  out.u16(records);
  const auto record = [&out](std::uint16_t platform, std::uint16_t encoding, std::uint32_t at) {
    out.u16(platform);
    out.u16(encoding);
    out.u32(at);
  };
  record(kPlatformUnicode, kUnicodeBmpEncoding, bmp_at);
  if (full) record(kPlatformUnicode, kUnicodeFullEncoding, all_at);
  record(kPlatformWindows, kWindowsBmpEncoding, bmp_at);
  if (full) record(kPlatformWindows, kWindowsFullEncoding, all_at);
  out.append(bmp.bytes().data(), bmp.size());
  out.append(all.bytes().data(), all.size());
  return out;
}

}  // namespace vellicor
