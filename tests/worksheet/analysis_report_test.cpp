// Whole reports of both programs compared line by line. The expected lines
// are typed from the report layout for the worked case: 10 controls, one
// covariate, task mean 50 SD 10, covariate mean 10 SD 2, r = 0.6; Case A
// 40, 12; Case B 55, 9; t = -1.885618 on 8 df.
#include "worksheet/analysis_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

std::string S(int n) { return std::string(n, ' '); }

const char* const QuorvikTitle =
    "Quorvik.exe: Classical test on the difference between two cases allowing for covariates "
    "(Raw data as input) ";
const char* const QuorvaneTitle =
    "Quorvane.exe: Classical test on the difference between two cases allowing for covariates";

// The worked case's controls as raw data: means 50 and 10, SDs 10 and 2, r = 0.6.
const int WorkedControls[10][2] = {{39, 8},  {50, 11}, {61, 12}, {34, 7}, {62, 10},
                                   {44, 13}, {60, 12}, {55, 10}, {41, 8}, {54, 9}};

AnalysisResults WorkedResults(tIntervalChoice interval) {
  AnalysisResults r;
  r.tValue = -1.885618L;
  r.df = 8;
  r.pOneTailed = 0.048036L;
  r.pTwoTailed = 0.096072L;
  r.pctEstimate = 4.8036L;
  r.zPccc = -2;
  if (interval == tIntervalChoice::TwoSided) {
    r.pctLower = 0.0774L;
    r.pctUpper = 21.32L;
    r.zPcccLower = -3.1657L;
    r.zPcccUpper = -0.7953L;
  } else {
    r.pctLower = 0.1540L;
    r.pctUpper = 16.648L;
    r.zPcccLower = -2.9596L;
    r.zPcccUpper = -0.9682L;
  }
  return r;
}

const extended WorkedConditionalSd = std::sqrt(72.0L);

tReportInputs WorkedInputs(tReportProgram program, tIntervalChoice interval) {
  tReportInputs in;
  in.program = program;
  in.interval = interval;
  in.k = 1;
  in.means[1] = 50;
  in.means[2] = 10;
  in.sds[1] = 10;
  in.sds[2] = 2;
  in.caseA[1] = 40;
  in.caseA[2] = 12;
  in.caseB[1] = 55;
  in.caseB[2] = 9;
  in.correlations[1][1] = in.correlations[2][2] = 1;
  in.correlations[1][2] = in.correlations[2][1] = 0.6L;
  if (program == tReportProgram::SummaryData) {
    in.programTitle = QuorvaneTitle;
    in.fields = {{"Number of covariates : ", "1", true},
                 {"Sample size (N) of control sample:", "10", true},
                 {"Control sample mean for task of interest:", "", false}};
  } else {
    in.programTitle = QuorvikTitle;
    in.fields = {{"Number of control participants (n) :", "10", true},
                 {"Number of covariates :", "1", true},
                 {"Total sample size (n) for the normative sample:", "", false}};
  }
  return in;
}

const std::string Rule = " " + std::string(93, '_');

Lines Header(const char* title) {
  return {"",
          title,
          "",
          " THIS PROGRAM WAS WRITTEN TO ACCOMPANY THE FOLLOWING PAPER:",
          ReportCitationLine1,
          ReportCitationLine2,
          "",
          ""};
}

Lines Inputs(const std::string& first, const std::string& second, const char* interval) {
  return {" INPUTS:", first, second, std::string(" Credible limit required: ") + interval, ""};
}

Lines RawEcho() {
  Lines lines = {" Raw data were loaded from the following file: ",
                 " /home/user/data/worked_controls.txt",
                 "",
                 " Raw data for controls (data for the cases are reported in the table that follows):",
                 "   [   1]:      39.00000        8.00000   ",
                 "   [   2]:      50.00000       11.00000   ",
                 "   [   3]:      61.00000       12.00000   ",
                 "   [   4]:      34.00000        7.00000   ",
                 "   [   5]:      62.00000       10.00000   ",
                 "   [   6]:      44.00000       13.00000   ",
                 "   [   7]:      60.00000       12.00000   ",
                 "   [   8]:      55.00000       10.00000   ",
                 "   [   9]:      41.00000        8.00000   ",
                 "   [  10]:      54.00000        9.00000   ",
                 "",
                 ""};
  return lines;
}

Lines SummaryAndCorrelations() {
  return {" Summary statistics for the control sample together with scores of the two cases:",
          Rule,
          "  Measure               Control        Control          Scores for           Scores for  ",
          "                         Mean            SD               Case A               Case B",
          Rule,
          "  Task of Interest:" + S(6) + "50.000" + S(9) + "10.000" + S(12) + "40.000" + S(14) + "55.000",
          "",
          "  Covariate 1:" + S(11) + "10.000" + S(10) + "2.000" + S(12) + "12.000" + S(15) + "9.000",
          Rule,
          " ",
          " ",
          "",
          " Correlation(s) between task and covariate(s) in control sample:",
          "   1.00000   0.60000   ",
          "   0.60000   1.00000   ",
          "",
          "",
          "",
          ""};
}

Lines Outputs(tIntervalChoice interval) {
  Lines lines = {
      " OUTPUTS:",
      " Raw difference between the scores of the two cases (Case A - Case B)  = -15.000",
      " Sample estimate of the unconditional SD of difference between the scores of two controls = 14.142",
      " Sample estimate of the conditional SD for task of interest = 8.485",
      " Sample estimate of the conditional SD of difference between the scores of two controls =   12.000",
      "",
      " Classical significance test on difference between scores of the two cases allowing for covariates:",
      " t value (on   8 df) = -1.8856",
      " One-tailed probability = 0.048036",
      " Two-tailed probability = 0.096072",
      ""};
  if (interval == tIntervalChoice::TwoSided)
    lines.push_back(" Effect size (Z-PCCC) for difference between the two cases (plus 95% CI) = -2.000  "
                    "(-3.166 , -0.795)");
  else
    lines.push_back(" Effect size (Z-PCCC) for difference between the two cases (plus one-sided 95% limits) "
                    "= -2.000  (-2.960 , -0.968)");
  lines.push_back("");
  lines.push_back(" Point estimate of the percentage of control population with differences that are in the same");
  lines.push_back(" direction as the two cases but are larger in magnitude = 4.8036%");
  switch (interval) {
    case tIntervalChoice::TwoSided:
      lines.push_back(" 95% lower confidence limit on the percentage = 0.0774%");
      lines.push_back(" 95% upper confidence limit on the percentage = 21.3200%");
      break;
    case tIntervalChoice::OneSidedLower:
      lines.push_back(" 95% (one-sided) lower confidence limit on the percentage = 0.1540%");
      break;
    case tIntervalChoice::OneSidedUpper:
      lines.push_back(" 95% (one-sided) upper confidence limit on the percentage = 16.6480%");
      break;
  }
  lines.push_back("");
  lines.push_back("");
  return lines;
}

void Append(Lines& to, const Lines& from) { to.insert(to.end(), from.begin(), from.end()); }

const char* IntervalText(tIntervalChoice interval) {
  switch (interval) {
    case tIntervalChoice::TwoSided: return "Two-sided";
    case tIntervalChoice::OneSidedLower: return "One-sided lower";
    case tIntervalChoice::OneSidedUpper: return "One-sided upper";
  }
  return "";
}

Lines ExpectedQuorvane(tIntervalChoice interval) {
  Lines lines = Header(QuorvaneTitle);
  Append(lines, Inputs(" Number of covariates = 1", " Sample size (N) of control sample= 10", IntervalText(interval)));
  Append(lines, SummaryAndCorrelations());
  Append(lines, Outputs(interval));
  return lines;
}

Lines ExpectedQuorvik(tIntervalChoice interval) {
  Lines lines = {std::string(36, '-')};
  Append(lines, Header(QuorvikTitle));
  Append(lines, Inputs(" Number of control participants (n) = 10", " Number of covariates = 1",
                       IntervalText(interval)));
  Append(lines, RawEcho());
  Append(lines, SummaryAndCorrelations());
  Append(lines, Outputs(interval));
  return lines;
}

void ExpectSameLines(const Lines& actual, const Lines& expected) {
  for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i)
    EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
  EXPECT_EQ(actual.size(), expected.size());
}

class QuorvaneReport : public ::testing::TestWithParam<tIntervalChoice> {};

TEST_P(QuorvaneReport, FirstReportMatchesTheLayoutLineByLine) {
  tLineList sink;
  WriteAnalysisReport(WorkedInputs(tReportProgram::SummaryData, GetParam()), WorkedResults(GetParam()),
                      WorkedConditionalSd, false, sink);
  ExpectSameLines(sink.lines, ExpectedQuorvane(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(AllIntervals, QuorvaneReport,
                         ::testing::Values(tIntervalChoice::TwoSided, tIntervalChoice::OneSidedLower,
                                           tIntervalChoice::OneSidedUpper));

class QuorvikReport : public ::testing::TestWithParam<tIntervalChoice> {};

TEST_P(QuorvikReport, ReportAfterTheDiagnosticLinesEchoesTheRawData) {
  tData_matrix table;
  for (int i = 0; i < 10; ++i)
    for (int j = 0; j < 2; ++j) table[i + 1][j + 1] = WorkedControls[i][j];
  // The cases' rows are in the table too; only the controls are echoed.
  table[11][1] = 40;
  table[11][2] = 12;
  table[12][1] = 55;
  table[12][2] = 9;
  tReportInputs in = WorkedInputs(tReportProgram::RawData, GetParam());
  in.dataFileName = "/home/user/data/worked_controls.txt";
  in.rawData = &table;
  in.controlCount = 10;

  tLineList sink;
  sink.Add("TESTING: a diagnostic line of the engine");
  WriteAnalysisReport(in, WorkedResults(GetParam()), WorkedConditionalSd, sink.Count() > 0, sink);
  Lines expected = {"TESTING: a diagnostic line of the engine"};
  Append(expected, ExpectedQuorvik(GetParam()));
  ExpectSameLines(sink.lines, expected);
}

INSTANTIATE_TEST_SUITE_P(AllIntervals, QuorvikReport,
                         ::testing::Values(tIntervalChoice::TwoSided, tIntervalChoice::OneSidedLower,
                                           tIntervalChoice::OneSidedUpper));

TEST(AnalysisReport, SecondReportStacksBelowTheFirstAfterTheSeparator) {
  const auto in = WorkedInputs(tReportProgram::SummaryData, tIntervalChoice::TwoSided);
  const auto results = WorkedResults(tIntervalChoice::TwoSided);
  tLineList sink;
  WriteAnalysisReport(in, results, WorkedConditionalSd, sink.Count() > 0, sink);
  WriteAnalysisReport(in, results, WorkedConditionalSd, sink.Count() > 0, sink);
  Lines expected = ExpectedQuorvane(tIntervalChoice::TwoSided);
  expected.push_back(std::string(102, '_'));
  Append(expected, ExpectedQuorvane(tIntervalChoice::TwoSided));
  ExpectSameLines(sink.lines, expected);
}

TEST(AnalysisReport, NotesOfSeveralLinesStandUnderTheCaption) {
  tReportInputs in = WorkedInputs(tReportProgram::SummaryData, tIntervalChoice::TwoSided);
  const auto results = WorkedResults(tIntervalChoice::TwoSided);
  const Lines notesBlock = {" User's Notes: patient pair 7", S(15) + "second visit", S(15) + "", S(15) + "end",
                            " "};
  // LF, CR LF and CR all end a line; a final line end adds no line.
  for (const char* notes : {"patient pair 7\nsecond visit\n\nend", "patient pair 7\r\nsecond visit\r\n\r\nend\r\n",
                            "patient pair 7\rsecond visit\r\rend\n"}) {
    in.notes = notes;
    tLineList sink;
    WriteAnalysisReport(in, results, WorkedConditionalSd, false, sink);
    Lines expected = ExpectedQuorvane(tIntervalChoice::TwoSided);
    expected.insert(expected.begin() + 8, notesBlock.begin(), notesBlock.end());
    ExpectSameLines(sink.lines, expected);
  }
}

TEST(AnalysisReport, EmptyNotesWriteNoNotesBlock) {
  tReportInputs in = WorkedInputs(tReportProgram::SummaryData, tIntervalChoice::TwoSided);
  in.notes = "";
  tLineList sink;
  WriteAnalysisReport(in, WorkedResults(tIntervalChoice::TwoSided), WorkedConditionalSd, false, sink);
  ASSERT_GT(sink.lines.size(), 8u);
  EXPECT_EQ(sink.lines[8], " INPUTS:");
  // A single line end is one empty notes line.
  in.notes = "\n";
  tLineList one;
  WriteAnalysisReport(in, WorkedResults(tIntervalChoice::TwoSided), WorkedConditionalSd, false, one);
  EXPECT_EQ(one.lines[8], " User's Notes: ");
  EXPECT_EQ(one.lines[9], " ");
  EXPECT_EQ(one.lines[10], " INPUTS:");
}

TEST(AnalysisReport, FiveCovariatesGiveFiveLinesAndASixBySixBlock) {
  tReportInputs in = WorkedInputs(tReportProgram::SummaryData, tIntervalChoice::TwoSided);
  in.k = 5;
  for (int v = 1; v <= 6; ++v) {
    in.means[v] = 10 * v;
    in.sds[v] = v;
    in.caseA[v] = -v;
    in.caseB[v] = 1000 + v;
    for (int w = 1; w <= 6; ++w) in.correlations[v][w] = v == w ? 1 : 0.1L * (v + w) / 2;
  }
  AnalysisResults results = WorkedResults(tIntervalChoice::TwoSided);
  results.df = 22;
  tLineList sink;
  WriteAnalysisReport(in, results, WorkedConditionalSd, false, sink);
  const Lines& l = sink.lines;
  auto at = [&](const std::string& line) { return std::find(l.begin(), l.end(), line) - l.begin(); };
  const auto task = at("  Task of Interest:" + S(6) + "10.000" + S(10) + "1.000" + S(12) + "-1.000" + S(12) +
                       "1001.000");
  ASSERT_LT(task, static_cast<long>(l.size()));
  EXPECT_EQ(l[task + 1], "");
  EXPECT_EQ(l[task + 2], "  Covariate 1:" + S(11) + "20.000" + S(10) + "2.000" + S(12) + "-2.000" + S(12) +
                             "1002.000");
  EXPECT_EQ(l[task + 6], "  Covariate 5:" + S(11) + "60.000" + S(10) + "6.000" + S(12) + "-6.000" + S(12) +
                             "1006.000");
  EXPECT_EQ(l[task + 7], Rule);
  const auto block = at(" Correlation(s) between task and covariate(s) in control sample:");
  EXPECT_EQ(l[block + 1], "   1.00000   0.15000   0.20000   0.25000   0.30000   0.35000   ");
  EXPECT_EQ(l[block + 6], "   0.35000   0.40000   0.45000   0.50000   0.55000   1.00000   ");
  EXPECT_EQ(l[block + 7], "");
  EXPECT_EQ(l[block + 10], "");
  EXPECT_EQ(l[block + 11], " OUTPUTS:");
  EXPECT_NE(at(" t value (on  22 df) = -1.8856"), static_cast<long>(l.size()));
}

TEST(AnalysisReport, CitationLinesEachStartWithOneBlank) {
  for (const std::string line : {ReportCitationLine1, ReportCitationLine2}) {
    ASSERT_GE(line.size(), 2u);
    EXPECT_EQ(line[0], ' ');
    EXPECT_NE(line[1], ' ');
  }
}

TEST(FormatInputLine, CutsTheCaptionBeforeItsLastColon) {
  EXPECT_EQ(FormatInputLine("Number of covariates : ", "3"), " Number of covariates = 3");
  EXPECT_EQ(FormatInputLine("Sample size (N) of control sample:", "25"), " Sample size (N) of control sample= 25");
  EXPECT_EQ(FormatInputLine("Ratio: a:b :  ", "1"), " Ratio: a:b = 1");
  EXPECT_EQ(FormatInputLine("Input 5", "7"), " Input 5= 7");
  EXPECT_EQ(FormatInputLine("", ""), " = ");
}

TEST(AnalysisReport, RefusesInconsistentInputsBeforeWritingAnything) {
  const auto results = WorkedResults(tIntervalChoice::TwoSided);
  tLineList sink;
  tReportInputs in = WorkedInputs(tReportProgram::SummaryData, tIntervalChoice::TwoSided);
  in.k = MatrixCapacity;
  EXPECT_THROW(WriteAnalysisReport(in, results, 1, false, sink), std::invalid_argument);
  in.k = -1;
  EXPECT_THROW(WriteAnalysisReport(in, results, 1, false, sink), std::invalid_argument);
  tReportInputs raw = WorkedInputs(tReportProgram::RawData, tIntervalChoice::TwoSided);
  EXPECT_THROW(WriteAnalysisReport(raw, results, 1, false, sink), std::invalid_argument);
  tData_matrix table;
  raw.rawData = &table;
  raw.controlCount = table.Rows() + 1;
  EXPECT_THROW(WriteAnalysisReport(raw, results, 1, false, sink), std::invalid_argument);
  EXPECT_EQ(sink.Count(), 0);
}

}  // namespace
