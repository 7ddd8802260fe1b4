#pragma once
// The Converter window's five conversions over its file lists, without the window: drawings into
// a segment or an ILDA image, a segment into an ILDA image, an ILDA image into a segment with one
// drawing per frame, and several ILDA files merged into one. Each builds its result in memory and
// writes it whole; questions and failures go through the dialog service. True when a file was
// written; the target list is then re-read with the new file selected.
//
//   TConverterConversions convert(FileListBox1->Files(), FileListBox2->Files(), FileListBox3->Files());
//   convert.ListToSegment(convertList, skinEdit1->Text(), skinEdit2->Text());
//   if (convert.IldaToSegment(skinEdit5->Text())) PreviewSelectedDrawing();
//   if (convert.MergeIlda(mergePaths, skinEdit4->Text()) && previewOn) LoadPreview(ilds.SelectedPath());
#include <string>
#include <vector>

#include "platform/file_list.h"

namespace kavri {

class TConverterConversions {
 public:
  // The lists' folders are the drawing, segment and ILDA folders the conversions read and write.
  TConverterConversions(TFileList& drawings, TFileList& segments, TFileList& ildas);

  // One row per drawing name, in order, holding it still for `timeText` ticks.
  bool ListToSegment(const std::vector<std::string>& drawingNames, const std::string& segmentName,
                     const std::string& timeText);
  // One frame per drawing name that names an existing drawing, in order.
  bool ListToIlda(const std::vector<std::string>& drawingNames, const std::string& ildaName);
  // One frame per row of the selected segment; the name is asked for.
  bool SegmentToIlda();
  // The selected ILDA file as a segment named by the operator, with one drawing file per frame
  // ("<name>_sec_00001.ddr" ...), each row held `timeText` ticks.
  bool IldaToSegment(const std::string& timeText);
  // The frames of the files at `ildaPaths`, in order, as one file in the ILDA folder.
  bool MergeIlda(const std::vector<std::string>& ildaPaths, const std::string& ildaName);

  // What the last conversion to ILDA says in the message line: the points it left out of frames
  // past their limit; empty when it left none out.
  const std::string& Notice() const { return notice_; }

  // The generated drawing name of frame `number` (from 1) of the segment `segmentName` (with ".sec").
  static std::string FrameDrawingName(const std::string& segmentName, int number);

 private:
  TFileList& drawings_;
  TFileList& segments_;
  TFileList& ildas_;
  std::string notice_;

  void NoteLeftOut(size_t points);
};

}  // namespace kavri
