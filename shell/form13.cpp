#include "shell/form13.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "engine/shared_state.h"
#include "platform/dialog_service.h"
#include "shell/form15.h"

namespace kavri {

TForm13* Form13 = nullptr;

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text = {}) {
  auto* label = new QLabel(text, parent);
  if (name) label->setObjectName(name);
  return label;
}

ShellTrackBar* MakeTrackBar(QWidget* parent, const char* name, int low, int high) {
  auto* bar = new ShellTrackBar(Qt::Horizontal, parent);
  bar->setObjectName(name);
  bar->setRange(low, high);
  bar->setMinimumWidth(220);
  return bar;
}

QString Num(int value) { return QString::number(value); }

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
  skinButton2 = new ShellButton("Reset to 0", this);
  skinButton2->setObjectName("skinButton2");
  padColumn->addWidget(skinButton2);
  padColumn->addStretch();
  layout->addLayout(padColumn);

  auto* grid = new QGridLayout;
  int row = 0;
  auto addRow = [&](const char* caption, ShellTrackBar* bar, QLabel* value) {
    grid->addWidget(MakeLabel(this, nullptr, caption), row, 0);
    grid->addWidget(bar, row, 1);
    grid->addWidget(value, row, 2);
    ++row;
  };
  TrackBar6 = MakeTrackBar(this, "TrackBar6", 25, 225);
  Label6 = MakeLabel(this, "Label6");
  addRow("Scan rate", TrackBar6, Label6);
  TrackBar7 = MakeTrackBar(this, "TrackBar7", 0, 255);
  Label41 = MakeLabel(this, "Label41");
  addRow("Blanking delay", TrackBar7, Label41);
  skinTrackBar1 = MakeTrackBar(this, "skinTrackBar1", 0, 40);
  Label9 = MakeLabel(this, "Label9");
  addRow("Horizontal size", skinTrackBar1, Label9);
  skinTrackBar2 = MakeTrackBar(this, "skinTrackBar2", 0, 40);
  Label13 = MakeLabel(this, "Label13");
  addRow("Vertical size", skinTrackBar2, Label13);
  skinCheckBox1 = new ShellCheckBox("Lock XY size scale", this);
  skinCheckBox1->setObjectName("skinCheckBox1");
  grid->addWidget(skinCheckBox1, row++, 1);
  skinTrackBar3 = MakeTrackBar(this, "skinTrackBar3", 0, 360);
  Label14 = MakeLabel(this, "Label14");
  addRow("Locate angle", skinTrackBar3, Label14);
  TrackBar1 = MakeTrackBar(this, "TrackBar1", 2, 1000);
  Label19 = MakeLabel(this, "Label19");
  addRow("ILDA frame interval", TrackBar1, Label19);
  skinTrackBar4 = MakeTrackBar(this, "skinTrackBar4", 0, 200);
  skinTrackBar5 = MakeTrackBar(this, "skinTrackBar5", 0, 200);
  skinTrackBar6 = MakeTrackBar(this, "skinTrackBar6", 0, 200);
  skinTrackBar7 = MakeTrackBar(this, "skinTrackBar7", 0, 200);
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
  skinEdit4 = new ShellEdit(this);
  skinEdit4->setObjectName("skinEdit4");
  skinButton12 = new ShellButton("Find...", this);
  skinButton12->setObjectName("skinButton12");
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
  connect(skinButton2, &QAbstractButton::clicked, this, [this] { skinButton2Click(); });
  connect(skinButton12, &QAbstractButton::clicked, this, [this] { skinButton12Click(); });
  connect(TrackBar6, &QSlider::valueChanged, this, [this](int p) {
    model_.ScanPositionChanged(p);
    Label6->setText(QString::fromStdString(TSettingsWindowModel::ScanRateText(p)));
  });
  connect(TrackBar7, &QSlider::valueChanged, this, [this](int p) {
    model_.BlankingChanged(p);
    Label41->setText(Num(p));
  });
  connect(skinTrackBar1, &QSlider::valueChanged, this, [this](int p) {
    const int other = model_.HorizontalSizeChanged(p);
    Label9->setText(Num(HSize));
    if (other >= 0) SetPosition(skinTrackBar2, other);
    Label13->setText(Num(VSize));
  });
  connect(skinTrackBar2, &QSlider::valueChanged, this, [this](int p) {
    const int other = model_.VerticalSizeChanged(p);
    Label13->setText(Num(VSize));
    if (other >= 0) SetPosition(skinTrackBar1, other);
    Label9->setText(Num(HSize));
  });
  connect(skinCheckBox1, &QAbstractButton::clicked, this, [this](bool ticked) {
    const int vertical = model_.LockClicked(ticked);
    if (vertical >= 0) SetPosition(skinTrackBar2, vertical);
    Label13->setText(Num(VSize));
  });
  connect(skinTrackBar3, &QSlider::valueChanged, this, [this](int p) {
    model_.AngleChanged(p);
    Label14->setText(Num(p));
  });
  connect(TrackBar1, &QSlider::valueChanged, this, [this](int p) {
    model_.FrameIntervalChanged(p);
    Label19->setText(Num(p));
  });
  connect(skinTrackBar4, &QSlider::valueChanged, this, [this](int p) { model_.RedChanged(p); Label27->setText(Num(p)); });
  connect(skinTrackBar5, &QSlider::valueChanged, this, [this](int p) { model_.GreenChanged(p); Label32->setText(Num(p)); });
  connect(skinTrackBar6, &QSlider::valueChanged, this, [this](int p) { model_.BlueChanged(p); Label33->setText(Num(p)); });
  connect(skinTrackBar7, &QSlider::valueChanged, this, [this](int p) {
    model_.IntensityChanged(p);
    Label37->setText(Num(p));
  });
  connect(skinEdit4, &QLineEdit::textChanged, this,
          [this](const QString& text) { model_.MediaPlayerPathChanged(text.toStdString()); });
}

TForm13::~TForm13() {
  if (Form13 == this) Form13 = nullptr;
}

// Positions set from code go through the same handlers as the operator's, held to the slider.
void TForm13::SetPosition(ShellTrackBar* bar, int position) {
  bar->setValue(std::clamp(position, bar->minimum(), bar->maximum()));
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
  SetPosition(TrackBar6, TSettingsWindowModel::ScanPositionOf(scan));
  SetPosition(TrackBar7, blanking);
  SetPosition(skinTrackBar1, hSize);
  SetPosition(skinTrackBar2, vSize);
  SetPosition(skinTrackBar3, angle);
  SetPosition(TrackBar1, interval);
  SetPosition(skinTrackBar4, red);
  SetPosition(skinTrackBar5, green);
  SetPosition(skinTrackBar6, blue);
  SetPosition(skinTrackBar7, intensity);
  skinEdit4->setText(QString::fromStdString(player));
  // A slider already at its position sends no change; show every value all the same.
  Label6->setText(QString::fromStdString(TSettingsWindowModel::ScanRateText(TrackBar6->value())));
  Label41->setText(Num(TrackBar7->value()));
  Label9->setText(Num(skinTrackBar1->value()));
  Label13->setText(Num(skinTrackBar2->value()));
  Label14->setText(Num(skinTrackBar3->value()));
  Label19->setText(Num(TrackBar1->value()));
  Label27->setText(Num(skinTrackBar4->value()));
  Label32->setText(Num(skinTrackBar5->value()));
  Label33->setText(Num(skinTrackBar6->value()));
  Label37->setText(Num(skinTrackBar7->value()));
}

void TForm13::FormActivate() {
  model_.PadRelease();
  Timer1->start();
  SetPosition(TrackBar6, TSettingsWindowModel::ScanPositionOf(ScanDelay));
  Label6->setText(QString::fromStdString(TSettingsWindowModel::ScanRateText(TrackBar6->value())));
  SetPosition(TrackBar7, BlankingDelay);
  Label41->setText(Num(TrackBar7->value()));
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

}  // namespace kavri
