// Keyboard and mouse input as a person gives it. Keys go through the
// window system to the window that has the keyboard focus, and each key's
// release goes to whatever has the focus once its press has been handled:
// when the press closed a modal window (a box), the release comes after
// that window's loop has ended, as the window system would deliver it.
// Mouse input goes to the window under the widget, so a window behind a
// modal one refuses it. The window manager's close comes as the close
// event it sends.
#pragma once

#include <QPoint>
#include <QString>
#include <Qt>
#include <functional>
#include <vector>

class QAbstractItemView;
class QWidget;

// Press and release; false (and nothing sent) when no window has the
// keyboard focus.
bool TypeKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// One key per character (letters, digits, the punctuation of a US keyboard).
void TypeText(const QString& text);
// The key that types character c, or Qt::Key_unknown.
Qt::Key KeyOf(QChar c);
// True while a release is still on its way.
bool ReleasesPending();

// pos in widget coordinates; the centre when null.
void Click(QWidget* widget, QPoint pos = QPoint(), Qt::MouseButton button = Qt::LeftButton);
void DoubleClick(QWidget* widget, QPoint pos = QPoint());
// The centre of a cell of a grid, in its viewport's coordinates.
QPoint CellCentre(const QAbstractItemView* grid, int row, int column);

// The close button of the window's frame.
void CloseFromWindowManager(QWidget* window);

// When a user driven by timers may act next: not while the last action is
// still being handled -- unless it opened a modal window or a menu and
// waits in that window's loop, where the user then acts -- and not while a
// key's release is on its way.
class tActionGate {
 public:
  bool MayAct() const;
  void Run(const std::function<void()>& action);

 private:
  // The modal windows and menus up when each action being handled began,
  // innermost last.
  std::vector<std::vector<const QWidget*>> modalAtStart_;
};

// Watches for the application being told to end its message loop (a Quit
// event: QApplication::quit, or Qt closing the last visible primary
// window) and holds the quit back, so that the test process goes on.
class tQuitWatch {
 public:
  tQuitWatch();
  ~tQuitWatch();
  tQuitWatch(const tQuitWatch&) = delete;
  tQuitWatch& operator=(const tQuitWatch&) = delete;
  int Quits() const;

 private:
  class tFilter;
  tFilter* filter_;
};

// Runs the steps one after another inside the application's message loop,
// as a person acts while a program runs (Qt ends a program only from within
// that loop). A step that opens a modal window (the matrix window) is still
// open while the next steps act in that window; no step starts while a
// message box is up (the services answer it). The loop ends after the last
// step, closing whatever modal window is left.
void RunSteps(std::vector<std::function<void()>> steps);
