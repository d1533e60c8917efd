#include "platform/qt_services.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <limits>

#include "platform/text_printing.h"

namespace {

// Boxes and dialogs belong to the window the user is working in, or, while
// none is active (the window manager has not handed the focus back after a
// box), to the modal window on top, so that they never stand behind it.
QWidget* DialogParent() {
  QWidget* active = QApplication::activeWindow();
  return active != nullptr ? active : QApplication::activeModalWidget();
}

QMessageBox::Icon IconOf(tMessageKind kind) {
  switch (kind) {
    case tMessageKind::Warning: return QMessageBox::Warning;
    case tMessageKind::Error: return QMessageBox::Critical;
    case tMessageKind::Information: return QMessageBox::Information;
    case tMessageKind::Confirmation: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QString MessageBoxText(const std::string& text) {
  QString out = QString::fromStdString(text);
  out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return out;
}

QStringList QtNameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList filters;
  if (parts.size() == 1) {
    if (!parts.first().trimmed().isEmpty()) filters << parts.first().trimmed();
    return filters;
  }
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : patterns) p = p.trimmed();
    const QString patternText = patterns.join(QLatin1Char(' '));
    if (description.contains(QLatin1Char('(')))
      filters << description;  // the description already shows its patterns
    else
      filters << QStringLiteral("%1 (%2)").arg(description, patternText);
  }
  return filters;
}

std::unique_ptr<QMessageBox> BuildMessageBox(tMessageKind kind, const std::string& caption,
                                             const std::string& text, tMessageButtons buttons,
                                             QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(parent);
  box->setIcon(IconOf(kind));
  box->setWindowTitle(QString::fromStdString(caption));
  box->setTextFormat(Qt::PlainText);
  box->setText(MessageBoxText(text));
  if (buttons != tMessageButtons::Ok) {
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton(buttons == tMessageButtons::YesNo ? QMessageBox::Yes : QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
  } else {
    box->setStandardButtons(QMessageBox::Ok);
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(QMessageBox::Ok);
  }
  return box;
}

tMessageResult MessageResultOf(int standardButton) {
  switch (standardButton) {
    case QMessageBox::Yes: return tMessageResult::Yes;
    case QMessageBox::No: return tMessageResult::No;
    default: return tMessageResult::Ok;
  }
}

std::unique_ptr<QFileDialog> BuildOpenDialog(const std::string& initialFolder,
                                             const std::string& filter, QWidget* parent) {
  auto dialog = std::make_unique<QFileDialog>(parent, QStringLiteral("Open"));
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(QFileDialog::ExistingFile);
  const QStringList filters = QtNameFilters(filter);
  if (!filters.isEmpty()) dialog->setNameFilters(filters);
  if (!initialFolder.empty()) dialog->setDirectory(QString::fromStdString(initialFolder));
  return dialog;
}

// The extension of a name filter's first pattern: "svg" for
// "SVG images (*.svg)"; empty when it names none.
static QString FilterExtension(const QString& nameFilter) {
  const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(nameFilter);
  return match.hasMatch() ? match.captured(1) : QString();
}

std::unique_ptr<QFileDialog> BuildSaveDialog(const std::string& initialName,
                                             const std::string& filter, QWidget* parent) {
  auto dialog = std::make_unique<QFileDialog>(parent, QStringLiteral("Save As"));
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
  // A name typed without extension gets the chosen filter's, and the
  // filter first chosen is the one of the name offered.
  const QStringList filters = QtNameFilters(filter);
  if (!filters.isEmpty()) dialog->setNameFilters(filters);
  const QString name = QString::fromStdString(initialName);
  const QFileInfo info(name);
  QString chosen = filters.isEmpty() ? QString() : filters.first();
  for (const QString& nameFilter : filters)
    if (!info.suffix().isEmpty() && FilterExtension(nameFilter).compare(info.suffix(), Qt::CaseInsensitive) == 0)
      chosen = nameFilter;
  if (!chosen.isEmpty()) dialog->selectNameFilter(chosen);
  dialog->setDefaultSuffix(FilterExtension(chosen));
  QFileDialog* const d = dialog.get();
  QObject::connect(d, &QFileDialog::filterSelected, d,
                   [d](const QString& nameFilter) { d->setDefaultSuffix(FilterExtension(nameFilter)); });
  if (name.contains(QLatin1Char('/'))) dialog->setDirectory(info.absolutePath());
  if (!name.isEmpty()) dialog->selectFile(info.fileName());
  return dialog;
}

tMessageResult tQtServices::ShowMessage(tMessageKind kind, const std::string& caption,
                                        const std::string& text, tMessageButtons buttons) {
  auto box = BuildMessageBox(kind, caption, text, buttons, DialogParent());
  box->exec();
  QAbstractButton* pressed = box->clickedButton();
  if (pressed == nullptr)  // closed without a button: the escape answer
    return buttons == tMessageButtons::Ok ? tMessageResult::Ok : tMessageResult::No;
  return MessageResultOf(box->standardButton(pressed));
}

void tQtServices::Beep() { QApplication::beep(); }

std::optional<std::string> tQtServices::AskOpenFileName(const std::string& initialFolder,
                                                        const std::string& filter) {
  auto dialog = BuildOpenDialog(initialFolder, filter, DialogParent());
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
  return dialog->selectedFiles().first().toStdString();
}

std::optional<std::string> tQtServices::AskSaveFileName(const std::string& initialName,
                                                        const std::string& filter) {
  auto dialog = BuildSaveDialog(initialName, filter, DialogParent());
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
  return dialog->selectedFiles().first().toStdString();
}

std::string tQtServices::PastedText(tPasteSource source) {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (source == tPasteSource::Selection && !clipboard->supportsSelection()) return std::string();
  return clipboard->text(source == tPasteSource::Selection ? QClipboard::Selection : QClipboard::Clipboard)
      .toStdString();
}

void tQtServices::SetBusyCursor(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  else
    QApplication::restoreOverrideCursor();
}

bool tQtServices::PrintDocument(const tPrintedDocument& document, std::string& error) {
  error.clear();
  QPrinter printer(QPrinter::HighResolution);
  SetPrintMargins(printer);
  QPrintDialog dialog(&printer, DialogParent());
  dialog.setWindowTitle(QStringLiteral("Print"));
  if (dialog.exec() != QDialog::Accepted) return false;  // cancelled: no reason to report
  return PaintDocumentPages(printer, document, error);
}

void tQtServices::CopyText(const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

tQtServices::tQtServices() = default;
tQtServices::~tQtServices() = default;

std::unique_ptr<QProgressDialog> BuildProgressDialog(QWidget* parent) {
  auto dialog = std::make_unique<QProgressDialog>(QString(), QStringLiteral("Cancel"), 0, 1000, parent);
  dialog->setWindowTitle(QStringLiteral("Please wait"));
  dialog->setWindowModality(Qt::ApplicationModal);
  dialog->setAutoClose(false);
  dialog->setAutoReset(false);
  // Shown by ShowProgress itself once the work has lasted long enough;
  // the dialog's own estimate would wait for its bar to move.
  dialog->setMinimumDuration(std::numeric_limits<int>::max());
  dialog->hide();
  return dialog;
}

namespace {

long long NowMs() {
  static QElapsedTimer clock = [] {
    QElapsedTimer timer;
    timer.start();
    return timer;
  }();
  return clock.elapsed();
}

}  // namespace

bool tQtServices::ShowProgress(const std::string& step, double shareDone) {
  if (!progress_) {
    progress_ = BuildProgressDialog(DialogParent());
    progressStart_ = NowMs();
  }
  const QString text = QString::fromStdString(step);
  if (progress_->labelText() != text) progress_->setLabelText(text);
  const double share = shareDone < 0 ? 0 : shareDone > 1 ? 1 : shareDone;
  progress_->setValue(static_cast<int>(share * progress_->maximum()));
  if (!progress_->isVisible() && NowMs() - progressStart_ >= ProgressWindowDelayMs) {
    // The hourglass would hide that Cancel can be pressed.
    if (busy_) QApplication::restoreOverrideCursor();
    busy_ = false;
    progress_->show();
  }
  // Until the window stands between the user and the program's other
  // windows, they repaint but take no input (a second Compute would start
  // inside the first).
  QApplication::processEvents(progress_->isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
  return !progress_->wasCanceled();
}

void tQtServices::EndProgress() { progress_.reset(); }

void tQtServices::ProcessPendingEvents() { QApplication::processEvents(); }

// Ends the message loop (and any nested one) at once. QApplication::quit
// would first close every window, and the programs' windows answer a close
// as the user's own (the worksheet asks whether to exit).
void tQtServices::QuitApplication() { QCoreApplication::exit(0); }
