#include "editor/editor_window.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/editor_texts.h"
#include "engine/drawing.h"
#include "platform/dialog_service.h"
#include "platform/int_convert.h"
#include "platform/program_folder.h"
#include "platform/text.h"
#include "shell/error_guard.h"
#include "shell/window_registry.h"

namespace kavri {

TForm1* Form1 = nullptr;

namespace {

constexpr const char* kUnsavedQuestion = "The drawing have been changed,do you want to save it?";

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text = {}) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
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
    tools->addWidget(t.button, static_cast<int>(i / 2), static_cast<int>(i % 2));
    const int code = t.code;
    t.button->OnClick = [this, code](TSkinCustomButton*) { SelectTool(code); };
  }
  skinButton20 = MakeSkinButton(this, "skinButton20", "Visible Point", 90);
  tools->addWidget(skinButton20, 9, 0);
  BitBtn5 = MakeSkinButton(this, "BitBtn5", "Import Plt", 90);
  BitBtn22 = MakeSkinButton(this, "BitBtn22", "Text", 90);
  BitBtn9 = MakeSkinButton(this, "BitBtn9", "Ratate", 90);
  tools->addWidget(BitBtn5, 10, 0);
  tools->addWidget(BitBtn22, 10, 1);
  tools->addWidget(BitBtn9, 11, 0);
  BitBtn5->OnClick = [](TSkinCustomButton*) { ShowRegisteredWindow("Form17"); };
  BitBtn22->OnClick = [this](TSkinCustomButton*) { ShowImportText(editor_texts::kImportTextButton); };
  BitBtn9->OnClick = [](TSkinCustomButton*) { ShowRegisteredWindow("Form3"); };
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
  auto* left = new QVBoxLayout;
  left->addLayout(tools);
  left->addLayout(fields);
  left->addStretch();
  body->addLayout(left);
  Image90 = new TEditorCanvas(this);
  body->addWidget(Image90, 0, Qt::AlignTop);
  layout->addLayout(body);

  auto* status = new QGridLayout;
  Label1 = AddLabel(this, "Label1");
  Label1->setStyleSheet("color: red");
  Label8 = AddLabel(this, "Label8", kNewDrawingName);
  Label6 = AddLabel(this, "Label6", "0");
  Label2 = AddLabel(this, "Label2", "0");
  Label3 = AddLabel(this, "Label3", "0");
  Label17 = AddLabel(this, "Label17", "0");
  Label18 = AddLabel(this, "Label18", "0");
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
  Image90->OnDrawOverlay = [this](TCanvas& canvas) {
    const ToolPreview& preview = tools_.Preview();
    for (const auto* shapes : {&preview.underDrawing, &preview.overDrawing})
      for (const PreviewShape& shape : *shapes) DrawPreviewShape(canvas, shape);
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
}

TForm1::~TForm1() {
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::BuildMenus() {
  TSkinMenu* file = skinMainMenu1->AddOwnMenu("&File");
  file->AddItem("Save        (&S)", [this] { Save(); });
  file->AddItem("Save As     (&A)", [this] { SaveAs(); });
  file->AddItem("Close          (&C)", [this] { close(); });
  file->AddItem("Import Plt file (&P)", [] { ShowRegisteredWindow("Form17"); });
  file->AddItem("Draw text       (&T)", [this] { ShowImportText(editor_texts::kImportTextMenu); });
  TSkinMenu* draw = skinMainMenu1->AddOwnMenu("&Draw");
  const std::pair<const char*, int> drawItems[] = {
      {"2P Line               (&L)", 1},    {"Muti-point line       (&M)", 2},   {"Arc                   (&A)", 3},
      {"Circle or ellipse     (&C)", 4},    {"Rectangle(Only 4 points)(&R)", 5}, {"Rectangle(Many points)(E)", 6},
      {"Polygon(Only vertex)(&P)", 7},      {"Polygon(Many points)(&O)", 8},     {"Draw point (&K)", 9},
      {"Add point  (&J)", 23},              {"Move point (&H)", 22}};
  for (const auto& [caption, code] : drawItems) draw->AddItem(caption, [this, code = code] { SelectTool(code); });
  draw->AddItem("Visible point(&W)", [this] { skinButton20->Click(); });
  TSkinMenu* modify = skinMainMenu1->AddOwnMenu("&Modify");
  modify->AddItem("Undo            (&U)", [this] {
    if (doc_.Undo()) ShowStatus(editor_texts::kUndo);
    RedrawCanvas();
  });
  modify->AddItem("Redo            (&Z)", [this] {
    doc_.Redo();
    RedrawCanvas();
  });
  modify->AddItem("Rotate             (&R)", [] { ShowRegisteredWindow("Form3"); });
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
  ShowRegisteredWindow("Form6");
}

void TForm1::SelectTool(int code) {
  ShowStatus(tools_.SelectTool(code));
  Image90->SetConfined(tools_.WaitsForPress());
  RedrawCanvas();
}

void TForm1::AfterPress(const PressResult& result) {
  Image90->SetConfined(tools_.WaitsForPress());
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

void TForm1::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    tools_.Escape();
    ShowStatus(editor_texts::kEscape);
    Image90->SetConfined(false);
    RedrawCanvas();
    return;
  }
  if (event->key() == Qt::Key_T) {
    ShowImportText(editor_texts::kImportTextKey);
    return;
  }
  QWidget::keyPressEvent(event);
}

bool TForm1::WriteTo(const std::string& path) {
  std::string error;
  if (!SaveDrawingFile(path, doc_.EditorDrawing, 2, &error)) {
    Dialogs().ShowMessage("The drawing was not saved. " + error, TMessageKind::Error);
    return false;
  }
  drawingFileName_ = path;
  doc_.ResetHistory();
  ShowFileName();
  RedrawPending = true;
  return true;
}

bool TForm1::SaveAs() {
  TFileDialogRequest request;
  request.title = "Save drawing";
  request.folder = DrawingFolder();
  request.filters = {"drawing files(*.ddr)"};
  request.defaultSuffix = "ddr";
  const std::optional<std::string> chosen = Dialogs().ChooseSaveFile(request);
  if (!chosen || chosen->empty()) return false;
  return WriteTo(*chosen);
}

bool TForm1::Save() { return drawingFileName_.empty() ? SaveAs() : WriteTo(drawingFileName_); }

bool TForm1::AskToSaveChanges() {
  if (!doc_.ModifiedFlag) return true;
  switch (Dialogs().Confirm(kUnsavedQuestion, TConfirmButtons::YesNoCancel, kCaption)) {
    case TDialogAnswer::Yes: return Save();  // a save that wrote nothing keeps the drawing here
    case TDialogAnswer::No: return true;
    case TDialogAnswer::Cancel: return false;
  }
  return false;
}

bool TForm1::OpenDrawing(const std::string& path) {
  if (!AskToSaveChanges()) return false;
  std::string error;
  if (!doc_.OpenDrawingFile(path, &error)) {
    ShowStandardError(error);
    return false;
  }
  drawingFileName_ = path;
  ShowFileName();
  RedrawPending = true;
  return true;
}

void TForm1::closeEvent(QCloseEvent* event) {
  CanCloseFlag = AskToSaveChanges();
  if (!CanCloseFlag) {
    event->ignore();
    return;
  }
  doc_.ModifiedFlag = false;
  Image90->SetConfined(false);
  event->accept();
}

bool OpenDrawingInEditor(const std::string& path) {
  if (!Form1 || !Form1->OpenDrawing(path)) return false;
  Form1->show();
  return true;
}

}  // namespace kavri
