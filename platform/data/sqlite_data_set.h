#pragma once
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <limits>
#include <memory>
#include <vector>

#include "platform/data/data_set.h"

namespace kavri {

// One table of a SQLite file, in row id order. Only a page of rows around the place being read is
// held in memory, fetched by row id (or by offset for a jump), so a set of any size scrolls in
// bounded memory; an exact search (Locate, Lookup) keeps an index of the searched column, about 24
// bytes a row. Every Post and Delete is written at once by row id in its own transaction; a
// refusal by the database raises EDatabaseError with the database's message and commits nothing.
class TSQLiteDataSet : public TDataSet {
  Q_OBJECT
 public:
  TSQLiteDataSet() = default;
  ~TSQLiteDataSet() override;

  // Set while closed.
  QString DatabaseName() const { return fileName_; }
  void SetDatabaseName(const QString& fileName) { fileName_ = fileName; }
  QString TableName() const { return table_; }
  void SetTableName(const QString& table) { table_ = table; }
  // Asked for read-only; a file or folder without write access opens read-only all the same.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }

  // Rows held in memory right now (the page); for checking that memory stays bounded.
  int CachedRowCount() const { return static_cast<int>(page_.size()); }
  static constexpr int kPageRows = 256;

 protected:
  void DoOpen() override;
  void DoClose() override;
  bool DoCanModify() const override { return !openedReadOnly_; }
  int DoRecordCount() const override { return count_; }
  TStoredRecord DoRecordAt(int index) const override;
  int DoIndexOf(TBookmark bookmark) const override;
  TBookmark DoInsert(int before, const TRecordValues& values) override;
  void DoUpdate(int index, const TRecordValues& old, const TRecordValues& values) override;
  void DoDelete(int index) override;
  void DoRefresh() override;
  void DoScanField(int fieldIndex, const std::function<void(TBookmark, const QVariant&)>& take) const override;
  TStoredRecord DoRecordWithBookmark(int index, TBookmark bookmark) const override;
  void DoGoingTo(int index, TBookmark bookmark) override;
  bool DoChangedElsewhere() const override;

 private:
  QString Quoted(const QString& name) const;
  QString SelectList() const;
  std::vector<TStoredRecord> LoadPage(const QString& where, const QVariantList& binds, int firstIndex,
                                      bool descending) const;
  void NoteForwardLoad(int firstIndex, size_t rows) const;
  void ForgetPage() const;
  // Runs one statement inside its own transaction; rolls back and raises on any refusal, and
  // with `needsRow` when it touched no row (another writer deleted it), so no edit is lost unseen.
  QVariant Write(const QString& sql, const QVariantList& binds, bool needsRow = false);
  int CountRows() const;
  // The file's change counter as this connection sees it: it moves with every commit of another
  // connection, and only then.
  qint64 DataVersion() const;

  QString fileName_, table_, connection_;
  bool readOnly_ = false;
  bool openedReadOnly_ = false;
  int count_ = 0;
  mutable std::vector<TStoredRecord> page_;
  mutable int pageFirst_ = 0;
  // Rows from here on were counted but are no longer in the file; known until the next write or
  // Refresh.
  mutable int knownEnd_ = std::numeric_limits<int>::max();
  mutable qint64 dataVersion_ = 0;
  // Asked before every search, so prepared once per connection.
  mutable std::unique_ptr<QSqlQuery> versionQuery_;
};

}  // namespace kavri
