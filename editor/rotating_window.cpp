#include "editor/rotating_window.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "editor/editor_imports.h"
#include "editor/editor_window.h"
#include "engine/render.h"

namespace kavri {

TForm3* Form3 = nullptr;

TForm3::TForm3(TForm1* editor, QWidget* parent) : QWidget(parent), editor_(editor) {
  setObjectName("Form3");
  setWindowTitle(kCaption);
  auto* layout = new QVBoxLayout(this);
  Image1 = new TPreviewImage(this, "Image1");
  layout->addWidget(Image1, 0, Qt::AlignHCenter);

  auto* angleRow = new QHBoxLayout;
  angleRow->addWidget(new QLabel("0", this));
  TrackBar1 = MakeSkinTrackBar(this, "TrackBar1", 0, 360);
  angleRow->addWidget(TrackBar1);
  angleRow->addWidget(new QLabel("360", this));
  Label1 = new QLabel("0", this);
  Label1->setObjectName("Label1");
  angleRow->addWidget(Label1);
  angleRow->addWidget(new QLabel("degree", this));
  layout->addLayout(angleRow);

  auto* buttons = new QHBoxLayout;
  skinCheckBox1 = MakeSkinCheckBox(this, "skinCheckBox1", "anticlockwise");
  buttons->addWidget(skinCheckBox1);
  buttons->addStretch();
  BitBtn1 = MakeSkinButton(this, "BitBtn1", "OK", 80);
  BitBtn2 = MakeSkinButton(this, "BitBtn2", "Cancel", 80);
  buttons->addWidget(BitBtn1);
  buttons->addWidget(BitBtn2);
  layout->addLayout(buttons);

  TrackBar1->SetPosition(0);
  TrackBar1->OnChange = [this](QObject*) { TrackBar1Change(); };
  Image1->OnMouseDown = [this](int x, int y) { Image1MouseDown(x, y); };
  BitBtn1->OnClick = [this](TSkinCustomButton*) { BitBtn1Click(); };
  BitBtn2->OnClick = [this](TSkinCustomButton*) { BitBtn2Click(); };
}

TForm3::~TForm3() {
  if (Form3 == this) Form3 = nullptr;
}

void TForm3::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
  QWidget::changeEvent(event);
}

void TForm3::ReadAngle() {
  Label1->setNum(TrackBar1->Position());
  angle_ = skinCheckBox1->Checked() ? -TrackBar1->Position() : TrackBar1->Position();
}

void TForm3::FormActivate() {
  TrackBar1->SetPosition(0);  // runs TrackBar1Change when the position was not 0 already
  ReadAngle();
  RebuildPreview(true);
}

void TForm3::TrackBar1Change() {
  ReadAngle();
  RebuildPreview(true);
}

void TForm3::Image1MouseDown(int x, int y) {
  centreX_ = x;
  centreY_ = y;
  ReadAngle();
  RebuildPreview(false);
}

void TForm3::RebuildPreview(bool markSelection) {
  const EditorDocument& doc = editor_->Document();
  DrawingObject selection;
  preview_.Clear();
  for (const PointRecord* p : doc.SelectionList()) {
    selection.Add(*p);
    preview_.Add(RotatedAbout(*p, angle_, 2 * centreX_, 2 * centreY_));
  }
  TCanvas& canvas = Image1->Clear();
  if (markSelection)
    DrawPointListsMarked(canvas, selection, 0, 2);
  else if (doc.CopyFlag)
    DrawPointLists(canvas, selection, 0, 2);
  DrawPointLists(canvas, preview_, 0, 2);
  canvas.Pen.Color = clRed;
  canvas.Brush.Style = TBrushStyle::Clear;
  canvas.Rectangle(centreX_ - 2, centreY_ - 2, centreX_ + 3, centreY_ + 3);
  Image1->Show();
}

void TForm3::BitBtn1Click() {
  ReadAngle();
  preview_.Clear();
  RotateSelection(editor_->Document(), angle_, 2 * centreX_, 2 * centreY_);
  close();
  editor_->RedrawCanvas();
}

void TForm3::BitBtn2Click() {
  preview_.Clear();
  close();
  editor_->update();
  editor_->RedrawCanvas();
}

}  // namespace kavri
