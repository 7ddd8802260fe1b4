// Show files: any text reads (with content loading), raises the conversion error or is refused
// for its size, without reaching past the lines; a row naming anything but a file in its content
// folder has no content; a show read whole is written and read back with the same rows.
#include "engine/content_path.h"
#include "engine/show_file.h"
#include "fuzz/fuzz_support.h"
#include "platform/int_convert.h"
#include "platform/text.h"

namespace {

bool HasNoContent(const kavri::TSequenceRecord& row) {
  return row.drawing->Empty() && row.rows->empty() && row.ilda->frames.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const kavri::TextLines lines = kavri::SplitTextLines(kavri_fuzz::AsText(data, size));
  kavri::TPlayContentLoader content(kavri_fuzz::ContentProgramFolder(), kavri_fuzz::kFuzzContentBudget);
  kavri::TSequence show;
  try {
    kavri::LoadShowLines(lines, show, &content);
  } catch (const kavri::EConvertError&) {
    return 0;
  } catch (const kavri::EContentRefused&) {  // too large, or a named segment Segment Edit refuses
    KAVRI_FUZZ_CHECK(content.HeldBytes() <= content.Budget());
    return 0;
  }
  KAVRI_FUZZ_CHECK(content.HeldBytes() <= content.Budget());
  for (int t = 0; t < kavri::TSequence::kTrackCount; ++t)
    for (const auto& row : show.Track(t))
      if (!kavri::IsBareFileName(row->name)) KAVRI_FUZZ_CHECK(HasNoContent(*row));
  const kavri::TextLines written = kavri::FormatShowLines(show.music, kavri::ShowTrackCells(show));
  kavri::TSequence again;
  try {
    kavri::LoadShowLines(kavri::SplitTextLines(kavri::JoinTextLines(written)), again, nullptr);
  } catch (const kavri::EConvertError&) {
    __builtin_trap();  // every time written is a decimal integer
  }
  for (int t = 0; t < kavri::TSequence::kTrackCount; ++t) {
    const kavri::TSequenceTrack& want = show.Track(t);
    const kavri::TSequenceTrack& got = again.Track(t);
    KAVRI_FUZZ_CHECK(got.size() == want.size());
    for (size_t i = 0; i < want.size(); ++i) {
      KAVRI_FUZZ_CHECK(got[i]->time == want[i]->time);
      if (want[i]->name.find('|') == std::string::npos)
        KAVRI_FUZZ_CHECK(got[i]->name == kavri::LowerCase(want[i]->name));
    }
  }
  return 0;
}
