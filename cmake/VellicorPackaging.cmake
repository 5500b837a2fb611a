# The Debian package: `cpack -G DEB` in a build directory makes
# vellicor_<version>_<arch>.deb from the install rules of VellicorInstall.cmake.
# Included after it, from the top-level list file.

# CPack configures one package per build tree; an enclosing project owns it.
if(NOT VELLICOR_INSTALL OR NOT PROJECT_IS_TOP_LEVEL OR EMSCRIPTEN)
  return()
endif()

set(CPACK_PACKAGE_NAME vellicor)
set(CPACK_PACKAGE_VENDOR "The vellicor authors")
set(CPACK_PACKAGE_CONTACT "${VELLICOR_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${VELLICOR_HOMEPAGE}")
# Packages go beside the build, not into the source tree.
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/packages")
# Installed programs and the library lose their symbols; a build with debug
# information is packaged as a release would be.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_PACKAGE_NAME vellicor)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELLICOR_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VELLICOR_HOMEPAGE}")
# The synopsis is CPACK_PACKAGE_DESCRIPTION_SUMMARY; CPack indents these lines
# into the extended description and turns the empty line into a paragraph break.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Draw the glyphs of a bitmap font side by side in one row of a picture (a
one-bit BMP, or PNG and BMP of any depth); the converter cuts the row into
glyphs column by column and writes a BDF 2.1 font, one glyph record per
glyph, numbered upward from a chosen first code or named by a character list.

This package holds the console program cvellicor, the Qt dialog program
vellicor, and the shared library libvellicor with its C header, CMake
package and pkg-config file for programs that convert through it.")
# Dependencies come from the libraries the installed binaries link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A shlibs file for the shared library, and the ldconfig trigger with it.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# The dynamic linker's cache is refreshed through dpkg's ldconfig trigger, as
# Debian asks, instead of maintainer scripts that call ldconfig themselves:
# the postinst and postrm given here have nothing else to do.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/packaging/debian/triggers
  ${PROJECT_SOURCE_DIR}/packaging/debian/postinst
  ${PROJECT_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_GENERATOR DEB)
# Windows: vellicor-<version>-win64.zip (or -win32) with bin/, lib/, include/,
# README.md and LICENSE at its top, made by `cpack` in a cross build.
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
  else()
    set(CPACK_SYSTEM_NAME win32)
  endif()
  set(CPACK_PACKAGE_FILE_NAME "vellicor-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME}")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  set(CPACK_PACKAGING_INSTALL_PREFIX "")
endif()
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/")

include(CPack)
