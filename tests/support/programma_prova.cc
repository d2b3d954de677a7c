#include "support/programma_prova.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <map>

extern char** environ;
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <thread>

#include "app/riga_comando.h"
#include "sistema/sistema.h"
#include "support/archivio_prova.h"

namespace quibold::prova {

#ifdef _WIN32
// The limit of a file's size and the user without rights are POSIX's: the callers skip them here.
EsitoProgramma EseguiProgramma(const std::vector<std::string>& argomenti, const std::filesystem::path& cartella,
                               const OpzioniProgramma& opzioni) {
  const auto fileUscita = cartella / "uscita.txt", fileErrori = cartella / "errori.txt";
  SECURITY_ATTRIBUTES ereditate{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  auto apri = [&](const wchar_t* nome, DWORD accesso, DWORD come) {
    return CreateFileW(nome, accesso, FILE_SHARE_READ | FILE_SHARE_WRITE, &ereditate, come, 0, nullptr);
  };
  HANDLE nulla = apri(L"NUL", GENERIC_READ, OPEN_EXISTING);
  HANDLE uscita = INVALID_HANDLE_VALUE;
  if (opzioni.uscitaRotta) {
    HANDLE lettura = INVALID_HANDLE_VALUE;
    if (CreatePipe(&lettura, &uscita, &ereditate, 0)) CloseHandle(lettura);
  } else {
    uscita = apri(fileUscita.c_str(), GENERIC_WRITE, CREATE_ALWAYS);
  }
  HANDLE errori = apri(fileErrori.c_str(), GENERIC_WRITE, CREATE_ALWAYS);
  for (const std::string& variabile : opzioni.ambiente) {
    const size_t uguale = variabile.find('=');
    SetEnvironmentVariableW(PercorsoDaUtf8(variabile.substr(0, uguale)).c_str(),
                            PercorsoDaUtf8(variabile.substr(uguale + 1)).c_str());
  }
  std::string riga = ArgomentoQuotato(opzioni.programma);
  for (const auto& a : argomenti) riga += " " + ArgomentoQuotato(a);
  std::wstring rigaLarga = PercorsoDaUtf8(riga).native();
  STARTUPINFOW avvio{};
  avvio.cb = sizeof avvio;
  avvio.dwFlags = STARTF_USESTDHANDLES;
  avvio.hStdInput = nulla;
  avvio.hStdOutput = uscita;
  avvio.hStdError = errori;
  PROCESS_INFORMATION processo{};
  const bool avviato =
      CreateProcessW(nullptr, rigaLarga.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &avvio, &processo);
  for (HANDLE h : {nulla, uscita, errori}) CloseHandle(h);
  for (const std::string& variabile : opzioni.ambiente) {
    SetEnvironmentVariableW(PercorsoDaUtf8(variabile.substr(0, variabile.find('='))).c_str(), nullptr);
  }
  EsitoProgramma esito;
  if (!avviato) return esito;
  if (WaitForSingleObject(processo.hProcess, static_cast<DWORD>(opzioni.secondi) * 1000) == WAIT_TIMEOUT) {
    esito.scaduto = true;
    TerminateProcess(processo.hProcess, 1);
    WaitForSingleObject(processo.hProcess, INFINITE);
  }
  DWORD stato = 0;
  if (!esito.scaduto && GetExitCodeProcess(processo.hProcess, &stato)) esito.stato = static_cast<int>(stato);
  CloseHandle(processo.hThread);
  CloseHandle(processo.hProcess);
  esito.uscita = LeggiFile(fileUscita);
  esito.errori = LeggiFile(fileErrori);
  return esito;
}
#else
namespace {

// A copy of `programma` that the user without rights can start: in a folder of its own under the
// system's temporary folder, made once for the whole test process and removed at its end.
std::string ProgrammaRaggiungibile(const std::string& programma) {
  static std::map<std::string, std::filesystem::path> copie;
  static const struct Pulizia {
    ~Pulizia() {
      std::error_code ec;
      for (const auto& [originale, copia] : copie) std::filesystem::remove_all(copia.parent_path(), ec);
    }
  } pulizia;
  auto& copia = copie[programma];
  if (copia.empty()) {
    const auto cartella = CartellaTemporanea(std::filesystem::temp_directory_path(), "quibold-programma-");
    std::filesystem::permissions(cartella, std::filesystem::perms(0755));
    copia = cartella / std::filesystem::path(programma).filename();
    std::filesystem::copy_file(programma, copia);
    std::filesystem::permissions(copia, std::filesystem::perms(0755));
  }
  return copia.string();
}

// In the child: only calls that are safe between fork and exec.
[[noreturn]] void Figlio(const std::vector<char*>& argv, char* const* ambiente, int uscita, int errori,
                         const OpzioniProgramma& o) {
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
  ::execve(argv[0], argv.data(), ambiente);
  ::_exit(127);
}

}  // namespace

EsitoProgramma EseguiProgramma(const std::vector<std::string>& argomenti, const std::filesystem::path& cartella,
                               const OpzioniProgramma& opzioni) {
  const auto fileUscita = cartella / "uscita.txt", fileErrori = cartella / "errori.txt";
  int uscita = -1;
  if (opzioni.uscitaRotta) {
    int tubo[2];
    if (::pipe2(tubo, O_CLOEXEC) == 0) {
      ::close(tubo[0]);
      uscita = tubo[1];
    }
  } else {
    uscita = ::open(fileUscita.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  }
  const int errori = ::open(fileErrori.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  std::vector<std::string> testi{opzioni.senzaDiritti ? ProgrammaRaggiungibile(opzioni.programma) : opzioni.programma};
  testi.insert(testi.end(), argomenti.begin(), argomenti.end());
  std::vector<char*> argv;
  for (auto& t : testi) argv.push_back(t.data());
  argv.push_back(nullptr);
  // This process's environment, the variables given taking the place of those of the same name.
  std::vector<std::string> variabili = opzioni.ambiente;
  std::vector<char*> ambiente;
  for (char** v = environ; *v; ++v) {
    const std::string_view nome(*v, std::strcspn(*v, "="));
    if (std::none_of(variabili.begin(), variabili.end(),
                     [&](const std::string& d) { return d.starts_with(nome) && d[nome.size()] == '='; })) {
      ambiente.push_back(*v);
    }
  }
  for (auto& v : variabili) ambiente.push_back(v.data());
  ambiente.push_back(nullptr);

  EsitoProgramma esito;
  const pid_t pid = uscita < 0 || errori < 0 ? -1 : ::fork();
  if (pid == 0) Figlio(argv, ambiente.data(), uscita, errori, opzioni);
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
  esito.uscita = LeggiFile(fileUscita);
  esito.errori = LeggiFile(fileErrori);
  return esito;
}
#endif

EsitoProgramma EseguiComando(const std::vector<std::string>& argomenti, const OpzioniComando& opzioni) {
  std::vector<const char*> argv{"quibold"};
  for (const auto& a : argomenti) argv.push_back(a.c_str());
  std::ostringstream uscita, errori;
  if (opzioni.uscitaRotta) uscita.setstate(std::ios::badbit);
  std::istringstream in(opzioni.ingresso);
  EsitoProgramma esito;
  esito.stato =
      EseguiRigaComando(static_cast<int>(argv.size()), argv.data(), Terminale{uscita, errori, in, opzioni.interattivo},
                        opzioni.finestra, opzioni.sistema ? *opzioni.sistema : SistemaReale(), opzioni.visualizzatore);
  esito.uscita = uscita.str();
  esito.errori = errori.str();
  return esito;
}

std::vector<std::string> ArgomentiCrea(const std::filesystem::path& radice, const std::vector<std::string>& altre) {
  std::vector<std::string> a = {"crea", "--radice", Utf8DaPercorso(radice)};
  auto manca = [&](const char* o) { return std::find(altre.begin(), altre.end(), o) == altre.end(); };
  if (manca("--codice") && manca("--tutte")) a.insert(a.end(), {"--codice", "1"});
  if (manca("--cartella")) a.insert(a.end(), {"--cartella", "C:\\telematici\\"});
  a.insert(a.end(), altre.begin(), altre.end());
  return a;
}

#ifdef _WIN32
std::string PercorsoUnix(const std::filesystem::path& percorso) {
  // Wine's own export: the Unix name of a Windows path, allocated on the process's heap.
  using NomeUnix = char*(__cdecl*)(const wchar_t*);
  const auto nome = reinterpret_cast<NomeUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  char* unix = nome ? nome(std::filesystem::absolute(percorso).c_str()) : nullptr;
  if (!unix) return {};
  std::string testo(unix);
  HeapFree(GetProcessHeap(), 0, unix);
  return testo;
}

bool ComandoUnix(const std::string& comando) {
  // Wine's start.exe runs a Unix program, but neither waits for it nor tells its status: the
  // command leaves a mark once it succeeded, which is waited for.
  static int volte = 0;
  const auto cartella = std::filesystem::temp_directory_path() / ("quibold-unix-" + std::to_string(++volte));
  std::filesystem::create_directories(cartella);
  const std::string unix = PercorsoUnix(cartella);
  bool fatto = false;
  if (!unix.empty()) {
    {
      FILE* script = _wfopen((cartella / "comando.sh").c_str(), L"wb");
      if (!script) return false;
      std::fprintf(script, "( %s ) && touch '%s/fatto'\n", comando.c_str(), unix.c_str());
      std::fclose(script);
    }
    std::wstring riga = L"start.exe /unix /bin/sh " + PercorsoDaUtf8(unix + "/comando.sh").native();
    STARTUPINFOW avvio{};
    avvio.cb = sizeof avvio;
    PROCESS_INFORMATION processo{};
    if (CreateProcessW(nullptr, riga.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &avvio, &processo)) {
      WaitForSingleObject(processo.hProcess, 10000);
      CloseHandle(processo.hThread);
      CloseHandle(processo.hProcess);
      for (int k = 0; k < 100 && !fatto; ++k) {
        fatto = std::filesystem::exists(cartella / "fatto");
        if (!fatto) std::this_thread::sleep_for(std::chrono::milliseconds(100));
      }
    }
  }
  std::error_code ec;
  std::filesystem::remove_all(cartella, ec);
  return fatto;
}
#else
bool ComandoUnix(const std::string&) { return false; }
std::string PercorsoUnix(const std::filesystem::path&) { return {}; }
#endif

}  // namespace quibold::prova
