#include "month_files.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "platform/platform.h"
#include "support/program_runner.h"

namespace grouper::month {
namespace {

using testing::MakeTempDir;
using testing::ReadFile;
using testing::WriteFile;

TEST(MonthFilesTest, TheFolderIsNamedAfterTheFileBesideIt) {
  struct Case {
    const char* input;
    const char* stem;
    const char* folder;
  };
  const std::string s(1, platform::kPathSeparator);
  for (const Case& c : {
           Case{"2026년 12월.txt", "2026년 12월", "2026년 12월_grouper"},
           Case{"/a b/월.v2.in", "월.v2", "/a b/월.v2_grouper"},
           Case{"/a.b/month", "month", "/a.b/month_grouper"},  // a dot in the folder only
           Case{"/a/.month", ".month", "/a/.month_grouper"},
           Case{"/a/month.", "month", "/a/month_grouper"},
       }) {
    EXPECT_EQ(Stem(c.input), c.stem) << c.input;
    EXPECT_EQ(FolderBeside(c.input), c.folder) << c.input;
  }
  const auto paths = ProductPaths("/x/m_grouper", "m");
  EXPECT_EQ(paths[kResult], "/x/m_grouper" + s + "m.out");
  EXPECT_EQ(paths[kExplanation], "/x/m_grouper" + s + "m.csv");
  EXPECT_EQ(paths[kReport], "/x/m_grouper" + s + "m.html");
}

class MonthSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = MakeTempDir();
    paths_ = ProductPaths(dir_, "m");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  // The new set, written and finished: "new 0", "new 1", "new 2".
  void Write(std::array<platform::ReplacementFile, kProducts>& files) {
    for (int p = 0; p < kProducts; ++p) {
      ASSERT_EQ(files[p].Create(paths_[p]), 0);
      const std::string bytes = "new " + std::to_string(p);
      ASSERT_EQ(platform::Write(files[p].fd(), bytes.data(), bytes.size()), 5);
      ASSERT_EQ(files[p].Finish(), 0);
    }
  }
  // What each product holds ("" for none, "dir" for a folder), and every
  // name in the folder.
  std::array<std::string, kProducts> Contents() const {
    std::array<std::string, kProducts> found;
    for (int p = 0; p < kProducts; ++p) {
      found[p] = std::filesystem::is_directory(paths_[p]) ? "dir"
                 : platform::Exists(paths_[p])            ? ReadFile(paths_[p])
                                                          : "";
    }
    return found;
  }
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
      names.insert(entry.path().filename().string());
    return names;
  }
#ifndef _WIN32
  static bool CanRunWithoutLinks() {
    std::FILE* setting = std::fopen("/proc/sys/fs/protected_hardlinks", "r");
    const bool on = setting != nullptr && std::fgetc(setting) == '1';
    if (setting != nullptr) std::fclose(setting);
    return on && ::geteuid() == 0 && ::getpwnam("nobody") != nullptr;
  }
  // `run` in a child process of the user nobody, to whom the folder is
  // given: the old files stay root's.
  template <typename Run>
  bool WithoutLinks(const Run& run) {
    const passwd* nobody = ::getpwnam("nobody");
    if (::chown(dir_.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) return false;
    const pid_t child = ::fork();
    if (child == 0) {
      const bool held = ::setgid(nobody->pw_gid) == 0 && ::setuid(nobody->pw_uid) == 0 && run();
      ::_exit(held ? 0 : 1);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
#else
  static bool CanRunWithoutLinks() {
    return false;
  }
  template <typename Run>
  bool WithoutLinks(const Run&) {
    return false;
  }
#endif
  std::string dir_;
  std::array<std::string, kProducts> paths_;
};

// A file in the way is found before any rename; a rename that fails after
// others succeeded puts the old files back (also removing a new file where
// there was none). Where the old files cannot be given a second name by a
// link (FAT on Windows; here a process that may rename them but, with
// protected_hardlinks, not link them), they are moved aside and back.
TEST_F(MonthSetTest, TheThreeFilesAreReplacedTogetherOrNotAtAll) {
  struct Case {
    const char* what;
    std::array<const char*, kProducts> old;  // nullptr: none; "dir": a folder
    int lost_temporary;                      // whose temporary file vanishes, -1 for none
    int failing;                             // the product that fails, -1 for none
    int error;
    bool without_links = false;
  };
  for (const Case& c : {
           Case{"nothing in the way", {"o0", "o1", nullptr}, -1, -1, 0},
           Case{"a folder at the page", {"o0", "o1", "dir"}, -1, kReport, EISDIR},
           Case{"the table's rename fails", {"o0", "o1", "o2"}, kExplanation, kExplanation, ENOENT},
           Case{"the page's rename fails", {"o0", nullptr, nullptr}, kReport, kReport, ENOENT},
           Case{"no links", {"o0", "o1", nullptr}, -1, -1, 0, true},
           Case{"no links, the page's rename fails",
                {"o0", "o1", "o2"},
                kReport,
                kReport,
                ENOENT,
                true},
       }) {
    if (c.without_links && !CanRunWithoutLinks()) {
      std::printf("skipped: %s (needs root and protected_hardlinks, on Linux)\n", c.what);
      continue;
    }
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directory(dir_);
    std::array<std::string, kProducts> before;
    for (int p = 0; p < kProducts; ++p) {
      before[p] = c.old[p] == nullptr ? "" : c.old[p];
      if (before[p] == "dir")
        std::filesystem::create_directory(paths_[p]);
      else if (!before[p].empty())
        WriteFile(paths_[p], before[p]);
    }
    const auto replace = [&] {
      std::array<platform::ReplacementFile, kProducts> files;
      Write(files);
      if (c.lost_temporary >= 0) platform::RemoveFile(files[c.lost_temporary].temporary());
      const SetFailure failure = ReplaceSet(dir_, files);
      return failure.error == c.error && failure.restored &&
             failure.path == (c.failing < 0 ? "" : paths_[c.failing]);
    };
    EXPECT_TRUE(c.without_links ? WithoutLinks(replace) : replace()) << c.what;
    const std::array<std::string, kProducts> expected =
        c.failing < 0 ? std::array<std::string, kProducts>{"new 0", "new 1", "new 2"} : before;
    EXPECT_EQ(Contents(), expected) << c.what;
    std::set<std::string> names;
    for (int p = 0; p < kProducts; ++p) {
      if (!expected[p].empty()) names.insert(std::string(platform::FileNamePart(paths_[p])));
    }
    EXPECT_EQ(Names(), names) << c.what;
  }
}

// A run cut between its renames is tested end to end (month_faults, with
// the test hook); a journal that is not one is only removed.
TEST_F(MonthSetTest, AJournalThatIsNotOneIsRemoved) {
  for (const char* text : {"grouper-month journal 1\n9 m.out\n", "x\n", ""}) {
    WriteFile(dir_ + "/" + kJournalName, text);
    SetFailure failure;
    EXPECT_EQ(CompleteInterruptedSet(dir_, failure), Recovery::kNothingToDo) << text;
    EXPECT_EQ(Names(), std::set<std::string>{}) << text;
  }
}

}  // namespace
}  // namespace grouper::month
