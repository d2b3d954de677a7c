// `quibold crea --tutte`: a service bureau's day in one command. The normal supply of every
// certification that the start-up lists, each made as `quibold crea --codice N --tipo N` makes
// it, two or more at a time, with a progress line per certification and a summary to reconcile.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/riga_comando.h"

namespace CLI {
class App;
}

namespace quibold {

struct OpzioniTutte {
  bool tutte = false;
  bool json = false;  // the summary as JSON on standard output
  // Taken from the options of `crea` (UTF-8): the output folder as the window's field takes it,
  // the commitment for certifications whose header has none, the answer to any question.
  std::optional<std::string> cartella, tipoImpegno, dataImpegno;
  std::filesystem::path cartellaNativa;  // the folder as it is, when the code page cannot write it
  std::optional<bool> conferma;
  // Certifications made at a time; 0 for one per core.
  unsigned fili = 0;
};

// Adds --tutte and --json to the subcommand `crea`, whose --codice is then needed only without
// --tutte; the options that name one employee, one file or the report exclude --tutte.
void RegistraTutte(CLI::App& crea, OpzioniTutte& o);

// Makes every certification of the archive into TCU<N>18 in the output folder (the archive
// folder by default). The start-up runs once, and its messages are printed once. Each
// certification then has its own channels, paths, messages and window state, so that two are
// made at once where there are two cores; its messages are gathered and printed, on the error
// stream, under its progress line, in the order of the archive whatever the order they end in.
// A question is never asked at the terminal: `conferma` answers it, else the answer is no.
// Returns 0 when every file was created, 1 when any was not (or the archive lists none).
int EseguiTutte(const OpzioniTutte& o, const std::filesystem::path& radice, Terminale& t,
                Sistema& sistema = SistemaReale());

}  // namespace quibold
