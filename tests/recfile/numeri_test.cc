#include "recfile/numeri.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string_view>
#include <utility>

namespace quibold {
namespace {

// Digits with one decimal point, and a sign before the first digit; blanks are skipped wherever
// they stand, the first other character ends the number, and a text without one reads zero.
TEST(ValoreNumerico, ReadsTheNumberTheTextBeginsWith) {
  // clang-format off
  const std::pair<std::string_view, double> casi[] = {
      {"1234.50", 1234.5}, {"   12.50     ", 12.5}, {".5", 0.5}, {"5.", 5.0},
      {"0.1", 0.1},  // correctly rounded, as the compiler reads it
      {"1 2 3", 123}, {"\t1\n2", 12}, {" - 5", -5},
      {"12,50", 12}, {"1e5", 1}, {"1.2.3", 1.2}, {"12abc", 12}, {"5+3", 5},
      {"-12.75", -12.75}, {"+7", 7}, {"--5", 0}, {"-", 0}, {"1-2", 1},
      {"", 0}, {"            ", 0}, {"ABC", 0}, {".", 0}, {std::string_view("\0\0\0", 3), 0},
      {"     .      ", 0},  // a point alone in an amount's field
  };
  // clang-format on
  for (const auto& [testo, valore] : casi) EXPECT_EQ(ValoreNumerico(testo), valore) << '"' << testo << '"';
  // Long digit runs keep their magnitude.
  EXPECT_GT(ValoreNumerico(std::string(100, '9')), 9e99);
  EXPECT_EQ(ValoreNumerico(std::string(400, '9')), HUGE_VAL);
}

TEST(ValoreNumerico, AgreesWithTheGeneralConversion) {
  // The exact path for short numbers must give the very double the full conversion gives.
  for (const char* t : {"0.1", "0.29", "1234.56", "9999999999.99", "0.000001", "123456789012345678",
                        "1.00000000000000000001", "9007199254740993", "000000000012.30", "72057594037927935.5"}) {
    double atteso = 0;
    std::string_view v(t);
    std::from_chars(v.data(), v.data() + v.size(), atteso);
    EXPECT_EQ(ValoreNumerico(t), atteso) << t;
  }
}

// Amounts of the usual shapes are read in a shorter way: the same double as the digits handed
// to the library's conversion, blanks left out and the number ended at a second point.
TEST(ValoreNumerico, ShortTextsAgreeWithTheGeneralConversion) {
  std::mt19937 caso(12);
  const std::string_view caratteri = "0123456789  .";
  char testo[16], cifre[16];
  for (int i = 0; i < 100000; ++i) {
    const size_t lunghezza = caso() % 17;
    size_t quante = 0;
    bool punto = false, fine = false;
    for (size_t k = 0; k < lunghezza; ++k) {
      const char c = testo[k] = caratteri[caso() % caratteri.size()];
      fine = fine || (c == '.' && punto);
      punto = punto || c == '.';
      if (!fine && c != ' ') cifre[quante++] = c;
    }
    double atteso = 0;
    std::from_chars(cifre, cifre + quante, atteso);
    const std::string_view t(testo, lunghezza);
    ASSERT_EQ(ValoreNumerico(t), atteso) << '"' << t << '"';
  }
}

// The test for a number above 0 reads as ValoreNumerico reads, signs and long runs included.
TEST(Positivo, AgreesWithTheReadingAboveZero) {
  std::mt19937 caso(7);
  const std::string_view caratteri = "0000123456789  .-+x";
  for (int i = 0; i < 50000; ++i) {
    std::string t(caso() % 26, ' ');
    for (char& c : t) c = caratteri[caso() % caratteri.size()];
    ASSERT_EQ(Positivo(t), ValoreNumerico(t) > 0) << '"' << t << '"';
  }
}

TEST(Arrotonda, TwoStagesEachAdding0499) {
  const std::pair<double, double> casi[] = {{10.125, 10.12},      {10.126, 10.13}, {10.1256, 10.13}, {-10.125, -10.13},
                                            {0.125, 0.12},        {0.1251, 0.12},  {0.1256, 0.13},   {0, 0},
                                            {0.1 + 0.2 - 0.3, 0}, {1234.5, 1234.5}};
  for (const auto& [valore, arrotondato] : casi) EXPECT_EQ(Arrotonda(valore), arrotondato) << valore;
}

// The shortcut for amounts already in cents, and the floor without a library call, must give
// bit for bit what the six steps with the library's floor give.
TEST(Arrotonda, AgreesBitForBitWithTheSixSteps) {
  auto passi = [](double x) {
    x = std::floor(x * 1000 + 0.499) / 1000;
    return std::floor(x * 100 + 0.499) / 100;
  };
  std::mt19937_64 caso(2018);
  for (int i = 0; i < 100000; ++i) {
    const long long m = static_cast<long long>(caso() % 2000000000000ULL) - 1000000000000LL;
    const double c = static_cast<double>(m) / 100;
    for (double x : {c, static_cast<double>(m) / 1000, std::nextafter(c, 0.0), c + 0.005, c * 1e4, -0.0}) {
      ASSERT_EQ(std::bit_cast<uint64_t>(Arrotonda(x)), std::bit_cast<uint64_t>(passi(x))) << x;
    }
  }
}

TEST(Rifilato, RemovesSpacesOnlyAtBothEnds) {
  EXPECT_EQ(Rifilato("  ROSSI SRL  "), "ROSSI SRL");
  EXPECT_EQ(Rifilato("    "), "");
  EXPECT_EQ(Rifilato("\tX"), "\tX");
}

}  // namespace
}  // namespace quibold
