// A telematic file shown employee by employee, for the window's view and for `quibold mostra`:
// the file read through the check (Prospetto), its columns (the employee, one per line of the
// report's totals, the check's counts), their texts, the CSV of the table, and, for a file that a
// run has just written, where its sums differ from the report's totals and why.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sistema/sistema.h"
#include "telematic/telematico.h"
#include "verifica/prospetto.h"

namespace quibold {

// How the reading of a file went.
enum class Lettura { Letta, NonOrdinario, Illeggibile, ErroreDiLettura };

// Hands `record` the records of the open file `f`, 1900 bytes each (the last may be shorter), read
// a block at a time. 0, or the error number of a read that failed.
int LeggiRecordTelematici(Sistema& sistema, Maniglia f, const std::function<void(std::string_view)>& record);

// Hands `record` the records of the file `percorso`. Only an ordinary file is read: a FIFO would
// wait for a writer, a device never end; a Windows device's name (`nome`, as given) is refused
// before anything opens it.
Lettura LeggiTelematico(Sistema& sistema, const std::filesystem::path& percorso, std::string_view nome,
                        const std::function<void(std::string_view)>& record);
// What a reading that failed says, as `quibold verifica` says it: "impossibile leggere NOME: ...".
std::string TestoLettura(Lettura lettura, std::string_view nome);

// The columns of the table.
enum class TipoColonna : uint8_t { Progressivo, CodiceFiscale, Cognome, Nome, Totale, Errori, Avvisi };
struct Colonna {
  std::string titolo;  // the report's label, without its blanks, for a total
  TipoColonna tipo;
  IndiceTotale totale = kNessunTotale;
};
const std::vector<Colonna>& ColonneVista();

// An amount of cents with `separatore` and two decimals ("1234,50"); a count for kDipendenti.
std::string TestoSomma(long long valore, IndiceTotale totale, char separatore);

// The text of a cell (the file's bytes for the employee's texts), amounts with `separatore`.
std::string Cella(const DipendenteNelFile& d, const Colonna& c, char separatore);

// A difference between the report's totals of the run that wrote a file and the sums of the file:
// an amount the report counts that the file does not hold (below 0), or one nothing explains.
struct Differenza {
  long progressivo;  // of the employee in the file; 0 when the line's sum differs as a whole
  IndiceTotale totale;
  long long report, file;                                     // the report's total and the file's sum, in cents
  std::string dipendente;                                     // as the archive knows them (Windows-1252)
  std::vector<std::pair<std::string, long long>> nonScritti;  // the codes and amounts not written
};
// Where the sums of the file `p`, just written by the run `run`, differ from the run's totals:
// every amount the totals count and the file does not hold, and any line that these do not
// explain (a fault of the program: none is expected).
std::vector<Differenza> Differenze(const StatoRun& run, const Prospetto& p);
// A difference as a line for the office (Windows-1252).
std::string TestoDifferenza(const Differenza& d, char separatore);

// The file read, as the window's view and the command line show it.
class VistaFile;
// What a file that is no CUR18 file gets, in a box or on the error stream: its name, the check's
// first error and its summary (Windows-1252).
std::string TestoNonCur18(const VistaFile& vista);

class VistaFile {
 public:
  // The file `nome` (UTF-8, as the user named it) read from `percorso`.
  Lettura Leggi(Sistema& sistema, const std::filesystem::path& percorso, const std::string& nome);
  // For the file a run has just written: its differences from the run's totals.
  void Confronta(const StatoRun& run);

  const Prospetto& prospetto() const { return *prospetto_; }
  const std::string& Nome() const { return nome_; }
  // The supply, the withholding agent and the check's summary, a line each (Windows-1252).
  std::vector<std::string> Intestazione() const;
  // The employees' rows, then the sums row (the last).
  size_t Righe() const { return prospetto_->Dipendenti().size() + 1; }
  bool RigaSomme(size_t riga) const { return riga + 1 == Righe(); }
  std::string Testo(size_t riga, size_t colonna, char separatore) const;
  // What the column sorts by: the amount or count, else 0 (the text sorts).
  long long Numero(size_t riga, size_t colonna) const;
  // Whether the check found errors in the row's records, and warnings.
  bool ConErrori(size_t riga) const;
  bool ConAvvisi(size_t riga) const;
  // Whether the row's sums differ from the report's totals of the run that wrote the file.
  bool Differente(size_t riga) const;
  // The check's findings of the row's records (of the file's own records for the sums row), a line
  // each with the employee under it, and the differences from the report; Windows-1252.
  std::string Rilievi(size_t riga, char separatore) const;
  const std::vector<Differenza>& differenze() const { return differenze_; }

  // The table as CSV for a spreadsheet of an Italian office: UTF-8 with a byte-order mark, ";"
  // between cells, decimal comma, CR LF; the supply's lines first, then a header row, the rows
  // and the sums row.
  std::string Csv() const;
  // Saves the CSV (set by the window's state: it asks where, and says what failed).
  std::function<void()> SalvaComeCsv;

 private:
  const DipendenteNelFile& Dipendente(size_t riga) const;

  std::unique_ptr<Prospetto> prospetto_ = std::make_unique<Prospetto>();
  std::string nome_;
  DipendenteNelFile somme_;  // the sums row
  std::vector<Differenza> differenze_;
};

}  // namespace quibold
