#include "formats/saved_inputs.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "core/text_file.h"
#include "core/text_format.h"
#include "core/text_lines.h"
#include "validation/decimal_number.h"
#include "validation/value_rules.h"

namespace {

// Whole numbers below this in size are restored digit for digit; larger
// ones, far beyond any count, keep the "%1.6g" form.
constexpr double LargestExactCount = 1e15;

// Reads the file's items in order, line by line. Every access is checked
// against the end of the text, and a read that finds the end is noted.
class tItemReader {
 public:
  explicit tItemReader(std::string_view text) : lines_(SplitLines(text)) {}

  // Reads one number as a text file's number read does: blank lines are
  // passed over, then up to MaxSavedNumberLength characters of the line's
  // first field form the number, and the rest of that line is skipped. At
  // the end of the text the number is 0. Returns false when the characters
  // are not a decimal number within the range of double; token and
  // tokenLine tell what and where.
  bool ReadNumber(double& value, std::string& token, int& tokenLine) {
    while (next_ < lines_.size() && IsBlankLine(lines_[next_])) ++next_;
    tokenLine = static_cast<int>(next_) + 1;
    if (next_ >= lines_.size()) {
      ended_ = true;
      token.clear();
      value = 0.0;
      return true;
    }
    token.assign(FirstField(lines_[next_++]).substr(0, MaxSavedNumberLength));
    return ReadDecimalNumber(token, value);
  }

  // Reads the next line as text (empty at the end).
  std::string ReadLine() {
    if (next_ < lines_.size()) return std::string(lines_[next_++]);
    ended_ = true;
    return std::string();
  }

  // A read has found the end of the text.
  bool Ended() const { return ended_; }
  int LineCount() const { return static_cast<int>(lines_.size()); }
  // Lines read or passed over so far.
  int LinesRead() const { return static_cast<int>(next_); }

  // The first and last lines (from 1) after those read that hold
  // anything; false when every later line is blank.
  bool LaterLines(int& first, int& last) const {
    first = last = 0;
    for (std::size_t i = next_; i < lines_.size(); ++i) {
      if (IsBlankLine(lines_[i])) continue;
      if (first == 0) first = static_cast<int>(i) + 1;
      last = static_cast<int>(i) + 1;
    }
    return first != 0;
  }

 private:
  std::vector<std::string_view> lines_;
  std::size_t next_ = 0;
  bool ended_ = false;
};

// What each item of the summary-data form is, as a message names it.
constexpr const char* SummaryFieldNames[] = {"the number of covariates", "the control sample size"};
constexpr const char* GridCellNames[] = {"the name of %s", "the mean of %s", "the SD of %s", "Case A's score on %s",
                                         "Case B's score on %s"};
constexpr int NamedGridCells = 5;

std::string FieldName(int f) {
  if (f < static_cast<int>(std::size(SummaryFieldNames))) return SummaryFieldNames[f];
  return FormatC("field %d", f + 1);
}

std::string GridCellName(int row, int cell, int cells) {
  if (cells != NamedGridCells) return FormatC("cell %d of grid row %d", cell + 1, row + 1);
  const std::string variable = row == 0 ? std::string("the task") : FormatC("covariate %d", row);
  return FormatC(GridCellNames[cell], variable.c_str());
}

std::string TriangleEntryName(int i, int j) {
  return FormatC("the entry in row %d, column %d of the correlation matrix", i, j);
}

// The text naming what a file that ended early lacks: the first item
// missing and, once the number of covariates is known, the file's length.
std::string EndedEarly(int linesInText, const std::string& item, bool lastItem, int k, int fileLines) {
  if (linesInText == 0) return "The file is empty: it holds none of the saved inputs.";
  std::string text = FormatC("The file ends after line %d: %s %s missing", linesInText, item.c_str(),
                             lastItem ? "is" : "and everything after it are");
  if (fileLines > 0)
    text += FormatC(" (with %d covariate%s the file has %d lines)", k, k == 1 ? "" : "s", fileLines);
  return text + ".";
}

// A token as it may be shown in a message: control characters become '?'.
std::string Printable(const std::string& token) {
  std::string out = token;
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 32 || c == 127) c = '?';
  return out;
}

// The number of covariates that field 1 gives the grid and matrix restore:
// the restored text must be a whole number from MinCovariateCount to
// MaxRestoredCovariates, the counts Compute saves.
bool CovariateCount(const std::string& text, int& k) {
  if (text.empty() || text.size() > 3) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value < MinCovariateCount || value > MaxRestoredCovariates) return false;
  k = value;
  return true;
}

// A text written on a line of its own: line breaks become blanks.
std::string OneLine(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (c == '\n' || c == '\r') c = ' ';
  return out;
}

// The restored fields are counts (k and N): a whole number is shown as
// the integer it is, since "%1.6g" would give N = 1234567 as 1.23457e+06,
// which the number readers refuse; anything else as "%1.6g" (20.0 as 20).
std::string RestoredFieldText(double value) {
  if (value == std::trunc(value) && std::fabs(value) < LargestExactCount) return FormatC("%.0f", value);
  return FormatC("%1.6g", value);
}

}  // namespace

void SetAllZero(tStoredCorrelations& R) {
  for (auto& row : R.cell)
    for (double& x : row) x = 0.0;
}

void SetIdentity(tStoredCorrelations& R) {
  SetAllZero(R);
  for (int i = 1; i <= StoredCorrelationsCapacity; ++i) R[i][i] = 1.0;
}

std::string FormatSavedInputs(const tSavedInputsLayout& layout, const tSavedInputs& inputs) {
  std::string out;
  if (layout.fieldsOnOneLine) {
    for (int f = 0; f < WorksheetFieldCount; ++f) {
      if (f < static_cast<int>(inputs.fields.size())) out += OneLine(inputs.fields[f]);
      out += ' ';
    }
    return out;
  }
  for (int f = 0; f < layout.restoredFieldCount; ++f) {
    if (f < static_cast<int>(inputs.fields.size())) out += OneLine(inputs.fields[f]);
    out += '\n';
  }
  if (layout.usesDataGrid) {
    const int cells = std::max(layout.gridColumns - 1, 0);
    for (const auto& row : inputs.gridRows) {
      for (int c = 0; c < cells; ++c) {
        if (c < static_cast<int>(row.size())) out += OneLine(row[c]);
        out += '\n';
      }
    }
  }
  if (layout.usesMatrixEntry) {
    const int m = std::clamp(inputs.matrixOrder, 0, StoredCorrelationsCapacity);
    for (int i = 1; i <= m; ++i)
      for (int j = 1; j <= i; ++j) out += FormatC("%1.3f", inputs.correlations[i][j]) + "\n";
  }
  return out;
}

tRestoredInputs ParseSavedInputs(std::string_view text, const tSavedInputsLayout& layout) {
  tRestoredInputs out;
  if (layout.fieldsOnOneLine) return out;  // the raw-data form is never read back
  tItemReader in(text);
  double value = 0.0;
  std::string token;
  int tokenLine = 0;
  // Once the number of covariates is known: the items and lines of the file.
  int k = 0;
  int totalItems = 0;
  // Counts an item read, or names it as the first one missing.
  auto noteItem = [&](const std::string& name) {
    if (!in.Ended()) {
      ++out.itemsInText;
      return;
    }
    if (out.Incomplete()) return;
    const bool lastItem = totalItems > 0 && out.itemsInText == totalItems - 1;
    out.missing = EndedEarly(in.LineCount(), name, lastItem, k, totalItems);
  };
  auto notANumber = [&] {
    return FormatC("Line %d: \"%s\" is not a number.", tokenLine, Printable(token).c_str());
  };

  const int fieldCount = std::clamp(layout.restoredFieldCount, 0, WorksheetFieldCount);
  for (int f = 0; f < fieldCount; ++f) {
    if (!in.ReadNumber(value, token, tokenLine)) {
      out.problem = notANumber();
      return out;
    }
    noteItem(FieldName(f));
    out.fields.push_back(RestoredFieldText(value));
  }
  if (!layout.usesDataGrid && !layout.usesMatrixEntry) return out;

  // A file that ends before the number of covariates (an empty file) is
  // incomplete, not damaged: its count reads as 0, as every item past the end.
  const bool countInText = out.itemsInText > 0;
  if (out.fields.empty() || (countInText && !CovariateCount(out.fields[0], k))) {
    const std::string shown = out.fields.empty() ? std::string() : out.fields[0];
    out.problem = FormatC("Line 1: the number of covariates \"%s\" is not a whole number from %d to %d.",
                          shown.c_str(), MinCovariateCount, MaxRestoredCovariates) +
                  " The program never saves another count: the file is damaged, and none of it is used.";
    // Without the count nothing after it can be placed: the file is not restored at all.
    out.fields.clear();
    return out;
  }
  const int m = k + 1;
  const int cells = layout.usesDataGrid ? std::max(layout.gridColumns - 1, 0) : 0;
  const int triangle = layout.usesMatrixEntry ? m * (m + 1) / 2 : 0;
  totalItems = fieldCount + m * cells + triangle;

  if (layout.usesDataGrid) {
    out.gridRows.assign(m, std::vector<std::string>(cells));
    for (int row = 0; row < m; ++row) {
      for (int c = 0; c < cells; ++c) {
        out.gridRows[row][c] = in.ReadLine();
        noteItem(GridCellName(row, c, cells));
      }
    }
    out.gridRead = true;
  }

  if (layout.usesMatrixEntry) {
    out.matrixOrder = m;
    for (int i = 1; i <= m; ++i) {
      for (int j = 1; j <= i; ++j) {
        if (!in.ReadNumber(value, token, tokenLine)) {
          out.problem = notANumber();
          return out;
        }
        noteItem(TriangleEntryName(i, j));
        // The program writes every diagonal entry as 1.000.
        if (i == j && !in.Ended() && value != 1.0) {
          out.problem = FormatC("Line %d: the diagonal entry in row %d, column %d of the correlation matrix is "
                                "\"%s\"; it must be 1 (a variable's correlation with itself), so the file is "
                                "damaged.",
                                tokenLine, i, j, Printable(token).c_str());
          return out;
        }
        out.correlations.push_back(value);
      }
    }
    out.matrixRead = true;
  }
  int first = 0;
  int last = 0;
  if (!out.Incomplete() && in.LaterLines(first, last)) {
    const std::string lines =
        first == last ? FormatC("Line %d comes", first) : FormatC("Lines %d to %d come", first, last);
    out.extraLines = lines + FormatC(" after the last of the saved inputs (line %d) and %s not read.", in.LinesRead(),
                                     first == last ? "was" : "were");
  }
  return out;
}

void PlaceRestoredCorrelations(const std::vector<double>& values, int order, tStoredCorrelations& R) {
  const int m = std::clamp(order, 0, StoredCorrelationsCapacity);
  std::size_t t = 0;
  for (int j = 1; j <= m; ++j) {
    for (int i = 1; i <= j; ++i) {
      if (t < values.size()) R[i][j] = values[t];
      ++t;
    }
    R[j][j] = 1.0;
  }
}

std::string SavedInputsPath(const std::string& folder, const std::string& fileName) {
  if (folder.empty()) return fileName;
  if (folder.back() == '/') return folder + fileName;
  return folder + "/" + fileName;
}

bool ReadSavedInputsFile(const std::string& path, const tSavedInputsLayout& layout, tRestoredInputs& out) {
  namespace fs = std::filesystem;
  out = tRestoredInputs{};
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(path, ec))) {
    out.linkTarget = LinkTarget(path);
    out.problem = "The name is a link to " + out.linkTarget + ".";
    return true;
  }
  const fs::file_type type = fs::status(path, ec).type();
  if (type == fs::file_type::not_found) return false;
  if (type == fs::file_type::directory) {
    out.folderInPlace = true;
    out.problem = "There is a folder of that name, not a file.";
    return true;
  }
  // The raw-data form reads nothing back, so its file is not opened.
  const bool readsNothing = layout.fieldsOnOneLine || (layout.restoredFieldCount <= 0 && !layout.usesDataGrid &&
                                                       !layout.usesMatrixEntry);
  if (readsNothing) return true;
  tTextFile file = ReadTextFile(path, MaxSavedInputsFileSize);
  switch (file.status) {
    case tTextFileStatus::NotFound: return false;
    case tTextFileStatus::CannotExamine: out.problem = "The file could not be examined: " + file.reason + "."; break;
    case tTextFileStatus::IsFolder:
      out.folderInPlace = true;
      out.problem = "There is a folder of that name, not a file.";
      break;
    case tTextFileStatus::CannotOpen: out.problem = "The file could not be opened: " + file.reason + "."; break;
    case tTextFileStatus::ReadFailed: out.problem = "The file could not be read: " + file.reason + "."; break;
    case tTextFileStatus::NotRegular: out.problem = "The name is " + file.reason + "."; break;
    case tTextFileStatus::NotPlainText: out.problem = "The file cannot be read as text: " + file.reason + "."; break;
    case tTextFileStatus::TooLarge:
      out.problem = FormatC("The file is larger than %zu bytes, far more than any saved inputs.",
                            MaxSavedInputsFileSize);
      break;
    case tTextFileStatus::Read:
      out = ParseSavedInputs(file.text, layout);
      out.readAsWindows1252 = file.encoding == tTextEncoding::Windows1252;
      break;
  }
  return true;
}
