# The console program: option handling and field provider as units, and the
# real cvellicor binary run end to end.
vellicor_add_gtest(console_unit_tests
  SOURCES
    console/command_line_test.cpp
    console/field_provider_test.cpp
    console/full_path_test.cpp
  LIBS cvellicor_console)

vellicor_add_gtest(cvellicor_tests
  SOURCES
    console/cvellicor_test.cpp
    console/run_program.cpp)
add_dependencies(cvellicor_tests cvellicor)
