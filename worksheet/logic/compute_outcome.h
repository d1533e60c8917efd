// What a compute flow leaves for the worksheet window to do once it has
// run: where the focus goes, and whether the results window is shown with
// new report lines, their figure and the summary in words. The flows speak to the user through the services
// themselves; the window only applies this.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "report/analysis_figure.h"
#include "worksheet/logic/worksheet_inputs.h"

// The steps that long work of a compute names in its progress window.
inline constexpr const char* ReadingDataStep = "Reading the data file...";
inline constexpr const char* WritingReportStep = "Computing the statistics and writing the report...";
inline constexpr const char* ShowingReportStep = "Showing the report...";

struct tComputeOutcome {
  std::optional<int> focusField;       // field 1..8 to focus, its text selected
  std::optional<tGridCell> focusCell;  // grid cell to make current, the grid focused
  bool showResults = false;            // show the results window, hide the worksheet
  std::vector<std::string> report;     // lines to append to the results
  std::optional<tAnalysisFigure> figure;  // the figure shown under those lines
  std::string summary;                 // the summary in words shown under the figure; no line of the report
  bool inputsSaved = false;            // the saved-inputs file was written
};

// Where a compute runs: the saved-inputs file, the file beside the program
// the inputs were restored from while they have not yet been saved in
// their own folder (empty otherwise), and the number of lines the results
// window holds already (a report then opens with its separator).
struct tComputeContext {
  std::string savedInputsPath;
  std::string restoredFromPath;
  int reportLineCount = 0;
};
