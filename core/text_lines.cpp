#include "core/text_lines.h"

namespace {

bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= ' '; }

constexpr char Quote = '"';
// Marks the end of a line's fields.
constexpr std::size_t NoFieldLeft = std::string_view::npos;

// Blanks around a delimited field; a tab too, unless it separates fields.
bool IsPadding(char c, char separator) { return c == ' ' || (c == '\t' && separator != '\t'); }

}  // namespace

bool tLineCursor::Next(std::string_view& line) {
  if (position_ >= text_.size()) return false;
  const std::size_t end = text_.find_first_of("\r\n", position_);
  if (end == std::string_view::npos) {
    line = text_.substr(position_);
    position_ = text_.size();
    return true;
  }
  line = text_.substr(position_, end - position_);
  position_ = end + (text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n' ? 2 : 1);
  return true;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  tLineCursor cursor(text);
  for (std::string_view line; cursor.Next(line);) lines.push_back(line);
  return lines;
}

bool NextField(std::string_view line, std::size_t& position, std::string_view& field) {
  std::size_t i = position;
  while (i < line.size() && IsSeparator(line[i])) ++i;
  const std::size_t start = i;
  while (i < line.size() && !IsSeparator(line[i])) ++i;
  position = i;
  if (i == start) return false;
  field = line.substr(start, i - start);
  return true;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t position = 0;
  for (std::string_view field; NextField(line, position, field);) fields.push_back(field);
  return fields;
}

std::string_view FirstField(std::string_view line) {
  std::size_t position = 0;
  std::string_view field;
  return NextField(line, position, field) ? field : std::string_view();
}

bool IsBlankLine(std::string_view line) {
  for (char c : line)
    if (!IsSeparator(c)) return false;
  return true;
}

bool NextDelimitedField(std::string_view line, char separator, std::size_t& position, std::string& field,
                        tFieldQuoting& quoting) {
  if (position == NoFieldLeft || position > line.size()) return false;
  std::size_t i = position;
  while (i < line.size() && IsPadding(line[i], separator)) ++i;
  field.clear();
  if (i < line.size() && line[i] == Quote) {
    quoting = tFieldQuoting::UnclosedQuote;
    for (++i; i < line.size(); ++i) {
      if (line[i] != Quote) {
        field += line[i];
      } else if (i + 1 < line.size() && line[i + 1] == Quote) {
        field += Quote;
        ++i;
      } else {
        quoting = tFieldQuoting::Quoted;
        ++i;
        break;
      }
    }
    while (i < line.size() && IsPadding(line[i], separator)) ++i;
    if (quoting == tFieldQuoting::Quoted && i < line.size() && line[i] != separator)
      quoting = tFieldQuoting::TextAfterQuote;
    if (quoting != tFieldQuoting::Quoted) {
      position = NoFieldLeft;
      return true;
    }
  } else {
    quoting = tFieldQuoting::Plain;
    const std::size_t start = i;
    while (i < line.size() && line[i] != separator) ++i;
    std::size_t end = i;
    while (end > start && IsPadding(line[end - 1], separator)) --end;
    field.assign(line.substr(start, end - start));
  }
  position = i < line.size() ? i + 1 : NoFieldLeft;
  return true;
}

bool HoldsOutsideQuotes(std::string_view line, char c) {
  bool quoted = false;
  for (char d : line) {
    if (d == Quote) quoted = !quoted;
    else if (d == c && !quoted) return true;
  }
  return false;
}

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::string();
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}
