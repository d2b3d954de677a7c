// Test support, loaded into the real program (LD_PRELOAD): what a share, another program or a
// kill can do to a file at the worst moment, each chosen by a variable that holds the end of the
// file's path (for a kill, any part of it). Every other call is the system's own.
//   QUIBOLD_CHIUSURA_FALLITA  the close closes the file, then fails with EIO, as a share reports
//                             a write-back that failed;
//   QUIBOLD_SVUOTATO_DOPO     the file is emptied just after it is closed, as by another program;
//   QUIBOLD_UCCISO_SCRIVENDO  the process is killed (SIGKILL) halfway through a write to the file;
//   QUIBOLD_SENZA_BLOCCHI     a record lock of the file fails (ENOLCK), as on a file system that
//                             keeps none.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Whether the path of `fd`, put in `percorso`, ends with the value of `variabile` (or holds it).
bool Scelto(int fd, const char* variabile, char (&percorso)[4096], bool ovunque = false) {
  const char* testo = std::getenv(variabile);
  char descrittore[64];
  std::snprintf(descrittore, sizeof descrittore, "/proc/self/fd/%d", fd);
  const ssize_t n = testo && *testo ? readlink(descrittore, percorso, sizeof percorso - 1) : -1;
  if (n < 0) return false;
  percorso[n] = '\0';
  const ssize_t lunghezza = static_cast<ssize_t>(std::strlen(testo));
  if (ovunque) return std::strstr(percorso, testo) != nullptr;
  return n >= lunghezza && std::strcmp(percorso + n - lunghezza, testo) == 0;
}

}  // namespace

extern "C" int close(int fd) {
  static const auto vera = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "close"));
  char fallita[4096], svuotato[4096];
  const bool fallisce = Scelto(fd, "QUIBOLD_CHIUSURA_FALLITA", fallita);
  const bool svuota = Scelto(fd, "QUIBOLD_SVUOTATO_DOPO", svuotato);
  const int esito = vera(fd);
  if (esito == 0 && svuota) (void)truncate(svuotato, 0);
  if (esito != 0 || !fallisce) return esito;
  errno = EIO;
  return -1;
}

extern "C" ssize_t pwrite(int fd, const void* dati, size_t quanti, off_t posizione) {
  static const auto vera = reinterpret_cast<ssize_t (*)(int, const void*, size_t, off_t)>(dlsym(RTLD_NEXT, "pwrite"));
  char percorso[4096];
  if (quanti > 1 && Scelto(fd, "QUIBOLD_UCCISO_SCRIVENDO", percorso, true)) {
    (void)vera(fd, dati, quanti / 2, posizione);
    raise(SIGKILL);
  }
  return vera(fd, dati, quanti, posizione);
}

extern "C" int fcntl(int fd, int comando, ...) {
  static const auto vera = reinterpret_cast<int (*)(int, int, ...)>(dlsym(RTLD_NEXT, "fcntl"));
  va_list argomenti;
  va_start(argomenti, comando);
  void* argomento = va_arg(argomenti, void*);
  va_end(argomenti);
  char percorso[4096];
  const bool blocco = comando == F_OFD_SETLK || comando == F_OFD_SETLKW || comando == F_SETLK || comando == F_SETLKW;
  if (blocco && Scelto(fd, "QUIBOLD_SENZA_BLOCCHI", percorso, true)) {
    errno = ENOLCK;
    return -1;
  }
  return vera(fd, comando, argomento);
}
