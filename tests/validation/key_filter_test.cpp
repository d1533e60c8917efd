#include "validation/key_filter.h"

#include <gtest/gtest.h>

#include "tests/validation/notice_recorder.h"

namespace {

TEST(FilterNumericKey, PassesDigitsSignPointAndEditingKeys) {
  tNoticeRecorder r;
  for (char32_t key : {U'0', U'5', U'9', U'-', U'.', char32_t{8}, char32_t{9}, char32_t{13}})
    EXPECT_EQ(FilterNumericKey(key, r.Hook(), r.Beep()), key) << static_cast<int>(key);
  EXPECT_TRUE(r.notices.empty());
  EXPECT_EQ(r.beeps, 0);
}

TEST(FilterNumericKey, TurnsCommaIntoPointSilently) {
  tNoticeRecorder r;
  EXPECT_EQ(FilterNumericKey(U',', r.Hook(), r.Beep()), U'.');
  EXPECT_TRUE(r.notices.empty());
  EXPECT_EQ(r.beeps, 0);
}

TEST(FilterNumericKey, RefusesEverythingElseWithBeepAndWarning) {
  // Letter, blank, slash, Escape, the paste and copy control characters,
  // the neighbours of the digit range and a non-ASCII character.
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
}

TEST(FilterNumericKey, EmptyHooksAreSafe) {
  EXPECT_EQ(FilterNumericKey(U'x', tNoticeHook(), tBeepHook()), char32_t{0});
}

TEST(LengthRule, ClipsSevenCharactersToSixWithBeepAndWarning) {
  tNoticeRecorder r;
  std::string text = "1234567";
  EXPECT_TRUE(ApplyLengthRule(text, r.Hook(), r.Beep()));
  EXPECT_EQ(text, "123456");
  EXPECT_EQ(r.beeps, 1);
  EXPECT_EQ(r.OnlyText(), "Maximum length of input is 6 characters.");
  EXPECT_EQ(r.notices[0].kind, tMessageKind::Warning);
}

TEST(LengthRule, LeavesSixOrFewerAlone) {
  tNoticeRecorder r;
  for (std::string text : {"123456", "", "-1.5"}) {
    const std::string before = text;
    EXPECT_FALSE(ApplyLengthRule(text, r.Hook(), r.Beep()));
    EXPECT_EQ(text, before);
  }
  EXPECT_TRUE(r.notices.empty());
  EXPECT_EQ(r.beeps, 0);
}

TEST(LengthRule, CountsCharactersNotBytes) {
  // Six two-byte characters are six characters; seven are clipped at a
  // character boundary, never inside a UTF-8 sequence.
  tNoticeRecorder r;
  std::string six = "\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9";
  EXPECT_FALSE(ApplyLengthRule(six, r.Hook(), r.Beep()));
  std::string seven = "\u00e91\u20ac3456";
  EXPECT_TRUE(ApplyLengthRule(seven, r.Hook(), r.Beep()));
  EXPECT_EQ(seven, "\u00e91\u20ac345");
}

TEST(ClipToSixCharacters, KeepsTheFirstSixOfALongText) {
  tNoticeRecorder r;
  EXPECT_EQ(ClipToSixCharacters(std::string(10000, '7'), r.Hook(), r.Beep()), "777777");
  EXPECT_EQ(r.beeps, 1);
}

}  // namespace
