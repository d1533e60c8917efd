#include "worksheet/logic/raw_data_file.h"

#include <cmath>
#include <new>
#include <utility>

#include "core/text_characters.h"
#include "core/text_file.h"
#include "core/text_format.h"
#include "core/text_lines.h"
#include "validation/decimal_number.h"

namespace {

// Characters shown of a refused value that is too long to be a number.
constexpr std::size_t ShownPrefixLength = 24;

// Lines read between two progress checks.
constexpr int ProgressInterval = 1 << 14;

// Which person a line holds: "control i", "Case A" or "Case B".
std::string LineRole(int line, int rows, tRawRows who) {
  if (who == tRawRows::ControlsThenCases) {
    if (line == rows - 1) return "Case A";
    if (line == rows) return "Case B";
  }
  return FormatC("control %d", line);
}

std::string LineName(int line, int rows, tRawRows who) {
  return FormatC("Line %d (%s) of the data file", line, LineRole(line, rows, who).c_str());
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

// "(3 controls, then Case A, then Case B)".
std::string RowsPhrase(int rows, tRawRows who) {
  if (who == tRawRows::ControlsOnly) return FormatC("(%d control%s)", rows, rows == 1 ? "" : "s");
  return FormatC("(%d controls, then Case A, then Case B)", rows - 2);
}

tRawDataReadResult Refused(tRawDataReadResult result, int line, std::string message) {
  result.loaded = false;
  result.line = line;
  result.message = std::move(message);
  return result;
}

// What is wrong with one value's text, or an empty text when it is a
// number within the range; number then holds it.
std::string ValueProblem(std::string_view text, extended& number) {
  if (text.size() > static_cast<std::size_t>(MaxRawValueLength)) {
    return FormatC("\"%s...\" is too long to be a number (at most %d characters).",
                   ShownText(text.substr(0, ShownPrefixLength)).c_str(), MaxRawValueLength);
  }
  if (!ReadDecimalNumber(text, number)) {
    return FormatC("\"%s\" is not a number%s.\rWrite numbers with a point as the decimal mark (for example 12.5) "
                   "and separate the values by blanks.",
                   ShownText(text).c_str(), UnusualCharactersClause(text).c_str());
  }
  if (std::fabs(number) > MaxRawValueMagnitude || (number != 0 && std::fabs(number) < MinRawValueMagnitude)) {
    return FormatC("\"%s\" is out of range: values must lie between -1e300 and 1e300 and, unless they are 0, be "
                   "at least 1e-300 in size.",
                   std::string(text).c_str());
  }
  return std::string();
}

}  // namespace

std::string RawVariableName(int column) {
  if (column == 1) return "the task of interest";
  return FormatC("covariate %d", column - 1);
}

std::string RawDataLoadedMessage(int rows, int columns, int unusedLines) {
  std::string message = FormatC(
      "Data file consisting of n + 2 = %2d cases (rows) and %2d variables (columns) was loaded successfully ",
      rows, columns);
  if (unusedLines > 0) {
    message += FormatC(
        "\r\rThe file has %d more line%s with data after line %d, which %s not used. If the file holds more "
        "than %d controls, lines %d and %d were taken as Case A and Case B although they are controls: correct "
        "the number of controls and compute again.",
        unusedLines, unusedLines == 1 ? "" : "s", rows, unusedLines == 1 ? "was" : "were", rows - 2, rows - 1,
        rows);
  }
  return message;
}

tRawDataReadResult ReadRawData(std::string_view text, int rows, int columns, tData_matrix& table, tRawRows who,
                               const tProgressCheck& progress) {
  tRawDataReadResult result;
  result.rows = rows;
  result.columns = columns;
  const int fewestRows = who == tRawRows::ControlsThenCases ? 3 : 1;
  if (rows < fewestRows || columns < 1) {
    return Refused(result, 0,
                   FormatC("The data file cannot be read for %d rows of %d values: at least one control, "
                           "Case A and Case B are needed, each with at least one value.",
                           rows, columns));
  }
  try {
    // The table holds the rows the file has, up to those asked for: a
    // large n with a short file is refused without holding n rows.
    int available = 0;
    tLineCursor counter(text);
    for (std::string_view line; available < rows && counter.Next(line);) ++available;
    table.Resize(available, columns);

    tLineCursor cursor(text);
    std::string_view content;
    for (int line = 1; line <= rows; ++line) {
      if (progress && line % ProgressInterval == 0 && !progress(static_cast<double>(line) / rows)) {
        result.cancelled = true;
        return Refused(result, line, std::string());
      }
      if (!cursor.Next(content)) {
        return Refused(result, line,
                       FormatC("%s is missing: the file has %d line%s, and %d are needed %s, each with %s.",
                               LineName(line, rows, who).c_str(), line - 1, line - 1 == 1 ? "" : "s", rows,
                               RowsPhrase(rows, who).c_str(), ValuesPhrase(columns).c_str()));
      }
      const auto row = table[line];
      std::size_t position = 0;
      std::string_view value;
      for (int column = 1; column <= columns; ++column) {
        if (!NextField(content, position, value)) {
          const int found = column - 1;
          if (found == 0) {
            return Refused(result, line,
                           FormatC("%s is empty: %s.", LineName(line, rows, who).c_str(),
                                   ExpectedValues(columns).c_str()));
          }
          return Refused(result, line,
                         FormatC("%s holds only %d value%s: %s.", LineName(line, rows, who).c_str(), found,
                                 found == 1 ? "" : "s", ExpectedValues(columns).c_str()));
        }
        extended number = 0;
        if (const std::string problem = ValueProblem(value, number); !problem.empty()) {
          return Refused(result, line,
                         LineName(line, rows, who) + ": " + ValueName(column) + " " + problem);
        }
        row[column] = number;
      }
    }
    for (std::string_view line; cursor.Next(line);)
      if (!IsBlankLine(line)) ++result.unusedLines;
  } catch (const std::bad_alloc&) {
    return Refused(result, 0,
                   FormatC("The data file is too large: %d rows of %d values cannot be held in memory.", rows,
                           columns));
  }
  result.loaded = true;
  result.message = RawDataLoadedMessage(rows, columns, result.unusedLines);
  return result;
}

tRawDataReadResult ReadRawDataFile(const std::string& fileName, int rows, int columns, tData_matrix& table,
                                   const tProgressCheck& progress) {
  tRawDataReadResult result;
  result.rows = rows;
  result.columns = columns;
  const tTextFile file = ReadTextFile(fileName, MaxRawDataFileSize);
  const char* name = fileName.c_str();
  switch (file.status) {
    case tTextFileStatus::Read:
      return ReadRawData(file.text, rows, columns, table, tRawRows::ControlsThenCases, progress);
    case tTextFileStatus::NotFound:
      return Refused(result, 0, FormatC("The data file \"%s\" cannot be read: it does not exist.", name));
    case tTextFileStatus::IsFolder:
      return Refused(result, 0, FormatC("The data file \"%s\" cannot be read: it is a folder.", name));
    case tTextFileStatus::NotRegular:
      return Refused(result, 0,
                     FormatC("The data file \"%s\" cannot be read: it is %s. Choose a text file.", name,
                             file.reason.c_str()));
    case tTextFileStatus::NotPlainText:
      return Refused(result, 0,
                     FormatC("The data file \"%s\" cannot be read: %s.\r%s", name, file.reason.c_str(),
                             SaveAsPlainTextAdvice));
    case tTextFileStatus::TooLarge:
      return Refused(result, 0,
                     FormatC("The data file \"%s\" cannot be read: it is larger than %zu bytes.", name,
                             MaxRawDataFileSize));
    case tTextFileStatus::CannotExamine:
    case tTextFileStatus::CannotOpen:
    case tTextFileStatus::ReadFailed: break;
  }
  return Refused(result, 0,
                 FormatC("The data file \"%s\" cannot be read: %s (check its permissions).", name,
                         file.reason.c_str()));
}

std::string ZeroVarianceMessage(int column) {
  return FormatC(
      "Analysis cannot proceed as %s (column %d of the data file) has the same value for every control "
      "participant: with no variance its correlations cannot be computed. Check the data file, or drop this "
      "variable.",
      RawVariableName(column).c_str(), column);
}
