#pragma once
// The dialog service the running program installs: real message, input, file, font and colour boxes.
#include "platform/dialog_service.h"

namespace kavri {

class TQtDialogService : public DialogService {
 public:
  void ShowMessage(const std::string& text, TMessageKind kind) override;
  TDialogAnswer Confirm(const std::string& text, TConfirmButtons buttons, const std::string& title = "") override;
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
  std::optional<std::string> ChooseOpenFile(const TFileDialogRequest& request) override;
  std::optional<std::string> ChooseSaveFile(const TFileDialogRequest& request) override;
  std::optional<TFontChoice> ChooseFont(const TFontChoice& initial) override;
  std::optional<std::string> ChoosePicture(const TFileDialogRequest& request) override;
  std::optional<TColor> ChooseColor(TColor initial) override;
};

}  // namespace kavri
