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
#include "verifica/totali.h"
#include "verifica/verifica.h"

namespace quibold {

// The run totals by index (1 to 30; 0 unused).
using Totali = std::array<double, 31>;

// An amount that a run total counts and the file does not hold: one below 0, which is never
// written. Whose, in the file (its progressive) and in the archive, and what it adds to.
struct ImportoNonScritto {
  std::string dipendente;  // "dipendente ROSSI MARIO, record 7 dell'archivio" (Windows-1252)
  long progressivo;        // of the employee in the file, from 1
  std::string codice;      // the field's code
  IndiceTotale totale, totale2;
  double importo;  // rounded to cents
};

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
  std::vector<ImportoNonScritto> nonScritti;  // what the totals count and the file does not hold
  std::string fermata;                        // "nessun file telematico scritto; il file precedente e' rimasto com'era"
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
