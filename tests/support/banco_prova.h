// Test support: what the program builds at start-up, for one test: a drive root of its own (in
// memory unless the test asks for the disk), the record files over it, a message box that
// records, a platform that only remembers, and the window state over all of them. Members are destroyed in reverse
// order: the channels close before the root goes.
#pragma once

#include "recfile/canali.h"
#include "recfile/percorsi.h"
#include "support/archivio_prova.h"
#include "ui/stato.h"

namespace quibold::prova {

// Where a test's drive root lives: in memory, unless the test needs what only a disk has (links,
// devices, another program that reads the files).
enum class Disco { Memoria, Reale };

struct BancoProva {
  explicit BancoProva(Disco disco = Disco::Memoria)
      : radice(disco == Disco::Memoria ? RadiceTemporanea(memoria) : RadiceTemporanea()) {}
  SistemaInMemoria memoria;
  RadiceTemporanea radice;
  Percorsi percorsi{radice.percorso(), radice.sistema()};
  MessaggiRegistrati messaggi;
  Canali canali{percorsi, messaggi};
  PiattaformaFinta piattaforma;
  StatoFinestra stato{canali, piattaforma};
};

}  // namespace quibold::prova
