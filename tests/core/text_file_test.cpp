// Whole text files: reading with its refusals (wide encodings decoded,
// files that are not text or not regular files refused before they can
// block, sizes refused before the file is read), atomic replacement and
// deletion.
#include "core/text_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/quorv-text-XXXXXX";
    ASSERT_NE(::mkdtemp(name), nullptr);
    folder = name;
  }
  void TearDown() override { fs::remove_all(folder); }
  std::string Path(const std::string& name) const { return folder + "/" + name; }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void Put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  std::string Written(const std::string& name, const std::string& bytes) const {
    Put(Path(name), bytes);
    return Path(name);
  }
  std::string folder;
};

TEST_F(TempFolder, ReadingGivesTheTextWithoutAByteOrderMarkOrSaysWhyNot) {
  EXPECT_EQ(ReadTextFile(Path("none.txt"), 100).status, tTextFileStatus::NotFound);
  fs::create_directory(Path("folder.txt"));
  EXPECT_EQ(ReadTextFile(Path("folder.txt"), 100).status, tTextFileStatus::IsFolder);
  Put(Path("a.txt"), "\xEF\xBB\xBF" "1 2\r\n");
  const tTextFile read = ReadTextFile(Path("a.txt"), 100);
  EXPECT_EQ(read.status, tTextFileStatus::Read);
  EXPECT_EQ(read.text, "1 2\r\n");
  const tTextFile large = ReadTextFile(Path("a.txt"), 6);
  EXPECT_EQ(large.status, tTextFileStatus::TooLarge);
  EXPECT_TRUE(large.text.empty());
  if (::geteuid() != 0) {  // root reads any file
    ::chmod(Path("a.txt").c_str(), 0);
    EXPECT_EQ(ReadTextFile(Path("a.txt"), 100).status, tTextFileStatus::CannotOpen);
  }
}

TEST_F(TempFolder, Utf16IsDecodedAndBinaryIsNotText) {
  // "1 2\r\n" in UTF-16 little-endian with its mark, as spreadsheets save "Unicode text".
  const tTextFile wide = ReadTextFile(Written("wide.txt", std::string("\xFF\xFE" "1\0 \0" "2\0\r\0\n\0", 12)), 100);
  EXPECT_EQ(wide.status, tTextFileStatus::Read);
  EXPECT_EQ(wide.text, "1 2\r\n");
  const tTextFile binary = ReadTextFile(Written("sheet.xls", std::string("\xD0\xCF\x11\xE0\0\0\0\0\x3E\0\x03\0", 12)), 100);
  EXPECT_EQ(binary.status, tTextFileStatus::NotPlainText);
  EXPECT_NE(binary.reason.find("not plain text"), std::string::npos) << binary.reason;
}

// A named pipe that nobody writes into used to keep the reader waiting for
// ever; it is refused at once unless pipes are asked for.
TEST_F(TempFolder, PipesAreRefusedUnlessAskedForAndThenRead) {
  const std::string fifo = folder + "/data.txt";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const tTextFile refused = ReadTextFile(fifo, 100);
  EXPECT_EQ(refused.status, tTextFileStatus::NotRegular);
  EXPECT_EQ(refused.reason, "a named pipe (FIFO), not a regular file");
  EXPECT_EQ(ReadTextFile("/dev/zero", 100).status, tTextFileStatus::NotRegular);
  EXPECT_EQ(ReadTextFile("/dev/zero", 100, tSpecialFiles::Read).reason, "a character device, not a regular file");

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

TEST_F(TempFolder, AnOversizedFileIsRefusedBeforeItIsRead) {
  // A sparse file of 64 GiB: reading it would take minutes and the memory
  // of the machine, refusing it takes a look at its size.
  const std::string path = Written("huge.txt", "");
  ASSERT_EQ(::truncate(path.c_str(), 64LL << 30), 0);
  const tTextFile huge = ReadTextFile(path, std::size_t{256} << 20);
  EXPECT_EQ(huge.status, tTextFileStatus::TooLarge);
  EXPECT_EQ(huge.text.capacity() < 1024, true);
}

TEST_F(TempFolder, WriteReplacesTheFileAndLeavesNothingElseBehind) {
  const std::string path = Path("Quorvane.txt");
  std::string reason;
  ASSERT_TRUE(ReplaceTextFile(path, "old\n", reason)) << reason;
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(ReplaceTextFile(path, "new\n", reason)) << reason;
  EXPECT_EQ(Contents(path), "new\n");
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);  // the replaced file's permissions are kept
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++entries;
  EXPECT_EQ(entries, 1);

  // A new file stays its owner's to read and replace under any mask (the
  // WebAssembly runtime starts with 0777).
  const mode_t mask = ::umask(0777);
  const bool saved = ReplaceTextFile(Path("new.txt"), "a\n", reason);
  ::umask(mask);
  ASSERT_TRUE(saved) << reason;
  EXPECT_EQ(Contents(Path("new.txt")), "a\n");
  ASSERT_TRUE(ReplaceTextFile(Path("new.txt"), "b\n", reason)) << reason;
}

TEST_F(TempFolder, WriteCreatesAMissingFolderOnlyWhenAsked) {
  const std::string path = Path("user/data/Quorvane.txt");
  std::string reason;
  EXPECT_FALSE(ReplaceTextFile(path, "x\n", reason));
  ASSERT_TRUE(ReplaceTextFile(path, "x\n", reason, true)) << reason;
  EXPECT_EQ(Contents(path), "x\n");
}

TEST_F(TempFolder, AFailedWriteGivesTheReasonAndLeavesNoTemporaryFile) {
  Put(Path("plain"), "a file, not a folder");
  std::string reason;
  EXPECT_FALSE(ReplaceTextFile(Path("plain/Quorvane.txt"), "x\n", reason));
  EXPECT_EQ(reason, "Not a directory");

  // The target is a folder: the rename fails, the folder and its content stay.
  fs::create_directory(Path("Quorvane.txt"));
  Put(Path("Quorvane.txt/keep"), "kept");
  reason.clear();
  EXPECT_FALSE(ReplaceTextFile(Path("Quorvane.txt"), "x\n", reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(Contents(Path("Quorvane.txt/keep")), "kept");
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++entries;
  EXPECT_EQ(entries, 2);  // "plain" and the folder; no temporary file
}

// A file nobody may write is left alone although its folder would allow
// the rename (the permission bits decide, so this holds for root too); a
// link is followed and stays a link.
TEST_F(TempFolder, AWriteProtectedFileIsNotReplacedAndALinkIsFollowed) {
  const std::string path = Path("Quorvane.txt");
  Put(path, "kept\n");
  ::chmod(path.c_str(), 0444);
  std::string reason;
  EXPECT_FALSE(ReplaceTextFile(path, "new\n", reason));
  EXPECT_EQ(reason, WriteProtectedReason);
  EXPECT_EQ(Contents(path), "kept\n");

  Put(Path("target.txt"), "old\n");
  fs::create_symlink("target.txt", Path("link.txt"));
  ASSERT_TRUE(ReplaceTextFile(Path("link.txt"), "new\n", reason, false, tLinkedName::WriteTarget)) << reason;
  EXPECT_TRUE(fs::is_symlink(Path("link.txt")));
  EXPECT_EQ(Contents(Path("target.txt")), "new\n");
}

// A save followed any link. Planted links to a file, a pipe and a device are
// never written through unless asked (above); no pipe or device is replaced.
TEST_F(TempFolder, ASaveNeverWritesThroughALinkUnlessAskedAndReplacesOnlyARegularFile) {
  Put(Path("file"), "victim\n");
  ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
  const bool device = ::mknod(Path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  using enum fs::file_type;
  for (const auto& [name, type] : std::vector<std::pair<std::string, fs::file_type>>{
           {"file", regular}, {"pipe", fifo}, {"null", character}}) {
    if (type == character && !device) continue;
    const std::string link = Path("link-" + name);
    fs::create_symlink(name, link);
    std::string reason;
    EXPECT_FALSE(ReplaceTextFile(link, "inputs\n", reason)) << name;
    EXPECT_EQ(reason, "It is a link to " + Path(name) +
                          ", and nothing is saved through a link: the link and that file are left as they are");
    if (type != regular) {  // not even when asked, nor named directly
      EXPECT_FALSE(ReplaceTextFile(link, "chosen\n", reason, false, tLinkedName::WriteTarget)) << name;
      EXPECT_NE(reason.find(", not a regular file: only a regular file is replaced"), std::string::npos) << reason;
      EXPECT_FALSE(ReplaceTextFile(Path(name), "x\n", reason)) << name;
    }
    EXPECT_EQ(fs::read_symlink(link), name);
    EXPECT_EQ(fs::symlink_status(Path(name)).type(), type) << name;
  }
  EXPECT_EQ(Contents(Path("file")), "victim\n");
  if (!device) GTEST_SKIP() << "mknod is not allowed here, so the device node was not tried";
}

// Killed saves leave the old or the new file whole, and the next save removes
// their temporaries, but not one a running save holds, a link, look-alikes.
TEST_F(TempFolder, TheNextSaveRemovesTemporariesOfKilledSavesAndNothingElse) {
  const std::string path = Path("Quorvane.txt"), older(40000, 'o'), newer(60000, 'n');
  std::string reason;
  ASSERT_TRUE(ReplaceTextFile(path, older, reason)) << reason;
  for (int round = 0; round < 20; ++round) {
    const pid_t saver = ::fork();
    ASSERT_GE(saver, 0);
    if (saver == 0)
      for (int i = 0;; ++i) ReplaceTextFile(path, i % 2 == 0 ? newer : older, reason);
    ::usleep(static_cast<useconds_t>(500 + 373 * round % 4000));
    ::kill(saver, SIGKILL);
    ::waitpid(saver, nullptr, 0);
    EXPECT_TRUE(Contents(path) == older || Contents(path) == newer) << "round " << round;
  }
  for (const char* name : {"Quorvane.txt.Held01", "Quorvane.txt.bak", "Quorvane.txt.ab-1", "Quorvane.txt.Killed"})
    Put(Path(name), "other\n");
  fs::create_symlink("Quorvane.txt.bak", Path("Quorvane.txt.Link01"));
  const int held = ::open(Path("Quorvane.txt.Held01").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  ASSERT_TRUE(ReplaceTextFile(path, "last\n", reason)) << reason;
  ::close(held);
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"Quorvane.txt", "Quorvane.txt.Held01", "Quorvane.txt.Link01",
                                          "Quorvane.txt.bak", "Quorvane.txt.ab-1"}));
}

TEST_F(TempFolder, DeleteRemovesAFileAndRefusesAFolder) {
  std::string reason;
  EXPECT_TRUE(DeleteTextFile(Path("none.txt"), reason));
  Put(Path("Quorvik.txt"), "25 2       ");
  EXPECT_TRUE(DeleteTextFile(Path("Quorvik.txt"), reason));
  EXPECT_FALSE(fs::exists(Path("Quorvik.txt")));
  fs::create_directory(Path("Quorvane.txt"));
  EXPECT_FALSE(DeleteTextFile(Path("Quorvane.txt"), reason));
  EXPECT_TRUE(fs::is_directory(Path("Quorvane.txt")));
}

}  // namespace
