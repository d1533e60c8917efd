// Reading whole files: wide encodings decoded, files that are not text or
// not regular files refused before they can block, sizes refused before
// the file is read.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "core/text_file.h"

namespace {

class ReadingFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/quorv-reading-XXXXXX";
    ASSERT_NE(::mkdtemp(name), nullptr);
    folder = name;
  }
  void TearDown() override { std::filesystem::remove_all(folder); }
  std::string Put(const std::string& name, const std::string& bytes) const {
    const std::string path = folder + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::string folder;
};

TEST_F(ReadingFiles, Utf16IsDecodedAndBinaryIsNotText) {
  // "1 2\r\n" in UTF-16 little-endian with its mark, as spreadsheets save "Unicode text".
  const tTextFile wide = ReadTextFile(Put("wide.txt", std::string("\xFF\xFE" "1\0 \0" "2\0\r\0\n\0", 12)), 100);
  EXPECT_EQ(wide.status, tTextFileStatus::Read);
  EXPECT_EQ(wide.text, "1 2\r\n");
  const tTextFile binary = ReadTextFile(Put("sheet.xls", std::string("\xD0\xCF\x11\xE0\0\0\0\0\x3E\0\x03\0", 12)), 100);
  EXPECT_EQ(binary.status, tTextFileStatus::NotPlainText);
  EXPECT_NE(binary.reason.find("not plain text"), std::string::npos) << binary.reason;
}

// A named pipe that nobody writes into used to keep the reader waiting for
// ever; it is refused at once unless pipes are asked for.
TEST_F(ReadingFiles, PipesAreRefusedUnlessAskedForAndThenRead) {
  const std::string fifo = folder + "/data.txt";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const tTextFile refused = ReadTextFile(fifo, 100);
  EXPECT_EQ(refused.status, tTextFileStatus::NotRegular);
  EXPECT_EQ(refused.reason, "a named pipe (FIFO), not a regular file");
  EXPECT_EQ(ReadTextFile("/dev/zero", 100).status, tTextFileStatus::NotRegular);

  std::thread writer([&] {
    const int fd = ::open(fifo.c_str(), O_WRONLY);
    if (fd < 0) return;
    const std::string text = "40 12\n55 9\n";
    [[maybe_unused]] const ssize_t written = ::write(fd, text.data(), text.size());
    ::close(fd);
  });
  const tTextFile piped = ReadTextFile(fifo, 100, tSpecialFiles::Read);
  writer.join();
  EXPECT_EQ(piped.status, tTextFileStatus::Read);
  EXPECT_EQ(piped.text, "40 12\n55 9\n");
}

TEST_F(ReadingFiles, AnOversizedFileIsRefusedBeforeItIsRead) {
  // A sparse file of 64 GiB: reading it would take minutes and the memory
  // of the machine, refusing it takes a look at its size.
  const std::string path = Put("huge.txt", "");
  ASSERT_EQ(::truncate(path.c_str(), 64LL << 30), 0);
  const tTextFile huge = ReadTextFile(path, std::size_t{256} << 20);
  EXPECT_EQ(huge.status, tTextFileStatus::TooLarge);
  EXPECT_EQ(huge.text.capacity() < 1024, true);
}

}  // namespace
