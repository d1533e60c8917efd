#include "analysis/analysis_request.h"

#include <cmath>
#include <exception>
#include <utility>

#include "core/progress.h"
#include "core/text_format.h"
#include "engine/compare_two_cases.h"
#include "matrix/matrix_operations.h"
#include "report/analysis_report.h"
#include "formats/raw_data_file.h"

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
  } catch (const tWorkCancelled&) {
    analysis.outcome = tAnalysisOutcome::Cancelled;
  } catch (const std::exception& error) {
    analysis.outcome = tAnalysisOutcome::Failed;
    analysis.failure = error.what();
  } catch (...) {
    analysis.outcome = tAnalysisOutcome::Failed;  // failure stays empty: nothing says what
  }
  if (analysis.outcome == tAnalysisOutcome::Failed) {
    if (std::string farOut = FarOutValueMessage(request); !farOut.empty()) analysis.failure = std::move(farOut);
  }
  return analysis;
}

// For each variable, each case's distance from the control mean in
// control SDs; the largest beyond the bound is blamed on whichever of the
// score and the mean is larger in size (a mistyped mean moves every case
// away at once).
std::string FarOutValueMessage(const tAnalysisRequest& request) {
  extended furthest = FarOutStandardDeviations;
  std::string message;
  for (int v = 1; v <= request.k + 1; ++v) {
    const std::string variable = RawVariableName(v);
    for (const bool caseA : {true, false}) {
      const extended score = caseA ? request.caseA[v] : request.caseB[v];
      const extended distance = std::fabs(score - request.means[v]) / request.sds[v];
      if (!(distance > furthest)) continue;
      furthest = distance;
      const bool meanIsLarger = std::fabs(request.means[v]) > std::fabs(score);
      const std::string value = FormatC("%.15Lg", meanIsLarger ? request.means[v] : score);
      const std::string what = meanIsLarger ? "The control mean of " + variable
                                            : std::string(caseA ? "Case A's" : "Case B's") + " score on " + variable;
      message = FormatC("%s, %s, is a value too large to analyse: %s lies %.3Lg standard deviations from %s, too "
                        "far out for the confidence limits to be found. Check this value.",
                        what.c_str(), value.c_str(),
                        meanIsLarger ? (caseA ? "Case A's score" : "Case B's score") : "it",
                        distance, meanIsLarger ? "it" : "the control mean");
    }
  }
  return message;
}
