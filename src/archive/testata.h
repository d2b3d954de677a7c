// The certification header file: record 1 holds the header fields (`Testata`), record 2 the kind
// of certification and the number of employee records.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quibold {

// Header fields by index, 1 to 44 filled; 0 and 45-50 stay empty.
using Testata = std::array<std::string, 51>;

struct CampoTestata {
  int indice;
  int posizione;  // 1-based, within the 1200-byte record
  int lunghezza;
};

// The characters of a record from a 1-based position, as many as the record still holds.
std::string_view Posizioni(std::string_view record, int posizione, int lunghezza);

// Every header field, in index order.
extern const std::array<CampoTestata, 44> kCampiTestata;

// Splits header record 1 into its fields; a field of NUL characters only becomes blanks of the
// same width, and every field is upper-cased (Windows-1252).
Testata SeparaTestata(std::string_view record);

struct Testata2 {
  int tipo;        // 2 marks a self-employment certification
  long dipendenti; // number of employee records in the employee file
};

// Reads header record 2.
Testata2 LeggiTestata2(std::string_view record);

}  // namespace quibold
