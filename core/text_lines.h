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

// The fields of one line, in order.
std::vector<std::string_view> SplitFields(std::string_view line);

// The first field of line, or an empty view when the line is blank.
std::string_view FirstField(std::string_view line);

// True when the line holds nothing but characters with codes up to 32.
bool IsBlankLine(std::string_view line);
