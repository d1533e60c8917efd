// Whole text files: the one place where the programs read a file they are
// given and where they write, replace or delete one. Reading returns the
// text (a UTF-8 byte-order mark at its start removed) or says why there is
// none; the callers word the message for their own file.
#pragma once

#include <cstddef>
#include <string>

enum class tTextFileStatus {
  Read,           // text holds the file's contents
  NotFound,       // there is no file of that name
  IsFolder,       // the name is a folder
  CannotExamine,  // the name could not be looked up (reason says why)
  CannotOpen,     // the file exists but cannot be opened (reason says why)
  TooLarge,       // the file holds more than the largest size asked for
  ReadFailed,     // reading stopped with an error (reason says why)
};

struct tTextFile {
  tTextFileStatus status = tTextFileStatus::NotFound;
  std::string text;
  std::string reason;  // the system's text for CannotExamine, CannotOpen and ReadFailed
};

// Reads the file at path whole, refusing one of more than maxBytes bytes
// without holding more than that.
tTextFile ReadTextFile(const std::string& path, std::size_t maxBytes);

// The reason given when the file to be replaced is write-protected.
inline constexpr const char* WriteProtectedReason = "The file is write-protected";

// Replaces the file at path with content atomically: the text goes to a
// new file in the same folder (created first when createFolder is true),
// which is then renamed over the old one, so a failure leaves an earlier
// file as it was. Every write, the flush to the disk, the close and the
// rename are checked. The new file keeps the permissions of the one it
// replaces; a file that may not be written (no write permission for
// anyone, or none for this user) is left alone, and a link is followed to
// the file it names. On failure returns false with the reason (the
// system's error text, or WriteProtectedReason).
bool ReplaceTextFile(const std::string& path, const std::string& content, std::string& reason,
                     bool createFolder = false);

// Deletes the file if it exists. Returns false with the reason when a file
// is there and could not be deleted (or the name is a folder).
bool DeleteTextFile(const std::string& path, std::string& reason);
