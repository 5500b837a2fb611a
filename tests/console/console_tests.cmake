# The console program: option handling and field provider as units, and the
# real cvellicor binary run end to end.
vellicor_add_gtest(console_unit_tests
  SOURCES
    console/command_line_scan_test.cpp
    console/command_line_test.cpp
    console/console_messages_test.cpp
    console/field_provider_test.cpp
    console/full_path_test.cpp
    console/invisible_characters_test.cpp
    console/sheet_options_test.cpp
  LIBS cvellicor_console)

vellicor_add_gtest(cvellicor_tests
  SOURCES
    console/cvellicor_format_test.cpp
    console/cvellicor_sheet_test.cpp
    console/cvellicor_test.cpp
    console/long_options_test.cpp
    console/run_program.cpp
    console/run_program_win32.cpp)
add_dependencies(cvellicor_tests cvellicor)

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  # Interrupting a conversion at exact points of its writing: a preloaded shim
  # sends the signal (no sanitizers in the shim: it runs inside the program).
  add_library(vellicor_interrupt_shim MODULE console/interrupt_shim.c)
  target_link_libraries(vellicor_interrupt_shim PRIVATE ${CMAKE_DL_LIBS})
  vellicor_add_gtest(cvellicor_interruption_tests
    SOURCES console/interruption_test.cpp)
  target_compile_definitions(cvellicor_interruption_tests PRIVATE
    VELLICOR_TEST_INTERRUPT_SHIM="$<TARGET_FILE:vellicor_interrupt_shim>")
  add_dependencies(cvellicor_interruption_tests cvellicor vellicor_interrupt_shim)

  # Memory running out in a conversion: a preloaded shim fails large array
  # allocations.
  add_library(vellicor_allocation_shim MODULE console/allocation_shim.c)
  target_link_libraries(vellicor_allocation_shim PRIVATE ${CMAKE_DL_LIBS})
  vellicor_add_gtest(cvellicor_out_of_memory_tests
    SOURCES console/out_of_memory_test.cpp)
  target_compile_definitions(cvellicor_out_of_memory_tests PRIVATE
    VELLICOR_TEST_ALLOCATION_SHIM="$<TARGET_FILE:vellicor_allocation_shim>")
  add_dependencies(cvellicor_out_of_memory_tests cvellicor vellicor_allocation_shim)

  # Character list files without end (a device, a pipe) under a memory limit.
  vellicor_add_gtest(cvellicor_list_file_tests
    SOURCES console/list_file_limit_test.cpp)
  add_dependencies(cvellicor_list_file_tests cvellicor)
endif()

# Pictures in other formats through the extended conversion, end to end.
vellicor_add_gtest(cvellicor_picture_tests
  SOURCES
    console/cvellicor_pictures_test.cpp
    console/run_program.cpp
    console/run_program_win32.cpp)
add_dependencies(cvellicor_picture_tests cvellicor)

# The README's size limits at their boundaries, end to end. The PNG cases
# need a PNG decoder; without one they are refused as foreign files.
if(VELLICOR_PNG_SUPPORT AND NOT VELLICOR_PNG_WIC)
  vellicor_add_gtest(cvellicor_limit_tests
    SOURCES
      console/cvellicor_limits_test.cpp
      console/run_program.cpp
      console/run_program_win32.cpp)
  add_dependencies(cvellicor_limit_tests cvellicor)
endif()

# The Unicode font's header read back with FreeType (not in builds without
# FreeType, such as the Windows cross build).
if(TARGET Freetype::Freetype)
  vellicor_add_gtest(cvellicor_unicode_tests
    SOURCES
      console/cvellicor_unicode_test.cpp
      console/run_program.cpp
      console/run_program_win32.cpp)
  add_dependencies(cvellicor_unicode_tests cvellicor)
endif()
