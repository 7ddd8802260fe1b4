#include "editor/editor_playback.h"

#include <algorithm>

#include "engine/device_packets.h"
#include "engine/output_stage.h"
#include "engine/shared_state.h"

namespace kavri {

Drawing EditorPlayList;

Drawing MakeEditorPlayList(const Drawing& editorDrawing) {
  Drawing list;
  for (const auto& object : editorDrawing.Objects()) {
    DrawingObject* copy = list.AddObject();
    for (const auto& p : object->Points())
      copy->Add({std::clamp(p->x / 2, 0, 255), std::clamp(p->y / 2, 0, 255), p->kind, p->colour, 0,
                 static_cast<uint8_t>(p->blanked ? 1 : 0)});
  }
  return list;
}

void PlayEditorDrawingLoop() {
  TSettingsPacketSender packet;
  packet.Send();
  WorkerRunningFlag = true;
  TFrameBuffer frame;
  while (!StopFlag.load()) {
    packet.SendIfChanged();
    frame.Clear();
    if (!BuildDrawingFrame(EditorPlayList, TOutputSettings::Live(), frame, nullptr, &StopFlag)) break;
    if (StopFlag.load()) break;
    SendToAllOutputs(frame.Bytes(), frame.ByteCount());
  }
  WorkerRunningFlag = false;
}

}  // namespace kavri
