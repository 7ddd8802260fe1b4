// Makes pictures of what the program should show, with the program's own code on the same display
// and fonts, for the end-to-end sessions to compare the program's windows with. Saves the window's
// picture and prints the part to compare, in window coordinates:  PART X Y WIDTH HEIGHT
//
//   kavri_picture_probe OUT.png no-plotter-lines   the box Import plt shows for a file that gives no point
//   kavri_picture_probe OUT.png error-box TEXT     the error box saying TEXT, the words the caller
//                                                  expects (prints "label ...")
//   kavri_picture_probe OUT.png no-count           Quick play showing no point count (prints "Label29 ...")
//
// Exit status: 0 done, 1 bad use, 2 no box was shown, 3 the picture could not be saved.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <string>

#include "editor/import_plt_window.h"
#include "platform/dialog_service.h"
#include "quickplay/quick_play_window.h"
#include "shell/qt_dialog_service.h"

namespace {

void PrintPart(const char* part, QWidget* widget, QWidget* window) {
  const QPoint at = widget->mapTo(window, QPoint(0, 0));
  std::printf("%s %d %d %d %d\n", part, at.x(), at.y(), widget->width(), widget->height());
}

// Runs `show`, which puts up a message box through the dialog service, and keeps a picture of the
// box and the place of its text before closing it.
int PictureOfBox(const QString& out, const std::function<void()>& show) {
  kavri::TQtDialogService dialogs;
  kavri::SetDialogService(&dialogs);
  bool shown = false, saved = false;
  QTimer::singleShot(300, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) return;
    shown = true;
    if (auto* label = box->findChild<QLabel*>("qt_msgbox_label")) PrintPart("label", label, box);
    saved = box->grab().save(out, "PNG");
    box->close();
  });
  show();
  kavri::SetDialogService(nullptr);
  if (!shown) {
    std::fprintf(stderr, "no box was shown\n");
    return 2;
  }
  return saved ? 0 : 3;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 3) return 1;
  const QString out = argv[1];
  const std::string what = argv[2];
  if (what == "no-plotter-lines") {
    return PictureOfBox(out, [] {
      kavri::Dialogs().ShowMessage(kavri::kNoPlotterLinesText, kavri::TMessageKind::Information);
    });
  }
  if (what == "error-box" && argc == 4) {
    const std::string text = argv[3];
    return PictureOfBox(out, [&] { kavri::Dialogs().ShowMessage(text, kavri::TMessageKind::Error); });
  }
  if (what == "no-count") {
    kavri::TForm4 quickPlay;
    quickPlay.show();
    quickPlay.Label29->setText("");
    app.processEvents();
    PrintPart("Label29", quickPlay.Label29, &quickPlay);
    return quickPlay.grab().save(out, "PNG") ? 0 : 3;
  }
  return 1;
}
