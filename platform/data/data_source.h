#pragma once
#include <QObject>
#include <QPointer>
#include <vector>

#include "platform/data/data_set.h"

namespace kavri {

class TDataLink;

// Connects data-aware controls (through their links) to one data set.
class TDataSource : public QObject {
  Q_OBJECT
 public:
  explicit TDataSource(QObject* parent = nullptr);
  // The links are told they lost their source, so a control that outlives it never touches it.
  ~TDataSource() override;

  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* dataSet);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool AutoEdit() const { return autoEdit_; }
  void SetAutoEdit(bool value) { autoEdit_ = value; }
  // The set's state, inactive without a set or while disabled.
  TDataSetState State() const;
  // Puts the set in edit state when AutoEdit allows and it is browsing.
  void Edit();

 private:
  friend class TDataSet;
  friend class TDataLink;
  void AddLink(TDataLink* link);
  void RemoveLink(TDataLink* link);
  void NotifyLinks(TDataEvent event, TField* field);
  void DataSetGone();

  QPointer<TDataSet> dataSet_;
  std::vector<TDataLink*> links_;
  bool enabled_ = true;
  bool autoEdit_ = true;
};

}  // namespace kavri
