// The services of a page's synchronous calls (a key typed, a paste): the
// boxes those rules show are all OK boxes, so they are queued here and the
// page shows them, in order, once the call has returned. Questions are
// never asked from such calls; one would be answered No and queued too.
#pragma once

#include <string>
#include <vector>

#include "platform/services.h"

struct tQueuedBox {
  tMessageKind kind;
  std::string caption;
  std::string text;
};

class tQueuedServices : public tPlatformServices {
 public:
  std::vector<tQueuedBox> boxes;
  int beeps = 0;

  // The queue as JSON members: "boxes":[{...}],"beeps":n
  std::string Json() const;

  tMessageResult ShowMessage(tMessageKind kind, const std::string& caption, const std::string& text,
                             tMessageButtons buttons) override {
    boxes.push_back({kind, caption, text});
    return buttons == tMessageButtons::Ok ? tMessageResult::Ok : tMessageResult::No;
  }
  void Beep() override { ++beeps; }
  std::optional<std::string> AskOpenFileName(const std::string&, const std::string&) override { return {}; }
  std::optional<std::string> AskSaveFileName(const std::string&, const std::string&) override { return {}; }
  std::string PastedText(tPasteSource) override { return {}; }
  void SetBusyCursor(bool) override {}
  bool ShowProgress(const std::string&, double) override { return true; }
  void EndProgress() override {}
  bool PrintDocument(const tPrintedDocument&, std::string& error) override {
    error = "Printing goes through the browser.";
    return false;
  }
  void CopyText(const std::string&) override {}
  void ProcessPendingEvents() override {}
  void QuitApplication() override {}
};
