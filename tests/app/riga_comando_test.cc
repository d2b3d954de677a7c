#include "app/riga_comando.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "sistema/sistema.h"
#include "support/archivio_prova.h"
#include "support/cur18_prova.h"
#include "support/programma_prova.h"

namespace fs = std::filesystem;

namespace quibold {
namespace {

using prova::DipendenteProva;
using prova::kFatto;
using prova::RadiceTemporanea;
using prova::RecordProva;
using prova::Tipi;

// What the check warns of in the file of the archive below, whose record `record` names NICCOLO'
// (record 3 of the employee file), and under it the employee.
std::string AvvisoNiccolo(int record) {
  return "record " + std::to_string(record) +
         ", posizione 272: avviso: carattere \"<D2>\" fuori dall'ASCII nel campo \"DA002003\": l'Agenzia potrebbe "
         "non accettarlo\n    dipendente BIANCHI NICCOL\xC3\x92, record 3 dell'archivio";
}
const fs::path kDati = fs::path("c") / "vorn" / "quelt" / "2017" / "dati";
const fs::path kTelematici = fs::path("c") / "telematici";
// The last line of a creation that stopped with no file before it.
const std::string kNessunFile = "Memorizzazione interrotta: nessun file telematico scritto\n";

using Esito = prova::EsitoProgramma;
using prova::EseguiComando;
using prova::EseguiProgramma;

// Certification 1 of three employee records: 1 live, 2 not live, 3 live with a name outside
// ASCII; the output folder C:\telematici exists.
class RigaComandoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordProva testata = prova::TestataProva();
    testata.Metti(193, "   3");
    Archivio(testata, prova::Testata2Prova(1, 3));
  }

  void Archivio(const RecordProva& testata, const std::string& testata2) {
    const std::vector<std::string> dipendenti = {
        DipendenteProva().Campo(22, "28500.00").Campo(33, "6200.50").testo(),
        DipendenteProva("VRDGPP75C10F205G", "VERDI", "GIUSEPPE", "10031975").Stato('*').testo(),
        DipendenteProva("BNCNCL85M01H501F", "BIANCHI", "NICCOL\xD2", "01081985").Campo(22, "12000").testo(),
    };
    prova::ScriviArchivio(radice, 1, testata.testo(), testata2, dipendenti);
    fs::create_directories(radice.percorso() / kTelematici);
  }

  // The options every run shares: the root, and unless `altre` names them, code 1 and the
  // output folder C:\telematici.
  std::vector<std::string> Crea(const std::vector<std::string>& altre = {}) const {
    return prova::ArgomentiCrea(radice.percorso(), altre);
  }

  std::vector<std::string> Uscita(const std::string& nome = "TCU118") const {
    return prova::Records(radice.Leggi(kTelematici / PercorsoDaUtf8(nome)));
  }

  RadiceTemporanea radice;
};

// --- The four supply types ---

// Each type writes the records D of the employees it names (the fiscal code at 26, the protocol
// and the progressive number at 47, the operation's letter at 84), and says on the error stream
// what it asked and what the check warned of; no report unless asked.
TEST_F(RigaComandoTest, EachSupplyTypeWritesItsEmployees) {
  const std::string zeri(23, '0'), domanda = "Confermi la funzione di Annul/Sostit. del dipendente ";
  const struct {
    std::vector<std::string> opzioni;
    const char* tipi;
    long d, g;               // the records D and G that Z counts
    std::string cf;          // of the records D, in turn
    std::string protocollo;  // positions 47-69 of the records D
    char lettera;            // position 84
    std::string errori;
  } casi[] = {
      // clang-format off
      {{}, "ABDGDGZ", 2, 2, "RSSMRA80A01H501UBNCNCL85M01H501F", zeri, ' ',  // no type: the certification's own
       std::string(kFatto) + "\n" + AvvisoNiccolo(5) + "\n"},
      {{"--tipo", "N"}, "ABDGDGZ", 2, 2, "RSSMRA80A01H501UBNCNCL85M01H501F", zeri, ' ',
       std::string(kFatto) + "\n" + AvvisoNiccolo(5) + "\n"},
      {{"--tipo", "A", "--protocollo", "12345678901234567", "--progressivo", "000042", "--record", "1", "--conferma", "si"},
       "ABDZ", 1, 0, "RSSMRA80A01H501U", "12345678901234567000042", 'A',
       domanda + "ROSSI" + std::string(19, ' ') + "MARIO" + std::string(19, ' ') + " ? si\n" + std::string(kFatto) + "\n"},
      {{"--tipo", "S", "--protocollo", "123", "--progressivo", "7", "--record", "3", "--conferma", "si"},
       "ABDGZ", 1, 1, "BNCNCL85M01H501F", "00000000000000123000007", 'S',
       domanda + "BIANCHI" + std::string(17, ' ') + "NICCOL\xC3\x92" + std::string(17, ' ') + " ? si\n" +
           std::string(kFatto) + "\n" + AvvisoNiccolo(3) + "\n"},
      {{"--tipo", "T", "--record", "3"}, "ABDGZ", 1, 1, "BNCNCL85M01H501F", zeri, ' ',  // no question
       std::string(kFatto) + "\n" + AvvisoNiccolo(3) + "\n"},
      // clang-format on
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.tipi + c.cf);
    const Esito e = EseguiComando(Crea(c.opzioni));
    EXPECT_EQ(e.stato, 0) << e.errori;
    EXPECT_EQ(e.errori, c.errori);
    EXPECT_EQ(e.uscita, "");
    EXPECT_FALSE(fs::exists(radice.percorso() / kDati / "report.txt"));
    const auto records = Uscita();
    ASSERT_EQ(Tipi(records), c.tipi);
    EXPECT_EQ(records.back().substr(0, 69), prova::Cur18Z(1, 0, c.d, c.g));
    std::string cf;
    for (const auto& r : records) {
      EXPECT_EQ(r.substr(1897), "A\r\n");
      if (r[0] != 'D') continue;
      cf += r.substr(25, 16);
      EXPECT_EQ(r.substr(46, 23), c.protocollo);
      EXPECT_EQ(r[83], c.lettera);
    }
    EXPECT_EQ(cf, c.cf);
  }
}

// --- Runs that stop ---

// The run ends the command: the start-up is not run again after it, nor are its messages.
TEST_F(RigaComandoTest, StartUpMessagesAreShownOnce) {
  fs::remove(radice.percorso() / "c" / "disco.ute");
  const Esito e = EseguiComando(Crea());
  EXPECT_EQ(e.stato, 0) << e.errori;
  EXPECT_TRUE(
      e.errori.starts_with("Errore tipo  76 nell'apertura del  file binarioc:\\disco.ute\nIl file c:\\disco.ute e' "
                           "stato cercato in "))
      << e.errori;
  EXPECT_TRUE(e.errori.ends_with("(c per C:, d per D:, ...).\n" + std::string(kFatto) + "\n" + AvvisoNiccolo(5) + "\n"))
      << e.errori;
}

// The first start of an installed program, with no archive yet: one message, which says where
// the drive file was looked for and how to name an archive, and no read of a file not opened.
TEST(RigaComando, AFirstStartWithoutArchiveSaysWhereToPutIt) {
  RadiceTemporanea vuota;
  const fs::path radice = vuota.percorso() / "quibold";
  const Esito e = EseguiComando({"crea", "--radice", radice.string(), "--codice", "1"});
  EXPECT_EQ(e.stato, 1);
  EXPECT_TRUE(
      e.errori.starts_with("Errore tipo  76 nell'apertura del  file binarioc:\\disco.ute\nIl file c:\\disco.ute "
                           "e' stato cercato in " +
                           (radice / "c" / "disco.ute").string() +
                           "\nIl file deve contenere la lettera dell'unita' dell'archivio, per esempio D:\n"))
      << e.errori;
  EXPECT_NE(e.errori.find("(c per C:, d per D:, ...).\nArchivio inesistente \n"), std::string::npos) << e.errori;
}

TEST_F(RigaComandoTest, StopsAreReportedOnStandardErrorWithStatusOne) {
  struct Caso {
    std::vector<std::string> opzioni;
    std::string messaggio;
  };
  const std::vector<Caso> casi = {
      {{"--codice", "5"}, "Archivio inesistente "},
      {{"--codice", "abc"}, "Certificazione non ancora selezionata "},
      {{"--tipo", "A", "--record", "1", "--conferma", "si"}, "Manca il numero Identificativo Entratel "},
      {{"--tipo", "S", "--protocollo", "1", "--record", "1"}, "Manca il numero di Protocollo Sostituz/Annullamento "},
      {{"--tipo", "T", "--record", "4"}, "Numero di Record del dipendente non valido "},
      {{"--tipo", "T", "--record", "2"}, "Il record indicato non contiene un dipendente da certificare "},
      {{"--cartella", "C:\\manca\\"}, "Errore tipo  76 nella creazione del file "},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.messaggio);
    const Esito e = EseguiComando(Crea(caso.opzioni));
    EXPECT_EQ(e.stato, 1);
    EXPECT_NE(e.errori.find(caso.messaggio + "\n"), std::string::npos) << e.errori;
    EXPECT_EQ(e.errori.find(kFatto), std::string::npos);
    EXPECT_EQ(e.uscita, "");
    EXPECT_EQ(Tipi(Uscita()), "");
  }
  EXPECT_FALSE(fs::exists(radice.percorso() / "c" / "manca"));  // a missing output folder is not made
}

TEST_F(RigaComandoTest, MissingCommitmentDateStopsUnlessGiven) {
  RecordProva testata = prova::TestataProva();
  testata.Metti(193, "   3").Metti(224, "        ");
  Archivio(testata, prova::Testata2Prova(1, 3));
  const Esito senza = EseguiComando(Crea());
  EXPECT_EQ(senza.stato, 1);
  EXPECT_EQ(senza.errori, "Manca la data dell'impegno alla trasmissione \n" + kNessunFile);
  EXPECT_FALSE(fs::exists(radice.percorso() / kTelematici / "TCU118"));

  const Esito con = EseguiComando(Crea({"--data-impegno", "15032018"}));
  EXPECT_EQ(con.stato, 0) << con.errori;
  const auto records = Uscita();
  ASSERT_EQ(Tipi(records), "ABDGDGZ");
  EXPECT_NE(records[1].find("15032018"), std::string::npos);

  // A date as people type it is its digits; one that does not exist is refused before the run.
  const Esito barre = EseguiComando(Crea({"--data-impegno", "31/01/2018"}));
  EXPECT_EQ(barre.stato, 0) << barre.errori;
  const Esito inesistente = EseguiComando(Crea({"--data-impegno", "31/02/2018"}));
  EXPECT_EQ(inesistente.stato, 2);
  EXPECT_EQ(inesistente.errori,
            "quibold: riga di comando non valida: --data-impegno: la data 31022018 non esiste (ggmmaaaa)\nPer "
            "l'aiuto: quibold crea --help\n");
  EXPECT_NE(Uscita()[1].find("31012018"), std::string::npos);  // the file of the run before, as it was
}

// The fields of a cancellation typed before, as the window keeps them: a normal supply names no
// submission to replace, in its records D nor in its report.
TEST_F(RigaComandoTest, NormalSupplyIgnoresTheProtocolFields) {
  for (const char* tipo : {"N", "T"}) {
    SCOPED_TRACE(tipo);
    const Esito e = EseguiComando(Crea(
        {"--tipo", tipo, "--protocollo", "17000000000000001", "--progressivo", "000042", "--record", "1", "--report"}));
    EXPECT_EQ(e.stato, 0) << e.errori;
    for (const auto& r : Uscita()) {
      if (r[0] == 'D') {
        EXPECT_EQ(r.substr(46, 23), std::string(23, '0'));
      }
    }
    const std::string report = radice.Leggi(kDati / "report.txt");
    EXPECT_NE(report.find("Protocollo n.1 Sost :" + std::string(17, ' ') + "\r\n"), std::string::npos) << report;
    EXPECT_NE(report.find("Protocollo n.2 Sost :" + std::string(6, ' ') + "\r\n"), std::string::npos) << report;
  }
}

// The one error that stops the file comes first, before any warning.
TEST_F(RigaComandoTest, TheErrorThatStopsTheRunIsShownFirst) {
  RecordProva testata = prova::TestataProva();
  testata.Metti(193, "  11");
  std::vector<std::string> dipendenti;
  for (int i = 0; i < 10; ++i)
    dipendenti.push_back(DipendenteProva("RSSMRA80A01H501" + std::string(1, 'A' + i)).testo());
  dipendenti[0] = DipendenteProva().testo();  // the one right code
  dipendenti.push_back(DipendenteProva("RSSMRA80A01H501U", "+39ROMA").testo());
  prova::ScriviArchivio(radice, 1, testata.testo(), prova::Testata2Prova(1, 11), dipendenti);
  const Esito e = EseguiComando(Crea());
  EXPECT_EQ(e.stato, 1);
  EXPECT_TRUE(
      e.errori.starts_with("Il file telematico non ha superato il controllo:\nrecord 23, posizione 242: "
                           "errore: il valore del campo \"DA002002\" inizia con \"+\""))
      << e.errori;
  // The employee as the office knows them, under the error.
  EXPECT_NE(e.errori.find("produce questo errore\n    dipendente +39ROMA MARIO, record 11 dell'archivio\ne 9 avvisi"),
            std::string::npos)
      << e.errori;
  EXPECT_TRUE(e.errori.ends_with("\ne 9 avvisi\n" + kNessunFile)) << e.errori;
}

// An empty value is empty however it is written, and never takes the next option as its value.
TEST_F(RigaComandoTest, AnEmptyOptionValueIsEmpty) {
  for (const auto& protocollo :
       {std::vector<std::string>{"--protocollo="}, std::vector<std::string>{"--protocollo", ""}}) {
    std::vector<std::string> opzioni = {"--tipo", "S", "--progressivo=7", "--record=3"};
    opzioni.insert(opzioni.begin() + 2, protocollo.begin(), protocollo.end());
    const Esito e = EseguiComando(Crea(opzioni));
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.errori, "Manca il numero Identificativo Entratel \n" + kNessunFile);
  }
}

TEST_F(RigaComandoTest, ARelativeOutputFolderIsRelativeToTheCurrentDirectory) {
  const fs::path prima = fs::current_path();
  fs::current_path(radice.percorso());
  const Esito relativa = EseguiComando(Crea({"--cartella", "uscita/", "--file", "T.TXT"}));
  fs::create_directories(radice.percorso() / "uscita");
  const Esito creata = EseguiComando(Crea({"--cartella", "uscita/", "--file", "T.TXT"}));
  fs::current_path(prima);
  EXPECT_EQ(relativa.stato, 1);  // the folder does not exist yet
  EXPECT_EQ(creata.stato, 0) << creata.errori;
  EXPECT_EQ(Tipi(prova::Records(radice.Leggi("uscita/T.TXT"))), "ABDGDGZ");
}

// --- Confirmation of a cancellation ---

// The question is answered by --conferma, else by a terminal, else No; a refusal leaves no file of
// its own (a run's file before it stays).
TEST_F(RigaComandoTest, TheQuestionIsAnsweredByTheOptionOrTheTerminal) {
  const struct {
    const char* conferma;  // the option's value, when given
    const char* ingresso;
    bool interattivo;
    int stato;
    const char* risposta;  // after the question
    const char* tipi;      // of the file afterwards
  } casi[] = {
      {"no", "s\n", true, 1, " ? no\n", ""},  // the option wins over the terminal
      {nullptr, "s\n", false, 1, " ? no\n", ""},      {nullptr, "s\n", true, 0, " ? [s/n] ", "ABDZ"},
      {nullptr, "n\n", true, 1, " ? [s/n] ", "ABDZ"}, {nullptr, "", true, 1, " ? [s/n] ", "ABDZ"},  // end of input
  };
  for (const auto& c : casi) {
    std::vector<std::string> opzioni = {"--tipo", "A", "--protocollo", "1", "--progressivo", "2", "--record", "1"};
    if (c.conferma) opzioni.insert(opzioni.end(), {"--conferma", c.conferma});
    const Esito e = EseguiComando(Crea(opzioni), {c.ingresso, c.interattivo});
    EXPECT_EQ(e.stato, c.stato) << e.errori;
    EXPECT_NE(e.errori.find(c.risposta), std::string::npos) << e.errori;
    EXPECT_EQ(e.errori.find(kFatto) != std::string::npos, c.stato == 0) << e.errori;
    EXPECT_EQ(Tipi(Uscita()), c.tipi);
  }
}

// A name carrying a terminal escape sequence and a line break reaches the terminal harmless.
TEST_F(RigaComandoTest, ControlCharactersNeverReachTheTerminal) {
  RecordProva testata = prova::TestataProva();
  testata.Metti(193, "   1");
  prova::ScriviArchivio(radice, 1, testata.testo(), prova::Testata2Prova(1, 1),
                        {DipendenteProva("RSSMRA80A01H501U", "ROSSI\x1b]0;x\x07\n", "MARIO").testo()});
  const Esito s = EseguiComando(
      Crea({"--tipo", "A", "--protocollo", "1", "--progressivo", "2", "--record", "1", "--conferma", "no"}));
  EXPECT_EQ(s.errori.find('\x1b'), std::string::npos);
  EXPECT_EQ(s.errori.find('\x07'), std::string::npos);
  EXPECT_NE(s.errori.find("ROSSI?]0;x??"), std::string::npos) << s.errori;
  EXPECT_EQ(std::count(s.errori.begin(), s.errori.end(), '\n'), 2);  // the question, and what became of the file
}

TEST_F(RigaComandoTest, OutputNameIsTakenFromUtf8) {
  const Esito e = EseguiComando(Crea({"--file", "citt\xC3\xA0"}));
  EXPECT_EQ(e.stato, 0) << e.errori;
  EXPECT_EQ(Tipi(Uscita("citt\xC3\xA0")), "ABDGDGZ");
}

// --- The report ---

TEST_F(RigaComandoTest, ReportPrintsItsPathAndWritesBothFiles) {
  const Esito e = EseguiComando(Crea({"--report"}));
  EXPECT_EQ(e.stato, 0) << e.errori;
  EXPECT_EQ(e.errori, std::string(kFatto) + "\nIl file telematico ha superato il controllo con 1 avviso: " +
                          AvvisoNiccolo(5) + "\n" + AvvisoNiccolo(5) + "\n");
  ASSERT_FALSE(e.uscita.empty());
  ASSERT_EQ(e.uscita.back(), '\n');
  const fs::path report = e.uscita.substr(0, e.uscita.size() - 1);
  ASSERT_TRUE(fs::exists(report));
  EXPECT_TRUE(fs::equivalent(report, radice.percorso() / kDati / "report.txt"));
  const std::string testo = radice.Leggi(kDati / "report.txt");
  EXPECT_EQ(testo.substr(0, 53), "   CERTIFICAZIONE UNICA LAVORO DIPENDENTE ANNO 2018\r\n");
  EXPECT_NE(testo.find("\r\nNumero Dipendenti               2 \r\n"), std::string::npos);
  EXPECT_NE(testo.find("\r\nPercorso e nome file:C:\\telematici\\TCU118\r\n"), std::string::npos);
  EXPECT_EQ(radice.Leggi(fs::path("c") / "vorn" / "quelt" / "2017" / "avstp.bat"),
            "ECHO OFF\r\nCLS\r\nC:\\wvorn\\wordpad C:\\vorn\\QUELT\\2017\\dati\\report.txt\r\nexit\r\n");
  EXPECT_EQ(Tipi(Uscita()), "ABDGDGZ");
}

TEST_F(RigaComandoTest, ReportThatCannotBeWrittenExitsThree) {
  fs::create_directories(radice.percorso() / kDati / "report.txt");
  const Esito e = EseguiComando(Crea({"--report"}));
  EXPECT_EQ(e.stato, 3);
  EXPECT_EQ(e.uscita, "");
  EXPECT_NE(e.errori.find("C:\\vorn\\QUELT\\2017\\dati\\report.txt"), std::string::npos) << e.errori;
  EXPECT_EQ(Tipi(Uscita()), "ABDGDGZ");  // the telematic file stays
}

// The report goes to its viewer as the window hands it: by default the terminal, which prints its
// path; a viewer given in its place gets the report and its batch file. One that does not take
// it (an output nobody can read, a viewer that fails) leaves the telematic file complete: 3.
TEST_F(RigaComandoTest, TheReportIsHandedToTheViewerGiven) {
  const struct {
    bool uscitaRotta;
    bool conVisualizzatore;
    const char* rifiuto;
    int stato;
    const char* motivo;
  } casi[] = {
      {true, false, "", 3, "non si puo' aprire: impossibile scriverne il percorso sull'uscita"},
      {false, true, "", 0, ""},
      {false, true, "nessun programma", 3, "non si puo' aprire: nessun programma"},
  };
  for (const auto& c : casi) {
    prova::PiattaformaFinta visualizzatore;
    visualizzatore.rifiuto = c.rifiuto;
    const Esito e = EseguiComando(
        Crea({"--report"}),
        {.visualizzatore = c.conVisualizzatore ? &visualizzatore : nullptr, .uscitaRotta = c.uscitaRotta});
    EXPECT_EQ(e.stato, c.stato) << e.errori;
    EXPECT_NE(e.errori.find(c.motivo), std::string::npos) << e.errori;
    if (!c.conVisualizzatore) continue;
    EXPECT_EQ(e.uscita, "");
    ASSERT_EQ(visualizzatore.aperti.size(), 1u);
    EXPECT_TRUE(fs::equivalent(visualizzatore.aperti[0], radice.percorso() / kDati / "report.txt"));
    EXPECT_TRUE(fs::equivalent(visualizzatore.batchAperti[0], radice.percorso() / "c/vorn/quelt/2017/avstp.bat"));
    EXPECT_EQ(visualizzatore.terminazioni, 1);
  }
}

// --- Usage ---

TEST(RigaComando, HelpIsItalianAndExitsZero) {
  const Esito e = EseguiComando({"--help"});
  EXPECT_EQ(e.stato, 0);
  EXPECT_NE(e.uscita.find("Uso: quibold [OPZIONI] [COMANDO]"), std::string::npos) << e.uscita;
  EXPECT_NE(e.uscita.find("Opzioni:"), std::string::npos);
  EXPECT_NE(e.uscita.find("Comandi:"), std::string::npos);
  EXPECT_NE(e.uscita.find("--radice TESTO"), std::string::npos);
  EXPECT_NE(e.uscita.find("Crea il file telematico senza finestra"), std::string::npos);

  const Esito crea = EseguiComando({"crea", "--help"});
  EXPECT_EQ(crea.stato, 0);
  for (const char* opzione :
       {"--codice TESTO Esclude: --tutte", "--tipo", "--protocollo", "--progressivo", "--record", "--tipo-impegno",
        "--data-impegno", "--cartella", "--file", "--report", "--conferma", "--json Richiede: --tutte"}) {
    EXPECT_NE(crea.uscita.find(opzione), std::string::npos) << opzione;
  }
  const Esito verifica = EseguiComando({"verifica", "--help"});
  EXPECT_NE(verifica.uscita.find("Argomenti:\n  FILE TESTO ... OBBLIGATORIA"), std::string::npos) << verifica.uscita;
  for (const char* inglese :
       {"Usage", "OPTIONS", "Options", "TEXT", "REQUIRED", "SUBCOMMAND", "Excludes", "Needs", "Positionals"}) {
    for (const Esito* aiuto : {&e, &crea, &verifica})
      EXPECT_EQ(aiuto->uscita.find(inglese), std::string::npos) << inglese;
  }
}

// Every message of the parser in Italian, then where the help of the command is.
TEST(RigaComando, UsageErrorsAreItalianAndExitTwo) {
  const struct {
    std::vector<std::string> argomenti;
    const char* messaggio;
  } errati[] = {
      {{"crea"}, "manca --codice, che e' obbligatorio"},
      {{"crea", "--codice"}, "--codice: manca il valore"},
      {{"crea", "--codice", "1", "--tipo", "X"}, "--tipo: \"X\" non e' tra i valori ammessi {N,A,S,T}"},
      {{"crea", "--codice", "1", "x", "y"}, "argomenti non previsti: x y"},
      {{"crea", "--codice", "1", "--codice", "2"}, "--codice: indicato 2 volte, al massimo 1"},
      {{"crea", "--codice", "1", "--report=forse"}, "--report: valore non valido \"forse\""},
      {{"crea", "--tutte", "--codice", "1"}, "--codice e --tutte non si usano insieme"},
      {{"crea", "--codice", "1", "--json"}, "--json richiede --tutte"},
      {{"verifica"}, "manca FILE, che e' obbligatorio"},
      {{"altro"}, "argomento non previsto: altro"},
  };
  for (const auto& c : errati) {
    SCOPED_TRACE(c.messaggio);
    const Esito e = EseguiComando(c.argomenti);
    EXPECT_EQ(e.stato, 2);
    const std::string comando =
        c.argomenti[0].starts_with("-") || c.argomenti[0] == "altro" ? "" : " " + c.argomenti[0];
    EXPECT_EQ(e.errori, "quibold: " + std::string(c.messaggio) + "\nPer l'aiuto: quibold" + comando + " --help\n");
  }
}

TEST(RigaComando, WithoutASubcommandTheWindowOpensOnTheRoot) {
  fs::path ricevuta;
  const Esito con = EseguiComando({"--radice", "/tmp/radice-prova"}, {.finestra = [&](const fs::path& radice) {
                                    ricevuta = radice;
                                    return 7;
                                  }});
  EXPECT_EQ(con.stato, 7);
  EXPECT_EQ(ricevuta, fs::absolute("/tmp/radice-prova"));

  // A program without a window says so.
  const Esito senza = EseguiComando({"--radice", "/tmp/radice-prova"});
  EXPECT_EQ(senza.stato, 2);
  EXPECT_NE(senza.errori.find("quibold crea"), std::string::npos);
}

TEST_F(RigaComandoTest, RootMayComeBeforeTheSubcommand) {
  const Esito e = EseguiComando(
      {"--radice", radice.percorso().string(), "crea", "--codice", "1", "--cartella", "C:\\telematici\\"});
  EXPECT_EQ(e.stato, 0) << e.errori;
  EXPECT_EQ(Tipi(Uscita()), "ABDGDGZ");
}

// --- The program itself ---

TEST_F(RigaComandoTest, ProgramWritesTheFileAndTheReport) {
  const Esito e = EseguiProgramma(Crea({"--report", "--conferma", "si"}), radice.percorso());
  EXPECT_EQ(e.stato, 0) << e.errori;
  EXPECT_TRUE(e.errori.starts_with(std::string(kFatto) + "\n")) << e.errori;
  ASSERT_FALSE(e.uscita.empty());
  EXPECT_TRUE(fs::equivalent(e.uscita.substr(0, e.uscita.size() - 1), radice.percorso() / kDati / "report.txt"));
  const auto records = Uscita();
  ASSERT_EQ(Tipi(records), "ABDGDGZ");
  EXPECT_EQ(records.back().substr(0, 69), prova::Cur18Z(1, 0, 2, 2));
}

TEST_F(RigaComandoTest, ProgramExitStatuses) {
  // Standard input is no terminal: the question is answered No.
  const Esito annulla = EseguiProgramma(
      Crea({"--tipo", "A", "--protocollo", "1", "--progressivo", "2", "--record", "1"}), radice.percorso());
  EXPECT_EQ(annulla.stato, 1);
  EXPECT_NE(annulla.errori.find(" ? no\n"), std::string::npos) << annulla.errori;
  EXPECT_EQ(Tipi(Uscita()), "");

  const Esito uso = EseguiProgramma({"crea", "--tipo", "Q"}, radice.percorso());
  EXPECT_EQ(uso.stato, 2);
  EXPECT_FALSE(uso.errori.empty());

  const Esito aiuto = EseguiProgramma({"crea", "--help"}, radice.percorso());
  EXPECT_EQ(aiuto.stato, 0);
  EXPECT_NE(aiuto.uscita.find("Uso: quibold crea"), std::string::npos);
}

// The command line hands the window over to the program beside it, with the same arguments;
// without one, it says that this version has no window.
TEST_F(RigaComandoTest, ProgramHandsTheWindowToTheProgramBesideIt) {
  const fs::path cartella = radice.percorso() / "programma";
  const std::string estensione = kWindows ? ".exe" : "";
  fs::create_directory(cartella);
  fs::copy_file(prova::kProgrammaQuibold, cartella / ("quibold" + estensione));
  prova::OpzioniProgramma opzioni;
  opzioni.programma = Utf8DaPercorso(cartella / ("quibold" + estensione));

  const Esito senza = EseguiProgramma({"--radice", "/tmp/r"}, radice.percorso(), opzioni);
  EXPECT_EQ(senza.stato, 2);
  EXPECT_NE(senza.errori.find("non ha la finestra"), std::string::npos) << senza.errori;

#ifdef _WIN32
  // Started with the arguments as given, names outside the ANSI code page and blanks included;
  // the command line ends at once.
  using namespace std::chrono_literals;
  fs::copy_file(prova::kFinestraFinta, cartella / "quibold-finestra.exe");
  const Esito con = EseguiProgramma({"--radice", "C:\\citt\u00E0 \u20AC\\r\\"}, radice.percorso(), opzioni);
  EXPECT_EQ(con.stato, 0) << con.errori;
  for (int k = 0; k < 200 && !fs::exists(cartella / "argomenti.txt"); ++k) std::this_thread::sleep_for(50ms);
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(prova::LeggiFile(cartella / "argomenti.txt"), "--radice\nC:\\citt\u00E0 \u20AC\\r\\\n");
#else
  std::ofstream(cartella / "quibold-finestra") << "#!/bin/sh\necho \"$@\"\nexit 5\n";
  fs::permissions(cartella / "quibold-finestra", fs::perms::owner_exec, fs::perm_options::add);
  const Esito con = EseguiProgramma({"--radice", "/tmp/r"}, radice.percorso(), opzioni);
  EXPECT_EQ(con.stato, 5);
  EXPECT_EQ(con.uscita, "--radice /tmp/r\n");
#endif
}

}  // namespace
}  // namespace quibold
