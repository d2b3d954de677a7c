// The entry point, built twice: `quibold`, the command line without Qt, which hands the window
// over to the program beside it; and `quibold-finestra`, the same command line with the window.
// A run of `quibold crea` or `quibold verifica` so loads none of Qt's libraries.
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <system_error>

#include "app/riga_comando.h"

#ifdef QUIBOLD_CON_FINESTRA
#include <QApplication>

#include "recfile/canali.h"
#include "ui/applicazione_qt.h"
#include "ui/finestra.h"
#include "ui/messaggi_qt.h"
#include "ui/piattaforma_sistema.h"
#include "ui/stato.h"
#endif

namespace {

#ifdef QUIBOLD_CON_FINESTRA
int ApriFinestra(int argc, char** argv, const std::filesystem::path& radice) {
  QApplication applicazione(argc, argv);
  quibold::PreparaApplicazione(applicazione);
  quibold::MessaggiQt messaggi;
  quibold::Percorsi percorsi(radice);
  quibold::Canali canali(percorsi, messaggi);
  quibold::PiattaformaSistema piattaforma;
  quibold::StatoFinestra stato(canali, piattaforma);
  stato.Apertura();
  quibold::FinestraPrincipale finestra(stato);
  messaggi.ImpostaGenitore(&finestra);
  finestra.show();
  return applicazione.exec();
}
#else
// The window's program, beside this one; empty when there is none.
std::filesystem::path FinestraAccanto() {
  std::error_code e;
  auto finestra = std::filesystem::read_symlink("/proc/self/exe", e).parent_path() / "quibold-finestra";
  return !e && std::filesystem::exists(finestra, e) ? finestra : std::filesystem::path();
}

// Replaces this process with `finestra`, with the same arguments; returns only when it cannot.
int ApriFinestra(const std::filesystem::path& finestra, char** argv) {
  ::execv(finestra.c_str(), argv);
  std::cerr << "quibold: la finestra non si avvia (" << finestra.string() << ": " << std::strerror(errno) << ")\n";
  return quibold::kUscitaErroreUso;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  // A file grown past the size limit, or an output pipe closed by its reader, is a failed write
  // that the program reports and stops on, never a kill by signal.
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
  quibold::Terminale terminale{std::cout, std::cerr, std::cin, isatty(STDIN_FILENO) != 0};
#ifdef QUIBOLD_CON_FINESTRA
  return quibold::EseguiRigaComando(
      argc, argv, terminale, [&](const std::filesystem::path& radice) { return ApriFinestra(argc, argv, radice); });
#else
  // Without the window's program, the command line says that this version has no window.
  const auto finestra = FinestraAccanto();
  std::function<int(const std::filesystem::path&)> apri;
  if (!finestra.empty()) apri = [&](const std::filesystem::path&) { return ApriFinestra(finestra, argv); };
  return quibold::EseguiRigaComando(argc, argv, terminale, apri);
#endif
}
