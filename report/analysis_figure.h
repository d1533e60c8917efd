// The figure of one analysis, as numbers in the task's units: the
// estimated distribution of the difference between two controls who have
// the cases' covariate scores, the cases' observed difference on it, the
// tail beyond that difference (its area is the report's point estimate of
// the percentage) and the interval on Z-PCCC. FigureDrawing
// lays these out as a drawing.
//
// The curve is the distribution the report's percentage is taken from:
// the difference the covariates predict plus a Student t on n - k - 1 df
// scaled by the t test's standard error s sqrt(2 + v). (A normal curve
// with the conditional SD of the difference, s sqrt 2, would put 2.28% of
// controls beyond the worked cases' difference instead of the 4.8036% the
// report estimates; it leaves out the uncertainty of the sample's
// regression.) Z-PCCC, on the other hand, is in units of s sqrt 2, and
// its limits are shown as predicted + z s sqrt 2.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/analysis_request.h"

struct tFigurePoint {
  double x = 0;        // a difference in the task's units
  double density = 0;  // the curve's height there, per unit of the task
};

struct tAnalysisFigure {
  std::string taskName;  // as the program shows it; empty when it knows none

  double observed = 0;          // the cases' difference, Case A - Case B
  double predicted = 0;         // the difference their covariates predict: the curve's centre
  double scale = 0;             // the curve's scale s sqrt(2 + v)
  double degreesOfFreedom = 0;  // n - k - 1
  double conditionalSdOfDifference = 0;  // s sqrt 2, one unit of Z-PCCC

  double zPccc = 0, zPcccLower = 0, zPcccUpper = 0;
  double intervalLow = 0, intervalHigh = 0;  // the Z-PCCC limits in the task's units
  double confidenceLevel = DefaultConfidenceLevel;  // percent
  bool twoSided = true;                      // the limits form a two-sided interval

  bool lowerTail = true;    // the shaded tail lies below the observed difference
  double tailPercent = 0;   // the report's point estimate of the percentage

  double axisLow = 0, axisHigh = 0;  // the horizontal axis
  std::vector<double> ticks;         // round values on it, ascending
  std::vector<tFigurePoint> curve;   // the density across the axis, x ascending; holds the
                                     // observed and the predicted difference exactly
  std::vector<tFigurePoint> tail;    // the curve from the axis end to the observed difference
                                     // (x ascending), the part shaded
};

// The figure of an analysis that is Done, from its record (the regression
// is not fitted again); nullopt otherwise, and when the
// figures are not finite numbers (nothing sensible can be drawn).
// taskName: the task's name where the program knows one.
std::optional<tAnalysisFigure> AnalysisFigureOf(const tAnalysisRecord& record, const std::string& taskName);

// One sentence saying what the figure shows, with its numbers.
std::string FigureCaption(const tAnalysisFigure& figure);
// The horizontal axis' label, in the task's units.
std::string FigureAxisLabel(const tAnalysisFigure& figure);
// A difference in the task's units as the figure writes it: three
// decimals, or four significant digits for tasks of very small or very
// large scores.
std::string FigureValueText(const tAnalysisFigure& figure, double value);
// The label of the interval: "95% CI on Z-PCCC" or "one-sided 95% limits on Z-PCCC".
std::string FigureIntervalName(const tAnalysisFigure& figure);
