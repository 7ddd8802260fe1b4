// Segment files: any text parses or raises the conversion error; a parsed row written back with
// the segment writer's line reads as the same row.
#include "engine/section_file.h"
#include "fuzz/fuzz_support.h"
#include "platform/int_convert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const kavri::TextLines lines = kavri::SplitTextLines(kavri_fuzz::AsText(data, size));
  kavri::TSectionList rows;
  try {
    kavri::LoadSectionLines(lines, rows, kavri_fuzz::EmptyProgramFolder());
  } catch (const kavri::EConvertError&) {
  }
  KAVRI_FUZZ_CHECK(rows.size() <= lines.size());
  for (const auto& row : rows) {
    KAVRI_FUZZ_CHECK(row->drawing.Empty());
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
