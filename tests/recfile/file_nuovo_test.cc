#include "recfile/file_nuovo.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "support/archivio_prova.h"
#include "support/sistema_guasto.h"

namespace quibold {
namespace {

// The real system, where another run has its whole turn at the worst moment: after this run
// opened the temporary file, before it locked it.
class SistemaConIntrusa : public prova::SistemaGuasto {
 public:
  std::function<void()> intanto;
  int Blocca(Maniglia file) override {
    if (auto intrusa = std::exchange(intanto, {})) intrusa();
    return SistemaGuasto::Blocca(file);
  }
};

// Once locked, the file opened is no longer this run's temporary file: the other run renamed it
// over the old one (emptying it would empty the other's complete file) or removed it.
TEST(FileNuovo, AnotherRunBetweenOpenAndLockKeepsItsFile) {
  prova::RadiceTemporanea radice;
  const auto file = radice.percorso() / "TCU118";
  auto scrivi = [](const FileNuovo& f, std::string_view testo) {
    size_t n = 0;
    return SistemaReale().Scrivi(f.file(), testo.data(), testo.size(), 0, n) != 0 || n != testo.size();
  };
  SistemaConIntrusa sistema;
  for (const bool consegna : {true, false}) {
    radice.Scrivi("TCU118", "di prima");
    sistema.intanto = [&] {
      FileNuovo altra(SistemaReale());
      EXPECT_FALSE(altra.Apri(file) || scrivi(altra, "dell'altra") || (consegna && altra.Consegna()));
    };
    FileNuovo questa(sistema);
    ASSERT_EQ(questa.Apri(file), 0);
    EXPECT_EQ(radice.Leggi("TCU118"), consegna ? "dell'altra" : "di prima");
    EXPECT_FALSE(scrivi(questa, "di questa") || questa.Consegna());
    EXPECT_EQ(radice.Leggi("TCU118"), "di questa");
    for (const auto& voce : std::filesystem::directory_iterator(radice.percorso())) {
      EXPECT_EQ(voce.path().filename(), "TCU118");  // nothing beside it
    }
  }
}

}  // namespace
}  // namespace quibold
