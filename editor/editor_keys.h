#pragma once
// The editor's single-letter keys: each chooses a tool or runs a command, with a status text of its
// own. Letters count alike in either case and with Shift or Ctrl; keys pressed with Alt belong to
// the menus.
#include <optional>
#include <string_view>

namespace kavri {

struct TEditorKey {
  enum class TAction { Tool, Erase, ImportText, Undo };
  TAction action = TAction::Tool;
  int tool = 0;           // for Tool
  std::string_view text;  // the status text (Undo: when there was something to undo)
};

// The key's meaning, from its letter ('A'..'Z'); nothing for keys without one.
std::optional<TEditorKey> EditorKeyOf(char letter);

inline constexpr std::string_view kUndoKeyNothing = "U _undo, no action can be undo.";

}  // namespace kavri
