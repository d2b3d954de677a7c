// Test support: `quibold_blocca FILE FINE` takes the lock of the native path FILE as a run that
// writes it takes it, says "bloccato" on its standard output, and holds it until the file FINE
// exists; then lets it go as a run that stops does. The Linux build and the Windows one under
// Wine each hold it so against the other's program (scripts/prova-windows).
#include <chrono>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "recfile/file_nuovo.h"
#include "sistema/sistema.h"

int main(int argc, char** argv) {
  const std::vector<std::string> argomenti = quibold::ArgomentiUtf8(argc, argv);
  if (argomenti.size() != 3) {
    std::cerr << "uso: quibold_blocca FILE FINE\n";
    return 2;
  }
  quibold::Sistema& sistema = quibold::SistemaReale();
  quibold::FileNuovo nuovo(sistema);
  if (const int errore = nuovo.Apri(quibold::PercorsoDaUtf8(argomenti[1]))) {
    std::cout << "errore " << errore << std::endl;
    return 1;
  }
  std::cout << "bloccato" << std::endl;
  const auto fine = quibold::PercorsoDaUtf8(argomenti[2]);
  for (int volte = 0; volte < 1200 && sistema.Tipo(fine) == quibold::TipoFile::Nessuno; ++volte) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return 0;  // the file abandoned, its lock let go
}
