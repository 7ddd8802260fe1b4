#include "quickplay/text_roll_outlines.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "engine/drawing.h"
#include "engine/shared_state.h"
#include "platform/text_lines.h"
#include "quickplay/quick_play_state.h"
#include "quickplay/text_roll_state.h"

namespace kavri {

TTextOutlineFactors TTextOutlineFactors::Live() {
  return {std::max(1, QuickPlayEffects.WidthFactor.load()), std::max(1, QuickPlayEffects.HeightFactor.load()),
          QuickPlayLargeSize.load() != 0};
}

void TextToOutline(char32_t c, const TCellRect& cell, TGlyphSource& glyphs, uint8_t colour,
                   std::vector<PointRecord>& out) {
  const TGlyphOutline* outline = glyphs.Outline(c);
  if (!outline) return;
  DrawingObject points;
  TCellRect box = cell;
  box.width = RollingTextGlyphBoxWidth(cell.width, ByteLength(c));
  GlyphToPointLists(*outline, glyphs.ReferenceMetrics(), box, colour, points);
  for (const auto& p : points.Points()) out.push_back(*p);
}

namespace {

// One character in its own cell, a narrow letter moved right.
void CharacterPoints(char32_t c, const TTextOutlineFactors& f, TGlyphSource& glyphs, std::vector<PointRecord>& out) {
  out.clear();
  const TCellRect cell{0, 0, CharacterCellWidth(c, f.widthFactor), 256 / f.heightFactor};
  TextToOutline(c, cell, glyphs, TextColourIndex, out);
  const int shift = NarrowLetterShift(c, f.widthFactor, f.largeSize);
  for (PointRecord& p : out) p.x += shift;
}

template <class Build>
TQuickPlayStart Prepare(const QString& memoText, TGlyphSource& glyphs, Build build) {
  TextCharOutlines = std::make_shared<const TPlayDrawing>(build(MemoLines(memoText), TTextOutlineFactors::Live(), glyphs));
  return {true, kTextRollStartText};
}

template <class Build>
TQuickPlayStart Prepare(const QString& memoText, const TFontChoice& font, Build build) {
  std::string error;
  const auto glyphs = OpenFontGlyphSource({font.family, font.pointSize, font.bold, font.italic}, &error);
  if (!glyphs) {
    TextCharOutlines = EmptyPlayDrawing();
    return {false, error};
  }
  return Prepare(memoText, *glyphs, build);
}

}  // namespace

TPlayDrawing BuildTextCharOutlines(const std::vector<std::u32string>& lines, const TTextOutlineFactors& factors,
                                   TGlyphSource& glyphs) {
  TPlayDrawing outlines;
  std::vector<PointRecord> points;
  for (const std::u32string& line : lines) {
    for (char32_t c : line) {
      CharacterPoints(c, factors, glyphs, points);
      outlines.BeginObject();
      for (const PointRecord& p : points) outlines.Append(p);
    }
  }
  return outlines;
}

TPlayDrawing BuildTextLineOutlines(const std::vector<std::u32string>& lines, const TTextOutlineFactors& factors,
                                   TGlyphSource& glyphs) {
  TPlayDrawing outlines;
  std::vector<PointRecord> points;
  const double scaleX = factors.largeSize ? 1.0 : 12.0, scaleY = factors.largeSize ? 1.0 : 9.0;
  for (const std::u32string& whole : lines) {
    const std::u32string_view line = WholeCharactersWithin(whole, kTextLineBytes);
    if (line.empty()) continue;
    const int pitch = 256 / std::max(TextByteLength(line), factors.widthFactor);
    outlines.BeginObject();
    for (size_t k = 0; k < line.size(); ++k) {
      CharacterPoints(line[k], factors, glyphs, points);
      for (PointRecord p : points) {
        p.x = static_cast<int32_t>(std::trunc(p.x / scaleX + static_cast<double>(k) * pitch));
        p.y = static_cast<int32_t>(std::trunc(p.y / scaleY));
        outlines.Append(p);
      }
    }
  }
  return outlines;
}

std::vector<std::u32string> MemoLines(const QString& memoText) {
  std::vector<std::u32string> lines;
  for (const std::string& line : SplitTextLines(memoText.toStdString()))
    lines.push_back(QString::fromStdString(line).toStdU32String());
  return lines;
}

TQuickPlayStart PrepareTextRoll(const QString& memoText, TGlyphSource& glyphs) {
  return Prepare(memoText, glyphs, BuildTextCharOutlines);
}

TQuickPlayStart PrepareVerticalTextRoll(const QString& memoText, TGlyphSource& glyphs) {
  return Prepare(memoText, glyphs, BuildTextLineOutlines);
}

TQuickPlayStart PrepareTextRoll(const QString& memoText, const TFontChoice& font) {
  return Prepare(memoText, font, BuildTextCharOutlines);
}

TQuickPlayStart PrepareVerticalTextRoll(const QString& memoText, const TFontChoice& font) {
  return Prepare(memoText, font, BuildTextLineOutlines);
}

}  // namespace kavri
