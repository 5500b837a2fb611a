// The memory stb_image may take while it decodes one picture: every block it
// allocates is counted, and past the allowance an allocation fails, which
// stb_image reports as running out of memory. Image data that inflates to
// far more than the picture holds is stopped so, whatever its compression.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {
// stb_image's allocation functions (STBI_MALLOC, STBI_REALLOC, STBI_FREE).
void* vellicor_stb_malloc(std::size_t size);
void* vellicor_stb_realloc(void* block, std::size_t size);
void vellicor_stb_free(void* block);
}

namespace vellicor {

// Sets the allowance of the calling thread while it lives; without one,
// allocations are not limited.
class StbAllowance {
 public:
  explicit StbAllowance(std::uint64_t most_bytes);
  StbAllowance(const StbAllowance&) = delete;
  StbAllowance& operator=(const StbAllowance&) = delete;
  ~StbAllowance();

  // True once an allocation was refused for the allowance.
  bool exceeded() const { return exceeded_; }

  // For the allocation functions: whether size more bytes fit (and counting
  // them if so), and giving size bytes back.
  bool take(std::size_t size);
  void give_back(std::size_t size) { in_use_ -= size < in_use_ ? size : in_use_; }

 private:
  std::uint64_t most_bytes_;
  std::uint64_t in_use_ = 0;
  bool exceeded_ = false;
  StbAllowance* outer_;
};

}  // namespace vellicor
