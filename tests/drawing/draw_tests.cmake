# Tests of the draw part of drawing fonts.
