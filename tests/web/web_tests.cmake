# The unit programs that run in the WebAssembly build, under node. Each runs
# inside one process; the sources are those of the same programs in the area
# lists. All of them build as the target vellicor_web_tests. The programs the
# WebAssembly build leaves out are listed below with the reason; the list is
# written to web_skipped_tests.txt in the build folder for the test script
# to show. Programs that read fonts back with FreeType where they can still
# check the fonts' text, and report the FreeType checks as skipped.
set(vellicor_web_skipped_tests
  "console's cvellicor_*_tests, the sheet scripts, vellicor_draw_round_trip_test, cvellicor_draw_tests|start cvellicor"
  "vellicor_font_reader_tests|reads fonts that cvellicor writes"
  "vellicor_real_tool_picture_tests|starts ImageMagick and Netpbm"
  "vellicor_psf_writer_tests|starts kbd's psfxtable"
  "the shared library's host and export checks, packaging|start host programs and tools"
  "vellicor_unicode_font_tests, vellicor_framed_font_tests, vellicor_glyph_record_tests|judged by FreeType"
  "vellicor_pcf_writer_tests, vellicor_fon_writer_tests, vellicor_otb_writer_tests, vellicor_ttf_writer_tests|judged by FreeType and the X font tools"
  "vellicor_outline_render_tests, the drawing library's tests|need FreeType"
  "vellicor_converter_threads_test|needs threads"
  "cvellicor_interruption_tests, cvellicor_out_of_memory_tests, cvellicor_list_file_tests|signals and preloaded shims"
  "vellicor_file_io_test|pipes, devices and permission bits node's file system does not have"
  "vellicor_bmpsuite_tests|the BMP Suite's files in ../shared"
  "vellicor_convert_fault_tests, vellicor_bounded_work_tests, vellicor_bitmap_line_tests, vellicor_output_name_tests, vellicor_bmp_loader_memory_tests, vellicor_charsets_test, vellicor_header_test, console_unit_tests, the fuzz corpus replays|near-duplicates of the programs below, left out to keep the build short")
list(JOIN vellicor_web_skipped_tests "\n" vellicor_web_skipped_text)
file(WRITE ${CMAKE_BINARY_DIR}/web_skipped_tests.txt "${vellicor_web_skipped_text}\n")

set(vellicor_web_test_programs "")

# vellicor_add_web_gtest(name SOURCES a.cpp ... [LIBS lib ...])
macro(vellicor_add_web_gtest name)
  vellicor_add_gtest(${name} ${ARGN})
  list(APPEND vellicor_web_test_programs ${name})
endmacro()

# Pictures: the readers of any format, the ink rules, the one-bit BMP loader.
vellicor_add_web_gtest(vellicor_picture_reader_tests
  SOURCES
    engine/bmp_reference_ink.cpp
    engine/ink_map_text.cpp
    engine/ink_rule_test.cpp
    engine/ink_passes_test.cpp
    engine/png_rows_test.cpp
    engine/reader_helpers_test.cpp
    engine/png_reader_test.cpp
    engine/bmp_any_reader_test.cpp
  LIBS vellicor_engine)
vellicor_add_web_gtest(vellicor_bmp_loader_tests
  SOURCES
    engine/bmp_loader_fault_test.cpp
    engine/bmp_loader_test.cpp
    engine/loaded_picture.cpp
  LIBS vellicor_engine)

# Layout: the glyph cutter, the word-at-a-time column passes, the sheets.
vellicor_add_web_gtest(vellicor_glyph_cutter_tests
  SOURCES
    engine/glyph_cutter_test.cpp
    engine/memory_picture.cpp
  LIBS vellicor_engine)
vellicor_add_web_gtest(vellicor_column_group_tests
  SOURCES
    engine/column_group_test.cpp
    engine/loaded_picture.cpp
  LIBS vellicor_engine)
vellicor_add_web_gtest(vellicor_sheet_layout_tests
  SOURCES engine/sheet_layout_test.cpp)

# Conversion and its limits, where 32-bit sizes matter most.
vellicor_add_web_gtest(vellicor_convert_tests
  SOURCES
    engine/convert_test.cpp
    engine/font_conversion.cpp
  LIBS vellicor_engine)
vellicor_add_web_gtest(vellicor_font_size_limit_tests
  SOURCES
    engine/font_conversion.cpp
    engine/font_size_limit_test.cpp
    engine/loaded_picture.cpp
    engine/memory_picture.cpp
  LIBS vellicor_engine)
vellicor_add_web_gtest(vellicor_converter_test
  SOURCES engine/converter_test.cpp)

# Fonts: the character list, traced outlines and their TrueType glyph records.
vellicor_add_web_gtest(vellicor_character_list_test
  SOURCES engine/character_list_test.cpp)
vellicor_add_web_gtest(vellicor_outline_tests
  SOURCES engine/outline_tracer_test.cpp engine/glyf_glyph_test.cpp)

# The conversion driver against a scripted host and a fake converter.
include(${CMAKE_CURRENT_LIST_DIR}/../driver/driver_tests.cmake)
list(APPEND vellicor_web_test_programs driver_tests)

add_custom_target(vellicor_web_tests DEPENDS ${vellicor_web_test_programs})
