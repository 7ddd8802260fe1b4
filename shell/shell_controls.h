#pragma once
// Building the shell's windows from the skinned controls: each control gets its name (member and
// object name), its caption and the windows' style.
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "skin/skin_button.h"
#include "skin/skin_check_box.h"
#include "skin/skin_combo.h"
#include "skin/skin_edit.h"
#include "skin/run_images.h"
#include "skin/tool_bar.h"
#include "skin/elided_label.h"
#include "skin/track_bar.h"

class QLabel;

namespace kavri {

inline constexpr TSkinUIStyle kShellStyle = TSkinUIStyle::Azure;

// At least `width` wide, and wider when the caption needs it.
TSkinButton* MakeSkinButton(QWidget* parent, const char* name, const QString& caption, int width = 100);
TSkinCheckBox* MakeSkinCheckBox(QWidget* parent, const char* name, const QString& caption);
TSkinComboBox* MakeSkinComboBox(QWidget* parent, const char* name);
TSkinTrackBar* MakeSkinTrackBar(QWidget* parent, const char* name, int min, int max);
TSkinEdit* MakeSkinEdit(QWidget* parent, const char* name);
// A label, named as the window's other controls are (a caption nobody changes may have no name).
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text = {});
// A label for a text of any length (a file name): one line, as wide as its layout makes it; a longer
// text is cut with "…" and shown whole in a tooltip, so no text makes its window grow.
QLabel* MakeElidedLabel(QWidget* parent, const char* name, const QString& text = {});
// A window's message line: such a label, in red. The texts its window's commands give stand until
// the next one; a note the program adds of its own (a refusal, a failure) goes again at the window's
// next successful Open or New, so that it cannot outlive the file it was about.
class TMessageLine : public TElidedLabel {
 public:
  using TElidedLabel::TElidedLabel;
  void Say(const std::string& text);
  void Note(const std::string& text);
  // A successful Open or New: a note still shown goes, and the line shows its idle text again.
  void Renewed();
  // What the line shows when it has nothing to say: "" unless the line is its own caption.
  void SetIdleText(const QString& text) { idle_ = text; }
  bool ShowsNote() const { return !note_.isEmpty() && text() == note_; }
  // Runs one of the window's commands. Its refusal (the words of its error box) is noted; else the
  // text `takeSaid` gives is said; a command that leaves neither leaves the line as it stands.
  void Run(const std::function<void()>& command, const std::function<std::string()>& takeSaid);

 private:
  QString note_;
  QString idle_;
};
TMessageLine* MakeMessageLabel(QWidget* parent, const char* name, const QString& text = {});
// A square picture label of `size` pixels, black until something is drawn in it.
QLabel* MakeBlackImage(QWidget* parent, const char* name, int size);

// The tool bar of the playing windows: pictures from the shared run image list, no captions;
// AddToolButton names each button, gives it its picture and its hint (shown as the tooltip).
TSkinToolBar* MakeRunToolBar(QWidget* parent);
TSkinToolButton* AddToolButton(TSkinToolBar* bar, const char* name, TRunImage image, const QString& hint,
                               TToolButtonStyle style = TToolButtonStyle::tbsButton);

// Replaces a combo box's items by `labels` and selects `index` (-1: none).
void SetComboLabels(TSkinComboBox* combo, const std::vector<std::string>& labels, int index);

}  // namespace kavri
