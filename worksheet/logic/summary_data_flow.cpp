#include "worksheet/logic/summary_data_flow.h"

#include <algorithm>
#include <utility>

#include "analysis/control_sample.h"
#include "report/analysis_summary.h"
#include "validation/validation.h"
#include "validation/validation_messages.h"

namespace {

// Opens the box that shows what the engine raised.
constexpr const char* AnalysisFailedText =
    "The analysis could not be carried out with these inputs; please check the values entered. "
    "The computation reported:\r\r";

int ClampedOrder(int order) { return std::clamp(order, 0, StoredCorrelationsCapacity); }

}  // namespace

tStoredCorrelations InitialEntryMatrix(const tWorksheetInputs& inputs, int order) {
  const bool fromStored = inputs.matrixEntered || inputs.matrixRestored;
  tStoredCorrelations matrix;
  order = ClampedOrder(order);
  for (int i = 1; i <= order; ++i)
    for (int j = 1; j <= order; ++j) matrix[i][j] = fromStored ? inputs.correlations[i][j] : (i == j ? 1.0 : 0.0);
  return matrix;
}

tAnalysisRequest SummaryRequest(const tWorksheetInputs& inputs, const tProgramProfile& profile, int N, int k,
                                const tNoticeHook& notice) {
  tAnalysisRequest request;
  request.k = k;
  request.n = N;
  request.interval = inputs.interval;
  request.confidenceLevel = profile.confidenceLevel;
  const int order = ClampedOrder(k + 1);
  for (int v = 1; v <= order; ++v) {
    const int row = v - 1;
    request.means[v] = ReadCellNumber(inputs.grid.Cell(MeanColumn, row), notice);
    request.sds[v] = ReadCellNumber(inputs.grid.Cell(SdColumn, row), notice);
    request.caseA[v] = ReadCellNumber(inputs.grid.Cell(CaseAColumn, row), notice);
    request.caseB[v] = ReadCellNumber(inputs.grid.Cell(CaseBColumn, row), notice);
    for (int j = 1; j <= order; ++j) request.R[v][j] = static_cast<extended>(inputs.correlations[v][j]);
    request.variableNames.push_back(inputs.grid.Cell(NameColumn, row));
  }
  return request;
}

tAnalysisRecord AnalyseSummaryData(const tWorksheetInputs& inputs, const tProgramProfile& profile, int N, int k,
                                   int earlierLines, const tNoticeHook& notice) {
  const tAnalysisRequest request = SummaryRequest(inputs, profile, N, k, notice);
  tControlSample controls;
  controls.source = tControlsSource::SavedInputs;
  controls.k = request.k;
  controls.R = request.R;
  tAnalysisRecord record;
  record.request = request;
  record.outcome = CheckControlSample(controls, record.message);
  if (record.outcome != tAnalysisOutcome::Done) return record;
  const tReportFrame frame = ReportFrameOf(inputs, profile);
  tLineList written;
  record = RunReportedAnalysis(request, &frame, earlierLines > 0, written);
  if (record.outcome == tAnalysisOutcome::Done) record.lines = std::move(written);
  if (record.outcome == tAnalysisOutcome::NotPositiveDefinite) record.message = NotPositiveDefiniteMessage;
  if (record.outcome == tAnalysisOutcome::Failed) record.message = std::string(AnalysisFailedText) + record.failure;
  return record;
}

tComputeOutcome ComputeSummaryData(tWorksheetInputs& inputs, const tProgramProfile& profile,
                                   const tComputeContext& context, tPlatformServices& services,
                                   tMatrixEntry& matrixEntry) {
  tComputeOutcome outcome;
  const tNoticeHook notice = services.NoticeHook();

  // Steps 1 to 3: the number of covariates, the sample size, N - 1 > k.
  tCounts counts;
  outcome.focusField = ReadCountFields(inputs, profile, notice, counts);
  if (outcome.focusField) return outcome;
  const int N = counts.sampleSize;
  const int k = counts.covariates;
  const int order = k + 1;

  // The grid holds exactly the rows the analysis reads (its rows follow
  // the covariates field, but a text such as "2 " or "3.0" passes the
  // count check without having resized it).
  if (inputs.grid.RowCount() != order) {
    inputs.grid.SetRowCount(order);
    inputs.grid.NumberRows();
  }

  // Step 4: every number in the grid.
  outcome.focusCell = CheckGridCells(inputs.grid, order, SdHeading, notice);
  if (outcome.focusCell) return outcome;

  // Step 5: the correlation matrix; going back to the worksheet changes
  // nothing.
  tStoredCorrelations entered = InitialEntryMatrix(inputs, order);
  if (!matrixEntry.EnterCorrelations(entered, order)) return outcome;
  for (int i = 1; i <= order; ++i)
    for (int j = 1; j <= order; ++j) inputs.correlations[i][j] = entered[i][j];
  inputs.matrixOrder = order;
  inputs.matrixEntered = true;

  // Step 6: the inputs are saved before the matrix is tested.
  outcome.inputsSaved =
      SaveWorksheetInputs(inputs, profile, context.savedInputsPath, services, context.restoredFromPath);

  // Steps 7 to 11. The report is complete before the first line reaches
  // the results.
  services.SetBusyCursor(true);
  services.ProcessPendingEvents();
  tAnalysisRecord analysis = AnalyseSummaryData(inputs, profile, N, k, context.reportLineCount, notice);
  services.SetBusyCursor(false);
  if (analysis.outcome != tAnalysisOutcome::Done) {
    services.Error(analysis.message);
    if (analysis.outcome == tAnalysisOutcome::NotPositiveDefinite) outcome.focusField = 1;
    return outcome;
  }

  // Step 12.
  outcome.showResults = true;
  outcome.report = std::move(analysis.lines.lines);
  outcome.figure = AnalysisFigureOf(analysis, TaskName(analysis.request));
  outcome.summary = AnalysisSummary(analysis, analysis.request.variableNames);
  return outcome;
}
