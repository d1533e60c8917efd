// The worksheet window, the main window of both programs: the program
// description, the notes line, the entry fields, the data grid (summary
// data), the interval choice and the buttons Compute, Clear Data and Exit.
// One class serves both programs through its worksheet settings; what
// Compute does is a per-program flow object set by the entry point.
#pragma once

#include <QGroupBox>
#include <QMainWindow>
#include <QString>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/notice.h"
#include "worksheet/analysis_report.h"
#include "worksheet/saved_inputs.h"
#include "worksheet/worksheet_settings.h"

class QButtonGroup;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class TfrmTemplate;
class TfrmTemplateResults;
class tReportLines;
class tPlatformServices;

// A captioned group of mutually exclusive choices, read by item index.
class TRadioGroup : public QGroupBox {
 public:
  TRadioGroup(const QString& caption, const std::array<std::string, 3>& items, QWidget* parent);

  int ItemIndex() const;  // -1 when nothing is selected
  void SetItemIndex(int index);
  int Count() const { return static_cast<int>(items_.size()); }
  QRadioButton* Item(int index) const { return items_.at(static_cast<std::size_t>(index)); }

 private:
  QButtonGroup* group_;
  std::vector<QRadioButton*> items_;
};

// What Compute does in one program (the raw-data flow or the summary-data
// flow). The entry point hands the window its flow; without one, Compute
// checks the two count fields and says the analysis is not available.
// A flow works through the window's public members: the fields and their
// captions (Field, FieldText, LabelCaption, FocusField, ReadCountFields),
// the grid (grdData, Cell, SetCell, SetGridRowCount, SizeGrid,
// settings.gridRows), the interval choice (RadioGroup1, TwoSided), the
// worksheet's part of the report (ReportInputs), the
// matrix (storedCorrelations, matrixRestored, matrixOrder), SaveCurrentData,
// the services and validation hooks (Services, Notice, BeepSound) and the
// results window (ShowResultsWindow, ReportSink, frmTemplateResults).
class tComputeFlow {
 public:
  virtual ~tComputeFlow() = default;
  // Called once when the flow is set: connects the flow's own handlers
  // (for example those of the grid and the covariates field).
  virtual void Attach(TfrmTemplate& form) { (void)form; }
  // The Compute button. An exception that escapes is shown in an error box
  // and the cursor is set back to normal.
  virtual void Compute(TfrmTemplate& form) = 0;
};

class TfrmTemplate : public QMainWindow {
  Q_OBJECT

 public:
  // Builds the window (FormCreate), which restores the saved inputs from
  // savedInputsFolder/savedInputsFileName. programTitle and
  // savedInputsFileName must be set before.
  TfrmTemplate(const tWorksheetSettings& settings, tPlatformServices& services,
               const std::string& savedInputsFolder, QWidget* parent = nullptr);
  ~TfrmTemplate() override;

  // --- wiring by the entry point --------------------------------------
  void SetResultsWindow(TfrmTemplateResults* results) { frmTemplateResults = results; }
  // Shows the results window with the caption "Results viewer: " followed
  // by programTitle, and hides the worksheet.
  void ShowResultsWindow();
  // The report lines of the results window (nullptr without one).
  tReportLines* ReportSink() const;
  void SetComputeFlow(std::unique_ptr<tComputeFlow> flow);
  tComputeFlow* ComputeFlow() const { return computeFlow_.get(); }
  tPlatformServices& Services() const { return services_; }
  // Hooks for the validation rules: message boxes and the beep.
  const tNoticeHook& Notice() const { return notice_; }
  const tBeepHook& BeepSound() const { return beep_; }

  // --- worksheet state ------------------------------------------------
  tWorksheetSettings settings;
  TfrmTemplateResults* frmTemplateResults = nullptr;
  // The correlation matrix kept for the whole run (doubles, 1-based).
  tStoredCorrelations storedCorrelations;
  // True when the saved-inputs file existed and was read completely at start-up.
  bool matrixRestored = false;
  // Order (k + 1) of the last matrix entry; 0 before the first one.
  int matrixOrder = 0;
  std::string savedInputsFolder;
  std::string SavedInputsPath() const;

  // --- components -----------------------------------------------------
  QPlainTextEdit* DescripFld;
  QFrame* Panel3;
  QLabel* lblComments;
  QPlainTextEdit* memoComments;
  QFrame* Panel1;
  QLineEdit *txtInput1, *txtInput2, *txtInput3, *txtInput4, *txtInput5, *txtInput6, *txtInput7, *txtinput8;
  QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8;
  QTableWidget* grdData;
  TRadioGroup* RadioGroup1;
  QPushButton *cmdCompute, *btnclearData, *ExitBtn;
  QLabel *lblGridColumnsTitle, *lblItems, *lblCol1, *lblCol2, *lblCol3, *lblCol4, *lblCol5, *lblCol6;

  // Fields and labels by number 1..8.
  QLineEdit* Field(int n) const;
  QLabel* FieldLabel(int n) const;
  std::string FieldText(int n) const;
  std::string LabelCaption(int n) const;
  // Focuses field n and selects its whole text.
  void FocusField(int n);

  // --- grid access (column, row, as the grid is addressed) ------------
  // Rows beyond the grid's current row count keep their text and come
  // back when the grid grows.
  QString Cell(int col, int row) const;
  void SetCell(int col, int row, const QString& text);
  int GridRowCount() const;
  void SetGridRowCount(int rows);
  void SetGridCurrentCell(int col, int row);

  // --- worksheet routines ---------------------------------------------
  // Restores the saved inputs; run once, from the constructor.
  void LoadPreviousData();
  // Writes the saved-inputs file. On failure a warning names the file and
  // the reason and false is returned; the caller's computation goes on.
  bool SaveCurrentData();
  // Sizes and places the grid and its headings for settings.gridRows.
  void SizeGrid();
  // Reads and checks the two count fields in field order (sample-size
  // rule or covariate-count rule), then the cross-field rule. On failure
  // the box has been shown, the field concerned has the focus and false
  // is returned.
  bool ReadCountFields(int& sampleSize, int& covariates);
  // True when "Two-sided" is chosen.
  bool TwoSided() const;
  // The worksheet's part of the report inputs for program: title, notes
  // with their caption, the fields with their captions and visibility,
  // and the interval chosen. The caller adds the statistics.
  tReportInputs ReportInputs(tReportProgram program) const;
  // Number of lines the notes hold.
  int NotesLineCount() const;

 public slots:
  void cmdComputeClick();
  void btnclearDataClick();
  void ExitBtnClick();

 public:
  // Handlers run by the window's events; public so tests can run them.
  void FormShow();
  void FormActivate();
  void DescripFldChange();
  void memoCommentsEnter();
  void memoCommentsExit();
  void memoCommentsKeyUp(int key);
  void txtInput1Exit();
  void grdDataExit();
  // Key press in a filtered field: returns true when the key is consumed.
  bool FieldKeyPress(QLineEdit* field, QKeyEvent* event);
  // Key release in a filtered field: the length rule.
  void FieldKeyUp(QLineEdit* field);

  // Notes height while it has the focus and holds several lines.
  static constexpr int NotesTallHeight = 70;
  static constexpr int NotesShortHeight = 25;
  static constexpr int NotesMaxLength = 250;
  // Above this length the description gets a vertical scroll bar.
  static constexpr int DescriptionScrollLength = 550;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void BuildWidgets();
  void FirstRunGrid();
  void ResetStoredCorrelations();
  void OnFocusChanged(QWidget* old, QWidget* now);
  bool IsFilteredField(QObject* object) const;
  bool InGrid(const QWidget* widget) const;

  tPlatformServices& services_;
  tNoticeHook notice_;
  tBeepHook beep_;
  std::unique_ptr<tComputeFlow> computeFlow_;
  std::map<int, std::vector<QString>> hiddenRows_;  // texts of rows beyond the row count
  bool returningFromBox_ = false;  // a message box or file dialog took the activation
};
