#include "app/comando_tutte.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "samples/archivio_esempio.h"
#include "support/archivio_prova.h"
#include "support/programma_prova.h"

namespace quibold {
namespace {

namespace fs = std::filesystem;
using prova::EseguiComando;

// A bureau's archive of 12 certifications (3 refused, 7 and 10 stopping, 11 failing its check,
// 5 with a warning), and the folders of the batch's files and of the one-at-a-time runs; in memory.
class ComandoTutteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    esempio::ScriviArchivioStudio(radice.Scrittura(), 12, 6);
    radice.CreaCartella(fs::path("c") / "tutte");
    radice.CreaCartella(fs::path("c") / "uno");
  }
  prova::EsitoProgramma Esegui(const std::vector<std::string>& argomenti) {
    return EseguiComando(argomenti, {.sistema = &memoria});
  }
  std::vector<std::string> Tutte(std::vector<std::string> altri = {}) const {
    std::vector<std::string> a = {"crea",       "--tutte",    "--radice", radice.percorso().string(),
                                  "--cartella", "C:\\tutte\\"};
    a.insert(a.end(), altri.begin(), altri.end());
    return a;
  }
  prova::SistemaInMemoria memoria;
  prova::RadiceTemporanea radice{memoria};
};

TEST_F(ComandoTutteTest, EachCertificationIsWhatCreaMakesOfItAlone) {
  const auto batch = Esegui(Tutte({"--json"}));
  EXPECT_EQ(batch.stato, 1) << batch.errori;
  const auto riepilogo = nlohmann::json::parse(batch.uscita);
  ASSERT_EQ(riepilogo["certificazioni"].size(), 12u);
  for (const auto& cu : riepilogo["certificazioni"]) {
    const std::string codice = std::to_string(cu["codice"].get<int>());
    const auto solo = Esegui(
        {"crea", "--radice", radice.percorso().string(), "--codice", codice, "--tipo", "N", "--cartella", "C:\\uno\\"});
    const bool creato = codice != "3" && codice != "7" && codice != "10" && codice != "11";
    EXPECT_EQ(solo.stato, creato ? 0 : 1) << codice;
    EXPECT_EQ(cu["esito"], creato ? "creato" : "non creato") << codice;
    // The same messages, and the same bytes (a stop leaves no file in either).
    std::string righe;
    for (const auto& riga : cu["messaggi"]) righe += riga.get<std::string>() + "\n";
    EXPECT_EQ(righe, solo.errori) << codice;
    const fs::path nome = "TCU" + codice + "18";
    ASSERT_EQ(radice.Esiste(fs::path("c") / "uno" / nome), radice.Esiste(fs::path("c") / "tutte" / nome));
    const auto records = prova::Records(radice.Leggi(fs::path("c") / "uno" / nome));
    EXPECT_TRUE(records == prova::Records(radice.Leggi(fs::path("c") / "tutte" / nome))) << codice;
    if (!creato) continue;
    EXPECT_EQ(cu["record"], records.size()) << codice;
    EXPECT_EQ(cu["dipendenti"], std::count_if(records.begin(), records.end(), [](auto& r) { return r[0] == 'D'; }));
    EXPECT_EQ(cu["avvisi"], codice == "5" ? 1 : 0) << codice;
  }
  EXPECT_EQ(riepilogo["totale"]["create"], 8);

  // The lines of the terminal: what stopped a certification, a warning under its file.
  const auto a = Esegui(Tutte());
  EXPECT_NE(a.errori.find("\n[3/12] 3 ESPOSITO SAS: non creato: La CU deve essere per LD, quella selezionata e' per "
                          "LA \n    Memorizzazione interrotta: nessun file telematico scritto\n[4/12] 4 ROMANO SRLS: "),
            std::string::npos)
      << a.errori;
  EXPECT_NE(a.errori.find(", creato (1 avviso)\n    record 4, posizione 26: avviso: codice fiscale"),
            std::string::npos);
  EXPECT_NE(a.errori.find("\n[11/12] 11 ROMANO SPA: non creato: Il file telematico non ha superato il controllo:\n"
                          "    record 4, posizione 410: errore:"),
            std::string::npos);
  EXPECT_NE(a.uscita.find("\ntotale  8 create su 12 "), std::string::npos) << a.uscita;
}

TEST_F(ComandoTutteTest, OutputIsTheSameWhateverTheNumberOfThreads) {
  auto esegui = [&](unsigned fili) {
    OpzioniTutte o;
    o.tutte = true;
    o.cartella = "C:\\tutte\\";
    o.fili = fili;
    std::ostringstream uscita, errori;
    std::istringstream ingresso;
    Terminale t{uscita, errori, ingresso, false};
    return std::to_string(EseguiTutte(o, radice.percorso(), t, memoria)) + uscita.str() + errori.str();
  };
  EXPECT_EQ(esegui(1), esegui(5));
}

TEST(ComandoTutte, WrongCommandLinesAndAnEmptyArchive) {
  prova::SistemaInMemoria memoria;
  prova::RadiceTemporanea radice(memoria);
  const std::string r = radice.percorso().string();
  const struct {
    std::vector<std::string> argomenti;
    int stato;
    const char* errore;
  } casi[] = {
      {{"crea", "--radice", r}, 2, "manca --codice, che e' obbligatorio"},
      {{"crea", "--radice", r, "--tutte", "--codice", "1"}, 2, "non si usano insieme"},
      {{"crea", "--radice", r, "--tutte", "--report"}, 2, "non si usano insieme"},
      {{"crea", "--radice", r, "--codice", "1", "--json"}, 2, "--json richiede --tutte"},
      {{"crea", "--radice", r, "--tutte"}, 1, "nessuna certificazione nell'archivio"},
  };
  for (const auto& c : casi) {
    const auto e = EseguiComando(c.argomenti, {.sistema = &memoria});
    EXPECT_EQ(e.stato, c.stato) << c.argomenti.back();
    EXPECT_NE(e.errori.find(c.errore), std::string::npos) << e.errori;
  }
}

}  // namespace
}  // namespace quibold
