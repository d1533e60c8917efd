// One analysis of two cases against a control sample, as every program
// runs it: the request (the controls' summary statistics, the two cases,
// the confidence level and the kind of interval), the check that the
// correlation matrix is positive definite, the two-case test and the
// report lines. The raw-data flow, the summary-data flow and the batch
// tool all go through RunAnalysis.
#pragma once

#include <string>

#include "core/extended.h"
#include "core/report_lines.h"
#include "engine/analysis_results.h"
#include "matrix/tmatrix.h"
#include "worksheet/logic/program_profile.h"

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
};

struct tReportFrame;

// ZeroVariance: a raw-data variable with the same value for every control
// (found before the request is made). Cancelled: the user stopped the
// work (its report sink threw tWorkCancelled).
enum class tAnalysisOutcome { Done, ZeroVariance, NotPositiveDefinite, Failed, Cancelled };

struct tAnalysis {
  tAnalysisOutcome outcome = tAnalysisOutcome::Done;
  std::string failure;  // Failed: what the engine or the report writer raised
  AnalysisResults results{};
  extended conditionalSd = 0;
};

// Checks the request (a correlation matrix that is not positive definite
// stops it before the engine), runs CompareTwoCases and, when frame is
// given, appends the report to lines after the engine's diagnostic lines.
// reportAlreadyStands: the place the lines go to already holds lines, so
// the report opens with its separator (the diagnostic lines count too).
// Whatever the engine or the writer raises becomes Failed (tWorkCancelled
// Cancelled); lines may then hold part of the output and must be
// discarded. When the engine fails for a value so far from the controls
// that no limits can be found, failure names that value instead of the
// engine's guess at a cause.
tAnalysis RunAnalysis(const tAnalysisRequest& request, const tReportFrame* frame, bool reportAlreadyStands,
                      tReportLines& lines);

// An analysis with its lines, as a compute flow hands it on: when Done,
// the engine's diagnostic lines (if asked for) and then the whole report;
// otherwise no lines and the text of the box that stops the compute.
// A case's score (or a mean) lying more than this many control SDs from
// the other is named as the cause when the analysis fails.
constexpr extended FarOutStandardDeviations = 100;

// The text naming the value that lies furthest from the controls, more
// than FarOutStandardDeviations of them, as too large to analyse; empty
// when no value lies that far.
std::string FarOutValueMessage(const tAnalysisRequest& request);

struct tReportedAnalysis {
  tAnalysisOutcome outcome = tAnalysisOutcome::Done;
  std::string message;
  tAnalysisRequest request;
  tAnalysis analysis;
  tLineList lines;
};
