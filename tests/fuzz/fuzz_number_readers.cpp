// Fuzz target for the two number readers of the entry fields and cells.
//
// The whole input is the text (an exactly sized copy, no terminating null,
// so any read past its end is caught by AddressSanitizer). Both readers
// read it; for each the target checks against an independent account of
// the accepted syntax:
//  - the result is finite, and a rejection shows exactly one warning while
//    an acceptance shows none;
//  - a text is accepted exactly when it is a decimal of the reader's
//    grammar: blanks anywhere, '-' only as the very first character, at
//    most one decimal mark ('.'; ',' too for the cell reader), digits, at
//    most MaxNumberTextLength characters, and not empty for the strict
//    reader;
//  - an accepted value agrees with the C library's conversion of the same
//    digits to within a few units of rounding.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tests/fuzz/fuzz_support.h"
#include "validation/input_error.h"
#include "validation/number_readers.h"

namespace {

// The digit accumulation of the readers rounds once per fraction digit;
// 64 digits stay far inside this relative bound.
constexpr long double RelativeTolerance = 1e-15L;

[[noreturn]] void Fail(const char* reader, const char* what, std::string_view text) {
  std::fprintf(stderr, "%s: %s for text of %zu bytes: \"%s\"\n", reader, what, text.size(), fuzz::Shown(text).c_str());
  std::abort();
}

// The text as the reader's grammar sees it: blanks removed, a comma taken
// as a point when commaIsMark. Returns false when the text is not in the
// grammar.
bool Normalise(std::string_view text, bool commaIsMark, std::string& plain) {
  plain.clear();
  bool mark = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ' ') continue;
    if (c == '-') {
      if (i != 0) return false;
      plain.push_back('-');
    } else if (c == '.' || (commaIsMark && c == ',')) {
      if (mark) return false;
      mark = true;
      plain.push_back('.');
    } else if (c >= '0' && c <= '9') {
      plain.push_back(c);
    } else {
      return false;
    }
  }
  return true;
}

// The value of a normalised text by the C library ("-", "." and "-." read 0).
long double Reference(const std::string& plain) {
  std::string digits = "0";
  bool negative = false;
  for (char c : plain) {
    if (c == '-')
      negative = true;
    else
      digits.push_back(c);
  }
  const long double v = std::strtold(digits.c_str(), nullptr);
  return negative ? -v : v;
}

void Check(const char* reader, std::string_view text, long double value, int notices, bool commaIsMark,
           bool emptyIsError) {
  if (!std::isfinite(value)) Fail(reader, "non-finite result", text);
  if (inputError && notices != 1) Fail(reader, "rejection without exactly one warning", text);
  if (!inputError && notices != 0) Fail(reader, "warning shown for an accepted text", text);

  std::string plain;
  const bool inGrammar = Normalise(text, commaIsMark, plain) &&
                         text.size() <= static_cast<std::size_t>(MaxNumberTextLength) &&
                         !(emptyIsError && text.empty());
  if (inGrammar && inputError) Fail(reader, "valid number rejected", text);
  if (!inGrammar && !inputError) Fail(reader, "invalid text accepted", text);
  if (inputError) return;

  const long double expected = Reference(plain);
  const long double scale = std::fabs(expected) > 1 ? std::fabs(expected) : 1;
  if (std::fabs(value - expected) > RelativeTolerance * scale) Fail(reader, "value differs from strtold", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exactly sized heap copy: the readers get a view of it and nothing else.
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string_view view(text.data(), text.size());

  int notices = 0;
  const tNoticeHook count = [&notices](const tNotice& n) {
    if (n.kind != tMessageKind::Warning || n.text.empty()) std::abort();
    ++notices;
  };

  const long double labelled = ReadLabelledNumber(view, "Sample size", count);
  Check("ReadLabelledNumber", view, labelled, notices, false, true);

  notices = 0;
  const long double cell = ReadCellNumber(view, count);
  Check("ReadCellNumber", view, cell, notices, true, false);
  return 0;
}
