#include "shell/quit_request.h"

namespace kavri {

bool TQuitRequest::Request() {
  if (stage_ != TStage::Running) return stage_ == TStage::Ended;
  stage_ = TStage::Asking;
  if (!ask_()) {
    stage_ = TStage::Running;  // kept running: a later request asks again
    return false;
  }
  stage_ = TStage::Ending;
  end_();
  stage_ = TStage::Ended;
  return true;
}

}  // namespace kavri
