// One analysis of two cases against a control sample, as every front end
// runs it: the request (the controls' summary statistics, the two cases,
// the confidence level and the kind of interval), the check that the
// correlation matrix is positive definite, and the two-case test. Its
// answer is one record holding everything the outputs read: the results,
// the conditional SD, the branch the engine took and the regression's
// working values, so that no report, figure or table fits the regression
// again. The raw-data flow, the summary-data flow and the batch tool all
// go through RunAnalysis (report/analysis_report.h adds the report).
#pragma once

#include <string>
#include <vector>

#include "core/extended.h"
#include "core/report_lines.h"
#include "engine/analysis_results.h"
#include "engine/case_difference.h"
#include "matrix/tmatrix.h"

// The confidence level of every interval the programs compute, in percent.
inline constexpr extended DefaultConfidenceLevel = 95;

// A confidence level as the texts show it: a whole level without decimals
// ("90"), any other with the decimals it has ("99.5").
std::string LevelText(extended level);

// The interval item selected in the worksheet's radio group.
enum class tIntervalChoice { TwoSided, OneSidedLower, OneSidedUpper };

struct tAnalysisRequest {
  int k = 0;  // number of covariates; vectors and matrix use positions 1..k + 1
  int n = 0;  // number of controls
  tVector means;  // position 1 the task, 2..k + 1 the covariates
  tVector sds;
  tVector caseA;
  tVector caseB;
  tMatrix R;  // correlations, order k + 1
  extended confidenceLevel = DefaultConfidenceLevel;  // percent
  tIntervalChoice interval = tIntervalChoice::TwoSided;
  // The engine's working lines ("TESTING: ...") precede the report.
  bool diagnosticLines = false;
  // The variables' names as the program knows them, the task's first: a
  // data file's line of names, or the Name column of the summary-data
  // grid (a name may be empty; no names at all when none are known). The
  // figure and the outputs after the report show them; the report's own
  // table takes its names from its frame.
  std::vector<std::string> variableNames;
};

// The task's name in the request; empty when none is known.
std::string TaskName(const tAnalysisRequest& request);

// ZeroVariance: a raw-data variable with the same value for every control
// (found when the control sample is made). Cancelled: the user stopped the
// work (its report sink threw tWorkCancelled).
enum class tAnalysisOutcome { Done, ZeroVariance, NotPositiveDefinite, Failed, Cancelled };

// One analysis and what it gave.
struct tAnalysisRecord {
  tAnalysisOutcome outcome = tAnalysisOutcome::Done;
  std::string failure;  // Failed: what the engine or the report writer raised
  std::string message;  // not Done: the text of the box a front end shows (set by the flows)
  tAnalysisRequest request;
  // Done: the engine's figures, the residual SD of the task given the
  // covariates, and the regression the test was built on (its
  // equalCovariates is the branch taken).
  AnalysisResults results{};
  extended conditionalSd = 0;
  tCaseDifference working;
  // Done: the difference needed. For the cases' covariate scores, the
  // difference between their task scores (Case A - Case B) at which the
  // test gives p = DifferenceNeededLevel exactly, one-tailed and
  // two-tailed; a difference at or beyond it, away from the predicted
  // one, is significant at that level. It lies on the side of the
  // prediction the observed difference lies on (above it for tValue >= 0,
  // as the one-tailed test looks), whether or not the observed difference
  // reached it. See DifferenceNeeded.
  extended differenceNeededOneTailed = 0;
  extended differenceNeededTwoTailed = 0;
  // The lines written for it: the engine's working lines when asked for,
  // then the report when one was written.
  tLineList lines;
};

// The significance level of the difference needed.
inline constexpr extended DifferenceNeededLevel = 0.05L;

// The difference needed for significance at level alpha (one-tailed, or
// two-tailed when twoTailed), from the working values of the test:
//   predicted + sign x t(1 - alpha') x standardError,
// alpha' = alpha one-tailed and alpha / 2 two-tailed, t the quantile of
// Student's t on df degrees of freedom (the test's own distribution), sign
// -1 when tValue < 0 and +1 otherwise. Accuracy: that of the t quantile
// (absolute 5e-12 on the t scale) times the standard error.
extended DifferenceNeeded(const tCaseDifference& working, const AnalysisResults& results, extended alpha,
                          bool twoTailed);

// Checks the request (a correlation matrix that is not positive definite
// stops it before the engine) and runs CompareTwoCases (Done: the
// differences needed at DifferenceNeededLevel filled in), its working lines
// (if asked for) appended to lines. Whatever the engine or the sink raises
// becomes Failed (tWorkCancelled Cancelled); lines may then hold part of
// the output and must be discarded. When the engine fails for a value so
// far from the controls that no limits can be found, failure names that
// value instead of the engine's guess at a cause.
tAnalysisRecord RunAnalysis(const tAnalysisRequest& request, tReportLines& lines);

// Marks the record Failed with what was raised (a far-out value, when the
// request holds one, is named instead).
void RecordFailure(tAnalysisRecord& record, std::string raised);

// A case's score (or a mean) lying more than this many control SDs from
// the other is named as the cause when the analysis fails.
constexpr extended FarOutStandardDeviations = 100;

// The text naming the value that lies furthest from the controls, more
// than FarOutStandardDeviations of them, as too large to analyse; empty
// when no value lies that far.
std::string FarOutValueMessage(const tAnalysisRequest& request);
