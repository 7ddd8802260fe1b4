#include "quickplay/thumbnail_grid.h"

#include <filesystem>

#include "engine/drawing.h"
#include "engine/render.h"
#include "platform/canvas.h"

namespace kavri {

namespace {

constexpr int kThumbnailDivisor = 4;
constexpr TColor kFrameColour = 0x0000FF;  // red
constexpr int kFrameWidth = 2;
constexpr const char* kNoName = "None";
constexpr const char* kNoCount = "00000";

}  // namespace

std::optional<int> DrawingFilePointCount(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  const uintmax_t bytes = std::filesystem::file_size(path, error);
  // A file the reader refuses has no count to show.
  if (error || bytes > kMaxDrawingFileBytes) return std::nullopt;
  return static_cast<int>(bytes / kDrawingRecordSize);
}

QImage DrawThumbnail(const std::string& path) {
  QImage image(kThumbnailSide, kThumbnailSide, QImage::Format_RGB32);
  image.fill(Qt::black);
  Drawing drawing;
  if (!LoadDrawingFile(path, drawing, 1)) return image;
  TCanvas canvas(image);
  for (const auto& object : drawing.Objects()) DrawPointLists(canvas, *object, 0, kThumbnailDivisor);
  return image;
}

TThumbnailGrid::TThumbnailGrid(TFileList& drawings, size_t cacheLimit)
    : drawings_(drawings), cacheLimit_(std::max<size_t>(cacheLimit, kTilesPerPage)) {
  grey_ = QImage(kThumbnailSide, kThumbnailSide, QImage::Format_RGB32);
  grey_.fill(QColor(0x80, 0x80, 0x80));
}

int TThumbnailGrid::DrawingAt(int tile) const {
  if (tile < 0 || tile >= kTilesPerPage) return -1;
  const int index = page_ * kTilesPerPage + tile;
  return index < drawings_.Count() ? index : -1;
}

const QImage& TThumbnailGrid::Thumbnail(int index) {
  if (auto found = cache_.find(index); found != cache_.end()) {
    recent_.splice(recent_.begin(), recent_, found->second.use);
    return found->second.image;
  }
  if (cache_.size() >= cacheLimit_) {
    cache_.erase(recent_.back());
    recent_.pop_back();
  }
  recent_.push_front(index);
  TCached& entry = cache_[index];
  entry.image = DrawThumbnail(drawings_.PathOf(drawings_.Items()[index]));
  entry.use = recent_.begin();
  return entry.image;
}

QImage TThumbnailGrid::TilePicture(int tile) {
  const int index = DrawingAt(tile);
  QImage picture = index < 0 ? grey_ : Thumbnail(index);
  if (tile == tile_) {
    TCanvas canvas(picture);
    canvas.Pen.Color = kFrameColour;
    canvas.Pen.Width = kFrameWidth;
    canvas.MoveTo(0, 0);
    canvas.LineTo(0, kThumbnailSide);
    canvas.LineTo(kThumbnailSide, kThumbnailSide);
    canvas.LineTo(kThumbnailSide, 0);
    canvas.LineTo(0, 0);
  }
  return picture;
}

void TThumbnailGrid::Reset() {
  page_ = 0;
  tile_ = 0;
  drawings_.SetItemIndex(drawings_.Count() > 0 ? 0 : -1);
}

void TThumbnailGrid::ClickTile(int tile) {
  if (tile < 0 || tile >= kTilesPerPage) return;
  tile_ = tile;
  if (const int index = DrawingAt(tile); index >= 0) drawings_.SetItemIndex(index);
}

bool TThumbnailGrid::PreviousPage() {
  if (page_ <= 0) return false;
  --page_;
  drawings_.SetItemIndex(DrawingAt(tile_));
  return true;
}

bool TThumbnailGrid::NextPage() {
  if (page_ >= LastPageIndex()) return false;
  ++page_;
  drawings_.SetItemIndex(DrawingAt(tile_));
  return true;
}

void TThumbnailGrid::ShowDrawing(int index) {
  if (index < 0 || index >= drawings_.Count()) return;
  page_ = index / kTilesPerPage;
  tile_ = index % kTilesPerPage;
  drawings_.SetItemIndex(index);
}

void TThumbnailGrid::Refresh() {
  const std::string selected = drawings_.SelectedName();
  drawings_.Update();
  cache_.clear();
  recent_.clear();
  const int index = drawings_.IndexOf(selected);
  // When the name is gone the first drawing is selected, and framed, so the frame never marks
  // another drawing than the one Play plays.
  if (index >= 0) return ShowDrawing(index);
  Reset();
}

std::string TThumbnailGrid::SelectedNameText() const {
  return drawings_.ItemIndex() < 0 ? kNoName : drawings_.SelectedName();
}

std::string TThumbnailGrid::PointCountText() const {
  if (drawings_.ItemIndex() < 0) return kNoCount;
  const std::optional<int> count = DrawingFilePointCount(drawings_.SelectedPath());
  return count ? std::to_string(*count) : std::string();
}

}  // namespace kavri
