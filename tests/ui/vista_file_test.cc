#include "ui/vista_file.h"

#include <gtest/gtest.h>

#include <deque>

#include "samples/archivio_esempio.h"
#include "support/banco_prova.h"
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

// The window's dialogs without a display: they choose what the test queued, and the view records
// what it would show, row by row, and may save its CSV.
struct DialoghiFinti : Dialoghi {
  std::optional<std::filesystem::path> ScegliTelematico(const std::filesystem::path& cartella) override {
    cartelle.push_back(cartella);
    return scelta;
  }
  void MostraVista(VistaFile& vista) override {
    righe.clear();
    for (size_t r = 0; r < vista.Righe(); ++r) {
      std::string riga;
      for (size_t c = 0; c < ColonneVista().size(); ++c) riga += (c ? "|" : "") + vista.Testo(r, c, ',');
      righe.push_back(riga);
      if (vista.Differente(r)) rilieviDifferenti.push_back(vista.Rilievi(r, ','));
    }
    if (salva) vista.SalvaComeCsv();
  }
  std::optional<std::filesystem::path> ScegliCsv(const std::filesystem::path& proposto) override {
    proposti.push_back(proposto);
    return csv;
  }
  std::optional<std::filesystem::path> scelta, csv;
  bool salva = false;
  std::vector<std::filesystem::path> cartelle, proposti;
  std::vector<std::string> righe, rilieviDifferenti;
};

class VistaDellaFinestra : public ::testing::Test, protected prova::BancoProva {
 protected:
  VistaDellaFinestra() {
    prova::ScriviArchivio(radice, 1, prova::TestataProva().testo(), prova::Testata2Prova(1, 1),
                          {DipendenteProva().Campo(22, "100").Campo(23, "-30").testo()});
    radice.CreaCartella("c/out");
    radice.Scrivi("c/out/buono", prova::Unisci(prova::Cur18Prova()));
    radice.Scrivi("c/out/foglio", "Cognome;Nome\r\n");
    stato.dialoghi = &dialoghi;
    stato.Apertura();
  }
  std::filesystem::path Nativo(const char* relativo) const { return radice.percorso() / relativo; }
  DialoghiFinti dialoghi;
};

TEST_F(VistaDellaFinestra, AFileChosenInTheDialogIsShownEmployeeByEmployee) {
  dialoghi.scelta = Nativo("c/out/buono");
  stato.VerificaFile();
  // The dialog opens in the output folder of field 5, the archive's until a file is written.
  ASSERT_EQ(dialoghi.cartelle.size(), 1u);
  EXPECT_EQ(dialoghi.cartelle[0], percorsi.Nativo(stato.Tx[kTxCartella]));
  ASSERT_EQ(dialoghi.righe.size(), 2u);
  EXPECT_TRUE(dialoghi.righe[0].starts_with("00001|RSSMRA85T10A562S|ROSSI BIANCHI VERDI||1|4938,00|1234,50|"))
      << dialoghi.righe[0];
  EXPECT_TRUE(dialoghi.righe[1].starts_with("||Totale||1|4938,00|")) << dialoghi.righe[1];
  EXPECT_TRUE(messaggi.mostrati.empty());

  // A file that is no CUR18 file, or cannot be read: the check's message in the usual box.
  for (const char* file : {"c/out/foglio", "c/out/manca"}) {
    dialoghi.righe.clear();
    dialoghi.scelta = Nativo(file);
    stato.VerificaFile();
    EXPECT_TRUE(dialoghi.righe.empty());
    ASSERT_FALSE(messaggi.mostrati.empty());
    EXPECT_EQ(messaggi.mostrati.back().icona, Icona::Errore);
  }
  EXPECT_TRUE(messaggi.mostrati[0].testo.ends_with(
      "non e' un file telematico CUR18:\nrecord 1, posizione 1: errore: record C fuori posto: qui si attende il record "
      "A\nFile con errori: 1 record, 3 errori, 0 avvisi"))
      << messaggi.mostrati[0].testo;
  EXPECT_TRUE(messaggi.mostrati[1].testo.starts_with("impossibile leggere ")) << messaggi.mostrati[1].testo;
}

// After a creation the closing message offers the file just written; its view names the employee
// whose sums differ from the report's, and why; the next file is chosen from its folder.
TEST_F(VistaDellaFinestra, TheClosingMessageShowsTheFileJustWritten) {
  stato.ScegliCertificazione(1);
  ASSERT_TRUE(stato.ApriCU());
  stato.Tx[kTxCartella] = "C:\\out\\";
  stato.FlagReport = 0;
  messaggi.risposte = {Risposta::MostraFile};
  ASSERT_TRUE(stato.Crea());
  EXPECT_EQ(messaggi.mostrati.back().pulsanti, Pulsanti::OkMostraFile);
  ASSERT_EQ(dialoghi.righe.size(), 2u);
  EXPECT_TRUE(dialoghi.righe[0].starts_with("00001|RSSMRA80A01H501U|ROSSI|MARIO|1|100,00|")) << dialoghi.righe[0];
  ASSERT_EQ(dialoghi.rilieviDifferenti.size(), 1u);
  EXPECT_NE(dialoghi.rilieviDifferenti[0].find("\nReport: \"Totale Redditi\": il report conta 70,00, il file 100,00"),
            std::string::npos)
      << dialoghi.rilieviDifferenti[0];
  dialoghi.scelta.reset();
  stato.VerificaFile();
  EXPECT_EQ(dialoghi.cartelle.back(), Nativo("c/out"));
}

// The CSV is saved where the clerk says, offered beside the file; never over a file of the
// archive, the file shown or any telematic file.
TEST_F(VistaDellaFinestra, TheCsvIsSavedButNeverOverAnArchiveOrTelematicFile) {
  dialoghi.scelta = Nativo("c/out/buono");
  dialoghi.salva = true;
  radice.Scrivi("c/out/altro", prova::Unisci(prova::Cur18Prova()));
  const struct {
    const char* csv;
    const char* rifiuto;  // what the box says after the file's name, or nothing
  } casi[] = {
      {"c/out/buono.csv", nullptr},
      {"c/vorn/quelt/2017/dati/FCU1.018", ": coincide con un file dell'archivio"},
      {"c/out/buono", ": e' il file telematico mostrato"},
      {"c/out/altro", ": e' un file telematico, che non viene sostituito"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.csv);
    messaggi.mostrati.clear();
    const std::string prima = radice.Esiste(c.csv) ? radice.Leggi(c.csv) : "";
    dialoghi.csv = Nativo(c.csv);
    stato.VerificaFile();
    EXPECT_EQ(dialoghi.proposti.back(), Nativo("c/out/buono.csv"));
    if (!c.rifiuto) {
      EXPECT_TRUE(messaggi.mostrati.empty());
      EXPECT_TRUE(
          radice.Leggi(c.csv).starts_with("\xEF\xBB\xBF"
                                          "File "));
      continue;
    }
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    EXPECT_TRUE(messaggi.mostrati[0].testo.ends_with(c.rifiuto)) << messaggi.mostrati[0].testo;
    EXPECT_EQ(radice.Leggi(c.csv), prima);
  }
}

}  // namespace
}  // namespace quibold
