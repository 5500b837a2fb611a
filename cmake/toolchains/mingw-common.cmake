# What both Windows toolchains share; each sets CMAKE_SYSTEM_PROCESSOR first.
# Debian's mingw-w64 compilers with the posix thread model (for std::thread
# and friends). The C and C++ runtimes are linked statically, so the DLL and
# the program need only the system's DLLs.
set(CMAKE_SYSTEM_NAME Windows)

set(VELLICOR_MINGW_TRIPLET ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${VELLICOR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELLICOR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VELLICOR_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELLICOR_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread inside every binary.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Tests run through wine when it is installed.
find_program(VELLICOR_WINE NAMES wine)
if(VELLICOR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VELLICOR_WINE})
endif()
