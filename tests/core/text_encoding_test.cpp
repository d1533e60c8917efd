// Text in UTF-16 and UTF-32 read as the UTF-8 it stands for, whole or as a
// stream of lines in pieces of any size; bytes that are not text refused
// saying what they are; unusual characters named in messages.
#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/text_characters.h"
#include "core/text_encoding.h"
#include "core/text_lines.h"
#include "core/text_stream.h"

using namespace std::string_literals;

namespace {

// The units of a UTF-16 or UTF-32 literal as bytes in either order.
template <typename Units>
std::string Bytes(const Units& units, bool littleEndian) {
  constexpr std::size_t size = sizeof(typename Units::value_type);
  std::string out;
  for (auto unit : units)
    for (std::size_t b = 0; b < size; ++b) {
      const std::size_t shift = 8 * (littleEndian ? b : size - 1 - b);
      out += static_cast<char>((static_cast<unsigned long>(unit) >> shift) & 0xFF);
    }
  return out;
}

const std::string Utf8Text = "40 12\r\n55 9\nPat\xC3\xA9 \xF0\x9F\x98\x80\r";
const std::u16string Utf16Text = u"40 12\r\n55 9\nPat\u00E9 \U0001F600\r";
const std::u32string Utf32Text = U"40 12\r\n55 9\nPat\u00E9 \U0001F600\r";

struct tEncoded {
  std::string name;
  std::string bytes;
};

// The same text in every encoding, with and without a byte-order mark.
std::vector<tEncoded> EveryEncoding() {
  std::vector<tEncoded> all = {{"UTF-8", Utf8Text}, {"UTF-8 with mark", "\xEF\xBB\xBF" + Utf8Text}};
  for (const bool little : {true, false}) {
    const std::string order = little ? " LE" : " BE";
    all.push_back({"UTF-16" + order, Bytes(Utf16Text, little)});
    all.push_back({"UTF-16 with mark" + order, Bytes(u"\uFEFF" + Utf16Text, little)});
    all.push_back({"UTF-32" + order, Bytes(Utf32Text, little)});
    all.push_back({"UTF-32 with mark" + order, Bytes(U"\uFEFF" + Utf32Text, little)});
  }
  return all;
}

// A source handing over the bytes a few at a time.
tTextLineReader::tByteSource PieceSource(const std::string& bytes, std::size_t piece) {
  auto position = std::make_shared<std::size_t>(0);
  return [bytes, piece, position](char* buffer, std::size_t size, std::string&) -> long long {
    const std::size_t n = std::min({piece, size, bytes.size() - *position});
    bytes.copy(buffer, n, *position);
    *position += n;
    return static_cast<long long>(n);
  };
}

std::vector<std::string> StreamLines(const std::string& bytes, std::size_t piece, std::string& problem) {
  tTextLineReader reader(PieceSource(bytes, piece), 1000);
  std::vector<std::string> lines;
  std::string line;
  tTextLineReader::tStatus status;
  while ((status = reader.Next(line)) == tTextLineReader::tStatus::Line) lines.push_back(line);
  problem = status == tTextLineReader::tStatus::Failed ? reader.Problem() : "";
  return lines;
}

}  // namespace

TEST(TextEncoding, EveryEncodingDecodesToTheSameUtf8WholeOrInPieces) {
  std::vector<std::string> expected;
  for (std::string_view line : SplitLines(Utf8Text)) expected.emplace_back(line);
  for (const tEncoded& e : EveryEncoding()) {
    std::string text = e.bytes, problem;
    ASSERT_TRUE(DecodeText(text, problem)) << e.name << ": " << problem;
    EXPECT_EQ(text, Utf8Text) << e.name;
    for (const std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{1} << 16}) {
      EXPECT_EQ(StreamLines(e.bytes, piece, problem), expected) << e.name << " in pieces of " << piece;
      EXPECT_EQ(problem, "") << e.name;
    }
  }
}

// Text that is not UTF-8 was written in Windows' Western code page: each
// byte is one character, the same as the C library's converter gives
// (the five bytes that code page leaves undefined become the control
// characters of their value), and UTF-8 text is never touched.
TEST(TextEncoding, TextThatIsNotUtf8IsReadAsWindows1252) {
  iconv_t reference = iconv_open("UTF-8", "WINDOWS-1252");
  if (reference == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "no Windows-1252 converter installed";
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    std::string text = "T"s + static_cast<char>(byte) + "sk", problem;
    tTextEncoding from = tTextEncoding::Utf8;
    ASSERT_TRUE(DecodeText(text, problem, &from)) << byte;
    EXPECT_EQ(from, tTextEncoding::Windows1252) << byte;
    EXPECT_TRUE(IsValidUtf8(text)) << byte;
    char in[1] = {static_cast<char>(byte)}, out[8] = {};
    char *inPointer = in, *outPointer = out;
    std::size_t inLeft = 1, outLeft = sizeof out;
    if (iconv(reference, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<std::size_t>(-1)) {
      EXPECT_TRUE(byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D) << byte;
      EXPECT_EQ(text, "T\xC2"s + static_cast<char>(byte) + "sk") << byte;
    } else {
      EXPECT_EQ(text, "T" + std::string(out, outPointer) + "sk") << byte;
    }
  }
  iconv_close(reference);
  for (std::string text : {"T\xC3\xA9sk"s, "plain"s, "\xEF\xBB\xBFT\xE9sk"s}) {  // UTF-8, or marked so
    tTextEncoding from = tTextEncoding::Windows1252;
    std::string problem;
    EXPECT_TRUE(DecodeText(text, problem, &from) && from == tTextEncoding::Utf8) << text;
  }
}

TEST(TextEncoding, BytesThatAreNotTextAreRefusedSayingWhatTheyAre) {
  struct tCase {
    std::string bytes;
    std::string problem;
  };
  const std::string le = Bytes(Utf16Text, true);
  const std::vector<tCase> cases = {
      {"PK\x03\x04\x14\0\0\0\x08\0\xab\x12"s, NotPlainTextProblem},  // the start of a zipped document
      {"1 2\n3\0 4\n"s, NotPlainTextProblem},
      {le.substr(0, le.size() - 1), "it is UTF-16 (little-endian) text that ends in the middle of a character"},
      {Bytes(std::u16string(u"10 20\n30 40\n") + char16_t(0xDC00) + u"3\n", true),
       "it is UTF-16 (little-endian) text with a broken character at byte 25 (the second half of a surrogate "
       "pair without the first)"},
      {Bytes(U"10 20\n30 40\n" + std::u32string(1, char32_t(0x110000)), false),
       "it is UTF-32 (big-endian) text with a broken character at byte 49 (a code that is no character)"},
  };
  for (const tCase& c : cases) {
    std::string text = c.bytes, problem;
    EXPECT_FALSE(DecodeText(text, problem)) << c.problem;
    EXPECT_EQ(problem, c.problem);
    StreamLines(c.bytes, 5, problem);
    EXPECT_EQ(problem, c.problem) << "as a stream";
  }
}

TEST(TextEncoding, StreamLinesMatchTheSplitterAndLongLinesAreCut) {
  for (const std::string text : {"a\r\nb\r\rc\n\nd", "\r\n\r\n", "x\r", "", "one"}) {
    std::vector<std::string> expected;
    for (std::string_view line : SplitLines(text)) expected.emplace_back(line);
    std::string problem;
    for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{64}})
      EXPECT_EQ(StreamLines(text, piece, problem), expected) << "piece " << piece;
  }
  tTextLineReader reader(PieceSource("12345678\nab\n", 3), 4);
  std::string line;
  ASSERT_EQ(reader.Next(line), tTextLineReader::tStatus::Line);
  EXPECT_EQ(line, "1234");
  EXPECT_TRUE(reader.LineCut());
  ASSERT_EQ(reader.Next(line), tTextLineReader::tStatus::Line);
  EXPECT_EQ(line, "ab");
  EXPECT_FALSE(reader.LineCut());
  EXPECT_EQ(reader.LineNumber(), 2);
  EXPECT_EQ(reader.Next(line), tTextLineReader::tStatus::End);

  tTextLineReader failing([](char*, std::size_t, std::string& reason) -> long long {
    reason = "Input/output error";
    return -1;
  }, 10);
  EXPECT_EQ(failing.Next(line), tTextLineReader::tStatus::Failed);
  EXPECT_EQ(failing.Problem(), "Input/output error");
}

TEST(TextCharacters, LookAlikesAreNamedAndOtherBytesShown) {
  EXPECT_EQ(UnusualCharacters("12.5"), "");
  EXPECT_EQ(UnusualCharactersClause("12\xC2\xA0" "5"), ": it holds a non-breaking space (U+00A0)");
  EXPECT_EQ(UnusualCharacters("\xEF\xBC\x91\xEF\xBC\x92\xEF\xBC\x91"),
            "a full-width digit one (U+FF11) and a full-width digit two (U+FF12)");
  EXPECT_EQ(UnusualCharacters("\xE2\x88\x92" "1\xE9\xD9\xA3\xE4\xB8\x80"),
            "a minus sign, not the hyphen-minus \"-\" (U+2212), a byte 0xE9 that is not UTF-8 text, "
            "an Arabic-Indic digit three (U+0663) and other characters");
  EXPECT_EQ(ShownText("1\xE9\x7F" "2\xC2\xA0"), "1<0xE9><U+007F>2\xC2\xA0");
  EXPECT_TRUE(IsValidUtf8("Pat\xC3\xA9 \xF0\x9F\x98\x80"));
  for (const char* bad : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "a\xFF"})
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
}
