#include "worksheet/logic/worksheet_inputs.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "core/text_characters.h"
#include "core/text_file.h"
#include "core/text_format.h"
#include "validation/pasted_block.h"
#include "validation/validation.h"

namespace {

// Names written into a grid that starts without saved inputs (rows beyond
// the current row count keep theirs until the grid grows).
constexpr const char* DefaultGridNames[] = {"Task", "Cov 1", "Cov 2", "Cov 3", "Cov 4", "Cov 5", "Cov 6"};

// Label of a grid cell in the readers' boxes: this text directly followed
// by the row's number text.

// A pasted character outside ASCII, as the key filter sees it (it refuses it).
constexpr char32_t NonAsciiCharacter = 0xFFFD;
constexpr char32_t BackspaceCharacter = 8;

bool IsContinuationByte(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The caption of the notes label, which the report repeats.
constexpr const char* NotesCaption = "User's Notes:";

void ResetCorrelations(tWorksheetInputs& inputs, const tProgramProfile& profile) {
  if (profile.usesMatrixEntry)
    SetIdentity(inputs.correlations);
  else
    SetAllZero(inputs.correlations);
}

void FirstRunGrid(tGridCells& grid, const tProgramProfile& profile) {
  grid.SetShape(profile.gridColumns, profile.gridRows);
  grid.ClearData();
  int row = 0;
  for (const char* name : DefaultGridNames) grid.SetCell(NameColumn, row++, name);
  grid.NumberRows();
}

}  // namespace

// ---------------------------------------------------------------------------
// The grid's cells

void tGridCells::SetShape(int columns, int rows) {
  columnCount_ = std::max(columns, 1);
  for (auto& row : rows_) row.resize(static_cast<std::size_t>(columnCount_));
  SetRowCount(rows);
}

void tGridCells::SetRowCount(int rows) {
  rowCount_ = std::max(rows, 1);
  if (static_cast<int>(rows_.size()) < rowCount_)
    rows_.resize(static_cast<std::size_t>(rowCount_), std::vector<std::string>(columnCount_));
}

std::string tGridCells::Cell(int column, int row) const {
  if (column < 0 || column >= columnCount_ || row < 0 || row >= static_cast<int>(rows_.size())) return {};
  return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void tGridCells::SetCell(int column, int row, std::string text) {
  if (column < 0 || column >= columnCount_ || row < 0) return;
  if (row >= static_cast<int>(rows_.size()))
    rows_.resize(static_cast<std::size_t>(row) + 1, std::vector<std::string>(columnCount_));
  rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::move(text);
}

void tGridCells::NumberRows() {
  for (int row = 0; row < rowCount_; ++row) SetCell(0, row, std::to_string(row + 1));
}

void tGridCells::ClearData() {
  for (auto& row : rows_)
    for (std::size_t column = 1; column < row.size(); ++column) row[column].clear();
}

// ---------------------------------------------------------------------------
// Whole inputs

tWorksheetInputs FirstRunInputs(const tProgramProfile& profile) {
  tWorksheetInputs inputs;
  ResetCorrelations(inputs, profile);
  if (profile.usesDataGrid) FirstRunGrid(inputs.grid, profile);
  return inputs;
}

void ClearWorksheetInputs(tWorksheetInputs& inputs, const tProgramProfile& profile) {
  for (std::string& field : inputs.fields) field.clear();
  inputs.notes.clear();
  ResetCorrelations(inputs, profile);
  inputs.grid.ClearData();
  inputs.matrixEntered = false;
}

// ---------------------------------------------------------------------------
// Field rules

std::optional<int> ReadCountFields(const tWorksheetInputs& inputs, const tProgramProfile& profile,
                                   const tNoticeHook& notice, tCounts& counts) {
  int values[3] = {0, 0, 0};
  for (int n = 1; n <= 2; ++n) {
    const std::string& label = profile.labelCaptions[static_cast<std::size_t>(n - 1)];
    const extended value = ReadLabelledNumber(inputs.Field(n), label, notice);
    if (inputError) return n;
    const bool valid = n == profile.sampleSizeField ? CheckSampleSize(label, value, notice)
                                                    : CheckCovariateCount(label, value, notice);
    if (!valid) return n;
    values[n] = static_cast<int>(value);  // a whole number within the rule's range
  }
  counts.sampleSize = values[profile.sampleSizeField];
  counts.covariates = values[profile.covariateField];
  if (!CheckCovariatesForSampleSize(counts.sampleSize, counts.covariates, notice)) return profile.covariateField;
  return std::nullopt;
}

std::optional<int> GridRowsForCovariateValue(extended value) {
  if (!std::isfinite(value) || value != std::trunc(value)) return std::nullopt;
  // Clamped as an extended first, so that no count converts out of range.
  const extended rows = std::clamp(value + 1, extended{1}, extended{MaxGridCovariates + 1});
  return static_cast<int>(rows);
}

std::string WholeNumberMessage(std::string_view text) {
  return "'" + std::string(text) +
         "' is not a valid whole number.\r\rThe number of covariates must be a whole number; the grid "
         "has been left as it was.";
}

bool FollowCovariateField(tWorksheetInputs& inputs, tPlatformServices& services) {
  const std::string& text = inputs.Field(1);
  const extended value = ReadCellNumber(text, services.NoticeHook());
  if (inputError || value == 0) return false;
  const std::optional<int> rows = GridRowsForCovariateValue(value);
  if (!rows) {
    services.Error(WholeNumberMessage(text));
    return false;
  }
  inputs.grid.SetRowCount(*rows);
  inputs.grid.NumberRows();
  return true;
}

// A text the reader refuses was reported when the field changed, so it is
// read here without a second box.
bool CapCovariateField(tWorksheetInputs& inputs, tPlatformServices& services) {
  if (ReadCellNumber(inputs.Field(1), tNoticeHook{}) <= MaxGridCovariates) return false;
  services.Warn(GridCapMessage);
  inputs.Field(1) = std::to_string(MaxGridCovariates);
  return true;
}

bool ApplyGridCellLength(int column, std::string& text, tPlatformServices& services) {
  if (column < NameColumn) return false;
  if (column == NameColumn) {
    if (CharacterCount(text) >= MaxFieldLength) services.Warn(MaximumLengthMessage);
    return false;
  }
  return ApplyLengthRule(text, services.NoticeHook(), services.BeepHook());
}

std::optional<std::string> PasteIntoNumericEntry(std::string_view before, std::string_view pasted,
                                                 std::string_view after, const tNoticeHook& notice,
                                                 const tBeepHook& beep) {
  std::string accepted;
  bool refused = false;
  for (const char c : pasted) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsContinuationByte(byte) || c == '\r' || c == '\n' || c == '\t') continue;
    const char32_t key = byte < 0x80 ? byte : NonAsciiCharacter;
    const char32_t kept = refused ? FilterNumericKey(key, {}, {}) : FilterNumericKey(key, notice, beep);
    if (kept == 0)
      refused = true;
    else if (kept != BackspaceCharacter)  // passes the filter as a key; pasted, it types nothing
      accepted.push_back(static_cast<char>(kept));
  }
  if (accepted.empty()) return std::nullopt;
  std::string text = std::string(before) + accepted + std::string(after);
  ApplyLengthRule(text, notice, beep);
  return text;
}

std::string PasteBlockIntoGrid(tGridCells& grid, int column, int row, std::string_view text, bool& longName) {
  longName = false;
  column = std::max(column, NameColumn);
  const tPastedRows block = SplitPastedBlock(text);
  std::size_t width = 0;
  for (const auto& cells : block) width = std::max(width, cells.size());
  const int roomRows = grid.RowCount() - row;
  const int roomColumns = CaseBColumn + 1 - column;
  if (static_cast<int>(block.size()) > roomRows || static_cast<int>(width) > roomColumns) {
    return FormatC("Nothing was pasted: the block of %zu row%s and %zu column%s does not fit the grid from row %d, "
                   "%s on, which has room for %d row%s and %d column%s.",
                   block.size(), block.size() == 1 ? "" : "s", width, width == 1 ? "" : "s", row + 1,
                   GridColumnHeadings[column], roomRows, roomRows == 1 ? "" : "s", roomColumns,
                   roomColumns == 1 ? "" : "s");
  }
  tGridCells pasted = grid;
  for (std::size_t i = 0; i < block.size(); ++i) {
    for (std::size_t j = 0; j < block[i].size(); ++j) {
      const int to = column + static_cast<int>(j);
      const int at = row + static_cast<int>(i);
      std::string cell = block[i][j];
      if (to == NameColumn) {
        longName = longName || CharacterCount(cell) >= MaxFieldLength;
      } else {
        const std::string where =
            FormatC("Nothing was pasted: \"%s\", for the %s of row %d,", ShownText(cell).c_str(),
                    GridColumnHeadings[to], at + 1);
        for (char& c : cell) {
          const auto byte = static_cast<unsigned char>(c);
          const char32_t kept = FilterNumericKey(byte < 0x80 ? byte : NonAsciiCharacter, {}, {});
          if (kept != U'-' && kept != U'.' && !(kept >= U'0' && kept <= U'9'))
            return where + " is not a number.\r\r" + NumericKeyMessage;
          c = static_cast<char>(kept);
        }
        if (CharacterCount(cell) > MaxFieldLength)
          return where + FormatC(" is longer than the %d characters a cell holds: round it before copying it.",
                                 MaxFieldLength);
      }
      pasted.SetCell(to, at, cell);
    }
  }
  grid = pasted;
  return std::string();
}

bool IsGridBlock(std::string_view text, int column) {
  if (!IsPastedBlock(text)) return false;
  return column >= MeanColumn || text.find('\t') != std::string_view::npos || SplitPastedBlock(text).size() > 1;
}

std::optional<tGridCell> CheckGridCells(const tGridCells& grid, int rows, const std::string& sdCaption,
                                        const tNoticeHook& notice, int lastColumn) {
  for (int column = MeanColumn; column <= std::min(lastColumn, CaseBColumn); ++column) {
    for (int row = 0; row < rows; ++row) {
      const std::string label = GridCellLabelPrefix + grid.Cell(0, row);
      const extended value = ReadLabelledNumber(grid.Cell(column, row), label, notice);
      if (inputError) return tGridCell{column, row};
      if (column == SdColumn && !CheckPositiveSd(sdCaption, value, notice)) return tGridCell{column, row};
    }
  }
  return std::nullopt;
}

// ---------------------------------------------------------------------------
// Saved inputs

std::string SavedInputsPathIn(const std::string& folder, const tProgramProfile& profile) {
  return SavedInputsPath(folder, profile.savedInputsFileName);
}

std::string BesideProgramPath(const tSavedInputsPlace& place, const tProgramProfile& profile) {
  if (place.readOnlyProgramFolder.empty() || place.readOnlyProgramFolder == place.folder ||
      profile.restoredFieldCount <= 0)
    return {};
  const std::string path = SavedInputsPathIn(place.readOnlyProgramFolder, profile);
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec) ? path : std::string();
}

std::string RestorePath(const tSavedInputsPlace& place, const tProgramProfile& profile) {
  const std::string own = SavedInputsPathIn(place.folder, profile);
  std::error_code ec;
  if (std::filesystem::exists(std::filesystem::symlink_status(own, ec))) return own;
  const std::string beside = BesideProgramPath(place, profile);
  return beside.empty() ? own : beside;
}

bool SaveWorksheetInputs(const tWorksheetInputs& inputs, const tProgramProfile& profile, const std::string& path,
                         tPlatformServices& services, const std::string& restoredFrom) {
  const tSavedInputsLayout layout = profile.SavedInputsLayout();
  tSavedInputs saved;
  const int fieldCount = layout.fieldsOnOneLine ? WorksheetFieldCount : layout.restoredFieldCount;
  for (int n = 1; n <= fieldCount; ++n) saved.fields.push_back(inputs.Field(n));
  if (profile.usesDataGrid) {
    for (int row = 0; row < inputs.grid.RowCount(); ++row) {
      std::vector<std::string> cells;
      for (int column = 1; column < profile.gridColumns; ++column) cells.push_back(inputs.grid.Cell(column, row));
      saved.gridRows.push_back(std::move(cells));
    }
  }
  saved.correlations = inputs.correlations;
  saved.matrixOrder = inputs.matrixOrder;

  std::string reason;
  // The per-user data folder of an installed program may not exist yet.
  const bool createFolder = true;
  if (!ReplaceTextFile(path, FormatSavedInputs(layout, saved), reason, createFolder, tLinkedName::Refuse)) {
    services.Warn("The inputs could not be saved in the file\r" + path + "\r\r" + reason +
                  ".\r\rThe computation goes on without them being saved.");
    return false;
  }
  if (!restoredFrom.empty() && restoredFrom != path)
    services.Inform("The saved inputs were read from\r" + restoredFrom +
                    "\rbeside the program, whose folder cannot be written. From now on they are saved in\r" +
                    path + "\r\rThe file beside the program is left as it is.");
  return true;
}

bool RestoreWorksheetInputs(tWorksheetInputs& inputs, const tProgramProfile& profile, const std::string& path,
                            tPlatformServices& services) {
  tRestoredInputs restored;
  inputs.matrixRestored = false;
  if (!ReadSavedInputsFile(path, profile.SavedInputsLayout(), restored)) return false;
  if (!restored.linkTarget.empty()) {
    const bool restores = profile.restoredFieldCount > 0;
    services.Warn("The saved inputs file\r" + path + "\ris a link to\r" + restored.linkTarget + "\r\r" +
                  (restores ? "Saved inputs are neither read nor saved through a link, so the worksheet starts "
                              "without them"
                            : "The inputs are never saved through a link") +
                  "; the link and the file it points to are left as they are. To keep the inputs from one run to "
                  "the next, remove the link.");
    return false;
  }
  if (restored.folderInPlace) {
    const bool restores = profile.restoredFieldCount > 0;
    services.Error("There is a folder, not a file, where the saved inputs are kept:\r" + path + "\r\r" +
                   (restores ? "The worksheet starts without saved inputs, and the" : "The") +
                   " inputs cannot be saved until that folder is renamed or moved.");
    return false;
  }
  // Of an incomplete file only what its text held is restored: no field
  // gets a made-up 0, and a grid the text never reached starts as on a
  // first run. The correlations of a file not read completely are never
  // used (the matrix window then starts from the identity).
  const bool complete = !restored.Damaged() && !restored.Incomplete();
  const std::size_t fieldsHeld =
      restored.Incomplete() ? std::min(restored.fields.size(), static_cast<std::size_t>(restored.itemsInText))
                            : restored.fields.size();
  for (std::size_t i = 0; i < fieldsHeld && i < inputs.fields.size(); ++i) inputs.fields[i] = restored.fields[i];
  const bool gridHeld = restored.gridRead && (!restored.Incomplete() ||
                                              static_cast<std::size_t>(restored.itemsInText) > restored.fields.size());
  if (profile.usesDataGrid) {
    if (gridHeld) {
      inputs.grid = tGridCells{};
      inputs.grid.SetShape(profile.gridColumns, static_cast<int>(restored.gridRows.size()));
      for (std::size_t row = 0; row < restored.gridRows.size(); ++row)
        for (std::size_t c = 0; c < restored.gridRows[row].size(); ++c)
          inputs.grid.SetCell(static_cast<int>(c) + 1, static_cast<int>(row), restored.gridRows[row][c]);
      inputs.grid.NumberRows();
    } else {
      FirstRunGrid(inputs.grid, profile);
    }
  }
  if (complete && profile.usesMatrixEntry && restored.matrixOrder > 0)
    PlaceRestoredCorrelations(restored.correlations, restored.matrixOrder, inputs.correlations);
  inputs.matrixRestored = complete;
  // Told once, with the problem when there is one: the next save writes UTF-8.
  const std::string encoding =
      restored.readAsWindows1252
          ? "\r\rThe file is not UTF-8 text: it was read as Windows-1252 (Western European), as Windows programs "
            "write text. The next Compute saves the inputs as UTF-8, with the same characters."
          : "";
  const bool nothingHeld = fieldsHeld == 0 && !gridHeld;
  if (!complete)
    services.Error("The saved inputs could not be read completely from the file\r" + path + "\r\r" +
                   (restored.Damaged() ? restored.problem : restored.missing) + "\r\r" +
                   (nothingHeld ? "The worksheet opens without saved inputs."
                                : "The worksheet opens with the inputs read before the problem.") +
                   " The file has been left as it is." + encoding);
  else if (!restored.extraLines.empty())
    services.Warn("The saved inputs were restored from the file\r" + path + "\r\r" + restored.extraLines +
                  "\r\rThe file has been left as it is; the next Compute saves the inputs without those lines." +
                  encoding);
  else if (!encoding.empty())
    services.Inform("The saved inputs were read from the file\r" + path + encoding);
  return complete && profile.usesMatrixEntry && restored.matrixRead;
}

bool ConfirmClearData(const std::string& path, const std::string& besideProgram, tPlatformServices& services) {
  std::error_code ec;
  const bool saved = std::filesystem::is_regular_file(path, ec);
  if (!saved && besideProgram.empty()) return true;
  std::string question;
  if (saved)
    question = "Clear Data empties the worksheet and deletes the saved inputs in the file\r" + path + "\r\r";
  else
    question = "Clear Data empties the worksheet.\r\r";
  if (!besideProgram.empty())
    question += "The saved inputs beside the program,\r" + besideProgram +
                "\rcannot be deleted (its folder cannot be written) and will be restored at the next start.\r\r";
  question += saved ? "Delete the saved inputs and clear the worksheet?" : "Clear the worksheet?";
  return services.ConfirmDiscard(question);
}

void DeleteSavedInputs(const std::string& path, tPlatformServices& services) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return;
  std::string reason;
  if (!DeleteTextFile(path, reason))
    services.Error("The saved inputs file\r" + path + "\rcould not be deleted:\r\r" + reason + ".");
}

// ---------------------------------------------------------------------------
// Report

tReportFrame ReportFrameOf(const tWorksheetInputs& inputs, const tProgramProfile& profile) {
  tReportFrame frame;
  frame.layout = profile.kind;
  frame.programTitle = profile.programTitle;
  frame.notesCaption = NotesCaption;
  frame.notes = inputs.notes;
  for (int n = 1; n <= WorksheetFieldCount; ++n)
    frame.fields.push_back({profile.labelCaptions[static_cast<std::size_t>(n - 1)], inputs.Field(n),
                            n <= profile.visibleFieldCount});
  return frame;
}
