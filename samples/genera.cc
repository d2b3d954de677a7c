// Writes sample certification archives under a drive root:
//   quibold_genera DIR            the bundled sample: certifications 1, 2 and 3, and the telematic
//                                 file of the check's cases, C:\telematici\CASI18
//   quibold_genera --pieno N DIR  certification 1 with N employees whose every field is filled
//   quibold_genera --studio N DIR a service bureau's certifications 1 to N, a few that do not make
//                                 a file among them
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "samples/archivio_esempio.h"
#include "samples/casi_verifica.h"

int main(int argc, char** argv) {
  using namespace quibold::esempio;
  try {
    if (argc == 2 && argv[1][0] != '-') {
      ScriviCertificazione(argv[1], 1, CertificazioneSocieta());
      ScriviCertificazione(argv[1], 2, CertificazionePersonaFisica());
      ScriviCertificazione(argv[1], 3, CertificazioneAutonomi());
      SulDisco(argv[1])(kFileCasiVerifica, FileCasiVerifica());
      return 0;
    }
    if (argc == 4 && std::string(argv[1]) == "--pieno") {
      const int n = std::atoi(argv[2]);
      if (n > 0 && n <= 9999) {
        ScriviCertificazione(argv[3], 1, ArchivioPieno(n));
        return 0;
      }
    }
    if (argc == 4 && std::string(argv[1]) == "--studio") {
      const int n = std::atoi(argv[2]);
      if (n > 0 && n <= 999) {
        ScriviArchivioStudio(argv[3], n);
        return 0;
      }
    }
  } catch (const std::exception& e) {
    std::cerr << "quibold_genera: " << e.what() << '\n';
    return 1;
  }
  std::cerr << "uso: quibold_genera DIR | quibold_genera --pieno N DIR (N da 1 a 9999) | quibold_genera --studio N "
               "DIR (N da 1 a 999)\n";
  return 2;
}
