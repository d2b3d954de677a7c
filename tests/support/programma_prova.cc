#include "support/programma_prova.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/riga_comando.h"

namespace quibold::prova {
namespace {

std::string Leggi(const std::filesystem::path& file) {
  std::ifstream f(file, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

// In the child: only calls that are safe between fork and exec.
[[noreturn]] void Figlio(const std::vector<char*>& argv, int uscita, int errori, const OpzioniProgramma& o) {
  const int nulla = ::open("/dev/null", O_RDONLY);
  if (nulla < 0 || ::dup2(nulla, 0) < 0 || ::dup2(uscita, 1) < 0 || ::dup2(errori, 2) < 0) ::_exit(126);
  std::signal(SIGXFSZ, SIG_DFL);  // the program must deal with the limit itself
  std::signal(SIGPIPE, SIG_DFL);
  if (o.limiteFile >= 0) {
    struct rlimit limite;
    limite.rlim_cur = limite.rlim_max = static_cast<rlim_t>(o.limiteFile);
    if (::setrlimit(RLIMIT_FSIZE, &limite) != 0) ::_exit(126);
  }
  if (o.senzaDiritti && ::geteuid() == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(kUtenteSenzaDiritti) != 0 || ::setuid(kUtenteSenzaDiritti) != 0) {
      ::_exit(126);
    }
  }
  ::execv(o.programma.c_str(), argv.data());
  ::_exit(127);
}

}  // namespace

EsitoProgramma EseguiProgramma(const std::vector<std::string>& argomenti, const std::filesystem::path& cartella,
                               const OpzioniProgramma& opzioni) {
  const auto fileUscita = cartella / "uscita.txt", fileErrori = cartella / "errori.txt";
  const int uscita = ::open(fileUscita.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const int errori = ::open(fileErrori.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  std::vector<std::string> testi{opzioni.programma};
  testi.insert(testi.end(), argomenti.begin(), argomenti.end());
  std::vector<char*> argv;
  for (auto& t : testi) argv.push_back(t.data());
  argv.push_back(nullptr);

  EsitoProgramma esito;
  const pid_t pid = uscita < 0 || errori < 0 ? -1 : ::fork();
  if (pid == 0) Figlio(argv, uscita, errori, opzioni);
  ::close(uscita);
  ::close(errori);
  if (pid < 0) return esito;
  int stato = 0;
  const auto fine = std::chrono::steady_clock::now() + std::chrono::seconds(opzioni.secondi);
  while (::waitpid(pid, &stato, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > fine) {
      esito.scaduto = true;
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &stato, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (WIFEXITED(stato) && !esito.scaduto) esito.stato = WEXITSTATUS(stato);
  if (WIFSIGNALED(stato)) esito.segnale = WTERMSIG(stato);
  esito.uscita = Leggi(fileUscita);
  esito.errori = Leggi(fileErrori);
  return esito;
}

EsitoProgramma EseguiComando(const std::vector<std::string>& argomenti, const std::string& ingresso, bool interattivo) {
  std::vector<const char*> argv{"quibold"};
  for (const auto& a : argomenti) argv.push_back(a.c_str());
  std::ostringstream uscita, errori;
  std::istringstream in(ingresso);
  EsitoProgramma esito;
  esito.stato = EseguiRigaComando(static_cast<int>(argv.size()), argv.data(),
                                  Terminale{uscita, errori, in, interattivo}, nullptr);
  esito.uscita = uscita.str();
  esito.errori = errori.str();
  return esito;
}

}  // namespace quibold::prova
