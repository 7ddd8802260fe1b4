#include "platform/data/data_source.h"

#include <algorithm>

#include "platform/data/data_link.h"

namespace kavri {

TDataSource::TDataSource(QObject* parent) : QObject(parent) {}

TDataSource::~TDataSource() {
  SetDataSet(nullptr);
  // Each link forgets this source and hears that it went inactive.
  while (!links_.empty()) links_.back()->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (dataSet_ == dataSet) return;
  if (dataSet_) {
    auto& sources = dataSet_->sources_;
    sources.erase(std::remove(sources.begin(), sources.end(), this), sources.end());
    // The links let go of the old set's fields before they see the new set, even when both are
    // open and the state stays the same.
    dataSet_ = nullptr;
    NotifyLinks(TDataEvent::deUpdateState, nullptr);
  }
  dataSet_ = dataSet;
  if (dataSet_) dataSet_->sources_.push_back(this);
  NotifyLinks(TDataEvent::deUpdateState, nullptr);
}

void TDataSource::DataSetGone() {
  dataSet_ = nullptr;
  NotifyLinks(TDataEvent::deUpdateState, nullptr);
}

void TDataSource::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  NotifyLinks(TDataEvent::deUpdateState, nullptr);
}

TDataSetState TDataSource::State() const {
  return dataSet_ && enabled_ ? dataSet_->State() : TDataSetState::dsInactive;
}

void TDataSource::Edit() {
  if (autoEdit_ && State() == TDataSetState::dsBrowse) dataSet_->Edit();
}

void TDataSource::AddLink(TDataLink* link) { links_.push_back(link); }

void TDataSource::RemoveLink(TDataLink* link) { links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end()); }

void TDataSource::NotifyLinks(TDataEvent event, TField* field) {
  // A link may leave (or its control be destroyed) while an earlier one handles the event.
  const std::vector<TDataLink*> snapshot = links_;
  for (TDataLink* link : snapshot) {
    if (std::find(links_.begin(), links_.end(), link) == links_.end()) continue;
    // One control takes a focus request; the others never see it.
    if (link->DataEvent(event, field) && event == TDataEvent::deFocusControl) return;
  }
}

}  // namespace kavri
