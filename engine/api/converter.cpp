// The reference-counted Converter object: its layout, its four operations and
// the factory that makes it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>

#include "engine/api/convert.hpp"
#include "engine/api/versioned_records.hpp"
#include "engine/io/output_file.hpp"
#include "vellicor/internal/converter_factory.hpp"

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

// A ConverterEx begins as a Converter does, so hosts of the plain interface
// can use it through a Converter pointer.
constexpr std::size_t kExSlotCount = 6;
static_assert(offsetof(ConverterEx, ops) == offsetof(Converter, ops));
static_assert(offsetof(ConverterEx, ref_count) == offsetof(Converter, ref_count));
static_assert(offsetof(ConverterEx, slots) == offsetof(Converter, slots));
static_assert(offsetof(ConverterExOps, convert) == offsetof(ConverterOps, convert));
static_assert(sizeof(ConverterExOps) == kExSlotCount * kPointerSize);

// convert writes the caller's detail only on failure and only when the failing
// step gave one; this value means "no detail was given".
constexpr auto kDetailNotGiven = static_cast<ErrorDetail>(std::numeric_limits<std::int32_t>::min());

// Runs one engine operation for a C slot: no exception gets out, and the
// caller's detail is written on failure only, when the failing step gave one.
template <typename Operation>
::ResultCode run_guarded(::ErrorDetail* detail, Operation&& operation) noexcept {
  ErrorDetail inner_detail = kDetailNotGiven;
  ResultCode result;
  try {
    result = operation(&inner_detail);
  } catch (const std::bad_alloc&) {
    result = ResultCode::kOutOfMemory;
    inner_detail = ErrorDetail::kOutOfMemory;
  } catch (...) {
    // Nothing in the engine throws on purpose; report a failed conversion
    // with no particular cause rather than let the exception reach C code.
    result = ResultCode::kFileAccess;
    inner_detail = ErrorDetail::kNone;
  }
  if (failed(result) && detail != nullptr && inner_detail != kDetailNotGiven) {
    *detail = to_int(inner_detail);
  }
  return to_int(result);
}

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
  return vellicor::run_guarded(detail, [&](vellicor::ErrorDetail* inner) {
    return vellicor::convert_file(vellicor::system_file_system(), paths, options, inner);
  });
}

// The extended object's slots. The first four do what the plain ones do; the
// object's head is laid out alike, so they pass it on as a Converter.
static Converter* as_converter(ConverterEx* self) noexcept {
  return reinterpret_cast<Converter*>(self);
}

static int32_t VELLICOR_CALL converter_ex_retain(ConverterEx* self) noexcept {
  return converter_retain(as_converter(self));
}

static int32_t VELLICOR_CALL converter_ex_release(ConverterEx* self) noexcept {
  return converter_release(as_converter(self));
}

static ResultCode VELLICOR_CALL converter_ex_query(ConverterEx* self, ConverterIid iid,
                                                   ConverterEx** out) noexcept {
  using vellicor::to_int;
  if (out == nullptr) return to_int(vellicor::ResultCode::kBadArgument);
  *out = nullptr;
  if (iid < IidBase || iid > IidConverterEx) return to_int(vellicor::ResultCode::kNoInterface);
  *out = self;
  if (self == nullptr) return to_int(vellicor::ResultCode::kUnusableInput);
  static_cast<void>(converter_ex_retain(self));  // the count is not a result
  return to_int(vellicor::ResultCode::kOk);
}

static ResultCode VELLICOR_CALL converter_ex_convert(ConverterEx* self,
                                                     const ConversionPaths* paths,
                                                     const ConversionOptions* options,
                                                     ErrorDetail* detail) noexcept {
  return converter_convert(as_converter(self), paths, options, detail);
}

static ResultCode VELLICOR_CALL converter_ex_convert_ex(
    ConverterEx* self, const ConversionPaths* paths, const ConversionOptions* options,
    const ConversionSettings* settings, ConversionReport* report, ErrorDetail* detail) noexcept {
  static_cast<void>(self);  // nothing is kept in the object
  ConversionReport full = vellicor::empty_report();
  const ResultCode result = vellicor::run_guarded(detail, [&](vellicor::ErrorDetail* inner) {
    return vellicor::convert_ex_file(vellicor::system_file_system(), paths, options,
                                     vellicor::read_settings(settings), full, inner);
  });
  vellicor::write_report(full, report);
  return result;
}

static ResultCode VELLICOR_CALL converter_ex_cut(ConverterEx* self, const char* input_path,
                                                 const ConversionOptions* options,
                                                 const ConversionSettings* settings,
                                                 GlyphCallback callback, void* callback_context,
                                                 ConversionReport* report,
                                                 ErrorDetail* detail) noexcept {
  static_cast<void>(self);
  ConversionReport full = vellicor::empty_report();
  const ResultCode result = vellicor::run_guarded(detail, [&](vellicor::ErrorDetail* inner) {
    return vellicor::cut_file(vellicor::system_file_system(), input_path, options,
                              vellicor::read_settings(settings), callback, callback_context, full,
                              inner);
  });
  vellicor::write_report(full, report);
  return result;
}

}  // extern "C"

namespace vellicor {

ResultCode create_converter(std::uint32_t reserved, ConverterIid iid, Converter** out) noexcept {
  static_cast<void>(reserved);  // kept for the factory's signature, never read
  if (out == nullptr) return ResultCode::kBadArgument;
  *out = nullptr;
  if (iid == IidConverterEx) {
    ConverterEx* extended = nullptr;
    const ResultCode result = create_converter_ex(reserved, &extended);
    *out = reinterpret_cast<Converter*>(extended);
    return result;
  }
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

namespace vellicor {

ResultCode create_converter_ex(std::uint32_t reserved, ConverterEx** out) noexcept {
  static_cast<void>(reserved);  // kept for the factory's signature, never read
  if (out == nullptr) return ResultCode::kBadArgument;
  *out = nullptr;
  auto* object = static_cast<ConverterEx*>(std::malloc(sizeof(ConverterEx)));
  if (object == nullptr) return ResultCode::kOutOfMemory;
  object->slots.retain = converter_ex_retain;
  object->slots.release = converter_ex_release;
  object->slots.query = converter_ex_query;
  object->slots.convert = converter_ex_convert;
  object->slots.convert_ex = converter_ex_convert_ex;
  object->slots.cut = converter_ex_cut;
  object->ops = &object->slots;
  object->ref_count = 1;
  *out = object;
  return ResultCode::kOk;
}

}  // namespace vellicor
