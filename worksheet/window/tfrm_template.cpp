#include "worksheet/window/tfrm_template.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPersistentModelIndex>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QScrollArea>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <optional>
#include <string>

#include "platform/fonts.h"
#include "platform/paste_menu.h"
#include "platform/screen_fit.h"
#include "platform/services.h"
#include "results/tfrm_template_results.h"
#include "report/figure_drawing.h"
#include "validation/pasted_block.h"
#include "validation/validation.h"
#include "worksheet/logic/inputs_files.h"
#include "worksheet/logic/raw_data_flow.h"
#include "worksheet/window/matrix_entry_window.h"

namespace {

// The grid: cell sizes, where it stands in the panel, how many rows show
// before it scrolls and the room its scroll bar takes.
constexpr int DefaultColumnWidth = 53;
constexpr int DefaultRowHeight = 20;
// Each cell's pitch includes one grid line; the grid draws its lines inside
// the cells, so a section is a cell plus its line.
constexpr int GridLineWidth = 1;
constexpr int GridTop = 200;
constexpr int GridInitialLeft = 228;
constexpr int VisibleGridRows = 6;
constexpr int ScrollBarRoom = 17;
// The grid headings.
constexpr int HeadingWidth = 53;
constexpr int HeadingHeight = 33;

// Window fonts: the form's font and the notes font, in pixels.
constexpr int FormFontPixels = 13;
constexpr int NotesFontPixels = 12;

// The two visible entry fields: size and their tops in the panel; the
// labels stand 4 pixels lower than their fields.
constexpr int FieldWidth = 56;
constexpr int FieldHeight = 24;
constexpr int FieldTop = 24;
constexpr int FieldSpacing = 40;
constexpr int LabelDrop = 4;

// The notes: height while it has the focus and holds several lines (the
// most characters they hold is NotesMaxLength). Above
// DescriptionScrollLength characters the description gets a vertical
// scroll bar.
constexpr int NotesTallHeight = 70;
constexpr int NotesShortHeight = 25;
constexpr int DescriptionScrollLength = 550;

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

}  // namespace

// ---------------------------------------------------------------------------
// TRadioGroup

TRadioGroup::TRadioGroup(const QString& caption, const std::array<std::string, 3>& items, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 4, 8, 4);
  layout->setSpacing(2);
  int id = 0;
  for (const std::string& text : items) {
    auto* item = new QRadioButton(Q(text), this);
    group_->addButton(item, id++);
    layout->addWidget(item);
    items_.push_back(item);
  }
}

int TRadioGroup::ItemIndex() const { return group_->checkedId(); }

void TRadioGroup::SetItemIndex(int index) {
  if (index >= 0 && index < Count()) items_[static_cast<std::size_t>(index)]->setChecked(true);
}


// ---------------------------------------------------------------------------
// The grid's cell editor. The cell's text follows the editor as the user
// types (as the grid's cells always show what is typed), so the key
// handlers, Compute and the saved inputs see the text being typed even
// while the editor is open. The window watches every editor's keys.

class TfrmTemplate::tGridDelegate : public QStyledItemDelegate {
 public:
  tGridDelegate(TfrmTemplate& form, QTableWidget* grid) : QStyledItemDelegate(grid), form_(form), grid_(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
      line->installEventFilter(&form_);
      // Text dropped into a number would pass neither the key filter nor the length rule.
      line->setAcceptDrops(index.column() < MeanColumn);
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
  TfrmTemplate& form_;
  QTableWidget* grid_;
};

// ---------------------------------------------------------------------------
// Construction

TfrmTemplate::TfrmTemplate(const tProgramProfile& profile, tPlatformServices& services,
                           const tSavedInputsPlace& savedInputs, std::unique_ptr<tMatrixEntry> matrixEntry,
                           QWidget* parent)
    : QMainWindow(parent),
      profile_(profile),
      geometry_(WorksheetGeometry(profile.kind)),
      services_(services),
      savedInputs_(savedInputs),
      matrixEntry_(std::move(matrixEntry)) {
  if (!matrixEntry_ && profile_.usesMatrixEntry) matrixEntry_ = std::make_unique<tMatrixEntryWindow>(*this, services_);
  BuildWidgets();
  setWindowTitle(Q(profile_.programTitle));
  DescripFld->setPlainText(Q(profile_.Description()));
  for (int n = 1; n <= WorksheetFieldCount; ++n)
    FieldLabel(n)->setText(Q(profile_.labelCaptions[static_cast<std::size_t>(n - 1)]));
  grdData->setVisible(profile_.usesDataGrid);
  LoadPreviousData();
}

// The application's focus signal reaches OnFocusChanged through a pointer
// to this class; the base destructor hides the window and so changes the
// focus after this part of the object is gone, so the link is cut first.
TfrmTemplate::~TfrmTemplate() {
  if (qApp) disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

std::string TfrmTemplate::SavedInputsPath() const { return SavedInputsPathIn(savedInputs_.folder, profile_); }

const tWorksheetInputs& TfrmTemplate::CurrentInputs() {
  GatherInputs();
  return inputs_;
}

// Builds every component of the window, in tab order.
void TfrmTemplate::BuildWidgets() {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  QFont formFont = SubstitutedFont("System");
  formFont.setPixelSize(FormFontPixels);
  setFont(formFont);
  QFont boldFont = formFont;
  boldFont.setBold(true);

  // The summary-data program's File menu takes its height from the margin
  // under the buttons: the window keeps its size and every part its place.
  int menuHeight = 0;
  if (profile_.kind == tProgramKind::SummaryData) {
    mnuFile = menuBar()->addMenu("&File");
    mnuFile->setObjectName("mnuFile");
    mnuOpenInputs = mnuFile->addAction("&Open Inputs...");
    mnuOpenInputs->setObjectName("mnuOpenInputs");
    mnuSaveInputsAs = mnuFile->addAction("Save Inputs &As...");
    mnuSaveInputsAs->setObjectName("mnuSaveInputsAs");
    connect(mnuOpenInputs, &QAction::triggered, this, &TfrmTemplate::mnuOpenInputsClick);
    connect(mnuSaveInputsAs, &QAction::triggered, this, &TfrmTemplate::mnuSaveInputsAsClick);
    menuHeight = menuBar()->sizeHint().height();
  }

  // The client area keeps its fixed size; on a screen too small for it the
  // window is shrunk and the client scrolls.
  auto* client = new QWidget;
  client->setObjectName("clientArea");
  client->setFixedSize(geometry_.clientWidth, geometry_.clientHeight - menuHeight);
  setCentralWidget(NewContentScroller(client, this));

  DescripFld = new QPlainTextEdit(client);
  DescripFld->setObjectName("DescripFld");
  DescripFld->setGeometry(12, 7, 768, 94);
  DescripFld->setReadOnly(true);
  DescripFld->setFocusPolicy(Qt::ClickFocus);
  DescripFld->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  DescripFld->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  {
    QPalette palette = DescripFld->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    DescripFld->setPalette(palette);
  }
  connect(DescripFld, &QPlainTextEdit::textChanged, this, &TfrmTemplate::DescripFldChange);

  Panel3 = new QFrame(client);
  Panel3->setObjectName("Panel3");
  Panel3->setGeometry(12, 106, 768, 33);
  Panel3->setFrameStyle(QFrame::Panel | QFrame::Raised);
  lblComments = new QLabel("User's Notes:", Panel3);
  lblComments->setObjectName("lblComments");
  lblComments->setFont(boldFont);
  lblComments->move(6, 8);
  lblComments->adjustSize();

  memoComments = new QPlainTextEdit(client);
  memoComments->setObjectName("memoComments");
  memoComments->setGeometry(112, 110, 666, NotesShortHeight);
  QFont notesFont = SubstitutedFont("Courier New");
  notesFont.setPixelSize(NotesFontPixels);
  memoComments->setFont(notesFont);
  memoComments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memoComments->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memoComments->setTabChangesFocus(true);
  memoComments->installEventFilter(this);
  connect(memoComments, &QPlainTextEdit::textChanged, this, [this] {
    // The notes hold at most NotesMaxLength characters.
    if (memoComments->document()->characterCount() - 1 <= NotesMaxLength) return;
    QTextCursor cursor(memoComments->document());
    cursor.setPosition(NotesMaxLength);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
  });

  Panel1 = new QFrame(client);
  Panel1->setObjectName("Panel1");
  Panel1->setGeometry(12, 143, 768, 346);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

  for (int n = 1; n <= WorksheetFieldCount; ++n) {
    const int top = FieldTop + FieldSpacing * (n - 1);
    QLineEdit* field = new QLineEdit(Panel1);
    field->setObjectName(n == 8 ? "txtinput8" : QString("txtInput%1").arg(n));
    field->setFont(boldFont);
    field->setGeometry(geometry_.fieldLeft, top, FieldWidth, FieldHeight);
    fields_[static_cast<std::size_t>(n - 1)] = field;
    QLabel* label = new QLabel(Panel1);
    label->setObjectName(QString("Label%1").arg(n));
    label->setTextFormat(Qt::PlainText);
    label->move(geometry_.labelLeft, top + LabelDrop);
    labels_[static_cast<std::size_t>(n - 1)] = label;
  }
  for (int n = std::max(profile_.firstFilteredField, 1); n <= WorksheetFieldCount; ++n) {
    Field(n)->installEventFilter(this);
    Field(n)->setAcceptDrops(false);
  }

  grdData = new QTableWidget(Panel1);
  grdData->setObjectName("grdData");
  grdData->setColumnCount(std::max(profile_.gridColumns, 1));
  grdData->setRowCount(std::max(profile_.gridRows, 1));
  grdData->horizontalHeader()->hide();
  grdData->verticalHeader()->hide();
  grdData->horizontalHeader()->setMinimumSectionSize(1);
  grdData->verticalHeader()->setMinimumSectionSize(1);
  grdData->horizontalHeader()->setDefaultSectionSize(DefaultColumnWidth + GridLineWidth);
  grdData->verticalHeader()->setDefaultSectionSize(DefaultRowHeight + GridLineWidth);
  grdData->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grdData->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  grdData->setTabKeyNavigation(true);
  grdData->setSelectionMode(QAbstractItemView::SingleSelection);
  grdData->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                           QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  grdData->move(GridInitialLeft, GridTop);

  RadioGroup1 = new TRadioGroup(Q(profile_.IntervalCaption()), profile_.radioItems, Panel1);
  RadioGroup1->setObjectName("RadioGroup1");
  RadioGroup1->setGeometry(8, 16, geometry_.radioGroupWidth, 105);
  RadioGroup1->SetItemIndex(0);

  // The grid headings stay hidden until SizeGrid places them.
  const char* headingNames[] = {"lblGridColumnsTitle", "lblItems", "lblCol1", "lblCol2",
                                "lblCol3", "lblCol4", "lblCol5", "lblCol6"};
  const char* headingTexts[] = {"",
                                GridColumnHeadings[0],
                                GridColumnHeadings[NameColumn],
                                GridColumnHeadings[MeanColumn],
                                GridColumnHeadings[SdColumn],
                                GridColumnHeadings[CaseAColumn],
                                GridColumnHeadings[CaseBColumn],
                                ""};
  for (int i = 0; i < 8; ++i) {
    QLabel* heading = new QLabel(headingTexts[i], Panel1);
    heading->setObjectName(headingNames[i]);
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    heading->setWordWrap(true);
    heading->resize(HeadingWidth, HeadingHeight);
    heading->hide();
    if (i == 0) lblGridColumnsTitle = heading;
    else if (i == 1) lblItems = heading;
    else columnHeadings_[static_cast<std::size_t>(i - 2)] = heading;
  }

  cmdCompute = new QPushButton("Compute", client);
  cmdCompute->setObjectName("cmdCompute");
  cmdCompute->setGeometry(28, 506, 165, 37);
  btnclearData = new QPushButton("Clear Data ", client);
  btnclearData->setObjectName("btnclearData");
  btnclearData->setGeometry(220, 506, 161, 37);
  ExitBtn = new QPushButton("Exit", client);
  ExitBtn->setObjectName("ExitBtn");
  ExitBtn->setGeometry(603, 506, 161, 37);
  for (QPushButton* button : {cmdCompute, btnclearData, ExitBtn}) {
    button->setFont(boldFont);
    button->setAutoDefault(true);  // Enter presses the button that has the focus
  }
  connect(cmdCompute, &QPushButton::clicked, this, &TfrmTemplate::cmdComputeClick);
  connect(btnclearData, &QPushButton::clicked, this, &TfrmTemplate::btnclearDataClick);
  connect(ExitBtn, &QPushButton::clicked, this, &TfrmTemplate::ExitBtnClick);

  // The summary-data program's covariates field sizes the grid as it
  // changes; the grid's cells follow their editors.
  if (profile_.usesDataGrid) {
    connect(Field(1), &QLineEdit::textChanged, this, [this] { txtInput1Change(); });
    Field(1)->installEventFilter(this);
    grdData->installEventFilter(this);
    grdData->setItemDelegate(new tGridDelegate(*this, grdData));
  }

  memoComments->raise();
  connect(qApp, &QApplication::focusChanged, this, &TfrmTemplate::OnFocusChanged);

  PlaceOnScreen(*this, QSize(client->width(), client->height() + menuHeight));
}

// ---------------------------------------------------------------------------
// Copying between the widgets and the inputs

QLineEdit* TfrmTemplate::Field(int n) const {
  return n >= 1 && n <= WorksheetFieldCount ? fields_[static_cast<std::size_t>(n - 1)] : nullptr;
}

QLabel* TfrmTemplate::FieldLabel(int n) const {
  return n >= 1 && n <= WorksheetFieldCount ? labels_[static_cast<std::size_t>(n - 1)] : nullptr;
}

void TfrmTemplate::GatherInputs() {
  for (int n = 1; n <= WorksheetFieldCount; ++n) inputs_.Field(n) = S(Field(n)->text());
  inputs_.notes = S(memoComments->toPlainText());
  // The items stand in the order Two-sided, One-sided lower, One-sided upper.
  switch (RadioGroup1->ItemIndex()) {
    case 1: inputs_.interval = tIntervalChoice::OneSidedLower; break;
    case 2: inputs_.interval = tIntervalChoice::OneSidedUpper; break;
    default: inputs_.interval = tIntervalChoice::TwoSided; break;
  }
  GatherGrid();
}

void TfrmTemplate::GatherGrid() {
  if (!profile_.usesDataGrid) return;
  for (int row = 0; row < std::min(grdData->rowCount(), inputs_.grid.RowCount()); ++row)
    for (int col = 0; col < std::min(grdData->columnCount(), inputs_.grid.ColumnCount()); ++col)
      inputs_.grid.SetCell(col, row, S(WidgetCell(col, row)));
}

void TfrmTemplate::ShowInputs() {
  showingInputs_ = true;
  for (int n = 1; n <= WorksheetFieldCount; ++n)
    if (Field(n)->text() != Q(inputs_.Field(n))) Field(n)->setText(Q(inputs_.Field(n)));
  if (memoComments->toPlainText() != Q(inputs_.notes)) memoComments->setPlainText(Q(inputs_.notes));
  showingInputs_ = false;
  ShowGrid();
}

void TfrmTemplate::ShowGrid() {
  if (!profile_.usesDataGrid) return;
  const tGridCells& grid = inputs_.grid;
  if (grdData->columnCount() != grid.ColumnCount()) grdData->setColumnCount(grid.ColumnCount());
  if (grdData->rowCount() != grid.RowCount()) grdData->setRowCount(grid.RowCount());
  for (int row = 0; row < grid.RowCount(); ++row)
    for (int col = 0; col < grid.ColumnCount(); ++col) SetWidgetCell(col, row, Q(grid.Cell(col, row)));
  SizeGrid();
}

QString TfrmTemplate::WidgetCell(int col, int row) const {
  const QTableWidgetItem* item = grdData->item(row, col);
  return item ? item->text() : QString();
}

void TfrmTemplate::SetWidgetCell(int col, int row, const QString& text) {
  QTableWidgetItem* item = grdData->item(row, col);
  if (item == nullptr) {
    item = new QTableWidgetItem;
    if (col == 0) {
      // The fixed column: row numbers, not editable, and passed over by
      // Tab (a cell that is not enabled), yet drawn in the normal colours.
      item->setFlags(Qt::NoItemFlags);
      item->setBackground(grdData->palette().button());
      item->setForeground(grdData->palette().buttonText());
      item->setTextAlignment(Qt::AlignCenter);
    }
    grdData->setItem(row, col, item);
  }
  if (item->text() != text) item->setText(text);
}

// ---------------------------------------------------------------------------
// Fields

void TfrmTemplate::FocusField(int n) {
  if (QLineEdit* field = Field(n)) {
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
  }
}

bool TfrmTemplate::IsFilteredField(const QObject* object) const {
  for (int n = std::max(profile_.firstFilteredField, 1); n <= WorksheetFieldCount; ++n)
    if (object == Field(n)) return true;
  return false;
}

// The character filter on key press. A key that types no character
// (arrows, Delete, Shift ...) is not filtered, nor are the editing
// shortcuts (select all, copy, cut, undo, redo; paste is checked as
// typing); any other Ctrl with a letter types its control character,
// which the filter refuses. The filter's box may close a grid cell's
// editor, which is then left alone.
bool TfrmTemplate::FieldKeyPress(QLineEdit* field, QKeyEvent* event) {
  for (QKeySequence::StandardKey shortcut : {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut,
                                             QKeySequence::Undo, QKeySequence::Redo})
    if (event->matches(shortcut)) return false;
  if (event->matches(QKeySequence::Paste)) {
    PasteInto(field, false);
    return true;
  }
  std::u32string typed;
  const int key = event->key();
  if ((event->modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z) {
    typed.push_back(static_cast<char32_t>(key - Qt::Key_A + 1));
  } else if (key == Qt::Key_Delete) {
    return false;
  } else {
    for (char32_t c : event->text().toUcs4()) typed.push_back(c);
  }
  if (typed.empty()) return false;

  const tNoticeHook notice = services_.NoticeHook();
  const tBeepHook beep = services_.BeepHook();
  const QPointer<QLineEdit> open(field);
  std::u32string accepted;
  for (char32_t c : typed) {
    const char32_t result = FilterNumericKey(c, notice, beep);
    if (result != 0) accepted.push_back(result);
  }
  if (accepted == typed) return false;
  if (!accepted.empty() && open)
    open->insert(QString::fromUcs4(accepted.data(), static_cast<qsizetype>(accepted.size())));
  return true;
}

// The length rule on key release.
void TfrmTemplate::FieldKeyUp(QLineEdit* field) {
  std::string text = S(field->text());
  if (ApplyLengthRule(text, services_.NoticeHook(), services_.BeepHook())) {
    field->setText(Q(text));
    field->selectAll();
  }
}

// Every change of the covariates field's text: the grid follows.
void TfrmTemplate::txtInput1Change() {
  if (showingInputs_) return;
  GatherGrid();
  inputs_.Field(1) = S(Field(1)->text());
  if (FollowCovariateField(inputs_, services_)) ShowGrid();
}

// Key release in the covariates field: the cap at 12 covariates.
void TfrmTemplate::txtInput1KeyUp() {
  inputs_.Field(1) = S(Field(1)->text());
  if (!CapCovariateField(inputs_, services_)) return;
  Field(1)->setText(Q(inputs_.Field(1)));
  Field(1)->selectAll();
}

// ---------------------------------------------------------------------------
// Grid

bool TfrmTemplate::InGrid(const QObject* object) const {
  const auto* widget = qobject_cast<const QWidget*>(object);
  return widget != nullptr && (widget == grdData || grdData->isAncestorOf(widget));
}

void TfrmTemplate::SetGridCurrentCell(int col, int row) {
  if (row < grdData->rowCount() && col < grdData->columnCount()) grdData->setCurrentCell(row, col);
}

// Key press on the grid while no cell is being edited (a key that types
// opens the editor, which then gets the key): Delete and Backspace clear
// the selected cell; a paste fills the cells from it on.
bool TfrmTemplate::grdDataKeyPress(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    PasteOnGrid(services_.PastedText(tPasteSource::Clipboard));
    return true;
  }
  const bool clears = event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace;
  if (!clears || event->modifiers() != Qt::NoModifier) return false;
  const QTableWidgetItem* item = grdData->currentItem();
  if (item != nullptr && (item->flags() & Qt::ItemIsEditable)) SetWidgetCell(item->column(), item->row(), QString());
  return true;
}

// Key release in the grid: the length rules of the current cell. The box a
// rule shows takes the focus, and the grid then closes and frees the
// cell's editor; so the result goes to the cell, and to the editor only
// while it is still there.
void TfrmTemplate::grdDataKeyUp(QLineEdit* editor) {
  const int col = grdData->currentColumn();
  const int row = grdData->currentRow();
  if (row < 0 || col < 0) return;
  const QPointer<QLineEdit> open(editor);
  std::string text = editor != nullptr ? S(editor->text()) : S(WidgetCell(col, row));
  if (!ApplyGridCellLength(col, text, services_)) return;
  SetWidgetCell(col, row, Q(text));
  if (open) {
    open->setText(Q(text));
    open->setFocus(Qt::OtherFocusReason);
  } else {
    grdData->setFocus(Qt::OtherFocusReason);
  }
}

void TfrmTemplate::SizeGrid() {
  const int columns = profile_.gridColumns;
  const int rows = inputs_.grid.RowCount();
  int width = (DefaultColumnWidth + GridLineWidth) * columns + 3;
  int height = (DefaultRowHeight + GridLineWidth) * rows + 4;
  if (rows > VisibleGridRows - 1) height = (DefaultRowHeight + GridLineWidth) * VisibleGridRows + 4;
  if (rows > VisibleGridRows) width += ScrollBarRoom;
  const int left = (geometry_.clientWidth - width) / 2;
  grdData->setGeometry(left, grdData->y(), width, height);
  grdData->update();

  QLabel* lblCol1 = columnHeadings_[0];
  const int headingTop = grdData->y() - lblCol1->height();
  lblGridColumnsTitle->show();
  lblGridColumnsTitle->setGeometry(left, headingTop - lblGridColumnsTitle->height(), width,
                                   lblGridColumnsTitle->height());
  lblItems->move(left, headingTop);
  lblCol1->move(left + DefaultColumnWidth + 3, headingTop);
  for (int n = 2; n <= 6; ++n)
    columnHeadings_[static_cast<std::size_t>(n - 1)]->move(left + DefaultColumnWidth * n + n + 2, headingTop);

  lblItems->show();
  for (int n = 1; n <= 6; ++n) columnHeadings_[static_cast<std::size_t>(n - 1)]->setVisible(columns >= n + 1);
}

// ---------------------------------------------------------------------------
// Saved inputs

void TfrmTemplate::LoadPreviousData() {
  inputs_ = FirstRunInputs(profile_);
  const std::string restorePath = RestorePath(savedInputs_, profile_);
  if (restorePath != SavedInputsPath()) restoredFromBesideProgram_ = restorePath;
  const bool wholeMatrix = RestoreWorksheetInputs(inputs_, profile_, restorePath, services_);
  ShowInputs();
  if (wholeMatrix) cmdCompute->setText("Continue");
  for (int n = 1; n <= WorksheetFieldCount; ++n) {
    const bool visible = n <= profile_.visibleFieldCount;
    Field(n)->setVisible(visible);
    FieldLabel(n)->setVisible(visible);
  }
}

// ---------------------------------------------------------------------------
// Buttons

void TfrmTemplate::cmdComputeClick() {
  GatherInputs();
  tComputeContext context;
  context.savedInputsPath = SavedInputsPath();
  context.restoredFromPath = restoredFromBesideProgram_;
  context.reportLineCount = results_ != nullptr ? results_->ReportSink().Count() : 0;
  tComputeOutcome outcome;
  try {
    outcome = profile_.usesMatrixEntry ? ComputeSummaryData(inputs_, profile_, context, services_, *matrixEntry_)
                                       : ComputeRawData(inputs_, profile_, context, services_);
  } catch (const std::exception& error) {
    services_.SetBusyCursor(false);
    services_.Error(error.what());
  }
  // Once saved in their own folder, where the inputs live has been said.
  if (outcome.inputsSaved) restoredFromBesideProgram_.clear();
  ShowGrid();
  ApplyOutcome(std::move(outcome));
}

void TfrmTemplate::ApplyOutcome(tComputeOutcome outcome) {
  if (outcome.focusField) FocusField(*outcome.focusField);
  if (outcome.focusCell) {
    SetGridCurrentCell(outcome.focusCell->column, outcome.focusCell->row);
    grdData->setFocus(Qt::OtherFocusReason);
  }
  if (!outcome.showResults || results_ == nullptr) return;
  ShowResultsWindow();
  // A report of a million raw-data lines takes seconds to show; Cancel
  // takes it back whole and returns to the worksheet.
  tProgressScope progress(services_);
  if (!results_->AppendReport(outcome.report, services_.ProgressCheck(ShowingReportStep))) {
    results_->hide();
    show();
  } else {
    if (outcome.figure) results_->AddFigure(FigureDrawing(*outcome.figure));
    results_->AddSummary(outcome.summary);
  }
}

void TfrmTemplate::ShowResultsWindow() {
  results_->setWindowTitle(Q(profile_.ResultsCaption()));
  results_->show();
  hide();
}

void TfrmTemplate::btnclearDataClick() {
  GatherInputs();
  if (!ConfirmClearData(SavedInputsPath(), BesideProgramPath(savedInputs_, profile_), services_)) return;
  ClearWorksheetInputs(inputs_, profile_);
  ShowInputs();
  DeleteSavedInputs(SavedInputsPath(), services_);
  FocusField(1);
}

void TfrmTemplate::mnuOpenInputsClick() {
  GatherInputs();
  if (!OpenInputsFile(inputs_, profile_, services_, lastInputsFile_)) return;
  ShowInputs();
  cmdCompute->setText("Continue");
  FocusField(2);
}

void TfrmTemplate::mnuSaveInputsAsClick() {
  GatherInputs();
  tComputeOutcome outcome = SaveInputsAs(inputs_, profile_, services_, lastInputsFile_);
  ShowGrid();
  ApplyOutcome(std::move(outcome));
}

void TfrmTemplate::ExitBtnClick() {
  if (services_.Confirm(ExitQuestion)) services_.QuitApplication();
}

// ---------------------------------------------------------------------------
// Entries: the fields and the grid's cell editors

QLineEdit* TfrmTemplate::Entry(QObject* object) const {
  auto* entry = qobject_cast<QLineEdit*>(object);
  if (entry == nullptr) return nullptr;
  const bool field = std::find(fields_.begin(), fields_.end(), entry) != fields_.end();
  return field || InGrid(entry) ? entry : nullptr;
}

// The fields the key filter covers and the cells of the numeric columns.
bool TfrmTemplate::IsNumericEntry(const QLineEdit* entry) const {
  return IsFilteredField(entry) || (InGrid(entry) && grdData->currentColumn() >= MeanColumn);
}

bool TfrmTemplate::EntryKeyPress(QObject* watched, QKeyEvent* event) {
  if (watched == grdData) return grdDataKeyPress(event);
  QLineEdit* entry = Entry(watched);
  if (entry == nullptr) return false;
  if (InGrid(entry) && event->matches(QKeySequence::Paste)) {  // a name cell too may take a block
    PasteInto(entry, false);
    return true;
  }
  if (!IsNumericEntry(entry)) return false;
  return FieldKeyPress(entry, event);
}

// The rules that run when a key pressed in watched is released there.
void TfrmTemplate::KeyUpRules(QObject* watched, int key) {
  if (profile_.usesDataGrid && watched == Field(1))
    txtInput1KeyUp();
  else if (InGrid(watched))
    grdDataKeyUp(qobject_cast<QLineEdit*>(watched));
  else if (IsFilteredField(watched))
    FieldKeyUp(static_cast<QLineEdit*>(watched));
  else if (watched == memoComments)
    memoCommentsKeyUp(key);
}

// A paste by Ctrl+V, the context menu or the middle button. A block of
// cells pasted into the grid fills the cells from the current one on. A
// number takes the pasted text through the key filter and the length rule,
// as if typed; a name or the covariates field takes it as it comes and
// then its key-up rule runs, as after typing.
void TfrmTemplate::PasteInto(QLineEdit* entry, bool fromSelection) {
  const std::string pastedText =
      services_.PastedText(fromSelection ? tPasteSource::Selection : tPasteSource::Clipboard);
  if (InGrid(entry) && IsGridBlock(pastedText, grdData->currentColumn())) {
    PasteGridBlock(pastedText);
    return;
  }
  const QString pasted = Q(pastedText);
  const QPointer<QLineEdit> open(entry);
  if (fromSelection) entry->deselect();
  if (!IsNumericEntry(entry)) {
    entry->insert(pasted);
    KeyUpRules(entry, 0);
    return;
  }
  const QString text = entry->text();
  const int start = entry->hasSelectedText() ? entry->selectionStart() : entry->cursorPosition();
  const int end = entry->hasSelectedText() ? entry->selectionEnd() : start;
  const int col = grdData->currentColumn();
  const int row = grdData->currentRow();
  const bool inGrid = InGrid(entry);
  const std::optional<std::string> result = PasteIntoNumericEntry(
      S(text.left(start)), S(pasted), S(text.mid(end)), services_.NoticeHook(), services_.BeepHook());
  if (!result) return;
  const QString newText = Q(*result);
  if (open) {
    open->setText(newText);
    open->setCursorPosition(std::max<int>(0, static_cast<int>(newText.size() - (text.size() - end))));
  }
  if (inGrid) SetWidgetCell(col, row, newText);
}

// A paste on the grid while no cell is being edited: a block fills the
// cells from the current one on; a single value replaces the current
// cell's text, by the rules of typing.
void TfrmTemplate::PasteOnGrid(const std::string& text) {
  const int col = grdData->currentColumn();
  const int row = grdData->currentRow();
  const QTableWidgetItem* item = grdData->currentItem();
  if (item == nullptr || !(item->flags() & Qt::ItemIsEditable)) return;
  if (IsGridBlock(text, col)) {
    PasteGridBlock(text);
    return;
  }
  if (col < MeanColumn) {
    std::string name = S(Q(text).remove(QLatin1Char('\r')).remove(QLatin1Char('\n')));
    SetWidgetCell(col, row, Q(name));
    ApplyGridCellLength(col, name, services_);
    return;
  }
  if (const std::optional<std::string> number =
          PasteIntoNumericEntry("", text, "", services_.NoticeHook(), services_.BeepHook()))
    SetWidgetCell(col, row, Q(*number));
}

// A block pasted into the grid from the current cell on, each cell by the
// rules of typing; nothing changes when a cell does not fit, and a box
// says which and why. An open cell editor follows its cell.
void TfrmTemplate::PasteGridBlock(const std::string& text) {
  const int col = grdData->currentColumn();
  const int row = grdData->currentRow();
  if (row < 0 || col < 0) return;
  GatherGrid();
  bool longName = false;
  const std::string problem = PasteBlockIntoGrid(inputs_.grid, col, row, text, longName);
  if (!problem.empty()) {
    services_.Warn(problem);
    return;
  }
  ShowGrid();
  if (longName) services_.Warn(MaximumLengthMessage);
}

// The entry's own context menu, whose Paste pastes as Ctrl+V does.
void TfrmTemplate::ShowEntryMenu(QLineEdit* entry, const QPoint& globalPos) {
  const QPointer<QLineEdit> open(entry);
  ShowMenuWithOwnPaste(entry, globalPos, [this, open] { PasteInto(open, false); });
}

// ---------------------------------------------------------------------------
// Window events

void TfrmTemplate::FormShow() {
  if (Field(1)->text().isEmpty()) {
    FocusField(1);
    return;
  }
  raise();
  activateWindow();
  const int restored = profile_.restoredFieldCount;
  if (restored >= 1 && restored <= 7)
    FocusField(restored + 1 <= profile_.visibleFieldCount ? restored + 1 : restored);
}

void TfrmTemplate::FormActivate() {
  if (!profile_.usesDataGrid || grdData->isHidden()) return;
  if (profile_.gridColumns > 0)
    SetGridCurrentCell(2, 0);
  else if (inputs_.grid.RowCount() > 0)
    SetGridCurrentCell(1, 1);
}

void TfrmTemplate::DescripFldChange() {
  const bool longText = DescripFld->toPlainText().size() > DescriptionScrollLength;
  DescripFld->setVerticalScrollBarPolicy(longText ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

int TfrmTemplate::NotesLineCount() const {
  const QTextDocument* document = memoComments->document();
  int lines = 0;
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    const QTextLayout* layout = block.layout();
    lines += (layout != nullptr && layout->lineCount() > 0) ? layout->lineCount() : 1;
  }
  return std::max(lines, document->blockCount());
}

void TfrmTemplate::memoCommentsEnter() {
  if (NotesLineCount() > 1) memoComments->resize(memoComments->width(), NotesTallHeight);
}

void TfrmTemplate::memoCommentsKeyUp(int key) {
  if (NotesLineCount() > 1 || key == Qt::Key_Return || key == Qt::Key_Enter)
    memoComments->resize(memoComments->width(), NotesTallHeight);
}

void TfrmTemplate::memoCommentsExit() { memoComments->resize(memoComments->width(), NotesShortHeight); }

void TfrmTemplate::txtInput1Exit() {
  if (!grdData->isHidden()) SetGridCurrentCell(1, 0);
}

void TfrmTemplate::grdDataExit() { SetGridCurrentCell(1, 0); }

// Leaving and entering a control counts only when the focus moves within
// this window (a message box taking the focus is not leaving the field).
void TfrmTemplate::OnFocusChanged(QWidget* old, QWidget* now) {
  if (now == nullptr || now->window() != this || old == now) return;
  if (old != nullptr && old->window() == this) {
    if (old == memoComments) memoCommentsExit();
    if (old == Field(1)) txtInput1Exit();
    if (InGrid(old) && !InGrid(now)) grdDataExit();
  }
  if (now == memoComments) memoCommentsEnter();
  // On a screen too small for the window, the field with the focus is
  // scrolled into view.
  if (auto* scroller = qobject_cast<QScrollArea*>(centralWidget()))
    if (scroller->widget()->isAncestorOf(now)) scroller->ensureWidgetVisible(now);
}

// The watched widgets: the filtered fields, the covariates field and the
// grid with its cell editors (summary data), the notes. A handler here may
// show a box, during which the grid frees an open cell editor; what follows
// the box never touches the editor unguarded, and the filter then reports
// the event handled, so that Qt does not pass it on to a freed editor.
bool TfrmTemplate::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      keyDownIn_ = InGrid(watched) ? grdData : watched;
      keyDown_ = key->key();
      return EntryKeyPress(watched, key);
    }
    case QEvent::KeyRelease: {
      const int key = static_cast<QKeyEvent*>(event)->key();
      const bool inGrid = InGrid(watched);
      if (keyDownIn_ == (inGrid ? grdData : watched) && keyDown_ == key) {
        keyDownIn_ = nullptr;
        KeyUpRules(watched, key);  // watched may be gone from here on
      }
      // A cell editor's release is handled here; the grid must not see it again.
      return inGrid && watched != grdData;
    }
    case QEvent::ContextMenu:
      if (QLineEdit* entry = Entry(watched)) {
        ShowEntryMenu(entry, static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
      }
      break;
    case QEvent::MouseButtonRelease:
      // The middle button pastes the selection (X11).
      if (QLineEdit* entry = Entry(watched); entry != nullptr && IsNumericEntry(entry) &&
                                             static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton) {
        PasteInto(entry, true);
        return true;
      }
      break;
    default: break;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TfrmTemplate::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

// The worksheet activates again when the user comes back from another
// window of the program (results, matrix entry) or another application;
// the end of a message box or file dialog is no activation, so that a
// grid cell chosen after a message keeps its place.
void TfrmTemplate::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::ActivationChange) return;
  if (!isActiveWindow()) {
    QWidget* next = QApplication::activeWindow();
    returningFromBox_ = qobject_cast<QMessageBox*>(next) != nullptr || qobject_cast<QFileDialog*>(next) != nullptr;
    return;
  }
  const bool fromBox = returningFromBox_;
  returningFromBox_ = false;
  if (!fromBox) FormActivate();
}

// Closing the worksheet (the window manager's close button) is Exit: it
// asks first. The program ends its message loop without closing its
// windows, so every close that reaches here is the user's.
void TfrmTemplate::closeEvent(QCloseEvent* event) {
  event->ignore();
  ExitBtnClick();
}
