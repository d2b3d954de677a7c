#include "recfile/percorsi.h"

#include <gtest/gtest.h>
#include <stdlib.h>

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
  EXPECT_EQ(p.Nativo("/tmp/out/TCU118"), "/tmp/out/TCU118");  // native paths stay as they are
}

TEST(Percorsi, ExistingNamesMatchWithoutRegardToCase) {
  prova::RadiceTemporanea radice;
  radice.Scrivi("c/vorn/quelt/2017/dati/FCU12.018", "x");
  Percorsi p(radice.percorso());
  const fs::path atteso = radice.percorso() / "c/vorn/quelt/2017/dati/FCU12.018";
  EXPECT_EQ(p.Nativo("C:\\VORN\\QUELT\\2017\\DATI\\fcu12.018"), atteso);
  EXPECT_EQ(p.Nativo("\\vorn\\QUELT\\2017\\dati\\FCU12.018"), atteso);
  // A name that does not exist yet keeps the case it is given.
  EXPECT_EQ(p.Nativo("c:\\vorn\\QUELT\\2017\\dati\\Report.TXT"),
            radice.percorso() / "c/vorn/quelt/2017/dati/Report.TXT");
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
  setenv("QUIBOLD_RADICE", "/da/ambiente", 1);
  EXPECT_EQ(Percorsi::RadiceDiSistema("/da/opzione"), "/da/opzione");
  EXPECT_EQ(Percorsi::RadiceDiSistema("-relativa"), fs::current_path() / "-relativa");
  EXPECT_EQ(Percorsi::RadiceDiSistema(), "/da/ambiente");
  unsetenv("QUIBOLD_RADICE");
  setenv("XDG_DATA_HOME", "/dati/utente", 1);
  EXPECT_EQ(Percorsi::RadiceDiSistema(), "/dati/utente/quibold");
  unsetenv("XDG_DATA_HOME");
  const char* casa = getenv("HOME");
  const std::string vecchiaCasa = casa ? casa : "";
  setenv("HOME", "/home/paghe", 1);
  EXPECT_EQ(Percorsi::RadiceDiSistema(), "/home/paghe/.local/share/quibold");
  setenv("HOME", vecchiaCasa.c_str(), 1);
}

}  // namespace
}  // namespace quibold
