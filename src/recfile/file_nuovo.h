// A file written anew without harm to the one it replaces, nor to anything else at a name it uses.
//
// It is written into a file that the run makes itself, exclusively, under a new name beside the
// file's own (its name, a dot, eight random letters or digits, ".incompleto"): never a name that
// was there, whatever was there (a link, another run's file). Only once it is complete, on the
// disk and closed, and still the very file the run made, does it take its own name, replacing the
// file of that name; until then that file (or its absence) stays exactly as it was, whatever stops
// the writing: an error, a refusal, the end of the process.
//
// The name's lock: every run that writes a file locks (Sistema::Blocca) one name beside it, the
// file's name followed by ".blocco.incompleto", an empty file that receives no data, made when
// missing and removed by the run that holds it as it ends. A second run on the same file finds
// the lock taken and stops; one that opened the lock's file just as another removed it finds,
// once it holds the lock, that the name no longer names what it locked, and opens it anew. A
// killed run leaves its lock's file behind (the lock itself goes with the process): the next run on
// the same name finds it there and, holding the lock, removes the temporary files of that name
// that no run holds. A name longer than 200 characters is cut short, with a hash of the whole in
// place of the rest, so that the names beside it fit wherever the file's own name fits.
//
// On a file system that keeps no locks, or keeps them for this machine alone (a FUSE mount of a
// share), the runs go on without one: each writes a file of its own, never another's, the last to
// take the name wins, and no run removes a temporary file that may be another's.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "sistema/sistema.h"

namespace quibold {

// The first `quanti` bytes of the file `nativo` (its links followed), fewer when it is shorter,
// to tell what a new file of that name would replace: nothing and `esiste` false when there is no
// file of that name. The error number, or 0.
[[nodiscard]] int LeggiInizio(Sistema& sistema, const std::filesystem::path& nativo, size_t quanti, std::string& inizio,
                              bool& esiste);

// What a name holds now: 0, and nothing or the identity of the file there (its links followed);
// an error number when that cannot be told (the look itself failed).
[[nodiscard]] int ContenutoNome(Sistema& sistema, const std::filesystem::path& nativo,
                                std::optional<IdentitaFile>& identita);

// Whether a name ends as the names that the program gives its own files beside a file it writes
// (".incompleto", in any case).
bool NomeDiServizio(const std::filesystem::path& nativo);

class FileNuovo {
 public:
  // What the file's name holds once the file was abandoned or could not be made safe.
  enum class Nome {
    Precedente,     // what it held before the run, as far as this run is concerned
    Tolto,          // nothing: the new file replaced the one before, could not be made safe, and was taken away
    NonConfermato,  // the new file, which the disk did not confirm and which could not be taken away
  };
  // Why a file could not be made, beyond its error number.
  enum class Causa {
    Nessuna,         // none but the error number's
    NomeDiServizio,  // the name ends as the program's own names beside a file
    NomeLungo,       // the name is longer than a file system allows
    SolaLettura,     // the file to be replaced is read-only
    InUso,           // another run writes the same file: its lock is taken
    NomeOccupato,    // the lock's name holds what is no lock of the program's (nomeCausa())
    Cartella,        // the folder takes no new file (read-only, no right to write)
    NonUnFile,       // the name names a folder, or what is no ordinary file
    Cambiato,        // the file written is no longer under its temporary name as it was made
    Rinomina,        // the file written could not take its name
  };

  explicit FileNuovo(Sistema& sistema) : sistema_(sistema) {}
  ~FileNuovo() { Abbandona(); }
  FileNuovo(const FileNuovo&) = delete;
  FileNuovo& operator=(const FileNuovo&) = delete;

  // Locks the name `nativo` (its links followed) and makes the file that the run writes in place of
  // the file of that name: read and write, empty. The error number, or 0: kFileGiaAperto when
  // another run writes the same file; causa() tells more. On a file system that keeps no locks the
  // file is written without one. REQUIRES: no file open.
  [[nodiscard]] int Apri(const std::filesystem::path& nativo);
  bool Aperto() const { return file_ != kNessunFile; }
  Maniglia file() const { return file_; }

  // Sends the written file to stable storage and closes it, then, once it is known to be still the
  // file written, gives it its name (replacing the file there), sends the folder to stable storage
  // too and lets the lock go. The error number, or 0. On a failure before the rename
  // (`creazione()` tells whether the file was written whole, and only its name failed) the
  // temporary file is removed and the name holds what it held; after it, the new file is taken
  // away again if it can be (nome() tells). REQUIRES: a file open.
  [[nodiscard]] int Consegna();
  // Closes and removes the file written and lets the lock go; the name holds what it held.
  // Nothing when no file is open.
  void Abbandona();

  bool creazione() const { return creazione_; }
  Nome nome() const { return nome_; }
  Causa causa() const { return causa_; }
  // The name the cause concerns: the lock's, the temporary file's, the folder's or the file's own.
  const std::filesystem::path& nomeCausa() const { return nomeCausa_; }
  // Whether the file system kept no lock for every run (see above).
  bool senzaBlocchi() const { return senzaBlocchi_; }

 private:
  [[nodiscard]] int Fallisce(int errore, Causa causa, const std::filesystem::path& nome);
  // Takes the name's lock; the error number, or 0.
  [[nodiscard]] int Blocca();
  // Removes the temporary files of the name that killed runs left.
  void TogliAvanzi(const std::filesystem::path& base);
  // Removes the temporary file, unless the name now names another file.
  void TogliTemporaneo();
  // Removes the lock's file (while it still names the file locked) and lets the lock go.
  void LasciaBlocco();

  Sistema& sistema_;
  std::filesystem::path destinazione_;  // the file's own name, its links followed
  std::filesystem::path temporaneo_;
  std::filesystem::path blocco_;
  Maniglia file_ = kNessunFile;
  Maniglia bloccoFile_ = kNessunFile;
  IdentitaFile identita_;
  IdentitaFile identitaBlocco_;
  bool creazione_ = false;
  bool senzaBlocchi_ = false;
  Nome nome_ = Nome::Precedente;
  Causa causa_ = Causa::Nessuna;
  std::filesystem::path nomeCausa_;
};

// Why a file may not be written under the name `nativo`, whatever is there: a name of the program's
// own (NomeDiServizio), or one longer than a file system allows. Causa::Nessuna when it may be.
FileNuovo::Causa CausaDelNome(const std::filesystem::path& nativo);

// What happened, in a few Italian words for the line under a failed creation's message: `causa`
// and `nome` as FileNuovo tells them, `errore` the error number, `file` the file's name as the
// office gave it (Windows-1252), from which the names of its folder and of the names beside it
// are shown.
std::string TestoCausa(FileNuovo::Causa causa, const std::filesystem::path& nome, int errore, std::string_view file);
inline std::string TestoCausa(const FileNuovo& nuovo, int errore, std::string_view file) {
  return TestoCausa(nuovo.causa(), nuovo.nomeCausa(), errore, file);
}

}  // namespace quibold
