#include "editor/text_outlines.h"

#include <algorithm>
#include <cmath>

#include "engine/glyph_outline.h"

namespace kavri {

namespace {

// The thinned outline of one character in its cell at the origin; empty when it has none. Its points
// depend on the character and the factors alone, not on where the character stands.
DrawingObject CharacterOutline(char32_t c, const TReferenceMetrics& reference, const TTextImportSettings& settings,
                               TGlyphSource& glyphs, int colour) {
  DrawingObject object;
  const TGlyphOutline* outline = glyphs.Outline(c);
  if (!outline) return object;
  const int boxWidth = TextImportGlyphBoxWidth(CharacterCellWidth(c, settings.widthFactor), ByteLength(c));
  GlyphToPointLists(*outline, reference, {0, 0, boxWidth, 256 / settings.heightFactor}, static_cast<uint8_t>(colour),
                    object);
  ThinGlyphPoints(object, settings.fine);
  return object;
}

}  // namespace

Drawing BuildTextOutlines(const std::vector<std::u32string>& lines, const TTextImportSettings& settings,
                          TGlyphSource& glyphs, int colour) {
  Drawing result;
  const TReferenceMetrics reference = glyphs.ReferenceMetrics();
  const size_t lineCount = std::min(lines.size(), kMaxTextImportLines);
  for (size_t line = 0; line < lineCount; ++line) {
    const int lineOffset = static_cast<int>(line) * 256 / settings.heightInterval;
    int column = 0;
    for (char32_t c : WholeCharactersWithin(lines[line], kTextLineBytes)) {
      const int k = column++;
      DrawingObject object = CharacterOutline(c, reference, settings, glyphs, colour);
      if (object.Empty()) continue;
      const int shift = NarrowLetterShift(c, settings.widthFactor, settings.largeSize);
      const double scaleX = settings.largeSize ? 1.0 : 12.0, scaleY = settings.largeSize ? 1.0 : 9.0;
      const int columnOffset = k * 256 / settings.widthInterval;
      for (auto& p : object.Points()) {
        p->x = static_cast<int32_t>(std::trunc((p->x + shift) / scaleX + columnOffset));
        p->y = static_cast<int32_t>(std::trunc(p->y / scaleY + lineOffset));
      }
      *result.AddObject() = std::move(object);
    }
  }
  return result;
}

TTextPointCounter::TTextPointCounter(const TTextImportSettings& settings, TGlyphSource& glyphs)
    : settings_(settings), glyphs_(glyphs), reference_(glyphs.ReferenceMetrics()) {}

size_t TTextPointCounter::Line(const std::u32string& line) {
  size_t points = 0;
  for (char32_t c : WholeCharactersWithin(line, kTextLineBytes)) {
    auto known = counts_.find(c);
    if (known == counts_.end())
      known = counts_.emplace(c, CharacterOutline(c, reference_, settings_, glyphs_, 0).Points().size()).first;
    points += known->second;
  }
  return points;
}

Drawing OutlinesForCanvas(Drawing outlines) {
  Drawing kept;
  for (auto& object : outlines.Objects()) {
    for (auto& p : object->Points()) {
      p->x *= 2;
      p->y *= 2;
    }
    const bool outside = std::any_of(object->Points().begin(), object->Points().end(),
                                     [](const auto& p) { return p->x >= 531 || p->y >= 531; });
    if (!outside) kept.Objects().push_back(std::move(object));
  }
  return kept;
}

}  // namespace kavri
