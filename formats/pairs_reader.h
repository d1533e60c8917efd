// The pairs file of a batch run: one pair of cases a line, an optional
// label, then Case A's k + 1 scores, then Case B's k + 1 scores (task of
// interest first, then the covariates), separated by blanks or tabs (and
// nothing else: another control character stays in its field). A label
// is a word of printable characters that is not a number, so that a line
// with one score too many is refused instead of taking its first score
// for a label; a label holding a control character is refused naming it. Lines
// whose first non-blank character is '#' are comments; empty lines are
// skipped. Lines end in LF, CR LF or CR; the file may be UTF-8, UTF-16 or
// UTF-32 (core/text_encoding.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/text_stream.h"
#include "matrix/tmatrix.h"

// Longest line read; a longer one is refused as a bad pair (and memory
// stays bounded whatever the file holds).
constexpr std::size_t MaxPairLineLength = 4096;

// One line of the pairs file that holds a pair (or should).
struct tPairEntry {
  int line = 0;          // 1-based line number in the file
  std::string label;     // empty when the line has none
  tVector caseA;         // positions 1..k + 1
  tVector caseB;
  std::string problem;   // what is wrong with the line; empty when it was read

  bool Readable() const { return problem.empty(); }
};

// Reads the pairs of a stream one at a time, in bounded memory.
class tPairsReader {
 public:
  tPairsReader(tTextLineReader::tByteSource source, int k);

  // The next line that holds a pair (or should): true with entry filled,
  // its problem saying why when it cannot be read; false at the end of the
  // stream or when reading it failed (Problem() then says why).
  bool Next(tPairEntry& entry);
  bool Failed() const { return !problem_.empty(); }
  // The number of the last line read.
  long long LineNumber() const { return lines_.LineNumber(); }
  const std::string& Problem() const { return problem_; }

 private:
  tTextLineReader lines_;
  int k_;
  std::string line_;
  std::string problem_;
};

// Every pair of a whole text for k covariates, as tPairsReader gives them;
// problem (when given) says why reading stopped early, or is empty.
std::vector<tPairEntry> ReadPairs(std::string_view text, int k, std::string* problem = nullptr);

// Reads one line (not a comment or blank line) into entry.
void ReadPairLine(std::string_view line, int k, tPairEntry& entry);

// True when the line is empty, blank or a comment.
bool IsPairsCommentOrBlank(std::string_view line);
