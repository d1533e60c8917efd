#include "worksheet/tfrm_template.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <string>

#include "platform/fonts.h"
#include "platform/services.h"
#include "results/tfrm_template_results.h"
#include "validation/validation.h"
#include "worksheet/program_strings.h"

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
// Names written into a grid that starts without saved inputs (rows beyond
// the current row count keep theirs until the grid grows).
constexpr const char* DefaultGridNames[] = {"Task", "Cov 1", "Cov 2", "Cov 3", "Cov 4", "Cov 5", "Cov 6"};

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

constexpr const char* ExitQuestion = "Exit from program?";
constexpr const char* IntervalCaption = "95% credible limit required...";

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
// TfrmTemplate: construction

TfrmTemplate::TfrmTemplate(const tWorksheetSettings& worksheetSettings, tPlatformServices& services,
                           const std::string& folder, QWidget* parent)
    : QMainWindow(parent),
      settings(worksheetSettings),
      savedInputsFolder(folder),
      services_(services),
      notice_(services.NoticeHook()),
      beep_(services.BeepHook()) {
  FormCreate();
}

// The application's focus signal reaches OnFocusChanged through a pointer
// to this class; the base destructor hides the window and so changes the
// focus after this part of the object is gone, so the link is cut first.
TfrmTemplate::~TfrmTemplate() {
  if (qApp) disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void TfrmTemplate::SetComputeFlow(std::unique_ptr<tComputeFlow> flow) {
  computeFlow_ = std::move(flow);
  if (computeFlow_) computeFlow_->Attach(*this);
}

void TfrmTemplate::ShowResultsWindow() {
  if (frmTemplateResults == nullptr) return;
  frmTemplateResults->setWindowTitle(Q("Results viewer: " + programTitle));
  frmTemplateResults->show();
  hide();
}

tReportLines* TfrmTemplate::ReportSink() const {
  return frmTemplateResults ? &frmTemplateResults->ReportSink() : nullptr;
}

std::string TfrmTemplate::SavedInputsPath() const {
  return ::SavedInputsPath(savedInputsFolder, savedInputsFileName);
}

void TfrmTemplate::FormCreate() {
  BuildWidgets();
  ResetStoredCorrelations();
  setWindowTitle(Q(programTitle));
  DescripFld->setPlainText(Q(settings.description));
  for (int n = 1; n <= WorksheetFieldCount; ++n)
    FieldLabel(n)->setText(Q(settings.labelCaptions[static_cast<std::size_t>(n - 1)]));
  grdData->setVisible(settings.usesDataGrid);
  LoadPreviousData();
}

// Builds every component of the window, in tab order.
void TfrmTemplate::BuildWidgets() {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  auto* client = new QWidget(this);
  setCentralWidget(client);
  setFixedSize(settings.clientWidth, settings.clientHeight);

  QFont formFont = SubstitutedFont("System");
  formFont.setPixelSize(FormFontPixels);
  setFont(formFont);
  QFont boldFont = formFont;
  boldFont.setBold(true);

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

  QLineEdit** fields[] = {&txtInput1, &txtInput2, &txtInput3, &txtInput4,
                          &txtInput5, &txtInput6, &txtInput7, &txtinput8};
  QLabel** labels[] = {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6, &Label7, &Label8};
  for (int n = 1; n <= WorksheetFieldCount; ++n) {
    const int top = FieldTop + FieldSpacing * (n - 1);
    QLineEdit* field = new QLineEdit(Panel1);
    field->setObjectName(n == 8 ? "txtinput8" : QString("txtInput%1").arg(n));
    field->setFont(boldFont);
    field->setGeometry(settings.fieldLeft, top, FieldWidth, FieldHeight);
    *fields[n - 1] = field;
    QLabel* label = new QLabel(Panel1);
    label->setObjectName(QString("Label%1").arg(n));
    label->setTextFormat(Qt::PlainText);
    label->move(settings.labelLeft, top + LabelDrop);
    *labels[n - 1] = label;
  }
  for (int n = std::max(settings.firstFilteredField, 1); n <= WorksheetFieldCount; ++n)
    Field(n)->installEventFilter(this);

  grdData = new QTableWidget(Panel1);
  grdData->setObjectName("grdData");
  grdData->setColumnCount(std::max(settings.gridColumns, 1));
  grdData->setRowCount(std::max(settings.gridRows, 1));
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

  RadioGroup1 = new TRadioGroup(IntervalCaption, settings.radioItems, Panel1);
  RadioGroup1->setObjectName("RadioGroup1");
  RadioGroup1->setGeometry(8, 16, settings.radioGroupWidth, 105);
  RadioGroup1->SetItemIndex(0);

  // The grid headings stay hidden until SizeGrid places them.
  QLabel** headings[] = {&lblGridColumnsTitle, &lblItems, &lblCol1, &lblCol2,
                         &lblCol3, &lblCol4, &lblCol5, &lblCol6};
  const char* headingNames[] = {"lblGridColumnsTitle", "lblItems", "lblCol1", "lblCol2",
                                "lblCol3", "lblCol4", "lblCol5", "lblCol6"};
  const char* headingTexts[] = {"", "Test No.", "Name", "Mean", "SD", "Case A", "Case B", ""};
  for (int i = 0; i < 8; ++i) {
    QLabel* heading = new QLabel(headingTexts[i], Panel1);
    heading->setObjectName(headingNames[i]);
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    heading->setWordWrap(true);
    heading->resize(HeadingWidth, HeadingHeight);
    heading->hide();
    *headings[i] = heading;
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
    button->setAutoDefault(false);
  }
  connect(cmdCompute, &QPushButton::clicked, this, &TfrmTemplate::cmdComputeClick);
  connect(btnclearData, &QPushButton::clicked, this, &TfrmTemplate::btnclearDataClick);
  connect(ExitBtn, &QPushButton::clicked, this, &TfrmTemplate::ExitBtnClick);

  memoComments->raise();
  connect(qApp, &QApplication::focusChanged, this, &TfrmTemplate::OnFocusChanged);

  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
}

void TfrmTemplate::ResetStoredCorrelations() {
  if (settings.usesMatrixEntry)
    SetIdentity(storedCorrelations);
  else
    SetAllZero(storedCorrelations);
}

// ---------------------------------------------------------------------------
// Fields

QLineEdit* TfrmTemplate::Field(int n) const {
  switch (n) {
    case 1: return txtInput1;
    case 2: return txtInput2;
    case 3: return txtInput3;
    case 4: return txtInput4;
    case 5: return txtInput5;
    case 6: return txtInput6;
    case 7: return txtInput7;
    case 8: return txtinput8;
  }
  return nullptr;
}

QLabel* TfrmTemplate::FieldLabel(int n) const {
  switch (n) {
    case 1: return Label1;
    case 2: return Label2;
    case 3: return Label3;
    case 4: return Label4;
    case 5: return Label5;
    case 6: return Label6;
    case 7: return Label7;
    case 8: return Label8;
  }
  return nullptr;
}

std::string TfrmTemplate::FieldText(int n) const {
  QLineEdit* field = Field(n);
  return field ? S(field->text()) : std::string();
}

std::string TfrmTemplate::LabelCaption(int n) const {
  QLabel* label = FieldLabel(n);
  return label ? S(label->text()) : std::string();
}

void TfrmTemplate::FocusField(int n) {
  if (QLineEdit* field = Field(n)) {
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
  }
}

bool TfrmTemplate::IsFilteredField(QObject* object) const {
  for (int n = std::max(settings.firstFilteredField, 1); n <= WorksheetFieldCount; ++n)
    if (object == Field(n)) return true;
  return false;
}

// The character filter on key press. A key that types no character
// (arrows, Delete, Shift ...) is not filtered; Ctrl with a letter types
// its control character (Ctrl+V is 22), which the filter refuses.
bool TfrmTemplate::FieldKeyPress(QLineEdit* field, QKeyEvent* event) {
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

  std::u32string accepted;
  for (char32_t c : typed) {
    const char32_t result = FilterNumericKey(c, notice_, beep_);
    if (result != 0) accepted.push_back(result);
  }
  if (accepted == typed) return false;
  if (!accepted.empty()) field->insert(QString::fromUcs4(accepted.data(), static_cast<qsizetype>(accepted.size())));
  return true;
}

// The length rule on key release.
void TfrmTemplate::FieldKeyUp(QLineEdit* field) {
  std::string text = S(field->text());
  if (ApplyLengthRule(text, notice_, beep_)) {
    field->setText(Q(text));
    field->selectAll();
  }
}

bool TfrmTemplate::ReadCountFields(int& sampleSize, int& covariates) {
  int values[3] = {0, 0, 0};
  for (int n = 1; n <= 2; ++n) {
    const std::string label = LabelCaption(n);
    const extended value = ReadLabelledNumber(FieldText(n), label, notice_);
    if (inputError) {
      FocusField(n);
      return false;
    }
    const bool valid = n == settings.sampleSizeField ? CheckSampleSize(label, value, notice_)
                                                     : CheckCovariateCount(label, value, notice_);
    if (!valid) {
      FocusField(n);
      return false;
    }
    values[n] = static_cast<int>(value);  // a whole number within the rule's range
  }
  sampleSize = values[settings.sampleSizeField];
  covariates = values[settings.covariateField];
  if (!CheckCovariatesForSampleSize(sampleSize, covariates, notice_)) {
    FocusField(settings.covariateField);
    return false;
  }
  return true;
}

bool TfrmTemplate::TwoSided() const { return RadioGroup1->ItemIndex() == 0; }

tReportInputs TfrmTemplate::ReportInputs(tReportProgram program) const {
  tReportInputs inputs;
  inputs.program = program;
  inputs.programTitle = programTitle;
  inputs.notesCaption = S(lblComments->text());
  inputs.notes = S(memoComments->toPlainText());
  for (int n = 1; n <= WorksheetFieldCount; ++n)
    inputs.fields.push_back({LabelCaption(n), FieldText(n), n <= settings.visibleFieldCount});
  // The items stand in the order Two-sided, One-sided lower, One-sided upper.
  switch (RadioGroup1->ItemIndex()) {
    case 1: inputs.interval = tIntervalChoice::OneSidedLower; break;
    case 2: inputs.interval = tIntervalChoice::OneSidedUpper; break;
    default: inputs.interval = tIntervalChoice::TwoSided; break;
  }
  return inputs;
}

// ---------------------------------------------------------------------------
// Grid

bool TfrmTemplate::InGrid(const QWidget* widget) const {
  return widget != nullptr && (widget == grdData || grdData->isAncestorOf(widget));
}

int TfrmTemplate::GridRowCount() const { return grdData->rowCount(); }

QString TfrmTemplate::Cell(int col, int row) const {
  if (col < 0 || row < 0) return QString();
  if (row < grdData->rowCount()) {
    if (col >= grdData->columnCount()) return QString();
    const QTableWidgetItem* item = grdData->item(row, col);
    return item ? item->text() : QString();
  }
  const auto hidden = hiddenRows_.find(row);
  if (hidden == hiddenRows_.end() || col >= static_cast<int>(hidden->second.size())) return QString();
  return hidden->second[static_cast<std::size_t>(col)];
}

void TfrmTemplate::SetCell(int col, int row, const QString& text) {
  if (col < 0 || row < 0) return;
  if (row < grdData->rowCount()) {
    if (col >= grdData->columnCount()) return;
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
    item->setText(text);
    return;
  }
  std::vector<QString>& cells = hiddenRows_[row];
  if (static_cast<int>(cells.size()) <= col) cells.resize(static_cast<std::size_t>(col) + 1);
  cells[static_cast<std::size_t>(col)] = text;
}

void TfrmTemplate::SetGridRowCount(int rows) {
  rows = std::max(rows, 1);
  const int old = grdData->rowCount();
  const int columns = grdData->columnCount();
  if (rows < old) {
    for (int row = rows; row < old; ++row) {
      std::vector<QString> cells;
      for (int col = 0; col < columns; ++col) cells.push_back(Cell(col, row));
      hiddenRows_[row] = std::move(cells);
    }
    grdData->setRowCount(rows);
  } else if (rows > old) {
    grdData->setRowCount(rows);
    for (int row = old; row < rows; ++row) {
      const auto hidden = hiddenRows_.find(row);
      std::vector<QString> cells;
      if (hidden != hiddenRows_.end()) {
        cells = std::move(hidden->second);
        hiddenRows_.erase(hidden);
      }
      cells.resize(static_cast<std::size_t>(columns));
      for (int col = 0; col < columns; ++col) SetCell(col, row, cells[static_cast<std::size_t>(col)]);
    }
  }
}

void TfrmTemplate::SetGridCurrentCell(int col, int row) {
  if (row < grdData->rowCount() && col < grdData->columnCount()) grdData->setCurrentCell(row, col);
}

void TfrmTemplate::SizeGrid() {
  const int columns = settings.gridColumns;
  const int rows = settings.gridRows;
  int width = (DefaultColumnWidth + GridLineWidth) * columns + 3;
  int height = (DefaultRowHeight + GridLineWidth) * rows + 4;
  if (rows > VisibleGridRows - 1) height = (DefaultRowHeight + GridLineWidth) * VisibleGridRows + 4;
  if (rows > VisibleGridRows) width += ScrollBarRoom;
  const int left = (settings.clientWidth - width) / 2;
  grdData->setGeometry(left, grdData->y(), width, height);
  grdData->update();

  const int headingTop = grdData->y() - lblCol1->height();
  lblGridColumnsTitle->show();
  lblGridColumnsTitle->setGeometry(left, headingTop - lblGridColumnsTitle->height(), width,
                                   lblGridColumnsTitle->height());
  QLabel* columnHeadings[] = {lblCol1, lblCol2, lblCol3, lblCol4, lblCol5, lblCol6};
  lblItems->move(left, headingTop);
  lblCol1->move(left + DefaultColumnWidth + 3, headingTop);
  for (int n = 2; n <= 6; ++n)
    columnHeadings[n - 1]->move(left + DefaultColumnWidth * n + n + 2, headingTop);

  lblItems->show();
  for (int n = 1; n <= 6; ++n) columnHeadings[n - 1]->setVisible(columns >= n + 1);
  for (int row = 0; row < rows; ++row) SetCell(0, row, QString::number(row + 1));
}

void TfrmTemplate::FirstRunGrid() {
  grdData->setColumnCount(settings.gridColumns);
  SetGridRowCount(settings.gridRows);
  for (int row = 0; row < grdData->rowCount(); ++row)
    for (int col = 1; col < settings.gridColumns; ++col) SetCell(col, row, QString());
  int row = 0;
  for (const char* name : DefaultGridNames) SetCell(1, row++, name);
  SizeGrid();
}

// ---------------------------------------------------------------------------
// Saved inputs

void TfrmTemplate::LoadPreviousData() {
  const std::string path = SavedInputsPath();
  tRestoredInputs restored;
  const bool exists = ReadSavedInputsFile(path, settings.SavedInputsLayout(), restored);
  if (!exists) {
    matrixRestored = false;
    if (settings.usesDataGrid) FirstRunGrid();
  } else {
    for (std::size_t i = 0; i < restored.fields.size(); ++i)
      Field(static_cast<int>(i) + 1)->setText(Q(restored.fields[i]));
    if (settings.usesDataGrid) {
      if (restored.gridRead) {
        settings.gridRows = static_cast<int>(restored.gridRows.size());
        grdData->setColumnCount(settings.gridColumns);
        SetGridRowCount(settings.gridRows);
        for (int row = 0; row < settings.gridRows; ++row) {
          const auto& cells = restored.gridRows[static_cast<std::size_t>(row)];
          for (std::size_t c = 0; c < cells.size(); ++c) SetCell(static_cast<int>(c) + 1, row, Q(cells[c]));
        }
        SizeGrid();
      } else {
        // The file broke off before the grid: the grid starts as on a first run.
        FirstRunGrid();
      }
    }
    if (settings.usesMatrixEntry && restored.matrixOrder > 0) {
      PlaceRestoredCorrelations(restored.correlations, restored.matrixOrder, storedCorrelations);
      if (restored.matrixRead) cmdCompute->setText("Continue");
    }
    matrixRestored = !restored.Damaged();
    if (restored.Damaged())
      services_.Error("The saved inputs could not be read completely from the file\r" + path + "\r\r" +
                      restored.problem +
                      "\r\rThe worksheet opens with the inputs read before the problem. The file has been "
                      "left as it is; Clear Data deletes it.");
  }
  for (int n = 1; n <= WorksheetFieldCount; ++n) {
    const bool visible = n <= settings.visibleFieldCount;
    Field(n)->setVisible(visible);
    FieldLabel(n)->setVisible(visible);
  }
}

bool TfrmTemplate::SaveCurrentData() {
  const tSavedInputsLayout layout = settings.SavedInputsLayout();
  tSavedInputs inputs;
  const int fieldCount = layout.fieldsOnOneLine ? WorksheetFieldCount : layout.restoredFieldCount;
  for (int n = 1; n <= fieldCount; ++n) inputs.fields.push_back(FieldText(n));
  if (settings.usesDataGrid) {
    for (int row = 0; row < settings.gridRows; ++row) {
      std::vector<std::string> cells;
      for (int col = 1; col < settings.gridColumns; ++col) cells.push_back(S(Cell(col, row)));
      inputs.gridRows.push_back(std::move(cells));
    }
  }
  inputs.correlations = storedCorrelations;
  inputs.matrixOrder = matrixOrder;

  const std::string path = SavedInputsPath();
  std::string reason;
  if (WriteSavedInputsFile(path, FormatSavedInputs(layout, inputs), reason)) return true;
  services_.Warn("The inputs could not be saved in the file\r" + path + "\r\r" + reason +
                 ".\r\rThe computation goes on without them being saved.");
  return false;
}

// ---------------------------------------------------------------------------
// Buttons

void TfrmTemplate::cmdComputeClick() {
  try {
    if (computeFlow_) {
      computeFlow_->Compute(*this);
      return;
    }
    int sampleSize = 0;
    int covariates = 0;
    if (!ReadCountFields(sampleSize, covariates)) return;
    // The raw-data program saves its inputs as soon as they pass the checks.
    if (!settings.usesMatrixEntry) SaveCurrentData();
    services_.Inform("The inputs have been checked. The analysis itself is not yet available in this "
                     "version of " +
                     settings.programName + ".");
  } catch (const std::exception& error) {
    services_.SetBusyCursor(false);
    services_.Error(error.what());
  }
}

void TfrmTemplate::btnclearDataClick() {
  for (int n = 1; n <= WorksheetFieldCount; ++n) Field(n)->clear();
  memoComments->clear();
  const std::string path = SavedInputsPath();
  std::string reason;
  if (!DeleteSavedInputsFile(path, reason))
    services_.Error("The saved inputs file\r" + path + "\rcould not be deleted:\r\r" + reason + ".");
  ResetStoredCorrelations();
  for (int row = 0; row < grdData->rowCount(); ++row)
    for (int col = 1; col < grdData->columnCount(); ++col) SetCell(col, row, QString());
  for (auto& hidden : hiddenRows_)
    for (std::size_t col = 1; col < hidden.second.size(); ++col) hidden.second[col].clear();
  FocusField(1);
}

void TfrmTemplate::ExitBtnClick() {
  if (services_.Confirm(ExitQuestion)) services_.QuitApplication();
}

// ---------------------------------------------------------------------------
// Window events

void TfrmTemplate::FormShow() {
  if (FieldText(1).empty()) {
    FocusField(1);
    return;
  }
  raise();
  activateWindow();
  const int restored = settings.restoredFieldCount;
  if (restored >= 1 && restored <= 7) FocusField(restored + 1 <= settings.visibleFieldCount ? restored + 1 : restored);
}

void TfrmTemplate::FormActivate() {
  if (!settings.usesDataGrid || grdData->isHidden()) return;
  if (settings.gridColumns > 0)
    SetGridCurrentCell(2, 0);
  else if (settings.gridRows > 0)
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
    if (old == txtInput1) txtInput1Exit();
    if (InGrid(old) && !InGrid(now)) grdDataExit();
  }
  if (now == memoComments) memoCommentsEnter();
}

bool TfrmTemplate::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && IsFilteredField(watched))
    return FieldKeyPress(static_cast<QLineEdit*>(watched), static_cast<QKeyEvent*>(event));
  if (event->type() == QEvent::KeyRelease && IsFilteredField(watched)) {
    FieldKeyUp(static_cast<QLineEdit*>(watched));
    return false;
  }
  if (event->type() == QEvent::KeyRelease && watched == memoComments)
    memoCommentsKeyUp(static_cast<QKeyEvent*>(event)->key());
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

// Closing the worksheet ends the program, as Exit does, without asking.
void TfrmTemplate::closeEvent(QCloseEvent* event) {
  event->accept();
  services_.QuitApplication();
}
