// The data-aware check box and radio group on the people table's name field, in memory and in a
// SQLite file.
#include <gtest/gtest.h>

#include <QTest>

#include "skin/db_check_box.h"
#include "skin/db_radio_group.h"
#include "tests/skin/db_test_sets.h"
#include "tests/support/recording_dialogs.h"

using namespace kavri;

namespace {

template <typename Kind>
class DBChoiceTest : public ::testing::Test {
 protected:
  void Bind(TDBFieldControl<TSkinCheckBox>& box) {
    box.SetDataField("name");
    box.SetDataSource(&people.source);
  }
  void GoTo(int index) {
    people.set->First();
    people.set->MoveBy(index);
  }
  TField& Name() { return *people.set->FieldByName("name"); }

  kavri_test::PeopleOn<Kind> people{{"yes", "N", "maybe", "TRUE", "false", "Green", "r"}};
  kavri_test::RecordingDialogs dialogs;
};

TYPED_TEST_SUITE(DBChoiceTest, kavri_test::PeopleSets);

TYPED_TEST(DBChoiceTest, CheckBoxMatchesItsAlternativesWithoutRegardToCase) {
  TSkinDBCheckBox box;
  this->Bind(box);
  const struct {
    int record;
    TCheckBoxState byDefault, byYesList;
  } cases[] = {
      {0, cbGrayed, cbChecked},    // "yes"
      {1, cbGrayed, cbUnchecked},  // "N"
      {2, cbGrayed, cbGrayed},     // "maybe"
      {3, cbChecked, cbGrayed},    // "TRUE"
      {4, cbUnchecked, cbGrayed},  // "false"
  };
  for (const auto& c : cases) {
    this->GoTo(c.record);
    box.SetValueChecked("True");
    box.SetValueUnchecked("False");
    EXPECT_EQ(box.GetFieldState(), c.byDefault) << c.record;
    EXPECT_EQ(box.Checked(), c.byDefault == cbChecked) << c.record;
    box.SetValueChecked("Yes;Y;1");
    box.SetValueUnchecked("No;N;0");
    EXPECT_EQ(box.GetFieldState(), c.byYesList) << c.record;
    EXPECT_EQ(box.Checked(), c.byYesList == cbChecked) << c.record;
  }
  box.SetValueChecked("");
  EXPECT_FALSE(TSkinDBCheckBox::ValueMatch("", ""));
}

TYPED_TEST(DBChoiceTest, CheckBoxWritesTheFirstAlternativeOnlyAfterAClick) {
  TSkinDBCheckBox box;
  this->Bind(box);
  box.SetValueChecked("Yes;Y;1");
  box.SetValueUnchecked("No;N;0");
  this->GoTo(2);  // "maybe": neither list, shown unchecked and left alone
  this->people.set->Edit();
  this->people.set->Post();
  EXPECT_TRUE(this->people.Stored().contains("3|maybe"));
  box.Click();
  EXPECT_EQ(this->people.set->State(), TDataSetState::dsEdit);
  this->people.set->Post();
  EXPECT_TRUE(this->people.Stored().contains("3|Yes"));
  box.Click();
  this->people.set->Post();
  EXPECT_TRUE(this->people.Stored().contains("3|No"));
}

TYPED_TEST(DBChoiceTest, ReadOnlyCheckBoxFlipsButLeavesTheFieldAndEscRestoresIt) {
  TSkinDBCheckBox box;
  this->Bind(box);
  box.SetReadOnly(true);
  this->GoTo(3);  // "TRUE"
  box.Click();
  EXPECT_FALSE(box.Checked());
  EXPECT_EQ(this->people.set->State(), TDataSetState::dsBrowse);
  QTest::keyClick(&box, Qt::Key_Escape);
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(this->Name().AsString(), "TRUE");
}

TYPED_TEST(DBChoiceTest, RadioGroupValuesFallBackToCaptions) {
  TSkinDBRadioGroup group;
  group.SetItems({"Red", "Green", "Blue"});
  group.SetDataField("name");
  group.SetDataSource(&this->people.source);
  for (const QStringList& values : {QStringList{"r"}, QStringList{"r", "", "bl"}}) {
    group.SetValues(values);
    EXPECT_EQ(group.GetButtonValue(1), "Green");
    const std::pair<int, int> cases[] = {{6, 0}, {5, 1}, {0, -1}};  // "r", "Green", "yes"
    for (auto [record, button] : cases) {
      this->GoTo(record);
      EXPECT_EQ(group.ItemIndex(), button) << values.join(",").toStdString() << " record " << record;
    }
  }
}

TYPED_TEST(DBChoiceTest, RadioGroupClickAsksToEditAndWritesTheField) {
  TSkinDBRadioGroup group;
  group.SetItems({"Red", "Green", "Blue"});
  group.SetValues({"r", "", "bl"});
  group.SetDataField("name");
  group.SetDataSource(&this->people.source);
  this->GoTo(0);  // "yes", no button
  group.Button(2)->Click();
  EXPECT_EQ(this->people.set->State(), TDataSetState::dsEdit);
  EXPECT_EQ(group.ItemIndex(), 2);
  this->people.set->Post();
  EXPECT_TRUE(this->people.Stored().contains("1|bl"));
}

TYPED_TEST(DBChoiceTest, RadioGroupClickRefusedRestoresTheSelection) {
  TSkinDBRadioGroup group;
  group.SetItems({"Red", "Green", "Blue"});
  group.SetDataField("name");
  group.SetDataSource(&this->people.source);
  this->people.source.SetAutoEdit(false);
  this->GoTo(5);  // "Green"
  group.Button(0)->Click();
  EXPECT_EQ(group.ItemIndex(), 1);
  EXPECT_EQ(this->people.set->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(this->Name().AsString(), "Green");
}

}  // namespace
