// Placeholder until the POSIX file layer lands.
#include "engine/file_io.hpp"

namespace vellicor {

namespace {
class NoFileSystem final : public FileSystem {
 public:
  FileHandle open_for_reading(const char*) override { return kInvalidHandle; }
  bool read(FileHandle, void*, std::size_t, std::size_t*) override { return false; }
  bool seek(FileHandle, std::uint64_t) override { return false; }
  bool size(FileHandle, std::uint64_t*) override { return false; }
  FileHandle create_new(const char*, std::uint32_t) override { return kInvalidHandle; }
  FileHandle open_for_writing(const char*) override { return kInvalidHandle; }
  bool write(FileHandle, const void*, std::size_t, std::size_t*) override { return false; }
  void flush(FileHandle) override {}
  bool close(FileHandle) override { return false; }
  bool rename(const char*, const char*) override { return false; }
  void remove(const char*) override {}
  PathInfo inspect(const char*) override { return {}; }
  bool resolve_links(const char*, char*, std::size_t) override { return false; }
};
}  // namespace

FileSystem& system_file_system() {
  static NoFileSystem instance;
  return instance;
}

}  // namespace vellicor
