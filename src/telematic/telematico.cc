#include "telematic/telematico.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <string>

#include "archive/archivio.h"
#include "recfile/numeri.h"
#include "sistema/sistema.h"
#include "telematic/dipendenti.h"
#include "telematic/posizionali.h"
#include "telematic/scrittore.h"
#include "telematic/sezioni.h"
#include "verifica/verifica.h"

namespace quibold {
namespace {

using enum Regola;

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

// Begins a record whose positional part the certification's header fills, with the run's supply
// type `tipo` and the records written so far.
void IniziaDallaTestata(Scrittore& s, std::span<const posizionali::Posizionale> righe, const Testata& t,
                        std::string_view tipo = {}) {
  CampiDipendente nessunDipendente;
  s.IniziaRecord(posizionali::Componi(righe, {{t, nessunDipendente}, tipo, {}, &s}));
}

}  // namespace

std::vector<TabellaRighe> TabelleRecordC() {
  return {{"kQuadroCT", kQuadroCT}, {"kQuadroCTIntermediario", kQuadroCTIntermediario}};
}

void RecordA(Scrittore& s, const Testata& t) {
  IniziaDallaTestata(s, posizionali::kRecordA, t);
  s.ChiudiRecord();
}

void RecordB(Scrittore& s, const Testata& t, const std::string& tipo) {
  if (Rifilato(t[kNumeroDipendenti]).empty()) throw ArrestoScrittura{"Grave !! Numero dipendenti pari a zero "};
  IniziaDallaTestata(s, posizionali::kRecordB, t, tipo);
  s.ChiudiRecord();
}

void RecordC(Scrittore& s, const Testata& t) {
  CampiDipendente nessunDipendente;
  const FontiDipendente fonti{t, nessunDipendente};
  IniziaDallaTestata(s, posizionali::kTestaC, t);
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

void RecordZ(Scrittore& s, const Testata& t) {
  IniziaDallaTestata(s, posizionali::kRecordZ, t);
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

// What a name holds, looked at before a run and after its stop: `noto` false when the look failed.
struct SottoIlNome {
  bool noto = false;
  std::optional<IdentitaFile> file;
};
SottoIlNome Guarda(Sistema& sistema, const std::filesystem::path& nativo) {
  SottoIlNome sotto;
  sotto.noto = !nativo.empty() && ContenutoNome(sistema, nativo, sotto.file) == 0;
  return sotto;
}

// What a stopped run left of the telematic file, in a sentence for the office: `nome` what the
// delivery of the new file left under the name, `prima` and `dopo` what the name held before the
// run and holds now. Only what was looked at is said: another program, or another run where the
// file system keeps no locks, may have changed the name meanwhile.
std::string Fermata(const std::string& uscita, FileNuovo::Nome nome, const SottoIlNome& prima,
                    const SottoIlNome& dopo) {
  if (nome == FileNuovo::Nome::NonConfermato) {
    return "il file telematico " + uscita + " non e' confermato dal disco e non va inviato";
  }
  const std::string nessuno = "nessun file telematico scritto";
  if (!prima.noto || !dopo.noto) return nessuno;
  if (!dopo.file) return prima.file ? nessuno + ", e il file precedente non c'e' piu'" : nessuno;
  if (prima.file && *dopo.file == *prima.file) return nessuno + "; il file precedente e' rimasto com'era";
  return nessuno + "; sotto quel nome ora c'e' un file che questa elaborazione non ha scritto";
}

// One run of the writer, in its steps: the window's fields, the certification's header, the output's
// name, the records, the closing message. A step that stops the run has shown why and returns false.
class Corsa {
 public:
  Corsa(Canali& canali, const ImpostazioniTelematico& impostazioni, StatoRun& run)
      : canali_(canali), i_(impostazioni), run_(run), box_(canali.messaggi()) {}

  // On a stop, `nome` tells what the output's name holds after a failed delivery.
  bool Esegui(FileNuovo::Nome& nome) {
    canali_.ChiudiTutti();
    Testata2 testata2{};
    return CampiDellaFinestra() && LeggiTestata(testata2) && UscitaAmmessa() && ScriviRecords(testata2, nome);
  }

 private:
  bool Ferma(std::string_view messaggio, std::string_view dettagli = {}) {
    if (dettagli.empty()) {
      box_.Mostra(messaggio, kTitoloAccesso, Pulsanti::Ok, Icona::Errore);
    } else {
      box_.MostraConDettagli(messaggio, dettagli, kTitoloAccesso, Pulsanti::Ok, Icona::Errore);
    }
    return false;
  }

  // A cancellation or a replacement names the submission and the employee it concerns.
  bool CampiDellaFinestra() {
    if (i_.tipoFornitura != "A" && i_.tipoFornitura != "S") return true;
    if (i_.protocollo.empty()) return Ferma("Manca il numero Identificativo Entratel ");
    if (i_.progressivo.empty()) return Ferma("Manca il numero di Protocollo Sostituz/Annullamento ");
    if (i_.recordDipendente.empty())
      return Ferma("Manca il numero di Record del dipendente da Annullare o Sostituire ");
    return true;
  }

  // The certification header: record 1 the fields, record 2 the kind and the employees; the
  // commitment to transmit, the header's or the window's; the one employee of a single mode.
  bool LeggiTestata(Testata2& testata2) {
    run_.Totale.fill(0);
    canali_.Canale = kCanaleTestata;
    canali_.NumRec = 1;
    canali_.LungRec[kCanaleTestata] = kLungTestata;
    canali_.NomeFile[kCanaleTestata] = NomeFileTestata(i_.PercorsoDati, i_.CodiceCU);
    if (!canali_.percorsi().EsisteFile(canali_.NomeFile[kCanaleTestata])) return Ferma("Archivio inesistente ");
    canali_.ApriFile();
    if (!canali_.Riuscita()) return false;
    canali_.LeggiRecord();
    if (!canali_.Riuscita()) return false;  // never a header left over from another read
    run_.testata = SeparaTestata(canali_.Buffer[kCanaleTestata]);
    canali_.NumRec = 2;
    canali_.LeggiRecord();
    if (!canali_.Riuscita()) return false;
    testata2 = LeggiTestata2(canali_.Buffer[kCanaleTestata]);
    if (testata2.tipo == 2) return Ferma("La CU deve essere per LD, quella selezionata e' per LA ");

    Testata& t = run_.testata;
    if (ValoreNumerico(t[kTipoImpegno]) == 0) t[kTipoImpegno] = i_.tipoImpegno;
    if (ValoreNumerico(t[kDataImpegno]) == 0) t[kDataImpegno] = i_.dataImpegno;
    if (ValoreNumerico(t[kDataImpegno]) == 0) return Ferma("Manca la data dell'impegno alla trasmissione ");
    if (ValoreNumerico(t[kTipoImpegno]) == 0) return Ferma("Manca la tipologia dell'impegno alla trasmissione ");

    // The one employee of a single mode must be a record of the file.
    if (ModalitaSingola(i_)) {
      const double record = ValoreNumerico(i_.recordDipendente);
      if (record < 1 || record > testata2.dipendenti || record != std::floor(record)) {
        return Ferma("Numero di Record del dipendente non valido ");
      }
    }
    return true;
  }

  // The output must never replace a file of the archive (nor the report, written after it), nor
  // be anything but an ordinary file or a new name: a FIFO would hold the run, a device take it.
  // A device's name is refused before any call could open the device. An existing file is
  // replaced only when it is a telematic file (or empty), whatever else could name it.
  bool UscitaAmmessa() {
    const std::string uscita = i_.cartella + i_.nomeFile;
    if (NomeDiDispositivo(uscita)) return Ferma("Il file telematico non e' un file ordinario ");
    const auto nativoUscita = canali_.percorsi().Nativo(uscita);
    if (FileDellArchivio(canali_.percorsi(), nativoUscita, i_.Disco, i_.PercorsoDati) != FileArchivio::Nessuno) {
      return Ferma("Il file telematico coincide con un file dell'archivio \nIl file " + uscita +
                   " e' un file dell'archivio: indicare un'altra cartella o un altro nome per il file telematico");
    }
    const TipoFile tipo = canali_.percorsi().sistema().Tipo(nativoUscita);
    if (tipo == TipoFile::Altro) return Ferma("Il file telematico non e' un file ordinario ");
    // A name that no file may have (one of the program's own, one too long) is said as the
    // creation of the file would say it.
    auto creazione = [&](int errore, FileNuovo::Causa causa) {
      box_.Mostra("Errore tipo " + NumeroConSegno(errore) + " nella creazione del file \n" + uscita + ": " +
                      TestoCausa(causa, nativoUscita, errore, uscita),
                  kTitoloProgramma, Pulsanti::Ok, Icona::Nessuna);
      return false;
    };
    if (const FileNuovo::Causa causa = CausaDelNome(nativoUscita); causa != FileNuovo::Causa::Nessuna) {
      return creazione(kAccessoPercorso, causa);
    }
    if (tipo == TipoFile::Cartella) return creazione(kAccessoPercorso, FileNuovo::Causa::NonUnFile);
    std::string inizio;
    bool esiste = false;
    if (const int errore = LeggiInizio(canali_.percorsi().sistema(), nativoUscita, kLungRecord, inizio, esiste)) {
      return creazione(errore, FileNuovo::Causa::Nessuna);
    }
    if (!Sostituibile(inizio)) {
      return Ferma("Il file " + uscita + " non e' un file telematico CUR18: non viene sostituito ");
    }
    return true;
  }

  // Records A to Z, each through the check as it is written: the file is a success only if the
  // check finds no error in it (archive text can make one: a control character, a "+"). The
  // check reads the very blocks written, on the thread that writes them beside the writer.
  bool ScriviRecords(const Testata2& testata2, FileNuovo::Nome& nome) {
    const Testata& t = run_.testata;
    if (i_.Didascalia) {
      i_.Didascalia("Memorizzazione in corso......della CU di " + t[kDenominazione1] + t[kDenominazione2]);
    }
    canali_.Chiudi(kCanaleTestata);

    Verifica controllo(Vaglio::Rapido, OggiLocale());
    run_.records = 0;
    run_.nonScritti.clear();
    run_.avvisi.clear();
    run_.numeroAvvisi = 0;
    UscitaCanale uscitaCanale(canali_, &controllo);
    Scrittore s(uscitaCanale, run_.Totale);
    try {
      canali_.Canale = kCanaleTelematico;
      canali_.NomeFile[kCanaleTelematico] = i_.cartella + i_.nomeFile;
      canali_.LungRec[kCanaleTelematico] = static_cast<int16_t>(kLungRecord);
      // Written under a temporary name, locked until it has its own: another run on it stops at once.
      canali_.ApriFileNuovo();
      if (!canali_.Riuscita()) return false;

      RecordA(s, t);
      RecordB(s, t, i_.tipoFornitura);
      if (t[kConRecordC] == "X") RecordC(s, t);
      ScriviDipendenti(s, canali_, i_, run_.testata, testata2.dipendenti);
      RecordZ(s, t);
      // The last records reach the file only now, and the file its name: a failure here is a
      // failed write like any other.
      canali_.ChiudiNuovo(kCanaleTelematico);
      if (!canali_.Riuscita()) {
        nome = canali_.NomeDopoConsegna();
        throw ArrestoScrittura{};
      }
      canali_.ChiudiTutti();
    } catch (const ArrestoScrittura& arresto) {
      canali_.Chiudi(kCanaleTelematico);  // abandoned: the name keeps what it held
      if (!arresto.messaggio.empty()) Ferma(arresto.messaggio, arresto.dettagli);
      return false;
    }
    run_.records = s.Records();
    run_.nonScritti = s.NonScritti();
    run_.avvisi = controllo.Rilievi();
    s.NominaDipendenti(run_.avvisi);
    run_.numeroAvvisi = controllo.Avvisi();
    Conclusione();
    return true;
  }

  // With the report the window does not come back: the warnings are told here, before the viewer.
  void Conclusione() {
    std::string fatto = "Memorizazione regolarmente effettuata...";
    if (i_.report && run_.numeroAvvisi > 0) {
      fatto += "\n" + RigaAvvisi(run_);
      if (const std::string& chi = run_.avvisi.front().dipendente; !chi.empty()) {
        fatto += "\n" + std::string(kRientroDipendente) + chi;
      }
    }
    box_.Mostra(fatto, kTitoloCreazione, Pulsanti::Ok, Icona::Nessuna);
  }

  Canali& canali_;
  const ImpostazioniTelematico& i_;
  StatoRun& run_;
  FinestraMessaggi& box_;
};

}  // namespace

bool ScriviTelematico(Canali& canali, const ImpostazioniTelematico& impostazioni, StatoRun& run) {
  run.records = 0;
  run.fermata.clear();
  const std::string uscita = impostazioni.cartella + impostazioni.nomeFile;
  Sistema& sistema = canali.percorsi().sistema();
  const SottoIlNome prima = Guarda(sistema, canali.percorsi().Nativo(uscita));
  FileNuovo::Nome nome = FileNuovo::Nome::Precedente;
  if (Corsa(canali, impostazioni, run).Esegui(nome)) return true;
  run.fermata = Fermata(uscita, nome, prima, Guarda(sistema, canali.percorsi().Nativo(uscita)));
  return false;
}

std::string RigaAvvisi(const StatoRun& run) {
  assert(run.numeroAvvisi > 0 && !run.avvisi.empty());
  return "Il file telematico ha superato il controllo con " + std::to_string(run.numeroAvvisi) +
         (run.numeroAvvisi == 1 ? " avviso" : " avvisi") + ": " + TestoRilievo(run.avvisi.front());
}

}  // namespace quibold
