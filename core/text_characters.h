// Showing a text that was refused, so that the user can see what is in it:
// characters that look like digits, points or blanks but are none (a
// non-breaking space, full-width digits, a minus sign) are named, and
// bytes that are not UTF-8 are shown by their value.
#pragma once

#include <string>
#include <string_view>

// True when text is well-formed UTF-8 (ASCII included): lead and
// continuation bytes, no overlong forms, no surrogates, nothing beyond
// U+10FFFF.
bool IsValidUtf8(std::string_view text);

// The text to quote in a message: valid UTF-8 as it stands, with each byte
// that is not part of a UTF-8 character shown as <0xE9> and each control
// character as <U+007F>.
std::string ShownText(std::string_view text);

// The number of characters in text: one for each UTF-8 character and one
// for each byte that is not part of one.
int CharacterCount(std::string_view text);

// ShownText(text) cut after its first `characters` characters (never
// inside one): a name from a file as the report and messages show it.
std::string ShownTextClipped(std::string_view text, std::size_t characters);

// The characters of text beyond printable ASCII, for a message: "a
// non-breaking space (U+00A0)", "a full-width digit one (U+FF11) and a
// byte 0xE9 that is not UTF-8 text". Each kind is named once, at most
// three of them, then "and other characters". Empty when the text is
// printable ASCII.
std::string UnusualCharacters(std::string_view text);

// ": it holds " + UnusualCharacters(text), or an empty text when it holds
// none: the tail of a "... is not a number" message.
std::string UnusualCharactersClause(std::string_view text);
