// The difference between the two cases' task scores set against the
// difference that the controls' regression of the task on the covariates
// predicts from the cases' covariate scores: what the two-case test and
// the figure of an analysis are both built on.
#pragma once

#include "core/extended.h"
#include "distrib/constants.h"
#include "matrix/tmatrix.h"

// The conditional SD of the difference between two controls' task scores
// from the task's conditional SD (the residual SD given the covariates):
// sqrt(2), the SD of the difference between two independent scores in
// units of their common SD, times it.
inline extended ConditionalSdOfDifference(extended conditionalSd) { return conditionalSd * Sqrt2; }

struct tCaseDifference {
  tVector beta;                   // the task's regression: intercept, then covariates 1..k
  tVector d;                      // (1, xA1..xAk) - (1, xB1..xBk): 0 first, then the covariate differences
  extended observed = 0;          // Case A's task score minus Case B's
  extended predicted = 0;         // beta . d, the difference the covariates predict
  extended v = 0;                 // d' (X'X)^-1 d: the prediction's variance in units of the residual variance
  extended residualVariance = 0;  // s^2 of the task given the covariates (divisor n - k - 1)
  // The standard error the two-case test divides observed - predicted by:
  // s sqrt(2 + v), and s sqrt 2 when the covariate scores are identical.
  extended standardError = 0;
  bool equalCovariates = true;    // every covariate score the same, exactly (d = 0)
};

// Fits the regression of the task (position 1) on the k covariates from
// the controls' summary statistics (FitCovariateRegression) and sets the
// cases against it: d the covariate difference, the predicted difference
// beta . d and v = d' (X'X)^-1 d, the variance of a predicted difference
// of two new observations in units of the residual variance (Seber and
// Lee (2003), section 5.3). The
// standard error of observed - predicted, for two controls with the cases'
// covariate scores, is sqrt(residualVariance x (2 + v)) (standardError,
// the one place it is formed). Same preconditions as CompareTwoCases.
tCaseDifference CaseDifference(int k, int n, const tVector& caseA, const tVector& caseB, const tVector& sds,
                               const tVector& means, const tMatrix& R);
