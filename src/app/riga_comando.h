// The command line: `quibold [--radice DIR]` opens the window; `quibold crea ...` runs the
// creation without a window, driving the same window state.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>

#include "sistema/sistema.h"

namespace quibold {

struct StatoRun;
class StatoFinestra;
class Piattaforma;

struct Terminale {
  std::ostream& uscita;
  std::ostream& errori;
  std::istream& ingresso;
  bool interattivo;  // whether `ingresso` is a terminal that can answer questions
};

// The exit statuses of the command line.
enum StatoUscita : int {
  kUscitaCompleta = 0,     // the telematic file is complete (and the report written, when asked)
  kUscitaFermata = 1,      // the run stopped: no complete file
  kUscitaErroreUso = 2,    // the command line is wrong
  kUscitaSenzaReport = 3,  // the telematic file is complete, the report is not
};

// What `quibold crea` prints on the error stream once the telematic file is complete: the
// warnings of its check, a line each, and under one in an employee's records a line naming them.
void StampaAvvisi(const StatoRun& run, std::ostream& errori);
// What `quibold crea --report` prints on the error stream after the report: where the sums of the
// file just written, read back as `quibold mostra` reads it, differ from the report's totals, and
// why (an amount below 0 is counted by the report and never written), a line each.
void StampaDifferenze(StatoFinestra& stato, std::ostream& errori);

// The output folder (`cartella`) or file name given on the command line (UTF-8) as the window's
// field holds it, in the archive's code page, into `campo`. A character the code page lacks
// would become "?" and could name another file: the name is then refused, with a message naming
// it on `errori` (false), unless it is a folder given as a native path of an existing folder,
// which is used as it is: `nativa` is set to it, and the field shows what the code page can.
bool NomeDiUscita(const std::string& utf8, bool cartella, const std::filesystem::path& radice, Sistema& sistema,
                  std::ostream& errori, std::string& campo, std::filesystem::path& nativa);

// Chooses the supply type whose entry begins with `lettera` ("N", "A", "S", "T"), as a click on
// it in the window's list does.
void ScegliTipo(StatoFinestra& stato, char lettera);
// Where the window's output folder is a native folder that the code page cannot write (see
// NomeDiUscita: `nativa`), tells the paths of the state that its output is the file of that name
// in that very folder.
void RicordaUscitaNativa(StatoFinestra& stato, const std::filesystem::path& nativa);

// Runs the command line (arguments in UTF-8); `finestra` opens the window on a drive root and
// returns the exit status (absent when the program has no window); files and names go through
// `sistema`; the report of `crea --report` is handed off as the window hands it (StampaReport),
// to `visualizzatore`, by default to the terminal, which prints its path on the output. Returns
// one of the statuses above.
int EseguiRigaComando(int argc, const char* const* argv, Terminale terminale,
                      const std::function<int(const std::filesystem::path&)>& finestra,
                      Sistema& sistema = SistemaReale(), Piattaforma* visualizzatore = nullptr);

}  // namespace quibold
