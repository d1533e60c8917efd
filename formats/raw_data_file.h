// Reading the raw data file of the raw-data program: plain text, one
// person per line (the n controls, then Case A, then Case B), one variable
// per column (the task of interest, then covariates 1..k), values
// separated by blanks or tabs, or by commas or semicolons as spreadsheets
// export CSV, with an optional first line of the variables' names (see
// data_file_layout.h).
//
// The reader takes lines as lines: a line ends at LF, CR LF or CR alike,
// and a line's values never run on into the next line. A file that lacks
// a line, has an empty or short line among the n + 2 it needs, or holds a
// value that is not a number is refused with a message naming the line
// (and naming characters that only look like digits, points or blanks);
// values after the (k + 1)-th on a line are ignored, and lines after the
// (n + 2)-th are not read, but the success message says how many of them
// hold data. Numbers are read independently of the locale ('.' is the
// decimal mark) and must be finite. Files in UTF-16 or UTF-32 are read as
// the text they hold. Plain C++, no windowing toolkit.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/progress.h"
#include "matrix/data_matrix.h"
#include "formats/data_file_layout.h"

// Longest text of one value (longer texts are refused, not split).
constexpr int MaxRawValueLength = 64;

// Range of the values a file may hold: a value above MaxRawValueMagnitude
// in size, or one other than 0 below MinRawValueMagnitude, is refused with
// a message naming the line. Within it the sums of squares and products
// of the control statistics can neither overflow nor underflow to 0 (a
// value of 1e3000 made them infinite, and correlations NaN).
constexpr long double MaxRawValueMagnitude = 1e300L;
constexpr long double MinRawValueMagnitude = 1e-300L;

struct tRawDataReadResult {
  bool loaded = false;   // true when every needed cell was read
  bool cancelled = false;  // the progress check stopped the reading
  int rows = 0;          // rows asked for (n + 2)
  int columns = 0;       // values asked for per row (k + 1)
  int line = 0;          // the faulty line of the file (1-based); 0 when none
  int unusedLines = 0;   // loaded: lines holding data after the rows read
  tDataFileLayout layout;  // how the file was read; its names when it has them
  std::string message;   // the text for the box: the success message when
                         // loaded, otherwise what is wrong and where
};

// Who the rows of a file are: the n controls, then Case A and Case B (the
// raw-data program's file), or controls only (the batch tool's).
enum class tRawRows { ControlsThenCases, ControlsOnly };

// Largest data file read (a million controls with five covariates stay
// well below it).
constexpr std::size_t MaxRawDataFileSize = std::size_t{256} << 20;

// Reads rows x columns values (rows = n + 2 persons, or n controls alone,
// columns = k + 1 variables) from the file's text into
// table[1..rows][1..columns]; with a line of names, the rows are the
// lines after it, and it must name at least the columns. The table is made exactly as large as the
// rows the file holds, up to rows, and the columns asked for. On failure it
// holds whatever was read before the fault and must not be used. progress
// is asked every few thousand lines; when it answers false the reading
// stops, cancelled.
tRawDataReadResult ReadRawData(std::string_view text, int rows, int columns, tData_matrix& table,
                               tRawRows who = tRawRows::ControlsThenCases, const tProgressCheck& progress = {});

// The same from the named file; a file that cannot be read (missing, a
// folder, a pipe or device, unreadable, not text, larger than
// MaxRawDataFileSize) is refused with a message naming it, before it is
// read where that can be known beforehand. A file read as Windows-1252
// (not UTF-8 text) gets a sentence saying so after the message.
tRawDataReadResult ReadRawDataFile(const std::string& fileName, int rows, int columns, tData_matrix& table,
                                   const tProgressCheck& progress = {});

// The information text after a successful read:
// "Data file consisting of n + 2 = %2d cases (rows) and %2d variables
// (columns) was loaded successfully ", followed, when lines after the
// (n + 2)-th hold data, by how many were not used, and, for a file with a
// line of names, by the names read.
std::string RawDataLoadedMessage(int rows, int columns, int unusedLines = 0,
                                 const std::vector<std::string>& names = {});

// Name of a variable by its column: "the task of interest" for column 1,
// "covariate j" for column j + 1.
std::string RawVariableName(int column);

// RawVariableName followed by the file's name for the column in quotes,
// when names has one: covariate 1 "Years of education".
std::string NamedVariable(int column, const std::vector<std::string>& names);

// The error text for a variable without variance in the controls, naming
// it by NamedVariable and by its column in the file.
std::string ZeroVarianceMessage(int column, const std::vector<std::string>& names = {});
