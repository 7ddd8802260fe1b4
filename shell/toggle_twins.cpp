#include "shell/toggle_twins.h"

#include <QSignalBlocker>

namespace kavri {

void BindToggleTwins(TSkinToolButton* button, QAction* item, std::function<void(bool on)> apply) {
  button->SetStyle(TToolButtonStyle::tbsCheck);
  item->setCheckable(true);
  button->OnClick = [button, item, apply](QObject*) {
    const QSignalBlocker quiet(item);
    item->setChecked(button->Down());
    apply(button->Down());
  };
  QObject::connect(item, &QAction::triggered, button, [button, item, apply](bool) {
    button->SetDown(item->isChecked());
    apply(item->isChecked());
  });
}

}  // namespace kavri
