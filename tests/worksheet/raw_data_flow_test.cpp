// Quorvik's Compute end to end: n and k typed into the real worksheet, the
// file dialog answered by the script, the real Compute button pressed, the
// report read back from the real results window.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/text_format.h"
#include "results/tfrm_template_results.h"
#include "tests/support/scripted_services.h"
#include "worksheet/program_strings.h"
#include "worksheet/raw_data_flow.h"
#include "worksheet/raw_data_file.h"
#include "worksheet/tfrm_template.h"
#include "worksheet/worksheet_settings.h"

namespace {

std::string SourceDir() {
  const char* fromEnvironment = std::getenv("QUORV_SOURCE_DIR");
  return fromEnvironment != nullptr && *fromEnvironment != '\0' ? fromEnvironment : QUORV_SOURCE_DIR_DEFAULT;
}

std::string Example(const std::string& name) { return SourceDir() + "/examples/" + name; }

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The ten worked controls (task, covariate), Case A and Case B, one line each.
std::vector<std::string> WorkedLines() {
  std::vector<std::string> lines;
  std::istringstream in(Contents(Example("worked_controls.txt")));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Joined(const std::vector<std::string>& lines, const std::string& end) {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

int Occurrences(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class RawDataFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    programTitle = QuorvikProgramTitle;
    savedInputsFileName = QuorvikSavedInputsFileName;
    form = std::make_unique<TfrmTemplate>(QuorvikWorksheetSettings(), services, Folder());
    results = std::make_unique<TfrmTemplateResults>(services);
    form->SetResultsWindow(results.get());
    results->SetWorksheet(form.get());
    form->SetComputeFlow(std::make_unique<tRawDataFlow>());
  }

  std::string Folder() const { return dir.path().toStdString(); }
  std::string SavedInputs() const { return Contents(Folder() + "/Quorvik.txt"); }
  std::string Put(const std::string& name, const std::string& text) const {
    const std::string path = Folder() + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  // Types n and k as a user does, answers the dialog with file (nullopt
  // cancels) and presses Compute.
  void Compute(const char* n, const char* k, std::optional<std::string> file) {
    form->txtInput1->clear();
    form->txtInput2->clear();
    QTest::keyClicks(form->txtInput1, n);
    QTest::keyClicks(form->txtInput2, k);
    services.messages.clear();
    services.openFileAnswers.push_back(std::move(file));
    QTest::mouseClick(form->cmdCompute, Qt::LeftButton);
  }

  std::string Report() const { return results->memoResults->toPlainText().toStdString(); }

  // A refused Compute: one error box with the text, nothing reported, the
  // results window not shown, the cursor normal.
  void ExpectRefused(const std::string& part) {
    ASSERT_FALSE(services.messages.empty());
    EXPECT_EQ(services.last().kind, tMessageKind::Error);
    EXPECT_TRUE(Has(services.last().text, part)) << services.last().text;
    EXPECT_EQ(Report(), "");
    EXPECT_FALSE(results->isVisible());
    EXPECT_FALSE(services.busy());
  }

  QTemporaryDir dir;
  tScriptedServices services;
  std::unique_ptr<TfrmTemplate> form;
  std::unique_ptr<TfrmTemplateResults> results;
};

}  // namespace

TEST_F(RawDataFlowTest, WorkedControlsGiveTheDiagnosticLinesTheEchoAndTheWorkedFigures) {
  form->show();
  const std::string file = Example("worked_controls.txt");
  Compute("10", "1", file);

  EXPECT_EQ(SavedInputs(), "10 1       ");
  ASSERT_EQ(services.openDialogFilters.size(), 1u);
  EXPECT_EQ(services.openDialogFilters[0], "Text files only|*.txt");
  EXPECT_EQ(services.openDialogFolders[0], std::filesystem::current_path().string());
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Information);
  EXPECT_EQ(services.last().text,
            "Data file consisting of n + 2 = 12 cases (rows) and  2 variables (columns) was loaded successfully ");
  // Busy while the file is read and while the analysis runs; normal for
  // the dialog and the box between them.
  EXPECT_EQ(services.cursorChanges, (std::vector<bool>{true, false, true, false}));
  EXPECT_TRUE(results->isVisible());
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(results->windowTitle().toStdString(), "Results viewer: " + programTitle);

  const std::string report = Report();
  // The engine's lines come first, then the separator and the header.
  const std::size_t numerator = report.find("TESTING: Full numerator for t equation  = -24.000\n");
  const std::size_t separator = report.find("\n------------------------------------\n\n" + programTitle + "\n");
  ASSERT_NE(numerator, std::string::npos) << report;
  ASSERT_NE(separator, std::string::npos) << report;
  EXPECT_LT(numerator, separator);
  EXPECT_EQ(report.rfind("TESTING: ", 0), 0u) << "the report opens with a diagnostic line";
  EXPECT_TRUE(Has(report, " Number of control participants (n) = 10\n Number of covariates = 1\n"));

  EXPECT_TRUE(Has(report, " Raw data were loaded from the following file: \n " + file + "\n\n"));
  EXPECT_TRUE(Has(report, " Raw data for controls (data for the cases are reported in the table that follows):\n"
                          "   [   1]:      39.00000        8.00000   \n"));
  EXPECT_TRUE(Has(report, "   [  10]:      54.00000        9.00000   \n\n\n"));
  EXPECT_FALSE(Has(report, "[  11]")) << "the cases are not echoed as controls";
  EXPECT_TRUE(Has(report, "  Task of Interest:      50.000         10.000            40.000              55.000"));
  EXPECT_TRUE(Has(report, "  Covariate 1:           10.000          2.000            12.000               9.000"));
  EXPECT_TRUE(Has(report, "   1.00000   0.60000   \n   0.60000   1.00000   \n"));

  EXPECT_TRUE(Has(report, " t value (on   8 df) = -1.8856\n"));
  EXPECT_TRUE(Has(report, " One-tailed probability = 0.048036\n"));
  EXPECT_TRUE(Has(report, " Two-tailed probability = 0.096072\n"));
  EXPECT_TRUE(Has(report, "(plus 95% CI) = -2.000  (-3.166 , -0.795)\n"));
  EXPECT_TRUE(Has(report, "larger in magnitude = 4.8036%\n"));
  EXPECT_TRUE(Has(report, " 95% lower confidence limit on the percentage = 0.0774%\n"));
  EXPECT_TRUE(Has(report, " 95% upper confidence limit on the percentage = 21.32")) << report;
}

TEST_F(RawDataFlowTest, ASecondComputeStacksItsDiagnosticLinesAndReportBelowTheFirst) {
  Compute("10", "1", Example("worked_controls.txt"));
  const std::string first = Report();
  form->RadioGroup1->Item(2)->click();  // one-sided upper
  Compute("10", "1", Example("worked_controls.txt"));
  const std::string both = Report();
  ASSERT_EQ(both.rfind(first, 0), 0u) << "the first report stays as it was";
  const std::string second = both.substr(first.size());
  EXPECT_EQ(second.rfind("TESTING: ", 0), 0u);
  EXPECT_EQ(Occurrences(second, "\n------------------------------------\n"), 1);
  EXPECT_TRUE(Has(second, " Credible limit required: One-sided upper\n"));
  EXPECT_TRUE(Has(second, " 95% (one-sided) upper confidence limit on the percentage = "));
  EXPECT_FALSE(Has(second, "lower confidence limit"));
}

TEST_F(RawDataFlowTest, SeveralCovariatesExampleRuns) {
  Compute("40", "3", Example("three_covariates.txt"));
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Information);
  const std::string report = Report();
  EXPECT_TRUE(Has(report, "   [  40]:  "));
  EXPECT_TRUE(Has(report, "  Covariate 3:  "));
  EXPECT_TRUE(Has(report, " t value (on  36 df) = ")) << report;
}

TEST_F(RawDataFlowTest, CancelledOrBlankChoiceKeepsTheInputsSavedAndReportsNothing) {
  for (std::optional<std::string> answer : {std::optional<std::string>(), std::optional<std::string>("  ")}) {
    std::filesystem::remove(Folder() + "/Quorvik.txt");
    Compute("10", "1", answer);
    EXPECT_EQ(SavedInputs(), "10 1       ");
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.last().kind, tMessageKind::Information);
    EXPECT_EQ(services.last().text, "Load data cancelled by user");
    EXPECT_FALSE(services.busy());
    EXPECT_EQ(Report(), "");
    EXPECT_FALSE(results->isVisible());
  }
  // Cancelling a second Compute cancels it even after an earlier success.
  Compute("10", "1", Example("worked_controls.txt"));
  const std::string first = Report();
  Compute("10", "1", std::nullopt);
  EXPECT_EQ(services.last().text, "Load data cancelled by user");
  EXPECT_EQ(Report(), first);
}

TEST_F(RawDataFlowTest, LineFeedCarriageReturnAndBothGiveTheSameReport) {
  std::vector<std::string> reports;
  for (const char* end : {"\n", "\r\n", "\r"}) {
    // Tabs and several blanks separate values as a single blank does.
    std::vector<std::string> lines = WorkedLines();
    lines[3] = "34\t 7 \t";
    lines[7] = "  55    10";
    const std::string path = Put("controls.txt", Joined(lines, end));
    results->memoResults->clear();
    Compute("10", "1", path);
    ASSERT_EQ(services.last().kind, tMessageKind::Information) << services.last().text;
    reports.push_back(Report());
    EXPECT_TRUE(Has(reports.back(), " t value (on   8 df) = -1.8856\n"));
  }
  EXPECT_EQ(reports[0], reports[1]);
  EXPECT_EQ(reports[0], reports[2]);
}

TEST_F(RawDataFlowTest, FaultyFilesAreRefusedNamingTheLine) {
  struct tCase {
    const char* what;
    int line;             // 0-based line to change; -1 drops the last line
    std::string text;     // its new text
    std::string message;  // part of the error box
  };
  const tCase cases[] = {
      {"short line with a trailing blank", 1, "50 ", "Line 2 (control 2) of the data file holds only 1 value"},
      {"empty line", 4, "", "Line 5 (control 5) of the data file is empty"},
      {"missing Case B", -1, "", "Line 12 (Case B) of the data file is missing"},
      {"decimal comma", 10, "40,5 12", "\"40,5\" is not a number"},
      {"text", 2, "61 twelve", "\"twelve\" is not a number"},
      {"overlong value", 0, std::string(70, '9') + " 8", "is too long to be a number"},
  };
  for (const tCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> lines = WorkedLines();
    if (c.line < 0)
      lines.pop_back();
    else
      lines[static_cast<std::size_t>(c.line)] = c.text;
    Compute("10", "1", Put("faulty.txt", Joined(lines, "\n")));
    ExpectRefused(c.message);
    EXPECT_EQ(SavedInputs(), "10 1       ");
  }
  Compute("10", "1", Folder() + "/no such file.txt");
  ExpectRefused("does not exist");
}

TEST_F(RawDataFlowTest, ZeroVarianceIsRefusedNamingTheVariable) {
  std::vector<std::string> lines = WorkedLines();
  for (int i = 0; i < 10; ++i) lines[static_cast<std::size_t>(i)] = FormatC("%d 12", 40 + i);
  Compute("10", "1", Put("constant.txt", Joined(lines, "\n")));
  ExpectRefused("covariate 1 (column 2 of the data file)");
  EXPECT_EQ(services.last().text, ZeroVarianceMessage(2));
  EXPECT_EQ(form->focusWidget(), form->txtInput1);
}

TEST_F(RawDataFlowTest, TooManyCovariatesIsRefusedBeforeAnythingIsSavedOrAsked) {
  Compute("3", "2", Example("worked_controls.txt"));
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Error);
  EXPECT_EQ(services.last().text, " With a control sample size of  3, the maximum number of covariates is  1 ");
  EXPECT_TRUE(services.openDialogFolders.empty());
  EXPECT_FALSE(std::filesystem::exists(Folder() + "/Quorvik.txt"));
  EXPECT_EQ(form->focusWidget(), form->txtInput2);
}

TEST_F(RawDataFlowTest, LinearlyDependentCovariateStopsAtThePositiveDefinitenessCheck) {
  // Covariate 2 = 2 x covariate 1 + 3 in every control.
  std::vector<std::string> lines = WorkedLines();
  for (std::string& line : lines) {
    std::istringstream in(line);
    int task = 0, covariate = 0;
    in >> task >> covariate;
    line = FormatC("%d %d %d", task, covariate, 2 * covariate + 3);
  }
  Compute("10", "2", Put("dependent.txt", Joined(lines, "\n")));
  ExpectRefused(RawDataNotPositiveDefiniteMessage);
  EXPECT_EQ(services.last().text, RawDataNotPositiveDefiniteMessage);
  EXPECT_EQ(form->focusWidget(), form->txtInput1);
}

TEST_F(RawDataFlowTest, AnEngineErrorIsShownAndNothingIsHalfWritten) {
  // Case B's covariate differs from Case A's by 1e-9: the noncentrality
  // search must pass the noncentral t's bound and the engine raises.
  std::vector<std::string> lines = WorkedLines();
  lines[11] = "55 12.000000001";
  Compute("10", "1", Put("tiny.txt", Joined(lines, "\n")));
  ASSERT_EQ(services.messages.size(), 2u);  // the load succeeded first
  EXPECT_FALSE(services.last().text.empty());
  ExpectRefused("");
}

TEST_F(RawDataFlowTest, TenThousandControlsRunEndToEnd) {
  // The ten worked controls repeated 1,000 times: the means and the
  // correlation stay, the SDs shrink by the factor sqrt(9000 / 9999).
  const std::vector<std::string> worked = WorkedLines();
  std::string text;
  for (int copy = 0; copy < 1000; ++copy)
    for (int i = 0; i < 10; ++i) text += worked[static_cast<std::size_t>(i)] + "\r\n";
  // Cases whose difference is small: at 9,998 df the noncentrality
  // parameters of a large effect lie beyond the noncentral t's range.
  text += "50 10\r\n49 9.5\r\n";
  Compute("10000", "1", Put("large.txt", text));
  ASSERT_EQ(services.messages.size(), 1u) << services.last().text;
  EXPECT_EQ(services.last().text,
            "Data file consisting of n + 2 = 10002 cases (rows) and  2 variables (columns) was loaded successfully ");
  const std::string report = Report();
  EXPECT_TRUE(Has(report, "   [10000]:      54.00000        9.00000   \n\n\n"));
  const double shrink = std::sqrt(9000.0 / 9999.0);
  EXPECT_TRUE(Has(report, FormatC("  Task of Interest:      50.000  %13.3f", 10 * shrink))) << 10 * shrink;
  EXPECT_TRUE(Has(report, FormatC("  Covariate 1:           10.000  %13.3f", 2 * shrink)));
  EXPECT_TRUE(Has(report, "   1.00000   0.60000   \n   0.60000   1.00000   \n"));
  EXPECT_TRUE(Has(report, " t value (on 9998 df) = "));
  EXPECT_TRUE(Has(report, "(plus 95% CI) = "));
}
