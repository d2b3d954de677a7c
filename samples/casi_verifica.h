// The sample telematic file of the check's cases: a company's supply as another program may write
// it, each of whose employees shows one way of writing a field: one the agency accepts although
// this program writes it otherwise, or one the check reports, as an error or a warning.
// `quibold verifica` over it says what the check says of each.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "verifica/verifica.h"

namespace quibold::esempio {

struct CasoVerifica {
  std::string_view cosa;    // what the case shows, as the file's reader would say it
  char record;              // the record written otherwise: 'A', or the employee's 'D' or 'G'
  std::string_view codice;  // the field written otherwise; empty for a positional one
  int posizione;            // of a positional one, in its record
  // The field's value area, or the positional characters, as written; the employee's code
  // (DA002001) is written with its first 15 characters, and gets its check character.
  std::string_view valore;
  std::optional<Gravita> rilievo;  // what the check says; nothing when it accepts it
};

// The cases, one employee each, in the file's order.
std::span<const CasoVerifica> CasiVerifica();

// The file: records A and B, then for each case one employee (a record D and a record G), record
// Z. Its employee is a man born in Rome on 11/12/1985, and each fiscal code agrees with its
// record unless the case says otherwise.
std::string FileCasiVerifica();

// Where quibold_genera writes it under a drive root: C:\telematici\CASI18.
inline const std::filesystem::path kFileCasiVerifica = std::filesystem::path("c") / "telematici" / "CASI18";

}  // namespace quibold::esempio
