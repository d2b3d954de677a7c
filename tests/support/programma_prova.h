// Test support: the command line run as a script or a user would run it, in this process or as
// the real program in a child process.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "sistema/sistema.h"
#include "support/luoghi_prova.h"
#include "ui/piattaforma.h"

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
  // Run as an ordinary user without rights (when the tests run as root), from a copy of the
  // program in a temporary folder that the user can reach wherever the build is.
  bool senzaDiritti = false;
  int secondi = 30;
  std::string programma = kProgrammaQuibold;  // the program to run
  std::vector<std::string> ambiente = {};     // "NOME=valore" added to its environment
  bool uscitaRotta = false;                   // its standard output a pipe that nobody reads any more
};

// Runs the program with `argomenti`, standard input from /dev/null, its output caught in files
// of `cartella` (which must exist). A run without rights whose copy that user still cannot start
// ends with status 127.
EsitoProgramma EseguiProgramma(const std::vector<std::string>& argomenti, const std::filesystem::path& cartella,
                               const OpzioniProgramma& opzioni = {});

// What the command line run in this process has besides its arguments.
struct OpzioniComando {
  std::string ingresso = {};                                       // what its terminal answers
  bool interattivo = false;                                        // whether the terminal can answer questions
  Sistema* sistema = nullptr;                                      // its files and names; the disk's when none
  Piattaforma* visualizzatore = nullptr;                           // the report's viewer; the terminal when none
  bool uscitaRotta = false;                                        // its output a stream that fails
  std::function<int(const std::filesystem::path&)> finestra = {};  // the window; none when empty
};

// Runs the command line in this process, its terminal in memory.
EsitoProgramma EseguiComando(const std::vector<std::string>& argomenti, const OpzioniComando& opzioni = {});

// The arguments of `crea` over the drive root `radice`, then `altre`: certification 1 and the
// folder C:\telematici\ unless `altre` names a code (or all of them), or a folder.
std::vector<std::string> ArgomentiCrea(const std::filesystem::path& radice, const std::vector<std::string>& altre = {});

// Under Wine, runs `comando` in the shell of the machine below, where what Windows cannot make is
// made (a symbolic link, a FIFO, a mount): its paths are those of PercorsoUnix. False on a real
// Windows, and when the command failed. Elsewhere, false.
bool ComandoUnix(const std::string& comando);
// The path of the machine below for a path of Wine's; empty on a real Windows, and elsewhere.
std::string PercorsoUnix(const std::filesystem::path& percorso);

// The user that a run without rights runs as.
inline constexpr unsigned kUtenteSenzaDiritti = 65534;

}  // namespace quibold::prova
