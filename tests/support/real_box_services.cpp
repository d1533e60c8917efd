#include "tests/support/real_box_services.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <QPointer>
#include <QWindow>

#include "tests/support/window_driving.h"

namespace {

// A box is looked for every few milliseconds until it is up and has the
// keyboard focus, for at most about two seconds.
constexpr int RetryMilliseconds = 5;
constexpr int MaxAttempts = 400;

Qt::Key KeyOf(tBoxGesture gesture) {
  switch (gesture) {
    case tBoxGesture::Return: return Qt::Key_Return;
    case tBoxGesture::Escape: return Qt::Key_Escape;
    case tBoxGesture::Space: return Qt::Key_Space;
    default: return Qt::Key_unknown;
  }
}

}  // namespace

const char* GestureName(tBoxGesture gesture) {
  switch (gesture) {
    case tBoxGesture::Return: return "Return";
    case tBoxGesture::Escape: return "Escape";
    case tBoxGesture::Space: return "Space";
    case tBoxGesture::ClickYesOrOk: return "click OK/Yes";
    case tBoxGesture::ClickNo: return "click No";
  }
  return "?";
}

bool DismissBox(QMessageBox& box, tBoxGesture gesture) {
  const Qt::Key key = KeyOf(gesture);
  if (key != Qt::Key_unknown) {
    if (QGuiApplication::focusWindow() != box.windowHandle()) return false;
    TypeKey(key);
    return true;
  }
  QAbstractButton* button = nullptr;
  if (gesture == tBoxGesture::ClickNo) button = box.button(QMessageBox::No);
  if (button == nullptr) button = box.button(QMessageBox::Yes);
  if (button == nullptr) button = box.button(QMessageBox::Ok);
  if (button != nullptr) Click(button);
  return button != nullptr;
}

// Stands in for a window manager: when the window with the keyboard focus
// goes (a box closes, or a late activation lands on a box already gone),
// the focus goes to the modal window on top, else to the last other window
// that had it.
class tRealBoxServices::tWindowManager : public QObject {
 public:
  explicit tWindowManager(const bool& focusReturns) : focusReturns_(focusReturns) {
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* window) {
      if (window != nullptr && window->isVisible()) {
        if (!IsBox(window)) last_ = window;
      } else {
        Schedule();
      }
    });
    qApp->installEventFilter(this);
  }
  ~tWindowManager() override { qApp->removeEventFilter(this); }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Hide && qobject_cast<QMessageBox*>(watched) != nullptr) Schedule();
    return false;
  }

 private:
  void Schedule() {
    if (focusReturns_) QTimer::singleShot(0, this, [this] { HandFocusBack(); });
  }
  static bool IsBox(const QWindow* window) {
    for (const QWidget* w : QApplication::topLevelWidgets())
      if (w->windowHandle() == window) return qobject_cast<const QMessageBox*>(w) != nullptr;
    return false;
  }
  void HandFocusBack() {
    const QWindow* focus = QGuiApplication::focusWindow();
    if (focus != nullptr && focus->isVisible()) return;
    QWidget* modal = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->isModal()) modal = w;
    if (modal != nullptr)
      modal->activateWindow();
    else if (last_ != nullptr && last_->isVisible())
      last_->requestActivate();
  }

  const bool& focusReturns_;
  QPointer<QWindow> last_;
};

tRealBoxServices::tRealBoxServices() : windowManager_(new tWindowManager(focusReturns)) {}

tRealBoxServices::~tRealBoxServices() { delete windowManager_; }

tMessageResult tRealBoxServices::ShowMessage(tMessageKind kind, const std::string& caption,
                                             const std::string& text, tMessageButtons buttons) {
  messages.push_back({kind, caption, text, buttons});
  tBoxGesture gesture = defaultGesture;
  if (!gestures.empty()) {
    gesture = gestures.front();
    gestures.pop_front();
  }
  if (onBox) onBox(messages.back(), gesture);
  const int serial = ++lastSerial_;
  openBoxes_.insert(serial);
  if (answerBoxes) QTimer::singleShot(0, &timers_, [this, serial, gesture] { Dismiss(serial, gesture, 0); });
  const tMessageResult result = qt_.ShowMessage(kind, caption, text, buttons);
  openBoxes_.erase(serial);
  results.push_back(result);
  return result;
}

void tRealBoxServices::ProcessPendingEvents() {
  ++eventPumps;
  QApplication::processEvents();
}

// Runs inside the box's own message loop. A box closed meanwhile (by other
// input) needs nothing more; one that is not up yet, does not have the
// keyboard focus yet or stayed up is tried again.
void tRealBoxServices::Dismiss(int serial, tBoxGesture gesture, int attempt) {
  if (openBoxes_.count(serial) == 0) return;
  const QPointer<QMessageBox> box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box != nullptr && box->isVisible() && DismissBox(*box, gesture) && (!box || !box->isVisible())) return;
  if (attempt < MaxAttempts)
    QTimer::singleShot(RetryMilliseconds, &timers_,
                       [this, serial, gesture, attempt] { Dismiss(serial, gesture, attempt + 1); });
  else
    qWarning("a message box was not answered: it never came up with the keyboard focus");
}
