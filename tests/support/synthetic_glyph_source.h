#pragma once
// A glyph source of hand-built outlines, for tests that must not depend on installed fonts.
#include <map>

#include "platform/glyph_source.h"

namespace kavri_test {

inline kavri::TFixedPoint Fx(double x, double y) {
  return {static_cast<int32_t>(x * 65536), static_cast<int32_t>(y * 65536)};
}

class SyntheticGlyphSource : public kavri::TGlyphSource {
 public:
  kavri::TReferenceMetrics reference{16, 16, 0};
  std::map<char32_t, kavri::TGlyphOutline> glyphs;
  int outlineQueries = 0;

  kavri::TReferenceMetrics ReferenceMetrics() override { return reference; }
  const kavri::TGlyphOutline* Outline(char32_t c) override {
    ++outlineQueries;
    const auto found = glyphs.find(c);
    return found == glyphs.end() ? nullptr : &found->second;
  }

  // A square contour of straight lines from (0,0) to (size,size) in font pixels.
  static kavri::TGlyphOutline Square(double size) {
    kavri::TOutlineContour c;
    c.start = Fx(0, 0);
    c.records.push_back({kavri::TOutlineRecord::Kind::Line, {Fx(size, 0), Fx(size, size), Fx(0, size)}});
    return {{c}};
  }
};

}  // namespace kavri_test
