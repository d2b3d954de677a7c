// Test support: a small well-formed CUR18 file built by hand, not by the writer: A, B, C, one
// employee's D (with a continued field) and two G records, Z.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "verifica/verifica.h"

namespace quibold::prova {

inline constexpr std::string_view kCfPersona = "RSSMRA85T10A562S";
inline constexpr std::string_view kCfSocieta = "00743110157     ";

// A record from its data: padded to 1897, then "A", CR, LF.
inline std::string Cur18Record(std::string dati) {
  dati.resize(1897, ' ');
  return dati + "A\r\n";
}

// A field: the code and the value padded to 16.
inline std::string Cur18Campo(std::string_view codice, std::string_view valore) {
  std::string v(valore);
  v.resize(16, ' ');
  return std::string(codice) + v;
}

// The data of a record Z that counts `b`, `c`, `d` and `g` records.
inline std::string Cur18Z(long b, long c, long d, long g) {
  std::string z = "Z" + std::string(14, ' ');
  for (long n : {b, c, d, g}) z += std::string(9 - std::to_string(n).size(), '0') + std::to_string(n);
  return z + std::string(18, '0');
}

// The file of an earlier run under the telematic file's name: a record A of this supply, then Z.
inline std::string Cur18Precedente() { return Cur18Record("A" + std::string(14, ' ') + "CUR18") + Cur18Record("Z"); }

inline std::vector<std::string> Cur18Prova() {
  const std::string testa = std::string(kCfSocieta) + "00000001";
  std::string b = "B" + testa + std::string(48, ' ') + "AAAAAA00A00A000A" + " 00";
  b.resize(308, ' ');
  b += "0";
  b.resize(371, ' ');
  b += "00000000000";  // no company as representative
  b.resize(401, ' ');
  // One employee, record C, "1"; the supplier, the commitment's type and date, "1".
  b += "0000000111" + std::string(kCfPersona) + "1" + "01022018" + "1";
  const std::string testaDip = std::string(kCfPersona) + "00001";
  // A full G record: 74 amounts (runs of DB001 codes), and a fiscal code in its second field.
  constexpr int kImporti[][2] = {{1, 5},     {21, 29},   {61, 64},   {71, 74},   {81, 84},   {91, 94},
                                 {106, 107}, {111, 112}, {121, 122}, {141, 143}, {151, 153}, {261, 264},
                                 {271, 274}, {281, 284}, {291, 294}, {306, 307}, {361, 374}};
  std::string g1 = "G" + testa + testaDip + std::string(43, ' ');
  for (const auto& [primo, ultimo] : kImporti) {
    for (int k = primo; k <= ultimo; ++k) {
      char codice[9];
      std::snprintf(codice, sizeof codice, "DB001%03d", k);
      g1 += Cur18Campo(codice, "         1234,50");
      if (k == 1) g1 += Cur18Campo("DB601004", kCfPersona);
    }
  }
  return {
      Cur18Record("A" + std::string(14, ' ') + "CUR1810" + std::string(kCfPersona)),
      Cur18Record(b),
      Cur18Record("C" + testa + std::string(64, ' ') + Cur18Campo("CT001001", kCfSocieta)),
      Cur18Record("D" + testa + testaDip + std::string(23, '0') + std::string(19, ' ') + "1" +
                  Cur18Campo("DA001001", kCfSocieta) + Cur18Campo("DA002001", kCfPersona) +
                  Cur18Campo("DA002002", "ROSSI BIANCHI VE") + Cur18Campo("DA002002", "+RDI")),
      Cur18Record(g1),
      Cur18Record("G" + testa + testaDip + std::string(43, ' ') + Cur18Campo("DN001001", "AB")),
      Cur18Record(Cur18Z(1, 1, 1, 2)),
  };
}

inline std::string Unisci(const std::vector<std::string>& records) {
  std::string file;
  for (const auto& r : records) file += r;
  return file;
}

// "" when the check of `records`, as a whole file, finds no error; else its first finding.
inline std::string ErroriDelControllo(const std::vector<std::string>& records) {
  Verifica v;
  for (const auto& r : records) v.Record(r);
  v.Fine();
  return v.Errori() == 0 ? "" : TestoRilievo(v.Rilievi()[0]);
}

}  // namespace quibold::prova
