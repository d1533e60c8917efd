// The programs' windows used as a person uses them: real keys and clicks
// on the real widgets and cell editors, the programs' own message boxes
// dismissed by a key or a click, the message loop running.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <string>

#include "tests/support/real_box_services.h"
#include "tests/support/window_driving.h"
#include "worksheet/window/program_windows.h"

namespace {

constexpr const char* LengthWarning = "Maximum length of input is 6 characters.";
constexpr const char* NumericOnly = "INPUT ERROR\r\rEnter numeric data only.";
constexpr const char* ExitQuestion = "Exit from program?";
// Grid columns.
constexpr int Name = 1, Mean = 2, Sd = 3, CaseA = 4;

// The visible top-level window with this object name.
QWidget* VisibleWindow(const char* name) {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible() && window->objectName() == name) return window;
  return nullptr;
}

// Clicks a widget of the open matrix window (a step of RunSteps).
std::function<void()> ClickInMatrixWindow(const char* name) {
  return [name] {
    QWidget* window = VisibleWindow("SqMatFrm");
    QWidget* widget = window ? window->findChild<QWidget*>(name) : nullptr;
    if (widget == nullptr) {
      ADD_FAILURE() << "no " << name << " in an open matrix window";
      return;
    }
    Click(widget);
  };
}

// Waits for the matrix window to have the keyboard focus, as a person waits
// for a window to come up before typing into it.
bool MatrixWindowIsUp() {
  QWidget* window = VisibleWindow("SqMatFrm");
  const bool up = window != nullptr && QTest::qWaitFor([window] {
    return QApplication::focusWidget() != nullptr && QApplication::focusWidget()->window() == window;
  });
  if (!up) ADD_FAILURE() << "the matrix window did not come up with the keyboard focus";
  return up;
}

// Chooses the Paste item of the open context menu (a step of RunSteps).
void PasteFromContextMenu() {
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  if (menu == nullptr) {
    ADD_FAILURE() << "no context menu open";
    return;
  }
  for (QAction* action : menu->actions())
    if (action->text().remove('&').startsWith("Paste")) {
      Click(menu, menu->actionGeometry(action).center());
      return;
    }
  ADD_FAILURE() << "no Paste item in the context menu";
}

class WindowFaultsTest : public ::testing::Test {
 protected:
  // Builds and shows the program's windows afresh, optionally over the
  // worked example's saved inputs (k = 1, N = 10, r = 0.6).
  void Open(bool restoredInputs = false) {
    windows = tProgramWindows{};
    services.Clear();
    if (restoredInputs) {
      QFile::remove(dir.filePath("Quorvane.txt"));
      ASSERT_TRUE(QFile::copy(QString(QUORV_SOURCE_DIR_DEFAULT) + "/examples/batch/worked_controls_summary.txt",
                              dir.filePath("Quorvane.txt")));
    }
    windows = BuildQuorvaneWindows(services, dir.path().toStdString());
    worksheet = windows.worksheet.get();
    worksheet->show();
    worksheet->activateWindow();  // no window manager does it on a bare X server
    ASSERT_TRUE(QTest::qWaitForWindowActive(worksheet));
  }

  template <class T = QWidget>
  T* Find(const char* name) const {
    T* widget = worksheet->findChild<T*>(name);
    if (widget == nullptr) ADD_FAILURE() << "no widget " << name;
    return widget;
  }
  QTableWidget* Grid() const { return Find<QTableWidget>("grdData"); }
  std::string CellText(int row, int column) const {
    const QTableWidgetItem* item = Grid()->item(row, column);
    return item ? item->text().toStdString() : std::string();
  }
  void ClickCell(int row, int column, Qt::MouseButton button = Qt::LeftButton) const {
    Click(Grid()->viewport(), CellCentre(Grid(), row, column), button);
  }
  // The open cell editor of the grid.
  QLineEdit* CellEditor() const {
    for (QLineEdit* editor : Grid()->viewport()->findChildren<QLineEdit*>())
      if (editor->isVisible()) return editor;
    ADD_FAILURE() << "no cell editor open";
    return nullptr;
  }
  int Count(const std::string& text) const {
    int n = 0;
    for (const auto& m : services.messages) n += m.text == text;
    return n;
  }
  // Lets the keys' releases and the boxes' answers arrive.
  static void Settle() { QTest::qWait(50); }

  // k = 1 and N = 10, then Tab into the grid at the task's name.
  void TypeCountsAndEnterGrid() {
    Click(Find<QLineEdit>("txtInput1"));
    TypeText("1");
    TypeKey(Qt::Key_Tab);
    TypeText("10");
    TypeKey(Qt::Key_Tab);
  }

  QTemporaryDir dir;
  tRealBoxServices services;
  tProgramWindows windows;
  QWidget* worksheet = nullptr;
};

// The key release that cuts a seventh character shows its box; the cell
// editor must survive the box, however it is dismissed.
TEST_F(WindowFaultsTest, ASeventhCharacterInANumericCellIsCutOnceTheBoxIsDismissed) {
  for (tBoxGesture gesture : {tBoxGesture::Return, tBoxGesture::Escape, tBoxGesture::ClickYesOrOk}) {
    SCOPED_TRACE(GestureName(gesture));
    Open();
    services.defaultGesture = gesture;
    TypeCountsAndEnterGrid();
    TypeText("Test");
    TypeKey(Qt::Key_Tab);
    TypeText("1234567");
    Settle();
    EXPECT_EQ(Count(LengthWarning), 1);
    EXPECT_EQ(CellText(0, Mean), "123456");
    TypeKey(Qt::Key_Tab);
    TypeText("10");
    Settle();
    EXPECT_EQ(CellText(0, Sd), "10");
  }
}

// With the worksheet hidden behind the matrix window, closing a box must
// not end the program. Here nothing hands the keyboard focus back after a
// box (as on a desktop without a window manager, or before it has acted),
// so the next box, opened by a click, has no window that owns it.
TEST_F(WindowFaultsTest, TheProgramDoesNotEndWhileTheMatrixWindowIsOpen) {
  Open(true);
  tQuitWatch quit;
  services.focusReturns = false;
  bool matrixStillOpen = false;
  RunSteps({
      [this] { Click(Find("cmdCompute")); },
      [] {
        if (MatrixWindowIsUp()) TypeText("1.5");
      },
      ClickInMatrixWindow("CloseBtn"),  // out of range: a box
      ClickInMatrixWindow("CloseBtn"),  // the same box again
      [&] { matrixStillOpen = VisibleWindow("SqMatFrm") != nullptr; },
  });
  EXPECT_EQ(services.messages.size(), 2u);
  EXPECT_TRUE(matrixStillOpen);
  EXPECT_EQ(quit.Quits(), 0) << "the program was told to end";
}

// The window manager's close button asks as Exit does: No keeps
// everything, Yes ends the program.
TEST_F(WindowFaultsTest, ClosingTheWorksheetAsksBeforeTheProgramEnds) {
  Open();
  tQuitWatch quit;
  services.gestures = {tBoxGesture::ClickNo, tBoxGesture::ClickYesOrOk};
  RunSteps({[this] { CloseFromWindowManager(worksheet); }});
  EXPECT_EQ(Count(ExitQuestion), 1);
  EXPECT_TRUE(worksheet->isVisible());
  EXPECT_EQ(services.quitRequests + quit.Quits(), 0) << "the program ended without asking";
  RunSteps({[this] { CloseFromWindowManager(worksheet); }});
  EXPECT_EQ(Count(ExitQuestion), 2);
  EXPECT_GT(services.quitRequests + quit.Quits(), 0) << "Yes did not end the program";
}

// The window manager's close of the results window is a Return to
// Worksheet: the report stays and the program goes on.
TEST_F(WindowFaultsTest, ClosingTheResultsWindowReturnsToTheWorksheet) {
  Open(true);
  tQuitWatch quit;
  QWidget* results = windows.results.get();
  RunSteps({
      [this] { Click(Find("cmdCompute")); },
      ClickInMatrixWindow("CloseBtn"),
      [results] { CloseFromWindowManager(results); },
  });
  EXPECT_TRUE(worksheet->isVisible());
  EXPECT_EQ(quit.Quits(), 0) << "the program was told to end";
  ASSERT_NE(results->findChild<QPlainTextEdit*>("memoResults"), nullptr);
  EXPECT_FALSE(results->findChild<QPlainTextEdit*>("memoResults")->toPlainText().isEmpty());
}

// A name of 6 characters warns once; the key that dismisses the box must
// not bring it back.
TEST_F(WindowFaultsTest, ALongNameWarnsOncePerKey) {
  for (tBoxGesture gesture : {tBoxGesture::Return, tBoxGesture::Escape}) {
    SCOPED_TRACE(GestureName(gesture));
    Open();
    services.gestures = {gesture};
    services.defaultGesture = tBoxGesture::ClickYesOrOk;  // a box that comes back is clicked away
    TypeCountsAndEnterGrid();
    TypeText("Memory");
    Settle();
    EXPECT_EQ(Count(LengthWarning), 1);
    EXPECT_EQ(CellText(0, Name), "Memory");
  }
}

// Select-all, copy and paste work in a numeric field and a numeric cell;
// a paste passes the key filter and the length rule as typing does, from
// the keyboard and from the context menu alike.
TEST_F(WindowFaultsTest, PastingIntoNumericFieldsAndCellsIsCheckedAsTyping) {
  Open();
  QClipboard* clipboard = QGuiApplication::clipboard();
  TypeCountsAndEnterGrid();  // the sample-size field holds 10
  Click(Find<QLineEdit>("txtInput2"));
  TypeKey(Qt::Key_A, Qt::ControlModifier);
  TypeKey(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard->text().toStdString(), "10");
  clipboard->setText("25");
  TypeKey(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Find<QLineEdit>("txtInput2")->text().toStdString(), "25");
  DoubleClick(Grid()->viewport(), CellCentre(Grid(), 0, Mean));
  TypeKey(Qt::Key_V, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(CellText(0, Mean), "25");
  for (const auto& m : services.messages) ADD_FAILURE() << "a box: " << m.text;

  services.Clear();
  for (const char* pasted : {"1a", "1234567"}) {
    clipboard->setText(pasted);
    RunSteps({
        [this] { DoubleClick(Grid()->viewport(), CellCentre(Grid(), 0, Sd)); },
        [this] {
          if (QLineEdit* editor = CellEditor()) {
            editor->selectAll();
            Click(editor, QPoint(), Qt::RightButton);
          }
        },
        PasteFromContextMenu,
    });
  }
  Settle();
  EXPECT_EQ(Count(NumericOnly), 1);
  EXPECT_EQ(Count(LengthWarning), 1);
  EXPECT_EQ(CellText(0, Sd), "123456");
}

// Enter presses the button that has the focus, on the worksheet and in the
// matrix window.
TEST_F(WindowFaultsTest, EnterPressesTheFocusedButton) {
  Open(true);
  bool computeFocused = false;
  bool continueFocused = false;
  RunSteps({
      [&] {
        // Tab from the sample-size field through the grid to Compute.
        Click(Find<QLineEdit>("txtInput2"));
        for (int i = 0; i < 20 && QApplication::focusWidget() != Find("cmdCompute"); ++i) TypeKey(Qt::Key_Tab);
        computeFocused = QApplication::focusWidget() == Find("cmdCompute");
        if (computeFocused) TypeKey(Qt::Key_Return);  // opens the matrix window
      },
      [&] {
        if (!MatrixWindowIsUp()) return;
        TypeKey(Qt::Key_Tab);  // from the one correlation to Continue
        QWidget* focus = QApplication::focusWidget();
        continueFocused = focus != nullptr && focus->objectName() == "CloseBtn";
        if (continueFocused) TypeKey(Qt::Key_Return);
      },
  });
  EXPECT_TRUE(computeFocused);
  EXPECT_TRUE(continueFocused);
  EXPECT_TRUE(windows.results.get()->isVisible()) << "no report: Enter pressed neither button";
}

// Delete and Backspace clear a selected cell.
TEST_F(WindowFaultsTest, DeleteAndBackspaceClearASelectedCell) {
  Open(true);
  for (auto [column, key] : {std::pair{Sd, Qt::Key_Delete}, std::pair{CaseA, Qt::Key_Backspace}}) {
    ClickCell(0, column);
    TypeKey(key);
    Settle();
    EXPECT_EQ(CellText(0, column), "") << "column " << column;
  }
}

}  // namespace
