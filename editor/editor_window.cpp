#include "editor/editor_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/editor_keys.h"
#include "editor/editor_playback.h"
#include "editor/editor_texts.h"
#include "editor/selection_commands.h"
#include "engine/colour_tables.h"
#include "engine/drawing.h"
#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "platform/dialog_service.h"
#include "platform/file_io.h"
#include "platform/int_convert.h"
#include "platform/picture_loader.h"
#include "platform/program_folder.h"
#include "platform/text.h"
#include "shell/error_guard.h"
#include "shell/toggle_twins.h"
#include "shell/window_registry.h"

namespace kavri {

TForm1* Form1 = nullptr;

namespace {

constexpr int kButtonColumns = 3;

// Typed characters other than digits are refused; keys that type nothing (Enter, Backspace,
// arrows, Ctrl shortcuts) and the menus' Alt keys go on as usual.
bool NumberFieldTakes(const QKeyEvent& key) {
  if (key.modifiers() & Qt::AltModifier) return true;
  const QString text = key.text();
  return text.isEmpty() || !text[0].isPrint() || (text[0] >= u'0' && text[0] <= u'9');
}

void DrawPreviewShape(TCanvas& canvas, const PreviewShape& shape) {
  canvas.Pen.Color = shape.colour;
  canvas.Pen.Style = shape.dashed ? TPenStyle::Dot : TPenStyle::Solid;
  canvas.Brush.Color = shape.colour;
  canvas.Brush.Style = shape.filled ? TBrushStyle::Solid : TBrushStyle::Clear;
  switch (shape.kind) {
    case PreviewShape::Kind::Line:
      canvas.MoveTo(shape.x0, shape.y0);
      canvas.LineTo(shape.x1, shape.y1);
      break;
    case PreviewShape::Kind::Rectangle: canvas.Rectangle(shape.x0, shape.y0, shape.x1, shape.y1); break;
    case PreviewShape::Kind::Ellipse: canvas.Ellipse(shape.x0, shape.y0, shape.x1, shape.y1); break;
  }
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
  setObjectName("Form1");
  setWindowTitle(kCaption);
  auto* layout = new QVBoxLayout(this);
  skinMainMenu1 = new TWindowMenuBar(this, EditorMenuTexts());
  layout->setMenuBar(skinMainMenu1);
  skinToolBar1 = MakeRunToolBar(this);
  ToolButton1 = AddToolButton(skinToolBar1, "ToolButton1", TRunImage::Play, "Play");
  ToolButton8 = AddToolButton(skinToolBar1, "ToolButton8", TRunImage::Stop, "Stop");
  ToolButton9 = AddToolButton(skinToolBar1, "ToolButton9", TRunImage::HInvert, "Horizontal invert", TToolButtonStyle::tbsCheck);
  ToolButton3 = AddToolButton(skinToolBar1, "ToolButton3", TRunImage::VInvert, "Vertical invert", TToolButtonStyle::tbsCheck);
  ToolButton2 = AddToolButton(skinToolBar1, "ToolButton2", TRunImage::Settings, "Playing settings");
  layout->addWidget(skinToolBar1);

  auto* body = new QHBoxLayout;
  auto* tools = new QGridLayout;
  ToolButtons = {{{1, "BitBtn27", "2P Line", nullptr},          {2, "skinButton12", "MP Line", nullptr},
                  {3, "skinButton14", "Arc", nullptr},           {4, "skinButton15", "Circle", nullptr},
                  {5, "skinButton16", "Rectangle", nullptr},     {6, "skinButton17", "4P Rect", nullptr},
                  {7, "skinButton18", "Polygon", nullptr},       {8, "skinButton19", "MP Polygon", nullptr},
                  {9, "skinButton13", "Point", nullptr},         {20, "skinButton21", "Select Point", nullptr},
                  {21, "skinButton22", "Select object", nullptr}, {22, "BitBtn12", "Move point", nullptr},
                  {23, "BitBtn13", "Add point", nullptr},        {24, "BitBtn15", "Ch color L", nullptr},
                  {25, "skinButton23", "Blanking L", nullptr},   {26, "BitBtn7", "Move ", nullptr},
                  {27, "BitBtn8", "Scale", nullptr},             {28, "skinButton29", "Dropper", nullptr}}};
  for (size_t i = 0; i < ToolButtons.size(); ++i) {
    TToolButton& t = ToolButtons[i];
    t.button = MakeSkinButton(this, t.name, t.caption, 90);
    tools->addWidget(t.button, static_cast<int>(i / kButtonColumns), static_cast<int>(i % kButtonColumns));
    const int code = t.code;
    t.button->OnClick = [this, code](TSkinCustomButton*) { SelectTool(code); };
  }
  skinButton20 = MakeSkinButton(this, "skinButton20", "Visible Point", 90);
  tools->addWidget(skinButton20, static_cast<int>(ToolButtons.size() / kButtonColumns), 0);
  BitBtn5 = MakeSkinButton(this, "BitBtn5", "Import Plt", 90);
  BitBtn22 = MakeSkinButton(this, "BitBtn22", "Text", 90);
  BitBtn9 = MakeSkinButton(this, "BitBtn9", "Ratate", 90);
  const int dialogRow = static_cast<int>(ToolButtons.size() / kButtonColumns);
  tools->addWidget(BitBtn5, dialogRow, 1);
  tools->addWidget(BitBtn22, dialogRow, 2);
  tools->addWidget(BitBtn9, dialogRow + 1, 0);
  BitBtn5->OnClick = [this](TSkinCustomButton*) { ShowRegisteredWindow("Form17", this); };
  BitBtn22->OnClick = [this](TSkinCustomButton*) { ShowImportText(editor_texts::kImportTextButton); };
  BitBtn9->OnClick = [this](TSkinCustomButton*) { ShowRegisteredWindow("Form3", this); };
  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel("Sides of polygon", this), 0, 0);
  Edit1 = MakeSkinEdit(this, "Edit1");
  UpDown1 = new TUpDown(this);
  UpDown1->setObjectName("UpDown1");
  fields->addWidget(Edit1, 0, 1);
  fields->addWidget(UpDown1, 0, 2);
  fields->addWidget(new QLabel("Point space", this), 1, 0);
  Edit2 = MakeSkinEdit(this, "Edit2");
  UpDown2 = new TUpDown(this);
  UpDown2->setObjectName("UpDown2");
  fields->addWidget(Edit2, 1, 1);
  fields->addWidget(UpDown2, 1, 2);
  for (TSkinEdit* edit : {Edit1, Edit2}) edit->setMaximumWidth(60);
  for (TUpDown* upDown : {UpDown1, UpDown2}) upDown->setFixedSize(17, 22);
  skinCheckBox1 = MakeSkinCheckBox(this, "skinCheckBox1", "Copy object flag");
  fields->addWidget(skinCheckBox1, 2, 0, 1, 3);
  auto* left = new QVBoxLayout;
  left->addLayout(tools);
  left->addLayout(fields);
  left->addLayout(BuildCommandButtons());
  left->addStretch();
  body->addLayout(left);
  Image90 = new TEditorCanvas(this);
  body->addWidget(Image90, 0, Qt::AlignTop);
  body->addLayout(BuildPalette());
  layout->addLayout(body);

  auto* status = new QGridLayout;
  Label1 = MakeMessageLabel(this, "Label1");
  Label8 = MakeElidedLabel(this, "Label8", kNewDrawingName);
  Label6 = MakeLabel(this, "Label6", "0");
  Label2 = MakeLabel(this, "Label2", "0");
  Label3 = MakeLabel(this, "Label3", "0");
  Label17 = MakeLabel(this, "Label17", "0");
  Label18 = MakeLabel(this, "Label18", "0");
  status->addWidget(new QLabel("Message:", this), 0, 0);
  status->addWidget(Label1, 0, 1, 1, 7);
  status->addWidget(new QLabel("FileName:", this), 1, 0);
  status->addWidget(Label8, 1, 1);
  status->addWidget(new QLabel("Number of point:", this), 1, 2);
  status->addWidget(Label6, 1, 3);
  status->addWidget(new QLabel("X,Y:", this), 1, 4);
  status->addWidget(Label2, 1, 5);
  status->addWidget(Label3, 1, 6);
  status->addWidget(new QLabel("LastX", this), 2, 4);
  status->addWidget(Label17, 2, 5);
  status->addWidget(new QLabel("LastY:", this), 2, 6);
  status->addWidget(Label18, 2, 7);
  layout->addLayout(status);

  Timer3 = new QTimer(this);
  Timer3->setInterval(kRedrawPollMs);
  connect(Timer3, &QTimer::timeout, this, [this] { Timer3Timer(); });

  Image90->OnMouseDown = [this](const TCanvasMouse& m) {
    Label2->setNum(m.X);
    Label3->setNum(m.Y);
    const MouseButton button = m.Button == Qt::LeftButton    ? MouseButton::Left
                               : m.Button == Qt::RightButton ? MouseButton::Right
                                                             : MouseButton::Middle;
    AfterPress(tools_.Press(button, m.Ctrl, m.X, m.Y));
  };
  Image90->OnMouseMove = [this](const TCanvasMouse& m) {
    Label17->setNum(m.X);
    Label18->setNum(m.Y);
    if (tools_.Move(m.Ctrl, m.X, m.Y)) RedrawCanvas();
    Image90->SetConfined(tools_.WaitsForPress());
  };
  // The selection box lies between the grid and the objects, so it is part of every redraw.
  Image90->OnDrawUnderObjects = [this](TCanvas& canvas) {
    for (const PreviewShape& shape : tools_.Preview().underDrawing) DrawPreviewShape(canvas, shape);
  };
  Image90->OnDrawOverlay = [this](TCanvas& canvas) {
    const ToolPreview& preview = tools_.Preview();
    for (const PreviewShape& shape : preview.overDrawing) DrawPreviewShape(canvas, shape);
    if (preview.selectionOnTop) {
      canvas.Brush.Style = TBrushStyle::Solid;
      canvas.Brush.Color = clRed;
      for (const PointRecord* p : doc_.SelectionList()) canvas.FillRect(p->x - 2, p->y - 2, p->x + 3, p->y + 3);
    }
  };
  skinButton20->OnClick = [this](TSkinCustomButton*) {
    doc_.ShowPoints = !doc_.ShowPoints;
    RedrawCanvas();
  };
  for (auto [edit, upDown, value, minimum, maximum] :
       {std::tuple{Edit1, UpDown1, &doc_.PolygonSides, 3, 360}, std::tuple{Edit2, UpDown2, &doc_.PointSpace, 1, 510}}) {
    upDown->SetMin(minimum);
    upDown->SetMax(maximum);
    upDown->OnClick = [edit, value](TUpDown* sender, TUDBtnType) {
      *value = sender->Position();
      edit->setText(QString::number(*value));
    };
    connect(edit, &QLineEdit::editingFinished, this,
            [this, edit, upDown, value, minimum, maximum] { NumberFieldDone(edit, upDown, *value, minimum, maximum); });
  }
  BuildMenus();
  skinCheckBox1->OnClick = [this](TSkinCustomButton*) {
    doc_.CopyFlag = skinCheckBox1->Checked();
    CopyFlagItem->setChecked(doc_.CopyFlag);
  };
  SelectPaletteCell(0, 4);
  skinDrawGrid1->FocusCell(0, 4);
  qApp->installEventFilter(this);
  RegisterPlayLoop(kPlayJobEditorDrawing, PlayEditorDrawingLoop);
  RegisterPlayEndNotice(kPlayJobEditorDrawing, this, [this] { ShowStatus("End to play drawing..."); });
}

QLayout* TForm1::BuildCommandButtons() {
  auto* grid = new QGridLayout;
  struct TCommand {
    const char* name;
    const char* caption;
    std::function<void()> run;
  };
  const std::vector<TCommand> commands = {
      {"BitBtn1", "New", [this] { New(); }},
      {"BitBtn3", "Open", [this] { Open(); }},
      {"BitBtn4", "Save", [this] { Save(); }},
      {"BitBtn31", "Save As", [this] { SaveAs(); }},
      {"skinButton32", "Undo", [this] {
         if (doc_.Undo()) ShowStatus(editor_texts::kUndo);
         RedrawCanvas();
       }},
      {"skinButton33", "Redo", [this] {
         doc_.Redo();
         RedrawCanvas();
       }},
      {"BitBtn14", "Erase", [this] { RunCommand(EraseSelection, editor_texts::kErase); }},
      {"BitBtn29", "Ch color O", [this] { RunCommand(ColourSelection); }},
      {"skinButton25", "Blanking O", [this] { RunCommand(ToggleSelectionBlanking, editor_texts::kBlankingSelected); }},
      {"skinButton34", "Rainbow", [this] { RunCommand(RainbowSelection); }},
      {"BitBtn17", "H Mirror", [this] { RunCommand([](EditorDocument& d) { MirrorSelection(d, true); }); }},
      {"BitBtn18", "Vert Mirror", [this] { RunCommand([](EditorDocument& d) { MirrorSelection(d, false); }); }},
      {"skinButton1", "To Center", [this] { RunCommand(CentreSelection); }},
      {"skinButton28", "Select All", [this] { RunCommand(SelectAll, editor_texts::kSelectAll); }},
      {"skinButton24", "Unselect All", [this] { RunCommand(UnselectAll, editor_texts::kUnselectAll); }},
      {"skinButton30", "Save to buff", [this] {
         if (SaveToBuffer(doc_)) ShowStatus(editor_texts::kSaveToBuffer);
       }},
      {"skinButton31", "Load from buff", [this] { RunCommand(LoadFromBuffer, editor_texts::kLoadFromBuffer); }},
      {"BitBtn21", "Picture", [this] { ChoosePicture(); }},
      {"BitBtn11", "Refresh", [this] {
         backPictureFile_.clear();
         Image90->SetBackPicture(QImage());
         RedrawCanvas();
       }},
      {"skinButton26", "Set Backcolor", [this] {
         BackColor = doc_.CurrentColor;
         Image90->SetBackColor(BackColor);
         RedrawCanvas();
       }},
      {"skinButton27", "Set Blankclolor", [this] {
         BlankColor = doc_.CurrentColor;
         RedrawCanvas();
       }},
  };
  int i = 0;
  for (const TCommand& c : commands) {
    TSkinButton* button = MakeSkinButton(this, c.name, c.caption, 90);
    button->OnClick = [run = c.run](TSkinCustomButton*) { run(); };
    grid->addWidget(button, i / kButtonColumns, i % kButtonColumns);
    ++i;
  }
  return grid;
}

QLayout* TForm1::BuildPalette() {
  auto* column = new QVBoxLayout;
  skinDrawGrid1 = new TSkinDrawGrid(this);
  skinDrawGrid1->setObjectName("skinDrawGrid1");
  skinDrawGrid1->SetFixedCols(0);
  skinDrawGrid1->SetFixedRows(0);
  skinDrawGrid1->SetColCount(4);
  skinDrawGrid1->SetRowCount(64);
  skinDrawGrid1->SetDefaultColWidth(30);
  skinDrawGrid1->setFixedWidth(4 * 31 + 24);
  skinDrawGrid1->OnDrawCell = [](QPainter& painter, int col, int row, const QRect& rect, TGridDrawState) {
    painter.fillRect(rect, ToQColor(ColorIndexToTColor(static_cast<uint8_t>(PaletteIndexOfCell(col, row)))));
  };
  skinDrawGrid1->OnSelectCell = [this](int col, int row, bool&) { SelectPaletteCell(col, row); };
  column->addWidget(skinDrawGrid1, 1);
  auto* values = new QGridLayout;
  Label13 = MakeLabel(this, "Label13");
  Label22 = MakeLabel(this, "Label22");
  Label24 = MakeLabel(this, "Label24");
  Label34 = MakeLabel(this, "Label34");
  Panel1 = new QWidget(this);
  Panel1->setObjectName("Panel1");
  Panel1->setFixedSize(60, 24);
  Panel1->setAutoFillBackground(true);
  values->addWidget(new QLabel("R :", this), 0, 0);
  values->addWidget(Label13, 0, 1);
  values->addWidget(new QLabel("G:", this), 1, 0);
  values->addWidget(Label22, 1, 1);
  values->addWidget(new QLabel("B:", this), 2, 0);
  values->addWidget(Label24, 2, 1);
  values->addWidget(new QLabel("Color Index:", this), 3, 0);
  values->addWidget(Label34, 3, 1);
  values->addWidget(Panel1, 4, 0, 1, 2);
  column->addLayout(values);
  return column;
}

void TForm1::Play() {
  const TStopResult stopped = PlayController().StopAndWait();
  if (stopped != TStopResult::Stopped) {
    if (const std::string text = StopResultText(stopped); !text.empty()) ShowStatus(text);
    return;
  }
  HInvertFlag = ToolButton9->Down();
  VInvertFlag = ToolButton3->Down();
  EditorPlayList = Drawing();
  if (doc_.EditorDrawing.Count() == 0) return;  // nothing starts; the old loop stays stopped
  ShowStatus("Start to play drawing...");
  EditorPlayList = MakeEditorPlayList(doc_.EditorDrawing);
  PlayController().StartPlayJob(kPlayJobEditorDrawing);
}

void TForm1::Stop() { PlayController().RequestStop(); }

void TForm1::SelectPaletteCell(int col, int row) {
  doc_.CurrentColor = PaletteIndexOfCell(col, row);
  ShowCurrentColour();
}

void TForm1::ShowCurrentColour() {
  const TColor colour = ColorIndexToTColor(static_cast<uint8_t>(doc_.CurrentColor));
  Label13->setNum(static_cast<int>(GetRValue(colour)));
  Label22->setNum(static_cast<int>(GetGValue(colour)));
  Label24->setNum(static_cast<int>(GetBValue(colour)));
  Label34->setNum(doc_.CurrentColor);
  QPalette palette = Panel1->palette();
  palette.setColor(QPalette::Window, ToQColor(colour));
  Panel1->setPalette(palette);
}

void TForm1::RunCommand(void (*command)(EditorDocument&), std::string_view status) {
  command(doc_);
  if (!status.empty()) ShowStatus(status);
  Image90->SetConfined(tools_.WaitsForPress());
  RedrawCanvas();
}

void TForm1::ChoosePicture() {
  TFileDialogRequest request;
  request.title = "Background picture";
  request.filters = {"Bitmaps (*.bmp)"};
  const std::optional<std::string> chosen = Dialogs().ChoosePicture(request);
  if (!chosen) return;
  backPictureFile_ = *chosen;
  if (!FileExists(backPictureFile_)) return;  // remembered, not shown
  QImage picture;
  std::string error;
  if (!LoadPicture(backPictureFile_, &picture, &error)) {
    ShowStandardError(error);
    return;
  }
  Image90->SetBackPicture(picture);
  RedrawCanvas();
  ShowStatus("Picture,Import a background picture...");
}

TForm1::~TForm1() {
  qApp->removeEventFilter(this);
  // The loop reads the play list this window owns: it must have ended first.
  PlayController().StopAndWait();
  RegisterPlayEndNotice(kPlayJobEditorDrawing, nullptr, nullptr);
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::BuildMenus() {
  auto tool = [this](int code) { return [this, code] { SelectTool(code); }; };
  auto command = [this](void (*run)(EditorDocument&), std::string_view status = {}) {
    return [this, run, status] { RunCommand(run, status); };
  };
  auto button = [this](const char* name) {
    return [this, name] { findChild<TSkinButton*>(name)->Click(); };
  };
  TSkinMenu* file = skinMainMenu1->AddOwnMenu("&File");
  file->AddItem("New         (&N)", [this] { New(); });
  file->AddItem("Open        (&O)", [this] { Open(); });
  file->AddItem("Save        (&S)", [this] { Save(); });
  file->AddItem("Save As     (&A)", [this] { SaveAs(); });
  file->AddItem("Save to buffer(&W)", button("skinButton30"));
  file->AddItem("&Load from buffer(&R)", button("skinButton31"));
  file->AddItem("Import Plt file (&P)", [this] { ShowRegisteredWindow("Form17", this); });
  file->AddItem("Draw text       (&T)", [this] { ShowImportText(editor_texts::kImportTextMenu); });
  file->AddItem("Background picture(&B)", [this] { ChoosePicture(); });
  file->AddItem("Close          (&C)", [this] { close(); });
  TSkinMenu* draw = skinMainMenu1->AddOwnMenu("&Draw");
  const std::pair<const char*, int> drawItems[] = {
      {"2P Line               (&L)", 1},    {"Muti-point line       (&M)", 2},   {"Arc                   (&A)", 3},
      {"Circle or ellipse     (&C)", 4},    {"Rectangle(Only 4 points)(&R)", 5}, {"Rectangle(Many points)(E)", 6},
      {"Polygon(Only vertex)(&P)", 7},      {"Polygon(Many points)(&O)", 8},     {"Draw point (&K)", 9},
      {"Add point  (&J)", 23},              {"Move point (&H)", 22}};
  for (const auto& [caption, code] : drawItems) draw->AddItem(caption, tool(code));
  draw->AddItem("Visible point(&W)", [this] { skinButton20->Click(); });
  draw->AddItem("Refresh window(&N)", button("BitBtn11"));
  TSkinMenu* modify = skinMainMenu1->AddOwnMenu("&Modify");
  modify->AddItem("Undo            (&U)", button("skinButton32"));
  modify->AddItem("Redo            (&Z)", button("skinButton33"));
  modify->AddItem("Select point    (&S)", tool(20));
  modify->AddItem("Select Object   (&O)", tool(21));
  modify->AddItem("Select All      (&A)", command(SelectAll, editor_texts::kSelectAll));
  modify->AddItem("Cancel Selected (&Q)", command(UnselectAll, editor_texts::kUnselectAll));
  modify->AddItem("Move(move selected)(&M)", tool(26));
  modify->AddItem("Scale              (&X)", tool(27));
  modify->AddItem("Rotate             (&R)", [this] { ShowRegisteredWindow("Form3", this); });
  modify->AddItem("Horiznotal mirrored(&H)", button("BitBtn17"));
  modify->AddItem("Vertical mirrored  (&V)", button("BitBtn18"));
  modify->AddItem("Erase(delete selected)(&D)", command(EraseSelection, editor_texts::kErase));
  CopyFlagItem = modify->AddCheckItem("Copy object flag  (&C)", [this](bool on) {
    doc_.CopyFlag = on;
    skinCheckBox1->SetChecked(on);
  });
  TSkinMenu* colour = skinMainMenu1->AddOwnMenu("&Color");
  colour->AddItem("Dropper(pick color)       (&D)", tool(28));
  colour->AddItem("Change color(for line)    (&C)", tool(24));
  colour->AddItem("Blanking(for line)        (&B)", tool(25));
  colour->AddItem("change color(for selected)(&O)", button("BitBtn29"));
  colour->AddItem("Rainbow color(for selected)(&R)", button("skinButton34"));
  colour->AddItem("Blanking(for selected)    (&V)", button("skinButton25"));
  colour->AddItem("Set to background color   (&K)", button("skinButton26"));
  colour->AddItem("Set to Blanking color   (&J)", button("skinButton27"));
  TSkinMenu* run = skinMainMenu1->AddOwnMenu("&Run");
  run->AddItem("Play       (&P)", [this] { Play(); });
  run->AddItem("Stop       (&S)", [this] { Stop(); });
  QAction* hInvert = run->AddCheckItem("Horizontal invert(&H)");
  QAction* vInvert = run->AddCheckItem("Vertical invert (&V)");
  run->AddItem("Playing settings(&O)...", [this] { ShowRegisteredWindow("Form13", this); });
  // The loop reads both flags for every point, so a change shows in the next frame.
  BindToggleTwins(ToolButton9, hInvert, [](bool on) { HInvertFlag = on; });
  BindToggleTwins(ToolButton3, vInvert, [](bool on) { VInvertFlag = on; });
  ToolButton1->OnClick = [this](QObject*) { Play(); };
  ToolButton8->OnClick = [this](QObject*) { Stop(); };
  ToolButton2->OnClick = [this](QObject*) { ShowRegisteredWindow("Form13", this); };
  TSkinMenu* help = skinMainMenu1->AddOwnMenu("&Help");
  help->AddItem("About(&A)...", [] { ShowRegisteredWindow("AboutBox"); });
}

void TForm1::FormCreate(const TSettingsLines& settings) {
  const TEditorSettings s = ReadEditorSettings(settings);
  BackColor = s.BackColor;
  BlankColor = s.BlankColor;
  GridStep1 = s.GridStep1;
  GridStep2 = s.GridStep2;
  doc_.PointSpace = s.PointSpace;
  doc_.PolygonSides = s.PolygonSides;
  UpDown2->SetPosition(doc_.PointSpace);
  Edit2->setText(QString::number(doc_.PointSpace));
  UpDown1->SetPosition(doc_.PolygonSides);
  Edit1->setText(QString::number(doc_.PolygonSides));
  ShowStatus("Auto create a new drawing.");
  ShowFileName();
  Image90->SetBackColor(BackColor);
  Image90->SetGridSteps(GridStep1, GridStep2);
  doc_.ResetHistory();
  RedrawCanvas();
  Timer3->start();
}

TEditorSettings TForm1::CurrentSettings() const {
  return {BackColor, BlankColor, GridStep1, GridStep2, doc_.PointSpace, doc_.PolygonSides};
}

void TForm1::ShowStatus(std::string_view text) { Label1->setText(QString::fromUtf8(text.data(), text.size())); }

void TForm1::ShowFileName() {
  Label8->setText(drawingFileName_.empty() ? QString(kNewDrawingName)
                                           : QFileInfo(QString::fromStdString(drawingFileName_)).fileName());
}

void TForm1::RedrawCanvas() {
  Label6->setNum(static_cast<int>(Image90->Redraw(doc_.EditorDrawing, doc_.ShowPoints, BlankColor)));
}

void TForm1::Timer3Timer() {
  if (!RedrawPending) return;
  RedrawPending = false;
  RedrawCanvas();
}

void TForm1::ShowImportText(std::string_view status) {
  ShowStatus(status);
  ShowRegisteredWindow("Form6", this);
}

void TForm1::SelectTool(int code) {
  ShowStatus(tools_.SelectTool(code));
  Image90->SetConfined(tools_.WaitsForPress());
  RedrawCanvas();
}

void TForm1::AfterPress(const PressResult& result) {
  Image90->SetConfined(tools_.WaitsForPress());
  if (result.colourPicked) ShowCurrentColour();
  if (result.redraw) RedrawCanvas();
  Image90->update();
}

// Typed digits become the value, held to the settings file's range; anything unreadable shows the
// value that stands.
void TForm1::NumberFieldDone(TSkinEdit* field, TUpDown* upDown, int& value, int minimum, int maximum) {
  int32_t typed = 0;
  if (TryStrToInt(Trim(field->text().toStdString()), typed)) value = std::clamp<int32_t>(typed, minimum, maximum);
  field->setText(QString::number(value));
  upDown->SetPosition(value);
}

// The window previews keys, so they act whatever control has the focus.
bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  // Once, where the key first arrives: the focused control of this window, or the window itself.
  QWidget* focus = QApplication::focusWidget();
  const QObject* first = focus && focus->window() == this ? focus : this;
  if (watched != first) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool handled = FormKeyDown(key->key(), key->modifiers());
  // The number fields take digits, Enter and Backspace; a letter has chosen its tool above all
  // the same.
  const bool refused = (watched == Edit1 || watched == Edit2) && !NumberFieldTakes(*key);
  return (handled && key->key() == Qt::Key_Escape) || refused;
}

bool TForm1::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::AltModifier) return false;  // the menus' accelerators
  if (key == Qt::Key_Escape) {
    tools_.Escape();
    ShowStatus(editor_texts::kEscape);
    Image90->SetConfined(false);
    RedrawCanvas();
    return true;
  }
  if (key < Qt::Key_A || key > Qt::Key_Z) return false;
  const std::optional<TEditorKey> meaning = EditorKeyOf(static_cast<char>('A' + (key - Qt::Key_A)));
  if (!meaning) return false;
  switch (meaning->action) {
    case TEditorKey::TAction::Tool:
      tools_.SelectTool(meaning->tool);
      ShowStatus(meaning->text);
      Image90->SetConfined(tools_.WaitsForPress());
      RedrawCanvas();
      break;
    case TEditorKey::TAction::Erase: RunCommand(EraseSelection, meaning->text); break;
    case TEditorKey::TAction::ImportText: ShowImportText(meaning->text); break;
    case TEditorKey::TAction::Undo:
      ShowStatus(doc_.Undo() ? meaning->text : kUndoKeyNothing);
      RedrawCanvas();
      break;
  }
  return true;
}

}  // namespace kavri
