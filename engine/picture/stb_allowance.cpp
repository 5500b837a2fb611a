// Counting stb_image's allocations against the calling thread's allowance.
#include "engine/picture/stb_allowance.hpp"

#include <cstdlib>
#include <cstring>

namespace vellicor {

namespace {

thread_local StbAllowance* current_allowance = nullptr;

// Each block begins with its size, padded so the caller's bytes keep the
// strictest alignment.
constexpr std::size_t kHeaderBytes = alignof(std::max_align_t) > sizeof(std::size_t)
                                         ? alignof(std::max_align_t)
                                         : sizeof(std::size_t);

std::size_t size_of_block(void* block) {
  std::size_t size = 0;
  std::memcpy(&size, static_cast<unsigned char*>(block) - kHeaderBytes, sizeof size);
  return size;
}

}  // namespace

StbAllowance::StbAllowance(std::uint64_t most_bytes)
    : most_bytes_(most_bytes), outer_(current_allowance) {
  current_allowance = this;
}

StbAllowance::~StbAllowance() { current_allowance = outer_; }

bool StbAllowance::take(std::size_t size) {
  if (size > most_bytes_ - in_use_) {
    exceeded_ = true;
    return false;
  }
  in_use_ += size;
  return true;
}

}  // namespace vellicor

using vellicor::current_allowance;

extern "C" {

void* vellicor_stb_malloc(std::size_t size) {
  if (size > static_cast<std::size_t>(-1) - vellicor::kHeaderBytes) return nullptr;
  if (current_allowance != nullptr && !current_allowance->take(size)) return nullptr;
  auto* block = static_cast<unsigned char*>(std::malloc(size + vellicor::kHeaderBytes));
  if (block == nullptr) {
    if (current_allowance != nullptr) current_allowance->give_back(size);
    return nullptr;
  }
  std::memcpy(block, &size, sizeof size);
  return block + vellicor::kHeaderBytes;
}

void vellicor_stb_free(void* block) {
  if (block == nullptr) return;
  if (current_allowance != nullptr) current_allowance->give_back(vellicor::size_of_block(block));
  std::free(static_cast<unsigned char*>(block) - vellicor::kHeaderBytes);
}

void* vellicor_stb_realloc(void* block, std::size_t size) {
  if (block == nullptr) return vellicor_stb_malloc(size);
  const std::size_t old_size = vellicor::size_of_block(block);
  void* grown = vellicor_stb_malloc(size);
  if (grown == nullptr) return nullptr;  // the old block stays the caller's
  std::memcpy(grown, block, old_size < size ? old_size : size);
  vellicor_stb_free(block);
  return grown;
}
}
