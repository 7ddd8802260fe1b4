#include "skin/db_field_control.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "skin/db_error.h"

namespace kavri {

TDBFieldBinding::TDBFieldBinding(QWidget* control) { link_.SetControl(control); }

void TDBFieldBinding::SetDataSource(TDataSource* source) {
  if (link_.DataSourceFixed()) return;
  link_.SetDataSource(source);
}

bool TDBFieldBinding::RequestEdit() {
  bool editing = false;
  RunDataStep([&] { editing = link_.Edit(); });
  return editing;
}

TDBFieldBinding::TKeyRule TDBFieldBinding::ApplyKeyRule(const QKeyEvent& event, bool multiLine) {
  const int key = event.key();
  if (key == Qt::Key_Escape) {
    link_.Reset();
    return TKeyRule::Reset;
  }
  bool changes = key == Qt::Key_Delete || key == Qt::Key_Backspace || event.matches(QKeySequence::Paste) ||
                 event.matches(QKeySequence::Cut) || event.matches(QKeySequence::Undo) ||
                 (key == Qt::Key_Insert && (event.modifiers() & Qt::ShiftModifier)) ||
                 (multiLine && (key == Qt::Key_Tab || key == Qt::Key_Return || key == Qt::Key_Enter));
  const QString text = event.text();
  const bool typed = !text.isEmpty() && text[0] >= QChar(' ') && text[0] != QChar(0x7F) &&
                     !(event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
  if (typed) {
    if (link_.Field() && !link_.Field()->IsValidChar(text[0])) {
      QApplication::beep();
      return TKeyRule::Drop;
    }
    changes = true;
  }
  if (changes) RequestEdit();
  return TKeyRule::Pass;
}

void TDBFieldBinding::ApplyChoiceKey(const QKeyEvent& event) {
  if (event.key() == Qt::Key_Escape)
    link_.Reset();
  else if (event.key() == Qt::Key_Backspace || event.key() == Qt::Key_Space)
    RequestEdit();
}

bool TDBFieldBinding::CommitOnExit(const QFocusEvent& event) {
  if (event.reason() == Qt::PopupFocusReason || event.reason() == Qt::ActiveWindowFocusReason) return true;
  return RunDataStep([&] { link_.UpdateRecord(); });
}

}  // namespace kavri
