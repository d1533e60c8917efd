// Quorvane end to end: values typed into the real worksheet grid and the
// real matrix window, the real buttons pressed, the report read back from
// the results window. The matrix window runs under a driver that acts as
// the user; saved inputs live in a temporary folder.
//
// Worked controls: N = 10, k = 1; task mean 50, SD 10; covariate mean 10,
// SD 2; r = 0.6. Case A 40, 12; Case B 55, 9. The regression gives
// beta = (20, 3) and s^2 = 72, so t = -24 / sqrt(162) = -1.885618 on 8 df,
// Z-PCCC = -2 with the limits of the worked interval estimates.
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "matrix_entry/matrix_entry.h"
#include "results/tfrm_template_results.h"
#include "tests/support/scripted_services.h"
#include "validation/validation_messages.h"
#include "worksheet/program_strings.h"
#include "worksheet/summary_data_flow.h"
#include "worksheet/tfrm_template.h"
#include "worksheet/worksheet_settings.h"

namespace {

using Lines = std::vector<std::string>;

const std::string Separator(102, '_');

// One row of the grid as typed: name, mean, SD, Case A, Case B.
using tRow = std::vector<const char*>;
const std::vector<tRow> WorkedGrid = {{"Task", "50", "10", "40", "55"}, {"Cov 1", "10", "2", "12", "9"}};

class SummaryFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    programTitle = QuorvaneProgramTitle;
    savedInputsFileName = QuorvaneSavedInputsFileName;
    SetMatrixEntryDriver([this](TSqMatFrm& window) {
      ++matrixWindows;
      shownCells.clear();
      for (int r = 1; r <= window.RowCount(); ++r)
        for (int c = 1; c <= r; ++c) shownCells.push_back(window.Cell(c, r)->text().toStdString());
      worksheetHiddenDuringEntry = !form->isVisible();
      if (matrixUser) matrixUser(window);
    });
    Start();
  }
  void TearDown() override {
    SetMatrixEntryDriver(nullptr);
    form.reset();
    results.reset();
  }

  // A start of the program: new windows over the same saved-inputs folder.
  void Start() {
    form.reset();
    results.reset();
    form = std::make_unique<TfrmTemplate>(QuorvaneWorksheetSettings(), services, dir.path().toStdString());
    results = std::make_unique<TfrmTemplateResults>(services);
    form->SetResultsWindow(results.get());
    results->SetWorksheet(form.get());
    form->SetComputeFlow(std::make_unique<tSummaryDataFlow>());
    flow = dynamic_cast<tSummaryDataFlow*>(form->ComputeFlow());
    form->show();
  }

  std::string SavedFile() const { return dir.path().toStdString() + "/Quorvane.txt"; }
  bool Saved() const { return QFile::exists(QString::fromStdString(SavedFile())); }
  std::string SavedText() const {
    std::ifstream in(SavedFile(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Types into a grid cell as a user does: the first key goes to the grid
  // (it opens the cell's editor), the rest to the editor.
  QLineEdit* TypeCell(int col, int row, const std::string& text) {
    QTableWidget* grid = form->grdData;
    grid->setCurrentItem(nullptr);  // closes an editor left open in the cell
    grid->setCurrentCell(row, col);
    QTest::keyClick(grid, text[0]);
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    EXPECT_NE(editor, nullptr) << "no editor in column " << col << ", row " << row;
    if (editor != nullptr && text.size() > 1) QTest::keyClicks(editor, text.substr(1).c_str());
    return editor;
  }
  void TypeField(QLineEdit* field, const char* text) {
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
  }

  // The worked controls typed into an empty worksheet (names as shown).
  void TypeWorkedInputs() {
    TypeField(form->txtInput1, "1");
    TypeField(form->txtInput2, "10");
    for (int row = 0; row < 2; ++row)
      for (int col = 2; col <= 5; ++col) TypeCell(col, row, WorkedGrid[row][col - 1]);
  }

  // The matrix user types the given lower-triangle values (column, row,
  // text) and presses Continue.
  static std::function<void(TSqMatFrm&)> TypeAndContinue(std::vector<std::tuple<int, int, const char*>> cells) {
    return [cells](TSqMatFrm& window) {
      for (const auto& [c, r, text] : cells) {
        tMatrixCell* cell = window.Cell(c, r);
        cell->selectAll();
        QTest::keyClicks(cell, text);
      }
      window.CloseBtn->click();
    };
  }
  static void Continue(TSqMatFrm& window) { window.CloseBtn->click(); }

  Lines Report() const {
    Lines lines;
    for (const QString& line : results->memoResults->toPlainText().split('\n')) lines.push_back(line.toStdString());
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
  }
  long Count(const std::string& line) const {
    const Lines lines = Report();
    return std::count(lines.begin(), lines.end(), line);
  }
  // The number after the last "= " on the line that starts with prefix.
  double Figure(const std::string& prefix) const {
    for (const std::string& line : Report())
      if (line.rfind(prefix, 0) == 0) return std::strtod(line.c_str() + line.rfind("= ") + 2, nullptr);
    ADD_FAILURE() << "no line starts with \"" << prefix << "\"";
    return 0;
  }

  // QUORV_PRINT_REPORT=1 shows the report text (to look at it by eye).
  void PrintReportIfAsked() const {
    if (std::getenv("QUORV_PRINT_REPORT") == nullptr) return;
    for (const std::string& line : Report()) std::printf("|%s|\n", line.c_str());
  }

  void SelectInterval(int item) { form->RadioGroup1->Item(item)->click(); }
  void PressCompute() { form->cmdCompute->click(); }

  QTemporaryDir dir;
  tScriptedServices services;
  std::unique_ptr<TfrmTemplate> form;
  std::unique_ptr<TfrmTemplateResults> results;
  tSummaryDataFlow* flow = nullptr;

  std::function<void(TSqMatFrm&)> matrixUser;
  int matrixWindows = 0;
  Lines shownCells;  // the lower triangle as the last matrix window showed it, by rows
  bool worksheetHiddenDuringEntry = false;
};

const char* const TTestLine = " t value (on   8 df) = -1.8856";

}  // namespace

// --- the worked case through the real windows --------------------------------

TEST_F(SummaryFlowTest, WorkedCaseTwoSidedFromTypedInputsToTheReport) {
  TypeWorkedInputs();
  EXPECT_EQ(form->grdData->rowCount(), 2);  // the grid followed the covariates field
  EXPECT_TRUE(services.messages.empty());
  matrixUser = TypeAndContinue({{1, 2, "0.6"}});
  PressCompute();

  EXPECT_EQ(matrixWindows, 1);
  EXPECT_TRUE(worksheetHiddenDuringEntry);
  EXPECT_EQ(shownCells, (Lines{"1.000", "0.000", "1.000"}));  // first run: the identity
  EXPECT_TRUE(services.messages.empty()) << services.last().text;
  EXPECT_EQ(services.cursorChanges, (std::vector<bool>{true, false}));
  EXPECT_GE(services.eventPumps, 1);

  EXPECT_TRUE(results->isVisible());
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(results->windowTitle().toStdString(), std::string("Results viewer: ") + QuorvaneProgramTitle);

  const Lines report = Report();
  ASSERT_GE(report.size(), 3u);
  EXPECT_EQ(report[0], "");  // the first report has no separator
  EXPECT_EQ(report[1], QuorvaneProgramTitle);
  EXPECT_EQ(Count(" Number of covariates = 1"), 1);
  EXPECT_EQ(Count(" Sample size (N) of control sample= 10"), 1);
  EXPECT_EQ(Count(" Credible limit required: Two-sided"), 1);
  const auto S = [](int n) { return std::string(static_cast<std::size_t>(n), ' '); };
  EXPECT_EQ(Count("  Task of Interest:" + S(6) + "50.000" + S(9) + "10.000" + S(12) + "40.000" + S(14) + "55.000"), 1);
  EXPECT_EQ(Count("  Covariate 1:" + S(11) + "10.000" + S(10) + "2.000" + S(12) + "12.000" + S(15) + "9.000"), 1);
  EXPECT_EQ(Count("   1.00000   0.60000   "), 1);
  EXPECT_EQ(Count(" Raw difference between the scores of the two cases (Case A - Case B)  = -15.000"), 1);
  EXPECT_EQ(Count(" Sample estimate of the conditional SD for task of interest = 8.485"), 1);
  EXPECT_EQ(Count(TTestLine), 1);
  EXPECT_EQ(Count(" One-tailed probability = 0.048036"), 1);
  EXPECT_EQ(Count(" Two-tailed probability = 0.096072"), 1);
  EXPECT_EQ(Count(" Effect size (Z-PCCC) for difference between the two cases (plus 95% CI) = -2.000  "
                  "(-3.166 , -0.795)"),
            1);
  EXPECT_EQ(Count(" direction as the two cases but are larger in magnitude = 4.8036%"), 1);
  EXPECT_NEAR(Figure(" 95% lower confidence limit on the percentage"), 0.0774, 1e-4);
  EXPECT_NEAR(Figure(" 95% upper confidence limit on the percentage"), 21.32, 5e-3);

  PrintReportIfAsked();

  // The inputs were saved as typed, with the matrix entered.
  EXPECT_EQ(SavedText(), "1\n10\nTask\n50\n10\n40\n55\nCov 1\n10\n2\n12\n9\n1.000\n0.600\n1.000\n");
}

TEST_F(SummaryFlowTest, OneSidedChoicesRunTheEngineOneSidedAndPrintTheirOwnLimit) {
  TypeWorkedInputs();
  matrixUser = TypeAndContinue({{1, 2, "0.6"}});
  struct tCase {
    int item;
    const char* choice;
    const char* limitLine;
    double limit;
    const char* absentLine;
  };
  const tCase cases[] = {
      {1, " Credible limit required: One-sided lower", " 95% (one-sided) lower confidence limit on the percentage",
       0.1540, " 95% (one-sided) upper confidence limit"},
      {2, " Credible limit required: One-sided upper", " 95% (one-sided) upper confidence limit on the percentage",
       16.648, " 95% (one-sided) lower confidence limit"},
  };
  for (const tCase& c : cases) {
    SCOPED_TRACE(c.choice);
    results->memoResults->clear();
    results->cmdReturnClick();
    SelectInterval(c.item);
    PressCompute();
    EXPECT_TRUE(services.messages.empty()) << services.last().text;
    EXPECT_EQ(Count(c.choice), 1);
    EXPECT_EQ(Count(TTestLine), 1);
    const Lines report = Report();
    const auto zLine = std::find_if(report.begin(), report.end(),
                                    [](const std::string& l) { return l.find("Effect size (Z-PCCC)") != std::string::npos; });
    ASSERT_NE(zLine, report.end());
    EXPECT_NE(zLine->find("= -2.000  (-2.960 , -0.968)"), std::string::npos) << *zLine;
    EXPECT_NEAR(Figure(c.limitLine), c.limit, c.limit * 1e-4);
    PrintReportIfAsked();
    for (const std::string& line : report) EXPECT_EQ(line.rfind(c.absentLine, 0), std::string::npos) << line;
    for (const std::string& line : report) EXPECT_EQ(line.rfind(" 95% lower", 0), std::string::npos) << line;
  }
}

// --- saved inputs across starts, reports stacking ----------------------------

TEST_F(SummaryFlowTest, SecondStartRestoresEverythingAndReportsStackUnderTheSeparator) {
  TypeWorkedInputs();
  form->memoComments->setPlainText("pair 1");
  matrixUser = TypeAndContinue({{1, 2, "0.6"}});
  PressCompute();
  ASSERT_EQ(Count(TTestLine), 1);

  Start();
  EXPECT_TRUE(services.messages.empty());
  EXPECT_EQ(form->txtInput1->text().toStdString(), "1");
  EXPECT_EQ(form->txtInput2->text().toStdString(), "10");
  EXPECT_EQ(form->cmdCompute->text().toStdString(), "Continue");
  ASSERT_EQ(form->grdData->rowCount(), 2);
  for (int row = 0; row < 2; ++row)
    for (int col = 1; col <= 5; ++col) EXPECT_EQ(form->Cell(col, row).toStdString(), WorkedGrid[row][col - 1]);
  EXPECT_TRUE(form->matrixRestored);
  EXPECT_TRUE(Report().empty());

  // The restored matrix is what the matrix window shows; Continue takes it.
  matrixUser = Continue;
  PressCompute();
  EXPECT_EQ(shownCells, (Lines{"1.000", "0.600", "1.000"}));
  EXPECT_TRUE(services.messages.empty()) << services.last().text;
  ASSERT_FALSE(Report().empty());
  EXPECT_EQ(Report().front(), "");
  EXPECT_EQ(Count(TTestLine), 1);

  // A second compute in this run: the second report follows the separator.
  results->cmdReturnClick();
  PressCompute();
  const Lines report = Report();
  EXPECT_EQ(Count(TTestLine), 2);
  EXPECT_EQ(Count(Separator), 1);
  const auto separator = std::find(report.begin(), report.end(), Separator);
  ASSERT_NE(separator, report.end());
  ASSERT_LT(separator + 2, report.end());
  EXPECT_EQ(*(separator + 1), "");
  EXPECT_EQ(*(separator + 2), QuorvaneProgramTitle);
  EXPECT_EQ(std::find(report.begin(), separator, TTestLine) != separator, true);  // one report above it
}

// The matrix typed earlier in a run without saved inputs comes back in the
// matrix window, instead of the identity; Clear Data starts afresh.
TEST_F(SummaryFlowTest, MatrixEnteredInThisRunPrefillsTheNextEntryUntilClearData) {
  TypeWorkedInputs();
  matrixUser = TypeAndContinue({{1, 2, "0.6"}});
  PressCompute();
  EXPECT_FALSE(form->matrixRestored);
  EXPECT_TRUE(flow->MatrixEntered());

  results->cmdReturnClick();
  TypeCell(5, 0, "54");
  matrixUser = Continue;  // a hurried Continue
  PressCompute();
  EXPECT_EQ(shownCells, (Lines{"1.000", "0.600", "1.000"}));
  EXPECT_TRUE(services.messages.empty()) << services.last().text;  // no zero question
  EXPECT_EQ(Count("   0.60000   1.00000   "), 2);  // both reports used r = 0.6

  results->cmdReturnClick();
  form->btnclearData->click();
  EXPECT_FALSE(flow->MatrixEntered());
  TypeWorkedInputs();
  for (int row = 0; row < 2; ++row) TypeCell(1, row, WorkedGrid[row][0]);
  services.answers = {tMessageResult::Yes};  // "continue with cell (2,1) set to ... '0.000'?"
  PressCompute();
  EXPECT_EQ(shownCells, (Lines{"1.000", "0.000", "1.000"}));
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Confirmation);
}

// --- the failure table ---------------------------------------------------------

TEST_F(SummaryFlowTest, BadCountFieldsStopWithTheirBoxFocusAndNothingSaved) {
  TypeWorkedInputs();
  struct tCase {
    const char* covariates;
    const char* sampleSize;
    std::string message;
    QLineEdit* focus;
  };
  const tCase cases[] = {
      {"", "10", "INPUT ERROR\r\r(  Number of covariates :   )\r\rData have not been entered in this field.",
       form->txtInput1},
      {"6", "10", "INPUT ERROR\r(  Number of covariates :   6.000  )\rThe value must be a positive integer and be less than 6.",
       form->txtInput1},
      {"0", "10", "INPUT ERROR\r(  Number of covariates :   0.000  )\rThe value must be a positive integer and be less than 6.",
       form->txtInput1},
      {"1", "2", "INPUT ERROR\r(  Sample size (N) of control sample:  2.000  )\rThe value for sample size must be an integer greater than 2.",
       form->txtInput2},
      {"1", "10.5", "INPUT ERROR\r(  Sample size (N) of control sample:  10.500  )\rThe value for sample size must be an integer greater than 2.",
       form->txtInput2},
      {"1", "", "INPUT ERROR\r\r(  Sample size (N) of control sample:  )\r\rData have not been entered in this field.",
       form->txtInput2},
      {"3", "4", " With a control sample size of  4, the maximum number of covariates is  2 ", form->txtInput1},
  };
  for (const tCase& c : cases) {
    SCOPED_TRACE(c.message);
    form->txtInput1->setText(c.covariates);
    form->txtInput2->setText(c.sampleSize);
    services.Clear();
    PressCompute();
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.last().text, c.message);
    EXPECT_EQ(form->focusWidget(), c.focus);
    EXPECT_EQ(form->txtInput1->text().toStdString(), c.covariates);
    EXPECT_EQ(form->txtInput2->text().toStdString(), c.sampleSize);
  }
  EXPECT_EQ(services.last().kind, tMessageKind::Error);  // the cross-field rule
  EXPECT_EQ(matrixWindows, 0);
  EXPECT_FALSE(Saved());
  EXPECT_EQ(form->Cell(2, 0).toStdString(), "50");
  EXPECT_TRUE(Report().empty());

  // N = 5 with k = 3 passes the counts and goes on to the grid.
  form->txtInput1->setText("3");
  form->txtInput2->setText("5");
  services.Clear();
  PressCompute();
  EXPECT_NE(services.last().text.find("Test No.3"), std::string::npos) << services.last().text;
}

TEST_F(SummaryFlowTest, BadGridCellsStopWithTheCellCurrentAndTheGridFocused) {
  TypeWorkedInputs();
  TypeField(form->txtInput1, "2");
  ASSERT_EQ(form->grdData->rowCount(), 3);
  const char* third[] = {"12", "3", "11", "13"};
  for (int col = 2; col <= 5; ++col) TypeCell(col, 2, third[col - 2]);

  // The Mean of row 2 is empty (cleared with Backspace in its editor).
  QLineEdit* editor = TypeCell(2, 1, "9");
  QTest::keyClick(editor, Qt::Key_Backspace);
  services.Clear();
  PressCompute();
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Warning);
  EXPECT_EQ(services.last().text, "INPUT ERROR\r\r(  Test No.2  )\r\rData have not been entered in this field.");
  EXPECT_EQ(form->grdData->currentColumn(), 2);
  EXPECT_EQ(form->grdData->currentRow(), 1);
  EXPECT_TRUE(form->grdData->hasFocus() || form->grdData->isAncestorOf(form->focusWidget()));

  // Means come before SDs: with the mean back, the SD of 0 in row 3 stops.
  TypeCell(2, 1, "10");
  TypeCell(3, 2, "0");
  services.Clear();
  PressCompute();
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().text, "INPUT ERROR\r(  SD  0.000  )\rStandard deviations must have a positive value.");
  EXPECT_EQ(form->grdData->currentColumn(), 3);
  EXPECT_EQ(form->grdData->currentRow(), 2);

  EXPECT_EQ(matrixWindows, 0);
  EXPECT_FALSE(Saved());
  EXPECT_EQ(form->Cell(3, 2).toStdString(), "0");
  EXPECT_EQ(form->Cell(4, 2).toStdString(), "11");
  EXPECT_EQ(form->txtInput1->text().toStdString(), "2");
}

TEST_F(SummaryFlowTest, ReturnToWorksheetFromTheMatrixWindowChangesNothing) {
  TypeWorkedInputs();
  form->storedCorrelations[1][2] = form->storedCorrelations[2][1] = 0.25;  // a matrix kept from before
  matrixUser = [](TSqMatFrm& window) {
    window.Cell(1, 2)->setText("0.9");
    window.ReturnBtn->click();
  };
  PressCompute();
  EXPECT_EQ(matrixWindows, 1);
  EXPECT_TRUE(worksheetHiddenDuringEntry);
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(results->isVisible());
  EXPECT_FALSE(returnedToWorksheet);  // the flow cleared it
  EXPECT_TRUE(services.messages.empty());
  EXPECT_FALSE(Saved());
  EXPECT_EQ(form->storedCorrelations[1][2], 0.25);
  EXPECT_EQ(form->matrixOrder, 0);
  EXPECT_FALSE(flow->MatrixEntered());
  EXPECT_TRUE(Report().empty());
  EXPECT_TRUE(services.cursorChanges.empty());
}

TEST_F(SummaryFlowTest, MatrixNotPositiveDefiniteStopsAfterSavingTheInputs) {
  TypeWorkedInputs();
  TypeField(form->txtInput1, "2");
  const char* third[] = {"12", "3", "11", "13"};
  for (int col = 2; col <= 5; ++col) TypeCell(col, 2, third[col - 2]);
  matrixUser = TypeAndContinue({{1, 2, "0.9"}, {1, 3, "0.9"}, {2, 3, "-0.9"}});
  PressCompute();

  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Error);
  EXPECT_EQ(services.last().caption, "Error");
  EXPECT_EQ(services.last().text, NotPositiveDefiniteMessage);
  EXPECT_FALSE(services.busy());
  EXPECT_EQ(form->focusWidget(), form->txtInput1);
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(results->isVisible());
  EXPECT_TRUE(Report().empty());
  // The inputs and the matrix are saved and stored.
  const std::string saved = SavedText();
  EXPECT_NE(saved.find("\n1.000\n0.900\n1.000\n0.900\n-0.900\n1.000\n"), std::string::npos) << saved;
  EXPECT_DOUBLE_EQ(form->storedCorrelations[2][3], -0.9);
  EXPECT_EQ(form->matrixOrder, 3);
}

// A covariate difference that is tiny against the covariate's SD sends the
// noncentrality search past the noncentral t's bound: the engine raises.
TEST_F(SummaryFlowTest, AnEngineErrorIsShownAndLeavesTheWorksheetAndAnEmptyResultsWindow) {
  TypeWorkedInputs();
  TypeCell(3, 1, "999999");
  TypeCell(5, 1, "12.001");
  matrixUser = TypeAndContinue({{1, 2, "0.6"}});
  PressCompute();

  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Error);
  EXPECT_FALSE(services.last().text.empty());
  EXPECT_NE(services.last().text.find("-2147483647"), std::string::npos) << services.last().text;
  EXPECT_FALSE(services.busy());
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(results->isVisible());
  EXPECT_TRUE(results->memoResults->toPlainText().isEmpty());
  EXPECT_TRUE(Saved());  // saved before the analysis, as always
  EXPECT_EQ(form->Cell(5, 1).toStdString(), "12.001");
}

// --- keys in the covariates field and the grid ---------------------------------

TEST_F(SummaryFlowTest, CovariatesFieldResizesTheGridAndCapsItAtTwelve) {
  QLineEdit* field = form->txtInput1;
  QTest::keyClicks(field, "5");
  EXPECT_EQ(form->grdData->rowCount(), 6);
  EXPECT_EQ(form->settings.gridRows, 6);
  EXPECT_EQ(form->Cell(0, 5).toStdString(), "6");

  // 2.5 is no whole number: a clear box, the grid stays as 2 made it.
  TypeField(field, "2.5");
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().text, WholeNumberMessage("2.5"));
  EXPECT_EQ(form->grdData->rowCount(), 3);
  EXPECT_EQ(field->text().toStdString(), "2.5");

  // A letter: the reader's box once, the grid alone.
  services.Clear();
  TypeField(field, "a");
  EXPECT_EQ(services.texts(), Lines{InvalidCellMessage});
  EXPECT_EQ(form->grdData->rowCount(), 3);

  services.Clear();
  TypeField(field, "13");
  EXPECT_EQ(services.texts(), Lines{GridCapMessage});
  EXPECT_EQ(field->text().toStdString(), "12");
  EXPECT_EQ(field->selectedText().toStdString(), "12");
  EXPECT_EQ(form->grdData->rowCount(), 13);
  EXPECT_EQ(form->Cell(1, 6).toStdString(), "Cov 6");  // default names come back as the grid grows

  // Compute then stops at the covariate count.
  form->txtInput2->setText("30");
  services.Clear();
  PressCompute();
  EXPECT_EQ(services.texts(),
            Lines{"INPUT ERROR\r(  Number of covariates :   12.000  )\rThe value must be a positive integer and be less than 6."});

  // A negative count leaves one row; a pasted huge count stops at 13 rows.
  field->setText("-1");
  EXPECT_EQ(form->grdData->rowCount(), 1);
  field->setText("1000000");
  EXPECT_EQ(form->grdData->rowCount(), 13);
}

TEST_F(SummaryFlowTest, GridKeysFilterNumbersAndLimitLengths) {
  // A letter in a numeric column is refused with the beep and the box; a
  // comma is entered as a point.
  QLineEdit* editor = TypeCell(2, 0, "4");
  QTest::keyClicks(editor, "x,5");
  EXPECT_EQ(form->Cell(2, 0).toStdString(), "4.5");
  EXPECT_EQ(services.texts(), Lines{NumericKeyMessage});
  EXPECT_EQ(services.beeps, 1);

  // More than six characters in a numeric cell are cut back to six.
  services.Clear();
  editor = TypeCell(3, 0, "123456");
  EXPECT_TRUE(services.messages.empty());
  QTest::keyClicks(editor, "7");
  EXPECT_EQ(form->Cell(3, 0).toStdString(), "123456");
  EXPECT_EQ(editor->text().toStdString(), "123456");
  EXPECT_EQ(services.texts(), Lines{MaximumLengthMessage});
  EXPECT_EQ(services.beeps, 1);

  // Names take any key; six characters and more warn but are kept.
  services.Clear();
  editor = TypeCell(1, 1, "Memor");
  EXPECT_TRUE(services.messages.empty());
  QTest::keyClicks(editor, "y2");
  EXPECT_EQ(form->Cell(1, 1).toStdString(), "Memory2");
  EXPECT_EQ(services.texts(), (Lines{MaximumLengthMessage, MaximumLengthMessage}));
  EXPECT_EQ(services.beeps, 0);
}

// --- plain steps ---------------------------------------------------------------

TEST(SummaryFlowSteps, GridRowsFollowWholeCovariateCountsWithinOneToThirteen) {
  EXPECT_EQ(GridRowsForCovariateValue(1), 2);
  EXPECT_EQ(GridRowsForCovariateValue(3.0L), 4);
  EXPECT_EQ(GridRowsForCovariateValue(12), 13);
  EXPECT_EQ(GridRowsForCovariateValue(1e30L), 13);
  EXPECT_EQ(GridRowsForCovariateValue(-1), 1);
  EXPECT_EQ(GridRowsForCovariateValue(-1e30L), 1);
  EXPECT_EQ(GridRowsForCovariateValue(2.5L), std::nullopt);
  EXPECT_EQ(GridRowsForCovariateValue(0.001L), std::nullopt);
}

TEST(SummaryFlowSteps, GridCheckGoesColumnByColumnAndChecksSdsLast) {
  // Row 1 has an empty Case A and row 0 an SD of 0: the SD column comes
  // first, so the SD stops the check.
  const std::vector<std::vector<std::string>> grid = {{"1", "Task", "50", "0", "40", "55"},
                                                      {"2", "Cov 1", "10", "2", "", "9"}};
  std::vector<std::string> boxes;
  const tNoticeHook notice = [&boxes](const tNotice& n) { boxes.push_back(n.text); };
  auto cell = [&grid](int col, int row) { return grid[row][col]; };
  std::optional<tGridCell> failed = CheckGridCells(2, cell, "SD", notice);
  ASSERT_TRUE(failed);
  EXPECT_EQ(failed->column, 3);
  EXPECT_EQ(failed->row, 0);
  EXPECT_EQ(boxes, Lines{"INPUT ERROR\r(  SD  0.000  )\rStandard deviations must have a positive value."});

  auto fixed = grid;
  fixed[0][3] = "10";
  auto fixedCell = [&fixed](int col, int row) { return fixed[row][col]; };
  failed = CheckGridCells(2, fixedCell, "SD", notice);
  ASSERT_TRUE(failed);
  EXPECT_EQ(failed->column, 4);
  EXPECT_EQ(failed->row, 1);
  EXPECT_EQ(boxes.back(), "INPUT ERROR\r\r(  Test No.2  )\r\rData have not been entered in this field.");

  fixed[1][4] = "12";
  EXPECT_FALSE(CheckGridCells(2, fixedCell, "SD", notice));
  const tSummaryInputs inputs = GatherSummaryInputs(1, 10, fixedCell, tStoredCorrelations{}, notice);
  EXPECT_EQ(inputs.means[1], 50);
  EXPECT_EQ(inputs.sds[2], 2);
  EXPECT_EQ(inputs.caseA[2], 12);
  EXPECT_EQ(inputs.caseB[1], 55);
}
