// `quibold mostra FILE [--csv | --json]`: a telematic file, ours or another program's, checked and
// shown employee by employee, with the sums of the lines of the report's totals.
#pragma once

#include <filesystem>
#include <string>

#include "app/riga_comando.h"

namespace CLI {
class App;
}

namespace quibold {

struct OpzioniMostra {
  std::string file;
  bool csv = false;   // the table as CSV for a spreadsheet on standard output
  bool json = false;  // the table as JSON on standard output
};

// Adds the subcommand to `app`; its values land in `o`.
CLI::App* RegistraMostra(CLI::App& app, OpzioniMostra& o);

// Reads the file through the check and prints the supply's data, then one row per employee
// (progressive, fiscal code, surname, name, the sums of the report's lines, the check's errors
// and warnings in the employee's records), then the sums row and the check's summary; as CSV or
// JSON the same, the summary on the error stream. FILE is named as for `quibold verifica`. A file
// that cannot be read, or is no CUR18 file, gets the check's message and status. Returns a
// StatoVerifica.
int EseguiMostra(const OpzioniMostra& o, const std::filesystem::path& radice, Terminale& t,
                 Sistema& sistema = SistemaReale());

}  // namespace quibold
