#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/tcolor.h"

namespace kavri {

enum class TMessageKind { Information, Warning, Error };

// The buttons of a confirmation box, and the button that answered it.
enum class TConfirmButtons { YesNo, YesNoCancel, OkCancel };
enum class TDialogAnswer { Yes, No, Cancel, Ok };

struct TFileDialogRequest {
  std::string title;
  std::string folder;                // initial folder; empty: the dialog's own choice
  std::string fileName;              // initial name
  std::vector<std::string> filters;  // e.g. "Drawing files (*.ddr)"; empty: every file
  std::string defaultSuffix;         // appended by a save dialog to a name without one, e.g. "ddr"
};

struct TFontChoice {
  std::string family;
  int pointSize = 10;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  TColor colour = clBlack;
  int charset = 0;  // the script the operator picked, as the font dialog reports it
};

// Every message box, input box and file, font and picture dialog of the program goes through the
// installed service, so that tests can answer them without blocking and the windows stay free of
// dialog code. The application installs the real dialogs; with none installed, nothing blocks.
class DialogService {
 public:
  virtual ~DialogService() = default;

  virtual void ShowMessage(const std::string& text, TMessageKind kind = TMessageKind::Information) = 0;
  // `title` "" gives the box the application title.
  virtual TDialogAnswer Confirm(const std::string& text, TConfirmButtons buttons, const std::string& title = "") = 0;
  // The one-line input box: true with the edited `value` on OK, false on Cancel (value untouched).
  virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
  // File, font and picture dialogs: nothing when the operator cancels.
  virtual std::optional<std::string> ChooseOpenFile(const TFileDialogRequest& request) = 0;
  virtual std::optional<std::string> ChooseSaveFile(const TFileDialogRequest& request) = 0;
  virtual std::optional<TFontChoice> ChooseFont(const TFontChoice& initial) = 0;
  virtual std::optional<std::string> ChoosePicture(const TFileDialogRequest& request) = 0;
  // The colour dialog, starting at `initial` (an RGB colour) and offering it as a custom colour.
  virtual std::optional<TColor> ChooseColor(TColor initial) = 0;
};

// The answer a box gives when nobody can be asked: the choice that changes nothing.
TDialogAnswer DefaultAnswer(TConfirmButtons buttons);

// Writes messages to stderr and answers every question with its default, without blocking.
class NonInteractiveDialogService : public DialogService {
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

// While it lives, notes the error boxes shown and passes every request on to the service installed
// before it: a window learns whether a command ended in a refusal, and in which words.
class TErrorBoxNotes : public DialogService {
 public:
  TErrorBoxNotes();
  ~TErrorBoxNotes() override;
  TErrorBoxNotes(const TErrorBoxNotes&) = delete;
  TErrorBoxNotes& operator=(const TErrorBoxNotes&) = delete;

  // The text of the last error box shown, or nothing.
  const std::optional<std::string>& Last() const { return last_; }

  void ShowMessage(const std::string& text, TMessageKind kind) override;
  TDialogAnswer Confirm(const std::string& text, TConfirmButtons buttons, const std::string& title = "") override;
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
  std::optional<std::string> ChooseOpenFile(const TFileDialogRequest& request) override;
  std::optional<std::string> ChooseSaveFile(const TFileDialogRequest& request) override;
  std::optional<TFontChoice> ChooseFont(const TFontChoice& initial) override;
  std::optional<std::string> ChoosePicture(const TFileDialogRequest& request) override;
  std::optional<TColor> ChooseColor(TColor initial) override;

 private:
  DialogService* next_;
  std::optional<std::string> last_;
};

// The installed service, or a non-interactive one when none is installed.
DialogService& Dialogs();

// Installs `service` (not owned; nullptr goes back to the non-interactive one) and returns the
// one installed before, so a test can put it back.
DialogService* SetDialogService(DialogService* service);

}  // namespace kavri
