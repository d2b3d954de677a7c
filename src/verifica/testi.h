// The check's own words and characters: the tests of a character or a text that every part of
// the check uses, and how a message shows the file's text (printable ASCII only).
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

namespace quibold::controllo {

inline bool Cifra(char c) { return c >= '0' && c <= '9'; }
inline bool Controllo(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

inline bool Vuota(std::string_view t) { return t.find_first_not_of(' ') == std::string_view::npos; }
inline bool SoloCifre(std::string_view t) { return std::all_of(t.begin(), t.end(), Cifra); }
inline bool Uguale(std::string_view t, const auto& a) { return std::equal(t.begin(), t.end(), a.begin(), a.end()); }

inline std::string Numero(long n) { return std::to_string(n); }

// Text of the checked file shown in a message: printable ASCII as it is, every other byte as
// its code in hex, so that a message never carries the file's raw bytes.
inline std::string Visibile(std::string_view t) {
  std::string v = "\"";
  for (unsigned char c : t) {
    if (c >= 0x20 && c < 0x7F) {
      v += static_cast<char>(c);
    } else {
      char esa[8];
      std::snprintf(esa, sizeof esa, "<%02X>", c);
      v += esa;
    }
  }
  return v + "\"";
}

inline std::string Posizioni(int posizione, int lunghezza) {
  if (lunghezza == 1) return "posizione " + Numero(posizione);
  return "posizioni " + Numero(posizione) + "-" + Numero(posizione + lunghezza - 1);
}

// The codes a field admits, each of `larghezza` characters one after another, as a message lists
// them: "0" o "1"; "01" o "10".
inline std::string Elenco(std::string_view ammessi, size_t larghezza = 1) {
  std::string e;
  for (size_t i = 0; i < ammessi.size(); i += larghezza) {
    if (i > 0) e += i + larghezza == ammessi.size() ? " o " : ", ";
    e += Visibile(ammessi.substr(i, larghezza));
  }
  return e;
}

// A real calendar day written ggmmaaaa.
inline bool DataEsistente(std::string_view d) {
  if (d.size() != 8 || !SoloCifre(d)) return false;
  auto numero = [&](size_t da, size_t quante) {
    int n = 0;
    for (size_t i = da; i < da + quante; ++i) n = n * 10 + (d[i] - '0');
    return n;
  };
  const int giorno = numero(0, 2), mese = numero(2, 2), anno = numero(4, 4);
  if (mese < 1 || mese > 12 || giorno < 1 || anno < 1) return false;
  static constexpr int kGiorni[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool bisestile = anno % 4 == 0 && (anno % 100 != 0 || anno % 400 == 0);
  return giorno <= kGiorni[mese - 1] + (mese == 2 && bisestile ? 1 : 0);
}

// A day ggmmaaaa as the number aaaammgg, which orders days as the calendar does.
inline long Giorno(std::string_view ggmmaaaa) {
  long n = 0;
  for (char c : ggmmaaaa.substr(4, 4)) n = n * 10 + (c - '0');
  for (size_t da : {2, 0}) n = n * 100 + (ggmmaaaa[da] - '0') * 10 + (ggmmaaaa[da + 1] - '0');
  return n;
}
// A day aaaammgg as it is written in the file, ggmmaaaa.
inline std::string Ggmmaaaa(long aaaammgg) {
  char t[16];
  std::snprintf(t, sizeof t, "%02ld%02ld%04ld", aaaammgg % 100, aaaammgg / 100 % 100, aaaammgg / 10000 % 10000);
  return t;
}
// A day ggmmaaaa as a clerk reads it: 10/12/1985.
inline std::string DataLeggibile(std::string_view ggmmaaaa) {
  return std::string(ggmmaaaa.substr(0, 2)) + "/" + std::string(ggmmaaaa.substr(2, 2)) + "/" +
         std::string(ggmmaaaa.substr(4, 4));
}

inline bool HaAlti(std::string_view testo) {
  return std::any_of(testo.begin(), testo.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace quibold::controllo
