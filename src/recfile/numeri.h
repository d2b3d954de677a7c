// Numbers as the archive stores them: text read as a number, and the rounding of amounts to cents.
#pragma once

#include <array>
#include <string_view>

namespace quibold {

// Reads text as a number: blanks (space, tab, line feed) are skipped wherever they stand, an
// optional sign may come before the first digit, then digits and at most one "."; the first
// other character ends the number. Empty or non-numeric text reads as 0. Locale-independent.
double ValoreNumerico(std::string_view testo);
// Whether the text reads as a number above 0: ValoreNumerico(testo) > 0, without the division.
bool Positivo(std::string_view testo);

// An amount of the usual shape (8 to 16 characters: blanks around digits with at most one
// point, two decimals at most, a whole part below ten billion) as its digits: the whole part
// without leading zeros (empty for 0) and the two digits of its cents. It reads, as
// ValoreNumerico reads it, as the double nearest to cents / 100, positive unless both are zero.
// False for any other text.
[[nodiscard]] bool CifreImporto(std::string_view testo, std::string_view& intere, std::array<char, 2>& centesimi);

// Rounds an amount to cents in two stages (thousandths, then hundredths), each by adding
// 0.499 and taking the floor: an exact half goes down for positive amounts.
double Arrotonda(double importo);

// The text without leading and trailing blanks (spaces only, as the archive pads with spaces).
std::string_view Rifilato(std::string_view testo);

}  // namespace quibold
