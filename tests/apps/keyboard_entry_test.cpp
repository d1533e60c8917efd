// What a keyboard user types lands where it is meant to: Quorvane's grid
// passes over its row numbers on Tab, and the matrix window opens with the
// value of its first cell selected, so typing replaces "0.000" instead of
// adding to it (which gave "0.0000", a correlation of 0 with no question).
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <functional>
#include <string>

#include "tests/support/scripted_services.h"
#include "tests/support/window_driving.h"
#include "worksheet/window/program_windows.h"

namespace {

class KeyboardEntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    auto entry = std::make_unique<tDrivenMatrixEntry>(services, [this](TSqMatFrm& window) {
      if (matrixUser) matrixUser(window);
    });
    windows = BuildQuorvaneWindows(services, dir.path().toStdString(), std::move(entry));
    form = windows.worksheet.get();
    grid = Child<QTableWidget>(*form, "grdData");
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
  }

  // Types text into whatever has the keyboard focus.
  static void TypeHere(const char* text) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClicks(focus, text);
  }
  static void TabHere() {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, Qt::Key_Tab);
  }

  QTemporaryDir dir;
  tScriptedServices services;
  std::function<void(TSqMatFrm&)> matrixUser;
  tProgramWindows windows;
  TfrmTemplate* form = nullptr;
  QTableWidget* grid = nullptr;
};

TEST_F(KeyboardEntryTest, TabFromTheLastColumnGoesToTheNextRowsNameNotItsNumber) {
  Child<QLineEdit>(*form, "txtInput1")->setFocus();
  TypeHere("1");
  TabHere();
  TypeHere("10");
  TabHere();  // into the grid, at the task's name
  EXPECT_EQ(grid->currentColumn(), 1);
  EXPECT_EQ(grid->currentRow(), 0);
  for (const char* value : {"50", "10", "40", "55"}) {
    TabHere();
    TypeHere(value);
  }
  TabHere();
  EXPECT_EQ(grid->currentColumn(), 1) << "Tab stopped on the row number";
  EXPECT_EQ(grid->currentRow(), 1);
  TabHere();
  TypeHere("10");
  EXPECT_EQ(grid->item(1, 2)->text().toStdString(), "10");
  EXPECT_EQ(grid->item(0, 5)->text().toStdString(), "55");
  EXPECT_EQ(grid->item(1, 0)->text().toStdString(), "2");  // the row number is untouched
}

TEST_F(KeyboardEntryTest, TypingAsTheMatrixWindowOpensReplacesTheValueShown) {
  std::string typed;
  bool focused = false;
  matrixUser = [&](TSqMatFrm& window) {
    QApplication::setActiveWindow(&window);
    focused = QApplication::focusWidget() == window.Cell(1, 2);
    TypeHere("0.6");
    typed = window.Cell(1, 2)->text().toStdString();
    Child<QPushButton>(window, "CloseBtn")->click();
  };
  QTest::keyClicks(Child<QLineEdit>(*form, "txtInput1"), "1");
  QTest::keyClicks(Child<QLineEdit>(*form, "txtInput2"), "10");
  const char* cells[2][4] = {{"50", "10", "40", "55"}, {"10", "2", "12", "9"}};
  for (int row = 0; row < 2; ++row)
    for (int col = 2; col <= 5; ++col) grid->item(row, col)->setText(cells[row][col - 2]);
  QTest::mouseClick(Child<QPushButton>(*form, "cmdCompute"), Qt::LeftButton);
  EXPECT_TRUE(focused) << "the first editable cell does not have the focus";
  EXPECT_EQ(typed, "0.6");
  EXPECT_DOUBLE_EQ(form->CurrentInputs().correlations[1][2], 0.6);
}

}  // namespace
