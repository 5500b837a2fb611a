# The readers of pictures in any format (PNG, BMP of any depth) and the ink
# rules: pictures built byte by byte, broken on purpose, and the BMP Suite.
# Pictures written by real tools are read end to end in the console tests.
vellicor_add_gtest(vellicor_picture_reader_tests
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
if(VELLICOR_PNG_WIC)
  # Where the Windows Imaging Component cannot tell two kinds of damage apart.
  target_compile_definitions(vellicor_picture_reader_tests PRIVATE VELLICOR_TEST_PNG_WIC)
endif()
