#include "ui/stato.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "archive/archivio.h"
#include "archive/testata.h"
#include "recfile/cp1252.h"
#include "recfile/file_nuovo.h"
#include "recfile/numeri.h"
#include "ui/report.h"
#include "ui/vista_file.h"
#include "verifica/testi.h"

namespace quibold {

namespace {

constexpr std::string_view kSceltaTipologia = "Selezionare la tipologia di trasmissione della CU";

// Keeps the messages shown to it, to be shown later as one.
class MessaggiTrattenuti : public FinestraMessaggi {
 public:
  Risposta Mostra(std::string_view testo, std::string_view, Pulsanti, Icona) override {
    testi.emplace_back(testo);
    return Risposta::No;  // the record files ask no question
  }
  std::vector<std::string> testi;
};

// The messages of a creation run, shown as they come; before the first box that says the run
// stopped (any OK box but the closing message), the caption says so.
// With `offriMostra`, the closing message also offers to show the file just written, and
// `mostraChiesto` says whether the user asked for it.
class MessaggiDellaCorsa : public FinestraMessaggi {
 public:
  MessaggiDellaCorsa(FinestraMessaggi& box, std::function<void()> fermata, bool offriMostra)
      : box_(box), fermata_(std::move(fermata)), offriMostra_(offriMostra) {}
  Risposta Mostra(std::string_view testo, std::string_view titolo, Pulsanti pulsanti, Icona icona) override {
    Prima(titolo, pulsanti);
    if (offriMostra_ && titolo == kTitoloCreazione && pulsanti == Pulsanti::Ok) {
      mostraChiesto = box_.Mostra(testo, titolo, Pulsanti::OkMostraFile, icona) == Risposta::MostraFile;
      return Risposta::Ok;
    }
    return box_.Mostra(testo, titolo, pulsanti, icona);
  }
  Risposta MostraConDettagli(std::string_view testo, std::string_view dettagli, std::string_view titolo,
                             Pulsanti pulsanti, Icona icona) override {
    Prima(titolo, pulsanti);
    return box_.MostraConDettagli(testo, dettagli, titolo, pulsanti, icona);
  }
  bool mostraChiesto = false;

 private:
  void Prima(std::string_view titolo, Pulsanti pulsanti) {
    if (pulsanti == Pulsanti::Ok && titolo != kTitoloCreazione && fermata_) std::exchange(fermata_, nullptr)();
  }
  FinestraMessaggi& box_;
  std::function<void()> fermata_;
  bool offriMostra_;
};

constexpr std::string_view kCorsaInterrotta = "Memorizzazione interrotta: nessun file telematico da inviare";

// What follows the message of a drive file that cannot be opened or read: the real path looked
// in, which "c:\disco.ute" does not tell under a drive root, what the file must hold and where
// the archive then is, and how to give quibold a drive root of its own.
std::string IndicazioniDisco(const Percorsi& percorsi) {
  const std::string esempio = PercorsoDatiDi("D:");
  std::string t =
      "\nIl file " + std::string(kFileDisco) + " e' stato cercato in " +
      Cp1252DaUtf8(Utf8DaPercorso(percorsi.Nativo(kFileDisco))) +
      "\nIl file deve contenere la lettera dell'unita' dell'archivio, per esempio D:" + "\nL'archivio e' la cartella " +
      std::string(kCartellaDati) + " di quell'unita' (per esempio " + esempio + "FCU1.018 e " + esempio +
      "DCU1.018 per la certificazione 1).";
  const std::string opzioni =
      "l'opzione --radice CARTELLA oppure la variabile d'ambiente QUIBOLD_RADICE=CARTELLA, dove CARTELLA "
      "contiene una cartella per unita' (c per C:, d per D:, ...)";
  if (percorsi.Radice().empty())
    return t + "\nLe unita' possono essere anche cartelle: avviare quibold con " + opzioni + ".";
  return t + "\nLe unita' sono le cartelle di " + Cp1252DaUtf8(Utf8DaPercorso(percorsi.Radice())) +
         "; per un'altra cartella avviare quibold con " + opzioni + ".";
}

// Why a date is refused, and how to write it.
std::string RifiutoData(std::string_view data) {
  return "La data dell'impegno " + std::string(Rifilato(data)) +
         " non esiste: scriverla come giorno, mese e anno di otto cifre (ggmmaaaa), per esempio 31012018";
}

}  // namespace

StatoFinestra::StatoFinestra(Canali& canali, Piattaforma& piattaforma) : canali_(canali), piattaforma_(piattaforma) {
  StatoDiProgetto();
}

void StatoFinestra::StatoDiProgetto() {
  Tx = {};
  TxAbilitato.fill(true);
  for (int i : {kTxProtocollo, kTxProgressivo, kTxRecord, kTxCfIntermediario})
    TxAbilitato[static_cast<size_t>(i)] = false;
  lista.clear();
  CertificazioneMostrata.clear();
  TipiFornitura.clear();
  TipoScelto = -1;
  DatiVisibili = false;
  BarraDiStato.clear();
  Avanzamento.clear();
  certificazioneScelta_ = false;
}

void StatoFinestra::Messaggio(std::string_view testo) {
  BarraDiStato = std::string(testo);
  avvisiInBarra_ = dataInBarra_ = false;
}

void StatoFinestra::messaggi(int indice) {
  if (indice >= 0 && indice < kNumTx) TestoMessaggio = std::string(kAiuti[static_cast<size_t>(indice)]);
  // The warnings of the last run stay until the clerk does something else that writes there:
  // a field's help would hide them as soon as the focus comes back. So does a date refused.
  if (!avvisiInBarra_ && !dataInBarra_) Messaggio(TestoMessaggio);
}

std::string StatoFinestra::SoloCifre(std::string_view testo) {
  std::string cifre;
  for (char c : testo) {
    if (controllo::Cifra(c)) cifre += c;
  }
  return cifre;
}

bool StatoFinestra::DataRifiutata(std::string_view data) {
  return ValoreNumerico(data) != 0 && !controllo::DataEsistente(Rifilato(data));
}

bool StatoFinestra::LasciaCampo(int indice) {
  if (!CampoData(indice)) return true;
  const std::string& data = Tx[static_cast<size_t>(indice)];
  if (!DataRifiutata(data)) {
    if (dataInBarra_) Messaggio(TestoMessaggio);  // the refusal no longer holds
    return true;
  }
  Messaggio(RifiutoData(data));
  dataInBarra_ = true;
  return false;
}

void StatoFinestra::CopiaIntermediario(std::string_view testata) {
  Tx[kTxCfIntermediario] = std::string(CampoComeScritto(testata, kCfFornitore));
  Tx[kTxTipoImpegno] = std::string(CampoComeScritto(testata, kTipoImpegno));
  Tx[kTxDataImpegno] = std::string(CampoComeScritto(testata, kDataImpegno));
  Tx[kTxCellulare] = std::string(CampoComeScritto(testata, kCellulareIntermediario));
  Tx[kTxEmail] = std::string(CampoComeScritto(testata, kEmailIntermediario));
}

std::string StatoFinestra::VoceLista(std::string_view codice, std::string_view testata) const {
  return std::string(codice) + " " + std::string(Rifilato(CampoComeScritto(testata, kDenominazione1))) + "-" +
         std::string(Rifilato(CampoComeScritto(testata, kDenominazione2)));
}

void StatoFinestra::Apertura() {
  StatoDiProgetto();
  FlagSingola = 0;
  DatiVisibili = false;
  TxAbilitato[kTxCfIntermediario] = TxAbilitato[kTxCellulare] = TxAbilitato[kTxEmail] = false;
  Tx[kTxTipoImpegno] = std::string(17, ' ');
  Tx[kTxDataImpegno] = std::string(17, ' ');
  Tx[kTxCellulare] = std::string(16, ' ');
  Tx[kTxEmail].clear();
  TipiFornitura = {"N=Normale", "A=Annullamento", "S=Sostituzione", "T=Normale SINGOLA"};
  TipoScelto = -1;
  TxAbilitato[kTxProtocollo] = TxAbilitato[kTxProgressivo] = TxAbilitato[kTxRecord] = false;
  Tx[kTxTipoFornitura] = "N";

  // The drive of the suite's data, from the first two characters of c:\disco.ute, a file the
  // program only reads: never created. One that cannot be opened is not read; what went wrong is
  // one box, with where the file was looked for and what it must hold, said once: the window
  // opened again after a run does not repeat it.
  canali_.Canale = kCanaleDisco;
  canali_.NomeFile[kCanaleDisco] = std::string(kFileDisco);
  canali_.LungRec[kCanaleDisco] = kLungDisco;
  FinestraMessaggi& box = canali_.messaggi();
  MessaggiTrattenuti trattenuti;
  canali_.MostraIn(&trattenuti);
  canali_.ApriFileEsistente();
  if (canali_.Riuscita()) {
    canali_.NumRec = 1;
    canali_.LeggiRecord();
  }
  canali_.MostraIn(&box);
  std::string discoIllegibile;
  for (const std::string& t : trattenuti.testi) discoIllegibile += (discoIllegibile.empty() ? "" : "\n") + t;
  if (!discoIllegibile.empty()) discoIllegibile += IndicazioniDisco(canali_.percorsi());
  if (!discoIllegibile.empty() && discoIllegibile != discoSegnalato_) {
    box.Mostra(discoIllegibile, kTitoloProgramma, Pulsanti::Ok, Icona::Errore);
  }
  discoSegnalato_ = discoIllegibile;
  Disco = canali_.Buffer[kCanaleDisco].substr(0, 2);
  PercorsoDati = PercorsoDatiDi(Disco);

  // The certifications present: numbers 1 to 999 whose header file exists, from one reading of
  // the archive folder; each header is opened by the name the reading found.
  canali_.Canale = kCanaleTestata;
  canali_.LungRec[kCanaleTestata] = kLungTestata;
  lista.clear();
  NumeroCodici = 0;
  const Percorsi& percorsi = canali_.percorsi();
  for (const TestataPresente& presente : ElencoTestate(percorsi, PercorsoDati)) {
    std::string codice = std::to_string(presente.codice);
    canali_.NomeFile[kCanaleTestata] = NomeFileTestata(PercorsoDati, codice);
    percorsi.Ricorda(canali_.NomeFile[kCanaleTestata], presente.nativo);
    ++NumeroCodici;
    ElencoCodici[static_cast<size_t>(NumeroCodici)] = presente.codice;
    canali_.Canale = kCanaleTestata;
    canali_.ApriFile();
    canali_.NumRec = 1;
    canali_.LeggiRecord();
    if (canali_.Riuscita()) {
      const std::string& testata = canali_.Buffer[kCanaleTestata];
      lista.push_back(VoceLista(codice, testata));
      CopiaIntermediario(testata);
    } else {
      // A header that could not be read shows no other certification's data.
      lista.push_back(VoceLista(codice, {}));
    }
  }
  percorsi.Dimentica();
  canali_.Chiudi(kCanaleTestata);
  Tx[kTxCartella] = PercorsoDati;
  TestoMessaggio =
      "Selezionare la CU dall'elenco oppure inserire il codice ad essa relativo.Premere <ok> per continuare.";
  Messaggio(TestoMessaggio);
}

void StatoFinestra::AperturaCome(const StatoFinestra& aperta) {
  Tx = aperta.Tx;
  TxAbilitato = aperta.TxAbilitato;
  lista = aperta.lista;
  CertificazioneMostrata = aperta.CertificazioneMostrata;
  TipiFornitura = aperta.TipiFornitura;
  TipoScelto = aperta.TipoScelto;
  DatiVisibili = aperta.DatiVisibili;
  BarraDiStato = aperta.BarraDiStato;
  Avanzamento = aperta.Avanzamento;
  ElencoCodici = aperta.ElencoCodici;
  NumeroCodici = aperta.NumeroCodici;
  CodiceCU = aperta.CodiceCU;
  FlagSingola = aperta.FlagSingola;
  FlagReport = aperta.FlagReport;
  Disco = aperta.Disco;
  PercorsoDati = aperta.PercorsoDati;
  TestoMessaggio = aperta.TestoMessaggio;
  certificazioneScelta_ = aperta.certificazioneScelta_;
}

void StatoFinestra::ScegliCertificazione(int k) {
  if (k < 1 || k > NumeroCodici) return;
  CertificazioneMostrata = lista[static_cast<size_t>(k - 1)];
  DatiVisibili = false;
  Avanzamento.clear();  // the caption of the last run's stop concerned another choice
  certificazioneScelta_ = true;
  CodiceCU = std::string(Rifilato(std::to_string(ElencoCodici[static_cast<size_t>(k)])));
  canali_.Canale = kCanaleTestata;
  canali_.NumRec = 1;
  canali_.LungRec[kCanaleTestata] = kLungTestata;
  canali_.NomeFile[kCanaleTestata] = NomeFileTestata(PercorsoDati, CodiceCU);
  Tx[kTxCodice] = CodiceCU;
  Tx[kTxNomeFile] = "TCU" + CodiceCU + "18";
  TestoMessaggio = std::string(kSceltaTipologia);
  Messaggio(TestoMessaggio);
}

bool StatoFinestra::ScegliCodiceDigitato(std::string_view testo) {
  const std::string_view t = Rifilato(testo);
  const size_t cifre = std::min(t.find_first_not_of("0123456789"), t.size());
  if (cifre == 0) return false;
  long codice = 0;
  for (char c : t.substr(0, std::min<size_t>(cifre, 9))) codice = codice * 10 + (c - '0');
  for (int k = 1; k <= NumeroCodici; ++k) {
    if (ElencoCodici[static_cast<size_t>(k)] == codice) {
      ScegliCertificazione(k);
      return true;
    }
  }
  Messaggio("Nessuna certificazione con il codice " + std::string(t.substr(0, cifre)) + " nell'elenco");
  return false;
}

void StatoFinestra::Esci() {
  canali_.ChiudiTutti();  // the program ends at once: nothing gathered may stay unwritten
  piattaforma_.Termina();
}

bool StatoFinestra::ApriCU() { return ApriCertificazione({}); }

bool StatoFinestra::ApriCertificazione(std::string_view poi) {
  CodiceCU = std::string(Rifilato(Tx[kTxCodice]));
  certificazioneScelta_ = false;
  canali_.Canale = kCanaleTestata;
  canali_.NumRec = 1;
  canali_.LungRec[kCanaleTestata] = kLungTestata;
  FinestraMessaggi& box = canali_.messaggi();
  auto ferma = [&](std::string testo) {
    if (!poi.empty()) testo += "\n" + std::string(poi);
    box.Mostra(testo, kTitoloAccesso, Pulsanti::Ok, Icona::Errore);
    return false;
  };
  if (ValoreNumerico(CodiceCU) == 0) return ferma("Certificazione non ancora selezionata ");
  // A new certification: the caption of the last run's stop concerned another.
  Avanzamento.clear();
  DatiVisibili = true;
  canali_.NomeFile[kCanaleTestata] = NomeFileTestata(PercorsoDati, CodiceCU);
  if (!canali_.percorsi().EsisteFile(canali_.NomeFile[kCanaleTestata])) {
    return ferma("Archivio inesistente \nNon c'e' il file " + canali_.NomeFile[kCanaleTestata]);
  }
  certificazioneScelta_ = true;
  canali_.ApriFile();
  canali_.LeggiRecord();
  // A header that could not be read leaves the fields as they were.
  const bool letta = canali_.Riuscita();
  const std::string testata = letta ? canali_.Buffer[kCanaleTestata] : std::string();
  const std::string_view tipo = CampoComeScritto(testata, kTipoFornituraCU);
  switch (tipo.empty() ? ' ' : tipo[0]) {
    case '1': Tx[kTxTipoFornitura] = "A"; break;
    case '2': Tx[kTxTipoFornitura] = "S"; break;
    case '0': Tx[kTxTipoFornitura] = "N"; break;
    default: break;
  }
  if (Tx[kTxTipoFornitura] == "S" || Tx[kTxTipoFornitura] == "A" || FlagSingola == 1) {
    TxAbilitato[kTxProtocollo] = TxAbilitato[kTxProgressivo] = TxAbilitato[kTxRecord] = true;
  }
  if (Tx[kTxTipoFornitura] == "N" && FlagSingola == 0) {
    TxAbilitato[kTxProtocollo] = TxAbilitato[kTxProgressivo] = TxAbilitato[kTxRecord] = false;
  }
  if (letta) CopiaIntermediario(testata);
  CertificazioneMostrata = VoceLista(CodiceCU, testata);
  Tx[kTxNomeFile] = "TCU" + CodiceCU + "18";
  TestoMessaggio = std::string(kSceltaTipologia);
  Messaggio(TestoMessaggio);
  return letta;
}

void StatoFinestra::ScegliTipoFornitura(int k) {
  if (k < 0 || k >= static_cast<int>(TipiFornitura.size())) return;
  TipoScelto = k;
  TestoMessaggio = std::string(kSceltaTipologia);
  Messaggio(TestoMessaggio);
  Tx[kTxTipoFornitura] = TipiFornitura[static_cast<size_t>(k)].substr(0, 1);
  // The single certification is the type shown, not a mark left by a type passed over: a
  // keyboard user who arrows through the list to "N" gets a normal supply.
  FlagSingola = Tx[kTxTipoFornitura] == "T" ? 1 : 0;
  if (FlagSingola == 1) Tx[kTxTipoFornitura] = "N";
  // Fields 2 to 4 serve the types that name one employee or a submission, as on opening.
  const bool unoSolo = Tx[kTxTipoFornitura] == "A" || Tx[kTxTipoFornitura] == "S" || FlagSingola == 1;
  TxAbilitato[kTxProtocollo] = TxAbilitato[kTxProgressivo] = TxAbilitato[kTxRecord] = unoSolo;
}

void StatoFinestra::ChiediReport() {
  FlagReport = 0;
  Risposta r = canali_.messaggi().Mostra("Vuoi creare un report della memorizzazione del file ?", kTitoloProgramma,
                                         Pulsanti::SiNo, Icona::Nessuna);
  if (r == Risposta::Si) FlagReport = 1;
}

ImpostazioniTelematico StatoFinestra::Impostazioni() {
  ImpostazioniTelematico i;
  i.CodiceCU = CodiceCU;
  i.Disco = Disco;
  i.PercorsoDati = PercorsoDati;
  i.tipoFornitura = Tx[kTxTipoFornitura];
  i.singola = FlagSingola == 1;
  i.protocollo = Tx[kTxProtocollo];
  i.progressivo = Tx[kTxProgressivo];
  i.recordDipendente = Tx[kTxRecord];
  i.cartella = Tx[kTxCartella];
  i.nomeFile = Tx[kTxNomeFile];
  i.tipoImpegno = Tx[kTxTipoImpegno];
  i.dataImpegno = Tx[kTxDataImpegno];
  i.report = FlagReport == 1;
  i.Didascalia = [this](const std::string& testo) {
    Avanzamento = testo;
    Notifica();
  };
  return i;
}

bool StatoFinestra::Crea() {
  // A new run: the warnings of the last one are no longer news.
  if (avvisiInBarra_) Messaggio(TestoMessaggio);
  // The file is made of the certification whose code the window shows. One typed but not opened
  // (or none chosen since the window opened) is opened first, as FASE 2 does: the run would
  // otherwise take the certification chosen before, under the name of neither (after a run the
  // file's name is empty, and the output the folder itself).
  if (!certificazioneScelta_ || Rifilato(Tx[kTxCodice]) != CodiceCU) {
    if (!ApriCertificazione("Scegliere la certificazione dall'elenco, oppure scriverne il codice nel campo Codice, "
                            "poi premere di nuovo FASE 3")) {
      return false;
    }
    Notifica();
  }
  // A date that does not exist is refused before the run, which would write it and then fail.
  if (DataRifiutata(Tx[kTxDataImpegno])) {
    canali_.messaggi().Mostra(RifiutoData(Tx[kTxDataImpegno]), kTitoloAccesso, Pulsanti::Ok, Icona::Errore);
    return false;
  }
  // The caption of a run in progress must not stay once it ended without a file to send: it says
  // so before the box that tells why, and after the run what it left of the file.
  auto interrotta = [this] {
    Avanzamento = std::string(kCorsaInterrotta);
    Notifica();
  };
  FinestraMessaggi& box = canali_.messaggi();
  MessaggiDellaCorsa messaggi(box, interrotta, dialoghi != nullptr);
  canali_.MostraIn(&messaggi);
  const bool scritto = ScriviTelematico(canali_, Impostazioni(), run);
  canali_.MostraIn(&box);
  if (!scritto) {
    Avanzamento = "Memorizzazione interrotta: " + run.fermata;
    Notifica();
    return false;
  }
  // Where the file went, for the view and the report's comparison; a batch, which has neither,
  // does not look its folder up once more for every certification.
  if (dialoghi || FlagReport == 1) {
    const std::string uscita = Tx[kTxCartella] + Tx[kTxNomeFile];
    ultimoFile_ = canali_.percorsi().Nativo(uscita);
    if (messaggi.mostraChiesto) (void)MostraFile(ultimoFile_, Utf8DaCp1252(uscita), &run);  // a failure is in its box
  }
  if (FlagReport == 1) {
    ReportConsegnato = StampaReport(*this);
    return true;
  }
  // Without report the window comes back in its start-up state; the status bar says whether
  // the check of the file found anything the office should look at.
  if (!RiapreDopoCreazione) return true;
  Apertura();
  if (run.numeroAvvisi > 0) {
    std::string riga = RigaAvvisi(run);
    if (const std::string& chi = run.avvisi.front().dipendente; !chi.empty()) riga += " (" + chi + ")";
    Messaggio(riga);
    avvisiInBarra_ = true;
  }
  Notifica();
  return true;
}

void StatoFinestra::VerificaFile() {
  if (!dialoghi) return;
  const std::filesystem::path cartella =
      ultimoFile_.empty() ? canali_.percorsi().Nativo(Tx[kTxCartella]) : ultimoFile_.parent_path();
  if (const auto file = dialoghi->ScegliTelematico(cartella)) (void)MostraFile(*file, Utf8DaPercorso(*file));
}

bool StatoFinestra::MostraFile(const std::filesystem::path& percorso, const std::string& nome,
                               const StatoRun* scritto) {
  if (!dialoghi) return false;
  FinestraMessaggi& box = canali_.messaggi();
  VistaFile vista;
  if (const Lettura letta = vista.Leggi(canali_.percorsi().sistema(), percorso, nome); letta != Lettura::Letta) {
    box.Mostra(Cp1252DaUtf8(TestoLettura(letta, nome)), kTitoloProgramma, Pulsanti::Ok, Icona::Errore);
    return false;
  }
  if (!vista.prospetto().Cur18()) {
    box.Mostra(TestoNonCur18(vista), kTitoloProgramma, Pulsanti::Ok, Icona::Errore);
    return false;
  }
  if (scritto) vista.Confronta(*scritto);
  vista.SalvaComeCsv = [this, &vista, percorso] {
    std::filesystem::path proposto = percorso;
    proposto += ".csv";
    const auto dove = dialoghi->ScegliCsv(proposto);
    if (!dove) return;
    const std::string nomeCsv = Cp1252DaUtf8(Utf8DaPercorso(*dove));
    std::string errore = CsvVietato(*dove, percorso);
    if (errore.empty()) (void)ScriviFile(canali_.percorsi().sistema(), *dove, nomeCsv, vista.Csv(), errore);
    if (!errore.empty()) {
      canali_.messaggi().Mostra("Impossibile scrivere il file " + nomeCsv + ": " + errore, kTitoloProgramma,
                                Pulsanti::Ok, Icona::Errore);
    }
  };
  dialoghi->MostraVista(vista);
  return true;
}

std::string StatoFinestra::CsvVietato(const std::filesystem::path& csv, const std::filesystem::path& telematico) {
  const Percorsi& percorsi = canali_.percorsi();
  Sistema& sistema = percorsi.sistema();
  if (FileDellArchivio(percorsi, csv, Disco, PercorsoDati) != FileArchivio::Nessuno) {
    return "coincide con un file dell'archivio";
  }
  const auto identita = sistema.Identita(csv);
  if (identita && identita == sistema.Identita(telematico)) return "e' il file telematico mostrato";
  // A telematic file is never replaced by a table: a wrong click in the dialog would cost the file.
  std::string inizio;
  bool esiste = false;
  if (LeggiInizio(sistema, csv, 20, inizio, esiste) == 0 && inizio.starts_with('A') && inizio.substr(15) == "CUR18") {
    return "e' un file telematico, che non viene sostituito";
  }
  return {};
}

}  // namespace quibold
