// Whole text files: reading with its refusals, atomic replacement and
// deletion.
#include "core/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

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
  ASSERT_TRUE(ReplaceTextFile(Path("link.txt"), "new\n", reason)) << reason;
  EXPECT_TRUE(fs::is_symlink(Path("link.txt")));
  EXPECT_EQ(Contents(Path("target.txt")), "new\n");
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
