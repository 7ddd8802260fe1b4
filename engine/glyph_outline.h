#pragma once
// Glyph outlines turned into point lists in a character cell, and the cell arithmetic the text
// import and the rolling text share.
#include <string_view>

#include "engine/drawing.h"
#include "platform/glyph_source.h"

namespace kavri {

struct TCellRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Characters outside ASCII count as double-byte: two bytes of a line's budget, one full cell.
inline bool IsDoubleByte(char32_t c) { return c >= 128; }
inline int ByteLength(char32_t c) { return IsDoubleByte(c) ? 2 : 1; }

// At most this many bytes of a text line are outlined.
constexpr int kTextLineBytes = 20;

// The longest beginning of `line` within `bytes`; a double-byte character that does not fit whole
// is left out whole.
std::u32string_view WholeCharactersWithin(std::u32string_view line, int bytes);
int TextByteLength(std::u32string_view text);

// Cell width for the character: 256 / widthFactor, 180 / widthFactor for "w", "W", "m", "M".
int CharacterCellWidth(char32_t c, int widthFactor);
// What "i", "j", "l", "r", "t", "f", "I", "J" move right by (0 for other characters).
int NarrowLetterShift(char32_t c, int widthFactor, bool largeSize);

// The width of the box a character of `bytes` bytes (1 or 2) is mapped into in a cell `cellWidth`
// wide: a double-byte glyph spans the cell, a single-byte glyph twice the cell width. The text
// import divides twice the width; the rolling text halves the cell first, dropping an odd pixel.
inline int TextImportGlyphBoxWidth(int cellWidth, int bytes) { return 2 * cellWidth / bytes; }
inline int RollingTextGlyphBoxWidth(int cellWidth, int bytes) { return 2 * (cellWidth / bytes); }

// Appends the outline's contours to `out`: each contour's start point (blanked), its line points,
// the two points of each quadratic segment (its start again and the midpoint of its control
// points, kind 0), the record's last control point, and the start point again to close it.
// A glyph as wide as the reference spans the box's width; heights are in proportion to the same
// reference width. Nothing is added when the reference width is not positive.
void GlyphToPointLists(const TGlyphOutline& outline, const TReferenceMetrics& reference, const TCellRect& box,
                       uint8_t colour, DrawingObject& out);

// Removes every point closer than `fine` to the last one kept.
void ThinGlyphPoints(DrawingObject& object, int fine);

}  // namespace kavri
