#pragma once
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/data/database_error.h"
#include "platform/data/field.h"
#include "platform/data/key_index.h"

namespace kavri {

class TDataSource;

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

// What a data set tells its sources' links, in the order it happens.
enum class TDataEvent {
  deFieldChange,      // one field's value changed (the field rides along)
  deRecordChange,     // the current record changed in place (edit started)
  deDataSetChange,    // the set was repositioned or rebuilt
  deDataSetScroll,    // the set moved by a few records
  deLayoutChange,     // the fields changed
  deUpdateRecord,     // post is coming: controls write their pending text into the fields
  deUpdateState,      // the state changed
  deCheckBrowseMode,  // the set is about to leave the current record
  deFocusControl,     // a field asks its control to take the focus
};

enum TLocateOption : unsigned { loCaseInsensitive = 1, loPartialKey = 2 };
using TLocateOptions = unsigned;

// Identifies a record for as long as it exists: a row id, or a memory record's serial number.
using TBookmark = qint64;
constexpr TBookmark kNoBookmark = -1;

using TRecordValues = QVector<QVariant>;
struct TStoredRecord {
  TBookmark bookmark = kNoBookmark;
  TRecordValues values;
};

// The record cursor, its states and its notifications; where the records live is the business of
// a subclass (the storage operations at the end). Positions are 0-based.
//
// Bof and Eof: First and Open set Bof, Last sets Eof; a move that hits an end sets that end's
// flag and stays on the end record; any other move clears both; a set rebuilt in place (post,
// cancel, delete, refresh, locate, bookmark) clears both. An empty set has both.
class TDataSet : public QObject {
  Q_OBJECT
 public:
  TDataSet();
  ~TDataSet() override;

  void Open();
  void Close();
  bool Active() const { return state_ != TDataSetState::dsInactive; }
  void SetActive(bool value) { value ? Open() : Close(); }
  TDataSetState State() const { return state_; }
  bool Modified() const { return modified_; }
  bool CanModify() const { return Active() && DoCanModify(); }
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  bool IsEmpty() const { return RecordCount() == 0 && state_ != TDataSetState::dsInsert; }
  int RecordCount() const;  // stored records; a record being inserted is not counted yet

  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  int MoveBy(int distance);  // how far it moved

  void Insert();  // a new record before the current one
  void Append();  // a new record after the last one
  void Edit();
  void Post();
  void Cancel();
  void Delete();
  void Refresh();
  // Leaves edit or insert state: posts when a field changed, else cancels.
  void CheckBrowseMode();
  // Tells the links to write their pending values into the fields.
  void UpdateRecord();

  // `keyFields` is a semicolon-separated list with one value per field in `keyValues`.
  bool Locate(const QString& keyFields, const QVariantList& keyValues, TLocateOptions options = 0);
  // The `resultFields` of the first record matching exactly, without moving: one value, a list
  // for several fields, or null when none matches.
  QVariant Lookup(const QString& keyFields, const QVariantList& keyValues, const QString& resultFields);

  TBookmark GetBookmark() const;
  // The bookmark of a buffer row (as a link's window counts them); none for a record being inserted.
  TBookmark BookmarkAt(int row) const;
  bool BookmarkValid(TBookmark bookmark) const;
  void GotoBookmark(TBookmark bookmark);

  // Defines a lookup field, only while the set is closed; on opening it comes after the stored
  // fields, and a key field this set lacks refuses the open.
  void AddLookupField(const QString& name, TFieldType type, int size, const TLookupDef& lookup);

  int FieldCount() const { return static_cast<int>(fields_.size()); }
  // The fields the storage holds: the first ones; the lookup fields follow.
  int StoredFieldCount() const { return storedFields_; }
  TField* Fields(int index) const { return fields_.at(index).get(); }
  TField* FindField(const QString& name) const;  // without regard to case; null when missing
  TField* FieldByName(const QString& name) const;
  std::vector<TField*> GetFieldList(const QString& names) const;

  // Used by fields and links.
  QVariant FieldValue(int fieldIndex) const;
  void SetFieldValue(TField* field, const QVariant& value);
  void DataEvent(TDataEvent event, TField* field = nullptr);
  int ActiveIndex() const { return current_; }   // the current record's row in the buffer rows
  int BufferRowCount() const;                     // stored records plus one being inserted
  // Reads fields from another buffer row while a link draws its window; -1 gives the current one.
  void SetDisplayRow(int row) { display_ = row; }
  int DisplayRow() const { return display_ < 0 ? current_ : display_; }

 protected:
  TField* AddField(const QString& name, TFieldType type, int size);

  // Storage. Indexes are 0-based positions among the stored records.
  virtual void DoOpen() = 0;   // defines the fields with AddField
  virtual void DoClose() = 0;
  virtual bool DoCanModify() const = 0;
  virtual int DoRecordCount() const = 0;
  virtual TStoredRecord DoRecordAt(int index) const = 0;
  virtual int DoIndexOf(TBookmark bookmark) const = 0;  // -1 when the record is gone
  // `before` == the count appends; answers the new record's bookmark.
  virtual TBookmark DoInsert(int before, const TRecordValues& values) = 0;
  virtual void DoUpdate(int index, const TRecordValues& old, const TRecordValues& values) = 0;
  virtual void DoDelete(int index) = 0;
  virtual void DoRefresh() {}
  // Gives `take` one stored field of every record, in order, for a key index.
  virtual void DoScanField(int fieldIndex, const std::function<void(TBookmark, const QVariant&)>& take) const;
  // The record at `index`, which a key index saw with `bookmark`; a storage that finds a record
  // sooner by its bookmark than by its place does so. Raises EDatabaseError when it is gone.
  virtual TStoredRecord DoRecordWithBookmark(int index, TBookmark bookmark) const;
  // The cursor goes to the record at `index`, found by key; a storage that reads the rows around a
  // record sooner from its bookmark than from its place may ready them now.
  virtual void DoGoingTo(int index, TBookmark bookmark) { (void)index, (void)bookmark; }
  // Whether another program changed the stored records since the storage last looked; one that
  // answers yes has let go of the rows it held, so the next reads come from the storage.
  virtual bool DoChangedElsewhere() const { return false; }
  // The stored records changed: the key indexes are made again when next needed.
  void DropKeyIndexes() { keyIndexes_.clear(); }

 private:
  friend class TDataSource;
  void SetState(TDataSetState state);
  void CheckActive() const;
  void CheckCanModify() const;
  void CheckEditing() const;
  void BeginInsert(bool append);
  void MoveTo(int row, bool bof, bool eof);
  // Back to browsing after a post, cancel or delete: the links hear the state, then the new place.
  void EndEdit();
  void Resync();
  // The position of the first record matching, -1 for none; `found` gets the record when given.
  int FindRecord(const QString& keyFields, const QVariantList& keyValues, TLocateOptions options,
                 TStoredRecord* found = nullptr) const;
  const TKeyIndex& KeyIndex(const TField& field) const;
  bool Inserting() const { return state_ == TDataSetState::dsInsert; }
  void AddLookupFields();
  QVariant LookupValue(int fieldIndex) const;

  TDataSetState state_ = TDataSetState::dsInactive;
  std::vector<std::unique_ptr<TField>> fields_;
  int storedFields_ = 0;
  struct TLookupFieldDef {
    QString name;
    TFieldType type;
    int size;
    TLookupDef lookup;
  };
  std::vector<TLookupFieldDef> lookupDefs_;
  // Per lookup field (in field order), its key fields in this set.
  std::vector<std::vector<TField*>> lookupKeys_;
  std::vector<TDataSource*> sources_;
  int current_ = 0;
  int display_ = -1;
  int insertRow_ = 0;
  bool bof_ = true, eof_ = true;
  bool modified_ = false;
  TRecordValues editBuffer_, oldValues_;
  // Made on the first exact search of a field, dropped when the records change.
  mutable std::vector<std::unique_ptr<TKeyIndex>> keyIndexes_;
};

}  // namespace kavri
