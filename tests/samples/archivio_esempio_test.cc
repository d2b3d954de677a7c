#include "samples/archivio_esempio.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "samples/casi_verifica.h"
#include "support/corsa_prova.h"
#include "support/luoghi_prova.h"
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
  esempio::SulDisco(radice.percorso())(esempio::kFileCasiVerifica, esempio::FileCasiVerifica());
  const fs::path bundled = fs::path(prova::kSorgenti) / "samples" / "radice";
  for (const auto& voce : fs::recursive_directory_iterator(radice.percorso())) {
    if (!voce.is_regular_file()) continue;
    const fs::path relativo = fs::relative(voce.path(), radice.percorso());
    EXPECT_TRUE(prova::LeggiFile(bundled / relativo) == radice.Leggi(relativo))
        << relativo << " differs: run quibold_genera samples/radice";
  }
}

// Each case of the sample file of the check's cases is what the check says of its employee's
// records (of record A, for the case written there), and nothing else.
TEST(ArchivioEsempio, TheCheckSaysOfEachCaseWhatItsSampleShows) {
  const auto casi = esempio::CasiVerifica();
  const std::string file = esempio::FileCasiVerifica();
  Verifica v(Vaglio::Rapido, 20180315);
  for (size_t i = 0; i < file.size(); i += 1900) v.Record(std::string_view(file).substr(i, 1900));
  v.Fine();
  const auto casoA = std::find_if(casi.begin(), casi.end(), [](const auto& c) { return c.record == 'A'; });
  std::vector<std::vector<Gravita>> trovati(casi.size());
  for (const Rilievo& r : v.Rilievi()) {
    // Record A, or an employee's records D and G from record 3 on.
    const long caso = r.record == 1 ? casoA - casi.begin() : r.record < 3 ? -1 : (r.record - 3) / 2;
    ASSERT_TRUE(caso >= 0 && caso < static_cast<long>(casi.size())) << TestoRilievo(r);
    trovati[static_cast<size_t>(caso)].push_back(r.gravita);
  }
  for (size_t i = 0; i < casi.size(); ++i) {
    const std::vector<Gravita> attesi = casi[i].rilievo ? std::vector{*casi[i].rilievo} : std::vector<Gravita>{};
    EXPECT_EQ(trovati[i], attesi) << casi[i].cosa;
  }
}

}  // namespace
}  // namespace quibold
