#include "engine/loop_output.h"

#include "engine/output_change.h"
#include "engine/shared_state.h"

namespace kavri {

void TLoopOutput::Start() {
  TakeOutputCopies();
  PreviewDirtyFlag = false;
  packet_.Send();
}

void TLoopOutput::BeforePass() {
  CheckOutputChange();
  packet_.SendIfChanged();
}

void TLoopOutput::SendFrame(const TFrameBuffer& frame) {
  // An empty frame goes nowhere, but the sender's pause still keeps a loop from spinning.
  SendToAllOutputs(frame.Bytes(), frame.ByteCount());
}

}  // namespace kavri
