// Test support: a run of the writer over a small archive on drive c of a temporary root, as the
// window runs it, with the output read back: CorsaBanco for a loop over cases, CorsaProva as a
// test's fixture.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "archive/archivio.h"
#include "samples/archivio_esempio.h"
#include "support/banco_prova.h"
#include "support/cur18_prova.h"
#include "telematic/telematico.h"

namespace quibold::prova {

using Testi = std::vector<std::string>;

inline constexpr char kUscita[] = "c/out/cur18.txt";

struct CorsaBanco : BancoProva {
  CorsaBanco() {
    radice.CreaCartella("c/out");
    impostazioni.CodiceCU = "1";
    impostazioni.Disco = "C:";
    impostazioni.PercorsoDati = PercorsoDatiDi(impostazioni.Disco);
    impostazioni.tipoFornitura = "N";
    impostazioni.cartella = "C:\\out\\";
    impostazioni.nomeFile = "cur18.txt";
    impostazioni.tipoImpegno = std::string(17, ' ');
    impostazioni.dataImpegno = std::string(17, ' ');
    impostazioni.Didascalia = [this](const std::string& t) { didascalia = t; };
  }

  // Writes certification 1 (header `testata`, header record 2 as given, the employees) and runs
  // the writer once; the output file is then in `records`.
  bool EseguiArchivio(const std::string& testata2, const Testi& dipendenti) {
    ScriviArchivio(radice, 1, testata.testo(), testata2, dipendenti);
    riuscito = ScriviTelematico(canali, impostazioni, run);
    records = Records(radice.Leggi(kUscita));
    // A complete file passes the check, read back as the office would check it.
    if (riuscito) {
      EXPECT_EQ(ErroriDelControllo(records), "");
    }
    return riuscito;
  }
  // The same with header record 2 counting `conteggio` employees (by default, as many as given).
  bool Esegui(const Testi& dipendenti, int conteggio = -1) {
    return EseguiArchivio(Testata2Prova(1, conteggio < 0 ? static_cast<int>(dipendenti.size()) : conteggio),
                          dipendenti);
  }
  bool Esegui(const std::vector<DipendenteProva>& dipendenti, int conteggio = -1) {
    Testi testi;
    for (const auto& d : dipendenti) testi.push_back(d.testo());
    return Esegui(testi, conteggio);
  }
  // A sample certification of the generator.
  bool Esegui(const esempio::Certificazione& c) {
    testata.Metti(1, c.testata1);
    return EseguiArchivio(c.testata2, c.dipendenti);
  }

  std::string Tipi() const { return prova::Tipi(records); }
  Testi DiTipo(char tipo) const {
    Testi t;
    for (const auto& r : records) {
      if (r[0] == tipo) t.push_back(r);
    }
    return t;
  }
  bool UscitaCreata() const { return radice.Esiste(kUscita); }
  // The texts of the "Accesso" error boxes shown.
  Testi Errori() const {
    Testi e;
    for (const auto& m : messaggi.mostrati) {
      if (m.titolo == "Accesso" && m.icona == Icona::Errore) e.push_back(m.testo);
    }
    return e;
  }
  bool Conclusa() const {
    for (const auto& m : messaggi.mostrati) {
      // With the report, a line of what the check warned of may follow.
      if (m.testo.substr(0, m.testo.find('\n')) == kFatto && m.titolo == "Creazione Telematico") return true;
    }
    return false;
  }

  RecordProva testata = TestataProva();
  ImpostazioniTelematico impostazioni;
  StatoRun run;
  bool riuscito = false;
  Testi records;
  std::string didascalia;
};

class CorsaProva : public ::testing::Test, public CorsaBanco {};

}  // namespace quibold::prova
