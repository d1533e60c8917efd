#include "formats/raw_data_file.h"

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

// Where the rows stand in a file: who they are, and how many lines (the
// line of names) come before the first.
struct tRowPlace {
  int rows = 0;
  tRawRows who = tRawRows::ControlsThenCases;
  int linesBefore = 0;
};

// Which person a row holds: "control i", "Case A" or "Case B".
std::string RowRole(int row, const tRowPlace& place) {
  if (place.who == tRawRows::ControlsThenCases) {
    if (row == place.rows - 1) return "Case A";
    if (row == place.rows) return "Case B";
  }
  return FormatC("control %d", row);
}

std::string LineName(int row, const tRowPlace& place) {
  return FormatC("Line %d (%s) of the data file", row + place.linesBefore, RowRole(row, place).c_str());
}

// "2 values (the task of interest and 1 covariate)".
std::string CountPhrase(int columns, const char* noun = "value") {
  const int covariates = columns - 1;
  std::string what = "the task of interest";
  if (covariates == 1) what += " and 1 covariate";
  if (covariates > 1) what += FormatC(" and %d covariates", covariates);
  return FormatC("%d %s%s (%s)", columns, noun, columns == 1 ? "" : "s", what.c_str());
}

// "2 values were expected (the task of interest and 1 covariate)".
std::string ExpectedCount(int columns, const char* noun = "value") {
  std::string phrase = CountPhrase(columns, noun);
  const std::size_t gap = phrase.find(' ', phrase.find(' ') + 1);  // after "2 values"
  return phrase.insert(gap, columns == 1 ? " was expected" : " were expected");
}

std::string ValueName(int column, const std::vector<std::string>& names) {
  return FormatC("value %d (%s)", column, NamedVariable(column, names).c_str());
}

// "(3 controls, then Case A, then Case B)".
std::string RowsPhrase(const tRowPlace& place) {
  const std::string names = place.linesBefore > 0 ? "the variables' names, " : "";
  if (place.who == tRawRows::ControlsOnly)
    return FormatC("(%s%d control%s)", names.c_str(), place.rows, place.rows == 1 ? "" : "s");
  return FormatC("(%s%d controls, then Case A, then Case B)", names.c_str(), place.rows - 2);
}

tRawDataReadResult Refused(tRawDataReadResult result, int line, std::string message) {
  result.loaded = false;
  result.line = line;
  result.message = std::move(message);
  return result;
}

// Where a value's decimal mark is explained in a message, by the kind of
// file.
const char* NumberAdvice(tDataSeparator separator) {
  switch (separator) {
    case tDataSeparator::Blanks:
      return "Write numbers with a point as the decimal mark (for example 12.5) and separate the values by blanks.";
    case tDataSeparator::Comma:
      return "In a file whose values are separated by commas, write numbers with a point as the decimal mark (for "
             "example 12.5).";
    case tDataSeparator::Semicolon:
      return "In a file whose values are separated by semicolons, write numbers with a comma as the decimal mark "
             "(for example 12,5).";
    case tDataSeparator::Tab:
      return "In a file whose values are separated by tabs, write numbers with a point as the decimal mark (for "
             "example 12.5).";
  }
  return "";
}

// What is wrong with one value's text, or an empty text when it is a
// number within the range; number then holds it. In a semicolon-separated
// file the decimal mark is the comma; a point is refused, since there it
// may be a thousands separator (1.234 for 1234).
std::string ValueProblem(std::string_view text, tDataSeparator separator, extended& number) {
  if (text.size() > static_cast<std::size_t>(MaxRawValueLength)) {
    return FormatC("\"%s...\" is too long to be a number (at most %d characters).",
                   ShownText(text.substr(0, ShownPrefixLength)).c_str(), MaxRawValueLength);
  }
  std::string pointed;
  if (separator == tDataSeparator::Semicolon) {
    if (text.find('.') != std::string_view::npos) {
      return FormatC("\"%s\" holds a point: in a file whose values are separated by semicolons the decimal mark "
                     "is the comma (for example 12,5), and a point, perhaps a thousands separator, is not read.",
                     ShownText(text).c_str());
    }
    pointed.assign(text);
    if (const std::size_t comma = pointed.find(','); comma != std::string::npos) pointed[comma] = '.';
  }
  if (!ReadDecimalNumber(pointed.empty() ? text : std::string_view(pointed), number)) {
    return FormatC("\"%s\" is not a number%s.\r%s", ShownText(text).c_str(), UnusualCharactersClause(text).c_str(),
                   NumberAdvice(separator));
  }
  if (std::fabs(number) > MaxRawValueMagnitude || (number != 0 && std::fabs(number) < MinRawValueMagnitude)) {
    return FormatC("\"%s\" is out of range: values must lie between -1e300 and 1e300 and, unless they are 0, be "
                   "at least 1e-300 in size.",
                   std::string(text).c_str());
  }
  return std::string();
}

// What is wrong with the field of a column, or an empty text.
std::string FieldProblem(std::string_view value, tFieldQuoting quoting, tDataSeparator separator, extended& number) {
  switch (quoting) {
    case tFieldQuoting::UnclosedQuote: return "opens a quotation mark that is not closed on the line.";
    case tFieldQuoting::TextAfterQuote: return "has text after its closing quotation mark.";
    case tFieldQuoting::Plain:
    case tFieldQuoting::Quoted: break;
  }
  if (value.empty()) return "is empty.";
  return ValueProblem(value, separator, number);
}

}  // namespace

std::string RawVariableName(int column) {
  if (column == 1) return "the task of interest";
  return FormatC("covariate %d", column - 1);
}

std::string NamedVariable(int column, const std::vector<std::string>& names) {
  std::string name = RawVariableName(column);
  if (column >= 1 && column <= static_cast<int>(names.size()) && !names[column - 1].empty())
    name += " \"" + names[column - 1] + "\"";
  return name;
}

std::string RawDataLoadedMessage(int rows, int columns, int unusedLines, const std::vector<std::string>& names) {
  std::string message = FormatC(
      "Data file consisting of n + 2 = %2d cases (rows) and %2d variables (columns) was loaded successfully ",
      rows, columns);
  const int last = rows + (names.empty() ? 0 : 1);  // the file's line of Case B
  if (unusedLines > 0) {
    message += FormatC(
        "\r\rThe file has %d more line%s with data after line %d, which %s not used. If the file holds more "
        "than %d controls, lines %d and %d were taken as Case A and Case B although they are controls: correct "
        "the number of controls and compute again.",
        unusedLines, unusedLines == 1 ? "" : "s", last, unusedLines == 1 ? "was" : "were", rows - 2, last - 1,
        last);
  }
  if (!names.empty()) {
    message += "\r\rLine 1 names the variables:";
    for (int column = 1; column <= columns && column <= static_cast<int>(names.size()); ++column)
      message += (column > 1 ? ", " : " ") + NamedVariable(column, names);
    message += ".";
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
  result.layout = DetectDataFileLayout(text, columns, rows);
  const tDataFileLayout& layout = result.layout;
  const tRowPlace place{rows, who, layout.namesLine ? 1 : 0};
  if (layout.namesLine && static_cast<int>(layout.names.size()) < columns) {
    const int named = static_cast<int>(layout.names.size());
    return Refused(result, 1,
                   FormatC("Line 1 of the data file, which names the variables, holds only %d name%s: %s.", named,
                           named == 1 ? "" : "s", ExpectedCount(columns, "name").c_str()));
  }
  try {
    tLineCursor cursor(text);
    std::string_view content;
    if (layout.namesLine) cursor.Next(content);

    // The table holds the rows the file has, up to those asked for: a
    // large n with a short file is refused without holding n rows.
    int available = 0;
    tLineCursor counter = cursor;
    for (std::string_view line; available < rows && counter.Next(line);) ++available;
    table.Resize(available, columns);

    for (int row = 1; row <= rows; ++row) {
      const int line = row + place.linesBefore;
      if (progress && row % ProgressInterval == 0 && !progress(static_cast<double>(row) / rows)) {
        result.cancelled = true;
        return Refused(result, line, std::string());
      }
      if (!cursor.Next(content)) {
        const int had = line - 1;
        return Refused(result, line,
                       FormatC("%s is missing: the file has %d line%s, and %d are needed %s, each with %s.",
                               LineName(row, place).c_str(), had, had == 1 ? "" : "s", rows + place.linesBefore,
                               RowsPhrase(place).c_str(), CountPhrase(columns).c_str()));
      }
      if (IsEmptyDataLine(content, layout.separator)) {
        return Refused(result, line,
                       FormatC("%s is empty: %s.", LineName(row, place).c_str(), ExpectedCount(columns).c_str()));
      }
      const auto cells = table[row];
      tDataFields fields(content, layout.separator);
      std::string_view value;
      tFieldQuoting quoting = tFieldQuoting::Plain;
      for (int column = 1; column <= columns; ++column) {
        if (!fields.Next(value, quoting)) {
          const int found = column - 1;
          return Refused(result, line,
                         FormatC("%s holds only %d value%s: %s.", LineName(row, place).c_str(), found,
                                 found == 1 ? "" : "s", ExpectedCount(columns).c_str()));
        }
        extended number = 0;
        if (const std::string problem = FieldProblem(value, quoting, layout.separator, number); !problem.empty()) {
          return Refused(result, line,
                         LineName(row, place) + ": " + ValueName(column, layout.names) + " " + problem);
        }
        cells[column] = number;
      }
    }
    for (std::string_view line; cursor.Next(line);)
      if (!IsEmptyDataLine(line, layout.separator)) ++result.unusedLines;
  } catch (const std::bad_alloc&) {
    return Refused(result, 0,
                   FormatC("The data file is too large: %d rows of %d values cannot be held in memory.", rows,
                           columns));
  }
  result.loaded = true;
  result.message = RawDataLoadedMessage(rows, columns, result.unusedLines, layout.names);
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
    case tTextFileStatus::Read: {
      tRawDataReadResult read = ReadRawData(file.text, rows, columns, table, tRawRows::ControlsThenCases, progress);
      if (file.encoding == tTextEncoding::Windows1252 && !read.cancelled)
        read.message += std::string("\r\rThe data file ") + ReadAsWindows1252Notice + ".";
      return read;
    }
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
    case tTextFileStatus::ReadFailed:
      return Refused(result, 0, FormatC("The data file \"%s\" cannot be read: %s.", name, file.reason.c_str()));
    case tTextFileStatus::CannotExamine:
    case tTextFileStatus::CannotOpen: break;
  }
  return Refused(result, 0,
                 FormatC("The data file \"%s\" cannot be read: %s (check its permissions).", name,
                         file.reason.c_str()));
}

std::string ZeroVarianceMessage(int column, const std::vector<std::string>& names) {
  return FormatC(
      "Analysis cannot proceed as %s (column %d of the data file) has the same value for every control "
      "participant: with no variance its correlations cannot be computed. Check the data file, or drop this "
      "variable.",
      NamedVariable(column, names).c_str(), column);
}
