// The browser page's session with scripted services: the worked example
// typed, computed, saved and restored as the page drives it, the results'
// file text, and the rules typing and pasting meet.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/scripted_services.h"
#include "tests/support/temp_folder.h"
#include "tests/worksheet/logic/golden_reports.h"
#include "validation/validation_messages.h"
#include "web/queued_services.h"
#include "web/web_session.h"

namespace {

class tFixedMatrix : public tMatrixEntry {
 public:
  bool EnterCorrelations(tStoredCorrelations& matrix, int) override {
    shown = matrix[1][2];
    matrix[1][2] = matrix[2][1] = 0.6;
    return true;
  }
  double shown = -1;
};

void TypeWorkedExample(tWebSession& session) {
  session.Inputs().Field(1) = "1";
  session.Inputs().Field(2) = "10";
  const char* cells[2][5] = {{"Task", "50", "10", "40", "55"}, {"Cov 1", "10", "2", "12", "9"}};
  for (int row = 0; row < 2; ++row)
    for (int col = 1; col <= 5; ++col) session.Inputs().grid.SetCell(col, row, cells[row][col - 1]);
}

TEST(WebSession, WorkedExampleGivesTheGoldenReportIsSavedAndRestoredWithContinue) {
  tTempFolder dir;
  tScriptedServices services;
  tFixedMatrix matrix;
  tWebSession session(tProgramKind::SummaryData, dir.Path());
  session.Start(services);
  EXPECT_NE(session.State().find("\"computeCaption\":\"Compute\""), std::string::npos);
  TypeWorkedExample(session);
  ASSERT_TRUE(session.Compute(services, matrix));
  EXPECT_TRUE(services.messages.empty());
  ASSERT_EQ(session.Reports().size(), 1u);
  const tWebReport& report = session.Reports()[0];
  const std::vector<std::string> golden = GoldenReport("quorvane_worked_two_sided.txt");
  EXPECT_EQ(report.lines, golden);
  EXPECT_NE(report.figureSvg.find("<svg"), std::string::npos);
  EXPECT_NE(report.summary.find("t(8) = -1.89"), std::string::npos);

  // Save Output: every line but a last empty one, each ended by CR LF.
  std::vector<std::string> fileLines = golden;
  if (!fileLines.empty() && fileLines.back().empty()) fileLines.pop_back();
  std::string expected;
  for (const std::string& line : fileLines) expected += line + "\r\n";
  EXPECT_EQ(session.ResultsFileText(), expected);

  // The next visit restores the inputs and reopens the matrix entered.
  tWebSession next(tProgramKind::SummaryData, dir.Path());
  next.Start(services);
  EXPECT_EQ(next.Inputs().Field(2), "10");
  EXPECT_EQ(next.Inputs().grid.Cell(CaseBColumn, 1), "9");
  EXPECT_NE(next.State().find("\"computeCaption\":\"Continue\""), std::string::npos);
  ASSERT_TRUE(next.Compute(services, matrix));
  EXPECT_DOUBLE_EQ(matrix.shown, 0.6);

  // Clear Data after Yes forgets the saved inputs.
  services.answers = {tMessageResult::Yes};
  next.ClearData(services);
  EXPECT_TRUE(next.Inputs().Field(2).empty());
  tWebSession third(tProgramKind::SummaryData, dir.Path());
  third.Start(services);
  EXPECT_TRUE(third.Inputs().Field(2).empty());
}

TEST(WebSession, TypingAndPastingFollowTheDesktopsRules) {
  tTempFolder dir;
  tWebSession session(tProgramKind::SummaryData, dir.Path());
  const tWebEntry sampleSize{tWebEntryKind::Field, 2, 0};
  const tWebEntry mean{tWebEntryKind::GridCell, MeanColumn, 0};
  const tWebEntry name{tWebEntryKind::GridCell, 1, 0};

  tQueuedServices queued;
  EXPECT_EQ(session.FilterKey(sampleSize, U'x', queued), 0u);
  ASSERT_EQ(queued.boxes.size(), 1u);
  EXPECT_EQ(queued.boxes[0].text, NumericKeyMessage);
  EXPECT_EQ(session.FilterKey(mean, U',', queued), U'.');
  EXPECT_EQ(session.FilterKey(name, U'x', queued), U'x');

  tQueuedServices lengthRule;
  std::string text = "1234567";
  EXPECT_TRUE(session.KeyUp(mean, text, lengthRule));
  EXPECT_EQ(text, "123456");
  EXPECT_EQ(session.Inputs().grid.Cell(MeanColumn, 0), "123456");
  ASSERT_FALSE(lengthRule.boxes.empty());
  EXPECT_EQ(lengthRule.boxes.back().text, MaximumLengthMessage);

  tQueuedServices grid;
  session.Inputs().Field(1) = "3";
  EXPECT_TRUE(session.CovariatesChanged(grid));
  EXPECT_EQ(session.Inputs().grid.RowCount(), 4);

  tQueuedServices block;
  const auto cell = session.Paste(mean, "", "50\t10\n10\t2", "", block);
  ASSERT_TRUE(cell);
  EXPECT_EQ(*cell, "50");
  EXPECT_EQ(session.Inputs().grid.Cell(SdColumn, 1), "2");
  EXPECT_TRUE(block.boxes.empty());
  EXPECT_EQ(session.Paste(sampleSize, "1", "0,5", "", block), std::optional<std::string>("10.5"));
}

}  // namespace
