#include "recfile/numeri.h"

#include <charconv>
#include <cstdint>
#include <cmath>
#include <system_error>

namespace quibold {

double ValoreNumerico(std::string_view testo) {
  // Archive fields are at most a few dozen characters; a longer run of integer digits keeps its
  // magnitude through an exponent, so that the value never silently shrinks.
  constexpr size_t kCapienza = 96;
  char cifre[kCapienza + 24];
  size_t n = 0;
  long scartate = 0;          // integer digits that did not fit
  uint64_t mantissa = 0;      // the digits as a whole number, while it is exact
  int significative = 0, decimali = 0;
  bool negativo = false, segno = false, punto = false, numero = false;
  for (char c : testo) {
    if (c == ' ' || c == '\t' || c == '\n') continue;
    if ((c == '+' || c == '-') && !segno && !numero && !punto) {
      segno = true;
      negativo = c == '-';
      continue;
    }
    if (c >= '0' && c <= '9') {
      numero = true;
      if (significative < 19) {
        mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
        if (mantissa > 0) ++significative;
        if (punto) ++decimali;
      } else {
        significative = 99;  // too many digits for the exact path
      }
      if (n < kCapienza) {
        cifre[n++] = c;
      } else if (!punto) {
        ++scartate;
      }
      continue;
    }
    if (c == '.' && !punto) {
      punto = true;
      if (n < kCapienza) cifre[n++] = '.';
      continue;
    }
    break;
  }
  if (!numero) return 0.0;
  double valore = 0.0;
  // A whole number below 2^53 divided by an exact power of ten is correctly rounded: the
  // common case of an archive amount needs no general conversion.
  static constexpr double kPotenze[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (significative <= 19 && mantissa < (uint64_t{1} << 53) && decimali <= 22) {
    valore = static_cast<double>(mantissa) / kPotenze[decimali];
    return negativo ? -valore : valore;
  }
  if (scartate > 0) {
    cifre[n++] = 'e';
    n = static_cast<size_t>(std::to_chars(cifre + n, cifre + sizeof cifre, scartate).ptr - cifre);
  }
  if (std::from_chars(cifre, cifre + n, valore).ec == std::errc::result_out_of_range) {
    valore = HUGE_VAL;  // too large for a double: it must not read as 0
  }
  return negativo ? -valore : valore;
}

double Arrotonda(double importo) {
  importo = importo * 1000;
  importo = std::floor(importo + 0.499);
  importo = importo / 1000;
  importo = importo * 100;
  importo = std::floor(importo + 0.499);
  importo = importo / 100;
  return importo;
}

std::string_view Rifilato(std::string_view testo) {
  size_t inizio = testo.find_first_not_of(' ');
  if (inizio == std::string_view::npos) return {};
  size_t fine = testo.find_last_not_of(' ');
  return testo.substr(inizio, fine - inizio + 1);
}

}  // namespace quibold
