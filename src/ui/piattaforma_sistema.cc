#include "ui/piattaforma_sistema.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "recfile/cp1252.h"

extern char** environ;

namespace quibold {
namespace {

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

bool PiattaformaSistema::ApriVisualizzatore(const std::filesystem::path& file, std::string& motivo) {
  std::string programma = lanciatore_;
  std::string argomento = file.string();
  char* argv[] = {programma.data(), argomento.data(), nullptr};
  pid_t pid;
  if (const int errore = posix_spawnp(&pid, programma.c_str(), nullptr, nullptr, argv, environ)) {
    motivo = errore == ENOENT ? programma + " non e' installato"
                              : "impossibile avviare " + programma + ": " + Cp1252DaUtf8(std::strerror(errore));
    return false;
  }
  // The launcher hands the file over and ends: at once with an error when there is no viewer.
  // One still running after the wait is a viewer started in its place, or a slow start.
  const auto limite = std::chrono::steady_clock::now() + attesa_;
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

void PiattaformaSistema::Termina() {
  std::fflush(nullptr);
  _exit(0);
}

}  // namespace quibold
