// The opening of a run: records A, B and C from the header, the checks, record Z of a
// certification with no employees.
#include <gtest/gtest.h>

#include "support/corsa_prova.h"
#include "support/cur18_prova.h"
#include "support/uscita_prova.h"
#include "telematic/sezioni.h"

namespace quibold {
namespace {

using prova::RecordProva;
using prova::TestataProva;
using Testi = std::vector<std::string>;

// Records A, B and C (when the header asks for it) of header record 1 `r`, written into records
// in memory. With a record Z that counts them they make a file that passes the check.
Testi RecordDellaTestata(const RecordProva& r, const std::string& tipo = "N") {
  Testata t = SeparaTestata(r.testo());
  prova::UscitaInMemoria uscita;
  Totali totale{};
  Scrittore s(uscita, totale);
  RecordA(s, t);
  RecordB(s, t, tipo);
  if (t[kConRecordC] == "X") RecordC(s, t);
  s.IniziaRecord(prova::Cur18Z(s.Conteggio('B'), s.Conteggio('C'), 0, 0));
  s.ChiudiRecord();
  EXPECT_EQ(prova::ErroriDelControllo(uscita.records), "");
  return uscita.records;
}

TEST(RecordTestata, RecordBOfACompany) {
  auto t = TestataProva();
  t.Metti(69, "0612345678").Metti(81, "paghe@rossi.it").Metti(116, "BNCGNN60A01H501X").Metti(132, "01");
  t.Metti(134, "           ").Metti(145, "BIANCHI").Metti(169, "GIOVANNIBATTISTAMARIAPIA").Metti(193, "  12");
  t.Metti(45, "E FIGLI");
  EXPECT_EQ(RecordDellaTestata(t)[1], "B01234567897     00000001" + std::string(48, ' ') + "AAAAAA00A00A000A" +
                                          " 00" +  // a blank, then neither cancellation nor replacement
                                          std::string(44, ' ') + "ROSSI SRL" + std::string(15, ' ') + "E FIGLI" +
                                          std::string(29, ' ') + "PAGHE@ROSSI.IT" + std::string(86, ' ') +
                                          "0612345678  0" + "BNCGNN60A01H501X01BIANCHI" + std::string(17, ' ') +
                                          "GIOVANNIBATTISTAMARI" + "00000000000" + std::string(19, ' ') +
                                          "0000001201SPRFRN70A01F205Y1010220181" +  // 410: no record C
                                          std::string(1460, ' ') + "A\r\n");
}

TEST(RecordTestata, RecordBOfANaturalPersonAndTheOperationFlags) {
  auto t = TestataProva();
  t.Metti(3, "D")
      .Metti(21, "VERDI" + std::string(19, ' '))
      .Metti(45, "ANNAMARIA GIOVANNA LUISA")
      .Metti(116, "XXXXXXXXXXXXXXXX");
  t.Metti(134, "12345678901").Metti(201, "X").Metti(309, "A");
  const std::string b = RecordDellaTestata(t, "S")[1];
  EXPECT_EQ(b.substr(89, 3), " 01");
  EXPECT_EQ(b.substr(92, 104), "VERDI" + std::string(19, ' ') + "ANNAMARIA GIOVANNA L" + std::string(60, ' '));
  EXPECT_EQ(b.substr(309, 73), std::string(16, ' ') + "00" + std::string(44, ' ') + "00000000000");
  EXPECT_EQ(b.substr(409, 1), "1");  // record C asked for
}

TEST(RecordTestata, RecordCForTheIntermediaryOrTheAgent) {
  auto t = TestataProva();
  t.Metti(81, "amministrazione.paghe@studiorossi.it").Metti(201, "X").Metti(309, "B").Metti(310, "000000000012");
  t.Metti(327, "001").Metti(330, "3331234567").Metti(343, "studio@example.it");
  t.Metti(116, std::string(16, ' '));  // the e-mail's 36th character, beyond its field
  Testi r = RecordDellaTestata(t);
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[2].substr(0, 89), "C01234567897     00000001" + std::string(64, ' '));
  Testi attesi = {"CT00100101234567897     ",
                  "CT002002000000000012    ",
                  "CT001003AMMINISTRAZIONE.",
                  "CT001003+PAGHE@STUDIOROS",
                  "CT001003+SI.I",
                  "CT003001SPRFRN70A01F205Y",  // e-mail cut at 35
                  "CT003002001",
                  "CT0030033331234567",
                  "CT003004STUDIO@EXAMPLE.I",
                  "CT003004+T",
                  "CT003005               1"};
  attesi[1] = "CT001002000000000012";
  for (auto& a : attesi) a.resize(24, ' ');
  EXPECT_EQ(prova::Campi(r[2]), attesi);

  // The agent's own block: the flag when position 322 is "X", the code otherwise.
  t.Metti(309, " ").Metti(310, "            ").Metti(81, std::string(35, ' ')).Metti(322, "X");
  attesi = {"CT00100101234567897     ", "CT002001               1"};
  EXPECT_EQ(prova::Campi(RecordDellaTestata(t)[2]), attesi);
  t.Metti(322, " ").Metti(324, "abc");
  attesi = {"CT00100101234567897     ", "CT002002ABC             "};
  EXPECT_EQ(prova::Campi(RecordDellaTestata(t)[2]), attesi);
}

TEST(RecordTestata, NulAndLowerCaseHeaderFields) {
  auto t = TestataProva();
  t.Metti(21, "rossi s.r.l.").Metti(45, std::string(24, '\0')).Metti(207, "sprfrn70a01f205y");
  const Testi r = RecordDellaTestata(t);
  EXPECT_EQ(r[0].substr(22, 16), "SPRFRN70A01F205Y");
  EXPECT_EQ(r[1].substr(136, 48), "ROSSI S.R.L." + std::string(36, ' '));
}

// A run over a header (and no employees unless given) on drive c of a temporary root.
class TestataTest : public prova::CorsaProva {
 protected:
  bool Esegui(const RecordProva& t, const std::string& testata2 = prova::Testata2Prova(1, 0),
              const std::vector<std::string>& dipendenti = {}) {
    testata = t;
    return EseguiArchivio(testata2, dipendenti);
  }
};

TEST_F(TestataTest, ACertificationWithNoEmployeesGivesABZ) {
  ASSERT_TRUE(Esegui(TestataProva()));
  auto r = records;
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0], "A" + std::string(14, ' ') + "CUR18" + "10" + "SPRFRN70A01F205Y" + std::string(1859, ' ') + "A\r\n");
  EXPECT_EQ(r[1][0], 'B');
  EXPECT_EQ(r[2], "Z" + std::string(14, ' ') + "000000001" + "000000000" + "000000000" + "000000000" + "000000000" +
                      "000000000" + std::string(1828, ' ') + "A\r\n");
  EXPECT_TRUE(Conclusa());
  EXPECT_EQ(didascalia, "Memorizzazione in corso......della CU di ROSSI SRL" + std::string(39, ' '));
  for (const auto& rec : r) {
    EXPECT_EQ(rec.size(), 1900u);
    EXPECT_EQ(rec.substr(1897), "A\r\n");
  }
  // Record C when the header asks for it, counted by Z (which the check of the run holds to the file).
  ASSERT_TRUE(Esegui(TestataProva().Metti(201, "X")));
  EXPECT_EQ(Tipi(), "ABCZ");
}

// The window's texts keep their positional widths in record B.
TEST_F(TestataTest, CommitmentFromTheWindowWhenTheHeaderHasNone) {
  auto t = TestataProva();
  t.Metti(223, "0").Metti(224, "00000000");
  const struct {
    const char* tipo;
    const char* data;
    const char* inB;  // positions 428 to 437: type, date, then "1"
  } casi[] = {{"2", "28022018", "2280220181"}, {"12", "28022018  ", "1280220181"}};
  for (const auto& c : casi) {
    impostazioni.tipoImpegno = c.tipo;
    impostazioni.dataImpegno = c.data;
    ASSERT_TRUE(Esegui(t));
    EXPECT_EQ(records[1].substr(427, 10), c.inB);
    EXPECT_EQ(records[1].substr(437), std::string(1460, ' ') + "A\r\n");
    EXPECT_EQ(run.testata[kTipoImpegno], c.tipo);
  }
}

// Each check stops the run with its message in an error box, before the output exists.
TEST_F(TestataTest, ChecksStopTheRunWithTheirMessages) {
  const struct {
    const char* tipo;  // the window's supply type, protocol, progressive number and record
    const char* protocollo;
    const char* progressivo;
    const char* record;
    const char* codice;  // the certification, the kind in its header record 2
    int tipoCU;
    const char* impegno;  // the header's commitment type and date, then the window's date
    const char* data;
    const char* messaggio;
  } casi[] = {
      {"A", "", "", "3", "1", 1, "101022018", "", "Manca il numero Identificativo Entratel "},
      {"A", "PROT", "", "3", "1", 1, "101022018", "", "Manca il numero di Protocollo Sostituz/Annullamento "},
      {"A", "PROT", "1", "", "1", 1, "101022018", "",
       "Manca il numero di Record del dipendente da Annullare o Sostituire "},
      {"N", "", "", "", "1", 2, "101022018", "", "La CU deve essere per LD, quella selezionata e' per LA "},
      {"N", "", "", "", "1", 1, "         ", "", "Manca la data dell'impegno alla trasmissione "},
      {"N", "", "", "", "1", 1, "         ", "01012018", "Manca la tipologia dell'impegno alla trasmissione "},
      {"N", "", "", "", "2", 1, "101022018", "", "Archivio inesistente "},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.messaggio);
    impostazioni.tipoFornitura = c.tipo;
    impostazioni.protocollo = c.protocollo;
    impostazioni.progressivo = c.progressivo;
    impostazioni.recordDipendente = c.record;
    impostazioni.CodiceCU = c.codice;
    impostazioni.dataImpegno = c.data;
    messaggi.mostrati.clear();
    EXPECT_FALSE(Esegui(TestataProva().Metti(223, c.impegno), prova::Testata2Prova(c.tipoCU, 0)));
    EXPECT_EQ(Errori(), Testi{c.messaggio});
    EXPECT_FALSE(UscitaCreata());
    EXPECT_FALSE(Conclusa());
  }
}

// An output the run may not write stops it in an error box that names the file and what to do.
TEST_F(TestataTest, AnOutputThatMayNotBeWrittenSaysWhatToDo) {
  impostazioni.nomeFile = "..\\vorn\\quelt\\2017\\dati\\FCU1.018";
  EXPECT_FALSE(Esegui(TestataProva()));
  // Another run writes the file.
  impostazioni.nomeFile = "cur18.txt";
  Canali altra(percorsi, messaggi);
  altra.Canale = kCanaleTelematico;
  altra.NomeFile[kCanaleTelematico] = "C:\\out\\cur18.txt";
  altra.ApriFileNuovo();
  EXPECT_FALSE(Esegui(TestataProva()));
  EXPECT_EQ(Errori(), (Testi{"Il file telematico coincide con un file dell'archivio \nIl file "
                             "C:\\out\\..\\vorn\\quelt\\2017\\dati\\FCU1.018 e' un file dell'archivio: indicare "
                             "un'altra cartella o un altro nome per il file telematico",
                             "Il file C:\\out\\cur18.txt e' gia' aperto da un'altra elaborazione \nAttendere che "
                             "l'altra elaborazione (su questo o su un altro computer) finisca, poi creare di nuovo il "
                             "file"}));
}

TEST_F(TestataTest, BlankEmployeeCountStopsAfterRecordA) {
  auto t = TestataProva();
  t.Metti(193, "    ");
  EXPECT_FALSE(Esegui(t));
  EXPECT_EQ(Errori(), Testi{"Grave !! Numero dipendenti pari a zero "});
  EXPECT_FALSE(UscitaCreata());  // record A was written, under a name that the stop removed
  EXPECT_FALSE(Conclusa());
}

TEST_F(TestataTest, AnUnreadableHeaderStopsBeforeTheOutputExists) {
  EXPECT_FALSE(EseguiArchivio("", {}));  // record 2 missing
  EXPECT_EQ(messaggi.Testi(),
            Testi{"Errore di lettura tipo  62 nel file binario C:\\vorn\\quelt\\2017\\dati\\FCU1.018 al record  2"});
  EXPECT_FALSE(UscitaCreata());
}

TEST_F(TestataTest, ASecondRunStartsFromZero) {
  ASSERT_TRUE(Esegui(TestataProva(), prova::Testata2Prova(1, 1), {prova::DipendenteProva().Campo(22, "100").testo()}));
  EXPECT_EQ(run.Totale[kDipendenti], 1);
  EXPECT_EQ(run.Totale[kRedditi], 100);
  ASSERT_TRUE(Esegui(TestataProva(), prova::Testata2Prova(1, 1), {prova::DipendenteProva().Campo(22, "40").testo()}));
  EXPECT_EQ(run.Totale[kDipendenti], 1);
  EXPECT_EQ(run.Totale[kRedditi], 40);
  auto r = records;
  ASSERT_EQ(r.size(), 5u);  // A B D G Z: the file was created anew
  EXPECT_EQ(r[4].substr(15, 36), "000000001000000000000000001000000001");
}

}  // namespace
}  // namespace quibold
