# Tests of the file layer, the Converter object and the shared library.

vellicor_add_gtest(vellicor_file_io_test
  SOURCES engine/file_io_test.cpp)

vellicor_add_gtest(vellicor_converter_test
  SOURCES engine/converter_test.cpp)

# Separate converters converting at the same time on separate threads.
vellicor_add_gtest(vellicor_converter_threads_test
  SOURCES engine/converter_threads_test.cpp)

# Which characters of an extended conversion's list are blanks.
vellicor_add_gtest(vellicor_character_list_test
  SOURCES engine/character_list_test.cpp)

# The built-in character sets' tables.
vellicor_add_gtest(vellicor_charsets_test
  SOURCES engine/charsets_test.cpp)

# The public header, compiled once as C99 and once as C++.
vellicor_add_gtest(vellicor_header_test
  SOURCES engine/c_header_test.c engine/header_test.cpp)
# Strict C99, without GNU extensions, as a host's compiler may be.
set_target_properties(vellicor_header_test PROPERTIES C_EXTENSIONS OFF)

# A host built apart from the engine: plain C, linked with the dynamic loader
# only, loading the shared library by its path at run time. A library built
# with the address sanitizer cannot be loaded into an uninstrumented program
# (the sanitizer's runtime must come first in the process), so this host runs
# in the ordinary build only; the sanitizer build still runs the same engine
# code through the unit tests.
if(NOT VELLICOR_SANITIZE AND NOT EMSCRIPTEN)
  add_executable(vellicor_dlopen_host engine/host/dlopen_host.c)
  target_include_directories(vellicor_dlopen_host PRIVATE ${PROJECT_SOURCE_DIR}/include
    ${PROJECT_SOURCE_DIR})
  target_link_libraries(vellicor_dlopen_host PRIVATE ${CMAKE_DL_LIBS})
  set_target_properties(vellicor_dlopen_host PROPERTIES C_EXTENSIONS OFF)
  vellicor_target_defaults(vellicor_dlopen_host)
  add_dependencies(vellicor_dlopen_host vellicor_shared)
  add_test(NAME SharedLibraryHost.ObjectRules
    COMMAND vellicor_dlopen_host $<TARGET_FILE:vellicor_shared> objects)
  add_test(NAME SharedLibraryHost.ConverterLayout
    COMMAND vellicor_dlopen_host $<TARGET_FILE:vellicor_shared> layout)
  add_test(NAME SharedLibraryHost.ConvertsThroughTheSlots
    COMMAND vellicor_dlopen_host $<TARGET_FILE:vellicor_shared> convert
      ${CMAKE_CURRENT_BINARY_DIR}/dlopen-host-XXXXXX)
endif()

# The shared library's dynamic table: one export, its soname, runtimes only.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  find_program(VELLICOR_READELF NAMES readelf ${CMAKE_READELF})
  add_test(NAME SharedLibrary.ExportsOnlyCodeUnitLoader
    COMMAND ${CMAKE_COMMAND}
      -DLIBRARY=$<TARGET_FILE:vellicor_shared>
      -DNM=${CMAKE_NM}
      -DREADELF=${VELLICOR_READELF}
      -DSONAME=$<TARGET_SONAME_FILE_NAME:vellicor_shared>
      -DSANITIZED=${VELLICOR_SANITIZE}
      -DPNG=${VELLICOR_PNG_SUPPORT}
      -P ${CMAKE_CURRENT_SOURCE_DIR}/engine/check_library_exports.cmake)
endif()

# Pixel glyphs as outlines, and outlines as TrueType glyph records.
vellicor_add_gtest(vellicor_outline_tests
  SOURCES engine/outline_tracer_test.cpp engine/glyf_glyph_test.cpp)

# Sheets cut into cells and bands; where FreeType is absent only the WebAssembly
# build makes the program, whose checks of the fonts' text still run there.
if(TARGET Freetype::Freetype OR EMSCRIPTEN)
  vellicor_add_gtest(vellicor_sheet_layout_tests
    SOURCES engine/sheet_layout_test.cpp)
endif()

# The extended interface: Unicode fonts read back with FreeType and the X font
# tools (not in builds without FreeType, such as the Windows cross build).
if(TARGET Freetype::Freetype)
  vellicor_add_gtest(vellicor_unicode_font_tests
    SOURCES engine/unicode_font_test.cpp)
  vellicor_add_gtest(vellicor_framed_font_tests
    SOURCES engine/framed_font_test.cpp)
  vellicor_add_gtest(vellicor_glyph_bitmap_tests
    SOURCES engine/glyph_bitmap_test.cpp)
  # Our PCF against the X font compiler's PCF of the same BDF.
  vellicor_add_gtest(vellicor_pcf_writer_tests
    SOURCES engine/pcf_writer_test.cpp engine/writer_test_fonts.cpp)
  # Traced outlines through FreeType's monochrome rasteriser.
  vellicor_add_gtest(vellicor_outline_render_tests
    SOURCES engine/outline_render_test.cpp)
  # Our FON against the BDF, both read by FreeType.
  vellicor_add_gtest(vellicor_fon_writer_tests
    SOURCES engine/fon_writer_test.cpp)
endif()

# PSF2 console fonts read back with kbd's psfxtable (a Linux program, so not
# in the Windows builds).
if(NOT WIN32 AND NOT CMAKE_CROSSCOMPILING)
  vellicor_add_gtest(vellicor_psf_writer_tests
    SOURCES engine/psf_writer_test.cpp)
endif()

# Our OpenType bitmap and TrueType fonts read back by FreeType, fontconfig
# and Pango.
if(TARGET Freetype::Freetype)
  vellicor_add_gtest(vellicor_otb_writer_tests
    SOURCES engine/otb_writer_test.cpp engine/sfnt_check.cpp engine/writer_test_fonts.cpp)
  vellicor_add_gtest(vellicor_ttf_writer_tests
    SOURCES engine/ttf_writer_test.cpp engine/sfnt_check.cpp engine/writer_test_fonts.cpp)
endif()
