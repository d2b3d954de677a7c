#include "ui/stato.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "archive/archivio.h"
#include "support/banco_prova.h"

namespace quibold {
namespace {

namespace fs = std::filesystem;

const fs::path kDati = fs::path("c") / "vorn" / "quelt" / "2017" / "dati";

class StatoTest : public ::testing::Test, protected prova::BancoProva {
 protected:
  StatoTest() { radice.Scrivi("c/disco.ute", "C:        "); }
  // A header file for certification `nome` (the file name's number part) with an intermediary.
  void Certificazione(const std::string& nome, const std::string& ragione, const std::string& cf,
                      const std::string& dipendenti = "0") {
    auto t = prova::TestataProva();
    t.Metti(21, ragione + std::string(24 - ragione.size(), ' ')).Metti(207, cf);
    t.Metti(330, "333" + nome).Metti(343, "mail" + nome + "@x.it");
    radice.Scrivi(kDati / ("FCU" + nome + ".018"), t.testo() + prova::Testata2Prova(1, std::stoi(dipendenti)));
  }
  // Certification 1 with an empty employee file; the output folder C:\out exists.
  void CertificazioneSenzaDipendenti() {
    Certificazione("1", "UNO", "INTERMEDIARIO001");
    radice.Scrivi(kDati / "DCU1.018", "");
    radice.CreaCartella("c/out");
  }
};

TEST_F(StatoTest, StartUpListsTheCertificationsInNumberOrder) {
  Certificazione("12", "ROSSI SRL", "INTERMEDIARIO12 ");
  Certificazione("3", "BIANCHI SPA", "INTERMEDIARIO03 ");
  Certificazione("012", "ZERI", "INTERMEDIARIO00 ");
  Certificazione("999", "ULTIMA", "INTERMEDIARIO99 ");
  Certificazione("1000", "TROPPO", "INTERMEDIARIO10 ");
  stato.Apertura();
  EXPECT_EQ(stato.lista, (std::vector<std::string>{"3 BIANCHI SPA-", "12 ROSSI SRL-", "999 ULTIMA-"}));
  EXPECT_EQ(stato.NumeroCodici, 3);
  EXPECT_EQ(std::vector<int>(&stato.ElencoCodici[1], &stato.ElencoCodici[4]), (std::vector<int>{3, 12, 999}));
  // The intermediary's fields of the last certification found, untrimmed.
  EXPECT_EQ(stato.Tx[kTxCfIntermediario], "INTERMEDIARIO99 ");
  EXPECT_EQ(stato.Tx[kTxTipoImpegno], "1");
  EXPECT_EQ(stato.Tx[kTxDataImpegno], "01022018");
  EXPECT_EQ(stato.Tx[kTxCellulare], "333999      ");
  EXPECT_EQ(stato.Tx[kTxEmail], "mail999@x.it" + std::string(33, ' '));
  EXPECT_EQ(stato.Disco, "C:");
  EXPECT_EQ(stato.PercorsoDati, "C:\\vorn\\quelt\\2017\\dati\\");
  EXPECT_EQ(stato.Tx[kTxCartella], stato.PercorsoDati);
  EXPECT_EQ(stato.BarraDiStato,
            "Selezionare la CU dall'elenco oppure inserire il codice ad essa relativo.Premere <ok> per continuare.");
  EXPECT_TRUE(messaggi.mostrati.empty());
  EXPECT_FALSE(canali.Aperto(kCanaleTestata));
  EXPECT_TRUE(canali.Aperto(kCanaleDisco));
}

TEST_F(StatoTest, StartUpStateOfTheFields) {
  stato.Apertura();
  EXPECT_TRUE(stato.lista.empty());
  EXPECT_EQ(stato.Tx[kTxTipoFornitura], "N");
  EXPECT_EQ(stato.TipoScelto, -1);
  EXPECT_EQ(stato.TipiFornitura,
            (std::vector<std::string>{"N=Normale", "A=Annullamento", "S=Sostituzione", "T=Normale SINGOLA"}));
  EXPECT_EQ(stato.Tx[kTxTipoImpegno], std::string(17, ' '));
  EXPECT_EQ(stato.Tx[kTxDataImpegno], std::string(17, ' '));
  EXPECT_EQ(stato.Tx[kTxCellulare], std::string(16, ' '));
  EXPECT_EQ(stato.Tx[kTxEmail], "");
  EXPECT_FALSE(stato.DatiVisibili);
  for (int i : {2, 3, 4, 7, 10, 11}) EXPECT_FALSE(stato.TxAbilitato[static_cast<size_t>(i)]) << i;
  for (int i : {0, 1, 5, 6, 8, 9}) EXPECT_TRUE(stato.TxAbilitato[static_cast<size_t>(i)]) << i;
  EXPECT_EQ(stato.FlagSingola, 0);
}

// A drive file that cannot be opened or read leaves the drive empty and is one box, which says
// where it was looked for, what it must hold and how to name an archive; one not opened is not
// read, and none is ever created. The window opened again does not repeat the same box.
TEST_F(StatoTest, AMissingOrShortDriveFileIsOneBoxSayingWhatToDo) {
  Certificazione("5", "CINQUE", "X");
  const std::string apertura = "Errore tipo  76 nell'apertura del  file binarioc:\\disco.ute";
  const std::string lettura = "Errore di lettura tipo  62 nel file binario c:\\disco.ute al record  1";
  const std::string dove = "\nIl file c:\\disco.ute e' stato cercato in " +
                           (radice.percorso() / "c" / "disco.ute").string() +
                           "\nIl file deve contenere la lettera dell'unita' dell'archivio, per esempio D:\n";
  const std::pair<std::function<void()>, std::string> casi[] = {
      {[&] { radice.Rimuovi("c/disco.ute"); }, apertura},
      {[&] { radice.Scrivi("c/disco.ute", "D:"); }, lettura},
      {[&] { (void)memoria.Rinomina(radice.percorso() / "c", radice.percorso() / "altrove"); },  // the first start
       apertura},
  };
  for (const auto& [prepara, messaggio] : casi) {
    canali.ChiudiTutti();  // the opening leaves the drive file open: Windows moves no open file
    prepara();
    messaggi.mostrati.clear();
    stato.Apertura();
    ASSERT_EQ(messaggi.Testi().size(), 1u);
    EXPECT_TRUE(messaggi.Testi()[0].starts_with(messaggio + dove)) << messaggi.Testi()[0];
    EXPECT_EQ(stato.Disco, "");
    stato.Apertura();
    EXPECT_EQ(messaggi.mostrati.size(), 1u) << "said once";
  }
  EXPECT_EQ(stato.PercorsoDati, "\\vorn\\quelt\\2017\\dati\\");
  (void)memoria.Rinomina(radice.percorso() / "altrove", radice.percorso() / "c");
  radice.Rimuovi("c/disco.ute");
  stato.Apertura();
  EXPECT_EQ(stato.lista, std::vector<std::string>{"5 CINQUE-"});  // drive c all the same
  EXPECT_FALSE(radice.Esiste("c/disco.ute"));                     // never created

  // Without a drive root (Windows' real drives) the drives may still be folders of one.
  Percorsi unita({}, memoria);
  Canali altri(unita, messaggi);
  StatoFinestra(altri, piattaforma).Apertura();
  EXPECT_NE(messaggi.Testi().back().find("\nLe unita' possono essere anche cartelle: avviare quibold con l'opzione "
                                         "--radice CARTELLA"),
            std::string::npos);
}

TEST_F(StatoTest, ADriveThatDoesNotExistListsNothing) {
  radice.Scrivi("c/disco.ute", "Q:        ");
  stato.Apertura();
  EXPECT_EQ(stato.Disco, "Q:");
  EXPECT_TRUE(stato.lista.empty());
  EXPECT_TRUE(messaggi.mostrati.empty());
}

TEST_F(StatoTest, AnUnreadableHeaderShowsNoOtherCertificationsData) {
  Certificazione("3", "TRE", "INTERMEDIARIO03 ");
  radice.Scrivi(kDati / "FCU12.018", "troppo corto");
  stato.Apertura();
  EXPECT_EQ(stato.lista, (std::vector<std::string>{"3 TRE-", "12 -"}));
  EXPECT_EQ(stato.Tx[kTxCfIntermediario], "INTERMEDIARIO03 ");
  EXPECT_EQ(messaggi.Testi(),
            std::vector<std::string>{
                "Errore di lettura tipo  62 nel file binario C:\\vorn\\quelt\\2017\\dati\\FCU12.018 al record  1"});
}

TEST_F(StatoTest, ChoosingAnEntry) {
  Certificazione("3", "TRE", "A");
  Certificazione("12", "DODICI", "B");
  stato.Apertura();
  stato.DatiVisibili = true;
  stato.ScegliCertificazione(2);
  EXPECT_EQ(stato.CodiceCU, "12");
  EXPECT_EQ(stato.Tx[kTxCodice], "12");
  EXPECT_EQ(stato.Tx[kTxNomeFile], "TCU1218");
  EXPECT_FALSE(stato.DatiVisibili);
  EXPECT_EQ(stato.BarraDiStato, "Selezionare la tipologia di trasmissione della CU");
  EXPECT_EQ(canali.NomeFile[kCanaleTestata], "C:\\vorn\\quelt\\2017\\dati\\FCU12.018");
  EXPECT_FALSE(canali.Aperto(kCanaleTestata));
}

TEST_F(StatoTest, HelpTextsOfTheFields) {
  stato.messaggi(0);
  EXPECT_EQ(stato.BarraDiStato, "Inserire il codice della CU");
  stato.messaggi(8);
  EXPECT_EQ(stato.BarraDiStato, "1=Dichiarazione predisposta dal Sostituto, 2=Da chi effettua l'invio");
  stato.messaggi(12);  // no text: the last one again
  EXPECT_EQ(stato.TestoMessaggio, "1=Dichiarazione predisposta dal Sostituto, 2=Da chi effettua l'invio");
}

TEST_F(StatoTest, CodesThatOpenNoCertification) {
  Certificazione("7", "SETTE", "INTERMEDIARIO07 ");
  const struct {
    const char* codice;
    const char* messaggio;
    bool datiVisibili;
  } casi[] = {
      {"abc", "Certificazione non ancora selezionata ", false},
      {" 8 ", "Archivio inesistente \nNon c'e' il file C:\\vorn\\quelt\\2017\\dati\\FCU8.018", true},
      {"007", "Archivio inesistente \nNon c'e' il file C:\\vorn\\quelt\\2017\\dati\\FCU007.018", true},  // as typed
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.codice);
    stato.Apertura();
    messaggi.mostrati.clear();
    stato.Tx[kTxCodice] = c.codice;
    EXPECT_FALSE(stato.ApriCU());
    EXPECT_EQ(stato.DatiVisibili, c.datiVisibili);
    ASSERT_EQ(messaggi.Testi(), std::vector<std::string>{c.messaggio});
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Accesso");
    EXPECT_EQ(messaggi.mostrati[0].icona, Icona::Errore);
  }
}

TEST_F(StatoTest, OpeningACertificationShowsItsData) {
  Certificazione("7", "SETTE", "INTERMEDIARIO07 ");
  stato.Apertura();
  stato.Tx[kTxCodice] = "  7 ";
  stato.ScegliTipoFornitura(1);  // "A" first: the header's "0" makes it "N" again
  EXPECT_TRUE(stato.ApriCU());
  EXPECT_EQ(stato.CodiceCU, "7");
  EXPECT_EQ(stato.Tx[kTxTipoFornitura], "N");
  EXPECT_FALSE(stato.TxAbilitato[kTxProtocollo]);
  EXPECT_EQ(stato.Tx[kTxNomeFile], "TCU718");
  EXPECT_EQ(stato.CertificazioneMostrata, "7 SETTE-");
  EXPECT_TRUE(canali.Aperto(kCanaleTestata));
}

TEST_F(StatoTest, TheHeaderSetsTheSupplyType) {
  auto t = prova::TestataProva();
  t.Metti(2, "1");
  radice.Scrivi(kDati / "FCU4.018", t.testo());
  stato.Apertura();
  stato.ScegliTipoFornitura(0);
  stato.Tx[kTxCodice] = "4";
  ASSERT_TRUE(stato.ApriCU());
  EXPECT_EQ(stato.Tx[kTxTipoFornitura], "A");
  EXPECT_TRUE(stato.TxAbilitato[kTxProgressivo]);
  EXPECT_EQ(stato.TipoScelto, 0);
  stato.ScegliTipoFornitura(2);
  EXPECT_EQ(stato.Tx[kTxTipoFornitura], "S");
}

// The single certification follows the type shown: passing over "T" leaves no mark.
TEST_F(StatoTest, SupplyTypesAndTheSingleCertification) {
  stato.Apertura();
  const struct {
    int tipo;
    const char* lettera;
    int singola;
    bool campi;  // fields 2 to 4 enabled
  } scelte[] = {{3, "N", 1, true}, {0, "N", 0, false}, {1, "A", 0, true},
                {3, "N", 1, true}, {2, "S", 0, true},  {0, "N", 0, false}};
  for (const auto& s : scelte) {
    SCOPED_TRACE(s.tipo);
    stato.ScegliTipoFornitura(s.tipo);
    EXPECT_EQ(stato.Tx[kTxTipoFornitura], s.lettera);
    EXPECT_EQ(stato.FlagSingola, s.singola);
    for (int i : {kTxProtocollo, kTxProgressivo, kTxRecord}) EXPECT_EQ(stato.TxAbilitato[i], s.campi) << i;
    EXPECT_EQ(stato.Impostazioni().singola, s.singola == 1);
  }
  stato.ScegliTipoFornitura(3);
  stato.Apertura();
  EXPECT_EQ(stato.FlagSingola, 0);
  EXPECT_FALSE(stato.TxAbilitato[kTxRecord]);
}

TEST_F(StatoTest, TheReportQuestionTakesTheLastAnswer) {
  messaggi.risposte = {Risposta::Si, Risposta::No};
  stato.ChiediReport();
  EXPECT_EQ(stato.FlagReport, 1);
  stato.ChiediReport();
  EXPECT_EQ(stato.FlagReport, 0);
  EXPECT_EQ(messaggi.mostrati[0].testo, "Vuoi creare un report della memorizzazione del file ?");
  EXPECT_EQ(messaggi.mostrati[0].pulsanti, Pulsanti::SiNo);
  EXPECT_EQ(messaggi.mostrati[0].icona, Icona::Nessuna);
}

TEST_F(StatoTest, AStoppedRunKeepsTheWindowAsItWas) {
  CertificazioneSenzaDipendenti();
  stato.Apertura();
  stato.ScegliCertificazione(1);
  ASSERT_TRUE(stato.ApriCU());
  stato.ScegliTipoFornitura(3);
  stato.Tx[kTxCartella] = "C:\\out\\";
  stato.FlagReport = 0;
  messaggi.Osserva = [&] { return stato.Avanzamento; };
  // A single certification needs a record number among the employees (none here).
  EXPECT_FALSE(stato.Crea());
  EXPECT_EQ(messaggi.mostrati.back().testo, "Numero di Record del dipendente non valido ");
  EXPECT_TRUE(stato.DatiVisibili);
  EXPECT_EQ(stato.Avanzamento, "Memorizzazione interrotta: nessun file telematico scritto");
  // The box that says why already shows under the caption of a stop.
  EXPECT_EQ(messaggi.mostrati.back().visto, "Memorizzazione interrotta: nessun file telematico da inviare");
  // Another certification chosen or opened: the stop concerned the one before.
  stato.ScegliCertificazione(1);
  EXPECT_EQ(stato.Avanzamento, "");
  stato.Avanzamento = "Memorizzazione interrotta: nessun file telematico scritto";
  ASSERT_TRUE(stato.ApriCU());
  EXPECT_EQ(stato.Avanzamento, "");
}

// FASE 3 makes the file of the code the window shows: one typed but not opened is opened first
// (after a run the window holds no certification, and the one before would be made again under
// an empty name); no code, or one without a file, stops before the run and says what to do.
TEST_F(StatoTest, CreatingOpensTheCodeTypedFirst) {
  CertificazioneSenzaDipendenti();
  Certificazione("2", "DUE", "INTERMEDIARIO002");
  radice.Scrivi(kDati / "DCU2.018", "");
  stato.Apertura();
  stato.ScegliCertificazione(1);
  stato.Tx[kTxCartella] = "C:\\out\\";
  ASSERT_TRUE(stato.Crea());
  for (const char* codice : {"", " 2 "}) {  // none, then one typed
    messaggi.mostrati.clear();
    stato.Tx[kTxCodice] = codice;
    stato.Tx[kTxCartella] = "C:\\out\\";
    EXPECT_EQ(stato.Crea(), *codice == ' ') << codice;
  }
  EXPECT_EQ(stato.run.testata[kDenominazione1].substr(0, 4), "DUE ");
  EXPECT_TRUE(radice.Esiste("c/out/TCU218"));
  stato.Tx[kTxCodice] = "9";
  EXPECT_FALSE(stato.Crea());
  EXPECT_EQ(messaggi.Testi().back(),
            "Archivio inesistente \nNon c'e' il file C:\\vorn\\quelt\\2017\\dati\\FCU9.018\nScegliere la "
            "certificazione dall'elenco, oppure scriverne il codice nel campo Codice, poi premere di nuovo FASE 3");
}

// A date is its digits as typed or pasted; one that does not exist is refused before a run (and
// when its field is left: the window's test).
TEST_F(StatoTest, ADateThatDoesNotExistIsRefused) {
  EXPECT_EQ(StatoFinestra::SoloCifre(" 31/01-2018 "), "31012018");
  for (const char* data : {"29022017", "3101", "31/01/2018"}) EXPECT_TRUE(StatoFinestra::DataRifiutata(data)) << data;
  for (const char* data : {"29022016", "        ", "00000000"})
    EXPECT_FALSE(StatoFinestra::DataRifiutata(data)) << data;
  CertificazioneSenzaDipendenti();
  stato.Apertura();
  stato.ScegliCertificazione(1);
  stato.Tx[kTxCartella] = "C:\\out\\";
  stato.Tx[kTxDataImpegno] = "31022018";
  EXPECT_FALSE(stato.Crea());
  EXPECT_TRUE(messaggi.Testi().at(0).starts_with("La data dell'impegno 31022018 non esiste"));
  EXPECT_FALSE(radice.Esiste("c/out/TCU118"));
}

TEST_F(StatoTest, ARunWithoutReportBringsTheWindowBack) {
  CertificazioneSenzaDipendenti();
  stato.Apertura();
  stato.ScegliCertificazione(1);
  stato.Tx[kTxCartella] = "C:\\out\\";
  std::vector<std::string> didascalie;
  stato.Cambiata = [&] { didascalie.push_back(stato.Avanzamento); };
  stato.FlagReport = 0;
  messaggi.Osserva = [&] { return stato.Avanzamento; };
  ASSERT_TRUE(stato.Crea());
  EXPECT_TRUE(messaggi.mostrati.back().visto.starts_with("Memorizzazione in corso")) << messaggi.mostrati.back().visto;
  EXPECT_TRUE(radice.Esiste("c/out/TCU118"));
  EXPECT_EQ(didascalie.front(), "Memorizzazione in corso......della CU di UNO" + std::string(45, ' '));
  // Back in the start-up state, the chosen certification kept.
  EXPECT_EQ(stato.Avanzamento, "");
  EXPECT_EQ(stato.Tx[kTxCodice], "");
  EXPECT_EQ(stato.Tx[kTxCartella], "C:\\vorn\\quelt\\2017\\dati\\");
  EXPECT_EQ(stato.CodiceCU, "1");
  EXPECT_EQ(stato.lista.size(), 1u);
  EXPECT_EQ(piattaforma.terminazioni, 0);
  // The intermediary's code has a wrong check letter: the check warned, and the status bar says so.
  EXPECT_TRUE(
      stato.BarraDiStato.starts_with("Il file telematico ha superato il controllo con 2 avvisi: record 1, "
                                     "posizione 23: avviso: codice fiscale del fornitore con il carattere di "
                                     "controllo errato"))
      << stato.BarraDiStato;
  // The warnings stay when the focus brings a field's help, until the clerk chooses again.
  const std::string avvisi = stato.BarraDiStato;
  stato.messaggi(kTxCodice);
  EXPECT_EQ(stato.BarraDiStato, avvisi);
  stato.ScegliCertificazione(1);
  stato.messaggi(kTxCodice);
  EXPECT_EQ(stato.BarraDiStato, "Inserire il codice della CU");
}

}  // namespace
}  // namespace quibold
