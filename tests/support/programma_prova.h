// Test support: the command line run as a script or a user would run it, in this process or as
// the real program in a child process.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quibold::prova {

struct EsitoProgramma {
  int stato = -1;        // exit status, -1 when the program did not exit by itself
  int segnale = 0;       // the signal that ended it, if one did
  bool scaduto = false;  // still running after the time allowed, and killed
  std::string uscita;
  std::string errori;
};

struct OpzioniProgramma {
  long long limiteFile = -1;  // the largest file it may write (bytes), -1 for no limit
  bool senzaDiritti = false;  // run as an ordinary user without rights (when the tests run as root)
  int secondi = 30;
  std::string programma = QUIBOLD_EXE;  // the program to run
};

// Runs the program with `argomenti`, standard input from /dev/null, its output caught in files
// of `cartella` (which must exist and, for a run without rights, be writable by anybody).
EsitoProgramma EseguiProgramma(const std::vector<std::string>& argomenti, const std::filesystem::path& cartella,
                               const OpzioniProgramma& opzioni = {});

// Runs the command line in this process, without a window, its terminal in memory: `ingresso` is
// what the terminal answers, `interattivo` whether it can answer questions.
EsitoProgramma EseguiComando(const std::vector<std::string>& argomenti, const std::string& ingresso = "",
                             bool interattivo = false);

// The user that a run without rights runs as.
inline constexpr unsigned kUtenteSenzaDiritti = 65534;

}  // namespace quibold::prova
