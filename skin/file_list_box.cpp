#include "skin/file_list_box.h"

#include <QKeyEvent>

namespace kavri {

TFileListBox::TFileListBox(QWidget* parent) : TSkinListBox(parent) {
  files_.OnChanged = [this] { ShowFiles(); };
  connect(this, &QListWidget::itemSelectionChanged, this, &TFileListBox::TakeSelection);
}

void TFileListBox::SetMultiSelect(bool on) {
  setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
  files_.SetMultiSelect(on);
}

void TFileListBox::ShowFiles() {
  if (showing_) return;  // the change came from the box, which already shows it
  showing_ = true;
  const auto& names = files_.Items();
  bool same = count() == static_cast<int>(names.size());
  for (int i = 0; same && i < count(); ++i) same = item(i)->text() == QString::fromStdString(names[i]);
  if (!same) {
    clear();
    for (const std::string& name : names) addItem(QString::fromStdString(name));
  }
  for (int i = 0; i < count(); ++i) item(i)->setSelected(files_.Selected(i));
  setCurrentRow(files_.ItemIndex(), QItemSelectionModel::NoUpdate);
  if (files_.ItemIndex() >= 0) scrollToItem(item(files_.ItemIndex()));
  showing_ = false;
}

void TFileListBox::TakeSelection() {
  if (showing_) return;
  showing_ = true;
  const int before = files_.ItemIndex();
  if (files_.MultiSelect()) {
    for (int i = 0; i < count(); ++i) files_.SetSelected(i, item(i)->isSelected());
    files_.SetItemIndex(currentRow());
  } else {
    const QList<QListWidgetItem*> picked = selectedItems();
    files_.SetItemIndex(picked.isEmpty() ? -1 : row(picked.front()));
  }
  showing_ = false;
  if (files_.ItemIndex() != before && OnChange) OnChange();
}

void TFileListBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && OnDeleteKey) {
    OnDeleteKey();
    return;
  }
  TSkinListBox::keyPressEvent(event);
}

void TFileListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  TSkinListBox::mouseDoubleClickEvent(event);
  if (OnDblClick && itemAt(event->position().toPoint())) OnDblClick();
}

}  // namespace kavri
