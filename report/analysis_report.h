// The analysis report: every line written after a successful Compute, in
// order, for both programs and the batch tool. A plain function from the
// report's frame (the texts around the figures) and the analysis record
// to lines appended to a report sink.
#pragma once

#include <string>
#include <vector>

#include "core/extended.h"
#include "core/report_lines.h"
#include "engine/analysis_results.h"
#include "matrix/data_matrix.h"
#include "analysis/analysis_request.h"
#include "analysis/programs.h"

// One worksheet entry field as the report sees it.
struct tReportField {
  std::string caption;  // caption of the field's label, as shown
  std::string text;     // the field's text, as typed
  bool visible = true;  // only visible fields are reported
};

// The texts of the report around its figures, gathered by the compute flow
// before the first line is appended.
struct tReportFrame {
  // RawData: the raw-data echo and the hyphen separator; SummaryData: the
  // underscore separator.
  tProgramKind layout = tProgramKind::SummaryData;
  std::string programTitle;
  std::string notesCaption = "User's Notes:";  // caption of the notes label
  std::string notes;                           // text of the notes field; lines split at LF, CR LF or CR
  std::vector<tReportField> fields;            // entry fields 1..8 in order

  // The variables' names, the task's first, from a data file's line of
  // names; they stand for "Task of Interest" and "Covariate j" in the
  // summary table and head the columns of the raw data. Empty: none.
  std::vector<std::string> variableNames;

  // Raw data only: the file name as the dialog returned it and the table
  // whose first controlCount rows are the controls.
  std::string dataFileName;
  const tData_matrix* rawData = nullptr;
  int controlCount = 0;
};

// The two citation lines of the header (each starts with one blank).
extern const char* const ReportCitationLine1;
extern const char* const ReportCitationLine2;

// The line that stands between two reports of the given layout.
std::string ReportSeparator(tProgramKind layout);

// " " + caption without its trailing blanks and cut before its last colon
// + "= " + text. A caption without a colon is kept whole (after trimming).
std::string FormatInputLine(const std::string& caption, const std::string& text);

// The interval of a level as the report and the figure name it: "95% CI"
// when two-sided, "one-sided 95% limits" otherwise (the engine's two
// limits are then each a one-sided limit at the level).
std::string ConfidenceIntervalName(extended confidenceLevel, bool twoSided);

// Appends the whole report to sink: the frame's texts, the request's
// statistics, interval and confidence level, and the engine's results.
// reportAlreadyStands: the sink already holds at least one line (an
// earlier report, or the engine's diagnostic lines just written); the
// report then opens with the layout's separator. Throws
// std::invalid_argument, before appending anything, when k lies outside
// 0..MatrixCapacity - 1 or a raw-data report lacks its table or asks for
// more rows or columns than the table holds.
void WriteAnalysisReport(const tReportFrame& frame, const tAnalysisRecord& record, bool reportAlreadyStands,
                         tReportLines& sink);

// RunAnalysis and, when it is Done and frame is given, the report after
// the engine's working lines, both into lines. reportAlreadyStands: the
// place the lines go to already holds lines, so the report opens with its
// separator (the working lines count too). What the writer raises becomes
// Failed (tWorkCancelled Cancelled) as the engine's does; lines may then
// hold part of the output and must be discarded.
tAnalysisRecord RunReportedAnalysis(const tAnalysisRequest& request, const tReportFrame* frame,
                                    bool reportAlreadyStands, tReportLines& lines);
