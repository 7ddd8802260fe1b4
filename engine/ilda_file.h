#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/drawing.h"
#include "engine/play_drawing.h"

namespace kavri {

// One frame section of an ILDA file. Points hold the signed high bytes of the ILDA coordinates
// (-128..127), kind = the signed high byte of Z (0 in 2-D frames), colour = the ILDA palette index.
// Points are plain values: frames are played and converted, never edited point by point.
struct TILDAframe {
  std::string name;     // the header's 8 name bytes, up to the first NUL
  std::string company;  // the header's 8 company bytes, likewise
  int32_t pointCount = 0;  // the header's record count as read
  int32_t frameNumber = 0;
  int32_t totalFrames = 0;
  uint8_t projector = 0;
  uint8_t reserved = 0;
  std::vector<PointRecord> points;
};

struct TIldaPaletteEntry {
  uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const TIldaPaletteEntry&) const = default;
};

// One palette section, kept as read.
struct TILDAcolorplatte {
  std::string name;
  std::string company;
  int32_t entryCount = 0;
  int32_t paletteNumber = 0;
  int32_t total = 0;
  uint8_t projector = 0;
  uint8_t reserved = 0;
  std::vector<TIldaPaletteEntry> entries;
};

struct TILDAimage {
  std::vector<std::unique_ptr<TILDAframe>> frames;
  std::vector<std::unique_ptr<TILDAcolorplatte>> palettes;
  void Clear() {
    frames.clear();
    palettes.clear();
  }
};

enum class TIldaReadResult {
  Ok,             // every section up to the end mark or the end of the data
  NotIlda,        // a section does not start with "ILDA"
  UnknownFormat,  // a section of a format that is neither a frame, a palette nor a true-colour frame
  Truncated,      // the data ends inside a section; its complete records were kept
  TooLarge,       // more than kIldaMaxSections sections or kIldaMaxRecords records; the image is empty
  Unreadable,     // the file cannot be opened or read, or memory ran out; the image is empty
};

// Most points one frame section can hold (its record count is 16 bits).
constexpr size_t kIldaMaxFramePoints = 65535;
// What one image may hold. Frames are numbered with 16 bits, so a file has at most 65536 of them
// (with as many palettes and true-colour frames beside); 32 Mi records bound its points to 512 MiB.
constexpr size_t kIldaMaxSections = size_t{1} << 18;
constexpr size_t kIldaMaxRecords = size_t{1} << 25;

// The point records a frame of `points` points takes in a written file: an empty frame is written
// as one blanked point, and a frame keeps at most kIldaMaxFramePoints.
size_t IldaFrameRecords(size_t points);

// Whether a file of `frames` frames holding `records` point records in all (see IldaFrameRecords)
// is one the reader takes; when not, *error (when given) says "Cannot write <fileName>: " and which
// limit it would pass. The writer refuses such an image, so it never writes a file it cannot read.
bool IldaImageFits(const std::string& fileName, size_t frames, size_t records, std::string* error = nullptr);

// Replaces the image's frames and palettes with the sections of `data`, never reading past it.
// With TooLarge or Unreadable, *reason (when given) says why.
TIldaReadResult DecodeIldaImage(const uint8_t* data, size_t size, TILDAimage& image, std::string* reason = nullptr);

// As DecodeIldaImage on the file, reading one section at a time so that nothing past the last
// section is read. When the data is not an ILDA file (wrong magic, unknown format) "Read Error!"
// is shown through the dialog service once reading has ended; what was read before stays in the
// image. A file that cannot be read (missing, not a regular file, too large, out of memory) gives
// an empty image, no message box, and "Cannot read <file>: <reason>" in *error (when given).
TIldaReadResult ReadIldaFile(const std::string& fileName, TILDAimage& image, std::string* error = nullptr);

class TRegularFile;

// How a frame file reads its bytes once its frames are noted, as TRegularFile::ReadAt does. The
// file's own reads unless another is set (null sets them back), e.g. one that shrinks the file
// first, as another program may while a conversion runs.
using TIldaFrameRead = long long (*)(const TRegularFile& file, uint64_t offset, uint8_t* data, size_t size,
                                     std::string* error);
void SetIldaFrameRead(TIldaFrameRead read);

// The frames of an ILDA file read one at a time as they are wanted, so that a file of any size
// costs the memory of one frame: the frames ReadIldaFile would give, from the file as it was opened.
class TIldaFrameFile {
 public:
  struct TEntry {
    uint64_t at;      // where the frame's header lies
    uint32_t points;  // the points of it the file holds
  };

  TIldaFrameFile();
  ~TIldaFrameFile();
  // Notes where the file's frames lie, as ReadIldaFile reads them and with its "Read Error!" box and
  // its results; a file it would read as empty gives no frames.
  TIldaReadResult Open(const std::string& fileName, std::string* error = nullptr);
  size_t FrameCount() const { return frames_.size(); }
  // The points of all frames.
  size_t PointTotal() const;
  // Frame i as ReadIldaFile gives it. False, with what could be read and "Cannot read <file>: ..."
  // in *error (when given), when the read fails or the frame is no longer as it was noted (the file
  // changed since it was opened).
  bool ReadFrame(size_t i, TILDAframe& frame, std::string* error = nullptr);

 private:
  std::unique_ptr<TRegularFile> file_;
  std::string fileName_;
  std::vector<TEntry> frames_;
};

// The total-frames field of the first frame section; 0 when the data does not start with valid
// sections or that frame is the end mark. The file reader reads section headers only.
int IldaTotalFrames(const uint8_t* data, size_t size);
int ReadIldaTotalFrames(const std::string& fileName);

// What ReadIldaFile would give for the file, read from its section headers alone: its frames, and
// the point records they take when written (see IldaFrameRecords). Zero for a file it reads as empty.
struct TIldaMeasure {
  size_t frames = 0;
  size_t records = 0;
};
TIldaMeasure MeasureIldaFile(const std::string& fileName);

// The file image of the image's frames (palettes are not written): 3-D indexed frames with the
// name and company "IIIIIIII", numbered from 0 with the frame total, and a closing 32-byte header.
// A frame without points is written as one blanked point so that it does not end the file; a
// frame keeps at most kIldaMaxFramePoints points.
std::vector<uint8_t> EncodeIldaImage(const TILDAimage& image);

// The file image EncodeIldaImage gives, built a frame at a time, so that a conversion holds the
// file's bytes and one frame rather than every frame.
class TIldaFileWriter {
 public:
  // Room for `frames` frames of `records` point records in all (see IldaFrameRecords).
  TIldaFileWriter(size_t frames, size_t records);
  void Add(const TILDAframe& frame);
  size_t Frames() const { return frames_; }
  // The image with its frame total and closing header; the writer starts again empty.
  std::vector<uint8_t> Close();
  // Close, replacing the file atomically; false, keeping the old file, on failure and for an image
  // past IldaImageFits.
  bool Write(const std::string& fileName, std::string* error = nullptr);

 private:
  std::vector<uint8_t> bytes_;
  size_t frames_ = 0;
  size_t records_ = 0;
};

// Writes EncodeIldaImage, replacing the file atomically; false, keeping the old file, on failure
// and for an image past IldaImageFits, which is refused before it is encoded.
bool WriteIldaFile(const std::string& fileName, const TILDAimage& image, std::string* error = nullptr);

// Frame space (0..255, y down) to ILDA space (-128..127, y up) and back; the exact inverse of each
// other on every point of the frame space. Colours go through the palette mappings. A frame keeps
// the first kIldaMaxFramePoints points; the number of points left out is returned.
size_t DrawingToIldaFrame(const Drawing& drawing, TILDAframe& frame);
size_t DrawingToIldaFrame(const TPlayDrawing& drawing, TILDAframe& frame);
void IldaFrameToDrawing(Drawing& drawing, const TILDAframe& frame);

}  // namespace kavri
