// paths_name_one_file: the request check's file comparison, for the programs.
#include "vellicor/internal/same_file.hpp"

#include "engine/api/request_checks.hpp"
#include "engine/io/file_system.hpp"

namespace vellicor {

bool paths_name_one_file(const char* first, const char* second) {
  if (first == nullptr || second == nullptr) return false;
  return name_the_same_file(system_file_system(), first, second);
}

}  // namespace vellicor
