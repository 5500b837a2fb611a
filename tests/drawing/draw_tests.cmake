# Tests of the draw part of drawing fonts.
vellicor_add_gtest(vellicor_escaped_list_test
  SOURCES drawing/escaped_list_test.cpp)

# Drawing fonts cvellicor wrote, and hand-made ones, and converting the
# drawing back with the real cvellicor. The drawings are saved as PNG.
if(VELLICOR_PNG_SUPPORT AND NOT WIN32)
  vellicor_add_gtest(vellicor_draw_round_trip_test
    SOURCES
      drawing/draw_round_trip_test.cpp
      drawing/bdf_test_font.cpp
      drawing/made_font.cpp
      console/run_program.cpp
      console/run_program_win32.cpp
    LIBS vellicor_drawing)
  add_dependencies(vellicor_draw_round_trip_test cvellicor)
endif()

vellicor_add_gtest(vellicor_font_drawing_test
  SOURCES
    drawing/font_drawing_test.cpp
    drawing/made_font.cpp
  LIBS vellicor_drawing)
