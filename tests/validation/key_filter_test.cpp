#include "validation/key_filter.h"

#include <gtest/gtest.h>

#include "tests/validation/notice_recorder.h"

namespace {

TEST(FilterNumericKey, PassesNumericAndEditingKeysRefusesTheRestWithBeepAndWarning) {
  // Digits, sign, point and Backspace, Tab, Enter pass; a comma becomes a point.
  for (auto [key, passed] : {std::pair{U'0', U'0'}, {U'5', U'5'}, {U'9', U'9'}, {U'-', U'-'}, {U'.', U'.'},
                             {char32_t{8}, char32_t{8}}, {char32_t{9}, char32_t{9}}, {char32_t{13}, char32_t{13}},
                             {U',', U'.'}}) {
    tNoticeRecorder r;
    EXPECT_EQ(FilterNumericKey(key, r.Hook(), r.Beep()), passed) << static_cast<int>(key);
    EXPECT_TRUE(r.notices.empty());
    EXPECT_EQ(r.beeps, 0);
  }
  // Letter, blank, slash, Escape, the paste and copy control characters,
  // the neighbours of the digit range and non-ASCII characters.
  for (char32_t key : {U'a', U' ', U'/', char32_t{27}, char32_t{22}, char32_t{3}, U':', U'+',
                       U'e', char32_t{0x00B7}, char32_t{0x0660}}) {
    tNoticeRecorder r;
    EXPECT_EQ(FilterNumericKey(key, r.Hook(), r.Beep()), char32_t{0}) << static_cast<int>(key);
    EXPECT_EQ(r.beeps, 1);
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_EQ(r.notices[0].kind, tMessageKind::Warning);
    EXPECT_EQ(r.notices[0].caption, "Warning");
    EXPECT_EQ(r.notices[0].text, "INPUT ERROR\r\rEnter numeric data only.");
  }
  EXPECT_EQ(FilterNumericKey(U'x', tNoticeHook(), tBeepHook()), char32_t{0});  // empty hooks are safe
}

// Six characters (not bytes) are kept; a seventh is clipped at a character
// boundary, never inside a UTF-8 sequence, with a beep and a warning.
TEST(LengthRule, ClipsToSixCharacters) {
  for (std::string text : {"123456", "", "-1.5", "\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9"}) {
    tNoticeRecorder r;
    const std::string before = text;
    EXPECT_FALSE(ApplyLengthRule(text, r.Hook(), r.Beep()));
    EXPECT_EQ(text, before);
    EXPECT_TRUE(r.notices.empty());
    EXPECT_EQ(r.beeps, 0);
  }
  for (auto [text, clipped] : {std::pair<std::string, std::string>{"1234567", "123456"},
                               {"\u00e91\u20ac3456", "\u00e91\u20ac345"}}) {
    tNoticeRecorder r;
    EXPECT_TRUE(ApplyLengthRule(text, r.Hook(), r.Beep()));
    EXPECT_EQ(text, clipped);
    EXPECT_EQ(r.beeps, 1);
    EXPECT_EQ(r.OnlyText(), "Maximum length of input is 6 characters.");
    EXPECT_EQ(r.notices[0].kind, tMessageKind::Warning);
  }
  tNoticeRecorder r;
  EXPECT_EQ(ClipToSixCharacters(std::string(10000, '7'), r.Hook(), r.Beep()), "777777");
  EXPECT_EQ(r.beeps, 1);
}

}  // namespace
