#include "month_files.h"

#include <gtest/gtest.h>

#include <filesystem>
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

// A product is the old file until the new one is whole, and a product that is
// never finished leaves nothing behind.
TEST(MonthFilesTest, AProductReplacesTheOldOneOnlyWhenWhole) {
  const std::string dir = MakeTempDir();
  const std::string path = dir + "/m.out";
  WriteFile(path, "old");
  {
    PendingFile file;
    ASSERT_TRUE(file.Open(path));
    ASSERT_EQ(platform::Write(file.fd(), "new", 3), 3);
    ASSERT_EQ(file.Close(), 0);
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(file.Replace(), 0);
  }
  EXPECT_EQ(ReadFile(path), "new");
  {
    PendingFile abandoned;
    ASSERT_TRUE(abandoned.Open(path));
    ASSERT_EQ(platform::Write(abandoned.fd(), "half", 4), 4);
  }
  EXPECT_EQ(ReadFile(path), "new");
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++entries;
  EXPECT_EQ(entries, 1);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace grouper::month
