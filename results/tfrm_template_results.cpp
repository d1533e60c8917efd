#include "results/tfrm_template_results.h"

#include <algorithm>

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "core/text_file.h"
#include "platform/fonts.h"
#include "results/results_icon.h"

namespace {

const char* const kInitialCaption = "Output";
const char* const kExitQuestion = "Exit from program?";
const char* const kNothingSelected = "You have not selected any text.";

// The lines the text area holds: split at line ends, the empty piece after
// a final line end is not a line of its own.
QStringList MemoLines(const QPlainTextEdit* memo) {
  QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

}  // namespace

void tMemoLines::Add(const std::string& line) {
  QTextDocument* document = memo_->document();
  QTextCursor cursor(document);
  cursor.movePosition(QTextCursor::End);
  cursor.beginEditBlock();
  // Text typed after the last line end is a line of its own: end it first.
  if (!document->lastBlock().text().isEmpty()) cursor.insertBlock();
  cursor.insertText(QString::fromStdString(line));
  cursor.insertBlock();
  cursor.endEditBlock();
  // The newest line is in view, so a report appended under earlier ones is
  // seen at once, ending with its results.
  if (memo_->isVisible()) {
    QScrollBar* bar = memo_->verticalScrollBar();
    bar->setValue(bar->maximum());
  }
}

bool tMemoLines::AddAll(const std::vector<std::string>& lines, const tProgressCheck& progress) {
  constexpr std::size_t PieceLines = 20000;
  QTextDocument* document = memo_->document();
  QTextCursor cursor(document);
  cursor.movePosition(QTextCursor::End);
  const int start = cursor.position();
  // Text typed after the last line end is a line of its own: end it first.
  QString piece = document->lastBlock().text().isEmpty() ? QString() : QStringLiteral("\n");
  for (std::size_t first = 0; first < lines.size(); first += PieceLines) {
    const std::size_t end = std::min(lines.size(), first + PieceLines);
    for (std::size_t i = first; i < end; ++i) {
      piece += QString::fromStdString(lines[i]);
      piece += QLatin1Char('\n');
    }
    cursor.beginEditBlock();
    cursor.insertText(piece);
    cursor.endEditBlock();
    piece.clear();
    if (progress && !progress(static_cast<double>(end) / static_cast<double>(lines.size()))) {
      cursor.setPosition(start);
      cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
      cursor.removeSelectedText();
      return false;
    }
  }
  if (memo_->isVisible()) {
    QScrollBar* bar = memo_->verticalScrollBar();
    bar->setValue(bar->maximum());
  }
  return true;
}

int tMemoLines::Count() const {
  const QTextDocument* document = memo_->document();
  const int blocks = document->blockCount();
  return document->lastBlock().text().isEmpty() ? blocks - 1 : blocks;
}

TfrmTemplateResults::TfrmTemplateResults(tPlatformServices& services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
  BuildWindow();
  sink_ = std::make_unique<tMemoLines>(memoResults);
  FormCreate();
}

TfrmTemplateResults::~TfrmTemplateResults() = default;

// Builds every component of the window with its position, size and font.
void TfrmTemplateResults::BuildWindow() {
  setObjectName("frmTemplateResults");
  setWindowTitle(kInitialCaption);
  setWindowIcon(ResultsWindowIcon());
  // Single fixed border with a title but no border icons (no close box).
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFont(SubstitutedFont("MS Sans Serif", 8));

  auto* client = new QWidget(this);
  client->setObjectName("clientArea");
  client->setFixedSize(ClientWidth, ClientHeight);
  setCentralWidget(client);

  Panel1 = new QFrame(client);
  Panel1->setObjectName("Panel1");
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setGeometry(12, 2, 765, 468);

  memoResults = new QPlainTextEdit(Panel1);
  memoResults->setObjectName("memoResults");
  memoResults->setGeometry(8, 8, 749, 452);
  QFont memoFont = SubstitutedFont(ReportFontFamily);
  memoFont.setPixelSize(12);
  memoResults->setFont(memoFont);
  memoResults->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memoResults->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memoResults->setReadOnly(false);
  QPalette memoPalette = memoResults->palette();
  memoPalette.setColor(QPalette::Text, Qt::black);
  // The selection stays visible when the text area loses the focus.
  for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
    memoPalette.setColor(QPalette::Inactive, role, memoPalette.color(QPalette::Active, role));
  memoResults->setPalette(memoPalette);

  Panel2 = new QFrame(client);
  Panel2->setObjectName("Panel2");
  Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel2->setGeometry(12, 482, 765, 49);

  QFont buttonFont = SubstitutedFont("System");
  buttonFont.setPixelSize(13);
  buttonFont.setBold(true);
  auto makeButton = [&](const char* name, const char* caption, int left) {
    auto* button = new QPushButton(caption, client);  // after Panel2: drawn above it
    button->setObjectName(name);
    button->setGeometry(left, 488, 161, 37);
    button->setFont(buttonFont);
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(palette);
    button->setAutoDefault(true);  // Enter presses the focused button
    return button;
  };
  cmdSaveOutput = makeButton("cmdSaveOutput", "Save Output", 28);
  cmdClearResults = makeButton("cmdClearResults", "Clear Results", 220);
  cmdReturn = makeButton("cmdReturn", "Return to Worksheet", 411);
  cmdExit = makeButton("cmdExit", "Exit", 603);
  cmdReturn->setDefault(true);

  mnuPrinterOptions = menuBar()->addMenu("Printer options...");
  mnuPrinterOptions->setObjectName("mnuPrinterOptions");
  mnuPrint = mnuPrinterOptions->addAction("Print All");
  mnuPrint->setObjectName("mnuPrint");
  mnuPrintSelection = mnuPrinterOptions->addAction("Print Selection");
  mnuPrintSelection->setObjectName("mnuPrintSelection");

  connect(cmdSaveOutput, &QPushButton::clicked, this, &TfrmTemplateResults::cmdSaveOutputClick);
  connect(cmdClearResults, &QPushButton::clicked, this, &TfrmTemplateResults::cmdClearResultsClick);
  connect(cmdReturn, &QPushButton::clicked, this, &TfrmTemplateResults::cmdReturnClick);
  connect(cmdExit, &QPushButton::clicked, this, &TfrmTemplateResults::cmdExitClick);
  connect(mnuPrint, &QAction::triggered, this, &TfrmTemplateResults::mnuPrintClick);
  connect(mnuPrintSelection, &QAction::triggered, this, &TfrmTemplateResults::mnuPrintSelectionClick);

  // The window takes exactly the menu bar plus the client area and keeps it.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  layout()->activate();
  resize(sizeHint());

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void TfrmTemplateResults::SetWorksheet(QWidget* worksheet) { worksheet_ = worksheet; }

tReportLines& TfrmTemplateResults::ReportSink() { return *sink_; }

bool TfrmTemplateResults::AppendReport(const std::vector<std::string>& lines, const tProgressCheck& progress) {
  return sink_->AddAll(lines, progress);
}

QByteArray TfrmTemplateResults::FileContents() const {
  QByteArray contents;
  for (const QString& line : MemoLines(memoResults)) {
    contents.append(line.toUtf8());
    contents.append("\r\n");
  }
  return contents;
}

void TfrmTemplateResults::FormCreate() { memoResults->clear(); }

// Brings the program to the front each time the results are shown.
void TfrmTemplateResults::FormShow() {
  raise();
  activateWindow();
}

void TfrmTemplateResults::FormActivate() {}

// Writes the text to a file the user names. The file is replaced only once
// the whole text is written, so a failed save leaves an earlier file as it
// was.
void TfrmTemplateResults::cmdSaveOutputClick() {
  const std::optional<std::string> chosen = services_.AskSaveFileName(lastSaveName_, SaveFilter);
  if (!chosen) return;
  lastSaveName_ = *chosen;
  const QByteArray contents = FileContents();
  std::string reason;
  if (ReplaceTextFile(*chosen, contents.toStdString(), reason)) return;
  services_.Error("The results could not be saved to the file \"" + *chosen + "\".\r" + reason + ".");
}

void TfrmTemplateResults::cmdClearResultsClick() { memoResults->clear(); }

void TfrmTemplateResults::cmdReturnClick() {
  // Without a worksheet, hiding would leave the program with no window.
  if (!worksheet_) return;
  hide();
  worksheet_->show();
  worksheet_->raise();
  worksheet_->activateWindow();
}

void TfrmTemplateResults::cmdExitClick() {
  if (services_.Confirm(kExitQuestion)) services_.QuitApplication();
}

void TfrmTemplateResults::mnuPrintClick() { PrintReport(memoResults->toPlainText() + "\n"); }

void TfrmTemplateResults::mnuPrintSelectionClick() {
  const QTextCursor cursor = memoResults->textCursor();
  if (!cursor.hasSelection()) {
    services_.Warn(kNothingSelected);
    return;
  }
  QString selected = cursor.selectedText();  // line ends come as paragraph separators
  selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  selected.replace(QChar::LineSeparator, QLatin1Char('\n'));
  PrintReport(selected + "\n");
}

// Prints plain text in the report's font at the printing size. A cancelled
// print dialog is no failure; a printer that cannot be opened is reported.
void TfrmTemplateResults::PrintReport(const QString& text) {
  std::string error;
  if (!services_.PrintText(text.toStdString(), memoResults->font().family().toStdString(),
                           PrintPointSize, error) &&
      !error.empty())
    services_.Error("The text could not be printed.\r" + error);
}

void TfrmTemplateResults::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  FormShow();
}

void TfrmTemplateResults::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

// The window has no close box, but a window manager may still close it
// (Alt+F4): that is Return to Worksheet, so the report stays and the
// program is never left running with no window. The program ends its
// message loop without closing its windows, so every close is the user's.
void TfrmTemplateResults::closeEvent(QCloseEvent* event) {
  event->ignore();
  cmdReturnClick();
}

// cmdReturn is the default control: Enter that no component takes presses it.
void TfrmTemplateResults::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    cmdReturn->click();
    return;
  }
  QMainWindow::keyPressEvent(event);
}
