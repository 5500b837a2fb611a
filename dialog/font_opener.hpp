// Opening a font in the Preview window: the font drawn by the drawing job
// into a picture the conversion reads back, the names that picture and its
// font go by, and the message for a font that cannot be shown.
#pragma once

#include <QString>
#include <cstdint>

#include "vellicor/internal/font_drawing_job.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor::dialog {

// Why a font could not be drawn or its drawing saved: the refusal's detail,
// the line of a damaged BDF where the reader tells it (0 elsewhere), and for
// kFileAccess the file that could not be read or written.
struct FontRefusal {
  ErrorDetail detail = ErrorDetail::kNone;
  std::uint64_t line = 0;
  QString failed_path;
  bool failed_writing = false;
};

// Reads the font at font_path, draws it as the console draws it by default
// and saves the picture at picture_path (as BMP on a build that writes no
// PNG, under that name) and its list beside it. kFontUnknown (in refusal)
// when no font reader knows the file, which is then no font at all; any
// other refusal of the job as it gives it. outcome holds the conversion's
// arguments and the paths written on success.
ResultCode draw_font_to(const QString& font_path, const QString& picture_path,
                        FontDrawingOutcome& outcome, FontRefusal& refusal);

// The text the console shows for a font it cannot read or draw, or a
// drawing it cannot save, on one line.
QString font_refusal_text(const FontRefusal& refusal);

// The picture name a drawing of the font at font_path goes by beside it:
// "/fonts/term.pcf.gz" gives "/fonts/term-drawn.png". The font converted
// back from it under its derived name then never replaces the font drawn,
// whatever the format.
QString drawn_picture_beside(const QString& font_path);

}  // namespace vellicor::dialog
