#include "telematic/dipendenti.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/corsa_prova.h"
#include "support/cur18_prova.h"

namespace quibold {
namespace {

namespace fs = std::filesystem;
using prova::Codici;
using prova::DipendenteProva;
using prova::Dx;
using prova::kFatto;
using prova::kUscita;
using prova::Sx;
using prova::Testi;
using prova::Valori;

// Amount fields of the income section that are written one field each and that the total of the
// deductions does not sum.
constexpr int kImporti[] = {22,  23,  24,  25,  26,  33,  34,  35,  36,  37,  38,  39,  40,  41,  55,  56,
                            57,  58,  59,  60,  61,  62,  64,  65,  66,  67,  69,  70,  71,  72,  75,  76,
                            77,  78,  79,  80,  82,  84,  85,  90,  91,  92,  93,  94,  95,  103, 104, 105,
                            106, 107, 108, 109, 110, 112, 113, 114, 115, 117, 118, 119, 120, 123, 124, 125,
                            126, 127, 128, 130, 132, 133, 139, 141, 159, 160, 161, 163};

// An employee whose G records hold exactly `quanti` fields.
DipendenteProva ConCampi(size_t quanti) {
  DipendenteProva d("PNCPLL70A01F205Z", "PANCO", "PAOLO");
  for (size_t i = 0; i < quanti; ++i) d.Campo(kImporti[i], "1");
  return d;
}

// A certification on drive c of a temporary root, run through the writer as the window runs it.
class Dipendenti : public prova::CorsaProva {};

constexpr char kNonValido[] = "Numero di Record del dipendente non valido ";
constexpr char kSenzaDipendente[] = "Il record indicato non contiene un dipendente da certificare ";

TEST_F(Dipendenti, NormalWalkNumbersOnlyTheLiveEmployees) {
  std::vector<DipendenteProva> d;
  for (int i = 1; i <= 6; ++i) d.emplace_back("CODICEFISCALE00" + std::to_string(i), "COGNOME");
  d[2].Stato('*');            // record 3 is not live
  d[4].Campo(5, "00000000");  // record 5 has no date of birth
  EXPECT_TRUE(Esegui(d));

  EXPECT_EQ(Tipi(), "ABDGDGDGDGZ");
  const Testi dd = DiTipo('D'), gg = DiTipo('G');
  const char* codici[] = {"CODICEFISCALE001", "CODICEFISCALE002", "CODICEFISCALE004", "CODICEFISCALE006"};
  for (size_t i = 0; i < 4; ++i) {
    const std::string progressivo = "0000" + std::to_string(i + 1);
    EXPECT_EQ(dd[i].substr(0, 46), "D01234567897     00000001" + std::string(codici[i]) + progressivo);
    // No protocol and no number typed: zeros; a normal supply has no operation letter.
    EXPECT_EQ(dd[i].substr(46, 43), std::string(23, '0') + std::string(19, ' ') + "1");
    EXPECT_EQ(gg[i].substr(0, 89),
              "G01234567897     00000001" + std::string(codici[i]) + progressivo + std::string(43, ' '));
  }
  EXPECT_EQ(records.back().substr(0, 69), prova::Cur18Z(1, 0, 4, 4));
  EXPECT_EQ(run.Totale[kDipendenti], 4);
  ASSERT_EQ(messaggi.mostrati.size(), 1u);
  EXPECT_EQ(messaggi.mostrati[0].testo, kFatto);
  EXPECT_EQ(messaggi.mostrati[0].titolo, "Creazione Telematico");
}

TEST_F(Dipendenti, RecordDCarriesThePersonalData) {
  testata.Metti(45, "SEDE LEGALE");  // the name's second part
  DipendenteProva d("RSSMRA80A01H501U", "ABCDEFGHIJKLMNOPQRST", "MARIO");
  d.Campo(4, "M").Campo(6, "ROMA").Campo(7, "RM").Campo(9, "5 ").Campo(10, "1").Campo(11, "MILANO");
  d.Campo(12, "MI").Campo(13, "F205").Campo(17, "ID1234").Campo(18, "PARIS").Campo(19, "RUE 1");
  d.Campo(20, "X").Campo(21, "029");
  DipendenteProva semplice("VRDLGU75B02F205K", "VERDI", "LUIGI");
  semplice.Campo(9, "0").Campo(10, "3");
  ASSERT_TRUE(Esegui({d, semplice}));

  const Testi dd = DiTipo('D');
  ASSERT_EQ(dd.size(), 2u);
  const Testi c = prova::Campi(dd[0]);
  EXPECT_EQ(Codici(c),
            (Testi{"DA001001", "DA001002", "DA001003", "DA001004", "DA001005", "DA001007", "DA002001", "DA002002",
                   "DA002002", "DA002003", "DA002004", "DA002005", "DA002006", "DA002007", "DA002009", "DA002010",
                   "DA002020", "DA002021", "DA002022", "DA002024", "DA002025", "DA002026", "DA002040", "DA002041",
                   "DA002042", "DA002043", "DA002044", "DA003001", "DA003002"}));
  EXPECT_EQ(Valori(c, "DA001001"), Testi{Sx("01234567897")});
  EXPECT_EQ(Valori(c, "DA001003"), Testi{Sx("SEDE LEGALE")});
  // A 20-character surname goes on in a second field.
  EXPECT_EQ(Valori(c, "DA002002"), (Testi{"ABCDEFGHIJKLMNOP", Sx("+QRST")}));
  EXPECT_EQ(Valori(c, "DA002005"), Testi{Dx("01011980")});
  EXPECT_EQ(Valori(c, "DA002009"), Testi{Dx("5")});
  EXPECT_EQ(Valori(c, "DA002010"), Testi{Dx("1")});
  EXPECT_EQ(Valori(c, "DA002040"), Testi{Sx("ID1234")});
  EXPECT_EQ(Valori(c, "DA002043"), Testi{Dx("1")});
  EXPECT_EQ(Valori(c, "DA002044"), Testi{Dx("029")});
  EXPECT_EQ(Valori(c, "DA003001"), Testi{Dx("15022018")});
  EXPECT_EQ(Valori(c, "DA003002"), Testi{Dx("1")});

  const Testi secondo = prova::Campi(dd[1]);
  EXPECT_TRUE(Valori(secondo, "DA002009").empty());  // "0" does not read above 0
  EXPECT_TRUE(Valori(secondo, "DA002010").empty());  // only "1" or "2"
  EXPECT_EQ(Valori(secondo, "DA002002"), Testi{Sx("VERDI")});
}

TEST_F(Dipendenti, TheForeignAddressNeedsAPositiveStateCode) {
  DipendenteProva zeri("VRDLGU75B02F205K", "VERDI", "LUIGI");
  zeri.Campo(21, "000").Campo(18, "PARIS").Campo(20, "X");
  DipendenteProva senzaStato("BNCGNN60C03L219P", "BIANCHI", "GIANNI");
  senzaStato.Campo(17, "ID99").Campo(21, "   ");
  DipendenteProva senzaIdentificativo("NREMRC85D04A944Q", "NERI", "MARCO");
  senzaIdentificativo.Campo(21, "040").Campo(10, "2");
  ASSERT_TRUE(Esegui({zeri, senzaStato, senzaIdentificativo}));
  const Testi dd = DiTipo('D');
  ASSERT_EQ(dd.size(), 3u);

  // A state code of "000" or blank leaves out the whole foreign address.
  for (size_t i : {0u, 1u}) {
    const Testi altri = Codici(prova::Campi(dd[i]));
    for (const char* codice : {"DA002040", "DA002041", "DA002042", "DA002043", "DA002044"}) {
      EXPECT_EQ(std::count(altri.begin(), altri.end(), codice), 0) << codice << " in D " << i;
    }
  }
  // A positive one without an identification number leaves out only that field.
  const Testi terzo = prova::Campi(dd[2]);
  EXPECT_TRUE(Valori(terzo, "DA002040").empty());
  EXPECT_EQ(Valori(terzo, "DA002041"), Testi{std::string(16, ' ')});
  EXPECT_TRUE(Valori(terzo, "DA002043").empty());
  EXPECT_EQ(Valori(terzo, "DA002044"), Testi{Dx("040")});
  EXPECT_EQ(Valori(terzo, "DA002010"), Testi{Dx("2")});
}

TEST_F(Dipendenti, CancellationWritesOnlyRecordDOfTheChosenEmployee) {
  testata.Metti(201, "X");  // record C asked for
  std::vector<DipendenteProva> d;
  for (int i = 1; i <= 8; ++i) d.emplace_back("CODICEFISCALE00" + std::to_string(i), "COGNOME" + std::to_string(i));
  d[6].Campo(22, "1000").Campo(38, "100");
  impostazioni.tipoFornitura = "A";
  impostazioni.protocollo = "12345";
  impostazioni.progressivo = "42";
  impostazioni.recordDipendente = "7";
  messaggi.risposte = {Risposta::Si};
  EXPECT_TRUE(Esegui(d));

  EXPECT_EQ(Tipi(), "ABCDZ");
  const std::string& rd = records[3];
  EXPECT_EQ(rd.substr(25, 21), "CODICEFISCALE00700001");
  EXPECT_EQ(rd.substr(46, 23), "00000000000012345000042");
  EXPECT_EQ(rd.substr(69, 20), std::string(14, ' ') + "A    1");
  EXPECT_EQ(records.back().substr(0, 69), prova::Cur18Z(1, 1, 1, 0));
  EXPECT_EQ(run.Totale[kDipendenti], 0);
  EXPECT_EQ(run.Totale[kRedditi], 0);  // no G record, no amounts
  EXPECT_EQ(run.testata[kProtocolloSostituito], "12345" + std::string(12, ' '));
  EXPECT_EQ(run.testata[kProgressivoSostituito], "42    ");

  ASSERT_EQ(messaggi.mostrati.size(), 2u);
  const auto& domanda = messaggi.mostrati[0];
  EXPECT_EQ(domanda.testo, "Confermi la funzione di Annul/Sostit. del dipendente COGNOME7" + std::string(16, ' ') +
                               "MARIO" + std::string(19, ' ') + " ?");
  EXPECT_EQ(domanda.pulsanti, Pulsanti::SiNo);
  EXPECT_EQ(messaggi.mostrati[1].testo, kFatto);
}

TEST_F(Dipendenti, ReplacementWritesOneEmployeeWithItsGRecords) {
  std::vector<DipendenteProva> d;
  for (int i = 1; i <= 3; ++i) d.emplace_back("CODICEFISCALE00" + std::to_string(i));
  d[1].Campo(22, "1000");
  impostazioni.tipoFornitura = "S";
  impostazioni.protocollo = "17000000000000001";
  impostazioni.progressivo = "000123";
  impostazioni.recordDipendente = "2";
  messaggi.risposte = {Risposta::Si};
  EXPECT_TRUE(Esegui(d));

  EXPECT_EQ(Tipi(), "ABDGZ");
  EXPECT_EQ(records[2].substr(25, 64),
            "CODICEFISCALE00200001"
            "17000000000000001"
            "000123" +
                std::string(14, ' ') + "S    1");
  EXPECT_EQ(records[3].substr(25, 21), "CODICEFISCALE00200001");
  EXPECT_EQ(prova::Campi(records[3]), Testi{"DB001001" + Dx("1000,00")});
  EXPECT_EQ(records.back().substr(0, 69), prova::Cur18Z(1, 0, 1, 1));
  EXPECT_EQ(run.Totale[kDipendenti], 1);
  EXPECT_EQ(run.Totale[kRedditi], 1000);
}

TEST_F(Dipendenti, SingleCertificationWritesOneEmployeeWithoutAsking) {
  std::vector<DipendenteProva> d;
  for (int i = 1; i <= 3; ++i) d.emplace_back("CODICEFISCALE00" + std::to_string(i));
  impostazioni.singola = true;
  impostazioni.recordDipendente = " 3 ";  // the last record is in range
  EXPECT_TRUE(Esegui(d));
  EXPECT_EQ(Tipi(), "ABDGZ");
  EXPECT_EQ(records[2].substr(25, 21), "CODICEFISCALE00300001");
  EXPECT_EQ(records[2][83], ' ');
  EXPECT_EQ(messaggi.Testi(), Testi{std::string(kFatto)});
}

TEST_F(Dipendenti, RefusingTheConfirmationDropsRecordDAndEndsSilently) {
  for (const char* tipo : {"A", "S"}) {
    SCOPED_TRACE(tipo);
    messaggi.mostrati.clear();
    impostazioni.tipoFornitura = tipo;
    impostazioni.protocollo = "1";
    impostazioni.progressivo = "1";
    impostazioni.recordDipendente = "1";
    messaggi.risposte = {Risposta::No};
    EXPECT_FALSE(Esegui(std::vector<DipendenteProva>{DipendenteProva()}));
    EXPECT_FALSE(UscitaCreata());
    ASSERT_EQ(messaggi.mostrati.size(), 1u);  // the question only: no error, no success
    EXPECT_EQ(messaggi.mostrati[0].testo, "Confermi la funzione di Annul/Sostit. del dipendente ROSSI" +
                                              std::string(19, ' ') + "MARIO" + std::string(19, ' ') + " ?");
    EXPECT_EQ(run.Totale[kDipendenti], 0);
  }
}

// The one record of a single mode must be a live employee of the file; else the run stops with
// an error box, asks nothing and leaves no file: before the output is opened when the number is
// outside the file, after the header records when the record holds nobody to certify.
TEST_F(Dipendenti, SingleModesNeedALiveEmployeeOfTheFile) {
  std::vector<DipendenteProva> d(3, DipendenteProva());
  d[1].Stato(' ');
  d[2].Campo(5, "        ");
  testata.Metti(201, "X");
  struct Caso {
    const char* tipo;
    int singola;
    const char* numero;
    const char* messaggio;
    int conteggio = 3;  // the employee records header record 2 counts
  };
  // clang-format off
  const Caso casi[] = {
      {"A", 0, "0", kNonValido},  {"S", 0, "4", kNonValido},   {"N", 1, "1.5", kNonValido},
      {"A", 0, "abc", kNonValido}, {"S", 0, "-1", kNonValido}, {"N", 1, "", kNonValido},
      {"N", 1, "99999999999", kNonValido}, {"S", 0, "1", kNonValido, 0},
      {"A", 0, "2", kSenzaDipendente}, {"S", 0, "3", kSenzaDipendente},
      {"N", 1, "2", kSenzaDipendente}, {"N", 1, "3", kSenzaDipendente},
  };
  // clang-format on
  for (const Caso& caso : casi) {
    SCOPED_TRACE(std::string(caso.tipo) + " record '" + caso.numero + "' of " + std::to_string(caso.conteggio));
    radice.Rimuovi(kUscita);
    messaggi.mostrati.clear();
    impostazioni.tipoFornitura = caso.tipo;
    impostazioni.singola = caso.singola == 1;
    impostazioni.protocollo = impostazioni.progressivo = "1";
    impostazioni.recordDipendente = caso.numero;
    messaggi.risposte = {Risposta::Si};
    EXPECT_FALSE(Esegui(d, caso.conteggio));
    ASSERT_EQ(messaggi.mostrati.size(), 1u);  // no question, no success message
    EXPECT_EQ(messaggi.mostrati[0].testo, caso.messaggio);
    EXPECT_EQ(messaggi.mostrati[0].titolo, "Accesso");
    EXPECT_EQ(messaggi.mostrati[0].icona, Icona::Errore);
    EXPECT_EQ(run.Totale[kDipendenti], 0);
    EXPECT_FALSE(UscitaCreata());
  }
}

TEST_F(Dipendenti, AnUnreadableRecordStopsTheRun) {
  DipendenteProva primo("CODICEFISCALE001"), secondo("CODICEFISCALE002"), terzo("CODICEFISCALE003");
  // Header record 2 counts four records; the file holds two and half of the third.
  EXPECT_FALSE(Esegui({primo.testo(), secondo.testo(), terzo.testo().substr(0, 3000)}, 4));

  EXPECT_FALSE(UscitaCreata());
  const Testi t = messaggi.Testi();
  ASSERT_EQ(t.size(), 1u);  // the read error of record 3, and no success message
  EXPECT_EQ(t[0].rfind("Errore di lettura tipo  62 nel file binario ", 0), 0u) << t[0];
  EXPECT_TRUE(t[0].ends_with(" al record  3")) << t[0];
}

TEST_F(Dipendenti, SeventyFiveFieldsCloseTheGRecordAtOnce) {
  ASSERT_TRUE(Esegui(std::vector<DipendenteProva>{ConCampi(75), ConCampi(76), ConCampi(74)}));
  EXPECT_EQ(Tipi(), "ABDGGDGGDGZ");
  EXPECT_EQ(records.back().substr(0, 69), prova::Cur18Z(1, 0, 3, 5));
  EXPECT_EQ(run.Totale[kDipendenti], 3);

  // Exactly 75: the continuation record holds only the head.
  EXPECT_EQ(prova::Campi(records[3]).size(), 75u);
  EXPECT_EQ(records[4].substr(0, 89), records[3].substr(0, 89));
  EXPECT_EQ(records[4].substr(89, 1808), std::string(1808, ' '));
  // The 76th field is the first of the continuation record, with the same head.
  EXPECT_EQ(records[7].substr(0, 89), records[6].substr(0, 89));
  EXPECT_EQ(records[6].substr(41, 5), "00002");
  EXPECT_EQ(prova::Campi(records[7]), Testi{"DB001374" + Dx("1,00")});
  EXPECT_EQ(prova::Campi(records[9]).size(), 74u);
}

TEST_F(Dipendenti, SectionsFollowOneAnotherOnTheSameGRecord) {
  DipendenteProva d;
  d.Campo(22, "1").Campo(295, "X").Campo(362, "1234567890").Campo(448, "1").Campo2(75, "AB");
  ASSERT_TRUE(Esegui(std::vector<DipendenteProva>{d}));
  const Testi g = DiTipo('G');
  ASSERT_EQ(g.size(), 1u);
  EXPECT_EQ(Codici(prova::Campi(g[0])),
            (Testi{"DB001001", "DB601001", "DB601005", "DC001001", "DC001008", "DF001801", "DN001001"}));
}

}  // namespace
}  // namespace quibold
