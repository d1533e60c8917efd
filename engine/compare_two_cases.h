// The two-case covariate test: compares the difference between two single
// cases' task scores with the difference that the control sample's
// regression of the task on k covariates predicts from their covariate
// scores; gives the t test, the effect size Z-PCCC and the percentage of
// controls with a larger difference, each with confidence limits.
#pragma once

#include "engine/analysis_results.h"
#include "engine/case_difference.h"
#include "core/extended.h"
#include "core/report_lines.h"
#include "matrix/tmatrix.h"

// Variable order in every vector and in R: position 1 the task, positions
// 2..k+1 covariates 1..k. n is the number of controls; R (order k+1) must be
// positive definite and 1 <= k <= n - 2. confidenceLevel is in percent.
// Writes every field of results and conditionalSd (the residual SD of the
// task given the covariates); when diagnosticLines is true, appends the
// working values to report. May throw the distributions' EArgumentError
// (a noncentrality search past the noncentral t's bound) or arithmetic error.
void CompareTwoCases(int k, int n, tVector caseA, tVector caseB, tVector sds, tVector means,
                     tMatrix R, extended confidenceLevel, bool twoSided,
                     AnalysisResults& results, extended& conditionalSd, tReportLines& report,
                     const bool& diagnosticLines);

// The same, handing back in working the regression the test was built on
// (observed and predicted difference, v, the residual variance and the
// branch taken), so that the outputs read it instead of fitting it again.
void CompareTwoCases(int k, int n, tVector caseA, tVector caseB, tVector sds, tVector means,
                     tMatrix R, extended confidenceLevel, bool twoSided,
                     AnalysisResults& results, extended& conditionalSd, tReportLines& report,
                     const bool& diagnosticLines, tCaseDifference& working);
