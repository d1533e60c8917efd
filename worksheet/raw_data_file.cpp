#include "worksheet/raw_data_file.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <new>
#include <string_view>
#include <system_error>
#include <utility>

#include "matrix/raw_data_statistics.h"
#include "core/text_format.h"
#include "validation/decimal_number.h"

namespace {

constexpr int EndOfFile = std::char_traits<char>::eof();
constexpr char CarriageReturn = '\r';
constexpr char LineFeed = '\n';
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

// Reads the file line by line from a stream buffer. A line ends at LF, at
// CR, or at CR LF; a last line without an end still counts.
class tLineScanner {
 public:
  explicit tLineScanner(std::streambuf* buffer) : buffer_(buffer) { SkipByteOrderMark(); }

  // True when another line starts here (false at the end of the file).
  bool HasLine() { return buffer_ != nullptr && buffer_->sgetc() != EndOfFile; }

  // Takes the next value of the current line into text; false when the
  // line ends first (the line end is then consumed). Values are separated
  // by any characters with codes up to 32 other than the line ends. At
  // most MaxRawValueLength + 1 characters are kept, so an overlong value
  // is recognised without keeping it whole.
  bool NextValue(std::string& text) {
    text.clear();
    int c = buffer_->sgetc();
    while (c != EndOfFile && IsSeparator(c)) c = buffer_->snextc();
    if (c == EndOfFile || IsLineEnd(c)) {
      ConsumeLineEnd();
      return false;
    }
    while (c != EndOfFile && !IsSeparator(c) && !IsLineEnd(c)) {
      if (text.size() <= static_cast<std::size_t>(MaxRawValueLength)) text.push_back(static_cast<char>(c));
      c = buffer_->snextc();
    }
    return true;
  }

  // Skips whatever is left of the current line, and its end.
  void SkipRestOfLine() {
    int c = buffer_->sgetc();
    while (c != EndOfFile && !IsLineEnd(c)) c = buffer_->snextc();
    ConsumeLineEnd();
  }

 private:
  static bool IsLineEnd(int c) { return c == CarriageReturn || c == LineFeed; }
  static bool IsSeparator(int c) { return static_cast<unsigned char>(c) <= ' ' && !IsLineEnd(c); }

  void ConsumeLineEnd() {
    const int c = buffer_->sgetc();
    if (c == CarriageReturn) {
      if (buffer_->snextc() == LineFeed) buffer_->sbumpc();
    } else if (c == LineFeed) {
      buffer_->sbumpc();
    }
  }

  // A text editor may begin a UTF-8 file with the byte-order mark
  // EF BB BF. A lone EF that does not start the mark is dropped as well;
  // the bytes after it cannot form a number, so the file is refused all
  // the same.
  void SkipByteOrderMark() {
    static constexpr int Mark[] = {0xEF, 0xBB, 0xBF};
    if (buffer_ == nullptr) return;
    for (int byte : Mark) {
      if (buffer_->sgetc() != byte) return;
      buffer_->sbumpc();
    }
  }

  std::streambuf* buffer_;
};

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

tRawDataReadResult ReadRawData(std::istream& in, int rows, int columns, tData_matrix& table) {
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
    tLineScanner scanner(in.rdbuf());
    std::string text;
    for (int line = 1; line <= rows; ++line) {
      if (!scanner.HasLine()) {
        return Refused(result, line,
                       FormatC("%s is missing: the file has %d line%s, and %d are needed (%d controls, "
                               "then Case A, then Case B), each with %s.",
                               LineName(line, rows).c_str(), line - 1, line - 1 == 1 ? "" : "s", rows,
                               rows - 2, ValuesPhrase(columns).c_str()));
      }
      GrowRows(table, line, line - 1, rows, columns);
      for (int column = 1; column <= columns; ++column) {
        if (!scanner.NextValue(text)) {
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
        if (text.size() > static_cast<std::size_t>(MaxRawValueLength)) {
          return Refused(result, line,
                         FormatC("%s: %s \"%s...\" is too long to be a number (at most %d characters).",
                                 LineName(line, rows).c_str(), ValueName(column).c_str(),
                                 text.substr(0, ShownPrefixLength).c_str(), MaxRawValueLength));
        }
        extended value = 0;
        if (!ReadDecimalNumber(text, value)) {
          return Refused(result, line,
                         FormatC("%s: %s \"%s\" is not a number.\rWrite numbers with a point as the "
                                 "decimal mark (for example 12.5) and separate the values by blanks.",
                                 LineName(line, rows).c_str(), ValueName(column).c_str(), text.c_str()));
        }
        if (std::fabs(value) > MaxRawValueMagnitude || (value != 0 && std::fabs(value) < MinRawValueMagnitude)) {
          return Refused(result, line,
                         FormatC("%s: %s \"%s\" is out of range: values must lie between -1e300 and 1e300 "
                                 "and, unless they are 0, be at least 1e-300 in size.",
                                 LineName(line, rows).c_str(), ValueName(column).c_str(), text.c_str()));
        }
        table[line][column] = value;
      }
      scanner.SkipRestOfLine();
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
  std::error_code ec;
  const std::filesystem::path path(fileName);
  if (std::filesystem::is_directory(path, ec)) {
    return Refused(result, 0, FormatC("The data file \"%s\" cannot be read: it is a folder.", fileName.c_str()));
  }
  if (!std::filesystem::exists(path, ec)) {
    return Refused(result, 0, FormatC("The data file \"%s\" cannot be read: it does not exist.", fileName.c_str()));
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return Refused(result, 0,
                   FormatC("The data file \"%s\" cannot be opened for reading (check its permissions).",
                           fileName.c_str()));
  }
  return ReadRawData(in, rows, columns, table);
}

int FindZeroVarianceColumn(const tData_matrix& table, int controls, int columns) {
  return FirstConstantColumn(table, controls, columns);
}

std::string ZeroVarianceMessage(int column) {
  return FormatC(
      "Analysis cannot proceed as %s (column %d of the data file) has the same value for every control "
      "participant: with no variance its correlations cannot be computed. Check the data file, or drop this "
      "variable.",
      RawVariableName(column).c_str(), column);
}
