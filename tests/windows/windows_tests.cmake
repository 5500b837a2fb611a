# Windows only: the DLL's export table and every binary's imports, read with
# the toolchain's objdump (no emulator needed).
find_program(VELLICOR_OBJDUMP NAMES ${CMAKE_OBJDUMP} objdump)
add_test(NAME WindowsDll.ExportsCodeUnitLoaderAsOrdinalOneAndImportsSystemDllsOnly
  COMMAND ${CMAKE_COMMAND}
    -DOBJDUMP=${VELLICOR_OBJDUMP}
    -DLIBRARY=$<TARGET_FILE:vellicor_shared>
    -DPROGRAM=$<TARGET_FILE:cvellicor>
    -P ${CMAKE_CURRENT_LIST_DIR}/check_dll_exports.cmake)

# The Win32 file layer's own cases, in place of the POSIX-only ones (links,
# pipes, devices under /dev, permission bits).
vellicor_add_gtest(vellicor_win32_file_system_tests
  SOURCES
    windows/win32_file_system_test.cpp
    engine/font_conversion.cpp
  LIBS vellicor_engine)
