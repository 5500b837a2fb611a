// Placeholder until the output file lands.
#include "engine/file_io.hpp"

namespace vellicor {

struct OutputFile::State {};
OutputFile::OutputFile(FileSystem&) {}
OutputFile::~OutputFile() = default;
ResultCode OutputFile::create(const char*, ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
}
ResultCode OutputFile::write_exact(const void*, std::size_t, ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
}
ResultCode OutputFile::flush(ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
}
ResultCode OutputFile::commit(ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
}

}  // namespace vellicor
