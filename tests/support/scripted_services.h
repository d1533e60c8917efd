// Test double of the platform services: records every call and answers
// from a script, so windows and flows run in tests without a person and
// no test ever waits on a modal box.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"

struct tRecordedMessage {
  tMessageKind kind;
  std::string caption;
  std::string text;
  tMessageButtons buttons;
};

struct tRecordedPrint {
  std::string text;  // the text pieces, in order
  std::string fontFamily;
  int pointSize;
  std::size_t drawings;  // how many drawings stood between them
};

class tScriptedServices : public tPlatformServices {
 public:
  // --- the script ---------------------------------------------------
  // Answers for Yes/No boxes, used in order; when none is left the box
  // is answered with defaultAnswer.
  std::deque<tMessageResult> answers;
  tMessageResult defaultAnswer = tMessageResult::No;
  // Answers for the open and save dialogs, in order; nullopt cancels.
  // When none is left the dialog is cancelled.
  std::deque<std::optional<std::string>> openFileAnswers;
  std::deque<std::optional<std::string>> saveFileAnswers;
  // The text PastedText gives for each source.
  std::string clipboardText;
  std::string selectionText;
  // Outcome of the next PrintDocument calls: an empty string succeeds, any
  // other text fails with that reason. When none is left printing succeeds.
  std::deque<std::string> printOutcomes;
  // ShowProgress answers false (Cancel pressed) from this call on,
  // counting every call since Clear (1 is the first); 0 never cancels.
  int cancelProgressAtCall = 0;

  // --- what happened ------------------------------------------------
  std::vector<tRecordedMessage> messages;
  std::vector<tRecordedPrint> prints;
  std::vector<std::string> copiedTexts;  // CopyText calls, in order
  int beeps = 0;
  std::vector<bool> cursorChanges;  // true = busy, false = normal
  std::vector<std::string> progressSteps;  // each step shown, once per change of step
  int progressCalls = 0;  // calls of ShowProgress
  int progressEnds = 0;   // calls of EndProgress
  int eventPumps = 0;
  int quitRequests = 0;  // calls of QuitApplication
  std::vector<std::string> openDialogFolders;
  std::vector<std::string> openDialogFilters;
  std::vector<std::string> saveDialogNames;
  std::vector<std::string> saveDialogFilters;

  bool busy() const { return !cursorChanges.empty() && cursorChanges.back(); }
  // Texts of all recorded messages, in order.
  std::vector<std::string> texts() const;
  // The last recorded message; fails the current test when there is none.
  const tRecordedMessage& last() const;
  void Clear();

  // --- tPlatformServices ----------------------------------------------
  tMessageResult ShowMessage(tMessageKind kind, const std::string& caption, const std::string& text,
                             tMessageButtons buttons) override;
  void Beep() override { ++beeps; }
  std::optional<std::string> AskOpenFileName(const std::string& initialFolder,
                                             const std::string& filter) override;
  std::optional<std::string> AskSaveFileName(const std::string& initialName,
                                             const std::string& filter) override;
  std::string PastedText(tPasteSource source) override {
    return source == tPasteSource::Selection ? selectionText : clipboardText;
  }
  void SetBusyCursor(bool isBusy) override { cursorChanges.push_back(isBusy); }
  bool ShowProgress(const std::string& step, double shareDone) override;
  void EndProgress() override;
  bool PrintDocument(const tPrintedDocument& document, std::string& error) override;
  void CopyText(const std::string& text) override { copiedTexts.push_back(text); }
  void ProcessPendingEvents() override { ++eventPumps; }
  void QuitApplication() override { ++quitRequests; }
};
