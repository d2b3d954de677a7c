// The writer of the telematic file: one run from the settings of a supply to record Z.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/testata.h"
#include "recfile/canali.h"
#include "verifica/verifica.h"

namespace quibold {

// What each run total adds up, by its index in `Totali`; the report prints each under a label of
// its own. Indices 23 to 30 are kept at 0.
enum IndiceTotale : uint8_t {
  kNessunTotale = 0,
  kDipendenti = 1,                   // employees whose first G record was begun
  kRedditi = 2,                      // DB001001 to DB001004
  kRitenuteIrpef = 3,                // DB001021
  kAddizionaleRegionale = 4,         // DB001022
  kAddizionaleRegionaleAP = 5,       // DB001023, of the years before
  kAddizionaleComunaleAP = 6,        // DB001025, of the years before
  kAddizionaleComunale = 7,          // DB001026, DB001027
  kAccontoComunale2018 = 8,          // DB001029
  kTrattenuteAssistenzaFiscale = 9,  // the amounts withheld by the tax-assistance settlement
  kRimborsiAssistenzaFiscale = 10,   // the amounts refunded by it
  kDetrazioni = 11,                  // DB001373
  kBonus = 12,                       // DB001392
  kTassazioneSeparata = 13,          // DB001511, DB001512
  kRedditiDaTerzi = 14,              // DB001531 to DB001535
  kImponibileInps = 15,              // DC001004
  kTfrAnno = 16,                     // DF001801
  kTfrAnniPrecedenti = 17,           // DF001802
  kRitenuteTfrAnno = 18,             // DF001804
  kRitenuteTfrAnniPrecedenti = 19,   // DF001806
  kRivalutazioniTfr = 20,            // DF001911
  kCompensiCollaboratori = 21,       // DC001043
  kAccontoComunale = 22,             // DB001026, also in kAddizionaleComunale
  kUltimoTotale = kAccontoComunale,
};

// The run totals by index (1 to 30; 0 unused).
using Totali = std::array<double, 31>;

// What a run leaves for the report: the header fields as the writer split them and the totals;
// the warnings of the check of the file it wrote, each naming the employee of a record D or G as
// the archive knows them, and its records; or, when it stopped, what it left under the file's
// name, in a sentence for the office (Windows-1252).
struct StatoRun {
  Testata testata;
  Totali Totale{};
  std::vector<Rilievo> avvisi;
  long numeroAvvisi = 0;
  long records = 0;
  std::string fermata;  // "nessun file telematico scritto; il file precedente e' rimasto com'era"
};

// What a run is asked to make: the certification, its supply and where the file goes. Texts are
// Windows-1252 bytes as the office typed them; the header's own commitment, when it has one, wins
// over the one given here.
struct ImpostazioniTelematico {
  std::string CodiceCU;          // the certification's number
  std::string Disco;             // the archive's drive, "X:"
  std::string PercorsoDati;      // the archive folder on it
  std::string tipoFornitura;     // "N" normal, "A" cancellation, "S" replacement
  bool singola = false;          // a normal supply of one employee
  std::string protocollo;        // of the supply to cancel or replace (17)
  std::string progressivo;       // its progressive number (6)
  std::string recordDipendente;  // the record of the one employee of a cancellation, replacement or single supply
  std::string cartella;          // drive and folder of the telematic file
  std::string nomeFile;          // its name
  std::string tipoImpegno;       // the commitment to transmit, when the header has none
  std::string dataImpegno;
  bool report = false;  // the closing message then also says what the check warned of
  // Sets the progress caption of the run.
  std::function<void(const std::string&)> Didascalia;
};

// The line that tells the office what the check of a complete file warned of: how many warnings
// and the first of them. REQUIRES: at least one warning in `run`.
std::string RigaAvvisi(const StatoRun& run);

// The title of the closing message of a complete file, the one box of a run that is no stop nor
// question.
inline constexpr std::string_view kTitoloCreazione = "Creazione Telematico";

// Writes the telematic file. Shows every message itself (the checks' messages in an "Accesso"
// error box, the closing message when the file is complete) and returns true only when the file
// was written completely, record Z included, and its check found no error. The file is written
// under a temporary name and replaces the one before only then: a run that stops leaves the file
// of that name as it was (and says so in `run.fermata`).
[[nodiscard]] bool ScriviTelematico(Canali& canali, const ImpostazioniTelematico& impostazioni, StatoRun& run);

}  // namespace quibold
