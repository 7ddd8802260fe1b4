#include "shell/settings_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QValidator>
#include <QVBoxLayout>

#include "engine/shared_state.h"
#include "platform/dialog_service.h"
#include "shell/main_window.h"
#include "shell/settings_file.h"

namespace kavri {

TForm13* Form13 = nullptr;

namespace {

QString Num(int value) { return QString::number(value); }

// Keeps what is typed or pasted within the bytes a path may have. A text set from the program is
// not checked.
class TSettingsLineValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    return FitsPlayerPath(input.toStdString()) ? Acceptable : Invalid;
  }
};

}  // namespace

TForm13::TForm13(QWidget* parent) : QWidget(parent) {
  setObjectName("Form13");
  setWindowTitle("Settings");
  auto* layout = new QHBoxLayout(this);

  auto* padColumn = new QVBoxLayout;
  Image1 = new TOffsetPad(this);
  Image1->setObjectName("Image1");
  padColumn->addWidget(Image1);
  auto* offsetRow = new QHBoxLayout;
  offsetRow->addWidget(MakeLabel(this, nullptr, "H offset:"));
  Label3 = MakeLabel(this, "Label3");
  offsetRow->addWidget(Label3);
  offsetRow->addWidget(MakeLabel(this, nullptr, "V offset:"));
  Label4 = MakeLabel(this, "Label4");
  offsetRow->addWidget(Label4);
  padColumn->addLayout(offsetRow);
  skinButton2 = MakeSkinButton(this, "skinButton2", "Reset to 0", 256);
  padColumn->addWidget(skinButton2);
  padColumn->addStretch();
  layout->addLayout(padColumn);

  auto* grid = new QGridLayout;
  int row = 0;
  auto addRow = [&](const char* caption, TSkinTrackBar* bar, QLabel* value) {
    grid->addWidget(MakeLabel(this, nullptr, caption), row, 0);
    grid->addWidget(bar, row, 1);
    grid->addWidget(value, row, 2);
    ++row;
  };
  TrackBar6 = MakeSkinTrackBar(this, "TrackBar6", 25, 225);
  Label6 = MakeLabel(this, "Label6");
  addRow("Scan rate", TrackBar6, Label6);
  TrackBar7 = MakeSkinTrackBar(this, "TrackBar7", 0, 255);
  Label41 = MakeLabel(this, "Label41");
  addRow("Blanking delay", TrackBar7, Label41);
  skinTrackBar1 = MakeSkinTrackBar(this, "skinTrackBar1", 0, 40);
  Label9 = MakeLabel(this, "Label9");
  addRow("Horizontal size", skinTrackBar1, Label9);
  skinTrackBar2 = MakeSkinTrackBar(this, "skinTrackBar2", 0, 40);
  Label13 = MakeLabel(this, "Label13");
  addRow("Vertical size", skinTrackBar2, Label13);
  skinCheckBox1 = MakeSkinCheckBox(this, "skinCheckBox1", "Lock XY size scale");
  grid->addWidget(skinCheckBox1, row++, 1);
  skinTrackBar3 = MakeSkinTrackBar(this, "skinTrackBar3", 0, 360);
  Label14 = MakeLabel(this, "Label14");
  addRow("Locate angle", skinTrackBar3, Label14);
  TrackBar1 = MakeSkinTrackBar(this, "TrackBar1", 2, 1000);
  Label19 = MakeLabel(this, "Label19");
  addRow("ILDA frame interval", TrackBar1, Label19);
  skinTrackBar4 = MakeSkinTrackBar(this, "skinTrackBar4", 0, 200);
  skinTrackBar5 = MakeSkinTrackBar(this, "skinTrackBar5", 0, 200);
  skinTrackBar6 = MakeSkinTrackBar(this, "skinTrackBar6", 0, 200);
  skinTrackBar7 = MakeSkinTrackBar(this, "skinTrackBar7", 0, 200);
  Label27 = MakeLabel(this, "Label27");
  Label32 = MakeLabel(this, "Label32");
  Label33 = MakeLabel(this, "Label33");
  Label37 = MakeLabel(this, "Label37");
  for (QWidget* hidden : std::initializer_list<QWidget*>{skinTrackBar4, skinTrackBar5, skinTrackBar6, skinTrackBar7,
                                                         Label27, Label32, Label33, Label37}) {
    hidden->hide();
  }
  grid->addWidget(MakeLabel(this, nullptr, "Media player"), row, 0);
  auto* playerRow = new QHBoxLayout;
  skinEdit4 = MakeSkinEdit(this, "skinEdit4");
  skinEdit4->setValidator(new TSettingsLineValidator(skinEdit4));
  skinButton12 = MakeSkinButton(this, "skinButton12", "Find...", 80);
  playerRow->addWidget(skinEdit4);
  playerRow->addWidget(skinButton12);
  grid->addLayout(playerRow, row++, 1, 1, 2);
  grid->setRowStretch(row, 1);
  layout->addLayout(grid);

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setSingleShot(true);
  Timer1->setInterval(kPadRedrawDelayMs);

  Image1->onMouseDown = [this](int x, int y) { Image1MouseDown(x, y); };
  Image1->onMouseMove = [this](int x, int y) { Image1MouseMove(x, y); };
  Image1->onMouseUp = [this] { Image1MouseUp(); };
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  skinButton2->OnClick = [this](TSkinCustomButton*) { skinButton2Click(); };
  skinButton12->OnClick = [this](TSkinCustomButton*) { skinButton12Click(); };
  TrackBar6->OnChange = [this](QObject*) {
    const int p = TrackBar6->Position();
    model_.ScanPositionChanged(p);
    Label6->setText(QString::fromStdString(TSettingsWindowModel::ScanRateText(p)));
  };
  skinTrackBar1->OnChange = [this](QObject*) {
    const int p = skinTrackBar1->Position();
    const int other = model_.HorizontalSizeChanged(p);
    Label9->setText(Num(HSize));
    if (other >= 0) skinTrackBar2->SetPosition(other);
    Label13->setText(Num(VSize));
  };
  skinTrackBar2->OnChange = [this](QObject*) {
    const int p = skinTrackBar2->Position();
    const int other = model_.VerticalSizeChanged(p);
    Label13->setText(Num(VSize));
    if (other >= 0) skinTrackBar1->SetPosition(other);
    Label9->setText(Num(HSize));
  };
  skinCheckBox1->OnClick = [this](TSkinCustomButton*) {
    const int vertical = model_.LockClicked(skinCheckBox1->Checked());
    if (vertical >= 0) skinTrackBar2->SetPosition(vertical);
    Label13->setText(Num(VSize));
  };
  // A slider whose change sets one value and shows it.
  auto bindSlider = [this](TSkinTrackBar* bar, QLabel* label, void (TSettingsWindowModel::*set)(int)) {
    bar->OnChange = [this, bar, label, set](QObject*) {
      (model_.*set)(bar->Position());
      label->setText(Num(bar->Position()));
    };
  };
  bindSlider(TrackBar7, Label41, &TSettingsWindowModel::BlankingChanged);
  bindSlider(skinTrackBar3, Label14, &TSettingsWindowModel::AngleChanged);
  bindSlider(TrackBar1, Label19, &TSettingsWindowModel::FrameIntervalChanged);
  bindSlider(skinTrackBar4, Label27, &TSettingsWindowModel::RedChanged);
  bindSlider(skinTrackBar5, Label32, &TSettingsWindowModel::GreenChanged);
  bindSlider(skinTrackBar6, Label33, &TSettingsWindowModel::BlueChanged);
  bindSlider(skinTrackBar7, Label37, &TSettingsWindowModel::IntensityChanged);
  skinEdit4->OnChange = [this] {
    // The edit shows a path that is not UTF-8 lossily; only the operator's own edit may replace it.
    if (skinEdit4->Text() == QString::fromStdString(MediaPlayerPath())) return;
    model_.MediaPlayerPathChanged(skinEdit4->Text().toStdString());
  };
}

TForm13::~TForm13() {
  if (Form13 == this) Form13 = nullptr;
}

void TForm13::ShowOffsets() {
  Label3->setText(Num(HOffset));
  Label4->setText(Num(VOffset));
}

void TForm13::FormCreate() {
  if (Form15) ReadOutputSettings(Form15->SettingsLines());
  // Read every global before the first slider moves: each slider writes its own global back.
  const int scan = ScanDelay, blanking = BlankingDelay, hSize = HSize, vSize = VSize, angle = LocateAngle;
  const int interval = FrameInterval, red = RedSaturation, green = GreenSaturation, blue = BlueSaturation;
  const int intensity = Intensity;
  const std::string player = MediaPlayerPath();
  model_.LoadFromSettings();
  ShowOffsets();
  Image1->DrawMarker(model_.Marker().x, model_.Marker().y);
  TrackBar6->SetPosition(TSettingsWindowModel::ScanPositionOf(scan));
  TrackBar7->SetPosition(blanking);
  skinTrackBar1->SetPosition(hSize);
  skinTrackBar2->SetPosition(vSize);
  skinTrackBar3->SetPosition(angle);
  TrackBar1->SetPosition(interval);
  skinTrackBar4->SetPosition(red);
  skinTrackBar5->SetPosition(green);
  skinTrackBar6->SetPosition(blue);
  skinTrackBar7->SetPosition(intensity);
  skinEdit4->setText(QString::fromStdString(player));
  // A slider already at its position sends no change; show every value all the same.
  Label6->setText(QString::fromStdString(TSettingsWindowModel::ScanRateText(TrackBar6->Position())));
  Label41->setText(Num(TrackBar7->Position()));
  Label9->setText(Num(skinTrackBar1->Position()));
  Label13->setText(Num(skinTrackBar2->Position()));
  Label14->setText(Num(skinTrackBar3->Position()));
  Label19->setText(Num(TrackBar1->Position()));
  Label27->setText(Num(skinTrackBar4->Position()));
  Label32->setText(Num(skinTrackBar5->Position()));
  Label33->setText(Num(skinTrackBar6->Position()));
  Label37->setText(Num(skinTrackBar7->Position()));
}

void TForm13::FormActivate() {
  model_.PadRelease();
  Timer1->start();
  TrackBar6->SetPosition(TSettingsWindowModel::ScanPositionOf(ScanDelay));
  Label6->setText(QString::fromStdString(TSettingsWindowModel::ScanRateText(TrackBar6->Position())));
  TrackBar7->SetPosition(BlankingDelay);
  Label41->setText(Num(TrackBar7->Position()));
}

void TForm13::Timer1Timer() {
  Timer1->stop();
  Image1->DrawMarker(model_.Marker().x, model_.Marker().y);
}

void TForm13::Image1MouseDown(int x, int y) {
  model_.PadPress(x, y);
  ShowOffsets();
  Image1->DrawMarker(model_.Marker().x, model_.Marker().y);
}

void TForm13::Image1MouseMove(int x, int y) {
  if (!model_.Dragging()) return;
  model_.PadMove(x, y);
  ShowOffsets();
  Image1->DrawMarker(model_.Marker().x, model_.Marker().y);
}

void TForm13::Image1MouseUp() { model_.PadRelease(); }

void TForm13::skinButton2Click() {
  model_.ResetOffsets();
  ShowOffsets();
  Image1->DrawMarker(model_.Marker().x, model_.Marker().y);
}

void TForm13::skinButton12Click() {
  TFileDialogRequest request;
  request.title = "Find the media player";
  request.fileName = skinEdit4->text().toStdString();
  request.filters = {"Execute File(*)"};
  const std::optional<std::string> chosen = Dialogs().ChooseOpenFile(request);
  if (chosen && TSettingsWindowModel::IsUsableMediaPlayer(*chosen)) skinEdit4->setText(QString::fromStdString(*chosen));
}

void TForm13::showEvent(QShowEvent* event) {
  FormActivate();
  QWidget::showEvent(event);
}

bool TForm13::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return QWidget::event(event);
}

}  // namespace kavri
