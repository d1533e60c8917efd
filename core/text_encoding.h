// The encodings a text file may come in. The programs work on UTF-8 (ASCII
// included); text saved as UTF-16 or UTF-32 (the "Unicode text" of
// spreadsheets and editors), with or without a byte-order mark, is
// recognised by its mark or by the pattern of its zero bytes and converted
// to UTF-8. Text without zero bytes or a mark that is not valid UTF-8 was
// written in Windows' Western code page (Windows-1252, the "ANSI" text of
// Windows programs) and is converted from it, each byte one character.
// Bytes that are none of these (zero bytes in no such pattern, a broken
// character) are not text, and the reader is told what they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum class tTextEncoding {
  Utf8,
  Utf16LittleEndian,
  Utf16BigEndian,
  Utf32LittleEndian,
  Utf32BigEndian,
  Windows1252,  // decided by DecodeText only: bytes without zeros that are not UTF-8
  NotText,  // zero bytes in no pattern of UTF-16 or UTF-32
};

struct tDetectedEncoding {
  tTextEncoding encoding = tTextEncoding::Utf8;
  std::size_t markLength = 0;  // bytes of the byte-order mark at the start (UTF-8's too)
};

// What bytes with zero bytes in them are, for messages.
inline constexpr const char* NotPlainTextProblem =
    "it holds zero bytes, so it is not plain text (it may be a spreadsheet, a word-processor document "
    "or another program's file)";

// The bytes at the start of a text that DetectTextEncoding looks at.
constexpr std::size_t EncodingSampleSize = 4096;

// The encoding of a text from its first bytes (up to EncodingSampleSize):
// a byte-order mark decides; without one, the share of zero bytes at each
// position of a 2- or 4-byte unit does (ASCII text in UTF-16 little-endian
// has a zero in every second byte, and so on). Text with no zero byte is
// UTF-8.
tDetectedEncoding DetectTextEncoding(std::string_view start);

// "UTF-16 (little-endian)", "Windows-1252 (Western European)" and so on.
const char* EncodingName(tTextEncoding encoding);

// What a reader tells the user after "The file " when it read a file as
// Windows-1252.
inline constexpr const char* ReadAsWindows1252Notice =
    "is not UTF-8 text; it was read as Windows-1252 (Western European)";

// Appends the UTF-8 of text read as Windows-1252: bytes up to 0x7F and
// from 0xA0 on stand for the code of their value, those from 0x80 to 0x9F
// for the characters the code page puts there (0x80 the euro sign
// U+20AC ...), the five it leaves undefined for the control character of
// their value, as Windows converts them.
void AppendWindows1252AsUtf8(std::string_view text, std::string& out);

// Converts UTF-16 or UTF-32 to UTF-8 piece by piece: a character split
// between two pieces is kept until the next one. A surrogate without its
// partner, a code beyond U+10FFFF and the character U+0000 are broken
// characters.
class tUtf8Converter {
 public:
  // firstByte: the position in the file of the first byte handed over
  // (after a byte-order mark), for messages.
  explicit tUtf8Converter(tTextEncoding from, std::uint64_t firstByte = 0);

  // Appends the UTF-8 of bytes to out. Returns false at the first broken
  // character; Problem() then says what and at which byte.
  bool Append(std::string_view bytes, std::string& out);
  // False when the text ended inside a character.
  bool Finish();
  const std::string& Problem() const { return problem_; }

 private:
  bool Broken(const char* what);

  tTextEncoding from_;
  std::size_t unitSize_;
  std::string partial_;           // bytes of an unfinished unit
  std::uint32_t highSurrogate_ = 0;  // UTF-16: the first half of a pair, waiting
  std::uint64_t offset_ = 0;      // bytes taken so far, for messages
  std::string problem_;
};

// Appends code (at most U+10FFFF) as UTF-8.
void AppendUtf8(std::uint32_t code, std::string& out);

// Turns a whole text as read from a file into UTF-8: the byte-order mark
// goes, UTF-16 and UTF-32 are converted, and text without a mark that is
// not valid UTF-8 is converted from Windows-1252. Returns false, with
// problem saying what the bytes are, when they are not text: zero bytes
// in no pattern of UTF-16 or UTF-32 (a zero byte in UTF-8 text included)
// or a broken character. decodedFrom, when given, is set to the encoding
// the text was read in.
bool DecodeText(std::string& text, std::string& problem, tTextEncoding* decodedFrom = nullptr);
