#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/Files.h"

namespace zelto {
namespace {

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/zelto-files-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    for (const std::string& name : Entries()) {
      std::string p = JoinPath(dir_, name);
      if (::unlink(p.c_str()) != 0) ::rmdir(p.c_str());
    }
    ::rmdir(dir_.c_str());
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    DIR* d = ::opendir(dir_.c_str());
    if (!d) return names;
    while (dirent* e = ::readdir(d)) {
      std::string n = e->d_name;
      if (n != "." && n != "..") names.push_back(n);
    }
    ::closedir(d);
    return names;
  }
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
}

TEST_F(FilesTest, FailureLeavesTargetAndDirectoryClean) {
  // A directory where the file should go: the rename fails.
  std::string path = JoinPath(dir_, "busy");
  ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
  std::string error;
  EXPECT_FALSE(WriteFileAtomic(path, "data", error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(Entries(), std::vector<std::string>{"busy"});
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST_F(FilesTest, MissingDirectoryIsAnError) {
  std::string error;
  EXPECT_FALSE(WriteFileAtomic(JoinPath(dir_, "nowhere/file.txt"), "x", error));
  EXPECT_FALSE(error.empty());
}

TEST_F(FilesTest, MissingFilesAndDirectories) {
  std::string bytes = "kept";
  EXPECT_FALSE(ReadFileBytes(JoinPath(dir_, "absent"), bytes));
  EXPECT_EQ(bytes, "kept");
  EXPECT_FALSE(FileExists(JoinPath(dir_, "absent")));
  EXPECT_FALSE(FileExists(dir_));  // a directory is not a file
  EXPECT_FALSE(ReadFileBytes(dir_, bytes));
}

TEST(Paths, JoinPath) {
  EXPECT_EQ(JoinPath("/opt/zelto", "ZELTO.ini"), "/opt/zelto/ZELTO.ini");
  EXPECT_EQ(JoinPath("/opt/zelto/", "ZELTO.ini"), "/opt/zelto/ZELTO.ini");
  EXPECT_EQ(JoinPath("", "ZELTO.ini"), "ZELTO.ini");
  EXPECT_EQ(JoinPath("/", "x"), "/x");
}

TEST(Paths, ExecutableDirectoryHoldsThisTestProgram) {
  std::string dir = ExecutableDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir[0], '/');
  EXPECT_NE(dir.back(), '/');
  EXPECT_TRUE(FileExists(JoinPath(dir, "test_core")));
}

}  // namespace
}  // namespace zelto
