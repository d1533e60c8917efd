// Splitting text into lines and a line into fields: the one splitter of
// every file the programs read (the raw data file, the saved inputs, the
// pairs file). A line ends at LF, CR LF or CR alike; fields are separated
// by runs of characters with codes up to 32 (blanks, tabs, control
// characters).
#pragma once

#include <string_view>
#include <vector>

// The lines of text, without their line ends. A last line without a line
// end counts; a final line end starts no further line; an empty text has
// no lines.
std::vector<std::string_view> SplitLines(std::string_view text);

// The lines of a text one at a time, as SplitLines gives them, without
// holding a list of them.
class tLineCursor {
 public:
  explicit tLineCursor(std::string_view text) : text_(text) {}
  // The next line without its line end; false when none is left.
  bool Next(std::string_view& line);

 private:
  std::string_view text_;
  std::size_t position_ = 0;
};

// The fields of one line, in order.
std::vector<std::string_view> SplitFields(std::string_view line);

// The next field of line from position on: skips separators, sets field
// and moves position past it; false when no field is left.
bool NextField(std::string_view line, std::size_t& position, std::string_view& field);

// The first field of line, or an empty view when the line is blank.
std::string_view FirstField(std::string_view line);

// True when the line holds nothing but characters with codes up to 32.
bool IsBlankLine(std::string_view line);
