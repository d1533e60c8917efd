#include "core/text_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "core/text_encoding.h"

namespace {

constexpr std::size_t ReadChunk = 1 << 16;

std::string SystemReason(int error) { return std::generic_category().message(error); }

// What a file that is neither a regular file nor a folder is.
const char* SpecialFileKind(mode_t mode) {
  if (S_ISFIFO(mode)) return "a named pipe (FIFO), not a regular file";
  if (S_ISCHR(mode)) return "a character device, not a regular file";
  if (S_ISBLK(mode)) return "a block device, not a regular file";
  if (S_ISSOCK(mode)) return "a socket, not a regular file";
  return "not a regular file";
}

// Sets status and reason from a stat of the name, a file's or a folder's.
// False when the file is not to be opened.
bool Examine(const struct stat& info, tSpecialFiles specialFiles, tInputFile& file) {
  if (S_ISDIR(info.st_mode)) {
    file.status = tTextFileStatus::IsFolder;
    return false;
  }
  const bool readablePipe = S_ISFIFO(info.st_mode) && specialFiles == tSpecialFiles::Read;
  if (!S_ISREG(info.st_mode) && !readablePipe) {
    file.status = tTextFileStatus::NotRegular;
    file.reason = SpecialFileKind(info.st_mode);
    return false;
  }
  return true;
}

}  // namespace

tInputFile::~tInputFile() {
  if (descriptor >= 0) ::close(descriptor);
}

long long tInputFile::Read(char* buffer, std::size_t count, std::string& readReason) {
  for (;;) {
    const ssize_t got = ::read(descriptor, buffer, count);
    if (got > 0) taken_ += got;
    // A regular file that ends before the size it had when it was opened
    // was cut short while it was read: what came is not the whole file.
    if (got == 0 && size >= 0 && taken_ < size) {
      readReason = "the file changed while it was read: it ended after " + std::to_string(taken_) + " of the " +
                   std::to_string(size) + " bytes it had when it was opened";
      return -1;
    }
    if (got >= 0) return got;
    if (errno == EINTR) continue;
    readReason = SystemReason(errno);
    return -1;
  }
}

void OpenInputFile(const std::string& path, tSpecialFiles specialFiles, tInputFile& file) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    file.status = errno == ENOENT || errno == ENOTDIR ? tTextFileStatus::NotFound : tTextFileStatus::CannotExamine;
    file.reason = SystemReason(errno);
    return;
  }
  if (!Examine(info, specialFiles, file)) return;
  // A regular file is opened without waiting, so that one swapped for a
  // pipe after the look cannot block; a pipe the caller reads is opened
  // as pipes are, waiting for its writer.
  const bool regular = S_ISREG(info.st_mode);
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (regular ? O_NONBLOCK : 0));
  if (fd < 0) {
    file.status = tTextFileStatus::CannotOpen;
    file.reason = SystemReason(errno);
    return;
  }
  file.descriptor = fd;
  if (::fstat(fd, &info) != 0) {
    file.status = tTextFileStatus::CannotExamine;
    file.reason = SystemReason(errno);
    return;
  }
  if (!Examine(info, specialFiles, file)) return;
  if (regular && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    file.status = tTextFileStatus::CannotOpen;
    file.reason = SystemReason(errno);
    return;
  }
  file.size = S_ISREG(info.st_mode) ? static_cast<long long>(info.st_size) : -1;
  file.status = tTextFileStatus::Read;
}

tTextFile ReadTextFile(const std::string& path, std::size_t maxBytes, tSpecialFiles specialFiles) {
  tTextFile file;
  tInputFile input;
  OpenInputFile(path, specialFiles, input);
  if (input.status != tTextFileStatus::Read) {
    file.status = input.status;
    file.reason = input.reason;
    return file;
  }
  if (input.size > static_cast<long long>(maxBytes)) {
    file.status = tTextFileStatus::TooLarge;
    return file;
  }
  if (input.size > 0) file.text.reserve(static_cast<std::size_t>(input.size));
  std::string buffer(ReadChunk, '\0');
  for (;;) {
    const long long got = input.Read(buffer.data(), buffer.size(), file.reason);
    if (got < 0) {
      file.text.clear();
      file.status = tTextFileStatus::ReadFailed;
      return file;
    }
    if (got == 0) break;
    const std::size_t size = file.text.size() + static_cast<std::size_t>(got);
    if (size > maxBytes) {  // a pipe, or a file that grew while it was read
      file.text.clear();
      file.text.shrink_to_fit();
      file.status = tTextFileStatus::TooLarge;
      return file;
    }
    // Grown by doubling, but never beyond maxBytes.
    if (size > file.text.capacity()) file.text.reserve(std::min(maxBytes, std::max(size, 2 * file.text.capacity())));
    file.text.append(buffer, 0, static_cast<std::size_t>(got));
  }
  if (!DecodeText(file.text, file.reason, &file.encoding)) {
    file.text.clear();
    file.status = tTextFileStatus::NotPlainText;
    return file;
  }
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

std::string LinkTarget(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path target = fs::read_symlink(path, ec);
  if (ec) return {};
  if (target.is_relative()) target = fs::path(path).parent_path() / target;
  return target.lexically_normal().string();
}

namespace {

// The temporary file of a save of path: path + "." + six letters or
// digits, as mkstemp makes it.
constexpr const char* TemporarySuffix = ".XXXXXX";
constexpr std::size_t TemporaryRandomLength = 6;

bool IsTemporaryName(const std::string& name, const std::string& base) {
  if (name.size() != base.size() + 1 + TemporaryRandomLength || name.compare(0, base.size(), base) != 0 ||
      name[base.size()] != '.')
    return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(base.size() + 1), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// Removes the temporaries of path left by saves that were killed before
// their rename. A save holds a lock on its temporary until it is renamed,
// so a temporary that can be locked belongs to no running save. Only
// regular files of this user are removed; a link or anything else that
// happens to have such a name is left alone. Best effort: a temporary
// that cannot be removed stays, and the save goes on.
void RemoveStaleTemporaries(const std::string& path) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  const std::string base = target.filename().string();
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::error_code ec;
  fs::directory_iterator entries(folder, ec);
  if (ec) return;
  for (const fs::directory_entry& entry : entries) {
    const std::string name = entry.path().filename().string();
    if (!IsTemporaryName(name, base)) continue;
    const std::string candidate = entry.path().string();
    struct stat named {};
    if (::lstat(candidate.c_str(), &named) != 0 || !S_ISREG(named.st_mode) || named.st_uid != ::geteuid()) continue;
    const int fd = ::open(candidate.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat opened {};
    if (::fstat(fd, &opened) == 0 && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0)
      ::unlink(candidate.c_str());
    ::close(fd);
  }
}

}  // namespace

bool ReplaceTextFile(const std::string& requestedPath, const std::string& content, std::string& reason,
                     bool createFolder, tLinkedName links) {
  namespace fs = std::filesystem;
  std::error_code ec;
  std::string path = requestedPath;
  struct stat named {};
  if (::lstat(path.c_str(), &named) == 0 && S_ISLNK(named.st_mode)) {
    if (links == tLinkedName::Refuse) {
      reason = "It is a link to " + LinkTarget(path) +
               ", and nothing is saved through a link: the link and that file are left as they are";
      return false;
    }
    // The file it names is replaced and the link kept (a link to nothing
    // is replaced itself).
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
  // usual ones for a new file. Only a regular file is replaced: a device
  // or pipe would become a plain file, and a write-protected file is
  // left although the folder would allow the rename. (A link still here
  // names nothing, or was put here since the look above: the rename
  // replaces it, never what it names. A folder makes the rename fail.)
  mode_t mode = 0;
  struct stat old {};
  if (::lstat(path.c_str(), &old) == 0 && !S_ISLNK(old.st_mode)) {
    if (!S_ISREG(old.st_mode) && !S_ISDIR(old.st_mode)) {
      reason = std::string("It is ") + SpecialFileKind(old.st_mode) + ": only a regular file is replaced by a save";
      return false;
    }
    if (!S_ISDIR(old.st_mode) && IsWriteProtected(path, old, reason)) return false;
    mode = old.st_mode & 07777;
  } else {
    // A new file is always the owner's to read and write again, whatever
    // the mask (WebAssembly's runtime starts with a mask of 0777, which
    // would leave a file no one may read).
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = (0666 & ~mask) | S_IRUSR | S_IWUSR;
  }

  RemoveStaleTemporaries(path);
  std::string temporary = path + TemporarySuffix;
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    reason = SystemReason(errno);
    return false;
  }
  // Locked while it is written, so that another save's clean-up leaves it
  // (a new file is locked at once; if the lock fails, the save goes on).
  ::flock(fd, LOCK_EX | LOCK_NB);
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
  // The close ends the lock: a clean-up by another save in the moment
  // before the rename makes the rename fail, which is reported, and the
  // old file stays.
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
