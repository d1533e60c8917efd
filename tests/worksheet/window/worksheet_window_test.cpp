// The worksheet window of both programs, driven through its real widgets
// (found by their object names) with scripted platform services; saved
// inputs live in a temporary folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/real_box_services.h"
#include "tests/support/scripted_services.h"
#include "tests/support/window_driving.h"
#include "validation/validation_messages.h"
#include "worksheet/window/program_start.h"
#include "worksheet/window/tfrm_template.h"
#include "matrix_entry/matrix_entry.h"
#include "results/tfrm_template_results.h"

namespace {

using Lines = std::vector<std::string>;

class WorksheetTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }

  std::unique_ptr<TfrmTemplate> Make(const tProgramProfile& profile) {
    return std::make_unique<TfrmTemplate>(profile, services, dir.path().toStdString());
  }
  std::string Saved(const tProgramProfile& profile) const {
    return SavedInputsPathIn(dir.path().toStdString(), profile);
  }
  static QLineEdit* Field(TfrmTemplate& form, int n) {
    return Child<QLineEdit>(form, n == 8 ? "txtinput8" : ("txtInput" + std::to_string(n)).c_str());
  }
  static std::string Text(TfrmTemplate& form, int n) { return Field(form, n)->text().toStdString(); }
  static std::string Caption(TfrmTemplate& form, const char* name) {
    return Child<QLabel>(form, name)->text().toStdString();
  }

  QTemporaryDir dir;
  tScriptedServices services;
};

TEST_F(WorksheetTest, CaptionsAreExactInBothPrograms) {
  auto raw = Make(QuorvikProfile());
  EXPECT_EQ(raw->windowTitle().toStdString(),
            "Quorvik.exe: Classical test on the difference between two cases allowing for covariates "
            "(Raw data as input) ");
  EXPECT_EQ(Caption(*raw, "Label1"), "Number of control participants (n) :");
  EXPECT_EQ(Caption(*raw, "Label2"), "Number of covariates :");
  EXPECT_EQ(Caption(*raw, "lblComments"), "User's Notes:");
  auto* rawChoice = Child<TRadioGroup>(*raw, "RadioGroup1");
  EXPECT_EQ(rawChoice->title().toStdString(), "95% credible limit required...");
  EXPECT_EQ(rawChoice->Item(1)->text().toStdString(), "One-sided lower");
  for (const auto& [name, caption] : {std::pair{"cmdCompute", "Compute"}, {"btnclearData", "Clear Data "},
                                     {"ExitBtn", "Exit"}})
    EXPECT_EQ(Child<QPushButton>(*raw, name)->text().toStdString(), caption);
  EXPECT_EQ(raw->size(), QSize(792, 573));

  auto summary = Make(QuorvaneProfile());
  EXPECT_EQ(summary->windowTitle().toStdString(),
            "Quorvane.exe: Classical test on the difference between two cases allowing for covariates");
  EXPECT_EQ(Caption(*summary, "Label1"), "Number of covariates : ");
  EXPECT_EQ(Caption(*summary, "Label2"), "Sample size (N) of control sample:");
  auto* choice = Child<TRadioGroup>(*summary, "RadioGroup1");
  EXPECT_EQ(choice->Item(1)->text().toStdString(), "One-sided  lower");
  EXPECT_EQ(choice->ItemIndex(), 0);
  EXPECT_EQ(summary->size(), QSize(792, 585));
  EXPECT_EQ(Caption(*summary, "lblItems"), "Test No.");
  EXPECT_EQ(Caption(*summary, "lblCol3"), "SD");

  for (TfrmTemplate* form : {raw.get(), summary.get()})
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(Field(*form, n)->isVisibleTo(form), n <= 2) << n;
  EXPECT_FALSE(Child<QTableWidget>(*raw, "grdData")->isVisibleTo(raw.get()));
  EXPECT_TRUE(Child<QTableWidget>(*summary, "grdData")->isVisibleTo(summary.get()));

  const std::string rawText = Child<QPlainTextEdit>(*raw, "DescripFld")->toPlainText().toStdString();
  EXPECT_EQ(rawText.rfind("Quorvik", 0), 0u);
  EXPECT_NE(rawText.find("Quorvane"), std::string::npos);
  EXPECT_NE(rawText.find("(95% confidence limits"), std::string::npos);
}

TEST_F(WorksheetTest, KeyFilterAndLengthRuleActOnTheFieldsAsTheyAreTyped) {
  auto raw = Make(QuorvikProfile());
  QTest::keyClicks(Field(*raw, 1), "1a2");
  EXPECT_EQ(Text(*raw, 1), "12");
  EXPECT_EQ(services.texts(), Lines{NumericKeyMessage});
  EXPECT_EQ(services.beeps, 1);
  QTest::keyClick(Field(*raw, 2), Qt::Key_V, Qt::ControlModifier);  // a paste types a control character
  EXPECT_EQ(Text(*raw, 2), "");
  QTest::keyClicks(Field(*raw, 2), "-2,5");
  EXPECT_EQ(Text(*raw, 2), "-2.5");

  auto summary = Make(QuorvaneProfile());
  services.Clear();
  QTest::keyClicks(Field(*summary, 2), "1234567");
  EXPECT_EQ(Text(*summary, 2), "123456");
  EXPECT_EQ(Field(*summary, 2)->selectedText().toStdString(), "123456");
  EXPECT_EQ(services.texts(), Lines{MaximumLengthMessage});
  // The covariates field has no key filter: it sizes the grid instead.
  services.Clear();
  QTest::keyClicks(Field(*summary, 1), "5");
  EXPECT_EQ(Child<QTableWidget>(*summary, "grdData")->rowCount(), 6);
  Field(*summary, 1)->clear();
  QTest::keyClicks(Field(*summary, 1), "13");
  EXPECT_EQ(Text(*summary, 1), "12");
  EXPECT_EQ(Child<QTableWidget>(*summary, "grdData")->rowCount(), 13);
  EXPECT_EQ(Child<QTableWidget>(*summary, "grdData")->item(6, 1)->text().toStdString(), "Cov 6");
  EXPECT_EQ(services.texts(), Lines{GridCapMessage});
}

TEST_F(WorksheetTest, GridKeysFilterNumbersAndCutLongNumbers) {
  auto form = Make(QuorvaneProfile());
  QTableWidget& grid = *Child<QTableWidget>(*form, "grdData");
  grid.setCurrentCell(0, 2);
  QTest::keyClick(&grid, '4');
  auto* editor = qobject_cast<QLineEdit*>(grid.indexWidget(grid.currentIndex()));
  ASSERT_NE(editor, nullptr);
  QTest::keyClicks(editor, "x,5");
  EXPECT_EQ(grid.item(0, 2)->text().toStdString(), "4.5");
  EXPECT_EQ(services.texts(), Lines{NumericKeyMessage});
  QTest::keyClicks(editor, "6789");
  EXPECT_EQ(grid.item(0, 2)->text().toStdString(), "4.5678");
  EXPECT_EQ(services.texts().back(), MaximumLengthMessage);
}

TEST_F(WorksheetTest, ComputeFocusesTheFaultyFieldAndSavesNothingBeforeTheChecksPass) {
  auto raw = Make(QuorvikProfile());
  raw->show();
  Child<QPushButton>(*raw, "cmdCompute")->click();
  EXPECT_EQ(raw->focusWidget(), Field(*raw, 1));
  Field(*raw, 1)->setText("5");
  Field(*raw, 2)->setText("4");
  Child<QPushButton>(*raw, "cmdCompute")->click();
  EXPECT_EQ(services.last().text, " With a control sample size of  5, the maximum number of covariates is  3 ");
  EXPECT_EQ(raw->focusWidget(), Field(*raw, 2));
  EXPECT_FALSE(QFile::exists(QString::fromStdString(Saved(QuorvikProfile()))));

  auto summary = Make(QuorvaneProfile());
  summary->show();
  Field(*summary, 1)->setText("1");
  Field(*summary, 2)->setText("10");
  Child<QPushButton>(*summary, "cmdCompute")->click();  // the grid's numbers are empty
  QTableWidget& grid = *Child<QTableWidget>(*summary, "grdData");
  EXPECT_EQ(grid.currentColumn(), 2);
  EXPECT_EQ(grid.currentRow(), 0);
  EXPECT_TRUE(grid.hasFocus() || grid.isAncestorOf(summary->focusWidget()));
}

TEST_F(WorksheetTest, RestoredInputsShowAtStartAndClearDataAsksThenEmptiesEverythingAndDeletesTheFile) {
  std::ofstream(Saved(QuorvaneProfile()), std::ios::binary)
      << "2\n20.0\nTask\n50\n10\n40\n55\nAge\n60\n8\n62\n70\nEdu\n12\n2.5\n11\n9\n1.000\n0.500\n1.000\n0.250\n"
         "-0.125\n1.000\n";
  auto form = Make(QuorvaneProfile());
  EXPECT_TRUE(services.messages.empty());
  QTableWidget& grid = *Child<QTableWidget>(*form, "grdData");
  EXPECT_EQ(Text(*form, 2), "20");
  EXPECT_EQ(grid.rowCount(), 3);
  EXPECT_EQ(grid.item(1, 1)->text().toStdString(), "Age");
  EXPECT_EQ(grid.item(2, 0)->text().toStdString(), "3");
  EXPECT_FALSE(grid.item(2, 0)->flags() & Qt::ItemIsEditable);
  EXPECT_EQ(Child<QPushButton>(*form, "cmdCompute")->text().toStdString(), "Continue");
  EXPECT_DOUBLE_EQ(form->CurrentInputs().correlations[2][3], -0.125);
  form->show();
  EXPECT_EQ(form->focusWidget(), Field(*form, 2));  // restored inputs: the focus goes to field 2

  // Clear Data asks first: No keeps everything.
  Child<QPlainTextEdit>(*form, "memoComments")->setPlainText("notes");
  services.answers = {tMessageResult::No, tMessageResult::Yes};
  Child<QPushButton>(*form, "btnclearData")->click();
  EXPECT_EQ(services.last().kind, tMessageKind::Confirmation);
  EXPECT_EQ(Text(*form, 1), "2");
  EXPECT_EQ(grid.item(1, 1)->text().toStdString(), "Age");
  EXPECT_TRUE(QFile::exists(QString::fromStdString(Saved(QuorvaneProfile()))));
  Child<QPushButton>(*form, "btnclearData")->click();
  EXPECT_EQ(Text(*form, 1), "");
  EXPECT_TRUE(Child<QPlainTextEdit>(*form, "memoComments")->toPlainText().isEmpty());
  EXPECT_EQ(grid.rowCount(), 3);
  EXPECT_EQ(grid.item(1, 1)->text().toStdString(), "");
  EXPECT_EQ(grid.item(1, 0)->text().toStdString(), "2");
  EXPECT_EQ(form->CurrentInputs().correlations[2][3], 0.0);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(Saved(QuorvaneProfile()))));
  EXPECT_EQ(form->focusWidget(), Field(*form, 1));
}

// Run at display scale 2 too, where the screen is too small for the
// windows: each is shrunk into the screen's free area, its content
// keeping its size and scrolling.
TEST_F(WorksheetTest, WindowsStayInsideTheScreenAndScrollWhenTooLarge) {
  EntryMatrix matrix;
  std::vector<std::pair<std::unique_ptr<QWidget>, QSize>> windows;  // each with its content's size
  windows.emplace_back(Make(QuorvaneProfile()), QSize(792, 585));
  windows.emplace_back(std::make_unique<TSqMatFrm>(matrix, 2, 2, "Matrix", "", "", nullptr, true, services),
                       QSize(800, 600));
  windows.emplace_back(std::make_unique<TfrmTemplateResults>(services), QSize(792, 554));
  for (auto& [window, content] : windows) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QRect area = window->screen()->availableGeometry();
    const auto* scroller = window->findChild<QScrollArea*>("contentScroller");
    const bool fits = area.width() >= content.width() && area.height() >= content.height();
    EXPECT_EQ(window->minimumSize() == window->maximumSize(), fits);
    EXPECT_TRUE(fits || area.contains(window->frameGeometry()));
    EXPECT_TRUE(fits || (scroller->widget()->size() == content && scroller->verticalScrollBar()->isVisible()));
  }
  // The worksheet's field with the focus is in view after Tab.
  QWidget& worksheet = *windows.front().first;
  worksheet.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&worksheet));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  const QWidget* viewport = worksheet.findChild<QScrollArea*>("contentScroller")->viewport();
  const QWidget* focused = QApplication::focusWidget();
  EXPECT_TRUE(viewport->rect().contains(QRect(focused->mapTo(viewport, QPoint(0, 0)), focused->size())));
}

// Enter on Clear Data, then Enter on its real question: No, the default,
// keeps the saved inputs.
TEST_F(WorksheetTest, EnterAnswersTheClearDataQuestionNo) {
  std::ofstream(Saved(QuorvikProfile()), std::ios::binary) << "12\n1\n";
  tRealBoxServices boxes;
  TfrmTemplate form(QuorvikProfile(), boxes, dir.path().toStdString());
  form.show();
  QTest::keyClicks(Field(form, 1), "12");
  QPushButton* clear = Child<QPushButton>(form, "btnclearData");
  clear->setFocus();
  QTest::keyClick(clear, Qt::Key_Return);
  ASSERT_EQ(boxes.messages.size(), 1u);
  EXPECT_EQ(boxes.last().buttons, tMessageButtons::YesNoDefaultNo);
  EXPECT_EQ(boxes.results, std::vector<tMessageResult>{tMessageResult::No});
  EXPECT_TRUE(QFile::exists(QString::fromStdString(Saved(QuorvikProfile()))));
  EXPECT_EQ(Text(form, 1), "12");
}

TEST_F(WorksheetTest, ExitAsksFirstAndEndsTheProgramOnlyOnYes) {
  auto form = Make(QuorvikProfile());
  services.answers = {tMessageResult::No, tMessageResult::Yes};
  Child<QPushButton>(*form, "ExitBtn")->click();
  EXPECT_EQ(services.last().kind, tMessageKind::Confirmation);
  EXPECT_EQ(services.last().text, "Exit from program?");
  EXPECT_EQ(services.quitRequests, 0);
  Child<QPushButton>(*form, "ExitBtn")->click();
  EXPECT_EQ(services.quitRequests, 1);
}

TEST_F(WorksheetTest, NotesGrowWhileTheyHaveTheFocusAndHoldAtMost250Characters) {
  auto form = Make(QuorvikProfile());
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  auto* notes = Child<QPlainTextEdit>(*form, "memoComments");
  EXPECT_EQ(QFontInfo(notes->font()).family(), "Liberation Mono");
  notes->setPlainText("first line\nsecond line");
  notes->setFocus();
  EXPECT_EQ(notes->height(), 70);
  Field(*form, 2)->setFocus();
  EXPECT_EQ(notes->height(), 25);
  notes->setPlainText(QString(300, 'n'));
  EXPECT_EQ(notes->toPlainText().size(), 250);
}

TEST_F(WorksheetTest, ComingBackFromAMessageBoxKeepsTheGridCellComingBackFromAWindowResetsIt) {
  auto form = Make(QuorvaneProfile());
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  QTableWidget& grid = *Child<QTableWidget>(*form, "grdData");
  auto visitAndReturn = [&](QWidget& other) {
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    grid.setCurrentCell(2, 3);  // a flow picks the faulty cell after the box
    other.close();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  };
  QMessageBox box(QMessageBox::Warning, "Warning", "Standard deviations must have a positive value.");
  visitAndReturn(box);
  EXPECT_EQ(grid.currentColumn(), 3);
  EXPECT_EQ(grid.currentRow(), 2);
  QWidget otherWindow;
  visitAndReturn(otherWindow);
  EXPECT_EQ(grid.currentColumn(), 2);
  EXPECT_EQ(grid.currentRow(), 0);
}

TEST_F(WorksheetTest, SavedInputsAreWrittenInTheUserDataFolderWhenTheProgramFolderIsNotWritable) {
  const std::string folder = dir.path().toStdString();
  const tSavedInputsPlace writable = ChooseSavedInputsPlace(folder, "/user/data");
  EXPECT_EQ(writable.folder, folder);
  EXPECT_EQ(writable.readOnlyProgramFolder, "");
  const tSavedInputsPlace readOnly = ChooseSavedInputsPlace(folder + "/missing", "/user/data");
  EXPECT_EQ(readOnly.folder, "/user/data");
  EXPECT_EQ(readOnly.readOnlyProgramFolder, folder + "/missing");
}

}  // namespace
