# Tests of the draw part of drawing fonts.
vellicor_add_gtest(vellicor_escaped_list_test
  SOURCES drawing/escaped_list_test.cpp)
