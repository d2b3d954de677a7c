// The Italian provinces in force in 2017 and 2018, by their two-letter codes: the 107 provinces
// and metropolitan cities of those years, from Sud Sardegna ("SU", which took the place of
// Carbonia-Iglesias, Medio Campidano, Ogliastra and Olbia-Tempio in 2016) to the codes that the
// provinces of Friuli Venezia Giulia and Valle d'Aosta keep for their land. A code of another
// time (a province since renamed or abolished) is not here.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace quibold::province {

// clang-format off
inline constexpr std::string_view kInVigore[] = {
    // Piemonte, Valle d'Aosta, Lombardia.
    "AL", "AT", "BI", "CN", "NO", "TO", "VB", "VC",
    "AO",
    "BG", "BS", "CO", "CR", "LC", "LO", "MB", "MI", "MN", "PV", "SO", "VA",
    // Trentino-Alto Adige, Veneto, Friuli Venezia Giulia, Liguria.
    "BZ", "TN",
    "BL", "PD", "RO", "TV", "VE", "VI", "VR",
    "GO", "PN", "TS", "UD",
    "GE", "IM", "SP", "SV",
    // Emilia-Romagna, Toscana, Umbria, Marche.
    "BO", "FC", "FE", "MO", "PC", "PR", "RA", "RE", "RN",
    "AR", "FI", "GR", "LI", "LU", "MS", "PI", "PO", "PT", "SI",
    "PG", "TR",
    "AN", "AP", "FM", "MC", "PU",
    // Lazio, Abruzzo, Molise, Campania.
    "FR", "LT", "RI", "RM", "VT",
    "AQ", "CH", "PE", "TE",
    "CB", "IS",
    "AV", "BN", "CE", "NA", "SA",
    // Puglia, Basilicata, Calabria.
    "BA", "BR", "BT", "FG", "LE", "TA",
    "MT", "PZ",
    "CS", "CZ", "KR", "RC", "VV",
    // Sicilia, Sardegna.
    "AG", "CL", "CT", "EN", "ME", "PA", "RG", "SR", "TP",
    "CA", "NU", "OR", "SS", "SU",
};
// clang-format on
static_assert(std::size(kInVigore) == 107);

// Every pair of capital letters, one place each: whether it is a province of the list.
struct Elenco {
  std::array<bool, 26 * 26> presente{};
  size_t diverse = 0;
};
inline constexpr Elenco kElenco = [] {
  Elenco e;
  for (std::string_view sigla : kInVigore) {
    bool& posto = e.presente[static_cast<size_t>((sigla[0] - 'A') * 26 + sigla[1] - 'A')];
    e.diverse += posto ? 0 : 1;
    posto = true;
  }
  return e;
}();
static_assert(kElenco.diverse == std::size(kInVigore), "a province listed twice");

// Whether `a` and `b`, capital letters, are the code of a province in force in 2017 and 2018.
constexpr bool InVigore(char a, char b) {
  return a >= 'A' && a <= 'Z' && b >= 'A' && b <= 'Z' &&
         kElenco.presente[static_cast<size_t>((a - 'A') * 26 + b - 'A')];
}

}  // namespace quibold::province
