// Micro-benchmarks of the conversion's stages on in-memory strips: reading
// the picture into its ink map, cutting it, writing the font (output counted,
// not kept) and the whole convert operation.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "bench/strip_builder.hpp"
#include "engine/api/convert.hpp"
#include "engine/font/bdf_writer.hpp"
#include "engine/font/font_model.hpp"
#include "engine/layout/glyph_cutter.hpp"
#include "engine/picture/picture_source.hpp"
#include "fuzz/memory_file_system.hpp"

namespace vellicor::bench {

namespace {

using fuzz::MemoryFileSystem;

constexpr char kInputPath[] = "/bench/strip.bmp";
constexpr char kOutputPath[] = "/bench/strip.bdf";
constexpr std::int64_t kTallArgument = 1;

// One strip through the stages, as convert runs them.
struct StagedStrip {
  StagedStrip() = default;
  StagedStrip(const StagedStrip&) = delete;
  StagedStrip& operator=(const StagedStrip&) = delete;

  ConversionOptions options{};
  InkMap map;
  GlyphBoxes boxes;
  FontModel model;
};

StripShape shape_of(const benchmark::State& state) {
  return state.range(0) == kTallArgument ? StripShape::kTall : StripShape::kWide;
}

// The strip as the one file of a file layer in memory; output is counted,
// not kept.
MemoryFileSystem file_system_for(const benchmark::State& state) {
  MemoryFileSystem fs(MemoryFileSystem::Written::kCounted);
  fs.add_file(kInputPath, build_strip(shape_of(state), static_cast<std::uint32_t>(state.range(1))));
  return fs;
}

bool read(MemoryFileSystem& fs, StagedStrip& strip) {
  return succeeded(read_one_bit_bmp(fs, kInputPath, strip.map, nullptr));
}

// Reads, cuts and models the strip, with one allowed blank column as the
// strips are drawn for. False (and the benchmark skipped) when that fails.
bool prepare(benchmark::State& state, MemoryFileSystem& fs, StagedStrip& strip) {
  strip.options.allowed_blank_columns = 1;
  if (!read(fs, strip) ||
      failed(cut_strip(strip.map, strip.options.allowed_blank_columns, Framing::kMarginStrip,
                       strip.boxes)) ||
      failed(strip.model.build(strip.boxes, strip.options, nullptr, 0, Framing::kMarginStrip,
                               nullptr))) {
    state.SkipWithError("the strip did not load or held no glyph");
    return false;
  }
  return true;
}

void report(benchmark::State& state, const StagedStrip& strip) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(strip.map.file_pixel_bytes));
  state.counters["glyphs"] = strip.model.measure().glyph_count;
}

void BM_ReadPicture(benchmark::State& state) {
  MemoryFileSystem fs = file_system_for(state);
  StagedStrip strip;
  if (!prepare(state, fs, strip)) return;
  for (auto _ : state) {
    InkMap map;
    if (failed(read_one_bit_bmp(fs, kInputPath, map, nullptr))) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(map.pixels.bytes.get());
  }
  report(state, strip);
}

void BM_CutStrip(benchmark::State& state) {
  MemoryFileSystem fs = file_system_for(state);
  StagedStrip strip;
  if (!prepare(state, fs, strip)) return;
  for (auto _ : state) {
    GlyphBoxes boxes;
    if (failed(cut_strip(strip.map, strip.options.allowed_blank_columns, Framing::kMarginStrip,
                         boxes))) {
      state.SkipWithError("cutting failed");
    }
    benchmark::DoNotOptimize(boxes.boxes.size());
  }
  report(state, strip);
}

void BM_WriteFont(benchmark::State& state) {
  MemoryFileSystem fs = file_system_for(state);
  StagedStrip strip;
  if (!prepare(state, fs, strip)) return;
  for (auto _ : state) {
    OutputFile output(fs);
    if (failed(output.create(kOutputPath, nullptr)) ||
        failed(write_bdf_font(output, strip.model, strip.map, nullptr)) ||
        failed(output.commit(nullptr))) {
      state.SkipWithError("writing failed");
    }
  }
  report(state, strip);
  const double iterations = state.iterations() > 0 ? static_cast<double>(state.iterations()) : 1;
  state.counters["font_bytes"] = static_cast<double>(fs.bytes_written()) / iterations;
  state.counters["writes_per_glyph"] =
      static_cast<double>(fs.write_calls()) / iterations / strip.model.measure().glyph_count;
}

void BM_Convert(benchmark::State& state) {
  MemoryFileSystem fs = file_system_for(state);
  StagedStrip strip;
  if (!prepare(state, fs, strip)) return;
  const ConversionPaths paths{kInputPath, kOutputPath};
  for (auto _ : state) {
    if (failed(convert_file(fs, &paths, &strip.options, nullptr))) {
      state.SkipWithError("conversion failed");
    }
  }
  report(state, strip);
}

// Arguments: shape (0 wide, 1 tall) and the wide strip's glyph count.
void strip_sizes(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgNames({"tall", "glyphs"});
  for (const std::int64_t glyphs : {1024, 4096, 16384, 65536}) benchmark->Args({0, glyphs});
  benchmark->Args({kTallArgument, 1024});
  benchmark->Args({kTallArgument, 65536});
  benchmark->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_ReadPicture)->Apply(strip_sizes);
BENCHMARK(BM_CutStrip)->Apply(strip_sizes);
BENCHMARK(BM_WriteFont)->Apply(strip_sizes);
BENCHMARK(BM_Convert)->Apply(strip_sizes);

}  // namespace

}  // namespace vellicor::bench

BENCHMARK_MAIN();
