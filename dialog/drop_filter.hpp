// Which dropped files the dialog takes as its input picture, and which file
// names the Preview window takes for pictures and for fonts.
#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

namespace vellicor::dialog {

// True when the text from the last '.' of name to its end is ".bmp" in any
// letter case; a dot inside a directory name counts as the last dot too.
bool has_bitmap_extension(const QString& name);

// True when name ends in ".png" or ".bmp" in any letter case: a picture the
// Preview window opens as one, without asking a font reader first.
bool has_picture_extension(const QString& name);

// True when name ends in a font file's extension in any letter case: .bdf,
// .pcf, .pcf.gz, .psf, .psf.gz, .otb, .ttf or .fon.
bool has_font_extension(const QString& name);

// The input path for a drop of urls: exactly one local file whose name ends
// in ".bmp"; nothing otherwise. The name is never cut: one too long for a
// conversion is refused with a message when Process runs, rather than
// silently naming another file.
std::optional<QString> dropped_input_path(const QList<QUrl>& urls);

}  // namespace vellicor::dialog
