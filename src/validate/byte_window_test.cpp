// The word-at-a-time byte test against the byte-by-byte comparison it stands
// for: every byte value in every lane, with neighbours that would carry or
// borrow into it if the lanes were not kept apart.
#include "validate/byte_window.h"

#include <gtest/gtest.h>

#include <cstring>

namespace grouper {
namespace {

TEST(ByteWindow, AgreesWithByteByByteComparisonInEveryLane) {
  // The second pair repeats the first, or stands apart from it.
  struct Bounds {
    unsigned lo, hi, lo_2, hi_2;
  } bounds[] = {{'0', '1', '0', '1'}, {'1', '7', '1', '7'}, {' ', ' ', ' ', ' '},
                {'0', '9', '0', '9'}, {0, 0x7F, 0, 0x7F},   {0x7F, 0x7F, 0x7F, 0x7F},
                {'0', '4', '8', '8'}, {'3', '3', '0', '1'}, {0, 0, 0x7F, 0x7F},
                {'0', '3', '0', '3'}, {'2', '3', '2', '3'}, {'1', '2', '1', '2'},
                {'0', '2', '0', '2'}, {'0', '5', '0', '5'}, {' ', '/', ' ', '/'}};
  const unsigned char neighbours[] = {0x00, 0x30, 0x7F, 0x80, 0xFF};
  // The other byte's bounds 0 to 7 form an aligned block, so a window whose
  // tested byte has such bounds too takes the test without carries.
  for (unsigned other_hi : {'9', '7'}) {
    for (const Bounds& b : bounds) {
      for (std::size_t lane = 0; lane < 16; ++lane) {
        // Two words from offset 3: the tested byte and, two bytes on, a byte
        // that always holds, so a false "outside" from a neighbour shows.
        ByteWindow window;
        window.start = 3;
        window.words = 2;
        window.Bound(3 + lane, b.lo, b.hi, b.lo_2, b.hi_2);
        const std::size_t other = 3 + (lane + 2) % 16;
        window.Bound(other, '0', other_hi);
        for (unsigned char neighbour : neighbours) {
          for (unsigned value = 0; value < 256; ++value) {
            unsigned char object[24];
            std::memset(object, neighbour, sizeof object);
            object[3 + lane] = static_cast<unsigned char>(value);
            object[other] = '5';
            const bool within =
                (value >= b.lo && value <= b.hi) || (value >= b.lo_2 && value <= b.hi_2);
            ASSERT_EQ(WindowHolds(window, object), within)
                << "lane " << lane << " value " << value << " neighbour " << int{neighbour};
            ASSERT_TRUE(AnyByteWithin(window, object));
            object[other] = 'x';
            ASSERT_FALSE(WindowHolds(window, object));
            ASSERT_EQ(AnyByteWithin(window, object), within)
                << "lane " << lane << " value " << value << " neighbour " << int{neighbour};
          }
        }
      }
    }
  }
}

// The test above covers the three roads (aligned blocks, a distance by XOR,
// the general test with carries) only if these bounds take the roads named.
TEST(ByteWindow, EachBoundsTakeTheirRoad) {
  enum Road { kAligned, kXor, kCarries };
  struct {
    unsigned lo, hi;
    Road road;
  } cases[] = {{'0', '1', kAligned}, {' ', ' ', kAligned}, {'0', '3', kAligned},
               {'2', '3', kAligned}, {0, 0x7F, kAligned},  {'0', '9', kXor},
               {'0', '2', kXor},     {'0', '5', kXor},     {'1', '1', kAligned},
               {'1', '2', kCarries}, {'1', '7', kCarries}, {'1', '3', kCarries}};
  for (const auto& c : cases) {
    ByteWindow window;
    window.words = 1;
    window.Bound(0, c.lo, c.hi);
    const Road road = !window.needs_carries[0]       ? kAligned
                      : !window.needs_subtraction[0] ? kXor
                                                     : kCarries;
    EXPECT_EQ(road, c.road) << c.lo << ".." << c.hi;
  }
  ByteWindow window;
  window.words = 1;
  window.Bound(0, '0', '4', '8', '8');
  EXPECT_TRUE(window.needs_subtraction[0]);
}

TEST(ByteWindow, UntestedWordsAndBytesAreIgnored) {
  ByteWindow window;
  window.start = 0;
  window.words = 3;
  window.Bound(17, '1', '1');  // the third word only
  unsigned char object[24];
  std::memset(object, 0xFF, sizeof object);
  object[17] = '1';
  EXPECT_TRUE(WindowHolds(window, object));
  EXPECT_TRUE(AnyByteWithin(window, object));
  object[17] = '0';
  EXPECT_FALSE(WindowHolds(window, object));
  EXPECT_FALSE(AnyByteWithin(window, object));
}

}  // namespace
}  // namespace grouper
