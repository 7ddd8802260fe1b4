#include "segments/converter_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "engine/render.h"
#include "platform/dialog_service.h"
#include "platform/file_io.h"
#include "platform/program_folder.h"
#include "segments/file_list_commands.h"
#include "shell/error_guard.h"
#include "shell/ilda_preview_tick.h"
#include "shell/main_window.h"
#include "shell/window_registry.h"
#include "skin/folder_browser.h"
#include "skin/skin_menu.h"

namespace kavri {

TForm9* Form9 = nullptr;

namespace {

constexpr int kDrawingPreviewDivisor = 2;
constexpr int kPreviewSize = 128;

QLabel* AddImage(QWidget* parent, const char* name) {
  QLabel* image = MakeLabel(parent, name);
  image->setFixedSize(kPreviewSize, kPreviewSize);
  return image;
}

std::string WithoutTrailingSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

// The Delete key of a plain list box.
class TDeleteKeyFilter : public QObject {
 public:
  TDeleteKeyFilter(QObject* parent, std::function<void()> onDelete) : QObject(parent), onDelete_(std::move(onDelete)) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Delete) {
      onDelete_();
      return true;
    }
    return false;
  }

 private:
  std::function<void()> onDelete_;
};

}  // namespace

TForm9::TForm9(QWidget* parent) : QWidget(parent) {
  setObjectName("Form9");
  setWindowTitle(kCaption);
  auto* layout = new QVBoxLayout(this);
  skinMainMenu1 = new TWindowMenuBar(this, ConverterMenuTexts());
  layout->setMenuBar(skinMainMenu1);
  auto* body = new QHBoxLayout;

  // Drawings and the convert list.
  auto* drawings = new QGridLayout;
  FileListBox1 = new TFileListBox(this);
  FileListBox1->setObjectName("FileListBox1");
  FileListBox1->Files().SetMask("*.ddr");
  FileListBox1->SetMultiSelect(true);
  ListBox1 = new TSkinListBox(this);
  ListBox1->setObjectName("ListBox1");
  skinButton1 = MakeSkinButton(this, "skinButton1", "Find drawing", 130);
  BitBtn2 = MakeSkinButton(this, "BitBtn2", "Add", 70);
  BitBtn15 = MakeSkinButton(this, "BitBtn15", "Insert", 70);
  BitBtn1 = MakeSkinButton(this, "BitBtn1", "Remove", 70);
  skinButton5 = MakeSkinButton(this, "skinButton5", "Up", 70);
  skinButton6 = MakeSkinButton(this, "skinButton6", "Down", 70);
  auto* moves = new QVBoxLayout;
  for (TSkinButton* b : {BitBtn2, BitBtn15, BitBtn1, skinButton5, skinButton6}) moves->addWidget(b);
  moves->addStretch();
  drawings->addWidget(new QLabel("Drawing list", this), 0, 0);
  drawings->addWidget(new QLabel("Drawing convert list", this), 0, 2);
  drawings->addWidget(FileListBox1, 1, 0);
  drawings->addLayout(moves, 1, 1);
  drawings->addWidget(ListBox1, 1, 2);
  drawings->addWidget(skinButton1, 2, 0);
  skinEdit1 = MakeSkinEdit(this, "skinEdit1");
  skinEdit1->setText("NewSection");
  skinEdit2 = MakeSkinEdit(this, "skinEdit2");
  skinEdit2->setText("10");
  skinEdit3 = MakeSkinEdit(this, "skinEdit3");
  skinEdit3->setText("NewImage");
  skinButton4 = MakeSkinButton(this, "skinButton4", "Convert list->Segment", 160);
  skinButton9 = MakeSkinButton(this, "skinButton9", "Convert list->ILD", 160);
  auto* listEdits = new QGridLayout;
  listEdits->addWidget(new QLabel("New segment name", this), 0, 0);
  listEdits->addWidget(skinEdit1, 0, 1);
  listEdits->addWidget(new QLabel("Time per frame", this), 1, 0);
  listEdits->addWidget(skinEdit2, 1, 1);
  listEdits->addWidget(skinButton4, 2, 1);
  listEdits->addWidget(new QLabel("New ILD name", this), 3, 0);
  listEdits->addWidget(skinEdit3, 3, 1);
  listEdits->addWidget(skinButton9, 4, 1);
  drawings->addLayout(listEdits, 2, 2, 2, 1);
  Image2 = AddImage(this, "Image2");
  Label29 = MakeLabel(this, "Label29", "0");
  auto* drawingPreview = new QVBoxLayout;
  drawingPreview->addWidget(Image2);
  auto* drawingCount = new QHBoxLayout;
  drawingCount->addWidget(new QLabel("Points:", this));
  drawingCount->addWidget(Label29, 1);
  drawingPreview->addLayout(drawingCount);
  drawings->addLayout(drawingPreview, 3, 0);
  body->addLayout(drawings);

  // Segments.
  auto* segments = new QVBoxLayout;
  FileListBox2 = new TFileListBox(this);
  FileListBox2->setObjectName("FileListBox2");
  FileListBox2->Files().SetMask("*.sec");
  skinButton2 = MakeSkinButton(this, "skinButton2", "Find segment", 130);
  skinButton8 = MakeSkinButton(this, "skinButton8", "Segment->ILD", 130);
  skinButton7 = MakeSkinButton(this, "skinButton7", "Segment<-ILD", 130);
  skinEdit5 = MakeSkinEdit(this, "skinEdit5");
  skinEdit5->setText("10");
  segments->addWidget(new QLabel("Segment list", this));
  segments->addWidget(FileListBox2, 1);
  segments->addWidget(skinButton2);
  segments->addWidget(skinButton8);
  segments->addWidget(skinButton7);
  segments->addWidget(new QLabel("Time per frame", this));
  segments->addWidget(skinEdit5);
  body->addLayout(segments);

  // ILDA files and the merge list.
  auto* ildas = new QGridLayout;
  DriveComboBox1 = MakeSkinComboBox(this, "DriveComboBox1");
  DirectoryListBox1 = new TSkinListBox(this);
  DirectoryListBox1->setObjectName("DirectoryListBox1");
  FileListBox3 = new TFileListBox(this);
  FileListBox3->setObjectName("FileListBox3");
  FileListBox3->Files().SetMask("*.ild");
  FileListBox3->SetMultiSelect(true);
  ListBox2 = new TSkinListBox(this);
  ListBox2->setObjectName("ListBox2");
  ListBox2->setSelectionMode(QAbstractItemView::ExtendedSelection);
  skinButton3 = MakeSkinButton(this, "skinButton3", "Find ILD", 130);
  skinButton10 = MakeSkinButton(this, "skinButton10", "Add", 70);
  skinButton12 = MakeSkinButton(this, "skinButton12", "Insert", 70);
  skinButton11 = MakeSkinButton(this, "skinButton11", "Remove", 70);
  skinButton13 = MakeSkinButton(this, "skinButton13", "Up", 70);
  skinButton14 = MakeSkinButton(this, "skinButton14", "Down", 70);
  skinButton15 = MakeSkinButton(this, "skinButton15", "Clear", 70);
  auto* mergeMoves = new QVBoxLayout;
  for (TSkinButton* b : {skinButton10, skinButton12, skinButton11, skinButton13, skinButton14, skinButton15})
    mergeMoves->addWidget(b);
  mergeMoves->addStretch();
  auto* browse = new QVBoxLayout;
  browse->addWidget(DriveComboBox1);
  browse->addWidget(DirectoryListBox1, 1);
  browse->addWidget(FileListBox3, 2);
  browse->addWidget(skinButton3);
  ildas->addWidget(new QLabel("ILDA image list", this), 0, 0);
  ildas->addWidget(new QLabel("Merge image list", this), 0, 2);
  ildas->addLayout(browse, 1, 0);
  ildas->addLayout(mergeMoves, 1, 1);
  ildas->addWidget(ListBox2, 1, 2);
  skinEdit4 = MakeSkinEdit(this, "skinEdit4");
  skinEdit4->setText("newImage");
  skinButton16 = MakeSkinButton(this, "skinButton16", "Merge ILD file", 130);
  skinCheckBox1 = MakeSkinCheckBox(this, "skinCheckBox1", "Preview ILD ");
  Image3 = AddImage(this, "Image3");
  Label6 = MakeLabel(this, "Label6", "0");
  Label5 = MakeLabel(this, "Label5");
  Label15 = MakeLabel(this, "Label15");
  auto* ildaInfo = new QGridLayout;
  ildaInfo->addWidget(skinCheckBox1, 0, 0, 1, 2);
  ildaInfo->addWidget(Image3, 1, 0, 1, 2);
  ildaInfo->addWidget(new QLabel("Points:", this), 2, 0);
  ildaInfo->addWidget(Label6, 2, 1);
  ildaInfo->addWidget(new QLabel("Size:", this), 3, 0);
  ildaInfo->addWidget(Label5, 3, 1);
  ildas->addLayout(ildaInfo, 2, 0);
  auto* mergeInfo = new QGridLayout;
  mergeInfo->addWidget(new QLabel("Size:", this), 0, 0);
  mergeInfo->addWidget(Label15, 0, 1);
  mergeInfo->addWidget(new QLabel("New ILD name", this), 1, 0);
  mergeInfo->addWidget(skinEdit4, 1, 1);
  mergeInfo->addWidget(skinButton16, 2, 1);
  mergeInfo->setRowStretch(3, 1);
  ildas->addLayout(mergeInfo, 2, 2);
  body->addLayout(ildas, 1);
  layout->addLayout(body, 1);

  auto* status = new QHBoxLayout;
  skinButton17 = MakeSkinButton(this, "skinButton17", "Refresh all list", 130);
  Label18 = MakeMessageLabel(this, "Label18", "Message:");
  Label18->SetIdleText("Message:");  // the line is its own caption here
  status->addWidget(skinButton17);
  status->addWidget(Label18, 1);
  layout->addLayout(status);

  for (QImage* bitmap : {&listBitmap_, &convertBitmap_, &ildaBitmap_}) bitmap->fill(Qt::black);
  Image2->setPixmap(QPixmap::fromImage(listBitmap_));
  Image3->setPixmap(QPixmap::fromImage(ildaBitmap_));

  Timer3 = new QTimer(this);
  Timer3->setTimerType(Qt::PreciseTimer);
  Timer3->setInterval(kIldaPreviewInterval);
  connect(Timer3, &QTimer::timeout, this, [this] { Timer3Timer(); });

  auto click = [](TSkinButton* button, std::function<void()> run) {
    button->OnClick = [run = std::move(run)](TSkinCustomButton*) { RunGuarded(run); };
  };
  click(BitBtn2, [this] { AddDrawings(); });
  click(BitBtn15, [this] { InsertDrawings(); });
  click(BitBtn1, [this] { RemoveDrawing(true); });
  click(skinButton5, [this] {
    if (convert_.Up()) ShowList(ListBox1, convert_);
  });
  click(skinButton6, [this] {
    if (convert_.Down()) ShowList(ListBox1, convert_);
  });
  click(skinButton10, [this] { AddIldas(); });
  click(skinButton12, [this] { InsertIldas(); });
  click(skinButton11, [this] { RemoveIldas(); });
  click(skinButton13, [this] {
    if (merge_.Up()) ShowList(ListBox2, merge_);
  });
  click(skinButton14, [this] {
    if (merge_.Down()) ShowList(ListBox2, merge_);
  });
  click(skinButton15, [this] {
    merge_.Clear();
    ShowList(ListBox2, merge_);
  });
  click(skinButton1, [this] { FindDrawing(); });
  click(skinButton2, [this] { FindSegment(); });
  click(skinButton3, [this] { FindIlda(); });
  click(skinButton17, [this] {
    RefreshDrawings();
    RefreshIldas();
    RefreshSegments();
  });
  click(skinButton4, [this] {
    RunConversion([this](TConverterConversions& c) {
      return c.ListToSegment(convert_.Names(), skinEdit1->text().toStdString(), skinEdit2->text().toStdString());
    });
  });
  click(skinButton9, [this] {
    ConvertToIlda([this](TConverterConversions& c) { return c.ListToIlda(convert_.Names(), skinEdit3->text().toStdString()); });
  });
  click(skinButton8, [this] { ConvertToIlda([](TConverterConversions& c) { return c.SegmentToIlda(); }); });
  click(skinButton7, [this] {
    RunConversion([this](TConverterConversions& c) {
      const bool written = c.IldaToSegment(skinEdit5->text().toStdString());
      if (written) PreviewSelectedDrawing();
      return written;
    });
  });
  click(skinButton16, [this] {
    ConvertToIlda([this](TConverterConversions& c) { return c.MergeIlda(merge_.Paths(), skinEdit4->text().toStdString()); });
  });
  skinCheckBox1->OnClick = [this](TSkinCustomButton*) {
    if (FileListBox3->Files().ItemIndex() < 0) return;
    preview_.SetOn(skinCheckBox1->Checked());
    if (preview_.On()) LoadIldaPreview(FileListBox3->Files().SelectedPath());
  };

  FileListBox1->OnChange = [this] { RunGuarded([this] { FileListBox1Change(); }); };
  FileListBox1->OnDblClick = [this] { AddDrawings(); };
  FileListBox1->OnDeleteKey = [this] { DeleteDrawing(); };
  FileListBox2->OnDeleteKey = [this] { DeleteSegment(); };
  FileListBox3->OnChange = [this] { RunGuarded([this] { FileListBox3Change(); }); };
  FileListBox3->OnDblClick = [this] { AddIldas(); };
  FileListBox3->OnDeleteKey = [this] { DeleteIlda(); };
  connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
    if (showing_) return;
    convert_.SetCurrent(row);
  });
  connect(ListBox1, &QListWidget::itemClicked, this, [this] { RunGuarded([this] { ListBox1Click(); }); });
  connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { RemoveDrawing(true); });
  ListBox1->installEventFilter(new TDeleteKeyFilter(this, [this] { RemoveDrawing(false); }));
  connect(ListBox2, &QListWidget::currentRowChanged, this, [this](int row) {
    if (showing_) return;
    merge_.SetCurrent(row);
  });
  connect(ListBox2, &QListWidget::itemClicked, this, [this] { RunGuarded([this] { ListBox2Click(); }); });
  connect(ListBox2, &QListWidget::itemDoubleClicked, this, [this] { RemoveIldas(); });
  connect(DriveComboBox1, &QComboBox::activated, this, [this](int index) {
    BrowseIldaFolder(DriveComboBox1->itemData(index).toString().toStdString());
  });
  connect(DirectoryListBox1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    BrowseIldaFolder(item->data(Qt::UserRole).toString().toStdString());
  });
  BuildMenus();
}

void TForm9::BuildMenus() {
  TSkinMenu* file = skinMainMenu1->AddOwnMenu("File(&F)");
  file->AddItem("Find drawing(&D)", [this] { FindDrawing(); });
  file->AddItem("Refresh drawing list(&E)", [this] { RefreshDrawings(); });
  file->AddItem("Find ILD(&I)", [this] { FindIlda(); });
  file->AddItem("Refresh ILD list(&U)", [this] { RefreshIldas(); });
  file->AddItem("Find segment(&W)", [this] { FindSegment(); });
  file->AddItem("Refresh segment list(&E)", [this] { RefreshSegments(); });
  file->AddSeparator();
  file->AddItem("Close(&C)", [] {});
  TSkinMenu* help = skinMainMenu1->AddOwnMenu("Help(&H)");
  help->AddItem("About(&A)...", [] { ShowRegisteredWindow("AboutBox"); });

  auto* drawingMenu = new TSkinPopupMenu(this);
  drawingMenu->AddItem("Add", [this] { AddDrawings(); });
  drawingMenu->AddItem("Insert", [this] { InsertDrawings(); });
  drawingMenu->AddItem("Refresh", [this] { RefreshDrawings(); });
  drawingMenu->AddItem("Delete", [this] { DeleteDrawing(); });
  drawingMenu->AttachTo(FileListBox1);
  auto* segmentMenu = new TSkinPopupMenu(this);
  segmentMenu->AddItem("Refresh", [this] { RefreshSegments(); });
  segmentMenu->AddItem("Delete", [this] { DeleteSegment(); });
  segmentMenu->AttachTo(FileListBox2);
  auto* ildaMenu = new TSkinPopupMenu(this);
  ildaMenu->AddItem("Add ILD", [this] { AddIldas(); });
  ildaMenu->AddItem("Insert ILD", [this] { InsertIldas(); });
  ildaMenu->AddItem("Preview ILD", [this] {
    const std::string path = FileListBox3->Files().SelectedPath();
    if (!path.empty()) preview_.Load(path, false);
    preview_.SetOn(true);
  });
  ildaMenu->AddItem("Stop preview", [this] { preview_.SetOn(false); });
  ildaMenu->AddItem("Refresh", [this] { RefreshIldas(); });
  ildaMenu->AddItem("Delete", [this] { DeleteIlda(); });
  ildaMenu->AttachTo(FileListBox3);
  auto* convertMenu = new TSkinPopupMenu(this);
  convertMenu->AddItem("Remove drawing", [this] { RemoveDrawing(true); });
  convertMenu->AddItem("Clear", [this] {
    convert_.Clear();
    ShowList(ListBox1, convert_);
  });
  convertMenu->AttachTo(ListBox1);
  auto* mergeMenu = new TSkinPopupMenu(this);
  mergeMenu->AddItem("Remove ILD", [this] { RemoveIldas(); });
  mergeMenu->AddItem("Clear", [this] { skinButton15->Click(); });
  mergeMenu->AddItem("Preview", [this] {
    if (merge_.Current() < 0) return;
    LoadIldaPreview(merge_.Paths()[merge_.Current()]);
    preview_.SetOn(true);
  });
  mergeMenu->AddItem("Stop preview", [this] { preview_.SetOn(false); });
  mergeMenu->AttachTo(ListBox2);
}

void TForm9::FormCreate() {
  FileListBox1->Files().SetDirectory(WithoutTrailingSlash(DrawingFolder()));
  FileListBox2->Files().SetDirectory(WithoutTrailingSlash(SectionFolder()));
  FillDriveBox(DriveComboBox1);
  BrowseIldaFolder(WithoutTrailingSlash(IldaFolder()));
  for (TFileListBox* box : {FileListBox1, FileListBox2, FileListBox3})
    if (box->Files().ItemIndex() < 0 && box->Files().Count() > 0) box->Files().SetItemIndex(0);
  PreviewSelectedDrawing();
}

void TForm9::FormActivate() { Timer3->start(); }

bool TForm9::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) FormActivate();
  return QWidget::event(e);
}

void TForm9::BrowseIldaFolder(const std::string& folder) {
  const std::string shown = ShowFolder(DriveComboBox1, DirectoryListBox1, folder);
  if (shown.empty()) return;
  ildaFolder_ = shown;
  FileListBox3->Files().SetDirectory(ildaFolder_);
}

void TForm9::ShowList(TSkinListBox* box, const TConverterList& list) {
  showing_ = true;
  box->clear();
  for (const std::string& name : list.Names()) box->addItem(QString::fromStdString(name));
  box->setCurrentRow(list.Current());
  showing_ = false;
}

std::vector<int> TForm9::SelectedRows(TSkinListBox* box) const {
  std::vector<int> rows;
  for (QListWidgetItem* item : box->selectedItems()) rows.push_back(box->row(item));
  return rows;
}

void TForm9::PreviewDrawing(const std::string& path, Drawing& drawing, QImage& bitmap) {
  if (FileExists(path)) LoadDrawingFile(path, drawing, 1);
  bitmap.fill(Qt::black);
  TCanvas canvas(bitmap);
  for (const auto& object : drawing.Objects()) DrawPointLists(canvas, *object, 0, kDrawingPreviewDivisor);
  Image2->setPixmap(QPixmap::fromImage(bitmap));
  Label29->setNum(static_cast<int>(drawing.PointCount()));
}

void TForm9::PreviewSelectedDrawing() {
  const std::string path = FileListBox1->Files().SelectedPath();
  if (!path.empty()) PreviewDrawing(path, listDrawing_, listBitmap_);
}

void TForm9::PreviewCurrentConvertItem() {
  if (convert_.Current() >= 0) PreviewDrawing(convert_.Paths()[convert_.Current()], convertDrawing_, convertBitmap_);
}

void TForm9::LoadIldaPreview(const std::string& path) {
  if (!path.empty()) preview_.Load(path);
}

void TForm9::FileListBox1Change() {
  TFileList& list = FileListBox1->Files();
  if (list.ItemIndex() < 0) {
    if (list.Count() > 0) list.SetItemIndex(0);
    return;
  }
  PreviewSelectedDrawing();
}

void TForm9::FileListBox3Change() {
  TFileList& list = FileListBox3->Files();
  if (list.ItemIndex() < 0) return;
  preview_.SetOn(skinCheckBox1->Checked());
  ShowFileSize(list.SelectedPath(), Label5, FileListBox3);
  if (preview_.On()) LoadIldaPreview(list.SelectedPath());
}

void TForm9::ListBox1Click() { PreviewCurrentConvertItem(); }

void TForm9::ListBox2Click() {
  if (merge_.Current() < 0) return;
  const std::string& path = merge_.Paths()[merge_.Current()];
  ShowFileSize(path, Label15, ListBox2);
  preview_.SetOn(skinCheckBox1->Checked());
  if (preview_.On()) LoadIldaPreview(path);
}

namespace {
std::vector<std::string> SelectedPaths(const TFileList& list) {
  std::vector<std::string> paths;
  for (const std::string& name : list.SelectedNames()) paths.push_back(list.PathOf(name));
  return paths;
}
}  // namespace

void TForm9::AddDrawings() {
  const std::vector<std::string> paths = SelectedPaths(FileListBox1->Files());
  if (paths.empty()) return;
  convert_.Append(paths);
  ShowList(ListBox1, convert_);
  PreviewCurrentConvertItem();
}

void TForm9::InsertDrawings() {
  const std::vector<std::string> paths = SelectedPaths(FileListBox1->Files());
  if (paths.empty()) return;
  convert_.Insert(paths);
  ShowList(ListBox1, convert_);
  PreviewCurrentConvertItem();
}

void TForm9::RemoveDrawing(bool preview) {
  if (!convert_.RemoveCurrent()) return;
  ShowList(ListBox1, convert_);
  if (preview) PreviewCurrentConvertItem();
}

void TForm9::AddIldas() {
  merge_.Append(SelectedPaths(FileListBox3->Files()));
  ShowList(ListBox2, merge_);
}

void TForm9::InsertIldas() {
  merge_.Insert(SelectedPaths(FileListBox3->Files()));
  ShowList(ListBox2, merge_);
}

void TForm9::RemoveIldas() {
  const std::vector<int> rows = SelectedRows(ListBox2);
  if (rows.empty()) return;
  merge_.Remove(rows);
  ShowList(ListBox2, merge_);
}

void TForm9::FindDrawing() {
  const std::optional<bool> found =
      FindListFile(FileListBox1->Files(), "Find drawing", "drawing name", "drawing1", ".ddr");
  if (!found) return;
  if (!*found) return ShowStatus("Drawing not found!");
  PreviewSelectedDrawing();
}

void TForm9::FindSegment() {
  const std::optional<bool> found =
      FindListFile(FileListBox2->Files(), "Find segment", "segment name", "Section1", ".sec");
  if (found && !*found) ShowStatus("Segement not found!");
}

void TForm9::FindIlda() {
  const std::optional<bool> found =
      FindListFile(FileListBox3->Files(), "Find ILDA image", "Image name", "Image1", ".ild");
  if (!found) return;
  if (!*found) return ShowStatus("Image not found!");
  preview_.SetOn(skinCheckBox1->Checked());
  if (preview_.On()) LoadIldaPreview(FileListBox3->Files().SelectedPath());
}

void TForm9::DeleteDrawing() {
  if (DeleteSelectedFile(FileListBox1->Files())) PreviewSelectedDrawing();
}

void TForm9::DeleteSegment() { DeleteSelectedFile(FileListBox2->Files()); }

void TForm9::DeleteIlda() {
  if (DeleteSelectedFile(FileListBox3->Files()) && preview_.On()) LoadIldaPreview(FileListBox3->Files().SelectedPath());
}

void TForm9::RefreshDrawings() {
  FileListBox1->Files().Refresh();
  PreviewSelectedDrawing();
}

void TForm9::RefreshSegments() { FileListBox2->Files().Refresh(); }

void TForm9::RefreshIldas() {
  FileListBox3->Files().Refresh();
  if (preview_.On()) LoadIldaPreview(FileListBox3->Files().SelectedPath());
}

// Every conversion: one that ends in an error box leaves its words in the message line too; one
// that succeeds replaces what the line noted before with its own notice, if it has one.
bool TForm9::RunConversion(const std::function<bool(TConverterConversions&)>& conversion) {
  TConverterConversions convert(FileListBox1->Files(), FileListBox2->Files(), FileListBox3->Files());
  TErrorBoxNotes refusals;
  const bool done = conversion(convert);
  if (refusals.Last()) {
    Label18->Note(*refusals.Last());
  } else if (done) {
    Label18->Renewed();
    if (!convert.Notice().empty()) Label18->Note(convert.Notice());
  }
  return done;
}

// The new image is selected in the ILDA list with its size shown; a running preview starts over with it.
void TForm9::ConvertToIlda(const std::function<bool(TConverterConversions&)>& conversion) {
  if (!RunConversion(conversion)) return;
  TFileList& ildas = FileListBox3->Files();
  if (ildas.ItemIndex() >= 0) ShowFileSize(ildas.SelectedPath(), Label5, FileListBox3);
  if (preview_.On()) LoadIldaPreview(ildas.SelectedPath());
}

void TForm9::Timer3Timer() {
  // Hidden, the animation goes on without being painted.
  ShowNextIldaPreviewFrame(preview_, ildaBitmap_, Image3, Label6, isVisible());
}

TForm9::~TForm9() {
  Timer3->stop();
  if (Form9 == this) Form9 = nullptr;
}

}  // namespace kavri
