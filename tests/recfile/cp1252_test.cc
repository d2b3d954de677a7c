#include "recfile/cp1252.h"

#include <gtest/gtest.h>

namespace quibold {
namespace {

TEST(Cp1252, RoundTripsEveryByte) {
  std::string tutti;
  for (int b = 1; b < 256; ++b) tutti += static_cast<char>(b);
  EXPECT_EQ(Cp1252DaUtf8(Utf8DaCp1252(tutti)), tutti);
}

TEST(Cp1252, ConvertsAccentsAndTheEuroSign) {
  EXPECT_EQ(Utf8DaCp1252("citt\xE0 \x80"), "città €");
  EXPECT_EQ(Cp1252DaUtf8("Perché €"), "Perch\xE9 \x80");
  EXPECT_EQ(Cp1252DaUtf8("漢"), "?");
}

TEST(Cp1252, UpperCaseFollowsTheCodePage) {
  std::string t = "abc xyz \xE0\xE8\xF7\xFE\x9A\x9C\x9E\xFF 09_";
  MaiuscoloCp1252(t);
  EXPECT_EQ(t, "ABC XYZ \xC0\xC8\xF7\xDE\x8A\x8C\x8E\x9F 09_");
  EXPECT_EQ(MaiuscolaCp1252('\xDF'), '\xDF');  // sharp s has no capital here
  EXPECT_EQ(MaiuscolaCp1252('\0'), '\0');
}

}  // namespace
}  // namespace quibold
