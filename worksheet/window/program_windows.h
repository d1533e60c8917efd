// Each program's windows built and wired as its entry point runs them: the
// worksheet (which restores the saved inputs), the hidden results window,
// and the engine's notices routed to the services while the windows live.
// main() and the tests that drive a whole program in process call the same
// functions.
#pragma once

#include <memory>
#include <string>

#include "results/tfrm_template_results.h"
#include "worksheet/logic/program_profile.h"
#include "worksheet/window/tfrm_template.h"

class tPlatformServices;

struct tProgramWindows {
  std::unique_ptr<TfrmTemplate> worksheet;
  std::unique_ptr<TfrmTemplateResults> results;

  tProgramWindows() = default;
  tProgramWindows(tProgramWindows&&) = default;
  tProgramWindows& operator=(tProgramWindows&&) = default;
  // The results window goes first: it refers to the worksheet. The
  // engine's notices are no longer routed to the services.
  ~tProgramWindows();
};

// The windows of the program of profile, its saved inputs kept in
// savedInputs (a folder alone is read and written both). matrixEntry
// serves the summary-data program's matrix entry (the modal matrix window
// when none is given).
tProgramWindows BuildProgramWindows(const tProgramProfile& profile, tPlatformServices& services,
                                    const tSavedInputsPlace& savedInputs,
                                    std::unique_ptr<tMatrixEntry> matrixEntry = nullptr);

tProgramWindows BuildQuorvikWindows(tPlatformServices& services, const tSavedInputsPlace& savedInputs);
tProgramWindows BuildQuorvaneWindows(tPlatformServices& services, const tSavedInputsPlace& savedInputs,
                                     std::unique_ptr<tMatrixEntry> matrixEntry = nullptr);
