#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/Files.h"
#include "core/Platform.h"

namespace zelto {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = MakeTemporaryDirectory("zelto-files-");
    ASSERT_FALSE(root_.empty());
    dir_ = Utf8FromPath(root_);
  }
  void TearDown() override {
    std::error_code ec;
    // A read-only file left by a failed test would stop remove_all on Windows.
    for (const auto& e : fs::recursive_directory_iterator(root_, ec)) {
      fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add, ec);
    }
    fs::remove_all(root_, ec);
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(root_, ec)) names.push_back(Utf8FromPath(e.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
  }
  fs::path root_;
  std::string dir_;
};

TEST_F(FilesTest, WriteThenReadBytesExactly) {
  std::string path = JoinPath(dir_, "CONCXY.DAT");
  std::string bytes("a\0b\r\n\xbc\xc6", 7);
  std::string error = "stale";
  ASSERT_TRUE(WriteFileAtomic(path, bytes, error));
  EXPECT_EQ(error, "");
  EXPECT_TRUE(FileExists(path));
  std::string back;
  ASSERT_TRUE(ReadFileBytes(path, back));
  EXPECT_EQ(back, bytes);
  // No temporary file is left beside it.
  EXPECT_EQ(Entries(), std::vector<std::string>{"CONCXY.DAT"});
}

TEST_F(FilesTest, ReplacingKeepsOnlyTheNewContents) {
  std::string path = JoinPath(dir_, "ZELTO.ini");
  std::string error;
  ASSERT_TRUE(WriteFileAtomic(path, std::string(5000, 'x'), error));
  ASSERT_TRUE(WriteFileAtomic(path, "short", error));
  std::string back;
  ASSERT_TRUE(ReadFileBytes(path, back));
  EXPECT_EQ(back, "short");
  ASSERT_TRUE(WriteFileAtomic(path, "", error));
  ASSERT_TRUE(ReadFileBytes(path, back));
  EXPECT_EQ(back, "");
  EXPECT_EQ(Entries(), std::vector<std::string>{"ZELTO.ini"});
}

// A reader running beside the writer sees the whole old file or the whole
// new one at every moment: the two contents differ in every byte and in
// length, so any mix or any cut shows.
TEST_F(FilesTest, ReaderSeesOldOrNewNeverAMix) {
  const std::string path = JoinPath(dir_, "ZELTO.ini");
  const std::string a(300000, 'a'), b(170000, 'b');
  std::string error;
  ASSERT_TRUE(WriteFileAtomic(path, a, error)) << error;
  std::atomic<bool> done{false};
  std::atomic<int> reads{0}, mixed{0};
  std::thread reader([&] {
    std::string got;
    for (int i = 0; i < 100000 && !done; ++i) {
      if (!ReadFileBytes(path, got)) continue;  // opened between two replacements
      ++reads;
      if (got != a && got != b) ++mixed;
    }
  });
  int written = 0;
  for (int i = 0; i < 60; ++i) {
    if (WriteFileAtomic(path, i % 2 ? a : b, error)) ++written;
  }
  done = true;
  reader.join();
  EXPECT_EQ(mixed, 0) << "of " << reads << " reads";
  EXPECT_GT(written, 0) << error;
  std::string last;
  ASSERT_TRUE(ReadFileBytes(path, last));
  EXPECT_TRUE(last == a || last == b);
  EXPECT_EQ(Entries(), std::vector<std::string>{"ZELTO.ini"});
}

TEST_F(FilesTest, MissingTargetIsCreated) {
  const std::string path = JoinPath(dir_, "new.ini");
  ASSERT_FALSE(FileExists(path));
  std::string error;
  ASSERT_TRUE(WriteFileAtomic(path, "new\r\n", error)) << error;
  std::string back;
  ASSERT_TRUE(ReadFileBytes(path, back));
  EXPECT_EQ(back, "new\r\n");
  EXPECT_EQ(Entries(), std::vector<std::string>{"new.ini"});
}

// A read-only target: POSIX replaces it (the directory is writable) and keeps
// it read-only; Windows refuses to replace it. Either way the file holds the
// old or the new bytes whole, and nothing else is left in the directory.
TEST_F(FilesTest, ReadOnlyTargetIsOldOrNewWhole) {
  const std::string path = JoinPath(dir_, "ZELTO.ini");
  std::string error;
  ASSERT_TRUE(WriteFileAtomic(path, "old contents\r\n", error));
  const fs::path p = PathFromUtf8(path);
  fs::permissions(p, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const bool replaced = WriteFileAtomic(path, "new", error);
  std::string back;
  ASSERT_TRUE(ReadFileBytes(path, back));
  if (replaced) {
    EXPECT_EQ(back, "new");
    EXPECT_EQ(error, "");
  } else {
    EXPECT_EQ(back, "old contents\r\n");
    EXPECT_NE(error, "");
  }
  EXPECT_EQ(fs::status(p).permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_EQ(Entries(), std::vector<std::string>{"ZELTO.ini"});
}

TEST_F(FilesTest, FailureLeavesTargetAndDirectoryClean) {
  // A directory where the file should go: the replacement fails.
  std::string path = JoinPath(dir_, "busy");
  ASSERT_TRUE(fs::create_directory(PathFromUtf8(path)));
  std::string error;
  EXPECT_FALSE(WriteFileAtomic(path, "data", error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(Entries(), std::vector<std::string>{"busy"});
  EXPECT_TRUE(fs::is_directory(PathFromUtf8(path)));
}

TEST_F(FilesTest, MissingDirectoryIsAnError) {
  std::string error;
  EXPECT_FALSE(WriteFileAtomic(JoinPath(dir_, "nowhere/file.txt"), "x", error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(Entries().empty());
}

TEST_F(FilesTest, MissingFilesAndDirectories) {
  std::string bytes = "kept";
  EXPECT_FALSE(ReadFileBytes(JoinPath(dir_, "absent"), bytes));
  EXPECT_EQ(bytes, "kept");
  EXPECT_FALSE(FileExists(JoinPath(dir_, "absent")));
  EXPECT_FALSE(FileExists(dir_));  // a directory is not a file
  EXPECT_FALSE(ReadFileBytes(dir_, bytes));
}

// Folder and file names in Chinese: the UTF-8 names reach the system intact
// (as UTF-16 on Windows) and come back the same.
TEST_F(FilesTest, ChineseNamesWork) {
  const std::string sub = JoinPath(dir_, "危险品 预测");
  ASSERT_TRUE(fs::create_directory(PathFromUtf8(sub)));
  const std::string path = JoinPath(sub, "氯气.ini");
  std::string error, back;
  ASSERT_TRUE(WriteFileAtomic(path, "\xc2\xc8\xc6\xf8", error)) << error;
  EXPECT_TRUE(FileExists(path));
  ASSERT_TRUE(ReadFileBytes(path, back));
  EXPECT_EQ(back, "\xc2\xc8\xc6\xf8");
  bool cut = true;
  ASSERT_TRUE(ReadFilePrefix(path, 2, back, cut));
  EXPECT_EQ(back, "\xc2\xc8");
  EXPECT_TRUE(cut);
  EXPECT_EQ(Entries(), std::vector<std::string>{"危险品 预测"});
  std::vector<std::string> inside;
  for (const auto& e : fs::directory_iterator(PathFromUtf8(sub))) inside.push_back(Utf8FromPath(e.path().filename()));
  EXPECT_EQ(inside, std::vector<std::string>{"氯气.ini"});
}

TEST(Paths, JoinPath) {
  EXPECT_EQ(JoinPath("/opt/zelto", "ZELTO.ini"), "/opt/zelto/ZELTO.ini");
  EXPECT_EQ(JoinPath("/opt/zelto/", "ZELTO.ini"), "/opt/zelto/ZELTO.ini");
  EXPECT_EQ(JoinPath("", "ZELTO.ini"), "ZELTO.ini");
  EXPECT_EQ(JoinPath("/", "x"), "/x");
}

TEST(Paths, Utf8AndPathRoundTrip) {
  const std::string text = "目录/设置 文件.ini";
  EXPECT_EQ(Utf8FromPath(PathFromUtf8(text)), text);
  EXPECT_EQ(PathFromUtf8(text).filename(), PathFromUtf8("设置 文件.ini"));
}

TEST(Paths, ExecutableDirectoryHoldsThisTestProgram) {
  const std::string dir = ExecutableDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_TRUE(PathFromUtf8(dir).is_absolute()) << dir;
  EXPECT_NE(dir.back(), '/');
  EXPECT_EQ(dir.find('\\'), std::string::npos) << dir;  // "/" between parts everywhere
  EXPECT_TRUE(FileExists(JoinPath(dir, ExecutableFileName("test_core")))) << dir;
  EXPECT_EQ(ExecutablePath().parent_path(), PathFromUtf8(dir));
}

TEST(Paths, TemporaryDirectoriesAreNewAndEmpty) {
  const fs::path a = MakeTemporaryDirectory("zelto-tmp-"), b = MakeTemporaryDirectory("zelto-tmp-");
  ASSERT_FALSE(a.empty());
  ASSERT_FALSE(b.empty());
  EXPECT_NE(a, b);
  EXPECT_TRUE(fs::is_empty(a));
  fs::remove(a);
  fs::remove(b);
}

}  // namespace
}  // namespace zelto
