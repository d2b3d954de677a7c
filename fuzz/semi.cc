#include "fuzz/semi.h"

#include "fuzz/caso.h"
#include "samples/archivio_esempio.h"

namespace quibold::collaudo {
namespace {

using esempio::Certificazione;

// The window's choices for each supply mode: the protocol fields and the record number typed
// where the mode asks for them, every confirmation answered Yes.
Scelte SceltePer(char modo) {
  Scelte s;
  s.apre = true;
  s.risposte = 0xff;
  s.tipo = modo == 'A' ? 1 : modo == 'S' ? 2 : modo == 'T' ? 3 : 0;
  if (modo != 'N') {
    s.battuti = 0x7;
    s.protocollo = "17121512345678901";
    s.progressivo = "000123";
    s.record = "1";
  }
  return s;
}

Caso CasoDi(const Certificazione& c, const Scelte& s) {
  Caso caso{s, c.testata1 + c.testata2, {}};
  for (const std::string& d : c.dipendenti) caso.dipendenti += d;
  return caso;
}

}  // namespace

std::vector<Seme> Semi() {
  const struct {
    const char* nome;
    Certificazione c;
  } campioni[] = {
      {"societa", esempio::CertificazioneSocieta()},
      {"persona", esempio::CertificazionePersonaFisica()},
      {"autonomi", esempio::CertificazioneAutonomi()},
      {"pieno", esempio::ArchivioPieno(1)},
  };
  std::vector<Seme> semi;
  for (const auto& [nome, c] : campioni) {
    for (char modo : {'N', 'A', 'S', 'T'}) {
      semi.push_back({std::string(nome) + "-" + modo, ScriviCaso(CasoDi(c, SceltePer(modo)))});
    }
  }
  // The company's employees one by one, with the report asked for and the output in its own
  // folder: small cases that reach every section.
  const Certificazione societa = esempio::CertificazioneSocieta();
  for (size_t i = 0; i < societa.dipendenti.size(); ++i) {
    Certificazione uno = societa;
    uno.dipendenti = {societa.dipendenti[i]};
    uno.testata2 = esempio::Testata2(1, 1);
    Scelte s = SceltePer('N');
    s.report = true;
    s.uscita = 1;
    semi.push_back({"societa-dipendente" + std::to_string(i + 1), ScriviCaso(CasoDi(uno, s))});
  }
  return semi;
}

}  // namespace quibold::collaudo
