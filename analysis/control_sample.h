// The control sample every analysis refers the two cases to: n, k, the
// means and SDs of the task and the covariates, their correlations and
// the variables' names. Made from a raw table of control rows (the
// raw-data program and a batch run on a raw data file) or from a
// saved-inputs file of the summary-data program (a batch run), and
// checked here, in one place: a variable without variance and a
// correlation matrix that is not positive definite are refused with the
// message the front end shows.
//
// The batch tool's two sources:
//  - a saved-inputs file as the summary-data program writes it (number of
//    covariates, sample size, the grid of names, means, SDs and the two
//    cases' scores, the triangle of the correlation matrix). The grid's
//    case scores are not used: the pairs file gives the cases. The
//    correlations are taken as the summary-data program restores them and
//    its matrix window hands them back (symmetric, diagonal 1).
//  - a raw data file of control rows only, one person a line, the task of
//    interest and then the k covariates, in any of the raw-data program's
//    kinds (blank-separated, CSV with commas or semicolons, an optional
//    line of names); the number of controls N is the number of lines up
//    to the last one that holds anything, after the line of names. The data-file
//    rules of the raw-data program apply (lines taken as lines, LF, CR LF or
//    CR line ends, no empty or short line among the controls, numbers with
//    '.' as decimal mark, no variable without variance).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "analysis/analysis_request.h"
#include "core/extended.h"
#include "core/text_file.h"
#include "matrix/data_matrix.h"
#include "matrix/tmatrix.h"

// Where the controls came from: decides the program title and the input
// lines of a report.
enum class tControlsSource { SavedInputs, RawData };

struct tControlSample {
  tControlsSource source = tControlsSource::SavedInputs;
  std::string fileName;  // as given, when the sample came from a file
  int k = 0;             // number of covariates, 1..5
  int n = 0;             // number of controls
  tVector means;         // positions 1..k + 1: the task, then the covariates
  tVector sds;
  tMatrix R;             // correlation matrix of order k + 1, positive definite
  std::vector<std::string> variableNames;  // a raw data file's names of the variables, if it has them
  // The texts of the program's two count fields as its report shows them
  // (the summary-data program: k then N; the raw-data program: n then k).
  std::array<std::string, 2> countTexts;
  std::string notice;  // what the run says of the file before the pairs ("FILE: the file is not UTF-8 ..."), if anything
};

// The checks every control sample passes before an analysis: the
// correlation matrix positive definite. Done, or NotPositiveDefinite with
// message the box of the source's program.
tAnalysisOutcome CheckControlSample(const tControlSample& sample, std::string& message);

// The sample of the first n rows and k + 1 columns of table (the task,
// then the covariates) with the variables' names, checked: Done, or
// ZeroVariance (naming the variable) or NotPositiveDefinite with message
// the box to show.
tAnalysisOutcome ControlSampleFromRawTable(const tData_matrix& table, int n, int k,
                                           const std::vector<std::string>& names, tControlSample& sample,
                                           std::string& message);

// The request of an analysis of two cases against the sample.
tAnalysisRequest RequestFor(const tControlSample& sample, const tVector& caseA, const tVector& caseB,
                            tIntervalChoice interval);

// Loads the controls from a saved-inputs file of the summary-data program.
// On failure returns false with error naming the file, the line where
// there is one ("FILE:LINE: what"), and what was wrong.
bool LoadSavedInputsControls(const std::string& fileName, tControlSample& controls, std::string& error);

// The same from the text of such a file (fileName only names it in
// messages).
bool ParseSavedInputsControls(const std::string& text, const std::string& fileName, tControlSample& controls,
                              std::string& error);

// Loads the controls from a raw data file of control rows only; kText is
// the number of covariates as typed on the command line.
bool LoadRawControls(const std::string& fileName, const std::string& kText, tControlSample& controls,
                     std::string& error);

// The same from the text of such a file.
bool ParseRawControls(const std::string& text, const std::string& fileName, const std::string& kText,
                      tControlSample& controls, std::string& error);

// Reads a whole file into text through the one text-file reader (a named
// pipe is read too: shells pass data that way); false with the reason
// (naming the file) when it is missing, a folder, unreadable, not text or
// larger than maxBytes. notice, when given, is set to what the user is
// told of a file read as Windows-1252 (empty otherwise).
bool ReadWholeFile(const std::string& fileName, std::size_t maxBytes, std::string& text, std::string& error,
                   std::string* notice = nullptr);

// "FILE: the file does not exist." and so on: why a file could not be
// opened or read, by the reader's status and reason.
std::string FileProblem(const std::string& fileName, tTextFileStatus status, const std::string& reason,
                        std::size_t maxBytes);
