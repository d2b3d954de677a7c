// `quibold verifica FILE [--json]`: the structural check of a telematic file before sending.
#pragma once

#include <filesystem>
#include <string>

#include "app/riga_comando.h"

namespace CLI {
class App;
}

namespace quibold {

struct OpzioniVerifica {
  std::string file;
  bool json = false;
};

// Adds the subcommand to `app`; its values land in `o`.
CLI::App* RegistraVerifica(CLI::App& app, OpzioniVerifica& o);

// Checks the file and prints one line per finding and a summary (or the findings as a JSON
// array). FILE is a path of this machine, relative to the current folder, unless it begins with
// a drive "X:" or "\", which name it under the drive root. Returns 0 when the file has no
// errors (warnings allowed), 1 when it has, 2 when it cannot be read.
int EseguiVerifica(const OpzioniVerifica& o, const std::filesystem::path& radice, Terminale& t,
                   Sistema& sistema = SistemaReale());

}  // namespace quibold
