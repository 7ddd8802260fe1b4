// Kavri laser software: shows the splash, creates every window in order, runs until the main window
// closes.
#include <QObject>

#include "platform/dialog_service.h"
#include "platform/program_folder.h"
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

using namespace kavri;

int main(int argc, char** argv) {
  TKavriApplication app(argc, argv);
  app.setApplicationName("kavri");
  TQtDialogService dialogs;
  SetDialogService(&dialogs);

  auto* splash = new TForm14;
  RunGuarded([&] { splash->FormCreate(); });
  splash->show();
  splash->repaint();
  app.processEvents();

  SetApplicationTitle(kProductTitle);
  RunGuarded([] {
    if (!EnsureContentFolders()) throw std::runtime_error("Cannot create the folders in " + ProgramFolder());
  });

  // Creation order matters: later windows read what the main window loaded.
  Form15 = new TForm15;
  RegisterWindow("Form15", Form15);
  RunGuarded([] { Form15->FormCreate(); });
  Form13 = new TForm13;
  RegisterWindow("Form13", Form13);
  RunGuarded([] { Form13->FormCreate(); });
  Form19 = new TForm19(Form15);
  RegisterWindow("Form19", Form19);
  RunGuarded([] { Form19->FormCreate(); });
  AboutBox = new TAboutBox;
  RegisterWindow("AboutBox", AboutBox);

  splash->hide();
  delete splash;

  QObject::connect(Form15, &TForm15::Closed, &app, &QCoreApplication::quit);
  CloseOnTerminationSignals(Form15);
  Form15->show();
  const int result = app.exec();

  for (const char* name : {"AboutBox", "Form19", "Form13", "Form15"}) UnregisterWindow(name);
  delete AboutBox;
  delete Form19;
  delete Form13;
  delete Form15;
  SetDialogService(nullptr);
  return result;
}
