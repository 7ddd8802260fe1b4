// Prints where the controls that the end-to-end test clicks stand inside their windows, laid out
// on the same display with the same fonts as the program lays them out:
//   NAME X Y WIDTH HEIGHT        (window coordinates)
#include <QApplication>
#include <cstdio>

#include "editor/editor_window.h"
#include "shell/main_window.h"

namespace {

void Print(const char* name, QWidget* window) {
  QWidget* widget = window->findChild<QWidget*>(name);
  if (!widget) {
    std::printf("%s missing\n", name);
    return;
  }
  const QPoint at = widget->mapTo(window, QPoint(0, 0));
  std::printf("%s %d %d %d %d\n", name, at.x(), at.y(), widget->width(), widget->height());
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  kavri::TForm15 main([] { return std::vector<kavri::TDetectedDevice>{}; });
  kavri::TForm1 editor;
  editor.FormCreate({});
  main.show();
  editor.show();
  app.processEvents();
  Print("BitBtn1", &main);
  Print("BitBtn27", &editor);
  Print("Image90", &editor);
  Print("Label6", &editor);
  Print("ToolButton1", &editor);
  Print("BitBtn4", &editor);
  return 0;
}
