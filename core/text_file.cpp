#include "core/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace {

constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t ReadChunk = 1 << 16;

std::string SystemReason(int error) { return std::generic_category().message(error); }

}  // namespace

tTextFile ReadTextFile(const std::string& path, std::size_t maxBytes) {
  namespace fs = std::filesystem;
  tTextFile file;
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (status.type() == fs::file_type::not_found) return file;
  if (ec) {
    file.status = tTextFileStatus::CannotExamine;
    file.reason = ec.message();
    return file;
  }
  if (fs::is_directory(status)) {
    file.status = tTextFileStatus::IsFolder;
    return file;
  }
  std::FILE* stream = std::fopen(path.c_str(), "rb");
  if (stream == nullptr) {
    file.status = tTextFileStatus::CannotOpen;
    file.reason = SystemReason(errno);
    return file;
  }
  std::string buffer(ReadChunk, '\0');
  bool failed = false;
  bool tooLarge = false;
  for (;;) {
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), stream);
    file.text.append(buffer, 0, got);
    if (file.text.size() > maxBytes) {
      tooLarge = true;
      break;
    }
    if (got < buffer.size()) {
      failed = std::ferror(stream) != 0;
      break;
    }
  }
  const int readError = errno;
  std::fclose(stream);
  if (tooLarge || failed) {
    file.text.clear();
    file.status = tooLarge ? tTextFileStatus::TooLarge : tTextFileStatus::ReadFailed;
    if (failed) file.reason = SystemReason(readError);
    return file;
  }
  if (std::string_view(file.text).substr(0, Utf8ByteOrderMark.size()) == Utf8ByteOrderMark)
    file.text.erase(0, Utf8ByteOrderMark.size());
  file.status = tTextFileStatus::Read;
  return file;
}

namespace {

// A file whose permissions allow no one to write it is protected by its
// owner; root passes the access check, so the bits are looked at too.
bool IsWriteProtected(const std::string& path, const struct stat& file, std::string& reason) {
  if ((file.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    reason = WriteProtectedReason;
    return true;
  }
  if (::access(path.c_str(), W_OK) != 0) {
    reason = SystemReason(errno);
    return true;
  }
  return false;
}

// Writes all of content to fd, going on after a partial write.
bool WriteAll(int fd, const std::string& content, int& error) {
  const char* data = content.data();
  std::size_t left = content.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      // A write that takes nothing without an error would repeat forever.
      error = written < 0 ? errno : EIO;
      return false;
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

bool ReplaceTextFile(const std::string& requestedPath, const std::string& content, std::string& reason,
                     bool createFolder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  // A link is followed: the file it names is replaced and the link kept
  // (a link to nothing is replaced itself).
  std::string path = requestedPath;
  if (fs::is_symlink(fs::symlink_status(path, ec))) {
    const fs::path target = fs::canonical(path, ec);
    if (!ec) path = target.string();
  }
  const fs::path folder = fs::path(path).parent_path();
  if (createFolder && !folder.empty()) {
    fs::create_directories(folder, ec);
    if (ec) {
      reason = ec.message();
      return false;
    }
  }

  // The new file takes the permissions of the one it replaces, or the
  // usual ones for a new file. A write-protected file is not replaced,
  // although the folder would allow the rename.
  mode_t mode = 0;
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) {
    if (!S_ISDIR(old.st_mode) && IsWriteProtected(path, old, reason)) return false;
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
  // Every step is checked; on any failure the new file goes and the old
  // one stays as it was.
  auto fail = [&](int error) {
    reason = SystemReason(error);
    ::unlink(temporary.c_str());
    return false;
  };
  int error = 0;
  if (!WriteAll(fd, content, error) || ::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) {
    if (error == 0) error = errno;
    ::close(fd);
    return fail(error);
  }
  if (::close(fd) != 0) return fail(errno);
  if (::rename(temporary.c_str(), path.c_str()) != 0) return fail(errno);
  return true;
}

bool DeleteTextFile(const std::string& path, std::string& reason) {
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
