#include "telematic/scrittore.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>

#include "recfile/numeri.h"
#include "support/archivio_prova.h"
#include "support/uscita_prova.h"

namespace quibold {
namespace {

// A writer on an output in memory; each test builds records and reads back the bytes.
class ScrittoreTest : public ::testing::Test {
 protected:
  const std::vector<std::string>& Scritti() const { return uscita.records; }
  // The fields of a one-record G section built by `corpo`.
  template <typename F>
  std::vector<std::string> CampiG(F corpo) {
    s.IniziaRecordG(Testa('G'));
    corpo();
    s.ChiudiRecord();
    return Scritti().empty() ? std::vector<std::string>{} : prova::Campi(Scritti().back());
  }
  static std::string Testa(char tipo) {
    std::string testa(89, '.');
    testa[0] = tipo;
    return testa;
  }

  prova::UscitaInMemoria uscita;
  Totali totale{};
  Scrittore s{uscita, totale};
};

TEST_F(ScrittoreTest, EveryRecordIs1900BytesEndingInACrLf) {
  s.IniziaRecord("A");
  s.ChiudiRecord();
  s.IniziaRecord(std::string(1950, 'x'));  // longer than the data area: cut at 1897
  s.ChiudiRecord();
  auto r = Scritti();
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0], "A" + std::string(1896, ' ') + "A\r\n");
  EXPECT_EQ(r[1], std::string(1897, 'x') + "A\r\n");
  EXPECT_EQ(s.Records(), 2);
}

TEST_F(ScrittoreTest, TextFieldsAtTheirEdges) {
  auto c = CampiG([&] {
    s.Testo("AA000001", "1234567890123456");  // exactly 16: no blank added
    s.Testo("AA000002", "     ");             // always, even blank
    s.TestoSePresente("AA000003", "   ");     // not written
    s.TestoSePresente("AA000004", " X ");
    s.TestoSePositivo("AA000005", "000");            // reads 0: not written
    s.TestoSePositivo("AA000006", "0012");           // as stored
    s.TestoDiviso("AA000007", "12345678901234567");  // 17: a continuation of one character
    s.TestoDiviso("AA000008", "ROSSI");
    s.TestoDiviso("AA000009", "ABCDEFGHIJKLMNOPQRST    ");  // 20 in a 24-character field
    // Leading blanks: the continuation goes on from the 17th character as stored.
    s.TestoDiviso("AA000010", "  ABCDEFGHIJKLMNOPQR    ");
    s.TestoDiviso("AA000011", "          ABCDEFGHIJ    ");
  });
  std::vector<std::string> attesi = {"AA0000011234567890123456",
                                     "AA000002     ",
                                     "AA000004 X ",
                                     "AA0000060012",
                                     "AA0000071234567890123456",
                                     "AA000007+7",
                                     "AA000008ROSSI",
                                     "AA000009ABCDEFGHIJKLMNOP",
                                     "AA000009+QRST",
                                     "AA000010  ABCDEFGHIJKLMN",
                                     "AA000010+OPQR",
                                     "AA000011          ABCDEF",
                                     "AA000011+GHIJ"};
  for (auto& a : attesi) a.resize(24, ' ');
  EXPECT_EQ(c, attesi);
}

TEST_F(ScrittoreTest, SplitText3TakesUpToThreeFields) {
  auto c = CampiG([&] {
    s.TestoDiviso3("BB000001", "  ABCDEFGHIJKLMNOPQRSTUVWXYZ012345678   ");  // 35 after trimming
    s.TestoDiviso3("BB000002", "1234567890123456789012345678901");           // 31: two fields
    s.TestoDiviso3("BB000003", "   breve   ");
    s.TestoDiviso3("BB000004", "      ");
  });
  std::vector<std::string> attesi = {"BB000001ABCDEFGHIJKLMNOP", "BB000001+QRSTUVWXYZ01234", "BB000001+5678",
                                     "BB0000021234567890123456", "BB000002+789012345678901", "BB000003breve"};
  for (auto& a : attesi) a.resize(24, ' ');
  EXPECT_EQ(c, attesi);
}

TEST_F(ScrittoreTest, AmountsWithCentsAndInWholeUnits) {
  auto c = CampiG([&] {
    EXPECT_EQ(s.ImportoDa("IM000001", "0.40"), 0.4);
    EXPECT_EQ(s.ImportoDa("IM000002", "12"), 12);
    EXPECT_EQ(s.ImportoDa("IM000003", "-5"), -5);  // returned for the totals, not written
    EXPECT_EQ(s.ImportoDa("IM000004", "0"), 0);
    EXPECT_EQ(s.ImportoDa("IM000005", "1234.5"), 1234.5);
    EXPECT_EQ(s.ImportoDa("IM000006", "10.125"), 10.12);
    EXPECT_EQ(s.ImportoDa("IM000007", "0.29"), 0.29);
    s.ImportoDa("IM000008", "9999999999999.99");
    EXPECT_EQ(s.ImportoInteroDa("IN000001", "0.6"), 0.6);
    s.ImportoInteroDa("IN000002", "365");
    s.ImportoInteroDa("IN000003", "-1");
    s.ImportoInteroDa("IN000004", "12.99");
  });
  std::vector<std::string> attesi = {
      "IM0000010000000000000,40", "IM000002           12,00", "IM000005         1234,50",
      "IM000006           10,12", "IM0000070000000000000,29", "IM0000089999999999999,99",
      "IN000001                ", "IN000002             365", "IN000004              12"};
  EXPECT_EQ(c, attesi);
}

// Amounts in whole cents take shorter ways (with or without the value for the totals): the same
// field and the same value as the reading, rounding and formatting of the general way.
TEST_F(ScrittoreTest, AmountsInCentsAgreeWithTheGeneralWay) {
  std::mt19937 caso(2018);
  const std::string_view caratteri = "0123456789 .-+0123456789";
  s.IniziaRecordG(Testa('G'));
  for (int i = 0; i < 20000; ++i) {
    std::string t(caso() % 13, ' ');
    for (char& c : t) c = caratteri[caso() % caratteri.size()];
    const double breve = s.ImportoDa("BREVE001", t);
    s.ImportoSenzaTotali("SOLOCAMP", t);
    s.Importo = ValoreNumerico(t);
    s.CampoImporto("GENERALE");
    ASSERT_EQ(std::bit_cast<uint64_t>(breve), std::bit_cast<uint64_t>(s.Importo)) << t;
  }
  s.ChiudiRecord();
  std::vector<std::string_view> campi;
  for (const auto& r : Scritti()) {
    for (const auto c : prova::VisteCampi(r)) campi.push_back(c);
  }
  ASSERT_EQ(campi.size() % 3, 0u);
  for (size_t i = 0; i < campi.size(); i += 3) {
    EXPECT_EQ(campi[i].substr(0, 8), "BREVE001");
    EXPECT_EQ(campi[i + 1].substr(0, 8), "SOLOCAMP");
    EXPECT_EQ(campi[i].substr(8), campi[i + 2].substr(8));
    EXPECT_EQ(campi[i + 1].substr(8), campi[i + 2].substr(8));
  }
}

TEST_F(ScrittoreTest, AnAmountThatDoesNotFitStopsTheRun) {
  s.IniziaRecordG(Testa('G'));
  try {
    s.ImportoDa("DB001001", "10000000000000");
    FAIL() << "no stop";
  } catch (const ArrestoScrittura& a) {
    EXPECT_EQ(a.messaggio, "Importo troppo grande nel campo DB001001 ");
  }
  EXPECT_THROW(s.ImportoInteroDa("DB001341", "10000000000000000"), ArrestoScrittura);
  EXPECT_NO_THROW(s.ImportoInteroDa("DB001341", "9000000000000000"));
  EXPECT_NO_THROW(s.ImportoDa("DB001001", "-99999999999999999"));  // never written
}

TEST_F(ScrittoreTest, FiscalCodesRightAlignedFlagsAndTwoDigits) {
  std::string cf = "  01234567897  ";
  EXPECT_TRUE(Scrittore::NormalizzaCF(cf));
  EXPECT_EQ(cf, "01234567897     ");
  std::string dodici = "123456789012";
  EXPECT_FALSE(Scrittore::NormalizzaCF(dodici));
  auto c = CampiG([&] {
    s.CodiceFiscale("CF000001", "RSSMRA80A01H501U");
    s.CodiceFiscale("CF000002", "01234567897     ");
    s.CodiceFiscale("CF000003", "123456789012    ");  // 12: not written
    s.CodiceFiscale("CF000004", "123456789012345 ");  // 15: not written
    s.AllineatoDestra("RA000001", "01032017");
    s.AllineatoDestra("RA000002", "5");
    s.Flag("FL000001");
    s.DueCifre("DC000001", "  ");
    s.DueCifre("DC000002", "5 ");
    s.DueCifre("DC000003", "12");
  });
  std::vector<std::string> attesi = {"CF000001RSSMRA80A01H501U", "CF00000201234567897     ", "RA000001        01032017",
                                     "RA000002               5", "FL000001               1", "DC000001              00",
                                     "DC000002              05", "DC000003              12"};
  EXPECT_EQ(c, attesi);
}

// A G record holds 75 fields: the 76th opens a continuation record with the same head, and
// exactly 75 leave one with the head alone.
TEST_F(ScrittoreTest, The76thFieldOpensAContinuationRecord) {
  for (int campi : {76, 75}) {
    uscita.records.clear();
    Scrittore g(uscita, totale);
    g.IniziaRecordG(Testa('G'));
    for (int i = 1; i <= campi; ++i) g.Flag("FL" + std::string(6 - std::to_string(i).size(), '0') + std::to_string(i));
    g.ChiudiRecord();
    const auto& r = Scritti();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].substr(0, 89), Testa('G'));
    EXPECT_EQ(r[0].substr(89 + 74 * 24, 24), "FL000075               1");
    EXPECT_EQ(r[0].substr(1889, 8), std::string(8, ' '));
    const std::string seguito = campi == 76 ? "FL000076               1" : "";
    EXPECT_EQ(r[1], Testa('G') + seguito + std::string(1808 - seguito.size(), ' ') + "A\r\n");
    EXPECT_EQ(g.Conteggio('G'), 2);
  }
}

TEST_F(ScrittoreTest, AFailedWriteStopsTheRun) {
  uscita.guastaDa = 2;
  s.IniziaRecord("A");
  s.ChiudiRecord();
  s.IniziaRecord("B");
  EXPECT_THROW(s.ChiudiRecord(), ArrestoScrittura);
  EXPECT_EQ(Scritti().size(), 1u);
}

}  // namespace
}  // namespace quibold
