#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/caso.h"
#include "fuzz/grezzo.h"
#include "fuzz/semi.h"
#include "support/archivio_prova.h"
#include "support/luoghi_prova.h"

namespace quibold::collaudo {
namespace {

namespace fs = std::filesystem;

std::string Elenco(const std::vector<std::string>& righe) {
  std::string t;
  for (const auto& r : righe) t += "\n  " + r;
  return t;
}

// Every input the fuzzer ever stopped on, run again through the same checks.
TEST(CasiFuzz, EveryStoredInputKeepsTheRunsPromises) {
  const Banco banco;
  int casi = 0;
  for (const auto& voce : fs::directory_iterator(fs::path(prova::kSorgenti) / "fuzz" / "regressioni")) {
    const std::string dati = prova::LeggiFile(voce.path());
    const Esito esito = ProvaCaso(banco, dati);
    EXPECT_TRUE(esito.violazioni.empty()) << voce.path().filename() << Elenco(esito.violazioni);
    ++casi;
  }
  EXPECT_GT(casi, 0);
}

// Every input the check's fuzzer stopped on, run again through the same checks.
TEST(CasiFuzz, EveryStoredRawFileKeepsTheChecksPromises) {
  const std::vector<std::string> basi = BasiValide();
  ASSERT_FALSE(basi.empty());
  int casi = 0;
  for (const auto& voce : fs::directory_iterator(fs::path(prova::kSorgenti) / "fuzz" / "regressioni-verifica")) {
    const std::string dati = prova::LeggiFile(voce.path());
    EXPECT_TRUE(ProvaControllo(dati, basi).empty()) << voce.path().filename() << Elenco(ProvaControllo(dati, basi));
    ++casi;
  }
  EXPECT_GT(casi, 0);
}

// The seeds reach the whole writer: the samples complete in every mode, except the
// self-employment certification that the writer refuses.
TEST(CasiFuzz, TheSeedsCompleteOnTheSamplesTheWriterAccepts) {
  const Banco banco;
  for (const Seme& seme : Semi()) {
    const Esito esito = ProvaCaso(banco, seme.dati);
    EXPECT_TRUE(esito.violazioni.empty()) << seme.nome << Elenco(esito.violazioni);
    EXPECT_EQ(esito.riuscito, !seme.nome.starts_with("autonomi")) << seme.nome;
  }
}

}  // namespace
}  // namespace quibold::collaudo
