# The glyph scanner, the convert operation and the output-name rule; written
# fonts are read back with FreeType.

vellicor_add_gtest(vellicor_convert_tests
  SOURCES
    engine/convert_test.cpp
    engine/font_conversion.cpp
  LIBS vellicor_engine)
