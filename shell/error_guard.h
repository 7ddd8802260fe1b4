#pragma once
// The one place where errors that would leave a window handler or a start-up step are caught: the
// operator sees them in the standard error box and the program goes on.
#include <QApplication>
#include <functional>

namespace kavri {

// What the box says when memory ran out during a command.
constexpr const char* kOutOfMemoryText = "There was not enough memory for this command; it was stopped.";

// Runs `step`; an exception it throws is shown in the standard error box. False when one was.
bool RunGuarded(const std::function<void()>& step);

// The standard error box: the error's text in an error message box.
void ShowStandardError(const std::string& text);

// The application object of the program: no exception crosses its event loop.
class TKavriApplication : public QApplication {
 public:
  TKavriApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace kavri
