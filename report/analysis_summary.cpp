#include "report/analysis_summary.h"

#include <cmath>

#include "core/text_characters.h"
#include "core/text_format.h"
#include "core/text_lines.h"

namespace {

// Below this a p value is written "p < .001"; from the other bound on it
// would round to 1.000 and is written "p > .999".
constexpr extended SmallestExactP = 0.001L;
constexpr extended LargestExactP = 0.9995L;
// Percentages that two decimals would show as 0.00% or 100.00%.
constexpr extended SmallestShownPercent = 0.005L;
constexpr extended LargestShownPercent = 99.995L;

// "0.048" -> ".048", "-0.5" -> "-.5".
std::string WithoutLeadingZero(std::string text) {
  const std::size_t zero = text.find("0.");
  if (zero == 0 || (zero == 1 && text[0] == '-')) text.erase(zero, 1);
  return text;
}

std::string Name(const std::vector<std::string>& names, int v) {
  const std::string name = v <= static_cast<int>(names.size()) ? Trimmed(names[v - 1]) : std::string();
  if (name.empty()) return v == 1 ? "Task of Interest" : "Covariate " + std::to_string(v - 1);
  std::string shown = ShownTextClipped(name, LongestSummaryName);
  if (CharacterCount(name) > static_cast<int>(LongestSummaryName)) shown += "...";
  return shown;
}

// "A", "A and B", "A, B and C".
std::string Covariates(const std::vector<std::string>& names, int k) {
  std::string list;
  for (int j = 1; j <= k; ++j) {
    if (j > 1) list += j == k ? " and " : ", ";
    list += Name(names, j + 1);
  }
  return list;
}

std::string Points(extended value) { return ApaFixed2(value) + " points"; }

// "t(8) = -1.89, p = .048 (one-tailed; two-tailed p = .096)"
std::string TestText(const AnalysisResults& r) {
  return FormatC("t(%.0Lf) = ", r.df) + ApaFixed2(r.tValue) + ", " + ApaPValue(r.pOneTailed) +
         " (one-tailed; two-tailed " + ApaPValue(r.pTwoTailed) + ")";
}

std::string GeneralOpening(const tAnalysisRecord& record, const std::vector<std::string>& names) {
  const tCaseDifference& w = record.working;
  const int k = record.request.k;
  const std::string covariates = Covariates(names, k);
  const std::string task = Name(names, 1);
  const std::string predicts = k == 1 ? "the covariate predicts" : "the covariates predict";
  const extended beyond = w.observed - w.predicted;
  if (record.results.tValue == 0)
    return "After allowing for " + covariates + ", Case A's and Case B's scores on " + task +
           " differ by exactly the " + Points(w.predicted) + " (Case A - Case B) that " + predicts + ", " +
           TestText(record.results) + ".";
  const bool lower = record.results.tValue < 0;
  return "After allowing for " + covariates + ", Case A's score on " + task + " is " +
         (lower ? "lower" : "higher") + " than Case B's: their difference of " + Points(w.observed) +
         " (Case A - Case B) lies " + Points(std::fabs(beyond)) + (lower ? " below" : " above") +
         " the difference of " + Points(w.predicted) + " that " + predicts + ", " + TestText(record.results) + ".";
}

std::string EqualCovariatesOpening(const tAnalysisRecord& record, const std::vector<std::string>& names) {
  const int k = record.request.k;
  const std::string task = Name(names, 1);
  std::string text = std::string("Case A and Case B have the same ") + (k == 1 ? "score" : "scores") + " on " +
                     Covariates(names, k) + ", so no covariate adjustment of the difference was needed. ";
  const extended observed = record.working.observed;
  if (record.results.tValue == 0)
    return text + "Their scores on " + task + " are the same, " + TestText(record.results) + ".";
  return text + "Case A's score on " + task + " is " + (observed < 0 ? "lower" : "higher") + " than Case B's by " +
         Points(std::fabs(observed)) + ", " + TestText(record.results) + ".";
}

std::string EffectSizeText(const tAnalysisRecord& record) {
  const AnalysisResults& r = record.results;
  const std::string level = LevelText(record.request.confidenceLevel) + "%";
  if (record.request.interval == tIntervalChoice::TwoSided)
    return "Z-PCCC = " + ApaFixed2(r.zPccc) + ", " + level + " CI [" + ApaFixed2(r.zPcccLower) + ", " +
           ApaFixed2(r.zPcccUpper) + "].";
  return "Z-PCCC = " + ApaFixed2(r.zPccc) + ", one-sided " + level + " limits " + ApaFixed2(r.zPcccLower) +
         " and " + ApaFixed2(r.zPcccUpper) + ".";
}

std::string PercentageText(const tAnalysisRecord& record) {
  const AnalysisResults& r = record.results;
  const std::string level = LevelText(record.request.confidenceLevel) + "%";
  std::string limits;
  switch (record.request.interval) {
    case tIntervalChoice::TwoSided:
      limits = level + " CI " + ApaPercent(r.pctLower) + " to " + ApaPercent(r.pctUpper);
      break;
    case tIntervalChoice::OneSidedLower:
      limits = "one-sided " + level + " lower limit " + ApaPercent(r.pctLower);
      break;
    case tIntervalChoice::OneSidedUpper:
      limits = "one-sided " + level + " upper limit " + ApaPercent(r.pctUpper);
      break;
  }
  return "An estimated " + ApaPercent(r.pctEstimate) +
         " of the control population would show a larger difference in the same direction (" + limits + ").";
}

// "at least 14.67 points (Case A below Case B)"; "at most" when the
// difference needed lies on the other side of zero from the side the
// test looks to (a prediction far to that side). withSide: name the side.
std::string NeededText(extended needed, bool lookingDown, bool withSide) {
  const bool below = needed != 0 ? needed < 0 : lookingDown;
  std::string text = std::string(below == lookingDown ? "at least " : "at most ") + Points(std::fabs(needed));
  if (withSide) text += below ? " (Case A below Case B)" : " (Case A above Case B)";
  return text;
}

std::string DifferenceNeededText(const tAnalysisRecord& record) {
  const bool lookingDown = record.results.tValue < 0;
  const extended one = record.differenceNeededOneTailed, two = record.differenceNeededTwoTailed;
  const bool sameSide = (one < 0) == (two < 0);
  const std::string level = "p < " + WithoutLeadingZero(FormatC("%.2Lf", DifferenceNeededLevel));
  return "A difference of " + NeededText(one, lookingDown, true) + " would have been needed for " + level +
         ", one-tailed, and of " + NeededText(two, lookingDown, !sameSide) + " for " + level + ", two-tailed.";
}

}  // namespace

std::string ApaFixed2(extended value) {
  std::string text = FormatC("%.2Lf", value);
  if (text == "-0.00") text = "0.00";
  return text;
}

std::string ApaPValue(extended p) {
  if (p < SmallestExactP) return "p < .001";
  if (p >= LargestExactP) return "p > .999";
  return "p = " + WithoutLeadingZero(FormatC("%.3Lf", p));
}

std::string ApaPercent(extended percent) {
  if (percent < SmallestShownPercent) return "< 0.01%";
  if (percent > LargestShownPercent) return "> 99.99%";
  return FormatC("%.2Lf%%", percent);
}

std::string AnalysisSummary(const tAnalysisRecord& record, const std::vector<std::string>& names) {
  if (record.outcome != tAnalysisOutcome::Done) return std::string();
  const std::string opening =
      record.working.equalCovariates ? EqualCovariatesOpening(record, names) : GeneralOpening(record, names);
  return opening + " " + EffectSizeText(record) + " " + PercentageText(record) + " " + DifferenceNeededText(record);
}
