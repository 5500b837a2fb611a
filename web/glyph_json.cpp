#include "web/glyph_json.hpp"

#include <cstdio>
#include <string_view>

namespace vellicor::web {
namespace {

void append_number(std::string& out, std::string_view name, long long value) {
  out += '"';
  out += name;
  out += "\":";
  out += std::to_string(value);
}

}  // namespace

std::string json_string(const char* text) {
  std::string out = "\"";
  for (const char* at = text; at != nullptr && *at != '\0'; ++at) {
    const auto byte = static_cast<unsigned char>(*at);
    if (byte == '"' || byte == '\\') {
      out += '\\';
      out += static_cast<char>(byte);
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += static_cast<char>(byte);
    }
  }
  out += '"';
  return out;
}

void GlyphJson::add(const GlyphInfo& glyph) {
  glyphs_ += glyphs_.empty() ? "{" : ",{";
  append_number(glyphs_, "index", glyph.index);
  glyphs_ += ',';
  append_number(glyphs_, "code", glyph.code);
  glyphs_ += ',';
  append_number(glyphs_, "first_column", glyph.first_column);
  glyphs_ += ',';
  append_number(glyphs_, "width", glyph.width);
  glyphs_ += ',';
  append_number(glyphs_, "advance", glyph.advance);
  glyphs_ += ',';
  append_number(glyphs_, "top", glyph.top);
  glyphs_ += ',';
  append_number(glyphs_, "bottom", glyph.bottom);
  glyphs_ += ",\"is_blank\":";
  glyphs_ += glyph.is_blank != 0 ? "true" : "false";
  glyphs_ += ",\"unpaired\":";
  glyphs_ += glyph.unpaired != 0 ? "true" : "false";
  glyphs_ += ',';
  append_number(glyphs_, "band", glyph.band);
  glyphs_ += ',';
  append_number(glyphs_, "cell", glyph.cell);
  glyphs_ += ",\"character\":";
  glyphs_ += json_string(glyph.character);
  glyphs_ += '}';
}

std::string GlyphJson::finish(const ConversionReport& report) {
  std::string out = "{\"report\":{";
  append_number(out, "glyph_count", report.glyph_count);
  out += ',';
  append_number(out, "glyphs_cut", report.glyphs_cut);
  out += ',';
  append_number(out, "picture_width", report.picture_width);
  out += ',';
  append_number(out, "picture_height", report.picture_height);
  out += ',';
  append_number(out, "tallest", report.tallest);
  out += ',';
  append_number(out, "widest", report.widest);
  out += ',';
  append_number(out, "bands", report.bands);
  out += ',';
  append_number(out, "grid_columns", report.grid_columns);
  out += "},\"glyphs\":[";
  out += glyphs_;
  out += "]}";
  std::string().swap(glyphs_);
  return out;
}

}  // namespace vellicor::web
