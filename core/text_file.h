// Whole text files: the one place where the programs read a file they are
// given and where they write, replace or delete one. Reading returns the
// text as UTF-8 (a byte-order mark removed; UTF-16, UTF-32 and
// Windows-1252 converted, see core/text_encoding.h) or says why there is
// none; the callers word
// the message for their own file.
#pragma once

#include <cstddef>
#include <string>

#include "core/text_encoding.h"

enum class tTextFileStatus {
  Read,           // text holds the file's contents
  NotFound,       // there is no file of that name
  IsFolder,       // the name is a folder
  CannotExamine,  // the name could not be looked up (reason says why)
  CannotOpen,     // the file exists but cannot be opened (reason says why)
  TooLarge,       // the file holds more than the largest size asked for
  ReadFailed,     // reading stopped with an error (reason says why)
  NotRegular,     // a device or socket, or a pipe unless asked for (reason says which)
  NotPlainText,   // the bytes are not text (reason says what they are)
};

// Whether a name may be a pipe. A pipe can keep a reader waiting for ever
// (one that nobody writes into), so a program that asks through a file
// dialog refuses it before opening it; the batch tool reads pipes, which is
// how shell users pass data. A device or a socket is refused either way:
// a device such as /dev/zero never ends, so it is refused before anything
// is read from it.
enum class tSpecialFiles { Refuse, Read };

// What a program says to a file that is not text.
inline constexpr const char* SaveAsPlainTextAdvice =
    "Save it as plain text (for example \"Text\" or \"UTF-8 text\" in the program that made it) and use that "
    "file.";

struct tTextFile {
  tTextFileStatus status = tTextFileStatus::NotFound;
  std::string text;
  tTextEncoding encoding = tTextEncoding::Utf8;  // Read: what the file was read as
  std::string reason;  // the system's text for CannotExamine, CannotOpen and ReadFailed;
                       // what the file is for NotRegular and NotPlainText
};

// A file opened for reading, closed with the object. status is Read when
// it is open.
class tInputFile {
 public:
  tInputFile() = default;
  tInputFile(const tInputFile&) = delete;
  tInputFile& operator=(const tInputFile&) = delete;
  ~tInputFile();

  tTextFileStatus status = tTextFileStatus::NotFound;
  std::string reason;
  int descriptor = -1;
  long long size = -1;  // bytes of a regular file; -1 for a pipe or device

  // Reads up to size bytes (a read interrupted by a signal is retried);
  // returns how many, 0 at the end, -1 with reason set on an error. A
  // regular file that ends before the size it had when it was opened was
  // cut short while it was read: that is an error too.
  long long Read(char* buffer, std::size_t count, std::string& readReason);

 private:
  long long taken_ = 0;  // bytes read so far
};

// Opens path for reading. A folder, a device, a socket, and a pipe unless
// specialFiles is Read, is refused without waiting on it.
void OpenInputFile(const std::string& path, tSpecialFiles specialFiles, tInputFile& file);

// Reads the file at path whole and decodes it (DecodeText). A regular
// file of more than maxBytes bytes is refused before it is read; a pipe
// is refused as soon as it has given more, so no more is ever held.
tTextFile ReadTextFile(const std::string& path, std::size_t maxBytes,
                       tSpecialFiles specialFiles = tSpecialFiles::Refuse);

// The reason given when the file to be replaced is write-protected.
inline constexpr const char* WriteProtectedReason = "The file is write-protected";

// What a save does with a name that is a symbolic link. A name the program
// chooses itself (its saved inputs) is never written through a link: a
// link planted there could aim the save at any file of the user (or, run
// as root, of the system). A name the user chose in a save dialog is
// written at the file the link names, keeping the link, as editors do.
enum class tLinkedName { Refuse, WriteTarget };

// Where the symbolic link at path points (a relative target taken from
// the link's folder); empty when path is not a link.
std::string LinkTarget(const std::string& path);

// Replaces the file at path with content atomically: the text goes to a
// new file in the same folder (created first when createFolder is true),
// which is then renamed over the old one, so a failure or a kill at any
// moment leaves the old file or the new one whole. Every write, the flush
// to the disk, the close and the rename are checked. Only a regular file
// is replaced: a device, pipe or socket is refused and left as it is, and
// so is a file that may not be written (no write permission for anyone,
// or none for this user). A link is refused or followed as links says (a
// link to nothing is replaced itself when followed). The new file keeps
// the permissions of the one it replaces. Temporary files that an earlier
// save of the same name left behind (the program was killed while saving)
// are removed; one that a running save is writing is not. On failure
// returns false with the reason (the system's error text, or one of the
// reasons above, worded to follow "could not be saved").
bool ReplaceTextFile(const std::string& path, const std::string& content, std::string& reason,
                     bool createFolder = false, tLinkedName links = tLinkedName::Refuse);

// Deletes the file if it exists. Returns false with the reason when a file
// is there and could not be deleted (or the name is a folder).
bool DeleteTextFile(const std::string& path, std::string& reason);
