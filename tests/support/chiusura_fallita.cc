// Test support, loaded into the real program (LD_PRELOAD): closing a file whose path ends with
// $QUIBOLD_CHIUSURA_FALLITA closes it, then fails with EIO, as a network share reports a
// write-back that failed. Every other call is the system's own.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" int close(int fd) {
  using Chiudi = int (*)(int);
  static const auto vera = reinterpret_cast<Chiudi>(dlsym(RTLD_NEXT, "close"));
  bool fallisce = false;
  if (const char* fine = std::getenv("QUIBOLD_CHIUSURA_FALLITA"); fine && *fine) {
    char descrittore[64], percorso[4096];
    std::snprintf(descrittore, sizeof descrittore, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(descrittore, percorso, sizeof percorso - 1);
    const size_t lunghezza = std::strlen(fine);
    fallisce = n >= static_cast<ssize_t>(lunghezza) &&
               std::memcmp(percorso + n - static_cast<ssize_t>(lunghezza), fine, lunghezza) == 0;
  }
  const int esito = vera(fd);
  if (esito != 0 || !fallisce) return esito;
  errno = EIO;
  return -1;
}
