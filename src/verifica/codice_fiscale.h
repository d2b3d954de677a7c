// Check characters of Italian fiscal codes: the 16-character code of a person and the 11-digit
// code of a company (the VAT-number form).
#pragma once

#include <optional>
#include <string_view>

namespace quibold {

// The check letter of a person's code from its first 15 characters (capital letters and
// digits); '\0' when `primi15` is not 15 such characters.
char CarattereControlloCF(std::string_view primi15);

// The check digit of an 11-digit code from its first 10 digits; '\0' when `prime10` is not 10
// digits.
char CifraControlloPartitaIva(std::string_view prime10);

enum class EsitoCF {
  Valido,
  Mancante,             // blank
  NumericoNon11,        // digits only, but not 11 of them
  PersonaleNon16,       // not digits only, and not 16 characters
  CaratteriNonAmmessi,  // 16 characters, not all capital letters and digits
  ControlloErrato,      // the last character is not the check character
};

// Checks a code as a field holds it: blanks around it are ignored.
EsitoCF ControllaCF(std::string_view codice);

// What a person's code says of the person: the year of birth (its last two digits), the month,
// the day and the sex. Its digit places (7-8, 10-11, 13-15) may hold the letters that stand for
// digits in a code made unique among people born alike (L M N P Q R S T U V for 0 to 9).
struct NascitaCF {
  int anno;    // 0 to 99
  int mese;    // 1 to 12
  int giorno;  // 1 to 31
  bool donna;  // the day is written with 40 added
};
// Nothing when the first 15 characters of `codice` do not hold them: a letter where a digit goes
// or a digit where a letter goes, a month letter not of the twelve (A B C D E H L M P R S T), a
// day other than 1-31 or 41-71.
std::optional<NascitaCF> NascitaDaCF(std::string_view codice);

}  // namespace quibold
