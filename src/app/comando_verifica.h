// `quibold verifica FILE... [--json]`: the structural check of telematic files before sending.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/riga_comando.h"
#include "recfile/percorsi.h"

namespace CLI {
class App;
}

namespace quibold {

// The exit statuses of `quibold verifica` (a wrong command line is kUscitaErroreUso, 2, too).
enum StatoVerifica : int {
  kVerificaSenzaErrori = 0,  // no file has errors: warnings allowed
  kVerificaConErrori = 1,    // a file has errors
  kVerificaIlleggibile = 2,  // a file cannot be read, or the findings cannot be written
};

struct OpzioniVerifica {
  std::vector<std::string> file;
  bool json = false;
};

// The native path of a file named on the command line: a path of this machine, relative to the
// current folder, unless it begins with a drive "X:" or "\\", which name it under the drive root;
// empty for such a path that the archive's code page cannot write ("?" in its place could name
// another file). On the real drives of Windows every path is native.
std::filesystem::path PercorsoFile(const std::string& file, const Percorsi& percorsi);

// "1 avviso", "2 avvisi": a count and its noun.
std::string Quanti(long n, const char* uno, const char* molti);

// Adds the subcommand to `app`; its values land in `o`.
CLI::App* RegistraVerifica(CLI::App& app, OpzioniVerifica& o);

// Checks each file and prints one line per finding and its summary (or the findings as a JSON
// array, the summaries on the error stream). FILE is a path of this machine, relative to the
// current folder, unless it begins with a drive "X:" or "\", which name it under the drive
// root. With several files every line begins with the file's name, and a total follows. Returns
// a StatoVerifica (a file that cannot be read, or findings that cannot be written, is
// kVerificaIlleggibile).
int EseguiVerifica(const OpzioniVerifica& o, const std::filesystem::path& radice, Terminale& t,
                   Sistema& sistema = SistemaReale());

}  // namespace quibold
