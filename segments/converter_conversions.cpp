#include "segments/converter_conversions.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "engine/content_path.h"
#include "engine/drawing.h"
#include "engine/ilda_file.h"
#include "engine/section_file.h"
#include "platform/dialog_service.h"
#include "platform/file_io.h"
#include "platform/int_convert.h"
#include "platform/program_folder.h"
#include "platform/regular_file.h"
#include "platform/text.h"
#include "platform/text_lines.h"
#include "segments/file_list_commands.h"
#include "shell/error_guard.h"

namespace kavri {

namespace {

constexpr const char* kSegmentExtension = ".sec";
constexpr const char* kIldaExtension = ".ild";
constexpr const char* kReplaceSegment = "This segment have exists,replace it?";
constexpr const char* kReplaceImage = "Image have exists,replace it?";
constexpr const char* kReplaceMerged = "This ILD have exists,replace it?";

// False when the target exists and the operator does not answer Yes.
bool MayWrite(const std::string& path, const char* question) {
  return !FileExists(path) || Dialogs().Confirm(question, TConfirmButtons::YesNo) == TDialogAnswer::Yes;
}

// The time text is stored as typed, so it must read back: empty (0) or an integer with blanks around.
bool TimeTextReadsBack(const std::string& text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return true;
  try {
    StrToInt(trimmed);
  } catch (const EConvertError& bad) {
    ShowStandardError(bad.what());
    return false;
  }
  return true;
}

// A "|" in a name that goes into a segment line would split the line's fields.
bool RefusedInSegment(const std::string& name) {
  if (name.find('|') == std::string::npos) return false;
  Dialogs().ShowMessage("The name '" + name + "' cannot stand in a segment: it holds '|'.", TMessageKind::Error);
  return true;
}

void ShowFailure(const std::string& error) { Dialogs().ShowMessage(error, TMessageKind::Error); }

std::vector<std::string> SegmentLine(const std::string& drawingName, const std::string& timeText, const char* k,
                                     const char* p) {
  std::vector<std::string> cells{drawingName, timeText};
  cells.insert(cells.end(), 9, "0");
  cells.insert(cells.end(), {k, "20", "0", "30", "0", p, "0", "0"});
  return cells;
}

// Whether the segment of these drawing names, each on a line with the time text and the fields k
// and p, is one its reader takes; measured before any line or file is made, and said when not.
bool SegmentFits(const std::string& path, const std::vector<std::string>& names, const std::string& timeText,
                 const char* k, const char* p) {
  const size_t rest = JoinSectionCells(SegmentLine("", timeText, k, p)).size();
  TRowFileMeasure measure;
  for (const std::string& name : names) measure.Add(name.size() + rest, kSegmentFileRule);
  const std::optional<std::string> refusal = SaveRefusal(measure, path, kSegmentFileRule);
  if (refusal) ShowFailure(*refusal);
  return !refusal;
}

bool WriteSegment(const std::string& path, const std::vector<std::vector<std::string>>& lines) {
  std::string error;
  if (SaveSectionFile(path, lines, &error)) return true;
  ShowFailure(error);
  return false;
}

bool WriteImage(const std::string& path, TIldaFileWriter& image) {
  std::string error;
  if (image.Write(path, &error)) return true;
  ShowFailure(error);
  return false;
}

// Re-reads the list and selects the file just written.
void SelectWritten(TFileList& list, const std::string& name) {
  list.Update();
  const int index = list.IndexOf(name);
  list.SetItemIndex(index);
  list.SetSelected(index, true);  // a multi-select list marks it too, so it shows as selected
}

}  // namespace

TConverterConversions::TConverterConversions(TFileList& drawings, TFileList& segments, TFileList& ildas)
    : drawings_(drawings), segments_(segments), ildas_(ildas) {}

std::string TConverterConversions::FrameDrawingName(const std::string& segmentName, int number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%05d", number);
  return segmentName.substr(0, segmentName.size() - 4) + "_sec_" + digits + ".ddr";
}

bool TConverterConversions::ListToSegment(const std::vector<std::string>& drawingNames,
                                          const std::string& segmentName, const std::string& timeText) {
  const std::string typed = Trim(segmentName);
  if (!CheckFileName(typed) || !TimeTextReadsBack(timeText)) return false;
  for (const std::string& drawing : drawingNames)
    if (RefusedInSegment(drawing)) return false;
  const std::string name = WithExtension(typed, kSegmentExtension);
  const std::string path = segments_.PathOf(name);
  if (!SegmentFits(path, drawingNames, timeText, "257", "85") || !MayWrite(path, kReplaceSegment)) return false;
  std::vector<std::vector<std::string>> lines;
  lines.reserve(drawingNames.size());
  // Auto colour choice (K 257), so each point plays in its own colour.
  for (const std::string& drawing : drawingNames) lines.push_back(SegmentLine(drawing, timeText, "257", "85"));
  if (!WriteSegment(path, lines)) return false;
  SelectWritten(segments_, name);
  return true;
}

bool TConverterConversions::ListToIlda(const std::vector<std::string>& drawingNames, const std::string& ildaName) {
  notice_.clear();
  const std::string typed = Trim(ildaName);
  if (drawingNames.empty() || !CheckFileName(typed)) return false;
  const std::string name = WithExtension(typed, kIldaExtension);
  const std::string path = ildas_.PathOf(name);
  if (!MayWrite(path, kReplaceImage)) return false;
  // Measured from the drawing files' sizes before any frame is built; a file too large to load
  // is refused by the loading below.
  size_t frames = 0, records = 0;
  for (const std::string& drawing : drawingNames) {
    TRegularFile file;
    if (!file.Open(drawings_.PathOf(drawing))) continue;
    ++frames;
    records += IldaFrameRecords(static_cast<size_t>(file.Size() / kDrawingRecordSize));
  }
  std::string error;
  if (!IldaImageFits(path, frames, records, &error)) {
    ShowFailure(error);
    return false;
  }
  // Each frame goes into the file image as it is made, so only the image and one frame are held.
  TIldaFileWriter image(frames, records);
  Drawing work;
  TILDAframe frame;
  size_t leftOut = 0;
  for (const std::string& drawing : drawingNames) {
    const std::string source = drawings_.PathOf(drawing);
    if (!FileExists(source)) continue;
    if (!LoadDrawingFile(source, work, 1, &error)) {
      ShowFailure(error);
      return false;
    }
    leftOut += DrawingToIldaFrame(work, frame);
    image.Add(frame);
  }
  work.Clear();
  if (!WriteImage(path, image)) return false;
  NoteLeftOut(leftOut);
  SelectWritten(ildas_, name);
  return true;
}

bool TConverterConversions::SegmentToIlda() {
  notice_.clear();
  if (segments_.ItemIndex() < 0) return false;
  const std::optional<std::string> answer = AskFileName("Creat a new ILD", "ILD name", "newImage");
  const std::string source = segments_.SelectedPath();
  if (!FileExists(source)) {
    segments_.Refresh();
    return false;
  }
  if (!answer) return false;
  const std::string name = WithExtension(*answer, kIldaExtension);
  const std::string path = ildas_.PathOf(name);
  if (!MayWrite(path, kReplaceImage)) return false;
  TSectionList rows;
  std::string error;
  try {
    if (!LoadSectionFile(source, rows, ProgramFolder(), &error)) {
      ShowFailure(error);
      return false;
    }
  } catch (const EConvertError& bad) {
    ShowStandardError(bad.what());
    return false;
  }
  // Rows share their drawings, so a long segment could make frames far larger than the segment:
  // it is measured before any frame is built.
  size_t records = 0;
  for (const auto& row : rows) records += IldaFrameRecords(row->drawing->PointCount());
  if (!IldaImageFits(path, rows.size(), records, &error)) {
    ShowFailure(error);
    return false;
  }
  TIldaFileWriter image(rows.size(), records);
  TILDAframe frame;
  size_t leftOut = 0;
  for (const auto& row : rows) {
    leftOut += DrawingToIldaFrame(*row->drawing, frame);
    image.Add(frame);
  }
  if (!WriteImage(path, image)) return false;
  NoteLeftOut(leftOut);
  SelectWritten(ildas_, name);
  return true;
}

bool TConverterConversions::IldaToSegment(const std::string& timeText) {
  if (ildas_.ItemIndex() < 0 || !TimeTextReadsBack(timeText)) return false;
  const std::optional<std::string> answer = AskFileName("Create new segment", "Segment name", "newSection");
  const std::string source = ildas_.SelectedPath();
  if (!FileExists(source)) {
    ildas_.Refresh();
    return false;
  }
  if (!answer || RefusedInSegment(*answer)) return false;
  const std::string name = WithExtension(*answer, kSegmentExtension);
  const std::string path = segments_.PathOf(name);
  if (!MayWrite(path, kReplaceSegment)) return false;
  // The image is measured from its headers and read a frame at a time, as each drawing is written.
  TIldaFrameFile image;
  std::string error;
  if (image.Open(source, &error) == TIldaReadResult::Unreadable) {
    ShowFailure(error);
    return false;
  }
  std::vector<std::string> names;
  names.reserve(image.FrameCount());
  for (size_t i = 0; i < image.FrameCount(); ++i) names.push_back(FrameDrawingName(name, static_cast<int>(i + 1)));
  // A segment its reader would refuse is refused before any drawing is written.
  if (!SegmentFits(path, names, timeText, "0", "0")) return false;
  std::vector<std::vector<std::string>> lines;
  lines.reserve(names.size());
  Drawing work;
  TILDAframe frame;
  // The drawings go first and the segment last, so a segment never names a drawing that failed.
  for (size_t i = 0; i < image.FrameCount(); ++i) {
    const bool read = image.ReadFrame(i, frame, &error);
    if (read) IldaFrameToDrawing(work, frame);
    if (!read || !SaveDrawingFile(drawings_.PathOf(names[i]), work, 1, &error)) {
      ShowFailure(error);
      drawings_.Refresh();
      return false;
    }
    lines.push_back(SegmentLine(names[i], timeText, "0", "0"));
  }
  drawings_.Refresh();
  if (!WriteSegment(path, lines)) return false;
  SelectWritten(segments_, name);
  return true;
}

bool TConverterConversions::MergeIlda(const std::vector<std::string>& ildaPaths, const std::string& ildaName) {
  notice_.clear();
  if (ildaPaths.empty() || !CheckFileName(ildaName)) return false;
  const std::string name = WithExtension(ildaName, kIldaExtension);
  const std::string path = ildas_.PathOf(name);
  if (!MayWrite(path, kReplaceMerged)) return false;
  // The sources' headers say what the merge would hold, so a merge past the limits is refused
  // before any frame is read.
  size_t frames = 0, records = 0;
  for (const std::string& source : ildaPaths) {
    const TIldaMeasure measure = MeasureIldaFile(source);
    frames += measure.frames;
    records += measure.records;
  }
  std::string error;
  if (!IldaImageFits(path, frames, records, &error)) {
    ShowFailure(error);
    return false;
  }
  // Frames go from the sources into the file image one at a time. A file that cannot be opened
  // adds nothing, as the reader gives no frames for it.
  TIldaFileWriter merged(frames, records);
  TILDAframe frame;
  for (const std::string& source : ildaPaths) {
    TIldaFrameFile file;
    file.Open(source);
    for (size_t i = 0; i < file.FrameCount(); ++i) {
      if (!file.ReadFrame(i, frame, &error)) {
        ShowFailure(error);
        return false;
      }
      merged.Add(frame);
    }
  }
  if (!WriteImage(path, merged)) return false;
  SelectWritten(ildas_, name);
  return true;
}

void TConverterConversions::NoteLeftOut(size_t points) {
  if (points > 0)
    notice_ = std::to_string(points) + " points past the " + std::to_string(kIldaMaxFramePoints) +
              " a frame holds were left out.";
}

}  // namespace kavri
