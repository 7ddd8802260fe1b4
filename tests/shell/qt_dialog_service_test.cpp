// The name box as a window manager frames it: wide enough that its title (what is asked) shows whole
// beside the title bar's icon and buttons, not cut to "Creat... gment".
#include "shell/qt_dialog_service.h"

#include <QApplication>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QTimer>
#include <gtest/gtest.h>

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

}  // namespace
