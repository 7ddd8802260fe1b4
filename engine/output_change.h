#pragma once
// The change test of the loops that feed a window preview: they keep copies (Last*) of the
// output geometry and raise PreviewDirtyFlag when the live values differ, so the preview redraws.
// The copies are shared by every loop (a show runs three), so a change is noticed once.
namespace kavri {

// Takes the live values into the copies (loop start).
void TakeOutputCopies();
// Compares the copies with the live values; on any difference takes all seven anew, sets
// PreviewDirtyFlag and returns true.
bool CheckOutputChange();

}  // namespace kavri
