# The documents that state the version by hand (the Debian changelog's newest
# entry, the AppStream newest release, the man pages' title lines) must agree
# with the version of project(), which the programs and packages take from the
# generated header. Run with -DVERSION=... -DSOURCE_DIR=...
set(documents
  "packaging/debian/changelog|^vellicor \\(${VERSION}\\)"
  "docs/org.example.vellicor.metainfo.xml|<release version=\"${VERSION}\""
  "docs/man/cvellicor.1|\\.TH CVELLICOR 1 \"[^\"]*\" \"vellicor ${VERSION}\""
  "docs/man/vellicor.1|\\.TH VELLICOR 1 \"[^\"]*\" \"vellicor ${VERSION}\"")
set(stale "")
foreach(entry IN LISTS documents)
  string(FIND "${entry}" "|" bar)
  string(SUBSTRING "${entry}" 0 ${bar} file)
  math(EXPR after "${bar} + 1")
  string(SUBSTRING "${entry}" ${after} -1 pattern)
  file(READ "${SOURCE_DIR}/${file}" text)
  # The changelog pattern is anchored: its newest entry comes first.
  string(REGEX MATCH "${pattern}" found "${text}")
  if(found STREQUAL "")
    list(APPEND stale "${file}")
  endif()
endforeach()
if(stale)
  message(FATAL_ERROR "version ${VERSION} is missing from: ${stale}")
endif()
