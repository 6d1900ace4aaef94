#include "platform/platform.h"

#include <gtest/gtest.h>

#ifdef __linux__
#include <sched.h>
#endif

#include <cerrno>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/program_runner.h"

namespace grouper::platform {
namespace {

using grouper::testing::MakeTempDir;
using grouper::testing::ReadFile;
using grouper::testing::WriteFile;

#ifdef _WIN32
constexpr char kNullDevice[] = "NUL";
#else
constexpr char kNullDevice[] = "/dev/null";
#endif

class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = MakeTempDir(); }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::string dir_;
};

TEST_F(PlatformTest, ASameFileIsRecognisedUnderEveryName) {
  WriteFile(Path("in.txt"), "abc\n");
  WriteFile(Path("twin.txt"), "abc\n");  // equal bytes, another file
  std::filesystem::create_directory(Path("sub"));
  std::filesystem::create_hard_link(Path("in.txt"), Path("sub/hard.txt"));
  struct Case {
    std::string name;
    bool same;
  };
  std::vector<Case> cases = {
      {Path("in.txt"), true},    {Path("sub/../in.txt"), true}, {Path("sub/hard.txt"), true},
      {Path("twin.txt"), false}, {Path("missing.txt"), false},  {Path("sub"), false},
  };
#ifdef _WIN32
  cases.push_back({Path("IN.TXT"), true});
#else
  std::filesystem::create_symlink("../in.txt", Path("sub/soft.txt"));
  cases.push_back({Path("sub/soft.txt"), true});
#endif
  const int fd = OpenInput(Path("in.txt").c_str());
  ASSERT_GE(fd, 0);
  for (const Case& c : cases) EXPECT_EQ(IsSameFile(fd, c.name.c_str()), c.same) << c.name;
  EXPECT_TRUE(Close(fd));
}

TEST_F(PlatformTest, OnlyExistingFilesOpenAsInputAndErrnoSaysWhy) {
  std::filesystem::create_directory(Path("sub"));
#ifdef _WIN32
  const int directory_error = EACCES;  // the runtime refuses to open a directory
#else
  const int directory_error = EISDIR;
#endif
  errno = 0;
  EXPECT_EQ(OpenInput(Path("sub").c_str()), -1);
  EXPECT_EQ(errno, directory_error);
  errno = 0;
  EXPECT_EQ(OpenInput(Path("missing.txt").c_str()), -1);
  EXPECT_EQ(errno, ENOENT);
  errno = 0;
  EXPECT_EQ(OpenOutput(Path("missing/out.txt").c_str()), -1);
  EXPECT_EQ(errno, ENOENT);
}

// A Hangul name with a blank, in UTF-8 ("요양 기록 12월.txt"): the file that
// the system lists has that very name (on Windows whatever the ANSI code page,
// since the names go to the wide calls), and every call finds it.
TEST_F(PlatformTest, AHangulNameReachesTheSystemWhole) {
  const std::string name = "\xec\x9a\x94\xec\x96\x91 \xea\xb8\xb0\xeb\xa1\x9d 12\xec\x9b\x94.txt";
  const std::string path = Path(name);
  const int out = OpenOutput(path.c_str());
  ASSERT_GE(out, 0);
  EXPECT_EQ(Write(out, "x", 1), 1);
  EXPECT_TRUE(Close(out));

  std::vector<std::string> listed;
  for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
    const std::u8string listed_name = entry.path().filename().u8string();
    listed.emplace_back(listed_name.begin(), listed_name.end());
  }
  EXPECT_EQ(listed, std::vector<std::string>{name});

  const int in = OpenInput(path.c_str());
  ASSERT_GE(in, 0);
  EXPECT_TRUE(IsSameFile(in, path.c_str()));
  char byte = 0;
  EXPECT_EQ(Read(in, &byte, 1), 1);
  EXPECT_EQ(byte, 'x');
  EXPECT_TRUE(Close(in));
  RemoveRegularFile(path.c_str());
  EXPECT_TRUE(std::filesystem::is_empty(dir_));
}

// Five nested folders of 60 characters put a file's full path past the 260 of
// a plain Windows path; every call reaches it, by an absolute name written with
// slashes and a "..", and by a name relative to the current directory. (Wine
// takes long plain paths too; a Windows without the long-path setting takes
// only the extended form that the calls give it.)
TEST_F(PlatformTest, AFileDeepInNestedFoldersIsReachedByEveryCall) {
  std::string nested;
  for (char letter = 'a'; letter < 'f'; ++letter) nested += std::string(60, letter) + "/";
  const std::string file = Path(nested + "in.txt");
  ASSERT_GT(file.size(), 300u);

  // Back to the current directory, and the folders removed one by one, deepest
  // first: MinGW's directory listing, which remove_all uses, stops at 260.
  struct Restore {
    std::filesystem::path before = std::filesystem::current_path();
    std::string deepest, top;
    ~Restore() {
      std::error_code ignored;
      std::filesystem::current_path(before, ignored);
      std::filesystem::remove(deepest + "/../in.txt", ignored);
      for (std::string folder = deepest; folder.size() > top.size();
           folder.erase(folder.rfind('/')))
        std::filesystem::remove(folder, ignored);
    }
  } restored{.deepest = Path(nested + "x"), .top = dir_};
  std::filesystem::create_directories(restored.deepest);
  for (const bool relative : {false, true}) {
    std::filesystem::current_path(relative ? dir_ : restored.before.string());
    const std::string prefix = relative ? nested : Path(nested);
    const std::string name = prefix + "x/../in.txt";
    SCOPED_TRACE(name);

    const int out = OpenOutput(name.c_str());
    ASSERT_GE(out, 0) << errno;
    EXPECT_EQ(Write(out, "deep", 4), 4);
    EXPECT_TRUE(Close(out));
    EXPECT_EQ(ReadFile(file), "deep");

    const int in = OpenInput(name.c_str());
    ASSERT_GE(in, 0) << errno;
    EXPECT_TRUE(IsSameFile(in, file.c_str()));
    EXPECT_TRUE(IsSameFile(in, (prefix + "in.txt").c_str()));
    EXPECT_FALSE(IsSameFile(in, (prefix + "x").c_str()));
    EXPECT_TRUE(Close(in));
    errno = 0;
    EXPECT_EQ(OpenInput((prefix + "missing.txt").c_str()), -1);
    EXPECT_EQ(errno, ENOENT);

    RemoveRegularFile((prefix + "x").c_str());
    EXPECT_TRUE(std::filesystem::is_directory(Path(nested + "x")));
    RemoveRegularFile(name.c_str());
    EXPECT_FALSE(std::filesystem::exists(file));
  }
}

// What a program that keeps its files in a folder of their own needs: the
// folder made (once, or found), a whole file put in the place of another, an
// input read twice.
TEST_F(PlatformTest, AFolderIsMadeAndAFileReplacedInIt) {
  const std::string folder = Path("month out");
  EXPECT_TRUE(MakeDirectory(folder.c_str()));
  EXPECT_TRUE(MakeDirectory(folder.c_str()));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  WriteFile(Path("file"), "x");
  errno = 0;
  EXPECT_FALSE(MakeDirectory(Path("file").c_str()));
  EXPECT_EQ(errno, EEXIST);
  errno = 0;
  EXPECT_FALSE(MakeDirectory(Path("missing/sub").c_str()));
  EXPECT_EQ(errno, ENOENT);

  const std::string target = folder + "/m.out";
  WriteFile(target, "old");
  WriteFile(target + ".tmp", "new");
  EXPECT_TRUE(RenameOver((target + ".tmp").c_str(), target.c_str()));
  EXPECT_EQ(ReadFile(target), "new");
  EXPECT_FALSE(std::filesystem::exists(target + ".tmp"));
  errno = 0;
  EXPECT_FALSE(RenameOver((target + ".tmp").c_str(), target.c_str()));
  EXPECT_EQ(errno, ENOENT);

  const int in = OpenInput(target.c_str());
  ASSERT_GE(in, 0);
  char bytes[3];
  EXPECT_EQ(Read(in, bytes, 3), 3);
  EXPECT_EQ(std::string(bytes, 3), "new");
  EXPECT_TRUE(Close(in));
}

TEST_F(PlatformTest, OnlyARegularFileIsRemoved) {
  std::filesystem::create_directory(Path("sub"));
  RemoveRegularFile(Path("sub").c_str());
  RemoveRegularFile(Path("missing.txt").c_str());
  EXPECT_TRUE(std::filesystem::is_directory(Path("sub")));
}

TEST(FileNames, TheLastComponentAndTheConsoleForm) {
  const std::vector<std::pair<std::string, std::string>> parts = {
      {"a/b/c.txt", "c.txt"},    {"c.txt", "c.txt"},   {"a/b/", ""},
#ifdef _WIN32
      {"C:\\x\\y.txt", "y.txt"}, {"C:y.txt", "y.txt"}, {"x\\y/z.txt", "z.txt"},
#else
      {"a\\b.txt", "a\\b.txt"},  // a backslash is part of a POSIX name
#endif
  };
  for (const auto& [path, part] : parts) EXPECT_EQ(FileNamePart(path), part) << path;

  // An ASCII name is the same in every code page; elsewhere than on Windows
  // any bytes stay as they are (a code page 949 name among them).
  for (const std::string name : {"sample.in", "C:\\data\\month 12.txt"}) {
    EXPECT_EQ(NameForConsole(name), name);
    EXPECT_EQ(NameFromConsole(name), name);
  }
#ifndef _WIN32
  EXPECT_EQ(NameForConsole("\xb0\xa1.in"), "\xb0\xa1.in");
  EXPECT_EQ(NameFromConsole("\xb0\xa1.in"), "\xb0\xa1.in");
  char arg0[] = "grouper", arg1[] = "\xb0\xa1.in";
  char* argv[] = {arg0, arg1};
  EXPECT_EQ(Arguments(2, argv), (std::vector<std::string>{"grouper", "\xb0\xa1.in"}));
#endif
}

TEST_F(PlatformTest, FilesCarryBytesUnchanged) {
  // Line ends and the byte 0x1A pass both ways untouched (a text mode would
  // widen LF on writing, and end the input at 0x1A on reading).
  const std::string bytes = std::string("a\r\nb\n\x1a") + "\xb0\xa1\r\r\n" + std::string(1, '\0');
  WriteFile(Path("out.txt"), "a longer file that the opening truncates\n");
  const int out = OpenOutput(Path("out.txt").c_str());
  ASSERT_GE(out, 0);
  EXPECT_EQ(Write(out, bytes.data(), bytes.size()), static_cast<long long>(bytes.size()));
  EXPECT_TRUE(Close(out));
  EXPECT_EQ(ReadFile(Path("out.txt")), bytes);

  const int in = OpenInput(Path("out.txt").c_str());
  ASSERT_GE(in, 0);
  std::string read(64, '\0');
  const long long n = Read(in, read.data(), read.size());
  EXPECT_EQ(read.substr(0, n < 0 ? 0 : static_cast<std::size_t>(n)), bytes);
  EXPECT_EQ(Read(in, read.data(), read.size()), 0);
  EXPECT_TRUE(Close(in));
  EXPECT_EQ(Read(-1, read.data(), read.size()), -1);
  EXPECT_EQ(Write(-1, bytes.data(), bytes.size()), -1);
}

TEST_F(PlatformTest, NeitherAFileNorTheNullDeviceIsATerminal) {
  // Console lines are flushed one by one only on a terminal; the null device
  // counts as a character device to some runtimes, but no one reads it.
  WriteFile(Path("in.txt"), "abc\n");
  for (const std::string& name : {Path("in.txt"), std::string(kNullDevice)}) {
    const int fd = OpenInput(name.c_str());
    ASSERT_GE(fd, 0) << name;
    EXPECT_FALSE(IsTerminal(fd)) << name;
    Close(fd);
  }
}

// The batch takes a second worker only where the process may use a second
// processor: a process pinned to one (taskset, a container's cpuset) has one.
TEST(UsableProcessors, FollowTheAffinity) {
  EXPECT_GE(UsableProcessors(), 1);
#ifdef __linux__
  std::thread pinned([] {
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu() >= 0 ? sched_getcpu() : 0, &one);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    EXPECT_EQ(UsableProcessors(), 1);
  });
  pinned.join();
#endif
}

}  // namespace
}  // namespace grouper::platform
