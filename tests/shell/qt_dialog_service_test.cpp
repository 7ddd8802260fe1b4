// The name box as a window manager frames it: wide enough that its title (what is asked) shows whole
// beside the title bar's icon and buttons, not cut to "Creat... gment".
#include "shell/qt_dialog_service.h"

#include <QApplication>
#include <QDialog>
#include <QProxyStyle>
#include <QDialogButtonBox>
#include <QAbstractButton>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QTimer>
#include <gtest/gtest.h>

#include "tests/support/child_run.h"

#include <cstdio>
#include <utility>
#include <vector>

using namespace kavri;

namespace {

TEST(QtDialogService, TheNameBoxIsWideEnoughForItsTitle) {
  for (const char* title : {"Creat a new segment", "Save segment", "Create a new show"}) {
    SCOPED_TRACE(title);
    int width = -1;
    QString shownTitle, shownValue;
    // Answers the name box once it is up; a box of another kind fails the test and is closed, so
    // nothing waits for an answer that never comes.
    QTimer answer;
    answer.setInterval(0);
    QObject::connect(&answer, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return;
      auto* box = qobject_cast<QInputDialog*>(modal);
      if (!box) {
        ADD_FAILURE() << "a " << modal->metaObject()->className() << " opened instead of the name box";
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(QDialog::Rejected);
        else modal->close();
        return;
      }
      answer.stop();
      width = box->frameGeometry().width();
      shownTitle = box->windowTitle();
      shownValue = box->textValue();
      box->setTextValue("typed");
      box->accept();
    });
    answer.start();
    TQtDialogService service;
    std::string value = "NewSection";
    ASSERT_TRUE(service.InputQuery(title, "segment name", value));
    EXPECT_EQ(value, "typed");
    EXPECT_EQ(shownTitle, title);
    EXPECT_EQ(shownValue, "NewSection");
    // The title in a bold desktop font, and room for an icon and three buttons of at least 25 pixels.
    QFont bold = QApplication::font();
    bold.setBold(true);
    EXPECT_GE(width, QFontMetrics(bold).horizontalAdvance(title) + 100);
  }
}

// The error box shows a long file name without spaces whole, broken where it must be.
TEST(QtDialogService, TheErrorBoxShowsALongNameWhole) {
  const std::string text = "\"" + std::string(120, 'n') + ".sec\" was not opened: it is too long.";
  QString shown;
  QRect needed, room;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) return;
    if (const QLabel* label = box->findChild<QLabel*>("qt_msgbox_label")) {
      shown = label->text();
      room = label->contentsRect();
      needed = QFontMetrics(label->font()).boundingRect(room, Qt::TextWordWrap, shown);
    }
    box->close();
  });
  TQtDialogService().ShowMessage(text, TMessageKind::Error);
  EXPECT_EQ(QString(shown).remove(QChar(0x200B)).toStdString(), text);
  EXPECT_LE(needed.width(), room.width());
  EXPECT_LE(needed.height(), room.height());
}

// The desktop's choice, which the offscreen screen of the tests does not make: buttons of boxes
// wear icons.
class TButtonsWithIcons : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* answer) const override {
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 1;
    return QProxyStyle::styleHint(hint, option, widget, answer);
  }
};

// Every icon painted leaves its pixmaps in the application's pixmap cache under its own key: boxes
// asked again and again (the unsaved-drawing question on each quit) must wear the same icons, or
// each one asked leaves its copies there. In a child: the style is the whole application's.
bool BoxesAskedAgainWearTheSameIcons() {
  QApplication::setStyle(new TButtonsWithIcons);
  std::vector<std::vector<std::pair<QString, qint64>>> seen;  // each box's buttons: text, icon key
  QTimer answer;
  answer.setInterval(0);
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!box) return;
    box->grab();  // painted, as a screen shows it
    std::vector<std::pair<QString, qint64>> buttons;
    for (const QDialogButtonBox* group : box->findChildren<QDialogButtonBox*>())
      for (const QAbstractButton* button : group->buttons())
        buttons.emplace_back(button->text(), button->icon().isNull() ? 0 : button->icon().cacheKey());
    seen.push_back(buttons);
    box->reject();
  });
  answer.start();
  TQtDialogService service;
  for (int i = 0; i < 3; ++i) {
    service.Confirm("The drawing have been changed,do you want to save it?", TConfirmButtons::YesNoCancel,
                    "Picure Edit");
    std::string name = "NewSection";
    service.InputQuery("Creat a new segment", "segment name", name);
    service.ShowMessage("Cannot open the file.", TMessageKind::Error);
  }
  bool ok = seen.size() == 9;
  for (size_t i = 0; ok && i < seen.size(); ++i) {
    ok = !seen[i].empty() && (i < 3 || seen[i] == seen[i - 3]);  // the same box again
    for (const auto& [text, key] : seen[i]) ok = ok && key != 0;
    if (!ok) std::fprintf(stderr, "box %zu: its buttons' icons are missing or new\n", i);
  }
  return ok;
}

TEST(QtDialogService, BoxesAskedAgainWearTheSameButtonIcons) {
  EXPECT_EQ(kavri_test::RunInChild(20, BoxesAskedAgainWearTheSameIcons), "");
}

}  // namespace
