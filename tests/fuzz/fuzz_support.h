#pragma once
// Helpers the fuzz targets share: how a failing input is shown, and the
// independent reading of line-based text files (lines, blank-separated
// fields, decimal numbers) that the targets check the readers against.
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// The text with every byte outside printable ASCII written as \xHH.
inline std::string Shown(std::string_view text) {
  std::string out;
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u >= 32 && u < 127) {
      out.push_back(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", u);
      out += hex;
    }
  }
  return out;
}

// Reports a broken property of the reader named by context, with the file
// that shows it, and aborts so that the fuzzer keeps the input.
[[noreturn]] inline void Fail(const std::string& context, const std::string& what, std::string_view file) {
  std::fprintf(stderr, "%s: %s\nfile: \"%s\"\n", context.c_str(), what.c_str(), Shown(file).c_str());
  std::abort();
}

// The text's lines: LF, CR LF and CR each end a line; a last line without
// an end counts too. A byte-order mark is the caller's to remove.
inline std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.push_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// The line's fields: runs of characters above 32, separated by the others.
inline std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && static_cast<unsigned char>(line[i]) <= ' ') ++i;
    const std::size_t start = i;
    while (i < line.size() && static_cast<unsigned char>(line[i]) > ' ') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

// The fields of a delimited line (CSV): separator between fields, blanks
// (and tabs, unless tab is the separator) around a field dropped; a field
// that starts with a double quote runs to its closing quote, a doubled
// quote standing for one, and only blanks may follow it before the next
// separator. faultyField is the index of the first field whose quotes are
// not so (it ends the list), or -1.
inline std::vector<std::string> SplitDelimited(std::string_view line, char separator, int& faultyField) {
  enum class State { Start, Plain, Quoted, QuoteSeen, Closed };
  auto pad = [&](char c) { return c == ' ' || (c == '\t' && separator != '\t'); };
  std::vector<std::string> fields;
  std::string field;
  State state = State::Start;
  faultyField = -1;
  auto finish = [&] {
    if (state == State::Plain)
      while (!field.empty() && pad(field.back())) field.pop_back();
    fields.push_back(field);
    field.clear();
    state = State::Start;
  };
  for (char c : line) {
    switch (state) {
      case State::Start:
        if (c == separator) finish();
        else if (c == '"') state = State::Quoted;
        else if (!pad(c)) { field += c; state = State::Plain; }
        break;
      case State::Plain:
        if (c == separator) finish();
        else field += c;
        break;
      case State::Quoted:
        if (c == '"') state = State::QuoteSeen;
        else field += c;
        break;
      case State::QuoteSeen:
        if (c == '"') { field += c; state = State::Quoted; }
        else if (c == separator) finish();
        else if (pad(c)) state = State::Closed;
        else { faultyField = static_cast<int>(fields.size()); fields.push_back(field); return fields; }
        break;
      case State::Closed:
        if (c == separator) finish();
        else if (!pad(c)) { faultyField = static_cast<int>(fields.size()); fields.push_back(field); return fields; }
        break;
    }
  }
  if (state == State::Quoted) {
    faultyField = static_cast<int>(fields.size());
    fields.push_back(field);
    return fields;
  }
  finish();
  return fields;
}

// A decimal number: [+|-] (digits [. [digits]] | . digits) [(e|E) [+|-] digits].
inline bool IsDecimal(std::string_view t) {
  std::size_t i = 0;
  auto digits = [&] {
    const std::size_t from = i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
    return i - from;
  };
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t mantissa = digits();
  if (i < t.size() && t[i] == '.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  return i == t.size();
}

// A decimal of at most maxLength characters and its value by the C
// library; false when the text is not one or its value is not a finite
// extended number (ERANGE: beyond the range, or so small it underflowed).
inline bool ReadDecimal(std::string_view t, std::size_t maxLength, long double& value) {
  if (t.size() > maxLength || !IsDecimal(t)) return false;
  const std::string copy(t);
  errno = 0;
  value = std::strtold(copy.c_str(), nullptr);
  return errno != ERANGE && std::isfinite(value);
}

}  // namespace fuzz
