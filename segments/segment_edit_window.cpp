#include "segments/segment_edit_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "editor/editor_window.h"
#include "engine/play_threads.h"
#include "engine/render.h"
#include "engine/section_file.h"
#include "engine/shared_state.h"
#include "platform/dialog_service.h"
#include "platform/file_io.h"
#include "platform/program_folder.h"
#include "segments/segment_play_loop.h"
#include "segments/segment_play_state.h"
#include "segments/segment_preview.h"
#include "shell/error_guard.h"
#include "shell/play_commands.h"
#include "shell/window_registry.h"

namespace kavri {

TForm5* Form5 = nullptr;

namespace {

constexpr int kRowPreviewDivisor = 2;
constexpr int kNameColumnWidth = 126;
constexpr int kRowNumberFontSize = 5;

// The grid shows the start of a long cell, far more than its column can show; the editor opens
// with the whole text from the segment. So a segment of long rows is not held a second time, at
// twice its size, in the grid's texts.
constexpr qsizetype kShownCellChars = 256;

QString ShownCell(TSharedCellTexts& texts, const std::string& text) {
  if (text.size() <= static_cast<size_t>(kShownCellChars)) return texts.Text(text);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(std::min<size_t>(text.size(), 4 * kShownCellChars)))
      .left(kShownCellChars);
}
constexpr std::chrono::milliseconds kSegmentTickFirst{100}, kSegmentPreviewFirst{50};
constexpr std::chrono::milliseconds kDrawingTimersFirst{300};
constexpr std::chrono::milliseconds kPreviewRepeat{1};

struct TSliderSpec {
  char letter;
  const char* caption;
  const char* name;
  int min, max, initial;
  const char* label;
};

constexpr TSliderSpec kSliders[] = {
    {'B', "B All speed", "skinTrackBar1", 0, 100, 50, "Label16"},
    {'C', "C Rotate", "TrackBar2", 0, 180, 0, "Label10"},
    {'D', "D SlowDraw", "TrackBar5", 0, 40, 0, "Label15"},
    {'E', "E H_stretch", "TrackBar10", 0, 40, 0, "Label49"},
    {'F', "F V_stretch", "TrackBar7", 0, 40, 0, "Label45"},
    {'G', "G H_rotate", "TrackBar4", 0, 40, 0, "Label12"},
    {'H', "H V_rotate", "TrackBar3", 0, 40, 0, "Label11"},
    {'I', "I H_move", "TrackBar8", 0, 40, 0, "Label41"},
    {'J', "J V_move", "TrackBar9", 0, 40, 0, "Label37"},
    {'L', "L Size", "TrackBar6", 0, 40, 20, "Label52"},
    {'M', "M  Locate Angle", "skinTrackBar2", 0, 360, 0, "Label57"},
    {'N', "N Change color speed", "skinTrackBar3", 0, 40, 30, "Label61"},
    {'Q', "Q Horizontal offset", "skinTrackBar4", -255, 255, 0, "Label32"},
    {'R', "R Vertical offset", "skinTrackBar5", -255, 255, 0, "Label64"},
};

std::atomic<int32_t>& LiveValue(char letter) {
  TSegmentLiveEffects& e = SegmentLiveEffects;
  switch (letter) {
    case 'B': return e.B;
    case 'C': return e.C;
    case 'D': return e.D;
    case 'E': return e.E;
    case 'F': return e.F;
    case 'G': return e.G;
    case 'H': return e.H;
    case 'I': return e.I;
    case 'J': return e.J;
    case 'L': return e.L;
    case 'M': return e.M;
    case 'N': return e.N;
    case 'Q': return e.Q;
    default: return e.R;
  }
}

}  // namespace

TForm5::TForm5(QWidget* parent) : QWidget(parent) {
  setObjectName("Form5");
  setWindowTitle(kCaption);
  auto* layout = new QVBoxLayout(this);
  skinMainMenu1 = new TWindowMenuBar(this, SegmentEditorMenuTexts());
  layout->setMenuBar(skinMainMenu1);

  layout->addWidget(BuildRunToolBar(this));

  auto* body = new QHBoxLayout;
  auto* lists = new QVBoxLayout;
  FileListBox1 = new TFileListBox(this);
  FileListBox1->setObjectName("FileListBox1");
  FileListBox1->Files().SetMask("*.ddr");
  FileListBox2 = new TFileListBox(this);
  FileListBox2->setObjectName("FileListBox2");
  FileListBox2->Files().SetMask("*.sec");
  skinButton1 = MakeSkinButton(this, "skinButton1", " Find drawing", 150);
  skinButton2 = MakeSkinButton(this, "skinButton2", "Find segment", 150);
  for (TFileListBox* box : {FileListBox1, FileListBox2}) box->SetBaseWidth(150);
  lists->addWidget(FileListBox1, 1);
  lists->addWidget(skinButton1);
  lists->addWidget(FileListBox2, 1);
  lists->addWidget(skinButton2);
  body->addLayout(lists);

  auto* centre = new QVBoxLayout;
  skinStringGrid1 = new TSkinStringGrid(this);
  skinStringGrid1->setObjectName("skinStringGrid1");
  skinStringGrid1->SetColCount(kSegmentColumns);
  skinStringGrid1->SetFixedCols(0);
  skinStringGrid1->SetFixedRows(1);
  skinStringGrid1->SetRowCount(2);
  skinStringGrid1->SetDefaultColWidth(28);
  skinStringGrid1->SetColWidths(0, kNameColumnWidth);
  skinStringGrid1->SetDefaultRowHeight(20);
  skinStringGrid1->SetOptions(skinStringGrid1->Options() | goEditing | goRowMoving);
  // A cell takes no more than a segment line has room for, so whatever is typed saves and opens.
  skinStringGrid1->SetMaxEditLength(static_cast<int>(kMaxTypedTextChars));
  skinStringGrid1->setMinimumSize(kNameColumnWidth + 18 * 29 + 24, 200);
  centre->addWidget(skinStringGrid1, 1);

  auto* commands = new QGridLayout;
  skinEdit1 = MakeSkinEdit(this, "skinEdit1");
  skinEdit1->setReadOnly(true);
  skinEdit2 = MakeSkinEdit(this, "skinEdit2");
  skinEdit2->setText("100");
  skinEdit2->setMaximumWidth(80);
  BitBtn4 = MakeSkinButton(this, "BitBtn4", "New", 80);
  BitBtn17 = MakeSkinButton(this, "BitBtn17", "Open", 80);
  BitBtn5 = MakeSkinButton(this, "BitBtn5", "Save", 80);
  BitBtn16 = MakeSkinButton(this, "BitBtn16", "Save As", 80);
  BitBtn1 = MakeSkinButton(this, "BitBtn1", "Add", 80);
  BitBtn15 = MakeSkinButton(this, "BitBtn15", "Insert", 80);
  BitBtn2 = MakeSkinButton(this, "BitBtn2", "Remove", 80);
  skinButton3 = MakeSkinButton(this, "skinButton3", "Up", 80);
  skinButton4 = MakeSkinButton(this, "skinButton4", "Down", 80);
  BitBtn28 = MakeSkinButton(this, "BitBtn28", "Play drawing", 100);
  commands->addWidget(skinEdit1, 0, 0, 1, 2);
  commands->addWidget(new QLabel("A Time", this), 0, 2);
  commands->addWidget(skinEdit2, 0, 3);
  int column = 0;
  for (TSkinButton* b : {BitBtn4, BitBtn17, BitBtn5, BitBtn16, BitBtn28}) commands->addWidget(b, 1, column++);
  column = 0;
  for (TSkinButton* b : {BitBtn1, BitBtn15, BitBtn2, skinButton3, skinButton4}) commands->addWidget(b, 2, column++);
  centre->addLayout(commands);
  centre->addLayout(BuildSliders());

  auto* colours = new QHBoxLayout;
  ColourPanels = new TColourModeStrip(this);
  ColourPanels->setObjectName("ColourPanels");
  ColourPanels->setFixedHeight(22);
  Label50 = MakeLabel(this, "Label50", "257");
  colours->addWidget(new QLabel("Color index:", this));
  colours->addWidget(Label50);
  colours->addWidget(ColourPanels, 1);
  centre->addLayout(colours);
  body->addLayout(centre, 1);

  auto* previews = new QVBoxLayout;
  Image1 = MakeBlackImage(this, "Image1", 256);
  Image2 = MakeBlackImage(this, "Image2", 128);
  Label6 = MakeLabel(this, "Label6", "0");
  Label31 = MakeLabel(this, "Label31", "0");
  previews->addWidget(Image1);
  auto* counts = new QGridLayout;
  counts->addWidget(new QLabel("Points:", this), 0, 0);
  counts->addWidget(Label31, 0, 1);
  previews->addLayout(counts);
  previews->addWidget(Image2);
  auto* drawingCount = new QHBoxLayout;
  drawingCount->addWidget(new QLabel("Points:", this));
  drawingCount->addWidget(Label6, 1);
  previews->addLayout(drawingCount);
  previews->addStretch();
  body->addLayout(previews);
  layout->addLayout(body, 1);

  auto* status = new QHBoxLayout;
  Label18 = MakeMessageLabel(this, "Label18");
  status->addWidget(new QLabel("Message:", this));
  status->addWidget(Label18, 1);
  layout->addLayout(status);

  Timer1 = MakePreciseTimer(this, [this] { Timer1Timer(); });
  Timer2 = MakePreciseTimer(this, [this] { Timer2Timer(); });

  TSegmentFileHooks hooks;
  hooks.previewSelectedDrawing = [this] { PreviewSelectedDrawing(); };
  hooks.openDrawingInEditor = [](const std::string& path) { return OpenDrawingInEditor(path); };
  hooks.releaseShownRows = [this] { skinStringGrid1->SetRowCount(2); };
  files_ = std::make_unique<TSegmentFileCommands>(segment_, FileListBox1->Files(), FileListBox2->Files(), hooks);

  auto click = [](TSkinButton* button, std::function<void()> run) {
    button->OnClick = [run = std::move(run)](TSkinCustomButton*) { run(); };
  };
  click(BitBtn4, [this] { RunCommand([this] { files_->New(); }); });
  click(BitBtn17, [this] { RunCommand([this] { OpenSegment(); }); });
  click(BitBtn5, [this] { RunCommand([this] { files_->Save(); }); });
  click(BitBtn16, [this] { RunCommand([this] { files_->SaveAs(); }); });
  click(BitBtn1, [this] { RunCommand([this] { segment_.Add(Controls()); }); });
  click(BitBtn15, [this] { RunCommand([this] { segment_.Insert(Controls()); }); });
  click(BitBtn2, [this] { RunCommand([this] { segment_.Remove(); }); });
  click(skinButton3, [this] { RunCommand([this] { segment_.Up(); }); });
  click(skinButton4, [this] { RunCommand([this] { segment_.Down(); }); });
  click(skinButton1, [this] { RunCommand([this] { files_->FindDrawing(); }); });
  click(skinButton2, [this] { RunCommand([this] { files_->FindSegment(); }); });
  click(BitBtn28, [this] { PlayDrawing(); });

  FileListBox1->OnChange = [this] { PreviewSelectedDrawing(); };
  FileListBox1->OnDblClick = [this] { PlayDrawing(); };
  FileListBox1->OnDeleteKey = [this] { RunCommand([this] { files_->DeleteDrawing(); }); };
  FileListBox2->OnDblClick = [this] { Play(); };
  FileListBox2->OnDeleteKey = [this] { RunCommand([this] { files_->DeleteSegment(); }); };

  skinStringGrid1->OnSelectCell = [this](int, int row, bool&) {
    if (showing_) return;
    segment_.SetRow(row);
    PreviewGridRow(row);
  };
  skinStringGrid1->OnSetEditText = [this](int col, int row, const QString& text) {
    segment_.SetCell(col, row, text.toStdString());
  };
  skinStringGrid1->OnRowMoved = [this](int from, int to) { segment_.MoveRow(from, to); };
  skinStringGrid1->OnGetEditText = [this](int col, int row) { return QString::fromStdString(segment_.Cell(col, row)); };

  ColourPanels->OnChoose = [this](int32_t mode) {
    SegmentColourMode = mode;
    Label50->setNum(mode);
  };
  BuildMenus();
  RegisterSegmentPlayLoops();
}

QLayout* TForm5::BuildSliders() {
  auto* grid = new QGridLayout;
  int i = 0;
  for (const TSliderSpec& spec : kSliders) {
    TSkinTrackBar* bar = MakeSkinTrackBar(this, spec.name, spec.min, spec.max);
    QLabel* value = MakeLabel(this, spec.label);
    value->setMinimumWidth(30);
    const int row = i % 7, col = (i / 7) * 3;
    grid->addWidget(new QLabel(spec.caption, this), row, col);
    grid->addWidget(bar, row, col + 1);
    grid->addWidget(value, row, col + 2);
    Sliders.push_back({spec.letter, bar, value});
    ++i;
  }
  for (size_t k = 0; k < Sliders.size(); ++k) {
    const TEffectSlider& slider = Sliders[k];
    slider.bar->OnChange = [this, slider](QObject*) { SliderChanged(slider); };
    slider.bar->SetPosition(kSliders[k].initial);
    SliderChanged(slider);  // also at a position of 0, which is no change
  }
  return grid;
}

TSkinTrackBar* TForm5::Slider(char letter) const {
  for (const TEffectSlider& s : Sliders)
    if (s.letter == letter) return s.bar;
  return nullptr;
}

void TForm5::SliderChanged(const TEffectSlider& slider) {
  const int position = slider.bar->Position();
  slider.value->setNum(position);
  LiveValue(slider.letter) = position;
}

void TForm5::BuildMenus() {
  TSkinMenu* file = skinMainMenu1->AddOwnMenu("&File");
  file->AddItem("New segment(&N)", [this] { BitBtn4->Click(); });
  file->AddItem("Open segment(&O)", [this] { BitBtn17->Click(); });
  file->AddItem("Save segment(&S)", [this] { BitBtn5->Click(); });
  file->AddItem("Save as segment(&A)", [this] { BitBtn16->Click(); });
  file->AddSeparator();
  file->AddItem("Find drawing(&D)", [this] { skinButton1->Click(); });
  file->AddItem("Find segment(&I)", [this] { skinButton2->Click(); });
  file->AddItem("Refresh drawing list&E)", [this] { files_->RefreshDrawings(); });
  file->AddItem("Refresh segment list(&U)", [this] { files_->RefreshSegments(); });
  file->AddSeparator();
  file->AddItem("Close(&C)", [this] { close(); });

  BuildRunMenu(skinMainMenu1, [this] { Play(); }, [this] { Stop(); });

  TSkinMenu* colour = skinMainMenu1->AddOwnMenu("&Color");
  const std::pair<const char*, int32_t> colourItems[] = {
      {"Original color(Auto)(&A)", 257}, {"Single color alternate (Rnd1)(&Q)", 258},
      {"Mutiple color alternate(Rnd2)(&E)", 259}, {"ambulatory color(Rnd3)(&F)", 260},
      {"Black(&B)", 0}, {"White(&W)", 1}, {"Red(&R)", 2}, {"Yellow(&Y)", 3},
      {"Green(&G)", 4}, {"Cyan(&C)", 5}, {"Blue(&L)", 6}, {"Magenta(&M)", 7}};
  for (const auto& [caption, mode] : colourItems) colour->AddItem(caption, [this, mode] { ColourPanels->Choose(mode); });

  TSkinMenu* help = skinMainMenu1->AddOwnMenu("&Help");
  help->AddItem("About(&A)...", [] { ShowRegisteredWindow("AboutBox"); });

  auto* gridMenu = new TSkinPopupMenu(this);
  gridMenu->AddItem("Remove", [this] { BitBtn2->Click(); });
  gridMenu->AttachTo(skinStringGrid1);
  auto* drawingMenu = new TSkinPopupMenu(this);
  drawingMenu->AddItem("Add", [this] { BitBtn1->Click(); });
  drawingMenu->AddItem("Insert", [this] { BitBtn15->Click(); });
  drawingMenu->AddItem("Play", [this] { PlayDrawing(); });
  drawingMenu->AddItem("Stop", [this] { Stop(); });
  drawingMenu->AddItem("Edit", [this] { RunCommand([this] { files_->EditDrawing(); }); });
  drawingMenu->AddItem("Delete", [this] { RunCommand([this] { files_->DeleteDrawing(); }); });
  drawingMenu->AddItem("Refresh", [this] { files_->RefreshDrawings(); });
  drawingMenu->AttachTo(FileListBox1);
  auto* segmentMenu = new TSkinPopupMenu(this);
  segmentMenu->AddItem("Open", [this] { BitBtn17->Click(); });
  segmentMenu->AddItem("Play", [this] { Play(); });
  segmentMenu->AddItem("Stop", [this] { Stop(); });
  segmentMenu->AddItem("Delete", [this] { RunCommand([this] { files_->DeleteSegment(); }); });
  segmentMenu->AddItem("Refresh", [this] { files_->RefreshSegments(); });
  segmentMenu->AttachTo(FileListBox2);
}

void TForm5::FormCreate() {
  for (TFileListBox* box : {FileListBox1, FileListBox2}) {
    box->Files().SetDirectory(box == FileListBox1 ? DrawingFolder() : SectionFolder());
    if (box->Files().ItemIndex() < 0 && box->Files().Count() > 0) box->Files().SetItemIndex(0);
  }
  SegmentColourMode = ColourModeAuto;
  ShowSegment();
  ShowStatus(segment_.TakeStatus());
  PreviewSelectedDrawing();
}

void TForm5::FormActivate() {
  files_->RefreshDrawings();
  files_->RefreshSegments();
  PreviewSelectedDrawing();
}

bool TForm5::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) FormActivate();
  return QWidget::event(e);
}

TSegmentControls TForm5::Controls() const {
  TSegmentControls c;
  c.drawingName = FileListBox1->Files().SelectedName();
  c.timeText = skinEdit2->text().toStdString();
  c.B = Slider('B')->Position();
  c.C = Slider('C')->Position();
  c.D = Slider('D')->Position();
  c.E = Slider('E')->Position();
  c.F = Slider('F')->Position();
  c.G = Slider('G')->Position();
  c.H = Slider('H')->Position();
  c.I = Slider('I')->Position();
  c.J = Slider('J')->Position();
  c.K = SegmentColourMode;
  c.L = Slider('L')->Position();
  c.M = Slider('M')->Position();
  c.N = Slider('N')->Position();
  c.Q = SegmentLiveEffects.Q;
  c.R = SegmentLiveEffects.R;
  return c;
}

// The model changes whole rows at a time; the grid shows it again afterwards, whatever happened.
// Showing is guarded too: memory running out while the grid is filled is said like any other failure.
void TForm5::RunCommand(const std::function<void()>& command) {
  CommitTypedCells(this);
  Label18->Run(command, [this] { return segment_.TakeStatus(); });
  RunGuarded([this] { ShowSegment(); });
}

// The grid only shows the segment: once a file has opened it lets go of its rows before the new
// ones replace the segment's, so a long segment opened over another is not held a third time in
// the grid's copies, and a refused file leaves the grid as it was.
void TForm5::OpenSegment() {
  if (FileListBox2->Files().ItemIndex() < 0) return;
  if (files_->Open()) Label18->Renewed();
}

void TForm5::ShowSegment() {
  showing_ = true;
  skinStringGrid1->SetRowCount(segment_.RowCount());
  TSharedCellTexts texts;
  for (int row = 0; row < segment_.RowCount(); ++row)
    for (int col = 0; col < kSegmentColumns; ++col) skinStringGrid1->SetCell(col, row, ShownCell(texts, segment_.Cell(col, row)));
  // A long name widened the column; one that holds only short names again is as narrow as it was.
  skinStringGrid1->SetColWidths(0, kNameColumnWidth);
  skinStringGrid1->SetRow(segment_.CurrentRow());
  showing_ = false;
  skinEdit1->setText(QString::fromStdString(segment_.SegmentName()));
}

void TForm5::ShowStatus(const std::string& text) { Label18->Say(text); }

void TForm5::ShowDrawingPreview(const QImage& bitmap, size_t points) {
  Image2->setPixmap(QPixmap::fromImage(bitmap.copy(0, 0, 128, 128)));
  Label6->setNum(static_cast<int>(points));
}

void TForm5::PreviewSelectedDrawing() {
  const std::string path = FileListBox1->Files().SelectedPath();
  if (path.empty()) return;
  if (FileExists(path)) LoadDrawingFile(path, selectedDrawing_, 1);
  TCanvas canvas(playBitmap_);
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Brush.Color = clBlack;
  canvas.FillRect(0, 0, 128, 128);
  for (const auto& object : selectedDrawing_.Objects()) DrawPointLists(canvas, *object, 0, kRowPreviewDivisor);
  ShowDrawingPreview(playBitmap_, selectedDrawing_.PointCount());
}

void TForm5::PreviewGridRow(int row) {
  const std::optional<std::string> path = files_->RowDrawingPath(row);
  if (!path || !LoadDrawingFile(*path, rowDrawing_, 1)) return;
  rowBitmap_.fill(Qt::black);
  TCanvas canvas(rowBitmap_);
  for (const auto& object : rowDrawing_.Objects()) DrawPointLists(canvas, *object, 0, kRowPreviewDivisor);
  canvas.Brush.Style = TBrushStyle::Clear;
  canvas.Font.Color = clWhite;
  canvas.Font.Size = kRowNumberFontSize;
  canvas.TextOut(0, 0, std::to_string(row));
  ShowDrawingPreview(rowBitmap_, rowDrawing_.PointCount());
}

// Stops whatever plays and waits for it; false (said in the status line) when it would not end.
bool TForm5::StopRunning() {
  return StopPlaying([this](const std::string& text) { Label18->Note(text); });
}

void TForm5::StartTimers(std::chrono::milliseconds tickFirst, std::chrono::milliseconds previewFirst) {
  run_ = PlayController().RunNumber();
  Timer1->start(tickFirst);
  Timer2->start(previewFirst);
}

void TForm5::Play() {
  const std::string path = FileListBox2->Files().SelectedPath();
  if (path.empty() || !StopRunning()) return;
  TakeRunFlags();
  if (!FileExists(path)) return;
  bool loaded = false;
  std::string error;
  if (!RunGuarded([&] { loaded = LoadSectionFile(path, SegmentPlayRows, ProgramFolder(), &error); })) return;
  if (!loaded) {
    if (!error.empty()) ShowStandardError(error);
    return;
  }
  ShowStatus("Segment palying start...");
  SegmentPreviewMode = 0;
  PlayTickFlag.Clear();
  if (!PlayController().StartPlayJob(kPlayJobSegment)) return;
  StartTimers(kSegmentTickFirst, kSegmentPreviewFirst);
}

void TForm5::PlayDrawing() {
  if (FileListBox1->Files().ItemIndex() < 0 || !StopRunning()) return;
  TakeRunFlags();
  PlayDrawingList = EmptyPlayDrawing();
  if (selectedDrawing_.Count() == 0) return;
  ShowStatus("Drawing playing start...");
  PlayDrawingList = std::make_shared<const TPlayDrawing>(TPlayDrawing::FromDrawing(selectedDrawing_));
  SegmentPreviewMode = 1;
  PlayTickFlag.Clear();
  if (!PlayController().StartPlayJob(kPlayJobSelectedDrawing)) return;
  StartTimers(kDrawingTimersFirst, kDrawingTimersFirst);
}

void TForm5::Stop() { PlayController().RequestStop(); }

void TForm5::Timer1Timer() {
  Timer1->setInterval(kSegmentTickInterval);
  PlayTickFlag.Raise();
}

void TForm5::Timer2Timer() {
  Timer2->stop();
  Timer2->setInterval(kPreviewRepeat);
  // A run another window started is not ours to end or to report.
  if (!PlayController().RunIsCurrent(run_)) {
    Timer1->stop();
    return;
  }
  const bool segment = SegmentPreviewMode == 0;
  if (!segment) Label31->setNum(RowPointTotal.load());
  const bool running = WorkerRunningFlag;
  if ((segment || running) && PreviewDirtyFlag.exchange(false)) {
    playBitmap_.fill(Qt::black);
    TCanvas canvas(playBitmap_);
    TPreviewFrame frame;
    frame.values = SegmentEffectState.Read();
    frame.output = TOutputSettings::Live();
    frame.colourMode = SegmentColourMode;
    if (segment) {
      Label31->setNum(RowPointTotal.load());
      if (const TSectionRecord* row = SegmentPreviewRow()) {
        frame.effects = SegmentRowEffects(*row);
        frame.colourRule = TColourRule::PictureRowAuto;
        DrawPlayPreview(canvas, *row->drawing, frame);
        canvas.Brush.Style = TBrushStyle::Clear;
        canvas.Font.Color = clWhite;
        canvas.Font.Size = kRowNumberFontSize;
        canvas.TextOut(0, 0, std::to_string(SegmentRowIndex.load() + 1));
      }
    } else {
      frame.effects = SegmentLiveEffects.Read();
      DrawPlayPreview(canvas, *PlayDrawingList, frame);
    }
    Image1->setPixmap(QPixmap::fromImage(playBitmap_));
  }
  if (!running) {
    Timer1->stop();
    PlayTickFlag.Clear();
    ShowStatus(segment ? "Segment playend." : "Drawing play end.");
    return;
  }
  Timer2->start();
}

TForm5::~TForm5() {
  Timer1->stop();
  Timer2->stop();
  // The loops read the rows and the played drawing: they must have ended before those go.
  if (PlayController().StopAndWait() == TStopResult::Stopped) {
    SegmentPlayRows.clear();
    PlayDrawingList = EmptyPlayDrawing();
  }
  if (Form5 == this) Form5 = nullptr;
}

}  // namespace kavri
