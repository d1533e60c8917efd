#include "worksheet/logic/raw_data_flow.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "analysis/control_sample.h"
#include "core/text_lines.h"
#include "matrix/raw_data_statistics.h"
#include "validation/validation_messages.h"
#include "formats/raw_data_file.h"
#include "report/analysis_summary.h"

namespace {

// The folder the open dialog starts in: the process's current folder
// (empty, so the dialog picks its own, when that folder is gone).
std::string CurrentFolder() {
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::current_path(ec);
  return ec ? std::string() : folder.string();
}

bool BlankName(const std::string& name) { return Trimmed(name).empty(); }

// Hands lines on to another sink and asks progress every so many lines,
// the share taken against the lines expected; throws tWorkCancelled when
// it answers false.
class tProgressLines : public tReportLines {
 public:
  tProgressLines(tReportLines& to, const tProgressCheck& progress, double expectedLines)
      : to_(to), progress_(progress), expected_(expectedLines) {}
  void Add(const std::string& line) override {
    to_.Add(line);
    if (progress_ && ++added_ % CheckInterval == 0 && !progress_(std::min(1.0, added_ / expected_)))
      throw tWorkCancelled{};
  }
  int Count() const override { return to_.Count(); }

 private:
  static constexpr int CheckInterval = 1 << 14;
  tReportLines& to_;
  const tProgressCheck& progress_;
  double expected_;
  int added_ = 0;
};

}  // namespace

tRawDataLoad LoadRawDataFile(tPlatformServices& services, int rows, int columns, tData_matrix& table) {
  tRawDataLoad load;
  FillDataMatrixMissing(table);
  const std::optional<std::string> chosen = services.AskOpenFileName(CurrentFolder(), RawDataFileFilter);
  if (!chosen || BlankName(*chosen)) return load;  // Cancelled

  load.fileName = *chosen;
  services.SetBusyCursor(true);
  tRawDataReadResult read;
  {
    tProgressScope progress(services);
    read = ReadRawDataFile(load.fileName, rows, columns, table, services.ProgressCheck(ReadingDataStep));
  }
  services.SetBusyCursor(false);
  if (read.cancelled) return load;  // Cancelled
  if (!read.loaded) {
    load.outcome = tRawDataLoadOutcome::Refused;
    services.Error(read.message);
    return load;
  }
  load.outcome = tRawDataLoadOutcome::Loaded;
  load.variableNames = read.layout.names;
  services.Inform(read.message);
  return load;
}

tAnalysisRecord AnalyseRawData(const tData_matrix& table, int n, int k, tReportFrame frame,
                               tIntervalChoice interval, extended confidenceLevel, int earlierLines,
                               const tProgressCheck& progress) {
  tAnalysisRecord record;
  // The windows repaint, and Cancel is heard, between the long steps too.
  auto stillWanted = [&] { return !progress || progress(0.0); };
  if (!stillWanted()) {
    record.outcome = tAnalysisOutcome::Cancelled;
    return record;
  }

  tControlSample controls;
  record.outcome = ControlSampleFromRawTable(table, n, k, frame.variableNames, controls, record.message);
  if (record.outcome != tAnalysisOutcome::Done) return record;
  tVector caseA, caseB;
  DataRow(table, n + 1, k + 1, caseA);
  DataRow(table, n + 2, k + 1, caseB);
  tAnalysisRequest request = RequestFor(controls, caseA, caseB, interval);
  request.confidenceLevel = confidenceLevel;
  request.diagnosticLines = true;
  if (!stillWanted()) {
    record.outcome = tAnalysisOutcome::Cancelled;
    return record;
  }

  frame.layout = tProgramKind::RawData;
  frame.rawData = &table;
  frame.controlCount = n;
  // The echo of the controls is most of the report.
  tLineList written;
  tProgressLines lines(written, progress, n + 100.0);
  record = RunReportedAnalysis(request, &frame, earlierLines > 0, lines);
  if (record.outcome == tAnalysisOutcome::Done) record.lines = std::move(written);
  if (record.outcome == tAnalysisOutcome::NotPositiveDefinite) record.message = RawDataNotPositiveDefiniteMessage;
  if (record.outcome == tAnalysisOutcome::Failed) record.message = record.failure;
  return record;
}

tComputeOutcome ComputeRawData(tWorksheetInputs& inputs, const tProgramProfile& profile,
                               const tComputeContext& context, tPlatformServices& services) {
  tComputeOutcome outcome;

  // Steps 1-3: the two fields, their rules and the cross-field rule.
  tCounts counts;
  outcome.focusField = ReadCountFields(inputs, profile, services.NoticeHook(), counts);
  if (outcome.focusField) return outcome;
  const int n = counts.sampleSize;
  const int k = counts.covariates;

  // Step 4: n and k are kept even when no file is loaded.
  outcome.inputsSaved =
      SaveWorksheetInputs(inputs, profile, context.savedInputsPath, services, context.restoredFromPath);

  // Steps 5-6. The busy cursor is shown only while the program works: not
  // while the user chooses the file or reads a box, where it would look
  // as though the program hung.
  tData_matrix table;
  const tRawDataLoad load = LoadRawDataFile(services, n + 2, k + 1, table);
  if (load.outcome == tRawDataLoadOutcome::Cancelled) {
    services.Inform(LoadCancelledMessage);
    return outcome;
  }
  if (load.outcome == tRawDataLoadOutcome::Refused) return outcome;  // the reader's box was shown

  // Steps 7-10, then the report, all into a line list first.
  services.SetBusyCursor(true);
  tReportFrame frame = ReportFrameOf(inputs, profile);
  frame.dataFileName = load.fileName;
  frame.variableNames = load.variableNames;
  tAnalysisRecord analysis;
  {
    tProgressScope progress(services);
    analysis = AnalyseRawData(table, n, k, std::move(frame), inputs.interval, profile.confidenceLevel,
                              context.reportLineCount, services.ProgressCheck(WritingReportStep));
  }
  services.SetBusyCursor(false);
  if (analysis.outcome == tAnalysisOutcome::Cancelled) return outcome;
  if (analysis.outcome != tAnalysisOutcome::Done) {
    services.Error(analysis.message);
    if (analysis.outcome != tAnalysisOutcome::Failed) outcome.focusField = 1;
    return outcome;
  }

  // Steps 11-12.
  outcome.showResults = true;
  outcome.report = std::move(analysis.lines.lines);
  outcome.figure = AnalysisFigureOf(analysis, TaskName(analysis.request));
  outcome.summary = AnalysisSummary(analysis, analysis.request.variableNames);
  return outcome;
}
