// Check characters of Italian fiscal codes: the 16-character code of a person and the 11-digit
// code of a company (the VAT-number form).
#pragma once

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

}  // namespace quibold
