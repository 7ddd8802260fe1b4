#include "skin/db_lookup_combo_box.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "skin/db_error.h"
#include "skin/db_lookup_list_box.h"
#include "skin/skin_draw.h"

namespace kavri {

TSkinDBLookupComboBox::TSkinDBLookupComboBox(QWidget* owner) : TSkinDBLookupControl(owner) {
  resize(145, fontMetrics().height() + 8);
  dataList_ = new TSkinPopupDataList(this);
  dataList_->OnClick = [this] { CloseUp(true); };
}

void TSkinDBLookupComboBox::SetBorderColor(TColor c) {
  borderColor_ = c;
  update();
}

void TSkinDBLookupComboBox::UpdateListFields() {
  TSkinDBLookupControl::UpdateListFields();
  KeyValueChanged();
}

void TSkinDBLookupComboBox::KeyValueChanged() {
  text_.clear();
  TDataSet* set = ListSet();
  // No key is no row, though a list row may have no key either.
  const bool key = KeyValue().isValid() && !KeyValue().isNull();
  if (key && ListActive() && set && ListFieldObject()) {
    // Looked up without moving the list, which the open list may be showing.
    RunDataStep([&] {
      text_ = set->Lookup(KeyFieldObject()->FieldName(), {KeyValue()}, ListFieldObject()->FieldName()).toString();
    });
  }
  update();
}

bool TSkinDBLookupComboBox::ListVisible() const { return dataList_->isVisible(); }

void TSkinDBLookupComboBox::DropDown() {
  if (ListVisible() || !ListActive()) return;
  // The open list shows what this control shows, in lookup-field mode too.
  dataList_->SetListSource(ListSourceInUse());
  dataList_->SetKeyField(KeyFieldInUse());
  QStringList names;
  for (TField* f : ListFields()) names << f->FieldName();
  dataList_->SetListField(names.join(';'));
  const auto shown = std::find(ListFields().begin(), ListFields().end(), ListFieldObject());
  dataList_->SetListFieldIndex(static_cast<int>(shown - ListFields().begin()));
  dataList_->SetKeyValue(KeyValue());
  dataList_->resize(width(), dataList_->height());
  dataList_->move(mapToGlobal(QPoint(0, height())));
  dataList_->show();
}

void TSkinDBLookupComboBox::CloseUp(bool accept) {
  if (!ListVisible()) return;
  dataList_->hide();
  if (accept && CanModify()) SelectKeyValue(dataList_->KeyValue());
}

void TSkinDBLookupComboBox::Step(int delta) {
  TDataSet* set = ListSet();
  if (!CanModify() || !set || !KeyFieldObject() || set->IsEmpty()) return;  // nothing to step to
  RunDataStep([&] {
    if (LocateKey())
      set->MoveBy(delta);
    else
      set->First();
  });
  SelectKeyValue(KeyFieldObject()->Value());
}

void TSkinDBLookupComboBox::keyPressEvent(QKeyEvent* event) {
  if (NullValueKeyPressed(event)) return;
  const int key = event->key();
  const bool alt = event->modifiers() & Qt::AltModifier;
  if (key == Qt::Key_F4 || (alt && (key == Qt::Key_Down || key == Qt::Key_Up))) {
    ListVisible() ? CloseUp(true) : DropDown();
  } else if (ListVisible() && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) {
    CloseUp(key != Qt::Key_Escape);
  } else if (ListVisible()) {
    QCoreApplication::sendEvent(dataList_, event);  // the open list takes the moves and the search
  } else if (key == Qt::Key_Up || key == Qt::Key_Down) {
    Step(key == Qt::Key_Up ? -1 : 1);
  } else if (!event->text().isEmpty() && !(event->modifiers() & Qt::ControlModifier)) {
    ProcessSearchKey(event->text().at(0));
  } else {
    TSkinDBLookupControl::keyPressEvent(event);
    return;
  }
  event->accept();
}

void TSkinDBLookupComboBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  ListVisible() ? CloseUp(false) : DropDown();
}

void TSkinDBLookupComboBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QColor background = palette().color(QPalette::Base);
  p.fillRect(rect(), background);
  const int button = height() - 4;
  const QRect textRect(4, 2, width() - button - 8, height() - 4);
  if (hasFocus() && !ListVisible()) p.fillRect(textRect, palette().color(QPalette::Highlight));
  p.setPen(palette().color(hasFocus() && !ListVisible() ? QPalette::HighlightedText : QPalette::Text));
  p.drawText(textRect.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text_);
  const QRect drop(width() - button - 2, 2, button, button);
  p.fillRect(drop, palette().color(QPalette::Button));
  const int x = drop.left() + drop.width() / 2 - 4, y = drop.top() + drop.height() / 2 - 1;
  const QPoint arrow[] = {{x, y}, {x + 6, y}, {x + 3, y + 3}};
  p.setPen(Qt::NoPen);
  p.setBrush(palette().color(isEnabled() ? QPalette::ButtonText : QPalette::PlaceholderText));
  p.drawPolygon(arrow, 3);
  DrawControlBorder(p, width(), height(), borderColor_, FromQColor(background));
}

}  // namespace kavri
