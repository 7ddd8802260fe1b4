#pragma once
// The memo's text as glyph outlines for the rolling text: Play prepares them on the window
// thread, in the font of the window's Font dialog, before the roll loop starts.
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/glyph_outline.h"
#include "engine/play_drawing.h"
#include "platform/dialog_service.h"
#include "platform/glyph_source.h"
#include "quickplay/quick_play_state.h"

namespace kavri {

// The colour index of every rolling-text point.
constexpr uint8_t TextColourIndex = 4;

inline constexpr char kTextRollStartText[] = "Text rolling playing start...";

// The factors the outlines are laid out with (the sliders and "Large Size" at Play).
struct TTextOutlineFactors {
  int widthFactor = 4;
  int heightFactor = 4;
  bool largeSize = false;
  static TTextOutlineFactors Live();
};

// Appends the outline of one character, in its cell, to `out`. Nothing for a character without a
// glyph, or while the font gives no reference width to size it by.
void TextToOutline(char32_t c, const TCellRect& cell, TGlyphSource& glyphs, uint8_t colour,
                   std::vector<PointRecord>& out);

// Horizontal roll: one list per character of every line, each in its own cell at (0, 0).
TPlayDrawing BuildTextCharOutlines(const std::vector<std::u32string>& lines, const TTextOutlineFactors& factors,
                                   TGlyphSource& glyphs);
// Vertical roll: one list per non-empty line (its first 20 bytes), the characters side by side.
TPlayDrawing BuildTextLineOutlines(const std::vector<std::u32string>& lines, const TTextOutlineFactors& factors,
                                   TGlyphSource& glyphs);

std::vector<std::u32string> MemoLines(const QString& memoText);

// Fill TextCharOutlines from the memo with the live factors. The font is the Font dialog's choice
// (the window starts it at "Arial", which fontconfig resolves to an installed face).
TQuickPlayStart PrepareTextRoll(const QString& memoText, const TFontChoice& font);
TQuickPlayStart PrepareVerticalTextRoll(const QString& memoText, const TFontChoice& font);
TQuickPlayStart PrepareTextRoll(const QString& memoText, TGlyphSource& glyphs);
TQuickPlayStart PrepareVerticalTextRoll(const QString& memoText, TGlyphSource& glyphs);

}  // namespace kavri
