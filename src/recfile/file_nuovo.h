// A file written anew without harm to the one it replaces: it is written under a temporary name
// beside it, and takes its own name only once it is complete and on the disk. Until then the
// file of that name (or its absence) stays exactly as it was, whatever stops the writing: an
// error, a refusal, the end of the process.
//
// The temporary file is also the lock of the name: every run that writes a file opens the same
// temporary name and locks it (Sistema::Blocca) before it empties it, and keeps it locked until
// it has renamed it over the file or removed it. A second run on the same file finds the lock
// and stops; one that opened the temporary file just before the first renamed or removed it
// finds, once it holds the lock, that the name no longer names what it opened, and opens it
// anew. A temporary file left by a process that was killed holds no lock: the next run on the
// same file takes it up.
#pragma once

#include <filesystem>
#include <string>

#include "sistema/sistema.h"

namespace quibold {

// The name under which a file is written until it is complete: its own, then ".incompleto".
std::filesystem::path NomeTemporaneo(const std::filesystem::path& nativo);

// The first `quanti` bytes of the file `nativo` (its links followed), fewer when it is shorter,
// to tell what a new file of that name would replace: nothing and `esiste` false when there is no
// file of that name. The error number, or 0.
[[nodiscard]] int LeggiInizio(Sistema& sistema, const std::filesystem::path& nativo, size_t quanti, std::string& inizio,
                              bool& esiste);

class FileNuovo {
 public:
  // What the file's name holds once the file was abandoned or could not be made safe.
  enum class Nome {
    Precedente,     // the file that was there before, as it was, or nothing if there was none
    Tolto,          // nothing: the new file replaced the one before, could not be made safe, and was taken away
    NonConfermato,  // the new file, which the disk did not confirm and which could not be taken away
  };

  explicit FileNuovo(Sistema& sistema) : sistema_(sistema) {}
  ~FileNuovo() { Abbandona(); }
  FileNuovo(const FileNuovo&) = delete;
  FileNuovo& operator=(const FileNuovo&) = delete;

  // Opens the temporary file of `nativo` (its links followed) to be written anew: read and write,
  // else write only; made when missing, locked, and only then emptied. The error number, or 0:
  // kFileGiaAperto when another run writes the same file, kAccessoPercorso when the temporary
  // name is no ordinary file of one name (a link, a FIFO, a folder). On a file system that keeps
  // no locks the file is written without one. REQUIRES: no file open.
  [[nodiscard]] int Apri(const std::filesystem::path& nativo);
  bool Aperto() const { return file_ != kNessunFile; }
  Maniglia file() const { return file_; }

  // Sends the written file to stable storage, gives it its name (replacing the file there) and
  // sends the folder to stable storage too, then closes it. The error number, or 0. On a failure
  // before the rename (`rinomina()` tells whether the rename itself failed) the temporary file is
  // removed and the name holds what it held; after it, the new file is taken away again if it
  // can be (nome() tells). REQUIRES: a file open.
  [[nodiscard]] int Consegna();
  // Removes the temporary file and closes it; the name holds what it held. Nothing when no file
  // is open.
  void Abbandona();

  bool rinomina() const { return rinomina_; }
  Nome nome() const { return nome_; }

 private:
  Sistema& sistema_;
  std::filesystem::path destinazione_;  // the file's own name, its links followed
  std::filesystem::path temporaneo_;
  Maniglia file_ = kNessunFile;
  IdentitaFile identita_;
  bool rinomina_ = false;
  Nome nome_ = Nome::Precedente;
};

}  // namespace quibold
