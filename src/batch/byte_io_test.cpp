#include "batch/byte_io.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace grouper {
namespace {

using platform::Close;

int MakePipe(int fds[2]) {
#ifdef _WIN32
  return _pipe(fds, 1 << 16, _O_BINARY);
#else
  return pipe(fds);
#endif
}

// Reads every line of `input` through a pipe, with a small block so that lines
// straddle blocks.
std::vector<std::string> ReadAll(const std::string& input, std::size_t block) {
  int fds[2];
  EXPECT_EQ(MakePipe(fds), 0);
  std::thread writer([&] {
    std::size_t done = 0;
    while (done < input.size()) {
      const long long n = platform::Write(fds[1], input.data() + done, input.size() - done);
      ASSERT_GT(n, 0);
      done += static_cast<std::size_t>(n);
    }
    Close(fds[1]);
  });
  std::vector<std::string> lines;
  LineReader reader(fds[0], block);
  char buffer[1024];
  for (;;) {
    std::memset(buffer, 0x55, sizeof buffer);
    const std::size_t n = reader.ReadLine(buffer);
    if (n == 0) break;
    EXPECT_EQ(buffer[n], 0x55) << "wrote past the bytes read";
    lines.emplace_back(buffer, n);
  }
  writer.join();
  Close(fds[0]);
  EXPECT_FALSE(reader.failed());
  return lines;
}

TEST(LineReader, SplitsLikeFgetsWithA1024ByteBuffer) {
  for (std::size_t block : {7u, 1000u, 1u << 20}) {
    const std::string long_line(1500, 'a');
    const auto lines = ReadAll("one\r\ntwo\n\n" + long_line + "\nlast", block);
    ASSERT_EQ(lines.size(), 6u) << block;
    EXPECT_EQ(lines[0], "one\r\n");
    EXPECT_EQ(lines[1], "two\n");
    EXPECT_EQ(lines[2], "\n");
    EXPECT_EQ(lines[3], std::string(1023, 'a'));
    EXPECT_EQ(lines[4], std::string(477, 'a') + "\n");
    EXPECT_EQ(lines[5], "last");
  }
  // A line of exactly 1023 bytes leaves its line feed to a read of its own.
  const auto lines = ReadAll(std::string(1023, 'b') + "\nc\n", 64);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], "\n");
  // NUL bytes are data like any other.
  const auto nul = ReadAll(std::string("a\0b\n", 4), 2);
  ASSERT_EQ(nul.size(), 1u);
  EXPECT_EQ(nul[0], std::string("a\0b\n", 4));
  EXPECT_TRUE(ReadAll("", 16).empty());
}

TEST(ByteWriter, WritesEverythingInOrderAndReportsFailure) {
  int fds[2];
  ASSERT_EQ(MakePipe(fds), 0);
  std::string received;
  std::thread reader([&] {
    char buffer[4096];
    long long n;
    while ((n = platform::Read(fds[0], buffer, sizeof buffer)) > 0) {
      received.append(buffer, static_cast<std::size_t>(n));
    }
  });
  {
    ByteWriter writer(fds[1], 16);
    std::string expected;
    for (int i = 0; i < 100; ++i) {
      const std::string piece(static_cast<std::size_t>(i % 40), static_cast<char>('a' + i % 26));
      writer.Write(piece.data(), piece.size());
      expected += piece;
    }
    EXPECT_TRUE(writer.Flush());
    Close(fds[1]);
    reader.join();
    EXPECT_EQ(received, expected);
  }
  Close(fds[0]);

  ByteWriter broken(-1, 16);
  broken.Write("abc", 3);
  EXPECT_FALSE(broken.Flush());
  EXPECT_TRUE(broken.failed());
  EXPECT_NE(broken.error(), 0);
#ifndef _WIN32
  // The system's reason is kept: a full disk is ENOSPC, not just a failure.
  const int full = platform::OpenOutput("/dev/full");
  ASSERT_GE(full, 0);
  ByteWriter writer(full, 16);
  writer.Write("0123456789abcdefXYZ", 19);
  EXPECT_FALSE(writer.Flush());
  EXPECT_EQ(writer.error(), ENOSPC);
  Close(full);
#endif
}

}  // namespace
}  // namespace grouper
