// The data-aware grid on the people table, in memory and in a SQLite file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include "skin/db_grid.h"
#include "tests/skin/db_test_sets.h"
#include "tests/skin/pixel_checks.h"
#include "tests/support/recording_dialogs.h"

using namespace kavri;

namespace {

constexpr int kIdCol = 1, kNameCol = 2;

template <typename Kind>
class DBGridTest : public ::testing::Test {
 protected:
  DBGridTest() {
    grid = new TSkinDBGrid(&window);
    grid->resize(320, 200);
    grid->SetDataSource(&people.source);
    window.resize(340, 220);
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    grid->setFocus(Qt::TabFocusReason);
    grid->SetCol(kNameCol);
  }
  // The first character opens the editor, which takes the focus and the rest.
  void Type(const QString& text) {
    for (QChar c : text) QTest::keyClicks(QApplication::focusWidget(), QString(c));
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(QApplication::focusWidget(), key, mods); }
  TDataSet& Set() { return *people.set; }
  QLineEdit* Editor() { return grid->template findChild<QLineEdit*>(); }

  kavri_test::PeopleOn<Kind> people{{"Ann", "Bob", "Cid"}};
  kavri_test::RecordingDialogs dialogs;
  QWidget window;
  TSkinDBGrid* grid;
};

TYPED_TEST_SUITE(DBGridTest, kavri_test::PeopleSets);

TYPED_TEST(DBGridTest, ShowsOneRowPerRecordAndFollowsTheSet) {
  EXPECT_EQ(this->grid->RowCount(), 4);  // titles and three records
  EXPECT_EQ(this->grid->ColumnField(kNameCol)->FieldName(), "name");
  this->Set().Last();
  EXPECT_EQ(this->grid->Row(), 3);
  // A click on another row moves the set there.
  QTest::mouseClick(this->grid, Qt::LeftButton, {}, this->grid->CellRect(kNameCol, 1).center());
  EXPECT_EQ(this->Set().FieldByName("name")->AsString(), "Ann");
  EXPECT_EQ(this->grid->Row(), 1);
}

TYPED_TEST(DBGridTest, TypingEditsTheCellAndLeavingTheRowPostsIt) {
  this->Type("Zed");
  EXPECT_EQ(this->Set().State(), TDataSetState::dsEdit);
  EXPECT_TRUE(this->grid->EditorMode());
  this->Key(Qt::Key_Down);
  EXPECT_EQ(this->Set().State(), TDataSetState::dsBrowse);
  EXPECT_EQ(this->grid->Row(), 2);
  EXPECT_EQ(this->people.Stored(), (QStringList{"1|Zed", "2|Bob", "3|Cid"}));
}

TYPED_TEST(DBGridTest, EscCancelsTheEditAndKeepsTheStoredValue) {
  this->Type("Q");
  this->Key(Qt::Key_Escape);
  EXPECT_FALSE(this->grid->EditorMode());
  EXPECT_EQ(this->Set().State(), TDataSetState::dsBrowse);
  EXPECT_EQ(this->Set().FieldByName("name")->AsString(), "Ann");
  // A value already stored in the record is dropped by Esc on the grid as well.
  this->Type("Q");
  this->Key(Qt::Key_Return);
  EXPECT_EQ(this->Set().FieldByName("name")->AsString(), "Q");
  this->Key(Qt::Key_Escape);
  EXPECT_EQ(this->Set().FieldByName("name")->AsString(), "Ann");
  // A cancel from elsewhere (a navigator) closes the editor with its text.
  this->Type("R");
  this->Set().Cancel();
  EXPECT_FALSE(this->grid->EditorMode());
  EXPECT_EQ(this->people.Stored(), (QStringList{"1|Ann", "2|Bob", "3|Cid"}));
}

TYPED_TEST(DBGridTest, InsertAddsARowAndCtrlDeleteRemovesOneAfterAsking) {
  this->Set().Last();
  this->Key(Qt::Key_Insert);
  EXPECT_EQ(this->Set().State(), TDataSetState::dsInsert);
  EXPECT_EQ(this->grid->RowCount(), 5);
  this->grid->SetCol(kIdCol);
  this->Type("9");
  this->Key(Qt::Key_Return);
  this->grid->SetCol(kNameCol);
  this->Type("Neo");
  this->Key(Qt::Key_Up);  // leaving the new row posts it
  EXPECT_EQ(this->Set().State(), TDataSetState::dsBrowse);
  EXPECT_TRUE(this->people.Stored().contains("9|Neo"));

  this->Set().First();
  this->dialogs.confirmAnswers = {TDialogAnswer::Cancel, TDialogAnswer::Ok};
  this->Key(Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(this->Set().RecordCount(), 4);
  this->Key(Qt::Key_Delete, Qt::ControlModifier);
  ASSERT_EQ(this->dialogs.shown.size(), 2u);
  EXPECT_EQ(this->dialogs.shown[0].text, "Delete record?");
  EXPECT_EQ(this->grid->RowCount(), 4);
  EXPECT_FALSE(this->people.Stored().contains("1|Ann"));
}

TYPED_TEST(DBGridTest, ATextTheFieldRefusesKeepsTheEditorTheRowAndTheText) {
  this->grid->SetCol(kIdCol);
  this->Type("x7");
  // Leaving the row by key: the refusal is shown, and nothing moves or is lost.
  this->Key(Qt::Key_Down);
  EXPECT_EQ(this->dialogs.messages.size(), 1u);
  EXPECT_EQ(this->grid->Row(), 1);
  EXPECT_EQ(this->Set().State(), TDataSetState::dsEdit);
  ASSERT_TRUE(this->grid->EditorMode());
  EXPECT_EQ(this->Editor()->text(), "x7");
  // A post from elsewhere (a navigator) is refused the same way.
  EXPECT_THROW(this->Set().Post(), EDatabaseError);
  EXPECT_TRUE(this->grid->EditorMode());
  EXPECT_EQ(this->Editor()->text(), "x7");
  // A click on another row is refused too.
  QTest::mouseClick(this->grid, Qt::LeftButton, {}, this->grid->CellRect(kNameCol, 3).center());
  EXPECT_EQ(this->grid->Row(), 1);
  ASSERT_TRUE(this->grid->EditorMode());
  EXPECT_EQ(this->Editor()->text(), "x7");
  // And so is a page key the editor passes on to the grid.
  this->Key(Qt::Key_PageDown);
  EXPECT_EQ(this->grid->Row(), 1);
  ASSERT_TRUE(this->grid->EditorMode());
  EXPECT_EQ(this->Editor()->text(), "x7");
  // Put right, the value goes into the record it was typed on.
  this->Editor()->setText("7");
  this->Key(Qt::Key_Down);
  EXPECT_EQ(this->grid->Row(), 2);
  EXPECT_EQ(this->people.Stored(), (QStringList{"7|Ann", "2|Bob", "3|Cid"}));
}

TYPED_TEST(DBGridTest, ARefusedEditOpensNoEditor) {
  this->grid->SetReadOnly(true);
  this->Type("X");
  this->Key(Qt::Key_Insert);
  this->grid->SetReadOnly(false);
  this->people.source.SetAutoEdit(false);
  this->Type("X");
  EXPECT_FALSE(this->grid->EditorMode());
  EXPECT_EQ(this->Set().State(), TDataSetState::dsBrowse);
  EXPECT_EQ(this->people.Stored(), (QStringList{"1|Ann", "2|Bob", "3|Cid"}));
}

// ---- SQLite only: another program changes the file under the grid ----

using kavri_test::CellIsBlank;

TEST(DBGridSqliteTest, ARowAnotherProgramDeletedDrawsEmptyUntilTheNextRefresh) {
  kavri_test::PeopleOn<kavri_test::SqlitePeople> people{{"Ann", "Bob", "Cid"}};
  kavri_test::RecordingDialogs dialogs;
  TSkinDBGrid grid;
  grid.resize(320, 200);
  grid.SetDataSource(&people.source);
  kavri_test::RunSqlite(people.kind.file, "DELETE FROM people WHERE name = 'Bob';");
  // A write of the set's own drops the rows it held, so painting reads the file again.
  people.set->Edit();
  people.set->FieldByName("note")->SetAsString("seen");
  people.set->Post();
  people.set->Last();  // the set still counts three rows: the last one is gone from the file
  QImage shot;
  EXPECT_NO_THROW(shot = grid.grab().toImage());
  ASSERT_FALSE(shot.isNull());
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_FALSE(CellIsBlank(shot, grid.CellRect(kNameCol, 1)));
  EXPECT_FALSE(CellIsBlank(shot, grid.CellRect(kNameCol, 2)));  // Cid, one row up in the file
  EXPECT_TRUE(CellIsBlank(shot, grid.CellRect(kNameCol, 3)));
  EXPECT_TRUE(CellIsBlank(shot, grid.CellRect(kIdCol, 3)));
  people.set->Refresh();
  EXPECT_EQ(grid.RowCount(), 3);
  EXPECT_EQ(people.set->FieldByName("name")->AsString(), "Cid");
}

}  // namespace
