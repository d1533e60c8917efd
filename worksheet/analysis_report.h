// The analysis report: every line written after a successful Compute, in
// order, for both programs. A plain function from the gathered inputs and
// the engine's outputs to lines appended to a report sink.
#pragma once

#include <string>
#include <vector>

#include "engine/analysis_results.h"
#include "matrix/data_matrix.h"
#include "core/extended.h"
#include "core/report_lines.h"
#include "matrix/tmatrix.h"

// Which program writes the report: Quorvik (raw data, with the raw-data
// echo and the hyphen separator) or Quorvane (summary data, underscore
// separator).
enum class tReportProgram { RawData, SummaryData };

// The interval item selected in the worksheet's radio group.
enum class tIntervalChoice { TwoSided, OneSidedLower, OneSidedUpper };

// One worksheet entry field as the report sees it.
struct tReportField {
  std::string caption;  // caption of the field's label, as shown
  std::string text;     // the field's text, as typed
  bool visible = true;  // only visible fields are reported
};

// Everything the report is written from, gathered by the compute flow
// before the first line is appended.
struct tReportInputs {
  tReportProgram program = tReportProgram::SummaryData;
  std::string programTitle;
  std::string notesCaption = "User's Notes:";  // caption of the notes label
  std::string notes;                           // text of the notes field; lines split at LF, CR LF or CR
  std::vector<tReportField> fields;            // entry fields 1..8 in order
  tIntervalChoice interval = tIntervalChoice::TwoSided;

  int k = 0;  // number of covariates; vectors and matrix use positions 1..k + 1
  tVector means;
  tVector sds;
  tVector caseA;
  tVector caseB;
  tMatrix correlations;

  // Raw data only (Quorvik): the file name as the dialog returned it and
  // the table whose first controlCount rows are the controls.
  std::string dataFileName;
  const tData_matrix* rawData = nullptr;
  int controlCount = 0;
};

// Sets the figures the report echoes: the number of covariates k and, at
// positions 1..k + 1, the controls' means and SDs, the two cases' scores
// and the correlations.
void SetReportStatistics(tReportInputs& inputs, int k, const tVector& means, const tVector& sds,
                         const tVector& caseA, const tVector& caseB, const tMatrix& correlations);

// The two citation lines of the header (each starts with one blank).
extern const char* const ReportCitationLine1;
extern const char* const ReportCitationLine2;

// " " + caption without its trailing blanks and cut before its last colon
// + "= " + text. A caption without a colon is kept whole (after trimming).
std::string FormatInputLine(const std::string& caption, const std::string& text);

// Appends the whole report to sink. reportAlreadyStands: the sink already
// holds at least one line (an earlier report, or in Quorvik the engine's
// diagnostic lines just written) -- pass sink.Count() > 0 as it is right
// before this call; the report then opens with the program's separator.
// Throws std::invalid_argument, before appending anything, when k lies
// outside 0..MatrixCapacity - 1 or a raw-data report lacks its table or
// asks for more rows or columns than the table holds.
void WriteAnalysisReport(const tReportInputs& inputs, const AnalysisResults& results,
                         extended conditionalSd, bool reportAlreadyStands, tReportLines& sink);
