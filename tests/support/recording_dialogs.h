#pragma once
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog_service.h"

namespace kavri_test {

// A dialog service for tests: records every box it is asked to show and answers from queues the
// test fills (the non-blocking default when a queue is empty). Installed for the object's lifetime.
class RecordingDialogs : public kavri::DialogService {
 public:
  struct Shown {
    std::string what;  // "message", "confirm", "input", "open", "save", "font", "picture", "colour"
    std::string text;  // message text, question, prompt or dialog title
  };

  RecordingDialogs() { previous_ = kavri::SetDialogService(this); }
  ~RecordingDialogs() override { kavri::SetDialogService(previous_); }
  RecordingDialogs(const RecordingDialogs&) = delete;
  RecordingDialogs& operator=(const RecordingDialogs&) = delete;

  std::vector<Shown> shown;
  std::vector<std::string> messages;  // texts of plain message boxes, in order
  std::deque<kavri::TDialogAnswer> confirmAnswers;
  std::vector<std::string> confirmTitles;
  std::deque<std::optional<std::string>> inputAnswers;  // nothing: Cancel
  std::deque<std::optional<std::string>> fileAnswers;   // open, save and picture dialogs
  std::vector<kavri::TFileDialogRequest> fileRequests;  // as they were asked
  std::deque<std::optional<kavri::TFontChoice>> fontAnswers;
  std::deque<std::optional<kavri::TColor>> colorAnswers;
  std::vector<kavri::TColor> colorStarts;  // the colour each colour dialog started at

  void ShowMessage(const std::string& text, kavri::TMessageKind) override {
    shown.push_back({"message", text});
    messages.push_back(text);
  }
  kavri::TDialogAnswer Confirm(const std::string& text, kavri::TConfirmButtons buttons,
                               const std::string& title = "") override {
    shown.push_back({"confirm", text});
    confirmTitles.push_back(title);
    return Take(confirmAnswers, kavri::DefaultAnswer(buttons));
  }
  bool InputQuery(const std::string&, const std::string& prompt, std::string& value) override {
    shown.push_back({"input", prompt});
    std::optional<std::string> answer = Take(inputAnswers, std::optional<std::string>());
    if (!answer) return false;
    value = *answer;
    return true;
  }
  std::optional<std::string> ChooseOpenFile(const kavri::TFileDialogRequest& r) override { return File("open", r); }
  std::optional<std::string> ChooseSaveFile(const kavri::TFileDialogRequest& r) override { return File("save", r); }
  std::optional<std::string> ChoosePicture(const kavri::TFileDialogRequest& r) override {
    return File("picture", r);
  }
  std::optional<kavri::TFontChoice> ChooseFont(const kavri::TFontChoice&) override {
    shown.push_back({"font", ""});
    return Take(fontAnswers, std::optional<kavri::TFontChoice>());
  }
  std::optional<kavri::TColor> ChooseColor(kavri::TColor initial) override {
    shown.push_back({"colour", ""});
    colorStarts.push_back(initial);
    return Take(colorAnswers, std::optional<kavri::TColor>());
  }

 private:
  template <typename T>
  static T Take(std::deque<T>& queue, T fallback) {
    if (queue.empty()) return fallback;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
  }
  std::optional<std::string> File(const char* what, const kavri::TFileDialogRequest& request) {
    shown.push_back({what, request.title});
    fileRequests.push_back(request);
    return Take(fileAnswers, std::optional<std::string>());
  }

  kavri::DialogService* previous_ = nullptr;
};

}  // namespace kavri_test
