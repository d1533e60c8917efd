// The worksheet window, the main window of both programs: the program
// description, the notes line, the entry fields, the data grid (summary
// data), the interval choice and the buttons Compute, Clear Data and Exit;
// in the summary-data program a File menu opens and saves the inputs as
// files.
// One class serves both programs through their profiles. The window holds
// the worksheet's inputs as plain data; its handlers copy between the
// widgets and those inputs and call the plain rules and compute flows of
// worksheet/logic. Tests find its widgets by their object names.
#pragma once

#include <QGroupBox>
#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "worksheet/logic/compute_outcome.h"
#include "worksheet/logic/program_profile.h"
#include "worksheet/logic/summary_data_flow.h"
#include "worksheet/logic/worksheet_inputs.h"
#include "worksheet/window/worksheet_geometry.h"

class QAction;
class QButtonGroup;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class TfrmTemplateResults;
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

class TfrmTemplate : public QMainWindow {
  Q_OBJECT

 public:
  // Builds the window, which restores the saved inputs kept in
  // savedInputs. matrixEntry serves the summary-data flow; without one
  // the matrix window is shown modally.
  TfrmTemplate(const tProgramProfile& profile, tPlatformServices& services, const tSavedInputsPlace& savedInputs,
               std::unique_ptr<tMatrixEntry> matrixEntry = nullptr, QWidget* parent = nullptr);
  ~TfrmTemplate() override;

  // The results window that Compute fills and shows.
  void SetResultsWindow(TfrmTemplateResults* results) { results_ = results; }

  const tProgramProfile& Profile() const { return profile_; }
  std::string SavedInputsPath() const;
  // The inputs as the widgets hold them now.
  const tWorksheetInputs& CurrentInputs();

 public slots:
  void cmdComputeClick();
  void btnclearDataClick();
  void ExitBtnClick();
  // The summary-data program's File menu.
  void mnuOpenInputsClick();
  void mnuSaveInputsAsClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  class tGridDelegate;

  void BuildWidgets();
  void LoadPreviousData();
  void ApplyOutcome(tComputeOutcome outcome);
  void ShowResultsWindow();

  // Copying between the widgets and inputs_.
  void GatherInputs();
  void GatherGrid();
  void ShowInputs();
  void ShowGrid();
  void SetWidgetCell(int col, int row, const QString& text);
  QString WidgetCell(int col, int row) const;

  // Sizes and places the grid and its headings for the grid's row count.
  void SizeGrid();

  QLineEdit* Field(int n) const;
  QLabel* FieldLabel(int n) const;
  void FocusField(int n);
  void SetGridCurrentCell(int col, int row);

  // Event handlers.
  void FormShow();
  void FormActivate();
  void DescripFldChange();
  void memoCommentsEnter();
  void memoCommentsExit();
  void memoCommentsKeyUp(int key);
  void txtInput1Exit();
  void txtInput1Change();
  void txtInput1KeyUp();
  void grdDataExit();
  bool grdDataKeyPress(QKeyEvent* event);
  void grdDataKeyUp(QLineEdit* editor);
  bool FieldKeyPress(QLineEdit* field, QKeyEvent* event);
  void FieldKeyUp(QLineEdit* field);
  int NotesLineCount() const;
  void OnFocusChanged(QWidget* old, QWidget* now);

  // The keys, pastes and context menus of the entries (the fields and the
  // grid's cell editors), routed to the rules above.
  bool EntryKeyPress(QObject* watched, QKeyEvent* event);
  void KeyUpRules(QObject* watched, int key);
  void PasteInto(QLineEdit* entry, bool fromSelection);
  void PasteOnGrid(const std::string& text);
  void PasteGridBlock(const std::string& text);
  void ShowEntryMenu(QLineEdit* entry, const QPoint& globalPos);
  QLineEdit* Entry(QObject* object) const;
  bool IsNumericEntry(const QLineEdit* entry) const;
  bool IsFilteredField(const QObject* object) const;
  bool InGrid(const QObject* object) const;

  const tProgramProfile profile_;
  const tWorksheetGeometry geometry_;
  tPlatformServices& services_;
  const tSavedInputsPlace savedInputs_;
  // The file beside the program that the inputs were restored from, until
  // the first save into the program's own saved-inputs folder.
  std::string restoredFromBesideProgram_;
  std::unique_ptr<tMatrixEntry> matrixEntry_;
  TfrmTemplateResults* results_ = nullptr;
  tWorksheetInputs inputs_;
  bool returningFromBox_ = false;  // a message box or file dialog took the activation
  bool showingInputs_ = false;     // the widgets are being set from inputs_
  // The last key pressed in one of the watched widgets (the grid and its
  // editors count as one), cleared by its release: a key-up rule answers
  // only a key pressed there, not the release of the key that closed a box.
  QObject* keyDownIn_ = nullptr;
  int keyDown_ = 0;

  QPlainTextEdit* DescripFld = nullptr;
  QFrame* Panel3 = nullptr;
  QLabel* lblComments = nullptr;
  QPlainTextEdit* memoComments = nullptr;
  QFrame* Panel1 = nullptr;
  std::array<QLineEdit*, WorksheetFieldCount> fields_{};
  std::array<QLabel*, WorksheetFieldCount> labels_{};
  QTableWidget* grdData = nullptr;
  TRadioGroup* RadioGroup1 = nullptr;
  QPushButton *cmdCompute = nullptr, *btnclearData = nullptr, *ExitBtn = nullptr;
  QLabel *lblGridColumnsTitle = nullptr, *lblItems = nullptr;
  // The summary-data program's File menu, above the client area; the file
  // last opened or saved there.
  QMenu* mnuFile = nullptr;
  QAction *mnuOpenInputs = nullptr, *mnuSaveInputsAs = nullptr;
  std::string lastInputsFile_;
  std::array<QLabel*, 6> columnHeadings_{};  // lblCol1 .. lblCol6
};
