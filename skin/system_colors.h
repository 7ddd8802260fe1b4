#pragma once
#include "platform/tcolor.h"

namespace kavri {

// Colours with the top byte 0x80 name a system colour by index; they follow the desktop palette.
constexpr TColor clScrollBar = 0x80000000, clBackground = 0x80000001, clActiveCaption = 0x80000002,
                 clInactiveCaption = 0x80000003, clMenu = 0x80000004, clWindow = 0x80000005,
                 clWindowFrame = 0x80000006, clMenuText = 0x80000007, clWindowText = 0x80000008,
                 clCaptionText = 0x80000009, clHighlight = 0x8000000D, clHighlightText = 0x8000000E,
                 clBtnFace = 0x8000000F, clBtnShadow = 0x80000010, clGrayText = 0x80000011,
                 clBtnText = 0x80000012, clInactiveCaptionText = 0x80000013, clBtnHighlight = 0x80000014,
                 cl3DDkShadow = 0x80000015, cl3DLight = 0x80000016, clInfoText = 0x80000017,
                 clInfoBk = 0x80000018;

constexpr bool IsSystemColor(TColor c) { return (c & 0xFF000000u) == 0x80000000u; }

// A plain 0x00BBGGRR value: system colours resolved through the application palette, other values
// with their top byte cleared.
TColor ColorToRGB(TColor color);

}  // namespace kavri
