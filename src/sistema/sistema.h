// The platform layer: the one part of the program that speaks to the operating system, with a
// POSIX and a Windows implementation. Files and names go through `Sistema`, an interface, so that
// a test can put in one of its own (one that makes a chosen call fail, for instance); the
// process, the console and the regional settings are plain functions.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quibold {

#ifdef _WIN32
inline constexpr bool kWindows = true;
#else
inline constexpr bool kWindows = false;
#endif

// The error numbers of the record files, to which every error of the system is mapped.
enum ErroreFile : int {
  kCanaleNonAperto = 52,
  kFileNonTrovato = 53,
  kFileGiaAperto = 55,  // held by another run: its lock is taken
  kErroreIO = 57,
  kFileEsistente = 58,  // a file made anew (Apertura::Nuova) whose name is taken
  kDiscoPieno = 61,
  kOltreFineFile = 62,
  kNumeroRecordErrato = 63,
  kPermessoNegato = 70,
  kAccessoPercorso = 75,
  kPercorsoNonTrovato = 76,
};

// The error number of an error code of the system (errno on POSIX, GetLastError on Windows).
int ErroreDiSistema(int codice);

// What an error number means, in a few words ("percorso non trovato").
std::string_view DescrizioneErrore(int numero);

// Paths are UTF-8 text outside this layer. On Windows a path is UTF-16, and one built from a
// std::string would read its bytes in the ANSI code page: paths are made and shown only so.
std::filesystem::path PercorsoDaUtf8(std::string_view testo);
std::string Utf8DaPercorso(const std::filesystem::path& percorso);

// An open file: a descriptor on POSIX, a handle on Windows.
using Maniglia = std::intptr_t;
inline constexpr Maniglia kNessunFile = -1;

enum class Apertura {
  Binaria,     // read and write, else read only, else write only; a missing file is created empty
  Svuotata,    // write only; the file is created, or emptied when it exists
  Lettura,     // read only; the file must exist
  Uscita,      // read and write, else write only, nothing emptied; a missing file is created; the
               // open never waits (a FIFO without a reader fails at once rather than block)
  Temporanea,  // as Uscita, but a link is not followed (the open fails), the file may be renamed or
               // removed while it is open (Rinomina, Rimuovi), and one that this open creates can be
               // opened so by every user: a name that every run on a file shares (its lock)
  Nuova,       // read and write; a file made now, which no other open has had: kFileEsistente when
               // the name is taken, whatever takes it (a link is not followed); it may be renamed or
               // removed while it is open
};

enum class TipoFile { Nessuno, Ordinario, Cartella, Altro };

// An entry of a folder: its name (UTF-8), and whether it is an ordinary file when the reading of
// the folder already tells (a link, for instance, is not told).
struct VoceCartella {
  std::string_view nome;
  std::optional<bool> ordinario;
};

// What tells one file from every other: the device or volume, and the file's number on it; and,
// taking no part in the comparison, how many names the file has (hard links) and whether it is
// marked read-only (Windows' attribute; on POSIX its owner may not write it, as chmod u-w and a
// file manager's "read-only" leave it).
struct IdentitaFile {
  uint64_t volume = 0;
  uint64_t indice = 0;
  uint64_t nomi = 1;
  bool solaLettura = false;
  bool operator==(const IdentitaFile& altra) const { return volume == altra.volume && indice == altra.indice; }
};

// The byte that every run locks, in the Windows build and the POSIX one alike, so that both (and
// Windows clients of a share) see one lock: far beyond any real end of file, since Windows' locks
// are mandatory and a lock on the file's own bytes would stop every other program reading them.
inline constexpr long long kByteBloccato = 0x7FFFFFFFFFFFFFFELL;

// The files and names of the system. Each file operation returns 0 or the error number of its
// failure; an interrupted call is made again. Calls on different open files may come from two
// threads at once (a channel's block is written beside while another channel is read).
class Sistema {
 public:
  virtual ~Sistema() = default;

  [[nodiscard]] virtual int Apri(const std::filesystem::path& nativo, Apertura modo, Maniglia& file) = 0;
  // At most `quanti` bytes from byte `posizione`; `letti` is 0 at the end of the file.
  [[nodiscard]] virtual int Leggi(Maniglia file, char* dove, size_t quanti, long long posizione, size_t& letti) = 0;
  // At most `quanti` bytes at byte `posizione`, extending the file; `scritti` says how many.
  [[nodiscard]] virtual int Scrivi(Maniglia file, const char* da, size_t quanti, long long posizione,
                                   size_t& scritti) = 0;
  [[nodiscard]] virtual int Tronca(Maniglia file, long long lunghezza) = 0;
  // The kind and the size of an open file.
  [[nodiscard]] virtual int Descrivi(Maniglia file, TipoFile& tipo, long long& dimensione) = 0;
  // Sends what was written to the file to stable storage (the disk, the share's server).
  [[nodiscard]] virtual int Sincronizza(Maniglia file) = 0;
  // Asks the system to start sending `quanti` bytes from `posizione`, just written, to stable
  // storage, without waiting for them: a later Sincronizza then waits for less. Only a hint: a
  // system that cannot take it ignores it, and no failure is told here (Sincronizza tells).
  virtual void AvviaSincronia(Maniglia, long long, size_t) {}
  // Takes the lock of kByteBloccato for this open, without waiting: kFileGiaAperto when another
  // open (this process's or another's, on this machine or a client of the same share) holds it;
  // another error number when the file system keeps no locks, or keeps them for this machine
  // alone (a FUSE mount of a share: a run on the server or through another machine's mount would
  // not see them), in which case the lock is held for this machine's runs when it could be taken.
  // Closing the file lets it go; no other open or close of the file does. REQUIRES: a file open
  // for writing.
  [[nodiscard]] virtual int Blocca(Maniglia file) = 0;
  // The identity of an open file (as Identita gives it for a name).
  [[nodiscard]] virtual int IdentitaAperto(Maniglia file, IdentitaFile& identita) = 0;
  // Closes the file; an error is a failure of what was written (a share reports its failed
  // write-back here). The file is closed whatever the result.
  [[nodiscard]] virtual int Chiudi(Maniglia file) = 0;

  // The kind of what a name names, links followed: Nessuno also when it cannot be told.
  virtual TipoFile Tipo(const std::filesystem::path& nativo) = 0;
  // Whether a folder has an entry of that name, even a link that leads nowhere.
  virtual bool Presente(const std::filesystem::path& nativo) = 0;
  // The entries of a folder (neither "." nor ".."), from one reading of it; calls `voce` for each
  // until it returns false. False when the folder cannot be read.
  [[nodiscard]] virtual bool Elenca(const std::filesystem::path& cartella,
                                    const std::function<bool(const VoceCartella&)>& voce) = 0;
  // Gives the file `da` the name `a`, in the same folder, replacing the file of that name at once
  // (a reader finds either the one or the other, never neither nor half). `da` may be open with
  // Apertura::Temporanea. Durable only once the folder is synchronized (SincronizzaCartella).
  [[nodiscard]] virtual int Rinomina(const std::filesystem::path& da, const std::filesystem::path& a) = 0;
  // Removes the name `nativo` (not what a link leads to); a file open with Apertura::Temporanea
  // is gone once it is closed.
  [[nodiscard]] virtual int Rimuovi(const std::filesystem::path& nativo) = 0;
  // Sends the names of a folder (the ones Rinomina and Rimuovi changed) to stable storage.
  [[nodiscard]] virtual int SincronizzaCartella(const std::filesystem::path& cartella) = 0;

  // The identity of an existing file (links followed); nothing when there is none.
  virtual std::optional<IdentitaFile> Identita(const std::filesystem::path& nativo) = 0;
  // The absolute path, with "." and ".." and the links of its existing part resolved, the last
  // name's too, even a link that leads to nothing yet (its target is the path); empty when it
  // cannot be told.
  virtual std::filesystem::path Risolto(const std::filesystem::path& nativo) = 0;
};

// The system of this machine, for the whole process.
Sistema& SistemaReale();

// --- Names outside the archive ---

// An environment variable as UTF-8 text; nothing when it is not set.
std::optional<std::string> Ambiente(const char* nome);
// The drive root when neither the command line nor the environment gives one: on POSIX
// ${XDG_DATA_HOME:-$HOME/.local/share}/quibold; on Windows none (empty), the real drives.
std::filesystem::path RadicePredefinita();
// An argument of a Windows command line, quoted where it must be so that the program started
// reads it back as it is (backslashes before a quote doubled).
std::string ArgomentoQuotato(std::string_view argomento);
// The process's current folder; empty when it cannot be told (it was removed, say).
std::filesystem::path CartellaCorrente();
// `percorso` made absolute from the current folder (as it is when that cannot be told).
std::filesystem::path Assoluto(const std::filesystem::path& percorso);
// A new empty folder in `base`, its name `prefisso` and a few random characters.
std::filesystem::path CartellaTemporanea(const std::filesystem::path& base, std::string_view prefisso);

// --- The process ---

// The environment variable that tells a program that another handed the process over to it.
inline constexpr char kVariabilePassaggio[] = "QUIBOLD_PASSATO";

// Before anything else: no signal for a write past the size limit or into a closed pipe (the
// write fails instead, and is reported); on Windows, standard output and error in binary mode
// (lines end in LF) and the console showing UTF-8.
void PreparaProcesso();
// The arguments as UTF-8 (on Windows from the wide command line: argv has the ANSI code page's).
std::vector<std::string> ArgomentiUtf8(int argc, char** argv);
// Whether standard input is a terminal that can answer a question.
bool IngressoInterattivo();
// This program's file; empty when it cannot be told.
std::filesystem::path QuestoProgramma();
// The program `nome` in this program's folder ("nome.exe" on Windows); empty when it is not there.
std::filesystem::path ProgrammaAccanto(std::string_view nome);
// Whether `programma` is this program after all: the same file (a link to it), the same bytes (a
// copy), or this process was handed over already (a script that runs this program). Handing
// over to it would go on for ever.
bool StessoProgramma(const std::filesystem::path& programma);
// Hands the process over to `programma` with the same arguments (argomenti[0] is this program's
// name), telling it in its environment that it was handed over: on POSIX it replaces this
// process, on Windows it is started and this one is to end. Returns false, with the reason in
// `errore` (UTF-8), when it cannot be started.
[[nodiscard]] bool PassaAlProgramma(const std::filesystem::path& programma, const std::vector<std::string>& argomenti,
                                    std::string& errore);
// Hands the written report to the text viewer. On POSIX `lanciatore` opens the report, and one
// that ends in error within `attesa` has failed; on Windows the batch file is started, its window
// minimized, without waiting, when `visualizzatore`, the program it starts, is there (with an
// extension the command interpreter tries), and otherwise the report is opened with the system's
// viewer of text files. False, with the reason in `motivo` (UTF-8), when it failed.
[[nodiscard]] bool ApriReport(const std::filesystem::path& report, const std::filesystem::path& batch,
                              const std::filesystem::path& visualizzatore, const std::string& lanciatore,
                              std::chrono::milliseconds attesa, std::string& motivo);
// Ends the process at once, with the streams flushed: no destructors, no window events.
[[noreturn]] void TerminaSubito(int stato);

// The decimal separator of the user's regional settings ("." when they cannot be read).
char SeparatoreDecimale();

// Today on this machine's clock and time zone, as the number aaaammgg (20180315).
long OggiLocale();

}  // namespace quibold
