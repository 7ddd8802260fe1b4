#include "engine/ilda_file.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>

#include "platform/dialog_service.h"
#include "platform/file_io.h"
#include "platform/regular_file.h"

namespace kavri {

namespace {

constexpr size_t kHeaderSize = 32;
// The shortest header that still carries the record count: the end mark of older files.
constexpr size_t kShortestEndMark = 26;

inline int32_t Be16(const uint8_t* p) { return (p[0] << 8) | p[1]; }

std::string HeaderText(const uint8_t* p) {
  size_t n = 0;
  while (n < 8 && p[n] != 0) ++n;
  return std::string(reinterpret_cast<const char*>(p), n);
}

bool MagicMatches(const uint8_t* p, size_t left) {
  return std::memcmp(p, "ILDA", std::min<size_t>(left, 4)) == 0;
}

// Record sizes by format; 0 for formats that are not read.
size_t RecordSize(uint8_t format) {
  switch (format) {
    case 0: return 8;   // 3-D indexed frame
    case 1: return 6;   // 2-D indexed frame
    case 2:             // palette
    case 3: return 3;   // (unofficial palette)
    case 4: return 10;  // 3-D true-colour frame
    case 5: return 8;   // 2-D true-colour frame
    default: return 0;
  }
}

template <typename Section>
void ReadHeaderFields(const uint8_t* h, Section& s) {
  s.name = HeaderText(h + 8);
  s.company = HeaderText(h + 16);
  s.projector = h[30];
  s.reserved = h[31];
}

void ReadFrame(const uint8_t* h, const uint8_t* records, size_t count, bool threeD, TILDAframe& frame) {
  ReadHeaderFields(h, frame);
  frame.pointCount = Be16(h + 24);
  frame.frameNumber = Be16(h + 26);
  frame.totalFrames = Be16(h + 28);
  frame.points.resize(count);
  PointRecord* out = frame.points.data();
  const size_t step = threeD ? 8 : 6;
  const size_t statusAt = threeD ? 6 : 4;
  for (size_t i = 0; i < count; ++i, records += step) {
    PointRecord& p = out[i];
    p.x = static_cast<int8_t>(records[0]);
    p.y = static_cast<int8_t>(records[2]);
    p.kind = threeD ? static_cast<int8_t>(records[4]) : 0;
    const uint8_t status = records[statusAt];
    p.colour = records[statusAt + 1];
    p.state = 0;
    p.blanked = (status & 0x40) ? 1 : 0;
  }
}

void ReadPalette(const uint8_t* h, const uint8_t* records, size_t count, TILDAcolorplatte& palette) {
  ReadHeaderFields(h, palette);
  palette.entryCount = Be16(h + 24);
  palette.paletteNumber = Be16(h + 26);
  palette.total = Be16(h + 28);
  palette.entries.resize(count);
  for (size_t i = 0; i < count; ++i, records += 3) palette.entries[i] = {records[0], records[1], records[2]};
}

void PutHeader(uint8_t* h, uint16_t count, uint16_t number, uint16_t total) {
  std::memcpy(h, "ILDA", 4);
  h[4] = h[5] = h[6] = 0;
  h[7] = 0;  // 3-D indexed frame
  std::memset(h + 8, 'I', 16);
  h[24] = static_cast<uint8_t>(count >> 8);
  h[25] = static_cast<uint8_t>(count);
  h[26] = static_cast<uint8_t>(number >> 8);
  h[27] = static_cast<uint8_t>(number);
  h[28] = static_cast<uint8_t>(total >> 8);
  h[29] = static_cast<uint8_t>(total);
  h[30] = 0;
  h[31] = 0;
}

// Where sections come from: the whole image in memory, or a file read a piece at a time.
class TIldaSource {
 public:
  virtual ~TIldaSource() = default;
  virtual uint64_t Size() const = 0;
  // Up to `size` bytes at `offset`, fewer at the end of the data (*got says how many); null when
  // a read failed. The bytes stay valid until the next fetch.
  virtual const uint8_t* Fetch(uint64_t offset, size_t size, size_t* got) = 0;
};

class TMemorySource : public TIldaSource {
 public:
  TMemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t Size() const override { return size_; }
  const uint8_t* Fetch(uint64_t offset, size_t size, size_t* got) override {
    static const uint8_t kNothing = 0;
    *got = offset < size_ ? static_cast<size_t>(std::min<uint64_t>(size, size_ - offset)) : 0;
    return *got ? data_ + offset : &kNothing;
  }

 private:
  const uint8_t* data_;
  size_t size_;
};

long long ReadFromFile(const TRegularFile& file, uint64_t offset, uint8_t* data, size_t size, std::string* error) {
  return file.ReadAt(offset, data, size, error);
}

std::atomic<TIldaFrameRead> FrameRead{ReadFromFile};

class TFileSource : public TIldaSource {
 public:
  explicit TFileSource(const TRegularFile& file, TIldaFrameRead read = ReadFromFile) : file_(file), read_(read) {}
  uint64_t Size() const override { return file_.Size(); }
  const uint8_t* Fetch(uint64_t offset, size_t size, size_t* got) override {
    buffer_.resize(size);
    const long long n = read_(file_, offset, buffer_.data(), size, &error_);
    if (n < 0) return nullptr;
    *got = static_cast<size_t>(n);
    return buffer_.data();
  }
  bool Failed() const { return !error_.empty(); }
  const std::string& Error() const { return error_; }

 private:
  const TRegularFile& file_;
  TIldaFrameRead read_;
  std::vector<uint8_t> buffer_;
  std::string error_;
};

// One section header as far as the data holds it (at most 32 bytes; `size` 0 at the end).
struct THeader {
  uint8_t bytes[kHeaderSize] = {};
  size_t size = 0;
};

bool FetchHeader(TIldaSource& source, uint64_t at, THeader& header) {
  const uint8_t* h = source.Fetch(at, kHeaderSize, &header.size);
  if (!h) return false;
  std::memcpy(header.bytes, h, header.size);
  return true;
}

// With `index`, frame sections are only noted there (where their header lies and how many points
// they hold), and palettes are passed over.
TIldaReadResult WalkSections(TIldaSource& source, TILDAimage& image, std::string* reason,
                             std::vector<TIldaFrameFile::TEntry>* index = nullptr) {
  uint64_t p = 0;
  size_t sections = 0, records = 0;
  THeader header;
  for (;;) {
    if (!FetchHeader(source, p, header)) return TIldaReadResult::Unreadable;
    const uint8_t* h = header.bytes;
    const size_t left = header.size;
    if (left == 0) return TIldaReadResult::Ok;
    if (!MagicMatches(h, left)) return TIldaReadResult::NotIlda;
    if (left < kShortestEndMark) return TIldaReadResult::Truncated;
    const uint8_t format = h[7];
    const size_t count = static_cast<size_t>(Be16(h + 24));
    if (count == 0) return TIldaReadResult::Ok;  // end mark
    const size_t recordSize = RecordSize(format);
    if (recordSize == 0) return TIldaReadResult::UnknownFormat;
    if (left < kHeaderSize) return TIldaReadResult::Truncated;
    records += count;
    if (++sections > kIldaMaxSections || records > kIldaMaxRecords) {
      if (reason) *reason = "more than " + std::to_string(kIldaMaxSections) + " sections or " +
                            std::to_string(kIldaMaxRecords) + " points";
      return TIldaReadResult::TooLarge;
    }
    const uint64_t after = p + kHeaderSize;
    const uint64_t room = source.Size() > after ? source.Size() - after : 0;
    size_t available = static_cast<size_t>(std::min<uint64_t>(count, room / recordSize));
    if (index) {
      if (format <= 1) index->push_back({p, static_cast<uint32_t>(available)});
    } else if (format <= 3) {
      size_t got = 0;
      const uint8_t* data = source.Fetch(after, available * recordSize, &got);
      if (!data) return TIldaReadResult::Unreadable;
      available = got / recordSize;  // a file that shrank meanwhile
      if (format <= 1) {
        auto frame = std::make_unique<TILDAframe>();
        ReadFrame(h, data, available, format == 0, *frame);
        image.frames.push_back(std::move(frame));
      } else {
        auto palette = std::make_unique<TILDAcolorplatte>();
        ReadPalette(h, data, available, *palette);
        image.palettes.push_back(std::move(palette));
      }
    }
    // True-colour frames (4, 5) are passed over so that the sections after them still read.
    if (available < count) return TIldaReadResult::Truncated;
    p = after + count * recordSize;
  }
}

// The walk, with an image that holds nothing when it could not be read whole.
TIldaReadResult ReadSections(TIldaSource& source, TILDAimage& image, std::string* reason,
                             std::vector<TIldaFrameFile::TEntry>* index = nullptr) {
  image.Clear();
  TIldaReadResult result;
  try {
    result = WalkSections(source, image, reason, index);
  } catch (const std::bad_alloc&) {
    if (reason) *reason = kNotEnoughMemory;
    result = TIldaReadResult::Unreadable;
  }
  if (result == TIldaReadResult::TooLarge || result == TIldaReadResult::Unreadable) {
    image.Clear();
    if (index) index->clear();
  }
  return result;
}

int TotalFrames(TIldaSource& source) {
  uint64_t p = 0;
  THeader header;
  for (size_t sections = 0; sections < kIldaMaxSections; ++sections) {
    if (!FetchHeader(source, p, header)) return 0;
    const uint8_t* h = header.bytes;
    const size_t left = header.size;
    if (left == 0 || !MagicMatches(h, left) || left < kShortestEndMark) return 0;
    const uint8_t format = h[7];
    const size_t count = static_cast<size_t>(Be16(h + 24));
    const size_t recordSize = RecordSize(format);
    if (count == 0 || recordSize == 0) return 0;
    if (format <= 1) return left >= 30 ? Be16(h + 28) : 0;
    p += kHeaderSize + count * recordSize;
  }
  return 0;
}

}  // namespace

size_t IldaFrameRecords(size_t points) { return std::clamp<size_t>(points, 1, kIldaMaxFramePoints); }

bool IldaImageFits(const std::string& fileName, size_t frames, size_t records, std::string* error) {
  std::string reason;
  if (frames > kIldaMaxSections)
    reason = "it would hold " + std::to_string(frames) + " frames, more than the " + std::to_string(kIldaMaxSections);
  else if (records > kIldaMaxRecords)
    reason = "its frames would hold " + std::to_string(records) + " points, more than the " +
             std::to_string(kIldaMaxRecords);
  else
    return true;
  if (error) *error = "Cannot write " + fileName + ": " + reason + " an ILDA file may hold";
  return false;
}

TIldaReadResult DecodeIldaImage(const uint8_t* data, size_t size, TILDAimage& image, std::string* reason) {
  TMemorySource source(data, size);
  return ReadSections(source, image, reason);
}

TIldaReadResult ReadIldaFile(const std::string& fileName, TILDAimage& image, std::string* error) {
  image.Clear();
  TRegularFile file;
  if (!file.Open(fileName, error)) return TIldaReadResult::Unreadable;
  TFileSource source(file);
  std::string reason;
  const TIldaReadResult result = ReadSections(source, image, &reason);
  if (result == TIldaReadResult::NotIlda || result == TIldaReadResult::UnknownFormat)
    Dialogs().ShowMessage("Read Error!", TMessageKind::Error);
  if ((result == TIldaReadResult::TooLarge || result == TIldaReadResult::Unreadable) && error)
    *error = source.Failed() ? source.Error() : CannotReadText(fileName, reason);
  return result;
}

int IldaTotalFrames(const uint8_t* data, size_t size) {
  TMemorySource source(data, size);
  return TotalFrames(source);
}

int ReadIldaTotalFrames(const std::string& fileName) {
  TRegularFile file;
  if (!file.Open(fileName)) return 0;
  TFileSource source(file);
  return TotalFrames(source);
}

TIldaMeasure MeasureIldaFile(const std::string& fileName) {
  TRegularFile file;
  if (!file.Open(fileName)) return {};
  TFileSource source(file);
  TILDAimage none;
  std::vector<TIldaFrameFile::TEntry> frames;
  ReadSections(source, none, nullptr, &frames);
  TIldaMeasure measure;
  measure.frames = frames.size();
  for (const TIldaFrameFile::TEntry& entry : frames) measure.records += IldaFrameRecords(entry.points);
  return measure;
}

void SetIldaFrameRead(TIldaFrameRead read) { FrameRead.store(read ? read : ReadFromFile); }

TIldaFrameFile::TIldaFrameFile() = default;
TIldaFrameFile::~TIldaFrameFile() = default;

TIldaReadResult TIldaFrameFile::Open(const std::string& fileName, std::string* error) {
  file_.reset();
  frames_.clear();
  fileName_ = fileName;
  auto file = std::make_unique<TRegularFile>();
  if (!file->Open(fileName, error)) return TIldaReadResult::Unreadable;
  TFileSource source(*file);
  TILDAimage none;
  std::string reason;
  const TIldaReadResult result = ReadSections(source, none, &reason, &frames_);
  if (result == TIldaReadResult::NotIlda || result == TIldaReadResult::UnknownFormat)
    Dialogs().ShowMessage("Read Error!", TMessageKind::Error);
  if ((result == TIldaReadResult::TooLarge || result == TIldaReadResult::Unreadable) && error)
    *error = source.Failed() ? source.Error() : CannotReadText(fileName, reason);
  if (!frames_.empty()) file_ = std::move(file);
  return result;
}

size_t TIldaFrameFile::PointTotal() const {
  size_t total = 0;
  for (const TEntry& entry : frames_) total += entry.points;
  return total;
}

bool TIldaFrameFile::ReadFrame(size_t i, TILDAframe& frame, std::string* error) {
  frame.points.clear();
  if (i >= frames_.size()) return false;
  const TEntry& entry = frames_[i];
  TFileSource source(*file_, FrameRead.load());
  auto changed = [i] { return "it changed while it was read (frame " + std::to_string(i + 1) + ")"; };
  auto fail = [&](const std::string& reason) {
    if (error) *error = source.Failed() ? source.Error() : CannotReadText(fileName_, reason);
    return false;
  };
  THeader header;
  if (!FetchHeader(source, entry.at, header)) return fail("the read failed");
  const uint8_t* h = header.bytes;
  // The frame must still be the one noted when the file was opened: a file rewritten since is not
  // read as frames of another layout.
  if (header.size < kHeaderSize || !MagicMatches(h, 4) || h[7] > 1 || static_cast<size_t>(Be16(h + 24)) < entry.points)
    return fail(changed());
  const bool threeD = h[7] == 0;
  const size_t recordSize = threeD ? 8 : 6;
  size_t got = 0;
  const uint8_t* data = source.Fetch(entry.at + kHeaderSize, entry.points * recordSize, &got);
  if (!data) return fail("the read failed");
  ::kavri::ReadFrame(h, data, got / recordSize, threeD, frame);
  if (got / recordSize != entry.points) return fail(changed());
  return true;
}

TIldaFileWriter::TIldaFileWriter(size_t frames, size_t records) {
  // Reserved in full, so that a large image is never copied while it grows.
  bytes_.reserve(kHeaderSize * (frames + 1) + 8 * records);
}

void TIldaFileWriter::Add(const TILDAframe& frame) {
  const std::vector<PointRecord>& points = frame.points;
  const size_t n = std::min(points.size(), kIldaMaxFramePoints);
  const size_t at = bytes_.size();
  bytes_.resize(at + kHeaderSize + 8 * IldaFrameRecords(n));
  uint8_t* w = bytes_.data() + at;
  // The frame total is set when the image is closed.
  PutHeader(w, static_cast<uint16_t>(std::max<size_t>(n, 1)), static_cast<uint16_t>(frames_), 0);
  w += kHeaderSize;
  ++frames_;
  records_ += IldaFrameRecords(n);
  if (n == 0) {
    // An empty frame becomes one blanked point: a record count of 0 would end the file.
    std::memset(w, 0, 8);
    w[6] = 0xC0;
    return;
  }
  for (size_t k = 0; k < n; ++k, w += 8) {
    const PointRecord& p = points[k];
    w[0] = static_cast<uint8_t>(std::clamp(p.x, -128, 127));
    w[1] = 0;
    w[2] = static_cast<uint8_t>(std::clamp(p.y, -128, 127));
    w[3] = 0;
    w[4] = 0;
    w[5] = 0;
    w[6] = static_cast<uint8_t>((p.blanked ? 0x40 : 0) | (k + 1 == n ? 0x80 : 0));
    w[7] = p.colour;
  }
}

std::vector<uint8_t> TIldaFileWriter::Close() {
  const uint16_t total = static_cast<uint16_t>(std::min<size_t>(frames_, 0xFFFF));
  for (size_t at = 0; at < bytes_.size();) {
    bytes_[at + 28] = static_cast<uint8_t>(total >> 8);
    bytes_[at + 29] = static_cast<uint8_t>(total);
    at += kHeaderSize + 8 * static_cast<size_t>(Be16(bytes_.data() + at + 24));
  }
  const size_t at = bytes_.size();
  bytes_.resize(at + kHeaderSize);
  PutHeader(bytes_.data() + at, 0, 0, 0);
  frames_ = records_ = 0;
  return std::move(bytes_);
}

bool TIldaFileWriter::Write(const std::string& fileName, std::string* error) {
  if (!IldaImageFits(fileName, frames_, records_, error)) return false;
  return ReplaceFileAtomically(fileName, Close(), error);
}

std::vector<uint8_t> EncodeIldaImage(const TILDAimage& image) {
  size_t records = 0;
  for (const auto& frame : image.frames) records += IldaFrameRecords(frame->points.size());
  TIldaFileWriter writer(image.frames.size(), records);
  for (const auto& frame : image.frames) writer.Add(*frame);
  return writer.Close();
}

bool WriteIldaFile(const std::string& fileName, const TILDAimage& image, std::string* error) {
  size_t records = 0;
  for (const auto& frame : image.frames) records += IldaFrameRecords(frame->points.size());
  if (!IldaImageFits(fileName, image.frames.size(), records, error)) return false;
  return ReplaceFileAtomically(fileName, EncodeIldaImage(image), error);
}

}  // namespace kavri
