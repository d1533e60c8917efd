// Start-up pieces shared by the two entry points: where the saved-inputs
// file lives, and an application object that reports an escaped error
// instead of ending the program.
#pragma once

#include <QApplication>
#include <string>

#include "worksheet/logic/worksheet_inputs.h"

class tPlatformServices;

// The folder of the running program's file (no trailing separator).
std::string ProgramDirectory();

// Where the saved inputs are kept: in the program's folder when files can
// be created there, otherwise in the user's per-application data folder
// (for a system-wide install), e.g. ~/.local/share/quorvane, with the
// program's folder still read at start-up while the user has no file.
tSavedInputsPlace SavedInputsPlace();

// The choice behind SavedInputsPlace, for given folders.
tSavedInputsPlace ChooseSavedInputsPlace(const std::string& programFolder, const std::string& userDataFolder);

// True when folder is an existing folder in which files can be created.
bool IsWritableFolder(const std::string& folder);

// The application object of the programs. An exception that escapes an
// event handler is shown in an error box and the message loop goes on.
class tGuardedApplication : public QApplication {
 public:
  tGuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  void SetServices(tPlatformServices* services) { services_ = services; }
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  tPlatformServices* services_ = nullptr;
};
