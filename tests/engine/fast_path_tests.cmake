# The word-at-a-time column passes and the record formatting that writes
# straight into the text buffer, against drawn pictures and FreeType.

vellicor_add_gtest(vellicor_column_group_tests
  SOURCES
    engine/column_group_test.cpp
    engine/loaded_picture.cpp
  LIBS vellicor_engine)

vellicor_add_gtest(vellicor_bitmap_line_tests
  SOURCES
    engine/bitmap_line_test.cpp
    engine/font_conversion.cpp
  LIBS vellicor_engine)
