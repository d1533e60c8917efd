#include "worksheet/summary_data_flow.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>
#include <utility>

#include "engine/compare_two_cases.h"
#include "matrix/matrix_operations.h"
#include "core/report_lines.h"
#include "platform/services.h"
#include "validation/validation.h"
#include "worksheet/analysis_report.h"

namespace {

// The matrix window's caption; the flow gives it no row or column titles.
constexpr const char* MatrixEntryCaption = "Matrix Entry";
// Label of a grid cell in the readers' boxes: this text directly followed
// by the row's number text.
constexpr const char* GridCellLabelPrefix = "Test No.";
// Opens the box that shows what the engine raised.
constexpr const char* AnalysisFailedText =
    "The analysis could not be carried out with these inputs; please check the values entered. "
    "The computation reported:\r\r";

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

}  // namespace

// ---------------------------------------------------------------------------
// Plain steps

std::optional<int> GridRowsForCovariateValue(extended value) {
  if (!std::isfinite(value) || value != std::trunc(value)) return std::nullopt;
  // Clamped as an extended first, so that no count converts out of range.
  const extended rows = std::clamp(value + 1, extended{1}, extended{MaxGridCovariates + 1});
  return static_cast<int>(rows);
}

std::string WholeNumberMessage(std::string_view text) {
  return "'" + std::string(text) +
         "' is not a valid whole number.\r\rThe number of covariates must be a whole number; the grid "
         "has been left as it was.";
}

std::optional<tGridCell> CheckGridCells(int rows, const std::function<std::string(int, int)>& cell,
                                        const std::string& sdCaption, const tNoticeHook& notice) {
  for (int col = MeanColumn; col <= CaseBColumn; ++col) {
    for (int row = 0; row < rows; ++row) {
      const std::string label = GridCellLabelPrefix + cell(0, row);
      const extended value = ReadLabelledNumber(cell(col, row), label, notice);
      if (inputError) return tGridCell{col, row};
      if (col == SdColumn && !CheckPositiveSd(sdCaption, value, notice)) return tGridCell{col, row};
    }
  }
  return std::nullopt;
}

void InitialEntryMatrix(const tStoredCorrelations& stored, int order, bool fromStored, EntryMatrix& out) {
  order = std::clamp(order, 0, StoredCorrelationsCapacity);
  for (int i = 1; i <= order; ++i)
    for (int j = 1; j <= order; ++j) out[i][j] = fromStored ? stored[i][j] : (i == j ? 1.0 : 0.0);
}

void StoreEnteredMatrix(const EntryMatrix& entered, int order, tStoredCorrelations& stored) {
  order = std::clamp(order, 0, StoredCorrelationsCapacity);
  for (int i = 1; i <= order; ++i)
    for (int j = 1; j <= order; ++j) stored[i][j] = entered[i][j];
}

tSummaryInputs GatherSummaryInputs(int k, int N, const std::function<std::string(int, int)>& cell,
                                   const tStoredCorrelations& stored, const tNoticeHook& notice) {
  tSummaryInputs inputs;
  inputs.k = k;
  inputs.N = N;
  const int order = std::clamp(k + 1, 0, StoredCorrelationsCapacity);
  for (int v = 1; v <= order; ++v) {
    const int row = v - 1;
    inputs.means[v] = ReadCellNumber(cell(MeanColumn, row), notice);
    inputs.sds[v] = ReadCellNumber(cell(SdColumn, row), notice);
    inputs.caseA[v] = ReadCellNumber(cell(CaseAColumn, row), notice);
    inputs.caseB[v] = ReadCellNumber(cell(CaseBColumn, row), notice);
    for (int j = 1; j <= order; ++j) inputs.R[v][j] = static_cast<extended>(stored[v][j]);
  }
  return inputs;
}

// ---------------------------------------------------------------------------
// The grid's cell editor. The cell's text follows the editor as the user
// types (as the grid's cells always show what is typed), so the key
// handlers, Compute and the saved inputs see the text being typed even
// while the editor is open. The flow watches every editor's keys.

class tSummaryDataFlow::tGridDelegate : public QStyledItemDelegate {
 public:
  tGridDelegate(tSummaryDataFlow& flow, QTableWidget* grid) : QStyledItemDelegate(grid), flow_(flow), grid_(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
      line->installEventFilter(&flow_);
      const QPersistentModelIndex cell(index);
      QTableWidget* grid = grid_;
      connect(line, &QLineEdit::textChanged, grid, [grid, cell](const QString& text) {
        if (cell.isValid() && grid->model()->data(cell, Qt::EditRole).toString() != text)
          grid->model()->setData(cell, text, Qt::EditRole);
      });
    }
    return editor;
  }

  // A text written into the cell while it is being edited reaches the
  // editor; the echo of the editor's own text leaves the cursor alone.
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    if (auto* line = qobject_cast<QLineEdit*>(editor))
      if (line->text() == index.data(Qt::EditRole).toString()) return;
    QStyledItemDelegate::setEditorData(editor, index);
  }

 private:
  tSummaryDataFlow& flow_;
  QTableWidget* grid_;
};

// ---------------------------------------------------------------------------
// The flow

tSummaryDataFlow::tSummaryDataFlow() = default;
tSummaryDataFlow::~tSummaryDataFlow() = default;

void tSummaryDataFlow::Attach(TfrmTemplate& form) {
  form_ = &form;
  connect(form.txtInput1, &QLineEdit::textChanged, this, [this] { txtInput1Change(); });
  form.txtInput1->installEventFilter(this);
  form.grdData->installEventFilter(this);
  form.grdData->setItemDelegate(new tGridDelegate(*this, form.grdData));
  // Clear Data resets the worksheet's correlations to the identity; the
  // matrix entered before is forgotten with them.
  connect(form.btnclearData, &QPushButton::clicked, this, [this] { matrixEntered_ = false; });
}

bool tSummaryDataFlow::PrefillFromStored() const {
  return matrixEntered_ || (form_ != nullptr && form_->matrixRestored);
}

bool tSummaryDataFlow::eventFilter(QObject* watched, QEvent* event) {
  if (form_ == nullptr) return QObject::eventFilter(watched, event);
  const QEvent::Type type = event->type();
  if (watched == form_->txtInput1) {
    if (type == QEvent::KeyRelease) txtInput1KeyUp();
    return false;
  }
  if (watched == form_->grdData) {
    // Keys typed while no editor is open reach the editor that the first
    // key opens; releases land on the grid itself.
    if (type == QEvent::KeyRelease) grdDataKeyUp(nullptr);
    return false;
  }
  if (auto* editor = qobject_cast<QLineEdit*>(watched)) {
    if (type == QEvent::KeyPress) return grdDataKeyPress(editor, static_cast<QKeyEvent*>(event));
    if (type == QEvent::KeyRelease) {
      grdDataKeyUp(editor);
      return true;  // handled here; the grid must not see it again
    }
  }
  return QObject::eventFilter(watched, event);
}

// Every change of the covariates field's text: the grid gets one row for
// the task and one per covariate. An empty text or one the reader refuses
// (the reader has said so) reads 0 and leaves the grid alone.
void tSummaryDataFlow::txtInput1Change() {
  TfrmTemplate& form = *form_;
  const std::string text = form.FieldText(1);
  const extended value = ReadCellNumber(text, form.Notice());
  if (inputError || value == 0) return;
  const std::optional<int> rows = GridRowsForCovariateValue(value);
  if (!rows) {
    form.Services().Error(WholeNumberMessage(text));
    return;
  }
  form.settings.gridRows = *rows;
  form.SetGridRowCount(*rows);
  form.SizeGrid();
}

// Key release in the covariates field: more than 12 is cut back to 12
// (13 grid rows). A text the reader refuses was reported by the change
// handler already, so it is read here without a second box.
void tSummaryDataFlow::txtInput1KeyUp() {
  TfrmTemplate& form = *form_;
  const extended value = ReadCellNumber(form.FieldText(1), tNoticeHook{});
  if (value > MaxGridCovariates) {
    form.Services().Warn(GridCapMessage);
    form.txtInput1->setText(QString::number(MaxGridCovariates));
    form.txtInput1->selectAll();
  }
}

// Key press in a grid cell: the numeric columns take numeric keys only
// (a comma becomes a point); the row number and name columns take any key.
bool tSummaryDataFlow::grdDataKeyPress(QLineEdit* editor, QKeyEvent* event) {
  if (form_->grdData->currentColumn() < MeanColumn) return false;
  return form_->FieldKeyPress(editor, event);
}

// Key release in the grid: a name of 6 or more characters draws the
// length warning and stays as typed; a number of more than 6 characters
// is cut to its first six.
void tSummaryDataFlow::grdDataKeyUp(QLineEdit* editor) {
  TfrmTemplate& form = *form_;
  const int col = form.grdData->currentColumn();
  const int row = form.grdData->currentRow();
  if (col < NameColumn || row < 0) return;
  std::string text = editor != nullptr ? S(editor->text()) : S(form.Cell(col, row));
  if (col == NameColumn) {
    if (CharacterCount(text) >= MaxFieldLength) form.Services().Warn(MaximumLengthMessage);
    return;
  }
  if (!ApplyLengthRule(text, form.Notice(), form.BeepSound())) return;
  form.SetCell(col, row, Q(text));
  if (editor != nullptr) {
    editor->setText(Q(text));
    editor->setFocus(Qt::OtherFocusReason);
  } else {
    form.grdData->setFocus(Qt::OtherFocusReason);
  }
}

// Step 4: the grid check; the failing cell becomes current and the grid
// takes the focus.
bool tSummaryDataFlow::CheckGrid(int k) {
  TfrmTemplate& form = *form_;
  const auto cell = [&form](int col, int row) { return S(form.Cell(col, row)); };
  const std::optional<tGridCell> failed = CheckGridCells(k + 1, cell, S(form.lblCol3->text()), form.Notice());
  if (!failed) return true;
  form.SetGridCurrentCell(failed->column, failed->row);
  form.grdData->setFocus(Qt::OtherFocusReason);
  return false;
}

// Step 5: the matrix window over the hidden worksheet. It opens on the
// worksheet's correlations once a matrix has been restored or entered in
// this run, on the identity otherwise. Returns false when the user went
// back to the worksheet (nothing changed).
bool tSummaryDataFlow::EnterMatrix(int order) {
  TfrmTemplate& form = *form_;
  auto entry = std::make_unique<EntryMatrix>();
  InitialEntryMatrix(form.storedCorrelations, order, PrefillFromStored(), *entry);
  form.hide();
  const bool accepted = ShowMatrixEntry(*entry, order, order, MatrixEntryCaption, std::string(), std::string(),
                                        &form, true, form.Services());
  if (!accepted || returnedToWorksheet) {
    returnedToWorksheet = false;
    form.show();
    return false;
  }
  StoreEnteredMatrix(*entry, order, form.storedCorrelations);
  form.matrixOrder = order;
  matrixEntered_ = true;
  return true;
}

void tSummaryDataFlow::Compute(TfrmTemplate& form) {
  form_ = &form;
  tPlatformServices& services = form.Services();

  // Steps 1 to 3: the number of covariates, the sample size, N - 1 > k.
  int N = 0;
  int k = 0;
  if (!form.ReadCountFields(N, k)) return;

  // The grid holds exactly the rows the analysis reads (its rows follow
  // the covariates field, but a text such as "2 " or "3.0" passes the
  // count check without having resized it).
  if (form.settings.gridRows != k + 1 || form.GridRowCount() != k + 1) {
    form.settings.gridRows = k + 1;
    form.SetGridRowCount(k + 1);
    form.SizeGrid();
  }

  // Step 4: every number in the grid.
  if (!CheckGrid(k)) return;

  // Step 5: the correlation matrix.
  const int order = k + 1;
  if (!EnterMatrix(order)) return;

  // Step 6: the inputs are saved before the matrix is tested.
  form.SaveCurrentData();

  // Step 7.
  services.SetBusyCursor(true);
  form.show();
  services.ProcessPendingEvents();

  try {
    // Step 8.
    const auto cell = [&form](int col, int row) { return S(form.Cell(col, row)); };
    const tSummaryInputs inputs = GatherSummaryInputs(k, N, cell, form.storedCorrelations, form.Notice());

    // Step 9.
    if (!IsPositiveDefinite(order, inputs.R)) {
      services.SetBusyCursor(false);
      services.Error(NotPositiveDefiniteMessage);
      form.FocusField(1);
      return;
    }

    // Steps 10 and 11. The engine writes no lines here; whatever it
    // raises leaves the results window as it was.
    tReportInputs reportInputs = form.ReportInputs(tReportProgram::SummaryData);
    SetReportStatistics(reportInputs, inputs.k, inputs.means, inputs.sds, inputs.caseA, inputs.caseB, inputs.R);
    const bool twoSided = reportInputs.interval == tIntervalChoice::TwoSided;
    AnalysisResults results;
    extended conditionalSd = 0;
    tLineList engineLines;
    const bool diagnosticLines = false;
    CompareTwoCases(k, N, inputs.caseA, inputs.caseB, inputs.sds, inputs.means, inputs.R, SummaryConfidenceLevel,
                    twoSided, results, conditionalSd, engineLines, diagnosticLines);

    // Step 12. The report is complete before the first line reaches the
    // results window.
    tReportLines* sink = form.ReportSink();
    tLineList report;
    WriteAnalysisReport(reportInputs, results, conditionalSd, sink != nullptr && sink->Count() > 0, report);
    services.SetBusyCursor(false);
    if (sink == nullptr) return;
    form.ShowResultsWindow();
    for (const std::string& line : report.lines) sink->Add(line);
  } catch (const std::exception& error) {
    services.SetBusyCursor(false);
    form.show();
    services.Error(std::string(AnalysisFailedText) + error.what());
  }
}
