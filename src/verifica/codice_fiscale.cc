#include "verifica/codice_fiscale.h"

namespace quibold {
namespace {

bool Cifra(char c) { return c >= '0' && c <= '9'; }
bool Maiuscola(char c) { return c >= 'A' && c <= 'Z'; }

// Value of a character in an odd position (1st, 3rd, ...): digits take the value of the
// letter of the same rank ('0' as 'A').
constexpr int kDispari[26] = {1,  0,  5,  7,  9,  13, 15, 17, 19, 21, 2,  4,  18,
                              20, 11, 3,  6,  8,  12, 14, 16, 10, 22, 25, 24, 23};

}  // namespace

char CarattereControlloCF(std::string_view primi15) {
  if (primi15.size() != 15) return '\0';
  int somma = 0;
  for (size_t i = 0; i < 15; ++i) {
    const char c = primi15[i];
    int rango;
    if (Cifra(c)) rango = c - '0';
    else if (Maiuscola(c)) rango = c - 'A';
    else return '\0';
    somma += (i % 2 == 0) ? kDispari[rango] : rango;  // i = 0 is the 1st character, odd
  }
  return static_cast<char>('A' + somma % 26);
}

char CifraControlloPartitaIva(std::string_view prime10) {
  if (prime10.size() != 10) return '\0';
  int somma = 0;
  for (size_t i = 0; i < 10; ++i) {
    if (!Cifra(prime10[i])) return '\0';
    int d = prime10[i] - '0';
    if (i % 2 == 1) {  // the 2nd, 4th, ... digit counts twice, its digits added
      d *= 2;
      if (d > 9) d -= 9;
    }
    somma += d;
  }
  return static_cast<char>('0' + (10 - somma % 10) % 10);
}

EsitoCF ControllaCF(std::string_view codice) {
  const size_t inizio = codice.find_first_not_of(' ');
  if (inizio == std::string_view::npos) return EsitoCF::Mancante;
  codice = codice.substr(inizio, codice.find_last_not_of(' ') - inizio + 1);

  bool soloCifre = true;
  for (char c : codice) soloCifre = soloCifre && Cifra(c);
  if (soloCifre) {
    if (codice.size() != 11) return EsitoCF::NumericoNon11;
    return CifraControlloPartitaIva(codice.substr(0, 10)) == codice[10] ? EsitoCF::Valido
                                                                         : EsitoCF::ControlloErrato;
  }
  if (codice.size() != 16) return EsitoCF::PersonaleNon16;
  for (char c : codice) {
    if (!Cifra(c) && !Maiuscola(c)) return EsitoCF::CaratteriNonAmmessi;
  }
  return CarattereControlloCF(codice.substr(0, 15)) == codice[15] ? EsitoCF::Valido
                                                                   : EsitoCF::ControlloErrato;
}

}  // namespace quibold
