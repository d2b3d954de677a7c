// The reconciliation report of a run and its hand-off to the text viewer.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "sistema/sistema.h"
#include "telematic/telematico.h"

namespace quibold {

class StatoFinestra;

// A line of the report's totals: its label (31 characters) and the total it prints.
struct RigaTotale {
  std::string_view etichetta;
  IndiceTotale totale;
};
// The lines of the totals, in the report's order: each total once.
std::span<const RigaTotale> RigheTotali();

// Writes `contenuto` to a file written anew (FileNuovo): the file of that name stays as it is
// until the new one is complete and on the disk. False, with the reason in `errore`, when any
// step failed; `nome` is the file's name as shown (Windows-1252).
[[nodiscard]] bool ScriviFile(Sistema& sistema, const std::filesystem::path& file, std::string_view nome,
                              const std::string& contenuto, std::string& errore);

// A total as the report prints it: rounded to cents, a blank (or "-" for a negative), plain
// decimal notation (never an exponent) with at most 15 significant digits, `separatore` as
// decimal point and only the decimals needed, then one blank.
std::string FormatoTotale(double valore, char separatore);

// The decimal separator of the system's regional settings ("." when they cannot be read).
char SeparatoreDecimaleDiSistema();

// The report's lines and the batch file's lines, each ending in CR LF (Windows-1252 bytes).
std::string TestoReport(const StatoFinestra& finestra, char separatore);
std::string TestoBatch(std::string_view disco);

// Writes report.txt and avstp.bat, created anew. Returns the report's native path, or nothing
// after an error box naming the file that could not be written and why.
[[nodiscard]] std::optional<std::filesystem::path> ScriviReport(StatoFinestra& finestra, char separatore);

// Writes both files, hands the report to the text viewer of the window's platform and ends the
// program (the window's: the command line's platform ends nothing). A box names the report
// before the viewer is started (unless the state's DiceDoveIlReport is false), and another says
// why when the viewer could not be. Whether the report was written and its viewer took it.
[[nodiscard]] bool StampaReport(StatoFinestra& finestra);

}  // namespace quibold
