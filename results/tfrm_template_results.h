// The results window shared by both programs: shows the report with the
// figure and the summary in words of each analysis under it, saves the report to a text file or a
// PDF file, saves a figure as a PNG or SVG image, prints all or part of
// it, copies it, clears it, returns to the worksheet or ends the program.
// Created once, hidden and shown, never re-created.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "core/progress.h"
#include "core/drawing.h"
#include "core/report_lines.h"
#include "platform/services.h"

class QAction;
class QFrame;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class tFigureObjectPainter;

// The report sink over the results text area: each Add appends one line
// ended by a line end, so an empty first line is kept, and Count is the
// number of lines the area holds (text after the last line end counts as
// a line, the empty piece after a final line end and the figures do not).
class tMemoLines : public tReportLines {
 public:
  explicit tMemoLines(QPlainTextEdit* memo) : memo_(memo) {}
  void Add(const std::string& line) override;
  int Count() const override;
  // Appends the lines as Add would, in pieces (a text area takes a
  // million lines in seconds), asking progress after each piece. When it
  // answers false the lines appended by this call are taken back and the
  // answer is false.
  bool AddAll(const std::vector<std::string>& lines, const tProgressCheck& progress);

 private:
  QPlainTextEdit* memo_;
};

class TfrmTemplateResults : public QMainWindow {
  Q_OBJECT

 public:
  explicit TfrmTemplateResults(tPlatformServices& services, QWidget* parent = nullptr);
  ~TfrmTemplateResults() override;

  // The window that Return to Worksheet shows again.
  void SetWorksheet(QWidget* worksheet);
  // Appends lines to memoResults.
  tReportLines& ReportSink();
  // Appends a whole report (tMemoLines::AddAll).
  bool AppendReport(const std::vector<std::string>& lines, const tProgressCheck& progress);
  // Shows the figure under the lines appended so far.
  void AddFigure(const tDrawing& figure);
  // Shows the summary in words under the lines and figure appended so far.
  void AddSummary(const std::string& summary);

  // The text as a results file holds it: each line ended by CR LF; the
  // figures and the summaries are left out.
  QByteArray FileContents() const;
  // The same lines, each ended by "\n".
  QString ReportText() const;

  // The size of the client area below the menu bar.
  static constexpr int ClientWidth = 792;
  static constexpr int ClientHeight = 554;
  // Initial names offered by the save dialogs, and their filters.
  static constexpr const char* InitialSaveName = "results.txt";
  static constexpr const char* SaveFilter = "Text files|*.txt";
  static constexpr const char* InitialPdfName = "results.pdf";
  static constexpr const char* PdfFilter = "PDF files|*.pdf";
  static constexpr const char* InitialFigureName = "figure.png";
  static constexpr const char* FigureFilter = "PNG images|*.png|SVG images|*.svg";
  static constexpr const char* NoSummaryMessage = "There is no summary in the results to copy.";
  // Image pixels for each pixel of a figure on screen in a saved PNG.
  static constexpr double FigurePngScale = 2;
  // The report's font and the point size of printing.
  static constexpr const char* ReportFontFamily = "Courier New";
  static constexpr int PrintPointSize = 8;
  // The font of the summaries on screen (printed, they are in the report's).
  static constexpr const char* SummaryFontFamily = "MS Sans Serif";

 public slots:
  void FormCreate();
  void FormShow();
  void FormActivate();
  void cmdSaveOutputClick();
  void cmdClearResultsClick();
  void cmdReturnClick();
  void cmdExitClick();
  void mnuPrintClick();
  void mnuPrintSelectionClick();
  void mnuSaveAsPdfClick();
  void mnuSaveFigureClick();
  void mnuCopyClick();
  void mnuCopySummaryClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildWindow();
  // The text and figures between two positions of memoResults, as printed.
  tPrintedDocument PrintedPart(int from, int to) const;
  void PrintReport(const tPrintedDocument& document);
  // Replaces the file at path with contents; an error box names the file
  // and the reason when that fails. what: "results", "figure".
  void SaveFile(const std::string& path, const std::string& contents, const std::string& what);

  // Components; tests find them by their object names.
  QFrame* Panel1 = nullptr;
  QPlainTextEdit* memoResults = nullptr;
  QFrame* Panel2 = nullptr;
  QPushButton *cmdSaveOutput = nullptr, *cmdClearResults = nullptr, *cmdReturn = nullptr, *cmdExit = nullptr;
  QMenu* mnuPrinterOptions = nullptr;
  QAction *mnuPrint = nullptr, *mnuPrintSelection = nullptr, *mnuSaveAsPdf = nullptr, *mnuSaveFigure = nullptr;
  QMenu* mnuEdit = nullptr;
  QAction *mnuCopy = nullptr, *mnuCopySummary = nullptr;

  tPlatformServices& services_;
  QPointer<QWidget> worksheet_;
  std::unique_ptr<tMemoLines> sink_;
  tFigureObjectPainter* figurePainter_ = nullptr;
  std::string lastSaveName_ = InitialSaveName;
  std::string lastPdfName_ = InitialPdfName;
  std::string lastFigureName_ = InitialFigureName;
};
