#include "recfile/percorsi.h"

#include <gtest/gtest.h>

#include "support/archivio_prova.h"

namespace quibold {
namespace {

namespace fs = std::filesystem;

TEST(Percorsi, DrivesAreFoldersUnderTheRoot) {
  Percorsi p("/radice");
  EXPECT_EQ(p.Nativo("D:\\vorn\\quelt\\2017\\dati\\FCU7.018"), "/radice/d/vorn/quelt/2017/dati/FCU7.018");
  EXPECT_EQ(p.Nativo("c:\\disco.ute"), "/radice/c/disco.ute");
  EXPECT_EQ(p.Nativo("\\vorn\\quelt\\"), "/radice/c/vorn/quelt/");  // no drive: drive c
  EXPECT_EQ(p.Nativo("E:/uscita/TCU118"), "/radice/e/uscita/TCU118");
#ifdef _WIN32
  EXPECT_EQ(p.Nativo("uscita\\TCU118"), "uscita\\TCU118");  // relative to the current folder
  // Without a drive root, the real drives: a path as it is, in UTF-16.
  const Percorsi reali({});
  EXPECT_EQ(reali.Nativo("c:\\disco.ute").native(), L"c:\\disco.ute");
  EXPECT_EQ(reali.Nativo("D:\\citt\xE0 \x80\\").native(), L"D:\\citt\u00E0 \u20AC\\");
#else
  EXPECT_EQ(p.Nativo("/tmp/out/TCU118"), "/tmp/out/TCU118");  // native paths stay as they are
#endif
}

// The names Windows keeps for its devices, whatever the extension, case and folder.
TEST(Percorsi, DeviceNamesAreKnownByName) {
  for (const char* dispositivo : {"NUL", "C:\\telematici\\nul.txt", "con", "Aux.018", "PRN  .txt", "COM1",
                                  "/tmp/lpt9.csv", "COM\xB9", "com\xC2\xB2.x", "CONIN$", "COM1:"}) {
    EXPECT_TRUE(NomeDiDispositivo(dispositivo)) << dispositivo;
  }
  for (const char* file : {"TCU118", "NUL\\TCU118", "NULLA", "COM0", "COM10", "LPT", "CON1", "xnul.txt", ""}) {
    EXPECT_FALSE(NomeDiDispositivo(file)) << file;
  }
}

TEST(Percorsi, ExistingNamesMatchWithoutRegardToCase) {
  prova::RadiceTemporanea radice;
  radice.Scrivi("c/vorn/quelt/2017/dati/FCU12.018", "x");
  Percorsi p(radice.percorso());
  const fs::path dati = radice.percorso() / "c/vorn/quelt/2017/dati";
  EXPECT_TRUE(fs::equivalent(p.Nativo("C:\\VORN\\QUELT\\2017\\DATI\\fcu12.018"), dati / "FCU12.018"));
  EXPECT_TRUE(fs::equivalent(p.Nativo("\\vorn\\QUELT\\2017\\dati\\FCU12.018"), dati / "FCU12.018"));
  // A name that does not exist yet keeps the case it is given.
  const fs::path nuovo = p.Nativo("c:\\vorn\\QUELT\\2017\\dati\\Report.TXT");
  EXPECT_EQ(nuovo.filename(), "Report.TXT");
  EXPECT_TRUE(fs::equivalent(nuovo.parent_path(), dati));
}

TEST(Percorsi, ExistenceIsForOrdinaryFilesOnly) {
  prova::RadiceTemporanea radice;
  radice.Scrivi("c/dati/FCU3.018", "x");
  Percorsi p(radice.percorso());
  EXPECT_TRUE(p.EsisteFile("C:\\dati\\FCU3.018"));
  EXPECT_TRUE(p.EsisteFile("c:\\DATI\\fcu3.018"));
  EXPECT_FALSE(p.EsisteFile("C:\\dati\\FCU03.018"));
  EXPECT_FALSE(p.EsisteFile("C:\\dati"));            // a folder is no file
  EXPECT_FALSE(p.EsisteFile("Q:\\dati\\FCU3.018"));  // a drive that does not exist
  EXPECT_FALSE(p.EsisteFile("C:\\manca\\FCU3.018"));
}

TEST(Percorsi, RootFromOptionEnvironmentOrDataHome) {
  prova::ImpostaAmbiente("QUIBOLD_RADICE", "/da/ambiente");
  EXPECT_EQ(Percorsi::RadiceDiSistema("/da/opzione"), fs::absolute("/da/opzione"));
  EXPECT_EQ(Percorsi::RadiceDiSistema("-relativa"), fs::current_path() / "-relativa");
  EXPECT_EQ(Percorsi::RadiceDiSistema(), fs::absolute("/da/ambiente"));
  prova::ImpostaAmbiente("QUIBOLD_RADICE", nullptr);
#ifdef _WIN32
  EXPECT_EQ(Percorsi::RadiceDiSistema(), fs::path());  // the real drives
#else
  prova::ImpostaAmbiente("XDG_DATA_HOME", "/dati/utente");
  EXPECT_EQ(Percorsi::RadiceDiSistema(), "/dati/utente/quibold");
  prova::ImpostaAmbiente("XDG_DATA_HOME", nullptr);
  const auto casa = Ambiente("HOME");
  prova::ImpostaAmbiente("HOME", "/home/paghe");
  EXPECT_EQ(Percorsi::RadiceDiSistema(), "/home/paghe/.local/share/quibold");
  prova::ImpostaAmbiente("HOME", casa ? casa->c_str() : "");
#endif
}

}  // namespace
}  // namespace quibold
