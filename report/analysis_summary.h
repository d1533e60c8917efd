// The summary in words: one paragraph that puts an analysis the way a
// clinical report or a paper would, its numbers in APA style (t and Z-PCCC
// with two decimals, p without a leading zero and "p < .001" below .001,
// the interval in brackets with the analysis' confidence level), saying
// which case is the lower after allowing for the covariates, and how far
// apart the two scores would have had to be for p < .05. It stands beside
// the report, never in it: the report's text is unchanged.
#pragma once

#include <string>
#include <vector>

#include "analysis/analysis_request.h"

// The paragraph of an analysis that is Done (empty otherwise). names: the
// variables' names as the program shows them (a summary-data grid's Name
// column or a data file's line of names), the task's first, then
// covariates 1..k; a name that is missing or blank is "Task of Interest"
// or "Covariate j". Names are shown as text (ShownText), clipped to
// LongestSummaryName characters.
std::string AnalysisSummary(const tAnalysisRecord& record, const std::vector<std::string>& names);

// Longest name the summary shows whole, in characters.
inline constexpr std::size_t LongestSummaryName = 40;

// The pieces of the paragraph, in APA style.
// A p value: "p = .048", "p < .001", "p > .999".
std::string ApaPValue(extended p);
// A statistic or a difference with two decimals ("-1.89"); never "-0.00".
std::string ApaFixed2(extended value);
// A percentage: "4.80%", "< 0.01%" below 0.005, "> 99.99%" above 99.995.
std::string ApaPercent(extended percent);
