// An argument list for the console's units, owning its texts as main's
// argv would: argument 0 is the program, then the given arguments.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "console/command_line.hpp"

namespace vellicor::console {

class ArgumentList {
 public:
  explicit ArgumentList(std::vector<std::string> texts, std::string program = "cvellicor")
      : texts_(std::move(texts)) {
    texts_.insert(texts_.begin(), std::move(program));
    for (std::string& text : texts_) pointers_.push_back(text.data());
    pointers_.push_back(nullptr);
    line_ = CommandLine{static_cast<int>(texts_.size()), pointers_.data()};
  }
  ArgumentList(const ArgumentList&) = delete;
  ArgumentList& operator=(const ArgumentList&) = delete;

  const CommandLine& line() const { return line_; }
  // The line as the field provider's context.
  void* context() { return &line_; }

 private:
  std::vector<std::string> texts_;
  std::vector<char*> pointers_;
  CommandLine line_{};
};

}  // namespace vellicor::console
