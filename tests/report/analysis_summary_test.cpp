// The summary in words: its numbers (from the method's worked cases, not
// from this code) and its wording on both branches, for each interval.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/report_lines.h"
#include "report/analysis_summary.h"

namespace {

// The worked controls (n = 10) with k covariates: the task's correlation
// with covariate 1 is 0.6, every other 0; Case A (40, 12, 10, ...) and
// Case B (55, covB, 10, ...).
tAnalysisRecord Worked(extended taskA, extended covB, tIntervalChoice interval, int k = 1) {
  tAnalysisRequest r;
  r.k = k;
  r.n = 10;
  for (int v = 1; v <= k + 1; ++v) {
    r.means[v] = v == 1 ? 50 : 10;
    r.sds[v] = v == 1 ? 10 : 2;
    r.caseA[v] = r.caseB[v] = 10;
    r.R[v][v] = 1;
  }
  r.R[1][2] = r.R[2][1] = 0.6L;
  r.caseA[1] = taskA, r.caseA[2] = 12, r.caseB[1] = 55, r.caseB[2] = covB;
  r.interval = interval;
  tLineList lines;
  return RunAnalysis(r, lines);
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(AnalysisSummary, TheWorkedPairReadsAsAClinicalReport) {
  EXPECT_EQ(AnalysisSummary(Worked(40, 9, tIntervalChoice::TwoSided), {}),
            "After allowing for Covariate 1, Case A's score on Task of Interest is lower than Case B's: their "
            "difference of -15.00 points (Case A - Case B) lies 24.00 points below the difference of 9.00 points "
            "that the covariate predicts, t(8) = -1.89, p = .048 (one-tailed; two-tailed p = .096). Z-PCCC = "
            "-2.00, 95% CI [-3.17, -0.80]. An estimated 4.80% of the control population would show a larger "
            "difference in the same direction (95% CI 0.08% to 21.32%). A difference of at least 14.67 points "
            "(Case A below Case B) would have been needed for p < .05, one-tailed, and of at least 20.35 points "
            "for p < .05, two-tailed.");
  tAnalysisRecord ninety = Worked(40, 9, tIntervalChoice::TwoSided);
  ninety.request.confidenceLevel = 90;  // the level the record was analysed at names the intervals
  EXPECT_TRUE(Has(AnalysisSummary(ninety, {}),
                  "90% CI [-3.17, -0.80]. An estimated 4.80% of the control population would show a larger "
                  "difference in the same direction (90% CI"));
}

TEST(AnalysisSummary, BranchesIntervalsAndNamesEachHaveTheirWords) {
  using I = tIntervalChoice;
  struct tRow {
    extended taskA, covB;
    I interval;
    int k;
    std::vector<std::string> names;
    std::vector<std::string> parts, absent;
  } rows[] = {
      {40, 9, I::OneSidedLower, 1, {" Naming ", "School years"},
       {"After allowing for School years, Case A's score on Naming is lower",
        "Z-PCCC = -2.00, one-sided 95% limits -2.96 and -0.97.", "(one-sided 95% lower limit 0.15%)."},
       {"CI", "upper limit"}},
      {40, 9, I::OneSidedUpper, 1, {}, {"(one-sided 95% upper limit 16.65%)."}, {"CI", "lower limit"}},
      {40, 12, I::TwoSided, 1, {},
       {"Case A and Case B have the same score on Covariate 1, so no covariate adjustment of the difference was "
        "needed. Case A's score on Task of Interest is lower than Case B's by 15.00 points, t(8) = -1.25, p = "
        ".123 (one-tailed; two-tailed p = .247). Z-PCCC = -1.25, 95% CI [-1.85, -0.65].",
        "(95% CI 3.21% to 25.70%).", "at least 22.31 points (Case A below Case B)"},
       {"After allowing"}},
      {40, 12, I::OneSidedLower, 1, {}, {"adjustment", "one-sided 95% lower limit "}, {"CI"}},
      {40, 12, I::OneSidedUpper, 1, {}, {"adjustment", "one-sided 95% upper limit "}, {"CI"}},
      {85, 12, I::TwoSided, 1, {}, {"is higher than Case B's by 30.00 points", "(Case A above Case B)"}, {"below"}},
      // Covariate scores 12 and 9, the rest equal: one covariate differs.
      {40, 9, I::TwoSided, 3, {"", "", "Age\t"},
       {"After allowing for Covariate 1, Age and Covariate 3,", "that the covariates predict"}, {}},
      {40, 12, I::TwoSided, 2, {"T", "A", "B"}, {"the same scores on A and B, so"}, {}},
  };
  for (const tRow& row : rows) {
    const std::string summary = AnalysisSummary(Worked(row.taskA, row.covB, row.interval, row.k), row.names);
    for (const std::string& part : row.parts) EXPECT_TRUE(Has(summary, part)) << part << "\n in " << summary;
    for (const std::string& part : row.absent) EXPECT_FALSE(Has(summary, part)) << part << "\n in " << summary;
  }
}

// A prediction far to Case A's side: a difference needed short of it,
// one-tailed, may still have Case A above Case B.
TEST(AnalysisSummary, ADifferenceNeededOnTheFarSideOfZeroIsAnUpperBound) {
  tAnalysisRecord record = Worked(40, 9, tIntervalChoice::TwoSided);
  record.differenceNeededOneTailed = 2.9L;
  record.differenceNeededTwoTailed = -10.8L;
  EXPECT_TRUE(Has(AnalysisSummary(record, {}),
                  "A difference of at most 2.90 points (Case A above Case B) would have been needed for p < .05, "
                  "one-tailed, and of at least 10.80 points (Case A below Case B) for p < .05, two-tailed."));
  record.outcome = tAnalysisOutcome::Failed;
  EXPECT_EQ(AnalysisSummary(record, {}), "");
}

TEST(AnalysisSummary, NumbersAreInApaStyle) {
  const std::pair<extended, const char*> ps[] = {
      {0.048036L, "p = .048"}, {0.00099L, "p < .001"}, {0.001L, "p = .001"}, {0.5L, "p = .500"}, {0.9996L, "p > .999"}};
  for (const auto& [p, text] : ps) EXPECT_EQ(ApaPValue(p), text);
  EXPECT_EQ(ApaFixed2(-0.004L), "0.00");
  EXPECT_EQ(ApaFixed2(-1.885618L), "-1.89");
  const std::pair<extended, const char*> percents[] = {
      {4.8036L, "4.80%"}, {0.004L, "< 0.01%"}, {0.0774L, "0.08%"}, {99.996L, "> 99.99%"}};
  for (const auto& [pct, text] : percents) EXPECT_EQ(ApaPercent(pct), text);
}

}  // namespace
