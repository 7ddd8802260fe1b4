#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>

#include "engine/content_path.h"
#include "engine/ilda_file.h"
#include "engine/play_drawing.h"
#include "engine/section_file.h"
#include "platform/text_lines.h"

namespace kavri {

// Most bytes the content of one segment or show load may hold: beyond this a load is refused.
constexpr uint64_t kPlayContentBudget = uint64_t{1} << 30;

// Raised when a content file a load names cannot be played; the text says why and names the file.
class EContentRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  // What a window says when it loads `fileName` and the load is refused.
  virtual std::string MessageFor(const std::string& fileName) const;
};

// Raised when loading the named content file would take a load past its budget.
class EContentTooLarge : public EContentRefused {
 public:
  EContentTooLarge(const std::string& name, uint64_t budget);
  const std::string& Name() const { return name_; }
  std::string MessageFor(const std::string& fileName) const override;

 private:
  std::string name_;
};

// The message a window shows when it loads `fileName` and the load is refused for its size.
std::string ContentTooLargeMessage(const std::string& fileName, const EContentTooLarge& refusal);

// The lines of a segment or show file the load takes, checked against `rule` before any is made:
// raises EContentRefused, in the words of the window the rule names, for a file that cannot be read
// or breaks it.
TextLines ReadContentLines(const std::string& path, const TRowFileRule& rule);

// Most bytes ReadIldaFile can hold for a file of `fileSize` bytes, however its sections lie: what
// a load reserves before it reads the file. A little over 512 MiB for the largest file the reader
// takes, so that any ILDA file loads alone within kPlayContentBudget.
uint64_t IldaBytesAtMost(uint64_t fileSize);
// The bytes a read image holds, as IldaBytesAtMost counts them.
uint64_t IldaHeldBytes(const TILDAimage& image);

using TSectionListPtr = std::shared_ptr<const TSectionList>;
using TIldaImagePtr = std::shared_ptr<const TILDAimage>;

// The empty content rows hold while they name nothing that was loaded.
const TSectionListPtr& EmptySegment();
const TIldaImagePtr& EmptyIldaImage();

// The content of one segment or show load. Play content is never changed, so each distinct file
// is read once and shared by every row that names it, and the bytes held are counted against a
// budget, checked from the file's size before it is read. Names are bare file names in their
// content folder (see TContentFolder); a name that finds no regular file gives empty content.
class TPlayContentLoader {
 public:
  explicit TPlayContentLoader(const std::string& programFolder, uint64_t budget = kPlayContentBudget);

  // Each raises EContentTooLarge when the file's content would pass the budget; Segment raises
  // EContentRefused for a segment file that is there and that Segment Edit would not open.
  TPlayDrawingPtr Drawing(const std::string& name);
  TSectionListPtr Segment(const std::string& name);  // its rows' drawings come from this load too
  TIldaImagePtr Ilda(const std::string& name);

  // Counts bytes the caller is about to allocate for `name`, or raises EContentTooLarge.
  void Reserve(uint64_t bytes, const std::string& name);
  uint64_t HeldBytes() const { return held_; }
  uint64_t Budget() const { return budget_; }

 private:
  // The bytes an estimate reserved, replaced by what was actually kept.
  void Settle(uint64_t reserved, uint64_t kept);

  TContentFolder drawingFolder_, segmentFolder_, ildaFolder_;
  std::unordered_map<std::string, TPlayDrawingPtr> drawings_;  // by resolved path
  std::unordered_map<std::string, TSectionListPtr> segments_;
  std::unordered_map<std::string, TIldaImagePtr> ildas_;
  uint64_t budget_;
  uint64_t held_ = 0;
};

}  // namespace kavri
