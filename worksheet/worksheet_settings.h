// The worksheet settings: the values that make the one worksheet window
// serve both programs. Each program's entry point picks its table; the
// window reads it when it is built. gridRows alone changes later (the
// summary-data flow sets it to the number of covariates + 1).
#pragma once

#include <array>
#include <string>

#include "worksheet/saved_inputs.h"

struct tWorksheetSettings {
  std::string programName;  // "Quorvik" or "Quorvane"

  // Fields 1..visibleFieldCount and their labels are shown.
  int visibleFieldCount = 2;
  // Entry fields the saved-inputs file restores (and, when > 0, writes one a line).
  int restoredFieldCount = 0;
  // The correlation matrix comes from the matrix-entry window and is saved and restored.
  bool usesMatrixEntry = false;
  // The data grid is shown, sized, saved and restored.
  bool usesDataGrid = false;
  int gridColumns = 0;  // including the row-number column 0
  int gridRows = 0;

  // The key filter and the length rule cover fields firstFilteredField..8
  // (the summary-data flow handles the covariates field of Quorvane itself).
  int firstFilteredField = 1;
  // Which field holds the control sample size and which the number of covariates.
  int sampleSizeField = 1;
  int covariateField = 2;

  // Window: client area, the two visible fields and their labels (inside
  // Panel1), the width of the interval choice.
  int clientWidth = 792;
  int clientHeight = 573;
  int fieldLeft = 680;
  int labelLeft = 328;
  int radioGroupWidth = 217;

  std::array<std::string, 8> labelCaptions;
  std::array<std::string, 3> radioItems;
  std::string description;

  tSavedInputsLayout SavedInputsLayout() const;
};

// The raw-data program.
tWorksheetSettings QuorvikWorksheetSettings();
// The summary-data program.
tWorksheetSettings QuorvaneWorksheetSettings();

// The program descriptions shown at the top of the worksheet.
std::string QuorvikDescription();
std::string QuorvaneDescription();
