#include "validation/number_readers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/validation/notice_recorder.h"
#include "validation/validation_messages.h"

namespace {

const char* const Label = "Number of covariates : ";

struct tRead {
  extended value;
  bool error;
  std::string message;
};

tRead Strict(const std::string& text) {
  tNoticeRecorder r;
  const extended v = ReadLabelledNumber(text, Label, r.Hook());
  EXPECT_LE(r.notices.size(), 1u);
  if (!r.notices.empty()) {
    EXPECT_EQ(r.notices[0].kind, tMessageKind::Warning);
    EXPECT_EQ(r.notices[0].caption, "Warning");
  }
  EXPECT_EQ(inputError, !r.notices.empty()) << "flag and box must agree for '" << text << "'";
  return {v, inputError, r.OnlyText()};
}

tRead Lenient(const std::string& text) {
  tNoticeRecorder r;
  const extended v = ReadCellNumber(text, r.Hook());
  EXPECT_LE(r.notices.size(), 1u);
  EXPECT_EQ(inputError, !r.notices.empty()) << "flag and box must agree for '" << text << "'";
  return {v, inputError, r.OnlyText()};
}

// Signed decimals, blanks ignored; a lone point or minus reads 0 without
// an error. Each fraction digit is added as d / 10^p in extended precision.
TEST(ReadLabelledNumber, ReadsSignedDecimalsAndIgnoresBlanks) {
  for (auto [text, value] : {std::pair<const char*, extended>{"-2.5", -2.5L}, {"1 000", 1000}, {" 12 ", 12},
                             {"007", 7}, {"3.", 3}, {".25", 0.25L}, {"0.1", 1.0L / 10.0L},
                             {"12.34", 12.0L + 3.0L / 10.0L + 4.0L / 100.0L}, {".", 0}, {"-", 0}, {"   ", 0},
                             {"-.", 0}}) {
    const tRead r = Strict(text);
    EXPECT_FALSE(r.error) << text;
    EXPECT_EQ(r.value, value) << text;
  }
  const tRead empty = Strict("");
  EXPECT_TRUE(empty.error);
  EXPECT_EQ(empty.message,
            "INPUT ERROR\r\r(  Number of covariates :   )\r\rData have not been entered in this field.");
}

TEST(ReadLabelledNumber, RefusesMisplacedSignsMarksAndForeignCharacters) {
  // The minus stands in position 2 after a leading blank; a comma is not a
  // decimal mark here; a second point; a letter; exponent notation; a tab.
  for (const char* text : {" -2.5", "2-", "--1", "2,5", "1.2.3", "abc", "1e", "e5", "1e+", "5\t", "+5"}) {
    const tRead r = Strict(text);
    EXPECT_TRUE(r.error) << text;
    EXPECT_EQ(r.message, std::string("INPUT ERROR\r(  Number of covariates :   ") + text +
                             "  )\r\rEnter numeric data only.")
        << text;
  }
}

TEST(ReadLabelledNumber, NeverReadsPastAnEmbeddedNullAndAGoodReadClearsTheError) {
  // The text holds a null in the middle: it is a foreign character, not an end.
  const std::string text("12\0" "3", 4);
  EXPECT_TRUE(Strict(text).error);
  ASSERT_TRUE(inputError);
  // A view shorter than its buffer is read only up to its own end.
  tNoticeRecorder r;
  const char buffer[] = "45x";
  EXPECT_EQ(ReadLabelledNumber(std::string_view(buffer, 2), Label, r.Hook()), 45.0L);
  EXPECT_FALSE(inputError);  // cleared by the good read
}

TEST(ReadLabelledNumber, RefusesOverlongTextWithAClearMessage) {
  const std::string longest(MaxNumberTextLength, '9');
  const tRead ok = Strict(longest);
  EXPECT_FALSE(ok.error);
  EXPECT_TRUE(std::isfinite(ok.value));
  EXPECT_GT(ok.value, 9.9e63L);

  const tRead r = Strict(longest + "9");
  EXPECT_TRUE(r.error);
  EXPECT_EQ(r.message, "INPUT ERROR\r(  Number of covariates :   99999999999999999999...  )\r\r"
                       "The entry is too long to be a number (at most 64 characters).");
  EXPECT_TRUE(Strict(std::string(100000, ' ')).error);
}

// A number with an exponent (as a restore writes 10^9: 1e+09) says what is wrong with it.
TEST(ReadLabelledNumber, SaysWhatIsWrongWithANumberWrittenWithAnExponent) {
  for (auto [text, reason] : {std::pair<const char*, const char*>{"1e+09", TooLargeText}, {"-1e300", TooLargeText},
                              {"1e99999", TooLargeText}, {"1e3", ExponentText}, {"1e-99999", ExponentText}}) {
    const tRead r = Strict(text);
    EXPECT_EQ(r.message, std::string("INPUT ERROR\r(  Number of covariates :   ") + text + "  )\r\r" + reason);
    EXPECT_TRUE(r.error && r.value == 0) << text;
  }
}

TEST(ReadCellNumber, EmptyReadsZeroCommaIsADecimalMarkAndErrorsAskToReEnter) {
  for (auto [text, value] : {std::pair<const char*, extended>{"", 0}, {"0,25", 0.25L}, {"-0.6", -(6.0L / 10.0L)},
                             {"1 5", 15}}) {
    const tRead r = Lenient(text);
    EXPECT_FALSE(r.error) << text;
    EXPECT_EQ(r.value, value) << text;
    EXPECT_TRUE(r.message.empty()) << text;
  }
  const char* message =
      "There is an invalid data entry, which will be highlighted once you click 'OK', please re-enter.";
  for (const char* text : {"abc", "0,2,5", "0.2,5", "1,2.5", " -1", "1-"}) {
    const tRead r = Lenient(text);
    EXPECT_TRUE(r.error) << text;
    EXPECT_EQ(r.message, message) << text;
  }
  const tRead r = Lenient(std::string(65, '1'));
  EXPECT_TRUE(r.error);
  EXPECT_EQ(r.message, std::string(message) +
                           "\r\rThe entry is too long to be a number (at most 64 characters).");
  EXPECT_EQ(r.value, 0.0L);
}

TEST(IntegerPower, ExactPowersAndEdgeExponents) {
  EXPECT_EQ(IntegerPower(10, 0), 1.0L);
  EXPECT_EQ(IntegerPower(7, 1), 7.0L);
  EXPECT_EQ(IntegerPower(-2, 3), -8.0L);
  EXPECT_EQ(IntegerPower(10, -3), 1.0L);
  // 10^27 = 2^27 * 5^27 and 5^27 < 2^64: still exact.
  extended expected = 1.0L;
  for (int p = 1; p <= 27; ++p) {
    expected *= 10.0L;
    EXPECT_EQ(IntegerPower(10, p), expected) << p;
  }
  EXPECT_EQ(IntegerPower(10, 27), 1e27L);
  // A huge exponent ends at once (no linear loop).
  EXPECT_EQ(IntegerPower(1, 2147483647), 1.0L);
  EXPECT_EQ(IntegerPower(-1, 2147483647), -1.0L);
  EXPECT_TRUE(std::isinf(IntegerPower(10, 2147483647)));
}

}  // namespace
