#include "verifica/codice_fiscale.h"

#include <array>
#include <cstdint>

namespace quibold {
namespace {

bool Cifra(char c) { return c >= '0' && c <= '9'; }

// What each character adds to the sum of a person's code, in an odd position (1st, 3rd, ...)
// and in an even one; -1 for a character a code may not hold. In an odd position a digit adds
// what the letter of the same rank adds ('0' as 'A').
struct ValoriCF {
  std::array<int8_t, 256> dispari{};
  std::array<int8_t, 256> pari{};
};
constexpr ValoriCF kValori = [] {
  constexpr auto kDispari = std::to_array<int8_t>(
      {1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23});
  static_assert(kDispari.size() == 26);
  ValoriCF v;
  v.dispari.fill(-1);
  v.pari.fill(-1);
  for (int r = 0; r < 26; ++r) {
    v.dispari[static_cast<size_t>('A' + r)] = kDispari[r];
    v.pari[static_cast<size_t>('A' + r)] = static_cast<int8_t>(r);
  }
  for (int r = 0; r < 10; ++r) {
    v.dispari[static_cast<size_t>('0' + r)] = kDispari[r];
    v.pari[static_cast<size_t>('0' + r)] = static_cast<int8_t>(r);
  }
  return v;
}();

}  // namespace

char CarattereControlloCF(std::string_view primi15) {
  if (primi15.size() != 15) return '\0';
  int somma = 0;
  bool ammessi = true;
  for (size_t i = 0; i < 15; ++i) {
    const auto c = static_cast<unsigned char>(primi15[i]);
    const int valore = i % 2 == 0 ? kValori.dispari[c] : kValori.pari[c];  // i = 0 is the 1st, odd
    ammessi = ammessi && valore >= 0;
    somma += valore;
  }
  return ammessi ? static_cast<char>('A' + somma % 26) : '\0';
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
  size_t inizio = 0, fine = codice.size();
  while (inizio < fine && codice[inizio] == ' ') ++inizio;
  if (inizio == fine) return EsitoCF::Mancante;
  while (codice[fine - 1] == ' ') --fine;
  codice = codice.substr(inizio, fine - inizio);

  bool soloCifre = true, ammessi = true;
  for (char c : codice) {
    soloCifre = soloCifre && Cifra(c);
    ammessi = ammessi && kValori.pari[static_cast<unsigned char>(c)] >= 0;
  }
  if (soloCifre) {
    if (codice.size() != 11) return EsitoCF::NumericoNon11;
    return CifraControlloPartitaIva(codice.substr(0, 10)) == codice[10] ? EsitoCF::Valido : EsitoCF::ControlloErrato;
  }
  if (codice.size() != 16) return EsitoCF::PersonaleNon16;
  if (!ammessi) return EsitoCF::CaratteriNonAmmessi;
  return CarattereControlloCF(codice.substr(0, 15)) == codice[15] ? EsitoCF::Valido : EsitoCF::ControlloErrato;
}

std::optional<NascitaCF> NascitaDaCF(std::string_view codice) {
  if (codice.size() < 15) return std::nullopt;
  auto lettera = [&](size_t i) { return codice[i] >= 'A' && codice[i] <= 'Z'; };
  // A digit place: its digit, or the digit its letter stands for; -1 for anything else.
  auto cifra = [&](size_t i) {
    static constexpr std::string_view kOmocodici = "LMNPQRSTUV";
    if (Cifra(codice[i])) return codice[i] - '0';
    const size_t p = kOmocodici.find(codice[i]);
    return p == std::string_view::npos ? -1 : static_cast<int>(p);
  };
  static constexpr std::string_view kMesi = "ABCDEHLMPRST";
  for (size_t i : {0, 1, 2, 3, 4, 5, 8, 11}) {
    if (!lettera(i)) return std::nullopt;
  }
  for (size_t i : {6, 7, 9, 10, 12, 13, 14}) {
    if (cifra(i) < 0) return std::nullopt;
  }
  const size_t mese = kMesi.find(codice[8]);
  const int giorno = cifra(9) * 10 + cifra(10);
  const bool donna = giorno > 40;
  if (mese == std::string_view::npos || giorno % 40 < 1 || giorno % 40 > 31 || giorno > 71) return std::nullopt;
  return NascitaCF{cifra(6) * 10 + cifra(7), static_cast<int>(mese) + 1, donna ? giorno - 40 : giorno, donna};
}

}  // namespace quibold
