# Tests of the freetype part of drawing fonts.

# Drawn pictures saved as PNG and BMP and read back by the engine's readers.
vellicor_add_gtest(vellicor_picture_writer_tests
  SOURCES drawing/picture_writer_test.cpp engine/ink_map_text.cpp
  LIBS vellicor_drawing)
