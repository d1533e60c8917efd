// The one analysis path: requests built from the worksheet's inputs or a
// raw data table, checked, run and reported. Whole reports are compared
// with the golden files; the confidence level is followed into every text
// that names it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/report_lines.h"
#include "matrix/data_matrix.h"
#include "tests/worksheet/logic/golden_reports.h"
#include "validation/validation_messages.h"
#include "report/analysis_report.h"
#include "analysis/analysis_request.h"
#include "worksheet/logic/program_profile.h"
#include "formats/raw_data_file.h"
#include "worksheet/logic/raw_data_flow.h"
#include "worksheet/logic/summary_data_flow.h"
#include "worksheet/logic/worksheet_inputs.h"

namespace {

using Lines = std::vector<std::string>;

void ExpectSameLines(const Lines& actual, const Lines& expected) {
  ASSERT_FALSE(expected.empty());
  for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i)
    EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
  EXPECT_EQ(actual.size(), expected.size());
}

// The worked example typed into Quorvane: k = 1, N = 10, r = 0.6.
tWorksheetInputs WorkedInputs(tIntervalChoice interval) {
  tWorksheetInputs in = FirstRunInputs(QuorvaneProfile());
  in.Field(1) = "1";
  in.Field(2) = "10";
  in.interval = interval;
  in.grid.SetRowCount(2);
  const char* cells[2][5] = {{"Task", "50", "10", "40", "55"}, {"Cov 1", "10", "2", "12", "9"}};
  for (int row = 0; row < 2; ++row)
    for (int col = 1; col <= 5; ++col) in.grid.SetCell(col, row, cells[row][col - 1]);
  in.correlations[1][2] = in.correlations[2][1] = 0.6;
  return in;
}

Lines Summary(const tWorksheetInputs& in, int N, int k, int earlierLines = 0,
              const tProgramProfile& profile = QuorvaneProfile()) {
  const tAnalysisRecord a = AnalyseSummaryData(in, profile, N, k, earlierLines, tNoticeHook{});
  EXPECT_EQ(a.outcome, tAnalysisOutcome::Done) << a.message;
  return a.lines.lines;
}

tData_matrix ReadExample(const std::string& name, int n, int k) {
  tData_matrix table;
  const tRawDataReadResult read = ReadRawDataFile(SourceFile("examples/" + name), n + 2, k + 1, table);
  EXPECT_TRUE(read.loaded) << read.message;
  return table;
}

tReportFrame QuorvikFrame(const std::string& n, const std::string& k, const std::string& file) {
  tWorksheetInputs in = FirstRunInputs(QuorvikProfile());
  in.Field(1) = n;
  in.Field(2) = k;
  tReportFrame frame = ReportFrameOf(in, QuorvikProfile());
  frame.dataFileName = file;
  return frame;
}

TEST(SummaryAnalysis, WorkedExampleGivesTheGoldenReportForEachInterval) {
  ExpectSameLines(Summary(WorkedInputs(tIntervalChoice::TwoSided), 10, 1), GoldenReport("quorvane_worked_two_sided.txt"));
  ExpectSameLines(Summary(WorkedInputs(tIntervalChoice::OneSidedLower), 10, 1),
                  GoldenReport("quorvane_worked_one_sided_lower.txt"));
  ExpectSameLines(Summary(WorkedInputs(tIntervalChoice::OneSidedUpper), 10, 1),
                  GoldenReport("quorvane_worked_one_sided_upper.txt"));
}

TEST(SummaryAnalysis, NotesAndASecondReportUnderTheSeparatorGiveTheGoldenReport) {
  tWorksheetInputs in = WorkedInputs(tIntervalChoice::TwoSided);
  in.notes = "patient pair 7\nsecond visit\n\nend";
  Lines lines = Summary(in, 10, 1);
  in.notes.clear();
  in.grid.SetCell(CaseBColumn, 1, "12");  // equal covariates: the chi-square route
  const Lines second = Summary(in, 10, 1, static_cast<int>(lines.size()));
  lines.insert(lines.end(), second.begin(), second.end());
  ExpectSameLines(lines, GoldenReport("quorvane_notes_then_equal_covariates.txt"));
}

TEST(SummaryAnalysis, FiveCovariatesGiveTheGoldenReport) {
  tWorksheetInputs in = FirstRunInputs(QuorvaneProfile());
  in.Field(1) = "5";
  in.Field(2) = "30";
  in.interval = tIntervalChoice::OneSidedLower;
  in.grid.SetRowCount(6);
  for (int v = 1; v <= 6; ++v) {
    const int caseB = 10 * v + (v % 2 ? v : -v);
    for (const auto& [col, value] : {std::pair{MeanColumn, 10 * v}, {SdColumn, v}, {CaseAColumn, 8 * v}, {CaseBColumn, caseB}})
      in.grid.SetCell(col, v - 1, std::to_string(value));
    for (int w = 1; w <= 6; ++w) in.correlations[v][w] = v == w ? 1 : 0.3;
  }
  ExpectSameLines(Summary(in, 30, 5), GoldenReport("quorvane_five_covariates_one_sided_lower.txt"));
}

TEST(RawAnalysis, ExamplesGiveTheDiagnosticLinesAndTheGoldenReport) {
  const tData_matrix worked = ReadExample("worked_controls.txt", 10, 1);
  tAnalysisRecord a = AnalyseRawData(worked, 10, 1, QuorvikFrame("10", "1", "/data/worked_controls.txt"),
                                       tIntervalChoice::TwoSided, DefaultConfidenceLevel, 0);
  ASSERT_EQ(a.outcome, tAnalysisOutcome::Done) << a.message;
  ExpectSameLines(a.lines.lines, GoldenReport("quorvik_worked_two_sided.txt"));

  const tData_matrix three = ReadExample("three_covariates.txt", 40, 3);
  a = AnalyseRawData(three, 40, 3, QuorvikFrame("40", "3", "/data/three_covariates.txt"),
                     tIntervalChoice::OneSidedUpper, DefaultConfidenceLevel, 0);
  ASSERT_EQ(a.outcome, tAnalysisOutcome::Done) << a.message;
  ExpectSameLines(a.lines.lines, GoldenReport("quorvik_three_covariates_one_sided_upper.txt"));
}

// A constant variable is refused by the compute flow's tests; here one
// that depends on another.
TEST(RawAnalysis, DependentVariablesStopBeforeTheEngine) {
  // Covariate 2 is twice covariate 1 plus 1: the correlations are singular.
  tData_matrix table;
  for (int i = 1; i <= 5; ++i) {
    table[i][1] = i;
    table[i][2] = i % 3;
    table[i][3] = 2 * table[i][2] + 1;
  }
  const tAnalysisRecord a =
      AnalyseRawData(table, 4, 2, QuorvikFrame("4", "2", "f"), tIntervalChoice::TwoSided, DefaultConfidenceLevel, 0);
  EXPECT_EQ(a.outcome, tAnalysisOutcome::NotPositiveDefinite);
  EXPECT_EQ(a.message, RawDataNotPositiveDefiniteMessage);
  EXPECT_TRUE(a.lines.lines.empty());
}

// A score of 1e300, or a mistyped 38-digit mean, made the limits
// unreachable, and the engine's guess blamed covariate scores that differ
// by a tiny amount. The value is named instead.
TEST(AnalysisRequest, AFailureForAValueFarFromTheControlsNamesThatValue) {
  tAnalysisRequest request;
  request.k = 1;
  request.n = 10;
  request.means[1] = 50;
  request.means[2] = 10;
  request.sds[1] = 10;
  request.sds[2] = 2;
  request.R[1][1] = request.R[2][2] = 1;
  request.R[1][2] = request.R[2][1] = 0.6L;
  request.caseA[1] = 1e300L;
  request.caseA[2] = 12;
  request.caseB[1] = 55;
  request.caseB[2] = 9;
  const std::string farScore = FarOutValueMessage(request);
  EXPECT_EQ(farScore,
            "Case A's score on the task of interest, 1e+300, is a value too large to analyse: it lies 1e+299 "
            "standard deviations from the control mean, too far out for the confidence limits to be found. Check "
            "this value.");
  tLineList lines;
  const tAnalysisRecord analysis = RunAnalysis(request, lines);
  if (analysis.outcome == tAnalysisOutcome::Failed) {
    EXPECT_EQ(analysis.failure, farScore);
  }

  request.caseA[1] = 40;
  request.means[1] = 12345678901234567890123456789012345678.0L;
  EXPECT_EQ(FarOutValueMessage(request),
            "The control mean of the task of interest, 1.23456789012346e+37, is a value too large to analyse: Case "
            "A's score lies 1.23e+36 standard deviations from it, too far out for the confidence limits to be "
            "found. Check this value.");
  request.means[1] = 50;
  request.caseA[1] = 40 + 99 * 10;  // 99 SDs out: not blamed
  EXPECT_EQ(FarOutValueMessage(request), "");
}

// The worked controls (task 50 and SD 10, covariate 10 and SD 2, r = 0.6)
// with n of them, and a pair with the given task and covariate scores.
tAnalysisRequest PairRequest(int n, extended taskA, extended covA, extended taskB, extended covB) {
  tAnalysisRequest r;
  r.k = 1;
  r.n = n;
  r.means[1] = 50, r.means[2] = 10, r.sds[1] = 10, r.sds[2] = 2;
  r.R[1][1] = r.R[2][2] = 1;
  r.R[1][2] = r.R[2][1] = 0.6L;
  r.caseA[1] = taskA, r.caseA[2] = covA, r.caseB[1] = taskB, r.caseB[2] = covB;
  return r;
}

// The difference needed against its closed form, predicted + side x t x
// s sqrt(2 + v) (s^2 = 100 (1 - 0.36) (n - 1) / (n - 2), v = dx^2 / ((n - 1) 4),
// predicted 3 dx; t from tables for 8 df and in closed form for 1 and 2
// df), and against the test itself: a pair at exactly that difference has
// p = .05.
TEST(DifferenceNeeded, IsTheClosedFormAndGivesPOfFivePercent) {
  const extended pi = std::acos(-1.0L);
  struct tRow {
    int n;
    extended covA, covB, predicted, standardError, side, tOne, tTwo;
  } rows[] = {
      {10, 12, 9, 9, std::sqrt(162.0L), -1, 1.859548L, 2.306004L},
      {10, 9, 12, -9, std::sqrt(162.0L), 1, 1.859548L, 2.306004L},  // swapped: Case A higher
      {10, 12, 12, 0, 12, -1, 1.859548L, 2.306004L},                // equal covariates
      {3, 12, 9, 9, 20, -1, std::tan(0.45L * pi), std::tan(0.475L * pi)},
      {4, 12, 9, 9, std::sqrt(264.0L), -1, 0.9L / std::sqrt(0.095L), 0.95L / std::sqrt(0.04875L)},
  };
  for (const tRow& row : rows) {
    const bool swapped = row.side > 0;
    tLineList lines;
    const tAnalysisRecord a =
        RunAnalysis(PairRequest(row.n, swapped ? 55 : 40, row.covA, swapped ? 40 : 55, row.covB), lines);
    ASSERT_EQ(a.outcome, tAnalysisOutcome::Done);
    const extended needed[2] = {a.differenceNeededOneTailed, a.differenceNeededTwoTailed};
    const extended t[2] = {row.tOne, row.tTwo};
    for (int tails = 0; tails < 2; ++tails) {
      SCOPED_TRACE(testing::Message() << "n " << row.n << " covariates " << double(row.covA) << ", "
                                      << double(row.covB) << (tails ? " two-tailed" : " one-tailed"));
      EXPECT_NEAR(double(needed[tails]), double(row.predicted + row.side * t[tails] * row.standardError),
                  1e-5 * double(row.standardError));
      const tAnalysisRecord atIt =
          RunAnalysis(PairRequest(row.n, 55 + needed[tails], row.covA, 55, row.covB), lines);
      ASSERT_EQ(atIt.outcome, tAnalysisOutcome::Done);
      EXPECT_NEAR(double(tails ? atIt.results.pTwoTailed : atIt.results.pOneTailed), 0.05, 1e-10);
      EXPECT_EQ(atIt.differenceNeededOneTailed, a.differenceNeededOneTailed);  // the same, reached or not
    }
  }
}

TEST(ConfidenceLevel, ReachesEveryTextThatNamesIt) {
  tProgramProfile profile = QuorvaneProfile();
  EXPECT_EQ(profile.IntervalCaption(), "95% credible limit required...");
  profile.confidenceLevel = 90;
  EXPECT_EQ(profile.IntervalCaption(), "90% credible limit required...");
  EXPECT_NE(profile.Description().find("(90% confidence limits"), std::string::npos);

  const auto has = [](const Lines& lines, const std::string& part) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; });
  };
  const Lines two = Summary(WorkedInputs(tIntervalChoice::TwoSided), 10, 1, 0, profile);
  EXPECT_TRUE(has(two, "(plus 90% CI) = -2.000"));
  EXPECT_TRUE(has(two, " 90% lower confidence limit on the percentage = "));
  EXPECT_TRUE(has(two, " 90% upper confidence limit on the percentage = "));
  EXPECT_FALSE(has(two, "95%"));
  const Lines upper = Summary(WorkedInputs(tIntervalChoice::OneSidedUpper), 10, 1, 0, profile);
  EXPECT_TRUE(has(upper, "(plus one-sided 90% limits)"));
  EXPECT_TRUE(has(upper, " 90% (one-sided) upper confidence limit on the percentage = "));
  // A narrower interval: the two-sided 90% limits lie inside the 95% ones.
  const Lines wide = Summary(WorkedInputs(tIntervalChoice::TwoSided), 10, 1);
  EXPECT_NE(two, wide);
}

// A file's names stand for the row labels, clipped to keep the columns.
TEST(AnalysisReport, VariableNamesLabelTheSummaryTableWithinItsColumns) {
  const tWorksheetInputs in = WorkedInputs(tIntervalChoice::TwoSided);
  tReportFrame frame = ReportFrameOf(in, QuorvaneProfile());
  frame.variableNames = {"Years of formal education", ""};
  tLineList lines;
  const tAnalysisRequest request = SummaryRequest(in, QuorvaneProfile(), 10, 1, tNoticeHook{});
  ASSERT_EQ(RunReportedAnalysis(request, &frame, false, lines).outcome, tAnalysisOutcome::Done);
  Lines expected = GoldenReport("quorvane_worked_two_sided.txt");
  for (std::string& line : expected)
    if (line.rfind("  Task of Interest:", 0) == 0) line = "  Years of formal:  " + line.substr(20);
  ExpectSameLines(lines.lines, expected);
}

}  // namespace
