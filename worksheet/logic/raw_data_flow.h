// Quorvik's Compute: checks the number of controls n and of covariates k,
// saves the inputs, asks for the raw data file and reads it, turns the
// control rows into means, standard deviations and correlations, checks
// them, runs the analysis with the engine's diagnostic lines and hands on
// the report with the raw data echoed.
//
// Three layers: LoadRawDataFile (the dialog and the reader, through the
// platform services), AnalyseRawData (plain statistics, checks, analysis
// and report into a line list) and ComputeRawData, the whole Compute over
// the worksheet's inputs. Every refusal is a box with the reason; report
// lines are handed on only when the whole analysis succeeded, so a
// refused Compute never leaves half a report.
#pragma once

#include <string>
#include <vector>

#include "matrix/data_matrix.h"
#include "platform/services.h"
#include "report/analysis_report.h"
#include "analysis/analysis_request.h"
#include "worksheet/logic/compute_outcome.h"
#include "worksheet/logic/program_profile.h"
#include "worksheet/logic/worksheet_inputs.h"

// The file filter of the open dialog: text files, and the CSV and
// tab-separated files spreadsheets export.
inline constexpr const char* RawDataFileFilter = "Text files only|*.txt;*.csv;*.tsv";
// Information box when no data file was chosen.
inline constexpr const char* LoadCancelledMessage = "Load data cancelled by user";

enum class tRawDataLoadOutcome { Loaded, Cancelled, Refused };

struct tRawDataLoad {
  tRawDataLoadOutcome outcome = tRawDataLoadOutcome::Cancelled;
  std::string fileName;  // as the dialog returned it (Loaded and Refused)
  std::vector<std::string> variableNames;  // Loaded: the file's names of the variables, if it has them
};

// LoadRawDataFile(rows, columns): fills table with the missing-value
// marker, asks for an existing file in the process's current folder
// (RawDataFileFilter), and reads rows x columns values into it. A
// cancelled dialog, or a name that is empty once blanks are trimmed, is
// Cancelled and shows nothing. Otherwise the busy cursor and the progress
// of the reading are shown while the file is read (not while the dialog
// is open; Cancel there is Cancelled too) and ended before the box: an
// error box naming the file or the line and what is wrong (Refused), or
// the information box with the counts asked for and the lines with data
// that were not used (Loaded).
tRawDataLoad LoadRawDataFile(tPlatformServices& services, int rows, int columns, tData_matrix& table);

// The control sample of the n control rows and k + 1 columns of table
// (ControlSampleFromRawTable: a variable that does not vary among the
// controls is ZeroVariance, naming it), then RunAnalysis with the engine's diagnostic lines. frame supplies
// the worksheet's part of the report; the table and the counts are filled
// in here. earlierLines: the number of lines the results already hold.
// progress is asked while the report (with its echo of every control) is
// written; when it answers false the outcome is Cancelled, with no lines.
tAnalysisRecord AnalyseRawData(const tData_matrix& table, int n, int k, tReportFrame frame,
                               tIntervalChoice interval, extended confidenceLevel, int earlierLines,
                               const tProgressCheck& progress = {});

// The whole Compute: fields, cross-field rule, saved inputs, file,
// statistics, checks, analysis and report.
tComputeOutcome ComputeRawData(tWorksheetInputs& inputs, const tProgramProfile& profile,
                               const tComputeContext& context, tPlatformServices& services);
