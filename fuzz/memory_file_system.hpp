// A file layer that keeps every file in memory, for the fuzz targets and the
// micro-benchmarks: no disk is touched whatever paths an input names, and
// written fonts are checked as they are written (or only counted) instead of
// being kept.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/io/file_system.hpp"
#include "fuzz/bdf_stream_check.hpp"

namespace vellicor::fuzz {

// Files given with add_file are readable; files the engine creates keep no
// bytes: what is written goes into a BdfStreamCheck, or is only counted. Directories are the ones
// given with add_directory; a file can only be created in one of them. There
// are no links, devices or permissions.
class MemoryFileSystem : public FileSystem {
 public:
  // What becomes of the bytes written to created files.
  enum class Written {
    kChecked,  // fed to the file's BdfStreamCheck
    kCounted,  // only counted, so a benchmark times the engine alone
  };
  explicit MemoryFileSystem(Written written = Written::kChecked) : written_mode_(written) {}

  // Written fonts are checked as fonts of grids and marks (BdfStreamCheck).
  void expect_sheet_fonts() { sheet_fonts_ = true; }
  void add_directory(const std::string& path);
  void add_file(const std::string& path, std::vector<std::uint8_t> bytes);
  // Forgets every file the engine created; the added ones stay.
  void forget_written();

  // The paths of all files, added and written.
  std::vector<std::string> paths() const;
  // The check of a written file, or null when path holds no written file.
  BdfStreamCheck* written(const std::string& path);
  int open_handles() const { return static_cast<int>(handles_.size()); }
  // Bytes written to created files, and the write calls that took them.
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
  struct File {
    std::vector<std::uint8_t> bytes;          // added files
    std::shared_ptr<BdfStreamCheck> written;  // created files
    std::uint64_t inode = 0;
  };
  struct Handle {
    std::string path;
    std::uint64_t position = 0;
    bool writing = false;
  };

  std::set<std::string> directories_;
  std::map<std::string, File> files_;
  std::map<FileHandle, Handle> handles_;
  FileHandle next_handle_ = 3;
  std::uint64_t next_inode_ = 1;
  Written written_mode_;
  bool sheet_fonts_ = false;
  std::uint64_t bytes_written_ = 0;
  std::uint64_t write_calls_ = 0;
};

}  // namespace vellicor::fuzz
