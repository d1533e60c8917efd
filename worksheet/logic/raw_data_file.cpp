#include "worksheet/logic/raw_data_file.h"

#include <cmath>
#include <new>
#include <utility>
#include <vector>

#include "core/text_file.h"
#include "core/text_format.h"
#include "core/text_lines.h"
#include "validation/decimal_number.h"

namespace {

// Characters shown of a refused value that is too long to be a number.
constexpr std::size_t ShownPrefixLength = 24;

// Which person a line holds: "control i", "Case A" or "Case B".
std::string LineRole(int line, int rows) {
  if (line == rows - 1) return "Case A";
  if (line == rows) return "Case B";
  return FormatC("control %d", line);
}

std::string LineName(int line, int rows) {
  return FormatC("Line %d (%s) of the data file", line, LineRole(line, rows).c_str());
}

// "2 values (the task of interest and 1 covariate)".
std::string ValuesPhrase(int columns) {
  const int covariates = columns - 1;
  std::string what = "the task of interest";
  if (covariates == 1) what += " and 1 covariate";
  if (covariates > 1) what += FormatC(" and %d covariates", covariates);
  return FormatC("%d value%s (%s)", columns, columns == 1 ? "" : "s", what.c_str());
}

// "2 values were expected (the task of interest and 1 covariate)".
std::string ExpectedValues(int columns) {
  std::string phrase = ValuesPhrase(columns);
  const std::size_t gap = phrase.find(' ', phrase.find(' ') + 1);  // after "2 values"
  return phrase.insert(gap, columns == 1 ? " was expected" : " were expected");
}

std::string ValueName(int column) {
  return FormatC("value %d (%s)", column, RawVariableName(column).c_str());
}

tRawDataReadResult Refused(tRawDataReadResult result, int line, std::string message) {
  result.loaded = false;
  result.line = line;
  result.message = std::move(message);
  return result;
}

// Makes room for at least the given rows, keeping the rows read so far.
// Grows geometrically (capped at the rows asked for), so that a large
// request is held only as far as the file really supplies lines.
void GrowRows(tData_matrix& table, int neededRow, int rowsRead, int rowsAsked, int columns) {
  if (neededRow <= table.Rows()) return;
  const long long doubled = 2LL * table.Rows();
  const int newRows = static_cast<int>(doubled < rowsAsked ? doubled : rowsAsked);
  tData_matrix larger(newRows < neededRow ? neededRow : newRows, table.Columns());
  for (int i = 1; i <= rowsRead; ++i)
    for (int j = 1; j <= columns; ++j) larger[i][j] = table[i][j];
  table = std::move(larger);
}

}  // namespace

std::string RawVariableName(int column) {
  if (column == 1) return "the task of interest";
  return FormatC("covariate %d", column - 1);
}

std::string RawDataLoadedMessage(int rows, int columns) {
  return FormatC(
      "Data file consisting of n + 2 = %2d cases (rows) and %2d variables (columns) was loaded successfully ",
      rows, columns);
}

tRawDataReadResult ReadRawData(std::string_view text, int rows, int columns, tData_matrix& table) {
  tRawDataReadResult result;
  result.rows = rows;
  result.columns = columns;
  if (rows < 3 || columns < 1) {
    return Refused(result, 0,
                   FormatC("The data file cannot be read for %d rows of %d values: at least one control, "
                           "Case A and Case B are needed, each with at least one value.",
                           rows, columns));
  }
  try {
    if (columns > table.Columns()) table.Resize(table.Rows(), columns);
    const std::vector<std::string_view> lines = SplitLines(text);
    for (int line = 1; line <= rows; ++line) {
      if (line > static_cast<int>(lines.size())) {
        return Refused(result, line,
                       FormatC("%s is missing: the file has %d line%s, and %d are needed (%d controls, "
                               "then Case A, then Case B), each with %s.",
                               LineName(line, rows).c_str(), line - 1, line - 1 == 1 ? "" : "s", rows,
                               rows - 2, ValuesPhrase(columns).c_str()));
      }
      GrowRows(table, line, line - 1, rows, columns);
      const std::vector<std::string_view> values = SplitFields(lines[line - 1]);
      for (int column = 1; column <= columns; ++column) {
        if (column > static_cast<int>(values.size())) {
          const int found = column - 1;
          if (found == 0) {
            return Refused(result, line,
                           FormatC("%s is empty: %s.", LineName(line, rows).c_str(),
                                   ExpectedValues(columns).c_str()));
          }
          return Refused(result, line,
                         FormatC("%s holds only %d value%s: %s.", LineName(line, rows).c_str(), found,
                                 found == 1 ? "" : "s", ExpectedValues(columns).c_str()));
        }
        const std::string value(values[column - 1].substr(0, MaxRawValueLength + 1));
        if (value.size() > static_cast<std::size_t>(MaxRawValueLength)) {
          return Refused(result, line,
                         FormatC("%s: %s \"%s...\" is too long to be a number (at most %d characters).",
                                 LineName(line, rows).c_str(), ValueName(column).c_str(),
                                 value.substr(0, ShownPrefixLength).c_str(), MaxRawValueLength));
        }
        extended number = 0;
        if (!ReadDecimalNumber(value, number)) {
          return Refused(result, line,
                         FormatC("%s: %s \"%s\" is not a number.\rWrite numbers with a point as the "
                                 "decimal mark (for example 12.5) and separate the values by blanks.",
                                 LineName(line, rows).c_str(), ValueName(column).c_str(), value.c_str()));
        }
        if (std::fabs(number) > MaxRawValueMagnitude || (number != 0 && std::fabs(number) < MinRawValueMagnitude)) {
          return Refused(result, line,
                         FormatC("%s: %s \"%s\" is out of range: values must lie between -1e300 and 1e300 "
                                 "and, unless they are 0, be at least 1e-300 in size.",
                                 LineName(line, rows).c_str(), ValueName(column).c_str(), value.c_str()));
        }
        table[line][column] = number;
      }
    }
  } catch (const std::bad_alloc&) {
    return Refused(result, 0,
                   FormatC("The data file is too large: %d rows of %d values cannot be held in memory.", rows,
                           columns));
  }
  result.loaded = true;
  result.message = RawDataLoadedMessage(rows, columns);
  return result;
}

tRawDataReadResult ReadRawDataFile(const std::string& fileName, int rows, int columns,
                                   tData_matrix& table) {
  tRawDataReadResult result;
  result.rows = rows;
  result.columns = columns;
  const tTextFile file = ReadTextFile(fileName, MaxRawDataFileSize);
  const char* name = fileName.c_str();
  switch (file.status) {
    case tTextFileStatus::Read: return ReadRawData(file.text, rows, columns, table);
    case tTextFileStatus::NotFound:
      return Refused(result, 0, FormatC("The data file \"%s\" cannot be read: it does not exist.", name));
    case tTextFileStatus::IsFolder:
      return Refused(result, 0, FormatC("The data file \"%s\" cannot be read: it is a folder.", name));
    case tTextFileStatus::TooLarge:
      return Refused(result, 0,
                     FormatC("The data file \"%s\" cannot be read: it is larger than %zu bytes.", name,
                             MaxRawDataFileSize));
    case tTextFileStatus::CannotExamine:
    case tTextFileStatus::CannotOpen:
    case tTextFileStatus::ReadFailed: break;
  }
  return Refused(result, 0,
                 FormatC("The data file \"%s\" cannot be opened for reading (check its permissions).", name));
}

std::string ZeroVarianceMessage(int column) {
  return FormatC(
      "Analysis cannot proceed as %s (column %d of the data file) has the same value for every control "
      "participant: with no variance its correlations cannot be computed. Check the data file, or drop this "
      "variable.",
      RawVariableName(column).c_str(), column);
}
