#include "validation/key_filter.h"

#include "validation/validation_messages.h"

namespace {

constexpr char32_t BackspaceKey = 8;
constexpr char32_t TabKey = 9;
constexpr char32_t EnterKey = 13;
constexpr char32_t DiscardKey = 0;

// A UTF-8 continuation byte (10xxxxxx) belongs to the character before it.
bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

void Warn(const tNoticeHook& notice, const char* text) {
  if (notice) notice(tNotice{tMessageKind::Warning, "Warning", text});
}

void Beep(const tBeepHook& beep) {
  if (beep) beep();
}

// Byte length of the first count characters of text.
std::size_t BytesOfFirstCharacters(std::string_view text, int count) {
  int seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsContinuationByte(text[i])) {
      if (seen == count) return i;
      ++seen;
    }
  }
  return text.size();
}

}  // namespace

// Character filter of the numeric fields: comma to point, the editing
// keys, sign, point and digits through, everything else refused aloud.
char32_t FilterNumericKey(char32_t key, const tNoticeHook& notice, const tBeepHook& beep) {
  if (key == U',') return U'.';
  if (key == BackspaceKey || key == TabKey || key == EnterKey || key == U'-' || key == U'.' ||
      (key >= U'0' && key <= U'9'))
    return key;
  Beep(beep);
  Warn(notice, NumericKeyMessage);
  return DiscardKey;
}

// First six characters of an overlong field text, with beep and warning.
std::string ClipToSixCharacters(std::string_view text, const tNoticeHook& notice,
                                const tBeepHook& beep) {
  Beep(beep);
  Warn(notice, MaximumLengthMessage);
  return std::string(text.substr(0, BytesOfFirstCharacters(text, MaxFieldLength)));
}

bool ApplyLengthRule(std::string& text, const tNoticeHook& notice, const tBeepHook& beep) {
  if (CharacterCount(text) <= MaxFieldLength) return false;
  text = ClipToSixCharacters(text, notice, beep);
  return true;
}
