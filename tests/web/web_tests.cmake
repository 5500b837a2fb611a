# The unit programs that run in the WebAssembly build, under node, each in
# one process. The area lists define them as for every build; under
# emscripten vellicor_add_gtest makes only the programs named here, so a test
# file added to one of them runs here too. All of them build as the target
# vellicor_web_tests. The programs the WebAssembly build leaves out are listed
# below with the reason; the list is written to web_skipped_tests.txt in the
# build folder for the test script to show. Programs that read fonts back with FreeType where they can still
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
  "vellicor_convert_fault_tests, vellicor_bounded_work_tests, vellicor_bitmap_line_tests, vellicor_output_name_tests, vellicor_bmp_loader_memory_tests, vellicor_charsets_test, console_unit_tests, the fuzz corpus replays|near-duplicates of the programs below, left out to keep the build short")
list(JOIN vellicor_web_skipped_tests "\n" vellicor_web_skipped_text)
file(WRITE ${CMAKE_BINARY_DIR}/web_skipped_tests.txt "${vellicor_web_skipped_text}\n")

set(vellicor_web_test_programs
  # Pictures: the readers of any format, the ink rules, the one-bit BMP loader.
  vellicor_picture_reader_tests vellicor_bmp_loader_tests
  # Layout: the glyph cutter, the word-at-a-time column passes, the sheets.
  vellicor_glyph_cutter_tests vellicor_column_group_tests vellicor_sheet_layout_tests
  # Conversion and its limits, where 32-bit sizes matter most.
  vellicor_convert_tests vellicor_font_size_limit_tests vellicor_converter_test
  # Fonts: the character list, traced outlines and their TrueType glyph records.
  vellicor_character_list_test vellicor_outline_tests
  # The public header as a 32-bit host's C and C++ compilers read it.
  vellicor_header_test
  # The conversion driver against a scripted host and a fake converter.
  driver_tests)

# After the area lists: every program named above must have been made.
function(vellicor_add_web_tests_target)
  foreach(program IN LISTS vellicor_web_test_programs)
    if(NOT TARGET ${program})
      message(FATAL_ERROR "${program} is on the WebAssembly list but no area list makes it")
    endif()
  endforeach()
  add_custom_target(vellicor_web_tests DEPENDS ${vellicor_web_test_programs})
endfunction()
