#include "ui/report.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <locale.h>
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "recfile/cp1252.h"
#include "recfile/numeri.h"
#include "support/banco_prova.h"
#include "ui/piattaforma_sistema.h"
#include "ui/stato.h"

namespace fs = std::filesystem;

namespace quibold {
namespace {

using prova::DipendenteProva;
using prova::MessaggiRegistrati;
using prova::PiattaformaFinta;
using prova::RadiceTemporanea;

const fs::path kDati = fs::path("c") / "vorn" / "quelt" / "2017" / "dati";
const fs::path kReport = kDati / "report.txt";
const fs::path kBatch = fs::path("c") / "vorn" / "quelt" / "2017" / "avstp.bat";

// The lines of a report, each ended by CR LF: the title, the supply's data (certification, name
// in two parts, fiscal code, supply type, the two protocols, path and file name), the totals in
// the order printed.
std::string ReportDi(const std::vector<std::string>& dati, const std::vector<std::string>& totali) {
  static const char* const kVoci[] = {"Certificazione      :", "Sostituto           :", "                    :",
                                      "Codice fiscale      :", "Tipologia fornitura :", "Protocollo n.1 Sost :",
                                      "Protocollo n.2 Sost :", "Percorso e nome file:"};
  // clang-format off
  static const char* const kEtichette[] = {
      "Numero Dipendenti              ", "Totale Redditi                 ",
      "Ritenute Irpef Lav.dip.        ", "Addizionale Regionale          ",
      "Addizionale Comunale           ", "                 di cui Acconto",
      "Addizionale Comunale Acc.2018  ", "Addizionale Regionale A.P.     ",
      "Addizionale Comunale A.P.      ", "Importi trattenuti Ass.fiscale ",
      "Importi rimborsati Ass.fiscale ", "Totale detrazioni Irpef        ",
      "Bonus erogato                  ", "Redditi a Tassazione separata  ",
      "Redditi erogati da terzi       ", "Imponibile Previdenziale INPS  ",
      "Compensi Collaboratori         ", "TFR dell'anno erogato          ",
      "TFR di anni precedenti         ", "Ritenute Irpef TFR dell'anno   ",
      "Ritenute Irpef TFR anni preced.", "Rivalutazioni del TFR          ",
  };
  // clang-format on
  std::string t = "   CERTIFICAZIONE UNICA LAVORO DIPENDENTE ANNO 2018\r\n" + std::string(55, '-') + "\r\n";
  for (size_t i = 0; i < std::size(kVoci); ++i) t += kVoci[i] + dati.at(i) + "\r\n";
  t += std::string(56, '-') + "\r\n           Dati utili alla quadratura C.U.\r\n" + std::string(56, '-') + "\r\n";
  for (size_t i = 0; i < std::size(kEtichette); ++i) t += kEtichette[i] + totali.at(i) + "\r\n";
  return t + std::string(58, '-') + "\r\n";
}

// A window with its own drive root, message box and platform; the report's folders exist.
class ReportTest : public ::testing::Test, protected prova::BancoProva {
 protected:
  ReportTest() { radice.CreaCartella(kDati); }
  // Whether a path the program gave names the file under the root.
  bool Stesso(const fs::path& dato, const fs::path& relativo) {
    const auto identita = radice.sistema().Identita(dato);
    return identita && identita == radice.sistema().Identita(radice.percorso() / relativo);
  }

  // A supply with a known header and totals; everything else as the window starts.
  void StatoNoto() {
    stato.Disco = "C:";
    stato.Tx[kTxCodice] = "12";
    stato.Tx[kTxTipoFornitura] = "S";
    stato.Tx[kTxCartella] = "C:\\telematici\\";
    stato.Tx[kTxNomeFile] = "TCU1218\xE0";  // a Windows-1252 byte must reach the file as it is
    Testata& t = stato.run.testata;
    t[kCfSostituto] = "01234567897     ";
    t[kDenominazione1] = "ROSSI SRL               ";
    t[kDenominazione2] = std::string(24, ' ');
    t[kProtocolloSostituito] = "12345678901234567";
    t[kProgressivoSostituito] = "000123";
    Totali& tot = stato.run.Totale;
    tot[kDipendenti] = 3;
    tot[kRedditi] = 1234.5;
    tot[kRitenuteIrpef] = -12.75;
    tot[kAddizionaleRegionale] = 0.1 + 0.2 - 0.3;  // a residue, not money
    tot[kAddizionaleComunale] = 100;
    tot[kAccontoComunale] = 100;
    tot[kImponibileInps] = 28500.004;
    tot[kTfrAnno] = 1e6;
    tot[kCompensiCollaboratori] = 10.125;  // a half cent goes down
    tot[23] = 99;                          // beyond the printed totals
  }

  static std::string ReportAtteso() {
    return ReportDi(
        {"12", "ROSSI SRL               ", std::string(24, ' '), "01234567897     ", "S", "12345678901234567", "000123",
         "C:\\telematici\\TCU1218\xE0"},
        {" 3 ", " 1234,5 ", "-12,75 ", " 0 ", " 100 ",   " 100 ",   " 0 ",       " 0 ", " 0 ", " 0 ", " 0 ",
         " 0 ", " 0 ",      " 0 ",     " 0 ", " 28500 ", " 10,12 ", " 1000000 ", " 0 ", " 0 ", " 0 ", " 0 "});
  }
};

// --- Number format of a total ---

// A total: a blank or a minus, the whole digits (no thousands separator, never an exponent), the
// separator given and the decimals left once the value is rounded to cents, a blank.
TEST(ReportFormatoTotale, SignDigitsSeparatorAndOnlyTheDecimalsNeeded) {
  double conteggio = 0, centesimi = 0;  // sums as a run makes them
  for (int i = 0; i < 4321; ++i) conteggio += 1;
  for (int i = 0; i < 1000; ++i) centesimi += 0.01;
  // clang-format off
  const std::pair<double, std::string> casi[] = {
      {0, " 0 "}, {25, " 25 "}, {1234.5, " 1234,5 "}, {-12.75, "-12,75 "}, {0.07, " 0,07 "}, {-0.5, "-0,5 "},
      {1234567.8, " 1234567,8 "}, {conteggio, " 4321 "}, {centesimi, " 10 "}, {0.1 + 0.2 - 0.3, " 0 "},
      {0.1 + 0.2, " 0,3 "}, {10.126, " 10,13 "}, {-10.125, "-10,13 "},
      {10.125, " 10,12 "},                             // an exact half goes down
      {-0.001, " 0 "}, {-0.0, " 0 "}, {1e-300, " 0 "},  // a negative residue prints no minus
      {123456789012.34, " 123456789012,34 "}, {-98765432109.87, "-98765432109,87 "},
      {999999999999999.0, " 999999999999999 "}, {999999999999999.5, " 1000000000000000 "},  // not "1e+15"
      {1e15, " 1000000000000000 "}, {1e20, " 100000000000000000000 "},
      {-1.2345678901234567e17, "-123456789012346000 "},  // fifteen significant digits
      {1e300, " 1" + std::string(300, '0') + " "},
  };
  // clang-format on
  for (const auto& [valore, atteso] : casi) EXPECT_EQ(FormatoTotale(valore, ','), atteso) << valore;
  EXPECT_EQ(FormatoTotale(1234.5, '.'), " 1234.5 ");
}

TEST(ReportFormatoTotale, NeverAnExponentAndReadsBackAsTheRoundedValue) {
  std::vector<double> valori;
  for (int k = -6; k <= 40; ++k) {
    const double p = std::pow(10.0, k);
    for (double m : {1.0, 1.5, 3.14159265358979, 9.999999999999999}) valori.push_back(m * p);
  }
  for (double v : valori) {
    for (double x : {v, -v}) {
      const std::string t = FormatoTotale(x, ',');
      SCOPED_TRACE(t);
      ASSERT_GE(t.size(), 3u);
      EXPECT_TRUE(t.front() == ' ' || t.front() == '-');
      EXPECT_EQ(t.back(), ' ');
      const std::string numero = t.substr(1, t.size() - 2);
      EXPECT_EQ(numero.find_first_not_of("0123456789,"), std::string::npos);
      EXPECT_LE(std::count(numero.begin(), numero.end(), ','), 1);
      if (numero.find(',') != std::string::npos) {
        EXPECT_NE(numero.back(), '0');
      }
      // Read back, it is the value rounded to cents, within 15 significant digits.
      std::string punto = numero;
      std::replace(punto.begin(), punto.end(), ',', '.');
      const double letto = std::strtod(punto.c_str(), nullptr) * (t.front() == '-' ? -1 : 1);
      const double atteso = std::fabs(x) < 1e15 ? Arrotonda(x) : x;
      EXPECT_NEAR(letto, atteso, std::fabs(atteso) * 1e-14 + 1e-9);
    }
  }
}

#ifdef _WIN32
// Windows reads the user's settings, which a running program cannot change; Wine takes them from
// LC_ALL as it starts (the tests run under Wine with LC_ALL=it_IT.UTF-8).
TEST(ReportFormatoTotale, SystemSeparatorOfAnItalianSystemIsTheComma) {
  const auto regionali = Ambiente("LC_ALL");
  if (!regionali || !regionali->starts_with("it_IT")) GTEST_SKIP() << "impostazioni regionali non italiane";
  EXPECT_EQ(SeparatoreDecimaleDiSistema(), ',');
}
#else
// Sets LC_ALL for the length of a test and puts it back.
class ImpostazioniRegionali {
 public:
  ImpostazioniRegionali() : prima_(Ambiente("LC_ALL")) {}
  ~ImpostazioniRegionali() { Imposta(prima_ ? prima_->c_str() : nullptr); }
  void Imposta(const char* nome) { prova::ImpostaAmbiente("LC_ALL", nome); }

 private:
  std::optional<std::string> prima_;
};

TEST(ReportFormatoTotale, SystemSeparatorFallsBackToThePoint) {
  ImpostazioniRegionali regionali;
  regionali.Imposta("C");
  EXPECT_EQ(SeparatoreDecimaleDiSistema(), '.');
  // Settings that name no installed locale.
  regionali.Imposta("xx_XX.NESSUNO");
  EXPECT_EQ(SeparatoreDecimaleDiSistema(), '.');
}

TEST(ReportFormatoTotale, SystemSeparatorOfAnItalianSystemIsTheComma) {
  ImpostazioniRegionali regionali;
  for (const char* nome : {"it_IT.UTF-8", "it_IT.utf8", "it_IT"}) {
    if (locale_t l = newlocale(LC_NUMERIC_MASK, nome, static_cast<locale_t>(0))) {
      freelocale(l);
      regionali.Imposta(nome);
      EXPECT_EQ(SeparatoreDecimaleDiSistema(), ',');
      return;
    }
  }
  GTEST_SKIP() << "no Italian locale installed";
}
#endif

// --- The report's and the batch file's bytes ---

// Both files written anew, over longer ones of the program's.
TEST_F(ReportTest, BothFilesHoldExactlyTheirLines) {
  StatoNoto();
  radice.Scrivi(kReport, "   CERTIFICAZIONE UNICA LAVORO DIPENDENTE ANNO 2018\r\n" + std::string(10000, 'x'));
  radice.Scrivi(kBatch, "ECHO OFF\r\nCLS\r\n" + std::string(500, 'y'));
  auto percorso = ScriviReport(stato, ',');
  ASSERT_TRUE(percorso.has_value());
  EXPECT_TRUE(messaggi.mostrati.empty());
  EXPECT_TRUE(Stesso(*percorso, kReport));
  EXPECT_EQ(radice.Leggi(kReport), ReportAtteso());
  EXPECT_EQ(radice.Leggi(kBatch),
            "ECHO OFF\r\n"
            "CLS\r\n"
            "C:\\wvorn\\wordpad C:\\vorn\\QUELT\\2017\\dati\\report.txt\r\n"
            "exit\r\n");
}

TEST_F(ReportTest, TextOfTheReportMatchesTheFileAndTheSeparatorIsTheOneGiven) {
  StatoNoto();
  EXPECT_EQ(TestoReport(stato, ','), ReportAtteso());
  const std::string punto = TestoReport(stato, '.');
  EXPECT_NE(punto.find("Totale Redditi                  1234.5 \r\n"), std::string::npos);
  EXPECT_NE(punto.find("Ritenute Irpef Lav.dip.        -12.75 \r\n"), std::string::npos);
}

TEST_F(ReportTest, ValuesFollowTheLabelsUntrimmed) {
  StatoNoto();
  stato.Tx[kTxCodice] = "  7 ";
  stato.Tx[kTxTipoFornitura] = "N";
  stato.run.testata[kProtocolloSostituito] = std::string(17, ' ');
  stato.run.testata[kProgressivoSostituito] = std::string(6, ' ');
  const std::string r = TestoReport(stato, ',');
  EXPECT_NE(r.find("\r\nCertificazione      :  7 \r\n"), std::string::npos);
  EXPECT_NE(r.find("\r\nProtocollo n.1 Sost :" + std::string(17, ' ') + "\r\n"), std::string::npos);
  EXPECT_NE(r.find("\r\nProtocollo n.2 Sost :" + std::string(6, ' ') + "\r\n"), std::string::npos);
}

TEST_F(ReportTest, BlankFileNameEndsLineTenWithTheFolder) {
  StatoNoto();
  stato.Tx[kTxNomeFile] = "";
  const std::string r = TestoReport(stato, ',');
  EXPECT_NE(r.find("\r\nPercorso e nome file:C:\\telematici\\\r\n"), std::string::npos);
  stato.Tx[kTxNomeFile] = "   ";
  EXPECT_NE(TestoReport(stato, ',').find("\r\nPercorso e nome file:C:\\telematici\\   \r\n"), std::string::npos);
}

// The report and the batch file go to the folders of the window's drive; without one, of the
// current drive (c under the root). The batch file names the viewer and the report on that drive.
TEST_F(ReportTest, TheFilesGoToTheWindowsDrive) {
  const struct {
    const char* disco;
    const char* cartella;
    const char* riga;  // of the batch file
  } casi[] = {{"D:", "d", "D:\\wvorn\\wordpad D:\\vorn\\QUELT\\2017\\dati\\report.txt"},
              {"", "c", "\\wvorn\\wordpad \\vorn\\QUELT\\2017\\dati\\report.txt"}};
  for (const auto& c : casi) {
    SCOPED_TRACE(c.cartella);
    StatoNoto();
    stato.Disco = c.disco;
    const fs::path d = fs::path(c.cartella) / "vorn" / "quelt" / "2017";
    radice.CreaCartella(d / "dati");
    auto percorso = ScriviReport(stato, ',');
    ASSERT_TRUE(percorso.has_value());
    EXPECT_TRUE(Stesso(*percorso, d / "dati" / "report.txt"));
    EXPECT_EQ(radice.Leggi(d / "dati" / "report.txt"), ReportAtteso());
    EXPECT_EQ(radice.Leggi(d / "avstp.bat"), "ECHO OFF\r\nCLS\r\n" + std::string(c.riga) + "\r\nexit\r\n");
    EXPECT_EQ(radice.Esiste(kReport), c.cartella == std::string("c"));
  }
}

// --- Files that cannot be written ---

// A file that cannot be written is one error box, which names it and says why, and neither file is
// written: the report on a drive that does not exist or on a full disk, the batch file where a
// folder has its name.
TEST_F(ReportTest, AFileThatCannotBeWrittenIsOneBoxNamingIt) {
  const struct {
    std::function<void()> guasta;
    const char* file;
  } casi[] = {
      {[&] { stato.Disco = "E:"; }, "E:\\vorn\\QUELT\\2017\\dati\\report.txt"},
      {[&] { radice.CreaCartella(kBatch); }, "C:\\vorn\\QUELT\\2017\\avstp.bat"},
      {[&] { memoria.Capienza(0); }, "C:\\vorn\\QUELT\\2017\\dati\\report.txt"},
  };
  for (const auto& c : casi) {
    StatoNoto();
    radice.Rimuovi(kReport);
    radice.Rimuovi(kBatch);
    messaggi.mostrati.clear();
    c.guasta();
    EXPECT_FALSE(ScriviReport(stato, ',').has_value());
    ASSERT_EQ(messaggi.mostrati.size(), 1u);
    const auto& m = messaggi.mostrati[0];
    const std::string inizio = "Impossibile scrivere il file " + std::string(c.file) + ": ";
    EXPECT_TRUE(m.testo.starts_with(inizio) && m.testo.size() > inizio.size() + 12) << m.testo;
    EXPECT_EQ(m.icona, Icona::Errore);
    EXPECT_EQ(m.pulsanti, Pulsanti::Ok);
    EXPECT_FALSE(radice.Esiste(kReport));
  }
}

// --- Hand-off ---

// Remembers, when the viewer is asked for, what the two files hold then, and whether anything
// was shown after the end of the program.
class PiattaformaControllo : public PiattaformaFinta {
 public:
  PiattaformaControllo(const RadiceTemporanea& radice, const MessaggiRegistrati& messaggi)
      : radice_(radice), messaggi_(messaggi) {}
  bool ApriVisualizzatore(const fs::path& file, const fs::path& batch, const fs::path& visualizzatore,
                          std::string& motivo) override {
    reportAllApertura = radice_.Leggi(kReport);
    batchAllApertura = radice_.Leggi(kBatch);
    this->visualizzatore = visualizzatore;
    messaggiAllApertura = messaggi_.mostrati.size();
    terminatoPrima = terminazioni > 0;
    return PiattaformaFinta::ApriVisualizzatore(file, batch, visualizzatore, motivo);
  }
  void Termina() override {
    PiattaformaFinta::Termina();
    messaggiAllaFine = messaggi_.mostrati.size();
  }
  std::string reportAllApertura, batchAllApertura;
  fs::path visualizzatore;
  bool terminatoPrima = false;
  size_t messaggiAllApertura = 0, messaggiAllaFine = 0;

 private:
  const RadiceTemporanea& radice_;
  const MessaggiRegistrati& messaggi_;
};

TEST_F(ReportTest, HandOffOpensTheWrittenReportAndEndsTheProgram) {
  PiattaformaControllo controllo(radice, messaggi);
  StatoFinestra finestra(canali, controllo);
  finestra.Disco = "C:";
  finestra.Tx[kTxCodice] = "1";
  finestra.run.Totale[kDipendenti] = 2;
  EXPECT_TRUE(StampaReport(finestra));
  ASSERT_EQ(controllo.aperti.size(), 1u);
  EXPECT_TRUE(Stesso(controllo.aperti[0], kReport));
  EXPECT_TRUE(Stesso(controllo.batchAperti[0], kBatch));
  EXPECT_EQ(controllo.terminazioni, 1);
  EXPECT_FALSE(controllo.terminatoPrima);
  // Both files were complete when the viewer was started.
  EXPECT_EQ(controllo.reportAllApertura, TestoReport(finestra, SeparatoreDecimaleDiSistema()));
  EXPECT_EQ(controllo.batchAllApertura, TestoBatch("C:"));
  EXPECT_EQ(controllo.visualizzatore, percorsi.Nativo("C:\\wvorn\\wordpad"));  // the program the batch file starts
  // Before the viewer, where the report is: the program ends, and a viewer may show nothing.
  EXPECT_EQ(messaggi.Testi(), std::vector<std::string>{"Il report di quadratura e' stato scritto in " +
                                                       Cp1252DaUtf8(Utf8DaPercorso(controllo.aperti[0]))});
  EXPECT_EQ(controllo.messaggiAllApertura, 1u);
}

TEST_F(ReportTest, HandOffAfterAFailedWriteOpensNothingButStillEnds) {
  PiattaformaControllo controllo(radice, messaggi);
  StatoFinestra finestra(canali, controllo);
  finestra.Disco = "Q:";
  EXPECT_FALSE(StampaReport(finestra));
  EXPECT_TRUE(controllo.aperti.empty());
  EXPECT_EQ(controllo.terminazioni, 1);
  ASSERT_EQ(messaggi.mostrati.size(), 1u);
  EXPECT_EQ(controllo.messaggiAllaFine, 1u);  // the error box came before the end
  EXPECT_NE(messaggi.mostrati[0].testo.find("Q:\\vorn\\QUELT\\2017\\dati\\report.txt"), std::string::npos);
}

#ifdef _WIN32
// On Windows the batch file is started by the command interpreter, without waiting, whatever
// its folder's name holds, when the viewer it starts is there (without it, the viewer of text
// files opens the report: the clerk's run under Wine tries it); an interpreter that cannot be
// started has failed and says why.
TEST(PiattaformaSistemaTest, BatchFileIsStartedWithoutWaiting) {
  using namespace std::chrono_literals;
  const RadiceTemporanea cartella;
  const fs::path batch = cartella.percorso() / "con spazio (&)" / "avstp.bat";
  const fs::path segno = cartella.percorso() / "aperto.txt";
  cartella.Scrivi(batch, "ECHO OFF\r\necho aperto> \"" + segno.string() + "\"\r\nexit\r\n");
  cartella.Scrivi("wvorn/wordpad.exe", "");
  const fs::path visualizzatore = cartella.percorso() / "wvorn" / "wordpad";
  PiattaformaSistema piattaforma;
  std::string motivo;
  EXPECT_TRUE(piattaforma.ApriVisualizzatore("report.txt", batch, visualizzatore, motivo)) << motivo;
  for (int k = 0; k < 300 && !fs::exists(segno); ++k) std::this_thread::sleep_for(50ms);
  EXPECT_TRUE(fs::exists(segno));

  const auto interprete = Ambiente("ComSpec");
  prova::ImpostaAmbiente("ComSpec", "C:\\manca\\cmd.exe");
  EXPECT_FALSE(piattaforma.ApriVisualizzatore("report.txt", batch, visualizzatore, motivo));
  EXPECT_NE(motivo.find("impossibile avviare C:\\manca\\cmd.exe: "), std::string::npos) << motivo;
  prova::ImpostaAmbiente("ComSpec", interprete ? interprete->c_str() : nullptr);
}
#else
// The launcher of the desktop's viewer: one that cannot start, or ends in error within the
// wait, has failed and says why; one still running after the wait has started the viewer.
TEST(PiattaformaSistemaTest, LauncherThatFailsGivesTheReasonWithoutHoldingTheWindow) {
  using namespace std::chrono_literals;
  const RadiceTemporanea cartella;
  struct Caso {
    const char* script;  // none: no such program
    bool aperto;
    std::string_view motivo;
  } const casi[] = {
      {"exit 0", true, ""},
      {"exit 3", false, "nessun programma installato per aprire il file"},
      {"exit 7", false, "terminato con codice 7"},
      {"exec >/dev/null 2>&1; sleep 3", true, ""},
      {nullptr, false, "non e' installato"},
  };
  for (size_t k = 0; k < std::size(casi); ++k) {
    const Caso& caso = casi[k];
    const fs::path lanciatore = cartella.percorso() / ("apri" + std::to_string(k));
    if (caso.script) {
      cartella.Scrivi(lanciatore.filename(), std::string("#!/bin/sh\n") + caso.script + "\n");
      fs::permissions(lanciatore, fs::perms::owner_all);
    }
    PiattaformaSistema piattaforma(lanciatore.string(), 300ms);
    std::string motivo;
    const auto inizio = std::chrono::steady_clock::now();
    EXPECT_EQ(piattaforma.ApriVisualizzatore("report.txt", "avstp.bat", "wordpad", motivo), caso.aperto) << k;
    EXPECT_LT(std::chrono::steady_clock::now() - inizio, 2s) << k;
    EXPECT_NE(motivo.find(caso.motivo), std::string::npos) << k << ": " << motivo;
  }
}
#endif

// --- A whole run with the report asked for ---

class ReportCorsaTest : public ReportTest {
 protected:
  void SetUp() override {
    prova::RecordProva testata = prova::TestataProva();
    testata.Metti(193, "   3");
    const std::vector<std::string> dipendenti = {
        DipendenteProva()
            .Campo(22, "1000.20")  // income: total 2
            .Campo(23, "234.30")
            .Campo(33, "-12.75")  // a negative withholding lowers total 3
            .Campo(38, "100")     // municipal surtax on account: totals 7 and 22
            .testo(),
        DipendenteProva("VRDGPP75C10F205G", "VERDI", "GIUSEPPE", "10031975").Stato('*').Campo(22, "5000").testo(),
        DipendenteProva("BNCLCU85M41H501K", "BIANCHI", "LUCIA", "01081985")
            .Campo(24, "0.1")
            .Campo(25, "0.2")
            .Campo(34, "0.10")  // regional surtax: total 4
            .testo(),
    };
    prova::ScriviArchivio(radice, 1, testata.testo(), prova::Testata2Prova(1, 3), dipendenti);
    radice.CreaCartella(fs::path("c") / "telematici");
    // Certification 1 opened, the output to C:\telematici.
    stato.Apertura();
    stato.Tx[kTxCodice] = "1";
    ASSERT_TRUE(stato.ApriCU());
    stato.Tx[kTxCartella] = "C:\\telematici\\";
  }
};

TEST_F(ReportCorsaTest, RunWithReportPrintsItsTotalsAndHandsOff) {
  messaggi.risposte.push_back(Risposta::Si);
  stato.ChiediReport();
  ASSERT_EQ(stato.FlagReport, 1);
  messaggi.mostrati.clear();
  ASSERT_TRUE(stato.Crea());
  // The window does not come back: what the check warned of, and whose record, are two more lines
  // of the closing message.
  ASSERT_EQ(messaggi.Testi().size(), 2u);  // then where the report is
  EXPECT_EQ(messaggi.Testi()[0],
            "Memorizazione regolarmente effettuata...\n"
            "Il file telematico ha superato il controllo con 1 avviso: "
            "record 5, posizione 26: avviso: codice fiscale del "
            "dipendente con il carattere di controllo errato\n"
            "    dipendente BIANCHI LUCIA, record 3 dell'archivio");
  EXPECT_EQ(prova::Records(radice.Leggi(fs::path("c") / "telematici" / "TCU118")).size(), 7u);

  // The hand-off: the report opened and the program ended, the window not started again.
  ASSERT_EQ(piattaforma.aperti.size(), 1u);
  EXPECT_TRUE(Stesso(piattaforma.aperti[0], kReport));
  EXPECT_EQ(piattaforma.terminazioni, 1);
  EXPECT_EQ(stato.Tx[kTxCartella], "C:\\telematici\\");

  const char s = SeparatoreDecimaleDiSistema();
  auto numero = [s](std::string t) {
    std::replace(t.begin(), t.end(), ',', s);
    return t;
  };
  const std::vector<std::string> intestazione = {
      "1", "ROSSI SRL               ", std::string(24, ' '), "01234567897     ",
      "N", std::string(17, ' '),       std::string(6, ' '),  "C:\\telematici\\TCU118"};
  std::vector<std::string> totali(22, " 0 ");
  totali[0] = " 2 ";  // employees, then the amounts the run added up
  totali[1] = numero(" 1234,8 ");
  totali[2] = numero("-12,75 ");
  totali[3] = numero(" 0,1 ");
  totali[4] = totali[5] = " 100 ";
  EXPECT_EQ(radice.Leggi(kReport), ReportDi(intestazione, totali));
}

TEST_F(ReportCorsaTest, RunWithoutReportWritesNoReport) {
  stato.FlagReport = 0;
  ASSERT_TRUE(stato.Crea());
  EXPECT_FALSE(radice.Esiste(kReport));
  EXPECT_FALSE(radice.Esiste(kBatch));
  EXPECT_TRUE(piattaforma.aperti.empty());
  EXPECT_EQ(piattaforma.terminazioni, 0);
}

TEST_F(ReportCorsaTest, ReportThatCannotBeWrittenLeavesTheTelematicFile) {
  stato.FlagReport = 1;
  radice.CreaCartella(kReport);  // report.txt is a folder
  messaggi.mostrati.clear();
  ASSERT_TRUE(stato.Crea());
  const auto testi = messaggi.Testi();
  ASSERT_EQ(testi.size(), 2u);
  EXPECT_TRUE(testi[0].starts_with("Memorizazione regolarmente effettuata...\n")) << testi[0];
  EXPECT_NE(testi[1].find("C:\\vorn\\QUELT\\2017\\dati\\report.txt"), std::string::npos) << testi[1];
  EXPECT_TRUE(piattaforma.aperti.empty());
  EXPECT_EQ(piattaforma.terminazioni, 1);
  const auto records = prova::Records(radice.Leggi(fs::path("c") / "telematici" / "TCU118"));
  ASSERT_EQ(records.size(), 7u);
  EXPECT_EQ(records.back()[0], 'Z');
}

}  // namespace
}  // namespace quibold
