// The layout of a raw data file, decided from the file itself: how the
// values on a line are separated, and whether the first line names the
// variables instead of holding data.
//
// Four kinds of file are read:
//  - blank-separated text: values separated by blanks or tabs (runs of
//    characters up to code 32), '.' the decimal mark; a line of names
//    that holds a tab is split at the tabs, so that names may hold blanks.
//  - tab-separated values, as a spreadsheet's tab-separated export: tabs
//    alone separate the values (no line among the rows read separates two
//    values by blanks), and every tab ends one field, so two tabs in a row
//    leave an empty field (an empty cell) where blank-separated text
//    would take the next column's value. '.' the decimal mark.
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

enum class tDataSeparator { Blanks, Comma, Semicolon, Tab };

// Names are clipped to this many characters when read.
constexpr std::size_t MaxVariableNameLength = 16;

struct tDataFileLayout {
  tDataSeparator separator = tDataSeparator::Blanks;
  bool namesLine = false;          // line 1 names the variables
  std::vector<std::string> names;  // line 1's fields, shown as text and clipped, when namesLine
};

// Decides the layout from the first line and the first line with data
// after it, for rows of `columns` values. A file whose first line holds
// data as blank-separated text is always blank-separated or, when tabs
// alone separate the values of its first `rows` lines of data (all of
// them when rows is 0), tab-separated; every file the blank-separated
// reading took gives the same values, unless an empty tab-separated
// field is now refused. One that fits no kind is taken as
// blank-separated (or tab-separated), so that its faults are named there.
tDataFileLayout DetectDataFileLayout(std::string_view text, int columns, int rows = 0);

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

// The separator character of a delimited kind ('\t' for tab-separated, 0
// for blank-separated).
char SeparatorCharacter(tDataSeparator separator);
