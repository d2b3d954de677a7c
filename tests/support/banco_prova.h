// Test support: what the program builds at start-up, for one test: a drive root of its own, the
// record files over it, a message box that records, a platform that only remembers, and the
// window state over all of them. Members are destroyed in reverse order: the channels close
// before the root goes.
#pragma once

#include "recfile/canali.h"
#include "recfile/percorsi.h"
#include "support/archivio_prova.h"
#include "ui/stato.h"

namespace quibold::prova {

struct BancoProva {
  RadiceTemporanea radice;
  Percorsi percorsi{radice.percorso()};
  MessaggiRegistrati messaggi;
  Canali canali{percorsi, messaggi};
  PiattaformaFinta piattaforma;
  StatoFinestra stato{canali, piattaforma};
};

}  // namespace quibold::prova
