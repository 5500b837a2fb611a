/* convert_strip: converts one BMP strip into a BDF font through the vellicor
 * shared library, the way any C host does.
 *
 *   convert_strip strip.bmp [font.bdf]
 *
 * Without a font name the font goes beside the picture, its extension
 * replaced by ".bdf". */
#include <stdio.h>
#include <vellicor/vellicor.h>

int main(int argc, char **argv) {
  if (argc < 2 || argc > 3) {
    fprintf(stderr, "usage: %s strip.bmp [font.bdf]\n", argv[0]);
    return 2;
  }

  /* The factory hands out a converter holding one reference. */
  Converter *converter = NULL;
  ResultCode result = CodeUnitLoader(0, IidConverter, &converter);
  if (result != VELLICOR_OK) {
    fprintf(stderr, "no converter: result %d\n", (int)result);
    return 1;
  }

  ConversionPaths paths = {argv[1], argc == 3 ? argv[2] : NULL};
  /* The settings the sample strip examples/ascii.bmp is drawn for: glyphs from
   * '!' (33) on, one blank column allowed inside a glyph, two rows below the
   * baseline, one blank column after every glyph. */
  ConversionOptions options = {0};
  options.font_name = "Vellicor Sample";
  options.first_glyph = 33;
  options.allowed_blank_columns = 1;
  options.descent = 2;
  options.trailing_blank = 1;

  /* The detail is written only when the conversion fails. */
  ErrorDetail detail = 0;
  result = converter->ops->convert(converter, &paths, &options, &detail);
  converter->ops->release(converter);

  if (result != VELLICOR_OK) {
    fprintf(stderr, "conversion failed: result %d, detail %d\n", (int)result, (int)detail);
    return 1;
  }
  if (argc == 3) {
    printf("font written to %s\n", argv[2]);
  } else {
    printf("font written beside %s\n", argv[1]);
  }
  return 0;
}
