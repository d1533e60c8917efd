// The one interface through which windows and flows reach the platform:
// message boxes, the beep, file dialogs, the cursor, progress of long
// work, printing, the clipboard and pasted text, event processing and
// ending the program. tQtServices implements it for the programs; the
// scripted double in tests/support answers from a script and records
// every call.
#pragma once

#include <optional>
#include <string>

#include "core/progress.h"
#include "platform/notice.h"
#include "platform/printed_document.h"

// YesNoDefaultNo asks a question whose Yes discards something: No is the
// answer Enter gives.
enum class tMessageButtons { Ok, YesNo, YesNoDefaultNo };
// Where pasted text comes from: the clipboard (Ctrl+V, the menus' Paste)
// or, where the platform keeps one, the text selected last (the middle
// mouse button's paste on X11).
enum class tPasteSource { Clipboard, Selection };
enum class tMessageResult { Ok, Yes, No };

// The standard caption of each kind of box.
inline const char* StandardCaption(tMessageKind kind) {
  switch (kind) {
    case tMessageKind::Warning: return "Warning";
    case tMessageKind::Error: return "Error";
    case tMessageKind::Information: return "Information";
    case tMessageKind::Confirmation: return "Confirm";
  }
  return "";
}

class tPlatformServices {
 public:
  virtual ~tPlatformServices() = default;

  // A modal message box; returns the button pressed (Ok for an OK box).
  virtual tMessageResult ShowMessage(tMessageKind kind, const std::string& caption,
                                     const std::string& text, tMessageButtons buttons) = 0;
  virtual void Beep() = 0;

  // File-open dialog for an existing file; nullopt when cancelled.
  // filter is in the form "Text files only|*.txt".
  virtual std::optional<std::string> AskOpenFileName(const std::string& initialFolder,
                                                     const std::string& filter) = 0;
  // File-save dialog that confirms before overwriting; nullopt when cancelled.
  virtual std::optional<std::string> AskSaveFileName(const std::string& initialName,
                                                     const std::string& filter) = 0;

  // The plain text of the source as UTF-8; empty when it holds none.
  virtual std::string PastedText(tPasteSource source) = 0;

  virtual void SetBusyCursor(bool busy) = 0;

  // Long work on the user's thread. ShowProgress names the step under way
  // and the share of it done (0 to 1), lets every window repaint, and
  // answers false once the user has pressed Cancel; a progress window with
  // the step, a bar and Cancel appears only when the work has lasted half
  // a second since the first ShowProgress. EndProgress closes it and
  // forgets a Cancel. The work calls it often enough (every tenth of a
  // second or so) for the windows to stay responsive.
  virtual bool ShowProgress(const std::string& step, double shareDone) = 0;
  virtual void EndProgress() = 0;

  // Prints the document: its text as plain lines in its font and size,
  // its drawings between them; lets the user choose the printer. Returns
  // false with a reason in error when nothing could be printed (a
  // cancelled print dialog returns false with an empty error).
  virtual bool PrintDocument(const tPrintedDocument& document, std::string& error) = 0;

  // Puts plain text on the clipboard.
  virtual void CopyText(const std::string& text) = 0;

  virtual void ProcessPendingEvents() = 0;

  // Ends the application's message loop (the programs' Exit); the
  // windows are not closed first.
  virtual void QuitApplication() = 0;

  // Convenience forms of ShowMessage with the standard captions.
  void Warn(const std::string& text) {
    ShowMessage(tMessageKind::Warning, StandardCaption(tMessageKind::Warning), text, tMessageButtons::Ok);
  }
  void Error(const std::string& text) {
    ShowMessage(tMessageKind::Error, StandardCaption(tMessageKind::Error), text, tMessageButtons::Ok);
  }
  void Inform(const std::string& text) {
    ShowMessage(tMessageKind::Information, StandardCaption(tMessageKind::Information), text,
                tMessageButtons::Ok);
  }
  bool Confirm(const std::string& text) {
    return ShowMessage(tMessageKind::Confirmation, StandardCaption(tMessageKind::Confirmation), text,
                       tMessageButtons::YesNo) == tMessageResult::Yes;
  }
  // A question whose Yes discards something (data cleared, a file
  // deleted): No is the default answer.
  bool ConfirmDiscard(const std::string& text) {
    return ShowMessage(tMessageKind::Confirmation, StandardCaption(tMessageKind::Confirmation), text,
                       tMessageButtons::YesNoDefaultNo) == tMessageResult::Yes;
  }
  // A hook that shows notices as OK boxes of their kind.
  tNoticeHook NoticeHook() {
    return [this](const tNotice& n) { ShowMessage(n.kind, n.caption, n.text, tMessageButtons::Ok); };
  }
  tBeepHook BeepHook() {
    return [this] { Beep(); };
  }
  // A progress check for plain work that shows its progress as the step.
  tProgressCheck ProgressCheck(const std::string& step) {
    return [this, step](double shareDone) { return ShowProgress(step, shareDone); };
  }
};

// Ends the progress of the work it was made for when it goes.
class tProgressScope {
 public:
  explicit tProgressScope(tPlatformServices& services) : services_(services) {}
  ~tProgressScope() { services_.EndProgress(); }
  tProgressScope(const tProgressScope&) = delete;
  tProgressScope& operator=(const tProgressScope&) = delete;

 private:
  tPlatformServices& services_;
};
