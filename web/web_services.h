// The platform services of the browser edition, and its matrix dialog.
// Each box, file dialog and the matrix dialog is drawn by the page's
// script (quorv_page.js, Module.quorvUi); emscripten's Asyncify suspends
// the WebAssembly call that asked until the user has answered there, so
// the flows wait for an answer as they do on the desktop.
#pragma once

#include <optional>
#include <string>

#include "platform/services.h"
#include "worksheet/logic/summary_data_flow.h"

class tWebServices : public tPlatformServices {
 public:
  tMessageResult ShowMessage(tMessageKind kind, const std::string& caption, const std::string& text,
                             tMessageButtons buttons) override;
  void Beep() override;
  // The page's open dialog; the chosen or dropped file is copied into the
  // page's file system first, and its name there is the answer.
  std::optional<std::string> AskOpenFileName(const std::string& initialFolder, const std::string& filter) override;
  // The browser names a download itself: the file is written in the
  // page's download folder and handed to the browser from there.
  std::optional<std::string> AskSaveFileName(const std::string& initialName, const std::string& filter) override;
  std::string PastedText(tPasteSource source) override;
  void SetBusyCursor(bool busy) override;
  // The work runs on the page's only thread; the page repaints after it.
  bool ShowProgress(const std::string&, double) override { return true; }
  void EndProgress() override {}
  // The page prints through the browser's own print dialog.
  bool PrintDocument(const tPrintedDocument& document, std::string& error) override;
  void CopyText(const std::string& text) override;
  void ProcessPendingEvents() override {}
  void QuitApplication() override;
};

// The matrix dialog: the page draws the cells in lower-triangle form;
// Continue's checks, Clear Data's question and the cells' texts are the
// desktop window's (matrix_entry/matrix_rules.h).
class tWebMatrixEntry : public tMatrixEntry {
 public:
  explicit tWebMatrixEntry(tPlatformServices& services) : services_(services) {}
  bool EnterCorrelations(tStoredCorrelations& matrix, int order) override;

  // What the page's matrixWait answers: the buttons Continue, Clear Data
  // and Return to Worksheet (Escape too).
  static constexpr int ContinueAction = 1;
  static constexpr int ClearAction = 2;
  static constexpr int ReturnAction = 3;

 private:
  tPlatformServices& services_;
};
