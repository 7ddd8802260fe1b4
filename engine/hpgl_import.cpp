#include "engine/hpgl_import.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/marked_points.h"
#include "platform/int_convert.h"
#include "platform/text.h"

namespace kavri {

namespace {

struct RawPoint {
  int64_t x;
  int64_t y;
  bool penUp;
};

bool StartsWith(std::string_view line, std::string_view prefix) { return TrimView(line).substr(0, 2) == prefix; }

bool IsEndLine(std::string_view line) { return LowerCase(TrimView(line)) == "sp0;"; }

long FindFrom(const TextLines& lines, size_t from, bool (*match)(std::string_view)) {
  for (size_t i = from; i < lines.size(); ++i)
    if (match(lines[i])) return static_cast<long>(i);
  return -1;
}

bool IsBlockStart(std::string_view line) { return StartsWith(line, "LT"); }

// "PD1200 3400;": x between the letters and the first blank, y after it without the last
// character. A bare "PU;" moves nowhere and carries no point.
std::optional<RawPoint> ReadPenPoint(std::string_view trimmed) {
  const bool up = trimmed.substr(0, 2) == "PU";
  const std::string_view rest = trimmed.substr(2);
  if (rest.empty() || rest == ";") return std::nullopt;
  const size_t blank = rest.find(' ');
  const std::string_view xText = blank == std::string_view::npos ? rest : rest.substr(0, blank);
  std::string_view yText = blank == std::string_view::npos ? std::string_view{} : rest.substr(blank + 1);
  if (!yText.empty()) yText.remove_suffix(1);
  return RawPoint{StrToInt(xText), StrToInt(yText), up};
}

}  // namespace

void ThinPlotterPoints(DrawingObject& object, int fine) {
  if (object.Empty()) return;
  const int64_t limit = int64_t{fine} * fine;
  const PointRecord* r = object.At(0);
  for (size_t i = 1; i < object.Count(); ++i) {
    PointRecord& p = object[i];
    const int64_t dx = int64_t{r->x} - p.x, dy = int64_t{r->y} - p.y;
    const bool far = dx * dx + dy * dy >= limit;
    const bool onRowOrColumn = p.x == r->x || p.y == r->y;
    if (far || onRowOrColumn || p.blanked)
      r = &p;
    else
      p.state = kMarkedForDeletion;
  }
  RemoveMarkedPoints(object);
}

THpglImport ImportPlt(const TextLines& lines, const THpglSettings& settings) {
  THpglImport result;
  std::vector<std::vector<RawPoint>> blocks;
  int64_t minX = std::numeric_limits<int64_t>::max(), minY = minX;
  int64_t maxX = std::numeric_limits<int64_t>::min(), maxY = maxX;
  bool anyPoint = false;
  try {
    long start = FindFrom(lines, 0, IsBlockStart);
    while (start >= 0) {
      const long next = FindFrom(lines, static_cast<size_t>(start) + 1, IsBlockStart);
      // The last block ends at "SP0;" or, when a file has none, at its end.
      long end = next;
      if (end < 0) {
        end = FindFrom(lines, static_cast<size_t>(start) + 1, IsEndLine);
        if (end < 0) end = static_cast<long>(lines.size());
      }
      std::vector<RawPoint> block;
      for (long i = start + 1; i < end; ++i) {
        const std::string_view line = TrimView(lines[static_cast<size_t>(i)]);
        const std::string_view head = line.substr(0, 2);
        if (head != "PU" && head != "PD") continue;
        const std::optional<RawPoint> p = ReadPenPoint(line);
        if (!p) continue;
        minX = std::min(minX, p->x);
        maxX = std::max(maxX, p->x);
        minY = std::min(minY, p->y);
        maxY = std::max(maxY, p->y);
        anyPoint = true;
        block.push_back(*p);
      }
      if (!block.empty()) blocks.push_back(std::move(block));
      start = next;
    }
  } catch (const EConvertError& e) {
    result.ok = false;
    result.error = e.what();
    return result;
  }
  if (!anyPoint) return result;

  const int64_t d = std::max<int64_t>({(maxX - minX) / 512, (maxY - minY) / 512, 1});
  const double divisor = static_cast<double>(d) * (static_cast<double>(settings.size) + 1.0);
  for (const auto& block : blocks) {
    DrawingObject& object = *result.objects.AddObject();
    for (size_t i = 0; i < block.size(); ++i) {
      PointRecord p;
      p.x = static_cast<int32_t>(std::trunc(static_cast<double>(block[i].x - minX) / divisor));
      p.y = 510 - static_cast<int32_t>(std::trunc(static_cast<double>(block[i].y - minY) / divisor));
      p.colour = static_cast<uint8_t>(settings.colour);
      p.blanked = (i == 0 || block[i].penUp) ? 1 : 0;
      object.Add(p);
    }
    ThinPlotterPoints(object, settings.fine);
  }
  return result;
}

THpglImport ImportPltFile(const std::string& path, const THpglSettings& settings) {
  std::string error;
  const std::optional<TextLines> lines = ReadTextLines(path, &error);
  if (!lines) {
    THpglImport failed;
    failed.ok = false;
    failed.error = error;
    return failed;
  }
  return ImportPlt(*lines, settings);
}

}  // namespace kavri
