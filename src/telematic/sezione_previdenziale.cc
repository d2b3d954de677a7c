// The social-security section (DC): three blocks, each written when its first field reads above 0.
#include <array>

#include "recfile/numeri.h"
#include "telematic/sezioni.h"

namespace quibold {
namespace {

using enum Regola;

// DC001001: the first ten characters of the field, right-aligned.
void DieciADestra(Scrittore& s, const FontiDipendente& fonti, const Riga& r) {
  s.AllineatoDestra(r.codice, fonti.Valore(r.fonte).substr(0, 10));
}

// Written when `Campo` 362 reads above 0; the months only when the flag DC001007 is not set.
constexpr auto kInps = std::to_array<Riga>({
    {"DC001001", C(362), Propria, DieciADestra},
    {"DC001002", C(363), Flag},
    {"DC001003", C(364), Flag},
    {"DC001004", C(365), Importo},
    {"DC001005", C(366), Importo},
    {"DC001006", C(367), Importo},
    {"DC001007", C(368), Flag},
});
constexpr auto kInpsMesi = std::to_array<Riga>({
    {"DC001008", C(369), DodiciMesi},
});

// Written when `Campo` 381 reads above 0; the months and what follows them only when the flag
// DC001047 is not set.
constexpr auto kCollaboratori = std::to_array<Riga>({
    {"DC001043", C(381), Importo},
    {"DC001044", C(382), Importo},
    {"DC001045", C(383), Importo},
    {"DC001046", C(384), Importo},
    {"DC001047", C(385), Flag},
});
constexpr auto kCollaboratoriMesi = std::to_array<Riga>({
    {"DC001048", C(386), DodiciMesi},
    {"DC001049", C2(101), Testo},
    {"DC001050", C2(102), Testo},
});

// Written when `Campo` 441 reads above 0.
constexpr auto kBlocco071 = std::to_array<Riga>({
    {"DC001071", C(440), TestoSePresente},
    {"DC001072", C(441), Destra},
    {"DC001073", C(442), DueCoppieSePositivo},
    {"DC001074", C(444), DueCoppieSePositivo},
    {"DC001075", C(446), TestoSePositivo},
    {"DC001076", C(447), Flag},
});

}  // namespace

std::vector<TabellaRighe> TabellePrevidenziale() {
  return {{"kInps", kInps},
          {"kInpsMesi", kInpsMesi},
          {"kCollaboratori", kCollaboratori},
          {"kCollaboratoriMesi", kCollaboratoriMesi},
          {"kBlocco071", kBlocco071}};
}

void SezionePrevidenziale(Scrittore& s, const FontiDipendente& fonti) {
  const auto& campo = fonti.campi.Campo;
  if (Positivo(campo[362])) {
    Emetti(s, fonti, kInps);
    if (campo[368] != "X") Emetti(s, fonti, kInpsMesi);
  }
  if (Positivo(campo[381])) {
    Emetti(s, fonti, kCollaboratori);
    if (campo[385] != "X") Emetti(s, fonti, kCollaboratoriMesi);
  }
  if (Positivo(campo[441])) Emetti(s, fonti, kBlocco071);
}

}  // namespace quibold
