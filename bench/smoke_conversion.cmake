# Draws a small benchmark strip, converts it with the console program and
# checks that the font holds one glyph per cell of the strip.
# Called with -DMAKE_STRIP=... -DCONVERTER=... -DWORK_DIR=...

set(glyphs 256)
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(strip "${WORK_DIR}/strip.bmp")
set(font "${WORK_DIR}/strip.bdf")

execute_process(COMMAND "${MAKE_STRIP}" wide ${glyphs} "${strip}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "make_strip failed: ${status}")
endif()
execute_process(COMMAND "${CONVERTER}" -a 1 -o "${font}" "${strip}"
  RESULT_VARIABLE status OUTPUT_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cvellicor failed (${status}): ${output}")
endif()

file(STRINGS "${font}" chars_line REGEX "^CHARS ")
file(STRINGS "${font}" records REGEX "^ENDCHAR$")
list(LENGTH records record_count)
if(NOT chars_line STREQUAL "CHARS ${glyphs}" OR NOT record_count EQUAL glyphs)
  message(FATAL_ERROR "expected ${glyphs} glyphs, found '${chars_line}' and ${record_count} records")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
