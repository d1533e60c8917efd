// The summary-data flow of Quorvane: the handlers that keep the data grid
// in shape while the user types (the covariates field and the grid's key
// handlers) and the compute handler, from the button press through the
// matrix entry, the saved inputs and the engine to the report in the
// results window.
//
// The steps that need no window are plain functions over plain data; the
// flow object runs them against the worksheet's widgets.
#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "engine/analysis_results.h"
#include "core/extended.h"
#include "matrix/tmatrix.h"
#include "matrix_entry/matrix_entry.h"
#include "platform/notice.h"
#include "validation/validation_messages.h"
#include "worksheet/saved_inputs.h"
#include "worksheet/tfrm_template.h"

class QEvent;
class QKeyEvent;
class QLineEdit;

// Largest number of covariates the grid follows: the covariates field is
// capped at this value, so the grid has at most 13 rows.
constexpr int MaxGridCovariates = 12;
inline constexpr const char* GridCapMessage = "Maximum size of grid is 12 rows.";

// The grid's columns: 0 the row number, 1 the name, 2..5 the numbers.
constexpr int NameColumn = 1;
constexpr int MeanColumn = 2;
constexpr int SdColumn = 3;
constexpr int CaseAColumn = 4;
constexpr int CaseBColumn = 5;

// The analysis runs at this confidence level (percent).
constexpr extended SummaryConfidenceLevel = 95;


// --- plain steps ------------------------------------------------------------

// Grid rows for the value the covariates field reads as: value + 1 when
// the value is a whole number, at least 1 (a negative count leaves one
// row; compute refuses it) and at most MaxGridCovariates + 1 (a text
// pasted past the key-release cap). nullopt when the value is not a whole
// number (2.5): the grid is then left as it was.
std::optional<int> GridRowsForCovariateValue(extended value);

// The box shown when the covariates field's text is not a whole number.
std::string WholeNumberMessage(std::string_view text);

// The grid check before the matrix entry: column by column from Mean to
// Case B, and within a column row by row, each cell must pass the strict
// reader under the label "Test No." + the row's number text; each SD must
// then be positive (label sdCaption). cell(col, row) gives a cell's text
// (row 0 the task). Returns the first cell that fails (its box has been
// shown), or nullopt when every cell passes.
struct tGridCell {
  int column;
  int row;
};
std::optional<tGridCell> CheckGridCells(int rows, const std::function<std::string(int, int)>& cell,
                                        const std::string& sdCaption, const tNoticeHook& notice);

// The matrix the matrix-entry window opens on: the leading order x order
// block of stored when fromStored, the identity otherwise.
void InitialEntryMatrix(const tStoredCorrelations& stored, int order, bool fromStored, EntryMatrix& out);

// Takes the accepted matrix back into the worksheet's correlations.
void StoreEnteredMatrix(const EntryMatrix& entered, int order, tStoredCorrelations& stored);

// Everything the engine is given for one compute.
struct tSummaryInputs {
  int k = 0;  // number of covariates
  int N = 0;  // control sample size
  tVector means, sds, caseA, caseB;  // position 1 the task, 2..k+1 the covariates
  tMatrix R;  // correlations, order k + 1
};

// Element v of each vector from grid row v - 1 (the lenient reader, the
// cells having passed the strict one); R from the leading block of stored.
tSummaryInputs GatherSummaryInputs(int k, int N, const std::function<std::string(int, int)>& cell,
                                   const tStoredCorrelations& stored, const tNoticeHook& notice);

// --- the flow ---------------------------------------------------------------

class tSummaryDataFlow : public QObject, public tComputeFlow {
 public:
  tSummaryDataFlow();
  ~tSummaryDataFlow() override;

  // Connects the covariates field's and the grid's handlers.
  void Attach(TfrmTemplate& form) override;
  // cmdComputeClick: steps 1 to 12.
  void Compute(TfrmTemplate& form) override;

  // The covariates field: every change resizes the grid; a key release
  // caps the value at 12.
  void txtInput1Change();
  void txtInput1KeyUp();
  // The grid: key press filters numeric columns (true: the key is
  // consumed); key release applies the length limits of the current cell.
  bool grdDataKeyPress(QLineEdit* editor, QKeyEvent* event);
  void grdDataKeyUp(QLineEdit* editor);

  // A matrix was accepted in the matrix window in this run (Clear Data
  // forgets it). With a matrix restored at start-up, the matrix window
  // opens on the worksheet's correlations.
  bool MatrixEntered() const { return matrixEntered_; }
  bool PrefillFromStored() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class tGridDelegate;
  bool CheckGrid(int k);
  bool EnterMatrix(int order);
  TfrmTemplate* form_ = nullptr;
  bool matrixEntered_ = false;
};
