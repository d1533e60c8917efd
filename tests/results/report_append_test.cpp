// A whole report appended at once: the same text as line by line, in
// pieces with progress, and taken back whole when the progress is
// cancelled.
#include <QPlainTextEdit>
#include <QTextCursor>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "results/tfrm_template_results.h"
#include "tests/support/find_child.h"
#include "tests/support/scripted_services.h"

namespace {

std::string Text(const TfrmTemplateResults& window) {
  return Child<QPlainTextEdit>(window, "memoResults")->toPlainText().toStdString();
}

// A report line, then text typed by the user without a line end.
void Prepare(TfrmTemplateResults& window) {
  window.ReportSink().Add("earlier report");
  QTextCursor cursor(Child<QPlainTextEdit>(window, "memoResults")->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText("typed");
}

}  // namespace

TEST(ReportAppend, WholeReportEqualsLineByLineAndCancelTakesItBack) {
  std::vector<std::string> report;
  for (int i = 0; i < 45000; ++i) report.push_back("   [" + std::to_string(i) + "]:  1.00000   ");
  report.push_back("");

  tScriptedServices services;
  TfrmTemplateResults lineByLine(services), whole(services);
  Prepare(lineByLine);
  Prepare(whole);
  for (const std::string& line : report) lineByLine.ReportSink().Add(line);
  std::vector<double> shares;
  ASSERT_TRUE(whole.AppendReport(report, [&](double share) {
    shares.push_back(share);
    return true;
  }));
  EXPECT_EQ(Text(whole), Text(lineByLine));
  EXPECT_EQ(whole.ReportSink().Count(), lineByLine.ReportSink().Count());
  EXPECT_EQ(shares.size(), 3u);
  EXPECT_EQ(shares.back(), 1.0);

  TfrmTemplateResults cancelled(services);
  Prepare(cancelled);
  const std::string before = Text(cancelled);
  int calls = 0;
  EXPECT_FALSE(cancelled.AppendReport(report, [&](double) { return ++calls < 2; }));
  EXPECT_EQ(Text(cancelled), before);
  EXPECT_EQ(cancelled.ReportSink().Count(), 2);
}
