#include "telematic/sezioni.h"

#include <string>

#include "recfile/numeri.h"

namespace quibold {
std::string Conteggio3(std::string_view valore) {
  std::string_view t = Rifilato(valore);
  std::string c;
  if (t.size() < 3) c.assign(3 - t.size(), '0');
  c += t;
  return c;
}

namespace {

std::string SenzaBianchi(std::string_view valore) {
  std::string v;
  for (char c : valore) {
    if (c != ' ') v += c;
  }
  return v;
}

// The value of the field `passi` after the row's own.
std::string_view Seguente(const FontiDipendente& fonti, Fonte f, int passi) {
  return fonti.Valore({f.tabella, static_cast<uint16_t>(f.indice + passi)});
}

// Trimmed, cut to 2 and "0"-filled on the left to 2.
std::string DueCifreDi(std::string_view v) {
  std::string_view t = Rifilato(v).substr(0, 2);
  return std::string(2 - t.size(), '0') + std::string(t);
}

}  // namespace

std::vector<TabellaRighe> TabelleRighe() {
  std::vector<TabellaRighe> tutte;
  for (auto tabelle : {TabelleRecordC, TabelleRecordD, TabelleFiscale, TabelleFamiliari, TabellePrevidenziale,
                       TabelleTFR, TabelleDN}) {
    for (const TabellaRighe& t : tabelle()) tutte.push_back(t);
  }
  return tutte;
}

void AggiungiTotali(Scrittore& s, const Riga& r, double importo) {
  if (r.totale) s.Totale[r.totale] += importo;
  if (r.totale2) s.Totale[r.totale2] += importo;
  if (r.totale && importo < 0) s.NonScritto(r.codice, r.totale, r.totale2, importo);
}

std::string_view FontiDipendente::Valore(Fonte f) const {
  switch (f.tabella) {
    case Tabella::Campo: return campi.Campo[f.indice];
    case Tabella::Campo2: return campi.Campo2[f.indice];
    case Tabella::Testata: return testata[f.indice];
  }
  return {};
}

void Emetti(Scrittore& s, const FontiDipendente& fonti, std::span<const Riga> righe) {
  for (const Riga& r : righe) {
    const std::string_view c = r.codice;
    const std::string_view v = fonti.Valore(r.fonte);
    switch (r.regola) {
      case Regola::Importo:
        if (r.totale) {
          AggiungiTotali(s, r, s.ImportoDa(c, v));
        } else {
          s.ImportoSenzaTotali(c, v);
        }
        break;
      case Regola::ImportoIntero: AggiungiTotali(s, r, s.ImportoInteroDa(c, v)); break;
      case Regola::Flag:
        if (v == "X") s.Flag(c);
        break;
      case Regola::FlagSempre: s.Flag(c); break;
      case Regola::CodiceFiscale: s.CodiceFiscale(c, v); break;
      case Regola::Testo: s.Testo(c, v); break;
      case Regola::TestoSePresente: s.TestoSePresente(c, v); break;
      case Regola::TestoSePositivo: s.TestoSePositivo(c, v); break;
      case Regola::TestoDiviso: s.TestoDiviso(c, v); break;
      case Regola::TestoDivisoSePresente:
        if (!Rifilato(v).empty()) s.TestoDiviso(c, v);
        break;
      case Regola::TestoDiviso3: s.TestoDiviso3(c, v); break;
      case Regola::Destra: s.AllineatoDestra(c, v); break;
      case Regola::DestraSePositivo:
        if (Positivo(v)) s.AllineatoDestra(c, v);
        break;
      case Regola::PrimoCarattereSePositivo:
        if (Positivo(v)) s.AllineatoDestra(c, v.substr(0, 1));
        break;
      case Regola::UnoODue:
        if (v == "1" || v == "2") s.AllineatoDestra(c, v);
        break;
      case Regola::Conteggio3SePositivo:
        if (Positivo(v)) s.AllineatoDestra(c, Conteggio3(v));
        break;
      case Regola::DueCifre: s.DueCifre(c, v); break;
      case Regola::DueCifreSePositivo:
        if (Positivo(v)) s.DueCifre(c, v);
        break;
      case Regola::DueCifreSePresente:
        if (!Rifilato(v).empty()) s.DueCifre(c, v);
        break;
      case Regola::TestoOltreUnCarattere:
        if (Rifilato(v).size() > 1) s.Testo(c, Rifilato(v));
        break;
      case Regola::CarattereADestra:
        if (Rifilato(v).size() == 1) s.AllineatoDestra(c, Rifilato(v));
        break;
      case Regola::TestoUnCarattere:
        if (Rifilato(v).size() == 1) s.Testo(c, Rifilato(v));
        break;
      case Regola::DueCaratteriADestra: {
        std::string_view t = Rifilato(v).substr(0, 2);
        std::string due(2 - t.size(), ' ');
        due += t;
        if (Positivo(due)) s.AllineatoDestra(c, due);
        break;
      }
      case Regola::LetteraABC:
        if (v == "A" || v == "B" || v == "C") s.Testo(c, v);
        break;
      case Regola::LetteraAB: {
        std::string lettera = SenzaBianchi(v);
        if (lettera == "A" || lettera == "B") s.Testo(c, lettera);
        break;
      }
      case Regola::TestoDueCaratteri:
        if (Rifilato(v).size() == 2) s.Testo(c, Rifilato(v));
        break;
      case Regola::DodiciMesi: {
        std::string mesi;
        for (int k = 0; k < 12; ++k) mesi += Seguente(fonti, r.fonte, k) == "X" ? '1' : '0';
        s.AllineatoDestra(c, mesi);
        break;
      }
      case Regola::DueCoppieSePositivo:
        if (Positivo(v)) s.AllineatoDestra(c, DueCifreDi(v) + DueCifreDi(Seguente(fonti, r.fonte, 1)));
        break;
      case Regola::PrimaCifra:
        if (Positivo(v.substr(0, 1))) s.AllineatoDestra(c, v.substr(0, 1));
        break;
      case Regola::SecondaCifra:
        if (v.size() > 1 && Positivo(v.substr(1, 1))) s.AllineatoDestra(c, v.substr(1, 1));
        break;
      case Regola::Propria: r.proprio(s, fonti, r); break;
    }
  }
}

}  // namespace quibold
