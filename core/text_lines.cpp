#include "core/text_lines.h"

namespace {

bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= ' '; }

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
