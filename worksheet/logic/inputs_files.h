// The summary-data program's control samples as files: Open Inputs...
// fills the worksheet from a saved-inputs file chosen in the open dialog,
// Save Inputs As... writes the worksheet's inputs into a file chosen in
// the save dialog. Both use the saved-inputs format, which the batch tool
// reads too; the file beside the program keeps its role (Compute saves
// into it, the next start restores it). Plain functions over the
// worksheet's inputs and the platform services.
#pragma once

#include <optional>
#include <string>

#include "platform/services.h"
#include "worksheet/logic/compute_outcome.h"
#include "worksheet/logic/program_profile.h"
#include "worksheet/logic/worksheet_inputs.h"

// The filter of both dialogs, and the name Save Inputs As... offers first.
inline constexpr const char* InputsFileFilter = "Saved inputs (text files)|*.txt";
inline constexpr const char* InputsFileInitialName = "controls.txt";

// name with ".txt" added when its file name has no extension.
std::string WithTextExtension(const std::string& name);

// The question Save Inputs As... asks when no correlation matrix of the
// order saved has been entered, restored or opened.
std::string UnenteredCorrelationsQuestion(int order);

// Open Inputs...: asks for a file (starting in the folder of lastFile, the
// file last opened or saved, else the current folder) and restores it as
// RestoreWorksheetInputs does with tRestoreOccasion::OpenFile: a whole
// file fills the fields, the grid and the correlations; any other leaves
// everything as it was, with the restore's box. A chosen link is read at
// the file it names. True when the worksheet was filled (its Compute
// button then reads "Continue", as after a restore at start-up).
bool OpenInputsFile(tWorksheetInputs& inputs, const tProgramProfile& profile, tPlatformServices& services,
                    std::string& lastFile);

// Save Inputs As...: checks the control sample as Compute does before it
// saves (the two count fields and the cross-field rule, then the grid's
// means and SDs column by column; the cases' scores are saved as typed
// but not required, a control sample being saved to test pairs to come),
// then, when no correlation matrix of order k + 1 is known, asks
// UnenteredCorrelationsQuestion; asks for the name (".txt" added when it
// has none, asking before such a name replaces a file the dialog did not
// confirm) and writes the saved-inputs file there: the counts, the grid's
// k + 1 rows and the correlations as the matrix window shows them. The
// file is replaced only once the whole text is written; a link or a
// device is never written through or over. A failure is an error box
// naming the file and the reason. The outcome holds the field or cell to
// focus when a check failed, and inputsSaved.
tComputeOutcome SaveInputsAs(tWorksheetInputs& inputs, const tProgramProfile& profile, tPlatformServices& services,
                             std::string& lastFile);
