#include <unistd.h>

#include <csignal>
#include <iostream>

#include "app/riga_comando.h"

#ifdef QUIBOLD_CON_FINESTRA
#include <QApplication>

#include "recfile/canali.h"
#include "ui/finestra.h"
#include "ui/messaggi_qt.h"
#include "ui/piattaforma_sistema.h"
#include "ui/stato.h"
#endif

namespace {

#ifdef QUIBOLD_CON_FINESTRA
int ApriFinestra(int argc, char** argv, const std::filesystem::path& radice) {
  QApplication applicazione(argc, argv);
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
  return quibold::EseguiRigaComando(argc, argv, terminale, nullptr);
#endif
}
