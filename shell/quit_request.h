#pragma once
// The end of the program, however it is asked for (System > Exit, a window manager's close, a quit
// signal): one request at a time. While the operator is being asked whether the program may end, any
// further request is taken into that question, which goes only by the operator's answer.
#include <functional>

namespace kavri {

class TQuitRequest {
 public:
  enum class TStage { Running, Asking, Ending, Ended };

  // `ask` puts the question (the drawing editor's unsaved-drawing question) and tells whether the
  // program may end; `end` runs the exit sequence.
  TQuitRequest(std::function<bool()> ask, std::function<void()> end) : ask_(std::move(ask)), end_(std::move(end)) {}

  // Asks, and ends the program when allowed. Nothing happens while a request is being asked or the
  // end is under way. True once the program has ended.
  bool Request();
  TStage Stage() const { return stage_; }

 private:
  std::function<bool()> ask_;
  std::function<void()> end_;
  TStage stage_ = TStage::Running;
};

}  // namespace kavri
