#include "worksheet/saved_inputs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/text_format.h"
#include "validation/decimal_number.h"

namespace {

// A forward-only cursor over the file's text that knows its line number.
// Every access is checked against the end of the text.
class tTextCursor {
 public:
  explicit tTextCursor(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  int Line() const { return line_; }

  // Reads one number as a text file's number read does: characters with
  // codes up to 32 (blanks, tabs, line ends) are skipped, then up to
  // MaxSavedNumberLength characters above 32 form the number. At the end
  // of the text the number is 0. Returns false when the characters are not
  // a decimal number within the range of double; token and tokenLine
  // tell what and where.
  bool ReadNumber(double& value, std::string& token, int& tokenLine) {
    while (!AtEnd() && static_cast<unsigned char>(text_[pos_]) <= 32) {
      if (AtLineEnd())
        SkipLineEnd();
      else
        ++pos_;
    }
    tokenLine = line_;
    const std::size_t start = pos_;
    while (!AtEnd() && static_cast<unsigned char>(text_[pos_]) > 32 &&
           pos_ - start < static_cast<std::size_t>(MaxSavedNumberLength))
      ++pos_;
    token.assign(text_.substr(start, pos_ - start));
    if (token.empty()) {
      value = 0.0;
      return true;
    }
    return ReadDecimalNumber(token, value);
  }

  // Skips to the start of the next line.
  void SkipRestOfLine() {
    while (!AtEnd() && !AtLineEnd()) ++pos_;
    if (!AtEnd()) SkipLineEnd();
  }

  // Reads the rest of the current line as text (empty at the end).
  std::string ReadLine() {
    const std::size_t start = pos_;
    while (!AtEnd() && !AtLineEnd()) ++pos_;
    std::string line(text_.substr(start, pos_ - start));
    if (!AtEnd()) SkipLineEnd();
    return line;
  }

 private:
  bool AtLineEnd() const { return text_[pos_] == '\n' || text_[pos_] == '\r'; }

  // LF, CR LF and CR each end one line.
  void SkipLineEnd() {
    if (text_[pos_] == '\r') {
      ++pos_;
      if (!AtEnd() && text_[pos_] == '\n') ++pos_;
    } else {
      ++pos_;
    }
    ++line_;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

// A token as it may be shown in a message: control characters become '?'.
std::string Printable(const std::string& token) {
  std::string out = token;
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 32 || c == 127) c = '?';
  return out;
}

// The number of covariates that field 1 gives the grid and matrix restore:
// the restored text must be a whole number from 0 to MaxRestoredCovariates.
bool CovariateCount(const std::string& text, int& k) {
  if (text.empty() || text.size() > 3) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value > MaxRestoredCovariates) return false;
  k = value;
  return true;
}

// A text written on a line of its own: line breaks become blanks.
std::string OneLine(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (c == '\n' || c == '\r') c = ' ';
  return out;
}

std::string SystemReason(int error) { return std::generic_category().message(error); }

}  // namespace

void SetAllZero(tStoredCorrelations& R) {
  for (auto& row : R.cell)
    for (double& x : row) x = 0.0;
}

void SetIdentity(tStoredCorrelations& R) {
  SetAllZero(R);
  for (int i = 1; i <= StoredCorrelationsCapacity; ++i) R[i][i] = 1.0;
}

std::string FormatSavedInputs(const tSavedInputsLayout& layout, const tSavedInputs& inputs) {
  std::string out;
  if (layout.fieldsOnOneLine) {
    for (int f = 0; f < WorksheetFieldCount; ++f) {
      if (f < static_cast<int>(inputs.fields.size())) out += OneLine(inputs.fields[f]);
      out += ' ';
    }
    return out;
  }
  for (int f = 0; f < layout.restoredFieldCount; ++f) {
    if (f < static_cast<int>(inputs.fields.size())) out += OneLine(inputs.fields[f]);
    out += '\n';
  }
  if (layout.usesDataGrid) {
    const int cells = std::max(layout.gridColumns - 1, 0);
    for (const auto& row : inputs.gridRows) {
      for (int c = 0; c < cells; ++c) {
        if (c < static_cast<int>(row.size())) out += OneLine(row[c]);
        out += '\n';
      }
    }
  }
  if (layout.usesMatrixEntry) {
    const int m = std::clamp(inputs.matrixOrder, 0, StoredCorrelationsCapacity);
    for (int i = 1; i <= m; ++i)
      for (int j = 1; j <= i; ++j) out += FormatC("%1.3f", inputs.correlations[i][j]) + "\n";
  }
  return out;
}

tRestoredInputs ParseSavedInputs(std::string_view text, const tSavedInputsLayout& layout) {
  tRestoredInputs out;
  if (layout.fieldsOnOneLine) return out;  // the raw-data form is never read back
  tTextCursor in(text);
  double value = 0.0;
  std::string token;
  int tokenLine = 0;

  const int fieldCount = std::clamp(layout.restoredFieldCount, 0, WorksheetFieldCount);
  for (int f = 0; f < fieldCount; ++f) {
    if (!in.ReadNumber(value, token, tokenLine)) {
      out.problem = FormatC("Line %d: \"%s\" is not a number.", tokenLine, Printable(token).c_str());
      return out;
    }
    in.SkipRestOfLine();
    out.fields.push_back(FormatC("%1.6g", value));
  }
  if (!layout.usesDataGrid && !layout.usesMatrixEntry) return out;

  int k = 0;
  if (out.fields.empty() || !CovariateCount(out.fields[0], k)) {
    const std::string shown = out.fields.empty() ? std::string() : out.fields[0];
    out.problem = FormatC("Line 1: the number of covariates \"%s\" is not a whole number from 0 to %d.",
                          shown.c_str(), MaxRestoredCovariates);
    return out;
  }
  const int m = k + 1;

  if (layout.usesDataGrid) {
    const int cells = std::max(layout.gridColumns - 1, 0);
    out.gridRows.assign(m, std::vector<std::string>(cells));
    for (auto& row : out.gridRows)
      for (auto& cell : row) cell = in.ReadLine();
    out.gridRead = true;
  }

  if (layout.usesMatrixEntry) {
    out.matrixOrder = m;
    const int count = m * (m + 1) / 2;
    for (int t = 0; t < count; ++t) {
      if (!in.ReadNumber(value, token, tokenLine)) {
        out.problem = FormatC("Line %d: \"%s\" is not a number.", tokenLine, Printable(token).c_str());
        return out;
      }
      in.SkipRestOfLine();
      out.correlations.push_back(value);
    }
    out.matrixRead = true;
  }
  return out;
}

void PlaceRestoredCorrelations(const std::vector<double>& values, int order, tStoredCorrelations& R) {
  const int m = std::clamp(order, 0, StoredCorrelationsCapacity);
  std::size_t t = 0;
  for (int j = 1; j <= m; ++j) {
    for (int i = 1; i <= j; ++i) {
      if (t < values.size()) R[i][j] = values[t];
      ++t;
    }
    R[j][j] = 1.0;
  }
}

std::string SavedInputsPath(const std::string& folder, const std::string& fileName) {
  if (folder.empty()) return fileName;
  if (folder.back() == '/') return folder + fileName;
  return folder + "/" + fileName;
}

bool ReadSavedInputsFile(const std::string& path, const tSavedInputsLayout& layout, tRestoredInputs& out) {
  namespace fs = std::filesystem;
  out = tRestoredInputs{};
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (status.type() == fs::file_type::not_found) return false;
  if (ec) {
    out.problem = "The file could not be examined: " + ec.message() + ".";
    return true;
  }
  if (fs::is_directory(status)) {
    out.problem = "There is a folder of that name, not a file.";
    return true;
  }
  // The raw-data form reads nothing back, so its file is not opened.
  if (layout.fieldsOnOneLine || (layout.restoredFieldCount <= 0 && !layout.usesDataGrid &&
                                 !layout.usesMatrixEntry))
    return true;

  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    out.problem = "The file could not be opened: " + SystemReason(errno) + ".";
    return true;
  }
  std::string text;
  char buffer[4096];
  bool tooLarge = false;
  bool failed = false;
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
    text.append(buffer, got);
    if (text.size() > MaxSavedInputsFileSize) {
      tooLarge = true;
      break;
    }
    if (got < sizeof buffer) {
      failed = std::ferror(file) != 0;
      break;
    }
  }
  const int readError = errno;
  std::fclose(file);
  if (tooLarge) {
    out.problem = FormatC("The file is larger than %zu bytes, far more than any saved inputs.",
                          MaxSavedInputsFileSize);
    return true;
  }
  if (failed) {
    out.problem = "The file could not be read: " + SystemReason(readError) + ".";
    return true;
  }
  out = ParseSavedInputs(text, layout);
  return true;
}

bool WriteSavedInputsFile(const std::string& path, const std::string& content, std::string& reason) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path folder = fs::path(path).parent_path();
  if (!folder.empty()) {
    fs::create_directories(folder, ec);
    if (ec) {
      reason = ec.message();
      return false;
    }
  }

  // The new file takes the permissions of the one it replaces, or the
  // usual ones for a new file.
  mode_t mode = 0;
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }

  std::string temporary = path + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    reason = SystemReason(errno);
    return false;
  }
  auto fail = [&](int error) {
    reason = SystemReason(error);
    ::unlink(temporary.c_str());
    return false;
  };

  const char* data = content.data();
  std::size_t left = content.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      return fail(error);
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) {
    const int error = errno;
    ::close(fd);
    return fail(error);
  }
  if (::close(fd) != 0) return fail(errno);
  if (::rename(temporary.c_str(), path.c_str()) != 0) return fail(errno);
  return true;
}

bool DeleteSavedInputsFile(const std::string& path, std::string& reason) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    reason = "there is a folder of that name, not a file";
    return false;
  }
  std::filesystem::remove(path, ec);
  if (ec) {
    reason = ec.message();
    return false;
  }
  return true;
}
