#include "recfile/file_nuovo.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "support/archivio_prova.h"
#include "support/sistema_guasto.h"

namespace quibold {
namespace {

namespace fs = std::filesystem;

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

void Scrivi(Sistema& sistema, const FileNuovo& nuovo, std::string_view testo) {
  size_t scritti = 0;
  ASSERT_EQ(sistema.Scrivi(nuovo.file(), testo.data(), testo.size(), 0, scritti), 0);
  ASSERT_EQ(scritti, testo.size());
}

// The other run writes, renames and closes the very file this one opened: once locked, it is no
// longer this run's temporary file, and emptying it would empty the other's complete file.
TEST(FileNuovo, AnotherRunBetweenOpenAndLockKeepsItsFile) {
  prova::RadiceTemporanea radice;
  const fs::path file = radice.percorso() / "TCU118";
  SistemaConIntrusa sistema;
  for (const bool consegna : {true, false}) {
    SCOPED_TRACE(consegna ? "l'altra consegna" : "l'altra abbandona");
    radice.Scrivi("TCU118", "di prima");
    sistema.intanto = [&] {
      FileNuovo altra(SistemaReale());
      ASSERT_EQ(altra.Apri(file), 0);
      Scrivi(SistemaReale(), altra, "dell'altra");
      if (consegna) {
        ASSERT_EQ(altra.Consegna(), 0);
      }
    };
    FileNuovo questa(sistema);
    ASSERT_EQ(questa.Apri(file), 0);
    EXPECT_EQ(radice.Leggi("TCU118"), consegna ? "dell'altra" : "di prima");
    Scrivi(sistema, questa, "di questa");
    ASSERT_EQ(questa.Consegna(), 0);
    EXPECT_EQ(radice.Leggi("TCU118"), "di questa");
    EXPECT_FALSE(fs::exists(NomeTemporaneo(file)));
  }
}

// A temporary name that is another file's too, a link or a folder is not this run's to empty.
TEST(FileNuovo, ATemporaryNameThatIsNoFileOfItsOwnIsLeftAlone) {
  const struct {
    const char* nome;
    std::function<void(const fs::path& temporaneo, const fs::path& altro)> prepara;
  } kCasi[] = {
      {"collegamento fisico", [](const fs::path& t, const fs::path& a) { fs::create_hard_link(a, t); }},
      {"collegamento simbolico", [](const fs::path& t, const fs::path& a) { fs::create_symlink(a, t); }},
      {"cartella", [](const fs::path& t, const fs::path&) { fs::create_directory(t); }},
  };
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(caso.nome);
    prova::RadiceTemporanea radice;
    radice.Scrivi("DCU1.018", "dell'archivio");
    const fs::path file = radice.percorso() / "TCU118", temporaneo = NomeTemporaneo(file);
    try {
      caso.prepara(temporaneo, radice.percorso() / "DCU1.018");
    } catch (const fs::filesystem_error&) {
      continue;  // a system that makes no such links (Wine)
    }
    FileNuovo nuovo(SistemaReale());
    EXPECT_EQ(nuovo.Apri(file), kAccessoPercorso);
    EXPECT_EQ(radice.Leggi("DCU1.018"), "dell'archivio");
    EXPECT_FALSE(fs::exists(file));
  }
}

}  // namespace
}  // namespace quibold
