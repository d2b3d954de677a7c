#include "ui/vista_file.h"

#include <gtest/gtest.h>

#include "samples/archivio_esempio.h"
#include "support/corsa_prova.h"
#include "support/cur18_prova.h"

namespace quibold {
namespace {

using prova::DipendenteProva;

Prospetto Leggi(const std::vector<std::string>& records) {
  Prospetto p;
  for (const std::string& r : records) p.Record(r);
  p.Fine();
  return p;
}

// The report's totals of a run and the sums of the file it wrote, read back through the check,
// held together over the sample and generated archives: they agree but for the amounts below 0,
// which the report counts and the file never holds, each named with its employee and line.
TEST(VistaFile, TheFilesSumsAreTheReportsTotalsButForAmountsBelowZero) {
  esempio::Certificazione negativi;
  negativi.testata1 = esempio::CertificazioneSocieta().testata1;
  negativi.testata2 = esempio::Testata2(1, 2);
  negativi.dipendenti = {DipendenteProva().Campo(22, "28500").testo(),
                         DipendenteProva("VRDGPP75C10F205G", "VERDI", "GIUSEPPE")
                             .Campo(22, "1000")
                             .Campo(23, "-120.004")
                             .Campo(38, "-5")
                             .testo()};
  const struct {
    const char* nome;
    esempio::Certificazione certificazione;
    std::vector<std::string> differenze;
  } casi[] = {
      {"company", esempio::CertificazioneSocieta(), {}},
      {"natural person", esempio::CertificazionePersonaFisica(), {}},
      {"full archive", esempio::ArchivioPieno(25), {}},
      {"amounts below 0",
       negativi,
       {"\"Totale Redditi\": il report conta 880,00, il file 1000,00 per il progressivo 00002 (dipendente VERDI "
        "GIUSEPPE, record 2 dell'archivio: DB001002 vale -120,00: un importo sotto zero non si scrive nel file, ma il "
        "report lo somma)",
        "\"Addizionale Comunale\": il report conta -5,00, il file 0,00 per il progressivo 00002 (dipendente VERDI "
        "GIUSEPPE, record 2 dell'archivio: DB001026 vale -5,00: un importo sotto zero non si scrive nel file, ma il "
        "report lo somma)",
        "\"di cui Acconto\": il report conta -5,00, il file 0,00 per il progressivo 00002 (dipendente VERDI GIUSEPPE, "
        "record 2 dell'archivio: DB001026 vale -5,00: un importo sotto zero non si scrive nel file, ma il report lo "
        "somma)"}},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    prova::CorsaBanco corsa;
    ASSERT_TRUE(corsa.Esegui(c.certificazione));
    const Prospetto p = Leggi(corsa.records);
    EXPECT_EQ(p.Totale()[kDipendenti], corsa.run.Totale[kDipendenti]);
    std::vector<std::string> differenze;
    for (const Differenza& d : Differenze(corsa.run, p)) differenze.push_back(TestoDifferenza(d, ','));
    EXPECT_EQ(differenze, c.differenze);
  }
}

// The hand-made file with a name that a spreadsheet would take for a formula, a surname with the
// CSV's separator and a letter outside ASCII, a finding in the employee's records.
TEST(VistaFile, TheCsvOpensInASpreadsheetAsItIs) {
  auto records = prova::Cur18Prova();
  records[3].replace(89 + 3 * 24, 48,
                     prova::Cur18Campo("DA002002", "DE;LUCA NICCOL\xD2") + prova::Cur18Campo("DA002003", "=1+2"));
  prova::SistemaInMemoria memoria;
  prova::RadiceTemporanea radice(memoria);
  radice.Scrivi("c/file", prova::Unisci(records));
  VistaFile vista;
  ASSERT_EQ(vista.Leggi(radice.sistema(), radice.percorso() / "c" / "file", "C:\\file"), Lettura::Letta);
  const std::string csv = vista.Csv();
  const std::string righe[] = {
      "\xEF\xBB\xBF"
      "File C:\\file\r\nFornitura CUR18, ordinaria, fornitore RSSMRA85T10A562S\r\n",
      "\r\nProgressivo;Codice fiscale;Cognome;Nome;Numero Dipendenti;Totale Redditi;",
      "\r\n00001;RSSMRA85T10A562S;\"DE;LUCA NICCOL\xC3\x92\";'=1+2;1;4938,00;1234,50;",
      ";0;1\r\n;;Totale;;1;4938,00;1234,50;",
  };
  for (const std::string& riga : righe) EXPECT_NE(csv.find(riga), std::string::npos) << riga << "\nin\n" << csv;
  EXPECT_TRUE(csv.ends_with(";0;1\r\n"));
}

}  // namespace
}  // namespace quibold
