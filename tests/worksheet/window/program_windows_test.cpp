// Each program built as its entry point builds it, with scripted services:
// the worked example typed into the real worksheet (and, in Quorvane, the
// real matrix window) through to the report in the real results window,
// which must equal the golden report.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "results/report_document.h"
#include "tests/support/scripted_services.h"
#include "tests/support/window_driving.h"
#include "tests/worksheet/logic/golden_reports.h"
#include "worksheet/window/program_windows.h"

namespace {

using Lines = std::vector<std::string>;

Lines ResultsLines(TfrmTemplateResults& results) {
  Lines lines;
  for (const QString& line : results.ReportText().split('\n'))
    lines.push_back(line.toStdString());
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

// The last analysis' summary in words stands under its figure, beginning with start.
void ExpectSummaryUnderFigure(TfrmTemplateResults& results, const char* start) {
  const QTextBlock summary = Child<QPlainTextEdit>(results, "memoResults")->document()->lastBlock().previous();
  EXPECT_TRUE(IsSummaryBlock(summary) && IsFigureBlock(summary.previous()));
  EXPECT_TRUE(summary.text().startsWith(start)) << summary.text().toStdString();
}

// Types into a grid cell as a user does: the first key goes to the grid
// (it opens the cell's editor), the rest to the editor.
void TypeCell(QTableWidget& grid, int col, int row, const std::string& text) {
  grid.setCurrentItem(nullptr);  // closes an editor left open in the cell
  grid.setCurrentCell(row, col);
  QTest::keyClick(&grid, text[0]);
  auto* editor = qobject_cast<QLineEdit*>(grid.indexWidget(grid.currentIndex()));
  ASSERT_NE(editor, nullptr) << "no editor in column " << col << ", row " << row;
  if (text.size() > 1) QTest::keyClicks(editor, text.substr(1).c_str());
}

class ProgramWindows : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  // Quorvane's windows whose matrix window, when shown, is handled by act;
  // the worksheet is shown when place is the test folder.
  tProgramWindows Quorvane(std::function<void(TSqMatFrm&)> act, std::optional<tSavedInputsPlace> place = {}) {
    auto entry = std::make_unique<tDrivenMatrixEntry>(services, std::move(act));
    matrixEntry = entry.get();
    tProgramWindows windows =
        BuildQuorvaneWindows(services, place.value_or(tSavedInputsPlace(dir.path().toStdString())), std::move(entry));
    matrixEntry->worksheet = windows.worksheet.get();
    if (!place) windows.worksheet->show();
    return windows;
  }
  static void TypeCounts(TfrmTemplate& worksheet, const char* first, const char* second) {
    QTest::keyClicks(Child<QLineEdit>(worksheet, "txtInput1"), first);
    QTest::keyClicks(Child<QLineEdit>(worksheet, "txtInput2"), second);
  }
  QTemporaryDir dir;
  tScriptedServices services;
  tDrivenMatrixEntry* matrixEntry = nullptr;
};

TEST_F(ProgramWindows, QuorvaneTakesTheWorkedExampleThroughTheMatrixWindowToTheGoldenReport) {
  std::string typedInto;
  tProgramWindows windows = Quorvane([&](TSqMatFrm& window) {
    tMatrixCell* cell = window.Cell(1, 2);
    cell->selectAll();
    QTest::keyClicks(cell, "0.6");
    typedInto = cell->text().toStdString();
    Child<QPushButton>(window, "CloseBtn")->click();
  });
  TfrmTemplate& worksheet = *windows.worksheet;
  TypeCounts(worksheet, "1", "10");
  QTableWidget& grid = *Child<QTableWidget>(worksheet, "grdData");
  EXPECT_EQ(grid.rowCount(), 2);
  const char* cells[2][4] = {{"50", "10", "40", "55"}, {"10", "2", "12", "9"}};
  for (int row = 0; row < 2; ++row)
    for (int col = 2; col <= 5; ++col) TypeCell(grid, col, row, cells[row][col - 2]);
  Child<QPushButton>(worksheet, "cmdCompute")->click();

  EXPECT_EQ(typedInto, "0.6");
  EXPECT_TRUE(services.messages.empty()) << services.texts().front();
  EXPECT_TRUE(windows.results->isVisible());
  EXPECT_FALSE(worksheet.isVisible());
  EXPECT_EQ(windows.results->windowTitle().toStdString(), "Results viewer: " + QuorvaneProfile().programTitle);
  EXPECT_EQ(ResultsLines(*windows.results), GoldenReport("quorvane_worked_two_sided.txt"));
  // The report's figure stands under it, and the summary under the figure.
  ASSERT_EQ(DocumentFigures(*Child<QPlainTextEdit>(*windows.results, "memoResults")->document()).size(), 1u);
  ExpectSummaryUnderFigure(*windows.results, "After allowing for Cov 1, Case A's score on Task is lower");

  // The next start restores what was typed, and Compute reads "Continue".
  windows = tProgramWindows{};
  tProgramWindows again = BuildQuorvaneWindows(services, dir.path().toStdString());
  EXPECT_EQ(Child<QLineEdit>(*again.worksheet, "txtInput2")->text().toStdString(), "10");
  EXPECT_EQ(Child<QTableWidget>(*again.worksheet, "grdData")->item(1, 3)->text().toStdString(), "2");
  EXPECT_EQ(Child<QPushButton>(*again.worksheet, "cmdCompute")->text().toStdString(), "Continue");
  EXPECT_DOUBLE_EQ(again.worksheet->CurrentInputs().correlations[1][2], 0.6);
}

// The worked example copied from a spreadsheet: the grid's block pasted
// from the first name on, the lower triangle pasted into the matrix window.
TEST_F(ProgramWindows, QuorvanePastedGridAndLowerTriangleGiveTheTypedReport) {
  tProgramWindows windows = Quorvane([&](TSqMatFrm& window) {
    services.clipboardText = "1\r\n0,6\t1\r\n";
    QTest::keySequence(window.Cell(1, 2), QKeySequence::Paste);
    Child<QPushButton>(window, "CloseBtn")->click();
  });
  TfrmTemplate& worksheet = *windows.worksheet;
  TypeCounts(worksheet, "1", "10");
  QTableWidget& grid = *Child<QTableWidget>(worksheet, "grdData");
  grid.setCurrentCell(0, 1);
  services.clipboardText = "Task\t50\t10\t40\t55\r\nCov 1\t10\t2\t12\t9\r\n";
  QTest::keySequence(&grid, QKeySequence::Paste);
  EXPECT_EQ(grid.item(1, 5)->text().toStdString(), "9");
  Child<QPushButton>(worksheet, "cmdCompute")->click();

  EXPECT_TRUE(services.messages.empty()) << services.texts().front();
  EXPECT_EQ(ResultsLines(*windows.results), GoldenReport("quorvane_worked_two_sided.txt"));
}

TEST_F(ProgramWindows, QuorvaneReturnToWorksheetFromTheMatrixWindowChangesNothing) {
  tProgramWindows windows = Quorvane([](TSqMatFrm& window) { Child<QPushButton>(window, "ReturnBtn")->click(); });
  Child<QLineEdit>(*windows.worksheet, "txtInput1")->setText("1");
  Child<QLineEdit>(*windows.worksheet, "txtInput2")->setText("10");
  QTableWidget& grid = *Child<QTableWidget>(*windows.worksheet, "grdData");
  for (int row = 0; row < 2; ++row)
    for (int col = 2; col <= 5; ++col) grid.item(row, col)->setText("1");
  Child<QPushButton>(*windows.worksheet, "cmdCompute")->click();
  EXPECT_EQ(matrixEntry->windowsShown, 1);
  EXPECT_TRUE(windows.worksheet->isVisible());
  EXPECT_FALSE(windows.results->isVisible());
  EXPECT_TRUE(services.messages.empty());
  EXPECT_FALSE(QFile::exists(QString::fromStdString(windows.worksheet->SavedInputsPath())));
}

// The program's folder cannot be written and the user has no saved inputs
// yet: those beside the program are restored, the first Compute saves them
// in the user's folder and says so, a later one says nothing.
TEST_F(ProgramWindows, QuorvaneRestoresInputsBesideAReadOnlyProgramAndSaysOnceWhereTheyNowLive) {
  ASSERT_TRUE(QDir(dir.path()).mkdir("program"));
  const std::string program = dir.filePath("program").toStdString();
  const std::string text = "1\n10\nTask\n50\n10\n40\n55\nCov 1\n10\n2\n12\n9\n1.000\n0.600\n1.000\n";
  std::ofstream(program + "/Quorvane.txt", std::ios::binary) << text;
  tProgramWindows windows = Quorvane([](TSqMatFrm& window) { Child<QPushButton>(window, "CloseBtn")->click(); },
                                     tSavedInputsPlace(dir.filePath("user").toStdString(), program));
  EXPECT_EQ(Child<QPushButton>(*windows.worksheet, "cmdCompute")->text().toStdString(), "Continue");

  windows.worksheet->cmdComputeClick();
  windows.worksheet->cmdComputeClick();
  ASSERT_EQ(services.messages.size(), 1u) << services.texts().back();
  EXPECT_EQ(services.last().kind, tMessageKind::Information);
  const std::string saved = windows.worksheet->SavedInputsPath();
  EXPECT_NE(services.last().text.find(saved), std::string::npos) << services.last().text;
  EXPECT_EQ(matrixEntry->windowsShown, 2);
  std::ifstream savedFile(saved, std::ios::binary), besideFile(program + "/Quorvane.txt", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(savedFile), {}), text);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(besideFile), {}), text);
}

TEST_F(ProgramWindows, QuorvikTakesTheWorkedFileToTheDiagnosticLinesAndTheGoldenReport) {
  tProgramWindows windows = BuildQuorvikWindows(services, dir.path().toStdString());
  TfrmTemplate& worksheet = *windows.worksheet;
  worksheet.show();
  TypeCounts(worksheet, "10", "1");
  const std::string file = SourceFile("examples/worked_controls.txt");
  services.openFileAnswers.push_back(file);
  QTest::mouseClick(Child<QPushButton>(worksheet, "cmdCompute"), Qt::LeftButton);

  EXPECT_EQ(services.texts(), Lines{"Data file consisting of n + 2 = 12 cases (rows) and  2 variables (columns) was "
                                    "loaded successfully "});
  EXPECT_EQ(services.cursorChanges, (std::vector<bool>{true, false, true, false}));
  EXPECT_TRUE(windows.results->isVisible());
  EXPECT_EQ(ResultsLines(*windows.results), ForDataFile(GoldenReport("quorvik_worked_two_sided.txt"), file));
  ExpectSummaryUnderFigure(*windows.results,
                           "After allowing for Covariate 1, Case A's score on Task of Interest is lower");
}

// A long report is shown with progress; Cancel while it is shown takes it
// back whole and returns to the worksheet.
TEST_F(ProgramWindows, QuorvikShowsALongReportWithProgressAndCancelTakesItBack) {
  tProgramWindows windows = BuildQuorvikWindows(services, dir.path().toStdString());
  TfrmTemplate& worksheet = *windows.worksheet;
  worksheet.show();
  std::string text;
  for (int i = 0; i < 30000; ++i) text += std::to_string(40 + i % 21) + " " + std::to_string(8 + i % 5) + "\n";
  const std::string file = dir.filePath("large.txt").toStdString();
  std::ofstream(file) << text << "40 12\n55 9\n";
  TypeCounts(worksheet, "30000", "1");

  services.openFileAnswers.push_back(file);
  Child<QPushButton>(worksheet, "cmdCompute")->click();
  EXPECT_EQ(services.progressSteps.back(), ShowingReportStep);
  EXPECT_TRUE(windows.results->isVisible());
  const Lines shown = ResultsLines(*windows.results);
  EXPECT_GT(shown.size(), 30000u);

  windows.results->hide();
  worksheet.show();
  services.Clear();
  services.cancelProgressAtCall = 5;  // after the first piece of the report is shown
  services.openFileAnswers.push_back(file);
  Child<QPushButton>(worksheet, "cmdCompute")->click();
  EXPECT_EQ(services.progressSteps, (Lines{ReadingDataStep, WritingReportStep, ShowingReportStep}));
  EXPECT_FALSE(windows.results->isVisible());
  EXPECT_TRUE(worksheet.isVisible());
  EXPECT_EQ(ResultsLines(*windows.results), shown);
}

}  // namespace
