#include "shell/window_menu_bar.h"

#include "shell/main_window.h"
#include "shell/window_registry.h"

namespace kavri {

TWindowMenuTexts EditorMenuTexts() {
  TWindowMenuTexts texts;
  texts.Windows = {{"Quick play(&P)", "Form4"},
                   {"Segment Edit(&Y)", "Form5"},
                   {"Show Edit(&U)", "Form8"},
                   {"Converter(I)", "Form9"},
                   {"Main window(&K)", "Form15"}};
  return texts;
}

TWindowMenuTexts QuickPlayMenuTexts() {
  TWindowMenuTexts texts;
  texts.Windows = {{"Pic Edit(&D)", "Form1"},
                   {"Segment Edit(&Y)", "Form5"},
                   {"Show Edit(&U)", "Form8"},
                   {"Converter(&I)", "Form9"},
                   {"Main window(&K)", "Form15"}};
  return texts;
}

TWindowMenuTexts SegmentEditorMenuTexts() {
  TWindowMenuTexts texts;
  texts.Windows = {{"Pic Edit(&D)", "Form1"},
                   {"Quick play(&P)", "Form4"},
                   {"Show Edit(&U)", "Form8"},
                   {"Converter(&I)", "Form9"},
                   {"Main window(&K)", "Form15"}};
  return texts;
}

TWindowMenuTexts ShowEditorMenuTexts() {
  TWindowMenuTexts texts;
  texts.Windows = {{"Quick play(&P)", "Form4"},
                   {"Pic Eidt(&D)", "Form1"},
                   {"Segment Edit(&Y)", "Form5"},
                   {"Converter(&I)", "Form9"},
                   {"Main window(&K)", "Form15"}};
  texts.Exit = "Exit(&X)";
  return texts;
}

TWindowMenuTexts ConverterMenuTexts() {
  TWindowMenuTexts texts;
  texts.Windows = {{"Quick play(&P)", "Form4"},
                   {"Pic Edit(&D)", "Form1"},
                   {"Segment Edit(&Y)", "Form5"},
                   {"Show Edit(&U)", "Form8"},
                   {"Main window(&K)", "Form15"}};
  return texts;
}

TWindowMenuBar::TWindowMenuBar(QWidget* window, const TWindowMenuTexts& texts) : TSkinMainMenu(window) {
  for (const TWindowMenuEntry& entry : texts.Windows) {
    const std::string name = entry.PointerName;
    QAction* item = AddItem(entry.Caption, [name, window] { ShowRegisteredWindow(name, window); });
    windowItems_.emplace_back(name, item);
    if (!firstShared_) firstShared_ = item;
  }
  TSkinMenu* system = AddMenu(texts.SystemMenu);
  if (!firstShared_) firstShared_ = system->menuAction();
  // The main window is looked up at click time: it may be gone while the program shuts down.
  detect_ = system->AddItem(texts.DetectDevice, [] {
    if (Form15) Form15->skinButton1Click();
  });
  select_ = system->AddItem(texts.SelectDevice, [window] { ShowRegisteredWindow("Form19", window); });
  exit_ = system->AddItem(texts.Exit, [] {
    if (Form15) Form15->Quit().Request();
  });
}

TSkinMenu* TWindowMenuBar::AddOwnMenu(const QString& caption) { return InsertMenu(firstShared_, caption); }

QAction* TWindowMenuBar::WindowItem(const std::string& pointerName) const {
  for (const auto& [name, item] : windowItems_)
    if (name == pointerName) return item;
  return nullptr;
}

}  // namespace kavri
