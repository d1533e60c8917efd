// The analysis report of both programs, appended line by line.
#include "report/analysis_report.h"

#include <cmath>
#include <exception>
#include <stdexcept>
#include <string_view>

#include "matrix/matrix_operations.h"
#include "matrix/raw_data_statistics.h"
#include "core/progress.h"
#include "core/text_characters.h"
#include "core/text_format.h"
#include "core/text_lines.h"
#include "engine/case_difference.h"

const char* const ReportCitationLine1 =
    " Quorvik and Quorvane method notes. \"Comparing two single cases with a control sample";
const char* const ReportCitationLine2 =
    " while allowing for covariates\". Method notes that accompany the two programs.";

namespace {

// Separator ahead of a report when the results already hold lines.
const std::string RawDataSeparator(36, '-');
const std::string SummaryDataSeparator(102, '_');

// Rule of the summary table: one blank and 93 underscores.
const std::string TableRule = " " + std::string(93, '_');

// Further notes lines are indented to stand under the first one.
const std::string NotesIndent(15, ' ');

// Width of a row label of the summary table, "Task of Interest: ".
constexpr int RowLabelWidth = 18;

const char* const EmptyLine = "";
const char* const BlankLine = " ";

const char* IntervalName(tIntervalChoice interval) {
  switch (interval) {
    case tIntervalChoice::TwoSided: return "Two-sided";
    case tIntervalChoice::OneSidedLower: return "One-sided lower";
    case tIntervalChoice::OneSidedUpper: return "One-sided upper";
  }
  return "";
}

void CheckInputs(const tReportFrame& frame, const tAnalysisRequest& in) {
  if (in.k < 0 || in.k + 1 > MatrixCapacity)
    throw std::invalid_argument("Report: the number of covariates is outside 0 to " +
                                std::to_string(MatrixCapacity - 1));
  if (frame.layout != tProgramKind::RawData) return;
  if (frame.rawData == nullptr) throw std::invalid_argument("Report: the raw data table is missing");
  if (frame.controlCount < 0 || frame.controlCount > frame.rawData->Rows() || in.k + 1 > frame.rawData->Columns())
    throw std::invalid_argument("Report: the raw data table holds fewer rows or columns than reported");
}

void WriteHeader(const tReportFrame& in, bool reportAlreadyStands, tReportLines& sink) {
  if (reportAlreadyStands) sink.Add(ReportSeparator(in.layout));
  sink.Add(EmptyLine);
  sink.Add(in.programTitle);
  sink.Add(EmptyLine);
  sink.Add(" THIS PROGRAM WAS WRITTEN TO ACCOMPANY THE FOLLOWING PAPER:");
  sink.Add(ReportCitationLine1);
  sink.Add(ReportCitationLine2);
  sink.Add(EmptyLine);
  sink.Add(EmptyLine);
}

void WriteNotes(const tReportFrame& in, tReportLines& sink) {
  const std::vector<std::string_view> lines = SplitLines(in.notes);
  if (lines.empty()) return;
  sink.Add(" " + in.notesCaption + " " + std::string(lines[0]));
  for (std::size_t i = 1; i < lines.size(); ++i) sink.Add(NotesIndent + std::string(lines[i]));
  sink.Add(BlankLine);
}

void WriteInputs(const tReportFrame& in, tIntervalChoice interval, tReportLines& sink) {
  sink.Add(" INPUTS:");
  for (const tReportField& field : in.fields)
    if (field.visible) sink.Add(FormatInputLine(field.caption, field.text));
  sink.Add(std::string(" Credible limit required: ") + IntervalName(interval));
  sink.Add(EmptyLine);
}

void WriteRawDataEcho(const tReportFrame& in, int k, tReportLines& sink) {
  sink.Add(" Raw data were loaded from the following file: ");
  sink.Add(" " + in.dataFileName);
  sink.Add(EmptyLine);
  PrintDataMatrix(*in.rawData, in.controlCount, k + 1,
                  " Raw data for controls (data for the cases are reported in the table that follows):",
                  sink, in.variableNames);
  sink.Add(EmptyLine);
}

// The label of variable v's row: its name with a colon, padded to the
// label's width (the name clipped to leave a blank), or "Task of
// Interest:" and "Covariate j:".
std::string RowLabel(const std::vector<std::string>& names, int v) {
  if (v <= static_cast<int>(names.size()) && !names[v - 1].empty()) {
    std::string label = ShownTextClipped(names[v - 1], RowLabelWidth - 2);
    label.erase(label.find_last_not_of(' ') + 1);
    label += ":";
    return label + std::string(static_cast<std::size_t>(RowLabelWidth - CharacterCount(label)), ' ');
  }
  return v == 1 ? "Task of Interest: " : FormatC("Covariate%2d:      ", v - 1);
}

void WriteSummaryTable(const tAnalysisRequest& in, const std::vector<std::string>& names, tReportLines& sink) {
  sink.Add(" Summary statistics for the control sample together with scores of the two cases:");
  sink.Add(TableRule);
  sink.Add("  Measure               Control        Control          Scores for           Scores for  ");
  sink.Add("                         Mean            SD               Case A               Case B");
  sink.Add(TableRule);
  for (int v = 1; v <= in.k + 1; ++v) {
    sink.Add("  " + RowLabel(names, v) +
             FormatC("%11.3Lf  %13.3Lf     %13.3Lf       %13.3Lf", in.means[v], in.sds[v], in.caseA[v], in.caseB[v]));
    if (v == 1) sink.Add(EmptyLine);
  }
  sink.Add(TableRule);
  sink.Add(BlankLine);
  sink.Add(BlankLine);
  sink.Add(EmptyLine);
}

void WriteCorrelations(const tAnalysisRequest& in, tReportLines& sink) {
  PrintMatrix(in.R, in.k + 1,
              " Correlation(s) between task and covariate(s) in control sample:", sink);
  sink.Add(EmptyLine);
  sink.Add(EmptyLine);
  sink.Add(EmptyLine);
}

void WriteOutputs(const tAnalysisRequest& in, const AnalysisResults& r, extended conditionalSd,
                  tReportLines& sink) {
  const extended taskSd = in.sds[1];
  sink.Add(" OUTPUTS:");
  sink.Add(FormatC(" Raw difference between the scores of the two cases (Case A - Case B)  = %5.3Lf",
                   in.caseA[1] - in.caseB[1]));
  sink.Add(FormatC(" Sample estimate of the unconditional SD of difference between the scores of two "
                   "controls = %3.3Lf",
                   std::sqrt(2.0L * taskSd * taskSd)));
  sink.Add(FormatC(" Sample estimate of the conditional SD for task of interest = %3.3Lf", conditionalSd));
  sink.Add(FormatC(" Sample estimate of the conditional SD of difference between the scores of two "
                   "controls =   %3.3Lf",
                   ConditionalSdOfDifference(conditionalSd)));
  sink.Add(EmptyLine);
  sink.Add(" Classical significance test on difference between scores of the two cases allowing for "
           "covariates:");
  sink.Add(FormatC(" t value (on %3.0Lf df) = %3.4Lf", r.df, r.tValue));
  sink.Add(FormatC(" One-tailed probability = %1.6Lf", r.pOneTailed));
  sink.Add(FormatC(" Two-tailed probability = %1.6Lf", r.pTwoTailed));
  sink.Add(EmptyLine);
  // With a one-sided choice the engine's two limits are each a one-sided
  // limit at the level (together an interval at twice its complement), so
  // they are not called a CI at the level.
  const std::string level = LevelText(in.confidenceLevel) + "%";
  const std::string interval = ConfidenceIntervalName(in.confidenceLevel, in.interval == tIntervalChoice::TwoSided);
  sink.Add(" Effect size (Z-PCCC) for difference between the two cases (plus " + interval + ") = " +
           FormatC("%2.3Lf  (%2.3Lf , %2.3Lf)", r.zPccc, r.zPcccLower, r.zPcccUpper));
  sink.Add(EmptyLine);
  sink.Add(" Point estimate of the percentage of control population with differences that are in the same");
  sink.Add(FormatC(" direction as the two cases but are larger in magnitude = %1.4Lf%%", r.pctEstimate));
  switch (in.interval) {
    case tIntervalChoice::TwoSided:
      sink.Add(" " + level + FormatC(" lower confidence limit on the percentage = %1.4Lf%%", r.pctLower));
      sink.Add(" " + level + FormatC(" upper confidence limit on the percentage = %1.4Lf%%", r.pctUpper));
      break;
    case tIntervalChoice::OneSidedLower:
      sink.Add(" " + level + FormatC(" (one-sided) lower confidence limit on the percentage = %1.4Lf%%", r.pctLower));
      break;
    case tIntervalChoice::OneSidedUpper:
      sink.Add(" " + level + FormatC(" (one-sided) upper confidence limit on the percentage = %1.4Lf%%", r.pctUpper));
      break;
  }
  sink.Add(EmptyLine);
  sink.Add(EmptyLine);
}

}  // namespace

std::string FormatInputLine(const std::string& caption, const std::string& text) {
  std::string_view name = caption;
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  const std::size_t colon = name.rfind(':');
  if (colon != std::string_view::npos) name = name.substr(0, colon);
  return " " + std::string(name) + "= " + text;
}

std::string ReportSeparator(tProgramKind layout) {
  return layout == tProgramKind::RawData ? RawDataSeparator : SummaryDataSeparator;
}

std::string ConfidenceIntervalName(extended confidenceLevel, bool twoSided) {
  const std::string level = LevelText(confidenceLevel) + "%";
  return twoSided ? level + " CI" : "one-sided " + level + " limits";
}

void WriteAnalysisReport(const tReportFrame& frame, const tAnalysisRecord& record, bool reportAlreadyStands,
                         tReportLines& sink) {
  const tAnalysisRequest& request = record.request;
  CheckInputs(frame, request);
  WriteHeader(frame, reportAlreadyStands, sink);
  WriteNotes(frame, sink);
  WriteInputs(frame, request.interval, sink);
  if (frame.layout == tProgramKind::RawData) WriteRawDataEcho(frame, request.k, sink);
  WriteSummaryTable(request, frame.variableNames, sink);
  WriteCorrelations(request, sink);
  WriteOutputs(request, record.results, record.conditionalSd, sink);
}

tAnalysisRecord RunReportedAnalysis(const tAnalysisRequest& request, const tReportFrame* frame,
                                    bool reportAlreadyStands, tReportLines& lines) {
  const int linesBefore = lines.Count();
  tAnalysisRecord record = RunAnalysis(request, lines);
  if (record.outcome != tAnalysisOutcome::Done || frame == nullptr) return record;
  try {
    WriteAnalysisReport(*frame, record, reportAlreadyStands || lines.Count() > linesBefore, lines);
  } catch (const tWorkCancelled&) {
    record.outcome = tAnalysisOutcome::Cancelled;
  } catch (const std::exception& error) {
    RecordFailure(record, error.what());
  } catch (...) {
    RecordFailure(record, std::string());
  }
  return record;
}
