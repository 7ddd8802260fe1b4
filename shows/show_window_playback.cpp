#include "shows/show_window_playback.h"

#include <QPixmap>

#include "shows/show_edit_window.h"
#include "shows/show_track_state.h"

namespace kavri {

TShowWindowPlayback::TShowWindowPlayback(TForm8& window)
    : window_(window),
      playback_({[this](const std::string& text) { Say(text); },
                 [this](const std::vector<TPreviewPoint>& points) { Paint(points); },
                 [this](const std::string& text) { window_.Label18->Note(text); }}) {
  bitmap_.fill(Qt::black);
  // Said as the window's own notice at creation: it stands until something else is said, as no
  // failure of a command is.
  const std::string check = TShowPlayback::PlayerCheckText();
  if (!check.empty()) window_.Label18->Say(check);
}

void TShowWindowPlayback::Play() {
  const TShowRunSwitches switches{window_.ToolButton5->Down(), window_.ToolButton3->Down(),
                                  window_.ToolButton9->Down(), window_.ToolButton10->Down()};
  playback_.Play(window_.FileListBox4->Files().SelectedPath(), switches);
}

void TShowWindowPlayback::Stop() { playback_.Stop(); }

void TShowWindowPlayback::ColourModeChosen(int32_t mode) { ShowColourMode = mode; }

void TShowWindowPlayback::Say(const std::string& text) { window_.Label18->Say(text); }

void TShowWindowPlayback::Paint(const std::vector<TPreviewPoint>& points) {
  bitmap_.fill(Qt::black);
  TCanvas canvas(bitmap_);
  PaintPreviewPoints(canvas, points);
  window_.Label31->setNum(static_cast<int>(points.size()));
  window_.Image1->setPixmap(QPixmap::fromImage(bitmap_));
}

}  // namespace kavri
