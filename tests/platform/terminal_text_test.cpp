#include "platform/terminal_text.h"

#include <gtest/gtest.h>

#include <string>

namespace kavri {
namespace {

using namespace std::string_literals;

TEST(TerminalText, ALineIsLeftAsATerminalShowsItWithoutAControlCharacter) {
  struct Case {
    std::string line, shown;
  };
  const Case cases[] = {
      {"Cannot open the audio device.", "Cannot open the audio device."},
      {"", ""},
      // Progress overwrites: the last part with text stands.
      {"\r\x1b[KA: 00:00:00 / 00:00:10 (0%)\r\r\x1b[KA: 00:00:01 / 00:00:10 (10%)\r", "A: 00:00:01 / 00:00:10 (10%)"},
      {"A: 1\r\r  \r", "A: 1"},
      // Colours, cursor moves, a window title, a character set choice.
      {"\x1b[1;31mError\x1b[0m: \x1b[2Abad\x1b[?25h", "Error: bad"},
      {"\x1b]0;mpv - song\x07Playing", "Playing"},
      {"\x1b]2;title\x1b\\Playing", "Playing"},
      {"\x1b(Bplain", "plain"},
      // An escape sequence cut short at the line's end.
      {"text\x1b[1;3", "text"},
      {"bell\a back\bspace\x7f, nul\0!"s, "bell backspace, nul!"},
      {"tab\tto blank", "tab to blank"},
      // Controls of the eight-bit set, as UTF-8, go too; other characters stay.
      {"a\xc2\x85z \xc3\xa9t\xc3\xa9 \xe2\x99\xaa", "az \xc3\xa9t\xc3\xa9 \xe2\x99\xaa"},
      {"  padded  ", "padded"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(ShownLine(c.line), c.shown);
  }
}

TEST(TerminalText, ALineReportsAnErrorByItsWordsWhateverTheirCase) {
  struct Case {
    const char* line;
    bool error;
  };
  const Case cases[] = {
      {"Could not open/initialize audio device -> no sound.", true},
      {"[ao] Failed to initialize audio driver 'alsa'", true},
      {"ERROR: bad file", true},
      {"Cannot open the file", true},
      {"errors when loading file", true},
      {"Warning: no config file", false},
      {"A: 00:00:01 / 00:00:10 (10%)", false},
      {"Exiting... (End of file)", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(ReportsError(c.line), c.error) << c.line;
}

// What a failed player wrote, in pieces as a pipe hands them over.
std::string CauseOf(const std::vector<std::string>& pieces, size_t limit = 200) {
  TCauseLineReader reader(limit);
  for (const std::string& piece : pieces) reader.Add(piece);
  return reader.Line();
}

TEST(TerminalText, TheCauseIsTheFirstLineThatReportsAnErrorElseTheFirstWithText) {
  struct Case {
    const char* what;
    std::vector<std::string> pieces;
    std::string cause;
  };
  const std::string noise(1 << 20, '\0');
  const Case cases[] = {
      {"nothing", {}, ""},
      {"one line", {"Bad file.\n"}, "Bad file."},
      {"a warning, then the error",
       {"ALSA lib conf.c: no config file here\n", "[ao] Could not open/initialize audio device\nAudio: no audio\n"},
       "[ao] Could not open/initialize audio device"},
      {"blank lines before the text", {"\n  \n\x1b[K\n", "Something odd.\nmore\n"}, "Something odd."},
      {"progress, then an error on its line", {"A: 00:00:00\r", "A: 00:00:01\r\x1b[31mError: decoder\x1b[0m\n"},
       "Error: decoder"},
      {"split inside a line and an escape", {"Err", "or: ba", "d\x1b", "[0m file\nlater error\n"}, "Error: bad file"},
      {"split between a CR and its LF", {"Cannot play\r", "\nnext\n"}, "Cannot play"},
      {"the last line without its break", {"Starting\n", "Failed to open"}, "Failed to open"},
      {"the first error wins", {"error one\nerror two\n"}, "error one"},
      {"an error after a megabyte of noise", {noise, "\nfailure\n"}, "failure"},
      {"only controls", {"\x1b[K\r\x07\n"}, ""},
      // Audio libraries write to the same output; the player's own line names the cause.
      {"an ALSA error, then the player's",
       {"ALSA lib confmisc.c:855:(parse_card) cannot find card '0'\n", "Could not open/initialize audio device -> no sound.\n"},
       "Could not open/initialize audio device -> no sound."},
      {"JACK errors, then the player's unended line",
       {"Cannot connect to server socket err = No such file or directory\njack server is not running or cannot be "
        "started\nJackShmReadWritePtr::~JackShmReadWritePtr - Init not done for -1, skipping unlock\n",
        "[ao] Failed to initialize audio driver 'jack'"},
       "[ao] Failed to initialize audio driver 'jack'"},
      {"a PipeWire error, then the player's",
       {"[E][00:00:01.000123] pw.context   | [      context.c:  395 pw_context_new()] failed to create context\n"
        "Error opening the audio output\n"},
       "Error opening the audio output"},
      {"the player's conclusion after its parts' errors",
       {"ALSA lib confmisc.c:165:(snd_config_get_card) Cannot get card index for kavri\n"
        "[ao/alsa] Playback open error: No such device\n[ao] Failed to initialize audio driver 'alsa'\n"
        "Could not open/initialize audio device -> no sound.\n"},
       "Could not open/initialize audio device -> no sound."},
      {"a library's error when the player gives none", {"Playing: song.wav\nALSA lib pcm.c:2664: Unknown PCM\n"
        "ALSA lib confmisc.c:855:(parse_card) cannot find card '0'\n"},
       "ALSA lib confmisc.c:855:(parse_card) cannot find card '0'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CauseOf(c.pieces), c.cause);
  }
}

TEST(TerminalText, TheCauseIsCutToItsLimitOnACharacterBoundary) {
  const std::string longLine(5000, 'x');
  EXPECT_EQ(CauseOf({longLine, "\n"}, 10), "xxxxxxxxxx");
  // "é" takes two bytes: the tenth byte would split it.
  EXPECT_EQ(CauseOf({"error \xc3\xa9\xc3\xa9\xc3\xa9\n"}, 9), "error \xc3\xa9");
  EXPECT_EQ(CauseOf({"\x1b[31m" + std::string(100, 'e') + "\x1b[0m\n"}, 100), std::string(100, 'e'));
}

}  // namespace
}  // namespace kavri
