# The conversion driver against a scripted host and a fake converter.
vellicor_add_gtest(driver_tests
  SOURCES
    driver/chars_file_test.cpp
    driver/conversion_driver_test.cpp
    driver/extended_request_test.cpp
    driver/failure_text_test.cpp
    driver/format_request_test.cpp
    driver/parse_number_test.cpp
    driver/request_fields_test.cpp
    driver/sheet_fields_test.cpp
    driver/scripted_host.cpp
  LIBS vellicor_driver)
