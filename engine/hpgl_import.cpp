#include "engine/hpgl_import.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/marked_points.h"
#include "platform/file_io.h"
#include "platform/int_convert.h"
#include "platform/text.h"

namespace kavri {

namespace {

bool StartsWith(std::string_view line, std::string_view prefix) { return TrimView(line).substr(0, 2) == prefix; }

bool IsEndLine(std::string_view line) { return LowerCase(TrimView(line)) == "sp0;"; }

bool IsBlockStart(std::string_view line) { return StartsWith(line, "LT"); }

// "PD1200 3400;": x between the letters and the first blank, y after it without the last
// character. A bare "PU;" moves nowhere and carries no point.
std::optional<THpglReader::TRawPoint> ReadPenPoint(std::string_view trimmed) {
  const bool up = trimmed.substr(0, 2) == "PU";
  const std::string_view rest = trimmed.substr(2);
  if (rest.empty() || rest == ";") return std::nullopt;
  const size_t blank = rest.find(' ');
  const std::string_view xText = blank == std::string_view::npos ? rest : rest.substr(0, blank);
  std::string_view yText = blank == std::string_view::npos ? std::string_view{} : rest.substr(blank + 1);
  if (!yText.empty()) yText.remove_suffix(1);
  return THpglReader::TRawPoint{StrToInt(xText), StrToInt(yText), up};
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

THpglReader::THpglReader(const THpglSettings& settings) : settings_(settings) {}

void THpglReader::Add(std::string_view line) {
  if (!result_.ok) return;
  line = TrimView(line);
  if (IsBlockStart(line)) {
    // A block ends at the next "LT", so a failure after an "SP0;" in it counts after all.
    if (tailError_) {
      result_.ok = false;
      result_.error = *tailError_;
      return;
    }
    blocks_.emplace_back();
    cut_.reset();
    return;
  }
  if (blocks_.empty() || tailError_) return;
  // The last block ends at its first "SP0;", or at the end of a file that has none; what follows
  // is kept until another block shows it was no last block.
  if (IsEndLine(line) && !cut_) cut_ = blocks_.back().size();
  const std::string_view head = line.substr(0, 2);
  if (head != "PU" && head != "PD") return;
  try {
    if (const std::optional<TRawPoint> p = ReadPenPoint(line)) blocks_.back().push_back(*p);
  } catch (const EConvertError& e) {
    if (cut_) {
      tailError_ = e.what();
      return;
    }
    result_.ok = false;
    result_.error = e.what();
  }
}

THpglImport THpglReader::Finish() {
  THpglImport result = std::move(result_);
  if (!result.ok) return result;
  if (cut_) blocks_.back().resize(*cut_);
  int64_t minX = std::numeric_limits<int64_t>::max(), minY = minX;
  int64_t maxX = std::numeric_limits<int64_t>::min(), maxY = maxX;
  bool anyPoint = false;
  for (const auto& block : blocks_)
    for (const TRawPoint& p : block) {
      minX = std::min(minX, p.x);
      maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y);
      maxY = std::max(maxY, p.y);
      anyPoint = true;
    }
  if (!anyPoint) return result;
  const THpglSettings& settings = settings_;
  const int64_t d = std::max<int64_t>({(maxX - minX) / 512, (maxY - minY) / 512, 1});
  const double divisor = static_cast<double>(d) * (static_cast<double>(settings.size) + 1.0);
  for (const auto& block : blocks_) {
    if (block.empty()) continue;
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

THpglImport ImportPlt(const TextLines& lines, const THpglSettings& settings) {
  THpglReader reader(settings);
  for (const std::string& line : lines) reader.Add(line);
  return reader.Finish();
}

THpglImport ImportPltFile(const std::string& path, const THpglSettings& settings) {
  // Read line by line from the file's bytes: a file of many short lines costs its size, not a
  // string for each of its lines.
  std::string error;
  const std::optional<Bytes> bytes = ReadWholeFile(path, kMaxTextFileBytes, &error);
  if (!bytes) {
    THpglImport failed;
    failed.ok = false;
    failed.error = error;
    return failed;
  }
  THpglReader reader(settings);
  ForEachTextLine(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
                  [&](std::string_view line) { reader.Add(line); });
  return reader.Finish();
}

}  // namespace kavri
