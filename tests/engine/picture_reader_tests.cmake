# The readers of pictures in any format (PNG, BMP of any depth) and the ink
# rules: pictures written by real tools, built byte by byte, broken on
# purpose, and the BMP Suite.
vellicor_add_gtest(vellicor_picture_reader_tests
  SOURCES
    engine/ink_map_text.cpp
    engine/loaded_picture.cpp
    engine/ink_rule_test.cpp
    engine/picture_tools_test.cpp
    engine/png_reader_test.cpp
    engine/bmp_any_reader_test.cpp
  LIBS vellicor_engine)
