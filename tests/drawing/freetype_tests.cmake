# Tests of the freetype part of drawing fonts.

# Drawn pictures saved as PNG and BMP and read back by the engine's readers.
vellicor_add_gtest(vellicor_picture_writer_tests
  SOURCES drawing/picture_writer_test.cpp engine/ink_map_text.cpp
  LIBS vellicor_drawing)

# Fonts read back through FreeType: ours against the BDF of the same run,
# Debian's X fonts, an outline font without strikes.
vellicor_add_gtest(vellicor_freetype_font_reader_tests
  SOURCES drawing/freetype_font_reader_test.cpp engine/writer_test_fonts.cpp
  LIBS vellicor_drawing)

# Whole font files: the bounded read, gzip, bytes no reader knows.
vellicor_add_gtest(vellicor_font_file_freetype_tests
  SOURCES drawing/font_file_freetype_test.cpp engine/writer_test_fonts.cpp
  LIBS vellicor_drawing)
find_package(ZLIB QUIET)
if(TARGET ZLIB::ZLIB)
  target_link_libraries(vellicor_font_file_freetype_tests PRIVATE ZLIB::ZLIB)
  target_compile_definitions(vellicor_font_file_freetype_tests PRIVATE VELLICOR_TEST_HAVE_ZLIB)
endif()
