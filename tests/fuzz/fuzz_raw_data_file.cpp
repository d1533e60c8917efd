// Fuzz target for the raw data file reader and the control statistics the
// raw-data flow computes from what it loads.
//
// Input: byte 0 chooses the rows (n + 2, from 3 to 40), byte 1 the values
// per row (k + 1, from 2 to 6, in its low bits) and, in its top bit,
// whether the rest is decoded as a file is read (UTF-16, UTF-32 and
// Windows-1252 text converted to UTF-8) or is the text itself; the rest,
// copied to a string of exactly its size, is the file. What must hold:
//  - text read as Windows-1252 comes out as valid UTF-8 with one
//    character for each byte;
//  - a file whose first line starts with `columns` blank-separated
//    decimals is read as blank- or tab-separated text without a line of
//    names; blank- or tab-separated, it is tab-separated exactly when the
//    first line of its rows that is not blank holds a tab and no row
//    separates two of its first `columns` values by blanks;
//  - the reader either loads (rows and columns as asked, the success
//    message counting the lines with data after the rows read) or refuses
//    with a message naming a line from 1 to rows (one more after a line of
//    names), and its decision and every value read agree with an
//    independent reading of the file's lines in the kind the reader took
//    it for (LF, CR LF and CR end a line; in blank-separated text
//    characters up to 32 separate values; in CSV one comma, semicolon or
//    tab does, with quoted fields; values are decimals within the reader's
//    range, with a decimal comma and no point where semicolons separate);
//  - a loaded file either has a column without variance in the controls
//    (FirstConstantColumn names it; the flow refuses the file) or gives
//    finite means, finite standard deviations above 0 and correlations in
//    [-1, 1] up to rounding, with 1 on the diagonal.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_characters.h"
#include "core/text_encoding.h"
#include "matrix/raw_data_statistics.h"
#include "matrix/tmatrix.h"
#include "tests/fuzz/fuzz_support.h"
#include "formats/raw_data_file.h"

namespace {

constexpr int MinRows = 3;
constexpr int MaxRows = 40;
constexpr int MinColumns = 2;
constexpr int MaxColumns = 6;
// Rounding allowed on a correlation's bounds and its unit diagonal.
constexpr long double CorrelationSlack = 1e-9L;

[[noreturn]] void Fail(const std::string& what, int rows, int columns, std::string_view file) {
  fuzz::Fail("raw data file (" + std::to_string(rows) + " rows x " + std::to_string(columns) + " values)", what,
             file);
}

// The file's lines as an independent reader sees them.
std::vector<std::string_view> Lines(std::string_view file) { return fuzz::SplitLines(file); }

// Whether the reader must take one value text, and its value if so: a
// decimal of at most MaxRawValueLength characters whose value lies in the
// range the reader allows; where semicolons separate values, with one
// decimal comma and no point.
bool JudgeValue(std::string_view t, tDataSeparator separator, long double& value) {
  std::string text(t);
  if (separator == tDataSeparator::Semicolon) {
    if (text.find('.') != std::string::npos) return false;
    const std::size_t comma = text.find(',');
    if (comma != std::string::npos) text[comma] = '.';
  }
  if (!fuzz::ReadDecimal(text, static_cast<std::size_t>(MaxRawValueLength), value)) return false;
  const long double size = std::fabs(value);
  return size <= MaxRawValueMagnitude && (value == 0 || size >= MinRawValueMagnitude);
}

// One line's fields in the kind of file; faultyField as SplitDelimited
// gives it. A delimited line of nothing but separators and blanks has
// none.
std::vector<std::string> Fields(std::string_view line, tDataSeparator separator, int& faultyField) {
  faultyField = -1;
  if (separator == tDataSeparator::Blanks) {
    std::vector<std::string> fields;
    for (std::string_view f : fuzz::SplitFields(line)) fields.emplace_back(f);
    return fields;
  }
  const char split = separator == tDataSeparator::Comma ? ',' : separator == tDataSeparator::Tab ? '\t' : ';';
  bool empty = true;
  for (char c : line) empty = empty && (c == split || static_cast<unsigned char>(c) <= ' ');
  if (empty) return {};
  return fuzz::SplitDelimited(line, split, faultyField);
}

bool IsBlank(std::string_view line) {
  for (char c : line)
    if (static_cast<unsigned char>(c) > ' ') return false;
  return true;
}

// Whether the rows from line `start` on are tab-separated: the first line
// that is not blank holds a tab, and no line, split at tabs, has among its
// first `columns` fields one with a character up to 32 inside (a blank
// separating two values).
bool TabsAloneSeparate(const std::vector<std::string_view>& lines, std::size_t start, int rows, int columns) {
  bool first = true;
  for (std::size_t i = start; i < lines.size() && i < start + static_cast<std::size_t>(rows); ++i) {
    if (IsBlank(lines[i])) continue;
    if (first && lines[i].find('\t') == std::string_view::npos) return false;
    first = false;
    int faulty = -1;
    const std::vector<std::string> fields = fuzz::SplitDelimited(lines[i], '\t', faulty);
    for (int j = 0; j < columns && j < static_cast<int>(fields.size()) && (faulty < 0 || j < faulty); ++j) {
      for (char c : fields[j])
        if (static_cast<unsigned char>(c) <= ' ') return false;
    }
  }
  return !first;
}

void CheckStatistics(const tData_matrix& table, int rows, int columns, std::string_view file) {
  const int controls = rows - 2;
  const int constant = FirstConstantColumn(table, controls, columns);
  if (constant < 0 || constant > columns) Fail("zero-variance column out of range", rows, columns, file);
  if (constant != 0) {
    // The reported column really is constant over the controls.
    for (int i = 2; i <= controls; ++i)
      if (table[i][constant] != table[1][constant]) Fail("column reported constant varies", rows, columns, file);
    return;
  }
  tVector sds;
  tVector means;
  tMatrix R;
  SummaryFromRawData(table, controls, columns, sds, means, R);
  for (int j = 1; j <= columns; ++j) {
    if (!std::isfinite(means[j])) Fail("mean not finite in column " + std::to_string(j), rows, columns, file);
    if (!std::isfinite(sds[j]) || !(sds[j] > 0))
      Fail("standard deviation not finite and positive in column " + std::to_string(j), rows, columns, file);
    for (int i = 1; i <= columns; ++i) {
      const long double r = R[i][j];
      if (!std::isfinite(r) || r < -1 - CorrelationSlack || r > 1 + CorrelationSlack)
        Fail("correlation out of [-1, 1] at " + std::to_string(i) + "," + std::to_string(j), rows, columns, file);
    }
    if (std::fabs(R[j][j] - 1) > CorrelationSlack) Fail("diagonal correlation not 1", rows, columns, file);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int rows = MinRows + data[0] % (MaxRows - MinRows + 1);
  const int columns = MinColumns + (data[1] & 0x7F) % (MaxColumns - MinColumns + 1);
  std::string file(reinterpret_cast<const char*>(data + 2), size - 2);
  if ((data[1] & 0x80) != 0) {
    const std::size_t bytes = file.size();
    std::string problem;
    tTextEncoding from = tTextEncoding::Utf8;
    if (!DecodeText(file, problem, &from)) return 0;
    if (from == tTextEncoding::Windows1252 &&
        (!IsValidUtf8(file) || CharacterCount(file) != static_cast<int>(bytes)))
      Fail("Windows-1252 text not one UTF-8 character a byte", rows, columns, file);
  }

  // The reader sizes the table to the rows it reads.
  tData_matrix table(1, 1);
  const tRawDataReadResult result = ReadRawData(file, rows, columns, table);

  if (result.rows != rows || result.columns != columns) Fail("counts not echoed", rows, columns, file);
  if (result.message.empty()) Fail("no message", rows, columns, file);
  const tDataFileLayout& layout = result.layout;
  const tDataSeparator separator = layout.separator;
  std::vector<std::string_view> lines = Lines(file);
  int faulty = -1;
  if (!lines.empty()) {
    const std::vector<std::string> first = Fields(lines[0], tDataSeparator::Blanks, faulty);
    bool blankData = static_cast<int>(first.size()) >= columns;
    for (int j = 0; j < columns && blankData; ++j) blankData = fuzz::IsDecimal(first[j]);
    const bool blanksOrTab = separator == tDataSeparator::Blanks || separator == tDataSeparator::Tab;
    if (blankData && (!blanksOrTab || layout.namesLine))
      Fail("a blank-separated first line of data was not read as such", rows, columns, file);
    if (blanksOrTab &&
        (separator == tDataSeparator::Tab) != TabsAloneSeparate(lines, layout.namesLine ? 1 : 0, rows, columns))
      Fail("tab-separated values told wrongly from blank-separated text", rows, columns, file);
  }
  // After a line of names the rows are the lines that follow it.
  const int namesLines = layout.namesLine ? 1 : 0;
  if (layout.namesLine) {
    if (static_cast<int>(layout.names.size()) < columns) {
      if (result.loaded || result.line != 1) Fail("too few names not refused at line 1", rows, columns, file);
      return 0;
    }
    lines.erase(lines.begin());
  }
  if (result.loaded) {
    int unused = 0;
    for (std::size_t i = static_cast<std::size_t>(rows); i < lines.size(); ++i)
      if (!Fields(lines[i], separator, faulty).empty()) ++unused;
    if (result.line != 0 || result.unusedLines != unused ||
        result.message != RawDataLoadedMessage(rows, columns, unused, layout.names))
      Fail("loaded without the success message", rows, columns, file);
  } else if (result.line < 1 + namesLines || result.line > rows + namesLines) {
    Fail("refusal does not name a line: " + result.message, rows, columns, file);
  }

  // The independent reading: the first faulty line, or every value read.
  bool mayLoad = true;
  for (int line = 1; line <= rows && mayLoad; ++line) {
    std::vector<std::string> values;
    if (line <= static_cast<int>(lines.size())) values = Fields(lines[line - 1], separator, faulty);
    const bool missingOrShort = static_cast<int>(values.size()) < columns && (faulty < 0 || faulty >= columns);
    int firstBad = 0;
    for (int j = 1; j <= columns && j <= static_cast<int>(values.size()) && firstBad == 0; ++j) {
      long double v = 0;
      if (j - 1 == faulty || !JudgeValue(values[j - 1], separator, v)) {
        firstBad = j;
      } else if (result.loaded && !(table[line][j] == v)) {
        Fail("value at line " + std::to_string(line) + " column " + std::to_string(j) + " differs from strtold",
             rows, columns, file);
      }
    }
    if (missingOrShort || firstBad != 0) {
      mayLoad = false;
      if (result.loaded) Fail("loaded a file with a bad line " + std::to_string(line), rows, columns, file);
      if (result.line != line + namesLines)
        Fail("refused at line " + std::to_string(result.line) + ", first bad line is " +
                 std::to_string(line + namesLines) + ": " + result.message,
             rows, columns, file);
    }
  }
  if (mayLoad && !result.loaded) {
    Fail("refused a good file: " + result.message, rows, columns, file);
  }
  if (result.loaded) CheckStatistics(table, rows, columns, file);
  return 0;
}
