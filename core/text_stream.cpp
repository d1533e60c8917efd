#include "core/text_stream.h"

#include <algorithm>
#include <utility>

namespace {

// Bytes asked of the source at a time.
constexpr std::size_t ReadChunk = std::size_t{1} << 16;

}  // namespace

tTextLineReader::tTextLineReader(tByteSource source, std::size_t longestLine)
    : source_(std::move(source)), longestLine_(longestLine) {}

bool tTextLineReader::Fail(std::string problem) {
  failed_ = true;
  problem_ = std::move(problem);
  return false;
}

bool tTextLineReader::Fill() {
  // What was given out already goes, so text_ holds at most one piece and
  // the rest of a line.
  text_.erase(0, position_);
  position_ = 0;
  if (buffer_.empty()) buffer_.resize(ReadChunk);
  for (;;) {
    std::string reason;
    const long long got = source_(buffer_.data(), buffer_.size(), reason);
    if (got < 0) return Fail(reason);
    if (got == 0)
      ended_ = true;
    else
      raw_.append(buffer_, 0, static_cast<std::size_t>(got));
    // The encoding is decided on a sample of the start, however the
    // source hands it over.
    if (started_ || ended_ || raw_.size() >= EncodingSampleSize) break;
  }
  if (!started_) {
    started_ = true;
    const tDetectedEncoding detected = DetectTextEncoding(raw_);
    if (detected.encoding == tTextEncoding::NotText) return Fail(NotPlainTextProblem);
    encoding_ = detected.encoding;
    converter_ = tUtf8Converter(encoding_, detected.markLength);
    raw_.erase(0, detected.markLength);
  }
  if (encoding_ == tTextEncoding::Utf8) {
    if (raw_.find('\0') != std::string::npos) return Fail(NotPlainTextProblem);
    text_ += raw_;
  } else if (!converter_.Append(raw_, text_) || (ended_ && !converter_.Finish())) {
    return Fail(converter_.Problem());
  }
  raw_.clear();
  return true;
}

tTextLineReader::tStatus tTextLineReader::Next(std::string& line) {
  line.clear();
  lineCut_ = false;
  if (failed_) return tStatus::Failed;
  bool any = false;
  for (;;) {
    if (position_ >= text_.size()) {
      if (ended_) {
        if (!any) return tStatus::End;
        ++lineNumber_;
        return tStatus::Line;
      }
      if (!Fill()) return tStatus::Failed;
      continue;
    }
    if (pendingCr_) {
      pendingCr_ = false;
      if (text_[position_] == '\n') {
        ++position_;
        continue;
      }
    }
    const std::size_t end = text_.find_first_of("\r\n", position_);
    const std::size_t stop = end == std::string::npos ? text_.size() : end;
    const std::size_t room = longestLine_ - line.size();
    if (stop - position_ > room) lineCut_ = true;
    line.append(text_, position_, std::min(stop - position_, room));
    any = true;
    position_ = stop;
    if (end != std::string::npos) {
      pendingCr_ = text_[end] == '\r';
      position_ = end + 1;
      ++lineNumber_;
      return tStatus::Line;
    }
  }
}
