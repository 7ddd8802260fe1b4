#pragma once
// What a child process writes is meant for a terminal: progress lines overwritten through carriage
// returns, colours and cursor moves in escape sequences. Before any of it reaches a window it is
// made plain text, since a label draws each control character as a box.
#include <cstddef>
#include <string>
#include <string_view>

namespace kavri {

// One line (without its line break) as a terminal leaves it shown: of the parts that carriage
// returns overwrote, the last with text; escape sequences and control characters dropped, tabs as
// blanks, outer blanks trimmed.
std::string ShownLine(std::string_view line);

// True when the line reports an error, as opposed to a warning or progress.
bool ReportsError(std::string_view line);

// True when the line comes from an audio library (ALSA, PipeWire, JACK) that the child loaded, not
// from the child itself.
bool FromAudioLibrary(std::string_view line);

// Reads a child's output in whatever pieces it arrives and keeps the line that tells why the child
// failed: the first of its own lines that reports an error, one without a "[part]" tag first (a
// player's parts report their errors tagged, then the player its conclusion untagged); else an audio
// library's first that does; else the first of its own lines with text, else a library's. Shown
// lines only, cut to `limit` bytes on a character boundary.
class TCauseLineReader {
 public:
  explicit TCauseLineReader(size_t limit) : limit_(limit) {}
  void Add(std::string_view bytes);
  // Counts a last line that has not ended yet.
  std::string Line() const;

 private:
  // The first lines of each kind, by rank: the child's untagged error, its tagged error, a library's
  // error, the child's first line, a library's first line.
  using TCandidates = std::string[5];

  // One overwritten part of the line has ended.
  void EndPart();
  void EndLine();
  // Keeps a shown line when it is the first of its kind.
  void Take(std::string shown, TCandidates& candidates) const;
  std::string Cut(std::string text) const;

  size_t limit_;
  std::string part_;   // the current part as it came, up to a bound
  std::string shown_;  // the current line's last part with text
  TCandidates candidates_;
};

}  // namespace kavri
