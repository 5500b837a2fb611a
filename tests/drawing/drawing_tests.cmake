# Reading fonts back and drawing them into pictures. Each part keeps its own
# list of test programs.
include(${CMAKE_CURRENT_LIST_DIR}/readers_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/freetype_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/draw_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/console_draw_tests.cmake)
