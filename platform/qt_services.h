// The platform services of the programs, built on Qt Widgets and Qt Print
// Support. The boxes and dialogs are built by the Build* functions below
// and then run modally, so that how they are set up can be checked without
// showing them.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <memory>

#include "platform/services.h"

class QFileDialog;
class QProgressDialog;
class QWidget;

class tQtServices : public tPlatformServices {
 public:
  tQtServices();
  ~tQtServices() override;

  tMessageResult ShowMessage(tMessageKind kind, const std::string& caption, const std::string& text,
                             tMessageButtons buttons) override;
  void Beep() override;
  std::optional<std::string> AskOpenFileName(const std::string& initialFolder,
                                             const std::string& filter) override;
  std::optional<std::string> AskSaveFileName(const std::string& initialName,
                                             const std::string& filter) override;
  std::string PastedText(tPasteSource source) override;
  // Idempotent: a second busy call keeps one override cursor, and the normal
  // call removes it, so unbalanced calls never leave the hourglass behind.
  void SetBusyCursor(bool busy) override;
  bool ShowProgress(const std::string& step, double shareDone) override;
  void EndProgress() override;
  bool PrintDocument(const tPrintedDocument& document, std::string& error) override;
  void CopyText(const std::string& text) override;
  void ProcessPendingEvents() override;
  void QuitApplication() override;

 private:
  bool busy_ = false;
  std::unique_ptr<QProgressDialog> progress_;  // open between the first ShowProgress and EndProgress
  long long progressStart_ = 0;                // when it opened, in ms of a monotonic clock
};

// The progress window of long work: the step as its text, a bar of 1000
// steps, a Cancel button; application-modal, shown only when told.
std::unique_ptr<QProgressDialog> BuildProgressDialog(QWidget* parent = nullptr);

// Time that work runs before its progress window appears.
constexpr int ProgressWindowDelayMs = 500;

// The text of a message box: each "\r" (or "\r\n") starts a new line.
QString MessageBoxText(const std::string& text);

// "Text files only|*.txt" (pairs of description and patterns separated by
// '|', patterns separated by ';') as Qt name filters:
// {"Text files only (*.txt)"}. A filter without '|' is taken as patterns.
QStringList QtNameFilters(const std::string& filter);

// A message box of the kind's icon, with the caption, the text as plain text
// and the buttons (Yes is the default and No the escape of a question).
std::unique_ptr<QMessageBox> BuildMessageBox(tMessageKind kind, const std::string& caption,
                                             const std::string& text, tMessageButtons buttons,
                                             QWidget* parent = nullptr);
tMessageResult MessageResultOf(int standardButton);

// The file-open dialog: an existing file, starting in initialFolder.
std::unique_ptr<QFileDialog> BuildOpenDialog(const std::string& initialFolder,
                                             const std::string& filter, QWidget* parent = nullptr);
// The file-save dialog: initialName preselected (with its folder when it
// has one) under the filter of its extension, overwriting confirmed; a
// name given without extension gets the chosen filter's.
std::unique_ptr<QFileDialog> BuildSaveDialog(const std::string& initialName,
                                             const std::string& filter, QWidget* parent = nullptr);
