#include "shell/shell_controls.h"

#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <QLabel>
#include <algorithm>
#include <optional>

#include "platform/dialog_service.h"
#include "shell/error_guard.h"
#include "skin/elided_label.h"

namespace kavri {

TSkinButton* MakeSkinButton(QWidget* parent, const char* name, const QString& caption, int width) {
  auto* button = new TSkinButton(parent);
  button->setObjectName(name);
  button->SetCaption(caption);
  button->SetUIStyle(kShellStyle);
  // The width asked for, or what the caption needs when that is more.
  constexpr int kCaptionMargins = 2 * 6;
  button->setFixedSize(std::max(width, QFontMetrics(button->font()).horizontalAdvance(caption) + kCaptionMargins), 26);
  return button;
}

TSkinCheckBox* MakeSkinCheckBox(QWidget* parent, const char* name, const QString& caption) {
  auto* box = new TSkinCheckBox(parent);
  box->setObjectName(name);
  box->SetUIStyle(kShellStyle);
  box->SetCaption(caption);
  box->setFixedSize(QFontMetrics(box->font()).horizontalAdvance(caption) + 26, 20);
  return box;
}

TSkinComboBox* MakeSkinComboBox(QWidget* parent, const char* name) {
  auto* combo = new TSkinComboBox(parent);
  combo->setObjectName(name);
  combo->SetUIStyle(kShellStyle);
  return combo;
}

TSkinTrackBar* MakeSkinTrackBar(QWidget* parent, const char* name, int min, int max) {
  auto* bar = new TSkinTrackBar(parent);
  bar->setObjectName(name);
  bar->SetUIStyle(kShellStyle);
  bar->SetMax(max);
  bar->SetMin(min);
  bar->setFixedSize(220, 24);
  return bar;
}

TSkinEdit* MakeSkinEdit(QWidget* parent, const char* name) {
  auto* edit = new TSkinEdit(parent);
  edit->setObjectName(name);
  return edit;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  if (name) label->setObjectName(name);
  return label;
}

QLabel* MakeElidedLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new TElidedLabel(text, parent);
  label->setObjectName(name);
  return label;
}

void TMessageLine::Say(const std::string& text) {
  note_.clear();
  setText(QString::fromStdString(text));
}

void TMessageLine::Note(const std::string& text) {
  setText(QString::fromStdString(text));
  note_ = this->text();
}

void TMessageLine::Run(const std::function<void()>& command, const std::function<std::string()>& takeSaid) {
  takeSaid();  // what was left before this command is not its word
  std::optional<std::string> refusal;
  {
    TErrorBoxNotes notes;
    RunGuarded(command);
    refusal = notes.Last();
  }
  const std::string said = takeSaid();
  if (refusal)
    Note(*refusal);
  else if (!said.empty())
    Say(said);
}

void TMessageLine::Renewed() {
  if (ShowsNote()) setText(idle_);
  note_.clear();
}

TMessageLine* MakeMessageLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new TMessageLine(text, parent);
  label->setObjectName(name);
  label->setStyleSheet("color: red");
  return label;
}

QLabel* MakeBlackImage(QWidget* parent, const char* name, int size) {
  QLabel* image = MakeLabel(parent, name);
  image->setFixedSize(size, size);
  QImage black(size, size, QImage::Format_RGB32);
  black.fill(Qt::black);
  image->setPixmap(QPixmap::fromImage(black));
  return image;
}

TSkinToolBar* MakeRunToolBar(QWidget* parent) {
  auto* bar = new TSkinToolBar(parent);
  bar->setObjectName("skinToolBar1");
  bar->SetImages(&RunImages());
  // Room for the picture and the one-pixel shift of a pressed one, as a tool bar sizes its buttons.
  bar->SetButtonSize(kRunImageSize + 7, kRunImageSize + 6);
  bar->setFixedHeight(kRunImageSize + 10);
  return bar;
}

TSkinToolButton* AddToolButton(TSkinToolBar* bar, const char* name, TRunImage image, const QString& hint,
                               TToolButtonStyle style) {
  TSkinToolButton* button = bar->AddButton(QString(), static_cast<int>(image), style);
  button->setObjectName(name);
  button->SetHint(hint);
  return button;
}

void SetComboLabels(TSkinComboBox* combo, const std::vector<std::string>& labels, int index) {
  QStringList items;
  for (const std::string& label : labels) items << QString::fromStdString(label);
  combo->SetItems(items);
  combo->SetItemIndex(index);
}

}  // namespace kavri
