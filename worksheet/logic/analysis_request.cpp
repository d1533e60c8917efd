#include "worksheet/logic/analysis_request.h"

#include <exception>

#include "engine/compare_two_cases.h"
#include "matrix/matrix_operations.h"
#include "worksheet/logic/analysis_report.h"

tAnalysis RunAnalysis(const tAnalysisRequest& request, const tReportFrame* frame, bool reportAlreadyStands,
                      tReportLines& lines) {
  tAnalysis analysis;
  if (!IsPositiveDefinite(request.k + 1, request.R)) {
    analysis.outcome = tAnalysisOutcome::NotPositiveDefinite;
    return analysis;
  }
  const bool twoSided = request.interval == tIntervalChoice::TwoSided;
  try {
    const int linesBefore = lines.Count();
    CompareTwoCases(request.k, request.n, request.caseA, request.caseB, request.sds, request.means, request.R,
                    request.confidenceLevel, twoSided, analysis.results, analysis.conditionalSd, lines,
                    request.diagnosticLines);
    if (frame != nullptr)
      WriteAnalysisReport(*frame, request, analysis.results, analysis.conditionalSd,
                          reportAlreadyStands || lines.Count() > linesBefore, lines);
  } catch (const std::exception& error) {
    analysis.outcome = tAnalysisOutcome::Failed;
    analysis.failure = error.what();
  } catch (...) {
    analysis.outcome = tAnalysisOutcome::Failed;  // failure stays empty: nothing says what
  }
  return analysis;
}
