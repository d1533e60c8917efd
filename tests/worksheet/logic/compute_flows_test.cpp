// The two Compute flows over plain inputs with scripted services: what is
// asked, shown, saved and handed to the results window, and where the
// focus goes when a compute stops. Quorvane's matrix entry is a stand-in.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/scripted_services.h"
#include "tests/support/temp_folder.h"
#include "tests/worksheet/logic/golden_reports.h"
#include "validation/validation_messages.h"
#include "formats/raw_data_file.h"
#include "worksheet/logic/raw_data_flow.h"
#include "worksheet/logic/summary_data_flow.h"

namespace {

using Lines = std::vector<std::string>;

// A matrix entry that records the matrix it was shown and answers with
// what edit makes of it; without edit it goes back to the worksheet.
class tStandInMatrixEntry : public tMatrixEntry {
 public:
  bool EnterCorrelations(tStoredCorrelations& matrix, int order) override {
    ++calls;
    shown = matrix;
    shownOrder = order;
    if (!edit) return false;
    edit(matrix);
    return true;
  }
  std::function<void(tStoredCorrelations&)> edit;
  tStoredCorrelations shown;
  int shownOrder = 0;
  int calls = 0;
};

void SetCorrelation(tStoredCorrelations& m, int i, int j, double r) { m[i][j] = m[j][i] = r; }

class SummaryCompute : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    context.savedInputsPath = SavedInputsPathIn(dir.Path(), profile);
    inputs = FirstRunInputs(profile);
    inputs.Field(1) = "1";
    inputs.Field(2) = "10";
    const char* cells[2][5] = {{"Task", "50", "10", "40", "55"}, {"Cov 1", "10", "2", "12", "9"}};
    for (int row = 0; row < 2; ++row)
      for (int col = 1; col <= 5; ++col) inputs.grid.SetCell(col, row, cells[row][col - 1]);
    entry.edit = [](tStoredCorrelations& m) { SetCorrelation(m, 1, 2, 0.6); };
  }
  tComputeOutcome Compute() { return ComputeSummaryData(inputs, profile, context, services, entry); }
  bool Saved() const { return std::filesystem::exists(context.savedInputsPath); }

  const tProgramProfile profile = QuorvaneProfile();
  tTempFolder dir;
  tScriptedServices services;
  tStandInMatrixEntry entry;
  tComputeContext context;
  tWorksheetInputs inputs;
};

TEST_F(SummaryCompute, WorkedExampleGoesThroughTheMatrixEntryToTheGoldenReport) {
  const tComputeOutcome outcome = Compute();
  EXPECT_TRUE(services.messages.empty());
  EXPECT_EQ(entry.shownOrder, 2);
  EXPECT_EQ(entry.shown[1][2], 0.0);  // a first run opens on the identity
  EXPECT_EQ(inputs.grid.RowCount(), 2);  // the grid follows k even when the field did not resize it
  ASSERT_TRUE(outcome.showResults);
  EXPECT_EQ(outcome.report, GoldenReport("quorvane_worked_two_sided.txt"));
  ASSERT_TRUE(outcome.figure);  // the figure goes with the report, named after the grid's task
  EXPECT_EQ(outcome.figure->taskName, "Task");
  EXPECT_DOUBLE_EQ(outcome.figure->observed, -15);
  // The summary in words goes with them, in the grid's names.
  EXPECT_EQ(outcome.summary.rfind("After allowing for Cov 1, Case A's score on Task is lower", 0), 0u) << outcome.summary;
  EXPECT_FALSE(outcome.focusField);
  EXPECT_EQ(services.cursorChanges, (std::vector<bool>{true, false}));
  EXPECT_NE(Contents(context.savedInputsPath).find("\n0.600\n"), std::string::npos);

  // The next compute opens on the matrix entered, and its report stands
  // under the separator.
  context.reportLineCount = static_cast<int>(outcome.report.size());
  const tComputeOutcome second = Compute();
  EXPECT_DOUBLE_EQ(entry.shown[1][2], 0.6);
  ASSERT_FALSE(second.report.empty());
  EXPECT_EQ(second.report[0], std::string(102, '_'));

  // Clear Data forgets it: the identity again.
  ClearWorksheetInputs(inputs, profile);
  EXPECT_FALSE(inputs.matrixEntered);
  EXPECT_EQ(InitialEntryMatrix(inputs, 2)[1][2], 0.0);
}

TEST_F(SummaryCompute, ReturnToWorksheetChangesAndSavesNothing) {
  entry.edit = nullptr;
  const tComputeOutcome outcome = Compute();
  EXPECT_EQ(entry.calls, 1);
  EXPECT_FALSE(outcome.showResults);
  EXPECT_FALSE(outcome.figure);
  EXPECT_FALSE(outcome.focusField || outcome.focusCell);
  EXPECT_TRUE(services.messages.empty());
  EXPECT_FALSE(Saved());
  EXPECT_EQ(inputs.correlations[1][2], 0.0);
  EXPECT_FALSE(inputs.matrixEntered);
}

TEST_F(SummaryCompute, BadFieldsOrCellsStopBeforeTheMatrixEntryWithTheirFocus) {
  inputs.Field(2) = "2";
  EXPECT_EQ(Compute().focusField, 2);
  inputs.Field(2) = "10";
  inputs.grid.SetCell(MeanColumn, 1, "");
  const tComputeOutcome outcome = Compute();
  ASSERT_TRUE(outcome.focusCell);
  EXPECT_EQ(outcome.focusCell->column, MeanColumn);
  EXPECT_EQ(outcome.focusCell->row, 1);
  EXPECT_EQ(services.last().text, "INPUT ERROR\r\r(  Test No.2  )\r\rData have not been entered in this field.");
  EXPECT_EQ(entry.calls, 0);
  EXPECT_FALSE(Saved());
}

TEST_F(SummaryCompute, MatrixNotPositiveDefiniteStopsAfterSavingTheInputs) {
  inputs.Field(1) = "2";
  inputs.grid.SetRowCount(3);
  const char* third[5] = {"Cov 2", "5", "1", "6", "4"};
  for (int col = 1; col <= 5; ++col) inputs.grid.SetCell(col, 2, third[col - 1]);
  entry.edit = [](tStoredCorrelations& m) {
    SetCorrelation(m, 1, 2, 0.9);
    SetCorrelation(m, 1, 3, 0.9);
    SetCorrelation(m, 2, 3, -0.9);
  };
  const tComputeOutcome outcome = Compute();
  EXPECT_EQ(services.texts(), Lines{NotPositiveDefiniteMessage});
  EXPECT_EQ(services.last().kind, tMessageKind::Error);
  EXPECT_EQ(outcome.focusField, 1);
  EXPECT_FALSE(outcome.showResults);
  EXPECT_TRUE(outcome.report.empty());
  EXPECT_TRUE(Saved());
  EXPECT_DOUBLE_EQ(inputs.correlations[2][3], -0.9);
  EXPECT_FALSE(services.busy());
}

class RawCompute : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    context.savedInputsPath = SavedInputsPathIn(dir.Path(), profile);
    inputs = FirstRunInputs(profile);
    inputs.Field(1) = "10";
    inputs.Field(2) = "1";
  }
  std::string Put(const std::string& name, const std::string& text) const {
    const std::string path = dir.Path() + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  tComputeOutcome Compute(std::optional<std::string> file) {
    services.openFileAnswers.push_back(std::move(file));
    return ComputeRawData(inputs, profile, context, services);
  }

  const tProgramProfile profile = QuorvikProfile();
  tTempFolder dir;
  tScriptedServices services;
  tComputeContext context;
  tWorksheetInputs inputs;
};

// The worked controls as written, in UTF-16 (what spreadsheets save as
// "Unicode text", once refused or read one digit at a time) and in a
// spreadsheet's exports with a line of names (CSV with commas, CSV with
// semicolons and decimal commas, "Unicode text"), whose names stand for
// the variables: each gives the worked report.
TEST_F(RawCompute, WorkedFileInEveryFormGivesTheLoadedBoxAndTheGoldenReport) {
  const Lines golden = GoldenReport("quorvik_worked_two_sided.txt");
  Lines named = golden;
  const auto title = std::find(named.begin(), named.end(),
                               " Raw data for controls (data for the cases are reported in the table that follows):");
  ASSERT_NE(title, named.end());
  named.insert(title + 1, std::string(11, ' ') + "      Naming   School years   ");
  std::replace(named.begin(), named.end(),
               std::string("  Task of Interest:      50.000         10.000            40.000              55.000"),
               std::string("  Naming:                50.000         10.000            40.000              55.000"));
  std::replace(named.begin(), named.end(),
               std::string("  Covariate 1:           10.000          2.000            12.000               9.000"),
               std::string("  School years:          10.000          2.000            12.000               9.000"));

  const std::string plain = Contents(SourceFile("examples/worked_controls.txt"));
  auto wide = [&](bool littleEndian, bool mark, bool crlf) {
    std::string bytes = mark ? (littleEndian ? "\xFF\xFE" : "\xFE\xFF") : "";
    for (char c : plain) {
      if (c == '\n' && crlf) bytes += littleEndian ? std::string("\r\0", 2) : std::string("\0\r", 2);
      bytes += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
    }
    return bytes;
  };
  const Lines names = {"Naming", "School years"};
  for (const auto& [file, withNames] :
       {std::pair{SourceFile("examples/worked_controls.txt"), false},
        {Put("le-mark-crlf.txt", wide(true, true, true)), false}, {Put("le-lf.txt", wide(true, false, false)), false},
        {Put("be-mark.txt", wide(false, true, false)), false}, {SourceFile("examples/worked_controls.csv"), true},
        {SourceFile("examples/worked_controls_semicolon.csv"), true},
        {SourceFile("examples/worked_controls_unicode.txt"), true}}) {
    services.Clear();
    const tComputeOutcome outcome = Compute(file);
    EXPECT_EQ(services.texts(), Lines{RawDataLoadedMessage(12, 2, 0, withNames ? names : Lines{})}) << file;
    EXPECT_EQ(outcome.report, ForDataFile(withNames ? named : golden, file)) << file;
    ASSERT_TRUE(outcome.figure) << file;
    EXPECT_EQ(outcome.figure->taskName, withNames ? "Naming" : "") << file;
    EXPECT_NE(outcome.summary.find(withNames ? "for School years, Case A's score on Naming" : "for Covariate 1, "
                                   "Case A's score on Task of Interest"), std::string::npos) << outcome.summary;
    EXPECT_NEAR(outcome.figure->predicted, 9, 1e-9) << file;
    EXPECT_FALSE(services.busy());
  }
  EXPECT_EQ(Contents(context.savedInputsPath), "10 1       ");
}

// A named pipe would keep the program waiting until something wrote into
// it; it is refused before it is opened.
TEST_F(RawCompute, PipeIsRefusedWithoutWaiting) {
  const std::string fifo = dir.Path() + "/pipe.txt";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const tComputeOutcome outcome = Compute(fifo);
  EXPECT_FALSE(outcome.showResults);
  EXPECT_EQ(services.last().text, "The data file \"" + fifo +
                                      "\" cannot be read: it is a named pipe (FIFO), not a regular file. Choose a "
                                      "text file.");
}

// A large file shows the progress of reading and of writing the report;
// Cancel in either leaves no results.
TEST_F(RawCompute, LargeFileShowsProgressAndCancelLeavesNothing) {
  std::string text;
  for (int i = 0; i < 40000; ++i) text += std::to_string(40 + i % 21) + " " + std::to_string(8 + i % 5) + "\n";
  const std::string file = Put("large.txt", text + "40 12\n55 9\n");
  inputs.Field(1) = "40000";
  tComputeOutcome outcome = Compute(file);
  ASSERT_TRUE(outcome.showResults);
  EXPECT_GT(outcome.report.size(), 40000u);
  EXPECT_EQ(services.progressSteps, (Lines{ReadingDataStep, WritingReportStep}));
  EXPECT_EQ(services.progressEnds, 2);

  services.Clear();
  services.cancelProgressAtCall = 1;  // in the reading
  outcome = Compute(file);
  EXPECT_FALSE(outcome.showResults);
  EXPECT_EQ(services.texts(), Lines{LoadCancelledMessage});

  services.Clear();
  services.cancelProgressAtCall = 3;  // as the analysis begins
  outcome = Compute(file);
  EXPECT_FALSE(outcome.showResults);
  EXPECT_TRUE(outcome.report.empty());
  EXPECT_EQ(services.texts(), Lines{RawDataLoadedMessage(40002, 2)});
  EXPECT_FALSE(services.busy());
}

TEST_F(RawCompute, CancelledDialogKeepsTheSavedInputsAndReportsNothing) {
  for (std::optional<std::string> answer : {std::optional<std::string>{}, std::optional<std::string>{"  "}}) {
    services.Clear();
    const tComputeOutcome outcome = Compute(answer);
    EXPECT_EQ(services.texts(), Lines{LoadCancelledMessage});
    EXPECT_FALSE(outcome.showResults);
    EXPECT_EQ(Contents(context.savedInputsPath), "10 1       ");
  }
}

TEST_F(RawCompute, RefusedFilesAndDataStopWithTheirBoxAndNoReport) {
  // A short line: the reader's box names it; nothing more is said.
  tComputeOutcome outcome = Compute(Put("short.txt", "1 2\n3\n"));
  EXPECT_FALSE(outcome.showResults);
  EXPECT_NE(services.last().text.find("Line 2 (control 2) of the data file holds only 1 value"), std::string::npos);

  // A constant covariate: refused naming it, the focus in field 1.
  inputs.Field(1) = "3";
  services.Clear();
  outcome = Compute(Put("flat.txt", "1 5\n2 5\n3 5\n4 6\n5 7\n"));
  EXPECT_EQ(services.last().text, ZeroVarianceMessage(2));
  EXPECT_EQ(outcome.focusField, 1);
  EXPECT_FALSE(outcome.showResults);
  EXPECT_FALSE(services.busy());

  // Too many covariates: refused before anything is saved or asked.
  std::filesystem::remove(context.savedInputsPath);
  inputs.Field(2) = "2";
  services.Clear();
  outcome = ComputeRawData(inputs, profile, context, services);
  EXPECT_EQ(outcome.focusField, 2);
  EXPECT_TRUE(services.openDialogFolders.empty());
  EXPECT_FALSE(std::filesystem::exists(context.savedInputsPath));
}

}  // namespace
