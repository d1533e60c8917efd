// Driving the programs' windows in tests as a person does.
//
// Real input: keys go through the window system to the window that has the
// keyboard focus, and each key's release goes to whatever has the focus
// once its press has been handled (when the press closed a box, after that
// box's loop has ended, as the window system delivers it). Clicks go to the
// window under the widget, so a window behind a modal one refuses them.
// The window manager's close comes as the close it sends.
//
// tDrivenMatrixEntry shows the real matrix window without a modal loop, for
// tests that act on it directly.
#pragma once

#include <QPoint>
#include <QString>
#include <QWidget>
#include <Qt>
#include <functional>
#include <string>
#include <vector>

#include "matrix_entry/matrix_entry.h"
#include "platform/services.h"
#include "tests/support/find_child.h"
#include "worksheet/logic/summary_data_flow.h"

class QAbstractItemView;

// Press and release; false (and nothing sent) when no window has the
// keyboard focus.
bool TypeKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// One key per character (letters, digits, the punctuation of a US keyboard).
void TypeText(const QString& text);
// The key that types character c, or Qt::Key_unknown.
Qt::Key KeyOf(QChar c);

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

// Counts the application being told to end its message loop by a Quit
// event (Qt closing its last primary window, or QApplication::quit) and
// holds the quit back, so that the test goes on.
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
// as a person acts while a program runs. A step that opens a modal window
// (the matrix window) is still open while the next steps act in that
// window; no step starts while a message box is up (the services answer
// it). The loop ends after the last step.
void RunSteps(std::vector<std::function<void()>> steps);

// Builds the matrix window as the program does, shows it without a modal
// loop and calls act, which plays the user (types into cells, presses the
// buttons). A window that act leaves open is left as by Return to
// Worksheet. The worksheet, once set, is hidden while the window is up.
class tDrivenMatrixEntry : public tMatrixEntry {
 public:
  tDrivenMatrixEntry(tPlatformServices& services, std::function<void(TSqMatFrm&)> act)
      : services_(services), act_(std::move(act)) {}

  bool EnterCorrelations(tStoredCorrelations& matrix, int order) override;

  QWidget* worksheet = nullptr;
  int windowsShown = 0;

 private:
  tPlatformServices& services_;
  std::function<void(TSqMatFrm&)> act_;
};
