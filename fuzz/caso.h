// One case of the fuzzer: bytes read as the window's choices, a certification header file and an
// employee file; the run of the window over them on a drive root; and the promises every run
// must keep. The fuzzer and the tests share it, so that every stored input is checked alike.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/sistema_memoria.h"

namespace quibold::collaudo {

// What the user does in the window, from the first kLungScelte bytes of a case.
struct Scelte {
  int tipo = 0;            // entry of the supply-type list: 0 N, 1 A, 2 S, 3 T; 4-7 none chosen
  bool tipoPrima = false;  // the supply type is chosen before the certification is opened
  bool apre = true;        // types the code and opens the certification; else picks list entry 1
  bool report = false;     // asks for the report (answering the question below)
  int uscita = 0;          // where the output goes: one of kUscite
  uint8_t risposte = 0;    // bit i answers the i-th Yes/No question (1 Yes); later ones No
  // Bits 0-4: fields 2, 3, 4, 8 and 9 are typed with the texts below, else left as the window
  // has them; bit 5: the code typed to open the certification is `codice`, else "1".
  uint8_t battuti = 0;
  std::string codice, protocollo, progressivo, record, tipoImpegno, dataImpegno;
};

// Where a case puts its output file: folder (field 5, empty for the window's own) and name
// (field 6, empty for the window's own), and whether that is a file of the archive.
struct Uscita {
  const char* cartella;
  const char* nome;
  bool dellArchivio;  // names a file the run must refuse to write
};
// clang-format off
inline constexpr Uscita kUscite[8] = {
    {"", "", false},                                          // the window's default: the archive folder
    {"C:\\out\\", "", false},
    {"", "DCU1.018", true},
    {"C:\\VORN\\quelt\\2017\\DATI\\", "fcu1.018", true},
    {"c:\\", "DISCO.UTE", true},
    {"C:\\vorn\\QUELT\\2017\\dati\\", "report.txt", true},
    {"C:\\manca\\", "", false},                               // a folder that does not exist
    {"C:\\vorn\\quelt\\2017\\", "dati", false},               // a folder, not a file
};
// clang-format on

// The widths of the choices' text slots, in order: code, protocol, progressive, record,
// commitment type, commitment date. A text ends at its first NUL.
inline constexpr int kLarghezze[6] = {4, 17, 6, 12, 2, 10};
inline constexpr size_t kLungScelte = 3 + 4 + 17 + 6 + 12 + 2 + 10;
inline constexpr size_t kLungFileTestata = 2 * 1200;

// A case: the choices, then up to two header records (the header file), then the employee file
// (whatever length is left).
struct Caso {
  Scelte scelte;
  std::string testata;
  std::string dipendenti;
};

Caso LeggiCaso(std::string_view dati);
std::string ScriviCaso(const Caso& caso);

// A drive root for the cases of a process: in memory (the disk adds nothing to what a case
// shows), or on the disk in $QUIBOLD_FUZZ_RADICI when it is set, so that a fuzzer that stops on
// a fault leaves the case's files behind. Emptied before each case.
class Banco {
 public:
  Banco();
  ~Banco();
  Banco(const Banco&) = delete;
  Banco& operator=(const Banco&) = delete;
  const std::filesystem::path& radice() const { return radice_; }
  Sistema& sistema() const;
  // Drive c anew, with the given files (paths under the root) and folders.
  void Prepara(const std::vector<std::pair<std::filesystem::path, std::string_view>>& file,
               const std::vector<std::filesystem::path>& cartelle) const;
  // The bytes of an ordinary file (a native path); nothing for anything else.
  std::string Leggi(const std::filesystem::path& nativo) const;

 private:
  std::unique_ptr<prova::SistemaInMemoria> memoria_;
  std::filesystem::path radice_;
};

struct Esito {
  bool riuscito = false;                // the run button reported a complete file
  std::vector<std::string> violazioni;  // what the run did wrong, one line each
  std::string uscita;                   // the telematic file as the run left it
};

// Runs the case on the root: writes its archive as certification 1 on drive C, works the window as
// the choices say and presses the run button. The run must either complete (closing message, a
// file ending in record Z that passes the check with no error) or stop with a message and leave
// no record Z; the archive files must be as they were.
Esito ProvaCaso(const Banco& banco, std::string_view dati);

}  // namespace quibold::collaudo
