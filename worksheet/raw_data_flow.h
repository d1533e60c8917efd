// Quorvik's Compute: checks the number of controls n and of covariates k,
// saves the inputs, asks for the raw data file and reads it, turns the
// control rows into means, standard deviations and correlations, checks
// them, runs the two-case test with its diagnostic lines and writes the
// report with the raw data echoed into the results window.
//
// The work is split in three layers: LoadRawDataFile (the dialog and the
// reader, through the platform services), AnalyseRawData (plain
// statistics, checks, engine and report into a line list) and the flow
// object that the worksheet's Compute button runs. Every refusal is a box
// with the reason; the results window receives lines only when the whole
// analysis succeeded, so a refused Compute never leaves half a report.
#pragma once

#include <string>

#include "engine/analysis_results.h"
#include "matrix/data_matrix.h"
#include "core/extended.h"
#include "core/report_lines.h"
#include "matrix/tmatrix.h"
#include "platform/services.h"
#include "worksheet/analysis_report.h"
#include "validation/validation_messages.h"
#include "worksheet/tfrm_template.h"

// The file filter of the open dialog.
inline constexpr const char* RawDataFileFilter = "Text files only|*.txt";
// Information box when no data file was chosen.
inline constexpr const char* LoadCancelledMessage = "Load data cancelled by user";
// Confidence level of every interval, in percent.
inline constexpr extended RawDataConfidenceLevel = 95.0L;

enum class tRawDataLoadOutcome { Loaded, Cancelled, Refused };

struct tRawDataLoad {
  tRawDataLoadOutcome outcome = tRawDataLoadOutcome::Cancelled;
  std::string fileName;  // as the dialog returned it (Loaded and Refused)
};

// LoadRawDataFile(rows, columns): fills RawDataTable with the missing-value
// marker, asks for an existing file in the process's current folder
// ("Text files only|*.txt"), and reads rows x columns values into it. A
// cancelled dialog, or a name that is empty once blanks are trimmed, is
// Cancelled and shows nothing. Otherwise the busy cursor is shown while
// the file is read (not while the dialog is open) and set back to normal
// before the box: an error box
// naming the line and what is wrong (Refused), or the information box
// with the counts asked for (Loaded). The cursor is normal on return.
tRawDataLoad LoadRawDataFile(tPlatformServices& services, int rows, int columns, tData_matrix& RawDataTable);

// Why AnalyseRawData stopped.
enum class tRawAnalysisOutcome { Done, ZeroVariance, NotPositiveDefinite, Failed };

struct tRawAnalysis {
  tRawAnalysisOutcome outcome = tRawAnalysisOutcome::Done;
  std::string message;  // the error box text when not Done

  // The statistics of the control rows and the cases' scores.
  tVector means;
  tVector sds;
  tVector caseA;
  tVector caseB;
  tMatrix R;
  AnalysisResults results{};
  extended conditionalSd = 0;
  // When Done: the engine's diagnostic lines, then the whole report.
  tLineList lines;
};

// Steps 7 to 12 of Compute over plain data: the statistics of the n
// control rows and k + 1 columns of table (a variable that does not vary
// among the controls is refused, naming it), the positive-definiteness
// stop, CompareTwoCases with diagnosticLines on, and the report written
// after the diagnostic lines. An exception from the engine (or the report
// writer) becomes Failed with its text. inputs supplies the worksheet's
// part of the report (title, notes, fields, interval, file name); the
// statistics, the table and the counts are filled in here. earlierLines:
// the number of lines the results window already holds (the report then
// opens with its separator all the same, after the diagnostic lines).
tRawAnalysis AnalyseRawData(const tData_matrix& table, int n, int k, tReportInputs inputs, int earlierLines);

// The Compute flow of Quorvik, set on its worksheet by the entry point.
class tRawDataFlow : public tComputeFlow {
 public:
  void Compute(TfrmTemplate& form) override { cmdComputeClick(form); }

  // The whole Compute: fields, cross-field rule, saved inputs, file,
  // statistics, checks, engine, results window and report.
  void cmdComputeClick(TfrmTemplate& form);
};
