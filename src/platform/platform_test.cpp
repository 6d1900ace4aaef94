#include "platform/platform.h"

#include <gtest/gtest.h>

#ifdef __linux__
#include <sched.h>
#endif

#include <filesystem>
#include <string>
#include <thread>
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

TEST_F(PlatformTest, OnlyExistingFilesOpenAsInput) {
  std::filesystem::create_directory(Path("sub"));
  EXPECT_EQ(OpenInput(Path("sub").c_str()), -1);
  EXPECT_EQ(OpenInput(Path("missing.txt").c_str()), -1);
  EXPECT_EQ(OpenOutput(Path("missing/out.txt").c_str()), -1);
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
