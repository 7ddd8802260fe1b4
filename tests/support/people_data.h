#pragma once
// The people table the data-layer and data-aware control tests share, in memory and in a SQLite
// file. Files are written and read back with the sqlite3 command-line tool, so a check of what a
// data set wrote does not go through the code under test.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

#include "platform/data/memory_data_set.h"
#include "platform/data/sqlite_data_set.h"

namespace kavri_test {

// Runs `sql` on the file; answers what the tool printed (one row a line, columns joined by '|').
inline QString RunSqlite(const QString& file, const QString& sql) {
  QProcess tool;
  tool.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), file});
  tool.write(sql.toUtf8());
  tool.closeWriteChannel();
  tool.waitForFinished(30000);
  return QString::fromUtf8(tool.readAllStandardOutput()) + QString::fromUtf8(tool.readAllStandardError());
}

// The table the data-set tests share: "people" (id, name up to 20 characters and unique, note)
// holding the given names in order, ids from 1.
inline void WritePeopleTable(const QString& file, const QStringList& names) {
  QString sql = QStringLiteral(
      "CREATE TABLE people (id INTEGER NOT NULL, name VARCHAR(20) UNIQUE, note TEXT);\n");
  for (int i = 0; i < names.size(); ++i)
    sql += QStringLiteral("INSERT INTO people VALUES (%1, '%2', 'note %1');\n").arg(i + 1).arg(names[i]);
  RunSqlite(file, sql);
}

// The same table holding people 1 to `rows`, named "person <id>" with the note "a note on person <id>".
inline void WriteNumberedPeople(const QString& file, int rows) {
  WritePeopleTable(file, {});
  RunSqlite(file, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                 "INSERT INTO people SELECT i, 'person ' || i, 'a note on person ' || i FROM n;")
                      .arg(rows));
}

// The same table in memory, open.
inline std::unique_ptr<kavri::TMemoryDataSet> OpenPeopleInMemory(const QStringList& names) {
  using kavri::TFieldType;
  auto set = std::make_unique<kavri::TMemoryDataSet>();
  set->AddFieldDef("id", TFieldType::ftInteger);
  set->AddFieldDef("name", TFieldType::ftString, 20);
  set->AddFieldDef("note", TFieldType::ftMemo);
  for (int i = 0; i < names.size(); ++i) set->AddRecord({i + 1, names[i], QStringLiteral("note %1").arg(i + 1)});
  set->Open();
  return set;
}

// The table in `file`, opened.
inline std::unique_ptr<kavri::TSQLiteDataSet> OpenPeopleFile(const QString& file) {
  auto set = std::make_unique<kavri::TSQLiteDataSet>();
  set->SetDatabaseName(file);
  set->SetTableName("people");
  set->Open();
  return set;
}

// The table written to `file` and opened.
inline std::unique_ptr<kavri::TSQLiteDataSet> OpenPeopleInSqlite(const QString& file, const QStringList& names) {
  WritePeopleTable(file, names);
  return OpenPeopleFile(file);
}

// The numbered people written to `file` and opened.
inline std::unique_ptr<kavri::TSQLiteDataSet> OpenNumberedPeople(const QString& file, int rows) {
  WriteNumberedPeople(file, rows);
  return OpenPeopleFile(file);
}

}  // namespace kavri_test
