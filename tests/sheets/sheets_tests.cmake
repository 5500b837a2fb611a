# Sheets (rows, grids, marked strips) drawn by Python with Pillow and read back
# by the real cvellicor. The pictures are BMP, so a build without a PNG
# decoder runs them too; a test skips when Pillow or its fonts are absent.
if(WIN32 OR CMAKE_CROSSCOMPILING)
  return()  # the scripts run the build machine's cvellicor
endif()

# vellicor_add_sheet_test(name script): the script gets cvellicor and a work folder.
function(vellicor_add_sheet_test name script)
  add_test(NAME ${name}
    COMMAND bash ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/run_with_pillow.sh
            ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${script} $<TARGET_FILE:cvellicor>
            ${CMAKE_CURRENT_BINARY_DIR}/sheets/${name})
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77 LABELS sheets TIMEOUT 300)
endfunction()

vellicor_add_sheet_test(Sheets.RealFontsRoundTrip real_fonts_test.py)
vellicor_add_sheet_test(Sheets.RowsEqualBandsAlone rows_test.py)
