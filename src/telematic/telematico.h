// The writer of the telematic file: one run from the window's fields to record Z.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "archive/testata.h"
#include "recfile/canali.h"
#include "verifica/verifica.h"

namespace quibold {

// The run totals by index (1 to 30; 0 unused).
using Totali = std::array<double, 31>;

// What a run leaves for the report: the header fields as the writer split them and the totals;
// and the warnings of the check of the file it wrote.
struct StatoRun {
  Testata testata;
  Totali Totale{};
  std::vector<Rilievo> avvisi;
  long numeroAvvisi = 0;
};

// What the writer takes from the window.
struct DatiFinestra {
  std::string CodiceCU;
  std::string Disco;
  std::string PercorsoDati;
  int FlagSingola = 0;
  std::array<std::string, 12> Tx;  // Tx(1) to Tx(9) are read
  // Sets the window's progress caption.
  std::function<void(const std::string&)> Didascalia;
};

// Writes the telematic file. Shows every message itself (the checks' messages in an "Accesso"
// error box, the closing message when the file is complete) and returns true only when the file
// was written completely, record Z included, and its check found no error.
bool ScriviTelematico(Canali& canali, const DatiFinestra& finestra, StatoRun& run);

}  // namespace quibold
