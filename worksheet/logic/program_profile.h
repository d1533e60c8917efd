// The program profile: everything that makes the one worksheet serve
// either program, apart from its geometry. Titles, the saved-inputs file
// name, the field captions and rules, the grid's shape, the interval
// items, the description and the confidence level. Plain data; the
// window, the flows and the batch tool all read it.
#pragma once

#include <array>
#include <string>

#include "analysis/analysis_request.h"
#include "analysis/programs.h"
#include "core/extended.h"
#include "formats/saved_inputs.h"

struct tProgramProfile {
  tProgramKind kind = tProgramKind::RawData;
  std::string programName;          // "Quorvik" or "Quorvane"
  std::string programTitle;         // worksheet caption, results caption tail, report line 3
  std::string savedInputsFileName;  // "Quorvik.txt" or "Quorvane.txt"

  // Fields 1..visibleFieldCount and their labels are shown.
  int visibleFieldCount = 2;
  // Entry fields the saved-inputs file restores (and, when > 0, writes one a line).
  int restoredFieldCount = 0;
  // The correlation matrix comes from the matrix-entry window and is saved and restored.
  bool usesMatrixEntry = false;
  // The data grid is shown, sized, saved and restored.
  bool usesDataGrid = false;
  int gridColumns = 0;  // including the row-number column 0
  int gridRows = 0;     // rows of a grid that starts without saved inputs

  // The key filter and the length rule cover fields firstFilteredField..8
  // (the summary-data program handles its covariates field itself).
  int firstFilteredField = 1;
  // Which field holds the control sample size and which the number of covariates.
  int sampleSizeField = 1;
  int covariateField = 2;

  std::array<std::string, 8> labelCaptions;
  std::array<std::string, 3> radioItems;

  extended confidenceLevel = DefaultConfidenceLevel;

  // The caption of the interval choice: "95% credible limit required...".
  std::string IntervalCaption() const;
  // The results window's caption: "Results viewer: " and the title.
  std::string ResultsCaption() const;
  // The program description shown at the top of the worksheet.
  std::string Description() const;
  tSavedInputsLayout SavedInputsLayout() const;
};

// The raw-data program.
tProgramProfile QuorvikProfile();
// The summary-data program.
tProgramProfile QuorvaneProfile();
