# Tests of the freetype part of drawing fonts.
