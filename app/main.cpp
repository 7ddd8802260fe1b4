// Kavri laser software: shows the splash, creates every window in order, runs until the main window
// closes.
#include <QDir>
#include <QObject>
#include <cstdio>
#include <functional>
#include <memory>

#include "editor/editor_window.h"
#include "engine/device_packets.h"
#include "editor/import_plt_window.h"
#include "editor/import_text_window.h"
#include "editor/rotating_window.h"
#include "platform/dialog_service.h"
#include "platform/program_folder.h"
#include "platform/program_folder_lock.h"
#include "quickplay/quick_play_window.h"
#include "segments/converter_window.h"
#include "segments/segment_edit_window.h"
#include "shell/about_box.h"
#include "shell/app_title.h"
#include "shell/error_guard.h"
#include "shell/settings_window.h"
#include "shell/splash_window.h"
#include "shell/main_window.h"
#include "shell/select_device_window.h"
#include "shell/qt_dialog_service.h"
#include "shell/quit_signals.h"
#include "shell/window_registry.h"
#include "shows/show_edit_window.h"
#include "shows/show_window_playback.h"

using namespace kavri;

int main(int argc, char** argv) {
  TKavriApplication app(argc, argv);
  app.setApplicationName("kavri");
  TQtDialogService dialogs;
  SetDialogService(&dialogs);
  // A quit signal ends the program cleanly from here on, a box up or not.
  WatchQuitSignals();

  SetApplicationTitle(kProductTitle);
  // A second program on the same folder would drive the same interface and overwrite the
  // settings at exit: it stops here, before it has touched anything.
  TProgramFolderLock folderLock;
  QDir().mkpath(QString::fromStdString(ProgramFolder()));
  std::string lockProblem;
  bool folderIsOurs = false;
  switch (folderLock.Acquire(ProgramFolder(), &lockProblem)) {
    case TProgramFolderLock::TResult::HeldByAnother:
      Dialogs().ShowMessage(ProgramFolderInUseMessage(ProgramFolder()), TMessageKind::Error);
      SetDialogService(nullptr);
      return 1;
    case TProgramFolderLock::TResult::Unavailable:
      std::fprintf(stderr, "kavri: %s; a second start on this folder is not prevented\n", lockProblem.c_str());
      break;
    case TProgramFolderLock::TResult::Acquired:
      folderIsOurs = true;
      break;
  }

  PaceSimulatedInterfaces();

  auto* splash = new TForm14;
  RunGuarded([&] { splash->FormCreate(); });
  splash->ShowPainted();

  RunGuarded([] {
    if (!EnsureContentFolders()) throw std::runtime_error("Cannot create the folders in " + ProgramFolder());
  });
  // Saves killed before their rename leave full-size temporary files; while we hold the folder
  // nobody else is saving there, so they can go.
  if (folderIsOurs) RemoveInterruptedSaves();

  // Creation order matters: later windows read what the main window loaded. A quit signal on the
  // way ends the start-up after the step under way.
  const std::function<void()> steps[] = {
      [] {
        Form15 = new TForm15;
        RegisterWindow("Form15", Form15);
        RunGuarded([] { Form15->FormCreate(); });
      },
      [] {
        Form1 = new TForm1;
        RegisterWindow("Form1", Form1);
        RunGuarded([] { Form1->FormCreate(Form15->SettingsLines()); });
        Form15->CurrentEditorSettings = [] { return Form1->CurrentSettings(); };
      },
      [] {
        Form13 = new TForm13;
        RegisterWindow("Form13", Form13);
        RunGuarded([] { Form13->FormCreate(); });
      },
      [] {
        Form17 = new TForm17(Form1);
        RegisterWindow("Form17", Form17);
      },
      [] {
        Form19 = new TForm19(Form15);
        RegisterWindow("Form19", Form19);
        RunGuarded([] { Form19->FormCreate(); });
      },
      [] {
        Form3 = new TForm3(Form1);
        RegisterWindow("Form3", Form3);
        Form6 = new TForm6(Form1);
        RegisterWindow("Form6", Form6);
      },
      [] {
        Form5 = new TForm5;
        RegisterWindow("Form5", Form5);
        RunGuarded([] { Form5->FormCreate(); });
      },
      [] {
        Form4 = new TForm4;
        RegisterWindow("Form4", Form4);
        RunGuarded([] { Form4->FormCreate(); });
      },
      [] {
        Form8 = new TForm8;
        RegisterWindow("Form8", Form8);
        RunGuarded([] {
          Form8->FormCreate();
          Form8->SetShowRunner(std::make_unique<TShowWindowPlayback>(*Form8));
        });
      },
      [] {
        Form9 = new TForm9;
        RegisterWindow("Form9", Form9);
        RunGuarded([] { Form9->FormCreate(); });
      },
      [] {
        AboutBox = new TAboutBox;
        RegisterWindow("AboutBox", AboutBox);
      },
  };
  for (const auto& step : steps) {
    if (QuitSignalled()) break;
    step();
  }

  splash->hide();
  delete splash;

  int result = 0;
  if (QuitSignalled()) {
    // The exit sequence, as any quit runs it; before the main window has loaded the settings there
    // is nothing to write. The output settings go back as they were read, the "Settings" window
    // made or not.
    if (Form15) {
      if (!Form13) ReadOutputSettings(Form15->SettingsLines());
      Form15->Quit().Request();
    }
  } else {
    QObject::connect(Form15, &TForm15::Closed, &app, &QCoreApplication::quit);
    QuitOnTerminationSignals(Form15, &Form15->Quit());
    ShowRegisteredWindow("Form15");
    result = app.exec();
  }

  for (const char* name : {"AboutBox", "Form9", "Form8", "Form4", "Form5", "Form6", "Form3", "Form19", "Form17",
                           "Form13", "Form1", "Form15"})
    UnregisterWindow(name);
  delete AboutBox;
  delete Form9;
  delete Form8;
  delete Form4;
  delete Form5;
  delete Form6;
  delete Form3;
  delete Form19;
  delete Form17;
  delete Form13;
  delete Form1;
  delete Form15;
  SetDialogService(nullptr);
  return result;
}
