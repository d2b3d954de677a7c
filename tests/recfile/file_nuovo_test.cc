#include "recfile/file_nuovo.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <utility>

#include "support/archivio_prova.h"
#include "support/sistema_guasto.h"

namespace quibold {
namespace {

namespace fs = std::filesystem;

// The real system, where another run has its whole turn at the worst moment: after this run
// opened the lock's file, before it locked it.
class SistemaConIntrusa : public prova::SistemaGuasto {
 public:
  std::function<void()> intanto;
  int Blocca(Maniglia file) override {
    if (auto intrusa = std::exchange(intanto, {})) intrusa();
    return SistemaGuasto::Blocca(file);
  }
};

bool Scrivi(Sistema& sistema, const FileNuovo& f, std::string_view testo) {
  size_t n = 0;
  return sistema.Scrivi(f.file(), testo.data(), testo.size(), 0, n) == 0 && n == testo.size();
}

// The names in a folder of the memory, with what each holds.
std::map<std::string, std::string> Cartella(prova::SistemaInMemoria& memoria, const fs::path& cartella) {
  std::map<std::string, std::string> voci;
  (void)memoria.Elenca(cartella, [&](const VoceCartella& v) {
    voci[std::string(v.nome)] = memoria.Contenuto(cartella / PercorsoDaUtf8(v.nome));
    return true;
  });
  return voci;
}

// Once locked, the file opened is no longer the name's lock: the other run removed it as it ended,
// having renamed its file over the old one or abandoned it.
TEST(FileNuovo, AnotherRunBetweenOpenAndLockKeepsItsFile) {
  prova::RadiceTemporanea radice;
  const auto file = radice.percorso() / "TCU118";
  SistemaConIntrusa sistema;
  for (const bool consegna : {true, false}) {
    radice.Scrivi("TCU118", "di prima");
    sistema.intanto = [&] {
      FileNuovo altra(SistemaReale());
      EXPECT_FALSE(altra.Apri(file) || !Scrivi(SistemaReale(), altra, "dell'altra") || (consegna && altra.Consegna()));
    };
    FileNuovo questa(sistema);
    ASSERT_EQ(questa.Apri(file), 0);
    EXPECT_EQ(radice.Leggi("TCU118"), consegna ? "dell'altra" : "di prima");
    EXPECT_TRUE(Scrivi(sistema, questa, "di questa") && questa.Consegna() == 0);
    EXPECT_EQ(radice.Leggi("TCU118"), "di questa");
    for (const auto& voce : fs::directory_iterator(radice.percorso())) {
      EXPECT_EQ(voce.path().filename(), "TCU118");  // nothing beside it
    }
  }
}

// A killed run leaves its lock's file and its temporary file; the next run on the name removes
// them, and nothing else: not a name like them of another file, of another length, nor one that
// is no file of the program's (the disk's cases, links, are the bad-input suite's). Without the
// lock's file left, nothing is looked for; where runs keep no lock, nothing is removed that may be
// another run's.
TEST(FileNuovo, LeftoversOfAKilledRunAreRemovedAndNothingElse) {
  class SenzaBlocchi : public prova::SistemaInMemoria {
   public:
    int Blocca(Maniglia) override { return kErroreIO; }
  };
  const struct { bool bloccoRimasto, senzaBlocchi; } kCasi[] = {{true, false}, {false, false}, {true, true}};
  for (const auto& c : kCasi) {
    SCOPED_TRACE(std::to_string(c.bloccoRimasto) + std::to_string(c.senzaBlocchi));
    prova::SistemaInMemoria conBlocchi;
    SenzaBlocchi senza;
    prova::SistemaInMemoria& memoria = c.senzaBlocchi ? senza : conBlocchi;
    const fs::path cartella = prova::SistemaInMemoria::Radice();
    const std::map<std::string, std::string> restano = {
        {"TCU1180.abcdefgh.incompleto", "di un altro nome"}, {"TCU118.abcdefg.incompleto", "sette"},
        {"TCU118.ABCDEFGH.incompleto", "maiuscole"},         {"TCU118.abcdefgh.altro", "altro"},
        {"TCU118.incompleto", "di un'altra versione"},
    };
    for (const auto& [nome, contenuto] : restano) memoria.Metti(cartella / nome, contenuto);
    memoria.Metti(cartella / "TCU118.k3x9q2a7.incompleto", "una corsa uccisa");
    if (c.bloccoRimasto) memoria.Metti(cartella / "TCU118.blocco.incompleto", "");
    FileNuovo nuovo(memoria);
    ASSERT_EQ(nuovo.Apri(cartella / "TCU118"), 0);
    EXPECT_EQ(nuovo.senzaBlocchi(), c.senzaBlocchi);
    ASSERT_TRUE(Scrivi(memoria, nuovo, "nuovo") && nuovo.Consegna() == 0);
    auto attese = restano;
    attese["TCU118"] = "nuovo";
    if (!c.bloccoRimasto || c.senzaBlocchi) attese["TCU118.k3x9q2a7.incompleto"] = "una corsa uccisa";
    EXPECT_EQ(Cartella(memoria, cartella), attese);
  }
}

// Where runs keep no lock, two on one name each write a file of their own, and the last to take
// the name wins; neither's bytes are the other's.
TEST(FileNuovo, WithoutLocksTwoRunsNeverShareAFile) {
  class SenzaBlocchi : public prova::SistemaInMemoria {
   public:
    int Blocca(Maniglia) override { return kErroreIO; }
  } memoria;
  const fs::path file = prova::SistemaInMemoria::Radice() / "TCU118";
  FileNuovo prima(memoria), seconda(memoria);
  ASSERT_EQ(prima.Apri(file), 0);
  ASSERT_EQ(seconda.Apri(file), 0);
  ASSERT_TRUE(Scrivi(memoria, prima, "della prima, piu' lunga") && Scrivi(memoria, seconda, "della seconda"));
  EXPECT_EQ(seconda.Consegna(), 0);
  EXPECT_EQ(prima.Consegna(), 0);
  EXPECT_EQ(Cartella(memoria, file.parent_path()),
            (std::map<std::string, std::string>{{"TCU118", "della prima, piu' lunga"}}));
}

// The file written is renamed only while it is the file the run made: one put in its place is
// neither renamed nor removed, and the name keeps what it held.
TEST(FileNuovo, AFileSwappedForTheTemporaryOneIsNotRenamed) {
  prova::SistemaInMemoria memoria;
  const fs::path cartella = prova::SistemaInMemoria::Radice();
  memoria.Metti(cartella / "TCU118", "di prima");
  FileNuovo nuovo(memoria);
  ASSERT_EQ(nuovo.Apri(cartella / "TCU118"), 0);
  ASSERT_TRUE(Scrivi(memoria, nuovo, "nuovo"));
  std::string temporaneo;
  for (const auto& [nome, contenuto] : Cartella(memoria, cartella)) {
    if (nome.size() == 26) temporaneo = nome;  // TCU118.xxxxxxxx.incompleto
  }
  ASSERT_FALSE(temporaneo.empty());
  ASSERT_EQ(memoria.Rimuovi(cartella / temporaneo), 0);
  memoria.Metti(cartella / temporaneo, "d'altri");
  EXPECT_EQ(nuovo.Consegna(), kAccessoPercorso);
  EXPECT_EQ(nuovo.causa(), FileNuovo::Causa::Cambiato);
  EXPECT_EQ(Cartella(memoria, cartella),
            (std::map<std::string, std::string>{{"TCU118", "di prima"}, {temporaneo, "d'altri"}}));
}

}  // namespace
}  // namespace quibold
