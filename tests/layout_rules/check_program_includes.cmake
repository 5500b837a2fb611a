# The programs see the engine only through the C header and the interface
# headers under include/vellicor/internal: no source of driver/, console/ or
# dialog/ may include an engine header. Run with -DSOURCE_DIR=<project>.
file(GLOB_RECURSE sources
  ${SOURCE_DIR}/driver/*.cpp ${SOURCE_DIR}/driver/*.hpp
  ${SOURCE_DIR}/console/*.cpp ${SOURCE_DIR}/console/*.hpp
  ${SOURCE_DIR}/dialog/*.cpp ${SOURCE_DIR}/dialog/*.hpp)
set(offenders "")
foreach(source IN LISTS sources)
  file(STRINGS ${source} lines REGEX "^#include \"engine/")
  if(lines)
    list(APPEND offenders "${source}: ${lines}")
  endif()
endforeach()
if(offenders)
  list(JOIN offenders "\n" text)
  message(FATAL_ERROR "engine headers included by the programs:\n${text}")
endif()
list(LENGTH sources checked)
message(STATUS "${checked} program sources include no engine header")
