#pragma once
// Plotter files (HPGL, one command per line as older design programs write them) turned into
// drawing objects: one object per "LT" block, pen-up and pen-down points fitted to the editor's
// canvas (0..510, y downwards) and thinned.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/drawing.h"
#include "platform/text_lines.h"

namespace kavri {

struct THpglSettings {
  int fine = 5;    // thinning distance in canvas pixels; 0 keeps every point
  int size = 0;    // extra shrink: coordinates are divided by size + 1 as well
  int colour = 4;  // palette index given to every point
};

struct THpglImport {
  bool ok = true;
  std::string error;  // the conversion error when !ok
  Drawing objects;    // only meaningful when ok
};

// Takes a plotter file a line at a time, keeping only the points it will use.
class THpglReader {
 public:
  struct TRawPoint {
    int32_t x;
    int32_t y;
    bool penUp;
  };
  explicit THpglReader(const THpglSettings& settings);
  // Room for the points of `lines` lines, so that a large file is kept without growing its store.
  void Reserve(size_t lines);
  void Add(std::string_view line);
  // The import of the lines added so far, as ImportPlt gives it; the reader is spent. An import
  // that would make more than kMaxDrawingPoints points is refused before they are made.
  THpglImport Finish();

 private:
  THpglSettings settings_;
  THpglImport result_;
  std::vector<TRawPoint> points_;   // the points of every block, in order
  std::vector<size_t> blockStarts_;  // where in points_ each "LT" line's block starts
  std::optional<size_t> cut_;        // where the last block ends if no "LT" follows
  std::optional<std::string> tailError_;        // a failure past that end, which counts only then
};

// Parses the lines. A value that is not an integer stops the import with !ok and the conversion
// error's text; the objects are then not to be used.
THpglImport ImportPlt(const TextLines& lines, const THpglSettings& settings);
// Reads the file first; an unreadable file is reported like a conversion error.
THpglImport ImportPltFile(const std::string& path, const THpglSettings& settings);

// Drops points closer than `fine` to the last kept one, except points on the kept one's row or
// column and blanked points (a pen-up move must survive).
void ThinPlotterPoints(DrawingObject& object, int fine);

}  // namespace kavri
