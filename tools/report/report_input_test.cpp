// The report's reader cuts a file into the very reads of the batch's
// LineReader, whatever the size of its blocks, hashes every byte it read
// once, and names the system's reason when a read fails.
#include "report_input.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "batch/byte_io.h"
#include "line/reads.h"
#include "platform/platform.h"
#include "support/program_runner.h"

namespace grouper::report {
namespace {

template <typename Reader>
std::vector<std::string> Reads(Reader& reader) {
  std::vector<std::string> reads;
  char bytes[kLineBufferSize];
  for (std::size_t n; (n = reader.ReadLine(bytes)) > 0;) reads.emplace_back(bytes, n);
  return reads;
}

TEST(ReportInput, ReadsAsTheBatchAndHashesEveryByteOnce) {
  const std::string dir = testing::MakeTempDir();
  const std::string path = dir + "/in";
  // Lines of every kind of read: short, CR LF, a NUL, exactly 1023 bytes with
  // and without a line feed, longer than one read, and a last one unended.
  const std::string content = "abc\n\r\n" + std::string("x\0y\n", 4) + std::string(1022, 'a') +
                              "\n" + std::string(1023, 'b') + "\n" + std::string(2500, 'c') +
                              "\r\n" + "last";
  testing::WriteFile(path, content);
  Sha256 whole;
  whole.Add(content.data(), content.size());
  const std::string digest = whole.HexDigest();

  const int batch_fd = platform::OpenInput(path.c_str());
  LineReader batch(batch_fd);
  const std::vector<std::string> expected = Reads(batch);
  platform::Close(batch_fd);
  ASSERT_EQ(expected.size(), 10u);

  for (const std::size_t block : {std::size_t{1}, std::size_t{7}, std::size_t{1023},
                                  std::size_t{1024}, std::size_t{1} << 20}) {
    const int fd = platform::OpenInput(path.c_str());
    ReportInput input(fd, block);
    EXPECT_EQ(Reads(input), expected) << "blocks of " << block;
    EXPECT_EQ(input.error(), 0);
    EXPECT_EQ(input.size(), content.size());
    EXPECT_EQ(input.Sha256HexDigest(), digest) << "blocks of " << block;
    platform::Close(fd);
  }

  const int write_only = platform::OpenOutput((dir + "/out").c_str());
  ReportInput unreadable(write_only);
  char bytes[kLineBufferSize];
  EXPECT_EQ(unreadable.ReadLine(bytes), 0u);
  EXPECT_EQ(unreadable.error(), EBADF);
  platform::Close(write_only);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace grouper::report
