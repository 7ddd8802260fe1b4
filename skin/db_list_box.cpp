#include "skin/db_list_box.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace kavri {

TSkinDBListBox::TSkinDBListBox(QWidget* owner) : TDBFieldControl<TSkinListBox>(owner) {
  TFieldDataLink& link = binding_.DataLink();
  link.OnDataChange = [this] { DataChange(); };
  link.OnUpdateData = [this] {
    QListWidgetItem* item = currentItem();
    Field()->SetText(item && item->isSelected() ? item->text() : QString());
  };
  connect(this, &QListWidget::currentRowChanged, this, [this] {
    if (!showing_) binding_.DataLink().Modified();
  });
}

QStringList TSkinDBListBox::Items() const {
  QStringList items;
  for (int i = 0; i < count(); ++i) items << item(i)->text();
  return items;
}

void TSkinDBListBox::SetItems(const QStringList& items) {
  showing_ = true;
  clear();
  addItems(items);
  showing_ = false;
  DataChange();
}

void TSkinDBListBox::DataChange() {
  int index = -1;
  if (Field()) index = Items().indexOf(Field()->Text());
  showing_ = true;
  setCurrentRow(index);
  if (index < 0) clearSelection();
  showing_ = false;
}

void TSkinDBListBox::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Escape) {
    binding_.DataLink().Reset();
    event->accept();
    return;
  }
  const bool moves = key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Home ||
                     key == Qt::Key_End || key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right ||
                     key == Qt::Key_Down;
  const bool typed = !event->text().isEmpty() && event->text().at(0) >= QChar(' ');
  if ((moves || typed) && !binding_.RequestEdit()) {
    event->accept();
    return;
  }
  TSkinListBox::keyPressEvent(event);
}

void TSkinDBListBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && !binding_.RequestEdit()) {
    // Refused, the list only takes the focus; the selection stays on the field's item.
    setFocus(Qt::MouseFocusReason);
    event->accept();
    return;
  }
  TSkinListBox::mousePressEvent(event);
}

}  // namespace kavri
