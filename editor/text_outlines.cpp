#include "editor/text_outlines.h"

#include <algorithm>
#include <cmath>

#include "engine/glyph_outline.h"

namespace kavri {

Drawing BuildTextOutlines(const std::vector<std::u32string>& lines, const TTextImportSettings& settings,
                          TGlyphSource& glyphs, int colour) {
  Drawing result;
  const TReferenceMetrics reference = glyphs.ReferenceMetrics();
  const int cellHeight = 256 / settings.heightFactor;
  const size_t lineCount = std::min(lines.size(), kMaxTextImportLines);
  for (size_t line = 0; line < lineCount; ++line) {
    const int lineOffset = static_cast<int>(line) * 256 / settings.heightInterval;
    int column = 0;
    for (char32_t c : WholeCharactersWithin(lines[line], kTextLineBytes)) {
      const int k = column++;
      const TGlyphOutline* outline = glyphs.Outline(c);
      if (!outline) continue;
      DrawingObject object;
      const int boxWidth = TextImportGlyphBoxWidth(CharacterCellWidth(c, settings.widthFactor), ByteLength(c));
      GlyphToPointLists(*outline, reference, {0, 0, boxWidth, cellHeight}, static_cast<uint8_t>(colour), object);
      ThinGlyphPoints(object, settings.fine);
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
