#include "formats/data_file_layout.h"

#include <optional>

#include "core/text_characters.h"
#include "validation/decimal_number.h"

namespace {

constexpr char Tab = '\t';

// A number with '.' or ',' as its decimal mark: whether a field holds a
// value at all, whatever the kind of file (and however large).
bool LooksLikeNumber(std::string_view text) {
  if (IsDecimalNumberText(text)) return true;
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos || text.find_first_of(",.", comma + 1) != std::string_view::npos) return false;
  std::string pointed(text);
  pointed[comma] = '.';
  return IsDecimalNumberText(pointed);
}

// The first `columns` fields of a line under a kind; fewer when the line
// has fewer, none past a faulty quote.
std::vector<std::string> LeadingFields(std::string_view line, tDataSeparator separator, int columns) {
  std::vector<std::string> fields;
  tDataFields reader(line, separator);
  std::string_view field;
  tFieldQuoting quoting = tFieldQuoting::Plain;
  while (static_cast<int>(fields.size()) < columns && reader.Next(field, quoting)) {
    if (quoting == tFieldQuoting::UnclosedQuote || quoting == tFieldQuoting::TextAfterQuote) break;
    fields.emplace_back(field);
  }
  return fields;
}

// The line holds data as blank-separated text: its first `columns`
// fields are numbers with '.' as the decimal mark.
bool HoldsBlankSeparatedData(std::string_view line, int columns) {
  const std::vector<std::string> fields = LeadingFields(line, tDataSeparator::Blanks, columns);
  if (static_cast<int>(fields.size()) < columns) return false;
  for (const std::string& f : fields)
    if (!IsDecimalNumberText(f)) return false;
  return true;
}

// The delimited kind a line is written in, from its characters: a
// semicolon outside quotes makes it semicolon-separated; a comma outside
// quotes makes it comma-separated unless a field then holds blanks
// between characters (a blank-separated line with decimal commas, such as
// "39,5 8,25", whose decimal commas are to be named as such).
std::optional<tDataSeparator> DelimitedKindOf(std::string_view line) {
  if (HoldsOutsideQuotes(line, ';')) return tDataSeparator::Semicolon;
  if (!HoldsOutsideQuotes(line, ',')) return std::nullopt;
  tDataFields reader(line, tDataSeparator::Comma);
  std::string_view field;
  tFieldQuoting quoting = tFieldQuoting::Plain;
  while (reader.Next(field, quoting))
    if (quoting == tFieldQuoting::Plain && field.find_first_of(" \t") != std::string_view::npos) return std::nullopt;
  return tDataSeparator::Comma;
}

// The line separates two of its first `columns` values by blanks (or
// other characters up to code 32) rather than by a tab: split at tabs, a
// field holds one between its characters.
bool SeparatesValuesByBlanks(std::string_view line, int columns) {
  std::size_t position = 0;
  std::string field;
  tFieldQuoting quoting = tFieldQuoting::Plain;
  for (int i = 0; i < columns && NextDelimitedField(line, Tab, position, field, quoting); ++i) {
    if (quoting == tFieldQuoting::UnclosedQuote || quoting == tFieldQuoting::TextAfterQuote) break;
    for (char c : field)
      if (static_cast<unsigned char>(c) <= ' ') return true;
  }
  return false;
}

// Blank-separated text, or tab-separated values when, of the `rows` lines
// from the cursor on (every line when rows is 0), the first that is not
// blank holds a tab and tabs alone separate the values of every one.
tDataSeparator BlanksOrTabs(tLineCursor cursor, int columns, int rows) {
  std::string_view line;
  bool first = true;
  for (int read = 0; (rows <= 0 || read < rows) && cursor.Next(line); ++read) {
    if (IsBlankLine(line)) continue;
    if (first && line.find(Tab) == std::string_view::npos) return tDataSeparator::Blanks;
    first = false;
    if (SeparatesValuesByBlanks(line, columns)) return tDataSeparator::Blanks;
  }
  return first ? tDataSeparator::Blanks : tDataSeparator::Tab;
}

// The fields of a line of names. In a blank-separated file names are
// split at tabs when the line holds one (a spreadsheet's tab-separated
// export, whose names may hold blanks), otherwise at blanks, a name in
// double quotes losing them.
std::vector<std::string> NameFields(std::string_view line, tDataSeparator separator) {
  std::vector<std::string> names;
  std::string name;
  tFieldQuoting quoting = tFieldQuoting::Plain;
  const char split = separator != tDataSeparator::Blanks ? SeparatorCharacter(separator)
                     : line.find(Tab) != std::string_view::npos ? Tab
                                                                 : '\0';
  if (split != '\0') {
    std::size_t position = 0;
    while (NextDelimitedField(line, split, position, name, quoting)) {
      if (quoting == tFieldQuoting::UnclosedQuote || quoting == tFieldQuoting::TextAfterQuote) break;
      names.push_back(name);
    }
    return names;
  }
  for (std::string_view field : SplitFields(line)) {
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"') field = field.substr(1, field.size() - 2);
    names.emplace_back(field);
  }
  return names;
}

// None of the first `columns` names is a number, and not all are empty.
bool AreNames(const std::vector<std::string>& fields, int columns) {
  bool anyText = false;
  for (int i = 0; i < columns && i < static_cast<int>(fields.size()); ++i) {
    if (LooksLikeNumber(fields[i])) return false;
    anyText = anyText || !fields[i].empty();
  }
  return anyText;
}

tDataFileLayout WithNames(tDataSeparator separator, const std::vector<std::string>& fields) {
  tDataFileLayout layout;
  layout.separator = separator;
  layout.namesLine = true;
  for (const std::string& f : fields) {
    std::string name = ShownTextClipped(f, MaxVariableNameLength);
    name.erase(name.find_last_not_of(' ') + 1);
    layout.names.push_back(name);
  }
  return layout;
}

}  // namespace

char SeparatorCharacter(tDataSeparator separator) {
  switch (separator) {
    case tDataSeparator::Comma: return ',';
    case tDataSeparator::Semicolon: return ';';
    case tDataSeparator::Tab: return Tab;
    case tDataSeparator::Blanks: break;
  }
  return '\0';
}

bool tDataFields::Next(std::string_view& field, tFieldQuoting& quoting) {
  if (separator_ == tDataSeparator::Blanks) {
    quoting = tFieldQuoting::Plain;
    return NextField(line_, position_, field);
  }
  if (!NextDelimitedField(line_, SeparatorCharacter(separator_), position_, unquoted_, quoting)) return false;
  field = unquoted_;
  return true;
}

bool IsEmptyDataLine(std::string_view line, tDataSeparator separator) {
  if (separator == tDataSeparator::Blanks) return IsBlankLine(line);
  const char split = SeparatorCharacter(separator);
  for (char c : line)
    if (c != split && static_cast<unsigned char>(c) > ' ') return false;
  return true;
}

tDataFileLayout DetectDataFileLayout(std::string_view text, int columns, int rows) {
  tLineCursor cursor(text);
  std::string_view first;
  if (!cursor.Next(first) || HoldsBlankSeparatedData(first, columns)) {
    // Blank- or tab-separated, with the data from line 1 on.
    tDataFileLayout layout;
    layout.separator = BlanksOrTabs(tLineCursor(text), columns, rows);
    return layout;
  }

  // Line 1 holds data in a delimited kind unless all its fields are names.
  const std::optional<tDataSeparator> firstKind = DelimitedKindOf(first);
  if (firstKind && !AreNames(LeadingFields(first, *firstKind, columns), columns)) {
    tDataFileLayout layout;
    layout.separator = *firstKind;
    return layout;
  }

  // Line 1 may name the variables: the first line with data after it
  // decides the kind, and line 1 must be names in that kind.
  std::string_view data;
  const tLineCursor afterNames = cursor;
  while (cursor.Next(data)) {
    if (IsBlankLine(data)) continue;
    tDataSeparator kind = tDataSeparator::Blanks;
    if (!HoldsBlankSeparatedData(data, columns)) kind = DelimitedKindOf(data).value_or(tDataSeparator::Blanks);
    if (kind == tDataSeparator::Blanks) kind = BlanksOrTabs(afterNames, columns, rows);
    const std::vector<std::string> names = NameFields(first, kind);
    if (AreNames(names, columns)) return WithNames(kind, names);
    break;
  }
  tDataFileLayout layout;
  layout.separator = firstKind ? *firstKind : BlanksOrTabs(tLineCursor(text), columns, rows);
  return layout;
}
