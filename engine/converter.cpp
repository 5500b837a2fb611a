// The reference-counted Converter object: its layout, its four operations and
// the factory that makes it.
#include "engine/converter.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>

#include "engine/convert.hpp"
#include "engine/file_io.hpp"

namespace vellicor {
namespace {

// Hosts built separately read this block, so its shape is frozen: the table
// pointer, the count padded to a pointer's width, then the four slots, and
// ops holding the address of the object's third word.
constexpr std::size_t kPointerSize = sizeof(void*);
constexpr std::size_t kSlotCount = 4;
static_assert(offsetof(Converter, ops) == 0);
static_assert(offsetof(Converter, ref_count) == kPointerSize);
static_assert(offsetof(Converter, slots) == 2 * kPointerSize);
static_assert(sizeof(ConverterOps) == kSlotCount * kPointerSize);
static_assert(sizeof(Converter) == (2 + kSlotCount) * kPointerSize);
#if defined(__i386__) || defined(_M_IX86)
static_assert(sizeof(Converter) == 24, "the 32-bit x86 object is 24 bytes");
#elif defined(__x86_64__) || defined(_M_X64) || defined(__aarch64__)
static_assert(sizeof(Converter) == 48, "the 64-bit object is six pointers");
#endif

// convert writes the caller's detail only on failure and only when the failing
// step gave one; this value means "no detail was given".
constexpr auto kDetailNotGiven = static_cast<ErrorDetail>(std::numeric_limits<std::int32_t>::min());

}  // namespace
}  // namespace vellicor

// The slots are plain C functions, so a host written in C can call them
// through the table. They never let an exception out.
extern "C" {

static int32_t VELLICOR_CALL converter_retain(Converter* self) noexcept {
  if (self == nullptr) return 0;
  // The count stops at its largest value instead of wrapping round to a
  // negative number that a later release would take for the end.
  if (self->ref_count < std::numeric_limits<int32_t>::max()) ++self->ref_count;
  return self->ref_count;
}

static int32_t VELLICOR_CALL converter_release(Converter* self) noexcept {
  if (self == nullptr) return 0;
  const int32_t count = --self->ref_count;
  if (count != 0) return count;
  std::free(self);
  return 0;
}

static ResultCode VELLICOR_CALL converter_query(Converter* self, ConverterIid iid,
                                                Converter** out) noexcept {
  using vellicor::to_int;
  if (out == nullptr) return to_int(vellicor::ResultCode::kBadArgument);
  *out = nullptr;
  if (iid < IidBase || iid > IidConverter) return to_int(vellicor::ResultCode::kNoInterface);
  *out = self;
  if (self == nullptr) return to_int(vellicor::ResultCode::kUnusableInput);
  static_cast<void>(converter_retain(self));  // the count is not a result
  return to_int(vellicor::ResultCode::kOk);
}

static ResultCode VELLICOR_CALL converter_convert(Converter* self, const ConversionPaths* paths,
                                                  const ConversionOptions* options,
                                                  ErrorDetail* detail) noexcept {
  static_cast<void>(self);  // convert keeps nothing in the object
  using vellicor::ResultCode;
  vellicor::ErrorDetail inner_detail = vellicor::kDetailNotGiven;
  ResultCode result;
  try {
    result = vellicor::convert_file(vellicor::system_file_system(), paths, options, &inner_detail);
  } catch (const std::bad_alloc&) {
    result = ResultCode::kOutOfMemory;
    inner_detail = vellicor::ErrorDetail::kOutOfMemory;
  } catch (...) {
    // Nothing in the engine throws on purpose; report a failed conversion
    // with no particular cause rather than let the exception reach C code.
    result = ResultCode::kFileAccess;
    inner_detail = vellicor::ErrorDetail::kNone;
  }
  if (vellicor::failed(result) && detail != nullptr && inner_detail != vellicor::kDetailNotGiven) {
    *detail = vellicor::to_int(inner_detail);
  }
  return vellicor::to_int(result);
}

}  // extern "C"

namespace vellicor {

ResultCode create_converter(std::uint32_t reserved, ConverterIid iid, Converter** out) noexcept {
  static_cast<void>(reserved);  // kept for the factory's signature, never read
  if (out == nullptr) return ResultCode::kBadArgument;
  *out = nullptr;
  if (iid != IidConverter) return ResultCode::kNoInterface;
  // A C object handed to hosts: allocated and freed by the C runtime.
  auto* object = static_cast<Converter*>(std::malloc(sizeof(Converter)));
  if (object == nullptr) return ResultCode::kOutOfMemory;
  object->slots.retain = converter_retain;
  object->slots.release = converter_release;
  object->slots.query = converter_query;
  object->slots.convert = converter_convert;
  object->ops = &object->slots;
  object->ref_count = 1;
  *out = object;
  return ResultCode::kOk;
}

}  // namespace vellicor
