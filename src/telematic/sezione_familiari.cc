// The dependants section (DB6): the spouse, seven rows of dependants and DB610001.
#include <array>
#include <string>

#include "recfile/numeri.h"
#include "telematic/sezioni.h"

namespace quibold {
namespace {

using enum Regola;

// A dependants row from the second on: its letter fields, fiscal code, the count that decides
// whether the row is written, a second count, the percentage and the flag.
struct RigaFamiliare {
  int riga;
  int figlio, altro, disabile;  // "X" sets the letter F, A, D; 0 for a field the row lacks
  int codiceFiscale, primoConteggio, secondoConteggio, percentuale, flag;
};

constexpr auto kFamiliari = std::to_array<RigaFamiliare>({
    {2, 298, 0, 0, 300, 301, 302, 303, 304},
    {3, 305, 306, 307, 308, 309, 310, 311, 312},
    {4, 313, 314, 315, 316, 317, 318, 319, 320},
    {5, 321, 322, 323, 324, 325, 326, 327, 328},
    {6, 329, 330, 331, 332, 333, 334, 335, 336},
    {7, 337, 338, 339, 340, 341, 342, 343, 344},
    {8, 345, 346, 347, 348, 349, 350, 351, 352},
});

constexpr auto kConiuge = std::to_array<Riga>({
    {"DB601001", kNessuna, FlagSempre},
    {"DB601004", C(296), CodiceFiscale},
    {"DB601005", C(297), DueCifre},
});

}  // namespace

std::vector<TabellaRighe> TabelleFamiliari() { return {{"kConiuge", kConiuge}}; }

void SezioneFamiliari(Scrittore& s, const FontiDipendente& fonti) {
  const auto& campo = fonti.campi.Campo;
  if (campo[295] == "X") Emetti(s, fonti, kConiuge);

  for (const RigaFamiliare& r : kFamiliari) {
    auto valore = [&](int indice) { return campo[static_cast<size_t>(indice)]; };
    if (!Positivo(valore(r.primoConteggio))) continue;
    char codice[9] = "DB6nn001";
    codice[3] = static_cast<char>('0' + r.riga / 10);
    codice[4] = static_cast<char>('0' + r.riga % 10);
    auto campoRiga = [&](std::string_view colonna) {
      codice[5] = colonna[0];
      codice[6] = colonna[1];
      codice[7] = colonna[2];
      return std::string_view(codice, 8);
    };

    // The relationship letter comes from this row's own fields: the last "X" of F, A, D wins;
    // the second row has only F and otherwise means D. A row with none writes no letter.
    std::string_view lettera;
    if (r.altro == 0) {
      lettera = valore(r.figlio) == "X" ? "F" : "D";
    } else {
      if (valore(r.figlio) == "X") lettera = "F";
      if (valore(r.altro) == "X") lettera = "A";
      if (valore(r.disabile) == "X") lettera = "D";
    }
    if (!lettera.empty()) s.Testo(campoRiga("001"), lettera);
    s.CodiceFiscale(campoRiga("004"), valore(r.codiceFiscale));
    s.DueCifre(campoRiga("005"), valore(r.primoConteggio));
    if (Positivo(valore(r.secondoConteggio))) s.DueCifre(campoRiga("006"), valore(r.secondoConteggio));
    std::string_view percentuale = valore(r.percentuale);
    if (!percentuale.empty() && percentuale[0] == 'C') {
      s.Testo(campoRiga("B07"), "C");
    } else {
      s.ImportoDa(campoRiga("A07"), percentuale);
    }
    if (valore(r.flag) == "X") s.Flag(campoRiga("008"));
  }

  s.ImportoDa("DB610001", campo[361]);
}

}  // namespace quibold
