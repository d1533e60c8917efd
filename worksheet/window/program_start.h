// Start-up pieces shared by the two entry points: where the saved-inputs
// file lives, and an application object that reports an escaped error
// instead of ending the program.
#pragma once

#include <QApplication>
#include <string>

class tPlatformServices;

// The folder of the running program's file (no trailing separator).
std::string ProgramDirectory();

// The folder of the saved-inputs file: the program's folder when files can
// be created there, otherwise the user's per-application data folder
// (for a system-wide install), e.g. ~/.local/share/quorvane.
std::string SavedInputsFolder();

// The choice behind SavedInputsFolder, for given folders.
std::string ChooseSavedInputsFolder(const std::string& programFolder, const std::string& userDataFolder);

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
