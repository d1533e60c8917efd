// Printing a whole report end to end: the worked example computed through
// the real worksheet and results window, Print All (and Print Selection)
// pressed, the text painted into a PDF file by the same routine the print
// dialog's printer gets, and the PDF read back with pdftotext: every line
// of the report must come out, in order, in the report's font and size,
// with the figure of each analysis. Save as PDF writes the same.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/text_printing.h"
#include "tests/support/scripted_services.h"
#include "tests/support/window_driving.h"
#include "worksheet/window/program_windows.h"

namespace {

std::string SourceDir() {
  const char* dir = std::getenv("QUORV_SOURCE_DIR");
  return dir != nullptr && *dir != '\0' ? dir : QUORV_SOURCE_DIR_DEFAULT;
}

// The scripted services, except that a print job is painted into a PDF
// file, as the printer chosen in the print dialog would be painted.
class tPdfPrintingServices : public tScriptedServices {
 public:
  std::string pdfPath;
  bool PrintDocument(const tPrintedDocument& document, std::string& error) override {
    tScriptedServices::PrintDocument(document, error);
    QByteArray pdf;
    if (!DocumentPdf(document, "report", pdf, error)) return false;
    QFile file(QString::fromStdString(pdfPath));
    return file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size();
  }
};

// A line with its runs of blanks made single and its ends trimmed (the PDF
// text extractor spaces words by their position, not character by character).
QString Squeezed(const QString& line) { return line.simplified(); }

// The text of a PDF file by pdftotext, one squeezed entry per line;
// available tells whether pdftotext is installed.
std::vector<QString> PdfLines(const std::string& path, bool& available) {
  std::vector<QString> lines;
  const QString tool = QStandardPaths::findExecutable("pdftotext");
  available = !tool.isEmpty();
  if (!available) return lines;
  QProcess process;
  process.start(tool, {"-layout", QString::fromStdString(path), "-"});
  if (!process.waitForFinished(30000)) return lines;
  for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n'))
    lines.push_back(Squeezed(line.trimmed().remove(QChar('\f'))));
  return lines;
}

// The number of coloured pixels (the figure's; the report's text is black
// on white) on the first page of a PDF rendered by pdftoppm; -1 when
// pdftoppm is not installed.
int FirstPageColouredPixels(const std::string& path, const QString& folder) {
  const QString tool = QStandardPaths::findExecutable("pdftoppm");
  if (tool.isEmpty()) return -1;
  const QString prefix = folder + "/first_page";
  QProcess process;
  process.start(tool, {"-f", "1", "-l", "1", "-r", "72", "-singlefile", QString::fromStdString(path), prefix});
  if (!process.waitForFinished(30000)) return 0;
  const QImage page(prefix + ".ppm");
  int coloured = 0;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x) {
      const QColor c = page.pixelColor(x, y);
      coloured += std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 60;
    }
  return coloured;
}

// The lines of the text as printed, squeezed, without the empty ones.
std::vector<QString> NonEmptyLines(const QString& text) {
  std::vector<QString> lines;
  for (const QString& line : text.split('\n'))
    if (!Squeezed(line).isEmpty()) lines.push_back(Squeezed(line));
  return lines;
}

class ReportPrintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    services.pdfPath = dir.filePath("report.pdf").toStdString();
  }
  void Build(tProgramWindows built) {
    windows = std::move(built);
    form = windows.worksheet.get();
    results = windows.results.get();
    form->show();
  }
  QLineEdit* Field(const char* name) const { return Child<QLineEdit>(*form, name); }
  void Compute() const { QTest::mouseClick(Child<QPushButton>(*form, "cmdCompute"), Qt::LeftButton); }

  // Checks that every non-empty line of the text is in the PDF, in order,
  // and that the job used the report's font at 8 points. A line wider than
  // the page may continue on the next printed lines, with no character lost.
  void ExpectPrintedInOrder(const QString& text) {
    ASSERT_FALSE(services.prints.empty()) << "nothing was printed";
    EXPECT_EQ(services.prints.back().fontFamily, "Courier New");
    EXPECT_EQ(services.prints.back().pointSize, 8);
    ExpectInPdfInOrder(services.pdfPath, text);
  }
  void ExpectInPdfInOrder(const std::string& pdfPath, const QString& text) {
    bool available = false;
    const std::vector<QString> printed = PdfLines(pdfPath, available);
    if (!available) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const std::vector<QString> expected = NonEmptyLines(text);
    ASSERT_GT(expected.size(), 10u);
    std::size_t at = 0;
    for (const QString& line : expected) {
      while (at < printed.size() && printed[at] != line && !StartsWrappedLine(printed, at, line)) ++at;
      ASSERT_LT(at, printed.size()) << "missing or out of order in the PDF: \"" << line.toStdString() << "\"";
      ++at;
    }
  }

  // True when printed[at] and the lines after it spell line, split where
  // the page ended (advances at past the continuation lines).
  static bool StartsWrappedLine(const std::vector<QString>& printed, std::size_t& at, const QString& line) {
    const QString whole = QString(line).remove(' ');
    QString pieces;
    for (std::size_t i = at; i < printed.size() && !printed[i].isEmpty(); ++i) {
      pieces += QString(printed[i]).remove(' ');
      if (!whole.startsWith(pieces)) return false;
      if (pieces == whole) {
        if (i == at) return false;  // a single piece is no wrapped line
        at = i;
        return true;
      }
    }
    return false;
  }

  QTemporaryDir dir;
  tPdfPrintingServices services;
  tProgramWindows windows;
  TfrmTemplate* form = nullptr;
  TfrmTemplateResults* results = nullptr;
};

// Types into a grid cell: the first key opens the cell's editor.
void TypeCell(QTableWidget* grid, int col, int row, const char* text) {
  grid->setCurrentItem(nullptr);
  grid->setCurrentCell(row, col);
  QTest::keyClick(grid, text[0]);
  auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
  ASSERT_NE(editor, nullptr);
  QTest::keyClicks(editor, text + 1);
}

TEST_F(ReportPrintingTest, QuorvanePrintsTheWholeWorkedReportInOrder) {
  Build(BuildQuorvaneWindows(services, dir.path().toStdString(),
                             std::make_unique<tDrivenMatrixEntry>(services, [](TSqMatFrm& window) {
                               window.Cell(1, 2)->selectAll();
                               QTest::keyClicks(window.Cell(1, 2), "0.6");
                               Child<QPushButton>(window, "CloseBtn")->click();
                             })));
  QTest::keyClicks(Field("txtInput1"), "1");
  QTest::keyClicks(Field("txtInput2"), "10");
  const char* grid[2][4] = {{"50", "10", "40", "55"}, {"10", "2", "12", "9"}};
  for (int row = 0; row < 2; ++row)
    for (int col = 2; col <= 5; ++col) TypeCell(Child<QTableWidget>(*form, "grdData"), col, row, grid[row][col - 2]);
  Compute();
  const QString report = results->ReportText();
  ASSERT_TRUE(report.contains("t value (on   8 df) = -1.8856")) << report.toStdString();

  // A second Compute stacks a second report under the separator of 102
  // underscores, the widest line Quorvane writes.
  Child<QPushButton>(*results, "cmdReturn")->click();
  Compute();
  const QString reports = results->ReportText();
  ASSERT_TRUE(reports.contains(QString(102, '_')));

  Child<QAction>(*results, "mnuPrint")->trigger();
  ExpectPrintedInOrder(reports);
  EXPECT_EQ(services.prints.back().drawings, 2u);
  bool available = false;
  bool separatorWhole = false;
  for (const QString& line : PdfLines(services.pdfPath, available))
    separatorWhole = separatorWhole || line == QString(102, '_');
  EXPECT_TRUE(separatorWhole || !available) << "the separator was split over two printed lines";

  // Save as PDF: the same text in order, and the first page shows the
  // first report's figure (its caption and its colours) under the report.
  const std::string saved = dir.filePath("saved results.pdf").toStdString();
  services.saveFileAnswers.push_back(saved);
  Child<QAction>(*results, "mnuSaveAsPdf")->trigger();
  EXPECT_TRUE(services.messages.empty()) << services.texts().front();
  ASSERT_EQ(services.saveDialogNames.back(), "results.pdf");
  ExpectInPdfInOrder(saved, reports);
  if (HasFatalFailure() || IsSkipped()) return;
  QProcess firstPage;
  firstPage.start(QStandardPaths::findExecutable("pdftotext"), {"-f", "1", "-l", "1", QString::fromStdString(saved), "-"});
  ASSERT_TRUE(firstPage.waitForFinished(30000));
  const QString firstPageText = QString::fromUtf8(firstPage.readAllStandardOutput()).simplified();
  EXPECT_TRUE(firstPageText.contains("= -2.000 (-3.166 , -0.795)")) << firstPageText.toStdString();
  EXPECT_TRUE(firstPageText.contains("The estimated distribution of differences between two controls"))
      << firstPageText.toStdString();
  // Each report's summary in words, printed and in the PDF.
  QProcess whole;
  whole.start(QStandardPaths::findExecutable("pdftotext"), {QString::fromStdString(saved), "-"});
  ASSERT_TRUE(whole.waitForFinished(30000));
  const QString words = "t(8) = -1.89, p = .048 (one-tailed; two-tailed p = .096). Z-PCCC = -2.00, 95% CI [-3.17, -0.80].";
  EXPECT_EQ(QString::fromUtf8(whole.readAllStandardOutput()).simplified().count(words), 2);
  EXPECT_EQ(QString::fromStdString(services.prints.back().text).simplified().count(words), 2);
  const int coloured = FirstPageColouredPixels(saved, dir.path());
  if (coloured >= 0) {
    EXPECT_GT(coloured, 1000) << "no figure painted on the first page";
  }
}

TEST_F(ReportPrintingTest, QuorvikPrintsDiagnosticsDataEchoAndReportAndASelectionAlone) {
  Build(BuildQuorvikWindows(services, dir.path().toStdString()));
  QTest::keyClicks(Field("txtInput1"), "10");
  QTest::keyClicks(Field("txtInput2"), "1");
  services.openFileAnswers.push_back(SourceDir() + "/examples/worked_controls.txt");
  Compute();
  const QString report = results->ReportText();
  ASSERT_TRUE(report.contains("TESTING: ")) << report.toStdString();
  ASSERT_TRUE(report.contains("Z-PCCC")) << report.toStdString();

  Child<QAction>(*results, "mnuPrint")->trigger();
  ExpectPrintedInOrder(report);
  if (HasFatalFailure() || IsSkipped()) return;

  // Print Selection: the block from "OUTPUTS:" to the end (with the
  // figure), and nothing before.
  QPlainTextEdit* memo = Child<QPlainTextEdit>(*results, "memoResults");
  const int from = memo->document()->find("OUTPUTS:").selectionStart();
  ASSERT_GE(from, 0);
  QTextCursor cursor = memo->textCursor();
  cursor.setPosition(from);
  cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
  Child<QPlainTextEdit>(*results, "memoResults")->setTextCursor(cursor);
  Child<QAction>(*results, "mnuPrintSelection")->trigger();
  const QString selected = report.mid(report.indexOf("OUTPUTS:"));
  ExpectPrintedInOrder(selected);
  EXPECT_EQ(services.prints.back().drawings, 1u);
  bool available = false;
  for (const QString& line : PdfLines(services.pdfPath, available))
    EXPECT_FALSE(line.startsWith("TESTING")) << "a line outside the selection was printed";
}

}  // namespace
