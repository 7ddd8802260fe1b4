#pragma once
// The ILD preview timer's tick, the same in every window that has one: the animation moves on, and
// its frame is painted into the window's bitmap and shown with its point count.
#include <QImage>
#include <QLabel>

#include "engine/ilda_preview.h"

namespace kavri {

// `paint` false (a hidden window) moves the animation on without painting.
void ShowNextIldaPreviewFrame(TIldaPreviewAnimation& animation, QImage& bitmap, QLabel* image, QLabel* pointCount,
                              bool paint = true);

}  // namespace kavri
