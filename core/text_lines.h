// Splitting text into lines and a line into fields: the one splitter of
// every file the programs read (the raw data file, the saved inputs, the
// pairs file). A line ends at LF, CR LF or CR alike; fields are separated
// by runs of characters with codes up to 32 (blanks, tabs, control
// characters), or, in a delimited line as spreadsheets export it, by one
// separator character, with fields in double quotes where they need them.
#pragma once

#include <string>
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

// How a delimited field was written.
enum class tFieldQuoting {
  Plain,           // as it stands (blanks around it removed)
  Quoted,          // in double quotes, a doubled quote standing for one
  UnclosedQuote,   // a quote opened and not closed before the line's end
  TextAfterQuote,  // text other than blanks between the closing quote and
                   // the next separator
};

// The next field of a line whose fields are separated by separator (',',
// ';' or a tab), from position on, as spreadsheets write CSV: blanks (and
// tabs, unless tab is the separator) around a field are removed; a field
// that starts with a double quote runs to the matching closing quote and
// may hold separators, a doubled quote standing for one. Sets field and
// quoting and moves position past the separator that ends the field;
// false when the line has no field left (an empty line holds one empty
// field; a separator at the end of a line is followed by one). A field
// whose quoting is UnclosedQuote or TextAfterQuote is not a field: the
// line is faulty there.
bool NextDelimitedField(std::string_view line, char separator, std::size_t& position, std::string& field,
                        tFieldQuoting& quoting);

// True when c stands in line outside double quotes.
bool HoldsOutsideQuotes(std::string_view line, char c);

// The text without the blanks and tabs at either end ("" when it holds
// nothing else).
std::string Trimmed(std::string_view text);
