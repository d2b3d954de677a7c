#include "verifica/prospetto.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/cur18_prova.h"

namespace quibold {
namespace {

using Records = std::vector<std::string>;

Prospetto Leggi(const Records& records) {
  Prospetto p;
  for (const std::string& r : records) p.Record(r);
  p.Fine();
  return p;
}

// The hand-made file: one employee, a surname continued in a second field, a G record of amounts
// of 1234,50 under DB001 codes 1-5, 21-29, 61-64... and one of a DN code.
TEST(Prospetto, ReadsTheEmployeeTheSupplyAndTheSumsOfTheReportsLines) {
  const Prospetto p = Leggi(prova::Cur18Prova());
  ASSERT_TRUE(p.Cur18());
  ASSERT_EQ(p.Dipendenti().size(), 1u);
  const DipendenteNelFile& d = p.Dipendenti()[0];
  EXPECT_EQ(d.progressivo, "00001");
  EXPECT_EQ(d.codiceFiscale, prova::kCfPersona);
  EXPECT_EQ(d.cognome, "ROSSI BIANCHI VERDI");
  EXPECT_EQ(d.primoRecord, 4);
  EXPECT_EQ(d.ultimoRecord, 6);
  EXPECT_EQ(d.somme[kDipendenti], 1);
  EXPECT_EQ(d.somme[kRedditi], 4 * 123450);  // DB001001-004; DB001005 adds to no line
  EXPECT_EQ(d.somme[kAddizionaleComunale], 2 * 123450);
  EXPECT_EQ(d.somme[kAccontoComunale], 123450);  // DB001026 adds to both lines
  EXPECT_EQ(d.somme[kRimborsiAssistenzaFiscale], 8 * 123450);
  EXPECT_EQ(d.somme[kDetrazioni], 123450);
  EXPECT_EQ(d.somme[kTfrAnno], 0);
  EXPECT_EQ(p.Totale(), d.somme);
  EXPECT_EQ(p.Testata().cfSostituto, "00743110157");
  EXPECT_EQ(p.Testata().operazione, ' ');
  EXPECT_EQ(d.errori + d.avvisi + p.ErroriDelFile() + p.AvvisiDelFile(), 0);
}

// A damaged file still shows its employees, each with the findings of its own records.
TEST(Prospetto, FindingsCountForTheEmployeeWhoseRecordsHoldThem) {
  const struct {
    const char* nome;
    std::function<void(Records&)> guasta;
    std::vector<long> errori;  // of each employee
    long erroriDelFile;
    long long redditi;  // of the first employee
  } casi[] = {
      {"an amount that is no amount",
       [](Records& r) { r[4].replace(89 + 8, 16, "        12A4,50 "); },
       {1},
       0,
       3 * 123450},
      {"a G record whose kind is lost", [](Records& r) { r[5][0] = 'X'; }, {1}, 1, 4 * 123450},
      {"a control character after the last field", [](Records& r) { r[5][200] = '\x01'; }, {2}, 0, 4 * 123450},
      {"record D missing: the G records stand for it", [](Records& r) { r.erase(r.begin() + 3); }, {1}, 1, 4 * 123450},
      {"record Z missing", [](Records& r) { r.pop_back(); }, {0}, 1, 4 * 123450},
      {"a second employee's G without its D",
       [](Records& r) {
         r[5].replace(41, 5, "00002");
         r[5].replace(25, 16, "VRDGPP75C10F205G");
       },
       {0, 2},
       0,
       4 * 123450},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    Records r = prova::Cur18Prova();
    c.guasta(r);
    const Prospetto p = Leggi(r);
    std::vector<long> errori;
    size_t elencati = RilieviDelFile(p).size();
    for (const DipendenteNelFile& d : p.Dipendenti()) {
      errori.push_back(d.errori);
      elencati += RilieviDi(p, d).size();
    }
    EXPECT_EQ(errori, c.errori);
    EXPECT_EQ(p.ErroriDelFile(), c.erroriDelFile);
    EXPECT_EQ(p.Dipendenti()[0].somme[kRedditi], c.redditi);
    EXPECT_EQ(elencati, p.verifica().Rilievi().size());  // each listed finding is an employee's or the file's
  }
}

TEST(Prospetto, AFileThatDoesNotBeginWithARecordAOfTheSupplyIsNoCur18File) {
  Records r = prova::Cur18Prova();
  r[0].replace(15, 5, "CUR17");
  EXPECT_FALSE(Leggi(r).Cur18());
  EXPECT_FALSE(Leggi({}).Cur18());
  EXPECT_FALSE(Leggi({"not a telematic file\r\n"}).Cur18());
}

}  // namespace
}  // namespace quibold
