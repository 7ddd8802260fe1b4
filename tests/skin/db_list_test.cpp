// The data-aware list box and combo box on the people table's name field, in memory and in a
// SQLite file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "skin/db_combo_box.h"
#include "skin/db_list_box.h"
#include "tests/skin/db_test_sets.h"
#include "tests/support/recording_dialogs.h"

using namespace kavri;

namespace {

const QStringList kChoices{"Ann", "Bob", "Dan", "Eve"};

template <typename Kind>
class DBListTest : public ::testing::Test {
 protected:
  DBListTest() {
    list = new TSkinDBListBox(&window);
    list->setGeometry(0, 0, 120, 100);
    list->SetItems(kChoices);
    combo = new TSkinDBComboBox(&window);
    combo->setGeometry(0, 110, 120, 22);
    combo->SetItems(kChoices);
    list->SetDataField("name");
    list->SetDataSource(&people.source);
    combo->SetDataField("name");
    combo->SetDataSource(&people.source);
    window.resize(200, 160);
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  void RefuseEdits() { people.source.SetAutoEdit(false); }
  QPoint ItemCentre(int row) { return list->visualItemRect(list->item(row)).center(); }

  kavri_test::PeopleOn<Kind> people{{"Ann", "Zed", "Cid"}};
  kavri_test::RecordingDialogs dialogs;
  QWidget window;
  TSkinDBListBox* list;
  TSkinDBComboBox* combo;
};

TYPED_TEST_SUITE(DBListTest, kavri_test::PeopleSets);

TYPED_TEST(DBListTest, ShowTheFieldsTextOrNothingWhenItIsNotAChoice) {
  EXPECT_EQ(this->list->ItemIndex(), 0);
  EXPECT_EQ(this->combo->GetComboText(), "Ann");
  this->people.set->Next();  // "Zed"
  EXPECT_TRUE(this->list->selectedItems().isEmpty());
  EXPECT_EQ(this->combo->GetComboText(), "Zed");
  this->combo->SetStyle(TComboBoxStyle::csDropDownList);
  this->people.set->Next();
  this->people.set->Prior();
  EXPECT_EQ(this->combo->GetComboText(), "");
}

TYPED_TEST(DBListTest, ListPickAsksToEditAndWritesTheItem) {
  this->people.set->Next();  // "Zed", no item
  QTest::mouseClick(this->list->viewport(), Qt::LeftButton, {}, this->ItemCentre(2));
  EXPECT_EQ(this->people.set->State(), TDataSetState::dsEdit);
  EXPECT_EQ(this->list->ItemIndex(), 2);
  this->people.set->Post();
  EXPECT_TRUE(this->people.Stored().contains("2|Dan"));
}

TYPED_TEST(DBListTest, RefusedListPickOrArrowKeepsTheFieldsItem) {
  this->RefuseEdits();
  QTest::mouseClick(this->list->viewport(), Qt::LeftButton, {}, this->ItemCentre(3));
  QTest::keyClick(this->list, Qt::Key_Down);
  EXPECT_EQ(this->list->ItemIndex(), 0);
  EXPECT_EQ(this->people.set->State(), TDataSetState::dsBrowse);
}

TYPED_TEST(DBListTest, ComboPickAsksToEditAndWritesTheItem) {
  this->combo->SetStyle(TComboBoxStyle::csDropDownList);
  this->combo->setFocus();
  QTest::keyClick(this->combo, Qt::Key_Down);  // "Ann" to "Bob"
  EXPECT_EQ(this->combo->GetComboText(), "Bob");
  EXPECT_EQ(this->people.set->State(), TDataSetState::dsEdit);
  this->people.set->Next();  // leaving the record posts
  EXPECT_TRUE(this->people.Stored().contains("1|Bob"));
  this->people.set->First();
  // A pick in the open list.
  this->combo->setCurrentIndex(3);
  emit this->combo->activated(3);
  this->people.set->Post();
  EXPECT_TRUE(this->people.Stored().contains("1|Eve"));
}

TYPED_TEST(DBListTest, ComboTypingWritesTheText) {
  this->combo->setFocus();
  this->combo->lineEdit()->selectAll();
  QTest::keyClicks(this->combo->lineEdit(), "Kim");
  EXPECT_EQ(this->people.set->State(), TDataSetState::dsEdit);
  this->people.set->Post();
  EXPECT_TRUE(this->people.Stored().contains("1|Kim"));
}

TYPED_TEST(DBListTest, RefusedComboPickRestoresTheText) {
  this->RefuseEdits();
  this->combo->setCurrentIndex(2);
  emit this->combo->activated(2);
  EXPECT_EQ(this->combo->GetComboText(), "Ann");
  this->combo->SetStyle(TComboBoxStyle::csDropDownList);
  this->combo->setFocus();
  QTest::keyClick(this->combo, Qt::Key_Down);
  EXPECT_EQ(this->combo->GetComboText(), "Ann");
  EXPECT_EQ(this->people.set->State(), TDataSetState::dsBrowse);
  EXPECT_TRUE(this->people.Stored().contains("1|Ann"));
}

}  // namespace
