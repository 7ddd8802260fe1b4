#include "skin/db_lookup_list_box.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "skin/db_error.h"
#include "skin/skin_draw.h"
#include "skin/style_apply.h"

namespace kavri {

namespace {
constexpr int kMaxRows = 100;
constexpr int kDefaultDisplayChars = 10;  // a column width for fields without a size
// Drag-scrolling speeds up by 15 ms per pixel past the edge, from 200 ms.
constexpr int kScrollStartMs = 200;
constexpr int kScrollMsPerPixel = 15;
}  // namespace

TSkinDBLookupListBox::TSkinDBLookupListBox(QWidget* owner) : TSkinDBLookupControl(owner) {
  bar_ = new QScrollBar(Qt::Vertical, this);
  bar_->setFocusPolicy(Qt::NoFocus);
  connect(bar_, &QScrollBar::actionTriggered, this, [this](int action) { ScrollAction(action); });
  // The bar only shows where the rows are; after an action it shows that again.
  connect(bar_, &QScrollBar::valueChanged, this, [this] { UpdateScrollBar(); });
  connect(&scrollTimer_, &QTimer::timeout, this, [this] { TimerScroll(); });
  borderColor_ = GetBorderColor(OwnerForm(owner));
  resize(121, height());
  SetRowCount(7);
}

int TSkinDBLookupListBox::TextHeight() const { return std::max(1, fontMetrics().height()); }

QRect TSkinDBLookupListBox::ClientArea() const {
  QRect r = rect().adjusted(kBorderWidth, kBorderWidth, -kBorderWidth, -kBorderWidth);
  if (!bar_->isHidden()) r.setRight(r.right() - bar_->width());
  return r;
}

void TSkinDBLookupListBox::SetBorderColor(TColor c) {
  borderColor_ = c;
  update();
}

void TSkinDBLookupListBox::SetRowCount(int rows) {
  rows = std::clamp(rows, 1, kMaxRows);
  rowCount_ = rows;
  resize(width(), rows * TextHeight() + BorderSize());
  ListLink().SetBufferCount(rows);
  ListLinkDataChanged();
}

void TSkinDBLookupListBox::resizeEvent(QResizeEvent* event) {
  TSkinDBLookupControl::resizeEvent(event);
  const int rows = std::max(1, (height() - BorderSize()) / TextHeight());
  if (rows != rowCount_ || ListLink().BufferCount() != rows) {
    rowCount_ = std::min(rows, kMaxRows);
    ListLink().SetBufferCount(rowCount_);
    ListLinkDataChanged();
  }
  const int snapped = rowCount_ * TextHeight() + BorderSize();
  if (height() != snapped) resize(width(), snapped);
  const int w = bar_->sizeHint().width();
  bar_->setGeometry(width() - kBorderWidth - w, kBorderWidth, w, std::max(0, height() - BorderSize()));
}

void TSkinDBLookupListBox::UpdateListFields() {
  TSkinDBLookupControl::UpdateListFields();
  if (ListActive())
    KeyValueChanged();
  else
    ListLinkDataChanged();
}

void TSkinDBLookupListBox::ListLinkDataChanged() {
  TDataSet* set = ListSet();
  if (ListActive() && set) {
    recordIndex_ = ListLink().ActiveRecord();
    recordCount_ = ListLink().RecordCount();
    const QVariant key = KeyValue();
    keySelected_ = (key.isValid() && !key.isNull()) || !set->Bof();
  } else {
    recordIndex_ = recordCount_ = 0;
    keySelected_ = false;
  }
  UpdateScrollBar();
  update();
}

void TSkinDBLookupListBox::KeyValueChanged() {
  if (ListActive() && !lockPosition_) {
    if (!LocateKey()) RunDataStep([this] { ListSet()->First(); });
  }
  selectedItem_ = ListActive() && ListFieldObject() ? ListFieldObject()->DisplayText() : QString();
  update();
}

int TSkinDBLookupListBox::GetKeyIndex() {
  TField* key = KeyFieldObject();
  if (!key) return -1;
  int found = -1;
  for (int i = 0; i < recordCount_ && found < 0; ++i) {
    ListLink().SetActiveRecord(i);
    if (LookupValuesEqual(key->Value(), KeyValue())) found = i;
  }
  ListLink().SetActiveRecord(recordIndex_);
  return found;
}

void TSkinDBLookupListBox::SelectCurrent() {
  // An empty list has no record to choose; its null key would clear the field.
  if (!KeyFieldObject() || ListSet()->IsEmpty()) return;
  lockPosition_ = true;
  SelectKeyValue(KeyFieldObject()->Value());
  lockPosition_ = false;
}

void TSkinDBLookupListBox::MoveList(int delta) {
  if (delta != 0) RunDataStep([&] { ListSet()->MoveBy(delta); });
}

void TSkinDBLookupListBox::SelectItemAt(int y) {
  const QRect client = ClientArea();
  y = std::clamp(y - client.top(), 0, std::max(0, client.height() - 1));
  MoveList(y / TextHeight() - recordIndex_);
  SelectCurrent();
}

void TSkinDBLookupListBox::keyPressEvent(QKeyEvent* event) {
  if (NullValueKeyPressed(event)) return;
  int delta = 0;
  bool handled = true;
  switch (event->key()) {
    case Qt::Key_PageUp: delta = 1 - rowCount_; break;
    case Qt::Key_PageDown: delta = rowCount_ - 1; break;
    case Qt::Key_Left:
    case Qt::Key_Up: delta = -1; break;
    case Qt::Key_Right:
    case Qt::Key_Down: delta = 1; break;
    case Qt::Key_Home:
    case Qt::Key_End: break;
    default: handled = false;
  }
  if (handled && CanModify()) {
    ClearSearch();
    if (event->key() == Qt::Key_Home) {
      RunDataStep([this] { ListSet()->First(); });
    } else if (event->key() == Qt::Key_End) {
      RunDataStep([this] { ListSet()->Last(); });
    } else {
      // A move counts from the chosen row; with that row out of sight the list only goes back to it.
      const int keyRow = GetKeyIndex();
      if (keyRow >= 0) {
        MoveList(keyRow - recordIndex_);
        MoveList(delta);
      } else {
        KeyValueChanged();
      }
    }
    SelectCurrent();
    event->accept();
    return;
  }
  const QString text = event->text();
  if (!handled && !text.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    ProcessSearchKey(text.at(0));
    event->accept();
  }
}

void TSkinDBLookupListBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  ClearSearch();
  if (!popup_) {
    setFocus(Qt::MouseFocusReason);
    if (!hasFocus()) return;
  }
  if (!CanModify()) return;
  tracking_ = true;
  SelectItemAt(event->position().toPoint().y());
}

void TSkinDBLookupListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !CanModify()) return;
  const int row = (event->position().toPoint().y() - ClientArea().top()) / TextHeight();
  if (row == recordIndex_ && OnDoubleClick) OnDoubleClick();
}

void TSkinDBLookupListBox::mouseMoveEvent(QMouseEvent* event) {
  if (!tracking_) return;
  const int y = event->position().toPoint().y();
  SelectItemAt(y);
  mousePos_ = y - ClientArea().top();
  TimerScroll();
}

void TSkinDBLookupListBox::mouseReleaseEvent(QMouseEvent* event) {
  if (!tracking_) return;
  StopTracking();
  SelectItemAt(event->position().toPoint().y());
}

void TSkinDBLookupListBox::StopTracking() {
  tracking_ = false;
  scrollTimer_.stop();
}

void TSkinDBLookupListBox::TimerScroll() {
  const int height = ClientArea().height();
  int delta = 0, distance = 0;
  if (mousePos_ < 0) {
    delta = -1;
    distance = -mousePos_;
  } else if (mousePos_ >= height) {
    delta = 1;
    distance = mousePos_ - height + 1;
  }
  if (delta == 0) {
    scrollTimer_.stop();
    return;
  }
  TDataSet* set = ListSet();
  if (!set) return;
  int moved = 0;
  RunDataStep([&] { moved = set->MoveBy(delta); });
  if (moved != 0) SelectCurrent();
  // Far past the edge the interval would reach 0, and a 0 ms timer spins a core.
  scrollTimer_.start(std::max(kMinScrollIntervalMs, kScrollStartMs - kScrollMsPerPixel * distance));
}

void TSkinDBLookupListBox::UpdateScrollBar() {
  TDataSet* set = ListSet();
  const bool filled = ListActive() && set && recordCount_ == rowCount_;
  const int max = filled ? 4 : 0;
  const int pos = !filled ? 0 : set->Bof() ? 0 : set->Eof() ? 4 : 2;
  const QSignalBlocker block(bar_);
  if (bar_->maximum() != max) bar_->setRange(0, max);
  if (bar_->value() != pos) bar_->setValue(pos);
}

void TSkinDBLookupListBox::ScrollAction(int action) {
  TDataSet* set = ListSet();
  if (!ListActive() || !set) return;
  ClearSearch();
  auto first = [set] { RunDataStep([set] { set->First(); }); };
  auto last = [set] { RunDataStep([set] { set->Last(); }); };
  const int pageUp = -recordIndex_ - recordCount_ + 1, pageDown = 2 * recordCount_ - recordIndex_ - 2;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: MoveList(-(recordIndex_ + 1)); break;
    case QAbstractSlider::SliderSingleStepAdd: MoveList(recordCount_ - recordIndex_); break;
    case QAbstractSlider::SliderPageStepSub: MoveList(pageUp); break;
    case QAbstractSlider::SliderPageStepAdd: MoveList(pageDown); break;
    case QAbstractSlider::SliderToMinimum: first(); break;
    case QAbstractSlider::SliderToMaximum: last(); break;
    case QAbstractSlider::SliderMove: {
      const int at = bar_->sliderPosition();
      if (at == 0) first();
      else if (at == 1) MoveList(pageUp);
      else if (at == 3) MoveList(pageDown);
      else if (at == 4) last();
      break;
    }
    default: break;
  }
}

void TSkinDBLookupListBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QColor background = palette().color(QPalette::Base);
  p.fillRect(rect(), background);
  const QRect client = ClientArea();
  const QFontMetrics metrics = fontMetrics();
  const int th = TextHeight(), charWidth = metrics.horizontalAdvance('0');
  const QColor divider = palette().color(background == palette().color(QPalette::Button) ? QPalette::Dark : QPalette::Button);
  const std::vector<TField*>& fields = ListFields();
  TField* key = KeyFieldObject();
  p.setClipRect(client);
  for (int i = 0; i < rowCount_; ++i) {
    const QRect row(client.left(), client.top() + i * th, client.width(), th);
    QColor text = palette().color(isEnabled() ? QPalette::Text : QPalette::PlaceholderText);
    QColor fill = background;
    bool selected = i == 0 && !keySelected_;
    bool record = i < recordCount_ && key;
    QVariant rowKey;
    if (record) {
      ListLink().SetActiveRecord(i);
      try {
        rowKey = key->Value();
      } catch (const EDatabaseError&) {
        record = false;  // another program deleted it: an empty row until the list is refreshed
      }
    }
    if (record) {
      if (LookupValuesEqual(rowKey, KeyValue())) {
        text = palette().color(QPalette::HighlightedText);
        fill = palette().color(QPalette::Highlight);
        selected = true;
      }
      p.fillRect(row, fill);
      int x = row.left();
      for (size_t c = 0; c < fields.size() && x < client.right(); ++c) {
        const bool lastColumn = c + 1 == fields.size();
        const int chars = fields[c]->Size() > 0 ? fields[c]->Size() : kDefaultDisplayChars;
        const int w = lastColumn ? client.right() + 1 - x : chars * charWidth + 4;
        const QRect cell(x, row.top(), w, th);
        p.setPen(text);
        const Qt::Alignment align = fields[c]->Alignment();
        p.drawText(align == Qt::AlignRight ? cell.adjusted(0, 0, -3, 0) : cell.adjusted(2, 0, 0, 0),
                   align | Qt::AlignVCenter | Qt::TextSingleLine, fields[c]->DisplayText());
        if (!lastColumn) {
          p.setPen(divider);
          p.drawLine(x + w - 1, row.top(), x + w - 1, row.bottom());
        }
        x += w;
      }
    } else {
      p.fillRect(row, background);
    }
    if (selected && (hasFocus() || popup_)) {
      p.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
      p.drawRect(row.adjusted(0, 0, -1, -1));
    }
  }
  if (ListActive()) ListLink().SetActiveRecord(recordIndex_);
  p.setClipping(false);
  DrawControlBorder(p, width(), height(), borderColor_, FromQColor(background));
}

TSkinPopupDataList::TSkinPopupDataList(QWidget* owner) : TSkinDBLookupListBox(owner) {
  popup_ = true;
  setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
}

}  // namespace kavri
