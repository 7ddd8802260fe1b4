// Prints where the controls that the end-to-end test clicks stand inside their windows, laid out
// on the same display with the same fonts as the program lays them out:
//   NAME X Y WIDTH HEIGHT        (window coordinates)
#include <QApplication>
#include <cstdio>

#include "editor/editor_window.h"
#include "editor/import_plt_window.h"
#include "editor/import_text_window.h"
#include "shell/main_window.h"

namespace {

// Controls of the dialogs are printed as "Form17.BitBtn1": their names repeat between windows.
void Print(const char* name, QWidget* window, const char* prefix = "") {
  QWidget* widget = window->findChild<QWidget*>(name);
  if (!widget) {
    std::printf("%s%s missing\n", prefix, name);
    return;
  }
  const QPoint at = widget->mapTo(window, QPoint(0, 0));
  std::printf("%s%s %d %d %d %d\n", prefix, name, at.x(), at.y(), widget->width(), widget->height());
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
  Print("BitBtn5", &editor);
  Print("BitBtn22", &editor);
  kavri::TForm17 plt(&editor);
  kavri::TForm6 text(&editor);
  plt.show();
  text.show();
  app.processEvents();
  for (const char* name : {"Button1", "BitBtn3", "BitBtn1"}) Print(name, &plt, "Form17.");
  for (const char* name : {"skinMemo1", "skinCheckBox2", "BitBtn3"}) Print(name, &text, "Form6.");
  return 0;
}
