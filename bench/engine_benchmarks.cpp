// Micro-benchmarks of the conversion's stages on in-memory strips: loading
// the picture, the measuring pass, the writing pass (output counted, not
// kept) and the whole convert operation.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "bench/strip_builder.hpp"
#include "engine/api/convert.hpp"
#include "engine/font/bdf_header.hpp"
#include "engine/font/glyph_scanner.hpp"
#include "engine/picture/bmp_loader.hpp"
#include "fuzz/memory_file_system.hpp"

namespace vellicor::bench {

namespace {

using fuzz::MemoryFileSystem;

constexpr char kInputPath[] = "/bench/strip.bmp";
constexpr char kOutputPath[] = "/bench/strip.bdf";
constexpr std::int64_t kTallArgument = 1;

// The picture of one strip, loaded as convert loads it.
struct LoadedStrip {
  BmpInfoHeader info_header;
  InkIndexTable ink_table{};
  std::uint16_t ink_count = 0;
  PixelBuffer pixels;
  ConversionOptions options{};
  FontMeasure measure;

  GlyphScanContext context() const {
    return {&pixels, &info_header, &options, ink_table.data(), ink_count};
  }
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

bool load(MemoryFileSystem& fs, LoadedStrip& strip) {
  strip.pixels = PixelBuffer{};
  return succeeded(load_bmp(fs, kInputPath, strip.info_header, strip.ink_table, strip.ink_count,
                            strip.pixels, nullptr));
}

// Loads the strip and measures it, with one allowed blank column as the
// strips are drawn for. False (and the benchmark skipped) when that fails.
bool prepare(benchmark::State& state, MemoryFileSystem& fs, LoadedStrip& strip) {
  strip.options.allowed_blank_columns = 1;
  if (!load(fs, strip) || failed(measure_glyphs(strip.context(), strip.measure)) ||
      strip.measure.glyph_count == 0) {
    state.SkipWithError("the strip did not load or held no glyph");
    return false;
  }
  return true;
}

void report(benchmark::State& state, const LoadedStrip& strip) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          strip.pixels.delivered_bytes);
  state.counters["glyphs"] = strip.measure.glyph_count;
}

void BM_LoadStrip(benchmark::State& state) {
  MemoryFileSystem fs = file_system_for(state);
  LoadedStrip strip;
  if (!prepare(state, fs, strip)) return;
  for (auto _ : state) {
    if (!load(fs, strip)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(strip.pixels.bytes.get());
  }
  report(state, strip);
}

void BM_MeasuringPass(benchmark::State& state) {
  MemoryFileSystem fs = file_system_for(state);
  LoadedStrip strip;
  if (!prepare(state, fs, strip)) return;
  for (auto _ : state) {
    FontMeasure measure;
    if (failed(measure_glyphs(strip.context(), measure))) {
      state.SkipWithError("measuring failed");
    }
    benchmark::DoNotOptimize(measure);
  }
  report(state, strip);
}

void BM_WritingPass(benchmark::State& state) {
  MemoryFileSystem fs = file_system_for(state);
  LoadedStrip strip;
  if (!prepare(state, fs, strip)) return;
  for (auto _ : state) {
    OutputFile output(fs);
    if (failed(output.create(kOutputPath, nullptr)) ||
        failed(write_glyphs(strip.context(), strip.measure, output)) ||
        failed(output.commit(nullptr))) {
      state.SkipWithError("writing failed");
    }
  }
  report(state, strip);
  const double iterations = state.iterations() > 0 ? static_cast<double>(state.iterations()) : 1;
  state.counters["font_bytes"] = static_cast<double>(fs.bytes_written()) / iterations;
  state.counters["writes_per_glyph"] =
      static_cast<double>(fs.write_calls()) / iterations / strip.measure.glyph_count;
}

void BM_Convert(benchmark::State& state) {
  MemoryFileSystem fs = file_system_for(state);
  LoadedStrip strip;
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

BENCHMARK(BM_LoadStrip)->Apply(strip_sizes);
BENCHMARK(BM_MeasuringPass)->Apply(strip_sizes);
BENCHMARK(BM_WritingPass)->Apply(strip_sizes);
BENCHMARK(BM_Convert)->Apply(strip_sizes);

}  // namespace

}  // namespace vellicor::bench

BENCHMARK_MAIN();
