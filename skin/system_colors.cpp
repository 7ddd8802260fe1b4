#include "skin/system_colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace kavri {

TColor ColorToRGB(TColor color) {
  if (!IsSystemColor(color)) return color & 0x00FFFFFFu;
  QPalette pal = QGuiApplication::palette();
  QPalette::ColorRole role = QPalette::Window;
  QPalette::ColorGroup group = QPalette::Active;
  switch (color & 0xFF) {
    case 0x04: role = QPalette::Window; break;            // menu
    case 0x05: role = QPalette::Base; break;              // window
    case 0x06: case 0x10: role = QPalette::Dark; break;   // frame, button shadow
    case 0x07: case 0x08: role = QPalette::WindowText; break;
    case 0x02: case 0x0D: role = QPalette::Highlight; break;
    case 0x09: case 0x0E: role = QPalette::HighlightedText; break;
    case 0x03: group = QPalette::Inactive; role = QPalette::Highlight; break;
    case 0x13: group = QPalette::Inactive; role = QPalette::HighlightedText; break;
    case 0x11: group = QPalette::Disabled; role = QPalette::WindowText; break;
    case 0x12: role = QPalette::ButtonText; break;
    case 0x14: role = QPalette::Light; break;
    case 0x15: role = QPalette::Shadow; break;
    case 0x16: role = QPalette::Midlight; break;
    case 0x17: role = QPalette::ToolTipText; break;
    case 0x18: role = QPalette::ToolTipBase; break;
    case 0x0F: role = QPalette::Button; break;
    default: role = QPalette::Window; break;
  }
  return FromQColor(pal.color(group, role));
}

}  // namespace kavri
