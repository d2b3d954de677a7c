#include "telematic/sezioni.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <locale>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/archivio_prova.h"
#include "support/cur18_prova.h"
#include "support/uscita_prova.h"

namespace quibold {
namespace {

using prova::Codici;
using prova::DipendenteProva;
using prova::Dx;
using prova::Sx;
using prova::Valori;
using Testi = std::vector<std::string>;
using Sezione = void (*)(Scrittore&, const FontiDipendente&);

// An employee with every field of the income section set so that each row writes its field.
DipendenteProva ConTuttoIlReddito() {
  DipendenteProva d;
  for (const SerieCampi& s : kTabellaCampo) {
    for (int k = std::max(s.primo, 22); k <= std::min(s.ultimo, 294); ++k) d.Campo(k, "1");
  }
  for (int flag : {31, 54, 81, 86, 129, 134, 206, 229, 294}) d.Campo(flag, "X");
  for (int codice : {68, 83, 116, 131}) d.Campo(codice, "AB");
  for (int cf : {190, 205, 244, 262, 268, 293}) d.Campo(cf, "RSSMRA80A01H501U");
  d.Campo(121, "12").Campo(230, "A");
  for (int data : {29, 30, 180}) d.Campo(data, "01012017");
  return d;
}

// One section written for one employee after another into records in memory, as the walk writes
// them: one writer and one set of fields split anew for each employee.
class Sezioni : public ::testing::Test {
 protected:
  // The fields of each employee's G records; the run's totals are then in `totale`.
  std::vector<Testi> CampiG(Sezione sezione, const std::vector<DipendenteProva>& dipendenti) {
    prova::UscitaInMemoria uscita;
    totale.fill(0);
    Scrittore s(uscita, totale);
    CampiDipendente campi;
    const FontiDipendente fonti{testata, campi};
    std::vector<Testi> g;
    for (const auto& d : dipendenti) {
      const std::string atteso = erroriAttesi[g.size()];
      const auto primo = static_cast<long>(uscita.records.size());
      SeparaCampi(d.testo(), campi);
      s.IniziaRecordG(kTestaG);
      sezione(s, fonti);
      s.ChiudiRecord();
      const Testi records(uscita.records.begin() + primo, uscita.records.end());
      Controlla(records, atteso);
      recordG = static_cast<int>(records.size());
      g.emplace_back();
      for (const auto& r : records) {
        for (auto& c : prova::Campi(r)) g.back().push_back(c);
      }
    }
    return g;
  }
  Testi CampiG(Sezione sezione, const DipendenteProva& d) { return CampiG(sezione, std::vector{d})[0]; }

  // G records that pass the check of a file (or whose first error says `atteso`), after the
  // records A to D of a file built by hand and before a record Z that counts them.
  static void Controlla(const Testi& g, const std::string& atteso) {
    Testi file = prova::Cur18Prova();
    file.resize(4);
    file.insert(file.end(), g.begin(), g.end());
    file.push_back(prova::Cur18Record(prova::Cur18Z(1, 1, 1, static_cast<long>(g.size()))));
    const std::string errore = prova::ErroriDelControllo(file);
    if (atteso.empty()) {
      EXPECT_EQ(errore, "");
    } else {
      EXPECT_NE(errore.find(atteso), std::string::npos) << errore;
    }
  }

  // The head of the employee of the hand-built file.
  const std::string kTestaG = "G" + std::string(prova::kCfSocieta) + "00000001" + std::string(prova::kCfPersona) +
                              "00001" + std::string(43, ' ');
  const Testata testata = SeparaTestata(prova::TestataProva().testo());
  Totali totale{};
  int recordG = 0;  // of the last employee
  // What the check refuses in the G records of an employee, by their place in CampiG's list.
  std::map<size_t, std::string> erroriAttesi;
};

// The codes of the fiscal table, in order, from `primo` on.
Testi CodiciFiscali(std::string_view primo = "DB001001") {
  Testi codici;
  const auto tabelle = TabelleFiscale();
  for (const Riga& r : tabelle.at(0).righe) {
    if (!codici.empty() || r.codice == primo) codici.emplace_back(r.codice);
  }
  return codici;
}

TEST_F(Sezioni, EveryFiscalRowWritesItsField) {
  const Testi tutto = CampiG(SezioneFiscale, ConTuttoIlReddito());
  const Testi codici = Codici(tutto);
  EXPECT_EQ(codici, CodiciFiscali());
  EXPECT_EQ(recordG, static_cast<int>((codici.size() + kMaxCampi - 1) / kMaxCampi));  // every record full but the last
  EXPECT_EQ(totale[kRedditi], 4);
  EXPECT_EQ(totale[kTrattenuteAssistenzaFiscale], 22);
  EXPECT_EQ(totale[kRimborsiAssistenzaFiscale], 8);
  EXPECT_EQ(totale[kDetrazioni], 1);  // five deductions of 1, capped by a tax of 1
  EXPECT_EQ(totale[kRedditiDaTerzi], 5);
}

// Code "2" and no income in fields 22 and 23: only the rows from "DB001481" on, no totals before
// them; income in either field, or another code, writes the whole section.
TEST_F(Sezioni, Code2WithoutIncomeSkipsToDB001481) {
  const struct {
    const char* codice;
    const char* reddito1;
    const char* reddito2;
    const char* primo;  // the first code written: every row after it writes its field
    const char* vuoto;  // but this one, which has nothing to write
  } casi[] = {
      {"1", "0.00", "0", "DB001003", ""},
      {"2", "10", "0.00", "DB001001", "DB001002"},
      {"2", "0.00", "0.50", "DB001002", ""},  // under one euro is income too
      {"2", "0.00", "0.00", "DB001481", ""},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(std::string(c.codice) + " " + c.reddito1 + " " + c.reddito2);
    const Testi campi =
        CampiG(SezioneFiscale, ConTuttoIlReddito().Campo(10, c.codice).Campo(22, c.reddito1).Campo(23, c.reddito2));
    Testi atteso = CodiciFiscali(c.primo);
    std::erase(atteso, c.vuoto);
    EXPECT_EQ(Codici(campi), atteso);
  }
  // The totals of the last case.
  for (int i : {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 22}) EXPECT_EQ(totale[i], 0) << "Totale " << i;
  EXPECT_EQ(totale[kTassazioneSeparata], 2);
  EXPECT_EQ(totale[kRedditiDaTerzi], 5);
}

TEST_F(Sezioni, DaysAboveAYearCountAsAYearForTheirEmployeeOnly) {
  DipendenteProva capped, settimana, anno, senzaGiorni;
  capped.Campo(27, "400").Campo(32, "5");
  settimana.Campo(27, "7").Campo(32, "5");
  anno.Campo(27, "365").Campo(32, "5");
  senzaGiorni.Campo(32, "4");
  const auto g = CampiG(SezioneFiscale, {capped, settimana, anno, senzaGiorni});
  EXPECT_EQ(g[0], Testi{"DB001006" + Dx("365")});
  // The next employee has its own day count again.
  EXPECT_EQ(g[1], (Testi{"DB001006" + Dx("007"), "DB001011" + Dx("5")}));
  EXPECT_EQ(g[2], Testi{"DB001006" + Dx("365")});
  EXPECT_EQ(g[3], Testi{"DB001011" + Dx("4")});  // no days at all is below a year
}

TEST_F(Sezioni, DatesAndCodesOfTheFiscalSection) {
  DipendenteProva d;
  d.Campo(29, "01032017").Campo(53, "A").Campo(121, "30").Campo(63, "5").Campo(68, "AB").Campo(83, "A");
  d.Campo(138, "0.6").Campo(140, "365").Campo(164, "7").Campo(168, "2").Campo(176, "B").Campo(190, "01234567897");
  d.Campo(194, "123").Campo(205, "ABCDEFGHIJKLMN").Campo(230, "A ").Campo(237, " C ").Campo(240, "5 ");
  d.Campo(241, "5 ");
  EXPECT_EQ(CampiG(SezioneFiscale, d),
            (Testi{"DB001008" + Dx("01032017"), "DB001051" + Sx("A"), "DB001054" + Dx("3"), "DB001075" + Dx("05"),
                   "DB001085" + Sx("AB"), "DB001341" + Dx(""), "DB001343" + Dx("365"), "DB001375" + Dx("007"),
                   "DB001391" + Dx("2"), "DB001411" + Dx("B"), "DB001425" + Sx("01234567897"), "DB001432" + Dx("12"),
                   "DB001477" + Sx("A"), "DB001486" + Sx("C"), "DB001A89" + Dx("5"), "DB001B89" + Dx("05")}));

  DipendenteProva altro;
  altro.Campo(230, "C ").Campo(176, "BB").Campo(29, "00000000").Campo(121, "0").Campo(63, "  ");
  EXPECT_TRUE(CampiG(SezioneFiscale, altro).empty());
}

TEST_F(Sezioni, AmountsFeedTheirTotalsWrittenOrNot) {
  DipendenteProva primo, secondo;
  primo.Campo(22, "-50").Campo(23, "100").Campo(33, "-10").Campo(38, "100").Campo(39, "20");
  primo.Campo(34, "1").Campo(35, "2").Campo(37, "3").Campo(41, "4").Campo(55, "5").Campo(56, "6");
  primo.Campo(169, "80").Campo(251, "7").Campo(252, "-1").Campo(267, "9");
  secondo.Campo(38, "0.125").Campo(24, "10.126").Campo(292, "500");  // 292 is not read
  const auto g = CampiG(SezioneFiscale, {primo, secondo});
  EXPECT_TRUE(Valori(g[0], "DB001001").empty());
  EXPECT_TRUE(Valori(g[0], "DB001021").empty());
  EXPECT_TRUE(Valori(g[0], "DB001512").empty());
  EXPECT_EQ(Valori(g[0], "DB001026"), Testi{Dx("100,00")});
  EXPECT_EQ(Valori(g[1], "DB001026"), Testi{Dx("0000000000000,12")});
  EXPECT_EQ(Valori(g[1], "DB001003"), Testi{Dx("10,13")});
  EXPECT_EQ(g[1].size(), 2u);

  EXPECT_DOUBLE_EQ(totale[kRedditi], 50 + 10.13);
  EXPECT_EQ(totale[kRitenuteIrpef], -10);
  EXPECT_EQ(totale[kAddizionaleRegionale], 1);
  EXPECT_EQ(totale[kAddizionaleRegionaleAP], 2);
  EXPECT_EQ(totale[kAddizionaleComunaleAP], 3);
  EXPECT_DOUBLE_EQ(totale[kAddizionaleComunale], 120.12);
  EXPECT_DOUBLE_EQ(totale[kAccontoComunale], 100.12);
  EXPECT_EQ(totale[kAccontoComunale2018], 4);
  EXPECT_EQ(totale[kTrattenuteAssistenzaFiscale], 5);
  EXPECT_EQ(totale[kRimborsiAssistenzaFiscale], 6);
  EXPECT_EQ(totale[kBonus], 80);
  EXPECT_EQ(totale[kTassazioneSeparata], 6);
  EXPECT_EQ(totale[kRedditiDaTerzi], 9);
}

TEST_F(Sezioni, DeductionsAreCappedByTheTaxDue) {
  DipendenteProva oltre, sotto;
  oltre.Campo(150, "100.00").Campo(151, "100").Campo(156, "50").Campo(152, "50").Campo(157, "25").Campo(158, "25");
  sotto.Campo(150, "100").Campo(151, "30").Campo(156, "50");
  const auto g = CampiG(SezioneFiscale, {oltre, sotto});
  EXPECT_EQ(g[0], (Testi{"DB001361" + Dx("100,00"), "DB001362" + Dx("100,00"), "DB001363" + Dx("50,00"),
                         "DB001367" + Dx("50,00"), "DB001368" + Dx("25,00"), "DB001369" + Dx("25,00"),
                         "DB001373" + Dx("100,00")}));
  EXPECT_EQ(Valori(g[1], "DB001373"), Testi{Dx("80,00")});
  EXPECT_EQ(totale[kDetrazioni], 180);
}

TEST_F(Sezioni, DependantsRowsAndTheirRelationshipLetter) {
  DipendenteProva primo;
  primo.Campo(295, "X").Campo(296, "RSSMRA80A01H501U");  // row 1, no count
  primo.Campo(300, "123456789012").Campo(301, "12").Campo(302, "3").Campo(303, "C").Campo(304, "X");
  primo.Campo(305, "X").Campo(307, "X").Campo(308, "01234567897").Campo(309, "1").Campo(311, "50");
  primo.Campo(314, "X").Campo(317, "0").Campo(319, "10");  // no count
  primo.Campo(322, "X").Campo(325, "2").Campo(327, "0");
  primo.Campo(333, " 1").Campo(335, "100");  // no letter
  primo.Campo(361, "25.5");
  DipendenteProva secondo;
  secondo.Campo(298, "X").Campo(299, "X").Campo(301, "1");
  secondo.Campo(309, "1").Campo(310, "0");  // no letter
  secondo.Campo(345, "X").Campo(346, "X").Campo(349, "5").Campo(351, "C50");
  const auto g = CampiG(SezioneFamiliari, {primo, secondo});

  EXPECT_EQ(g[0], (Testi{"DB601001" + Dx("1"), "DB601004" + Sx("RSSMRA80A01H501U"), "DB601005" + Dx("00"),
                         "DB602001" + Sx("D"), "DB602005" + Dx("12"), "DB602006" + Dx("03"), "DB602B07" + Sx("C"),
                         "DB602008" + Dx("1"), "DB603001" + Sx("D"), "DB603004" + Sx("01234567897"),
                         "DB603005" + Dx("01"), "DB603A07" + Dx("50,00"), "DB605001" + Sx("A"), "DB605005" + Dx("02"),
                         "DB606005" + Dx("01"), "DB606A07" + Dx("100,00"), "DB610001" + Dx("25,50")}));
  // The letter of an earlier row or employee never stands in for a row without one.
  EXPECT_EQ(g[1], (Testi{"DB602001" + Sx("F"), "DB602005" + Dx("01"), "DB603005" + Dx("01"), "DB608001" + Sx("A"),
                         "DB608005" + Dx("05"), "DB608B07" + Sx("C")}));
}

TEST_F(Sezioni, SocialSecurityBlocks) {
  DipendenteProva primo, secondo, terzo;
  primo.Campo(362, "123456789012").Campo(363, "X").Campo(365, "1000").Campo(366, "1").Campo(367, "2");
  primo.Campo(369, "X").Campo(380, "X");
  primo.Campo(381, "500").Campo(382, "3");
  primo.Campo(440, "A").Campo(441, "12345678901").Campo(442, "5").Campo(443, "12").Campo(445, "7");
  primo.Campo(446, "2017").Campo(447, "X");
  secondo.Campo(365, "700").Campo(369, "X");  // no code in 362: block 1 left out
  secondo.Campo(381, "300").Campo(385, "X").Campo(386, "X").Campo2(101, "AB").Campo2(102, "XY");
  secondo.Campo(442, "5").Campo(446, "1");  // no code in 441: block 3 left out
  terzo.Campo(362, "1").Campo(364, "X").Campo(365, "-40").Campo(368, "X").Campo(370, "X");
  terzo.Campo(441, "1").Campo(444, "1").Campo(446, "0");
  // Codes of digits written as stored, blanks after: the agency reads no number there.
  erroriAttesi[2] = "il campo \"DC001001\" deve avere 6 spazi e poi 10 caratteri: solo cifre";
  const auto g = CampiG(SezionePrevidenziale, {primo, secondo, terzo});

  EXPECT_EQ(g[0], (Testi{"DC001001" + Dx("1234567890"), "DC001002" + Dx("1"), "DC001004" + Dx("1000,00"),
                         "DC001005" + Dx("1,00"), "DC001006" + Dx("2,00"), "DC001008" + Dx("100000000001"),
                         "DC001043" + Dx("500,00"), "DC001044" + Dx("3,00"), "DC001048" + Dx("000000000000"),
                         "DC001049" + Sx(""), "DC001050" + Sx(""), "DC001071" + Sx("A"), "DC001072" + Dx("12345678901"),
                         "DC001073" + Dx("0512"), "DC001075" + Sx("2017"), "DC001076" + Dx("1")}));
  EXPECT_EQ(g[1], (Testi{"DC001043" + Dx("300,00"), "DC001047" + Dx("1")}));
  EXPECT_EQ(g[2], (Testi{"DC001001" + Dx("1         "), "DC001003" + Dx("1"), "DC001007" + Dx("1"),
                         "DC001072" + Dx("1          "), "DC001074" + Dx("0100")}));
  EXPECT_EQ(totale[kImponibileInps], 1000 - 40);
  EXPECT_EQ(totale[kCompensiCollaboratori], 800);
}

// Installs a global locale whose decimal separator is a comma, and puts the old one back.
class LocaleVirgola {
 public:
  LocaleVirgola() : vecchio_(std::locale::global(std::locale(std::locale(), new Virgola))) {
    for (const char* nome : {"it_IT.UTF-8", "it_IT.utf8", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
      if (std::setlocale(LC_NUMERIC, nome)) break;
    }
  }
  ~LocaleVirgola() {
    std::locale::global(vecchio_);
    std::setlocale(LC_NUMERIC, "C");
  }

 private:
  struct Virgola : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
  };
  std::locale vecchio_;
};

TEST_F(Sezioni, SeverancePaidInTheYearIsAtMostTheTotalLessAdvances) {
  struct Caso {
    const char* totale;
    const char* pagato;
    const char* anticipato;
    Testi atteso;
  };
  // clang-format off
  const Caso casi[] = {
      {"100", "80", "30", {Dx("70,00")}},
      {"100", "80", "120", {}},                       // the difference is negative
      {"100", "60", "30", {Dx("60,00")}},             // within the total: as stored
      {"100.10", "80", "29.95", {Dx("70,15")}},
      {"150000", "120000", "50000", {Dx("100000,00")}},
      {"3000000", "2500000", "1000000", {Dx("2000000,00")}},
  };
  // clang-format on
  LocaleVirgola virgola;
  std::vector<DipendenteProva> d;
  for (const Caso& c : casi) {
    d.emplace_back().Campo2(17, c.totale).Campo2(18, c.pagato).Campo2(22, c.anticipato);
  }
  d.emplace_back().Campo2(18, "80");  // no total: block B left out
  const auto g = CampiG(SezioneTFR, d);
  for (size_t i = 0; i < std::size(casi); ++i) {
    EXPECT_EQ(Valori(g[i], "DF001862"), casi[i].atteso) << casi[i].totale << " " << casi[i].pagato;
  }
  EXPECT_TRUE(g.back().empty());
}

TEST_F(Sezioni, SeverancePayBlocks) {
  DipendenteProva senzaBlocchi, conBlocchi;
  senzaBlocchi.Campo(448, "-7").Campo(449, "1").Campo(451, "2").Campo(453, "3").Campo(461, "31122017");
  senzaBlocchi.Campo(482, "5").Campo(490, "A").Campo2(7, "X").Campo2(71, "9");
  conBlocchi.Campo(488, "1000").Campo(482, "5").Campo(483, "5").Campo(494, "6").Campo(495, "7");
  conBlocchi.Campo(484, "8").Campo(485, "9").Campo(490, "D").Campo2(3, "B");
  conBlocchi.Campo2(17, "10").Campo2(18, "5").Campo2(10, "5").Campo2(14, "5").Campo2(55, "A ");
  conBlocchi.Campo2(57, "C ").Campo2(71, "9");
  const auto g = CampiG(SezioneTFR, {senzaBlocchi, conBlocchi});

  EXPECT_EQ(g[0], (Testi{"DF001802" + Dx("1,00"), "DF001804" + Dx("2,00"), "DF001806" + Dx("3,00"),
                         "DF001814" + Dx("31122017")}));
  EXPECT_EQ(g[1], (Testi{"DF001A35" + Dx("5"), "DF001B35" + Dx("05"), "DF001A36" + Dx("6"), "DF001B36" + Dx("07"),
                         "DF001A37" + Dx("8"), "DF001B37" + Dx("09"), "DF001839" + Dx("1000,00"), "DF001850" + Sx("B"),
                         "DF001A57" + Dx("5"), "DF001A59" + Dx("05"), "DF001861" + Dx("10,00"), "DF001862" + Dx("5,00"),
                         "DF001B96" + Sx("A"), "DF001911" + Dx("9,00")}));
  EXPECT_EQ(totale[kTfrAnno], -7);
  EXPECT_EQ(totale[kTfrAnniPrecedenti], 1);
  EXPECT_EQ(totale[kRitenuteTfrAnno], 2);
  EXPECT_EQ(totale[kRitenuteTfrAnniPrecedenti], 3);
  EXPECT_EQ(totale[kRivalutazioniTfr], 9);  // only the employee whose block B runs
}

TEST_F(Sezioni, DNWritesTwoCharacterCodesOnly) {
  const struct {
    int campo;
    const char* valore;
    Testi atteso;
  } casi[] = {
      {75, "AB", {"DN001001" + Sx("AB")}},
      {76, "A ", {}},
      {77, " B", {}},
      {93, "ZZ", {"DN001019" + Sx("ZZ")}},
  };
  for (const auto& c : casi) {
    EXPECT_EQ(CampiG(SezioneDN, DipendenteProva().Campo2(c.campo, c.valore)), c.atteso) << c.campo;
  }
}

}  // namespace
}  // namespace quibold
