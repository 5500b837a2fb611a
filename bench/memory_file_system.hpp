// A file layer in memory for the micro-benchmarks: one input file to read,
// and output that is counted and thrown away, so a benchmark times the engine
// rather than the disk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/io/file_system.hpp"

namespace vellicor::bench {

class MemoryFileSystem final : public FileSystem {
 public:
  // The file that input_path names holds contents; every other path is missing
  // until it is created, and what is written to it is not kept.
  MemoryFileSystem(std::string input_path, std::vector<std::uint8_t> contents);

  std::uint64_t bytes_written() const { return bytes_written_; }
  std::uint64_t write_calls() const { return write_calls_; }

  FileHandle open_for_reading(const char* path) override;
  bool read(FileHandle file, void* buffer, std::size_t count, std::size_t* bytes_read) override;
  bool seek(FileHandle file, std::uint64_t offset) override;
  bool size(FileHandle file, std::uint64_t* bytes) override;
  FileHandle create_new(const char* path, std::uint32_t permissions) override;
  FileHandle open_for_writing(const char* path) override;
  bool write(FileHandle file, const void* bytes, std::size_t count,
             std::size_t* bytes_written) override;
  bool close(FileHandle file) override;
  bool rename(const char* from, const char* to) override;
  void remove(const char* path) override;
  PathInfo inspect(const char* path) override;
  bool resolve_links(const char* path, char* resolved, std::size_t resolved_size) override;

 private:
  static constexpr FileHandle kInputHandle = 3;
  static constexpr FileHandle kOutputHandle = 4;

  std::string input_path_;
  std::vector<std::uint8_t> contents_;
  std::uint64_t position_ = 0;
  std::uint64_t bytes_written_ = 0;
  std::uint64_t write_calls_ = 0;
};

}  // namespace vellicor::bench
