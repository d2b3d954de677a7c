// `quibold verifica FILE... [--json]`: the structural check of telematic files before sending.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/riga_comando.h"

namespace CLI {
class App;
}

namespace quibold {

struct OpzioniVerifica {
  std::vector<std::string> file;
  bool json = false;
};

// "1 avviso", "2 avvisi": a count and its noun.
std::string Quanti(long n, const char* uno, const char* molti);

// Adds the subcommand to `app`; its values land in `o`.
CLI::App* RegistraVerifica(CLI::App& app, OpzioniVerifica& o);

// Checks each file and prints one line per finding and its summary (or the findings as a JSON
// array, the summaries on the error stream). FILE is a path of this machine, relative to the
// current folder, unless it begins with a drive "X:" or "\", which name it under the drive
// root. With several files every line begins with the file's name, and a total follows. Returns
// 0 when no file has errors (warnings allowed), 1 when one has, 2 when one cannot be read or the
// findings cannot be written.
int EseguiVerifica(const OpzioniVerifica& o, const std::filesystem::path& radice, Terminale& t,
                   Sistema& sistema = SistemaReale());

}  // namespace quibold
