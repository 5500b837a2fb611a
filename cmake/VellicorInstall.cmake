# Install rules: the programs, the shared library with its header, a CMake
# package and a pkg-config file for hosts, manual pages, and the desktop entry,
# icons and AppStream metadata of the dialog program. Targets are referenced by
# name, so this file is included once from the top-level list file after every
# subdirectory has been added.

# A project that adds vellicor as a subdirectory links it directly and usually
# does not want vellicor's files in its own installation.
# A WebAssembly build installs nothing: its page is copied out by
# tools/build_web.sh.
option(VELLICOR_INSTALL "Generate vellicor's install rules" ${PROJECT_IS_TOP_LEVEL})
if(NOT VELLICOR_INSTALL OR EMSCRIPTEN)
  return()
endif()

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VELLICOR_CMAKE_PACKAGE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/vellicor")
# Reverse-DNS name shared by the desktop entry and the AppStream component, as
# software centres match the two by it.
set(VELLICOR_APP_ID "org.example.vellicor")
set(VELLICOR_HOMEPAGE "https://example.org/vellicor")
set(VELLICOR_MAINTAINER "The vellicor authors <vellicor@example.org>")

# Hosts see the library as vellicor::vellicor in both the build and the install.
set_target_properties(vellicor_shared PROPERTIES EXPORT_NAME vellicor)

install(TARGETS cvellicor
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# A shared object needs no execute bit; Debian policy wants 0644 for it.
install(TARGETS vellicor_shared EXPORT vellicorTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/vellicor/vellicor.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vellicor)

install(EXPORT vellicorTargets
  NAMESPACE vellicor::
  FILE vellicorTargets.cmake
  DESTINATION ${VELLICOR_CMAKE_PACKAGE_DIR})
configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/vellicorConfig.cmake.in
  ${PROJECT_BINARY_DIR}/package/vellicorConfig.cmake
  INSTALL_DESTINATION ${VELLICOR_CMAKE_PACKAGE_DIR})
# The C interface keeps its layout within one major version.
write_basic_package_version_file(
  ${PROJECT_BINARY_DIR}/package/vellicorConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/package/vellicorConfig.cmake
  ${PROJECT_BINARY_DIR}/package/vellicorConfigVersion.cmake
  DESTINATION ${VELLICOR_CMAKE_PACKAGE_DIR})

# The Windows ZIP archive holds the programs, the DLL with its import library
# and header, the CMake package, and the read-me and licence beside them;
# manual pages, pkg-config and Debian's documents are for Unix systems.
if(WIN32)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
  if(TARGET vellicor_dialog)
    install(TARGETS vellicor_dialog RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
  return()
endif()

# pkg-config: paths relative to the prefix of the .pc file's own location, so a
# staged or relocated install still resolves.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(VELLICOR_PC_LIBDIR "${CMAKE_INSTALL_FULL_LIBDIR}")
  set(VELLICOR_PC_INCLUDEDIR "${CMAKE_INSTALL_FULL_INCLUDEDIR}")
else()
  set(VELLICOR_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
  set(VELLICOR_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
file(RELATIVE_PATH VELLICOR_PC_TO_PREFIX
  "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
string(REGEX REPLACE "/$" "" VELLICOR_PC_TO_PREFIX "${VELLICOR_PC_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/vellicor.pc.in
  ${PROJECT_BINARY_DIR}/package/vellicor.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/package/vellicor.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# Manual pages, compressed the way Debian ships them (-n: no name or time
# stamp, so the package is reproducible).
find_program(VELLICOR_GZIP gzip)
set(VELLICOR_MAN_PAGES cvellicor.1 vellicor.1)
foreach(page IN LISTS VELLICOR_MAN_PAGES)
  set(source ${PROJECT_SOURCE_DIR}/docs/man/${page})
  if(VELLICOR_GZIP)
    set(compressed ${PROJECT_BINARY_DIR}/man/${page}.gz)
    add_custom_command(OUTPUT ${compressed}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
      COMMAND ${VELLICOR_GZIP} -9 -n -c ${source} > ${compressed}
      DEPENDS ${source}
      COMMENT "Compressing manual page ${page}"
      VERBATIM)
    list(APPEND VELLICOR_MAN_OUTPUTS ${compressed})
    install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    install(FILES ${source} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endforeach()
if(VELLICOR_MAN_OUTPUTS)
  add_custom_target(vellicor_man_pages ALL DEPENDS ${VELLICOR_MAN_OUTPUTS})
endif()

# Copyright notice and change log, where Debian looks for them.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
if(VELLICOR_GZIP)
  set(changelog ${PROJECT_BINARY_DIR}/package/changelog.gz)
  add_custom_command(OUTPUT ${changelog}
    COMMAND ${VELLICOR_GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/debian/changelog > ${changelog}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
    COMMENT "Compressing the change log"
    VERBATIM)
  add_custom_target(vellicor_changelog ALL DEPENDS ${changelog})
  install(FILES ${changelog} DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

# The dialog program with its desktop entry, icons and software-centre metadata.
if(TARGET vellicor_dialog)
  # The dialog carries the engine inside and takes Qt from the system's library
  # path, so the installed program needs no search path of its own.
  set_target_properties(vellicor_dialog PROPERTIES INSTALL_RPATH "")
  install(TARGETS vellicor_dialog
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/dialog/vellicor.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
    RENAME ${VELLICOR_APP_ID}.desktop)
  foreach(size IN ITEMS 16 32)
    install(FILES ${PROJECT_SOURCE_DIR}/dialog/resources/icon-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
      RENAME vellicor.png)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/docs/${VELLICOR_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
