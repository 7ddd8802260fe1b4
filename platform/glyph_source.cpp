#include "platform/glyph_source.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace kavri {

namespace {

TFixedPoint Fixed(long x26, long y26) {
  // 26.6 to 16.16.
  return {static_cast<int32_t>(x26 * 1024), static_cast<int32_t>(y26 * 1024)};
}

TFixedPoint Fixed(const TCurvePoint& p) { return Fixed(p.x, p.y); }

class TFreeTypeGlyphSource : public TGlyphSource {
 public:
  TFreeTypeGlyphSource(FT_Library library, FT_Face face) : library_(library), face_(face) {}
  ~TFreeTypeGlyphSource() override {
    FT_Done_Face(face_);
    FT_Done_FreeType(library_);
  }

  TReferenceMetrics ReferenceMetrics() override {
    if (!reference_) reference_ = ReadReferenceMetrics();
    return *reference_;
  }

  const TGlyphOutline* Outline(char32_t character) override {
    auto found = cache_.find(character);
    if (found == cache_.end()) found = cache_.emplace(character, ReadOutline(character)).first;
    return found->second ? &*found->second : nullptr;
  }

 private:
  bool Load(char32_t character) {
    const FT_UInt index = FT_Get_Char_Index(face_, character);
    if (index == 0) return false;
    return FT_Load_Glyph(face_, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0 &&
           face_->glyph->format == FT_GLYPH_FORMAT_OUTLINE;
  }

  TReferenceMetrics ReadReferenceMetrics() {
    TReferenceMetrics m;
    if (Load(kReferenceCharacter)) {
      FT_BBox box;
      FT_Outline_Get_CBox(&face_->glyph->outline, &box);
      const long left = box.xMin >> 6;  // floor
      m.blackBoxX = static_cast<int>(((box.xMax + 63) >> 6) - left);
      m.blackBoxY = static_cast<int>(((box.yMax + 63) >> 6) - (box.yMin >> 6));
      m.originX = static_cast<int>(left);
    }
    if (m.Width() <= 0 || m.blackBoxY <= 0) {
      // The face's own em box stands in for a missing or empty reference glyph.
      const FT_Size_Metrics& size = face_->size->metrics;
      m.blackBoxX = std::max<int>(1, size.x_ppem);
      m.blackBoxY = std::max<int>(1, static_cast<int>((size.ascender + 63) >> 6));
      m.originX = 0;
    }
    return m;
  }

  std::optional<TGlyphOutline> ReadOutline(char32_t character) {
    if (!Load(character)) return std::nullopt;
    const FT_Outline& outline = face_->glyph->outline;
    TGlyphOutline result;
    int first = 0;
    for (int c = 0; c < outline.n_contours; ++c) {
      const int last = outline.contours[c];
      std::vector<TCurvePoint> points;
      for (int i = first; i <= last && i < outline.n_points; ++i)
        points.push_back({outline.points[i].x, outline.points[i].y, (FT_CURVE_TAG(outline.tags[i]) == FT_CURVE_TAG_ON)});
      first = last + 1;
      if (!points.empty()) result.contours.push_back(ContourFromCurvePoints(points));
    }
    return result;
  }

  FT_Library library_;
  FT_Face face_;
  std::optional<TReferenceMetrics> reference_;
  std::unordered_map<char32_t, std::optional<TGlyphOutline>> cache_;
};

struct TFontFile {
  std::string path;
  int index = 0;
};

TFontFile MatchFont(const TGlyphFont& font) {
  static std::mutex lock;  // fontconfig's configuration is shared
  std::lock_guard guard(lock);
  if (!FcInit()) return {};
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(font.family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, font.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  TFontFile file;
  FcChar8* path = nullptr;
  if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
    file.path = reinterpret_cast<const char*>(path);
    FcPatternGetInteger(match, FC_INDEX, 0, &file.index);
  }
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return file;
}

}  // namespace

TOutlineContour ContourFromCurvePoints(const std::vector<TCurvePoint>& points) {
  TOutlineContour contour;
  if (points.empty()) return contour;
  // Start on the curve: the first on-curve point, else the midpoint of the two ends.
  size_t from = 0;
  size_t count = points.size();
  if (points.front().onCurve) {
    contour.start = Fixed(points.front());
    from = 1;
    count -= 1;
  } else if (points.back().onCurve) {
    contour.start = Fixed(points.back());
    count -= 1;
  } else {
    contour.start = Fixed((points.front().x + points.back().x) / 2, (points.front().y + points.back().y) / 2);
  }
  std::vector<TFixedPoint> offCurve;
  auto addOnCurve = [&](TFixedPoint p) {
    if (!offCurve.empty()) {
      offCurve.push_back(p);
      contour.records.push_back({TOutlineRecord::Kind::QSpline, std::move(offCurve)});
      offCurve.clear();
    } else if (!contour.records.empty() && contour.records.back().kind == TOutlineRecord::Kind::Line) {
      contour.records.back().points.push_back(p);
    } else {
      contour.records.push_back({TOutlineRecord::Kind::Line, {p}});
    }
  };
  for (size_t i = 0; i < count; ++i) {
    const TCurvePoint& p = points[(from + i) % points.size()];
    if (p.onCurve)
      addOnCurve(Fixed(p));
    else
      offCurve.push_back(Fixed(p));
  }
  // A curve that runs back into the start is closed explicitly; a straight closing edge is implied.
  if (!offCurve.empty()) addOnCurve(contour.start);
  return contour;
}

std::string MatchFontFile(const TGlyphFont& font) { return MatchFont(font).path; }

std::unique_ptr<TGlyphSource> OpenFontGlyphSource(const TGlyphFont& font, std::string* error) {
  const TFontFile file = MatchFont(font);
  if (file.path.empty()) {
    if (error) *error = "No installed font matches \"" + font.family + "\"";
    return nullptr;
  }
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) {
    if (error) *error = "The font library cannot be started";
    return nullptr;
  }
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.path.c_str(), file.index, &face) != 0 || !FT_IS_SCALABLE(face) ||
      FT_Set_Char_Size(face, 0, std::max(1, font.pointSize) * 64, 96, 96) != 0) {
    if (face) FT_Done_Face(face);
    FT_Done_FreeType(library);
    if (error) *error = "The font file " + file.path + " cannot be read";
    return nullptr;
  }
  return std::make_unique<TFreeTypeGlyphSource>(library, face);
}

}  // namespace kavri
