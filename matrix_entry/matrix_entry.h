// The matrix entry window: a window built at run time for typing a
// matrix (the summary-data program uses it for the correlation matrix of
// the task and the covariates, lower triangle and diagonal only). One
// small edit cell per element; Continue checks every cell and writes the
// values back into the caller's matrix; Clear Data zeroes the cells below
// the diagonal; Return to Worksheet leaves without reading any cell.
//
// A correlation matrix copied from a spreadsheet or a paper's table and
// pasted into any cell (Ctrl+V or the cell's menu) fills the cells below
// the diagonal, once every value passes the rules Continue applies.
//
// Enter presses Continue (the default button) or the button that has the
// focus; Escape is Return to Worksheet.
//
// Every message goes through tPlatformServices. Tests build TSqMatFrm
// directly (no modal loop), type into its cells and call the buttons'
// Click; Outcome() tells how the window was left.
#pragma once

#include <array>
#include <string>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "matrix_entry/matrix_rules.h"
#include "platform/services.h"

class QFrame;
class QLabel;
class QScrollArea;
class QKeyEvent;

class TSqMatFrm;

// One edit cell of the matrix. It carries the marker that records that
// the user accepted the value 0.000 in it (asked once per window).
class tMatrixCell : public QLineEdit {
 public:
  tMatrixCell(int column, int row, QWidget* parent);
  const int column;
  const int row;
  int zeroMarker = 0;
};

// The three buttons of the window, each a push button whose Click runs
// the window's action.
class tMatrixFormButton : public QPushButton {
 public:
  tMatrixFormButton(TSqMatFrm& form, const QString& caption, const QString& name, int left);
  virtual void Click() = 0;

 protected:
  // Enter presses the button that has the focus.
  void keyPressEvent(QKeyEvent* event) override;
  TSqMatFrm& form_;
};

// "Continue": checks every cell and, when all pass, stores them and closes.
class MatrixButton : public tMatrixFormButton {
 public:
  explicit MatrixButton(TSqMatFrm& form);
  void Click() override;
};

// "Clear Data": after confirmation, zeroes the cells below the diagonal.
class ClearMatrixButton : public tMatrixFormButton {
 public:
  explicit ClearMatrixButton(TSqMatFrm& form);
  void Click() override;
};

// "Return to Worksheet": closes without reading any cell.
class ReturnMatrixButton : public tMatrixFormButton {
 public:
  explicit ReturnMatrixButton(TSqMatFrm& form);
  void Click() override;
};

// The window (component name "SqMatFrm"). The constructor builds every
// widget; it is shown modally by ShowMatrixEntry.
class TSqMatFrm : public QDialog {
 public:
  // columns and rows are limited to 0..EntryMatrixCapacity.
  TSqMatFrm(EntryMatrix& matrix, int columns, int rows, const std::string& caption,
            const std::string& columnTitle, const std::string& rowTitle, QWidget* owner,
            bool lowerTriangleOnly, tPlatformServices& services);

  // The cell of column c and row r; nullptr where there is none (outside
  // the order, or above the diagonal in lower-triangle mode).
  tMatrixCell* Cell(int column, int row) const;
  int ColumnCount() const { return columns_; }
  int RowCount() const { return rows_; }

  // How the window was closed.
  enum class tOutcome { Open, Accepted, ReturnedToWorksheet };
  tOutcome Outcome() const { return outcome_; }

  // The actions behind the three buttons.
  void ContinueClick();
  void ClearDataClick();
  void ReturnClick();

  // A window-manager close (there is no close box) is a Return to Worksheet.
  void reject() override;

  // A paste into a cell: a block of cells on the clipboard is the
  // correlation matrix (lower-triangle mode); any other text goes into the
  // cell as the line edit pastes it.
  void PasteIntoCell(tMatrixCell* cell);

 protected:
  // The cells' Ctrl+V and context menu paste through PasteIntoCell.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildPanels();
  void FitOnScreen();
  void BuildCells(QWidget* panel);
  void BuildLabels(QWidget* panel, const std::string& columnTitle, const std::string& rowTitle);
  void BuildTabOrder();
  void FocusCell(tMatrixCell* cell);
  void PasteValueIntoCell(tMatrixCell* cell, const std::string& pastedText);

  // Components; tests find them by their object names.
  QScrollArea* cellArea = nullptr;  // the scrolling cell-area panel
  QFrame* buttonBar = nullptr;
  MatrixButton* CloseBtn = nullptr;
  ClearMatrixButton* ClearBtn = nullptr;
  ReturnMatrixButton* ReturnBtn = nullptr;

  EntryMatrix& matrix_;
  int columns_;
  int rows_;
  bool lowerTriangleOnly_;
  tPlatformServices& services_;
  tOutcome outcome_ = tOutcome::Open;
  // (column, row) -> the cell's edit field.
  std::array<std::array<tMatrixCell*, EntryMatrixCapacity + 1>, EntryMatrixCapacity + 1> cellIndex_{};
};

// Builds the window over matrix (columns x rows cells, each showing
// element (c, r) as "%5.3f"), shows it modally with owner as its owner,
// and frees it when the user leaves. Returns true when the user pressed
// Continue and every cell passed (the matrix then holds the values, made
// symmetric in lower-triangle mode); false when the user returned to the
// worksheet (the matrix must then be ignored).
bool ShowMatrixEntry(EntryMatrix& matrix, int columns, int rows, const std::string& caption,
                     const std::string& columnTitle, const std::string& rowTitle, QWidget* owner,
                     bool lowerTriangleOnly, tPlatformServices& services);
