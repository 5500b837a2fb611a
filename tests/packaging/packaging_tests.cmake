# Installing: the staged install and the two hosts built against it. Needs
# only the build; the Debian package check installs system-wide and runs from
# tools/test.sh instead.
if(DEFINED VELLICOR_INSTALL AND NOT VELLICOR_INSTALL)
  return()  # no install rules to check
endif()
if(CMAKE_CROSSCOMPILING)
  return()  # the hosts are built with the build machine's compiler; Windows checks its ZIP
endif()

add_test(NAME PackagingInstall.HostsBuildAgainstStagedInstall
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_install.sh ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR})
set_tests_properties(PackagingInstall.HostsBuildAgainstStagedInstall PROPERTIES
  LABELS packaging
  TIMEOUT 300)

add_test(NAME PackagingVersion.DocumentsFollowTheProjectVersion
  COMMAND ${CMAKE_COMMAND} -DVERSION=${PROJECT_VERSION} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
          -P ${CMAKE_CURRENT_LIST_DIR}/check_version_documents.cmake)
set_tests_properties(PackagingVersion.DocumentsFollowTheProjectVersion PROPERTIES LABELS packaging)
