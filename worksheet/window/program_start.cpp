#include "worksheet/window/program_start.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QStandardPaths>
#include <exception>
#include <filesystem>
#include <system_error>

#include "platform/services.h"

std::string ProgramDirectory() { return QCoreApplication::applicationDirPath().toStdString(); }

bool IsWritableFolder(const std::string& folder) {
  std::error_code ec;
  if (folder.empty() || !std::filesystem::is_directory(folder, ec)) return false;
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

tSavedInputsPlace ChooseSavedInputsPlace(const std::string& programFolder, const std::string& userDataFolder) {
  if (IsWritableFolder(programFolder)) return tSavedInputsPlace(programFolder);
  return tSavedInputsPlace(userDataFolder, programFolder);
}

tSavedInputsPlace SavedInputsPlace() {
  const std::string userData =
      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
  return ChooseSavedInputsPlace(ProgramDirectory(), userData);
}

bool tGuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    if (services_ != nullptr) {
      services_->SetBusyCursor(false);
      services_->Error(error.what());
    }
  } catch (...) {
    if (services_ != nullptr) {
      services_->SetBusyCursor(false);
      services_->Error("An unexpected error occurred.");
    }
  }
  return false;
}
