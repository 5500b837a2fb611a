// A receiver of the runs that the ink passes hand out, recording each.
#pragma once

#include <cstdint>
#include <tuple>
#include <vector>

namespace vellicor::test {

// Records every run of equal Values it is handed: row, first column, step,
// count and the value.
template <typename Value>
struct RunLog {
  using Run = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, Value>;
  void take_run(std::uint32_t y, std::uint32_t x, std::uint32_t step, std::uint32_t count,
                Value value) {
    runs.emplace_back(y, x, step, count, value);
  }
  std::vector<Run> runs;
};

}  // namespace vellicor::test
