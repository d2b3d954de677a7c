#include "telematic/telematico.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <string>

#include "archive/archivio.h"
#include "recfile/numeri.h"
#include "telematic/dipendenti.h"
#include "telematic/scrittore.h"
#include "telematic/sezioni.h"
#include "verifica/verifica.h"

namespace quibold {
namespace {

using enum Regola;

constexpr std::string_view kTitoloAccesso = "Accesso";

// Record C: the CT fields of the supplier when the certification is sent by an intermediary
// ("B" in `Testata` 33) and of the withholding agent otherwise.
constexpr auto kQuadroCT = std::to_array<Riga>({
    {"CT001001", T(kCfSostituto), Testo},
    {"CT001002", T(kPerCT001002), TestoSePositivo},
    {"CT001003", T(kEmail), TestoDiviso3},
});
constexpr auto kQuadroCTIntermediario = std::to_array<Riga>({
    {"CT003001", T(kCfFornitore), Testo},
    {"CT003002", T(kPerCT003002), Testo},
    {"CT003003", T(kCellulareIntermediario), TestoSePositivo},
    {"CT003004", T(kEmailIntermediario), TestoDiviso3},
    {"CT003005", kNessuna, FlagSempre},
});

std::string Bianchi(size_t n) { return std::string(n, ' '); }

std::string Conteggio(int n) { return ConZeri(std::to_string(n), 9); }

}  // namespace

std::vector<TabellaRighe> TabelleRecordC() {
  return {{"kQuadroCT", kQuadroCT}, {"kQuadroCTIntermediario", kQuadroCTIntermediario}};
}

void RecordA(Scrittore& s, const Testata& t) {
  std::string r =
      "A" + Bianchi(14) + std::string(kCodiceFornitura) + Largo(t[kTipoFornitore], 2) + Largo(t[kCfFornitore], 16);
  s.IniziaRecord(r);
  s.ChiudiRecord();
}

void RecordB(Scrittore& s, const Testata& t, const std::string& tipo) {
  const bool personaFisica = t[kPersonaFisica] == "D";
  std::string r = "B" + Largo(t[kCfSostituto], 16) + std::string(kModulo) + Bianchi(48) + std::string(kCfProduttore);
  r += ' ';
  r += tipo == "A" ? '1' : '0';  // cancellation
  r += tipo == "S" ? '1' : '0';  // replacement
  if (personaFisica) {
    r += Largo(t[kDenominazione1], 24) + Largo(t[kDenominazione2], 20) + Bianchi(60);
  } else {
    r += Bianchi(44) + Largo(t[kDenominazione1], 24) + Largo(t[kDenominazione2], 24) + Bianchi(12);
  }
  r += Largo(t[kEmail], 35) + Bianchi(65) + Largo(t[kTelefono], 12) + "0";
  if (personaFisica) {
    r += Bianchi(16) + "00" + Bianchi(44) + "00000000000";
  } else {
    r += Largo(t[kCfRappresentante], 16) + Largo(t[kCaricaRappresentante], 2) + Largo(t[kCognomeRappresentante], 24) +
         Largo(t[kNomeRappresentante], 20);
    r += ValoreNumerico(t[kCfSocietaRappresentante]) == 0 ? std::string("00000000000")
                                                          : Largo(t[kCfSocietaRappresentante], 11);
  }
  r += Bianchi(19);
  s.IniziaRecord(r);
  if (Rifilato(t[kNumeroDipendenti]).empty()) throw ArrestoScrittura{"Grave !! Numero dipendenti pari a zero "};
  std::string resto = ConZeri(t[kNumeroDipendenti], 8);
  resto += t[kConRecordC] == "X" ? '1' : '0';
  resto += '1';
  resto += Largo(t[kCfFornitore], 16) + Largo(t[kTipoImpegno], 1) + Largo(t[kDataImpegno], 8) + "1";
  s.Aggiungi(resto);
  s.ChiudiRecord();
}

void RecordC(Scrittore& s, const Testata& t) {
  CampiDipendente nessunDipendente;
  const FontiDipendente fonti{t, nessunDipendente};
  s.IniziaRecord("C" + Largo(t[kCfSostituto], 16) + std::string(kModulo) + Bianchi(64));
  Emetti(s, fonti, kQuadroCT);
  if (t[kSceltaQuadroCT] == "B") {
    Emetti(s, fonti, kQuadroCTIntermediario);
  } else if (t[kFlagCT002001] == "X") {
    s.Flag("CT002001");
  } else {
    s.Testo("CT002002", t[kPerCT002002]);
  }
  s.ChiudiRecord();
}

namespace {

void RecordZ(Scrittore& s) {
  s.IniziaRecord("Z" + Bianchi(14) + Conteggio(s.Conteggio('B')) + Conteggio(s.Conteggio('C')) +
                 Conteggio(s.Conteggio('D')) + Conteggio(s.Conteggio('G')) + "000000000" + "000000000" + Bianchi(18));
  s.ChiudiUltimoRecord();  // only when the check finds nothing wrong in the file
}

// Whether `inizio`, the start of an existing file, is that of a file a run may replace: empty, or
// a record A of this supply. Anything else may be an archive file under another name (a second
// mount of its folder), a clerk's spreadsheet, another program's file.
bool Sostituibile(std::string_view inizio) {
  return inizio.empty() || (inizio.size() == kLungRecord && inizio[0] == 'A' &&
                            inizio.substr(15, kCodiceFornitura.size()) == kCodiceFornitura &&
                            inizio.substr(kFineDati) == std::string_view(kFineRecord, sizeof kFineRecord));
}

// What a stopped run left of the telematic file, in a sentence for the office: `nome` what the
// file's name holds, `esisteva` whether a file was there before the run.
std::string Fermata(const std::string& uscita, FileNuovo::Nome nome, bool esisteva) {
  switch (nome) {
    case FileNuovo::Nome::NonConfermato:
      return "il file telematico " + uscita + " non e' confermato dal disco e non va inviato";
    case FileNuovo::Nome::Tolto:
      return esisteva ? "nessun file telematico scritto, e il file precedente non c'e' piu'"
                      : "nessun file telematico scritto";
    case FileNuovo::Nome::Precedente: break;
  }
  return esisteva ? "nessun file telematico scritto; il file precedente e' rimasto com'era"
                  : "nessun file telematico scritto";
}

// The run; on a stop, `nome` tells what the output's name holds after a failed delivery.
bool Scrivi(Canali& canali, const ImpostazioniTelematico& impostazioni, StatoRun& run, FileNuovo::Nome& nome) {
  FinestraMessaggi& box = canali.messaggi();
  auto ferma = [&](std::string_view messaggio, std::string_view dettagli = {}) {
    if (dettagli.empty()) {
      box.Mostra(messaggio, kTitoloAccesso, Pulsanti::Ok, Icona::Errore);
    } else {
      box.MostraConDettagli(messaggio, dettagli, kTitoloAccesso, Pulsanti::Ok, Icona::Errore);
    }
    return false;
  };

  canali.ChiudiTutti();
  const ImpostazioniTelematico& i = impostazioni;
  const std::string& tipo = i.tipoFornitura;
  if (tipo == "A" || tipo == "S") {
    if (i.protocollo.empty()) return ferma("Manca il numero Identificativo Entratel ");
    if (i.progressivo.empty()) return ferma("Manca il numero di Protocollo Sostituz/Annullamento ");
    if (i.recordDipendente.empty()) {
      return ferma("Manca il numero di Record del dipendente da Annullare o Sostituire ");
    }
  }
  run.Totale.fill(0);

  // The certification header: record 1 the fields, record 2 the kind and the employees.
  canali.Canale = kCanaleTestata;
  canali.NumRec = 1;
  canali.LungRec[kCanaleTestata] = kLungTestata;
  canali.NomeFile[kCanaleTestata] = NomeFileTestata(i.PercorsoDati, i.CodiceCU);
  if (!canali.percorsi().EsisteFile(canali.NomeFile[kCanaleTestata])) return ferma("Archivio inesistente ");
  canali.ApriFile();
  if (!canali.Riuscita()) return false;
  canali.LeggiRecord();
  if (!canali.Riuscita()) return false;  // never a header left over from another read
  run.testata = SeparaTestata(canali.Buffer[kCanaleTestata]);
  canali.NumRec = 2;
  canali.LeggiRecord();
  if (!canali.Riuscita()) return false;
  const Testata2 testata2 = LeggiTestata2(canali.Buffer[kCanaleTestata]);
  if (testata2.tipo == 2) return ferma("La CU deve essere per LD, quella selezionata e' per LA ");

  Testata& t = run.testata;
  if (ValoreNumerico(t[kTipoImpegno]) == 0) t[kTipoImpegno] = i.tipoImpegno;
  if (ValoreNumerico(t[kDataImpegno]) == 0) t[kDataImpegno] = i.dataImpegno;
  if (ValoreNumerico(t[kDataImpegno]) == 0) return ferma("Manca la data dell'impegno alla trasmissione ");
  if (ValoreNumerico(t[kTipoImpegno]) == 0) return ferma("Manca la tipologia dell'impegno alla trasmissione ");

  // The one employee of a single mode must be a record of the file.
  if (ModalitaSingola(i)) {
    const double record = ValoreNumerico(i.recordDipendente);
    if (record < 1 || record > testata2.dipendenti || record != std::floor(record)) {
      return ferma("Numero di Record del dipendente non valido ");
    }
  }

  // The output must never replace a file of the archive (nor the report, written after it), nor
  // be anything but an ordinary file or a new name: a FIFO would hold the run, a device take it.
  // A device's name is refused before any call could open the device.
  const std::string uscita = i.cartella + i.nomeFile;
  if (NomeDiDispositivo(uscita)) return ferma("Il file telematico non e' un file ordinario ");
  const auto nativoUscita = canali.percorsi().Nativo(uscita);
  if (FileDellArchivio(canali.percorsi(), nativoUscita, i.Disco, i.PercorsoDati) !=
      FileArchivio::Nessuno) {
    return ferma("Il file telematico coincide con un file dell'archivio ");
  }
  if (canali.percorsi().sistema().Tipo(nativoUscita) == TipoFile::Altro) {
    return ferma("Il file telematico non e' un file ordinario ");
  }
  // An existing file is replaced only when it is a telematic file (or empty), whatever else
  // could name it.
  std::string inizio;
  bool esiste = false;
  if (const int errore = LeggiInizio(canali.percorsi().sistema(), nativoUscita, kLungRecord, inizio, esiste)) {
    box.Mostra("Errore tipo " + NumeroConSegno(errore) + " nella creazione del file ", kTitoloProgramma, Pulsanti::Ok,
               Icona::Nessuna);
    return false;
  }
  if (!Sostituibile(inizio)) {
    return ferma("Il file " + uscita + " non e' un file telematico CUR18: non viene sostituito ");
  }

  if (i.Didascalia) i.Didascalia("Memorizzazione in corso......della CU di " + t[kDenominazione1] + t[kDenominazione2]);
  canali.Chiudi(kCanaleTestata);

  // Every record goes through the check as it is written; the file is a success only if the
  // check finds no error in it (archive text can make one: a control character, a "+").
  // The check reads the very blocks written, on the thread that writes them beside the writer.
  Verifica controllo;
  run.records = 0;
  run.avvisi.clear();
  run.numeroAvvisi = 0;
  UscitaCanale uscitaCanale(canali, &controllo);
  Scrittore s(uscitaCanale, run.Totale);
  try {
    canali.Canale = kCanaleTelematico;
    canali.NomeFile[kCanaleTelematico] = uscita;
    canali.LungRec[kCanaleTelematico] = static_cast<int16_t>(kLungRecord);
    // Written under a temporary name, locked until it has its own: another run on it stops at once.
    canali.ApriFileNuovo();
    if (!canali.Riuscita()) return false;

    RecordA(s, t);
    RecordB(s, t, tipo);
    if (t[kConRecordC] == "X") RecordC(s, t);
    ScriviDipendenti(s, canali, i, t, testata2.dipendenti);
    RecordZ(s);
    // The last records reach the file only now, and the file its name: a failure here is a
    // failed write like any other.
    canali.ChiudiNuovo(kCanaleTelematico);
    if (!canali.Riuscita()) {
      nome = canali.NomeDopoConsegna();
      throw ArrestoScrittura{};
    }
    canali.ChiudiTutti();
  } catch (const ArrestoScrittura& arresto) {
    canali.Chiudi(kCanaleTelematico);  // abandoned: the name keeps what it held
    if (!arresto.messaggio.empty()) ferma(arresto.messaggio, arresto.dettagli);
    return false;
  }
  run.records = s.Records();
  run.avvisi = controllo.Rilievi();
  s.NominaDipendenti(run.avvisi);
  run.numeroAvvisi = controllo.Avvisi();
  // With the report the window does not come back: the warnings are told here, before the viewer.
  std::string fatto = "Memorizazione regolarmente effettuata...";
  if (i.report && run.numeroAvvisi > 0) {
    fatto += "\n" + RigaAvvisi(run);
    if (const std::string& chi = run.avvisi.front().dipendente; !chi.empty()) {
      fatto += "\n" + std::string(kRientroDipendente) + chi;
    }
  }
  box.Mostra(fatto, kTitoloCreazione, Pulsanti::Ok, Icona::Nessuna);
  return true;
}

}  // namespace

bool ScriviTelematico(Canali& canali, const ImpostazioniTelematico& impostazioni, StatoRun& run) {
  run.records = 0;
  run.fermata.clear();
  const std::string uscita = impostazioni.cartella + impostazioni.nomeFile;
  const bool esisteva = canali.percorsi().EsisteFile(uscita);
  FileNuovo::Nome nome = FileNuovo::Nome::Precedente;
  if (Scrivi(canali, impostazioni, run, nome)) return true;
  run.fermata = Fermata(uscita, nome, esisteva);
  return false;
}

std::string RigaAvvisi(const StatoRun& run) {
  assert(run.numeroAvvisi > 0 && !run.avvisi.empty());
  return "Il file telematico ha superato il controllo con " + std::to_string(run.numeroAvvisi) +
         (run.numeroAvvisi == 1 ? " avviso" : " avvisi") + ": " + TestoRilievo(run.avvisi.front());
}

}  // namespace quibold
