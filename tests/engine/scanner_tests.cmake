# The strip layout, the font stage, the convert operation and the output-name rule; written
# fonts are read back with FreeType.

vellicor_add_gtest(vellicor_convert_tests
  SOURCES
    engine/convert_test.cpp
    engine/font_conversion.cpp
  LIBS vellicor_engine)

vellicor_add_gtest(vellicor_glyph_cutter_tests
  SOURCES
    engine/glyph_cutter_test.cpp
    engine/memory_picture.cpp
  LIBS vellicor_engine)

vellicor_add_gtest(vellicor_glyph_record_tests
  SOURCES
    engine/font_conversion.cpp
    engine/glyph_record_test.cpp
  LIBS vellicor_engine)

vellicor_add_gtest(vellicor_output_name_tests
  SOURCES engine/output_name_test.cpp
  LIBS vellicor_engine)

vellicor_add_gtest(vellicor_convert_fault_tests
  SOURCES
    engine/convert_fault_test.cpp
    engine/font_conversion.cpp
  LIBS vellicor_engine)

vellicor_add_gtest(vellicor_bounded_work_tests
  SOURCES
    engine/bounded_work_test.cpp
    engine/font_conversion.cpp
  LIBS vellicor_engine)

vellicor_add_gtest(vellicor_font_size_limit_tests
  SOURCES
    engine/font_conversion.cpp
    engine/font_size_limit_test.cpp
    engine/loaded_picture.cpp
    engine/memory_picture.cpp
  LIBS vellicor_engine)
