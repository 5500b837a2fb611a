# Test programs of this area are added here with vellicor_add_gtest.
