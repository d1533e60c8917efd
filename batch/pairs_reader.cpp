#include "batch/pairs_reader.h"

#include "batch/batch_text.h"
#include "core/text_characters.h"
#include "core/text_lines.h"
#include "core/text_format.h"
#include "worksheet/logic/raw_data_file.h"

namespace {

// Characters of a refused text repeated in its message.
constexpr std::size_t ShownTextLength = 24;

// A UTF-8 byte-order mark that a text editor may put at the start (the
// file reader removes it; standard input is read as it comes).
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

std::string Shown(std::string_view text) {
  std::string out(text.substr(0, ShownTextLength));
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

}  // namespace

bool IsPairsCommentOrBlank(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t\f\v");
  return first == std::string_view::npos || IsBlankLine(line) || line[first] == '#';
}

// The label is recognised by position: a line with 2(k + 1) + 1 fields
// has one, a line with 2(k + 1) fields has none. Any other count is an
// error, worded by whether the first field looks like a score.
void ReadPairLine(std::string_view line, int k, tPairEntry& entry) {
  const int m = k + 1;
  const std::vector<std::string_view> fields = SplitFields(line);
  extended probe = 0;
  const bool firstIsScore = !fields.empty() && ReadScore(fields[0], probe);
  const bool hasLabel =
      fields.size() == static_cast<std::size_t>(2 * m + 1) || (!fields.empty() && !firstIsScore);
  const std::size_t scoreCount = fields.size() - (hasLabel ? 1 : 0);
  entry.label.clear();
  if (hasLabel) {
    entry.label = std::string(fields[0]);
    if (!IsValidUtf8(entry.label)) {
      entry.problem = "the label is not valid UTF-8 text.";
      return;
    }
  }
  if (scoreCount != static_cast<std::size_t>(2 * m)) {
    entry.problem = CountProblem(scoreCount, m);
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
            "%s \"%s\" is not a number (write numbers with a point as the decimal mark, for example 12.5).",
            ScoreName(i, m).c_str(), Shown(text).c_str());
      }
      return;
    }
    (i < m ? entry.caseA : entry.caseB)[i % m + 1] = value;
  }
  entry.problem.clear();
}

std::vector<tPairEntry> ReadPairs(std::string_view text, int k) {
  if (text.substr(0, ByteOrderMark.size()) == ByteOrderMark) text.remove_prefix(ByteOrderMark.size());
  std::vector<tPairEntry> pairs;
  const std::vector<std::string_view> lines = SplitLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (IsPairsCommentOrBlank(lines[i])) continue;
    tPairEntry entry;
    entry.line = static_cast<int>(i) + 1;
    ReadPairLine(lines[i], k, entry);
    pairs.push_back(std::move(entry));
  }
  return pairs;
}
