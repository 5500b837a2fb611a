# Tests of the readers part of drawing fonts.
