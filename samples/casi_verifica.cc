#include "samples/casi_verifica.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "samples/archivio_esempio.h"

namespace quibold::esempio {
namespace {

using Campi = std::vector<std::pair<std::string, std::string>>;

constexpr auto kErrore = Gravita::Errore, kAvviso = Gravita::Avviso;
constexpr std::optional<Gravita> kAccettato;

// clang-format off
const CasoVerifica kCasi[] = {
    // What the agency accepts.
    {"importo con spazi e un solo zero prima della virgola", 'G', "DB001001", 0, "            0,40", kAccettato},
    {"giorni con meno cifre del campo, allineate a destra", 'G', "DB001006", 0, "               5", kAccettato},
    {"importo in unita' con zeri davanti", 'G', "DF001808", 0, "             036", kAccettato},
    {"conferma della certificazione a 0", 'D', "", 89, "0", kAccettato},
    {"nato all'estero", 'D', "DA002007", 0, "EE", kAccettato},
    {"codice fiscale reso unico con lettere al posto delle cifre", 'D', "DA002001", 0, "RSSMRA85T1MH501", kAccettato},
    // What it refuses.
    {"tipo del fornitore ne' 01 ne' 10", 'A', "", 21, "11", kErrore},
    {"sostituto d'imposta in provincia EE (estero)", 'D', "DA001005", 0, "EE", kErrore},
    {"domicilio in una provincia che non esiste", 'D', "DA002021", 0, "XX", kErrore},
    {"codice dello Stato estero con una lettera", 'D', "DA002044", 0, "             0A9", kErrore},
    {"matricola INPS con lettere", 'G', "DC001001", 0, "      12345678AB", kErrore},
    {"sesso ne' M ne' F", 'D', "DA002004", 0, "X", kErrore},
    // What it will very likely discard the certification for.
    {"nato in una provincia di un altro tempo (Fiume)", 'D', "DA002007", 0, "FU", kAvviso},
    {"data della firma di zeri", 'D', "DA003001", 0, "        00000000", kAvviso},
    {"data della firma nel futuro", 'D', "DA003001", 0, "        01012099", kAvviso},
    {"nato prima del 1900", 'D', "DA002005", 0, "        31121899", kAvviso},
    {"comune del domicilio scritto vuoto", 'D', "DA002020", 0, "", kAvviso},
    {"codice fiscale di un altro giorno di nascita", 'D', "DA002001", 0, "RSSMRA85T10H501", kAvviso},
    {"codice fiscale di una donna, sesso M", 'D', "DA002001", 0, "RSSMRA85T51H501", kAvviso},
    {"codice fiscale senza un mese di nascita", 'D', "DA002001", 0, "RSSMRA85Z11H501", kAvviso},
};
// clang-format on

std::string Record(std::string dati) {
  dati.resize(1897, ' ');
  return dati + "A\r\n";
}

std::string Griglia(const Campi& campi) {
  std::string g;
  for (const auto& [codice, valore] : campi) {
    std::string v = valore;
    v.resize(16, ' ');
    g += codice + v;
  }
  return g;
}

std::string Nove(long n) {
  char t[16];
  std::snprintf(t, sizeof t, "%09ld", n);
  return t;
}

// The value of `codice` in `campi`, added at the end when it is not there.
std::string& Valore(Campi& campi, std::string_view codice) {
  for (auto& [c, v] : campi) {
    if (c == codice) return v;
  }
  return campi.emplace_back(std::string(codice), "").second;
}

}  // namespace

std::span<const CasoVerifica> CasiVerifica() { return kCasi; }

std::string FileCasiVerifica() {
  const std::string sostituto = PartitaIva("0123456789") + "     ";
  const std::string testa = sostituto + "00000001";
  std::string a = "A" + std::string(14, ' ') + "CUR18" + "10" + sostituto;
  std::string b = "B" + testa + std::string(48, ' ') + sostituto + " 00";
  b.resize(136, ' ');
  b += "FERRAMENTA BIANCHI SRL";
  b.resize(308, ' ');
  b += "0";
  b.resize(371, ' ');
  b += "00000000000";
  b.resize(401, ' ');
  // The employees, no record C, "1"; the supplier, the commitment's type and date, "1".
  b += Nove(static_cast<long>(std::size(kCasi))).substr(1) + "01" + sostituto + "1" + "01022018" + "1";

  std::vector<std::string> dipendenti;
  for (size_t i = 0; i < std::size(kCasi); ++i) {
    const CasoVerifica& c = kCasi[i];
    Campi d = {{"DA001001", sostituto},
               {"DA001002", "FERRAMENTA BIANC"},
               {"DA001002", "+HI SRL"},
               {"DA001004", "MILANO"},
               {"DA001005", "MI"},
               {"DA001007", "VIA TORINO 1"},
               {"DA002001", ""},
               {"DA002002", "ROSSI"},
               {"DA002003", "MARIO"},
               {"DA002004", "M"},
               {"DA002005", "        11121985"},
               {"DA002006", "ROMA"},
               {"DA002007", "RM"},
               {"DA002020", "ROMA"},
               {"DA002021", "RM"},
               {"DA002022", "H501"},
               {"DA002024", "ROMA"},
               {"DA002025", "RM"},
               {"DA002026", "H501"},
               {"DA003001", "        15022018"},
               {"DA003002", "               1"}};
    Campi g = {{"DB001001", "        28500,00"}, {"DB001006", "             365"}, {"DB001021", "         6200,50"}};
    if (!c.codice.empty()) Valore(c.record == 'D' ? d : g, c.codice) = std::string(c.valore);
    // The employee's code: the case's, else the one that the sex and the date of birth make.
    std::string& cf = Valore(d, "DA002001");
    if (cf.empty()) {
      const std::string nascita = Valore(d, "DA002005").substr(8);
      const int data = std::stoi(nascita);  // ggmmaaaa
      cf =
          CodicePersona("RSSMRA", data % 100, data / 10000 % 100, data / 1000000, Valore(d, "DA002004") == "F", "H501");
    } else {
      cf = CodiceFiscale(cf);
    }
    const std::string testaDipendente = testa + cf + Nove(static_cast<long>(i) + 1).substr(4);
    std::string recordD = "D" + testaDipendente + std::string(23, '0') + std::string(19, ' ') + "1" + Griglia(d);
    if (c.record == 'D' && c.codice.empty())
      recordD.replace(static_cast<size_t>(c.posizione - 1), c.valore.size(), c.valore);
    if (c.record == 'A') a.replace(static_cast<size_t>(c.posizione - 1), c.valore.size(), c.valore);
    dipendenti.push_back(Record(recordD) + Record("G" + testaDipendente + std::string(43, ' ') + Griglia(g)));
  }
  std::string file = Record(a) + Record(b);
  for (const std::string& d : dipendenti) file += d;
  const long n = static_cast<long>(std::size(kCasi));
  return file + Record("Z" + std::string(14, ' ') + Nove(1) + Nove(0) + Nove(n) + Nove(n) + std::string(18, '0'));
}

}  // namespace quibold::esempio
