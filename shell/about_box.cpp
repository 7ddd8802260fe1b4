#include "shell/about_box.h"

#include <QPainter>
#include <QVBoxLayout>

namespace kavri {

TAboutBox* AboutBox = nullptr;

namespace {

// A small drawn emblem: a beam fanning out from a point.
QPixmap ProgramPicture() {
  QPixmap pixmap(48, 48);
  pixmap.fill(Qt::black);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor beams[] = {QColor(255, 40, 40), QColor(40, 255, 40), QColor(60, 120, 255)};
  for (int i = 0; i < 3; ++i) {
    painter.setPen(QPen(beams[i], 2));
    painter.drawLine(6, 42, 42, 8 + i * 12);
  }
  return pixmap;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QWidget(parent) {
  setObjectName("AboutBox");
  setWindowTitle("About");
  auto* layout = new QVBoxLayout(this);
  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setFrameShape(QFrame::StyledPanel);
  Panel1->setFrameShadow(QFrame::Sunken);
  auto* panelLayout = new QVBoxLayout(Panel1);
  ProgramIcon = new QLabel(Panel1);
  ProgramIcon->setObjectName("ProgramIcon");
  ProgramIcon->setPixmap(ProgramPicture());
  ProductName = new QLabel("Kavri laser software", Panel1);
  ProductName->setObjectName("ProductName");
  QFont big = ProductName->font();
  big.setPointSize(big.pointSize() + 4);
  big.setBold(true);
  ProductName->setFont(big);
  Version = new QLabel("Version:1.3 (2008-Aug-24)", Panel1);
  Version->setObjectName("Version");
  Label1 = new QLabel("ILDA colours follow the default 64-colour palette of the International Laser "
                      "Display Association's image data transfer format.",
                      Panel1);
  Label1->setObjectName("Label1");
  Label1->setWordWrap(true);
  panelLayout->addWidget(ProgramIcon);
  panelLayout->addWidget(ProductName);
  panelLayout->addWidget(Version);
  panelLayout->addWidget(Label1);
  layout->addWidget(Panel1);
  OKButton = MakeSkinButton(this, "OKButton", "OK", 80);
  layout->addWidget(OKButton, 0, Qt::AlignHCenter);
  setFixedWidth(320);
  OKButton->OnClick = [this](TSkinCustomButton*) { OKButtonClick(); };
  adjustSize();
}

TAboutBox::~TAboutBox() {
  if (AboutBox == this) AboutBox = nullptr;
}

void TAboutBox::OKButtonClick() { hide(); }

}  // namespace kavri
