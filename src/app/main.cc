// The entry point, built twice: `quibold`, the command line without Qt, which hands the window
// over to the program beside it; and `quibold-finestra`, the same command line with the window.
// A run of `quibold crea` or `quibold verifica` so loads none of Qt's libraries.
#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "app/riga_comando.h"
#include "sistema/sistema.h"

#ifdef QUIBOLD_CON_FINESTRA
#include <QApplication>

#include "finestra/applicazione_qt.h"
#include "finestra/finestra.h"
#include "finestra/messaggi_qt.h"
#include "recfile/canali.h"
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
// Hands the process over to the window's program `finestra` with the same arguments; returns
// only when it cannot (on Windows, also once it has started it: this program then ends).
int ApriFinestra(const std::filesystem::path& finestra, const std::vector<std::string>& argomenti) {
  std::string errore;
  if (quibold::StessoProgramma(finestra)) {
    errore = "e' questo stesso programma, che non ha la finestra";
  } else if (quibold::PassaAlProgramma(finestra, argomenti, errore)) {
    return quibold::kUscitaCompleta;
  }
  std::cerr << "quibold: la finestra non si avvia (" << quibold::Utf8DaPercorso(finestra) << ": " << errore << ")\n";
  return quibold::kUscitaErroreUso;
}
#endif

int Esegui(int argc, char** argv) {
  // Signals, standard streams and the console as the program needs them, before any output.
  quibold::PreparaProcesso();
  const std::vector<std::string> argomenti = quibold::ArgomentiUtf8(argc, argv);
  std::vector<const char*> testi;
  for (const std::string& a : argomenti) testi.push_back(a.c_str());
  const int quanti = static_cast<int>(testi.size());
  quibold::Terminale terminale{std::cout, std::cerr, std::cin, quibold::IngressoInterattivo()};
#ifdef QUIBOLD_CON_FINESTRA
  return quibold::EseguiRigaComando(quanti, testi.data(), terminale, [&](const std::filesystem::path& radice) {
    return ApriFinestra(argc, argv, radice);
  });
#else
  // Without the window's program, the command line says that this version has no window.
  const auto finestra = quibold::ProgrammaAccanto("quibold-finestra");
  std::function<int(const std::filesystem::path&)> apri;
  if (!finestra.empty()) apri = [&](const std::filesystem::path&) { return ApriFinestra(finestra, argomenti); };
  return quibold::EseguiRigaComando(quanti, testi.data(), terminale, apri);
#endif
}

}  // namespace

// No exception ends the program without a word: it is said, and the status is that of a command
// that could not be carried out.
int main(int argc, char** argv) {
  try {
    return Esegui(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "quibold: errore interno: " << e.what() << '\n';
  } catch (...) {
    std::cerr << "quibold: errore interno\n";
  }
  return quibold::kUscitaErroreUso;
}
