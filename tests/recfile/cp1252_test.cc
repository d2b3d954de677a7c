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

// A malformed byte becomes one "?" and costs nothing after it.
TEST(Cp1252, MalformedUtf8LosesOnlyTheBadBytes) {
  const struct {
    const char* utf8;
    const char* cp1252;
  } kCasi[] = {
      // clang-format off
      {"\xff" "ABCD.TXT", "?ABCD.TXT"},
      {"\xf0" "ABCD", "?ABCD"},  // a four-byte lead before plain letters
      {"\xc3" "A\xc3\xa0", "?A\xe0"},
      {"AB\xe2\x82", "AB??"},   // a sequence cut at the end
      {"\xed\xa0\x80", "???"},  // a surrogate is not UTF-8
      {"\xc0\xaf", "??"},       // nor is an overlong form
      // clang-format on
  };
  for (const auto& c : kCasi) EXPECT_EQ(Cp1252DaUtf8(c.utf8), c.cp1252) << c.utf8;
}

// A name of any bytes as UTF-8: valid UTF-8 kept, every other byte read as Windows-1252.
TEST(Cp1252, AnyBytesBecomeValidUtf8) {
  EXPECT_EQ(Utf8Valido("citt\xC3\xA0 TCU\xE8 \x80\xC3"), "città TCUè €Ã");
  EXPECT_EQ(Utf8Valido("\xed\xa0\x80"), "í\u00A0€");  // a surrogate is not UTF-8
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
