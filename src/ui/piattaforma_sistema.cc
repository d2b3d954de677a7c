#include "ui/piattaforma_sistema.h"

#include <spawn.h>
#include <unistd.h>

#include <cstdio>
#include <string>

extern char** environ;

namespace quibold {

void PiattaformaSistema::ApriVisualizzatore(const std::filesystem::path& file) {
  std::string programma = "xdg-open";
  std::string argomento = file.string();
  char* argv[] = {programma.data(), argomento.data(), nullptr};
  pid_t pid;
  if (posix_spawnp(&pid, programma.c_str(), nullptr, nullptr, argv, environ) != 0) {
    std::fprintf(stderr, "quibold: impossibile aprire %s\n", argomento.c_str());
  }
}

void PiattaformaSistema::Termina() {
  std::fflush(nullptr);
  _exit(0);
}

}  // namespace quibold
