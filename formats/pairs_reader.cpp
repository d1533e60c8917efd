#include "formats/pairs_reader.h"

#include <algorithm>
#include <utility>

#include "formats/number_text.h"
#include "core/text_characters.h"
#include "core/text_lines.h"
#include "core/text_format.h"
#include "formats/raw_data_file.h"

namespace {

// Characters of a refused text repeated in its message.
constexpr std::size_t ShownTextLength = 24;

// The most fields a line can use: a label and Case A's and Case B's scores
// for the most variables.
constexpr std::size_t MostFields = 2 * MatrixCapacity + 1;

std::string Shown(std::string_view text) {
  std::string out = ShownText(text.substr(0, ShownTextLength));
  if (text.size() > ShownTextLength) out += "...";
  return out;
}

// "Case B's score on covariate 2".
std::string ScoreName(int index, int m) {
  const char* whose = index < m ? "Case A" : "Case B";
  return FormatC("%s's score on %s", whose, RawVariableName(index % m + 1).c_str());
}

std::string CountProblem(std::size_t found, int m) {
  return FormatC(
      "%zu score%s found, %d expected: Case A's %d, then Case B's %d (task of interest first, then %d "
      "covariate%s), optionally after a label.",
      found, found == 1 ? "" : "s", 2 * m, m, m, m - 1, m - 1 == 1 ? "" : "s");
}

// The next field of a pairs line: fields are separated by blanks and tabs
// only, so that a control character stays in its field and is named there.
bool NextPairField(std::string_view line, std::size_t& position, std::string_view& field) {
  constexpr std::string_view Separators = " \t";
  const std::size_t start = line.find_first_not_of(Separators, position);
  if (start == std::string_view::npos) {
    position = line.size();
    return false;
  }
  const std::size_t end = std::min(line.find_first_of(Separators, start), line.size());
  field = line.substr(start, end - start);
  position = end;
  return true;
}

// The code of the first control character in UTF-8 text (C0, DEL or C1),
// or 0 when it holds none.
unsigned FirstControlCharacter(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F) return c;
    if (c == 0xC2 && i + 1 < text.size()) {
      const unsigned char next = static_cast<unsigned char>(text[i + 1]);
      if (next >= 0x80 && next <= 0x9F) return next;
    }
  }
  return 0;
}

}  // namespace

bool IsPairsCommentOrBlank(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t\f\v");
  return first == std::string_view::npos || IsBlankLine(line) || line[first] == '#';
}

// A first field that is not a number is the label; the scores follow.
void ReadPairLine(std::string_view line, int k, tPairEntry& entry) {
  const int m = k + 1;
  std::string_view fields[MostFields];
  std::size_t count = 0;
  std::size_t position = 0;
  for (std::string_view field; NextPairField(line, position, field); ++count)
    if (count < MostFields) fields[count] = field;

  extended probe = 0;
  const bool hasLabel = count > 0 && !ReadScore(fields[0], probe);
  const std::size_t scoreCount = count - (hasLabel ? 1 : 0);
  entry.label.clear();
  if (hasLabel) {
    entry.label = std::string(fields[0]);
    if (!IsValidUtf8(entry.label)) {
      entry.problem = "the label is not valid UTF-8 text.";
      return;
    }
    if (const unsigned control = FirstControlCharacter(entry.label); control != 0) {
      entry.problem = FormatC("the label \"%s\" holds a control character (U+%04X): a label is one word of "
                              "printable characters.",
                              Shown(entry.label).c_str(), control);
      return;
    }
  }
  if (scoreCount != static_cast<std::size_t>(2 * m)) {
    entry.problem = CountProblem(scoreCount, m);
    if (!hasLabel && scoreCount == static_cast<std::size_t>(2 * m + 1))
      entry.problem += FormatC(" A label must not be a number: \"%s\" was read as a score.", Shown(fields[0]).c_str());
    return;
  }
  const std::size_t offset = hasLabel ? 1 : 0;
  for (int i = 0; i < 2 * m; ++i) {
    const std::string_view text = fields[offset + i];
    extended value = 0;
    if (!ReadScore(text, value)) {
      if (text.size() > static_cast<std::size_t>(MaxScoreTextLength)) {
        entry.problem = FormatC("%s \"%s\" is too long to be a number (at most %d characters).",
                                ScoreName(i, m).c_str(), Shown(text).c_str(), MaxScoreTextLength);
      } else {
        entry.problem = FormatC(
            "%s \"%s\" is not a number%s (write numbers with a point as the decimal mark, for example 12.5).",
            ScoreName(i, m).c_str(), Shown(text).c_str(), UnusualCharactersClause(text).c_str());
      }
      return;
    }
    (i < m ? entry.caseA : entry.caseB)[i % m + 1] = value;
  }
  entry.problem.clear();
}

tPairsReader::tPairsReader(tTextLineReader::tByteSource source, int k)
    : lines_(std::move(source), MaxPairLineLength), k_(k) {}

bool tPairsReader::Next(tPairEntry& entry) {
  for (;;) {
    switch (lines_.Next(line_)) {
      case tTextLineReader::tStatus::End: return false;
      case tTextLineReader::tStatus::Failed: problem_ = lines_.Problem(); return false;
      case tTextLineReader::tStatus::Line: break;
    }
    if (IsPairsCommentOrBlank(line_)) continue;
    entry.line = static_cast<int>(lines_.LineNumber());
    if (lines_.LineCut()) {
      entry.label.clear();
      entry.problem = FormatC("the line is longer than %zu characters.", MaxPairLineLength);
    } else {
      ReadPairLine(line_, k_, entry);
    }
    return true;
  }
}

std::vector<tPairEntry> ReadPairs(std::string_view text, int k, std::string* problem) {
  std::size_t position = 0;
  tPairsReader reader(
      [text, &position](char* buffer, std::size_t size, std::string&) -> long long {
        const std::size_t n = text.copy(buffer, size, position);
        position += n;
        return static_cast<long long>(n);
      },
      k);
  std::vector<tPairEntry> pairs;
  for (tPairEntry entry; reader.Next(entry);) pairs.push_back(entry);
  if (problem != nullptr) *problem = reader.Problem();
  return pairs;
}
