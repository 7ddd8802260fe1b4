#include "engine/glyph_outline.h"

#include <cmath>
#include <string_view>

#include "engine/marked_points.h"

namespace kavri {

std::u32string_view WholeCharactersWithin(std::u32string_view line, int bytes) {
  size_t n = 0;
  for (int used = 0; n < line.size() && (used += ByteLength(line[n])) <= bytes; ++n) {
  }
  return line.substr(0, n);
}

int TextByteLength(std::u32string_view text) {
  int bytes = 0;
  for (char32_t c : text) bytes += ByteLength(c);
  return bytes;
}

int CharacterCellWidth(char32_t c, int widthFactor) {
  const bool wide = c == U'w' || c == U'W' || c == U'm' || c == U'M';
  return (wide ? 180 : 256) / widthFactor;
}

int NarrowLetterShift(char32_t c, int widthFactor, bool largeSize) {
  constexpr std::u32string_view kNarrow = U"ijlrtfIJ";
  if (kNarrow.find(c) == std::u32string_view::npos) return 0;
  return (largeSize ? 64 : 1000) / widthFactor;
}

namespace {

class CellMapping {
 public:
  CellMapping(const TReferenceMetrics& reference, const TCellRect& box)
      : box_(box), width_(reference.Width()), blackBoxY_(reference.blackBoxY) {}

  PointRecord Map(TFixedPoint v, int kind, uint8_t blanked, uint8_t colour) const {
    const double fx = v.x / 65536.0 + 0.5, fy = v.y / 65536.0 + 0.5;
    PointRecord p;
    p.x = static_cast<int32_t>(std::trunc(box_.left + box_.width * fx / width_));
    p.y = static_cast<int32_t>(std::trunc(box_.top + box_.height * (blackBoxY_ - fy) / width_));
    p.kind = kind;
    p.blanked = blanked;
    p.colour = colour;
    return p;
  }

 private:
  TCellRect box_;
  double width_;
  double blackBoxY_;
};

}  // namespace

void GlyphToPointLists(const TGlyphOutline& outline, const TReferenceMetrics& reference, const TCellRect& box,
                       uint8_t colour, DrawingObject& out) {
  if (reference.Width() <= 0) return;
  const CellMapping mapping(reference, box);
  for (const TOutlineContour& contour : outline.contours) {
    const PointRecord start = mapping.Map(contour.start, 2, 1, colour);
    PointRecord last = *out.Add(start);
    last.blanked = 0;
    for (const TOutlineRecord& record : contour.records) {
      if (record.kind == TOutlineRecord::Kind::Line) {
        for (TFixedPoint v : record.points) last = *out.Add(mapping.Map(v, 2, 0, colour));
        continue;
      }
      std::vector<PointRecord> controls;
      for (TFixedPoint v : record.points) controls.push_back(mapping.Map(v, 2, 0, colour));
      for (size_t u = 0; u + 1 < controls.size(); ++u) {
        PointRecord from = last;
        from.kind = 0;
        out.Add(from);
        PointRecord middle = controls[u];
        middle.kind = 0;
        middle.x = (controls[u].x + controls[u + 1].x) / 2;
        middle.y = (controls[u].y + controls[u + 1].y) / 2;
        last = *out.Add(middle);
      }
      if (!controls.empty()) last = *out.Add(controls.back());
    }
    PointRecord closing = start;
    closing.blanked = 0;
    out.Add(closing);
  }
}

void ThinGlyphPoints(DrawingObject& object, int fine) {
  if (object.Empty()) return;
  const int64_t limit = int64_t{fine} * fine;
  const PointRecord* r = object.At(0);
  for (size_t i = 1; i < object.Count(); ++i) {
    PointRecord& p = object[i];
    const int64_t dx = int64_t{r->x} - p.x, dy = int64_t{r->y} - p.y;
    if (dx * dx + dy * dy >= limit)
      r = &p;
    else
      p.state = kMarkedForDeletion;
  }
  RemoveMarkedPoints(object);
}

}  // namespace kavri
