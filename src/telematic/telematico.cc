#include "telematic/telematico.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "archive/archivio.h"
#include "recfile/numeri.h"
#include "telematic/dipendenti.h"
#include "telematic/scrittore.h"
#include "telematic/sezioni.h"

namespace quibold {
namespace {

using enum Regola;

constexpr std::string_view kTitoloAccesso = "Accesso";

// Record C: the CT fields of the supplier when the certification is sent by an intermediary
// ("B" in `Testata` 33) and of the withholding agent otherwise.
constexpr std::array<Riga, 3> kQuadroCT = {{
    {"CT001001", T(3), Testo},
    {"CT001002", T(34), TestoSePositivo},
    {"CT001003", T(8), TestoDiviso3},
}};
constexpr std::array<Riga, 5> kQuadroCTIntermediario = {{
    {"CT003001", T(20), Testo},
    {"CT003002", T(38), Testo},
    {"CT003003", T(39), TestoSePositivo},
    {"CT003004", T(41), TestoDiviso3},
    {"CT003005", kNessuna, FlagSempre},
}};

std::string Bianchi(size_t n) { return std::string(n, ' '); }

std::string Conteggio(int n) { return ConZeri(std::to_string(n), 9); }

void RecordA(Scrittore& s, const Testata& t) {
  std::string r = "A" + Bianchi(14) + std::string(kCodiceFornitura) + Largo(t[19], 2) + Largo(t[20], 16);
  s.IniziaRecord(r);
  s.ChiudiRecord();
}

void RecordB(Scrittore& s, const Testata& t, const std::string& tipo) {
  const bool personaFisica = t[2] == "D";
  std::string r = "B" + Largo(t[3], 16) + std::string(kModulo) + Bianchi(48) + std::string(kCfProduttore);
  r += ' ';
  r += tipo == "A" ? '1' : '0';  // cancellation
  r += tipo == "S" ? '1' : '0';  // replacement
  if (personaFisica) {
    r += Largo(t[5], 24) + Largo(t[6], 20) + Bianchi(60);
  } else {
    r += Bianchi(44) + Largo(t[5], 24) + Largo(t[6], 24) + Bianchi(12);
  }
  r += Largo(t[8], 35) + Bianchi(65) + Largo(t[7], 12) + "0";
  if (personaFisica) {
    r += Bianchi(16) + "00" + Bianchi(44) + "00000000000";
  } else {
    r += Largo(t[9], 16) + Largo(t[10], 2) + Largo(t[12], 24) + Largo(t[13], 20);
    r += ValoreNumerico(t[11]) == 0 ? std::string("00000000000") : Largo(t[11], 11);
  }
  r += Bianchi(19);
  s.IniziaRecord(r);
  if (Rifilato(t[14]).empty()) throw ArrestoScrittura{"Grave !! Numero dipendenti pari a zero "};
  std::string resto = ConZeri(t[14], 8);
  resto += t[16] == "X" ? '1' : '0';
  resto += '1';
  resto += Largo(t[20], 16) + Largo(t[21], 1) + Largo(t[22], 8) + "1";
  s.Aggiungi(resto);
  ++s.numB;
  s.ChiudiRecord();
}

void RecordC(Scrittore& s, Testata& t) {
  CampiDipendente nessunDipendente;
  const FontiDipendente fonti{t, nessunDipendente};
  s.IniziaRecord("C" + Largo(t[3], 16) + std::string(kModulo) + Bianchi(64));
  Emetti(s, fonti, kQuadroCT);
  if (t[33] == "B") {
    Emetti(s, fonti, kQuadroCTIntermediario);
  } else if (t[35] == "X") {
    s.Flag("CT002001");
  } else {
    s.Testo("CT002002", t[37]);
  }
  ++s.numC;
  s.ChiudiRecord();
}

// The message of a file that failed its check: the first ten findings, a line each.
std::string ElencoRilievi(const Verifica& controllo) {
  constexpr size_t kMostrati = 10;
  std::string testo = "Il file telematico non ha superato il controllo:";
  const auto& rilievi = controllo.Rilievi();
  for (size_t i = 0; i < rilievi.size() && i < kMostrati; ++i) testo += "\n" + TestoRilievo(rilievi[i]);
  const long altri = controllo.Errori() + controllo.Avvisi() - static_cast<long>(std::min(rilievi.size(), kMostrati));
  if (altri > 0) testo += "\n(e altri " + std::to_string(altri) + " rilievi)";
  return testo;
}

void RecordZ(Scrittore& s) {
  s.canali().Canale = kCanaleTelematico;
  s.IniziaRecord("Z" + Bianchi(14) + Conteggio(s.numB) + Conteggio(s.numC) + Conteggio(s.numD) +
                 Conteggio(s.numG) + "000000000" + "000000000" + Bianchi(18));
  s.ChiudiRecord();
}

}  // namespace

bool ScriviTelematico(Canali& canali, const DatiFinestra& finestra, StatoRun& run) {
  FinestraMessaggi& box = canali.messaggi();
  auto ferma = [&](std::string_view messaggio) {
    box.Mostra(messaggio, kTitoloAccesso, Pulsanti::Ok, Icona::Errore);
    return false;
  };

  canali.ChiudiTutti();
  const std::string& tipo = finestra.Tx[1];
  if (tipo == "A" || tipo == "S") {
    if (finestra.Tx[2].empty()) return ferma("Manca il numero Identificativo Entratel ");
    if (finestra.Tx[3].empty()) return ferma("Manca il numero di Protocollo Sostituz/Annullamento ");
    if (finestra.Tx[4].empty()) {
      return ferma("Manca il numero di Record del dipendente da Annullare o Sostituire ");
    }
  }
  run.Totale.fill(0);

  // The certification header: record 1 the fields, record 2 the kind and the employees.
  canali.Canale = kCanaleTestata;
  canali.NumRec = 1;
  canali.LungRec[kCanaleTestata] = kLungTestata;
  canali.NomeFile[kCanaleTestata] = NomeFileTestata(finestra.PercorsoDati, finestra.CodiceCU);
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
  if (ValoreNumerico(t[21]) == 0) t[21] = finestra.Tx[8];
  if (ValoreNumerico(t[22]) == 0) t[22] = finestra.Tx[9];
  if (ValoreNumerico(t[22]) == 0) return ferma("Manca la data dell'impegno alla trasmissione ");
  if (ValoreNumerico(t[21]) == 0) return ferma("Manca la tipologia dell'impegno alla trasmissione ");

  // The one employee of a single mode must be a record of the file.
  if (ModalitaSingola(finestra)) {
    const double record = ValoreNumerico(finestra.Tx[4]);
    if (record < 1 || record > testata2.dipendenti || record != std::floor(record)) {
      return ferma("Numero di Record del dipendente non valido ");
    }
  }

  // The output must never replace a file of the archive (nor the report, written after it).
  const std::string uscita = finestra.Tx[5] + finestra.Tx[6];
  const auto nativoUscita = canali.percorsi().Nativo(uscita);
  for (const auto& file : FileDellArchivio(canali.percorsi(), finestra.Disco, finestra.PercorsoDati, finestra.CodiceCU)) {
    if (Percorsi::StessoFile(nativoUscita, file)) return ferma("Il file telematico coincide con un file dell'archivio ");
  }

  if (finestra.Didascalia) finestra.Didascalia("Memorizzazione in corso......della CU di " + t[5] + t[6]);
  canali.Chiudi(kCanaleTestata);

  // Every record goes through the check as it is written; the file is a success only if the
  // check finds no error in it (archive text can make one: a control character, a "+").
  Verifica controllo;
  run.avvisi.clear();
  run.numeroAvvisi = 0;
  Scrittore s(canali, run.Totale, &controllo);
  try {
    canali.Canale = kCanaleTelematico;
    canali.NomeFile[kCanaleTelematico] = uscita;
    canali.LungRec[kCanaleTelematico] = static_cast<int16_t>(kLungRecord);
    canali.CreaFile();
    if (!canali.Riuscita()) return false;
    canali.ApriFile();
    if (!canali.Riuscita()) return false;

    RecordA(s, t);
    RecordB(s, t, tipo);
    if (t[16] == "X") RecordC(s, t);
    ScriviDipendenti(s, finestra, t, testata2.dipendenti);
    // A file whose records failed the check must not look complete: it gets no record Z.
    if (controllo.Errori() > 0) throw ArrestoScrittura{ElencoRilievi(controllo)};
    RecordZ(s);
    // The last records reach the file only now: a failure here is a failed write like any other.
    canali.ChiudiTutti();
    if (!canali.Riuscita()) throw ArrestoScrittura{};
  } catch (const ArrestoScrittura& arresto) {
    canali.Chiudi(kCanaleTelematico);  // the records written so far reach the file
    if (!arresto.messaggio.empty()) ferma(arresto.messaggio);
    return false;
  }
  controllo.Fine();
  if (controllo.Errori() > 0) return ferma(ElencoRilievi(controllo));
  run.avvisi = controllo.Rilievi();
  run.numeroAvvisi = controllo.Avvisi();
  box.Mostra("Memorizazione regolarmente effettuata...", "Creazione Telematico", Pulsanti::Ok, Icona::Nessuna);
  return true;
}

}  // namespace quibold
