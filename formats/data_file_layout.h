// The layout of a raw data file, decided from the file itself: how the
// values on a line are separated, and whether the first line names the
// variables instead of holding data.
//
// Three kinds of file are read:
//  - blank-separated text: values separated by blanks or tabs (runs of
//    characters up to code 32), '.' the decimal mark. A spreadsheet's
//    tab-separated export is such a file and is read as one; only its
//    line of names is split at the tabs, so that names may hold blanks.
//  - comma-separated values (CSV): one comma between values, fields in
//    double quotes where they need them, '.' the decimal mark.
//  - semicolon-separated values, as spreadsheets export CSV where the
//    comma is the decimal mark: ',' is the decimal mark and a point is
//    refused (there it may be a thousands separator).
// One kind a file. The first line is a line of names when none of its
// first k + 1 fields is a number and a line of data follows it. Plain C++.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/text_lines.h"

enum class tDataSeparator { Blanks, Comma, Semicolon };

// Names are clipped to this many characters when read.
constexpr std::size_t MaxVariableNameLength = 16;

struct tDataFileLayout {
  tDataSeparator separator = tDataSeparator::Blanks;
  bool namesLine = false;          // line 1 names the variables
  std::vector<std::string> names;  // line 1's fields, shown as text and clipped, when namesLine
};

// Decides the layout from the first line and the first line with data
// after it, for rows of `columns` values. A file whose first line holds
// data as blank-separated text is always blank-separated (every file the
// blank-separated reading took is read as before); one that fits no kind
// is taken as blank-separated, so that its faults are named as there.
tDataFileLayout DetectDataFileLayout(std::string_view text, int columns);

// The fields of one line of a file of the given kind, in order.
class tDataFields {
 public:
  tDataFields(std::string_view line, tDataSeparator separator) : line_(line), separator_(separator) {}
  // The next field; false when the line has none left. A blank-separated
  // line has no empty fields; a delimited line has one between two
  // separators. quoting says how the field was written, and whether it is
  // faulty (UnclosedQuote, TextAfterQuote).
  bool Next(std::string_view& field, tFieldQuoting& quoting);

 private:
  std::string_view line_;
  tDataSeparator separator_;
  std::size_t position_ = 0;
  std::string unquoted_;
};

// True when the line holds no value: only blanks, or only separators and
// blanks in a delimited file (a spreadsheet's empty row).
bool IsEmptyDataLine(std::string_view line, tDataSeparator separator);

// The separator character of a delimited kind (0 for blank-separated).
char SeparatorCharacter(tDataSeparator separator);
