// Entry point of Quorvik: creates the worksheet (which restores the saved
// inputs) and the hidden results window, and runs the message loop until
// the program ends.
#include <QCoreApplication>

#include "apps/desktop/program_icons.h"
#include "platform/fonts.h"
#include "platform/qt_services.h"
#include "worksheet/window/program_start.h"
#include "worksheet/window/program_windows.h"

int main(int argc, char** argv) {
  tGuardedApplication application(argc, argv);
  QCoreApplication::setApplicationName("quorvik");
  QGuiApplication::setDesktopFileName("quorvik");
  QApplication::setWindowIcon(ProgramWindowIcon(tProgramIcon::Quorvik));
  InstallFontSubstitutions();
  tQtServices services;
  application.SetServices(&services);

  tProgramWindows windows = BuildQuorvikWindows(services, SavedInputsPlace());
  windows.worksheet->show();
  return application.exec();
}
