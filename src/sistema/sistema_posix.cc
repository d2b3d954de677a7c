// The platform layer on POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cassert>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <thread>

#include "sistema/sistema.h"

extern char** environ;

namespace quibold {

int ErroreDiSistema(int codice) {
  switch (codice) {
    case EBADF: return kCanaleNonAperto;
    case EEXIST: return kFileEsistente;
    case ENOENT:
    case ENOTDIR: return kPercorsoNonTrovato;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return kDiscoPieno;
    case EACCES:
    case EPERM: return kPermessoNegato;
    case EISDIR:
    case EROFS:
    case ETXTBSY:
    case ELOOP:
    case ENAMETOOLONG: return kAccessoPercorso;
    default: return kErroreIO;
  }
}

std::filesystem::path PercorsoDaUtf8(std::string_view testo) { return std::filesystem::path(std::string(testo)); }
std::string Utf8DaPercorso(const std::filesystem::path& percorso) { return percorso.string(); }

namespace {

int Errore() { return ErroreDiSistema(errno); }

// A name just closed on a FUSE mount of a share (smbnetfs) may still be open on the server for a
// moment: the close reaches the file system's program after the call has returned, and the server
// refuses to rename or remove a file that is open (EBUSY). The call is made again a few times,
// waiting a little longer each time (1.3 seconds in all); what is still busy then is told.
template <typename Chiamata>
int SeOccupatoRiprova(Chiamata chiamata) {
  int r = chiamata();
  for (int volta = 0; r != 0 && errno == EBUSY && volta < 8; ++volta) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5 << volta));
    r = chiamata();
  }
  return r;
}

class SistemaPosix : public Sistema {
 public:
  int Apri(const std::filesystem::path& nativo, Apertura modo, Maniglia& file) override {
    const char* nome = nativo.c_str();
    int fd = -1;
    switch (modo) {
      case Apertura::Binaria:
        fd = ApriNome(nome, O_RDWR | O_CREAT);
        if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
          const int primo = errno;
          fd = ApriNome(nome, O_RDONLY);
          if (fd < 0) fd = ApriNome(nome, O_WRONLY);
          if (fd < 0) errno = primo;
        }
        break;
      case Apertura::Svuotata: fd = ApriNome(nome, O_WRONLY | O_CREAT | O_TRUNC); break;
      case Apertura::Lettura: fd = ApriNome(nome, O_RDONLY); break;
      case Apertura::Uscita: fd = ApriUscita(nome, O_CREAT); break;
      case Apertura::Temporanea:
        // Made now, it is made writable by every user, whatever the umask: another user's run
        // must be able to lock it. A name removed between the two opens is made again.
        for (int volte = 0; fd < 0 && volte < 8; ++volte) {
          fd = ApriNome(nome, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW);
          if (fd >= 0) {
            (void)::fchmod(fd, 0666);  // a lock that others cannot open is still this run's lock
          } else if (errno == EEXIST) {
            fd = ApriUscita(nome, O_NOFOLLOW);
          }
          if (fd < 0 && errno != ENOENT) break;
        }
        break;
      case Apertura::Nuova: fd = ApriNome(nome, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW); break;
    }
    if (fd < 0) return Errore();
    file = fd;
    return 0;
  }

  int Leggi(Maniglia file, char* dove, size_t quanti, long long posizione, size_t& letti) override {
    letti = 0;
    ssize_t r;
    do {
      r = ::pread(static_cast<int>(file), dove, quanti, static_cast<off_t>(posizione));
    } while (r < 0 && errno == EINTR);
    if (r < 0) return Errore();
    letti = static_cast<size_t>(r);
    return 0;
  }

  int Scrivi(Maniglia file, const char* da, size_t quanti, long long posizione, size_t& scritti) override {
    scritti = 0;
    ssize_t r;
    do {
      r = ::pwrite(static_cast<int>(file), da, quanti, static_cast<off_t>(posizione));
    } while (r < 0 && errno == EINTR);
    if (r < 0) return Errore();
    scritti = static_cast<size_t>(r);
    return 0;
  }

  int Tronca(Maniglia file, long long lunghezza) override {
    int r;
    do {
      r = ::ftruncate(static_cast<int>(file), static_cast<off_t>(lunghezza));
    } while (r != 0 && errno == EINTR);
    return r == 0 ? 0 : Errore();
  }

  int Descrivi(Maniglia file, TipoFile& tipo, long long& dimensione) override {
    struct stat st;
    if (::fstat(static_cast<int>(file), &st) != 0) return Errore();
    tipo = DaModo(st.st_mode);
    dimensione = static_cast<long long>(st.st_size);
    return 0;
  }

  int Sincronizza(Maniglia file) override {
    int r;
    do {
      r = ::fsync(static_cast<int>(file));
    } while (r != 0 && errno == EINTR);
    // A file that cannot be synchronized at all (a pipe, a terminal) holds nothing to keep.
    if (r != 0 && (errno == EINVAL || errno == EROFS)) return 0;
    return r == 0 ? 0 : Errore();
  }

#if defined(__linux__)
  void AvviaSincronia(Maniglia file, long long posizione, size_t quanti) override {
    (void)::sync_file_range(static_cast<int>(file), static_cast<off_t>(posizione), static_cast<off_t>(quanti),
                            SYNC_FILE_RANGE_WRITE);  // a hint: Sincronizza tells any failure
  }
#endif

  int Blocca(Maniglia file) override {
    assert((::fcntl(static_cast<int>(file), F_GETFL) & O_ACCMODE) !=
           O_RDONLY);  // a write lock needs a file open for writing
    // A record lock of the open file description, not of the process (as a plain fcntl lock
    // would be): closing another descriptor of the same file does not let it go. Record locks,
    // unlike flock's, are the ones that Wine's LockFileEx takes and that a share's server sees.
    struct flock blocco {};
    blocco.l_type = F_WRLCK;
    blocco.l_whence = SEEK_SET;
    blocco.l_start = static_cast<off_t>(kByteBloccato);
    blocco.l_len = 1;
    int r;
    do {
      r = ::fcntl(static_cast<int>(file), F_OFD_SETLK, &blocco);
    } while (r != 0 && errno == EINTR);
    if (r != 0) return errno == EAGAIN || errno == EACCES ? kFileGiaAperto : Errore();
    // A FUSE mount (a share through smbnetfs, sshfs) keeps its locks in this machine's kernel:
    // they bind the runs through the same mount, not those on the server or another machine.
    struct statfs fs;
    constexpr decltype(fs.f_type) kFuse = 0x65735546;
    if (::fstatfs(static_cast<int>(file), &fs) == 0 && fs.f_type == kFuse) return ErroreDiSistema(ENOLCK);
    return 0;
  }

  int IdentitaAperto(Maniglia file, IdentitaFile& identita) override {
    struct stat st;
    if (::fstat(static_cast<int>(file), &st) != 0) return Errore();
    identita = DaStat(st);
    return 0;
  }

  int Chiudi(Maniglia file) override {
    // After an interrupted close the descriptor is gone all the same: it is not closed again.
    if (::close(static_cast<int>(file)) != 0 && errno != EINTR) return Errore();
    return 0;
  }

  int Rinomina(const std::filesystem::path& da, const std::filesystem::path& a) override {
    return SeOccupatoRiprova([&] { return ::rename(da.c_str(), a.c_str()); }) == 0 ? 0 : Errore();
  }

  int Rimuovi(const std::filesystem::path& nativo) override {
    return SeOccupatoRiprova([&] { return ::unlink(nativo.c_str()); }) == 0 ? 0 : Errore();
  }

  int SincronizzaCartella(const std::filesystem::path& cartella) override {
    const int fd = ApriNome(cartella.empty() ? "." : cartella.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return Errore();
    const int errore = Sincronizza(fd);
    ::close(fd);  // only read: nothing of it to lose
    return errore;
  }

  TipoFile Tipo(const std::filesystem::path& nativo) override {
    struct stat st;
    return ::stat(nativo.c_str(), &st) == 0 ? DaModo(st.st_mode) : TipoFile::Nessuno;
  }

  bool Presente(const std::filesystem::path& nativo) override {
    struct stat st;
    return ::lstat(nativo.c_str(), &st) == 0;
  }

  bool Elenca(const std::filesystem::path& cartella, const std::function<bool(const VoceCartella&)>& voce) override {
    DIR* d = ::opendir(cartella.c_str());
    if (!d) return false;
    while (const dirent* e = ::readdir(d)) {
      VoceCartella v{e->d_name, std::nullopt};
      if (v.nome == "." || v.nome == "..") continue;
      if (e->d_type != DT_UNKNOWN && e->d_type != DT_LNK) v.ordinario = e->d_type == DT_REG;
      if (!voce(v)) break;
    }
    ::closedir(d);
    return true;
  }

  std::optional<IdentitaFile> Identita(const std::filesystem::path& nativo) override {
    struct stat st;
    if (::stat(nativo.c_str(), &st) != 0) return std::nullopt;
    return DaStat(st);
  }

  std::filesystem::path Risolto(const std::filesystem::path& nativo) override {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path p = fs::absolute(nativo, ec);
    if (ec) return {};
    // The last name's links, one by one: a link to a name not yet made leads there all the same.
    for (int salti = 0;; ++salti) {
      struct stat st;
      if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
      if (salti == 40) return {};  // a circle of links
      const fs::path bersaglio = fs::read_symlink(p, ec);
      if (ec) return {};
      p = bersaglio.is_absolute() ? bersaglio : p.parent_path() / bersaglio;
    }
    // The folders, their links resolved; a last name of "." or ".." with them.
    const fs::path nome = p.filename();
    if (nome.empty() || nome == "." || nome == "..") {
      p = fs::weakly_canonical(p, ec);
      return ec ? fs::path() : p;
    }
    const fs::path cartella = fs::weakly_canonical(p.parent_path(), ec);
    return ec ? fs::path() : cartella / nome;
  }

 private:
  static int ApriNome(const char* nome, int flag) {
    int fd;
    do {
      fd = ::open(nome, flag | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
  }
  // Read and write, else write only; non-blocking only for the open (a FIFO without a reader
  // fails at once): on an ordinary file the flag changes nothing after it.
  static int ApriUscita(const char* nome, int flag) {
    int fd = ApriNome(nome, O_RDWR | O_NONBLOCK | flag);
    if (fd < 0 && (errno == EACCES || errno == EPERM)) {
      const int primo = errno;
      fd = ApriNome(nome, O_WRONLY | O_NONBLOCK | flag);
      if (fd < 0) errno = primo;
    }
    if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
  }
  static IdentitaFile DaStat(const struct stat& st) {
    return IdentitaFile{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
                        static_cast<uint64_t>(st.st_nlink), SolaLettura(st)};
  }
  // Read-only as its owner marked it (chmod u-w, a file manager's "read-only"): whoever runs, as
  // Windows' attribute holds for every user; another user's file is not read-only for that alone.
  static bool SolaLettura(const struct stat& st) { return (st.st_mode & S_IWUSR) == 0; }
  static TipoFile DaModo(mode_t modo) {
    if (S_ISREG(modo)) return TipoFile::Ordinario;
    if (S_ISDIR(modo)) return TipoFile::Cartella;
    return TipoFile::Altro;
  }
};

// Why a launcher ended in error; the codes of xdg-open are named.
std::string MotivoUscita(const std::string& lanciatore, int stato) {
  if (WIFSIGNALED(stato)) return lanciatore + " interrotto dal segnale " + std::to_string(WTERMSIG(stato));
  switch (WEXITSTATUS(stato)) {
    case 2: return "il file non esiste";
    case 3: return "nessun programma installato per aprire il file";
    case 4: return "il programma per aprire il file non si e' avviato";
    default: return lanciatore + " terminato con codice " + std::to_string(WEXITSTATUS(stato));
  }
}

}  // namespace

Sistema& SistemaReale() {
  static SistemaPosix sistema;
  return sistema;
}

std::optional<std::string> Ambiente(const char* nome) {
  const char* valore = std::getenv(nome);
  if (!valore) return std::nullopt;
  return std::string(valore);
}

std::filesystem::path RadicePredefinita() {
  if (auto xdg = Ambiente("XDG_DATA_HOME"); xdg && !xdg->empty()) return std::filesystem::path(*xdg) / "quibold";
  const auto casa = Ambiente("HOME");
  return std::filesystem::path(casa && !casa->empty() ? *casa : ".") / ".local" / "share" / "quibold";
}

void PreparaProcesso() {
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
}

std::vector<std::string> ArgomentiUtf8(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

bool IngressoInterattivo() { return ::isatty(STDIN_FILENO) != 0; }

std::filesystem::path QuestoProgramma() {
  std::error_code e;
  auto programma = std::filesystem::read_symlink("/proc/self/exe", e);
  return e ? std::filesystem::path() : programma;
}

std::filesystem::path ProgrammaAccanto(std::string_view nome) {
  const auto questo = QuestoProgramma();
  if (questo.empty()) return {};
  std::error_code e;
  auto programma = questo.parent_path() / nome;
  return std::filesystem::exists(programma, e) ? programma : std::filesystem::path();
}

bool PassaAlProgramma(const std::filesystem::path& programma, const std::vector<std::string>& argomenti,
                      std::string& errore) {
  std::vector<std::string> copie = argomenti;
  std::vector<char*> argv;
  for (std::string& a : copie) argv.push_back(a.data());
  argv.push_back(nullptr);
  ::setenv(kVariabilePassaggio, "1", 1);
  ::execv(programma.c_str(), argv.data());
  ::unsetenv(kVariabilePassaggio);
  errore = std::strerror(errno);
  return false;
}

bool ApriReport(const std::filesystem::path& report, const std::filesystem::path&, const std::filesystem::path&,
                const std::string& lanciatore, std::chrono::milliseconds attesa, std::string& motivo) {
  std::string programma = lanciatore;
  std::string argomento = report.string();
  char* argv[] = {programma.data(), argomento.data(), nullptr};
  pid_t pid;
  if (const int errore = posix_spawnp(&pid, programma.c_str(), nullptr, nullptr, argv, environ)) {
    motivo = errore == ENOENT ? programma + " non e' installato"
                              : "impossibile avviare " + programma + ": " + std::strerror(errore);
    return false;
  }
  // The launcher hands the file over and ends: at once with an error when there is no viewer.
  // One still running after the wait is a viewer started in its place, or a slow start.
  const auto limite = std::chrono::steady_clock::now() + attesa;
  for (;;) {
    int stato = 0;
    const pid_t finito = waitpid(pid, &stato, WNOHANG);
    if (finito == pid) {
      if (WIFEXITED(stato) && WEXITSTATUS(stato) == 0) return true;
      motivo = MotivoUscita(programma, stato);
      return false;
    }
    if (finito < 0 && errno != EINTR) return true;  // not ours to wait for: nothing to tell
    if (std::chrono::steady_clock::now() >= limite) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void TerminaSubito(int stato) {
  std::fflush(nullptr);
  ::_exit(stato);
}

char SeparatoreDecimale() {
  locale_t locale = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return '.';
  const char* radice = nl_langinfo_l(RADIXCHAR, locale);
  char separatore = radice && radice[0] && !radice[1] ? radice[0] : '.';
  freelocale(locale);
  return separatore;
}

long OggiLocale() {
  const time_t adesso = time(nullptr);
  struct tm t {};
  if (localtime_r(&adesso, &t) == nullptr) return 0;
  return (t.tm_year + 1900L) * 10000 + (t.tm_mon + 1L) * 100 + t.tm_mday;
}

}  // namespace quibold
