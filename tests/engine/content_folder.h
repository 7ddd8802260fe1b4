#pragma once
#include <QDir>
#include <string>

#include "tests/support/test_support.h"

// A scratch program folder with the content folders a segment or show refers to.
struct ContentFolder {
  kavri_test::ScratchDir dir;
  std::string root = dir.Path() + "/";
  ContentFolder() {
    for (const char* sub : {"Drawing", "Section", "ILDAimage", "Sequence"})
      QDir().mkpath(QString::fromStdString(root + sub));
  }
  // Writes the text to `relative` below the program folder and gives its path.
  std::string Write(const std::string& relative, const std::string& text) {
    kavri_test::WriteBytes(root + relative, kavri_test::TextBytes(text));
    return root + relative;
  }
};
