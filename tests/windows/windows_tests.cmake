# Windows only: the DLL's export table and every binary's imports, read with
# the toolchain's objdump (no emulator needed).
find_program(VELLICOR_OBJDUMP NAMES ${CMAKE_OBJDUMP} objdump)
add_test(NAME WindowsDll.ExportsCodeUnitLoaderAsOrdinalOneAndImportsSystemDllsOnly
  COMMAND ${CMAKE_COMMAND}
    -DOBJDUMP=${VELLICOR_OBJDUMP}
    -DLIBRARY=$<TARGET_FILE:vellicor_shared>
    -DPROGRAM=$<TARGET_FILE:cvellicor>
    -P ${CMAKE_CURRENT_LIST_DIR}/check_dll_exports.cmake)
