#include "analysis/control_sample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "tests/batch/batch_test_support.h"
#include "core/text_lines.h"
#include "formats/raw_data_file.h"
#include "validation/validation_messages.h"

namespace {

std::string ReplaceBlank(std::string line, char by) {
  line[line.find(' ')] = by;
  return line;
}

void ExpectWorkedStatistics(const tControlSample& c, long double tolerance) {
  EXPECT_EQ(c.k, 1);
  EXPECT_EQ(c.n, 10);
  EXPECT_NEAR(c.means[1], 50, tolerance);
  EXPECT_NEAR(c.means[2], 10, tolerance);
  EXPECT_NEAR(c.sds[1], 10, tolerance);
  EXPECT_NEAR(c.sds[2], 2, tolerance);
  EXPECT_NEAR(c.R[1][2], 0.6, tolerance);
  EXPECT_NEAR(c.R[2][1], 0.6, tolerance);
  EXPECT_EQ(c.R[1][1], 1.0L);
  EXPECT_NEAR(c.R[2][2], 1.0, tolerance);
}

// Loads saved inputs that must be refused; returns the message.
std::string SavedInputsError(const std::string& text) {
  tControlSample c;
  std::string error;
  EXPECT_FALSE(ParseSavedInputsControls(text, "q.txt", c, error)) << text;
  return error;
}

std::string RawError(const std::string& text, const std::string& k) {
  tControlSample c;
  std::string error;
  EXPECT_FALSE(ParseRawControls(text, "c.txt", k, c, error)) << text;
  return error;
}

}  // namespace

TEST(ControlSample, SavedInputsGiveTheWorkedStatistics) {
  tControlSample c;
  std::string error;
  ASSERT_TRUE(ParseSavedInputsControls(WorkedSavedInputs, "q.txt", c, error)) << error;
  ExpectWorkedStatistics(c, 0);
  EXPECT_EQ(c.source, tControlsSource::SavedInputs);
  EXPECT_EQ(c.countTexts[0], "1");
  EXPECT_EQ(c.countTexts[1], "10");

  // A million controls and more are read back as typed.
  std::string million = WorkedSavedInputs;
  million.replace(million.find("\n10\n"), 4, "\n1234567\n");
  ASSERT_TRUE(ParseSavedInputsControls(million, "q.txt", c, error)) << error;
  EXPECT_EQ(c.n, 1234567);
}

// The triangle is written by rows, r(1,1); r(2,1) r(2,2); ... and restored
// into the upper triangle; the analysed matrix is its mirror image.
TEST(ControlSample, SavedCorrelationsAreRestoredSymmetric) {
  const std::string text =
      "2\n20\nT\n1\n1\n\n\nC1\n2\n1\n\n\nC2\n3\n1\n\n\n"
      "1.000\n0.500\n1.000\n0.300\n-0.200\n1.000\n";
  tControlSample c;
  std::string error;
  ASSERT_TRUE(ParseSavedInputsControls(text, "q.txt", c, error)) << error;
  EXPECT_EQ(c.k, 2);
  EXPECT_EQ(c.n, 20);
  for (auto [i, j, r] : {std::tuple{1, 2, 0.5}, {1, 3, 0.3}, {2, 3, -0.2}}) {
    EXPECT_DOUBLE_EQ(static_cast<double>(c.R[i][j]), r) << i << j;
    EXPECT_DOUBLE_EQ(static_cast<double>(c.R[j][i]), r) << j << i;
  }
  EXPECT_EQ(c.means[3], 3.0L);
}

TEST(ControlSample, SavedInputsAreCheckedByTheWorksheetRules) {
  // Line numbers: 1 covariates, 2 sample size, 3.. grid, then the triangle.
  EXPECT_EQ(SavedInputsError("7\n10\n"),
            "q.txt:1: the number of covariates \"7\" is not a whole number from 1 to 5. The program never saves "
            "another count: the file is damaged, and none of it is used.");
  EXPECT_EQ(SavedInputsError("1\n2\nTask\n50\n10\n\n\nC\n10\n2\n\n\n1\n0.6\n1\n"),
            "q.txt:2: INPUT ERROR (  Sample size (N) of control sample:  2.000  ) The value for sample size "
            "must be an integer greater than 2.");
  EXPECT_EQ(SavedInputsError("2\n3\n"),
            "q.txt:1: With a control sample size of  3, the maximum number of covariates is  1");
  EXPECT_EQ(SavedInputsError("1\n10\nTask\n50\n10\n\n\nC\n\n2\n\n\n1\n0.6\n1\n"),
            "q.txt:9: mean of covariate 1: INPUT ERROR (  Test No.2  ) Data have not been entered in this field.");
  EXPECT_EQ(SavedInputsError("1\n10\nTask\n50\n10\n\n\nC\n10\n-2\n\n\n1\n0.6\n1\n"),
            "q.txt:10: SD of covariate 1: INPUT ERROR (  SD  -2.000  ) Standard deviations must have a positive "
            "value.");
  EXPECT_EQ(SavedInputsError("1\n10\nTask\n50\n10\n\n\nC\n10\n2\n\n\n1\n1.000\n1\n"),
            "q.txt:14: the correlation between covariate 1 and the task of interest is 1.000: Valid matrix "
            "values are BETWEEN -1 and +1.");
  EXPECT_EQ(SavedInputsError("1\n10\nTask\n50\n10\n\n\nC\n10\n2\n\n\n1\n0.6\n"),
            "q.txt:15: the correlation matrix is incomplete: the entry in row 2, column 2 is missing (1 covariate "
            "needs 3 lines of correlations).");
  EXPECT_EQ(SavedInputsError("1\n10\nTask\n50\n10\n\n\nC\n10\n2\n\n\n1\n\n0.6\n1\n"),
            "q.txt:14: the correlation matrix is incomplete: the entry in row 2, column 1 is missing (1 covariate "
            "needs 3 lines of correlations).");
  EXPECT_NE(SavedInputsError("1\n10\nTask\n50\n10\n\n\nC\n10\n2\n\n\n1\nabc\n1\n").find("q.txt:14: "),
            std::string::npos);
  EXPECT_EQ(SavedInputsError("2\n10\nT\n1\n1\n\n\nA\n1\n1\n\n\nB\n1\n1\n\n\n1\n0.9\n1\n0.9\n-0.9\n1\n"),
            std::string("q.txt: ") + NotPositiveDefiniteMessage);
}

// A cell below the fourth row was labelled "Test No." without its row
// number (the worksheet numbers only the rows it shows at first).
TEST(ControlSample, ACellInAnyRowIsLabelledWithItsRowNumber) {
  std::string text = "5\n30\n";
  for (int row = 1; row <= 6; ++row) text += "V\n" + std::string(row == 6 ? "zz" : "1") + "\n1\n1\n1\n";
  EXPECT_EQ(SavedInputsError(text), "q.txt:29: mean of covariate 5: INPUT ERROR (  Test No.6  zz  ) Enter numeric "
                                    "data only.");
}

// A file cut short is named so, never by the zeros read past its end; a
// number too large for an entry is named as such.
TEST(ControlSample, SavedInputsCutShortOrTooLargeAreNamedSo) {
  std::string worked = WorkedSavedInputs;
  EXPECT_EQ(SavedInputsError(""), "q.txt: The file is empty: it holds none of the saved inputs.");
  EXPECT_EQ(SavedInputsError("1\n"),
            "q.txt: The file ends after line 1: the control sample size and everything after it are missing.");
  EXPECT_EQ(SavedInputsError(worked.replace(worked.find("\n10\n40"), 4, "\n1e300\n")),
            std::string("q.txt:5: SD of the task of interest: INPUT ERROR (  Test No.1  1e300  ) ") + TooLargeText);
  // A count is read whole, in either form saves have written it, and is
  // named by its range.
  for (const char* n : {"1000000000", "1e+09"})
    EXPECT_EQ(SavedInputsError(std::string(WorkedSavedInputs).replace(1, 4, std::string("\n") + n + "\n")),
              "q.txt:2: INPUT ERROR (  Sample size (N) of control sample:  1000000000.000  ) The value for "
              "sample size must be an integer greater than 2 and at most 100000000.")
        << n;
  EXPECT_NE(RawError(WorkedRawControls, "1e9").find(TooLargeText), std::string::npos);
}

TEST(ControlSample, RawControlsGiveTheWorkedStatistics) {
  tControlSample c;
  std::string error;
  // Trailing blank lines do not count as controls.
  ASSERT_TRUE(ParseRawControls(std::string(WorkedRawControls) + "\n  \n", "c.txt", " 1", c, error)) << error;
  ExpectWorkedStatistics(c, 1e-15L);
  EXPECT_EQ(c.source, tControlsSource::RawData);
  EXPECT_EQ(c.countTexts[0], "10");
  EXPECT_EQ(c.countTexts[1], "1");
}

TEST(ControlSample, RawControlsFollowTheDataFileRules) {
  EXPECT_EQ(RawError(WorkedRawControls, "0"),
            "K \"0\": INPUT ERROR (  Number of covariates :  0.000  ) The value must be a positive integer and be "
            "less than 6.");
  EXPECT_EQ(RawError(WorkedRawControls, "x"),
            "K \"x\": INPUT ERROR (  Number of covariates :  x  ) Enter numeric data only.");
  EXPECT_EQ(RawError("1 2\n3 4\n", "1"), "c.txt: the file holds 2 lines of control data; at least 3 controls are needed.");
  EXPECT_EQ(RawError("1 2 3\n3 4 4\n5 6 1\n", "2"),
            "c.txt: With a control sample size of  3, the maximum number of covariates is  1");
  // An empty line among the controls, even one of the last two, is an empty control row.
  const std::string gap = RawError("39 8\n50 11\n61 12\n34 7\n\n62 10\n", "1");
  EXPECT_EQ(gap.rfind("c.txt:5: ", 0), 0u) << gap;
  EXPECT_NE(gap.find("control 5"), std::string::npos) << gap;
  EXPECT_EQ(gap.find("Case"), std::string::npos) << gap;
  const std::string shortLine = RawError("39 8\n50 11\n61 12\n34 7\n62\n", "1");
  EXPECT_EQ(shortLine.rfind("c.txt:5: ", 0), 0u) << shortLine;
  EXPECT_NE(shortLine.find("control 5"), std::string::npos) << shortLine;
  EXPECT_EQ(RawError("39 8\n50 11\n61 1,2\n", "1").rfind("c.txt:3: ", 0), 0u);
  EXPECT_NE(RawError("39 8\n50 8\n61 8\n", "1").find("covariate 1"), std::string::npos);
  // The covariate is twice the task: correlation 1.
  EXPECT_EQ(RawError("1 2\n2 4\n3 6\n4 8\n", "1"), std::string("c.txt: ") + RawDataNotPositiveDefiniteMessage);
}

// With a line of names, N counts the lines after it; a spreadsheet's
// empty rows at the end are no controls.
TEST(ControlSample, RawControlsWithALineOfNames) {
  std::string csv = "Naming;School years\r\n";
  for (std::string_view line : SplitLines(WorkedRawControls)) csv += ReplaceBlank(std::string(line), ';') + "\r\n";
  tControlSample c;
  std::string error;
  ASSERT_TRUE(ParseRawControls(csv + ";\r\n;\r\n", "c.csv", "1", c, error)) << error;
  ExpectWorkedStatistics(c, 1e-15L);
  EXPECT_EQ(c.variableNames, (std::vector<std::string>{"Naming", "School years"}));
  EXPECT_EQ(RawError("A,B\n1,2\n3,4\n", "1"),
            "c.txt: the file holds 2 lines of control data; at least 3 controls are needed.");
  EXPECT_NE(RawError("A B\n39 8\n50 8\n61 8\n", "1").find("covariate 1 \"B\" (column 2"), std::string::npos);
  // A spreadsheet's tab-separated export with an empty cell.
  EXPECT_EQ(RawError("Task\tEducation\tAge\n39\t8\t61\n50\t\t57\n61\t12\t62\n34\t7\t48\n", "2"),
            "c.txt:3: Line 3 (control 2) of the data file: value 2 (covariate 1 \"Education\") is empty.");
}

// Files written in Windows' code page are read as such, and the run says so.
TEST(ControlSample, FilesThatAreNotUtf8AreReadAsWindows1252) {
  tScratchFolder folder("windows1252");
  const std::string raw = WriteFile(folder.Path() / "raw.txt", "T\xE9sk Age\n" + std::string(WorkedRawControls));
  std::string saved = WorkedSavedInputs;
  saved = WriteFile(folder.Path() / "saved.txt", saved.replace(saved.find("Task"), 4, "T\xE9sk"));
  tControlSample c;
  std::string error;
  ASSERT_TRUE(LoadRawControls(raw, "1", c, error)) << error;
  EXPECT_EQ(c.variableNames.at(0), "T\xC3\xA9sk");
  EXPECT_EQ(c.notice, raw + ": the file is not UTF-8 text; it was read as Windows-1252 (Western European).");
  ASSERT_TRUE(LoadSavedInputsControls(saved, c, error)) << error;
  EXPECT_EQ(c.notice, saved + ": the file is not UTF-8 text; it was read as Windows-1252 (Western European).");
}

TEST(ControlSample, FilesThatCannotBeReadAreNamed) {
  tControlSample c;
  std::string error;
  EXPECT_FALSE(LoadSavedInputsControls("/nonexistent/Quorvane.txt", c, error));
  EXPECT_EQ(error, "/nonexistent/Quorvane.txt: the file does not exist.");
  EXPECT_FALSE(LoadRawControls(std::filesystem::temp_directory_path().string(), "1", c, error));
  EXPECT_NE(error.find("folder"), std::string::npos);
}

namespace {

// The one check of a raw table, as the raw-data flow and the batch tool
// both reach it: a flat variable, then a singular matrix, then a sample.
TEST(ControlSample, RawTablesAreCheckedInOnePlace) {
  const struct {
    double second[4];  // the covariate of four controls; the task is 1, 2, 3, 5
    tAnalysisOutcome outcome;
  } cases[] = {
      {{7, 7, 7, 7}, tAnalysisOutcome::ZeroVariance},
      {{2, 4, 6, 10}, tAnalysisOutcome::NotPositiveDefinite},  // twice the task
      {{3, 1, 4, 1}, tAnalysisOutcome::Done},
  };
  const double task[4] = {1, 2, 3, 5};
  for (const auto& c : cases) {
    tData_matrix table;
    for (int i = 1; i <= 4; ++i) {
      table[i][1] = task[i - 1];
      table[i][2] = c.second[i - 1];
    }
    tControlSample sample;
    std::string message;
    EXPECT_EQ(ControlSampleFromRawTable(table, 4, 1, {"Task", "Age"}, sample, message), c.outcome);
    const std::string expected = c.outcome == tAnalysisOutcome::ZeroVariance ? ZeroVarianceMessage(2, {"Task", "Age"})
                                 : c.outcome == tAnalysisOutcome::Done       ? std::string()
                                                                             : RawDataNotPositiveDefiniteMessage;
    EXPECT_EQ(message, expected);
  }
}

// The record carries the regression the test was built on: the branch,
// and the observed and predicted difference that the figure draws.
TEST(AnalysisRecord, CarriesTheBranchAndTheWorkingValues) {
  tControlSample sample;
  std::string error;
  ASSERT_TRUE(ParseSavedInputsControls(WorkedSavedInputs, "q.txt", sample, error)) << error;
  for (const double bCovariate : {9.0, 12.0}) {
    tVector a, b;
    a[1] = 40, a[2] = 12, b[1] = 55, b[2] = bCovariate;
    tLineList lines;
    const tAnalysisRecord record = RunAnalysis(RequestFor(sample, a, b, tIntervalChoice::TwoSided), lines);
    ASSERT_EQ(record.outcome, tAnalysisOutcome::Done);
    EXPECT_EQ(record.working.equalCovariates, bCovariate == 12.0);
    EXPECT_NEAR(record.working.observed, -15, 1e-12);
    EXPECT_NEAR(record.working.predicted, bCovariate == 12.0 ? 0 : 0.6 * 10 / 2 * (12 - bCovariate), 1e-12);
  }
}

}  // namespace
