#pragma once
// A created editor window for the windows that work on its drawing.
#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "editor/editor_window.h"
#include "platform/program_folder.h"
#include "tests/support/program_folder_scope.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/test_support.h"

namespace kavri::testing_editor {

class EditorDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(EnsureContentFolders());
    editor.FormCreate(TSettingsLines(44));
  }

  static void SaveShot(QWidget& window, const std::string& name) {
    window.adjustSize();
    ASSERT_TRUE(window.grab().save(QString::fromStdString(kavri_test::ArtifactPath(name))));
  }
  // Lit pixels of a preview picture.
  static int LitPixels(const QImage& image) {
    int lit = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) lit += (image.pixel(x, y) & 0xFFFFFF) != 0;
    return lit;
  }

  kavri_test::ScratchDir dir;
  kavri_test::ProgramFolderScope scope{dir.Path()};
  kavri_test::RecordingDialogs dialogs;
  TForm1 editor;
};

}  // namespace kavri::testing_editor
