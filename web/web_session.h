// One program's page in the browser edition, as plain data and calls: the
// worksheet's inputs, the rules its entries apply while the user types or
// pastes, the compute flows and the results the page shows. The page's
// script draws the widgets, copies their text here before each action and
// draws again from State(); every rule, message and report line comes from
// the same logic the desktop windows call.
//
// The saved-inputs file lives in the page's own file system (the page
// keeps its text in the browser's storage and writes it back before
// Start); raw-data and saved-inputs files the user picks are written there
// too before the flows read them.
#pragma once

#include <string>
#include <vector>

#include "platform/services.h"
#include "worksheet/logic/program_profile.h"
#include "worksheet/logic/summary_data_flow.h"
#include "worksheet/logic/worksheet_inputs.h"

// The folder of the page's own files: the saved inputs, the files picked
// and the files to download.
inline constexpr const char* WebHomeFolder = "/home/web_user";

// Where a key rule applies: a field (1..8), a grid cell or a matrix cell.
enum class tWebEntryKind { Field, GridCell, MatrixCell, Notes };
struct tWebEntry {
  tWebEntryKind kind = tWebEntryKind::Field;
  int column = 0;  // field number, or the cell's column
  int row = 0;
};

// One analysis as the results show it: its report lines, its figure as an
// SVG document (empty when it has none) and its summary in words.
struct tWebReport {
  std::vector<std::string> lines;
  std::string figureSvg;
  std::string summary;
};

class tWebSession {
 public:
  // home: the folder of the saved inputs (WebHomeFolder in the page).
  explicit tWebSession(tProgramKind kind, std::string home = WebHomeFolder);

  const tProgramProfile& Profile() const { return profile_; }
  tWorksheetInputs& Inputs() { return inputs_; }
  const std::vector<tWebReport>& Reports() const { return reports_; }
  std::string SavedInputsPath() const;

  // The page opens: restores the saved inputs (their boxes through services).
  void Start(tPlatformServices& services);

  // The whole state the page draws, as one JSON object: the captions and
  // labels, the fields, notes, interval and grid, the Compute caption and
  // the focus the last action asked for.
  std::string State() const;

  // --- typing and pasting (boxes only of the OK kind) ------------------
  // A character typed into a numeric entry: the character to insert (a
  // comma becomes a point), 0 when the filter refuses it. Entries without
  // the filter take every character.
  char32_t FilterKey(const tWebEntry& entry, char32_t key, tPlatformServices& services) const;
  bool IsNumericEntry(const tWebEntry& entry) const;
  // A key released in the entry whose text is text: its length rule (and
  // the covariates field's cap); the entry's new text goes into text.
  // True when the text changed.
  bool KeyUp(const tWebEntry& entry, std::string& text, tPlatformServices& services);
  // The covariates field changed: the grid follows. True when the grid's
  // rows changed.
  bool CovariatesChanged(tPlatformServices& services);
  // A paste of pasted between before and after in the entry: the entry's
  // new text, or nullopt when nothing is inserted. A block pasted into a
  // grid cell fills the grid from that cell on (the result is then the
  // cell's new text).
  std::optional<std::string> Paste(const tWebEntry& entry, const std::string& before, const std::string& pasted,
                                   const std::string& after, tPlatformServices& services);

  // --- buttons ---------------------------------------------------------
  // Compute (or Continue): true when a report was added.
  bool Compute(tPlatformServices& services, tMatrixEntry& matrixEntry);
  // Clear Data: asks, then clears the worksheet and deletes the saved inputs.
  void ClearData(tPlatformServices& services);
  // Open Inputs... (a saved-inputs file the user picks) and Save Inputs
  // As... (into a file the page then downloads: its path, empty when
  // nothing was written).
  void OpenInputs(tPlatformServices& services);
  std::string SaveInputsAs(tPlatformServices& services);
  // Exit: true when the user answered Yes.
  bool Exit(tPlatformServices& services) const;

  // --- results ---------------------------------------------------------
  // The results as Save Output writes them: every line ended by CR LF.
  std::string ResultsFileText() const;
  // The results as Copy puts them on the clipboard: every line ended by LF.
  std::string ResultsText() const;
  void ClearResults() { reports_.clear(); }

 private:
  int ReportLineCount() const;

  tProgramProfile profile_;
  tWorksheetInputs inputs_;
  std::vector<tWebReport> reports_;
  bool continueCaption_ = false;
  std::string focus_;  // "field N" or "cell C R", as the last action left it
  std::string lastInputsFile_;
  std::string home_;
};
