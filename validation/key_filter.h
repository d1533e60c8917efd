// Key filtering and the six-character length rule of the numeric entry
// fields and data-grid cells.
#pragma once

#include <string>
#include <string_view>

#include "core/text_characters.h"  // CharacterCount, for the length rule
#include "platform/notice.h"

// Longest text a filtered entry field keeps.
constexpr int MaxFieldLength = 6;

// Filters one typed character for a numeric field: a comma becomes a
// point; backspace (8), tab (9), Enter (13), '-', '.' and the digits pass
// unchanged; anything else (letters, blanks, '/', Escape, the control
// characters of copy and paste, any non-ASCII character) sounds the beep,
// shows the warning "INPUT ERROR\r\rEnter numeric data only." and yields
// the null character, meaning "discard the key".
// It does not look at what the field already holds.
//
// Window layer: call it from the key-press handler of every filtered field
// (Quorvik txtInput1..txtinput8; Quorvane txtInput2..txtinput8 and grid
// columns 2 to 5) with the typed character (QKeyEvent::text()'s single
// character; a key event without text is not passed in). Result 0: swallow
// the event; the key itself: let it through; a different character (the
// point for a comma): insert that character instead.
char32_t FilterNumericKey(char32_t key, const tNoticeHook& notice, const tBeepHook& beep);

// Returns the first 6 characters of text (characters, not bytes: UTF-8
// sequences are never cut), after sounding the beep and showing the
// warning "Maximum length of input is 6 characters.". Callers invoke it
// only for texts longer than 6 characters (see ApplyLengthRule).
std::string ClipToSixCharacters(std::string_view text, const tNoticeHook& notice,
                                const tBeepHook& beep);

// The length rule of a field on key release: when text holds more than
// 6 characters it is replaced by ClipToSixCharacters(text) and the result
// is true; a text of 6 characters or fewer is left alone (false, no beep,
// no box).
//
// Window layer: call it from the key-release handler of every field the
// length rule covers (Quorvik txtInput1..txtinput8, Quorvane
// txtInput2..txtinput8) with the field's text; when it returns true,
// write the text back into the field and select the whole text.
bool ApplyLengthRule(std::string& text, const tNoticeHook& notice, const tBeepHook& beep);
