#include "recfile/numeri.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace quibold {

double ValoreNumerico(std::string_view testo) {
  // Archive fields are at most a few dozen characters; a longer run of integer digits keeps its
  // magnitude through an exponent, so that the value never silently shrinks.
  constexpr size_t kCapienza = 96;
  char cifre[kCapienza + 24];
  size_t n = 0;
  long scartate = 0;  // integer digits that did not fit
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
  if (scartate > 0) {
    cifre[n++] = 'e';
    n = static_cast<size_t>(std::to_chars(cifre + n, cifre + sizeof cifre, scartate).ptr - cifre);
  }
  double valore = 0.0;
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
