// Segment files: any text parses, raises the conversion error or is refused for its size; a row
// naming anything but a file in the drawing folder has no picture; a parsed row written back with
// the segment writer's line reads as the same row.
#include "engine/content_path.h"
#include "engine/play_content.h"
#include "engine/section_file.h"
#include "fuzz/fuzz_support.h"
#include "platform/int_convert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const kavri::TextLines lines = kavri::SplitTextLines(kavri_fuzz::AsText(data, size));
  kavri::TPlayContentLoader content(kavri_fuzz::ContentProgramFolder(), kavri_fuzz::kFuzzContentBudget);
  kavri::TSectionList rows;
  try {
    kavri::LoadSectionLines(lines, rows, content, "fuzz.sec");
  } catch (const kavri::EConvertError&) {
  } catch (const kavri::EContentTooLarge&) {
  }
  KAVRI_FUZZ_CHECK(rows.size() <= lines.size());
  KAVRI_FUZZ_CHECK(content.HeldBytes() <= content.Budget());
  for (const auto& row : rows) {
    if (!kavri::IsBareFileName(row->name)) KAVRI_FUZZ_CHECK(row->drawing->Empty());
    if (row->name.find('|') != std::string::npos) continue;
    kavri::TSectionRecord again;
    kavri::ParseSectionFields(kavri::FormatSectionLine(*row), again);
    KAVRI_FUZZ_CHECK(again.name == row->name);
    for (int i = 0; i < kavri::TSectionRecord::kParameterCount; ++i)
      KAVRI_FUZZ_CHECK(again.Parameter(i) == row->Parameter(i));
  }
  for (const std::string& line : lines) {
    try {
      kavri::ParseSecondField(line);
    } catch (const kavri::EConvertError&) {
    }
  }
  return 0;
}
