// Numbers as the archive stores them: text read as a number, and the rounding of amounts to cents.
#pragma once

#include <string_view>

namespace quibold {

// Reads text as a number: blanks (space, tab, line feed) are skipped wherever they stand, an
// optional sign may come before the first digit, then digits and at most one "."; the first
// other character ends the number. Empty or non-numeric text reads as 0. Locale-independent.
double ValoreNumerico(std::string_view testo);

// The text read as ValoreNumerico reads it, in whole cents, when it has at most two decimals and
// its value is below 10^10 in size: then the value is the double nearest to cents / 100, and
// Arrotonda leaves it as it is. False for any other text.
bool Centesimi(std::string_view testo, long long& centesimi);

// Rounds an amount to cents in two stages (thousandths, then hundredths), each by adding
// 0.499 and taking the floor: an exact half goes down for positive amounts.
double Arrotonda(double importo);

// The text without leading and trailing blanks (spaces only, as the archive pads with spaces).
std::string_view Rifilato(std::string_view testo);

}  // namespace quibold
