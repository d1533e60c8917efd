// The report writer on its own: the input lines and the refusal of
// inconsistent inputs (whole reports are compared with the golden files
// in tests/analysis and tests/worksheet).
#include "report/analysis_report.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(AnalysisReport, InputLinesCutTheCaptionBeforeItsLastColon) {
  EXPECT_EQ(FormatInputLine("Number of covariates : ", "3"), " Number of covariates = 3");
  EXPECT_EQ(FormatInputLine("Sample size (N) of control sample:", "25"), " Sample size (N) of control sample= 25");
  EXPECT_EQ(FormatInputLine("Ratio: a:b :  ", "1"), " Ratio: a:b = 1");
  EXPECT_EQ(FormatInputLine("Input 5", "7"), " Input 5= 7");
}

TEST(AnalysisReport, RefusesInconsistentInputsBeforeWritingAnything) {
  tAnalysisRecord record;
  tAnalysisRequest& request = record.request;
  record.conditionalSd = 1;
  tLineList sink;
  tReportFrame frame;
  request.k = MatrixCapacity;
  EXPECT_THROW(WriteAnalysisReport(frame, record, false, sink), std::invalid_argument);
  request.k = 1;
  frame.layout = tProgramKind::RawData;  // without its table
  EXPECT_THROW(WriteAnalysisReport(frame, record, false, sink), std::invalid_argument);
  tData_matrix table;
  frame.rawData = &table;
  frame.controlCount = table.Rows() + 1;
  EXPECT_THROW(WriteAnalysisReport(frame, record, false, sink), std::invalid_argument);
  EXPECT_EQ(sink.Count(), 0);
}

}  // namespace
