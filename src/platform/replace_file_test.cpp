#include "platform/replace_file.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/temporary_name.h"
#include "support/program_runner.h"

namespace grouper::platform {
namespace {

using grouper::testing::MakeTempDir;
using grouper::testing::ReadFile;
using grouper::testing::WriteFile;

class ReplaceFileTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = MakeTempDir(); }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
      names.insert(entry.path().filename().string());
    return names;
  }
  // Writes `bytes` through a ReplacementFile of `target`: the first failing
  // step's reason, else 0.
  static int Replace(const std::string& target, const std::string& bytes) {
    ReplacementFile file;
    if (const int error = file.Create(target); error != 0) return error;
    if (Write(file.fd(), bytes.data(), bytes.size()) != static_cast<long long>(bytes.size()))
      return errno;
    if (const int error = file.Finish(); error != 0) return error;
    return file.Commit();
  }
  std::string dir_;
};

TEST_F(ReplaceFileTest, TheNewFileTakesTheOldOnesPlaceAndNothingElseStays) {
  WriteFile(Path("old.html"), "old");
  struct Case {
    const char* name;
    int mode;  // the old file's, 0 for none
  };
  for (const Case& c : {Case{"old.html", 0640}, Case{"new.html", 0}, Case{"a b.html", 0604}}) {
#ifndef _WIN32
    if (c.mode != 0) {
      WriteFile(Path(c.name), "old");
      ASSERT_EQ(::chmod(Path(c.name).c_str(), c.mode), 0);
    }
#endif
    EXPECT_EQ(Replace(Path(c.name), "new bytes"), 0) << c.name;
    EXPECT_EQ(ReadFile(Path(c.name)), "new bytes") << c.name;
#ifndef _WIN32
    struct stat st;
    ASSERT_EQ(::stat(Path(c.name).c_str(), &st), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(st.st_mode & 07777, c.mode != 0 ? c.mode : 0666 & ~mask) << c.name;
#endif
  }
  EXPECT_EQ(Names(), (std::set<std::string>{"old.html", "new.html", "a b.html"}));
}

TEST_F(ReplaceFileTest, AFailedOrAbandonedRunLeavesTheOldFileAndNoTemporary) {
  WriteFile(Path("page.html"), "old");
  std::filesystem::create_directory(Path("folder.html"));
  struct Case {
    std::string target;
    int create_error;  // Create's reason
    int commit_error;  // Commit's reason (when created), -1 to abandon before it
  };
  for (const Case& c : {
           Case{Path("missing/page.html"), ENOENT, 0},
           Case{Path("folder.html"), 0, EISDIR},
           Case{Path("page.html"), 0, -1},
       }) {
    {
      ReplacementFile file;
      ASSERT_EQ(file.Create(c.target), c.create_error) << c.target;
      if (c.create_error != 0) continue;
      ASSERT_EQ(Write(file.fd(), "new", 3), 3);
      EXPECT_EQ(Exists(file.temporary()), true);
      if (c.commit_error < 0) continue;  // the destructor abandons it
      ASSERT_EQ(file.Finish(), 0);
      EXPECT_EQ(CheckReplaceable(c.target), c.commit_error) << c.target;
      EXPECT_EQ(file.Commit(), c.commit_error) << c.target;
      EXPECT_TRUE(Exists(file.temporary())) << "kept for another try";
    }
    EXPECT_EQ(Names(), (std::set<std::string>{"page.html", "folder.html"})) << c.target;
  }
  EXPECT_EQ(ReadFile(Path("page.html")), "old");
}

TEST_F(ReplaceFileTest, TemporaryNamesAreEachRunsOwnAndNeverALink) {
  ReplacementFile first, second;
  ASSERT_EQ(first.Create(Path("m.out")), 0);
  ASSERT_EQ(second.Create(Path("m.out")), 0);
  EXPECT_NE(first.temporary(), second.temporary());
  unsigned long pid = 0;
  EXPECT_TRUE(IsTemporaryOf(FileNamePart(first.temporary()), "m.out", pid));
  EXPECT_EQ(pid, CurrentProcessId());

  WriteFile(Path("elsewhere"), "keep");
  std::vector<std::string> taken = {"elsewhere"};
#ifndef _WIN32
  std::filesystem::create_symlink(Path("elsewhere"), Path("link.tmp"));
  std::filesystem::create_symlink(Path("nowhere"), Path("dangling.tmp"));
  taken.insert(taken.end(), {"link.tmp", "dangling.tmp"});
#endif
  for (const std::string& name : taken) {
    errno = 0;
    EXPECT_EQ(CreateNewFile(Path(name)), -1) << name;
    EXPECT_EQ(errno, EEXIST) << name;
  }
  EXPECT_EQ(ReadFile(Path("elsewhere")), "keep");
  EXPECT_FALSE(Exists(Path("nowhere")));
}

TEST(TemporaryNameTest, ANameIsRecognisedOnlyInItsOwnForm) {
  const std::string long_name = std::string(95, 'a') + "월.html";  // a cut inside a character
  const std::string made = TemporaryFileName(long_name, 4321, 0xABCDEF, ".tmp");
  EXPECT_EQ(made, "." + std::string(95, 'a') + ".4321.0000000000abcdef.tmp");
  struct Case {
    std::string file;
    std::string name;
    bool recognised;
  };
  for (const Case& c : {
           Case{made, long_name, true}, Case{".m.out.17.0123456789abcdef.old", "m.out", true},
           Case{".m.out.17.0123456789abcdef.bak", "m.out", false},
           Case{".m.out.x7.0123456789abcde.tmp", "m.out", false},
           Case{".m.csv.17.0123456789abcdef.tmp", "m.out", false},
           Case{"m.out.tmp", "m.out", false},  // an older version's fixed name
       }) {
    unsigned long pid = 0;
    EXPECT_EQ(IsTemporaryOf(c.file, c.name, pid), c.recognised) << c.file;
    if (c.recognised && c.name == "m.out") {
      EXPECT_EQ(pid, 17u);
    }
  }
}

TEST_F(ReplaceFileTest, AFolderIsOneHoldersAtATimeAndLeftAsItWas) {
  {
    FolderLock first, second;
    EXPECT_EQ(first.Acquire(dir_, "tool"), 0);
    EXPECT_EQ(second.Acquire(dir_, "tool"), kFolderInUse);
  }
  {
    FolderLock again;
    EXPECT_EQ(again.Acquire(dir_, "tool"), 0);
  }
  EXPECT_EQ(Names(), std::set<std::string>{});
}

#ifndef _WIN32
// A temporary file goes once its writer has ended, and only then.
TEST_F(ReplaceFileTest, OnlyDeadWritersTemporaryFilesAreRemoved) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ASSERT_GT(child, 0);
  ASSERT_EQ(::waitpid(child, nullptr, 0), child);
  const unsigned long dead = static_cast<unsigned long>(child);
  const std::string locked = TemporaryFileName("m.out", dead, 2, ".tmp");
  for (const std::string& name :
       {TemporaryFileName("m.out", dead, 1, ".tmp"), TemporaryFileName("m.html", dead, 1, ".old"),
        locked, TemporaryFileName("other", dead, 1, ".tmp"),
        // a dead run that had this process's number
        TemporaryFileName("m.out", CurrentProcessId(), 3, ".tmp")}) {
    WriteFile(Path(name), "x");
  }
  // Held by a live process of another number (another container's).
  const int holder = ::open(Path(locked).c_str(), O_RDONLY);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  ReplacementFile live;
  ASSERT_EQ(live.Create(Path("m.out")), 0);

  RemoveDeadTemporaries(dir_, {"m.out", "m.html"});
  EXPECT_EQ(Names(), (std::set<std::string>{locked, TemporaryFileName("other", dead, 1, ".tmp"),
                                            std::string(FileNamePart(live.temporary()))}));
  ::close(holder);
}
#endif

}  // namespace
}  // namespace grouper::platform
