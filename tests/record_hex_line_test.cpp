// Hex record lines: what is written decodes to the same bytes; a refused line
// leaves the destination as it was, a short one zero-fills the rest.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "materials/record_hex_line.h"

namespace gw {
namespace {

TEST(RecordHexLineTest, WrittenLineDecodesToTheSameBytes) {
  std::array<uint8_t, 5> bytes = {0x00, 0x7F, 0x80, 0xAB, 0xFF};
  const std::string line = recordHexLine("MATLBT", 1234, bytes.data(), bytes.size());
  EXPECT_EQ(line, "MATLBT1234=007F80ABFF");
  std::array<uint8_t, 5> out{};
  ASSERT_TRUE(recordHexDecode(line, "MATLBT", out.data(), out.size()));
  EXPECT_EQ(out, bytes);
}

TEST(RecordHexLineTest, DecodesOrRefusesAsTheLineSays) {
  struct Case {
    const char* line;
    bool decoded;
    std::array<uint8_t, 4> out;  // what the destination then holds (it starts as EE EE EE EE)
  };
  const Case cases[] = {
      {"matlbt7=0102", true, {0x01, 0x02, 0x00, 0x00}},          // short: the rest is zero
      {"MATLBT7 == \t01020304", true, {0x01, 0x02, 0x03, 0x04}},  // "=" and blanks skipped
      {"MATLBT7=0102030405", true, {0x01, 0x02, 0x03, 0x04}},     // extra digits ignored
      {"MATLBT7=01\r\n02", true, {0x01, 0x00, 0x00, 0x00}},       // the line ends at CR
      {"MATLBT7=", true, {0x00, 0x00, 0x00, 0x00}},
      {"MATLBT7=01G2", false, {0xEE, 0xEE, 0xEE, 0xEE}},          // a bad digit anywhere
      {"MATLBT7=010", false, {0xEE, 0xEE, 0xEE, 0xEE}},           // half a pair
      {"MATLBT7 0102", false, {0xEE, 0xEE, 0xEE, 0xEE}},          // no "="
      {"FOUNTB7=0102", false, {0xEE, 0xEE, 0xEE, 0xEE}},          // another tag
      {"MAT", false, {0xEE, 0xEE, 0xEE, 0xEE}},
  };
  for (const Case& c : cases) {
    std::array<uint8_t, 4> out;
    out.fill(0xEE);
    EXPECT_EQ(recordHexDecode(c.line, "MATLBT", out.data(), out.size()), c.decoded) << c.line;
    EXPECT_EQ(out, c.out) << c.line;
  }
}

}  // namespace
}  // namespace gw
