#include "app/comando_verifica.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/archivio_prova.h"
#include "support/cur18_prova.h"
#include "support/programma_prova.h"

namespace quibold {
namespace {

using Esito = prova::EsitoProgramma;
using prova::EseguiComando;

TEST(ComandoVerifica, ExitStatusFindingsAndSummary) {
  prova::SistemaInMemoria memoria;
  prova::RadiceTemporanea radice(memoria);
  auto records = prova::Cur18Prova();
  radice.Scrivi("c/out/buono", prova::Unisci(records));
  records.back().pop_back();
  radice.Scrivi("c/out/tronco", prova::Unisci(records));
  records = prova::Cur18Prova();
  records[4][136] = 'T';  // a wrong check character in a G record
  radice.Scrivi("c/out/avviso", prova::Unisci(records));
  const std::string r = radice.percorso().string();
  struct Caso {
    std::vector<std::string> argomenti;
    int stato;
    std::string uscita;
  } casi[] = {
      {{"verifica", r + "/c/out/buono"}, 0, "File corretto: 7 record, 0 errori, 0 avvisi\n"},
      {{"--radice", r, "verifica", "C:\\OUT\\tronco"},
       1,
       "record 7, posizione 1900: errore: record incompleto: 1899 caratteri invece di 1900 (il file e' "
       "troncato)\nFile con errori: 7 record, 1 errore, 0 avvisi\n"},
      {{"verifica", "\\out\\buono", "--radice", r}, 0, "File corretto: 7 record, 0 errori, 0 avvisi\n"},
      {{"verifica", r + "/c/out/manca"}, 2, ""},
      {{"verifica", r + "/c/out"}, 2, ""},
      // Several files: each line names its file, then the total; the worst status.
      {{"--radice", r, "verifica", "C:\\OUT\\buono", "C:\\OUT\\tronco"},
       1,
       "C:\\OUT\\buono: File corretto: 7 record, 0 errori, 0 avvisi\nC:\\OUT\\tronco: record 7, posizione 1900: "
       "errore: record incompleto: 1899 caratteri invece di 1900 (il file e' troncato)\nC:\\OUT\\tronco: File con "
       "errori: 7 record, 1 errore, 0 avvisi\nTotale: 2 file, 1 corretto, 1 con errori, 0 illeggibili: 14 record, 1 "
       "errore, 0 avvisi\n"},
      // A finding in an employee's record names them on a line of its own, under it.
      {{"--radice", r, "verifica", "C:\\out\\avviso", "C:\\out\\buono"},
       0,
       "C:\\out\\avviso: record 5, posizione 122: avviso: codice fiscale del campo \"DB601004\" con il carattere di "
       "controllo errato\nC:\\out\\avviso:     dipendente con codice fiscale RSSMRA85T10A562S, progressivo 00001\n"
       "C:\\out\\avviso: File corretto: 7 record, 0 errori, 1 avviso\nC:\\out\\buono: File corretto: 7 record, 0 "
       "errori, 0 avvisi\nTotale: 2 file, 2 corretti, 0 con errori, 0 illeggibili: 14 record, 0 errori, 1 avviso\n"},
      {{"verifica", r + "/c/out/buono", r + "/c/out/manca"},
       2,
       r + "/c/out/buono: File corretto: 7 record, 0 errori, 0 avvisi\nTotale: 2 file, 1 corretto, 0 con errori, 1 "
           "illeggibile: 7 record, 0 errori, 0 avvisi\n"},
      // A pattern, as a Windows prompt hands it over: the matching files, without regard to case.
      {{"--radice", r, "verifica", "C:\\out\\B*O"},
       0,
       "C:\\out\\buono: File corretto: 7 record, 0 errori, 0 avvisi\nTotale: 1 file, 1 corretto, 0 con errori, 0 "
       "illeggibili: 7 record, 0 errori, 0 avvisi\n"},
      {{"--radice", r, "verifica", "C:\\out\\?"},
       2,
       "Totale: 1 file, 0 corretti, 0 con errori, 1 illeggibile: 0 record, 0 errori, 0 avvisi\n"},
  };
  for (const auto& c : casi) {
    Esito e = EseguiComando(c.argomenti, {.sistema = &memoria});
    EXPECT_EQ(e.stato, c.stato) << c.argomenti.back() << e.errori;
    EXPECT_EQ(e.uscita, c.uscita) << c.argomenti.back();
  }
}

TEST(ComandoVerifica, JsonCarriesTheSameFindings) {
  prova::SistemaInMemoria memoria;
  prova::RadiceTemporanea radice(memoria);
  auto records = prova::Cur18Prova();
  records[4][136] = 'T';     // a warning
  records.back()[50] = '9';  // an error
  radice.Scrivi("f", prova::Unisci(records));
  Esito e = EseguiComando({"verifica", "--json", (radice.percorso() / "f").string()}, {.sistema = &memoria});
  EXPECT_EQ(e.stato, 1);
  EXPECT_EQ(e.errori, "File con errori: 7 record, 1 errore, 1 avviso\n");
  const auto elenco = nlohmann::json::parse(e.uscita);
  ASSERT_EQ(elenco.size(), 2u);
  EXPECT_EQ(elenco[0]["record"], 5);
  EXPECT_EQ(elenco[0]["posizione"], 122);
  EXPECT_EQ(elenco[0]["gravita"], "avviso");
  EXPECT_EQ(elenco[0]["dipendente"], "dipendente con codice fiscale RSSMRA85T10A562S, progressivo 00001");
  EXPECT_EQ(elenco[1]["record"], 7);
  EXPECT_EQ(elenco[1]["gravita"], "errore");
  EXPECT_TRUE(elenco[1]["dipendente"].is_null());
}

}  // namespace
}  // namespace quibold
