#pragma once
// Test tables written and read back with the sqlite3 command-line tool, so a check of what a
// data set wrote does not go through the code under test.
#include <QProcess>
#include <QString>
#include <QStringList>

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

}  // namespace kavri_test
