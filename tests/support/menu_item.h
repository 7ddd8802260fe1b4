#pragma once
#include <QAction>
#include <QMenu>
#include <QWidget>

namespace kavri_test {

// The item of a window's menu bar by its menu's and its own caption; null when there is none.
inline QAction* MenuItem(QWidget* bar, const QString& menu, const QString& item) {
  for (QAction* a : bar->actions())
    if (a->menu() && a->text() == menu)
      for (QAction* i : a->menu()->actions())
        if (i->text() == item) return i;
  return nullptr;
}

}  // namespace kavri_test
