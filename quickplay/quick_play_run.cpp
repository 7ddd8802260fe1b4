// The Quick play window's Play and Stop, its frame clock and its play preview.
#include <algorithm>

#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "quickplay/quick_play_loops.h"
#include "quickplay/quick_play_preview.h"
#include "quickplay/quick_play_window.h"
#include "quickplay/text_roll_outlines.h"
#include "quickplay/text_roll_state.h"
#include "shell/error_guard.h"

namespace kavri {

namespace {

constexpr std::chrono::milliseconds kTimersFirst{100};
constexpr std::chrono::milliseconds kDrawingTick{10}, kTextTick{10};
constexpr std::chrono::milliseconds kDrawingPreviewRepeat{5};
constexpr std::chrono::milliseconds kShortestRepeat{1};  // a 2 ms frame interval halves to 1, not 0
constexpr int kFrameNumberFontSize = 5;

const char* const kEndTexts[kPlayModeCount] = {"Drawing play end.", "ILDA image play end.", "Text play end."};

// The strokes the preview walk gave, each in its own colour, on the black bitmap.
void PaintPreviewPoints(TCanvas& canvas, const std::vector<TQuickPreviewPoint>& points) {
  canvas.Pen.Style = TPenStyle::Solid;
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Brush.Color = clBlack;
  for (const TQuickPreviewPoint& p : points) {
    canvas.Pen.Color = p.colour;
    switch (p.stroke) {
      case TPreviewStroke::MoveTo: canvas.MoveTo(p.x, p.y); break;
      case TPreviewStroke::LineTo: canvas.LineTo(p.x, p.y); break;
      case TPreviewStroke::Dot:
        canvas.MoveTo(p.x, p.y);
        canvas.Ellipse(p.x - 1, p.y - 1, p.x + 1, p.y + 1);
        break;
      case TPreviewStroke::LargeDot:
        canvas.MoveTo(p.x, p.y);
        canvas.Ellipse(p.x - 2, p.y - 2, p.x + 2, p.y + 2);
        break;
    }
  }
}

}  // namespace

bool TForm4::PrepareMode(int mode, uint8_t& job) {
  TQuickPlayStart start;
  switch (mode) {
    case QuickPlayDrawing:
      job = kPlayJobDrawing;
      start = PrepareDrawingPlay(FileListBox1->Files().SelectedPath());
      break;
    case QuickPlayIld:
      job = kPlayJobIlda;
      start = PrepareIldaPlay(FileListBox2->Files().SelectedPath());
      break;
    default: {
      const QString text = skinMemo1->toPlainText();
      const bool vertical = skinCheckBox4->Checked();
      job = vertical ? kPlayJobRollTextVertical : kPlayJobRollText;
      start = vertical ? PrepareVerticalTextRoll(text, font_) : PrepareTextRoll(text, font_);
      break;
    }
  }
  if (!start.status.empty()) ShowStatus(start.status);
  return start.start;
}

void TForm4::Play() {
  if (!StopPlaying([this](const std::string& text) { ShowStatus(text); })) return;
  // The stopped run's end is not told: the message line says what this Play does instead.
  Timer1->stop();
  Timer2->stop();
  running_ = false;
  const int mode = std::max(0, skinRadioGroup1->ItemIndex());
  QuickPlayMode = mode;
  TakeRunFlags();
  uint8_t job = kPlayJobNone;
  bool ready = false;
  RunGuarded([&] { ready = PrepareMode(mode, job); });
  if (!ready) return;
  QuickPlayTickFlag.Clear();
  if (!PlayController().StartPlayJob(job)) return;
  run_ = PlayController().RunNumber();
  running_ = true;
  Timer1->start(kTimersFirst);
  Timer2->start(kTimersFirst);
}

void TForm4::Stop() { PlayController().RequestStop(); }

void TForm4::Timer1Timer() {
  switch (QuickPlayMode.load()) {
    case QuickPlayIld: Timer1->setInterval(std::max(1, FrameInterval.load())); break;
    case QuickPlayText: Timer1->setInterval(kTextTick); break;
    default: Timer1->setInterval(kDrawingTick); break;
  }
  QuickPlayTickFlag.Raise();
}

void TForm4::Timer2Timer() {
  Timer2->stop();
  const int mode = QuickPlayMode;
  // Another window's Play ended our run: its loop is not ours to show, but our end is.
  if (!PlayController().RunIsCurrent(run_)) return EndOfRun(mode);
  Timer2->setInterval(mode == QuickPlayDrawing ? kDrawingPreviewRepeat
                                               : std::max(kShortestRepeat, Timer1->intervalAsDuration() / 2));
  if (mode != QuickPlayIld) Label1->setNum(QuickPlayPointTotal.load());
  const bool running = WorkerRunningFlag;
  if (running && PreviewDirtyFlag.exchange(false)) DrawPlayPreview();
  if (running) return Timer2->start();
  QuickPlayTickFlag.Clear();
  EndOfRun(mode);
}

void TForm4::EndOfRun(int mode) {
  Timer1->stop();
  if (running_) ShowStatus(kEndTexts[std::clamp(mode, 0, kPlayModeCount - 1)]);
  running_ = false;
}

void TForm4::DrawPlayPreview() {
  const int mode = QuickPlayMode;
  const TQuickPreview preview = QuickPlayPreview(mode);
  playBitmap_.fill(Qt::black);
  TCanvas canvas(playBitmap_);
  if (mode == QuickPlayText)
    PaintPreviewPoints(canvas, QuickPlayPreviewPoints(*TextRollFrameSnapshot()));
  else
    PaintPreviewPoints(canvas, preview.points);
  if (mode == QuickPlayIld) {
    Label1->setNum(preview.framePoints);
    if (preview.frameNumber > 0) {
      canvas.Brush.Style = TBrushStyle::Clear;
      canvas.Font.Color = clWhite;
      canvas.Font.Size = kFrameNumberFontSize;
      canvas.TextOut(0, 0, std::to_string(preview.frameNumber));
    }
  }
  Image1->setPixmap(QPixmap::fromImage(playBitmap_));
}

TForm4::~TForm4() {
  Timer1->stop();
  Timer2->stop();
  Timer3->stop();
  // The loops read the play lists: they must have ended before those go.
  if (PlayController().StopAndWait() == TStopResult::Stopped) {
    QuickPlayDrawingList = EmptyPlayDrawing();
    QuickPlayIldaFrames = EmptyIldaPlayFrames();
    TextCharOutlines = EmptyPlayDrawing();
  }
  if (Form4 == this) Form4 = nullptr;
}

}  // namespace kavri
