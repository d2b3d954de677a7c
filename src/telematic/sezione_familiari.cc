// The dependants section (DB6) and the social-security section (DC).
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

// "1" for each of the twelve flags that is "X", else "0", lowest index first.
std::string DodiciFlag(const CampiDipendente& campi, int primo) {
  std::string mesi;
  for (int k = primo; k < primo + 12; ++k) mesi += campi.Campo[static_cast<size_t>(k)] == "X" ? '1' : '0';
  return mesi;
}

// Two fields of two characters, each as two digits, after 12 blanks.
void DueCoppie(Scrittore& s, std::string_view codice, std::string_view a, std::string_view b) {
  auto dueCifre = [](std::string_view v) {
    std::string_view t = Rifilato(v).substr(0, 2);
    return std::string(2 - t.size(), '0') + std::string(t);
  };
  s.AllineatoDestra(codice, dueCifre(a) + dueCifre(b));
}

}  // namespace

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

void SezionePrevidenziale(Scrittore& s, const FontiDipendente& fonti) {
  const auto& campo = fonti.campi.Campo;
  const auto& campo2 = fonti.campi.Campo2;

  if (Positivo(campo[362])) {
    s.AllineatoDestra("DC001001", campo[362].substr(0, 10));
    if (campo[363] == "X") s.Flag("DC001002");
    if (campo[364] == "X") s.Flag("DC001003");
    s.Totale[kImponibileInps] += s.ImportoDa("DC001004", campo[365]);
    s.ImportoDa("DC001005", campo[366]);
    s.ImportoDa("DC001006", campo[367]);
    if (campo[368] == "X") {
      s.Flag("DC001007");
    } else {
      s.AllineatoDestra("DC001008", DodiciFlag(fonti.campi, 369));
    }
  }

  if (Positivo(campo[381])) {
    s.Totale[kCompensiCollaboratori] += s.ImportoDa("DC001043", campo[381]);
    s.ImportoDa("DC001044", campo[382]);
    s.ImportoDa("DC001045", campo[383]);
    s.ImportoDa("DC001046", campo[384]);
    if (campo[385] == "X") {
      s.Flag("DC001047");
    } else {
      s.AllineatoDestra("DC001048", DodiciFlag(fonti.campi, 386));
      s.Testo("DC001049", campo2[101]);
      s.Testo("DC001050", campo2[102]);
    }
  }

  if (Positivo(campo[441])) {
    s.TestoSePresente("DC001071", campo[440]);
    s.AllineatoDestra("DC001072", campo[441]);
    if (Positivo(campo[442])) DueCoppie(s, "DC001073", campo[442], campo[443]);
    if (Positivo(campo[444])) DueCoppie(s, "DC001074", campo[444], campo[445]);
    s.TestoSePositivo("DC001075", campo[446]);
    if (campo[447] == "X") s.Flag("DC001076");
  }
}

}  // namespace quibold
