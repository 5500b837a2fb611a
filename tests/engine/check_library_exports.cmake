# Checks the shared library's dynamic table: CodeUnitLoader is its only
# defined symbol, its soname carries the major version, and it needs nothing
# but the C and C++ runtimes (and the sanitizers' runtimes when built with
# them, libspng when built with PNG support).
#
# cmake -DLIBRARY=path -DNM=nm -DREADELF=readelf -DSONAME=name
#       [-DSANITIZED=ON] [-DPNG=ON] -P check_library_exports.cmake

foreach(tool NM READELF)
  if(NOT ${tool})
    message(FATAL_ERROR "${tool} not given")
  endif()
endforeach()

execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
  OUTPUT_VARIABLE symbols_text RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" symbol_lines "${symbols_text}")
set(names "")
foreach(line IN LISTS symbol_lines)
  # "address type name[@version]"
  string(REGEX REPLACE "^.* ([^ @]+)(@.*)?$" "\\1" name "${line}")
  list(APPEND names "${name}")
endforeach()
if(NOT names STREQUAL "CodeUnitLoader")
  message(FATAL_ERROR "exported symbols are [${names}], expected only CodeUnitLoader")
endif()

execute_process(COMMAND ${READELF} -d ${LIBRARY}
  OUTPUT_VARIABLE dynamic_text RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "readelf failed on ${LIBRARY}")
endif()
string(REGEX MATCH "Library soname: \\[([^]]+)\\]" soname_match "${dynamic_text}")
if(NOT CMAKE_MATCH_1 STREQUAL SONAME)
  message(FATAL_ERROR "soname is '${CMAKE_MATCH_1}', expected '${SONAME}'")
endif()

set(runtimes "libc|libstdc\\+\\+|libgcc_s|libm")
if(SANITIZED)
  string(APPEND runtimes "|libasan|libubsan")
endif()
if(PNG)
  string(APPEND runtimes "|libspng")
endif()
set(allowed "^(${runtimes})\\.so")
string(REGEX MATCHALL "Shared library: \\[[^]]+\\]" needed_entries "${dynamic_text}")
foreach(entry IN LISTS needed_entries)
  string(REGEX REPLACE "Shared library: \\[([^]]+)\\]" "\\1" needed "${entry}")
  if(NOT needed MATCHES "${allowed}")
    message(FATAL_ERROR "the library needs ${needed}, which is neither a C or C++ runtime nor libspng")
  endif()
endforeach()
message(STATUS "exports: ${names}; soname ${SONAME}; needs: ${needed_entries}")
