// Separate converters on separate threads: each thread converts its own
// pictures with its own object and options, again and again, while the
// others do the same, and every font is the one a lone conversion writes.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/bmp_builder.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/support/worked_example.h"
#include "vellicor/internal/converter_factory.hpp"

namespace vellicor::test {
namespace {

constexpr int kThreads = 4;
constexpr int kRounds = 40;

// Converts in_path to out_path with a fresh converter; the font, or the
// failure's code as text.
std::string convert_once(const std::string& in_path, const std::string& out_path,
                         std::uint16_t first_glyph) {
  Converter* object = nullptr;
  if (create_converter(0, IidConverter, &object) != ResultCode::kOk) return "no converter";
  ConversionOptions options{};
  options.first_glyph = first_glyph;
  options.allowed_blank_columns = 1;
  options.descent = 1;
  options.leading_blank = 1;
  options.trailing_blank = 1;
  const ConversionPaths paths{in_path.c_str(), out_path.c_str()};
  ::ErrorDetail detail = 0;
  const std::int32_t result = object->ops->convert(object, &paths, &options, &detail);
  object->ops->release(object);
  if (result != 0) return "failed " + std::to_string(result) + " " + std::to_string(detail);
  return read_text(out_path);
}

TEST(ConverterThreads, SeparateConvertersOnSeparateThreadsWriteTheirOwnFonts) {
  TempDir dir;
  const std::vector<std::string> rows(std::begin(kWorkedExampleRows), std::end(kWorkedExampleRows));
  // Thread n's picture: the worked example with n extra blank rows on top,
  // so that every thread's font differs from the others'.
  std::vector<std::string> expected(kThreads);
  for (int thread = 0; thread < kThreads; ++thread) {
    std::vector<std::string> picture(static_cast<std::size_t>(thread), std::string(rows[0]));
    picture.insert(picture.end(), rows.begin(), rows.end());
    const std::string in = dir.file("in" + std::to_string(thread) + ".bmp");
    write_file(in, make_one_bit_bmp(picture));
    expected[thread] = convert_once(in, dir.file("alone" + std::to_string(thread) + ".bdf"),
                                    static_cast<std::uint16_t>(0x41 + thread));
    ASSERT_NE(expected[thread].find("\nCHARS 3\n"), std::string::npos) << expected[thread];
  }
  for (int thread = 1; thread < kThreads; ++thread) {
    ASSERT_NE(expected[thread], expected[thread - 1]);
  }

  std::vector<std::vector<std::string>> fonts(kThreads);
  std::vector<std::thread> threads;
  for (int thread = 0; thread < kThreads; ++thread) {
    threads.emplace_back([&, thread] {
      const std::string name = std::to_string(thread);
      for (int round = 0; round < kRounds; ++round) {
        fonts[thread].push_back(convert_once(dir.file("in" + name + ".bmp"),
                                             dir.file("out" + name + ".bdf"),
                                             static_cast<std::uint16_t>(0x41 + thread)));
      }
    });
  }
  for (std::thread& running : threads) running.join();

  for (int thread = 0; thread < kThreads; ++thread) {
    ASSERT_EQ(fonts[thread].size(), static_cast<std::size_t>(kRounds));
    for (int round = 0; round < kRounds; ++round) {
      EXPECT_EQ(fonts[thread][round], expected[thread])
          << "thread " << thread << ", round " << round;
    }
  }
}

}  // namespace
}  // namespace vellicor::test
