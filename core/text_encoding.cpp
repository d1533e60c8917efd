#include "core/text_encoding.h"

#include <algorithm>
#include <array>

#include "core/text_characters.h"
#include "core/text_format.h"

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view Utf16BigEndianMark = "\xFE\xFF";
constexpr std::string_view Utf32LittleEndianMark = std::string_view("\xFF\xFE\0\0", 4);
constexpr std::string_view Utf32BigEndianMark = std::string_view("\0\0\xFE\xFF", 4);

// Without a mark, a position of the unit counts as "always zero" when at
// least this share of its bytes are zero, and as "not zero" when at most
// the complementary share are (ASCII text gives 1 and 0 exactly; the
// margin allows for a few characters beyond ASCII).
constexpr double MostlyZero = 0.75;
constexpr double MostlyNonZero = 0.25;

// The characters of Windows-1252's bytes 0x80 to 0x9F (from the code
// page's published table; its five undefined bytes stand for the control
// character of their value, as Windows' own conversion has them).
constexpr std::uint32_t Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
constexpr unsigned char FirstWindows1252High = 0x80;
constexpr unsigned char LastWindows1252High = 0x9F;

constexpr std::uint32_t LargestCode = 0x10FFFF;
constexpr std::uint32_t FirstHighSurrogate = 0xD800;
constexpr std::uint32_t FirstLowSurrogate = 0xDC00;
constexpr std::uint32_t LastLowSurrogate = 0xDFFF;

bool StartsWith(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

std::size_t UnitSize(tTextEncoding encoding) {
  switch (encoding) {
    case tTextEncoding::Utf16LittleEndian:
    case tTextEncoding::Utf16BigEndian: return 2;
    case tTextEncoding::Utf32LittleEndian:
    case tTextEncoding::Utf32BigEndian: return 4;
    case tTextEncoding::Utf8:
    case tTextEncoding::Windows1252:
    case tTextEncoding::NotText: break;
  }
  return 1;
}

bool LittleEndian(tTextEncoding encoding) {
  return encoding == tTextEncoding::Utf16LittleEndian || encoding == tTextEncoding::Utf32LittleEndian;
}

}  // namespace

const char* EncodingName(tTextEncoding encoding) {
  switch (encoding) {
    case tTextEncoding::Utf8: return "UTF-8";
    case tTextEncoding::Utf16LittleEndian: return "UTF-16 (little-endian)";
    case tTextEncoding::Utf16BigEndian: return "UTF-16 (big-endian)";
    case tTextEncoding::Utf32LittleEndian: return "UTF-32 (little-endian)";
    case tTextEncoding::Utf32BigEndian: return "UTF-32 (big-endian)";
    case tTextEncoding::Windows1252: return "Windows-1252 (Western European)";
    case tTextEncoding::NotText: break;
  }
  return "not text";
}

tDetectedEncoding DetectTextEncoding(std::string_view start) {
  // UTF-32's little-endian mark begins with UTF-16's: test it first.
  if (StartsWith(start, Utf32LittleEndianMark)) return {tTextEncoding::Utf32LittleEndian, 4};
  if (StartsWith(start, Utf32BigEndianMark)) return {tTextEncoding::Utf32BigEndian, 4};
  if (StartsWith(start, Utf16LittleEndianMark)) return {tTextEncoding::Utf16LittleEndian, 2};
  if (StartsWith(start, Utf16BigEndianMark)) return {tTextEncoding::Utf16BigEndian, 2};
  if (StartsWith(start, Utf8Mark)) return {tTextEncoding::Utf8, 3};

  const std::string_view sample = start.substr(0, EncodingSampleSize);
  std::array<std::size_t, 4> zeros{}, bytes{};
  for (std::size_t i = 0; i < sample.size(); ++i) {
    ++bytes[i % 4];
    if (sample[i] == '\0') ++zeros[i % 4];
  }
  if (zeros[0] + zeros[1] + zeros[2] + zeros[3] == 0) return {};
  auto share = [&](std::initializer_list<int> positions) {
    std::size_t z = 0, n = 0;
    for (int p : positions) {
      z += zeros[p];
      n += bytes[p];
    }
    return n == 0 ? 0.0 : static_cast<double>(z) / static_cast<double>(n);
  };
  if (sample.size() >= 4) {
    if (share({1, 2, 3}) >= MostlyZero && share({0}) <= MostlyNonZero) return {tTextEncoding::Utf32LittleEndian, 0};
    if (share({0, 1, 2}) >= MostlyZero && share({3}) <= MostlyNonZero) return {tTextEncoding::Utf32BigEndian, 0};
  }
  if (share({1, 3}) >= MostlyZero && share({0, 2}) <= MostlyNonZero) return {tTextEncoding::Utf16LittleEndian, 0};
  if (share({0, 2}) >= MostlyZero && share({1, 3}) <= MostlyNonZero) return {tTextEncoding::Utf16BigEndian, 0};
  return {tTextEncoding::NotText, 0};
}

void AppendUtf8(std::uint32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

void AppendWindows1252AsUtf8(std::string_view text, std::string& out) {
  out.reserve(out.size() + text.size() + text.size() / 8);
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte >= FirstWindows1252High && byte <= LastWindows1252High)
      AppendUtf8(Windows1252High[byte - FirstWindows1252High], out);
    else
      AppendUtf8(byte, out);
  }
}

tUtf8Converter::tUtf8Converter(tTextEncoding from, std::uint64_t firstByte)
    : from_(from), unitSize_(UnitSize(from)), offset_(firstByte) {}

bool tUtf8Converter::Broken(const char* what) {
  problem_ = FormatC("it is %s text with a broken character at byte %llu (%s)", EncodingName(from_),
                     static_cast<unsigned long long>(offset_ - unitSize_ + 1), what);
  return false;
}

bool tUtf8Converter::Append(std::string_view bytes, std::string& out) {
  if (!problem_.empty()) return false;
  out.reserve(out.size() + bytes.size() / unitSize_);
  const bool little = LittleEndian(from_);
  std::size_t i = 0;
  while (i < bytes.size()) {
    // One unit, completed from an earlier piece when one was cut.
    unsigned char unit[4];
    if (!partial_.empty() || bytes.size() - i < unitSize_) {
      const std::size_t take = std::min(unitSize_ - partial_.size(), bytes.size() - i);
      partial_.append(bytes.substr(i, take));
      i += take;
      offset_ += take;
      if (partial_.size() < unitSize_) break;
      for (std::size_t b = 0; b < unitSize_; ++b) unit[b] = static_cast<unsigned char>(partial_[b]);
      partial_.clear();
    } else {
      for (std::size_t b = 0; b < unitSize_; ++b) unit[b] = static_cast<unsigned char>(bytes[i + b]);
      i += unitSize_;
      offset_ += unitSize_;
    }
    std::uint32_t code = 0;
    for (std::size_t b = 0; b < unitSize_; ++b) {
      const std::size_t byte = little ? unitSize_ - 1 - b : b;
      code = (code << 8) | unit[byte];
    }

    if (unitSize_ == 2) {
      if (highSurrogate_ != 0) {
        if (code < FirstLowSurrogate || code > LastLowSurrogate)
          return Broken("the first half of a surrogate pair without the second");
        code = 0x10000 + ((highSurrogate_ - FirstHighSurrogate) << 10) + (code - FirstLowSurrogate);
        highSurrogate_ = 0;
      } else if (code >= FirstHighSurrogate && code < FirstLowSurrogate) {
        highSurrogate_ = code;
        continue;
      } else if (code >= FirstLowSurrogate && code <= LastLowSurrogate) {
        return Broken("the second half of a surrogate pair without the first");
      }
    } else if (code > LargestCode || (code >= FirstHighSurrogate && code <= LastLowSurrogate)) {
      return Broken("a code that is no character");
    }
    if (code == 0) return Broken("a zero character, which plain text does not hold");
    AppendUtf8(code, out);
  }
  return true;
}

bool tUtf8Converter::Finish() {
  if (!problem_.empty()) return false;
  if (!partial_.empty() || highSurrogate_ != 0) {
    problem_ = FormatC("it is %s text that ends in the middle of a character", EncodingName(from_));
    return false;
  }
  return true;
}

bool DecodeText(std::string& text, std::string& problem, tTextEncoding* decodedFrom) {
  const tDetectedEncoding detected = DetectTextEncoding(text);
  if (decodedFrom != nullptr) *decodedFrom = detected.encoding;
  switch (detected.encoding) {
    case tTextEncoding::NotText: problem = NotPlainTextProblem; return false;
    case tTextEncoding::Utf8:
      text.erase(0, detected.markLength);
      if (text.find('\0') != std::string::npos) {
        problem = NotPlainTextProblem;
        return false;
      }
      // Without a mark that says UTF-8, bytes that are not UTF-8 are the
      // Windows code page's.
      if (detected.markLength == 0 && !IsValidUtf8(text)) {
        std::string converted;
        AppendWindows1252AsUtf8(text, converted);
        text = std::move(converted);
        if (decodedFrom != nullptr) *decodedFrom = tTextEncoding::Windows1252;
      }
      return true;
    case tTextEncoding::Windows1252: {  // never detected from the bytes alone; converted as asked
      std::string converted;
      AppendWindows1252AsUtf8(text, converted);
      text = std::move(converted);
      return true;
    }
    case tTextEncoding::Utf16LittleEndian:
    case tTextEncoding::Utf16BigEndian:
    case tTextEncoding::Utf32LittleEndian:
    case tTextEncoding::Utf32BigEndian: break;
  }
  tUtf8Converter converter(detected.encoding, detected.markLength);
  std::string converted;
  if (!converter.Append(std::string_view(text).substr(detected.markLength), converted) || !converter.Finish()) {
    problem = converter.Problem();
    return false;
  }
  text = std::move(converted);
  return true;
}
