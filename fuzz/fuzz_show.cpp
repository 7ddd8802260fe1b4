// Show files: any text reads (with content loading) or raises the conversion error, without
// reaching past the lines; a show read whole is written and read back with the same rows.
#include "engine/show_file.h"
#include "fuzz/fuzz_support.h"
#include "platform/int_convert.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const kavri::TextLines lines = kavri::SplitTextLines(kavri_fuzz::AsText(data, size));
  kavri::TSequence show;
  try {
    kavri::LoadShowLines(lines, show, &kavri_fuzz::EmptyProgramFolder());
  } catch (const kavri::EConvertError&) {
    return 0;
  }
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
