#include "core/text_characters.h"

#include <cstdint>
#include <vector>

#include "core/text_format.h"

namespace {

// Kinds named in one message before "and other characters".
constexpr std::size_t MostNamed = 3;

constexpr std::uint32_t NoCharacter = 0xFFFFFFFF;

// One character decoded from UTF-8, or NoCharacter with length 1 for a
// byte that does not start a well-formed character.
struct tDecoded {
  std::uint32_t code = NoCharacter;
  std::size_t length = 1;
};

// Checks lead and continuation bytes, overlong forms, surrogates and the
// bound U+10FFFF.
tDecoded DecodeAt(std::string_view text, std::size_t i) {
  const unsigned char c = static_cast<unsigned char>(text[i]);
  if (c < 0x80) return {c, 1};
  std::size_t extra = 0;
  std::uint32_t code = 0;
  if (c >= 0xC2 && c <= 0xDF) {
    extra = 1;
    code = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    extra = 2;
    code = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    extra = 3;
    code = c & 0x07;
  } else {
    return {};
  }
  if (i + extra >= text.size()) return {};
  for (std::size_t b = 1; b <= extra; ++b) {
    const unsigned char d = static_cast<unsigned char>(text[i + b]);
    if ((d & 0xC0) != 0x80) return {};
    code = (code << 6) | (d & 0x3F);
  }
  if ((extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000) || code > 0x10FFFF ||
      (code >= 0xD800 && code <= 0xDFFF))
    return {};
  return {code, extra + 1};
}

const char* const DigitNames[] = {"zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine"};

// What a character beyond printable ASCII is, in words, with its code.
std::string CharacterName(std::uint32_t code) {
  const std::string tag = FormatC(" (U+%04X)", static_cast<unsigned>(code));
  if (code < 0x20 || code == 0x7F) return "a control character" + tag;
  if (code >= 0xFF10 && code <= 0xFF19) return std::string("a full-width digit ") + DigitNames[code - 0xFF10] + tag;
  if (code >= 0x0660 && code <= 0x0669) return std::string("an Arabic-Indic digit ") + DigitNames[code - 0x0660] + tag;
  if (code >= 0x06F0 && code <= 0x06F9)
    return std::string("an extended Arabic-Indic digit ") + DigitNames[code - 0x06F0] + tag;
  switch (code) {
    case 0x00A0: return "a non-breaking space" + tag;
    case 0x202F: return "a narrow non-breaking space" + tag;
    case 0x2007: return "a figure space" + tag;
    case 0x2009: return "a thin space" + tag;
    case 0x200B: return "a zero-width space" + tag;
    case 0xFEFF: return "a zero-width no-break space (a byte-order mark)" + tag;
    case 0x2212: return "a minus sign, not the hyphen-minus \"-\"" + tag;
    case 0x2013: return "an en dash" + tag;
    case 0x2014: return "an em dash" + tag;
    case 0x00B7: return "a middle dot" + tag;
    case 0x066B: return "an Arabic decimal separator" + tag;
    case 0xFF0B: return "a full-width plus sign" + tag;
    case 0xFF0C: return "a full-width comma" + tag;
    case 0xFF0D: return "a full-width hyphen-minus" + tag;
    case 0xFF0E: return "a full-width full stop" + tag;
    case 0xFFFD: return "a replacement character, left where a program could not read a character" + tag;
    default: break;
  }
  if (code >= 0x2000 && code <= 0x200A) return "a typographic space" + tag;
  return "the character" + tag;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const tDecoded d = DecodeAt(text, i);
    if (d.code == NoCharacter) return false;
    i += d.length;
  }
  return true;
}

std::string ShownText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const tDecoded d = DecodeAt(text, i);
    if (d.code == NoCharacter)
      out += FormatC("<0x%02X>", static_cast<unsigned>(static_cast<unsigned char>(text[i])));
    else if (d.code < 0x20 || d.code == 0x7F)
      out += FormatC("<U+%04X>", static_cast<unsigned>(d.code));
    else
      out.append(text.substr(i, d.length));
    i += d.length;
  }
  return out;
}

int CharacterCount(std::string_view text) {
  int count = 0;
  for (std::size_t i = 0; i < text.size(); ++count) i += DecodeAt(text, i).length;
  return count;
}

std::string ShownTextClipped(std::string_view text, std::size_t characters) {
  const std::string shown = ShownText(text);
  std::size_t i = 0;
  for (std::size_t kept = 0; i < shown.size() && kept < characters; ++kept) i += DecodeAt(shown, i).length;
  return shown.substr(0, i);
}

std::string UnusualCharacters(std::string_view text) {
  std::vector<std::string> names;
  bool more = false;
  for (std::size_t i = 0; i < text.size();) {
    const tDecoded d = DecodeAt(text, i);
    std::string name;
    if (d.code == NoCharacter) {
      name = FormatC("a byte 0x%02X that is not UTF-8 text",
                     static_cast<unsigned>(static_cast<unsigned char>(text[i])));
    } else if (d.code < 0x20 || d.code >= 0x7F) {
      name = CharacterName(d.code);
    }
    i += d.length;
    if (name.empty()) continue;
    bool named = false;
    for (const std::string& n : names) named = named || n == name;
    if (named) continue;
    if (names.size() == MostNamed) {
      more = true;
      break;
    }
    names.push_back(name);
  }
  std::string out;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += i + 1 == names.size() && !more ? " and " : ", ";
    out += names[i];
  }
  if (more) out += " and other characters";
  return out;
}

std::string UnusualCharactersClause(std::string_view text) {
  const std::string named = UnusualCharacters(text);
  return named.empty() ? std::string() : ": it holds " + named;
}
