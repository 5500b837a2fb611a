# Tests of the file layer, the Converter object and the shared library.

vellicor_add_gtest(vellicor_file_io_test
  SOURCES engine/file_io_test.cpp)

vellicor_add_gtest(vellicor_converter_test
  SOURCES engine/converter_test.cpp)
