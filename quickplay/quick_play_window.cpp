#include "quickplay/quick_play_window.h"

#include <QCloseEvent>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "platform/dialog_service.h"
#include "platform/program_folder.h"
#include "quickplay/quick_play_loops.h"
#include "quickplay/quick_play_state.h"
#include "quickplay/text_roll_loop.h"
#include "shell/error_guard.h"
#include "shell/play_commands.h"
#include "shell/window_registry.h"
#include "skin/folder_browser.h"
#include "skin/skin_menu.h"

namespace kavri {

TForm4* Form4 = nullptr;

namespace {

constexpr int kScanRateMin = 25, kScanRateMax = 225, kScanRateInitial = 150;
constexpr int kPointsPerSecondStep = 200;

struct TSliderSpec {
  const char* caption;
  const char* name;
  int min, max;
  const char* label;
  std::atomic<int32_t> TQuickPlayEffects::*live;
};

constexpr TSliderSpec kSliders[] = {
    {"All speed", "skinTrackBar1", 0, 100, "Label16", &TQuickPlayEffects::AllSpeed},
    {"Rotation", "TrackBar2", 0, 180, "Label10", &TQuickPlayEffects::Rotation},
    {"Slow-Draw", "TrackBar5", 0, 40, "Label15", &TQuickPlayEffects::SlowDraw},
    {"H stretch", "TrackBar10", 0, 40, "Label49", &TQuickPlayEffects::HStretch},
    {"V stretch", "TrackBar7", 0, 40, "Label45", &TQuickPlayEffects::VStretch},
    {"H rotate", "TrackBar4", 0, 40, "Label12", &TQuickPlayEffects::HRotate},
    {"V ratate", "TrackBar3", 0, 40, "Label11", &TQuickPlayEffects::VRotate},
    {"H move", "TrackBar8", 0, 40, "Label41", &TQuickPlayEffects::HMove},
    {"V move", "TrackBar9", 0, 40, "Label37", &TQuickPlayEffects::VMove},
    {"Szie", "TrackBar6", 0, 40, "Label52", &TQuickPlayEffects::Size},
    {"ch Color speed", "skinTrackBar3", 0, 40, "Label61", &TQuickPlayEffects::ColourSpeed},
    {"Loc angle", "skinTrackBar2", 0, 360, "Label57", &TQuickPlayEffects::LocAngle},
    {"rolling step", "skinTrackBar4", 0, 64, "Label31", &TQuickPlayEffects::RollStep},
    {"stay time", "skinTrackBar5", 0, 100, "Label64", &TQuickPlayEffects::StayTime},
    {"rows or columns", "skinTrackBar6", 1, 20, "Label68", &TQuickPlayEffects::RowsOrColumns},
    {"width factor", "skinTrackBar8", 1, 20, "Label76", &TQuickPlayEffects::WidthFactor},
    {"height factor", "skinTrackBar7", 1, 20, "Label72", &TQuickPlayEffects::HeightFactor},
};

QLabel* AddImage(QWidget* parent, const char* name, int width, int height) {
  QLabel* image = MakeLabel(parent, name);
  image->setFixedSize(width, height);
  image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return image;
}

QLabel* Caption(QWidget* parent, const QString& text) { return new QLabel(text, parent); }

// Value labels, each after its caption, one a row.
QGridLayout* CaptionedValues(QWidget* parent, std::initializer_list<std::pair<const char*, QLabel*>> rows) {
  auto* grid = new QGridLayout;
  int row = 0;
  for (const auto& [caption, value] : rows) {
    grid->addWidget(Caption(parent, caption), row, 0);
    grid->addWidget(value, row++, 1);
  }
  grid->setColumnStretch(1, 1);
  return grid;
}


}  // namespace

TForm4::TForm4(QWidget* parent) : QWidget(parent) {
  setObjectName("Form4");
  setWindowTitle(kCaption);
  auto* layout = new QVBoxLayout(this);
  skinMainMenu1 = new TWindowMenuBar(this, QuickPlayMenuTexts());
  layout->setMenuBar(skinMainMenu1);

  skinToolBar1 = MakeRunToolBar(this);
  constexpr auto kCheck = TToolButtonStyle::tbsCheck;
  ToolButton1 = AddToolButton(skinToolBar1, "ToolButton1", TRunImage::Play, "播放");
  ToolButton5 = AddToolButton(skinToolBar1, "ToolButton5", TRunImage::Loop, "循环", kCheck);
  ToolButton8 = AddToolButton(skinToolBar1, "ToolButton8", TRunImage::Stop, "停止");
  ToolButton9 = AddToolButton(skinToolBar1, "ToolButton9", TRunImage::HInvert, "水平反向", kCheck);
  ToolButton3 = AddToolButton(skinToolBar1, "ToolButton3", TRunImage::VInvert, "垂直反向", kCheck);
  ToolButton10 = AddToolButton(skinToolBar1, "ToolButton10", TRunImage::Pause, "暂停", kCheck);
  ToolButton2 = AddToolButton(skinToolBar1, "ToolButton2", TRunImage::Settings, "播放设定");
  layout->addWidget(skinToolBar1);

  FileListBox1 = new TFileListBox(this);
  FileListBox1->setObjectName("FileListBox1");
  FileListBox1->Files().SetMask("*.ddr");
  FileListBox1->hide();
  grid_ = std::make_unique<TThumbnailGrid>(FileListBox1->Files());

  auto* body = new QHBoxLayout;
  body->addWidget(BuildGrid());
  body->addWidget(BuildIldaSide());

  auto* play = new QVBoxLayout;
  Image1 = AddImage(this, "Image1", 262, 255);
  playBitmap_.fill(Qt::black);
  Image1->setPixmap(QPixmap::fromImage(playBitmap_));
  play->addWidget(Image1);
  auto* count = new QHBoxLayout;
  Label1 = MakeLabel(this, "Label1", "0");
  count->addWidget(Caption(this, "Points:"));
  count->addWidget(Label1, 1);
  play->addLayout(count);
  skinRadioGroup1 = new TSkinRadioGroup(this);
  skinRadioGroup1->setObjectName("skinRadioGroup1");
  skinRadioGroup1->SetUIStyle(kShellStyle);
  skinRadioGroup1->SetCaption("Play mode");
  skinRadioGroup1->SetItems({"Drawing", "ILD file", "Text"});
  skinRadioGroup1->SetColumns(3);
  skinRadioGroup1->setFixedHeight(44);
  skinRadioGroup1->SetItemIndex(0);
  play->addWidget(skinRadioGroup1);
  skinMemo1 = new TSkinMemo(this);
  skinMemo1->setObjectName("skinMemo1");
  skinMemo1->setPlainText("Text");
  skinMemo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  skinMemo1->setFixedHeight(66);
  skinMemo1->installEventFilter(this);
  skinMemo1->viewport()->installEventFilter(this);
  // Lines do not wrap, so a long one needs the horizontal bar as much as many lines the vertical.
  skinScrollBar1 = new TSkinScrollBar(this);
  skinScrollBar2 = new TSkinScrollBar(this);
  skinScrollBar1->setObjectName("skinScrollBar1");
  skinScrollBar2->setObjectName("skinScrollBar2");
  for (TSkinScrollBar* bar : {skinScrollBar1, skinScrollBar2}) bar->SetUIStyle(kShellStyle);
  skinMemo1->SetVScrollBar(skinScrollBar1);
  skinMemo1->SetHScrollBar(skinScrollBar2);
  play->addWidget(skinMemo1);
  auto* textControls = new QHBoxLayout;
  skinButton1 = MakeSkinButton(this, "skinButton1", "Font", 60);
  skinCheckBox4 = MakeSkinCheckBox(this, "skinCheckBox4", "vetical roll");
  skinCheckBox5 = MakeSkinCheckBox(this, "skinCheckBox5", "Large Size");
  skinCheckBox3 = MakeSkinCheckBox(this, "skinCheckBox3", "Point draw");
  skinCheckBox3->hide();
  textControls->addWidget(skinButton1);
  textControls->addWidget(skinCheckBox4);
  textControls->addWidget(skinCheckBox5);
  textControls->addStretch();
  play->addLayout(textControls);
  play->addStretch();
  body->addLayout(play);
  layout->addLayout(body);

  auto* controls = new QHBoxLayout;
  controls->addLayout(BuildSliders(), 1);
  layout->addLayout(controls);
  layout->addLayout(BuildScanRate());

  ColourPanels = new TColourModeStrip(this);
  ColourPanels->setObjectName("ColourPanels");
  ColourPanels->setFixedHeight(22);
  ColourPanels->Choose(ColourModeAuto);
  ColourPanels->OnChoose = [](int32_t mode) { QuickPlayColourMode = mode; };
  layout->addWidget(ColourPanels);

  Timer1 = MakePreciseTimer(this, [this] { Timer1Timer(); });
  Timer2 = MakePreciseTimer(this, [this] { Timer2Timer(); });
  Timer3 = MakePreciseTimer(this, [this] { Timer3Timer(); });
  Timer3->setInterval(kIldaPreviewInterval);

  skinCheckBox3->OnClick = [this](TSkinCustomButton*) { QuickPlayEffects.PointDraw = skinCheckBox3->Checked(); };
  skinCheckBox5->OnClick = [this](TSkinCustomButton*) { QuickPlayLargeSize = skinCheckBox5->Checked(); };
  skinRadioGroup1->OnClick = [this] { SetPlayMode(skinRadioGroup1->ItemIndex()); };
  skinButton1->OnClick = [this](TSkinCustomButton*) {
    if (const std::optional<TFontChoice> chosen = Dialogs().ChooseFont(font_)) font_ = *chosen;
  };
  BuildMenus();
  RegisterQuickPlayLoops();
  RegisterTextRollLoops();
}

QWidget* TForm4::BuildGrid() {
  auto* box = new QWidget(this);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);
  auto* tiles = new QGridLayout;
  tiles->setSpacing(2);
  auto* tileMenu = new TSkinPopupMenu(this);
  tileMenu->setObjectName("skinPopupMenu1");
  tileMenu->AddItem("Play", [this] { Play(); });
  tileMenu->AddItem("Stop", [this] { Stop(); });
  tileMenu->AddItem("Edit", [this] { EditSelectedDrawing(); });
  for (int t = 0; t < kTilesPerPage; ++t) {
    auto* tile = new TThumbnailTile(box);
    tile->setObjectName(QString("Image%1").arg(4 + t));
    tile->OnClick = [this, t] { TileClick(t); };
    tile->OnDblClick = [this] { Play(); };
    tileMenu->AttachTo(tile);
    tiles->addWidget(tile, t / kTileColumns, t % kTileColumns);
    Tiles[t] = tile;
  }
  column->addLayout(tiles);

  auto* pages = new QHBoxLayout;
  skinButton4 = MakeSkinButton(box, "skinButton4", "<<", 40);
  skinButton5 = MakeSkinButton(box, "skinButton5", ">>", 40);
  skinButton6 = MakeSkinButton(box, "skinButton6", "refresh", 70);
  skinButton2 = MakeSkinButton(box, "skinButton2", "Find", 60);
  Label87 = MakeLabel(box, "Label87", "1");
  Label86 = MakeLabel(box, "Label86", "1");
  pages->addWidget(MakeLabel(box, "Label84", "Page:"));
  pages->addWidget(Label87);
  pages->addWidget(MakeLabel(box, "Label85", "/"));
  pages->addWidget(Label86);
  pages->addStretch();
  for (TSkinButton* b : {skinButton4, skinButton5, skinButton6, skinButton2}) pages->addWidget(b);
  column->addLayout(pages);
  Label94 = MakeElidedLabel(box, "Label94", "None");
  Label29 = MakeLabel(box, "Label29", "00000");
  column->addLayout(CaptionedValues(box, {{"FileName:", Label94}, {"PointCount:", Label29}}));
  column->addStretch();

  auto click = [](TSkinButton* button, std::function<void()> run) {
    button->OnClick = [run = std::move(run)](TSkinCustomButton*) { RunGuarded(run); };
  };
  click(skinButton4, [this] { PreviousPage(); });
  click(skinButton5, [this] { NextPage(); });
  click(skinButton6, [this] { RefreshDrawings(); });
  click(skinButton2, [this] { FindDrawing(); });
  return box;
}

QWidget* TForm4::BuildIldaSide() {
  auto* box = new QWidget(this);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);
  DriveComboBox1 = MakeSkinComboBox(box, "DriveComboBox1");
  DirectoryListBox1 = new TSkinListBox(box);
  DirectoryListBox1->setObjectName("DirectoryListBox1");
  FileListBox2 = new TFileListBox(box);
  FileListBox2->setObjectName("FileListBox2");
  FileListBox2->Files().SetMask("*.ild");
  FileListBox2->installEventFilter(this);
  skinButton3 = MakeSkinButton(box, "skinButton3", "Find", 60);
  skinCheckBox1 = MakeSkinCheckBox(box, "skinCheckBox1", "ILD preview");
  Image3 = AddImage(box, "Image3", 128, 128);
  ildaBitmap_.fill(Qt::black);
  Image3->setPixmap(QPixmap::fromImage(ildaBitmap_));
  Label6 = MakeLabel(box, "Label6", "0");
  Label24 = MakeLabel(box, "Label24");
  DriveComboBox1->setFixedWidth(160);
  for (TSkinListBox* box : {DirectoryListBox1, static_cast<TSkinListBox*>(FileListBox2)}) box->SetBaseWidth(160);
  column->addWidget(DriveComboBox1);
  column->addWidget(DirectoryListBox1, 1);
  column->addWidget(FileListBox2, 2);
  auto* find = new QHBoxLayout;
  find->addWidget(skinButton3);
  find->addWidget(skinCheckBox1);
  column->addLayout(find);
  column->addWidget(Image3);
  // One row for both, for the height of the window (see the message line).
  auto* counts = new QHBoxLayout;
  counts->addWidget(Caption(box, "Points:"));
  counts->addWidget(Label6);
  counts->addSpacing(12);
  counts->addWidget(Caption(box, "Size:"));
  counts->addWidget(Label24, 1);
  column->addLayout(counts);

  auto* ildaMenu = new TSkinPopupMenu(this);
  ildaMenu->setObjectName("skinPopupMenu2");
  ildaMenu->AddItem("Play", [this] { Play(); });
  ildaMenu->AddItem("Stop", [this] { Stop(); });
  ildaMenu->AddItem("Preview", [this] {
    preview_.SetOn(true);
    ShowSelectedIldaSize();
    ReadSelectedIlda();
  });
  ildaMenu->AddItem("Stop Preview", [this] { preview_.SetOn(false); });
  ildaMenu->AddItem("Edit");
  ildaMenu->AddItem("Refresh", [this] { RefreshIldas(); });
  ildaMenu->AttachTo(FileListBox2);

  skinButton3->OnClick = [this](TSkinCustomButton*) { RunGuarded([this] { FindIlda(); }); };
  skinCheckBox1->OnClick = [this](TSkinCustomButton*) { SetIldPreview(skinCheckBox1->Checked()); };
  FileListBox2->OnChange = [this] { RunGuarded([this] { FileListBox2Change(); }); };
  FileListBox2->OnDblClick = [this] {
    if (FileListBox2->Files().ItemIndex() >= 0) Play();
  };
  FileListBox2->OnDeleteKey = [this] { RunGuarded([this] { DeleteIlda(); }); };
  connect(DriveComboBox1, &QComboBox::activated, this,
          [this](int index) { BrowseIldaFolder(DriveComboBox1->itemData(index).toString().toStdString()); });
  connect(DirectoryListBox1, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { BrowseIldaFolder(item->data(Qt::UserRole).toString().toStdString()); });
  return box;
}

QLayout* TForm4::BuildSliders() {
  auto* grid = new QGridLayout;
  grid->setVerticalSpacing(0);
  constexpr int kRows = 6;
  int i = 0;
  for (const TSliderSpec& spec : kSliders) {
    TSkinTrackBar* bar = MakeSkinTrackBar(this, spec.name, spec.min, spec.max);
    QLabel* value = MakeLabel(this, spec.label);
    value->setMinimumWidth(28);
    const int row = i % kRows, col = (i / kRows) * 3;
    grid->addWidget(Caption(this, spec.caption), row, col);
    grid->addWidget(bar, row, col + 1);
    grid->addWidget(value, row, col + 2);
    Sliders.push_back({bar, value, &(QuickPlayEffects.*spec.live)});
    ++i;
  }
  for (const TEffectSlider& slider : Sliders) {
    auto changed = [slider](QObject*) {
      const int position = slider.bar->Position();
      slider.value->setNum(position);
      *slider.live = position;
    };
    slider.bar->OnChange = changed;
    slider.bar->SetPosition(slider.live->load());
    changed(nullptr);  // also at the minimum, which is no change
  }
  return grid;
}

QLayout* TForm4::BuildScanRate() {
  auto* row = new QHBoxLayout;
  skinTrackBar9 = MakeSkinTrackBar(this, "skinTrackBar9", kScanRateMin, kScanRateMax);
  skinTrackBar9->SetPosition(kScanRateInitial);
  Label92 = MakeLabel(this, "Label92", QString::number(kScanRateInitial * kPointsPerSecondStep));
  skinTrackBar9->setFixedWidth(300);
  Label92->setMinimumWidth(50);
  row->addWidget(Caption(this, "Scan rate"));
  row->addSpacing(20);
  row->addWidget(Caption(this, QString::number(kScanRateMin * kPointsPerSecondStep)));
  row->addWidget(skinTrackBar9);
  row->addWidget(Caption(this, QString::number(kScanRateMax * kPointsPerSecondStep)));
  row->addSpacing(20);
  row->addWidget(Caption(this, "Points per second:"));
  row->addWidget(Label92);
  // The message line ends the row rather than taking one of its own, so that on a screen of 768
  // lines the window is cut only in width and its bottom row never lies under the scroll bar.
  row->addSpacing(20);
  Label18 = MakeMessageLabel(this, "Label18", "ready");
  row->addWidget(Caption(this, "Message:"));
  row->addWidget(Label18, 1);
  // Connected after the start position, so opening the window keeps the settings' scan delay.
  skinTrackBar9->OnChange = [this](QObject*) {
    const int position = skinTrackBar9->Position();
    ScanDelay = static_cast<uint8_t>(kScanRateMax - position);
    Label92->setNum(position * kPointsPerSecondStep);
  };
  return row;
}

TSkinTrackBar* TForm4::Slider(const char* name) const {
  for (const TEffectSlider& s : Sliders)
    if (s.bar->objectName() == name) return s.bar;
  return nullptr;
}

void TForm4::BuildMenus() {
  TSkinMenu* file = skinMainMenu1->AddOwnMenu("&File");
  const char* modeCaptions[kPlayModeCount] = {"Drawing(&D)", "ILD file(&I)", "Text(&T)"};
  for (int mode = 0; mode < kPlayModeCount; ++mode) {
    ModeItems[mode] = file->AddItem(modeCaptions[mode], [this, mode] { SetPlayMode(mode); });
    ModeItems[mode]->setCheckable(true);
  }
  ModeItems[0]->setChecked(true);
  file->AddSeparator();
  file->AddItem("Find drawing(&D)", [this] { RunGuarded([this] { FindDrawing(); }); });
  file->AddItem("Refresh drawing list(&E)", [this] { RunGuarded([this] { RefreshDrawings(); }); });
  file->AddItem("Find ILD(&I)", [this] { RunGuarded([this] { FindIlda(); }); });
  file->AddItem("Refresh ILD list(&U)", [this] { RunGuarded([this] { RefreshIldas(); }); });
  IldPreviewItem = file->AddCheckItem("Enable ILD Preview(&P)", [this](bool on) { SetIldPreview(on); });
  file->AddSeparator();
  file->AddItem("Close(&C)", [this] { close(); });

  BuildRunMenu(skinMainMenu1, [this] { Play(); }, [this] { Stop(); });

  TSkinMenu* colour = skinMainMenu1->AddOwnMenu("&Color");
  const std::pair<const char*, int32_t> colourItems[] = {
      {"Original  color (Auto)(&A)", ColourModeAuto}, {"Signal color alternate (Rnd1)(&Q)", 258},
      {"Mutiple color alternate(Rnd2)(&E)", 259}, {"Ambulatory color(Rnd3)(&F)", 260},
      {"Black(&B)", 0}, {"White(&W)", 1}, {"Red(&R)", 2}, {"Yellow(&Y)", 3},
      {"Green(&G)", 4}, {"Cyan(&C)", 5}, {"Blue(&L)", 6}, {"Magenta(&M)", 7}};
  for (const auto& [caption, mode] : colourItems) colour->AddItem(caption, [this, mode] { ColourPanels->Choose(mode); });

  TSkinMenu* help = skinMainMenu1->AddOwnMenu("&Help");
  help->AddItem("About(&A)...", [] { ShowRegisteredWindow("AboutBox"); });
}

void TForm4::FormCreate() {
  QuickPlayColourMode = ColourModeAuto;
  skinCheckBox5->SetChecked(QuickPlayLargeSize != 0);
  FileListBox1->Files().SetDirectory(DrawingFolder());
  grid_->Reset();
  ShowPage();
  ShowSelection();
  FillDriveBox(DriveComboBox1);
  BrowseIldaFolder(IldaFolder());
}

void TForm4::FormActivate() {
  skinTrackBar9->SetPosition(kScanRateMax - ScanDelay);
  Label92->setNum(skinTrackBar9->Position() * kPointsPerSecondStep);
  Timer3->start();
}

bool TForm4::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) FormActivate();
  return QWidget::event(e);
}

bool TForm4::eventFilter(QObject* watched, QEvent* e) {
  // Only entering the control chooses its mode: focus that merely comes back when a popup menu
  // closes (the tile popup's Play) or the window is activated again must not undo a tile's choice.
  if (e->type() == QEvent::FocusIn) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
      if (watched == skinMemo1) SetPlayMode(QuickPlayText);
      if (watched == FileListBox2) SetPlayMode(QuickPlayIld);
    }
  }
  if (e->type() == QEvent::MouseButtonDblClick && watched == skinMemo1->viewport() &&
      !skinMemo1->toPlainText().trimmed().isEmpty())
    Play();
  return QWidget::eventFilter(watched, e);
}

void TForm4::closeEvent(QCloseEvent* e) {
  Timer3->stop();
  QWidget::closeEvent(e);
}

void TForm4::SetPlayMode(int mode) {
  if (mode < 0 || mode >= kPlayModeCount) return;
  if (skinRadioGroup1->ItemIndex() != mode) skinRadioGroup1->SetItemIndex(mode);
  for (int m = 0; m < kPlayModeCount; ++m) ModeItems[m]->setChecked(m == mode);
}

}  // namespace kavri
