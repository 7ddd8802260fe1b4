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

// The thinning rule, one point at a time: whether a point is kept, measured from the last kept one.
class TThinning {
 public:
  explicit TThinning(int fine) : limit_(int64_t{fine} * fine) {}
  bool Keep(const PointRecord& p) {
    if (!taken_) return Take(p);
    const int64_t dx = int64_t{last_.x} - p.x, dy = int64_t{last_.y} - p.y;
    const bool far = dx * dx + dy * dy >= limit_;
    const bool onRowOrColumn = p.x == last_.x || p.y == last_.y;
    return (far || onRowOrColumn || p.blanked) && Take(p);
  }

 private:
  bool Take(const PointRecord& p) {
    last_ = p;
    taken_ = true;
    return true;
  }
  int64_t limit_;
  bool taken_ = false;
  PointRecord last_{};
};

}  // namespace

void ThinPlotterPoints(DrawingObject& object, int fine) {
  TThinning thinning(fine);
  for (size_t i = 0; i < object.Count(); ++i)
    if (!thinning.Keep(object[i])) object[i].state = kMarkedForDeletion;
  RemoveMarkedPoints(object);
}

THpglReader::THpglReader(const THpglSettings& settings) : settings_(settings) {}

void THpglReader::Reserve(size_t lines) { points_.reserve(lines); }

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
    blockStarts_.push_back(points_.size());
    cut_.reset();
    return;
  }
  if (blockStarts_.empty() || tailError_) return;
  // The last block ends at its first "SP0;", or at the end of a file that has none; what follows
  // is kept until another block shows it was no last block.
  if (IsEndLine(line) && !cut_) cut_ = points_.size();
  const std::string_view head = line.substr(0, 2);
  if (head != "PU" && head != "PD") return;
  try {
    if (const std::optional<TRawPoint> p = ReadPenPoint(line)) points_.push_back(*p);
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
  if (cut_) points_.resize(*cut_);
  if (points_.empty()) return result;
  int64_t minX = std::numeric_limits<int64_t>::max(), minY = minX;
  int64_t maxX = std::numeric_limits<int64_t>::min(), maxY = maxX;
  for (const TRawPoint& p : points_) {
    minX = std::min<int64_t>(minX, p.x);
    maxX = std::max<int64_t>(maxX, p.x);
    minY = std::min<int64_t>(minY, p.y);
    maxY = std::max<int64_t>(maxY, p.y);
  }
  const THpglSettings& settings = settings_;
  const int64_t d = std::max<int64_t>({(maxX - minX) / 512, (maxY - minY) / 512, 1});
  const double divisor = static_cast<double>(d) * (static_cast<double>(settings.size) + 1.0);
  blockStarts_.push_back(points_.size());
  // Each block's points as the drawing gets them, through `take` with whether thinning keeps them.
  auto walk = [&](auto&& take) {
    for (size_t b = 0; b + 1 < blockStarts_.size(); ++b) {
      TThinning thinning(settings.fine);
      for (size_t i = blockStarts_[b]; i < blockStarts_[b + 1]; ++i) {
        PointRecord p;
        p.x = static_cast<int32_t>(std::trunc(static_cast<double>(points_[i].x - minX) / divisor));
        p.y = 510 - static_cast<int32_t>(std::trunc(static_cast<double>(points_[i].y - minY) / divisor));
        p.colour = static_cast<uint8_t>(settings.colour);
        p.blanked = (i == blockStarts_[b] || points_[i].penUp) ? 1 : 0;
        take(b, p, thinning.Keep(p));
      }
    }
  };
  // Counted first, so that an import larger than a drawing may hold is refused before it is made.
  size_t kept = 0;
  walk([&](size_t, const PointRecord&, bool keep) { kept += keep ? 1 : 0; });
  if (kept > kMaxDrawingPoints) {
    result.ok = false;
    result.error = "The plotter file makes " + std::to_string(kept) + " points, more than the " +
                   std::to_string(kMaxDrawingPoints) + " a drawing may hold.";
    return result;
  }
  size_t openBlock = blockStarts_.size();
  DrawingObject* object = nullptr;
  walk([&](size_t b, const PointRecord& p, bool keep) {
    if (b != openBlock) {  // a block without points makes no object
      openBlock = b;
      object = result.objects.AddObject();
    }
    if (keep) object->Add(p);
  });
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
  const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  reader.Reserve(CountTextLines(text));
  ForEachTextLine(text, [&](std::string_view line) { reader.Add(line); });
  return reader.Finish();
}

}  // namespace kavri
