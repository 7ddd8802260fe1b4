// Track bars, scroll bars, progress bars and tool bars for the screenshot panel.
#include <QPainter>
#include <QPolygon>
#include <QScrollBar>

#include "skin/image_list.h"
#include "skin/memo.h"
#include "skin/progress_bar.h"
#include "skin/scroll_bar.h"
#include "skin/skin_button.h"
#include "skin/skin_edit.h"
#include "skin/tool_bar.h"
#include "skin/track_bar.h"
#include "skin/up_down.h"
#include "tests/skin/screenshot_panel.h"

using namespace kavri;

namespace {

int FillTrackBars(QWidget* area, TSkinUIStyle style) {
  int y = 0;
  for (int value : {0, 35, 100}) {
    auto* bar = new TSkinTrackBar(area);
    bar->SetUIStyle(style);
    bar->setGeometry(0, y, 200, bar->height());
    bar->SetPosition(value);
    y += bar->height() + 4;
  }
  for (int i = 0; i < 2; ++i) {
    auto* bar = new TSkinTrackBar(area);
    bar->SetUIStyle(style);
    bar->SetOrientation(TSkinProgressBarOrientation::skinVertical);
    bar->setGeometry(220 + i * 40, 0, bar->width(), 90);
    bar->SetPosition(i == 0 ? 20 : 80);
  }
  return std::max(y, 90);
}

int FillScrollBars(QWidget* area, TSkinUIStyle style) {
  auto* v = new TSkinScrollBar(area);
  v->SetUIStyle(style);
  v->setGeometry(0, 0, v->width(), 120);
  v->SetPageSize(30);
  v->SetPosition(40);
  auto* h = new TSkinScrollBar(area);
  h->SetUIStyle(style);
  h->SetOrientation(TSkinProgressBarOrientation::skinHorizontal);
  h->setGeometry(30, 0, 200, h->height());
  h->SetLineButton(30);
  h->SetPosition(70);
  kavri_test::SimulateMouseOn(h->BtnInc());
  kavri_test::SimulatePressed(v->BtnDec());

  auto* memo = new TSkinMemo(area);
  memo->setGeometry(30, 30, 200, 90);
  memo->SetBorderColor(GetThemeColor(style, 8));
  QStringList lines;
  for (int i = 1; i <= 40; ++i) lines << QString("Memo line %1 with attached skinned bars").arg(i);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo->setPlainText(lines.join('\n'));
  auto* mv = new TSkinScrollBar(area);
  mv->SetUIStyle(style);
  auto* mh = new TSkinScrollBar(area);
  mh->SetUIStyle(style);
  memo->SetVScrollBar(mv);
  memo->SetHScrollBar(mh);
  memo->verticalScrollBar()->setValue(10);
  return 122;
}

int FillProgressBars(QWidget* area, TSkinUIStyle style) {
  int y = 0;
  for (int value : {0, 30, 100, 150}) {
    auto* bar = new TSkinProgressBar(area);
    bar->SetUIStyle(style);
    bar->setGeometry(0, y, 200, bar->height());
    bar->SetPosition(value);
    y += bar->height() + 4;
  }
  auto* vertical = new TSkinProgressBar(area);
  vertical->SetUIStyle(style);
  vertical->SetOrientation(TSkinProgressBarOrientation::skinVertical);
  vertical->setGeometry(220, 0, vertical->width(), y - 4);
  vertical->SetPosition(65);
  return y;
}

QImage ToolIcons() {
  QImage strip(64, 16, QImage::Format_ARGB32);
  strip.fill(Qt::transparent);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(QColor(0, 140, 0));
  p.setPen(Qt::NoPen);
  p.drawPolygon(QPolygon({QPoint(3, 2), QPoint(13, 8), QPoint(3, 14)}));
  p.setBrush(QColor(180, 0, 0));
  p.drawRect(19, 3, 10, 10);
  p.setBrush(QColor(0, 0, 160));
  p.drawRect(35, 3, 3, 10);
  p.drawRect(41, 3, 3, 10);
  p.setPen(QPen(QColor(60, 60, 60), 2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(51, 3, 10, 10);
  return strip;
}

int FillToolBars(QWidget* area, TSkinUIStyle style) {
  static TImageList icons = [] {
    TImageList list(16, 16);
    list.Add(ToolIcons());
    return list;
  }();
  auto* bar = new TSkinToolBar(area);
  bar->SetUIStyle(style);
  bar->SetImages(&icons);
  bar->SetShowCaptions(true);
  bar->SetButtonSize(44, 38);
  bar->setGeometry(0, 0, 300, 42);
  TSkinToolButton* play = bar->AddButton("Play", 0);
  TSkinToolButton* stop = bar->AddButton("Stop", 1);
  bar->AddButton(QString(), -1, TToolButtonStyle::tbsSeparator);
  TSkinToolButton* pause = bar->AddButton("Pause", 2, TToolButtonStyle::tbsCheck);
  TSkinToolButton* loop = bar->AddButton("Loop", 3, TToolButtonStyle::tbsCheck);
  TSkinToolButton* off = bar->AddButton("Off", 0);
  off->setEnabled(false);
  play->SetHint(QString::fromUtf8("播放"));
  kavri_test::SimulateMouseOn(play);      // hot
  kavri_test::SimulatePressed(stop);      // hot and pressed
  pause->SetDown(true);                   // checked, mouse elsewhere
  (void)loop;                             // standard
  return 42;
}

// Up-downs beside a field as the windows use them, then normal, hot, pressed and disabled alone.
int FillUpDowns(QWidget* area, TSkinUIStyle style) {
  auto* edit = new TSkinEdit(area);
  edit->setGeometry(0, 0, 40, 21);
  edit->setText("12");
  auto* beside = new TUpDown(area);
  beside->SetUIStyle(style);
  beside->setGeometry(40, 0, 16, 21);
  for (int i = 0; i < 4; ++i) {
    auto* upDown = new TUpDown(area);
    upDown->SetUIStyle(style);
    upDown->setGeometry(80 + i * 30, 0, 16, 24);
    if (i == 1) kavri_test::SimulateMouseOn(upDown->BtnUp());
    if (i == 2) kavri_test::SimulatePressed(upDown->BtnDown());
    if (i == 3) upDown->setEnabled(false);
  }
  return 26;
}

const bool kTrack = kavri_test::AddPanelSection(40, "Track bars", FillTrackBars);
const bool kScroll = kavri_test::AddPanelSection(45, "Scroll bars, memo with attached bars", FillScrollBars);
const bool kUpDown = kavri_test::AddPanelSection(47, "Up-downs: beside a field, normal, hot, pressed, disabled", FillUpDowns);
const bool kProgress = kavri_test::AddPanelSection(50, "Progress bars", FillProgressBars);
const bool kTool = kavri_test::AddPanelSection(55, "Tool bar: hot, pressed, checked, standard, disabled", FillToolBars);

}  // namespace
