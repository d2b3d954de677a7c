#include "samples/archivio_esempio.h"

#include <gtest/gtest.h>

#include "support/corsa_prova.h"
#include "verifica/verifica.h"

namespace quibold {
namespace {

namespace fs = std::filesystem;

TEST(ArchivioEsempio, TheWriterRunsOnEachSampleAndItsFilePassesTheCheck) {
  const struct {
    const char* nome;
    esempio::Certificazione certificazione;
    bool riuscito;
    const char* tipi;
  } casi[] = {
      {"company", esempio::CertificazioneSocieta(), true, "ABCDGDGDGGGGGDGZ"},
      {"natural person", esempio::CertificazionePersonaFisica(), true, "ABCDGZ"},
      {"self-employment", esempio::CertificazioneAutonomi(), false, ""},
      {"full archive", esempio::ArchivioPieno(2), true, "ABCDGGGGGDGGGGGZ"},
  };
  for (const auto& c : casi) {
    prova::CorsaBanco corsa;
    EXPECT_EQ(corsa.Esegui(c.certificazione), c.riuscito) << c.nome;
    EXPECT_EQ(corsa.Tipi(), c.tipi) << c.nome;
    if (!c.riuscito) continue;
    Verifica v;
    for (const auto& r : corsa.records) v.Record(r);
    v.Fine();
    EXPECT_EQ(v.Errori() + v.Avvisi(), 0) << c.nome << ": " << v.Rilievi()[0].messaggio;
  }
}

TEST(ArchivioEsempio, TheBundledSampleIsWhatTheGeneratorWrites) {
  prova::RadiceTemporanea radice;
  esempio::ScriviCertificazione(radice.percorso(), 1, esempio::CertificazioneSocieta());
  esempio::ScriviCertificazione(radice.percorso(), 2, esempio::CertificazionePersonaFisica());
  esempio::ScriviCertificazione(radice.percorso(), 3, esempio::CertificazioneAutonomi());
  const fs::path bundled = fs::path(QUIBOLD_SORGENTI) / "samples" / "radice";
  for (const auto& voce : fs::recursive_directory_iterator(radice.percorso())) {
    if (!voce.is_regular_file()) continue;
    const fs::path relativo = fs::relative(voce.path(), radice.percorso());
    EXPECT_TRUE(prova::LeggiFile(bundled / relativo) == radice.Leggi(relativo))
        << relativo << " differs: run quibold_genera samples/radice";
  }
}

}  // namespace
}  // namespace quibold
