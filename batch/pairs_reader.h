// The pairs file of a batch run: one pair of cases a line, an optional
// label, then Case A's k + 1 scores, then Case B's k + 1 scores (task of
// interest first, then the covariates), separated by blanks or tabs.
// Lines whose first non-blank character is '#' are comments; empty lines
// are skipped. Lines end in LF, CR LF or CR.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "matrix/tmatrix.h"

// One line of the pairs file that holds a pair (or should).
struct tPairEntry {
  int line = 0;          // 1-based line number in the file
  std::string label;     // empty when the line has none
  tVector caseA;         // positions 1..k + 1
  tVector caseB;
  std::string problem;   // what is wrong with the line; empty when it was read

  bool Readable() const { return problem.empty(); }
};

// Reads every pair of the text for k covariates. Lines that cannot be
// read are kept, with problem saying why, so that the caller reports them
// in their place. Never throws for any content.
std::vector<tPairEntry> ReadPairs(std::string_view text, int k);

// Reads one line (not a comment or blank line) into entry.
void ReadPairLine(std::string_view line, int k, tPairEntry& entry);

// True when the line is empty, blank or a comment.
bool IsPairsCommentOrBlank(std::string_view line);
