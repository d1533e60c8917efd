#include "matrix_entry/matrix_entry.h"

#include <algorithm>
#include <memory>
#include <utility>

#include <QContextMenuEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPointer>
#include <QVBoxLayout>
#include <QScrollArea>
#include <QScrollBar>

#include "core/text_format.h"
#include "platform/fonts.h"
#include "platform/paste_menu.h"
#include "platform/screen_fit.h"
#include "validation/input_error.h"
#include "validation/key_filter.h"
#include "validation/number_readers.h"
#include "validation/pasted_block.h"
#include "validation/validation_messages.h"
#include "validation/value_rules.h"

namespace {

// Window and panel geometry, in pixels.
constexpr int WindowWidth = 800;  // the window is always its largest size
constexpr int WindowHeight = 600;
constexpr int PanelLeft = 7;
constexpr int CellAreaTop = 5;
constexpr int CellAreaWidth = 780;
constexpr int CellAreaHeight = 483;
constexpr int ButtonBarTop = 500;
constexpr int ButtonBarHeight = 49;
constexpr int ButtonTop = 506;
constexpr int ButtonWidth = 161;
constexpr int ButtonHeight = 37;
constexpr int ButtonPointSize = 10;
constexpr int ScrollStep = 4;

// One cell: 37 x 16 at window position (37c - 4, 16r + 34). The cells lie
// on the scrolling cell-area panel, whose corner is at (7, 5).
constexpr int CellWidth = 37;
constexpr int CellHeight = 16;
constexpr int CellLeftOffset = -4 - PanelLeft;
constexpr int CellTopOffset = 34 - CellAreaTop;
constexpr int CellMaxLength = 6;
// The cells' font: the sans-serif window font at 11 pixels (8 points on a
// 96-dpi screen), so that six characters such as "-0.500" fit a cell.
constexpr int CellFontPixels = 11;
// Number labels, 15 x 16: column numbers under the cells, row numbers at
// the left edge.
constexpr int NumberLabelWidth = 15;
constexpr int NumberLabelHeight = 16;
constexpr int ColumnNumberTopOffset = 60;
constexpr int RowNumberLeft = 7;
// Room kept around the cells inside the panel.
constexpr int PanelMargin = 8;

int CellLeft(int column) { return CellWidth * column + CellLeftOffset; }
int CellTop(int row) { return CellHeight * row + CellTopOffset; }

}  // namespace

tMatrixCell::tMatrixCell(int cellColumn, int cellRow, QWidget* parent)
    : QLineEdit(parent), column(cellColumn), row(cellRow) {}

tMatrixFormButton::tMatrixFormButton(TSqMatFrm& form, const QString& caption, const QString& name, int left)
    : QPushButton(caption, &form), form_(form) {
  setObjectName(name);
  setGeometry(left, ButtonTop, ButtonWidth, ButtonHeight);
  setFont(SubstitutedFont("System", ButtonPointSize));
  // Enter in a cell presses the default button, Continue.
  setAutoDefault(false);
  connect(this, &QPushButton::clicked, this, [this] { Click(); });
}

void tMatrixFormButton::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    click();
    return;
  }
  QPushButton::keyPressEvent(event);
}

MatrixButton::MatrixButton(TSqMatFrm& form) : tMatrixFormButton(form, "Continue", "CloseBtn", 16) {}
void MatrixButton::Click() { form_.ContinueClick(); }

ClearMatrixButton::ClearMatrixButton(TSqMatFrm& form) : tMatrixFormButton(form, "Clear Data", "ClearBtn", 216) {}
void ClearMatrixButton::Click() { form_.ClearDataClick(); }

ReturnMatrixButton::ReturnMatrixButton(TSqMatFrm& form)
    : tMatrixFormButton(form, "Return to Worksheet", "ReturnBtn", 416) {}
void ReturnMatrixButton::Click() { form_.ReturnClick(); }

TSqMatFrm::TSqMatFrm(EntryMatrix& matrix, int columns, int rows, const std::string& caption,
                     const std::string& columnTitle, const std::string& rowTitle, QWidget* owner,
                     bool lowerTriangleOnly, tPlatformServices& services)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      matrix_(matrix),
      columns_(std::clamp(columns, 0, EntryMatrixCapacity)),
      rows_(std::clamp(rows, 0, EntryMatrixCapacity)),
      lowerTriangleOnly_(lowerTriangleOnly),
      services_(services) {
  setObjectName("SqMatFrm");
  setWindowTitle(QString::fromStdString(caption));
  BuildPanels();
  auto* panel = cellArea->widget();
  BuildCells(panel);
  BuildLabels(panel, columnTitle, rowTitle);
  CloseBtn = new MatrixButton(*this);
  ClearBtn = new ClearMatrixButton(*this);
  ReturnBtn = new ReturnMatrixButton(*this);
  CloseBtn->setDefault(true);
  FitOnScreen();
  BuildTabOrder();
  // The cell that has the focus when the window opens starts with its text
  // selected, as a cell reached by Tab does, so that typing replaces the
  // value shown instead of adding to it.
  for (int r = 1; r <= rows_; ++r)
    for (int c = 1; c <= columns_; ++c)
      if (tMatrixCell* cell = cellIndex_[c][r]; cell != nullptr && c != r) {
        cell->selectAll();
        return;
      }
}

// On a screen too small for the window, the window is shrunk into it and
// everything on it scrolls.
void TSqMatFrm::FitOnScreen() {
  const QSize whole(WindowWidth, WindowHeight);
  if (!FitsOnScreen(whole)) {
    const QList<QWidget*> parts = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    auto* content = new QWidget;
    content->setFixedSize(whole);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(NewContentScroller(content, this));
    for (QWidget* part : parts) {
      part->setParent(content);
      part->show();
    }
  }
  PlaceOnScreen(*this, whole);
}

// The cell area scrolls when the cells do not fit in it (more than 20
// columns or about 25 rows); the button bar below it stays in place.
void TSqMatFrm::BuildPanels() {
  cellArea = new QScrollArea(this);
  cellArea->setObjectName("cellArea");
  cellArea->setGeometry(PanelLeft, CellAreaTop, CellAreaWidth, CellAreaHeight);
  cellArea->setFocusPolicy(Qt::NoFocus);
  cellArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  cellArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  cellArea->horizontalScrollBar()->setSingleStep(ScrollStep);
  cellArea->verticalScrollBar()->setSingleStep(ScrollStep);

  auto* panel = new QWidget;
  panel->setObjectName("cellPanel");
  const int contentWidth = CellLeft(columns_) + CellWidth + PanelMargin;
  const int contentHeight = CellHeight * rows_ + ColumnNumberTopOffset + NumberLabelHeight + PanelMargin;
  panel->setFixedSize(contentWidth, contentHeight);
  cellArea->setWidget(panel);
  cellArea->setWidgetResizable(false);

  buttonBar = new QFrame(this);
  buttonBar->setObjectName("buttonBar");
  buttonBar->setGeometry(PanelLeft, ButtonBarTop, CellAreaWidth, ButtonBarHeight);
  buttonBar->setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

// Row by row from row 1, left to right within a row.
void TSqMatFrm::BuildCells(QWidget* panel) {
  QFont cellFont = SubstitutedFont("MS Sans Serif");
  cellFont.setPixelSize(CellFontPixels);
  for (int r = 1; r <= rows_; ++r) {
    for (int c = 1; c <= columns_; ++c) {
      if (lowerTriangleOnly_ && c > r) continue;
      auto* cell = new tMatrixCell(c, r, panel);
      cell->setObjectName(QString("mat%1x%2").arg(c).arg(r));
      cell->setGeometry(CellLeft(c), CellTop(r), CellWidth, CellHeight);
      cell->setMaxLength(CellMaxLength);
      cell->setFont(cellFont);
      cell->setTextMargins(0, 0, 0, 0);
      cell->setText(QString::fromStdString(MatrixCellText(matrix_[c][r])));
      cell->installEventFilter(this);
      if (c == r) {
        // The diagonal is shown in blue, cannot be edited and is skipped
        // by the Tab key.
        QPalette palette = cell->palette();
        palette.setColor(QPalette::Text, Qt::blue);
        cell->setPalette(palette);
        cell->setReadOnly(true);
        cell->setFocusPolicy(Qt::ClickFocus);
      }
      cellIndex_[c][r] = cell;
    }
  }
}

void TSqMatFrm::BuildLabels(QWidget* panel, const std::string& columnTitle, const std::string& rowTitle) {
  // Column numbers under the cells, each centred under its column; row
  // numbers at the left edge, level with their row.
  for (int c = 1; c <= columns_; ++c) {
    auto* label = new QLabel(QString::number(c), panel);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(CellLeft(c) + (CellWidth - NumberLabelWidth) / 2,
                       CellHeight * rows_ + ColumnNumberTopOffset, NumberLabelWidth, NumberLabelHeight);
  }
  for (int r = 1; r <= rows_; ++r) {
    auto* label = new QLabel(QString::number(r), panel);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(RowNumberLeft, CellTop(r), NumberLabelWidth, NumberLabelHeight);
  }
  // The matrix and column titles exist but are not shown.
  auto* matrixTitle = new QLabel("Matrix title", panel);
  matrixTitle->adjustSize();
  matrixTitle->move((panel->width() - matrixTitle->width()) / 2, 10);
  matrixTitle->hide();
  auto* columnTitleLabel = new QLabel(QString::fromStdString(columnTitle), panel);
  columnTitleLabel->adjustSize();
  columnTitleLabel->move(CellWidth * columns_ / 2 + 44 - columnTitleLabel->width() / 2,
                         CellHeight * rows_ + 62);
  columnTitleLabel->hide();
  // The row title runs down the left edge, one character per label.
  const QString title = QString::fromStdString(rowTitle);
  for (int i = 1; i <= title.size(); ++i) {
    auto* label = new QLabel(title.mid(i - 1, 1), panel);
    label->setGeometry(10, CellHeight * i + 20, 9, 16);
  }
}

// Tab visits the editable cells in the order they were built, then
// Continue, Clear Data and Return to Worksheet.
void TSqMatFrm::BuildTabOrder() {
  QWidget* previous = nullptr;
  for (int r = 1; r <= rows_; ++r) {
    for (int c = 1; c <= columns_; ++c) {
      tMatrixCell* cell = cellIndex_[c][r];
      if (cell == nullptr || c == r) continue;
      if (previous != nullptr) QWidget::setTabOrder(previous, cell);
      previous = cell;
    }
  }
  for (QWidget* button : {static_cast<QWidget*>(CloseBtn), static_cast<QWidget*>(ClearBtn),
                          static_cast<QWidget*>(ReturnBtn)}) {
    if (previous != nullptr) QWidget::setTabOrder(previous, button);
    previous = button;
  }
}

tMatrixCell* TSqMatFrm::Cell(int column, int row) const {
  if (column < 1 || column > columns_ || row < 1 || row > rows_) return nullptr;
  return cellIndex_[column][row];
}

void TSqMatFrm::FocusCell(tMatrixCell* cell) {
  cellArea->ensureWidgetVisible(cell);
  cell->setFocus(Qt::OtherFocusReason);
  cell->selectAll();
}

// Checks the cells column by column (CheckMatrixCells). The first cell
// that fails takes the focus and the window stays open; the cells that
// passed before it are already stored.
void TSqMatFrm::ContinueClick() {
  std::vector<tMatrixCellState> cells;
  std::vector<tMatrixCell*> widgets;
  for (int c = 1; c <= columns_; ++c) {
    for (int r = 1; r <= rows_; ++r) {
      tMatrixCell* cell = cellIndex_[c][r];
      if (cell == nullptr) continue;
      cells.push_back({c, r, cell->text().toStdString(), cell->zeroMarker});
      widgets.push_back(cell);
    }
  }
  const int failed = CheckMatrixCells(cells, matrix_, lowerTriangleOnly_, services_);
  for (std::size_t i = 0; i < cells.size(); ++i) widgets[i]->zeroMarker = cells[i].zeroMarker;
  if (failed >= 0) {
    FocusCell(widgets[static_cast<std::size_t>(failed)]);
    return;
  }
  outcome_ = tOutcome::Accepted;
  done(QDialog::Accepted);
}

// Zeroes every cell below the diagonal (column i, row j > i) and its
// element; the diagonal, the mirror elements and the zero markers keep
// their values.
void TSqMatFrm::ClearDataClick() {
  if (!services_.ConfirmDiscard(ClearMatrixQuestion)) return;
  for (int i = 1; i <= columns_ - 1; ++i) {
    for (int j = i + 1; j <= rows_; ++j) {
      tMatrixCell* cell = cellIndex_[i][j];
      if (cell == nullptr) continue;
      cell->setText(ZeroCellText);
      matrix_[i][j] = 0;
    }
  }
}

void TSqMatFrm::ReturnClick() {
  outcome_ = tOutcome::ReturnedToWorksheet;
  done(QDialog::Rejected);
}

void TSqMatFrm::reject() { ReturnClick(); }

void TSqMatFrm::PasteIntoCell(tMatrixCell* cell) {
  const std::string text = services_.PastedText(tPasteSource::Clipboard);
  if (!IsPastedBlock(text) || !lowerTriangleOnly_ || rows_ != columns_) {
    if (!cell->isReadOnly()) PasteValueIntoCell(cell, text);
    return;
  }
  const tPastedMatrix pasted = ReadPastedCorrelations(text, rows_);
  if (!pasted.problem.empty()) {
    services_.Warn(pasted.problem);
    return;
  }
  for (int r = 2; r <= rows_; ++r)
    for (int c = 1; c < r; ++c)
      cellIndex_[c][r]->setText(QString::fromStdString(pasted.Below(r, c)));
}

// One value pasted into a cell replaces its selection, or goes in at the
// cursor; a result longer than a cell holds is cut to its first six
// characters with the length rule's beep and warning, so that what the
// cell shows is never a silent cut of what was pasted.
void TSqMatFrm::PasteValueIntoCell(tMatrixCell* cell, const std::string& pastedText) {
  QString pasted = QString::fromStdString(pastedText);
  pasted.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
  pasted = pasted.trimmed();
  if (pasted.isEmpty()) return;
  const QString text = cell->text();
  const int start = cell->hasSelectedText() ? cell->selectionStart() : cell->cursorPosition();
  const int end = cell->hasSelectedText() ? cell->selectionEnd() : start;
  std::string result = (text.left(start) + pasted + text.mid(end)).toStdString();
  const QPointer<tMatrixCell> open(cell);
  const bool cut = ApplyLengthRule(result, services_.NoticeHook(), services_.BeepHook());
  if (!open) return;
  open->setText(QString::fromStdString(result));
  if (cut)
    open->selectAll();
  else
    open->setCursorPosition(start + static_cast<int>(pasted.size()));
}

bool TSqMatFrm::eventFilter(QObject* watched, QEvent* event) {
  auto* cell = dynamic_cast<tMatrixCell*>(watched);
  if (cell != nullptr && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
    PasteIntoCell(cell);
    return true;
  }
  if (cell != nullptr && event->type() == QEvent::ContextMenu) {
    const QPointer<tMatrixCell> open(cell);
    ShowMenuWithOwnPaste(cell, static_cast<QContextMenuEvent*>(event)->globalPos(), [this, open] {
      if (open) PasteIntoCell(open);
    });
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

bool ShowMatrixEntry(EntryMatrix& matrix, int columns, int rows, const std::string& caption,
                     const std::string& columnTitle, const std::string& rowTitle, QWidget* owner,
                     bool lowerTriangleOnly, tPlatformServices& services) {
  auto form = std::make_unique<TSqMatFrm>(matrix, columns, rows, caption, columnTitle, rowTitle, owner,
                                          lowerTriangleOnly, services);
  form->exec();
  return form->Outcome() == TSqMatFrm::tOutcome::Accepted;
}

