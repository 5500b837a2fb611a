# cvellicor --draw end to end, with the real program and Debian's fonts.
vellicor_add_gtest(cvellicor_draw_tests
  SOURCES drawing/draw_command_test.cpp console/run_program.cpp console/run_program_win32.cpp
  LIBS vellicor_drawing)
add_dependencies(cvellicor_draw_tests cvellicor)
