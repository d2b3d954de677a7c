// Test support: `quibold_blocca FILE FINE` locks the native path FILE as a run that writes it,
// says "bloccato", and holds it until the file FINE exists (a minute at most). The Linux build and
// the Windows one under Wine each hold it so against the other's program (scripts/prova-windows).
#include <chrono>
#include <iostream>
#include <thread>

#include "recfile/file_nuovo.h"
#include "sistema/sistema.h"

int main(int argc, char** argv) {
  const auto argomenti = quibold::ArgomentiUtf8(argc, argv);
  quibold::Sistema& sistema = quibold::SistemaReale();
  quibold::FileNuovo nuovo(sistema);
  if (argomenti.size() != 3 || nuovo.Apri(quibold::PercorsoDaUtf8(argomenti[1])) != 0) return 1;
  std::cout << "bloccato" << std::endl;
  for (int volte = 0; volte < 1200 && sistema.Tipo(quibold::PercorsoDaUtf8(argomenti[2])) == quibold::TipoFile::Nessuno;
       ++volte) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return 0;  // the file abandoned, its lock let go
}
