#include "tests/support/scripted_services.h"

#include <gtest/gtest.h>

std::vector<std::string> tScriptedServices::texts() const {
  std::vector<std::string> out;
  for (const auto& m : messages) out.push_back(m.text);
  return out;
}

const tRecordedMessage& tScriptedServices::last() const {
  static const tRecordedMessage none{tMessageKind::Information, "", "", tMessageButtons::Ok};
  if (messages.empty()) {
    ADD_FAILURE() << "no message was shown";
    return none;
  }
  return messages.back();
}

void tScriptedServices::Clear() {
  messages.clear();
  prints.clear();
  copiedTexts.clear();
  beeps = 0;
  cursorChanges.clear();
  progressSteps.clear();
  progressCalls = 0;
  progressEnds = 0;
  eventPumps = 0;
  quitRequests = 0;
  openDialogFolders.clear();
  openDialogFilters.clear();
  saveDialogNames.clear();
  saveDialogFilters.clear();
}

tMessageResult tScriptedServices::ShowMessage(tMessageKind kind, const std::string& caption,
                                              const std::string& text, tMessageButtons buttons) {
  messages.push_back({kind, caption, text, buttons});
  if (buttons == tMessageButtons::Ok) return tMessageResult::Ok;
  if (answers.empty()) return defaultAnswer;
  tMessageResult a = answers.front();
  answers.pop_front();
  return a;
}

std::optional<std::string> tScriptedServices::AskOpenFileName(const std::string& initialFolder,
                                                              const std::string& filter) {
  openDialogFolders.push_back(initialFolder);
  openDialogFilters.push_back(filter);
  if (openFileAnswers.empty()) return std::nullopt;
  auto a = openFileAnswers.front();
  openFileAnswers.pop_front();
  return a;
}

std::optional<std::string> tScriptedServices::AskSaveFileName(const std::string& initialName,
                                                              const std::string& filter) {
  saveDialogNames.push_back(initialName);
  saveDialogFilters.push_back(filter);
  if (saveFileAnswers.empty()) return std::nullopt;
  auto a = saveFileAnswers.front();
  saveFileAnswers.pop_front();
  return a;
}

bool tScriptedServices::PrintDocument(const tPrintedDocument& document, std::string& error) {
  std::string outcome;
  if (!printOutcomes.empty()) {
    outcome = printOutcomes.front();
    printOutcomes.pop_front();
  }
  if (!outcome.empty()) {
    error = outcome;
    return false;
  }
  prints.push_back({document.Text(), document.fontFamily, document.pointSize, document.DrawingCount()});
  return true;
}

bool tScriptedServices::ShowProgress(const std::string& step, double shareDone) {
  EXPECT_GE(shareDone, 0.0) << step;
  EXPECT_LE(shareDone, 1.0) << step;
  if (progressSteps.empty() || progressSteps.back() != step) progressSteps.push_back(step);
  ++progressCalls;
  return cancelProgressAtCall == 0 || progressCalls < cancelProgressAtCall;
}

void tScriptedServices::EndProgress() { ++progressEnds; }
