// The opening of a run: the checks, the header, records A, B and C, record Z of a certification
// with no employees.
#include <gtest/gtest.h>

#include "archive/archivio.h"
#include "support/archivio_prova.h"
#include "support/corsa_prova.h"
#include "telematic/telematico.h"

namespace quibold {
namespace {

namespace fs = std::filesystem;
using prova::RecordProva;

class TestataTest : public prova::CorsaProva {
 protected:
  // Runs over a header (and no employees unless given); returns whether the run completed.
  bool Esegui(const RecordProva& t, const std::string& testata2 = prova::Testata2Prova(1, 0),
              const std::vector<std::string>& dipendenti = {}) {
    testata = t;
    return EseguiArchivio(testata2, dipendenti);
  }
};

TEST_F(TestataTest, ACertificationWithNoEmployeesGivesABZ) {
  ASSERT_TRUE(Esegui(prova::TestataProva()));
  auto r = records;
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0], "A" + std::string(14, ' ') + "CUR18" + "10" + "SPRFRN70A01F205Y" + std::string(1859, ' ') + "A\r\n");
  EXPECT_EQ(r[1][0], 'B');
  EXPECT_EQ(r[2], "Z" + std::string(14, ' ') + "000000001" + "000000000" + "000000000" + "000000000" +
                      "000000000" + "000000000" + std::string(1828, ' ') + "A\r\n");
  EXPECT_TRUE(Conclusa());
  EXPECT_EQ(didascalia, "Memorizzazione in corso......della CU di ROSSI SRL" + std::string(39, ' '));
  for (const auto& rec : r) {
    EXPECT_EQ(rec.size(), 1900u);
    EXPECT_EQ(rec.substr(1897), "A\r\n");
  }
}

TEST_F(TestataTest, RecordBOfACompany) {
  auto t = prova::TestataProva();
  t.Metti(69, "0612345678").Metti(81, "paghe@rossi.it").Metti(116, "BNCGNN60A01H501X").Metti(132, "01");
  t.Metti(134, "           ").Metti(145, "BIANCHI").Metti(169, "GIOVANNIBATTISTAMARIAPIA").Metti(193, "  12");
  t.Metti(45, "E FIGLI");
  ASSERT_TRUE(Esegui(t));
  const std::string b = records[1];
  EXPECT_EQ(b.substr(0, 1), "B");
  EXPECT_EQ(b.substr(1, 16), "01234567897     ");
  EXPECT_EQ(b.substr(17, 8), "00000001");
  EXPECT_EQ(b.substr(25, 48), std::string(48, ' '));
  EXPECT_EQ(b.substr(73, 16), "AAAAAA00A00A000A");
  EXPECT_EQ(b.substr(89, 3), " 00");  // a blank, then neither cancellation nor replacement
  EXPECT_EQ(b.substr(92, 44), std::string(44, ' '));
  EXPECT_EQ(b.substr(136, 60), "ROSSI SRL" + std::string(15, ' ') + "E FIGLI" + std::string(17, ' ') + std::string(12, ' '));
  EXPECT_EQ(b.substr(196, 35), "PAGHE@ROSSI.IT" + std::string(21, ' '));
  EXPECT_EQ(b.substr(231, 65), std::string(65, ' '));
  EXPECT_EQ(b.substr(296, 13), "0612345678  0");
  EXPECT_EQ(b.substr(309, 73), "BNCGNN60A01H501X01BIANCHI" + std::string(17, ' ') + "GIOVANNIBATTISTAMARI" + "00000000000");
  EXPECT_EQ(b.substr(382, 19), std::string(19, ' '));
  EXPECT_EQ(b.substr(401, 36), "0000001201SPRFRN70A01F205Y1010220181");
  EXPECT_EQ(b.substr(437, 1460), std::string(1460, ' '));
}

TEST_F(TestataTest, RecordBOfANaturalPersonAndTheOperationFlags) {
  auto t = prova::TestataProva();
  t.Metti(3, "D").Metti(21, "VERDI" + std::string(19, ' ')).Metti(45, "ANNAMARIA GIOVANNA LUISA").Metti(116, "XXXXXXXXXXXXXXXX");
  t.Metti(134, "12345678901").Metti(201, "X").Metti(309, "A");
  finestra.Tx[1] = "S";
  finestra.Tx[2] = "17000000000000001";
  finestra.Tx[3] = "000001";
  finestra.Tx[4] = "1";
  ASSERT_FALSE(Esegui(t, prova::Testata2Prova(1, 0)));  // record 1 is not among 0 employees
  EXPECT_EQ(Errori(), std::vector<std::string>{"Numero di Record del dipendente non valido "});
  EXPECT_FALSE(UscitaCreata());

  messaggi.mostrati.clear();
  messaggi.risposte = {Risposta::Si};
  ASSERT_TRUE(Esegui(t, prova::Testata2Prova(1, 1), {prova::DipendenteProva().testo()}));
  const std::string b = records[1];
  EXPECT_EQ(b.substr(89, 3), " 01");
  EXPECT_EQ(b.substr(92, 104), "VERDI" + std::string(19, ' ') + "ANNAMARIA GIOVANNA L" + std::string(60, ' '));
  EXPECT_EQ(b.substr(309, 73), std::string(16, ' ') + "00" + std::string(44, ' ') + "00000000000");
  EXPECT_EQ(b.substr(409, 1), "1");  // record C asked for
}

TEST_F(TestataTest, RecordCForTheIntermediaryOrTheAgent) {
  auto t = prova::TestataProva();
  t.Metti(81, "amministrazione.paghe@studiorossi.it").Metti(201, "X").Metti(309, "B").Metti(310, "000000000012");
  t.Metti(327, "001").Metti(330, "3331234567").Metti(343, "studio@example.it");
  ASSERT_TRUE(Esegui(t));
  auto r = records;
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[2].substr(0, 89), "C01234567897     00000001" + std::string(64, ' '));
  std::vector<std::string> attesi = {"CT00100101234567897     ", "CT002002000000000012    ",
                                     "CT001003AMMINISTRAZIONE.", "CT001003+PAGHE@STUDIOROS",
                                     "CT001003+SI.I",            "CT003001SPRFRN70A01F205Y",  // e-mail cut at 35
                                     "CT003002001",              "CT0030033331234567",
                                     "CT003004STUDIO@EXAMPLE.I", "CT003004+T",
                                     "CT003005               1"};
  attesi[1] = "CT001002000000000012";
  for (auto& a : attesi) a.resize(24, ' ');
  EXPECT_EQ(prova::Campi(r[2]), attesi);
  EXPECT_EQ(r[3].substr(15, 18), "000000001000000001");  // one B, one C

  // The agent's own block: the flag when position 322 is "X", the code otherwise.
  t.Metti(309, " ").Metti(310, "            ").Metti(81, std::string(35, ' ')).Metti(322, "X");
  messaggi.mostrati.clear();
  ASSERT_TRUE(Esegui(t));
  attesi = {"CT00100101234567897     ", "CT002001               1"};
  EXPECT_EQ(prova::Campi(records[2]), attesi);
  t.Metti(322, " ").Metti(324, "abc");
  ASSERT_TRUE(Esegui(t));
  attesi = {"CT00100101234567897     ", "CT002002ABC             "};
  EXPECT_EQ(prova::Campi(records[2]), attesi);
}

TEST_F(TestataTest, NoRecordCWithoutTheFlag) {
  ASSERT_TRUE(Esegui(prova::TestataProva()));
  auto r = records;
  EXPECT_EQ(r[1].substr(409, 1), "0");
  EXPECT_EQ(r.back().substr(24, 9), "000000000");
}

TEST_F(TestataTest, CommitmentFromTheWindowWhenTheHeaderHasNone) {
  auto t = prova::TestataProva();
  t.Metti(223, "0").Metti(224, "00000000");
  finestra.Tx[8] = "2";
  finestra.Tx[9] = "28022018";
  ASSERT_TRUE(Esegui(t));
  EXPECT_EQ(records[1].substr(427, 9), "228022018");
  EXPECT_EQ(run.testata[21], "2");

  // Longer window texts keep their positional widths: record B stays in place.
  finestra.Tx[8] = "12";
  finestra.Tx[9] = "28022018  ";
  ASSERT_TRUE(Esegui(t));
  const std::string b = records[1];
  EXPECT_EQ(b.substr(427, 10), "1280220181");  // type 428, date 429-436, then "1"
  EXPECT_EQ(b.substr(437), std::string(1460, ' ') + "A\r\n");
}

TEST_F(TestataTest, NulAndLowerCaseHeaderFields) {
  auto t = prova::TestataProva();
  t.Metti(21, "rossi s.r.l.").Metti(45, std::string(24, '\0')).Metti(207, "sprfrn70a01f205y");
  ASSERT_TRUE(Esegui(t));
  auto r = records;
  EXPECT_EQ(r[0].substr(22, 16), "SPRFRN70A01F205Y");
  EXPECT_EQ(r[1].substr(136, 48), "ROSSI S.R.L." + std::string(36, ' '));
}

TEST_F(TestataTest, ChecksInOrderWithTheirMessages) {
  finestra.Tx[1] = "A";
  finestra.Tx[4] = "3";
  EXPECT_FALSE(Esegui(prova::TestataProva()));
  finestra.Tx[2] = "PROT";
  EXPECT_FALSE(Esegui(prova::TestataProva()));
  finestra.Tx[3] = "1";
  finestra.Tx[4] = "";
  EXPECT_FALSE(Esegui(prova::TestataProva()));
  EXPECT_EQ(Errori(), (std::vector<std::string>{"Manca il numero Identificativo Entratel ",
                                                "Manca il numero di Protocollo Sostituz/Annullamento ",
                                                "Manca il numero di Record del dipendente da Annullare o Sostituire "}));
  EXPECT_FALSE(UscitaCreata());

  messaggi.mostrati.clear();
  finestra.Tx[1] = "N";
  EXPECT_FALSE(Esegui(prova::TestataProva(), prova::Testata2Prova(2, 0)));
  auto t = prova::TestataProva();
  t.Metti(223, " ").Metti(224, "        ");
  EXPECT_FALSE(Esegui(t));
  finestra.Tx[9] = "01012018";
  EXPECT_FALSE(Esegui(t));
  EXPECT_EQ(Errori(), (std::vector<std::string>{"La CU deve essere per LD, quella selezionata e' per LA ",
                                                "Manca la data dell'impegno alla trasmissione ",
                                                "Manca la tipologia dell'impegno alla trasmissione "}));
  EXPECT_FALSE(UscitaCreata());

  messaggi.mostrati.clear();
  finestra.CodiceCU = "2";
  EXPECT_FALSE(EseguiArchivio(prova::Testata2Prova(1, 0), {}));
  EXPECT_EQ(Errori(), std::vector<std::string>{"Archivio inesistente "});
  EXPECT_FALSE(UscitaCreata());
  EXPECT_FALSE(Conclusa());
}

TEST_F(TestataTest, BlankEmployeeCountLeavesRecordAAlone) {
  auto t = prova::TestataProva();
  t.Metti(193, "    ");
  EXPECT_FALSE(Esegui(t));
  EXPECT_EQ(Errori(), std::vector<std::string>{"Grave !! Numero dipendenti pari a zero "});
  auto r = records;
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0][0], 'A');
  EXPECT_FALSE(Conclusa());
}

TEST_F(TestataTest, AnUnreadableHeaderStopsBeforeTheOutputExists) {
  EXPECT_FALSE(EseguiArchivio("", {}));  // record 2 missing
  EXPECT_EQ(messaggi.Testi(), std::vector<std::string>{
                                  "Errore di lettura tipo  62 nel file binario C:\\vorn\\quelt\\2017\\dati\\FCU1.018 al record  2"});
  EXPECT_FALSE(UscitaCreata());
}

TEST_F(TestataTest, AnOutputThatCannotBeCreatedIsNoSuccess) {
  finestra.Tx[5] = "C:\\manca\\";
  EXPECT_FALSE(Esegui(prova::TestataProva()));
  EXPECT_EQ(messaggi.Testi(), std::vector<std::string>{"Errore tipo  76 nella creazione del file "});
  finestra.Tx[5] = "/dev/";
  finestra.Tx[6] = "full";
  EXPECT_FALSE(Esegui(prova::TestataProva()));
  EXPECT_EQ(messaggi.mostrati.back().testo, "Errore di scrittura tipo  61 nel file binario /dev/full al record  1");
  EXPECT_FALSE(Conclusa());
}

TEST_F(TestataTest, ASecondRunStartsFromZero) {
  ASSERT_TRUE(Esegui(prova::TestataProva(), prova::Testata2Prova(1, 1), {prova::DipendenteProva().Campo(22, "100").testo()}));
  EXPECT_EQ(run.Totale[1], 1);
  EXPECT_EQ(run.Totale[2], 100);
  ASSERT_TRUE(Esegui(prova::TestataProva(), prova::Testata2Prova(1, 1), {prova::DipendenteProva().Campo(22, "40").testo()}));
  EXPECT_EQ(run.Totale[1], 1);
  EXPECT_EQ(run.Totale[2], 40);
  auto r = records;
  ASSERT_EQ(r.size(), 5u);  // A B D G Z: the file was created anew
  EXPECT_EQ(r[4].substr(15, 36), "000000001000000000000000001000000001");
}

}  // namespace
}  // namespace quibold
