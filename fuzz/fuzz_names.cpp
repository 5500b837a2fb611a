// Fuzz target: the number parser and the output-name rule on arbitrary text.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "driver/conversion_driver.hpp"
#include "engine/core/limits.hpp"
#include "fuzz/fuzz_check.hpp"
#include "vellicor/internal/output_name.hpp"

namespace {

using vellicor::ErrorDetail;
using vellicor::ResultCode;
using vellicor::fuzz::require;

constexpr std::string_view kBdfExtension = ".bdf";

// The number a field text stands for: decimal, or hexadecimal after "0x";
// no digits at all read as 0; anything else, or more than 32 bits, is none.
bool reference_number(const std::string& text, std::uint32_t* value) {
  const bool hex = text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.empty()) {
    *value = 0;
    return true;
  }
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), *value, hex ? 16 : 10);
  return error == std::errc() && end == digits.data() + digits.size();
}

void check_number(const std::string& text) {
  std::uint32_t parsed = 0xDEADBEEF;
  const ResultCode result = vellicor::parse_number(text.c_str(), &parsed);
  std::uint32_t expected = 0;
  const bool readable = reference_number(text, &expected);
  require(vellicor::succeeded(result) == readable, "parse_number accepts what the reference does",
          text.c_str());
  if (readable) require(parsed == expected, "parse_number gives the reference's value");
  if (!readable) require(parsed == 0xDEADBEEF, "a refused number is not stored");
}

// Where the directory part ends: after the last '/', or when there is none
// after the last backslash; 0 for a bare name.
std::size_t directory_length(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  if (slash != std::string::npos) return slash + 1;
  const std::size_t backslash = name.rfind('\\');
  return backslash != std::string::npos ? backslash + 1 : 0;
}

void check_name(const std::string& input) {
  char buffer[vellicor::kPathBufferSize];
  std::memset(buffer, 'Z', sizeof buffer);
  ErrorDetail detail = ErrorDetail::kNone;
  const ResultCode result = vellicor::derive_bdf_name(input.c_str(), buffer, &detail);
  if (vellicor::failed(result)) {
    require(result == ResultCode::kFileAccess && detail == ErrorDetail::kNameTooLong,
            "a name that cannot be derived is too long");
    require(directory_length(input) >= vellicor::kMaxPathLength - kBdfExtension.size(),
            "only a long directory part makes a name underivable");
    return;
  }
  require(detail == ErrorDetail::kNone, "success stores no detail");
  const void* terminator = std::memchr(buffer, '\0', sizeof buffer);
  require(terminator != nullptr, "the derived name is terminated within the buffer");
  const std::string derived = buffer;
  require(derived.size() <= vellicor::kMaxPathLength, "the derived name is under 260 characters");
  require(derived.size() >= kBdfExtension.size() &&
              derived.compare(derived.size() - kBdfExtension.size(), kBdfExtension.size(),
                              kBdfExtension) == 0,
          "the derived name ends in .bdf");
  const std::size_t directory = directory_length(input);
  require(derived.compare(0, directory, input, 0, directory) == 0,
          "the derived name keeps the input's directory", input.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The functions read C texts, so the text ends at the first NUL byte.
  const std::string whole(reinterpret_cast<const char*>(data), size);
  const std::string text = whole.substr(0, whole.find('\0'));
  check_number(text);
  check_name(text);
  return 0;
}
