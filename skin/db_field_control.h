#pragma once
#include <QString>

#include "platform/data/data_link.h"

class QFocusEvent;
class QKeyEvent;
class QWidget;

namespace kavri {

// What every control bound to one field shares: its link, the binding properties, when a key
// starts an edit, and the commit on leaving the control.
class TDBFieldBinding {
 public:
  explicit TDBFieldBinding(QWidget* control);

  TFieldDataLink& DataLink() { return link_; }
  const TFieldDataLink& DataLink() const { return link_; }
  TDataSource* DataSource() const { return link_.DataSource(); }
  void SetDataSource(TDataSource* source);
  QString DataField() const { return link_.FieldName(); }
  void SetDataField(const QString& name) { link_.SetFieldName(name); }
  bool ReadOnly() const { return link_.ReadOnly(); }
  void SetReadOnly(bool value) { link_.SetReadOnly(value); }
  TField* Field() const { return link_.Field(); }

  // Asks the set to edit; a refusal is shown and answers false.
  bool RequestEdit();

  enum class TKeyRule { Pass, Drop, Reset };
  // The edit-start rule for one key: a key that would change the value first asks to edit; a
  // character the field cannot hold beeps and is dropped; Esc resets the link. `multiLine` adds
  // Tab and Enter to the changing keys.
  TKeyRule ApplyKeyRule(const QKeyEvent& event, bool multiLine);
  // The rule of controls that pick a value (check box, radio group), after their own handling:
  // Backspace and Space ask to edit, Esc resets the link.
  void ApplyChoiceKey(const QKeyEvent& event);

  // Leaving the control writes a pending value into the record. A refusal is shown and answers
  // false: the control then keeps the focus, and its text stays as typed. Focus going to a popup
  // (the context menu) or another application is not leaving.
  bool CommitOnExit(const QFocusEvent& event);

 private:
  TFieldDataLink link_;
};

}  // namespace kavri

namespace kavri {

// The shared face of a field-bound control on top of its widget class: the binding properties,
// clipboard operations that ask to edit first, and entering and leaving with the commit rule.
template <typename Widget>
class TDBFieldControl : public Widget {
 public:
  explicit TDBFieldControl(QWidget* owner) : Widget(owner), binding_(this) {}

  TDataSource* DataSource() const { return binding_.DataSource(); }
  void SetDataSource(TDataSource* source) { binding_.SetDataSource(source); }
  QString DataField() const { return binding_.DataField(); }
  void SetDataField(const QString& name) { binding_.SetDataField(name); }
  bool ReadOnly() const { return binding_.ReadOnly(); }
  void SetReadOnly(bool value) { binding_.SetReadOnly(value); }
  TField* Field() const { return binding_.Field(); }
  TFieldDataLink& DataLink() { return binding_.DataLink(); }

  void CutToClipboard() {
    binding_.RequestEdit();
    this->cut();
  }
  void PasteFromClipboard() {
    binding_.RequestEdit();
    this->paste();
  }
  void Undo() {
    binding_.RequestEdit();
    this->undo();
  }

 protected:
  // Entering and leaving switch the shown text between its display and editing forms.
  virtual void SetFocused(bool value) = 0;
  // A refused commit keeps the focus here.
  virtual void CommitRefused() { this->setFocus(); }

  void focusInEvent(QFocusEvent* event) override {
    SetFocused(true);
    Widget::focusInEvent(event);
  }
  void focusOutEvent(QFocusEvent* event) override {
    if (!binding_.CommitOnExit(*event)) {
      CommitRefused();
      return;
    }
    SetFocused(false);
    Widget::focusOutEvent(event);
  }

  TDBFieldBinding binding_;
};

}  // namespace kavri
