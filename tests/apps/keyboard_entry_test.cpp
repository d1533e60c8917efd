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
#include <string>

#include "matrix_entry/matrix_entry.h"
#include "results/tfrm_template_results.h"
#include "tests/support/scripted_services.h"
#include "worksheet/program_strings.h"
#include "worksheet/summary_data_flow.h"
#include "worksheet/tfrm_template.h"
#include "worksheet/worksheet_settings.h"

namespace {

class KeyboardEntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    programTitle = QuorvaneProgramTitle;
    savedInputsFileName = QuorvaneSavedInputsFileName;
    form = std::make_unique<TfrmTemplate>(QuorvaneWorksheetSettings(), services, dir.path().toStdString());
    results = std::make_unique<TfrmTemplateResults>(services);
    form->SetResultsWindow(results.get());
    results->SetWorksheet(form.get());
    form->SetComputeFlow(std::make_unique<tSummaryDataFlow>());
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }
  void TearDown() override {
    SetMatrixEntryDriver(nullptr);
    form.reset();
    results.reset();
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
  std::unique_ptr<TfrmTemplate> form;
  std::unique_ptr<TfrmTemplateResults> results;
};

TEST_F(KeyboardEntryTest, TabFromTheLastColumnGoesToTheNextRowsNameNotItsNumber) {
  form->txtInput1->setFocus();
  TypeHere("1");
  TabHere();
  TypeHere("10");
  TabHere();  // into the grid, at the task's name
  EXPECT_EQ(form->grdData->currentColumn(), 1);
  EXPECT_EQ(form->grdData->currentRow(), 0);
  for (const char* value : {"50", "10", "40", "55"}) {
    TabHere();
    TypeHere(value);
  }
  TabHere();
  EXPECT_EQ(form->grdData->currentColumn(), 1) << "Tab stopped on the row number";
  EXPECT_EQ(form->grdData->currentRow(), 1);
  TabHere();
  TypeHere("10");
  EXPECT_EQ(form->Cell(2, 1).toStdString(), "10");
  EXPECT_EQ(form->Cell(5, 0).toStdString(), "55");
  EXPECT_EQ(form->Cell(0, 1).toStdString(), "2");  // the row number is untouched
}

TEST_F(KeyboardEntryTest, TypingAsTheMatrixWindowOpensReplacesTheValueShown) {
  std::string typed;
  bool focused = false;
  SetMatrixEntryDriver([&](TSqMatFrm& window) {
    QApplication::setActiveWindow(&window);
    focused = QApplication::focusWidget() == window.Cell(1, 2);
    TypeHere("0.6");
    typed = window.Cell(1, 2)->text().toStdString();
    window.CloseBtn->click();
  });
  QTest::keyClicks(form->txtInput1, "1");
  QTest::keyClicks(form->txtInput2, "10");
  const char* grid[2][4] = {{"50", "10", "40", "55"}, {"10", "2", "12", "9"}};
  for (int row = 0; row < 2; ++row)
    for (int col = 2; col <= 5; ++col) form->SetCell(col, row, grid[row][col - 2]);
  QTest::mouseClick(form->cmdCompute, Qt::LeftButton);
  EXPECT_TRUE(focused) << "the first editable cell does not have the focus";
  EXPECT_EQ(typed, "0.6");
  EXPECT_DOUBLE_EQ(form->storedCorrelations[1][2], 0.6);
}

}  // namespace
