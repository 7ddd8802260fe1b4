// Finding a record by an exact key: keys compare as SQLite compares them, and a set finds a key
// through an index that follows every change of its records.
#include <gtest/gtest.h>

#include <QStringList>
#include <memory>

#include "platform/data/memory_data_set.h"
#include "platform/data/sqlite_data_set.h"
#include "tests/support/people_data.h"
#include "tests/support/test_support.h"

using namespace kavri;

namespace {

// The same literal stored in a column of each affinity, one row per literal; `name` tells the rows
// apart. Column n is declared NUMERIC, which the set reads as text.
const char* const kStoredLiterals[] = {"3",   "3.0",  "'3'",       "'03'",   "' 3 '", "'3.0'", "3.5",
                                       "'abc'", "'ABC'", "x'33'", "1e20", "'1.0e+20'", "''", "NULL", "-0.0"};
const char* const kColumns[] = {"u", "i", "t", "r", "n"};

struct TKey {
  const char* sql;  // the same key in SQL, with the affinity the key's kind of value has
  QVariant value;
};

std::vector<TKey> Keys() {
  return {
      {"CAST(3 AS INTEGER)", qlonglong(3)},
      {"CAST(3 AS INTEGER)", 3},
      {"CAST(3.0 AS REAL)", 3.0},
      {"CAST(3.5 AS REAL)", 3.5},
      {"CAST(0.0 AS REAL)", 0.0},
      {"CAST(1e20 AS REAL)", 1e20},
      {"CAST('3' AS TEXT)", QString("3")},
      {"CAST('03' AS TEXT)", QString("03")},
      {"CAST(' 3 ' AS TEXT)", QString(" 3 ")},
      {"CAST('3.0' AS TEXT)", QString("3.0")},
      {"CAST('abc' AS TEXT)", QString("abc")},
      {"CAST('1.0e+20' AS TEXT)", QString("1.0e+20")},
      {"CAST('0.0' AS TEXT)", QString("0.0")},
      {"CAST('' AS TEXT)", QString("")},
      {"x'33'", QByteArray("3")},
      {"x'616263'", QByteArray("abc")},
  };
}

TEST(KeyLookup, KeysCompareAsSqliteComparesThem) {
  kavri_test::ScratchDir dir;
  const QString file = QString::fromStdString(dir.Path("keys.db"));
  QString sql = "CREATE TABLE l (u, i INTEGER, t TEXT, r REAL, n NUMERIC, name TEXT);\n";
  QStringList names;
  for (const char* literal : kStoredLiterals) {
    names << QStringLiteral("row%1").arg(names.size() + 1);
    sql += QStringLiteral("INSERT INTO l VALUES (%1, %1, %1, %1, %1, '%2');\n").arg(literal, names.back());
  }
  // SQLite's answer for every column and key: the names of the rows equal, in row order.
  const std::vector<TKey> keys = Keys();
  for (const char* column : kColumns)
    for (const TKey& key : keys)
      sql += QStringLiteral("SELECT ifnull((SELECT group_concat(name) FROM (SELECT name FROM l WHERE %1 = %2 "
                            "ORDER BY rowid)), '');\n")
                 .arg(column, key.sql);
  const QStringList answers = kavri_test::RunSqlite(file, sql).split('\n');
  ASSERT_GE(answers.size(), static_cast<qsizetype>(std::size(kColumns) * keys.size()));

  TSQLiteDataSet set;
  set.SetDatabaseName(file);
  set.SetTableName("l");
  set.Open();
  ASSERT_EQ(set.RecordCount(), static_cast<int>(std::size(kStoredLiterals)));
  int answer = 0;
  for (const char* column : kColumns) {
    for (const TKey& key : keys) {
      SCOPED_TRACE(QStringLiteral("%1 = %2 (%3)").arg(column, key.sql, key.value.typeName()).toStdString());
      const QString expected = answers[answer++];
      // Each row on its own, then the first row a lookup of the key alone finds.
      QStringList equal;
      for (const QString& name : names)
        if (!set.Lookup(QStringLiteral("%1;name").arg(column), {key.value, name}, "name").isNull()) equal << name;
      EXPECT_EQ(equal.join(',').toStdString(), expected.toStdString());
      const std::string first = expected.section(',', 0, 0).toStdString();
      EXPECT_EQ(set.Lookup(column, {key.value}, "name").toString().toStdString(), first);
      EXPECT_EQ(set.Locate(column, {key.value}), !first.empty());
      if (!first.empty()) {
        EXPECT_EQ(set.FieldByName("name")->AsString().toStdString(), first);
      }
    }
  }
}

// A memory set that counts the records read from its storage.
class TCountingSet : public TMemoryDataSet {
 public:
  mutable int reads = 0;

 protected:
  TStoredRecord DoRecordAt(int index) const override {
    ++reads;
    return TMemoryDataSet::DoRecordAt(index);
  }
};

TEST(KeyLookup, AKeyIsFoundWithoutReadingEveryRecordUntilTheRecordsChange) {
  constexpr int kRecords = 5000;
  TCountingSet set;
  set.AddFieldDef("id", TFieldType::ftInteger);
  set.AddFieldDef("name", TFieldType::ftString, 20);
  for (int i = 1; i <= kRecords; ++i) set.AddRecord({i, QStringLiteral("p%1").arg(i)});
  set.Open();
  EXPECT_EQ(set.Lookup("id", {1}, "name").toString(), "p1");
  // From now on each search reads only the record it finds.
  set.reads = 0;
  int searches = 0;
  for (int id = kRecords; id > 0; id -= 97, ++searches)
    ASSERT_EQ(set.Lookup("id", {id}, "name").toString(), QStringLiteral("p%1").arg(id));
  EXPECT_TRUE(set.Lookup("id", {kRecords + 1}, "name").isNull());
  EXPECT_TRUE(set.Locate("id", {kRecords / 2}));
  EXPECT_LE(set.reads, searches + 2);
  // A new record is found, and the searches after it are as cheap again.
  set.Append();
  set.FieldByName("id")->SetValue(kRecords + 1);
  set.FieldByName("name")->SetAsString("new");
  set.Post();
  EXPECT_EQ(set.Lookup("id", {kRecords + 1}, "name").toString(), "new");
  set.reads = 0;
  EXPECT_EQ(set.Lookup("id", {7}, "name").toString(), "p7");
  EXPECT_LE(set.reads, 1);
}

TEST(KeyLookup, ASqliteSetFoundByKeyReadsTheRightRowsAroundIt) {
  kavri_test::ScratchDir dir;
  const QString file = QString::fromStdString(dir.Path("people.db"));
  auto set = kavri_test::OpenPeopleInSqlite(file, {});
  kavri_test::RunSqlite(file,
                        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                        "INSERT INTO people SELECT i, 'p' || i, NULL FROM n;");
  set->Refresh();
  ASSERT_EQ(set->RecordCount(), 3000);
  auto id = [&] { return set->FieldByName("id")->Value().toInt(); };
  for (int key : {2999, 1500, 3000, 130, 1, 129, 2000}) {
    SCOPED_TRACE(key);
    ASSERT_TRUE(set->Locate("id", {key}));
    EXPECT_EQ(set->FieldByName("name")->AsString().toStdString(), "p" + std::to_string(key));
    EXPECT_EQ(set->MoveBy(-200), -std::min(200, key - 1));
    EXPECT_EQ(id(), std::max(1, key - 200));
    ASSERT_TRUE(set->Locate("id", {key}));
    EXPECT_EQ(set->MoveBy(300), std::min(300, 3000 - key));
    EXPECT_EQ(id(), std::min(3000, key + 300));
    EXPECT_LE(set->CachedRowCount(), TSQLiteDataSet::kPageRows);
  }
}

// Every way the records change, on both sets: the index never answers with what was there before.
template <typename Kind>
class KeyIndexChanges : public ::testing::Test {
 protected:
  Kind kind;
};

struct MemoryPeople {
  std::unique_ptr<TDataSet> Open(const QStringList& names) { return kavri_test::OpenPeopleInMemory(names); }
  // Another program's insert: a record added straight to the storage.
  void AddElsewhere(TDataSet& set, int id, const QString& name) {
    static_cast<TMemoryDataSet&>(set).AddRecord({id, name});
  }
};

struct SqlitePeople {
  kavri_test::ScratchDir dir;
  QString file = QString::fromStdString(dir.Path("people.db"));
  std::unique_ptr<TDataSet> Open(const QStringList& names) { return kavri_test::OpenPeopleInSqlite(file, names); }
  void AddElsewhere(TDataSet& set, int id, const QString& name) {
    kavri_test::RunSqlite(file, QStringLiteral("INSERT INTO people VALUES (%1, '%2', NULL);").arg(id).arg(name));
    set.Refresh();
  }
};

using PeopleKinds = ::testing::Types<MemoryPeople, SqlitePeople>;
TYPED_TEST_SUITE(KeyIndexChanges, PeopleKinds);

TYPED_TEST(KeyIndexChanges, EverySearchSeesTheRecordsAsTheyAreNow) {
  auto people = this->kind.Open({"ann", "bob", "cid"});
  TDataSet& set = *people;
  auto name = [&](int id) { return set.Lookup("id", {id}, "name").toString(); };
  const struct {
    const char* what;
    std::function<void()> change;
    std::vector<std::pair<int, const char*>> expected;  // id, the name a lookup finds ("" none)
  } steps[] = {
      {"opened", [] {}, {{1, "ann"}, {2, "bob"}, {4, ""}}},
      {"appended",
       [&] {
         set.Append();
         set.FieldByName("id")->SetValue(4);
         set.FieldByName("name")->SetAsString("dan");
         set.Post();
       },
       {{4, "dan"}, {3, "cid"}}},
      {"key edited",
       [&] {
         set.Locate("name", {"bob"});
         set.Edit();
         set.FieldByName("id")->SetValue(20);
         set.Post();
       },
       {{2, ""}, {20, "bob"}}},
      {"deleted",
       [&] {
         set.Locate("id", {1});
         set.Delete();
       },
       {{1, ""}, {3, "cid"}}},
      {"inserted elsewhere", [&] { this->kind.AddElsewhere(set, 30, "eve"); }, {{30, "eve"}, {20, "bob"}}},
      {"reopened",
       [&] {
         set.Close();
         set.Open();
       },
       {{30, "eve"}, {4, "dan"}, {1, ""}}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    step.change();
    for (const auto& [id, expected] : step.expected) EXPECT_EQ(name(id).toStdString(), expected) << "id " << id;
    // A position found through the index is the record's place now.
    for (const auto& [id, expected] : step.expected)
      if (*expected) {
        ASSERT_TRUE(set.Locate("id", {id})) << "id " << id;
        EXPECT_EQ(set.FieldByName("name")->AsString().toStdString(), expected);
      }
  }
}

}  // namespace

// A key can reach records through either of its hashes (a text key finds equal texts, and numbers
// as a number): the record first in order wins, whichever hash reached it.
TEST(KeyLookup, TheFirstEqualRecordIsFoundWhicheverHashReachesIt) {
  const struct {
    const char* what;
    QVariant first, second;
  } cases[] = {
      {"text before number", QString("5"), 5},
      {"number before text", 5, QString("5")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TMemoryDataSet set;
    set.AddFieldDef("code", TFieldType::ftString, 10);
    set.AddFieldDef("name", TFieldType::ftString, 10);
    set.AddRecord({QString("x"), QString("other")});
    set.AddRecord({c.first, QString("first")});
    set.AddRecord({c.second, QString("second")});
    set.Open();
    EXPECT_EQ(set.Lookup("code", {QString("5")}, "name").toString().toStdString(), "first");
    ASSERT_TRUE(set.Locate("code", {QString("5")}));
    EXPECT_EQ(set.FieldByName("name")->AsString().toStdString(), "first");
  }
}

// Another connection changes the file while the set is open, or while it is closed: a search
// answers from the rows as they are now, without a Refresh.
TEST(KeyLookup, AnotherConnectionsChangeIsSeenByTheNextSearch) {
  kavri_test::ScratchDir dir;
  const QString file = QString::fromStdString(dir.Path("people.db"));
  auto people = kavri_test::OpenPeopleInSqlite(file, {"ann", "bob", "cid"});
  TSQLiteDataSet& set = *people;
  auto elsewhere = [&](const char* sql) { kavri_test::RunSqlite(file, sql); };
  const struct {
    const char* what;
    std::function<void()> change;
    std::vector<std::pair<int, const char*>> expected;  // id, the name a search finds ("" none)
  } steps[] = {
      {"opened", [] {}, {{1, "ann"}, {2, "bob"}, {3, "cid"}}},
      {"key renamed", [&] { elsewhere("UPDATE people SET id = 20 WHERE id = 2;"); }, {{2, ""}, {20, "bob"}, {1, "ann"}}},
      {"row renamed", [&] { elsewhere("UPDATE people SET name = 'amy' WHERE id = 1;"); }, {{1, "amy"}}},
      {"every row deleted", [&] { elsewhere("DELETE FROM people;"); }, {{1, ""}, {20, ""}, {3, ""}}},
      {"inserted while closed",
       [&] {
         set.Close();
         elsewhere("INSERT INTO people VALUES (5, 'eve', NULL);");
         set.Open();
       },
       {{5, "eve"}, {1, ""}}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    step.change();
    for (const auto& [id, expected] : step.expected) {
      EXPECT_EQ(set.Lookup("id", {id}, "name").toString().toStdString(), expected) << "id " << id;
      EXPECT_EQ(set.Locate("id", {id}), *expected != 0) << "id " << id;
      if (*expected) {
        EXPECT_EQ(set.FieldByName("name")->AsString().toStdString(), expected) << "id " << id;
      }
    }
  }
}
