// The two-case covariate test: compares the difference between two single
// cases' task scores with the difference that the control sample's
// regression of the task on k covariates predicts from their covariate
// scores; gives the t test, the effect size Z-PCCC and the percentage of
// controls with a larger difference, each with confidence limits.
//
// Method. The regression is fitted from the controls' summary statistics
// (FitCovariateRegression). For two new observations with covariate
// difference d, the difference between their residuals from a fitted
// linear model has variance s^2 (2 + v), v = d' (X'X)^-1 d, and
//   t = (observed - predicted) / (s sqrt(2 + v))
// is Student t on n - k - 1 df: the classical prediction result for new
// observations of a linear model (Seber, G. A. F. and Lee, A. J. (2003),
// Linear Regression Analysis, 2nd ed., Wiley, section 5.3). Its
// one-tailed probability, times 100, is the point estimate of the
// percentage of controls with a larger difference. Z-PCCC is
// (observed - predicted) / (s sqrt 2). sqrt(2/v) Z-PCCC is noncentral t
// on n - k - 1 df with noncentrality sqrt(2/v) times the population's
// Z-PCCC, so its limits come from inverting the noncentral t in its
// noncentrality (Steiger, J. H. and Fouladi, R. T. (1997), Noncentrality
// interval estimation and the evaluation of statistical models, in
// Harlow, Mulaik and Steiger (eds.), What If There Were No Significance
// Tests?, Erlbaum, 221-257); the limits on the percentage are the normal
// tail areas beyond those limits. With identical covariate scores v = 0
// and the noncentrality is undefined: the limits then come from the
// chi-square distribution of (n - k - 1) s^2 / sigma^2 (interval_estimates.h).
//
// Auxiliary routines: CaseDifference (the regression and v),
// GeneralBranchLimits and EqualCovariatesLimits (the limits), the t
// distribution's Cdf. Accuracy: t and its probabilities that of the t
// distribution function; the limits that of FindNoncentrality (a few
// units of the last place of extended precision); in practice both are
// bounded by the rounding of the summary statistics given.
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
