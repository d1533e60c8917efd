// The worksheet's inputs as plain data: the entry fields, the notes, the
// interval chosen, the grid's cells, the correlations kept for the run and
// what is known about them. The window copies between its widgets and
// these; the rules for the fields and the grid, the saved inputs and the
// report's frame are plain functions over them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/extended.h"
#include "platform/services.h"
#include "report/analysis_report.h"
#include "analysis/analysis_request.h"
#include "worksheet/logic/program_profile.h"
#include "formats/saved_inputs.h"

// The grid's columns: 0 the row number, 1 the name, 2..5 the numbers.
constexpr int NameColumn = 1;
constexpr int MeanColumn = 2;
constexpr int SdColumn = 3;
constexpr int CaseAColumn = 4;
constexpr int CaseBColumn = 5;

// Largest number of covariates the grid follows: the covariates field is
// capped at this value, so the grid has at most 13 rows.
constexpr int MaxGridCovariates = 12;
inline constexpr const char* GridCapMessage = "Maximum size of grid is 12 rows.";

// The most characters the notes hold.
constexpr int NotesMaxLength = 250;

// Exit's question; the program ends only on Yes.
inline constexpr const char* ExitQuestion = "Exit from program?";

// The grid's cells by (column, row), both from 0. Rows beyond rowCount
// keep their text and come back when the grid grows again.
class tGridCells {
 public:
  int RowCount() const { return rowCount_; }
  int ColumnCount() const { return columnCount_; }
  // Columns stay fixed once set; rows are at least 1.
  void SetShape(int columns, int rows);
  void SetRowCount(int rows);
  // Any row, shown or kept; "" outside the cells held.
  std::string Cell(int column, int row) const;
  void SetCell(int column, int row, std::string text);
  // Column 0 of the shown rows: "1", "2", ...
  void NumberRows();
  // Empties columns 1 and up of every row, shown or kept.
  void ClearData();

 private:
  int columnCount_ = 1;
  int rowCount_ = 1;
  std::vector<std::vector<std::string>> rows_;
};

// A grid cell by column and row.
struct tGridCell {
  int column;
  int row;
};

struct tWorksheetInputs {
  std::array<std::string, WorksheetFieldCount> fields;  // fields 1..8 at 0..7, as typed
  std::string notes;
  tIntervalChoice interval = tIntervalChoice::TwoSided;
  tGridCells grid;
  tStoredCorrelations correlations;
  // The saved-inputs file existed and was read completely at start-up.
  bool matrixRestored = false;
  // A matrix was accepted in the matrix window in this run (Clear Data forgets it).
  bool matrixEntered = false;
  // Order (k + 1) of the last matrix entered, restored or opened; 0
  // before the first one and after Clear Data.
  int matrixOrder = 0;

  const std::string& Field(int n) const { return fields.at(static_cast<std::size_t>(n - 1)); }
  std::string& Field(int n) { return fields.at(static_cast<std::size_t>(n - 1)); }
};

// The inputs of a worksheet that starts without saved inputs: fields
// empty, the correlations zero (raw data) or the identity (summary data),
// the grid at its first size with the default names.
tWorksheetInputs FirstRunInputs(const tProgramProfile& profile);

// Clear Data: fields, notes and every data cell emptied (row count, row
// numbers and headings stay), the correlations reset and the entered
// matrix forgotten. The file is deleted by the caller.
void ClearWorksheetInputs(tWorksheetInputs& inputs, const tProgramProfile& profile);

// --- field rules ------------------------------------------------------------

// The two count fields read and checked in field order (sample-size rule
// or covariate-count rule), then the cross-field rule. On failure the box
// has been shown and the field to focus is returned; nullopt when both pass.
struct tCounts {
  int sampleSize = 0;
  int covariates = 0;
};
std::optional<int> ReadCountFields(const tWorksheetInputs& inputs, const tProgramProfile& profile,
                                   const tNoticeHook& notice, tCounts& counts);

// Grid rows for the value the covariates field reads as: value + 1 when
// the value is a whole number, at least 1 (a negative count leaves one
// row; compute refuses it) and at most MaxGridCovariates + 1 (a text
// pasted past the key-release cap). nullopt when the value is not a whole
// number (2.5): the grid is then left as it was.
std::optional<int> GridRowsForCovariateValue(extended value);

// The box shown when the covariates field's text is not a whole number.
std::string WholeNumberMessage(std::string_view text);

// Every change of the summary-data program's covariates field: the grid
// gets one row for the task and one per covariate. An empty text, or one
// the reader refuses (the reader says so), leaves the grid alone, as does
// a value that is not whole (an error box says so). True when the grid's
// row count was set.
bool FollowCovariateField(tWorksheetInputs& inputs, tPlatformServices& services);

// Key release in the covariates field: more than MaxGridCovariates is cut
// back to it, with the warning GridCapMessage. True when the text changed.
bool CapCovariateField(tWorksheetInputs& inputs, tPlatformServices& services);

// Key release in a grid cell of column column: a name of 6 or more
// characters draws the length warning and stays as typed; a number of
// more than 6 characters is cut to its first six. True when text changed.
bool ApplyGridCellLength(int column, std::string& text, tPlatformServices& services);

// A paste into a numeric field or grid cell, checked as typing is: the
// pasted characters pass the key filter one by one (a comma becomes a
// point) and land between before and after, and the length rule cuts the
// result. The line ends and tabs that a copied cell or line brings along
// are left out without a word; any other refused character is left out
// with the filter's beep and warning, said once for the paste. Returns the
// entry's new text; nullopt when nothing is left to insert (the entry
// stays as it was, its selection too).
std::optional<std::string> PasteIntoNumericEntry(std::string_view before, std::string_view pasted,
                                                 std::string_view after, const tNoticeHook& notice,
                                                 const tBeepHook& beep);

// The grid check before the matrix entry: column by column from Mean to
// lastColumn, and within a column row by row over rows 0..rows - 1, each
// cell must pass the strict reader under the label "Test No." + the row's
// number text; each SD must then be positive (label sdCaption). Returns
// the first cell that fails (its box has been shown), nullopt when every
// cell passes.
std::optional<tGridCell> CheckGridCells(const tGridCells& grid, int rows, const std::string& sdCaption,
                                        const tNoticeHook& notice, int lastColumn = CaseBColumn);

// The headings of the grid's columns, from column 0 (SdHeading, the label
// of the SD rule, is in analysis/programs.h).
inline constexpr const char* GridColumnHeadings[] = {"Test No.", "Name", "Mean", SdHeading, "Case A", "Case B"};

// A block of cells pasted into the grid (copied from a spreadsheet or a
// paper's table) from the cell of column and row on: the block's rows go
// to the grid's rows from row down, a row's cells to the columns from
// column across, in the grid's order (name, mean, SD, Case A, Case B).
// Each cell is taken as typing takes it: a name as it stands, a number
// through the key filter (a comma becomes a point) and within the 6
// characters the length rule keeps. When a cell does not fit, or the block
// runs past the grid's last row or column, nothing is changed and the
// result is the box's text, naming the cell and why; otherwise the cells
// are set and the result is empty. longName tells that a pasted name has 6
// characters or more, which the name's length warning then says.
std::string PasteBlockIntoGrid(tGridCells& grid, int column, int row, std::string_view text, bool& longName);

// True when a text pasted into a grid cell of the column fills several
// cells (PasteBlockIntoGrid): it holds more than one cell, and, pasted
// into a name, a tab or more than one line (one line of words is a name).
bool IsGridBlock(std::string_view text, int column);

// --- saved inputs -----------------------------------------------------------

// Where a program keeps its saved inputs: the folder the file is written
// in (and deleted from), and the program's own folder when that is
// another one, which cannot be written: a file there is still read at
// start-up while the first folder holds none.
struct tSavedInputsPlace {
  tSavedInputsPlace(std::string writableFolder = {}, std::string readOnlyFolder = {})
      : folder(std::move(writableFolder)), readOnlyProgramFolder(std::move(readOnlyFolder)) {}
  std::string folder;
  std::string readOnlyProgramFolder;
};

// The path of the program's saved-inputs file in folder.
std::string SavedInputsPathIn(const std::string& folder, const tProgramProfile& profile);

// The file beside the program in the read-only program folder of place,
// when there is one there ("" otherwise, and for a program that restores
// nothing).
std::string BesideProgramPath(const tSavedInputsPlace& place, const tProgramProfile& profile);

// The file restored at start-up: the one in place.folder when anything of
// that name is there, else the file beside the program, else (no file at
// all) the one in place.folder.
std::string RestorePath(const tSavedInputsPlace& place, const tProgramProfile& profile);

// The inputs as the saved-inputs file holds them (the correlations as
// they stand, rows 1..matrixOrder of their lower triangle written).
tSavedInputs SavedInputsOf(const tWorksheetInputs& inputs, const tProgramProfile& profile);

// Writes the saved-inputs file. On failure a warning names the file and
// the reason and false is returned; the caller's computation goes on.
// When the inputs were restored from another file (restoredFrom, beside a
// program whose folder cannot be written), a successful save says once
// where they now live.
bool SaveWorksheetInputs(const tWorksheetInputs& inputs, const tProgramProfile& profile, const std::string& path,
                         tPlatformServices& services, const std::string& restoredFrom = {});

// Restores the inputs from the file at path at start-up. A missing file
// leaves inputs at their first run. A damaged or incomplete file restores
// what it held before the problem and shows an error box that names the
// file and the problem or the first item missing (the file is left
// untouched). Lines after a complete file are named in a warning, and the
// inputs are restored. A folder in the file's place is reported as such. Returns
// true when the file gave a whole correlation matrix (the Compute button
// then reads "Continue").
//
// Opened from the menu (OpenFile), a file that is missing, a folder, not
// whole or damaged draws the same error box, which then says that the
// worksheet and its correlations are left as they were, and nothing is
// changed; a link the user chose is read like any file (the caller
// resolves it). A whole file replaces the fields, the grid and the
// correlations (the identity outside the file's triangle), as a restore
// at start-up does.
enum class tRestoreOccasion { StartUp, OpenFile };
bool RestoreWorksheetInputs(tWorksheetInputs& inputs, const tProgramProfile& profile, const std::string& path,
                            tPlatformServices& services, tRestoreOccasion occasion = tRestoreOccasion::StartUp);

// Clear Data's question: when a saved-inputs file is at path, or a copy
// beside the program that Clear Data cannot delete (besideProgram), the
// user is asked (Yes/No) first. True when the worksheet is to be cleared.
bool ConfirmClearData(const std::string& path, const std::string& besideProgram, tPlatformServices& services);

// Clear Data's part on disk: deletes the file, with an error box when a
// file is there and stays. A folder of that name is no saved inputs and is
// left alone.
void DeleteSavedInputs(const std::string& path, tPlatformServices& services);

// --- report -----------------------------------------------------------------

// The worksheet's part of the report: title, notes with their caption, the
// fields with their captions and visibility, in the program's layout.
tReportFrame ReportFrameOf(const tWorksheetInputs& inputs, const tProgramProfile& profile);
