// The results window shared by both programs: shows the report, saves it
// to a text file, prints all or part of it, clears it, returns to the
// worksheet or ends the program. Created once, hidden and shown, never
// re-created.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "core/progress.h"
#include "core/report_lines.h"
#include "platform/services.h"

class QAction;
class QFrame;
class QMenu;
class QPlainTextEdit;
class QPushButton;

// The report sink over the results text area: each Add appends one line
// ended by a line end, so an empty first line is kept, and Count is the
// number of lines the area holds (text after the last line end counts as
// a line, the empty piece after a final line end does not).
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

  // The text as a results file holds it: each line ended by CR LF.
  QByteArray FileContents() const;

  // The size of the client area below the menu bar.
  static constexpr int ClientWidth = 792;
  static constexpr int ClientHeight = 554;
  // Initial name offered by the save dialog, and its filter.
  static constexpr const char* InitialSaveName = "results.txt";
  static constexpr const char* SaveFilter = "Text files|*.txt";
  // The report's font and the point size of printing.
  static constexpr const char* ReportFontFamily = "Courier New";
  static constexpr int PrintPointSize = 8;

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

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildWindow();
  void PrintReport(const QString& text);

  // Components; tests find them by their object names.
  QFrame* Panel1 = nullptr;
  QPlainTextEdit* memoResults = nullptr;
  QFrame* Panel2 = nullptr;
  QPushButton *cmdSaveOutput = nullptr, *cmdClearResults = nullptr, *cmdReturn = nullptr, *cmdExit = nullptr;
  QMenu* mnuPrinterOptions = nullptr;
  QAction *mnuPrint = nullptr, *mnuPrintSelection = nullptr;

  tPlatformServices& services_;
  QPointer<QWidget> worksheet_;
  std::unique_ptr<tMemoLines> sink_;
  std::string lastSaveName_ = InitialSaveName;
};
