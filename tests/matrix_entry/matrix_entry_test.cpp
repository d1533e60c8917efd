#include "matrix_entry/matrix_entry.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "tests/support/scripted_services.h"
#include "tests/support/find_child.h"
#include "validation/validation_messages.h"

namespace {

std::string ZeroQuestion(int r, int c) {
  return "Do you want continue with cell (" + std::to_string(r) + "," + std::to_string(c) +
         ") set to the default value of '0.000'?";
}

EntryMatrix Identity(int order) {
  EntryMatrix m;
  for (int i = 1; i <= order; ++i) m[i][i] = 1.0;
  return m;
}

class MatrixEntryTest : public ::testing::Test {
 protected:
  // Builds and shows (without a modal loop) a lower-triangle window, as the
  // summary-data worksheet opens it.
  TSqMatFrm& Open(int order, bool lowerTriangleOnly = true) {
    form = std::make_unique<TSqMatFrm>(matrix, order, order, "Matrix Entry", "", "", nullptr,
                                       lowerTriangleOnly, services);
    form->show();
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    return *form;
  }

  void Type(int c, int r, const QString& text) {
    QLineEdit* cell = form->Cell(c, r);
    ASSERT_NE(cell, nullptr);
    cell->selectAll();
    QTest::keyClicks(cell, text);
  }

  QWidget* Focused() const { return QApplication::focusWidget(); }

  tScriptedServices services;
  EntryMatrix matrix = Identity(3);
  std::unique_ptr<TSqMatFrm> form;
};

}  // namespace

TEST_F(MatrixEntryTest, CellsAreNamedAndFormattedTheDiagonalBlueAndReadOnly) {
  matrix[1][2] = -0.5;
  matrix[2][1] = 0.7;  // above the diagonal: not shown in lower-triangle mode
  matrix[1][3] = 0.25;
  TSqMatFrm& f = Open(3);

  QStringList names;
  for (QLineEdit* e : f.findChildren<QLineEdit*>()) names << e->objectName();
  names.sort();
  EXPECT_EQ(names, QStringList({"mat1x1", "mat1x2", "mat1x3", "mat2x2", "mat2x3", "mat3x3"}));
  EXPECT_EQ(f.Cell(2, 1), nullptr);
  EXPECT_EQ(f.Cell(4, 4), nullptr);

  EXPECT_EQ(f.Cell(1, 2)->text(), "-0.500");
  EXPECT_EQ(f.Cell(1, 3)->text(), "0.250");
  EXPECT_EQ(f.Cell(2, 3)->text(), "0.000");
  for (int i = 1; i <= 3; ++i) {
    QLineEdit* d = f.Cell(i, i);
    EXPECT_EQ(d->text(), "1.000");
    EXPECT_TRUE(d->isReadOnly());
    EXPECT_EQ(d->palette().color(QPalette::Text), QColor(Qt::blue));
    EXPECT_FALSE(d->focusPolicy() & Qt::TabFocus);
  }
  QLineEdit* off = f.Cell(1, 2);
  EXPECT_FALSE(off->isReadOnly());
  EXPECT_NE(off->palette().color(QPalette::Text), QColor(Qt::blue));
  EXPECT_EQ(off->maxLength(), 6);
  EXPECT_EQ(off->size(), QSize(37, 16));

  // Typing into the read-only diagonal changes nothing.
  f.Cell(2, 2)->setFocus();
  QTest::keyClicks(f.Cell(2, 2), "5");
  EXPECT_EQ(f.Cell(2, 2)->text(), "1.000");

  // Without the lower-triangle mode every cell of a rectangle is shown.
  TSqMatFrm full(matrix, 2, 3, "Matrix Entry", "", "", nullptr, false, services);
  EXPECT_EQ(full.findChildren<QLineEdit*>().size(), 6);
  ASSERT_NE(full.Cell(2, 1), nullptr);
  EXPECT_EQ(full.Cell(2, 1)->objectName(), "mat2x1");
  EXPECT_EQ(full.Cell(3, 1), nullptr);
}

TEST_F(MatrixEntryTest, WindowButtonsAndTabOrder) {
  TSqMatFrm& f = Open(3);
  EXPECT_EQ(f.objectName(), "SqMatFrm");
  EXPECT_EQ(f.windowTitle(), "Matrix Entry");
  EXPECT_FALSE(f.windowFlags() & Qt::WindowCloseButtonHint);
  for (const auto& [name, caption, left] : {std::tuple{"CloseBtn", "Continue", 16}, {"ClearBtn", "Clear Data", 216},
                                             {"ReturnBtn", "Return to Worksheet", 416}}) {
    QPushButton* button = Child<QPushButton>(f, name);
    EXPECT_EQ(button->text(), caption);
    EXPECT_EQ(button->geometry(), QRect(left, 506, 161, 37)) << name;
    EXPECT_EQ(button->font().pointSize(), 10) << name;
  }

  // The Tab key: the editable cells row by row, then the three buttons,
  // and round again; the diagonal is never visited.
  const std::vector<QWidget*> expected = {f.Cell(1, 2), f.Cell(1, 3), f.Cell(2, 3),
                                          Child<QPushButton>(f, "CloseBtn"),   Child<QPushButton>(f, "ClearBtn"),   Child<QPushButton>(f, "ReturnBtn"), f.Cell(1, 2)};
  EXPECT_EQ(Focused(), expected[0]) << "the first editable cell has the focus when the window opens";
  expected[0]->setFocus();
  for (std::size_t i = 1; i < expected.size(); ++i) {
    QTest::keyClick(Focused(), Qt::Key_Tab);
    EXPECT_EQ(Focused(), expected[i]) << "step " << i << ": " << Focused()->objectName().toStdString();
  }
}

TEST_F(MatrixEntryTest, TheZeroQuestionKeepsTheWindowOnNoAndItsMarkerRemembersYes) {
  TSqMatFrm& f = Open(3);
  services.answers = {tMessageResult::No};
  Child<QPushButton>(f, "CloseBtn")->click();
  EXPECT_EQ(services.texts(), std::vector<std::string>({ZeroQuestion(2, 1)}));
  EXPECT_EQ(services.last().kind, tMessageKind::Confirmation);
  EXPECT_EQ(services.last().caption, "Confirm");
  EXPECT_EQ(services.last().buttons, tMessageButtons::YesNo);
  EXPECT_EQ(f.Outcome(), TSqMatFrm::tOutcome::Open);
  EXPECT_EQ(Focused(), f.Cell(1, 2));
  EXPECT_EQ(f.Cell(1, 2)->selectedText(), "0.000");

  services.Clear();
  services.answers = {tMessageResult::Yes, tMessageResult::Yes, tMessageResult::No};
  Child<QPushButton>(f, "CloseBtn")->click();
  EXPECT_EQ(Focused(), f.Cell(2, 3));
  // Cells (2,1) and (3,1) are not asked about again; zero written another
  // way is taken without the question.
  services.Clear();
  services.answers = {tMessageResult::Yes};
  Type(1, 2, "0");
  Child<QPushButton>(f, "CloseBtn")->click();
  EXPECT_EQ(services.texts(), std::vector<std::string>({ZeroQuestion(3, 2)}));
  EXPECT_EQ(f.Outcome(), TSqMatFrm::tOutcome::Accepted);
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(matrix[i][j], i == j ? 1.0 : 0.0) << i << "," << j;
}

TEST_F(MatrixEntryTest, ValuesMustLieBetweenMinusOneAndOne) {
  TSqMatFrm& f = Open(3);
  services.defaultAnswer = tMessageResult::Yes;
  for (const char* bad : {"1.000", "-1.000", "1", "-1.5", "7"}) {
    services.Clear();
    Type(1, 3, bad);
    Child<QPushButton>(f, "CloseBtn")->click();
    ASSERT_FALSE(services.messages.empty()) << bad;
    EXPECT_EQ(services.last().text, MatrixRangeMessage) << bad;
    EXPECT_EQ(services.last().kind, tMessageKind::Information);
    EXPECT_EQ(services.last().caption, "Information");
    EXPECT_EQ(f.Outcome(), TSqMatFrm::tOutcome::Open);
    EXPECT_EQ(Focused(), f.Cell(1, 3)) << bad;
  }
  // The cell visited before the faulty one is already stored.
  EXPECT_EQ(matrix[1][2], 0.0);

  services.Clear();
  Type(1, 2, "0.999");
  Type(1, 3, "-0.999");
  Type(2, 3, "0,5");
  Child<QPushButton>(f, "CloseBtn")->click();
  EXPECT_TRUE(services.messages.empty()) << services.last().text;
  EXPECT_EQ(f.Outcome(), TSqMatFrm::tOutcome::Accepted);
  for (const auto& [i, j, r] : {std::tuple{1, 2, 0.999}, {1, 3, -0.999}, {2, 3, 0.5}}) {
    EXPECT_EQ(matrix[i][j], r) << i << "," << j;
    EXPECT_EQ(matrix[j][i], r) << j << "," << i;
  }
  EXPECT_EQ(matrix[2][2], 1.0);
}

TEST_F(MatrixEntryTest, DiagonalNeedsOnlyToExceedMinusOne) {
  matrix[2][2] = 2.5;
  matrix[3][3] = -1.0;
  TSqMatFrm& f = Open(3);
  Type(1, 2, "0.1");
  Type(1, 3, "0.2");
  Type(2, 3, "0.3");
  Child<QPushButton>(f, "CloseBtn")->click();
  EXPECT_EQ(services.texts(), std::vector<std::string>({MatrixRangeMessage}));
  EXPECT_EQ(Focused(), f.Cell(3, 3));
}

TEST_F(MatrixEntryTest, TextThatIsNotANumberIsHighlighted) {
  TSqMatFrm& f = Open(3);
  Type(2, 3, "a.5");
  services.defaultAnswer = tMessageResult::Yes;
  Child<QPushButton>(f, "CloseBtn")->click();
  EXPECT_EQ(services.last().text, InvalidCellMessage);
  EXPECT_EQ(services.last().kind, tMessageKind::Warning);
  EXPECT_EQ(Focused(), f.Cell(2, 3));
  EXPECT_EQ(f.Cell(2, 3)->selectedText(), "a.5");
  EXPECT_EQ(f.Outcome(), TSqMatFrm::tOutcome::Open);
  EXPECT_EQ(f.Cell(2, 3)->text(), "a.5") << "the user's text stays for correction";
}

TEST_F(MatrixEntryTest, ClearDataZeroesBelowTheDiagonalAfterConfirmation) {
  matrix[1][2] = matrix[2][1] = 0.6;
  matrix[1][3] = matrix[3][1] = 0.3;
  matrix[2][3] = matrix[3][2] = -0.2;
  TSqMatFrm& f = Open(3);

  services.answers = {tMessageResult::No};
  Child<QPushButton>(f, "ClearBtn")->click();
  EXPECT_EQ(services.last().text, "Clear data from matrix ?");
  EXPECT_EQ(services.last().buttons, tMessageButtons::YesNoDefaultNo);
  EXPECT_EQ(f.Cell(1, 2)->text(), "0.600");
  EXPECT_EQ(matrix[1][2], 0.6);

  services.answers = {tMessageResult::Yes};
  Child<QPushButton>(f, "ClearBtn")->click();
  for (auto [c, r] : {std::pair{1, 2}, {1, 3}, {2, 3}}) {
    EXPECT_EQ(f.Cell(c, r)->text(), "0.000");
    EXPECT_EQ(matrix[c][r], 0.0);
  }
  EXPECT_EQ(matrix[2][1], 0.6) << "mirror elements are left to the next Continue";
  EXPECT_EQ(f.Cell(2, 2)->text(), "1.000");
  EXPECT_EQ(f.Outcome(), TSqMatFrm::tOutcome::Open);

  // Continue then asks, column by column, about each cleared cell whose
  // marker is still 0.
  services.Clear();
  services.defaultAnswer = tMessageResult::Yes;
  Child<QPushButton>(f, "CloseBtn")->click();
  EXPECT_EQ(services.texts(), std::vector<std::string>({ZeroQuestion(2, 1), ZeroQuestion(3, 1), ZeroQuestion(3, 2)}));
  EXPECT_EQ(f.Outcome(), TSqMatFrm::tOutcome::Accepted);
  EXPECT_EQ(matrix[2][1], 0.0);
}

TEST_F(MatrixEntryTest, EnterInACellIsContinueAndEscapeIsReturnToWorksheet) {
  for (const auto& [typed, key, outcome] :
       {std::tuple{"abc", Qt::Key_Escape, TSqMatFrm::tOutcome::ReturnedToWorksheet},
        std::tuple{"0.5", Qt::Key_Return, TSqMatFrm::tOutcome::Accepted}}) {
    TSqMatFrm& f = Open(2);
    Type(1, 2, typed);
    QTest::keyClick(f.Cell(1, 2), key);
    EXPECT_EQ(f.Outcome(), outcome) << typed;
    EXPECT_TRUE(services.messages.empty());
  }
  EXPECT_EQ(matrix[1][2], 0.5);
}

// Ctrl+V in a cell: one value goes in as typing would, under the length
// rule and its warning; a block, with or without its headings, is the
// matrix.
TEST_F(MatrixEntryTest, CtrlVPastesAValueByTheLengthRuleAndAMatrixWithItsHeadings) {
  struct Case {
    int order;
    const char* typed;  // typed into cell (1, 2), cursor left at the end
    std::string clipboard;
    const char* shown;  // cell (1, 2) after the paste
    std::string message;
  };
  const std::string cut = MaximumLengthMessage;
  for (const Case& c : {
           Case{2, "0.6", "0.45", "0.60.4", cut},
           Case{2, "", "0.603452", "0.6034", cut},
           Case{2, "", " 0.45\r\n", "0.45", ""},
           Case{2, "", "\tTask\tEduc\nTask\t1\t0.6\nEduc\t0.6\t1\n", "0.6", ""},
           Case{3, "", "Task 1\nEduc .45 1\nAge .30 -.25 1\n", ".45", ""},
           Case{2, "", "\tTask\tEduc\nTask\t1\t0.6\t0.3\nEduc\t0.6\t1\n", "0.000",
                "Nothing was pasted: the clipboard holds 2 rows of 3 and 2 numbers."},
       }) {
    services.Clear();
    TSqMatFrm& f = Open(c.order);
    f.Cell(1, 2)->selectAll();
    if (*c.typed != '\0') QTest::keyClicks(f.Cell(1, 2), c.typed);
    services.clipboardText = c.clipboard;
    QTest::keyClick(f.Cell(1, 2), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.Cell(1, 2)->text(), c.shown) << c.clipboard;
    const std::vector<std::string> texts = services.texts();
    EXPECT_EQ(texts.empty() ? "" : texts.back().substr(0, c.message.size()), c.message) << texts.size();
    EXPECT_TRUE(c.order != 3 || f.Cell(2, 3)->text() == "-.25");
  }
}

TEST_F(MatrixEntryTest, ReturnToWorksheetReadsNoCell) {
  TSqMatFrm& f = Open(3);
  Type(1, 2, "abc");
  Child<QPushButton>(f, "ReturnBtn")->click();
  EXPECT_TRUE(services.messages.empty());
  EXPECT_EQ(f.Outcome(), TSqMatFrm::tOutcome::ReturnedToWorksheet);
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(matrix[1][2], 0.0);

  // A window-manager close is a Return to Worksheet.
  TSqMatFrm& g = Open(3);
  g.close();
  EXPECT_EQ(g.Outcome(), TSqMatFrm::tOutcome::ReturnedToWorksheet);
}

TEST_F(MatrixEntryTest, WindowIsAlways800By600AndScrollsWhenTheCellsDoNotFit) {
  struct Case {
    int order;
    bool horizontal;
    bool vertical;
  };
  matrix = Identity(50);
  for (const Case& c : {Case{1, false, false}, Case{6, false, false}, Case{20, false, false},
                        Case{21, true, false}, Case{30, true, true}, Case{50, true, true}}) {
    TSqMatFrm& f = Open(c.order);
    QApplication::processEvents();
    EXPECT_EQ(f.size(), QSize(800, 600)) << c.order;
    EXPECT_EQ(f.minimumSize(), QSize(800, 600));
    EXPECT_EQ(f.maximumSize(), QSize(800, 600));
    EXPECT_EQ(Child<QScrollArea>(f, "cellArea")->horizontalScrollBar()->isVisible(), c.horizontal) << c.order;
    EXPECT_EQ(Child<QScrollArea>(f, "cellArea")->verticalScrollBar()->isVisible(), c.vertical) << c.order;
    EXPECT_EQ(f.findChildren<QLineEdit*>().size(), c.order * (c.order + 1) / 2);
    // Every cell can be reached: the scrolled panel holds the last one.
    QLineEdit* last = f.Cell(c.order, c.order);
    ASSERT_NE(last, nullptr);
    EXPECT_TRUE(Child<QScrollArea>(f, "cellArea")->widget()->rect().contains(last->geometry())) << c.order;
  }
}

TEST_F(MatrixEntryTest, FaultyCellOutOfSightIsScrolledIntoView) {
  matrix = Identity(50);
  TSqMatFrm& f = Open(50);
  services.defaultAnswer = tMessageResult::Yes;
  for (int r = 2; r <= 50; ++r)
    for (int c = 1; c < r; ++c) f.Cell(c, r)->setText("0.1");
  f.Cell(49, 50)->setText("x");
  Child<QPushButton>(f, "CloseBtn")->click();
  EXPECT_EQ(Focused(), f.Cell(49, 50));
  QRect visible(-Child<QScrollArea>(f, "cellArea")->widget()->pos(), Child<QScrollArea>(f, "cellArea")->viewport()->size());
  EXPECT_TRUE(visible.intersects(f.Cell(49, 50)->geometry()));
}

// A matrix copied from a paper, pasted through a cell's menu: a faulty
// block changes nothing and says why; a good one fills the cells below
// the diagonal, which Continue then takes as typed values.
TEST_F(MatrixEntryTest, PastedMatrixFillsTheCellsOrSaysWhichValueDoesNotFit) {
  TSqMatFrm& f = Open(3);
  const auto pasteFromMenu = [&](const std::string& text) {
    services.clipboardText = text;
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), f.Cell(2, 3)->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(f.Cell(2, 3), &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions())
      if (action->text().remove('&').startsWith("Paste")) action->trigger();
    menu->close();
    QApplication::processEvents();
  };
  pasteFromMenu("1 .45 .30\n.45 1 1.2\n.30 1.2 1\n");
  EXPECT_EQ(services.texts(), std::vector<std::string>{std::string("Nothing was pasted: \"1.2\", in row 2, column 3 of the "
                                                                   "matrix, lies outside the range.\r") +
                                                       MatrixRangeMessage});
  EXPECT_EQ(f.Cell(1, 2)->text(), "0.000");

  services.Clear();
  pasteFromMenu("1 .45 .30\n.45 1 -.25\n.30 -.25 1\n");
  EXPECT_TRUE(services.messages.empty());
  Child<QPushButton>(f, "CloseBtn")->click();
  EXPECT_EQ(f.Outcome(), TSqMatFrm::tOutcome::Accepted);
  EXPECT_DOUBLE_EQ(matrix[1][2], 0.45);
  EXPECT_DOUBLE_EQ(matrix[1][3], 0.30);
  EXPECT_DOUBLE_EQ(matrix[3][2], -0.25);
}

TEST(ShowMatrixEntry, ModalLoopEndsWithTheButtons) {
  tScriptedServices services;
  EntryMatrix m = Identity(2);
  m[1][2] = m[2][1] = 0.25;
  QWidget owner;
  QString title;
  QTimer::singleShot(0, [&] {
    auto* f = dynamic_cast<TSqMatFrm*>(QApplication::activeModalWidget());
    if (f == nullptr) {  // never leave the loop waiting
      ADD_FAILURE() << "the matrix window is not the active modal window";
      for (auto* w : owner.findChildren<TSqMatFrm*>()) w->ReturnClick();
      return;
    }
    title = f->windowTitle();
    EXPECT_EQ(f->parentWidget(), &owner);
    f->Cell(1, 2)->setText("-0.4");
    Child<QPushButton>(*f, "CloseBtn")->click();
  });
  EXPECT_TRUE(ShowMatrixEntry(m, 2, 2, "Correlations", "", "", &owner, true, services));
  EXPECT_EQ(title, "Correlations");
  EXPECT_EQ(m[2][1], -0.4);
  EXPECT_TRUE(owner.findChildren<TSqMatFrm*>().isEmpty()) << "window freed";
}
