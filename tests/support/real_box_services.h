// Platform services for tests that use the windows as a person does: the
// message boxes are the programs' own modal boxes (tQtServices), so each
// takes the keyboard focus and runs a nested message loop; each is
// dismissed by a real key press or mouse click chosen by the script (or
// left to the caller's own input). File dialogs, printing and the cursor
// are answered and recorded as tScriptedServices does; pending events are
// processed for real, as the programs process them.
#pragma once

#include <QObject>
#include <deque>
#include <functional>
#include <set>
#include <vector>

#include "platform/qt_services.h"
#include "tests/support/scripted_services.h"

class QMessageBox;

// How a box is dismissed: Return presses the default button (OK, Yes),
// Escape the escape button (OK, No), Space the button that has the focus
// (the default one); or a mouse click on a button.
enum class tBoxGesture { Return, Escape, Space, ClickYesOrOk, ClickNo };
constexpr int BoxGestureCount = 5;

const char* GestureName(tBoxGesture gesture);

// Sends the gesture to the box; keys only when the box has the keyboard
// focus (false when it has not: nothing was sent).
bool DismissBox(QMessageBox& box, tBoxGesture gesture);

class tRealBoxServices : public tScriptedServices {
 public:
  tRealBoxServices();
  ~tRealBoxServices() override;

  // The gestures for the next boxes, in order; then defaultGesture.
  std::deque<tBoxGesture> gestures;
  tBoxGesture defaultGesture = tBoxGesture::Return;
  // false: the boxes are left to the caller's own input.
  bool answerBoxes = true;
  // When set, hears of every box as it opens (and how it will be
  // dismissed, when the services answer it).
  std::function<void(const tRecordedMessage&, tBoxGesture)> onBox;
  // The answer of each box, in order.
  std::vector<tMessageResult> results;
  // What the desktop does when the window with the keyboard focus goes (a
  // box closes). true: as a window manager does, the focus goes to the
  // modal window on top, else to the window that had it before. false: no
  // window has the focus until something hands it back, as on a desktop
  // without a window manager, or before the window manager has acted.
  bool focusReturns = true;

  tMessageResult ShowMessage(tMessageKind kind, const std::string& caption, const std::string& text,
                             tMessageButtons buttons) override;
  void ProcessPendingEvents() override;
  // The real clipboard, which the tests fill and real keys copy into.
  std::string PastedText(tPasteSource source) override { return qt_.PastedText(source); }

 private:
  class tWindowManager;
  void Dismiss(int serial, tBoxGesture gesture, int attempt);

  tQtServices qt_;
  int lastSerial_ = 0;
  std::set<int> openBoxes_;  // serials of the boxes up
  tWindowManager* windowManager_;
  QObject timers_;  // answers still pending when the services end are dropped
};
