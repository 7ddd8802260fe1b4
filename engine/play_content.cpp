#include "engine/play_content.h"

#include <algorithm>
#include <limits>

#include "platform/file_io.h"
#include "platform/text_lines.h"

namespace kavri {

namespace {

constexpr uint64_t kMegabyte = 1024 * 1024;

uint64_t Times(uint64_t count, uint64_t each) {
  return count > std::numeric_limits<uint64_t>::max() / each ? std::numeric_limits<uint64_t>::max() : count * each;
}

// Every record of a drawing file is a point; at worst each point also starts an object.
uint64_t DrawingBytesAtMost(uint64_t fileSize) {
  return Times(fileSize / kDrawingRecordSize, sizeof(PointRecord) + sizeof(size_t));
}

}  // namespace

// Each section takes a 32-byte header and a record of at least 3 bytes (a last one cut short may
// hold none), and each point a record of at least 6 bytes; the reader caps both counts. Palette
// entries need no case of their own: an entry is a record that takes 3 bytes of memory for 3 of
// file, a point one that takes 16 for 6, so a file holds most when all its records are points.
uint64_t IldaBytesAtMost(uint64_t fileSize) {
  // The lists of frames and palettes may hold room for twice their sections while they grow.
  constexpr uint64_t kSectionBytes = std::max(sizeof(TILDAframe), sizeof(TILDAcolorplatte)) + 2 * sizeof(void*);
  const uint64_t sections = std::min<uint64_t>(fileSize / 35 + 1, kIldaMaxSections);
  const uint64_t points = std::min<uint64_t>(fileSize / 6, kIldaMaxRecords);
  return sections * kSectionBytes + points * sizeof(PointRecord);
}

uint64_t IldaHeldBytes(const TILDAimage& image) {
  uint64_t bytes = (image.frames.capacity() + image.palettes.capacity()) * sizeof(void*);
  for (const auto& frame : image.frames) bytes += sizeof(TILDAframe) + frame->points.capacity() * sizeof(PointRecord);
  for (const auto& palette : image.palettes)
    bytes += sizeof(TILDAcolorplatte) + palette->entries.capacity() * sizeof(TIldaPaletteEntry);
  return bytes;
}

EContentTooLarge::EContentTooLarge(const std::string& name, uint64_t budget)
    : EContentRefused("\"" + name + "\" would take the content past the limit of " +
                         std::to_string(budget / kMegabyte) + " MB"),
      name_(name) {}

std::string EContentRefused::MessageFor(const std::string&) const { return what(); }

std::string EContentTooLarge::MessageFor(const std::string& fileName) const {
  return ContentTooLargeMessage(fileName, *this);
}

std::string ContentTooLargeMessage(const std::string& fileName, const EContentTooLarge& refusal) {
  return "\"" + fileName + "\" names more content than fits in memory: " + refusal.what() + ".";
}

TextLines ReadContentLines(const std::string& path, const TRowFileRule& rule) {
  std::string error;
  std::optional<TextLines> lines = ReadRowLines(path, rule, &error);
  if (!lines) throw EContentRefused(error);
  return std::move(*lines);
}

const TSectionListPtr& EmptySegment() {
  static const TSectionListPtr empty = std::make_shared<const TSectionList>();
  return empty;
}

const TIldaImagePtr& EmptyIldaImage() {
  static const TIldaImagePtr empty = std::make_shared<const TILDAimage>();
  return empty;
}

TPlayContentLoader::TPlayContentLoader(const std::string& programFolder, uint64_t budget)
    : drawingFolder_(programFolder, "Drawing"),
      segmentFolder_(programFolder, "Section"),
      ildaFolder_(programFolder, "ILDAimage"),
      budget_(budget) {}

void TPlayContentLoader::Reserve(uint64_t bytes, const std::string& name) {
  if (bytes > budget_ - held_) throw EContentTooLarge(name, budget_);
  held_ += bytes;
}

void TPlayContentLoader::Settle(uint64_t reserved, uint64_t kept) { held_ = held_ - reserved + kept; }

TPlayDrawingPtr TPlayContentLoader::Drawing(const std::string& name) {
  const std::optional<TContentFile> file = drawingFolder_.Find(name);
  if (!file) return EmptyPlayDrawing();
  if (const auto it = drawings_.find(file->path); it != drawings_.end()) return it->second;
  const uint64_t most = DrawingBytesAtMost(file->size);
  Reserve(most, name);
  // A file the editor would not open plays as missing.
  const std::optional<Bytes> bytes = ReadDrawingFileBytes(file->path);
  auto drawing = std::make_shared<const TPlayDrawing>(bytes ? TPlayDrawing::Decode(bytes->data(), bytes->size())
                                                            : TPlayDrawing());
  Settle(most, drawing->HeldBytes());
  drawings_.emplace(file->path, drawing);
  return drawing;
}

TSectionListPtr TPlayContentLoader::Segment(const std::string& name) {
  // A folder, a link to nothing or anything else that is no regular file is missing content, as
  // for drawings and ILDA images: the row plays empty and the show goes on.
  const std::optional<TContentFile> file = segmentFolder_.Find(name);
  if (!file) return EmptySegment();
  if (const auto it = segments_.find(file->path); it != segments_.end()) return it->second;
  // The text is held only while its rows are made.
  Reserve(file->size, name);
  auto rows = std::make_shared<TSectionList>();
  LoadSectionLines(ReadContentLines(file->path, kSegmentFileRule), *rows, *this, name);
  Settle(file->size, 0);
  TSectionListPtr shared = std::move(rows);
  segments_.emplace(file->path, shared);
  return shared;
}

TIldaImagePtr TPlayContentLoader::Ilda(const std::string& name) {
  const std::optional<TContentFile> file = ildaFolder_.Find(name);
  if (!file) return EmptyIldaImage();
  if (const auto it = ildas_.find(file->path); it != ildas_.end()) return it->second;
  const uint64_t most = IldaBytesAtMost(file->size);
  Reserve(most, name);
  auto image = std::make_shared<TILDAimage>();
  ReadIldaFile(file->path, *image);
  Settle(most, IldaHeldBytes(*image));
  TIldaImagePtr shared = std::move(image);
  ildas_.emplace(file->path, shared);
  return shared;
}

}  // namespace kavri
