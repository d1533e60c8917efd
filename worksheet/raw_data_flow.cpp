#include "worksheet/raw_data_flow.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "engine/compare_two_cases.h"
#include "matrix/matrix_operations.h"
#include "matrix/raw_data_statistics.h"
#include "worksheet/raw_data_file.h"
#include "worksheet/worksheet_settings.h"

namespace {

// The folder the open dialog starts in: the process's current folder
// (empty, so the dialog picks its own, when that folder is gone).
std::string CurrentFolder() {
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::current_path(ec);
  return ec ? std::string() : folder.string();
}

bool BlankName(const std::string& name) {
  return name.find_first_not_of(" \t") == std::string::npos;
}

// Sets the cursor back to normal, shows an error box and, when focusField
// is not 0, puts the focus in that worksheet field.
void Refuse(TfrmTemplate& form, const std::string& message, int focusField) {
  form.Services().SetBusyCursor(false);
  form.Services().Error(message);
  if (focusField != 0) form.FocusField(focusField);
}

}  // namespace

tRawDataLoad LoadRawDataFile(tPlatformServices& services, int rows, int columns, tData_matrix& RawDataTable) {
  tRawDataLoad load;
  FillDataMatrixMissing(RawDataTable);
  const std::optional<std::string> chosen = services.AskOpenFileName(CurrentFolder(), RawDataFileFilter);
  if (!chosen || BlankName(*chosen)) return load;  // Cancelled

  load.fileName = *chosen;
  services.SetBusyCursor(true);
  const tRawDataReadResult read = ReadRawDataFile(load.fileName, rows, columns, RawDataTable);
  services.SetBusyCursor(false);
  if (!read.loaded) {
    load.outcome = tRawDataLoadOutcome::Refused;
    services.Error(read.message);
    return load;
  }
  load.outcome = tRawDataLoadOutcome::Loaded;
  services.Inform(read.message);
  return load;
}

tRawAnalysis AnalyseRawData(const tData_matrix& table, int n, int k, tReportInputs inputs, int earlierLines) {
  tRawAnalysis analysis;
  const int variables = k + 1;

  // A variable equal for every control has no variance: its correlations
  // would be 0/0.
  if (const int constant = FindZeroVarianceColumn(table, n, variables); constant != 0) {
    analysis.outcome = tRawAnalysisOutcome::ZeroVariance;
    analysis.message = ZeroVarianceMessage(constant);
    return analysis;
  }
  SummaryFromRawData(table, n, variables, analysis.sds, analysis.means, analysis.R);
  DataRow(table, n + 1, variables, analysis.caseA);
  DataRow(table, n + 2, variables, analysis.caseB);

  if (!IsPositiveDefinite(variables, analysis.R)) {
    analysis.outcome = tRawAnalysisOutcome::NotPositiveDefinite;
    analysis.message = RawDataNotPositiveDefiniteMessage;
    return analysis;
  }

  inputs.program = tReportProgram::RawData;
  SetReportStatistics(inputs, k, analysis.means, analysis.sds, analysis.caseA, analysis.caseB, analysis.R);
  inputs.rawData = &table;
  inputs.controlCount = n;

  const bool twoSided = inputs.interval == tIntervalChoice::TwoSided;
  const bool diagnosticLines = true;
  try {
    CompareTwoCases(k, n, analysis.caseA, analysis.caseB, analysis.sds, analysis.means, analysis.R,
                    RawDataConfidenceLevel, twoSided, analysis.results, analysis.conditionalSd, analysis.lines,
                    diagnosticLines);
    const bool reportAlreadyStands = earlierLines + analysis.lines.Count() > 0;
    WriteAnalysisReport(inputs, analysis.results, analysis.conditionalSd, reportAlreadyStands, analysis.lines);
  } catch (const std::exception& error) {
    analysis.outcome = tRawAnalysisOutcome::Failed;
    analysis.message = error.what();
    analysis.lines.lines.clear();
    return analysis;
  }
  return analysis;
}

void tRawDataFlow::cmdComputeClick(TfrmTemplate& form) {
  tPlatformServices& services = form.Services();

  // Steps 1-3: the two fields, their rules and the cross-field rule; the
  // window shows the box and focuses the field concerned.
  int n = 0;
  int k = 0;
  if (!form.ReadCountFields(n, k)) return;

  // Step 4: n and k are kept even when no file is loaded.
  form.SaveCurrentData();

  // Steps 5-6. The busy cursor is shown only while the program works: not
  // while the user chooses the file or reads a box, where it would look
  // as though the program hung.
  tData_matrix RawDataTable;
  const tRawDataLoad load = LoadRawDataFile(services, n + 2, k + 1, RawDataTable);
  if (load.outcome == tRawDataLoadOutcome::Cancelled) {
    services.Inform(LoadCancelledMessage);
    return;
  }
  if (load.outcome == tRawDataLoadOutcome::Refused) return;  // the reader's box was shown

  // Steps 7-10, then the report, all into a line list first.
  services.SetBusyCursor(true);
  tReportInputs inputs = form.ReportInputs(tReportProgram::RawData);
  inputs.dataFileName = load.fileName;
  tReportLines* sink = form.ReportSink();
  const tRawAnalysis analysis = AnalyseRawData(RawDataTable, n, k, std::move(inputs), sink ? sink->Count() : 0);
  switch (analysis.outcome) {
    case tRawAnalysisOutcome::Done: break;
    case tRawAnalysisOutcome::ZeroVariance:
    case tRawAnalysisOutcome::NotPositiveDefinite: Refuse(form, analysis.message, 1); return;
    case tRawAnalysisOutcome::Failed: Refuse(form, analysis.message, 0); return;
  }

  // Steps 11-12.
  services.SetBusyCursor(false);
  form.ShowResultsWindow();
  if (sink == nullptr) return;
  for (const std::string& line : analysis.lines.lines) sink->Add(line);
}
