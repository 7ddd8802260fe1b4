#pragma once
// Typed text laid out as glyph outlines for the editor: one object per character, in cells and
// lines set by the text import's factors, at preview scale (0..255).
#include <string>
#include <unordered_map>
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

// Most lines of text an import builds. At the widest line spacing a line starts 12.8 preview
// pixels below the one before, so about 21 lines reach the canvas and the rest are dropped at OK;
// a hundred is far more than any text that shows, and bounds the build at 2,000 characters
// however much text is pasted.
constexpr size_t kMaxTextImportLines = 100;
inline const std::string kTextImportCutText = "The text has more lines than the canvas can show: only its first " +
                                              std::to_string(kMaxTextImportLines) + " lines are imported.";

// Characters without a glyph and characters without contours (blanks) add no object but keep
// their column. Lines past kMaxTextImportLines are not built.
Drawing BuildTextOutlines(const std::vector<std::u32string>& lines, const TTextImportSettings& settings,
                          TGlyphSource& glyphs, int colour);

// The number of points BuildTextOutlines makes of lines, counted for any number of lines without
// making them: each character is outlined once, alone, and its count kept.
class TTextPointCounter {
 public:
  TTextPointCounter(const TTextImportSettings& settings, TGlyphSource& glyphs);
  size_t Line(const std::u32string& line);

 private:
  TTextImportSettings settings_;
  TGlyphSource& glyphs_;
  TReferenceMetrics reference_;
  std::unordered_map<char32_t, size_t> counts_;
};

// The outlines at canvas scale (doubled), without those that would reach 531 or beyond.
Drawing OutlinesForCanvas(Drawing outlines);

}  // namespace kavri
