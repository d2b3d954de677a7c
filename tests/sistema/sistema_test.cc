// What the program may take of every `Sistema`, held the same against the system of this machine
// (POSIX, or Windows and Wine) and the one in memory that most tests run on, so that the two
// cannot drift apart: the opens, the lock, renaming over a file, removing one, identities,
// synchronizing, the folders' entries and a device.
#include "sistema/sistema.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "support/archivio_prova.h"
#include "support/sistema_memoria.h"

namespace quibold {
namespace {

namespace fs = std::filesystem;

// A folder of a system, with what a test of the contract needs that the interface does not give.
struct Banco {
  virtual ~Banco() = default;
  virtual Sistema& sistema() = 0;
  virtual fs::path cartella() = 0;
  virtual void Metti(const fs::path& file, std::string_view contenuto) = 0;
  virtual void SolaLettura(const fs::path& file) = 0;
  virtual fs::path Dispositivo() = 0;  // one that takes every write and has nothing to read
};

struct BancoReale : Banco {
  prova::RadiceTemporanea radice;
  ~BancoReale() override {
    std::error_code ec;
    for (const auto& voce : fs::recursive_directory_iterator(radice.percorso(), ec)) {
      fs::permissions(voce.path(), fs::perms::owner_write, fs::perm_options::add, ec);
    }
  }
  Sistema& sistema() override { return SistemaReale(); }
  fs::path cartella() override { return radice.percorso(); }
  void Metti(const fs::path& file, std::string_view contenuto) override {
    radice.Scrivi(file.lexically_relative(cartella()), contenuto);
  }
  void SolaLettura(const fs::path& file) override {
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  }
  fs::path Dispositivo() override { return kWindows ? fs::path("NUL") : fs::path("/dev/null"); }
};

struct BancoMemoria : Banco {
  prova::SistemaInMemoria memoria;
  Sistema& sistema() override { return memoria; }
  fs::path cartella() override { return prova::SistemaInMemoria::Radice(); }
  void Metti(const fs::path& file, std::string_view contenuto) override { memoria.Metti(file, contenuto); }
  void SolaLettura(const fs::path& file) override { memoria.SolaLettura(file); }
  fs::path Dispositivo() override {
    memoria.MettiSpeciale(cartella() / "nulla", prova::SistemaInMemoria::Speciale::Nulla);
    return cartella() / "nulla";
  }
};

struct Sistemi {
  const char* nome;
  std::function<std::unique_ptr<Banco>()> crea;
};
void PrintTo(const Sistemi& s, std::ostream* os) { *os << s.nome; }

class Contratto : public ::testing::TestWithParam<Sistemi> {
 protected:
  std::unique_ptr<Banco> banco = GetParam().crea();
  Sistema& s = banco->sistema();
  const fs::path dir = banco->cartella();

  std::string Leggi(Maniglia f) {
    std::string testo(64, '\0');
    size_t letti = 0;
    EXPECT_EQ(s.Leggi(f, testo.data(), testo.size(), 0, letti), 0);
    testo.resize(letti);
    return testo;
  }
  void Scrivi(Maniglia f, std::string_view testo) {
    size_t scritti = 0;
    ASSERT_EQ(s.Scrivi(f, testo.data(), testo.size(), 0, scritti), 0);
    ASSERT_EQ(scritti, testo.size());
  }
  // Opens, or fails the test.
  Maniglia Apri(const fs::path& nome, Apertura modo) {
    Maniglia f = kNessunFile;
    EXPECT_EQ(s.Apri(nome, modo, f), 0) << nome;
    return f;
  }
  std::string Contenuto(const fs::path& nome) {
    const Maniglia f = Apri(nome, Apertura::Lettura);
    const std::string testo = f == kNessunFile ? std::string("?") : Leggi(f);
    if (f != kNessunFile) {
      EXPECT_EQ(s.Chiudi(f), 0);
    }
    return testo;
  }
};

// Each way to open, on a name that is missing, on an existing file and on a folder: the error,
// and what the file then holds ("-" for none).
TEST_P(Contratto, OpensAsEachModeSays) {
  const struct {
    Apertura modo;
    int mancante, esistente;
    const char* poi;         // what the existing file holds after
    bool cartellaRifiutata;  // a folder is not opened so (a folder read is the system's to allow)
  } kModi[] = {
      {Apertura::Lettura, kPercorsoNonTrovato, 0, "prima", false},
      {Apertura::Binaria, 0, 0, "prima", true},
      {Apertura::Svuotata, 0, 0, "", true},
      {Apertura::Uscita, 0, 0, "prima", true},
      {Apertura::Temporanea, 0, 0, "prima", true},
      {Apertura::Nuova, 0, kFileEsistente, "prima", true},
  };
  banco->Metti(dir / "cartella" / "dentro", "");
  for (const auto& m : kModi) {
    SCOPED_TRACE(static_cast<int>(m.modo));
    banco->Metti(dir / "esistente", "prima");
    (void)s.Rimuovi(dir / "mancante");
    Maniglia f = kNessunFile;
    EXPECT_EQ(s.Apri(dir / "mancante", m.modo, f), m.mancante);
    if (f != kNessunFile) {
      EXPECT_EQ(s.Chiudi(std::exchange(f, kNessunFile)), 0);
    }
    EXPECT_EQ(s.Tipo(dir / "mancante"), m.mancante ? TipoFile::Nessuno : TipoFile::Ordinario);
    EXPECT_EQ(s.Apri(dir / "esistente", m.modo, f), m.esistente);
    if (f != kNessunFile) {
      EXPECT_EQ(s.Chiudi(std::exchange(f, kNessunFile)), 0);
    }
    EXPECT_EQ(Contenuto(dir / "esistente"), m.poi);
    if (m.cartellaRifiutata) {
      EXPECT_NE(s.Apri(dir / "cartella", m.modo, f), 0);
      if (f != kNessunFile) (void)s.Chiudi(f);
    }
    EXPECT_EQ(s.Apri(dir / "manca" / "file", m.modo, f), kPercorsoNonTrovato);
  }
}

// The lock binds every other open of the file, until the open that holds it is closed; closing
// another open lets nothing go.
TEST_P(Contratto, TheLockBindsOtherOpensUntilItsOwnCloses) {
  const Maniglia prima = Apri(dir / "blocco", Apertura::Temporanea);
  const Maniglia seconda = Apri(dir / "blocco", Apertura::Temporanea);
  const Maniglia terza = Apri(dir / "blocco", Apertura::Uscita);
  EXPECT_EQ(s.Blocca(prima), 0);
  EXPECT_EQ(s.Blocca(seconda), kFileGiaAperto);
  EXPECT_EQ(s.Chiudi(terza), 0);
  EXPECT_EQ(s.Blocca(seconda), kFileGiaAperto);
  EXPECT_EQ(s.Chiudi(prima), 0);
  EXPECT_EQ(s.Blocca(seconda), 0);
  EXPECT_EQ(s.Chiudi(seconda), 0);
}

// A lock is taken only on a file open for writing: asserted where the debug builds keep assertions.
TEST_P(Contratto, ALockOnAFileOnlyReadIsRefused) {
  banco->Metti(dir / "letto", "");
  const Maniglia f = Apri(dir / "letto", Apertura::Lettura);
  EXPECT_DEBUG_DEATH((void)s.Blocca(f), "");
  EXPECT_EQ(s.Chiudi(f), 0);
}

// A file made anew, still open, renamed over another: the name is its; the file replaced is still
// read through an open of it, where the system replaces a file open elsewhere at all (Windows does
// not). A file removed while open is read through it too.
TEST_P(Contratto, RenamesOverAFileAndRemovesOpenFiles) {
  banco->Metti(dir / "vecchio", "vecchio");
  Maniglia vecchio = Apri(dir / "vecchio", Apertura::Lettura);
  const Maniglia nuovo = Apri(dir / "nuovo", Apertura::Nuova);
  Scrivi(nuovo, "nuovo");
  IdentitaFile identita;
  EXPECT_EQ(s.IdentitaAperto(nuovo, identita), 0);
  const int sopraUnAperto = s.Rinomina(dir / "nuovo", dir / "vecchio");
  if (kWindows) {
    EXPECT_EQ(sopraUnAperto, kPermessoNegato);
    EXPECT_EQ(s.Chiudi(std::exchange(vecchio, kNessunFile)), 0);
    EXPECT_EQ(s.Rinomina(dir / "nuovo", dir / "vecchio"), 0);
  } else {
    EXPECT_EQ(sopraUnAperto, 0);
    EXPECT_EQ(Leggi(vecchio), "vecchio");
    EXPECT_EQ(s.Chiudi(vecchio), 0);
  }
  EXPECT_EQ(s.Tipo(dir / "nuovo"), TipoFile::Nessuno);
  EXPECT_EQ(s.Identita(dir / "vecchio"), identita);
  EXPECT_EQ(s.Rimuovi(dir / "vecchio"), 0);
  EXPECT_EQ(Leggi(nuovo), "nuovo");
  EXPECT_EQ(s.Chiudi(nuovo), 0);
  EXPECT_FALSE(s.Presente(dir / "vecchio"));  // at once, or (Windows before 10, Wine) once closed
  EXPECT_EQ(s.Rimuovi(dir / "vecchio"), kPercorsoNonTrovato);
  EXPECT_EQ(s.SincronizzaCartella(dir), 0);
  EXPECT_EQ(s.SincronizzaCartella(dir / "manca"), kPercorsoNonTrovato);
}

// One file is one identity, by its name and by an open of it; another file another; a file marked
// read-only says so.
TEST_P(Contratto, IdentitiesTellFilesApartAndReadOnlyOnes) {
  banco->Metti(dir / "uno", "1");
  banco->Metti(dir / "due", "2");
  const auto uno = s.Identita(dir / "uno"), due = s.Identita(dir / "due");
  ASSERT_TRUE(uno && due);
  EXPECT_FALSE(*uno == *due);
  EXPECT_FALSE(s.Identita(dir / "manca"));
  const Maniglia f = Apri(dir / "uno", Apertura::Lettura);
  IdentitaFile aperto;
  EXPECT_EQ(s.IdentitaAperto(f, aperto), 0);
  EXPECT_EQ(aperto, *uno);
  EXPECT_EQ(s.Chiudi(f), 0);
  EXPECT_FALSE(uno->solaLettura);
  banco->SolaLettura(dir / "uno");
  EXPECT_TRUE(s.Identita(dir / "uno")->solaLettura);
  EXPECT_FALSE(s.Identita(dir / "due")->solaLettura);
}

// A folder's entries, whether each is an ordinary file; the kind of each name.
TEST_P(Contratto, FoldersListTheirEntries) {
  banco->Metti(dir / "file", "");
  banco->Metti(dir / "cartella" / "dentro", "");
  std::map<std::string, bool> voci;
  EXPECT_TRUE(s.Elenca(dir, [&](const VoceCartella& v) {
    voci[std::string(v.nome)] = v.ordinario.value_or(false);
    return true;
  }));
  EXPECT_EQ(voci, (std::map<std::string, bool>{{"cartella", false}, {"file", true}}));
  EXPECT_FALSE(s.Elenca(dir / "manca", [](const VoceCartella&) { return true; }));
  EXPECT_EQ(s.Tipo(dir / "cartella"), TipoFile::Cartella);
  EXPECT_EQ(s.Tipo(dir / "file"), TipoFile::Ordinario);
  EXPECT_EQ(s.Risolto(dir / "cartella" / ".." / "nuovo"), s.Risolto(dir) / "nuovo");
}

// A device takes every write, has nothing to read, and an open of it says it is no file.
TEST_P(Contratto, ADeviceIsNoFile) {
  const Maniglia f = Apri(banco->Dispositivo(), Apertura::Uscita);
  Scrivi(f, "a vuoto");
  EXPECT_EQ(Leggi(f), "");
  TipoFile tipo = TipoFile::Ordinario;
  long long dimensione = 0;
  EXPECT_EQ(s.Descrivi(f, tipo, dimensione), 0);
  EXPECT_EQ(tipo, TipoFile::Altro);
  EXPECT_EQ(s.Chiudi(f), 0);
}

INSTANTIATE_TEST_SUITE_P(Sistemi, Contratto,
                         ::testing::Values(Sistemi{"Reale", [] { return std::make_unique<BancoReale>(); }},
                                           Sistemi{"Memoria", [] { return std::make_unique<BancoMemoria>(); }}),
                         [](const auto& info) { return std::string(info.param.nome); });

}  // namespace
}  // namespace quibold
