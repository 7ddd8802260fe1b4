#include "tests/shows/show_track_fixture.h"

#include "engine/drawing.h"

namespace kavri_test {

using namespace kavri;

TPlayDrawingPtr MakeDrawing(const std::vector<PointRecord>& points) {
  Drawing d;
  if (!points.empty()) {
    auto* object = d.AddObject();
    for (const auto& p : points) object->Add(p);
  }
  const auto bytes = EncodeDrawing(d, 1);
  return std::make_shared<TPlayDrawing>(TPlayDrawing::Decode(bytes.data(), bytes.size()));
}

std::shared_ptr<TILDAimage> MakeImage(const std::vector<std::vector<PointRecord>>& frames) {
  auto image = std::make_shared<TILDAimage>();
  for (const auto& points : frames) {
    image->frames.push_back(std::make_unique<TILDAframe>());
    image->frames.back()->points = points;
    image->frames.back()->pointCount = static_cast<int32_t>(points.size());
  }
  return image;
}

TSequenceRecord& AddRow(TSequence& show, int track, const std::string& name, int32_t time) {
  auto row = std::make_unique<TSequenceRecord>();
  row->name = name;
  row->time = time;
  show.Track(track - 1).push_back(std::move(row));
  return *show.Track(track - 1).back();
}

std::vector<uint8_t> PointBytes(int x, int y, TColor colour, int flags) {
  return {static_cast<uint8_t>(x), 0, static_cast<uint8_t>(y), 0, static_cast<uint8_t>(GetRValue(colour)),
          static_cast<uint8_t>(GetGValue(colour)), static_cast<uint8_t>(GetBValue(colour)), static_cast<uint8_t>(flags)};
}

}  // namespace kavri_test
