// Writes every theme picture and the resource list into a folder:
//   kavri_theme_art skin/art            (the embedded art; commit the result)
//   kavri_theme_art /tmp/review sheet   (also a magnified contact sheet, sheet.png, for review)
#include <QGuiApplication>
#include <cstdio>

#include "tools/theme_art.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QGuiApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <folder> [sheet]\n", argv[0]);
    return 2;
  }
  QString folder = QString::fromLocal8Bit(argv[1]), error;
  if (!kavri::WriteThemeArt(folder, &error)) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
  }
  if (argc > 2 && QString(argv[2]) == "sheet" && !kavri::ThemeArtContactSheet().save(folder + "/sheet.png")) {
    std::fprintf(stderr, "cannot write the contact sheet\n");
    return 1;
  }
  return 0;
}
