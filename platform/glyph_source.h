#pragma once
// Glyph outlines of installed fonts in their native form: contours of straight and quadratic
// records with 16.16 fixed coordinates (y upwards, font pixels), never flattened or turned into
// cubics, plus the metrics of the full-width reference character that sizes every glyph.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavri {

struct TFixedPoint {
  int32_t x = 0;  // 16.16
  int32_t y = 0;
  bool operator==(const TFixedPoint&) const = default;
};

// A straight record lists line end points; a quadratic record lists its control points, the last
// one on the curve and the others off it (with implied on-curve midpoints between them).
struct TOutlineRecord {
  enum class Kind { Line, QSpline };
  Kind kind = Kind::Line;
  std::vector<TFixedPoint> points;
};

struct TOutlineContour {
  TFixedPoint start;
  std::vector<TOutlineRecord> records;  // the contour closes back to `start`
};

struct TGlyphOutline {
  std::vector<TOutlineContour> contours;
};

// Sizes of the reference character's black box and its origin's x, in font pixels.
struct TReferenceMetrics {
  int blackBoxX = 0;
  int blackBoxY = 0;
  int originX = 0;
  int Width() const { return blackBoxX + originX; }
};

// The full-width character whose metrics size every glyph.
constexpr char32_t kReferenceCharacter = U'\u554A';

class TGlyphSource {
 public:
  virtual ~TGlyphSource() = default;
  // Never with a zero width: a face without a usable reference character gives its own em box.
  virtual TReferenceMetrics ReferenceMetrics() = 0;
  // The character's outline (no contours for a blank character), or null when the font has no
  // glyph for it. The outline stays valid as long as the source.
  virtual const TGlyphOutline* Outline(char32_t character) = 0;
};

struct TGlyphFont {
  std::string family = "Arial";
  int pointSize = 10;
  bool bold = false;
  bool italic = false;
};

// The installed font fontconfig chooses for the family, weight and slant, read through FreeType;
// outlines are kept once read. Null (reason in *error) when no font file can be opened.
std::unique_ptr<TGlyphSource> OpenFontGlyphSource(const TGlyphFont& font, std::string* error = nullptr);

// The file fontconfig chooses for the font, "" when none.
std::string MatchFontFile(const TGlyphFont& font);

// The outline of a FreeType-style contour: points with on-curve flags, in 26.6 units. Exposed so
// the conversion to records can be tested without a font.
struct TCurvePoint {
  long x = 0;
  long y = 0;
  bool onCurve = true;
};
TOutlineContour ContourFromCurvePoints(const std::vector<TCurvePoint>& points);

}  // namespace kavri
