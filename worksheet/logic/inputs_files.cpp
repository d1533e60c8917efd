#include "worksheet/logic/inputs_files.h"

#include <filesystem>
#include <system_error>

#include "analysis/programs.h"
#include "core/text_file.h"
#include "core/text_format.h"
#include "core/text_lines.h"
#include "worksheet/logic/summary_data_flow.h"

namespace fs = std::filesystem;

namespace {

// Where the open dialog starts: the folder of the file last used, else
// the process's current folder (empty when that is gone).
std::string StartFolder(const std::string& lastFile) {
  if (!lastFile.empty()) return fs::path(lastFile).parent_path().string();
  std::error_code ec;
  const fs::path folder = fs::current_path(ec);
  return ec ? std::string() : folder.string();
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

}  // namespace

std::string WithTextExtension(const std::string& name) {
  return fs::path(name).extension().empty() ? name + ".txt" : name;
}

std::string UnenteredCorrelationsQuestion(int order) {
  return FormatC("No correlation matrix of %d variables has been entered or opened yet, so the file would hold a "
                 "correlation of 0 wherever none was entered.\r\rSave the inputs all the same?",
                 order);
}

bool OpenInputsFile(tWorksheetInputs& inputs, const tProgramProfile& profile, tPlatformServices& services,
                    std::string& lastFile) {
  const std::optional<std::string> chosen = services.AskOpenFileName(StartFolder(lastFile), InputsFileFilter);
  if (!chosen || Trimmed(*chosen).empty()) return false;
  lastFile = *chosen;
  std::string path = *chosen;
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(path, ec))) {
    const fs::path target = fs::canonical(path, ec);
    if (!ec) path = target.string();  // a link to nothing is named as such by the restore
  }
  return RestoreWorksheetInputs(inputs, profile, path, services, tRestoreOccasion::OpenFile);
}

tComputeOutcome SaveInputsAs(tWorksheetInputs& inputs, const tProgramProfile& profile, tPlatformServices& services,
                             std::string& lastFile) {
  tComputeOutcome outcome;
  const tNoticeHook notice = services.NoticeHook();
  tCounts counts;
  outcome.focusField = ReadCountFields(inputs, profile, notice, counts);
  if (outcome.focusField) return outcome;
  const int order = counts.covariates + 1;
  // The file holds the rows the count asks for, as Compute saves them.
  if (inputs.grid.RowCount() != order) {
    inputs.grid.SetRowCount(order);
    inputs.grid.NumberRows();
  }
  outcome.focusCell = CheckGridCells(inputs.grid, order, SdHeading, notice, SdColumn);
  if (outcome.focusCell) return outcome;
  if (inputs.matrixOrder < order && !services.ConfirmDiscard(UnenteredCorrelationsQuestion(order))) return outcome;

  const std::optional<std::string> chosen =
      services.AskSaveFileName(lastFile.empty() ? InputsFileInitialName : lastFile, InputsFileFilter);
  if (!chosen || Trimmed(*chosen).empty()) return outcome;
  const std::string path = WithTextExtension(*chosen);
  if (path != *chosen && Exists(path) &&
      !services.ConfirmDiscard("The file\r" + path + "\ralready exists.\r\rReplace it with these inputs?"))
    return outcome;

  // The correlations as the matrix window shows them (its upper triangle;
  // a restored or opened matrix fills only that one), written symmetric.
  tWorksheetInputs saved = inputs;
  const tStoredCorrelations shown = InitialEntryMatrix(inputs, order);
  for (int i = 1; i <= order; ++i)
    for (int j = i; j <= order; ++j) saved.correlations[i][j] = saved.correlations[j][i] = i == j ? 1.0 : shown[i][j];
  saved.matrixOrder = order;
  std::string reason;
  if (!ReplaceTextFile(path, FormatSavedInputs(profile.SavedInputsLayout(), SavedInputsOf(saved, profile)), reason,
                       false, tLinkedName::Refuse)) {
    services.Error("The inputs could not be saved in the file\r" + path + "\r\r" + reason + ".");
    return outcome;
  }
  lastFile = path;
  outcome.inputsSaved = true;
  return outcome;
}
