// Mouse events through the window system (see the header).
#define QTEST_QPA_MOUSE_HANDLING
#include "tests/support/window_driving.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace {

// A release that must wait for a modal window's loop to end comes this
// much later.
constexpr int DeferredReleaseMilliseconds = 1;
// Time between two scripted steps: room for releases and boxes.
constexpr int StepPauseMilliseconds = 10;

int pendingReleases = 0;

// QTest sends to the open menu, else to the window with the keyboard focus.
bool CanType() { return QApplication::activePopupWidget() != nullptr || QGuiApplication::focusWindow() != nullptr; }

// The text a keyboard gives with the key: Ctrl with a letter its control
// character, the editing keys their ASCII codes.
QString KeyText(Qt::Key key, Qt::KeyboardModifiers modifiers) {
  if ((modifiers & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
    return QString(QChar(key - Qt::Key_A + 1));
  switch (key) {
    case Qt::Key_Return: return QStringLiteral("\r");
    case Qt::Key_Enter: return QStringLiteral("\r");
    case Qt::Key_Tab: return QStringLiteral("\t");
    case Qt::Key_Backspace: return QStringLiteral("\b");
    case Qt::Key_Escape: return QStringLiteral("\x1b");
    case Qt::Key_Delete: return QStringLiteral("\x7f");
    default: break;
  }
  if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde) {
    const QChar c(static_cast<char16_t>(key));
    return (modifiers & Qt::ShiftModifier) ? QString(c) : QString(c.toLower());
  }
  return QString();
}

void SendRelease(Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers) {
  if (CanType()) QTest::sendKeyEvent(QTest::Release, static_cast<QWidget*>(nullptr), key, text, modifiers);
}

bool PressAndRelease(Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers) {
  if (!CanType()) return false;
  const QPointer<QWidget> modalBefore = QApplication::activeModalWidget();
  QTest::sendKeyEvent(QTest::Press, static_cast<QWidget*>(nullptr), key, text, modifiers);
  if (QApplication::activeModalWidget() == modalBefore) {
    SendRelease(key, text, modifiers);
    return true;
  }
  ++pendingReleases;
  QTimer::singleShot(DeferredReleaseMilliseconds, qApp, [key, text, modifiers] {
    --pendingReleases;
    SendRelease(key, text, modifiers);
  });
  return true;
}

// The modal windows and menus on the screen.
std::vector<const QWidget*> ModalWindows() {
  std::vector<const QWidget*> windows;
  for (const QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && (w->isModal() || w->windowType() == Qt::Popup)) windows.push_back(w);
  return windows;
}

}  // namespace

bool TypeKey(Qt::Key key, Qt::KeyboardModifiers modifiers) {
  return PressAndRelease(key, KeyText(key, modifiers), modifiers);
}

Qt::Key KeyOf(QChar c) {
  // A printable ASCII character's key code is its upper-case code.
  if (c.unicode() >= 0x20 && c.unicode() < 0x7f) return static_cast<Qt::Key>(c.toUpper().unicode());
  return Qt::Key_unknown;
}

void TypeText(const QString& text) {
  for (QChar c : text)
    if (!PressAndRelease(KeyOf(c), QString(c), Qt::NoModifier)) return;
}

void Click(QWidget* widget, QPoint pos, Qt::MouseButton button) { QTest::mouseClick(widget, button, {}, pos); }

void DoubleClick(QWidget* widget, QPoint pos) { QTest::mouseDClick(widget, Qt::LeftButton, {}, pos); }

QPoint CellCentre(const QAbstractItemView* grid, int row, int column) {
  return grid->visualRect(grid->model()->index(row, column)).center();
}

void CloseFromWindowManager(QWidget* window) {
  // A top-level window's close goes through the platform window, which
  // delivers it as the window system's (spontaneous) close event.
  if (QWindow* handle = window->windowHandle()) handle->close();
}

bool tActionGate::MayAct() const {
  if (pendingReleases > 0) return false;
  if (modalAtStart_.empty()) return true;
  const std::vector<const QWidget*>& before = modalAtStart_.back();
  for (const QWidget* w : ModalWindows())
    if (std::find(before.begin(), before.end(), w) == before.end()) return true;
  return false;
}

void tActionGate::Run(const std::function<void()>& action) {
  modalAtStart_.push_back(ModalWindows());
  action();
  modalAtStart_.pop_back();
}

class tQuitWatch::tFilter : public QObject {
 public:
  int quits = 0;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == qApp && event->type() == QEvent::Quit) {
      ++quits;
      return true;
    }
    return false;
  }
};

tQuitWatch::tQuitWatch() : filter_(new tFilter) { qApp->installEventFilter(filter_); }

tQuitWatch::~tQuitWatch() {
  qApp->removeEventFilter(filter_);
  delete filter_;
}

int tQuitWatch::Quits() const { return filter_->quits; }

namespace {

class tStepRunner {
 public:
  explicit tStepRunner(std::vector<std::function<void()>> steps) : steps_(std::move(steps)) {}

  void Tick() {
    if (!gate_.MayAct() || qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr) {
      Schedule();
      return;
    }
    if (next_ == steps_.size()) {
      QCoreApplication::exit(0);
      return;
    }
    const std::function<void()> step = steps_[next_++];
    Schedule();
    gate_.Run(step);
  }

  void Schedule() { QTimer::singleShot(StepPauseMilliseconds, &timers_, [this] { Tick(); }); }

 private:
  std::vector<std::function<void()>> steps_;
  std::size_t next_ = 0;
  tActionGate gate_;
  QObject timers_;  // a tick still pending when the runner ends is dropped
};

}  // namespace

void RunSteps(std::vector<std::function<void()>> steps) {
  tStepRunner runner(std::move(steps));
  runner.Schedule();
  QApplication::exec();
}

bool tDrivenMatrixEntry::EnterCorrelations(tStoredCorrelations& matrix, int order) {
  ++windowsShown;
  EntryMatrix entry;
  for (int i = 1; i <= order; ++i)
    for (int j = 1; j <= order; ++j) entry[i][j] = matrix[i][j];
  if (worksheet != nullptr) worksheet->hide();
  bool accepted = false;
  {
    TSqMatFrm window(entry, order, order, "Matrix Entry", std::string(), std::string(), worksheet, true, services_);
    window.show();
    if (act_) act_(window);
    accepted = window.Outcome() == TSqMatFrm::tOutcome::Accepted;
  }
  if (worksheet != nullptr) worksheet->show();
  if (accepted)
    for (int i = 1; i <= order; ++i)
      for (int j = 1; j <= order; ++j) matrix[i][j] = entry[i][j];
  return accepted;
}
