#include "app/comando_mostra.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/archivio_prova.h"
#include "support/cur18_prova.h"
#include "support/programma_prova.h"

namespace quibold {
namespace {

using prova::EseguiComando;

class ComandoMostraTest : public ::testing::Test {
 protected:
  void SetUp() override {
    radice.Scrivi("c/out/buono", prova::Unisci(prova::Cur18Prova()));
    auto records = prova::Cur18Prova();
    records[4][0] = 'X';  // the kind of the first G record lost
    radice.Scrivi("c/out/guasto", prova::Unisci(records));
    radice.Scrivi("c/out/foglio", "Cognome;Nome\r\nROSSI;MARIO\r\n");
  }
  prova::EsitoProgramma Mostra(const std::vector<std::string>& altri) {
    std::vector<std::string> a = {"--radice", radice.percorso().string(), "mostra"};
    a.insert(a.end(), altri.begin(), altri.end());
    return EseguiComando(a, {.sistema = &memoria});
  }
  prova::SistemaInMemoria memoria;
  prova::RadiceTemporanea radice{memoria};
};

TEST_F(ComandoMostraTest, OneRowPerEmployeeThenTheSumsAndTheCheck) {
  const struct {
    const char* file;
    int stato;
    std::vector<std::string> righe;  // beginnings of the lines of the output, in order
    const char* errori;
  } casi[] = {
      {"C:\\out\\buono",
       0,
       {"File C:\\out\\buono", "Fornitura CUR18, ordinaria, fornitore RSSMRA85T10A562S",
        "Sostituto d'imposta 00743110157",
        "Progressivo  Codice fiscale    Cognome              Nome  Numero Dipendenti",
        "00001        RSSMRA85T10A562S  ROSSI BIANCHI VERDI  ", "                               Totale",
        "File corretto: 7 record, 0 errori, 0 avvisi"},
       ""},
      // A damaged record still shows its employee, with the errors of their records.
      {"C:\\out\\guasto",
       1,
       {"File C:\\out\\guasto", "Fornitura", "Sostituto", "Progressivo", "00001", "   ",
        "File con errori: 7 record, 2 errori, 0 avvisi (fuori dai record dei dipendenti: 1 errore, 0 avvisi)"},
       ""},
      {"C:\\out\\foglio",
       1,
       {},
       "quibold: Il file C:\\out\\foglio non e' un file telematico CUR18:\nrecord 1, posizione 1: errore: record C "
       "fuori posto: qui si attende il record A\nFile con errori: 1 record, 3 errori, 0 avvisi\n"},
      {"C:\\out\\manca", 2, {}, "quibold: impossibile leggere C:\\out\\manca\n"},
      {"C:\\out", 2, {}, "quibold: impossibile leggere C:\\out\n"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.file);
    const auto e = Mostra({c.file});
    EXPECT_EQ(e.stato, c.stato);
    EXPECT_EQ(e.errori, c.errori);
    std::vector<std::string> righe;
    for (size_t i = 0; i < e.uscita.size();) {
      const size_t fine = e.uscita.find('\n', i);
      righe.push_back(e.uscita.substr(i, fine - i));
      i = fine + 1;
    }
    ASSERT_EQ(righe.size(), c.righe.size()) << e.uscita;
    for (size_t i = 0; i < righe.size(); ++i) EXPECT_TRUE(righe[i].starts_with(c.righe[i])) << righe[i];
  }
  // The employee's error: the record of unknown kind; record Z's count of G records is the file's.
  EXPECT_NE(Mostra({"C:\\out\\guasto"}).uscita.find("  1       0\n"), std::string::npos);
}

TEST_F(ComandoMostraTest, CsvAndJsonHoldTheSameTable) {
  const auto csv = Mostra({"C:\\out\\buono", "--csv"});
  EXPECT_EQ(csv.stato, 0);
  EXPECT_TRUE(
      csv.uscita.starts_with("\xEF\xBB\xBF"
                             "File C:\\out\\buono\r\n"))
      << csv.uscita;
  EXPECT_NE(csv.uscita.find("\r\n00001;RSSMRA85T10A562S;ROSSI BIANCHI VERDI;;1;4938,00;1234,50;"), std::string::npos);
  EXPECT_EQ(csv.errori, "File corretto: 7 record, 0 errori, 0 avvisi\n");

  const auto json = Mostra({"C:\\out\\guasto", "--json"});
  EXPECT_EQ(json.stato, 1);
  const auto j = nlohmann::json::parse(json.uscita);
  ASSERT_EQ(j["dipendenti"].size(), 1u);
  const auto& d = j["dipendenti"][0];
  EXPECT_EQ(d["cognome"], "ROSSI BIANCHI VERDI");
  EXPECT_EQ(d["record"], 4);
  EXPECT_EQ(d["errori"], 1);
  EXPECT_EQ(d["totali"]["numero_dipendenti"], 1);
  EXPECT_EQ(d["totali"]["di_cui_acconto"], 0.0);  // the G record of the amounts lost its kind
  EXPECT_EQ(j["totale"]["errori"], 1);
  EXPECT_EQ(j["fuori_dai_dipendenti"]["errori"], 1);
  EXPECT_EQ(j["errori"], 2);
  EXPECT_EQ(j["protocollo"], nullptr);
  EXPECT_EQ(Mostra({"C:\\out\\buono", "--csv", "--json"}).stato, 2);
}

// `crea --report` reads the file it wrote back, as `mostra` does, and says where its sums differ
// from the report's totals, employee by employee.
TEST(ComandoMostra, CreaReportSaysWhereTheFileDiffersFromTheReport) {
  prova::SistemaInMemoria memoria;
  prova::RadiceTemporanea radice(memoria);
  prova::ScriviArchivio(radice, 1, prova::TestataProva().testo(), prova::Testata2Prova(1, 1),
                        {prova::DipendenteProva().Campo(22, "100").Campo(23, "-30").testo()});
  radice.CreaCartella("c/telematici");
  const auto e = EseguiComando(prova::ArgomentiCrea(radice.percorso(), {"--report"}), {.sistema = &memoria});
  EXPECT_EQ(e.stato, 0);
  const std::string virgola(1, SeparatoreDecimale());
  EXPECT_TRUE(e.errori.ends_with(
      "\nreport e file: \"Totale Redditi\": il report conta 70" + virgola + "00, il file 100" + virgola +
      "00 per il progressivo 00001 (dipendente ROSSI MARIO, record 1 dell'archivio: "
      "DB001002 vale -30" +
      virgola + "00: un importo sotto zero non si scrive nel file, ma il report lo somma)\n"))
      << e.errori;
}

}  // namespace
}  // namespace quibold
