#include "tools/theme_art.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <map>

#include "skin/run_images.h"
#include "skin/theme_style.h"
#include "tools/art_raster.h"

namespace kavri {
namespace {

using namespace art;

constexpr TColor kKey = 0xFF00FF;  // magenta: the mask colour of keyed pictures
constexpr TColor kWhite = 0xFFFFFF;
// Glyphs that a control masks by a key colour are anti-aliased against this neutral panel grey.
constexpr TColor kNeutral = 0xE8E8E8;

constexpr TColor Rgb(uint32_t rrggbb) {
  return RGBToTColor(static_cast<uint8_t>(rrggbb >> 16), static_cast<uint8_t>(rrggbb >> 8),
                     static_cast<uint8_t>(rrggbb));
}

// The colours one theme's pictures are drawn with, derived from its table.
struct TPalette {
  TSkinUIStyle Style;
  TColor Surface;     // form and control fill
  TColor Accent;      // selection colour
  TColor Soft;        // hover fill
  TColor Press;       // pressed fill
  TColor Border;      // soft control outline
  TColor Face;        // button face
  TColor Title;       // title bar
  TColor TitleGlyph;  // title text and button glyphs
  TColor Track;       // track bar background
  TColor Scroll;      // scroll bar background
  TColor Groove;      // track and scroll thumbs
};

TPalette PaletteOf(TSkinUIStyle s) {
  TPalette p;
  p.Style = s;
  p.Surface = GetThemeColor(s, 3);
  p.Accent = GetThemeColor(s, 11);
  const TColor e8 = GetThemeColor(s, 8);
  p.Border = Mix(e8, p.Surface, e8 == 0 ? 0.6 : 0.25);
  p.Face = Mix(p.Surface, kWhite, 0.65);
  p.Soft = Mix(p.Accent, kWhite, 0.84);
  p.Press = Mix(p.Accent, kWhite, 0.64);
  p.Title = p.Accent;
  p.TitleGlyph = kWhite;
  p.Track = GetThemeColor(s, 79);
  p.Scroll = GetThemeColor(s, 84);
  p.Groove = Mix(p.Surface, p.Border, 0.45);
  switch (s) {
    case TSkinUIStyle::Graphite:
      p.Title = Rgb(0xD4D6D9);
      p.TitleGlyph = Rgb(0x2E3338);
      p.Groove = Rgb(0xB9BCC0);
      break;
    case TSkinUIStyle::Azure:
      p.Soft = GetThemeColor(s, 12);
      p.Press = GetThemeColor(s, 82);
      p.Title = Mix(GetThemeColor(s, 2), p.Accent, 0.35);
      break;
    case TSkinUIStyle::Pearl:
      p.Face = kWhite;
      break;
    default:
      break;
  }
  return p;
}

// ---- push buttons: 21 x 21 so the nine-slice middle row and column fall on one straight stretch.

QImage PushButton(const TPalette& p, int state) {  // 0 normal, 1 mouse-on, 2 mouse-down
  TArtCanvas c(21, 21, p.Surface);
  TColor border = state == 0 ? p.Border : state == 1 ? p.Accent : Darken(p.Accent, 0.15);
  TColor face = state == 0 ? p.Face : state == 1 ? p.Soft : p.Press;
  c.Paint(Box(0, 0, 21, 21, 4), border);
  c.Paint(Box(1, 1, 20, 20, 3), face);
  if (state != 2) {
    c.Paint(Box(2, 1, 19, 2), Lighten(face, 0.6));                         // top light
    c.Paint(Box(2, 19, 19, 20), Mix(face, border, state == 0 ? 0.22 : 0.15));  // bottom shade
  } else {
    c.Paint(Box(2, 1, 19, 2), Mix(face, border, 0.2));
  }
  return c.Image();
}

// ---- check boxes and radio buttons: one size for both, 15 x 15.

enum class TTick { Normal, Hover, Down, Disabled };

// Check boxes and radio buttons share their colours; only the shape and the mark differ.
QImage TickPicture(const TPalette& p, bool checked, TTick t, const TShape& outer, const TShape& inner,
                   const TShape& mark, bool keyed) {
  TArtCanvas c(15, 15, p.Surface);
  if (checked) {
    TColor fill = t == TTick::Hover ? Lighten(p.Accent, 0.18)
                  : t == TTick::Down ? Darken(p.Accent, 0.18)
                  : t == TTick::Disabled ? Mix(p.Border, p.Surface, 0.35)
                                         : p.Accent;
    c.Paint(outer, fill);
    c.Paint(mark, t == TTick::Disabled ? Mix(kWhite, p.Surface, 0.2) : kWhite);
  } else {
    TColor border = t == TTick::Hover || t == TTick::Down ? p.Accent
                    : t == TTick::Disabled                ? Mix(p.Border, p.Surface, 0.4)
                                                          : p.Border;
    TColor fill = t == TTick::Hover ? Mix(p.Soft, kWhite, 0.5)
                  : t == TTick::Down ? p.Press
                  : t == TTick::Disabled ? Mix(p.Surface, kWhite, 0.3)
                                         : kWhite;
    c.Paint(outer, border);
    c.Paint(inner, fill);
  }
  if (keyed) c.KeyOutside(outer, kKey);
  return c.Image();
}

QImage CheckBox(const TPalette& p, bool checked, TTick t) {
  auto tick = Union(Capsule(3.9, 7.7, 6.3, 10.1, 1.05), Capsule(6.3, 10.1, 11.0, 4.6, 1.05));
  return TickPicture(p, checked, t, Box(0, 0, 15, 15, 3.5), Box(1, 1, 14, 14, 2.5), tick, false);
}

// Radio pictures are masked by their top-left pixel.
QImage RadioButton(const TPalette& p, bool checked, TTick t) {
  return TickPicture(p, checked, t, Circle(7.5, 7.5, 7.3), Circle(7.5, 7.5, 6.3), Circle(7.5, 7.5, 2.9), true);
}

// ---- progress bars: 10 across (the bar is 12 thick with a one-pixel frame), stretched along.

QImage ProgressBar(const TPalette& p, bool vertical) {
  TColor light = Lighten(p.Accent, 0.28), dark = Darken(p.Accent, 0.05);
  if (!vertical) {
    TArtCanvas c(16, 10, p.Accent);
    c.PaintVertical(Box(0, 0, 16, 10), light, dark, 0, 10);
    c.Paint(Box(0, 0, 16, 1), Lighten(p.Accent, 0.5));
    return c.Image();
  }
  TArtCanvas c(10, 16, p.Accent);
  c.PaintHorizontal(Box(0, 0, 10, 16), light, dark, 0, 10);
  c.Paint(Box(0, 0, 1, 16), Lighten(p.Accent, 0.5));
  return c.Image();
}

// ---- title bar

int TitleHeight(TSkinUIStyle s) {
  switch (s) {
    case TSkinUIStyle::Azure: return 28;
    case TSkinUIStyle::Frost: return 30;
    default: return 24;
  }
}

QImage TitlePiece(const TPalette& p, int piece) {  // 0 left, 1 client, 2 right
  const int h = TitleHeight(p.Style), w = 6;
  TArtCanvas c(w, h, p.Title);
  c.Paint(Box(0, 0, w, 1), Lighten(p.Title, 0.25));
  c.Paint(Box(0, h - 1, w, h), Darken(p.Title, 0.18));
  if (piece == 0) c.Paint(Box(0, 0, 1, h), Darken(p.Title, 0.12));
  if (piece == 2) c.Paint(Box(w - 1, 0, w, h), Darken(p.Title, 0.12));
  return c.Image();
}

QSize TitleButtonSize(TSkinUIStyle s) {
  switch (s) {
    case TSkinUIStyle::Graphite: return {18, 16};
    case TSkinUIStyle::Azure: return {21, 18};
    case TSkinUIStyle::Frost: return {20, 18};
    default: return {20, 20};
  }
}

TShape TitleGlyph(const std::string& kind, double cx, double cy) {
  const double r = 0.9;
  if (kind == "CLOSE") return Union(Capsule(cx - 4, cy - 4, cx + 4, cy + 4, r), Capsule(cx - 4, cy + 4, cx + 4, cy - 4, r));
  if (kind == "MIN") return Capsule(cx - 4.5, cy + 3.5, cx + 4.5, cy + 3.5, r);
  if (kind == "MAX")
    return Union(Subtract(Box(cx - 5, cy - 5, cx + 5, cy + 5), Box(cx - 4, cy - 3, cx + 4, cy + 4)),
                 Box(cx - 5, cy - 5, cx + 5, cy - 3));
  if (kind == "RST") {
    auto back = Subtract(Box(cx - 2, cy - 5, cx + 5, cy + 2), Box(cx - 1, cy - 3, cx + 4, cy + 1));
    auto front = Subtract(Box(cx - 5, cy - 2, cx + 2, cy + 5), Box(cx - 4, cy, cx + 1, cy + 4));
    return Union(Subtract(back, Box(cx - 5, cy - 2, cx + 2, cy + 5)), front);
  }
  if (kind == "HELP") {
    auto ring = Subtract(Circle(cx, cy - 2, 3.6), Circle(cx, cy - 2, 1.9));
    auto arc = Intersect(ring, Union(Box(cx - 6, cy - 8, cx + 6, cy - 2), Box(cx, cy - 8, cx + 6, cy + 2)));
    return Union(Union(arc, Capsule(cx + 0.1, cy + 0.6, cx + 0.1, cy + 1.6, 0.85)), Circle(cx, cy + 4.4, 1.05));
  }
  // control box: a small rounded badge with a beam across it
  return Subtract(Box(cx - 5, cy - 5, cx + 5, cy + 5, 2), Capsule(cx - 3, cy + 2.5, cx + 3, cy - 2.5, 0.8));
}

QImage TitleButton(const TPalette& p, const std::string& kind, int state) {
  QSize sz = TitleButtonSize(p.Style);
  const int w = sz.width(), h = sz.height();
  const bool keyed = GetThemeBool(p.Style, 66);
  TArtCanvas c(w, h, p.Title);
  auto box = Box(0, 0, w, h, 3);
  TColor glyph = p.TitleGlyph;
  if (state > 0) {
    TColor fill = kind == "CLOSE" ? (state == 1 ? Rgb(0xE5484D) : Rgb(0xC4383D))
                                  : Mix(p.Title, p.TitleGlyph, state == 1 ? 0.2 : 0.34);
    c.Paint(box, fill);
    if (kind == "CLOSE") glyph = kWhite;
  }
  auto shape = TitleGlyph(kind, w / 2.0, h / 2.0);
  c.Paint(shape, glyph);
  if (keyed) c.KeyOutside(state > 0 ? box : shape, kKey);
  return c.Image();
}

// ---- tabs: three 5-pixel columns, magenta outside, the strip line below them.

int TabHeight(TSkinUIStyle s) { return GetThemeInt(s, 73) - 2; }

QImage Tab(const TPalette& p, bool active) {
  const int h = TabHeight(p.Style), w = 15;
  TArtCanvas c(w, h, p.Surface);
  const double top = active ? 0 : 2;
  auto outer = Box(0, top, w, h + 4, 3.5);
  c.Paint(outer, active ? p.Border : Mix(p.Border, p.Surface, 0.35));
  c.Paint(Box(1, top + 1, w - 1, h + 4, 2.5), active ? p.Face : Mix(p.Surface, p.Border, 0.1));
  if (active) c.Paint(Box(1, 1, w - 1, 3, 2.5), p.Accent);
  c.KeyOutside(outer, kKey);
  return c.Image();
}

QImage TabLine(const TPalette& p) {
  TArtCanvas c(3, 2, p.Face);
  c.Paint(Box(0, 0, 3, 1), p.Border);
  return c.Image();
}

// ---- track bar: bar in three 4-pixel columns; thumbs as pills.

QImage TrackBar(const TPalette& p) {
  TArtCanvas c(12, 6, p.Track);
  c.Paint(Box(0, 1, 12, 5, 2), p.Groove);
  return c.Image();
}

QImage TrackSlider(const TPalette& p, bool vertical) {
  const int w = vertical ? 20 : 12, h = vertical ? 12 : 20;
  TArtCanvas c(w, h, p.Track);
  c.Paint(Box(0, 0, w, h, 5.5), p.Accent);
  c.Paint(Box(2, 2, w - 2, h - 2, 3.5), kWhite);
  if (vertical)
    c.Paint(Capsule(7, 6, 13, 6, 0.8), Mix(p.Accent, kWhite, 0.3));
  else
    c.Paint(Capsule(6, 7, 6, 13, 0.8), Mix(p.Accent, kWhite, 0.3));
  return c.Image();
}

// ---- scroll bar: 16 across; the thumb stands upright in three 8-pixel rows.

QImage ScrollTrack(const TPalette& p) {
  TArtCanvas c(16, 24, p.Scroll);
  c.Paint(Box(4, 1, 12, 23, 4), Mix(p.Scroll, p.Groove, 0.85));
  return c.Image();
}

QImage ScrollButton(const TPalette& p, bool up, int state) {
  TArtCanvas c(16, 16, p.Scroll);
  TColor arrow = Mix(p.Border, p.Scroll, 0.15);
  if (state > 0) {
    c.Paint(Box(1, 1, 15, 15, 3), Mix(p.Scroll, p.Accent, state == 1 ? 0.16 : 0.32));
    arrow = Darken(p.Accent, state == 1 ? 0.05 : 0.25);
  }
  auto tri = up ? Polygon({{8, 5}, {12.5, 10}, {3.5, 10}}) : Polygon({{3.5, 6}, {12.5, 6}, {8, 11}});
  c.Paint(tri, arrow);
  return c.Image();
}

// ---- the pictures the form, menu and combo code name directly.

QImage FormBackground(TSkinUIStyle s) {
  TColor base = GetThemeColor(s, 3);
  TArtCanvas c(32, 32, base);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      if (s == TSkinUIStyle::Graphite) {
        if ((x + y) % 4 == 0) c.Set(x, y, Darken(base, 0.03));
      } else {
        uint32_t hsh = static_cast<uint32_t>(x * 73856093u) ^ static_cast<uint32_t>(y * 19349663u);
        if (hsh % 11 == 0) c.Set(x, y, Darken(base, 0.022));
      }
    }
  return c.Image();
}

QImage GraphiteMenu(bool selected) {
  TArtCanvas c(8, 22, 0);
  if (selected) {
    TColor a = GetThemeColor(TSkinUIStyle::Graphite, 11);
    c.PaintVertical(Box(0, 0, 8, 22), Lighten(a, 0.2), a, 0, 22);
    c.Paint(Box(0, 21, 8, 22), Darken(a, 0.2));
  } else {
    c.PaintVertical(Box(0, 0, 8, 22), Rgb(0xF5F6F7), Rgb(0xDFE1E4), 0, 22);
    c.Paint(Box(0, 21, 8, 22), Rgb(0xC3C6CA));
  }
  return c.Image();
}

QImage GraphiteComboButton() {
  TArtCanvas c(16, 20, 0);
  c.PaintVertical(Box(0, 0, 16, 20), Rgb(0xF6F7F8), Rgb(0xDADDE0), 0, 20);
  c.Paint(Box(0, 0, 1, 20), Rgb(0xB4B8BD));
  return c.Image();
}

// ---- shared pictures

QImage MenuChecked() {
  TArtCanvas c(16, 16, kWhite);  // white is the menus' mask colour, so the mark is hard-edged
  c.PaintSolid(Union(Capsule(4, 8.5, 6.8, 11.3, 1.25), Capsule(6.8, 11.3, 12, 5, 1.25)), Rgb(0x202428));
  return c.Image();
}

TShape QuestionMark(double cx, double cy, double scale) {
  auto ring = Subtract(Circle(cx, cy - 3 * scale, 4.6 * scale), Circle(cx, cy - 3 * scale, 2.4 * scale));
  auto arc = Intersect(ring, Union(Box(cx - 9 * scale, cy - 12 * scale, cx + 9 * scale, cy - 3 * scale),
                                   Box(cx, cy - 12 * scale, cx + 9 * scale, cy + 2 * scale)));
  auto stem = Capsule(cx + 0.2, cy + 0.6 * scale, cx + 0.2, cy + 2.2 * scale, 1.1 * scale);
  return Union(Union(arc, stem), Circle(cx, cy + 5.6 * scale, 1.35 * scale));
}

QImage MessageIcon(const std::string& kind) {
  TArtCanvas c(32, 32, kNeutral);
  if (kind == "WARNING") {
    auto tri = Union(Polygon({{16, 4}, {29, 27}, {3, 27}}),
                     Union(Capsule(16, 4, 29, 27, 1.5), Union(Capsule(29, 27, 3, 27, 1.5), Capsule(3, 27, 16, 4, 1.5))));
    c.Paint(tri, Rgb(0xF2A71B));
    c.Paint(Union(Capsule(16, 11.5, 16, 19.5, 1.8), Circle(16, 23.8, 1.8)), Rgb(0x2D2A26));
    return c.Image();
  }
  TColor fill = kind == "ERROR" ? Rgb(0xD9443F) : kind == "INFORMATION" ? Rgb(0x2F7BD9) : Rgb(0x3A8FB7);
  c.Paint(Circle(16, 16, 14), fill);
  if (kind == "ERROR") {
    c.Paint(Union(Capsule(11, 11, 21, 21, 1.9), Capsule(11, 21, 21, 11, 1.9)), kWhite);
  } else if (kind == "INFORMATION") {
    c.Paint(Union(Circle(16, 9.5, 2.1), Capsule(16, 14.5, 16, 23, 2)), kWhite);
  } else {
    c.Paint(QuestionMark(16, 16, 1.15), kWhite);
  }
  return c.Image();
}

QImage SideChannelBar(bool mouseOn) {
  TColor bg = mouseOn ? Rgb(0xD3E1F5) : Rgb(0xDEE0E3), dots = mouseOn ? Rgb(0x3A6FC4) : Rgb(0x8B9096);
  TArtCanvas c(10, 80, bg);
  c.Paint(Box(0, 0, 1, 80), Darken(bg, 0.12));
  c.Paint(Box(9, 0, 10, 80), Darken(bg, 0.12));
  for (double y : {32.0, 37.0, 42.0, 47.0}) c.Paint(Circle(5, y, 1.2), dots);
  return c.Image();
}

QImage KeyedGlyph(int w, int h, const TShape& shape, TColor color) {
  TArtCanvas c(w, h, kNeutral);
  c.Paint(shape, color);
  c.KeyOutside(shape, kKey);
  return c.Image();
}

QImage SideChannelPin(bool onTop) {
  TColor ink = Rgb(0x3F464E);
  TShape pin = onTop ? Union(Union(Box(5, 2, 11, 7, 1), Capsule(3.5, 8, 12.5, 8, 1)), Capsule(8, 8, 8, 14, 0.7))
                     : Union(Union(Box(9, 5, 14, 11, 1), Capsule(8, 3.5, 8, 12.5, 1)), Capsule(8, 8, 2, 8, 0.7));
  return KeyedGlyph(16, 16, pin, ink);
}

QImage FontComboGlyph(bool trueType) {
  TArtCanvas c(20, 12, kNeutral);
  TShape all;
  if (trueType) {
    auto t1 = Union(Box(1, 1, 10, 3), Box(4.5, 1, 6.5, 10));
    auto t2 = Union(Box(8, 3, 18, 5), Box(12, 3, 14, 12));
    c.Paint(t1, Rgb(0x8C9096));
    c.Paint(t2, Rgb(0x1F4E9A));
    all = Union(t1, t2);
  } else {
    auto paper = Box(6, 0, 14, 5);
    auto body = Box(2, 4, 18, 10, 1.5);
    auto tray = Box(5, 9, 15, 12);
    c.Paint(body, Rgb(0x5B636B));
    c.Paint(paper, kWhite);
    c.Paint(Subtract(paper, Box(7, 1, 13, 5)), Rgb(0x5B636B));
    c.Paint(tray, Rgb(0x9AA1A8));
    c.Paint(Circle(15, 6.5, 0.9), Rgb(0x7CD36B));
    all = Union(Union(paper, body), tray);
  }
  c.KeyOutside(all, kKey);
  return c.Image();
}

QImage NavigatorGlyph(const std::string& kind) {
  const TColor ink = Rgb(0x3A4A5C);
  if (kind == "FIRST") return KeyedGlyph(16, 16, Union(Box(3, 3, 5, 13), Polygon({{13, 3}, {13, 13}, {6, 8}})), ink);
  if (kind == "PRIOR") return KeyedGlyph(16, 16, Polygon({{11, 3}, {11, 13}, {5, 8}}), ink);
  if (kind == "NEXT") return KeyedGlyph(16, 16, Polygon({{5, 3}, {5, 13}, {11, 8}}), ink);
  if (kind == "LAST") return KeyedGlyph(16, 16, Union(Polygon({{3, 3}, {3, 13}, {10, 8}}), Box(11, 3, 13, 13)), ink);
  if (kind == "INSERT") return KeyedGlyph(16, 16, Union(Box(7, 3, 9, 13), Box(3, 7, 13, 9)), Rgb(0x2E7D4F));
  if (kind == "DELETE") return KeyedGlyph(16, 16, Box(3, 7, 13, 9), Rgb(0xB03A2E));
  if (kind == "EDIT")
    return KeyedGlyph(16, 16, Union(Capsule(5.4, 10.6, 12, 4, 1.6), Polygon({{2.5, 13.5}, {3.3, 10.2}, {5.8, 12.7}})),
                      ink);
  if (kind == "POST")
    return KeyedGlyph(16, 16, Union(Capsule(3, 8.5, 6.5, 12, 1.3), Capsule(6.5, 12, 13, 4.5, 1.3)), Rgb(0x2E7D4F));
  if (kind == "CANCEL")
    return KeyedGlyph(16, 16, Union(Capsule(4, 4, 12, 12, 1.3), Capsule(4, 12, 12, 4, 1.3)), Rgb(0xB03A2E));
  // REFRESH: an open ring with an arrow head
  auto ring = Subtract(Subtract(Circle(8, 8.5, 5.5), Circle(8, 8.5, 3.6)), Box(8, 0, 16, 8.5));
  auto head = Polygon({{7.5, 0.6}, {11.8, 3.95}, {7.5, 7.3}});
  return KeyedGlyph(16, 16, Union(ring, head), ink);
}

// ---- the playing windows' tool bar pictures: 30 x 30, keyed magenta outside the glyph, each in a
// colour of its own so Play, Stop and Pause tell apart at a glance.

// A band of width w just inside a convex shape's edge: the shape drawn as an outline.
TShape Outline(TShape shape, double w) {
  return [shape, w](double x, double y) { return std::abs(shape(x, y) + w / 2) - w / 2; };
}
TShape Grow(TShape shape, double r) {
  return [shape, r](double x, double y) { return shape(x, y) - r; };
}

// A dashed line across the picture through its middle: the mirror's axis.
TShape MirrorAxis(bool vertical) {
  auto dash = [vertical](double at) { return vertical ? Box(14.2, at, 15.8, at + 2.5) : Box(at, 14.2, at + 2.5, 15.8); };
  TShape axis = dash(2);
  for (double at = 6.5; at < 28; at += 4.5) axis = Union(axis, dash(at));
  return axis;
}

QImage RunImage(const std::string& kind) {
  const TColor ink = Rgb(0x34424F), blue = Rgb(0x2A67B0);
  TArtCanvas c(30, 30, kNeutral);
  TShape all;
  if (kind == "PLAY") {
    all = Grow(Polygon({{10, 7}, {23.5, 15}, {10, 23}}), 1.5);
    c.Paint(all, Rgb(0x2E9A45));
  } else if (kind == "STOP") {
    all = Box(7.5, 7.5, 22.5, 22.5, 2.5);
    c.Paint(all, Rgb(0xCC3A2F));
  } else if (kind == "PAUSE") {
    all = Union(Box(8, 6.5, 13, 23.5, 1.5), Box(17, 6.5, 22, 23.5, 1.5));
    c.Paint(all, Rgb(0xD07C0C));
  } else if (kind == "LOOP") {
    // A ring open at the top right whose end carries an arrow head going round clockwise.
    auto ring = Subtract(Subtract(Circle(15, 16, 10), Circle(15, 16, 6.6)), Box(15, 2, 28, 13));
    auto head = Polygon({{14.5, 1.5}, {21.5, 7.7}, {14.5, 13.9}});
    all = Union(ring, head);
    c.Paint(all, blue);
  } else if (kind == "HINVERT" || kind == "VINVERT") {
    // A picture and its mirror image on the two sides of the mirror's axis.
    const bool h = kind == "HINVERT";
    auto swap = [h](std::vector<std::pair<double, double>> pts) {
      if (!h)
        for (auto& [x, y] : pts) std::swap(x, y);
      return pts;
    };
    auto solid = Polygon(swap({{3, 15}, {12, 6.5}, {12, 23.5}}));
    auto mirror = Outline(Polygon(swap({{27, 15}, {18, 6.5}, {18, 23.5}})), 1.8);
    auto axis = MirrorAxis(h);
    c.Paint(axis, ink);
    c.Paint(solid, blue);
    c.Paint(mirror, blue);
    all = Union(Union(solid, mirror), axis);
  } else if (kind == "SETTINGS") {
    TShape gear = Circle(15, 15, 8.2);
    for (int k = 0; k < 8; ++k) {
      const double a = k * M_PI / 4;
      gear = Union(gear, Capsule(15 + 8 * std::cos(a), 15 + 8 * std::sin(a), 15 + 10.6 * std::cos(a),
                                 15 + 10.6 * std::sin(a), 2.1));
    }
    all = Subtract(gear, Circle(15, 15, 3.6));
    c.Paint(all, ink);
  } else {
    return {};
  }
  c.KeyOutside(all, kKey);
  return c.Image();
}

bool StartsWith(const std::string& s, const std::string& p) { return s.rfind(p, 0) == 0; }

QImage DrawThemed(const TPalette& p, const std::string& e) {
  if (e == "BUTTON_NORMAL") return PushButton(p, 0);
  if (e == "BUTTON_MOUSEON") return PushButton(p, 1);
  if (e == "BUTTON_MOUSEDOWN") return PushButton(p, 2);
  for (const char* family : {"CHECKBOX_", "RADIOBUTTON_"}) {
    if (!StartsWith(e, family)) continue;
    std::string rest = e.substr(std::string(family).size());
    bool checked = rest.size() >= 5 && rest.compare(rest.size() - 5, 5, "CHECK") == 0 &&
                   !(rest.size() >= 7 && rest.compare(rest.size() - 7, 7, "UNCHECK") == 0);
    TTick t = StartsWith(rest, "DISABLE") ? TTick::Disabled
              : StartsWith(rest, "MOUSEON") ? TTick::Hover
              : StartsWith(rest, "MOUSEDOWN") ? TTick::Down
                                              : TTick::Normal;
    return family[0] == 'C' ? CheckBox(p, checked, t) : RadioButton(p, checked, t);
  }
  if (e == "PROGRESSBAR") return ProgressBar(p, false);
  if (e == "PROGRESSBAR_V") return ProgressBar(p, true);
  if (e == "TITLE_LEFT") return TitlePiece(p, 0);
  if (e == "TITLE_CLIENT") return TitlePiece(p, 1);
  if (e == "TITLE_RIGHT") return TitlePiece(p, 2);
  if (StartsWith(e, "TITLEBTN_")) {
    std::string rest = e.substr(9);
    size_t us = rest.find('_');
    std::string kind = rest.substr(0, us), st = rest.substr(us + 1);
    return TitleButton(p, kind, st == "NORMAL" ? 0 : st == "MOUSEON" ? 1 : 2);
  }
  if (e == "TAB_ACTIVE") return Tab(p, true);
  if (e == "TAB_INACTIVE") return Tab(p, false);
  if (e == "TAB_LINE") return TabLine(p);
  if (e == "TRACKBAR_BAR") return TrackBar(p);
  if (e == "TRACKBAR_SLIDER") return TrackSlider(p, false);
  if (e == "TRACKBAR_SLIDER_V") return TrackSlider(p, true);
  if (e == "SCROLLBAR_TRACK") return ScrollTrack(p);
  if (StartsWith(e, "SCROLLBAR_")) {
    bool up = StartsWith(e, "SCROLLBAR_TOPBUTTON_");
    std::string st = e.substr(e.rfind('_') + 1);
    return ScrollButton(p, up, st == "NORMAL" ? 0 : st == "MOUSEON" ? 1 : 2);
  }
  if (e == "FORM_BACKGROUND") return FormBackground(p.Style);
  if (e == "MENU_BAR") return GraphiteMenu(false);
  if (e == "MENU_SELECT") return GraphiteMenu(true);
  if (e == "COMBOBOX_BUTTON") return GraphiteComboButton();
  return {};
}

QImage DrawShared(const std::string& name) {
  if (name == "MENU_CHECKED") return MenuChecked();
  if (StartsWith(name, "MSGDLG_")) return MessageIcon(name.substr(7));
  if (name == "SIDECHANNEL_BAR_NORMAL") return SideChannelBar(false);
  if (name == "SIDECHANNEL_BAR_MOUSEON") return SideChannelBar(true);
  if (name == "SIDECHANNEL_BTN_ONTOP") return SideChannelPin(true);
  if (name == "SIDECHANNEL_BTN_NOONTOP") return SideChannelPin(false);
  if (name == "FONTCOMBO_TRUETYPE_FNT") return FontComboGlyph(true);
  if (name == "FONTCOMBO_DEVICE_FNT") return FontComboGlyph(false);
  if (StartsWith(name, "DBNAV_BUTTON_")) return NavigatorGlyph(name.substr(13));
  if (StartsWith(name, "RUNBTN_")) return RunImage(name.substr(7));
  return {};
}

}  // namespace

std::vector<std::string> EmbeddedArtNames() {
  std::vector<std::string> all = AllSkinBitmapNames();
  for (const std::string& name : RunImageNames()) all.push_back(name);
  return all;
}

QImage DrawThemeArt(const std::string& name) {
  std::vector<std::string> all = EmbeddedArtNames();
  if (std::find(all.begin(), all.end(), name) == all.end()) return {};
  for (TSkinUIStyle s : kThemedStyles) {
    std::string prefix = std::string(StylePrefix(s)) + "_";
    if (StartsWith(name, prefix)) return DrawThemed(PaletteOf(s), name.substr(prefix.size()));
  }
  return DrawShared(name);
}

bool WriteThemeArt(const QString& folder, QString* error) {
  if (!QDir().mkpath(folder)) {
    if (error) *error = "cannot create " + folder;
    return false;
  }
  QString qrc = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/skin\">\n";
  for (const std::string& name : EmbeddedArtNames()) {
    QImage img = DrawThemeArt(name);
    QString file = QString::fromStdString(name) + ".png";
    if (img.isNull() || !img.save(folder + "/" + file, "PNG")) {
      if (error) *error = "cannot write " + file;
      return false;
    }
    qrc += "  <file>" + file + "</file>\n";
  }
  qrc += "</qresource>\n</RCC>\n";
  QFile out(folder + "/skin_art.qrc");
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(qrc.toUtf8()) < 0) {
    if (error) *error = "cannot write skin_art.qrc";
    return false;
  }
  return true;
}

QImage ThemeArtContactSheet(int scale) {
  // One row per style plus one for the shared pictures; each cell shows the picture magnified.
  std::vector<std::pair<QString, std::vector<std::string>>> rows;
  for (TSkinUIStyle s : kThemedStyles) rows.push_back({QString::fromUtf8(StylePrefix(s).data(), int(StylePrefix(s).size())), ThemeBitmapNames(s)});
  rows.push_back({"SHARED", SharedBitmapNames()});
  rows.push_back({"TOOL BAR", RunImageNames()});
  const int cellW = 34 * scale, perRow = 14, labelH = 12;
  int height = 0;
  std::vector<int> rowHeights;
  for (auto& [label, names] : rows) {
    int lines = (static_cast<int>(names.size()) + perRow - 1) / perRow, h = 24;
    for (size_t i = 0; i < names.size(); ++i) h = std::max(h, DrawThemeArt(names[i]).height());
    rowHeights.push_back(lines * (h * scale + labelH + 6) + 18);
    height += rowHeights.back();
  }
  QImage sheet(perRow * cellW + 20, height, QImage::Format_RGB32);
  sheet.fill(QColor(250, 250, 250));
  QPainter painter(&sheet);
  QFont font = painter.font();
  font.setPixelSize(9);
  painter.setFont(font);
  int y = 0;
  for (size_t r = 0; r < rows.size(); ++r) {
    auto& [label, names] = rows[r];
    painter.setPen(Qt::black);
    painter.drawText(10, y + 13, label);
    int lineH = (rowHeights[r] - 18) / std::max<int>(1, (int(names.size()) + perRow - 1) / perRow);
    for (size_t i = 0; i < names.size(); ++i) {
      QImage img = DrawThemeArt(names[i]);
      // Keyed pixels show as a checkerboard, as they will look over any background.
      for (int py = 0; py < img.height(); ++py)
        for (int px = 0; px < img.width(); ++px)
          if ((img.pixel(px, py) & 0xFFFFFF) == 0xFF00FF)
            img.setPixel(px, py, ((px / 2 + py / 2) % 2) ? 0xFFD0D0D0 : 0xFFFFFFFF);
      int cx = 10 + int(i % perRow) * cellW, cy = y + 18 + int(i / perRow) * lineH;
      painter.drawImage(QRect(cx, cy, img.width() * scale, img.height() * scale), img);
      QString shortName = QString::fromStdString(names[i]).section('_', names[i].find('_') == std::string::npos ? 0 : 1);
      painter.setPen(QColor(90, 90, 90));
      painter.drawText(QRect(cx, cy + img.height() * scale + 1, cellW - 2, labelH), Qt::AlignLeft | Qt::TextSingleLine,
                       shortName);
    }
    y += rowHeights[r];
  }
  return sheet;
}

}  // namespace kavri
