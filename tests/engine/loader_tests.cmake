# Test programs of this area are added here with vellicor_add_gtest.

# The BMP loader: header and palette rules on pictures built in memory, the
# BMP Suite's files, and pictures written by real image tools.
vellicor_add_gtest(vellicor_bmp_loader_tests
  SOURCES
    engine/bmp_loader_fault_test.cpp
    engine/bmp_loader_test.cpp
    engine/loaded_picture.cpp
  LIBS vellicor_engine)

vellicor_add_gtest(vellicor_bmpsuite_tests
  SOURCES
    engine/bmpsuite_test.cpp
    engine/loaded_picture.cpp
  LIBS vellicor_engine)

# Replaces the array allocation functions, so it runs as a program of its own.
vellicor_add_gtest(vellicor_bmp_loader_memory_tests
  SOURCES
    engine/bmp_loader_memory_test.cpp
    engine/loaded_picture.cpp
  LIBS vellicor_engine)

vellicor_add_gtest(vellicor_real_tool_picture_tests
  SOURCES
    engine/real_tool_pictures_test.cpp
    engine/loaded_picture.cpp
  LIBS vellicor_engine)
