// What the benchmarks share: message boxes nobody sees, and the settings of a normal supply of
// certification 1 into C:\out\TCU118.
#pragma once

#include "archive/archivio.h"
#include "recfile/messaggi.h"
#include "telematic/telematico.h"

namespace quibold::banco {

class MessaggiMuti : public FinestraMessaggi {
 public:
  Risposta Mostra(std::string_view, std::string_view, Pulsanti, Icona) override { return Risposta::Si; }
};

inline ImpostazioniTelematico Impostazioni() {
  ImpostazioniTelematico dati;
  dati.CodiceCU = "1";
  dati.Disco = "C:";
  dati.PercorsoDati = PercorsoDatiDi("C:");
  dati.tipoFornitura = "N";
  dati.cartella = "C:\\out\\";
  dati.nomeFile = "TCU118";
  return dati;
}

}  // namespace quibold::banco
