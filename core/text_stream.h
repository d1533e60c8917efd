// Reading a text line by line from a stream of bytes (standard input, a
// pipe, a file of any size) a piece at a time, so that memory does not grow
// with the text. The first bytes decide the encoding as for whole files
// (DecodeText: UTF-8, or UTF-16 and UTF-32 converted to UTF-8); lines end
// at LF, CR LF or CR alike, as SplitLines has them.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "core/text_encoding.h"

class tTextLineReader {
 public:
  // Fills buffer with up to size bytes and returns how many; 0 at the end
  // of the stream, -1 with reason set when reading failed.
  using tByteSource = std::function<long long(char* buffer, std::size_t size, std::string& reason)>;
  enum class tStatus { Line, End, Failed };

  // A line longer than longestLine bytes is cut there: its rest is skipped
  // and LineCut() tells.
  tTextLineReader(tByteSource source, std::size_t longestLine);

  // The next line, without its line end. After End or Failed every call
  // gives the same.
  tStatus Next(std::string& line);

  // 1-based number of the line last given.
  long long LineNumber() const { return lineNumber_; }
  bool LineCut() const { return lineCut_; }
  // Failed: why (the source's reason, or what the bytes are when they are
  // not text).
  const std::string& Problem() const { return problem_; }

 private:
  bool Fill();  // false when reading or decoding failed
  bool Fail(std::string problem);

  tByteSource source_;
  std::size_t longestLine_;
  std::string buffer_;   // what the source fills
  std::string raw_;      // bytes read, not yet decoded
  std::string text_;     // decoded text
  std::size_t position_ = 0;  // next character of text_
  bool started_ = false;      // the encoding is known
  bool ended_ = false;        // the source has ended
  bool failed_ = false;
  bool pendingCr_ = false;    // the last line ended in CR: an LF next belongs to it
  tTextEncoding encoding_ = tTextEncoding::Utf8;
  tUtf8Converter converter_{tTextEncoding::Utf8};
  long long lineNumber_ = 0;
  bool lineCut_ = false;
  std::string problem_;
};
