#include "engine/ilda_preview.h"

#include "engine/colour_tables.h"
#include "platform/dialog_service.h"
#include "platform/file_io.h"

namespace kavri {

namespace {
constexpr int kPreviewSize = 128;
constexpr int kNumberFontSize = 5;
}  // namespace

void DrawIldaPreviewFrame(TCanvas& canvas, const TILDAframe& frame, int number) {
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Brush.Color = clBlack;
  canvas.FillRect(0, 0, kPreviewSize, kPreviewSize);
  canvas.Pen.Style = TPenStyle::Solid;
  bool first = true;
  for (const PointRecord& p : frame.points) {
    const int x = (p.x + 128) / 2, y = (128 - p.y) / 2;
    canvas.Pen.Color = IldaColorToTColor(p.colour);
    if (first || p.blanked)
      canvas.MoveTo(x, y);
    else
      canvas.LineTo(x, y);
    first = false;
  }
  canvas.Brush.Style = TBrushStyle::Clear;
  canvas.Font.Color = clWhite;
  canvas.Font.Size = kNumberFontSize;
  canvas.TextOut(0, 0, std::to_string(number));
}

void TIldaPreviewAnimation::Load(const std::string& path, bool fromStart) {
  if (FileExists(path)) file_.Open(path);
  if (fromStart) index_ = 0;
}

const TILDAframe* TIldaPreviewAnimation::Tick(int& number) {
  if (!on_ || file_.FrameCount() == 0) return nullptr;
  index_ %= FrameCount();
  std::string error;
  if (!file_.ReadFrame(static_cast<size_t>(index_), frame_, &error)) {
    // Said once: the animation stops, keeping the picture it showed last.
    on_ = false;
    Dialogs().ShowMessage(error, TMessageKind::Error);
    return nullptr;
  }
  number = ++index_;
  return &frame_;
}

}  // namespace kavri
