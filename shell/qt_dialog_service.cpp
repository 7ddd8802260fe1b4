#include "shell/qt_dialog_service.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QHash>
#include <QIcon>
#include <QPushButton>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QStyle>
#include <QMessageBox>
#include <QStringList>

#include "shell/app_title.h"
#include "skin/skin_dialogs.h"
#include "skin/window_placement.h"

namespace kavri {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString FilterText(const TFileDialogRequest& request) {
  QStringList filters;
  for (const std::string& f : request.filters) filters << Q(f);
  return filters.join(";;");
}

QString StartPath(const TFileDialogRequest& request) {
  if (request.folder.empty()) return Q(request.fileName);
  if (request.fileName.empty()) return Q(request.folder);
  return Q(request.folder) + "/" + Q(request.fileName);
}

// A box's buttons come with icons of their own, and every icon painted leaves its pixmaps in the
// application's pixmap cache under that icon's own key: a box asked again and again would fill the
// cache with copies. Each kind of button wears one icon for the whole run instead.
void ShareButtonIcons(QWidget* box) {
  static QHash<int, QIcon> shared;
  for (QDialogButtonBox* buttons : box->findChildren<QDialogButtonBox*>()) {
    for (QAbstractButton* button : buttons->buttons()) {
      const QDialogButtonBox::StandardButton kind = buttons->standardButton(button);
      if (kind == QDialogButtonBox::NoButton || button->icon().isNull()) continue;
      const auto it = shared.constFind(kind);
      if (it == shared.constEnd())
        shared.insert(kind, button->icon());
      else
        button->setIcon(*it);
    }
  }
}

std::optional<std::string> Chosen(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

}  // namespace

void TQtDialogService::ShowMessage(const std::string& text, TMessageKind kind) {
  QMessageBox box(kind == TMessageKind::Error     ? QMessageBox::Critical
                  : kind == TMessageKind::Warning ? QMessageBox::Warning
                                                  : QMessageBox::NoIcon,
                  Q(ApplicationTitle()), WithWordBreaks(Q(text)), QMessageBox::Ok, QApplication::activeWindow());
  ShareButtonIcons(&box);
  box.exec();
}

TDialogAnswer TQtDialogService::Confirm(const std::string& text, TConfirmButtons buttons, const std::string& title) {
  QMessageBox::StandardButtons shown = QMessageBox::Yes | QMessageBox::No;
  if (buttons == TConfirmButtons::YesNoCancel) shown |= QMessageBox::Cancel;
  if (buttons == TConfirmButtons::OkCancel) shown = QMessageBox::Ok | QMessageBox::Cancel;
  QMessageBox box(QMessageBox::Question, Q(title.empty() ? ApplicationTitle() : title), WithWordBreaks(Q(text)), shown,
                  QApplication::activeWindow());
  ShareButtonIcons(&box);
  switch (box.exec()) {
    case QMessageBox::Yes: return TDialogAnswer::Yes;
    case QMessageBox::No: return TDialogAnswer::No;
    case QMessageBox::Ok: return TDialogAnswer::Ok;
    default: return DefaultAnswer(buttons);
  }
}

bool TQtDialogService::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  QInputDialog dialog(QApplication::activeWindow());
  dialog.setWindowTitle(Q(caption));
  dialog.setLabelText(Q(prompt));
  dialog.setTextValue(Q(value));
  // The box is narrow for its short prompt; its title (what is being asked) must show whole. Its
  // layout sets the box's own least size from its controls, so the field asks for the room.
  if (auto* field = dialog.findChild<QLineEdit*>()) {
    const QStyle* style = dialog.style();
    const int margins =
        style->pixelMetric(QStyle::PM_LayoutLeftMargin) + style->pixelMetric(QStyle::PM_LayoutRightMargin);
    field->setMinimumWidth(TitleFitWidth(dialog.windowTitle()) - margins);
  }
  // The box makes its buttons when it is first measured.
  (void)dialog.sizeHint();
  ShareButtonIcons(&dialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  value = dialog.textValue().toStdString();
  return true;
}

std::optional<std::string> TQtDialogService::ChooseOpenFile(const TFileDialogRequest& request) {
  return Chosen(QFileDialog::getOpenFileName(QApplication::activeWindow(), Q(request.title),
                                             StartPath(request), FilterText(request)));
}

std::optional<std::string> TQtDialogService::ChooseSaveFile(const TFileDialogRequest& request) {
  QFileDialog dialog(QApplication::activeWindow(), Q(request.title), StartPath(request), FilterText(request));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(Q(request.defaultSuffix));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return Chosen(dialog.selectedFiles().first());
}

std::optional<TFontChoice> TQtDialogService::ChooseFont(const TFontChoice& initial) {
  QFont font(Q(initial.family), initial.pointSize);
  font.setBold(initial.bold);
  font.setItalic(initial.italic);
  font.setUnderline(initial.underline);
  font.setStrikeOut(initial.strikeOut);
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, font, QApplication::activeWindow());
  if (!ok) return std::nullopt;
  TFontChoice choice = initial;
  choice.family = chosen.family().toStdString();
  choice.pointSize = chosen.pointSize() > 0 ? chosen.pointSize() : initial.pointSize;
  choice.bold = chosen.bold();
  choice.italic = chosen.italic();
  choice.underline = chosen.underline();
  choice.strikeOut = chosen.strikeOut();
  return choice;
}

std::optional<std::string> TQtDialogService::ChoosePicture(const TFileDialogRequest& request) {
  return ChooseOpenFile(request);
}

std::optional<TColor> TQtDialogService::ChooseColor(TColor initial) {
  const QColor start = ToQColor(initial);
  QColorDialog::setCustomColor(0, start);
  const QColor chosen = QColorDialog::getColor(start, QApplication::activeWindow());
  if (!chosen.isValid()) return std::nullopt;
  return FromQColor(chosen);
}

}  // namespace kavri
