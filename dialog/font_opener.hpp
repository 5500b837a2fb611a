// Opening a font in the Preview window: the font read and drawn into a
// picture the conversion reads back, the names that picture and its font go
// by, and the message for a font that cannot be shown.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "engine/draw/font_drawing.hpp"
#include "engine/fontfile/loaded_font.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor::dialog {

// A font as the Preview shows it: its drawing and what the fields take from
// the font itself.
struct DrawnFont {
  FontDrawing drawing;
  FontFileKind kind = FontFileKind::kBdf;
  std::string font_name;  // the FONT line, for the font name field
};

// Why a font could not be shown or its drawing saved: the refusal's detail,
// the line of a damaged BDF where the reader tells it (0 elsewhere), and for
// kFileAccess the file that could not be read or written.
struct FontRefusal {
  ErrorDetail detail = ErrorDetail::kNone;
  std::uint64_t line = 0;
  QString failed_path;
  bool failed_writing = false;
};

// Reads the font at path and draws it as the console draws it by default.
// kFontUnknown (in refusal) when no font reader knows the file, which is
// then no font at all; any other refusal of the readers or of the drawing as
// they give it. drawn is written only on success, refusal only on failure.
ResultCode read_and_draw_font(const QString& path, DrawnFont& drawn, FontRefusal& refusal);

// The VELLICOR_FORMAT_* that writes fonts of kind (PSF 1 and 2: PSF).
std::uint32_t format_of_font_kind(FontFileKind kind);

// The text the console shows for a font it cannot read or draw, or a
// drawing it cannot save, on one line.
QString font_refusal_text(const FontRefusal& refusal);

// The picture name a drawing of the font at font_path goes by beside it:
// "/fonts/term.pcf.gz" gives "/fonts/term-drawn.png" (".bmp" when the build
// writes no PNG). The font converted back from it under its derived name
// then never replaces the font drawn, whatever the format.
QString drawn_picture_beside(const QString& font_path);

// The character list beside a picture: its name with ".txt" for the
// extension ("sheet.png" gives "sheet.txt").
QString list_path_beside(const QString& picture_path);

// Writes drawing's picture to picture_path, as PNG or as BMP by the path's
// extension (BMP for any name but ".png"), and its list text beside it
// (list_path_beside) when the drawing has one. A failed picture leaves
// nothing new on disk; a failed list leaves the picture written. The
// writers' refusals (kFileAccess with the file that failed, kOutOfMemory) in
// refusal on failure.
ResultCode save_drawing(const FontDrawing& drawing, const QString& picture_path,
                        FontRefusal& refusal);

}  // namespace vellicor::dialog
