#include "shows/show_edit_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "editor/editor_window.h"
#include "engine/colour_modes.h"
#include "engine/play_threads.h"
#include "engine/render.h"
#include "platform/dialog_service.h"
#include "platform/file_io.h"
#include "platform/program_folder.h"
#include "skin/folder_browser.h"
#include "shell/error_guard.h"
#include "shell/ilda_preview_tick.h"
#include "shell/window_registry.h"

namespace kavri {

TForm8* Form8 = nullptr;

namespace {

constexpr int kDrawingPreviewDivisor = 2;
constexpr int kDrawingPreviewSize = 128;
constexpr int kNameColumnWidth = 142;
constexpr int kTimeColumnWidth = 46;
constexpr int kListWidth = 150;

const char* const kGridNames[TShowGridModel::kTrackCount] = {"SskinStringGrid1", "SskinStringGrid2", "SskinStringGrid3"};

}  // namespace

TForm8::TForm8(QWidget* parent) : QWidget(parent) {
  setObjectName("Form8");
  setWindowTitle(kCaption);
  auto* layout = new QVBoxLayout(this);
  skinMainMenu1 = new TWindowMenuBar(this, ShowEditorMenuTexts());
  layout->setMenuBar(skinMainMenu1);

  layout->addWidget(BuildRunToolBar(this));

  auto* body = new QHBoxLayout;
  body->addLayout(BuildLists());
  body->addLayout(BuildEditing(), 1);
  body->addLayout(BuildPreviews());
  layout->addLayout(body, 1);

  ColourPanels = new TColourModeStrip(this);
  ColourPanels->setObjectName("ColourPanels");
  ColourPanels->setFixedHeight(22);
  layout->addWidget(ColourPanels);

  auto* status = new QHBoxLayout;
  Label18 = MakeMessageLabel(this, "Label18", "Ready");
  status->addWidget(new QLabel("Message:", this));
  status->addWidget(Label18, 1);
  layout->addLayout(status);

  Timer3 = new QTimer(this);
  Timer3->setTimerType(Qt::PreciseTimer);
  Timer3->setInterval(kIldPreviewInterval);
  connect(Timer3, &QTimer::timeout, this, [this] { Timer3Timer(); });

  TShowFileHooks hooks;
  hooks.previewSelectedDrawing = [this] { PreviewSelectedDrawing(); };
  hooks.ildaFound = [this] {
    if (skinCheckBox1->Checked()) PreviewSelectedIld(true);
  };
  hooks.ildaDeleted = [this] {
    if (ildPreview_.On()) PreviewSelectedIld(true);
  };
  hooks.openDrawingInEditor = [](const std::string& path) { return OpenDrawingInEditor(path); };
  files_ = std::make_unique<TShowFileCommands>(
      show_, TShowFileLists{&FileListBox1->Files(), &FileListBox2->Files(), &FileListBox3->Files(), &FileListBox4->Files()},
      hooks);

  auto click = [](TSkinButton* button, std::function<void()> run) {
    button->OnClick = [run = std::move(run)](TSkinCustomButton*) { run(); };
  };
  click(BitBtn4, [this] { RunCommand([this] { files_->New(); }); });
  click(BitBtn17, [this] { RunCommand([this] {
          if (files_->Open()) Label18->Renewed();
        }); });
  click(BitBtn5, [this] { RunCommand([this] { files_->Save(); }); });
  click(BitBtn16, [this] { RunCommand([this] { files_->SaveAs(); }); });
  click(BitBtn1, [this] { RunCommand([this] { show_.Add(files_->SelectedDrawing()); }); });
  click(BitBtn15, [this] { RunCommand([this] { show_.Insert(files_->SelectedDrawing()); }); });
  click(skinButton7, [this] { RunCommand([this] { show_.Add(files_->SelectedSegment()); }); });
  click(skinButton8, [this] { RunCommand([this] { show_.Insert(files_->SelectedSegment()); }); });
  click(skinButton5, [this] { RunCommand([this] { show_.Add(files_->SelectedIlda()); }); });
  click(skinButton6, [this] { RunCommand([this] { show_.Insert(files_->SelectedIlda()); }); });
  click(BitBtn2, [this] { RunCommand([this] { show_.Remove(); }); });
  click(skinButton9, [this] { RunCommand([this] { show_.Up(); }); });
  click(skinButton10, [this] { RunCommand([this] { show_.Down(); }); });
  click(skinButton1, [this] { RunCommand([this] { files_->FindDrawing(); }); });
  click(skinButton2, [this] { RunCommand([this] { files_->FindSegment(); }); });
  click(skinButton3, [this] { RunCommand([this] { files_->FindIlda(); }); });
  click(skinButton4, [this] { RunCommand([this] { files_->FindMusic(); }); });

  skinEdit2->OnChange = [this] { show_.SetDefaultTime(skinEdit2->text().toStdString()); };
  skinEdit3->OnChange = [this] {
    if (!showing_) show_.SetMusic(skinEdit3->text().toStdString());
  };
  skinRadioGroup1->OnClick = [this] { show_.SetEditTrack(skinRadioGroup1->ItemIndex()); };
  skinCheckBox1->OnClick = [this](TSkinCustomButton*) {
    const TFileList& ildas = FileListBox3->Files();
    if (ildas.Count() > 0 && ildas.ItemIndex() >= 0) PreviewSelectedIld(skinCheckBox1->Checked());
  };

  FileListBox1->OnChange = [this] { PreviewSelectedDrawing(); };
  FileListBox1->OnDblClick = [this] { BitBtn1->Click(); };
  FileListBox1->OnDeleteKey = [this] { RunCommand([this] { files_->DeleteDrawing(); }); };
  FileListBox2->OnDblClick = [this] { skinButton7->Click(); };
  FileListBox2->OnDeleteKey = [this] { RunCommand([this] { files_->DeleteSegment(); }); };
  FileListBox3->OnChange = [this] { IldListChanged(); };
  FileListBox3->OnDblClick = [this] { skinButton5->Click(); };
  FileListBox3->OnDeleteKey = [this] { RunCommand([this] { files_->DeleteIlda(); }); };
  FileListBox4->OnDblClick = [this] { Play(); };
  FileListBox4->OnDeleteKey = [this] { RunCommand([this] { files_->DeleteShow(); }); };

  ColourPanels->OnChoose = [this](int32_t mode) {
    if (runner_) runner_->ColourModeChosen(mode);
  };
  BuildMenus();
  BuildPopups();
}

QLayout* TForm8::BuildLists() {
  auto* lists = new QVBoxLayout;
  auto addList = [&](const char* name, const char* mask, TSkinButton* find) {
    auto* box = new TFileListBox(this);
    box->setObjectName(name);
    box->Files().SetMask(mask);
    box->SetBaseWidth(kListWidth);
    lists->addWidget(box, 1);
    if (find) lists->addWidget(find);
    return box;
  };
  skinButton1 = MakeSkinButton(this, "skinButton1", "Find drawing", kListWidth);
  skinButton2 = MakeSkinButton(this, "skinButton2", "Find segment", kListWidth);
  skinButton3 = MakeSkinButton(this, "skinButton3", "Find ILD", kListWidth);
  FileListBox1 = addList("FileListBox1", "*.ddr", skinButton1);
  FileListBox2 = addList("FileListBox2", "*.sec", skinButton2);
  FileListBox3 = addList("FileListBox3", "*.ild", skinButton3);
  skinCheckBox1 = MakeSkinCheckBox(this, "skinCheckBox1", "PreviewILD");
  lists->addWidget(skinCheckBox1);
  lists->addWidget(new QLabel("Show:", this));
  FileListBox4 = addList("FileListBox4", "*.SEQ", nullptr);
  return lists;
}

TSkinStringGrid* TForm8::MakeTrackGrid(int track) {
  auto* grid = new TSkinStringGrid(this);
  grid->setObjectName(kGridNames[track]);
  grid->SetColCount(2);
  grid->SetFixedCols(0);
  grid->SetFixedRows(1);
  grid->SetRowCount(2);
  grid->SetDefaultRowHeight(20);
  grid->SetColWidths(0, kNameColumnWidth);
  grid->SetColWidths(1, kTimeColumnWidth);
  grid->SetOptions(grid->Options() | goEditing | goRowMoving);
  // A cell, like the music field, takes no more than a show line has room for.
  grid->SetMaxEditLength(static_cast<int>(kMaxTypedTextChars));
  grid->setMinimumSize(kNameColumnWidth + kTimeColumnWidth + 24, 260);
  grid->OnSelectCell = [this, track](int, int row, bool&) {
    if (!showing_) show_.Track(track).SetRow(row);
  };
  grid->OnSetEditText = [this, track](int col, int row, const QString& text) {
    show_.Track(track).SetCell(col, row, text.toStdString());
  };
  grid->OnRowMoved = [this, track](int from, int to) { show_.Track(track).MoveRow(from, to); };
  grid->OnClick = [this, track] { ChooseEditTrack(track); };
  grid->OnEnter = [this, track] { ChooseEditTrack(track); };
  grids_[static_cast<size_t>(track)] = grid;
  return grid;
}

QLayout* TForm8::BuildEditing() {
  auto* editing = new QVBoxLayout;
  auto* tracks = new QHBoxLayout;
  SskinStringGrid1 = MakeTrackGrid(0);
  SskinStringGrid2 = MakeTrackGrid(1);
  SskinStringGrid3 = MakeTrackGrid(2);
  for (int t = 0; t < TShowGridModel::kTrackCount; ++t) {
    auto* column = new QVBoxLayout;
    column->addWidget(new QLabel(QString("Track%1").arg(t + 1), this));
    column->addWidget(Grid(t), 1);
    tracks->addLayout(column);
  }
  editing->addLayout(tracks, 1);

  skinRadioGroup1 = new TSkinRadioGroup(this);
  skinRadioGroup1->setObjectName("skinRadioGroup1");
  skinRadioGroup1->SetUIStyle(kShellStyle);
  skinRadioGroup1->SetCaption("Edit track");
  skinRadioGroup1->SetColumns(3);
  skinRadioGroup1->SetItems({"Track1", "Track2", "Track3"});
  skinRadioGroup1->SetItemIndex(0);
  skinRadioGroup1->setFixedHeight(48);
  editing->addWidget(skinRadioGroup1);

  auto* rows = new QGridLayout;
  BitBtn1 = MakeSkinButton(this, "BitBtn1", "Add drawing");
  BitBtn15 = MakeSkinButton(this, "BitBtn15", "Insert drawing");
  skinButton7 = MakeSkinButton(this, "skinButton7", "Add segment");
  skinButton8 = MakeSkinButton(this, "skinButton8", "Insert segment");
  skinButton5 = MakeSkinButton(this, "skinButton5", "Add ILD");
  skinButton6 = MakeSkinButton(this, "skinButton6", "Insert ILD");
  BitBtn2 = MakeSkinButton(this, "BitBtn2", "Remove");
  skinButton9 = MakeSkinButton(this, "skinButton9", "Up");
  skinButton10 = MakeSkinButton(this, "skinButton10", "Down");
  // Add above Insert for each kind; Up above Down.
  TSkinButton* const places[2][5] = {{BitBtn1, skinButton7, skinButton5, BitBtn2, skinButton9},
                                     {BitBtn15, skinButton8, skinButton6, nullptr, skinButton10}};
  for (int row = 0; row < 2; ++row)
    for (int column = 0; column < 5; ++column)
      if (places[row][column]) rows->addWidget(places[row][column], row, column);
  editing->addLayout(rows);

  auto* fields = new QGridLayout;
  skinEdit1 = MakeSkinEdit(this, "skinEdit1");
  skinEdit1->setReadOnly(true);
  skinEdit2 = MakeSkinEdit(this, "skinEdit2");
  skinEdit2->setText("100");
  skinEdit2->setMaximumWidth(80);
  skinEdit3 = MakeSkinEdit(this, "skinEdit3");
  skinEdit3->setMaxLength(static_cast<int>(kMaxTypedTextChars));
  skinButton4 = MakeSkinButton(this, "skinButton4", "Find", 60);
  fields->addWidget(new QLabel("Show name:", this), 0, 0);
  fields->addWidget(skinEdit1, 0, 1);
  fields->addWidget(new QLabel("Default time:", this), 0, 2);
  fields->addWidget(skinEdit2, 0, 3);
  fields->addWidget(new QLabel("Music file:", this), 1, 0);
  fields->addWidget(skinEdit3, 1, 1, 1, 3);
  fields->addWidget(skinButton4, 1, 4);
  editing->addLayout(fields);

  auto* files = new QHBoxLayout;
  BitBtn4 = MakeSkinButton(this, "BitBtn4", "New");
  BitBtn17 = MakeSkinButton(this, "BitBtn17", "Open");
  BitBtn5 = MakeSkinButton(this, "BitBtn5", "Save");
  BitBtn16 = MakeSkinButton(this, "BitBtn16", "Save as");
  for (TSkinButton* b : {BitBtn4, BitBtn17, BitBtn5, BitBtn16}) files->addWidget(b);
  files->addStretch();
  editing->addLayout(files);
  return editing;
}

QLayout* TForm8::BuildPreviews() {
  auto* previews = new QVBoxLayout;
  Image1 = MakeBlackImage(this, "Image1", 256);
  Label31 = MakeLabel(this, "Label31", "0");
  Image2 = MakeBlackImage(this, "Image2", kDrawingPreviewSize);
  Label29 = MakeLabel(this, "Label29", "0");
  Image3 = MakeBlackImage(this, "Image3", ildBitmap_.width());
  Label6 = MakeLabel(this, "Label6", "0");
  Label5 = MakeLabel(this, "Label5");
  ildBitmap_.fill(Qt::black);
  drawingBitmap_.fill(Qt::black);

  previews->addWidget(Image1);
  auto* live = new QHBoxLayout;
  live->addWidget(new QLabel("Points:", this));
  live->addWidget(Label31, 1);
  previews->addLayout(live);
  auto* small = new QGridLayout;
  small->addWidget(Image2, 0, 0, 1, 2);
  small->addWidget(new QLabel("PointCount:", this), 1, 0);
  small->addWidget(Label29, 1, 1);
  small->addWidget(Image3, 0, 2, 1, 2);
  small->addWidget(new QLabel("Points:", this), 1, 2);
  small->addWidget(Label6, 1, 3);
  small->addWidget(new QLabel("Size:", this), 2, 2);
  small->addWidget(Label5, 2, 3);
  previews->addLayout(small);
  previews->addStretch();
  return previews;
}

void TForm8::BuildMenus() {
  TSkinMenu* file = skinMainMenu1->AddOwnMenu("&File");
  file->AddItem("New show(&D)", [this] { BitBtn4->Click(); });
  file->AddItem("Open show(&O)", [this] { BitBtn17->Click(); });
  file->AddItem("Save show(&S)", [this] { BitBtn5->Click(); });
  file->AddItem("Save as show(&A)", [this] { BitBtn16->Click(); });
  file->AddSeparator();
  file->AddItem("Find drawing(&D)", [this] { skinButton1->Click(); });
  file->AddItem("Find ILD(&I)", [this] { skinButton3->Click(); });
  file->AddItem("Find segment(&W)", [this] { skinButton2->Click(); });
  file->AddSeparator();
  file->AddItem("Refresh drawing list(&E)", [this] { FileListBox1->Files().Refresh(); });
  file->AddItem("Refresh image list(&U)", [this] { RunCommand([this] { FileListBox3->Files().Refresh(); }); });
  file->AddItem("Refresh segment list(&E)", [this] { FileListBox2->Files().Refresh(); });
  file->AddSeparator();
  file->AddItem("Close(&C)", [this] { close(); });

  BuildRunMenu(skinMainMenu1, [this] { Play(); }, [this] { Stop(); });

  TSkinMenu* colour = skinMainMenu1->AddOwnMenu("&Color");
  const std::pair<const char*, int32_t> colourItems[] = {
      {"Black(&B)", 0}, {"White(&W)", 1}, {"Red(&R)", 2}, {"Yellow(&Y)", 3}, {"Green(&G)", 4}, {"Cyan(&C)", 5},
      {"Blue(&L)", 6}, {"Magenta(&M)", 7}, {"Original color(Auto)(&A)", 257},
      {"Single color alternate(Rnd1)(&Q)", 258}, {"Mutiple color alternate(Rnd2)(&E)", 259},
      {"Ambulatory color(Rnd3)(&F)", 260}};
  for (const auto& [caption, mode] : colourItems) colour->AddItem(caption, [this, mode] { ColourPanels->Choose(mode); });

  TSkinMenu* help = skinMainMenu1->AddOwnMenu("&Help");
  help->AddItem("关于(&A)...", [] { ShowRegisteredWindow("AboutBox"); });
}

void TForm8::BuildPopups() {
  auto* gridMenu = new TSkinPopupMenu(this);
  gridMenu->AddItem("Remove", [this] { BitBtn2->Click(); });
  for (TSkinStringGrid* grid : grids_) gridMenu->AttachTo(grid);

  auto* drawingMenu = new TSkinPopupMenu(this);
  drawingMenu->AddItem("Add drawing", [this] { BitBtn1->Click(); });
  drawingMenu->AddItem("Insert drawing", [this] { BitBtn15->Click(); });
  drawingMenu->AddItem("Edit drawing", [this] { RunCommand([this] { files_->EditDrawing(); }); });
  drawingMenu->AddItem("Refresh", [this] { FileListBox1->Files().Refresh(); });
  drawingMenu->AddItem("Delete", [this] { RunCommand([this] { files_->DeleteDrawing(); }); });
  drawingMenu->AttachTo(FileListBox1);

  auto* segmentMenu = new TSkinPopupMenu(this);
  segmentMenu->AddItem("Add segment", [this] { skinButton7->Click(); });
  segmentMenu->AddItem("Insert segment", [this] { skinButton8->Click(); });
  segmentMenu->AddItem("Refresh list", [this] { FileListBox2->Files().Refresh(); });
  segmentMenu->AddItem("Delete", [this] { RunCommand([this] { files_->DeleteSegment(); }); });
  segmentMenu->AttachTo(FileListBox2);

  auto* ildMenu = new TSkinPopupMenu(this);
  ildMenu->AddItem("Add ILD", [this] { skinButton5->Click(); });
  ildMenu->AddItem("Insert ILD", [this] { skinButton6->Click(); });
  ildMenu->AddItem("Preview ILD", [this] { PreviewSelectedIld(true); });
  ildMenu->AddItem("Stop preview", [this] { ildPreview_.SetOn(false); });
  ildMenu->AddItem("Refresh", [this] { RunCommand([this] { FileListBox3->Files().Refresh(); }); });
  ildMenu->AddItem("Delete", [this] { RunCommand([this] { files_->DeleteIlda(); }); });
  ildMenu->AttachTo(FileListBox3);

  auto* showMenu = new TSkinPopupMenu(this);
  showMenu->AddItem("Open", [this] { BitBtn17->Click(); });
  showMenu->AddItem("Play", [this] { Play(); });
  showMenu->AddItem("Refresh list", [this] { FileListBox4->Files().Refresh(); });
  showMenu->AddItem("Delete", [this] { RunCommand([this] { files_->DeleteShow(); }); });
  showMenu->AttachTo(FileListBox4);
}

void TForm8::FormCreate() {
  const std::pair<TFileListBox*, std::string> folders[] = {
      {FileListBox1, DrawingFolder()}, {FileListBox2, SectionFolder()}, {FileListBox3, IldaFolder()},
      {FileListBox4, SequenceFolder()}};
  for (const auto& [box, folder] : folders) {
    box->Files().SetDirectory(folder);
    if (box->Files().ItemIndex() < 0 && box->Files().Count() > 0) box->Files().SetItemIndex(0);
  }
  ColourPanels->Choose(ColourModeAuto);
  ShowTracks();
  Label18->Say(show_.TakeStatus());
  PreviewSelectedDrawing();
  IldListChanged();
}

void TForm8::FormActivate() { Timer3->start(); }

bool TForm8::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) FormActivate();
  return QWidget::event(e);
}

void TForm8::hideEvent(QHideEvent* e) {
  Timer3->stop();
  QWidget::hideEvent(e);
}

void TForm8::SetShowRunner(std::unique_ptr<TShowRunner> runner) {
  if (runner_) runner_->Stop();
  runner_ = std::move(runner);
  if (runner_) runner_->ColourModeChosen(ColourPanels->Mode());
}

void TForm8::Play() {
  if (runner_) runner_->Play();
}

void TForm8::Stop() {
  if (runner_)
    runner_->Stop();
  else
    PlayController().StopAndWait();
}

void TForm8::ChooseEditTrack(int track) {
  show_.SetEditTrack(track);
  skinRadioGroup1->SetItemIndex(track);
}

// The model changes whole rows at a time; the grids show it again afterwards, whatever happened.
void TForm8::RunCommand(const std::function<void()>& command) {
  CommitTypedCells(this);
  Label18->Run(command, [this] { return show_.TakeStatus(); });
  ShowTracks();
  // Find and Delete move the image list's selection without a change event.
  ShowSelectedFileSize(FileListBox3->Files(), Label5, FileListBox3);
}

void TForm8::ShowTracks() {
  showing_ = true;
  for (int t = 0; t < TShowGridModel::kTrackCount; ++t) {
    const TShowTrackGrid& track = show_.Track(t);
    TSkinStringGrid* grid = Grid(t);
    grid->SetRowCount(track.RowCount());
    TSharedCellTexts texts;
    for (int row = 0; row < track.RowCount(); ++row)
      for (int col = 0; col < 2; ++col) grid->SetCell(col, row, texts.Text(track.Cell(col, row)));
    grid->SetRow(track.CurrentRow());
    // A long name widens its column past the grid; the names stay in view, and a column that
    // holds only short names again is as narrow as it was.
    grid->SetColWidths(0, kNameColumnWidth);
    grid->SetLeftCol(0);
  }
  skinEdit1->setText(QString::fromStdString(show_.ShowName()));
  skinEdit3->setText(QString::fromStdString(show_.Music()));
  skinRadioGroup1->SetItemIndex(show_.EditTrack());
  showing_ = false;
}

void TForm8::PreviewSelectedDrawing() {
  const std::string path = FileListBox1->Files().SelectedPath();
  if (path.empty()) return;
  if (FileExists(path)) LoadDrawingFile(path, previewDrawing_, 1);
  drawingBitmap_.fill(Qt::black);
  TCanvas canvas(drawingBitmap_);
  for (const auto& object : previewDrawing_.Objects()) DrawPointLists(canvas, *object, 0, kDrawingPreviewDivisor);
  Image2->setPixmap(QPixmap::fromImage(drawingBitmap_.copy(0, 0, kDrawingPreviewSize, kDrawingPreviewSize)));
  Label29->setNum(static_cast<int>(previewDrawing_.PointCount()));
}

void TForm8::IldListChanged() {
  const TFileList& ildas = FileListBox3->Files();
  if (ildas.ItemIndex() < 0) return;
  ShowSelectedFileSize(ildas, Label5, FileListBox3);
  PreviewSelectedIld(skinCheckBox1->Checked());
}

// Turned on, the selected image is shown from its first frame; turned off, the last frame drawn
// stays. Without a selection nothing changes.
void TForm8::PreviewSelectedIld(bool on) {
  const std::string path = FileListBox3->Files().SelectedPath();
  if (path.empty()) return;
  ildPreview_.SetOn(on);
  if (on) ildPreview_.Load(path);
}

void TForm8::Timer3Timer() {
  ShowNextIldaPreviewFrame(ildPreview_, ildBitmap_, Image3, Label6);
}

TForm8::~TForm8() {
  Timer3->stop();
  Stop();
  runner_.reset();
  if (Form8 == this) Form8 = nullptr;
}

}  // namespace kavri
