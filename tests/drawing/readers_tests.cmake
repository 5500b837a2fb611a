# Tests of the readers part of drawing fonts: the BDF and PSF font readers.
# The fonts they read back are written by the cvellicor of this build.
vellicor_add_gtest(vellicor_font_reader_tests
  SOURCES
    drawing/bdf_font_reader_test.cpp
    drawing/psf_font_reader_test.cpp
  LIBS vellicor_drawing)
add_dependencies(vellicor_font_reader_tests cvellicor)
target_compile_definitions(vellicor_font_reader_tests PRIVATE
  VELLICOR_TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
if(TARGET Freetype::Freetype)
  target_compile_definitions(vellicor_font_reader_tests PRIVATE VELLICOR_TEST_HAVE_FREETYPE)
endif()
