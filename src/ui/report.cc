#include "ui/report.h"

#include <array>
#include <charconv>
#include <cmath>

#include "archive/archivio.h"
#include "recfile/cp1252.h"
#include "recfile/file_nuovo.h"
#include "recfile/numeri.h"
#include "sistema/sistema.h"
#include "ui/stato.h"

namespace quibold {
namespace {

constexpr std::string_view kAcapo = "\r\n";
constexpr int kCifreSignificative = 15;  // of a printed total

constexpr auto kRigheTotali = std::to_array<RigaTotale>({
    {"Numero Dipendenti              ", kDipendenti},
    {"Totale Redditi                 ", kRedditi},
    {"Ritenute Irpef Lav.dip.        ", kRitenuteIrpef},
    {"Addizionale Regionale          ", kAddizionaleRegionale},
    {"Addizionale Comunale           ", kAddizionaleComunale},
    {"                 di cui Acconto", kAccontoComunale},
    {"Addizionale Comunale Acc.2018  ", kAccontoComunale2018},
    {"Addizionale Regionale A.P.     ", kAddizionaleRegionaleAP},
    {"Addizionale Comunale A.P.      ", kAddizionaleComunaleAP},
    {"Importi trattenuti Ass.fiscale ", kTrattenuteAssistenzaFiscale},
    {"Importi rimborsati Ass.fiscale ", kRimborsiAssistenzaFiscale},
    {"Totale detrazioni Irpef        ", kDetrazioni},
    {"Bonus erogato                  ", kBonus},
    {"Redditi a Tassazione separata  ", kTassazioneSeparata},
    {"Redditi erogati da terzi       ", kRedditiDaTerzi},
    {"Imponibile Previdenziale INPS  ", kImponibileInps},
    {"Compensi Collaboratori         ", kCompensiCollaboratori},
    {"TFR dell'anno erogato          ", kTfrAnno},
    {"TFR di anni precedenti         ", kTfrAnniPrecedenti},
    {"Ritenute Irpef TFR dell'anno   ", kRitenuteTfrAnno},
    {"Ritenute Irpef TFR anni preced.", kRitenuteTfrAnniPrecedenti},
    {"Rivalutazioni del TFR          ", kRivalutazioniTfr},
});

// Every total of the run once, under a label of the report's width.
constexpr bool OgniTotaleUnaVolta() {
  std::array<int, kUltimoTotale + 1> volte{};
  for (const RigaTotale& r : kRigheTotali) {
    if (r.etichetta.size() != 31) return false;
    ++volte[r.totale];
  }
  for (int k = 1; k <= kUltimoTotale; ++k) {
    if (volte[static_cast<size_t>(k)] != 1) return false;
  }
  return volte[kNessunTotale] == 0;
}
static_assert(kRigheTotali.size() == kUltimoTotale && OgniTotaleUnaVolta());

}  // namespace

std::span<const RigaTotale> RigheTotali() { return kRigheTotali; }

namespace {

std::string Riga(std::string_view a, std::string_view b = {}, std::string_view c = {}) {
  std::string r(a);
  r += b;
  r += c;
  r += kAcapo;
  return r;
}

}  // namespace

bool ScriviFile(Sistema& sistema, const std::filesystem::path& file, std::string_view nome,
                const std::string& contenuto, std::string& errore) {
  FileNuovo nuovo(sistema);
  int numero = nuovo.Apri(file);
  size_t fatti = 0;
  while (!numero && fatti < contenuto.size()) {
    size_t scritti = 0;
    numero = sistema.Scrivi(nuovo.file(), contenuto.data() + fatti, contenuto.size() - fatti,
                            static_cast<long long>(fatti), scritti);
    if (!numero && scritti == 0) numero = kDiscoPieno;
    fatti += scritti;
  }
  if (!numero) numero = nuovo.Consegna();  // else abandoned as `nuovo` ends
  if (numero) errore = "errore tipo " + NumeroConSegno(numero) + " (" + TestoCausa(nuovo, numero, nome) + ")";
  return numero == 0;
}

namespace {

// Why `file` may not be written as the report's `proprio` file, or empty: it would replace
// another file of the archive, it is no ordinary file, or it holds what the program did not write
// there (`inizio` is how the program's own file begins: an empty file is the program's too).
std::string FileVietato(const Percorsi& percorsi, const std::filesystem::path& file, FileArchivio proprio,
                        std::string_view disco, std::string_view percorsoDati, std::string_view inizio) {
  const FileArchivio quale = FileDellArchivio(percorsi, file, disco, percorsoDati);
  if (quale != FileArchivio::Nessuno && quale != proprio) return "coincide con un file dell'archivio";
  const TipoFile tipo = percorsi.sistema().Tipo(file);
  if (tipo == TipoFile::Altro) return "non e' un file ordinario";
  if (tipo == TipoFile::Cartella) return "e' una cartella";
  std::string letto;
  bool esiste = false;
  if (const int numero = LeggiInizio(percorsi.sistema(), file, inizio.size(), letto, esiste)) {
    return "errore tipo " + NumeroConSegno(numero) + " (" + std::string(DescrizioneErrore(numero)) + ")";
  }
  if (!letto.empty() && letto != inizio) {
    return proprio == FileArchivio::Report ? "c'e' un file che non e' un report di quibold, e non viene sostituito"
                                           : "c'e' un file che non e' il file batch di quibold, e non viene sostituito";
  }
  return {};
}

}  // namespace

std::string FormatoTotale(double valore, char separatore) {
  // Sums of doubles leave residues that are not money: print cents only. Beyond 1e15 a double
  // holds no cents to round (and the rounding's scaling could overflow).
  if (std::fabs(valore) < 1e15) valore = Arrotonda(valore);
  std::string t = valore < 0 ? "-" : " ";
  const double assoluto = std::fabs(valore);
  if (!std::isfinite(assoluto)) {
    t += std::isnan(assoluto) ? "nan " : "inf ";
    return t;
  }
  if (assoluto == 0) return " 0 ";
  // At most 15 significant digits, taken from the scientific form and laid out in plain
  // notation: the digits d.dddddddddddddd and the exponent, whatever the magnitude.
  char scientifico[32];
  auto r = std::to_chars(scientifico, scientifico + sizeof scientifico, assoluto, std::chars_format::scientific,
                         kCifreSignificative - 1);
  const std::string_view testo(scientifico, static_cast<size_t>(r.ptr - scientifico));
  const size_t e = testo.find('e');
  std::string cifre(1, testo[0]);
  cifre += testo.substr(2, e - 2);
  std::string_view esponenteTesto = testo.substr(e + 1);
  const bool esponenteNegativo = esponenteTesto.front() == '-';
  esponenteTesto.remove_prefix(1);  // the sign is always there
  int esponente = 0;
  std::from_chars(esponenteTesto.data(), esponenteTesto.data() + esponenteTesto.size(), esponente);
  if (esponenteNegativo) esponente = -esponente;

  // Digits before the separator: esponente + 1 (none, or only zeros after it, below 1).
  const int interi = esponente + 1;
  std::string intera, decimali;
  if (interi <= 0) {
    intera = "0";
    decimali = std::string(static_cast<size_t>(-interi), '0') + cifre;
  } else if (static_cast<size_t>(interi) >= cifre.size()) {
    intera = cifre + std::string(static_cast<size_t>(interi) - cifre.size(), '0');
  } else {
    intera = cifre.substr(0, static_cast<size_t>(interi));
    decimali = cifre.substr(static_cast<size_t>(interi));
  }
  while (!decimali.empty() && decimali.back() == '0') decimali.pop_back();
  t += intera;
  if (!decimali.empty()) {
    t += separatore;
    t += decimali;
  }
  t += ' ';
  return t;
}

char SeparatoreDecimaleDiSistema() { return SeparatoreDecimale(); }

std::string TestoReport(const StatoFinestra& f, char separatore) {
  const Testata& t = f.run.testata;
  const auto& tx = f.Tx;
  std::string r;
  r += Riga("   CERTIFICAZIONE UNICA LAVORO DIPENDENTE ANNO 2018");
  r += Riga(std::string(55, '-'));
  r += Riga("Certificazione      :", tx[0]);
  r += Riga("Sostituto           :", t[kDenominazione1]);
  r += Riga("                    :", t[kDenominazione2]);
  r += Riga("Codice fiscale      :", t[kCfSostituto]);
  r += Riga("Tipologia fornitura :", tx[1]);
  r += Riga("Protocollo n.1 Sost :", t[kProtocolloSostituito]);
  r += Riga("Protocollo n.2 Sost :", t[kProgressivoSostituito]);
  r += Riga("Percorso e nome file:", tx[5], tx[6]);
  r += Riga(std::string(56, '-'));
  r += Riga("           Dati utili alla quadratura C.U.");
  r += Riga(std::string(56, '-'));
  for (const RigaTotale& riga : kRigheTotali) {
    r += Riga(riga.etichetta, FormatoTotale(f.run.Totale[riga.totale], separatore));
  }
  r += Riga(std::string(58, '-'));
  return r;
}

std::string TestoBatch(std::string_view disco) {
  return Riga("ECHO OFF") + Riga("CLS") + Riga(NomeVisualizzatore(disco) + " ", NomeFileReport(disco)) + Riga("exit");
}

std::optional<std::filesystem::path> ScriviReport(StatoFinestra& f, char separatore) {
  Canali& canali = f.canali();
  const Percorsi& percorsi = canali.percorsi();
  const std::string nomeReport = NomeFileReport(f.Disco);
  const std::string nomeBatch = NomeFileBatch(f.Disco);
  const auto report = percorsi.Nativo(nomeReport);
  const auto batch = percorsi.Nativo(nomeBatch);
  canali.Chiudi(kCanaleReport);
  canali.Chiudi(kCanaleTestata);
  std::string errore;
  const std::string* fallito = nullptr;
  const std::string testoReport = TestoReport(f, separatore), testoBatch = TestoBatch(f.Disco);
  // What either begins with whatever the run: the report's title, the batch file's first two lines.
  const std::string_view inizioReport = std::string_view(testoReport).substr(0, testoReport.find(kAcapo) + 2);
  const std::string_view inizioBatch = std::string_view(testoBatch).substr(0, testoBatch.find("CLS") + 5);
  // Neither file is written unless both may be.
  if (errore = FileVietato(percorsi, report, FileArchivio::Report, f.Disco, f.PercorsoDati, inizioReport);
      !errore.empty()) {
    fallito = &nomeReport;
  } else if (errore = FileVietato(percorsi, batch, FileArchivio::Batch, f.Disco, f.PercorsoDati, inizioBatch);
             !errore.empty()) {
    fallito = &nomeBatch;
  } else if (!ScriviFile(percorsi.sistema(), report, nomeReport, testoReport, errore)) {
    fallito = &nomeReport;
  } else if (!ScriviFile(percorsi.sistema(), batch, nomeBatch, testoBatch, errore)) {
    fallito = &nomeBatch;
  }
  if (fallito) {
    canali.messaggi().Mostra("Impossibile scrivere il file " + *fallito + ": " + errore, kTitoloProgramma, Pulsanti::Ok,
                             Icona::Errore);
    return std::nullopt;
  }
  return report;
}

bool StampaReport(StatoFinestra& f) {
  bool consegnato = false;
  if (auto report = ScriviReport(f, SeparatoreDecimaleDiSistema())) {
    // The program ends next: the user must learn where the report is (a viewer may show nothing),
    // before the viewer comes to the front.
    const std::string dove = Cp1252DaUtf8(Utf8DaPercorso(*report));
    if (f.DiceDoveIlReport) {
      f.canali().messaggi().Mostra("Il report di quadratura e' stato scritto in " + dove, kTitoloCreazione,
                                   Pulsanti::Ok, Icona::Nessuna);
    }
    std::string motivo;
    const Percorsi& percorsi = f.canali().percorsi();
    consegnato = f.piattaforma().ApriVisualizzatore(*report, percorsi.Nativo(NomeFileBatch(f.Disco)),
                                                    percorsi.Nativo(NomeVisualizzatore(f.Disco)), motivo);
    if (!consegnato) {
      f.canali().messaggi().Mostra("Il report " + dove + " e' stato scritto ma non si puo' aprire: " + motivo,
                                   kTitoloProgramma, Pulsanti::Ok, Icona::Errore);
    }
  }
  f.piattaforma().Termina();
  return consegnato;
}

}  // namespace quibold
