// The engine's cut, reached through the extended converter interface.
#pragma once

#include <cstdint>

#include "dialog/glyph_source.hpp"

namespace vellicor::dialog {

// How a ConverterGlyphSource gets its converters (count 1, null on failure).
using ConverterExFactory = ResultCode (*)(std::uint32_t reserved, ConverterEx** out);

// Makes a fresh converter for every cut, so cuts may run on several threads.
class ConverterGlyphSource final : public GlyphSource {
 public:
  ConverterGlyphSource();  // the engine's own factory
  explicit ConverterGlyphSource(ConverterExFactory factory) : factory_(factory) {}

  CutOutcome cut(const CutRequest& request) const override;

 private:
  ConverterExFactory factory_;
};

}  // namespace vellicor::dialog
