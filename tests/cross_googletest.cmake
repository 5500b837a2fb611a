# GoogleTest built from Debian's sources (package googletest) with the cross
# compiler (mingw-w64 for Windows, emscripten for WebAssembly): Debian ships
# GoogleTest built for the build machine only. Gives GTest::gtest and
# GTest::gtest_main as find_package(GTest) does.
set(VELLICOR_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH
  "GoogleTest sources to build for a cross-compiled test suite")
if(NOT EXISTS ${VELLICOR_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${VELLICOR_GOOGLETEST_SOURCE_DIR} "
    "(install the googletest package, or set VELLICOR_GOOGLETEST_SOURCE_DIR)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VELLICOR_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
