#pragma once
// The people table on both data sets, for typed tests of the data-aware controls. Stored() reads
// what was really stored: the SQLite file through the sqlite3 tool, the memory set by a walk that
// comes back to the record it started on.
#include <gtest/gtest.h>

#include <memory>

#include "platform/data/data_source.h"
#include "tests/support/people_data.h"
#include "tests/support/test_support.h"

namespace kavri_test {

struct MemoryPeople {
  std::unique_ptr<kavri::TDataSet> Open(const QStringList& names) { return OpenPeopleInMemory(names); }
  // "id|name" per stored record, in order.
  QStringList Stored(kavri::TDataSet& set) {
    QStringList rows;
    const kavri::TBookmark place = set.GetBookmark();
    set.First();
    while (!set.IsEmpty()) {
      rows << set.FieldByName("id")->AsString() + "|" + set.FieldByName("name")->AsString();
      if (set.MoveBy(1) == 0) break;
    }
    if (place != kavri::kNoBookmark) set.GotoBookmark(place);
    return rows;
  }
};

struct SqlitePeople {
  ScratchDir dir;
  QString file = QString::fromStdString(dir.Path("people.db"));
  std::unique_ptr<kavri::TDataSet> Open(const QStringList& names) { return OpenPeopleInSqlite(file, names); }
  QStringList Stored(kavri::TDataSet&) {
    return RunSqlite(file, "SELECT ifnull(id, ''), name FROM people ORDER BY rowid;").split('\n', Qt::SkipEmptyParts);
  }
};

using PeopleSets = ::testing::Types<MemoryPeople, SqlitePeople>;

// A people table on one of the sets with a source over it.
template <typename Kind>
struct PeopleOn {
  explicit PeopleOn(const QStringList& names) : set(kind.Open(names)) { source.SetDataSet(set.get()); }
  QStringList Stored() { return kind.Stored(*set); }
  Kind kind;
  std::unique_ptr<kavri::TDataSet> set;
  kavri::TDataSource source;
};

}  // namespace kavri_test
