// Texts shown whole in the Linux desktop's font: grid cells, list items, button captions and the
// colour panels of every working window, measured against the room their control gives them.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontMetrics>
#include <memory>

#include "engine/colour_modes.h"
#include "engine/drawing.h"
#include "platform/program_folder.h"
#include "quickplay/quick_play_window.h"
#include "segments/converter_window.h"
#include "segments/segment_edit_window.h"
#include "shows/show_edit_window.h"
#include "skin/colour_mode_strip.h"
#include "skin/list_box.h"
#include "skin/skin_button.h"
#include "skin/skin_grid.h"
#include "tests/support/program_folder_scope.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

constexpr const char* kLongName = "fromild_sec_00001.ddr";

int TextWidth(const QWidget* w, const QString& text) { return QFontMetrics(w->font()).horizontalAdvance(text); }

// Room for an item's text: the list's inside less the text margins and the bar laid over its edge.
int ItemRoom(const TSkinListBox* box) {
  const int bar = box->VScrollBar() && box->VScrollBar()->isVisible() ? box->VScrollBar()->width() + 2 : 0;
  return box->viewport()->width() - bar - 2 * 3;
}

void ExpectTextsWhole(QWidget* window) {
  SCOPED_TRACE(window->objectName().toStdString());
  for (TSkinStringGrid* grid : window->findChildren<TSkinStringGrid*>())
    for (int c = 0; c < grid->ColCount(); ++c)
      for (int r = 0; r < grid->RowCount(); ++r)
        EXPECT_LE(TextWidth(grid, grid->Cell(c, r)) + 2, grid->ColWidths(c))
            << grid->objectName().toStdString() << " column " << c << " row " << r << ": " << grid->Cell(c, r).toStdString();
  for (TSkinListBox* box : window->findChildren<TSkinListBox*>()) {
    if (!box->isVisibleTo(window)) continue;
    for (int i = 0; i < box->count(); ++i)
      EXPECT_LE(TextWidth(box, box->item(i)->text()), ItemRoom(box))
          << box->objectName().toStdString() << ": " << box->item(i)->text().toStdString();
  }
  for (TSkinButton* button : window->findChildren<TSkinButton*>())
    EXPECT_LE(TextWidth(button, QString(button->Caption()).remove('&')) + 4, button->width()) << button->objectName().toStdString();
  for (TColourModeStrip* strip : window->findChildren<TColourModeStrip*>())
    for (int i = 0; i < TColourModeStrip::kPanelCount; ++i) {
      QWidget* panel = strip->Panel(i);
      if (!panel->isVisibleTo(window)) continue;
      EXPECT_LE(TextWidth(panel, QString::fromUtf8(ColourModePanels[i].caption)) + 4, panel->width())
          << panel->objectName().toStdString();
    }
}

class TextsFit : public ::testing::Test {
 protected:
  TextsFit() : scope(dir.Path()) {
    EnsureContentFolders();
    Drawing d;
    d.AddObject()->Add({10, 10, 0, 2, 0, 0});
    for (const char* name : {kLongName, "a.ddr"}) EXPECT_TRUE(SaveDrawingFile(DrawingFolder() + name, d, 1));
  }
  // Shows the window at the size it opens with on a screen large enough for it, its layout settled.
  template <class W>
  void Open(W& window) {
    window.resize(window.sizeHint());
    window.show();
    QCoreApplication::processEvents();
  }

  kavri_test::ScratchDir dir;
  kavri_test::ProgramFolderScope scope;
  kavri_test::RecordingDialogs dialogs;
};

TEST_F(TextsFit, SegmentGridShowsColumnPsThirtyThousandAndEveryOtherCellWhole) {
  TForm5 form;
  form.FormCreate();
  form.skinEdit2->setText("1000000");
  form.BitBtn1->Click();  // a row of the controls' values: A = 1000000, K = 257, P = 30000
  Open(form);
  ASSERT_EQ(form.skinStringGrid1->Cell(16, 1), "30000");
  EXPECT_GE(form.skinStringGrid1->ColWidths(16), TextWidth(form.skinStringGrid1, "30000") + 2);
  // Narrower widths given later do not cut it either.
  form.skinStringGrid1->SetColWidths(16, 28);
  EXPECT_GE(form.skinStringGrid1->ColWidths(16), TextWidth(form.skinStringGrid1, "30000") + 2);
  ExpectTextsWhole(&form);
}

TEST_F(TextsFit, ConverterListsShowALongDrawingNameWhole) {
  TForm9 form;
  form.FormCreate();
  TFileList& drawings = form.FileListBox1->Files();
  for (int i = 0; i < drawings.Count(); ++i) drawings.SetSelected(i, false);
  drawings.SetSelected(drawings.IndexOf(kLongName), true);
  form.BitBtn2->Click();  // onto the convert list
  Open(form);
  ASSERT_EQ(form.ListBox1->count(), 1);
  EXPECT_EQ(form.ListBox1->item(0)->text(), kLongName);
  EXPECT_LE(TextWidth(form.ListBox1, kLongName), ItemRoom(form.ListBox1));
  EXPECT_LE(TextWidth(form.FileListBox1, kLongName), ItemRoom(form.FileListBox1));
  ExpectTextsWhole(&form);
}

TEST_F(TextsFit, QuickPlayAndShowEditShowTheirTextsWhole) {
  TForm4 quick;
  quick.FormCreate();
  Open(quick);
  ExpectTextsWhole(&quick);
  TForm8 show;
  show.FormCreate();
  Open(show);
  ExpectTextsWhole(&show);
}

}  // namespace
}  // namespace kavri
