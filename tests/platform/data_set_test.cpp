// The same cursor, editing and notification cases on the in-memory set and on a SQLite table.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <memory>

#include "platform/data/data_link.h"
#include "platform/data/memory_data_set.h"
#include "platform/data/sqlite_data_set.h"
#include "tests/support/people_data.h"
#include "tests/support/test_support.h"

using namespace kavri;

namespace {

struct MemorySet {
  std::unique_ptr<TDataSet> Make(const QStringList& names) { return kavri_test::OpenPeopleInMemory(names); }
  std::unique_ptr<TDataSet> MakeSecond(const QStringList& names) { return Make(names); }
};

struct SqliteSet {
  kavri_test::ScratchDir dir;
  QString file = QString::fromStdString(dir.Path("people.db"));
  QString secondFile = QString::fromStdString(dir.Path("second.db"));
  std::unique_ptr<TDataSet> Make(const QStringList& names) { return kavri_test::OpenPeopleInSqlite(file, names); }
  // Another people table of the same kind, in its own file.
  std::unique_ptr<TDataSet> MakeSecond(const QStringList& names) {
    return kavri_test::OpenPeopleInSqlite(secondFile, names);
  }
};

template <typename Maker>
class DataSetTest : public ::testing::Test {
 protected:
  std::unique_ptr<TDataSet> Make(const QStringList& names) { return maker_.Make(names); }
  std::unique_ptr<TDataSet> MakeSecond(const QStringList& names) { return maker_.MakeSecond(names); }
  static QString Name(TDataSet& set) { return set.FieldByName("name")->AsString(); }
  Maker maker_;
};

using SetKinds = ::testing::Types<MemorySet, SqliteSet>;
TYPED_TEST_SUITE(DataSetTest, SetKinds);

// Moves and the flags they leave, checked after every step.
struct MoveStep {
  const char* move;  // F first, L last, N next, P prior, B MoveBy(2), b MoveBy(-2)
  bool bof, eof;
  const char* name;  // the current record's name; "" on an empty set
};

void Apply(TDataSet& set, char move) {
  switch (move) {
    case 'F': set.First(); break;
    case 'L': set.Last(); break;
    case 'N': set.Next(); break;
    case 'P': set.Prior(); break;
    case 'B': set.MoveBy(2); break;
    case 'b': set.MoveBy(-2); break;
  }
}

TYPED_TEST(DataSetTest, BofAndEofFollowEveryMove) {
  const struct {
    QStringList names;
    std::vector<MoveStep> steps;
  } cases[] = {
      {{}, {{"F", true, true, ""}, {"N", true, true, ""}, {"P", true, true, ""}, {"L", true, true, ""}}},
      {{"ann"},
       {{"N", false, true, "ann"}, {"P", true, false, "ann"}, {"L", false, true, "ann"}, {"F", true, false, "ann"}}},
      {{"ann", "bob", "cid", "dan"},
       {{"N", false, false, "bob"},
        {"P", false, false, "ann"},  // arriving at the first record by a step does not set Bof
        {"P", true, false, "ann"},
        {"P", true, false, "ann"},
        {"L", false, true, "dan"},
        {"P", false, false, "cid"},
        {"N", false, false, "dan"},
        {"N", false, true, "dan"},
        {"b", false, false, "bob"},
        {"B", false, false, "dan"},
        {"B", false, true, "dan"},
        {"F", true, false, "ann"},
        {"b", true, false, "ann"}}},
  };
  for (const auto& c : cases) {
    auto set = this->Make(c.names);
    SCOPED_TRACE(c.names.join(",").toStdString());
    EXPECT_TRUE(set->Bof());  // opening puts it at the first record
    EXPECT_EQ(set->Eof(), c.names.isEmpty());
    int step = 0;
    for (const MoveStep& s : c.steps) {
      Apply(*set, s.move[0]);
      EXPECT_EQ(set->Bof(), s.bof) << "step " << step << " " << s.move;
      EXPECT_EQ(set->Eof(), s.eof) << "step " << step << " " << s.move;
      EXPECT_EQ(this->Name(*set), s.name) << "step " << step << " " << s.move;
      ++step;
    }
  }
}

TYPED_TEST(DataSetTest, MovingWhileEditingPostsAndTheValueStays) {
  auto set = this->Make({"ann", "bob", "cid"});
  set->Next();
  set->Edit();
  EXPECT_EQ(set->State(), TDataSetState::dsEdit);
  set->FieldByName("name")->SetAsString("bea");
  set->Next();
  EXPECT_EQ(set->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(this->Name(*set), "cid");
  set->Close();
  set->Open();
  set->Next();
  EXPECT_EQ(this->Name(*set), "bea");
  EXPECT_EQ(set->RecordCount(), 3);
}

TYPED_TEST(DataSetTest, CancelRestoresTheRecordAndTheCursor) {
  auto set = this->Make({"ann", "bob"});
  set->Edit();
  set->FieldByName("name")->SetAsString("zed");
  EXPECT_EQ(this->Name(*set), "zed");
  set->Cancel();
  EXPECT_EQ(set->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(this->Name(*set), "ann");

  set->Last();
  set->Append();
  EXPECT_TRUE(set->FieldByName("name")->IsNull());
  set->FieldByName("name")->SetAsString("new");
  set->Cancel();
  EXPECT_EQ(set->RecordCount(), 2);
  EXPECT_EQ(this->Name(*set), "bob");
  // Leaving an untouched edit writes nothing either.
  set->Edit();
  set->First();
  EXPECT_EQ(set->State(), TDataSetState::dsBrowse);
}

TYPED_TEST(DataSetTest, AppendPostsANewCurrentRecordAndDeleteMovesOn) {
  auto set = this->Make({"ann", "bob", "cid"});
  set->Append();
  EXPECT_EQ(set->State(), TDataSetState::dsInsert);
  set->FieldByName("id")->SetAsString("9");
  set->FieldByName("name")->SetAsString("dee");
  set->Post();
  EXPECT_EQ(set->RecordCount(), 4);
  EXPECT_EQ(this->Name(*set), "dee");
  EXPECT_FALSE(set->Bof() || set->Eof());

  set->First();
  set->Next();
  set->Delete();
  EXPECT_EQ(this->Name(*set), "cid");  // the next record takes the deleted one's place
  set->Last();
  set->Delete();
  EXPECT_EQ(this->Name(*set), "cid");  // the last gone, the one before it
  EXPECT_EQ(set->RecordCount(), 2);
  set->Delete();
  set->Delete();
  EXPECT_TRUE(set->Bof() && set->Eof());
  EXPECT_THROW(set->Delete(), EDatabaseError);
  // Edit on an empty set starts an insert.
  set->Edit();
  EXPECT_EQ(set->State(), TDataSetState::dsInsert);
}

TYPED_TEST(DataSetTest, LocateFindsPartialAndCaseBlindKeysAndLookupStaysPut) {
  auto set = this->Make({"Ann", "Albert", "bob", "ALICE"});
  EXPECT_FALSE(set->Locate("name", {"al"}));
  EXPECT_EQ(this->Name(*set), "Ann");  // a failed search does not move
  EXPECT_TRUE(set->Locate("name", {"Al"}, loPartialKey));
  EXPECT_EQ(this->Name(*set), "Albert");
  EXPECT_TRUE(set->Locate("NAME", {"alice"}, loCaseInsensitive));
  EXPECT_EQ(this->Name(*set), "ALICE");
  EXPECT_TRUE(set->Locate("name", {"B"}, loCaseInsensitive | loPartialKey));
  EXPECT_EQ(this->Name(*set), "bob");
  EXPECT_TRUE(set->Locate("id;name", {2, "Albert"}));
  EXPECT_FALSE(set->Locate("id;name", {3, "Albert"}));
  EXPECT_TRUE(set->Locate("id", {"4"}));  // a key text matches the number it spells
  EXPECT_EQ(this->Name(*set), "ALICE");

  set->First();
  EXPECT_EQ(set->Lookup("id", {3}, "name").toString(), "bob");
  EXPECT_EQ(set->Lookup("name", {"Ann"}, "id;note").toList().value(1).toString(), "note 1");
  EXPECT_FALSE(set->Lookup("id", {7}, "name").isValid());
  EXPECT_EQ(this->Name(*set), "Ann");
  EXPECT_THROW(set->Locate("age", {1}), EDatabaseError);
}

TYPED_TEST(DataSetTest, BookmarksReturnToTheirRecordUntilItIsDeleted) {
  auto set = this->Make({"ann", "bob", "cid"});
  set->Next();
  const TBookmark bob = set->GetBookmark();
  set->Last();
  set->GotoBookmark(bob);
  EXPECT_EQ(this->Name(*set), "bob");
  EXPECT_TRUE(set->BookmarkValid(bob));
  set->Delete();
  EXPECT_FALSE(set->BookmarkValid(bob));
  EXPECT_THROW(set->GotoBookmark(bob), EDatabaseError);
}

TYPED_TEST(DataSetTest, FieldsCheckTheirValuesAndNeedEditState) {
  auto set = this->Make({"ann"});
  TField* id = set->FieldByName("ID");
  EXPECT_EQ(id->DataType(), TFieldType::ftInteger);
  EXPECT_EQ(set->FieldByName("name")->Size(), 20);
  EXPECT_EQ(set->FieldByName("note")->DataType(), TFieldType::ftMemo);
  EXPECT_THROW(set->FieldByName("age"), EDatabaseError);
  EXPECT_THROW(id->SetAsString("2"), EDatabaseError);  // browsing
  set->Edit();
  EXPECT_THROW(id->SetAsString("two"), EDatabaseError);
  EXPECT_EQ(id->AsString(), "1");
  id->SetAsString("");
  EXPECT_TRUE(id->IsNull());
  set->FieldByName("name")->SetAsString("a name much longer than twenty");
  EXPECT_EQ(set->FieldByName("name")->AsString(), "a name much longer t");
  EXPECT_FALSE(id->IsValidChar('x'));
  EXPECT_TRUE(id->IsValidChar('7'));
}

// Logs what the set tells a link, by the link's name.
class LoggingFieldLink : public TFieldDataLink {
 public:
  LoggingFieldLink(std::vector<std::string>& log, const char* name) : log_(log), name_(name) {
    OnDataChange = [this] { log_.push_back(name_ + " data"); };
    OnEditingChange = [this] { log_.push_back(name_ + (Editing() ? " editing" : " browsing")); };
    OnUpdateData = [this] {
      log_.push_back(name_ + " update");
      Field()->SetAsString(pending);
    };
  }
  QString pending;

 private:
  std::vector<std::string>& log_;
  std::string name_;
};

TYPED_TEST(DataSetTest, PostLetsEveryLinkWriteItsValueBeforeTheRecordIsStored) {
  auto set = this->Make({"ann", "bob"});
  TDataSource source;
  source.SetDataSet(set.get());
  std::vector<std::string> log;
  LoggingFieldLink name(log, "name"), note(log, "note");
  name.SetFieldName("name");
  note.SetFieldName("note");
  name.SetDataSource(&source);
  note.SetDataSource(&source);
  ASSERT_TRUE(name.Edit());
  EXPECT_EQ(set->State(), TDataSetState::dsEdit);
  log.clear();
  name.pending = "amy";
  note.pending = "typed";
  name.Modified();
  note.Modified();
  set->Next();  // posts first
  const std::vector<std::string> expected = {"name update", "note update", "name browsing", "note browsing",
                                             "name data",   "note data",   "name data",     "note data"};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(name.Field()->AsString(), "bob");
  set->First();
  EXPECT_EQ(name.Field()->AsString(), "amy");
  EXPECT_EQ(note.Field()->AsString(), "typed");
}

TYPED_TEST(DataSetTest, ALinkWindowKeepsTheCurrentRecordInView) {
  auto set = this->Make({"a", "b", "c", "d", "e"});
  TDataSource source;
  source.SetDataSet(set.get());
  TFieldDataLink link;
  link.SetFieldName("name");
  link.SetBufferCount(3);
  link.SetDataSource(&source);
  EXPECT_EQ(link.RecordCount(), 3);
  EXPECT_EQ(link.ActiveRecord(), 0);
  set->Last();
  EXPECT_EQ(link.FirstRow(), 2);
  EXPECT_EQ(link.ActiveRecord(), 2);
  set->MoveBy(-3);
  EXPECT_EQ(link.FirstRow(), 1);
  EXPECT_EQ(link.ActiveRecord(), 0);
  // Drawing the window reads each row, then the current record again.
  QStringList shown;
  const int active = link.ActiveRecord();
  for (int i = 0; i < link.RecordCount(); ++i) {
    link.SetActiveRecord(i);
    shown << link.Field()->AsString();
  }
  link.SetActiveRecord(active);
  EXPECT_EQ(shown, QStringList({"b", "c", "d"}));
  EXPECT_EQ(link.Field()->AsString(), "b");
}

TYPED_TEST(DataSetTest, ALinkFollowsItsSourceToAnotherOpenSet) {
  auto first = kavri_test::OpenPeopleInMemory({"ann"});
  auto second = this->Make({"bob"});
  TDataSource source;
  source.SetDataSet(first.get());
  TFieldDataLink link;
  link.SetFieldName("name");
  link.SetDataSource(&source);
  QStringList shown;
  link.OnDataChange = [&] { shown << (link.Field() ? link.Field()->AsString() : QString()); };
  source.SetDataSet(second.get());
  ASSERT_NE(link.Field(), nullptr);
  EXPECT_EQ(link.Field()->DataSet(), second.get());
  EXPECT_EQ(shown.value(shown.size() - 1), "bob");
  first.reset();  // the link holds nothing of the set it left
  EXPECT_EQ(link.Field()->AsString(), "bob");
}

TYPED_TEST(DataSetTest, LinksGoInactiveWhenTheSourceOrTheSetGoes) {
  auto set = this->Make({"ann"});
  auto source = std::make_unique<TDataSource>();
  source->SetDataSet(set.get());
  TFieldDataLink link;
  link.SetFieldName("name");
  link.SetDataSource(source.get());
  ASSERT_TRUE(link.Active());
  ASSERT_NE(link.Field(), nullptr);
  source.reset();
  EXPECT_EQ(link.DataSource(), nullptr);
  EXPECT_FALSE(link.Active());
  EXPECT_EQ(link.Field(), nullptr);
  EXPECT_FALSE(link.Edit());

  TDataSource second;
  second.SetDataSet(set.get());
  link.SetDataSource(&second);
  ASSERT_TRUE(link.Active());
  set.reset();
  EXPECT_FALSE(link.Active());
  EXPECT_EQ(second.DataSet(), nullptr);
}

// "choice": each person's id looked up in a second people table of the same kind, its name shown.
void AddChoiceField(TDataSet& people, TDataSet* choices, const QString& keyFields = "id") {
  people.Close();
  people.AddLookupField("choice", TFieldType::ftString, 20, {keyFields, choices, "id", "name"});
  people.Open();
}

TYPED_TEST(DataSetTest, ALookupFieldReadsTheResultOfItsKeyInTheLookupSet) {
  auto choices = this->MakeSecond({"Ann Laser", "Bob Beam"});
  auto people = this->Make({"ann", "bob", "cid"});
  TDataSet& set = *people;
  AddChoiceField(set, choices.get());
  TField* choice = set.FieldByName("choice");
  EXPECT_EQ(choice->FieldKind(), TFieldKind::fkLookup);
  EXPECT_EQ(choice->Index(), 3);  // after the stored fields
  EXPECT_FALSE(choice->CanModify());
  const struct {
    int move;
    const char* shown;
  } rows[] = {{0, "Ann Laser"}, {1, "Bob Beam"}, {1, ""}};  // id 3 has no choice
  set.First();
  for (const auto& r : rows) {
    set.MoveBy(r.move);
    EXPECT_EQ(choice->DisplayText(), r.shown) << set.FieldByName("name")->AsString().toStdString();
  }
  EXPECT_TRUE(choice->IsNull());
  // Changing the key changes the looked-up value, and its controls hear of it.
  TDataSource source;
  source.SetDataSet(&set);
  TFieldDataLink link;
  link.SetFieldName("choice");
  link.SetDataSource(&source);
  QStringList heard;
  link.OnDataChange = [&] { heard << (link.Field() ? link.Field()->DisplayText() : QString()); };
  set.Edit();
  heard.clear();
  set.FieldByName("id")->SetValue(2);
  EXPECT_EQ(heard, QStringList{"Bob Beam"});
  EXPECT_THROW(choice->SetAsString("Ann Laser"), EDatabaseError);
  set.Post();
  EXPECT_EQ(choice->AsString(), "Bob Beam");
  // The lookup set is read without moving, and a closed one gives nothing.
  choices->Last();
  set.First();
  EXPECT_EQ(choice->AsString(), "Ann Laser");
  EXPECT_EQ(choices->FieldByName("name")->AsString(), "Bob Beam");
  choices->Close();
  EXPECT_TRUE(choice->IsNull());
  link.SetDataSource(nullptr);
}

TYPED_TEST(DataSetTest, ALookupFieldIsDefinedOnlyWhileClosedAndOnlyOnFieldsThatExist) {
  auto choices = this->MakeSecond({"Ann Laser"});
  auto people = this->Make({"ann"});
  EXPECT_THROW(people->AddLookupField("choice", TFieldType::ftString, 20, {"id", choices.get(), "id", "name"}),
               EDatabaseError);
  try {
    AddChoiceField(*people, choices.get(), "nobody");
    FAIL() << "opened with a lookup on a missing key field";
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Field 'nobody' not found");
  }
  EXPECT_FALSE(people->Active());
}

// ---- SQLite only ----

class SqliteDataSetTest : public ::testing::Test {
 protected:
  SqliteSet maker_;
};

TEST_F(SqliteDataSetTest, AConstraintRefusalKeepsTheEditAndEveryCommittedRow) {
  auto set = maker_.Make({"ann", "bob"});
  set->Append();
  set->FieldByName("id")->SetAsString("3");
  set->FieldByName("name")->SetAsString("cid");
  set->Post();
  // UNIQUE
  set->Append();
  set->FieldByName("id")->SetAsString("4");
  set->FieldByName("name")->SetAsString("bob");
  try {
    set->Post();
    FAIL() << "posted a duplicate name";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("UNIQUE constraint failed"), std::string::npos) << e.what();
  }
  EXPECT_EQ(set->State(), TDataSetState::dsInsert);
  EXPECT_EQ(set->FieldByName("name")->AsString(), "bob");
  set->Cancel();
  // NOT NULL, on an edit of a stored row
  set->First();
  set->Edit();
  set->FieldByName("id")->Clear();
  try {
    set->Post();
    FAIL() << "posted a null id";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("NOT NULL constraint failed"), std::string::npos) << e.what();
  }
  EXPECT_EQ(set->State(), TDataSetState::dsEdit);
  EXPECT_EQ(kavri_test::RunSqlite(maker_.file, "SELECT id, name FROM people ORDER BY rowid;"),
            "1|ann\n2|bob\n3|cid\n");
  // Fixed, the same edit goes through.
  set->FieldByName("id")->SetAsString("10");
  set->Post();
  EXPECT_EQ(kavri_test::RunSqlite(maker_.file, "SELECT id FROM people WHERE name = 'ann';"), "10\n");
}

TEST_F(SqliteDataSetTest, DeleteAndEditAreWrittenStraightThroughByRowId) {
  auto set = maker_.Make({"ann", "bob", "cid"});
  kavri_test::RunSqlite(maker_.file, "DELETE FROM people WHERE name = 'ann';");  // another writer
  set->Refresh();
  EXPECT_EQ(set->RecordCount(), 2);
  set->Locate("name", {"cid"});
  set->Delete();
  set->Edit();
  set->FieldByName("note")->SetAsString("kept");
  set->Post();
  EXPECT_EQ(kavri_test::RunSqlite(maker_.file, "SELECT rowid, name, note FROM people;"), "2|bob|kept\n");
}

TEST_F(SqliteDataSetTest, AnEditOfARowAnotherWriterDeletedIsRefusedNotLost) {
  auto set = maker_.Make({"ann", "bob"});
  set->Edit();
  set->FieldByName("name")->SetAsString("amy");
  kavri_test::RunSqlite(maker_.file, "DELETE FROM people WHERE name = 'ann';");  // another writer
  EXPECT_THROW(set->Post(), EDatabaseError);
  EXPECT_EQ(set->State(), TDataSetState::dsEdit);
  EXPECT_EQ(set->FieldByName("name")->AsString(), "amy");
  EXPECT_EQ(kavri_test::RunSqlite(maker_.file, "SELECT name FROM people;"), "bob\n");
}

TEST_F(SqliteDataSetTest, ScrollingAThousandsOfRowsHoldsOnlyAPage) {
  auto set = maker_.Make({});
  kavri_test::RunSqlite(maker_.file,
                        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                        "INSERT INTO people SELECT i, 'p' || i, NULL FROM n;");
  set->Refresh();
  ASSERT_EQ(set->RecordCount(), 3000);
  auto* sqlite = static_cast<TSQLiteDataSet*>(set.get());
  int seen = 0;
  for (set->First(); !set->Eof(); set->Next()) {
    ASSERT_EQ(set->FieldByName("id")->Value().toInt(), ++seen);
    ASSERT_LE(sqlite->CachedRowCount(), TSQLiteDataSet::kPageRows);
  }
  EXPECT_EQ(seen, 3000);
  for (int i = 3000; !set->Bof(); set->Prior()) ASSERT_EQ(set->FieldByName("id")->Value().toInt(), i--);
  set->MoveBy(1700);
  EXPECT_EQ(set->FieldByName("name")->AsString(), "p1701");
  EXPECT_TRUE(set->Locate("name", {"p2999"}));
  EXPECT_EQ(set->FieldByName("id")->Value().toInt(), 2999);
}

TEST_F(SqliteDataSetTest, DateAndNumericColumnsShowAndKeepWhatTheyHold) {
  kavri_test::RunSqlite(maker_.file,
                        "CREATE TABLE events (day DATE, price NUMERIC, weight REAL);\n"
                        "INSERT INTO events VALUES ('2026-12-07', '12.50', 2.5);\n");
  TSQLiteDataSet set;
  set.SetDatabaseName(maker_.file);
  set.SetTableName("events");
  set.Open();
  EXPECT_EQ(set.FieldByName("day")->DisplayText(), "2026-12-07");
  EXPECT_EQ(set.FieldByName("price")->DisplayText(), "12.5");
  EXPECT_EQ(set.FieldByName("weight")->DataType(), TFieldType::ftFloat);
  EXPECT_TRUE(set.Locate("day", {"2026-12-07"}));
  set.Edit();
  set.FieldByName("day")->SetText("2026-12-08");
  set.Post();
  EXPECT_EQ(kavri_test::RunSqlite(maker_.file, "SELECT day, price, weight FROM events;"), "2026-12-08|12.5|2.5\n");
}

TEST_F(SqliteDataSetTest, OpeningAMissingTableOrAReadOnlySetRefusesClearly) {
  maker_.Make({"ann"});
  TSQLiteDataSet set;
  set.SetDatabaseName(maker_.file);
  set.SetTableName("nobody");
  EXPECT_THROW(set.Open(), EDatabaseError);
  EXPECT_FALSE(set.Active());
  set.SetTableName("people");
  set.SetReadOnly(true);
  set.Open();
  EXPECT_FALSE(set.CanModify());
  EXPECT_THROW(set.Edit(), EDatabaseError);
}

TEST_F(SqliteDataSetTest, AFileOrFolderWithoutWriteAccessOpensAsAReadOnlySet) {
  // Modes rather than the caller's rights: tests run as root, whom file modes do not stop.
  const QFileDevice::Permissions readable = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
  const QFileDevice::Permissions writable = readable | QFileDevice::WriteOwner;
  const QFileDevice::Permissions folder = readable | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
  const struct {
    const char* what;
    QFileDevice::Permissions fileMode, folderMode;
    bool canModify;
  } cases[] = {
      {"writable", writable, folder | QFileDevice::WriteOwner, true},
      {"read-only file", readable, folder | QFileDevice::WriteOwner, false},
      {"read-only folder", writable, folder, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    kavri_test::ScratchDir dir;
    const QString folderPath = QString::fromStdString(dir.Path("db"));
    ASSERT_TRUE(QDir().mkpath(folderPath));
    const QString file = folderPath + "/people.db";
    kavri_test::WritePeopleTable(file, {"ann"});
    QFile::setPermissions(file, c.fileMode);
    QFile::setPermissions(folderPath, c.folderMode);
    TSQLiteDataSet set;
    set.SetDatabaseName(file);
    set.SetTableName("people");
    set.Open();
    EXPECT_EQ(set.CanModify(), c.canModify);
    if (!c.canModify) {
      EXPECT_THROW(set.Edit(), EDatabaseError);
      EXPECT_THROW(set.Append(), EDatabaseError);
      EXPECT_EQ(set.State(), TDataSetState::dsBrowse);
    }
    EXPECT_EQ(set.FieldByName("name")->AsString(), "ann");
    set.Close();
    QFile::setPermissions(folderPath, c.folderMode | QFileDevice::WriteOwner);
  }
}

}  // namespace
