#include "platform/data/sqlite_data_set.h"

#include <QAtomicInteger>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <limits>

namespace kavri {

namespace {

QString DatabaseMessage(const QSqlError& error) {
  return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

QSqlDatabase Connection(const QString& name) { return QSqlDatabase::database(name, false); }

// A column's declared type read the way SQLite reads it (its affinity rules), with a size for
// character types declared with one.
std::pair<TFieldType, int> FieldTypeOf(const QString& declared) {
  const QString t = declared.toUpper();
  static const QRegularExpression sizePattern(QStringLiteral("\\(\\s*(\\d+)"));
  const QRegularExpressionMatch size = sizePattern.match(t);
  if (t.contains("BOOL")) return {TFieldType::ftBoolean, 0};
  if (t.contains("INT")) return {TFieldType::ftInteger, 0};
  if (t.contains("CHAR") || t.contains("CLOB") || t.contains("TEXT")) {
    if (size.hasMatch()) return {TFieldType::ftString, size.captured(1).toInt()};
    return {TFieldType::ftMemo, 0};
  }
  if (t.isEmpty() || t.contains("BLOB")) return {TFieldType::ftBlob, 0};
  if (t.contains("REAL") || t.contains("FLOA") || t.contains("DOUB")) return {TFieldType::ftFloat, 0};
  // The rest (NUMERIC, DECIMAL, DATE, ...) holds numbers and texts alike, so it is read and
  // written as text; the database turns a number written so back into one.
  return {TFieldType::ftString, 0};
}

QVariant Normalised(const QVariant& v) { return v.isNull() ? QVariant() : v; }

// Whether a path may be written: the caller's rights (access() also sees a read-only mount), and
// at least one write bit in its mode, since for root the rights alone never refuse.
bool PathWritable(const QString& path) {
  const QByteArray native = QFile::encodeName(path);
  struct stat info {};
  if (::stat(native.constData(), &info) != 0) return false;
  return ::access(native.constData(), W_OK) == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

// A database is written through its file and, for the journal beside it, its folder.
bool DatabaseWritable(const QString& fileName) {
  if (fileName.isEmpty() || fileName == QLatin1String(":memory:")) return true;
  const QFileInfo file(fileName);
  if (file.exists() && !PathWritable(file.absoluteFilePath())) return false;
  return PathWritable(file.absolutePath());
}

}  // namespace

TSQLiteDataSet::~TSQLiteDataSet() { Close(); }

QString TSQLiteDataSet::Quoted(const QString& name) const {
  return '"' + QString(name).replace('"', QStringLiteral("\"\"")) + '"';
}

QString TSQLiteDataSet::SelectList() const {
  QStringList columns{QStringLiteral("rowid")};
  for (int i = 0; i < StoredFieldCount(); ++i) columns << Quoted(Fields(i)->FieldName());
  return columns.join(',');
}

void TSQLiteDataSet::DoOpen() {
  static QAtomicInteger<int> serial = 0;
  connection_ = QStringLiteral("kavri-data-set-%1").arg(serial.fetchAndAddRelaxed(1));
  QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
  db.setDatabaseName(fileName_);
  // A database that cannot be written opens read-only, so no edit starts that only its post
  // would find refused.
  openedReadOnly_ = readOnly_ || !DatabaseWritable(fileName_);
  if (openedReadOnly_) db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
  try {
    if (!db.open()) throw EDatabaseError(DatabaseMessage(db.lastError()));
    QSqlQuery info(db);
    if (!info.exec(QStringLiteral("PRAGMA table_info(%1)").arg(Quoted(table_))))
      throw EDatabaseError(DatabaseMessage(info.lastError()));
    while (info.next()) {
      const auto [type, size] = FieldTypeOf(info.value(2).toString());
      AddField(info.value(1).toString(), type, size);
    }
    if (FieldCount() == 0) throw EDatabaseError(QStringLiteral("no such table: %1").arg(table_));
    count_ = CountRows();
    dataVersion_ = DataVersion();
    ForgetPage();
    pageFirst_ = 0;
  } catch (...) {
    versionQuery_.reset();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection_);
    throw;
  }
}

void TSQLiteDataSet::DoClose() {
  ForgetPage();
  count_ = 0;
  versionQuery_.reset();  // before its connection goes
  {
    QSqlDatabase db = Connection(connection_);
    db.close();
  }
  QSqlDatabase::removeDatabase(connection_);
}

int TSQLiteDataSet::CountRows() const {
  QSqlQuery q(Connection(connection_));
  if (!q.exec(QStringLiteral("SELECT count(*) FROM %1").arg(Quoted(table_))) || !q.next())
    throw EDatabaseError(DatabaseMessage(q.lastError()));
  return q.value(0).toInt();
}

qint64 TSQLiteDataSet::DataVersion() const {
  if (!versionQuery_) {
    versionQuery_ = std::make_unique<QSqlQuery>(Connection(connection_));
    versionQuery_->setForwardOnly(true);
    if (!versionQuery_->prepare(QStringLiteral("PRAGMA data_version")))
      throw EDatabaseError(DatabaseMessage(versionQuery_->lastError()));
  }
  QSqlQuery& q = *versionQuery_;
  if (!q.exec() || !q.next()) throw EDatabaseError(DatabaseMessage(q.lastError()));
  const qint64 version = q.value(0).toLongLong();
  q.finish();
  return version;
}

bool TSQLiteDataSet::DoChangedElsewhere() const {
  const qint64 version = DataVersion();
  if (version == dataVersion_) return false;
  dataVersion_ = version;
  ForgetPage();
  return true;
}

std::vector<TStoredRecord> TSQLiteDataSet::LoadPage(const QString& where, const QVariantList& binds, int firstIndex,
                                                     bool descending) const {
  QSqlQuery q(Connection(connection_));
  q.setForwardOnly(true);
  q.prepare(QStringLiteral("SELECT %1 FROM %2 %3 ORDER BY rowid %4 LIMIT %5")
                .arg(SelectList(), Quoted(table_), where, descending ? "DESC" : "ASC")
                .arg(kPageRows) +
            (firstIndex >= 0 && where.isEmpty() ? QStringLiteral(" OFFSET %1").arg(firstIndex) : QString()));
  for (const QVariant& b : binds) q.addBindValue(b);
  if (!q.exec()) throw EDatabaseError(DatabaseMessage(q.lastError()));
  std::vector<TStoredRecord> rows;
  while (q.next()) {
    TStoredRecord r;
    r.bookmark = q.value(0).toLongLong();
    r.values.reserve(StoredFieldCount());
    for (int i = 0; i < StoredFieldCount(); ++i) r.values.append(Normalised(q.value(i + 1)));
    rows.push_back(std::move(r));
  }
  if (descending) std::reverse(rows.begin(), rows.end());
  return rows;
}

void TSQLiteDataSet::DoScanField(int fieldIndex, const std::function<void(TBookmark, const QVariant&)>& take) const {
  // One column and the row ids in one pass, without the pages.
  QSqlQuery q(Connection(connection_));
  q.setForwardOnly(true);
  if (!q.exec(QStringLiteral("SELECT rowid,%1 FROM %2 ORDER BY rowid").arg(Quoted(Fields(fieldIndex)->FieldName()), Quoted(table_))))
    throw EDatabaseError(DatabaseMessage(q.lastError()));
  while (q.next()) take(q.value(0).toLongLong(), Normalised(q.value(1)));
}

TStoredRecord TSQLiteDataSet::DoRecordWithBookmark(int index, TBookmark bookmark) const {
  const int at = index - pageFirst_;
  if (at >= 0 && at < static_cast<int>(page_.size()) && page_[at].bookmark == bookmark) return page_[at];
  // One row by its id; the page stays where it is, for the rows a list is showing.
  std::vector<TStoredRecord> rows = LoadPage(QStringLiteral("WHERE rowid = ?"), {bookmark}, -1, false);
  if (rows.empty()) throw EDatabaseError(QStringLiteral("Record not found"));
  return std::move(rows.front());
}

void TSQLiteDataSet::DoGoingTo(int index, TBookmark bookmark) {
  const int at = index - pageFirst_;
  if (at >= 0 && at < static_cast<int>(page_.size())) return;
  // A page around the record read by row id: a jump by offset would count every row before it.
  std::vector<TStoredRecord> from = LoadPage(QStringLiteral("WHERE rowid >= ?"), {bookmark}, -1, false);
  if (from.empty() || from.front().bookmark != bookmark) return;  // the table changed under the set
  std::vector<TStoredRecord> before = LoadPage(QStringLiteral("WHERE rowid < ?"), {bookmark}, -1, true);
  NoteForwardLoad(index, from.size());
  const size_t keepBefore = std::min(before.size(), static_cast<size_t>(std::min(index, kPageRows / 2)));
  const size_t keepFrom = std::min(from.size(), static_cast<size_t>(kPageRows) - keepBefore);
  page_.assign(std::make_move_iterator(before.end() - static_cast<std::ptrdiff_t>(keepBefore)),
               std::make_move_iterator(before.end()));
  page_.insert(page_.end(), std::make_move_iterator(from.begin()),
               std::make_move_iterator(from.begin() + static_cast<std::ptrdiff_t>(keepFrom)));
  pageFirst_ = index - static_cast<int>(keepBefore);
}

void TSQLiteDataSet::NoteForwardLoad(int firstIndex, size_t rows) const {
  // A short page reached the table's end: rows counted past it were deleted by another writer.
  if (rows < static_cast<size_t>(kPageRows)) knownEnd_ = firstIndex + static_cast<int>(rows);
}

TStoredRecord TSQLiteDataSet::DoRecordAt(int index) const {
  // Reading a row known to be gone asks the file nothing, however often it is drawn.
  if (index >= knownEnd_) throw EDatabaseError(QStringLiteral("Record not found"));
  const int pageEnd = pageFirst_ + static_cast<int>(page_.size());
  if (index < pageFirst_ || index >= pageEnd) {
    if (!page_.empty() && index == pageEnd) {
      // Scrolling on: the rows after the page's last row id.
      std::vector<TStoredRecord> rows = LoadPage(QStringLiteral("WHERE rowid > ?"), {page_.back().bookmark}, -1, false);
      NoteForwardLoad(index, rows.size());
      if (!rows.empty()) {
        page_ = std::move(rows);
        pageFirst_ = index;
      }
    } else if (!page_.empty() && index == pageFirst_ - 1) {
      std::vector<TStoredRecord> rows = LoadPage(QStringLiteral("WHERE rowid < ?"), {page_.front().bookmark}, -1, true);
      if (!rows.empty()) {
        page_ = std::move(rows);
        pageFirst_ = index - static_cast<int>(page_.size()) + 1;
      }
    } else {
      // A jump: a page centred on the row, found by its offset.
      const int first = std::max(0, index - kPageRows / 2);
      page_ = LoadPage(QString(), {}, first, false);
      pageFirst_ = first;
      NoteForwardLoad(first, page_.size());
    }
  }
  const int at = index - pageFirst_;
  if (at < 0 || at >= static_cast<int>(page_.size()))
    throw EDatabaseError(QStringLiteral("Record not found"));  // the table changed under the set
  return page_[at];
}

int TSQLiteDataSet::DoIndexOf(TBookmark bookmark) const {
  for (size_t i = 0; i < page_.size(); ++i)
    if (page_[i].bookmark == bookmark) return pageFirst_ + static_cast<int>(i);
  QSqlQuery q(Connection(connection_));
  q.prepare(QStringLiteral("SELECT (SELECT count(*) FROM %1 WHERE rowid < ?), EXISTS(SELECT 1 FROM %1 WHERE rowid = ?)")
                .arg(Quoted(table_)));
  q.addBindValue(bookmark);
  q.addBindValue(bookmark);
  if (!q.exec() || !q.next()) throw EDatabaseError(DatabaseMessage(q.lastError()));
  return q.value(1).toBool() ? q.value(0).toInt() : -1;
}

QVariant TSQLiteDataSet::Write(const QString& sql, const QVariantList& binds, bool needsRow) {
  QSqlDatabase db = Connection(connection_);
  if (!db.transaction()) throw EDatabaseError(DatabaseMessage(db.lastError()));
  QSqlQuery q(db);
  QString message;
  if (!q.prepare(sql)) {
    message = DatabaseMessage(q.lastError());
  } else {
    for (const QVariant& b : binds) q.addBindValue(b);
    if (!q.exec())
      message = DatabaseMessage(q.lastError());
    else if (needsRow && q.numRowsAffected() == 0)
      message = QStringLiteral("Record not found or changed by another user");
  }
  const QVariant id = q.lastInsertId();
  q.finish();
  if (message.isEmpty() && !db.commit()) message = DatabaseMessage(db.lastError());
  if (!message.isEmpty()) {
    db.rollback();
    throw EDatabaseError(message);
  }
  // Whatever was written, the page no longer shows the table.
  ForgetPage();
  return id;
}

TBookmark TSQLiteDataSet::DoInsert(int, const TRecordValues& values) {
  // Only the assigned columns, so the table's defaults fill the rest. New rows take the next row
  // id and so come last.
  QStringList columns, marks;
  QVariantList binds;
  for (int i = 0; i < StoredFieldCount(); ++i) {
    if (!values.value(i).isValid()) continue;
    columns << Quoted(Fields(i)->FieldName());
    marks << QStringLiteral("?");
    binds << values[i];
  }
  const QString sql = columns.isEmpty()
                          ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(Quoted(table_))
                          : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(Quoted(table_), columns.join(','), marks.join(','));
  const TBookmark id = Write(sql, binds).toLongLong();
  ++count_;
  return id;
}

void TSQLiteDataSet::DoUpdate(int index, const TRecordValues& old, const TRecordValues& values) {
  const TBookmark rowid = DoRecordAt(index).bookmark;
  // Only the changed columns: nothing else of the row is overwritten.
  QStringList sets;
  QVariantList binds;
  for (int i = 0; i < StoredFieldCount(); ++i) {
    if (values.value(i) == old.value(i)) continue;
    sets << Quoted(Fields(i)->FieldName()) + QStringLiteral("=?");
    binds << values.value(i);
  }
  if (sets.isEmpty()) return;
  binds << rowid;
  Write(QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(Quoted(table_), sets.join(',')), binds, true);
}

void TSQLiteDataSet::DoDelete(int index) {
  const TBookmark rowid = DoRecordAt(index).bookmark;
  Write(QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(Quoted(table_)), {rowid});
  --count_;
}

void TSQLiteDataSet::ForgetPage() const {
  page_.clear();
  knownEnd_ = std::numeric_limits<int>::max();
}

void TSQLiteDataSet::DoRefresh() {
  ForgetPage();
  count_ = CountRows();
}

}  // namespace kavri
