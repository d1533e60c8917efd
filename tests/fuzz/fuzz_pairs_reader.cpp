// Fuzz target for the batch tool's pairs reader.
//
// Input: byte 0 chooses the number of covariates k (1 to 5, what the
// controls allow); the rest, copied to a string of exactly its size, is
// the pairs file. What must hold:
//  - read from a stream in pieces of 1 to 8 bytes, the file gives the same
//    entries and the same end (or reading problem) as read whole, whatever
//    its encoding;
// and, for a file without zero bytes or a UTF-16 byte-order mark (UTF-8,
// the other encodings being decoded first), against an independent
// reading of the file
// (lines end at LF, CR LF or CR; a leading byte-order mark is skipped;
// fields are separated by characters up to 32; lines blank or starting
// with '#' after blanks are skipped):
//  - one entry per other line, in order, with its line number;
//  - an entry is readable exactly when its line has at most
//    MaxPairLineLength characters and 2(k + 1) scores, after a label when
//    its first field is not a score (a label of valid UTF-8), each score a
//    decimal [+|-] digits [. digits] [(e|E) [+|-] digits] of at most
//    MaxScoreTextLength characters with a finite value;
//  - a readable entry's scores equal the C library's conversion, and the
//    vectors hold nothing beyond position k + 1;
//  - an unreadable entry says why on one line (it is printed as
//    "file:line: error: ...").
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/number_text.h"
#include "formats/pairs_reader.h"
#include "matrix/tmatrix.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr int MaxCovariates = 5;

[[noreturn]] void Fail(const std::string& what, int k, std::string_view file) {
  fuzz::Fail("pairs file (k = " + std::to_string(k) + ")", what, file);
}

// The file's lines, after a byte-order mark if it starts with one.
std::vector<std::string_view> Lines(std::string_view text) {
  static constexpr std::string_view Mark = "\xEF\xBB\xBF";
  if (text.substr(0, Mark.size()) == Mark) text.remove_prefix(Mark.size());
  return fuzz::SplitLines(text);
}

bool Skipped(std::string_view line) {
  bool blank = true;
  for (char c : line)
    if (static_cast<unsigned char>(c) > ' ') blank = false;
  if (blank) return true;
  const std::size_t first = line.find_first_not_of(" \t\f\v");
  return line[first] == '#';
}

// Well-formed UTF-8: shortest forms, no surrogates, at most U+10FFFF.
bool Utf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t length = 0;
    unsigned long code = 0;
    unsigned long least = 0;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if ((c & 0xE0) == 0xC0) {
      length = 2, code = c & 0x1F, least = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      length = 3, code = c & 0x0F, least = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      length = 4, code = c & 0x07, least = 0x10000;
    } else {
      return false;
    }
    if (s.size() - i < length) return false;
    for (std::size_t b = 1; b < length; ++b) {
      const unsigned char d = static_cast<unsigned char>(s[i + b]);
      if ((d & 0xC0) != 0x80) return false;
      code = code << 6 | (d & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

// A C0 or C1 control character or DEL, in UTF-8 text.
bool HoldsControl(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F) return true;
    if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
        static_cast<unsigned char>(text[i + 1]) <= 0x9F)
      return true;
  }
  return false;
}

void CheckEntry(const tPairEntry& entry, std::string_view line, int k, std::string_view file) {
  const int m = k + 1;
  // Only blanks and tabs separate the fields of a pairs line; any other
  // control character stays in its field.
  std::vector<std::string_view> fields;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t start = line.find_first_not_of(" \t", i);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
    fields.push_back(line.substr(start, end - start));
    i = end;
  }
  const std::string where = "line " + std::to_string(entry.line) + ": ";
  long double probe = 0;
  const std::size_t offset =
      !fields.empty() && !fuzz::ReadDecimal(fields[0], static_cast<std::size_t>(MaxScoreTextLength), probe) ? 1 : 0;
  bool readable = line.size() <= MaxPairLineLength && fields.size() == static_cast<std::size_t>(2 * m) + offset;
  if (readable && offset == 1 && (!Utf8(fields[0]) || HoldsControl(fields[0]))) readable = false;
  long double values[2 * (MaxCovariates + 1)] = {};
  for (int i = 0; readable && i < 2 * m; ++i)
    readable = fuzz::ReadDecimal(fields[offset + i], static_cast<std::size_t>(MaxScoreTextLength), values[i]);

  if (readable != entry.Readable())
    Fail(where + (readable ? "readable line refused: " + entry.problem : "unreadable line read"), k, file);
  if (!entry.Readable()) {
    if (entry.problem.find_first_of("\r\n") != std::string::npos) Fail(where + "problem spans lines", k, file);
    return;
  }
  if (entry.label != (offset == 1 ? std::string(fields[0]) : std::string()))
    Fail(where + "label \"" + fuzz::Shown(entry.label) + "\"", k, file);
  for (int i = 0; i < 2 * m; ++i) {
    const long double got = (i < m ? entry.caseA : entry.caseB)[i % m + 1];
    if (!(got == values[i])) Fail(where + "score " + std::to_string(i + 1) + " differs from strtold", k, file);
  }
  for (int j = m + 1; j <= MatrixCapacity; ++j)
    if (entry.caseA[j] != 0 || entry.caseB[j] != 0) Fail(where + "score beyond k + 1", k, file);
}

bool SameEntry(const tPairEntry& a, const tPairEntry& b, int k) {
  if (a.line != b.line || a.label != b.label || a.problem != b.problem) return false;
  for (int j = 1; j <= k + 1 && a.Readable(); ++j)
    if (!(a.caseA[j] == b.caseA[j]) || !(a.caseB[j] == b.caseB[j])) return false;
  return true;
}

// The file read from a stream that hands over pieces of the sizes the
// seed gives, from 1 to 8 bytes.
void CheckPieces(const std::string& file, int k, const std::vector<tPairEntry>& whole, const std::string& problem,
                 std::uint8_t seed) {
  std::size_t position = 0;
  unsigned step = seed;
  tPairsReader reader(
      [&](char* buffer, std::size_t size, std::string&) -> long long {
        step = step * 1103515245u + 12345u;
        const std::size_t n = file.copy(buffer, std::min<std::size_t>(size, 1 + (step >> 16) % 8), position);
        position += n;
        return static_cast<long long>(n);
      },
      k);
  std::size_t i = 0;
  for (tPairEntry entry; reader.Next(entry); ++i)
    if (i >= whole.size() || !SameEntry(entry, whole[i], k))
      Fail("read in pieces, entry " + std::to_string(i + 1) + " differs", k, file);
  if (i != whole.size() || reader.Problem() != problem) Fail("read in pieces, the end differs", k, file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const int k = 1 + data[0] % MaxCovariates;
  const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);

  std::string problem;
  const std::vector<tPairEntry> pairs = ReadPairs(std::string_view(file.data(), file.size()), k, &problem);
  CheckPieces(file, k, pairs, problem, data[0]);
  // UTF-16, UTF-32 or not text: checked in pieces only.
  if (file.find('\0') != std::string::npos || file.rfind("\xFF\xFE", 0) == 0 || file.rfind("\xFE\xFF", 0) == 0) return 0;
  if (!problem.empty()) Fail("a file without zero bytes refused: " + problem, k, file);
  const std::vector<std::string_view> lines = Lines(file);
  std::size_t next = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (Skipped(lines[i])) continue;
    if (next >= pairs.size()) Fail("no entry for line " + std::to_string(i + 1), k, file);
    const tPairEntry& entry = pairs[next++];
    if (entry.line != static_cast<int>(i) + 1)
      Fail("entry for line " + std::to_string(i + 1) + " numbered " + std::to_string(entry.line), k, file);
    CheckEntry(entry, lines[i], k, file);
  }
  if (next != pairs.size()) Fail("entries for skipped lines", k, file);
  return 0;
}
