#pragma once
// The menu bar every authoring window repeats: entries that show the other windows, and the System
// menu (Detect device, Select device, Exit). Each window passes its own captions; its own drop-downs
// go before these.
//
//   auto* bar = new TWindowMenuBar(this, EditorMenuTexts());
//   layout->setMenuBar(bar);
//   TSkinMenu* file = bar->AddOwnMenu("&File");   // placed before the shared entries
//   file->AddItem("New         (&N)", [this] { BitBtn1Click(); });
#include <QString>
#include <string>
#include <vector>

#include "skin/skin_menu.h"

namespace kavri {

struct TWindowMenuEntry {
  QString Caption;
  std::string PointerName;  // the window it shows, e.g. "Form5"
};

struct TWindowMenuTexts {
  std::vector<TWindowMenuEntry> Windows;  // on the bar, in this order
  QString SystemMenu = "System(S)";
  QString DetectDevice = "Detect device(&D)";
  QString SelectDevice = "Select device(&E)";
  QString Exit = "Exit system(&X)";
};

// The captions of each window, as that window shows them.
TWindowMenuTexts EditorMenuTexts();         // Form1
TWindowMenuTexts QuickPlayMenuTexts();      // Form4
TWindowMenuTexts SegmentEditorMenuTexts();  // Form5
TWindowMenuTexts ShowEditorMenuTexts();     // Form8
TWindowMenuTexts ConverterMenuTexts();      // Form9

class TWindowMenuBar : public TSkinMainMenu {
  Q_OBJECT
 public:
  TWindowMenuBar(QWidget* window, const TWindowMenuTexts& texts);

  // A drop-down of the window's own, after those it added before and ahead of the shared entries.
  TSkinMenu* AddOwnMenu(const QString& caption);

  // The bar entry that shows that window; null when this bar has none.
  QAction* WindowItem(const std::string& pointerName) const;
  QAction* DetectDeviceItem() const { return detect_; }
  QAction* SelectDeviceItem() const { return select_; }
  QAction* ExitItem() const { return exit_; }

 private:
  QAction* firstShared_ = nullptr;
  std::vector<std::pair<std::string, QAction*>> windowItems_;
  QAction* detect_ = nullptr;
  QAction* select_ = nullptr;
  QAction* exit_ = nullptr;
};

}  // namespace kavri
