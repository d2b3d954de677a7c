// Test support, loaded into the real program (LD_PRELOAD): what the disk, a share or another
// program can do to a file at the worst moment, each chosen by a variable that holds the end of
// the file's path. Every other call is the system's own.
//   QUIBOLD_CHIUSURA_FALLITA  closing the file closes it, then fails with EIO, as a share reports
//                             a write-back that failed;
//   QUIBOLD_SVUOTATO_DOPO     the file is emptied just after it is closed, as by another program;
//   QUIBOLD_UCCISO_SCRIVENDO  the process is killed (SIGKILL) halfway through its first write to
//                             a file whose path holds the text anywhere, as a power cut or kill -9.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The path of an open descriptor; false when it cannot be told.
bool Percorso(int fd, char (&percorso)[4096], ssize_t& n) {
  char descrittore[64];
  std::snprintf(descrittore, sizeof descrittore, "/proc/self/fd/%d", fd);
  n = readlink(descrittore, percorso, sizeof percorso - 1);
  if (n < 0) return false;
  percorso[n] = '\0';
  return true;
}

// Whether the path of `fd` ends with (or, with `ovunque`, holds) the value of `variabile`.
bool Scelto(int fd, const char* variabile, bool ovunque, char (&percorso)[4096]) {
  const char* testo = std::getenv(variabile);
  ssize_t n = 0;
  if (!testo || !*testo || !Percorso(fd, percorso, n)) return false;
  if (ovunque) return std::strstr(percorso, testo) != nullptr;
  const size_t lunghezza = std::strlen(testo);
  return n >= static_cast<ssize_t>(lunghezza) &&
         std::memcmp(percorso + n - static_cast<ssize_t>(lunghezza), testo, lunghezza) == 0;
}

}  // namespace

extern "C" int close(int fd) {
  using Chiudi = int (*)(int);
  static const auto vera = reinterpret_cast<Chiudi>(dlsym(RTLD_NEXT, "close"));
  char percorso[4096];
  const bool fallisce = Scelto(fd, "QUIBOLD_CHIUSURA_FALLITA", false, percorso);
  char svuotato[4096];
  const bool svuota = Scelto(fd, "QUIBOLD_SVUOTATO_DOPO", false, svuotato);
  const int esito = vera(fd);
  if (esito == 0 && svuota) (void)truncate(svuotato, 0);
  if (esito != 0 || !fallisce) return esito;
  errno = EIO;
  return -1;
}

extern "C" ssize_t pwrite(int fd, const void* dati, size_t quanti, off_t posizione) {
  using Scrivi = ssize_t (*)(int, const void*, size_t, off_t);
  static const auto vera = reinterpret_cast<Scrivi>(dlsym(RTLD_NEXT, "pwrite"));
  char percorso[4096];
  if (quanti > 1 && Scelto(fd, "QUIBOLD_UCCISO_SCRIVENDO", true, percorso)) {
    (void)vera(fd, dati, quanti / 2, posizione);
    raise(SIGKILL);
  }
  return vera(fd, dati, quanti, posizione);
}
