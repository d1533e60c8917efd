// Quorvane's Compute, from the button press through the grid check, the
// matrix entry, the saved inputs and the analysis to the report lines.
// Plain functions over the worksheet's inputs; the matrix window is
// reached through tMatrixEntry, so the flow runs in tests without it.
#pragma once

#include "platform/services.h"
#include "analysis/analysis_request.h"
#include "worksheet/logic/compute_outcome.h"
#include "worksheet/logic/program_profile.h"
#include "worksheet/logic/worksheet_inputs.h"

// Opens the matrix entry on a correlation matrix of the given order and
// waits for the user.
class tMatrixEntry {
 public:
  virtual ~tMatrixEntry() = default;
  // matrix holds the values to show (the leading order x order block);
  // returns true with the accepted values there, symmetric, when the user
  // pressed Continue, false when the user went back to the worksheet (the
  // matrix must then be ignored).
  virtual bool EnterCorrelations(tStoredCorrelations& matrix, int order) = 0;
};

// The matrix the matrix entry opens on: the leading order x order block of
// the worksheet's correlations once a matrix has been restored at start-up
// or entered in this run, the identity otherwise.
tStoredCorrelations InitialEntryMatrix(const tWorksheetInputs& inputs, int order);

// The request of a compute of N controls and k covariates: element v of
// each vector from grid row v - 1 (the lenient reader, the cells having
// passed the strict one), R from the leading block of the correlations,
// the variables' names from the Name column.
tAnalysisRequest SummaryRequest(const tWorksheetInputs& inputs, const tProgramProfile& profile, int N, int k,
                                const tNoticeHook& notice);

// The analysis of the worksheet's summary data with its report (no
// diagnostic lines): the control sample of the grid and the matrix,
// checked by CheckControlSample, then RunAnalysis. earlierLines: the number of lines the results
// already hold.
tAnalysisRecord AnalyseSummaryData(const tWorksheetInputs& inputs, const tProgramProfile& profile, int N, int k,
                                   int earlierLines, const tNoticeHook& notice);

// The whole Compute: steps 1 to 12.
tComputeOutcome ComputeSummaryData(tWorksheetInputs& inputs, const tProgramProfile& profile,
                                   const tComputeContext& context, tPlatformServices& services,
                                   tMatrixEntry& matrixEntry);
