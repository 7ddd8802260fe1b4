#pragma once
// Typed text laid out as glyph outlines for the editor: one object per character, in cells and
// lines set by the text import's factors, at preview scale (0..255).
#include <string>
#include <vector>

#include "engine/drawing.h"
#include "platform/glyph_source.h"

namespace kavri {

struct TTextImportSettings {
  int fine = 5;
  int widthFactor = 8;
  int heightFactor = 8;
  int widthInterval = 8;
  int heightInterval = 8;
  bool largeSize = false;
};

// Characters without a glyph and characters without contours (blanks) add no object but keep
// their column.
Drawing BuildTextOutlines(const std::vector<std::u32string>& lines, const TTextImportSettings& settings,
                          TGlyphSource& glyphs, int colour);

// The outlines at canvas scale (doubled), without those that would reach 531 or beyond.
Drawing OutlinesForCanvas(Drawing outlines);

}  // namespace kavri
