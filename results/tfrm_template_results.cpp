#include "results/tfrm_template_results.h"

#include <QAbstractTextDocumentLayout>
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
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

#include "report/drawing_svg.h"
#include "core/text_file.h"
#include "platform/drawing_painting.h"
#include "platform/fonts.h"
#include "platform/screen_fit.h"
#include "platform/text_printing.h"
#include "results/report_document.h"
#include "results/results_icon.h"

namespace {

const char* const kInitialCaption = "Output";
const char* const kExitQuestion = "Exit from program?";
const char* const kNothingSelected = "You have not selected any text.";
const char* const kNoFigure = "There is no figure in the results to save.";

// A name ending in ".svg" (in any case) is saved as SVG, any other as PNG.
bool NamesSvg(const std::string& name) {
  return QString::fromStdString(name).endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
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
  int lines = document->lastBlock().text().isEmpty() ? document->blockCount() - 1 : document->blockCount();
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
    if (IsFigureBlock(block)) --lines;
  return lines;
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
  figurePainter_ = new tFigureObjectPainter(this);
  memoResults->document()->documentLayout()->registerHandler(FigureObjectType, figurePainter_);
  memoResults->installEventFilter(this);

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

  mnuPrinterOptions = menuBar()->addMenu("&Printer options...");
  mnuPrinterOptions->setObjectName("mnuPrinterOptions");
  mnuPrint = mnuPrinterOptions->addAction("Print &All");
  mnuPrint->setObjectName("mnuPrint");
  mnuPrintSelection = mnuPrinterOptions->addAction("Print &Selection");
  mnuPrintSelection->setObjectName("mnuPrintSelection");
  mnuPrinterOptions->addSeparator();
  mnuSaveAsPdf = mnuPrinterOptions->addAction("Save as P&DF...");
  mnuSaveAsPdf->setObjectName("mnuSaveAsPdf");
  mnuSaveFigure = mnuPrinterOptions->addAction("Save &Figure...");
  mnuSaveFigure->setObjectName("mnuSaveFigure");
  mnuEdit = menuBar()->addMenu("&Edit");
  mnuEdit->setObjectName("mnuEdit");
  mnuCopy = mnuEdit->addAction("&Copy");
  mnuCopy->setObjectName("mnuCopy");
  mnuCopy->setShortcut(QKeySequence::Copy);
  mnuPrint->setShortcut(QKeySequence::Print);
  // Ctrl+S is Save Output, Escape Return to Worksheet, from anywhere in
  // the window.
  auto* saveKey = new QAction(this);
  saveKey->setShortcut(QKeySequence::Save);
  addAction(saveKey);
  connect(saveKey, &QAction::triggered, this, &TfrmTemplateResults::cmdSaveOutputClick);
  auto* escapeKey = new QAction(this);
  escapeKey->setShortcut(Qt::Key_Escape);
  addAction(escapeKey);
  connect(escapeKey, &QAction::triggered, this, &TfrmTemplateResults::cmdReturnClick);

  connect(cmdSaveOutput, &QPushButton::clicked, this, &TfrmTemplateResults::cmdSaveOutputClick);
  connect(cmdClearResults, &QPushButton::clicked, this, &TfrmTemplateResults::cmdClearResultsClick);
  connect(cmdReturn, &QPushButton::clicked, this, &TfrmTemplateResults::cmdReturnClick);
  connect(cmdExit, &QPushButton::clicked, this, &TfrmTemplateResults::cmdExitClick);
  connect(mnuPrint, &QAction::triggered, this, &TfrmTemplateResults::mnuPrintClick);
  connect(mnuPrintSelection, &QAction::triggered, this, &TfrmTemplateResults::mnuPrintSelectionClick);
  connect(mnuSaveAsPdf, &QAction::triggered, this, &TfrmTemplateResults::mnuSaveAsPdfClick);
  connect(mnuSaveFigure, &QAction::triggered, this, &TfrmTemplateResults::mnuSaveFigureClick);
  connect(mnuCopy, &QAction::triggered, this, &TfrmTemplateResults::mnuCopyClick);

  // The window takes exactly the menu bar plus the client area and keeps it.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  layout()->activate();
  resize(sizeHint());

  const QSize whole = size();
  if (!FitsOnScreen(whole)) {
    // Too large for the screen: the client area scrolls under the menus.
    takeCentralWidget();
    setCentralWidget(NewContentScroller(client, this));
    layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
  }
  PlaceOnScreen(*this, whole);
}

void TfrmTemplateResults::SetWorksheet(QWidget* worksheet) { worksheet_ = worksheet; }

tReportLines& TfrmTemplateResults::ReportSink() { return *sink_; }

bool TfrmTemplateResults::AppendReport(const std::vector<std::string>& lines, const tProgressCheck& progress) {
  return sink_->AddAll(lines, progress);
}

void TfrmTemplateResults::AddFigure(const tDrawing& figure) {
  AppendFigure(*memoResults->document(), std::make_shared<const tDrawing>(figure));
  if (memoResults->isVisible()) {
    QScrollBar* bar = memoResults->verticalScrollBar();
    bar->setValue(bar->maximum());
  }
}

QByteArray TfrmTemplateResults::FileContents() const {
  QByteArray contents;
  for (const QString& line : ReportLines(*memoResults->document())) {
    contents.append(line.toUtf8());
    contents.append("\r\n");
  }
  return contents;
}

QString TfrmTemplateResults::ReportText() const {
  QString text;
  for (const QString& line : ReportLines(*memoResults->document())) text += line + QLatin1Char('\n');
  return text;
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
  SaveFile(*chosen, FileContents().toStdString(), "results");
}

void TfrmTemplateResults::SaveFile(const std::string& path, const std::string& contents, const std::string& what) {
  std::string reason;
  // A name chosen in the dialog that is a link is saved at the file it
  // names; a device, pipe or socket is refused.
  if (ReplaceTextFile(path, contents, reason, false, tLinkedName::WriteTarget)) return;
  services_.Error("The " + what + " could not be saved to the file \"" + path + "\".\r" + reason + ".");
}

// The whole report with its figures, as Print All prints it, in a PDF file.
void TfrmTemplateResults::mnuSaveAsPdfClick() {
  const std::optional<std::string> chosen = services_.AskSaveFileName(lastPdfName_, PdfFilter);
  if (!chosen) return;
  lastPdfName_ = *chosen;
  QByteArray pdf;
  std::string reason;
  if (!DocumentPdf(PrintedPart(0, memoResults->document()->characterCount() - 1), windowTitle(), pdf, reason)) {
    services_.Error("The results could not be saved to the file \"" + *chosen + "\".\r" + reason);
    return;
  }
  SaveFile(*chosen, pdf.toStdString(), "results");
}

// Saves the figure of the report in view: the first figure from the top
// of the text area's view down, or the last one when none follows.
void TfrmTemplateResults::mnuSaveFigureClick() {
  const std::vector<tPlacedFigure> figures = DocumentFigures(*memoResults->document());
  if (figures.empty()) {
    services_.Warn(kNoFigure);
    return;
  }
  const int inView = memoResults->cursorForPosition(QPoint(0, 0)).block().position();
  tFigureDrawing figure = figures.back().figure;
  for (const tPlacedFigure& placed : figures)
    if (placed.position >= inView) {
      figure = placed.figure;
      break;
    }
  const std::optional<std::string> chosen = services_.AskSaveFileName(lastFigureName_, FigureFilter);
  if (!chosen) return;
  lastFigureName_ = *chosen;
  if (NamesSvg(*chosen)) {
    SaveFile(*chosen, DrawingSvg(*figure), "figure");
    return;
  }
  const QByteArray png = DrawingPng(*figure, FigurePngScale);
  if (png.isEmpty()) {
    services_.Error("The figure could not be saved to the file \"" + *chosen + "\".\rThe image could not be made.");
    return;
  }
  SaveFile(*chosen, png.toStdString(), "figure");
}

// Copies the selected text, or the whole report when nothing is selected;
// figures are left out.
void TfrmTemplateResults::mnuCopyClick() {
  const QTextCursor cursor = memoResults->textCursor();
  if (!cursor.hasSelection()) {
    services_.CopyText(ReportText().toStdString());
    return;
  }
  QStringList lines;
  for (const tDocumentPiece& piece : DocumentPieces(*memoResults->document(), cursor.selectionStart(),
                                                    cursor.selectionEnd()))
    lines << piece.lines;
  services_.CopyText(lines.join(QLatin1Char('\n')).toStdString());
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

void TfrmTemplateResults::mnuPrintClick() {
  PrintReport(PrintedPart(0, memoResults->document()->characterCount() - 1));
}

void TfrmTemplateResults::mnuPrintSelectionClick() {
  const QTextCursor cursor = memoResults->textCursor();
  if (!cursor.hasSelection()) {
    services_.Warn(kNothingSelected);
    return;
  }
  PrintReport(PrintedPart(cursor.selectionStart(), cursor.selectionEnd()));
}

// The text as plain lines in the report's font at the printing size,
// followed by one line end, with the figures where they stand.
tPrintedDocument TfrmTemplateResults::PrintedPart(int from, int to) const {
  tPrintedDocument document;
  document.fontFamily = memoResults->font().family().toStdString();
  document.pointSize = PrintPointSize;
  for (const tDocumentPiece& piece : DocumentPieces(*memoResults->document(), from, to))
    document.pieces.push_back(
        {piece.figure ? std::string() : (piece.lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toStdString(),
         piece.figure});
  return document;
}

// A cancelled print dialog is no failure; a printer that cannot be opened
// is reported.
void TfrmTemplateResults::PrintReport(const tPrintedDocument& document) {
  std::string error;
  if (!services_.PrintDocument(document, error) && !error.empty())
    services_.Error("The text could not be printed.\r" + error);
}

// Ctrl+C in the text area copies through the program's Copy, so that the
// figures are left out of the copied text.
bool TfrmTemplateResults::eventFilter(QObject* watched, QEvent* event) {
  if (watched == memoResults && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    mnuCopyClick();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
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
