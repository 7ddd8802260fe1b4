#pragma once
// Playing the drawing being edited (job 2): Play turns it into a frame-space play list, and the
// loop sends that list as one frame again and again until Stop. The loop reads only the play list
// and the shared flags and settings, never the drawing or a widget.
#include "engine/drawing.h"

namespace kavri {

// The play list the loop sends; replaced only by Play, while no loop runs.
extern Drawing EditorPlayList;

// The drawing in frame space: coordinates halved (toward zero) and held to 0..255, blanked as 0/1,
// kind and colour kept.
Drawing MakeEditorPlayList(const Drawing& editorDrawing);

// The loop of job 2: the settings packet, then frames of EditorPlayList until StopFlag; a frame
// that Stop interrupted is not sent.
void PlayEditorDrawingLoop();

}  // namespace kavri
