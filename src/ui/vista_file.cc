#include "ui/vista_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <utility>

#include "recfile/cp1252.h"
#include "recfile/numeri.h"
#include "recfile/percorsi.h"
#include "ui/report.h"

namespace quibold {
namespace {

constexpr size_t kLungRecord = 1900;

std::string EtichettaDi(IndiceTotale totale) {
  for (const RigaTotale& r : RigheTotali()) {
    if (r.totale == totale) return std::string(Rifilato(r.etichetta));
  }
  return {};
}

// A run total as the sums of a file hold it: cents of an amount, a count of employees.
long long Somma(double totale, IndiceTotale indice) {
  return std::llround(indice == kDipendenti ? totale : totale * 100);
}

std::string Quante(long n, const char* una, const char* molte) {
  return std::to_string(n) + " " + (n == 1 ? una : molte);
}

// A cell of the CSV: quoted when it holds the separator, a quote or a line end; a text that a
// spreadsheet would take for a formula ("=", "+", "-", "@", a tab) begins with an apostrophe, so
// that it is taken as text (a name of the archive may begin with "-" or "=").
std::string CellaCsv(std::string_view utf8, bool testo) {
  std::string c;
  if (testo && !utf8.empty() && std::string_view("=+-@\t\r").find(utf8[0]) != std::string_view::npos) c = "'";
  c += utf8;
  if (c.find_first_of(";\"\r\n") == std::string::npos) return c;
  std::string q = "\"";
  for (char x : c) {
    q += x;
    if (x == '"') q += '"';
  }
  return q + "\"";
}

}  // namespace

int LeggiRecordTelematici(Sistema& sistema, Maniglia f, const std::function<void(std::string_view)>& record) {
  std::vector<char> blocco(kLungRecord * 64);
  size_t pieni = 0;  // bytes of the block not yet handed over
  long long posizione = 0;
  for (;;) {
    size_t letti = 0;
    if (const int errore = sistema.Leggi(f, blocco.data() + pieni, blocco.size() - pieni, posizione, letti)) {
      return errore;
    }
    if (letti == 0) break;
    posizione += static_cast<long long>(letti);
    pieni += letti;
    size_t dati = 0;
    for (; pieni - dati >= kLungRecord; dati += kLungRecord)
      record(std::string_view(blocco.data() + dati, kLungRecord));
    std::copy(blocco.data() + dati, blocco.data() + pieni, blocco.data());
    pieni -= dati;
  }
  if (pieni > 0) record(std::string_view(blocco.data(), pieni));  // the last, cut short
  return 0;
}

Lettura LeggiTelematico(Sistema& sistema, const std::filesystem::path& percorso, std::string_view nome,
                        const std::function<void(std::string_view)>& record) {
  if (percorso.empty()) return Lettura::Illeggibile;
  const TipoFile tipo = kWindows && NomeDiDispositivo(nome) ? TipoFile::Altro : sistema.Tipo(percorso);
  if (tipo == TipoFile::Altro) return Lettura::NonOrdinario;
  Maniglia f = kNessunFile;
  if (tipo == TipoFile::Cartella || sistema.Apri(percorso, Apertura::Lettura, f) != 0) return Lettura::Illeggibile;
  const int errore = LeggiRecordTelematici(sistema, f, record);
  (void)sistema.Chiudi(f);  // read only: nothing to lose
  return errore ? Lettura::ErroreDiLettura : Lettura::Letta;
}

std::string TestoLettura(Lettura lettura, std::string_view nome) {
  switch (lettura) {
    case Lettura::Letta: break;
    case Lettura::NonOrdinario: return "impossibile leggere " + std::string(nome) + ": non e' un file ordinario";
    case Lettura::Illeggibile: return "impossibile leggere " + std::string(nome);
    case Lettura::ErroreDiLettura: return "errore di lettura in " + std::string(nome);
  }
  return {};
}

const std::vector<Colonna>& ColonneVista() {
  static const std::vector<Colonna> colonne = [] {
    std::vector<Colonna> c = {{"Progressivo", TipoColonna::Progressivo},
                              {"Codice fiscale", TipoColonna::CodiceFiscale},
                              {"Cognome", TipoColonna::Cognome},
                              {"Nome", TipoColonna::Nome}};
    for (const RigaTotale& r : RigheTotali()) c.push_back({EtichettaDi(r.totale), TipoColonna::Totale, r.totale});
    c.push_back({"Errori", TipoColonna::Errori});
    c.push_back({"Avvisi", TipoColonna::Avvisi});
    return c;
  }();
  return colonne;
}

std::string TestoSomma(long long valore, IndiceTotale totale, char separatore) {
  if (totale == kDipendenti) return std::to_string(valore);
  const unsigned long long assoluto = valore < 0 ? 0ULL - static_cast<unsigned long long>(valore) : valore;
  char testo[40];
  std::snprintf(testo, sizeof testo, "%s%llu%c%02llu", valore < 0 ? "-" : "", assoluto / 100, separatore,
                assoluto % 100);
  return testo;
}

std::string Cella(const DipendenteNelFile& d, const Colonna& c, char separatore) {
  switch (c.tipo) {
    case TipoColonna::Progressivo: return d.progressivo;
    case TipoColonna::CodiceFiscale: return d.codiceFiscale;
    case TipoColonna::Cognome: return d.cognome;
    case TipoColonna::Nome: return d.nome;
    case TipoColonna::Totale: return TestoSomma(d.somme[c.totale], c.totale, separatore);
    case TipoColonna::Errori: return std::to_string(d.errori);
    case TipoColonna::Avvisi: return std::to_string(d.avvisi);
  }
  return {};
}

std::vector<Differenza> Differenze(const StatoRun& run, const Prospetto& p) {
  const Somme file = p.Totale();
  const auto& dipendenti = p.Dipendenti();
  // What the totals count and the file does not hold, employee by employee and line by line.
  std::map<std::pair<long, IndiceTotale>, Differenza> perDipendente;
  Somme spiegato{};
  for (const ImportoNonScritto& n : run.nonScritti) {
    for (IndiceTotale t : {n.totale, n.totale2}) {
      if (t == kNessunTotale) continue;
      const long long c = Somma(n.importo, t);
      spiegato[t] += c;
      Differenza& d = perDipendente[{n.progressivo, t}];
      if (d.nonScritti.empty()) {
        const auto i = static_cast<size_t>(n.progressivo - 1);
        d.progressivo = n.progressivo;
        d.totale = t;
        d.file = d.report = i < dipendenti.size() ? dipendenti[i].somme[t] : 0;
        d.dipendente = n.dipendente;
      }
      d.report += c;
      d.nonScritti.emplace_back(n.codice, c);
    }
  }
  std::vector<Differenza> d;
  for (auto& [chiave, differenza] : perDipendente) d.push_back(std::move(differenza));
  for (const RigaTotale& r : RigheTotali()) {
    const long long report = Somma(run.Totale[r.totale], r.totale);
    if (file[r.totale] + spiegato[r.totale] != report) d.push_back({0, r.totale, report, file[r.totale], {}, {}});
  }
  return d;
}

std::string TestoDifferenza(const Differenza& d, char separatore) {
  std::string t = "\"" + EtichettaDi(d.totale) + "\": il report conta " + TestoSomma(d.report, d.totale, separatore) +
                  ", il file " + TestoSomma(d.file, d.totale, separatore);
  if (d.nonScritti.empty()) return t + " (differenza che nessun importo non scritto spiega)";
  char progressivo[16];
  std::snprintf(progressivo, sizeof progressivo, "%05ld", d.progressivo);
  t += std::string(" per il progressivo ") + progressivo + " (" + d.dipendente + ": ";
  for (size_t i = 0; i < d.nonScritti.size(); ++i) {
    if (i > 0) t += ", ";
    t += d.nonScritti[i].first + " vale " + TestoSomma(d.nonScritti[i].second, d.totale, separatore);
  }
  return t + (d.nonScritti.size() == 1 ? ": un importo sotto zero non si scrive nel file, ma il report lo somma)"
                                       : ": gli importi sotto zero non si scrivono nel file, ma il report li somma)");
}

std::string TestoNonCur18(const VistaFile& vista) {
  const Verifica& v = vista.prospetto().verifica();
  std::string testo = "Il file " + vista.Nome() + " non e' un file telematico CUR18:";
  const auto& rilievi = v.Rilievi();
  const auto errore =
      std::find_if(rilievi.begin(), rilievi.end(), [](const Rilievo& r) { return r.gravita == Gravita::Errore; });
  if (errore != rilievi.end()) testo += "\n" + TestoRilievo(*errore);
  return testo + "\n" + Riepilogo(v);
}

Lettura VistaFile::Leggi(Sistema& sistema, const std::filesystem::path& percorso, const std::string& nome) {
  nome_ = Cp1252DaUtf8(nome);
  // The check as `quibold verifica` makes it, on today's date.
  prospetto_ = std::make_unique<Prospetto>(Verifica(Vaglio::Rapido, OggiLocale()));
  differenze_.clear();
  const Lettura letta = LeggiTelematico(sistema, percorso, nome, [this](std::string_view r) { prospetto_->Record(r); });
  if (letta == Lettura::Letta) prospetto_->Fine();
  somme_ = {};
  somme_.cognome = "Totale";
  somme_.somme = prospetto_->Totale();
  for (const DipendenteNelFile& d : prospetto_->Dipendenti()) {
    somme_.errori += d.errori;
    somme_.avvisi += d.avvisi;
  }
  return letta;
}

void VistaFile::Confronta(const StatoRun& run) { differenze_ = Differenze(run, *prospetto_); }

std::vector<std::string> VistaFile::Intestazione() const {
  const TestataDelFile& t = prospetto_->Testata();
  std::string fornitura = "Fornitura " + t.fornitura + ", " +
                          (t.operazione == 'A'   ? "annullamento"
                           : t.operazione == 'S' ? "sostituzione"
                                                 : "ordinaria");
  if (t.operazione != ' ') fornitura += " del protocollo " + t.protocollo + " - " + t.numeroSostituito;
  if (!t.cfFornitore.empty()) fornitura += ", fornitore " + t.cfFornitore;
  std::string riepilogo = Riepilogo(prospetto_->verifica());
  const long errori = prospetto_->ErroriDelFile(), avvisi = prospetto_->AvvisiDelFile();
  if (errori + avvisi > 0) {
    riepilogo += " (fuori dai record dei dipendenti: " + Quante(errori, "errore", "errori") + ", " +
                 Quante(avvisi, "avviso", "avvisi") + ")";
  }
  return {"File " + nome_, fornitura, "Sostituto d'imposta " + t.cfSostituto + " " + t.sostituto, riepilogo};
}

const DipendenteNelFile& VistaFile::Dipendente(size_t riga) const {
  return RigaSomme(riga) ? somme_ : prospetto_->Dipendenti()[riga];
}

std::string VistaFile::Testo(size_t riga, size_t colonna, char separatore) const {
  return Cella(Dipendente(riga), ColonneVista()[colonna], separatore);
}

long long VistaFile::Numero(size_t riga, size_t colonna) const {
  const DipendenteNelFile& d = Dipendente(riga);
  const Colonna& c = ColonneVista()[colonna];
  switch (c.tipo) {
    case TipoColonna::Totale: return d.somme[c.totale];
    case TipoColonna::Errori: return d.errori;
    case TipoColonna::Avvisi: return d.avvisi;
    default: return 0;
  }
}

bool VistaFile::ConErrori(size_t riga) const { return Dipendente(riga).errori > 0; }
bool VistaFile::ConAvvisi(size_t riga) const { return Dipendente(riga).avvisi > 0; }

bool VistaFile::Differente(size_t riga) const {
  const long progressivo = RigaSomme(riga) ? 0 : static_cast<long>(riga) + 1;
  return std::any_of(differenze_.begin(), differenze_.end(),
                     [&](const Differenza& d) { return d.progressivo == progressivo; });
}

std::string VistaFile::Rilievi(size_t riga, char separatore) const {
  const DipendenteNelFile& d = Dipendente(riga);
  std::vector<Rilievo> rilievi;
  std::string testo;
  long errori = d.errori, avvisi = d.avvisi;
  if (RigaSomme(riga)) {
    rilievi = RilieviDelFile(*prospetto_);
    errori = prospetto_->ErroriDelFile();
    avvisi = prospetto_->AvvisiDelFile();
    testo = "Record del file fuori da quelli dei dipendenti";
  } else {
    rilievi = RilieviDi(*prospetto_, d);
    testo = "Progressivo " + d.progressivo + ", " + d.codiceFiscale + " " + d.cognome + " " + d.nome + ", record " +
            std::to_string(d.primoRecord) + "-" + std::to_string(d.ultimoRecord) + " del file";
  }
  testo += ": " + Quante(errori, "errore", "errori") + ", " + Quante(avvisi, "avviso", "avvisi");
  if (static_cast<long>(rilievi.size()) < errori + avvisi) {
    testo += " (elencati " + std::to_string(rilievi.size()) + ": l'elenco del file si ferma a " +
             std::to_string(Verifica::kMaxRilievi) + " rilievi, gli errori prima degli avvisi)";
  }
  for (const Rilievo& r : rilievi) testo += "\n" + TestoRilievo(r);
  const long progressivo = RigaSomme(riga) ? 0 : static_cast<long>(riga) + 1;
  for (const Differenza& x : differenze_) {
    if (x.progressivo == progressivo) testo += "\nReport: " + TestoDifferenza(x, separatore);
  }
  return testo;
}

std::string VistaFile::Csv() const {
  std::string csv = "\xEF\xBB\xBF";
  for (const std::string& riga : Intestazione()) csv += CellaCsv(Utf8DaCp1252(riga), true) + "\r\n";
  csv += "\r\n";
  const auto& colonne = ColonneVista();
  for (size_t c = 0; c < colonne.size(); ++c) {
    if (c > 0) csv += ';';
    csv += CellaCsv(colonne[c].titolo, true);
  }
  csv += "\r\n";
  for (size_t r = 0; r < Righe(); ++r) {
    for (size_t c = 0; c < colonne.size(); ++c) {
      const bool testo = colonne[c].tipo <= TipoColonna::Nome;
      if (c > 0) csv += ';';
      csv += CellaCsv(Utf8DaCp1252(Testo(r, c, ',')), testo);
    }
    csv += "\r\n";
  }
  return csv;
}

}  // namespace quibold
