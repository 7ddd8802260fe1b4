// The lookup list box: the people table's id looked up in a second people table by id, shown and
// searched by name; both tables in memory or both in SQLite files.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QImage>
#include <QScrollBar>
#include <QTest>

#include "skin/db_lookup_combo_box.h"
#include "skin/db_lookup_list_box.h"
#include "tests/skin/db_test_sets.h"
#include "tests/skin/pixel_checks.h"
#include "tests/support/recording_dialogs.h"

using namespace kavri;

namespace {

const QString kZ32 = QString(32, 'z');

template <typename Kind>
class DBLookupTest : public ::testing::Test {
 protected:
  DBLookupTest() {
    TSkinDBLookupControl::SetSearchClock([this] { return now; });
    list = new TSkinDBLookupListBox(&window);
    combo = new TSkinDBLookupComboBox(&window);
    combo->move(0, 170);
    for (TSkinDBLookupControl* c : std::initializer_list<TSkinDBLookupControl*>{list, combo}) {
      c->SetDataSource(&people.source);
      c->SetDataField("id");
      c->SetListSource(&choices.source);
      c->SetKeyField("id");
      c->SetListField("name");
    }
    window.resize(200, 220);
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    list->setFocus();
  }
  ~DBLookupTest() override {
    TSkinDBLookupControl::SetSearchClock([] { return QDateTime::currentMSecsSinceEpoch(); });
  }
  void Type(const QString& text, qint64 gapMs = 100) {
    for (QChar c : text) {
      now += gapMs;
      QTest::keyClicks(list, QString(c));
    }
  }
  QVariant Id() { return people.set->FieldByName("id")->Value(); }

  qint64 now = 1'000'000;
  kavri_test::PeopleOn<Kind> people{{"Ann", "Bob", "Cid"}};
  kavri_test::PeopleOn<Kind> choices{{"Ann Laser", "anna", "Bob Beam", "Cid Scan", "Dan", kZ32 + "a", kZ32 + "z"}};
  kavri_test::RecordingDialogs dialogs;
  QWidget window;
  TSkinDBLookupListBox* list;
  TSkinDBLookupComboBox* combo;
};

TYPED_TEST_SUITE(DBLookupTest, kavri_test::PeopleSets);

TYPED_TEST(DBLookupTest, ShowsTheListRecordOfTheFieldsKey) {
  EXPECT_EQ(this->list->SelectedItem(), "Ann Laser");
  this->people.set->Next();
  EXPECT_EQ(this->list->SelectedItem(), "anna");
  EXPECT_EQ(this->list->GetKeyIndex(), 1);
  // A key the list does not hold shows its first record.
  this->people.set->Edit();
  this->people.set->FieldByName("id")->SetValue(99);
  EXPECT_EQ(this->list->SelectedItem(), "Ann Laser");
  EXPECT_EQ(this->list->GetKeyIndex(), -1);
}

TYPED_TEST(DBLookupTest, KeysTypedWithinTwoSecondsSearchTogether) {
  this->Type("b");
  EXPECT_EQ(this->Id().toInt(), 3);  // "Bob Beam"
  this->Type("O", 2000);
  EXPECT_EQ(this->list->SearchText(), "bO");
  EXPECT_EQ(this->Id().toInt(), 3);
  this->Type("d", 2001);  // a pause starts a new search
  EXPECT_EQ(this->list->SearchText(), "d");
  EXPECT_EQ(this->Id().toInt(), 5);  // "Dan"
  this->people.set->Post();
  EXPECT_TRUE(this->people.Stored().contains("5|Ann"));
}

TYPED_TEST(DBLookupTest, TheSearchTextStopsAt32Characters) {
  this->Type(kZ32);
  EXPECT_EQ(this->Id().toInt(), 6);
  this->Type("z");  // would find the second name, but the search is full
  EXPECT_EQ(this->list->SearchText(), kZ32);
  EXPECT_EQ(this->Id().toInt(), 6);
}

TYPED_TEST(DBLookupTest, TheNullValueKeyClearsTheField) {
  this->list->SetNullValueKey(QKeySequence(Qt::CTRL | Qt::Key_N));
  QTest::keyClick(this->list, Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(this->people.set->State(), TDataSetState::dsEdit);
  EXPECT_TRUE(this->people.set->FieldByName("id")->IsNull());
}

TYPED_TEST(DBLookupTest, ArrowsMoveTheChoiceFromTheChosenRow) {
  QTest::keyClick(this->list, Qt::Key_Down);
  QTest::keyClick(this->list, Qt::Key_Down);
  EXPECT_EQ(this->Id().toInt(), 3);
  QTest::keyClick(this->list, Qt::Key_End);
  EXPECT_EQ(this->Id().toInt(), 7);
  this->list->SetReadOnly(true);
  QTest::keyClick(this->list, Qt::Key_Home);
  EXPECT_EQ(this->Id().toInt(), 7);
}

TYPED_TEST(DBLookupTest, DraggingPastTheBottomScrollsFasterFurtherOutButNeverWithoutPause) {
  const int rowHeight = this->list->fontMetrics().height();
  const int bottom = this->list->height() - 2;  // below the last row, inside the border
  QTest::mousePress(this->list, Qt::LeftButton, {}, QPoint(10, 2 + rowHeight / 2));
  QTest::mouseMove(this->list, QPoint(10, bottom + 9));  // the tenth pixel below the rows
  EXPECT_EQ(this->list->ScrollInterval(), 50);
  QTest::mouseMove(this->list, QPoint(10, bottom + 40));
  EXPECT_EQ(this->list->ScrollInterval(), TSkinDBLookupListBox::kMinScrollIntervalMs);
  QTest::mouseMove(this->list, QPoint(10, 2 + rowHeight / 2));
  EXPECT_EQ(this->list->ScrollInterval(), 0);
  QTest::mouseRelease(this->list, Qt::LeftButton, {}, QPoint(10, 2 + rowHeight / 2));
}

TYPED_TEST(DBLookupTest, AnEmptyListChoosesNothingAndKeepsTheFieldsKey) {
  TDataSet& choices = *this->choices.set;
  while (!choices.IsEmpty()) choices.Delete();
  QTest::mouseClick(this->list, Qt::LeftButton, {}, QPoint(20, 8));
  QTest::keyClick(this->list, Qt::Key_Down);
  QTest::keyClick(this->combo, Qt::Key_Down);
  EXPECT_EQ(this->people.set->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(this->Id().toInt(), 1);
  EXPECT_EQ(this->people.Stored(), (QStringList{"1|Ann", "2|Bob", "3|Cid"}));
}

TYPED_TEST(DBLookupTest, ComboShowsTheKeysTextStepsAndTakesAPickFromItsList) {
  EXPECT_EQ(this->combo->Text(), "Ann Laser");
  this->combo->setFocus();
  QTest::keyClick(this->combo, Qt::Key_Down);
  EXPECT_EQ(this->Id().toInt(), 2);
  EXPECT_EQ(this->combo->Text(), "anna");
  QTest::keyClick(this->combo, Qt::Key_F4);
  ASSERT_TRUE(this->combo->ListVisible());
  TSkinDBLookupListBox* open = this->combo->DataList();
  const int rowHeight = open->fontMetrics().height();
  QTest::mouseClick(open, Qt::LeftButton, {}, QPoint(10, 2 + rowHeight * 3 + rowHeight / 2));
  EXPECT_FALSE(this->combo->ListVisible());
  EXPECT_EQ(this->Id().toInt(), 4);
  EXPECT_EQ(this->combo->Text(), "Cid Scan");
  this->people.set->Post();
  EXPECT_TRUE(this->people.Stored().contains("4|Ann"));
  this->combo->SetReadOnly(true);
  QTest::keyClick(this->combo, Qt::Key_Down);
  EXPECT_EQ(this->Id().toInt(), 4);
}

TYPED_TEST(DBLookupTest, ALookupFieldGivesTheListItsSetKeyAndResultField) {
  TDataSet& people = *this->people.set;
  people.Close();
  people.AddLookupField("choice", TFieldType::ftString, 20, {"id", this->choices.set.get(), "id", "name"});
  people.Open();
  people.Next();
  for (TSkinDBLookupControl* c : std::initializer_list<TSkinDBLookupControl*>{this->list, this->combo}) {
    c->SetDataField("choice");
    EXPECT_TRUE(c->ListActive());
    EXPECT_EQ(c->KeyField(), "");  // the field defines them, so the properties read empty
    EXPECT_EQ(c->ListSource(), nullptr);
    EXPECT_EQ(c->KeyFieldObject()->DataSet(), this->choices.set.get());
    EXPECT_EQ(c->ListFieldObject()->FieldName(), "name");
    EXPECT_EQ(c->KeyValue().toInt(), 2);
  }
  EXPECT_EQ(this->list->SelectedItem(), "anna");
  EXPECT_EQ(this->combo->Text(), "anna");
  // Choosing a row writes its key into the field the lookup field is keyed by.
  this->Type("c");
  EXPECT_EQ(this->Id().toInt(), 4);
  EXPECT_EQ(people.FieldByName("choice")->AsString(), "Cid Scan");
  EXPECT_EQ(this->combo->Text(), "Cid Scan");
  this->combo->setFocus();
  QTest::keyClick(this->combo, Qt::Key_F4);
  ASSERT_TRUE(this->combo->ListVisible());
  QTest::keyClick(this->combo, Qt::Key_Down);
  QTest::keyClick(this->combo, Qt::Key_Return);
  EXPECT_EQ(this->Id().toInt(), 5);
  EXPECT_EQ(this->list->SelectedItem(), "Dan");
  people.Post();
  EXPECT_EQ(this->people.Stored(), (QStringList{"1|Ann", "5|Bob", "3|Cid"}));
  this->list->SetNullValueKey(QKeySequence(Qt::CTRL | Qt::Key_N));
  QTest::keyClick(this->list, Qt::Key_N, Qt::ControlModifier);
  EXPECT_TRUE(this->people.set->FieldByName("id")->IsNull());
  EXPECT_EQ(this->list->SelectedItem(), "Ann Laser");  // no key: the list's first row
  people.Cancel();

  kavri_test::PeopleOn<TypeParam> others{{"Eve"}};  // a set without the lookup field
  const struct {
    const char* what;
    std::function<void(TSkinDBLookupControl&)> set;
    const char* error;
  } refusals[] = {
      {"KeyField", [](TSkinDBLookupControl& c) { c.SetKeyField("id"); }, "Property already defined by lookup field"},
      {"ListSource", [this](TSkinDBLookupControl& c) { c.SetListSource(&this->choices.source); },
       "Property already defined by lookup field"},
      {"DataField", [](TSkinDBLookupControl& c) { c.SetDataField("nobody"); }, "Field 'nobody' not found"},
      {"DataSource", [&](TSkinDBLookupControl& c) { c.SetDataSource(&others.source); }, "Field 'choice' not found"},
  };
  for (TSkinDBLookupControl* c : std::initializer_list<TSkinDBLookupControl*>{this->list, this->combo}) {
    for (const auto& r : refusals) {
      SCOPED_TRACE(r.what);
      c->SetDataField("");
      c->SetDataSource(&this->people.source);
      c->SetDataField("choice");
      try {
        r.set(*c);
        ADD_FAILURE() << "no error";
      } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), r.error);
      }
    }
    // A data field of its own ends the lookup-field mode and what it defined.
    c->SetDataSource(&this->people.source);
    c->SetDataField("id");
    EXPECT_FALSE(c->ListActive());
    EXPECT_EQ(c->ListSource(), nullptr);
    EXPECT_EQ(c->KeyField(), "");
    c->SetListSource(&this->choices.source);
    c->SetKeyField("id");
    EXPECT_TRUE(c->ListActive());
  }
  // Named while the set is closed, a missing field is shown when it opens, and the set opens.
  EXPECT_TRUE(this->dialogs.messages.empty());
  people.Close();
  this->list->SetDataField("nobody");
  people.Open();
  EXPECT_TRUE(people.Active());
  EXPECT_EQ(this->dialogs.messages, std::vector<std::string>{"Field 'nobody' not found"});
  EXPECT_EQ(this->combo->Text(), "Ann Laser");
}

TYPED_TEST(DBLookupTest, ALookupFieldNamingAFieldTheListLacksRaises) {
  TDataSet& people = *this->people.set;
  people.Close();
  people.AddLookupField("noResult", TFieldType::ftString, 20, {"id", this->choices.set.get(), "id", "nothing"});
  people.AddLookupField("noKey", TFieldType::ftString, 20, {"id", this->choices.set.get(), "nokey", "name"});
  people.Open();
  const struct {
    const char* field;
    const char* error;
  } cases[] = {{"noResult", "Field 'nothing' not found"}, {"noKey", "Field 'nokey' not found"}};
  for (TSkinDBLookupControl* c : std::initializer_list<TSkinDBLookupControl*>{this->list, this->combo}) {
    for (const auto& k : cases) {
      SCOPED_TRACE(k.field);
      try {
        c->SetDataField(k.field);
        ADD_FAILURE() << "no error";
      } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), k.error);
      }
      EXPECT_FALSE(c->ListActive());
      EXPECT_EQ(c->Field(), nullptr);
    }
  }
  EXPECT_TRUE(this->dialogs.messages.empty());  // raised to the caller, not shown
  // Named while the set is closed, the error is shown when it opens.
  people.Close();
  this->list->SetDataField("");
  this->combo->SetDataField("noResult");
  people.Open();
  EXPECT_EQ(this->dialogs.messages, std::vector<std::string>{"Field 'nothing' not found"});
  EXPECT_FALSE(this->combo->ListActive());
}

TEST(DBLookupComboBox, ANullKeyShowsNoRowsTextEvenWhereTheListHasANullKey) {
  auto choices = std::make_unique<TMemoryDataSet>();
  choices->AddFieldDef("id", TFieldType::ftInteger);
  choices->AddFieldDef("name", TFieldType::ftString, 20);
  choices->AddRecord({QVariant(), "without a key"});
  choices->AddRecord({1, "Ann Laser"});
  choices->Open();
  auto people = kavri_test::OpenPeopleInMemory({"Ann", "Bob"});
  TDataSource peopleSource, choiceSource;
  peopleSource.SetDataSet(people.get());
  choiceSource.SetDataSet(choices.get());
  TSkinDBLookupComboBox combo;
  combo.SetDataSource(&peopleSource);
  combo.SetDataField("id");
  combo.SetListSource(&choiceSource);
  combo.SetKeyField("id");
  combo.SetListField("name");
  EXPECT_EQ(combo.Text().toStdString(), "Ann Laser");
  people->Edit();
  people->FieldByName("id")->Clear();
  EXPECT_TRUE(combo.KeyValue().isNull());
  EXPECT_EQ(combo.Text().toStdString(), "");
  people->Cancel();
  EXPECT_EQ(combo.Text().toStdString(), "Ann Laser");
}

TEST(DBLookupListBox, ARowAnotherProgramDeletedDrawsEmptyAndNothingRaises) {
  kavri_test::PeopleOn<kavri_test::SqlitePeople> people{{"Ann"}};
  kavri_test::PeopleOn<kavri_test::SqlitePeople> choices{{"Ann Laser", "Bob Beam", "Cid Scan"}};
  kavri_test::RecordingDialogs dialogs;
  TSkinDBLookupListBox list;
  list.SetDataSource(&people.source);
  list.SetDataField("id");
  list.SetListSource(&choices.source);
  list.SetKeyField("id");
  // Two columns: a row drawn as a record has a divider even where its texts are empty.
  list.SetListField("id;name");
  list.SetListFieldIndex(1);
  list.resize(220, list.height());
  kavri_test::RunSqlite(choices.kind.file, "DELETE FROM people WHERE name = 'Cid Scan';");
  // A write of the list set's own drops the rows it held, so painting reads the file again.
  choices.set->Edit();
  choices.set->FieldByName("note")->SetAsString("seen");
  choices.set->Post();
  QImage shot;
  EXPECT_NO_THROW(shot = list.grab().toImage());
  ASSERT_FALSE(shot.isNull());
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(list.SelectedItem(), "Ann Laser");
  // Rows inside the border, left of the position bar.
  const QScrollBar* bar = list.findChild<QScrollBar*>();
  ASSERT_NE(bar, nullptr);
  const int rowHeight = list.fontMetrics().height();
  auto row = [&](int i) { return QRect(2, 2 + i * rowHeight, bar->x() - 2, rowHeight); };
  EXPECT_FALSE(kavri_test::CellIsBlank(shot, row(0)));  // the chosen row, highlighted
  EXPECT_FALSE(kavri_test::CellIsBlank(shot, row(1)));
  EXPECT_TRUE(kavri_test::CellIsBlank(shot, row(2)));  // the set still counts it: gone from the file
  EXPECT_TRUE(kavri_test::CellIsBlank(shot, row(3)));
}

TEST(DBLookupListBox, RowCountKeepsToOneToAHundredAndTheHeightSnapsToRows) {
  TSkinDBLookupListBox list;
  const int rowHeight = list.fontMetrics().height();
  EXPECT_EQ(list.height(), 7 * rowHeight + 4);
  list.SetRowCount(0);
  EXPECT_EQ(list.RowCount(), 1);
  list.SetRowCount(500);
  EXPECT_EQ(list.RowCount(), 100);
  list.show();
  list.resize(list.width(), 3 * rowHeight + rowHeight / 2 + 4);
  QApplication::processEvents();
  EXPECT_EQ(list.RowCount(), 3);
  EXPECT_EQ(list.height(), 3 * rowHeight + 4);
}

}  // namespace
