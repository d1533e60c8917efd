// The results window driven through its handlers with scripted services:
// saving, clearing, returning, ending, printing, the report sink (line by
// line and a whole report at once) and the layout.
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "results/tfrm_template_results.h"
#include "tests/support/scripted_services.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/find_child.h"

namespace {

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

constexpr tDrawingColour FigureRed = 0xE01010;

// A figure: a red box on a 200 x 80 canvas.
tDrawing Figure(const std::string& title) {
  tDrawing d;
  d.width = 200;
  d.height = 80;
  d.title = title;
  tDrawingPath box;
  box.points = {{10, 10}, {190, 10}, {190, 70}, {10, 70}};
  box.closed = box.filled = true;
  box.fill = FigureRed;
  d.paths.push_back(box);
  return d;
}

// Pixels of the figures' red in the text area as shown.
int RedPixels(QPlainTextEdit* memo) {
  const QImage image = memo->viewport()->grab().toImage();
  int red = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) red += image.pixel(x, y) == (0xFF000000u | FigureRed);
  return red;
}

class ResultsWindow : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }

  // Scripts the save dialog to answer with name in the test folder.
  std::string Choose(const QString& name) {
    const std::string path = dir.filePath(name).toStdString();
    services.saveFileAnswers.push_back(path);
    return path;
  }
  void AddLines(std::initializer_list<const char*> lines) {
    for (const char* line : lines) window.ReportSink().Add(line);
  }
  std::string Text() const { return Memo()->toPlainText().toStdString(); }
  QPlainTextEdit* Memo() const { return Child<QPlainTextEdit>(window, "memoResults"); }
  void Select(int from, int to) const {
    QTextCursor cursor = Memo()->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    Memo()->setTextCursor(cursor);
  }

  QTemporaryDir dir;
  tScriptedServices services;
  TfrmTemplateResults window{services};
};

}  // namespace

TEST_F(ResultsWindow, StartsHiddenAndEmptyWithAnEditableMonospacedAreaAndItsMenus) {
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), "Output");
  EXPECT_TRUE(Text().empty());
  EXPECT_EQ(window.ReportSink().Count(), 0);
  EXPECT_FALSE(window.windowIcon().isNull());
  EXPECT_FALSE(window.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);

  EXPECT_FALSE(Memo()->isReadOnly());
  EXPECT_EQ(Memo()->font().family(), "Courier New");
  EXPECT_TRUE(QFontInfo(Memo()->font()).fixedPitch());
  // The selection stays visible while the focus is elsewhere.
  const QPalette p = Memo()->palette();
  EXPECT_EQ(p.color(QPalette::Inactive, QPalette::Highlight), p.color(QPalette::Active, QPalette::Highlight));
  EXPECT_EQ(p.color(QPalette::Inactive, QPalette::HighlightedText),
            p.color(QPalette::Active, QPalette::HighlightedText));
  EXPECT_EQ(Child<QMenu>(window, "mnuPrinterOptions")->title(), "&Printer options...");
  EXPECT_EQ(Child<QMenu>(window, "mnuEdit")->title(), "&Edit");
  for (const auto& [name, text] : {std::pair{"mnuPrint", "Print All"}, {"mnuPrintSelection", "Print Selection"},
                                   {"mnuSaveAsPdf", "Save as PDF..."}, {"mnuSaveFigure", "Save Figure..."},
                                   {"mnuCopy", "Copy"}})
    EXPECT_EQ(Child<QAction>(window, name)->text().remove('&'), text) << name;
  EXPECT_EQ(Child<QAction>(window, "mnuCopy")->shortcut(), QKeySequence(QKeySequence::Copy));
}

TEST_F(ResultsWindow, ClientAreaAndControlsHaveTheirFixedGeometry) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QWidget* client = window.centralWidget();
  EXPECT_EQ(client->size(), QSize(792, 554));
  EXPECT_EQ(client->y(), window.menuBar()->geometry().bottom() + 1);
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_EQ(window.height(), 554 + window.menuBar()->height());

  auto at = [client](QWidget* w) { return QRect(w->mapTo(client, QPoint(0, 0)), w->size()); };
  EXPECT_EQ(at(Child<QFrame>(window, "Panel1")), QRect(12, 2, 765, 468));
  EXPECT_EQ(Memo()->parentWidget(), Child<QFrame>(window, "Panel1"));
  EXPECT_EQ(Memo()->geometry(), QRect(8, 8, 749, 452));
  EXPECT_EQ(at(Child<QFrame>(window, "Panel2")), QRect(12, 482, 765, 49));
  for (const auto& [name, left] : {std::pair{"cmdSaveOutput", 28}, {"cmdClearResults", 220}, {"cmdReturn", 411},
                                   {"cmdExit", 603}}) {
    EXPECT_EQ(at(Child<QPushButton>(window, name)), QRect(left, 488, 161, 37)) << name;
    EXPECT_TRUE(Child<QPushButton>(window, name)->font().bold()) << name;
  }
  EXPECT_EQ(Child<QPushButton>(window, "cmdReturn")->text(), "Return to Worksheet");
  EXPECT_TRUE(Child<QPushButton>(window, "cmdReturn")->isDefault());
  EXPECT_TRUE(Memo()->verticalScrollBar()->isVisible());
  window.hide();
}

TEST_F(ResultsWindow, SinkAppendsWholeLinesKeepingEmptyOnesAndTypedText) {
  AddLines({"", "first", "  padded  "});
  EXPECT_EQ(Text(), "\nfirst\n  padded  \n");
  EXPECT_EQ(window.ReportSink().Count(), 3);
  // Text typed after the last line end becomes a line of its own.
  Memo()->moveCursor(QTextCursor::End);
  QTest::keyClicks(Memo(), "typed");
  window.ReportSink().Add("next");
  EXPECT_EQ(Text(), "\nfirst\n  padded  \ntyped\nnext\n");
  EXPECT_EQ(window.ReportSink().Count(), 5);
}

TEST_F(ResultsWindow, SaveOutputWritesTheTextWithCrLfAfterEveryLineAndACancelWritesNothing) {
  AddLines({"Report", "", "t = 1.234"});
  const std::string path = Choose("results.txt");
  Child<QPushButton>(window, "cmdSaveOutput")->click();
  EXPECT_EQ(ReadAll(QString::fromStdString(path)), "Report\r\n\r\nt = 1.234\r\n");
  EXPECT_TRUE(services.messages.empty());
  ASSERT_EQ(services.saveDialogNames.size(), 1u);
  EXPECT_EQ(services.saveDialogNames[0], "results.txt");

  // Typed text (the last line not ended in the area) is saved as well, and
  // the dialog now offers the name chosen last; no extension is added.
  Memo()->setPlainText("edited\nby hand");
  const std::string second = Choose("notes");
  window.cmdSaveOutputClick();
  EXPECT_EQ(services.saveDialogNames[1], path);
  EXPECT_EQ(ReadAll(QString::fromStdString(second)), "edited\r\nby hand\r\n");
  EXPECT_EQ(Text(), "edited\nby hand");

  window.cmdSaveOutputClick();  // no answer scripted: the dialog is cancelled
  EXPECT_EQ(services.saveDialogNames.size(), 3u);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
  EXPECT_TRUE(services.messages.empty());
  EXPECT_EQ(Text(), "edited\nby hand");
}

TEST_F(ResultsWindow, SaveOutputOfAnEmptyOrClearedAreaWritesAnEmptyFile) {
  const std::string empty = Choose("empty.txt");
  window.cmdSaveOutputClick();
  EXPECT_TRUE(QFile::exists(QString::fromStdString(empty)));
  EXPECT_EQ(ReadAll(QString::fromStdString(empty)), "");

  AddLines({"a report"});
  const std::string cleared = Choose("cleared.txt");
  ASSERT_TRUE(WriteAll(QString::fromStdString(cleared), "old contents\r\n"));
  Child<QPushButton>(window, "cmdClearResults")->click();
  EXPECT_TRUE(Text().empty());
  EXPECT_EQ(ReadAll(QString::fromStdString(cleared)), "old contents\r\n");  // Clear touches no file
  window.cmdSaveOutputClick();
  EXPECT_EQ(ReadAll(QString::fromStdString(cleared)), "");
}

TEST_F(ResultsWindow, FailedSaveShowsAnErrorNamingTheFileAndKeepsTextAndEarlierFile) {
  AddLines({"new report"});
  // A folder that does not exist.
  const std::string missing = Choose("no such folder/results.txt");
  window.cmdSaveOutputClick();
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Error);
  EXPECT_EQ(services.last().caption, "Error");
  EXPECT_NE(services.last().text.find(missing), std::string::npos) << services.last().text;
  EXPECT_EQ(Text(), "new report\n");

  // An earlier file whose replacement cannot be written (the temporary
  // file beside it would exceed the longest file name the system allows)
  // stays exactly as it was.
  const QString longName(255 - 4, QLatin1Char('r'));
  const std::string earlier = Choose(longName + ".txt");
  ASSERT_TRUE(WriteAll(QString::fromStdString(earlier), "earlier report\r\n"));
  window.cmdSaveOutputClick();
  ASSERT_EQ(services.messages.size(), 2u);
  EXPECT_EQ(services.last().kind, tMessageKind::Error);
  EXPECT_EQ(ReadAll(QString::fromStdString(earlier)), "earlier report\r\n");
  EXPECT_EQ(Text(), "new report\n");
}

// The disk fills up while the report is written (the process's file size
// limit stands in for a full disk): the user is told why, and the earlier
// file is neither emptied nor cut short.
TEST_F(ResultsWindow, SaveOutputOnAFullDiskSaysSoAndKeepsTheEarlierFile) {
  for (int line = 0; line < 200; ++line) window.ReportSink().Add(std::string(60, 'r'));
  const std::string path = Choose("results.txt");
  ASSERT_TRUE(WriteAll(QString::fromStdString(path), "earlier report\r\n"));
  {
    tFileSizeLimit limit(4096);
    ASSERT_TRUE(limit.isActive());
    window.cmdSaveOutputClick();
  }
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Error);
  EXPECT_NE(services.last().text.find(path), std::string::npos) << services.last().text;
  EXPECT_NE(services.last().text.find("File too large"), std::string::npos) << services.last().text;
  EXPECT_EQ(ReadAll(QString::fromStdString(path)), "earlier report\r\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST_F(ResultsWindow, ReturnToWorksheetHidesResultsAndShowsTheWorksheet) {
  window.show();
  window.cmdReturnClick();  // without a worksheet the window stays
  EXPECT_TRUE(window.isVisible());

  QWidget worksheet;
  window.SetWorksheet(&worksheet);
  AddLines({"report stays"});
  Child<QPushButton>(window, "cmdReturn")->click();
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(worksheet.isVisible());
  EXPECT_EQ(Text(), "report stays\n");

  // Enter that no control takes presses the default button.
  worksheet.hide();
  window.show();
  QTest::keyClick(&window, Qt::Key_Return);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(worksheet.isVisible());

  // A close from the window manager returns to the worksheet as well.
  worksheet.hide();
  window.show();
  QCloseEvent close;
  QSpontaneKeyEvent::setSpontaneous(&close);
  QApplication::instance()->notify(&window, &close);
  EXPECT_FALSE(close.isAccepted());
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(worksheet.isVisible());
}

// The desktop's keys, pressed in the text area: Ctrl+S saves, Ctrl+P
// prints, Alt and a menu's letter opens it, Escape returns.
TEST_F(ResultsWindow, CtrlSSavesCtrlPPrintsAltOpensTheMenusEscapeReturns) {
  QWidget worksheet;
  window.SetWorksheet(&worksheet);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(Memo(), Qt::Key_S, Qt::ControlModifier);
  QTest::keyClick(Memo(), Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(services.saveDialogFilters, std::vector<std::string>{"Text files|*.txt"});
  EXPECT_EQ(services.prints.size(), 1u);
  for (const auto& [letter, menu] : {std::pair{Qt::Key_P, "mnuPrinterOptions"}, {Qt::Key_E, "mnuEdit"}}) {
    QTest::keyClick(Memo(), letter, Qt::AltModifier);
    EXPECT_EQ(QApplication::activePopupWidget(), Child<QMenu>(window, menu)) << menu;
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  }
  QTest::keyClick(Memo(), Qt::Key_Escape);
  EXPECT_TRUE(worksheet.isVisible() && !window.isVisible());
}

TEST_F(ResultsWindow, ExitAsksAndOnlyYesEndsTheProgram) {
  AddLines({"report"});
  window.show();
  services.answers = {tMessageResult::No};
  Child<QPushButton>(window, "cmdExit")->click();
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Confirmation);
  EXPECT_EQ(services.last().caption, "Confirm");
  EXPECT_EQ(services.last().text, "Exit from program?");
  EXPECT_EQ(services.last().buttons, tMessageButtons::YesNo);
  EXPECT_EQ(services.quitRequests, 0);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(Text(), "report\n");

  services.answers = {tMessageResult::Yes};
  window.cmdExitClick();
  EXPECT_EQ(services.quitRequests, 1);
  window.hide();
}

TEST_F(ResultsWindow, PrintSelectionPrintsExactlyTheSelectedCharactersAndWarnsWithoutOne) {
  AddLines({"alpha beta", "gamma delta", "epsilon"});
  Child<QAction>(window, "mnuPrintSelection")->trigger();
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Warning);
  EXPECT_EQ(services.last().caption, "Warning");
  EXPECT_EQ(services.last().text, "You have not selected any text.");
  EXPECT_EQ(services.last().buttons, tMessageButtons::Ok);
  EXPECT_TRUE(services.prints.empty());

  Select(6, 6 + 4 + 1 + 5);  // "beta" through "gamma"
  window.mnuPrintSelectionClick();
  EXPECT_EQ(services.messages.size(), 1u);
  ASSERT_EQ(services.prints.size(), 1u);
  EXPECT_EQ(services.prints[0].text, "beta\ngamma\n");
  EXPECT_EQ(services.prints[0].fontFamily, "Courier New");
  EXPECT_EQ(services.prints[0].pointSize, 8);
}

TEST_F(ResultsWindow, PrintAllPrintsTheWholeTextAndOneLineEnd) {
  AddLines({"line 1", "line 2"});
  Memo()->moveCursor(QTextCursor::Start);
  QTest::keyClicks(Memo(), "typed ");
  Child<QAction>(window, "mnuPrint")->trigger();
  ASSERT_EQ(services.prints.size(), 1u);
  EXPECT_EQ(services.prints[0].text, "typed line 1\nline 2\n\n");
  EXPECT_EQ(services.prints[0].fontFamily, "Courier New");
  EXPECT_EQ(services.prints[0].pointSize, 8);

  // A printer that cannot be opened: an error box with the reason; the
  // text stays as it was.
  services.printOutcomes = {"The printer \"office\" could not be opened."};
  window.mnuPrintClick();
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Error);
  EXPECT_NE(services.last().text.find("\"office\" could not be opened"), std::string::npos);
  EXPECT_EQ(Text(), "typed line 1\nline 2\n");
}

TEST_F(ResultsWindow, FiguresStandUnderTheirReportsAndAreNoLinesOfTheText) {
  window.show();
  AddLines({"report 1"});
  window.AddFigure(Figure("first"));
  AddLines({"report 2"});
  window.AddFigure(Figure("second"));
  EXPECT_EQ(window.ReportSink().Count(), 2);
  EXPECT_EQ(window.FileContents(), "report 1\r\nreport 2\r\n");
  EXPECT_EQ(window.ReportText(), "report 1\nreport 2\n");
  EXPECT_GT(RedPixels(Memo()), 1000);

  // Printed with the text, each where it stands.
  window.mnuPrintClick();
  ASSERT_EQ(services.prints.size(), 1u);
  EXPECT_EQ(services.prints[0].text, "report 1\nreport 2\n\n");
  EXPECT_EQ(services.prints[0].drawings, 2u);

  // Cleared with the text; a figure added afterwards is painted again.
  window.cmdClearResultsClick();
  EXPECT_EQ(window.ReportSink().Count(), 0);
  EXPECT_EQ(RedPixels(Memo()), 0);
  window.AddFigure(Figure("third"));
  EXPECT_GT(RedPixels(Memo()), 1000);
  EXPECT_EQ(window.FileContents(), "");
  window.hide();
}

TEST_F(ResultsWindow, CopyTakesTheSelectionOrTheWholeReportWithoutTheFigures) {
  AddLines({"alpha beta", "gamma"});
  window.AddFigure(Figure("figure"));
  AddLines({"delta"});
  Child<QAction>(window, "mnuCopy")->trigger();
  ASSERT_EQ(services.copiedTexts.size(), 1u);
  EXPECT_EQ(services.copiedTexts[0], "alpha beta\ngamma\ndelta\n");

  // From "beta" over the figure to "del": the selected characters alone;
  // Ctrl+C in the text area copies the same way.
  Select(6, 6 + 4 + 1 + 5 + 1 + 2 + 3);
  window.mnuCopyClick();
  QTest::keyClick(Memo(), Qt::Key_C, Qt::ControlModifier);
  ASSERT_EQ(services.copiedTexts.size(), 3u);
  EXPECT_EQ(services.copiedTexts[1], "beta\ngamma\ndel");
  EXPECT_EQ(services.copiedTexts[2], services.copiedTexts[1]);
  EXPECT_TRUE(services.messages.empty());
}

TEST_F(ResultsWindow, SaveAsPdfWritesTheReportAndSaysWhyWhenItCannot) {
  AddLines({"a report"});
  window.AddFigure(Figure("figure"));
  const std::string path = Choose("results.pdf");
  Child<QAction>(window, "mnuSaveAsPdf")->trigger();
  EXPECT_TRUE(services.messages.empty());
  EXPECT_TRUE(ReadAll(QString::fromStdString(path)).startsWith("%PDF-"));
  ASSERT_EQ(services.saveDialogNames.size(), 1u);
  EXPECT_EQ(services.saveDialogNames[0], "results.pdf");
  EXPECT_EQ(services.saveDialogFilters[0], "PDF files|*.pdf");

  const std::string missing = Choose("no such folder/results.pdf");
  window.mnuSaveAsPdfClick();
  EXPECT_EQ(services.saveDialogNames[1], path);
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Error);
  EXPECT_NE(services.last().text.find(missing), std::string::npos) << services.last().text;
  window.mnuSaveAsPdfClick();  // cancelled: nothing more
  EXPECT_EQ(services.messages.size(), 1u);
}

TEST_F(ResultsWindow, SaveFigureSavesTheFigureOfTheReportInViewAsPngOrSvg) {
  window.mnuSaveFigureClick();
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.last().kind, tMessageKind::Warning);
  EXPECT_EQ(services.last().text, "There is no figure in the results to save.");
  EXPECT_TRUE(services.saveDialogNames.empty());

  window.show();
  for (const char* title : {"first", "second"}) {
    for (int line = 0; line < 60; ++line) window.ReportSink().Add("report line");
    window.AddFigure(Figure(title));
  }
  Memo()->verticalScrollBar()->setValue(0);
  const std::string svg = Choose("figure.SVG");
  Child<QAction>(window, "mnuSaveFigure")->trigger();
  EXPECT_EQ(services.saveDialogNames.back(), "figure.png");
  EXPECT_EQ(services.saveDialogFilters.back(), "PNG images|*.png|SVG images|*.svg");
  const QByteArray first = ReadAll(QString::fromStdString(svg));
  EXPECT_TRUE(first.startsWith("<?xml")) << first.left(80).toStdString();
  EXPECT_TRUE(first.contains("<title>first</title>"));

  Memo()->verticalScrollBar()->setValue(Memo()->verticalScrollBar()->maximum());
  const std::string png = Choose("second");
  window.mnuSaveFigureClick();
  EXPECT_EQ(services.saveDialogNames.back(), svg);
  const QImage image = QImage::fromData(ReadAll(QString::fromStdString(png)), "PNG");
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(400, 160));  // twice the canvas
  EXPECT_EQ(image.pixel(200, 80), 0xFF000000u | FigureRed);
  Choose("again.svg");
  window.mnuSaveFigureClick();
  EXPECT_TRUE(ReadAll(dir.filePath("again.svg")).contains("<title>second</title>"));
  EXPECT_EQ(services.messages.size(), 1u);
  window.hide();
}

// A whole report appended at once gives the text line by line would, in
// pieces with progress, and is taken back whole when the progress is
// cancelled. Each window starts with a report line, then typed text.
TEST_F(ResultsWindow, WholeReportAppendsAsLineByLineAndCancelTakesItBack) {
  std::vector<std::string> report;
  for (int i = 0; i < 45000; ++i) report.push_back("   [" + std::to_string(i) + "]:  1.00000   ");
  report.push_back("");
  const auto prepare = [](TfrmTemplateResults& results) {
    results.ReportSink().Add("earlier report");
    QTextCursor cursor(Child<QPlainTextEdit>(results, "memoResults")->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText("typed");
  };
  TfrmTemplateResults lineByLine(services), cancelled(services);
  for (TfrmTemplateResults* results : {&window, &lineByLine, &cancelled}) prepare(*results);
  const auto text = [](const TfrmTemplateResults& results) {
    return Child<QPlainTextEdit>(results, "memoResults")->toPlainText().toStdString();
  };

  for (const std::string& line : report) lineByLine.ReportSink().Add(line);
  std::vector<double> shares;
  ASSERT_TRUE(window.AppendReport(report, [&](double share) {
    shares.push_back(share);
    return true;
  }));
  EXPECT_EQ(Text(), text(lineByLine));
  EXPECT_EQ(window.ReportSink().Count(), lineByLine.ReportSink().Count());
  EXPECT_EQ(shares.size(), 3u);
  EXPECT_EQ(shares.back(), 1.0);

  const std::string before = text(cancelled);
  int calls = 0;
  EXPECT_FALSE(cancelled.AppendReport(report, [&](double) { return ++calls < 2; }));
  EXPECT_EQ(text(cancelled), before);
  EXPECT_EQ(cancelled.ReportSink().Count(), 2);
}
