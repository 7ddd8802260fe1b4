#include "skin/db_image.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include "platform/picture_loader.h"
#include "skin/db_error.h"
#include "skin/skin_draw.h"
#include "skin/style_apply.h"

namespace kavri {

namespace {

bool IsBmp(const QByteArray& data) { return data.startsWith("BM"); }

QByteArray BmpBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  return bytes;
}

}  // namespace

TSkinDBImage::TSkinDBImage(QWidget* owner) : TDBFieldControl<QWidget>(owner) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  resize(105, 105);
  borderColor_ = GetBorderColor(OwnerForm(owner));
  TFieldDataLink& link = binding_.DataLink();
  link.OnDataChange = [this] { DataChange(); };
  link.OnUpdateData = [this] { UpdateData(); };
}

void TSkinDBImage::DataChange() {
  picture_ = QImage();
  bitmap_ = false;
  loaded_ = false;
  if (autoDisplay_) LoadPicture();
  update();
}

void TSkinDBImage::LoadPicture() {
  TField* f = Field();
  if (loaded_ || (f && !f->IsBlob())) return;
  QImage image;
  bool bitmap = false;
  if (f && !f->IsNull()) {
    const QByteArray data = f->Value().toByteArray();
    // Bad picture data shows as an empty picture, never as a failure.
    if (DecodePicture(reinterpret_cast<const uint8_t*>(data.constData()), static_cast<size_t>(data.size()), &image))
      bitmap = IsBmp(data);
  }
  picture_ = image;
  bitmap_ = bitmap;
  PictureChanged();
}

void TSkinDBImage::SetPicture(const QImage& picture, bool bitmap) {
  picture_ = picture;
  bitmap_ = bitmap && !picture.isNull();
  PictureChanged();
}

void TSkinDBImage::PictureChanged() {
  if (loaded_) binding_.DataLink().Modified();
  loaded_ = true;
  update();
}

void TSkinDBImage::UpdateData() {
  TField* f = Field();
  if (bitmap_)
    f->SetAsBlob(BmpBytes(picture_));
  else
    f->Clear();
}

void TSkinDBImage::SetAutoDisplay(bool value) {
  if (autoDisplay_ == value) return;
  autoDisplay_ = value;
  if (value) LoadPicture();
}

void TSkinDBImage::SetStretch(bool value) {
  if (stretch_ == value) return;
  stretch_ = value;
  update();
}

void TSkinDBImage::SetCenter(bool value) {
  if (center_ == value) return;
  center_ = value;
  update();
}

void TSkinDBImage::SetBorderColor(TColor c) {
  borderColor_ = c;
  update();
}

void TSkinDBImage::CopyToClipboard() {
  if (!picture_.isNull()) QApplication::clipboard()->setImage(picture_);
}

void TSkinDBImage::CutToClipboard() {
  if (picture_.isNull() || !binding_.RequestEdit()) return;
  CopyToClipboard();
  SetPicture(QImage());
}

void TSkinDBImage::PasteFromClipboard() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (!data || !data->hasImage() || !binding_.RequestEdit()) return;
  SetPicture(qvariant_cast<QImage>(data->imageData()), true);
}

void TSkinDBImage::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
  if (key == Qt::Key_Insert && mods == Qt::ShiftModifier) PasteFromClipboard();
  else if (key == Qt::Key_Insert && mods == Qt::ControlModifier) CopyToClipboard();
  else if (key == Qt::Key_Delete && mods == Qt::ShiftModifier) CutToClipboard();
  else if (key == Qt::Key_C && mods == Qt::ControlModifier) CopyToClipboard();
  else if (key == Qt::Key_V && mods == Qt::ControlModifier) PasteFromClipboard();
  else if (key == Qt::Key_X && mods == Qt::ControlModifier) CutToClipboard();
  else if (key == Qt::Key_Return || key == Qt::Key_Enter) LoadPicture();
  else if (key == Qt::Key_Escape) binding_.DataLink().Reset();
  else {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
}

void TSkinDBImage::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && focusPolicy() != Qt::NoFocus) setFocus(Qt::MouseFocusReason);
  QWidget::mousePressEvent(event);
}

void TSkinDBImage::mouseDoubleClickEvent(QMouseEvent* event) {
  LoadPicture();
  QWidget::mouseDoubleClickEvent(event);
}

void TSkinDBImage::focusOutEvent(QFocusEvent* event) {
  // Only an edit in progress has anything to write; a picture set while browsing stays shown.
  const TDataSet* set = binding_.DataLink().DataSet();
  const bool editing = set && (set->State() == TDataSetState::dsEdit || set->State() == TDataSetState::dsInsert);
  if (editing)
    TDBFieldControl<QWidget>::focusOutEvent(event);
  else
    QWidget::focusOutEvent(event);
  update();
}

void TSkinDBImage::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QColor background = palette().color(QPalette::Base);
  const QRect client = rect().adjusted(2, 2, -2, -2);
  p.fillRect(rect(), background);
  if (loaded_) {
    if (stretch_) {
      if (!picture_.isNull()) p.drawImage(client, picture_);
    } else {
      QPoint at = client.topLeft();
      if (center_)
        at += QPoint((client.width() - picture_.width()) / 2, (client.height() - picture_.height()) / 2);
      p.setClipRect(client);
      p.drawImage(at, picture_);
      p.setClipping(false);
    }
  } else {
    const QString label = Field() ? Field()->DisplayLabel() : objectName();
    p.setPen(palette().color(QPalette::Text));
    p.drawText(client, Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("(%1)").arg(label));
  }
  if (hasFocus()) {
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(client.adjusted(0, 0, -1, -1));
  }
  DrawControlBorder(p, width(), height(), borderColor_, FromQColor(background));
}

}  // namespace kavri
