#include "analysis/analysis_request.h"

#include <cmath>
#include <exception>
#include <utility>

#include "core/progress.h"
#include "core/text_format.h"
#include "distrib/t_distribution.h"
#include "engine/compare_two_cases.h"
#include "matrix/matrix_operations.h"
#include "formats/raw_data_file.h"

std::string LevelText(extended level) { return FormatC("%.10Lg", level); }

namespace {

// The t value with upperTail of Student's t on df degrees of freedom above
// it. A batch run asks for the same two on every pair (one df, one- and
// two-tailed): the last two found on this thread are kept, which halves
// the time a pair takes.
extended CriticalT(extended df, extended upperTail) {
  struct tKept {
    extended df = 0, upperTail = 0, t = 0;
  };
  thread_local tKept kept[2];
  thread_local int next = 0;
  for (const tKept& k : kept)
    if (k.df > 0 && k.df == df && k.upperTail == upperTail) return k.t;
  tT_distribution t(df);
  const extended value = t.Quantile(1 - upperTail);
  kept[next] = tKept{df, upperTail, value};
  next = 1 - next;
  return value;
}

}  // namespace

extended DifferenceNeeded(const tCaseDifference& working, const AnalysisResults& results, extended alpha,
                          bool twoTailed) {
  const extended critical = CriticalT(results.df, twoTailed ? alpha / 2 : alpha);
  const extended side = results.tValue < 0 ? -1 : 1;
  return working.predicted + side * critical * working.standardError;
}

std::string TaskName(const tAnalysisRequest& request) {
  return request.variableNames.empty() ? std::string() : request.variableNames.front();
}

tAnalysisRecord RunAnalysis(const tAnalysisRequest& request, tReportLines& lines) {
  tAnalysisRecord record;
  record.request = request;
  if (!IsPositiveDefinite(request.k + 1, request.R)) {
    record.outcome = tAnalysisOutcome::NotPositiveDefinite;
    return record;
  }
  const bool twoSided = request.interval == tIntervalChoice::TwoSided;
  try {
    CompareTwoCases(request.k, request.n, request.caseA, request.caseB, request.sds, request.means, request.R,
                    request.confidenceLevel, twoSided, record.results, record.conditionalSd, lines,
                    request.diagnosticLines, record.working);
    record.differenceNeededOneTailed = DifferenceNeeded(record.working, record.results, DifferenceNeededLevel, false);
    record.differenceNeededTwoTailed = DifferenceNeeded(record.working, record.results, DifferenceNeededLevel, true);
  } catch (const tWorkCancelled&) {
    record.outcome = tAnalysisOutcome::Cancelled;
  } catch (const std::exception& error) {
    RecordFailure(record, error.what());
  } catch (...) {
    RecordFailure(record, std::string());  // nothing says what
  }
  return record;
}

void RecordFailure(tAnalysisRecord& record, std::string raised) {
  record.outcome = tAnalysisOutcome::Failed;
  record.failure = std::move(raised);
  if (std::string farOut = FarOutValueMessage(record.request); !farOut.empty()) record.failure = std::move(farOut);
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
