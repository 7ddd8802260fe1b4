#include <gtest/gtest.h>

#include <QSignalSpy>
#include <functional>
#include <memory>
#include <set>

#include "engine/shared_state.h"
#include "shell/main_window.h"
#include "shell/window_menu_bar.h"
#include "shell/window_registry.h"
#include "tests/support/program_folder_scope.h"
#include "tests/support/test_support.h"

using namespace kavri;

namespace {

const char* const kWindowNames[] = {"Form1", "Form4", "Form5", "Form8", "Form9", "Form15"};

struct Preset {
  const char* owner;
  std::function<TWindowMenuTexts()> texts;
};

const Preset kPresets[] = {{"Form1", EditorMenuTexts},
                           {"Form4", QuickPlayMenuTexts},
                           {"Form5", SegmentEditorMenuTexts},
                           {"Form8", ShowEditorMenuTexts},
                           {"Form9", ConverterMenuTexts}};

// Every window's bar shows each of the other windows once and never the window itself.
TEST(WindowMenuBar, EachWindowOffersEveryOtherWindowOnce) {
  for (const Preset& preset : kPresets) {
    std::set<std::string> names;
    for (const TWindowMenuEntry& entry : preset.texts().Windows) {
      EXPECT_TRUE(names.insert(entry.PointerName).second) << preset.owner << " twice: " << entry.PointerName;
      EXPECT_NE(entry.PointerName, preset.owner);
    }
    EXPECT_EQ(names.size(), 5u) << preset.owner;
  }
}

TEST(WindowMenuBar, ItemsShowRegisteredWindowsAndDoNothingForMissingOnes) {
  for (const Preset& preset : kPresets) {
    QWidget owner;
    TWindowMenuBar bar(&owner, preset.texts());
    std::map<std::string, std::unique_ptr<QWidget>> windows;
    // Every other window exists except the converter: its entry must do nothing.
    for (const char* name : kWindowNames) {
      if (std::string(name) == "Form9") continue;
      windows[name] = std::make_unique<QWidget>();
      RegisterWindow(name, windows[name].get());
    }
    UnregisterWindow("Form9");
    for (const TWindowMenuEntry& entry : preset.texts().Windows) {
      QAction* item = bar.WindowItem(entry.PointerName);
      ASSERT_NE(item, nullptr) << preset.owner << " " << entry.PointerName;
      EXPECT_EQ(item->text(), entry.Caption);
      EXPECT_EQ(bar.FindItem(entry.Caption), item);
      item->trigger();
      if (entry.PointerName != "Form9") {
        EXPECT_TRUE(windows[entry.PointerName]->isVisible()) << entry.PointerName;
      }
    }
    for (auto& [name, window] : windows) {
      EXPECT_EQ(window->isVisible(), bar.WindowItem(name) != nullptr) << preset.owner << " " << name;
      UnregisterWindow(name);
    }
  }
}

TEST(WindowMenuBar, OwnMenusComeBeforeTheSharedEntriesInOrderAdded) {
  QWidget owner;
  TWindowMenuBar bar(&owner, EditorMenuTexts());
  TSkinMenu* file = bar.AddOwnMenu("&File");
  TSkinMenu* help = bar.AddOwnMenu("&Help");
  const QList<QAction*> top = bar.actions();
  ASSERT_EQ(top.size(), 2 + 5 + 1);
  EXPECT_EQ(top[0], file->menuAction());
  EXPECT_EQ(top[1], help->menuAction());
  EXPECT_EQ(top[2]->text(), "Quick play(&P)");
  EXPECT_EQ(top[6]->text(), "Main window(&K)");
  EXPECT_EQ(top[7]->text(), "System(S)");
  ASSERT_NE(top[7]->menu(), nullptr);
  bar.resize(bar.sizeHint().width(), 24);
  ASSERT_TRUE(bar.grab().save(QString::fromStdString(kavri_test::ArtifactPath("window_menu_bar.png"))));
  EXPECT_EQ(top[7]->menu()->actions(),
            (QList<QAction*>{bar.DetectDeviceItem(), bar.SelectDeviceItem(), bar.ExitItem()}));
  // A bar without window entries still keeps the window's menus ahead of System.
  TWindowMenuTexts bare;
  TWindowMenuBar onlySystem(&owner, bare);
  TSkinMenu* run = onlySystem.AddOwnMenu("&Run");
  EXPECT_EQ(onlySystem.actions().first(), run->menuAction());
  EXPECT_EQ(onlySystem.actions().last()->text(), "System(S)");
}

TEST(WindowMenuBar, SystemMenuDetectsSelectsAndExitsThroughTheMainWindow) {
  kavri_test::ScratchDir dir;
  kavri_test::ProgramFolderScope scope(dir.Path());
  ResetSharedState();
  QWidget owner;
  TWindowMenuBar bar(&owner, ShowEditorMenuTexts());
  EXPECT_EQ(bar.ExitItem()->text(), "Exit(&X)");

  // Without a main window or a device window the commands do nothing.
  ASSERT_EQ(Form15, nullptr);
  UnregisterWindow("Form19");
  bar.DetectDeviceItem()->trigger();
  bar.SelectDeviceItem()->trigger();
  bar.ExitItem()->trigger();

  int detections = 0;
  auto* main = new TForm15([&] {
    ++detections;
    return std::vector<TDetectedDevice>{};
  });
  Form15 = main;
  main->FormCreate();
  const int atStart = detections;
  bar.DetectDeviceItem()->trigger();
  EXPECT_EQ(detections, atStart + 1);

  QWidget selectDevice;
  RegisterWindow("Form19", &selectDevice);
  bar.SelectDeviceItem()->trigger();
  EXPECT_TRUE(selectDevice.isVisible());
  UnregisterWindow("Form19");

  QSignalSpy closed(main, &TForm15::Closed);
  main->show();
  bar.ExitItem()->trigger();
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(main->isVisible());
  delete main;
  EXPECT_EQ(Form15, nullptr);
  ResetSharedState();
}

}  // namespace
