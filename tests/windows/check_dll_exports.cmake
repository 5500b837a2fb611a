# Checks a Windows DLL's export table and the DLLs it (or a program) imports:
# the export table holds CodeUnitLoader alone, undecorated, by name and as
# ordinal 1; imports come from the system's DLLs only (no libgcc, libstdc++ or
# winpthread DLL to ship alongside).
#
# cmake -DOBJDUMP=path -DLIBRARY=vellicor.dll [-DPROGRAM=cvellicor.exe]
#       -P check_dll_exports.cmake

if(NOT OBJDUMP OR NOT LIBRARY)
  message(FATAL_ERROR "OBJDUMP and LIBRARY must be given")
endif()

# KERNEL32 and the C runtime (msvcrt, or the Universal CRT's API sets); ole32
# for COM and windowscodecs, the Windows Imaging Component, which decode PNG
# pictures. Names are compared in lower case, as Windows finds DLLs.
set(system_dlls "^(kernel32|msvcrt|ucrtbase|api-ms-win-crt-[a-z0-9-]+|ole32|windowscodecs)\\.dll$")

function(read_imports file out_var)
  execute_process(COMMAND ${OBJDUMP} -p ${file} OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "objdump failed on ${file}")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\n]+" entries "${text}")
  set(names "")
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE "DLL Name: " "" name "${entry}")
    string(STRIP "${name}" name)
    string(TOLOWER "${name}" lower_name)
    if(NOT lower_name MATCHES "${system_dlls}")
      message(FATAL_ERROR "${file} imports ${name}, which is not a system DLL")
    endif()
    list(APPEND names "${name}")
  endforeach()
  set(${out_var} "${names}" PARENT_SCOPE)
  set(objdump_text "${text}" PARENT_SCOPE)
endfunction()

read_imports(${LIBRARY} library_imports)
# "[Ordinal/Name Pointer] Table" lists "[index] name" lines up to an empty line.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n((\t\\[[^\n]+\n)*)" table "${objdump_text}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" rows "${CMAKE_MATCH_1}")
if(NOT rows STREQUAL "[   0] CodeUnitLoader")
  message(FATAL_ERROR "export names are [${rows}], expected only CodeUnitLoader")
endif()
# The export address table: one entry, ordinal base 1.
string(REGEX MATCH "Export Address Table -- Ordinal Base ([0-9]+)\n((\t\\[[^\n]+\n)*)" address_table "${objdump_text}")
set(ordinal_base "${CMAKE_MATCH_1}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] \\+base\\[ *([0-9]+)\\]" entries "${CMAKE_MATCH_2}")
list(LENGTH entries entry_count)
if(NOT ordinal_base STREQUAL "1" OR NOT entry_count EQUAL 1 OR NOT entries MATCHES "\\+base\\[ *1\\]")
  message(FATAL_ERROR "export address table has base '${ordinal_base}' and entries [${entries}], "
    "expected CodeUnitLoader alone as ordinal 1")
endif()
# The DLL's own name in its export directory.
if(NOT objdump_text MATCHES "Name[^\n]*[ \t]vellicor\\.dll\n")
  message(FATAL_ERROR "the export directory does not name the DLL vellicor.dll")
endif()

set(program_imports "")
if(PROGRAM)
  read_imports(${PROGRAM} program_imports)
endif()
message(STATUS "exports: CodeUnitLoader @1; ${LIBRARY} imports: ${library_imports}; "
  "${PROGRAM} imports: ${program_imports}")
