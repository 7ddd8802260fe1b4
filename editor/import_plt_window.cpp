#include "editor/import_plt_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "editor/editor_imports.h"
#include "editor/editor_window.h"
#include "engine/hpgl_import.h"
#include "engine/render.h"
#include "platform/dialog_service.h"
#include "platform/file_io.h"

namespace kavri {

TForm17* Form17 = nullptr;

TForm17::TForm17(TForm1* editor, QWidget* parent) : QWidget(parent), editor_(editor) {
  setObjectName("Form17");
  setWindowTitle(kCaption);
  auto* layout = new QHBoxLayout(this);
  auto* controls = new QVBoxLayout;

  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(new QLabel("FileName", this));
  Edit1 = MakeSkinEdit(this, "Edit1");
  Edit1->setMinimumWidth(220);
  fileRow->addWidget(Edit1);
  Button1 = MakeSkinButton(this, "Button1", "Find....", 70);
  fileRow->addWidget(Button1);
  controls->addLayout(fileRow);

  auto* bars = new QGridLayout;
  TrackBar1 = MakeSkinTrackBar(this, "TrackBar1", 0, 40);
  TrackBar2 = MakeSkinTrackBar(this, "TrackBar2", 0, 20);
  Label1 = new QLabel(this);
  Label1->setObjectName("Label1");
  Label7 = new QLabel(this);
  Label7->setObjectName("Label7");
  bars->addWidget(new QLabel("Fine/Coarse factor", this), 0, 0);
  bars->addWidget(TrackBar1, 0, 1);
  bars->addWidget(Label1, 0, 2);
  bars->addWidget(new QLabel("Size factor", this), 1, 0);
  bars->addWidget(TrackBar2, 1, 1);
  bars->addWidget(Label7, 1, 2);
  controls->addLayout(bars);

  auto* countRow = new QHBoxLayout;
  countRow->addWidget(new QLabel("Pointcount:", this));
  Label5 = new QLabel("0", this);
  Label5->setObjectName("Label5");
  countRow->addWidget(Label5);
  countRow->addStretch();
  controls->addLayout(countRow);
  controls->addStretch();

  auto* buttons = new QHBoxLayout;
  BitBtn3 = MakeSkinButton(this, "BitBtn3", "Preview", 80);
  BitBtn1 = MakeSkinButton(this, "BitBtn1", "OK", 80);
  BitBtn2 = MakeSkinButton(this, "BitBtn2", "Cancel", 80);
  for (TSkinButton* b : {BitBtn3, BitBtn1, BitBtn2}) buttons->addWidget(b);
  controls->addLayout(buttons);
  layout->addLayout(controls);
  Image1 = new TPreviewImage(this, "Image1");
  layout->addWidget(Image1, 0, Qt::AlignTop);

  TrackBar1->OnChange = [this](QObject*) { Label1->setNum(TrackBar1->Position()); };
  TrackBar2->OnChange = [this](QObject*) { Label7->setNum(TrackBar2->Position()); };
  TrackBar1->SetPosition(5);
  TrackBar2->SetPosition(20);
  Label1->setNum(TrackBar1->Position());
  Label7->setNum(TrackBar2->Position());
  Button1->OnClick = [this](TSkinCustomButton*) { Button1Click(); };
  BitBtn3->OnClick = [this](TSkinCustomButton*) { BitBtn3Click(); };
  BitBtn1->OnClick = [this](TSkinCustomButton*) { BitBtn1Click(); };
  BitBtn2->OnClick = [this](TSkinCustomButton*) { BitBtn2Click(); };
}

TForm17::~TForm17() {
  if (Form17 == this) Form17 = nullptr;
}

void TForm17::Button1Click() {
  TFileDialogRequest request;
  request.title = "Open";
  request.filters = {"HPGL plotter file(*.plt)"};
  const std::optional<std::string> chosen = Dialogs().ChooseOpenFile(request);
  if (chosen && !chosen->empty()) Edit1->setText(QString::fromStdString(*chosen));
}

bool TForm17::ImportPlt() {
  THpglSettings settings;
  settings.fine = TrackBar1->Position();
  settings.size = 20 - TrackBar2->Position();
  settings.colour = editor_->Document().CurrentColor;
  THpglImport result = ImportPltFile(Edit1->text().toStdString(), settings);
  if (!result.ok) {
    Dialogs().ShowMessage(result.error, TMessageKind::Error);
    return false;
  }
  ImportList = std::move(result.objects);
  if (ImportList.PointCount() == 0) Dialogs().ShowMessage(kNoPlotterLinesText, TMessageKind::Information);
  return true;
}

void TForm17::BitBtn3Click() {
  if (!FileExists(Edit1->text().toStdString()) || !ImportPlt()) return;
  TCanvas& canvas = Image1->Clear();
  for (const auto& object : ImportList.Objects()) DrawPointLists(canvas, *object, 0, 2);
  Image1->Show();
  Label5->setNum(static_cast<int>(ImportList.PointCount()));
}

void TForm17::BitBtn1Click() {
  if (FileExists(Edit1->text().toStdString())) {
    if (!ImportPlt()) return;
    AddObjectsAsSelection(editor_->Document(), ImportList);
  }
  CloseAndRedraw();
  editor_->SayIfTooLargeToSave();
}

void TForm17::BitBtn2Click() { CloseAndRedraw(); }

void TForm17::CloseAndRedraw() {
  close();
  editor_->RedrawCanvas();
}

}  // namespace kavri
