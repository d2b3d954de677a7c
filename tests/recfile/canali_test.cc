#include "recfile/canali.h"

#include <gtest/gtest.h>

#include "support/banco_prova.h"

namespace quibold {
namespace {

namespace fs = std::filesystem;

class CanaliTest : public ::testing::Test, protected prova::BancoProva {
 protected:
  CanaliTest() { radice.CreaCartella("c"); }
  // Sets the current channel on a file of the temporary drive c.
  void Usa(int canale, const std::string& nome, int lunghezza) {
    canali.Canale = static_cast<int16_t>(canale);
    canali.NomeFile[canale] = nome;
    canali.LungRec[canale] = static_cast<int16_t>(lunghezza);
  }
  size_t Dimensione(const std::string& relativo) { return radice.Leggi(relativo).size(); }
};

TEST_F(CanaliTest, RecordsAreAddressedByNumberAndLength) {
  std::string contenuto;
  for (char c : {'a', 'b', 'c', 'd'}) contenuto += std::string(1200, c);
  radice.Scrivi("c/f.dat", contenuto);
  Usa(1, "C:\\f.dat", 1200);
  canali.ApriFile();
  canali.NumRec = 1;
  canali.LeggiRecord();
  EXPECT_EQ(canali.Buffer[1], std::string(1200, 'a'));
  canali.NumRec = 3;  // bytes 2401 to 3600
  canali.LeggiRecord();
  EXPECT_TRUE(canali.Riuscita());
  EXPECT_EQ(canali.Buffer[1], std::string(1200, 'c'));
  EXPECT_TRUE(messaggi.mostrati.empty());
}

TEST_F(CanaliTest, WritingPastTheEndExtendsTheFile) {
  Usa(8, "C:\\out.txt", 1900);
  canali.CreaFile();
  EXPECT_FALSE(canali.Aperto(8));
  EXPECT_EQ(Dimensione("c/out.txt"), 0u);
  canali.ApriFile();
  canali.NumRec = 5;
  canali.BufferOut[8] = std::string(1900, 'Z');
  canali.ScriviRecord();
  EXPECT_TRUE(canali.Riuscita());
  canali.Chiudi(8);
  EXPECT_EQ(Dimensione("c/out.txt"), 9500u);
  // A shorter text leaves the rest of the record as it was.
  canali.ApriFile();
  canali.ScriviRecord();
  canali.BufferOut[8] = "abc";
  canali.ScriviRecord();
  canali.Chiudi(8);
  std::string file = radice.Leggi("c/out.txt");
  EXPECT_EQ(file.substr(7600, 5), "abcZZ");
  EXPECT_EQ(file.substr(0, 7600), std::string(7600, '\0'));
}

TEST_F(CanaliTest, OpeningCreatesAMissingFile) {
  Usa(10, "c:\\disco.ute", 10);
  canali.ApriFile();
  EXPECT_TRUE(canali.Riuscita());
  EXPECT_TRUE(radice.Esiste("c/disco.ute"));
}

TEST_F(CanaliTest, CreatingEmptiesAFile) {
  radice.Scrivi("c/pieno.txt", "contenuto");
  Usa(9, "C:\\pieno.txt", 0);
  canali.CreaFile();
  EXPECT_EQ(Dimensione("c/pieno.txt"), 0u);
}

TEST_F(CanaliTest, ReadingPastTheEndKeepsTheBufferAndSaysSo) {
  radice.Scrivi("c/corto.dat", std::string(1500, 'x'));
  Usa(1, "C:\\corto.dat", 1200);
  canali.Buffer[1] = "precedente";
  canali.ApriFile();
  canali.NumRec = 2;  // only 300 bytes left
  canali.LeggiRecord();
  EXPECT_FALSE(canali.Riuscita());
  EXPECT_EQ(canali.Buffer[1], "precedente");
  ASSERT_EQ(messaggi.mostrati.size(), 1u);
  EXPECT_EQ(messaggi.mostrati[0].testo, "Errore di lettura tipo  62 nel file binario C:\\corto.dat al record  2");
  EXPECT_EQ(messaggi.mostrati[0].titolo, kTitoloProgramma);
  EXPECT_EQ(messaggi.mostrati[0].pulsanti, Pulsanti::Ok);
  EXPECT_EQ(messaggi.mostrati[0].icona, Icona::Nessuna);
  // The next good read reports success again.
  canali.NumRec = 1;
  canali.LeggiRecord();
  EXPECT_TRUE(canali.Riuscita());
}

TEST_F(CanaliTest, AClosedChannelShowsTwoMessagesAndWritesNothing) {
  Usa(8, "C:\\mai.txt", 1900);
  canali.NumRec = 1;
  canali.BufferOut[8] = "x";
  canali.ScriviRecord();
  EXPECT_FALSE(canali.Riuscita());
  EXPECT_EQ(messaggi.Testi(),
            std::vector<std::string>(2, "Errore di scrittura tipo  52 nel file binario C:\\mai.txt al record  1"));
  EXPECT_FALSE(radice.Esiste("c/mai.txt"));
  canali.Buffer[8] = "vecchio";
  canali.LeggiRecord();
  EXPECT_EQ(messaggi.mostrati.size(), 4u);
  EXPECT_EQ(messaggi.mostrati[3].testo, "Errore di lettura tipo  52 nel file binario C:\\mai.txt al record  1");
  EXPECT_EQ(canali.Buffer[8], "vecchio");
}

TEST_F(CanaliTest, AMissingFolderIsNamedInTheMessages) {
  Usa(8, "C:\\manca\\out.txt", 1900);
  canali.CreaFile();
  EXPECT_FALSE(canali.Riuscita());
  EXPECT_FALSE(canali.Aperto(8));
  EXPECT_EQ(messaggi.Testi(), std::vector<std::string>{"Errore tipo  76 nella creazione del file "});
  canali.ApriFile();
  EXPECT_EQ(messaggi.mostrati.back().testo, "Errore tipo  76 nell'apertura del  file binarioC:\\manca\\out.txt");
}

TEST_F(CanaliTest, RecordZeroIsNoRecord) {
  radice.Scrivi("c/f.dat", std::string(100, 'x'));
  Usa(2, "C:\\f.dat", 10);
  canali.ApriFile();
  canali.NumRec = 0;
  canali.LeggiRecord();
  EXPECT_FALSE(canali.Riuscita());
  EXPECT_EQ(messaggi.mostrati.back().testo, "Errore di lettura tipo  63 nel file binario C:\\f.dat al record  0");
}

TEST_F(CanaliTest, AChannelOutsideTheTableIsAMessageNotACrash) {
  canali.Canale = 11;
  canali.ApriFile();
  EXPECT_FALSE(canali.Riuscita());
  canali.Canale = -1;
  canali.NumRec = 1;
  canali.LeggiRecord();
  canali.ScriviRecord();
  canali.CreaFile();
  EXPECT_FALSE(canali.Riuscita());
  EXPECT_EQ(messaggi.mostrati.front().testo, "Errore tipo  52 nell'apertura del  file binario");
  EXPECT_EQ(messaggi.mostrati.size(), 6u);
}

TEST_F(CanaliTest, AFolderWhereAFileIsExpected) {
  radice.CreaCartella("c/cartella");
  Usa(1, "C:\\cartella", 1200);
  canali.ApriFile();
  EXPECT_FALSE(canali.Riuscita());
  EXPECT_EQ(messaggi.mostrati.back().testo, "Errore tipo  75 nell'apertura del  file binarioC:\\cartella");
}

TEST_F(CanaliTest, AFullDiskStopsTheWrite) {
  memoria.MettiSpeciale(radice.percorso() / "c" / "pieno", prova::SistemaInMemoria::Speciale::Piena);
  Usa(8, "C:\\pieno", 1900);
  canali.ApriFile();
  ASSERT_TRUE(canali.Riuscita());
  canali.NumRec = 1;
  canali.BufferOut[8] = std::string(1900, 'A');
  canali.ScriviRecord();
  EXPECT_FALSE(canali.Riuscita());
  EXPECT_EQ(messaggi.mostrati.back().testo, "Errore di scrittura tipo  61 nel file binario C:\\pieno al record  1");
}

TEST_F(CanaliTest, GatheredWritesAreReadBack) {
  Usa(2, "C:\\d.dat", 4);
  canali.ApriFile();
  for (int n = 1; n <= 3; ++n) {
    canali.NumRec = n;
    canali.BufferOut[2] = std::string(4, static_cast<char>('0' + n));
    canali.ScriviRecord();
  }
  canali.NumRec = 2;
  canali.LeggiRecord();
  EXPECT_EQ(canali.Buffer[2], "2222");
  canali.BufferOut[2] = "xy";  // over a record already read ahead
  canali.ScriviRecord();
  canali.LeggiRecord();
  EXPECT_EQ(canali.Buffer[2], "xy22");
  EXPECT_TRUE(messaggi.mostrati.empty());
}

// Records read one after another come from blocks read ahead, a record that straddles two
// blocks included; a write drops what was read ahead and not yet used.
TEST_F(CanaliTest, RecordsReadInTurnComeFromTheBlocksReadAhead) {
  const struct {
    int lunghezza, records;
    int primo;     // a record inside a block read ahead (blocks of 10.9 and of 655.36 records)
    int cambiato;  // a later record of that block, rewritten when `primo` is reached
  } kCasi[] = {{6000, 300, 23, 26}, {100, 1500, 1320, 1400}};
  for (const auto& c : kCasi) {
    auto record = [&](int n) {
      std::string r = std::to_string(n);
      return r + std::string(static_cast<size_t>(c.lunghezza) - r.size(), static_cast<char>('a' + n % 26));
    };
    std::string contenuto;
    for (int n = 1; n <= c.records; ++n) contenuto += record(n);
    radice.Scrivi("c/a.dat", contenuto);
    Usa(1, "C:\\a.dat", c.lunghezza);
    canali.ApriFile();
    for (int n = 1; n <= c.records; ++n) {
      if (n == c.primo) {
        canali.NumRec = c.cambiato;
        canali.BufferOut[1] = "nuovo";
        canali.ScriviRecord();
      }
      canali.NumRec = n;
      canali.LeggiRecord();
      const std::string atteso = n == c.cambiato ? "nuovo" + record(n).substr(5) : record(n);
      ASSERT_TRUE(canali.Buffer[1] == atteso) << "record " << n << " of " << c.lunghezza;
    }
    canali.Chiudi(1);
  }
  EXPECT_TRUE(messaggi.mostrati.empty());
}

// The watcher of a channel sees each byte written once, in order: gathered blocks written
// beside and at the close, and the writes to a device, which are not gathered.
TEST_F(CanaliTest, TheWatcherSeesEveryByteWritten) {
  struct Vista : VistaScrittura {
    std::string visti;
    void Scritti(std::string_view dati) override { visti.append(dati); }
  };
  const struct {
    const char* nome;
    int records;
  } kCasi[] = {{"C:\\out.dat", 1200}, {"C:\\nulla", 3}};
  memoria.MettiSpeciale(radice.percorso() / "c" / "nulla", prova::SistemaInMemoria::Speciale::Nulla);
  for (const auto& c : kCasi) {
    Vista vista;
    canali.Osserva(8, &vista);
    Usa(8, c.nome, 1900);
    canali.ApriFile();
    std::string scritti;
    for (int n = 1; n <= c.records; ++n) {
      canali.NumRec = n;
      canali.BufferOut[8] = std::string(1900, static_cast<char>('a' + n % 26));
      canali.ScriviRecord();
      scritti += canali.BufferOut[8];
    }
    canali.ScriviRaccolti(8);
    EXPECT_TRUE(canali.Riuscita());
    EXPECT_EQ(vista.visti, scritti);
    canali.Osserva(8, nullptr);
    canali.NumRec = c.records + 1;
    canali.ScriviRecord();  // unseen
    canali.Chiudi(8);
    EXPECT_EQ(vista.visti.size(), scritti.size());
    if (c.records > 3) {
      EXPECT_EQ(radice.Leggi("c/out.dat"), scritti + canali.BufferOut[8]);
    }
  }
  EXPECT_TRUE(messaggi.mostrati.empty());
}

// On a disk that fills, a block of gathered records fails: written at the close, or beside
// while the next is gathered (the next operation then says so). The message names the block's
// first record that is not whole, no later record is written, and the file keeps whole records.
TEST_F(CanaliTest, ABlockThatCannotBeWrittenLeavesWholeRecords) {
  const struct {
    long long capienza;
    int scritti;  // records written: few stay gathered until the close
    int record;   // the first record not whole
  } kCasi[] = {{5000, 5, 3}, {2'000'000, 3000, 1053}};
  for (const auto& c : kCasi) {
    messaggi.mostrati.clear();
    memoria.Capienza(c.capienza);
    Usa(8, "C:\\out.txt", 1900);
    canali.CreaFile();  // empty again for the second case
    canali.ApriFile();
    for (int n = 1; n <= c.scritti && canali.Riuscita(); ++n) {
      canali.NumRec = n;
      canali.BufferOut[8] = std::string(1900, 'R');
      canali.ScriviRecord();
    }
    canali.Chiudi(8);
    EXPECT_FALSE(canali.Riuscita());
    EXPECT_EQ(messaggi.Testi(),
              std::vector<std::string>{"Errore di scrittura tipo  61 nel file binario C:\\out.txt al record  " +
                                       std::to_string(c.record)});
    EXPECT_EQ(Dimensione("c/out.txt"), static_cast<size_t>(c.record - 1) * 1900);
  }
}

TEST_F(CanaliTest, SeveralChannelsOpenAtOnce) {
  radice.Scrivi("c/a.dat", "AAAAABBBBB");
  radice.Scrivi("c/b.dat", "1234567890");
  Usa(1, "C:\\a.dat", 5);
  canali.ApriFile();
  Usa(2, "C:\\b.dat", 5);
  canali.ApriFile();
  canali.NumRec = 2;
  canali.LeggiRecord();
  canali.Canale = 1;
  canali.LeggiRecord();
  EXPECT_EQ(canali.Buffer[1], "BBBBB");
  EXPECT_EQ(canali.Buffer[2], "67890");
  canali.ChiudiTutti();
  EXPECT_FALSE(canali.Aperto(1));
  EXPECT_FALSE(canali.Aperto(2));
}

TEST(NumeroConSegno, OneBlankBeforeANonNegativeNumber) {
  EXPECT_EQ(NumeroConSegno(53), " 53");
  EXPECT_EQ(NumeroConSegno(0), " 0");
  EXPECT_EQ(NumeroConSegno(-4), "-4");
}

TEST(ErroreDiSistema, MapsTheOperatingSystemErrors) {
#ifdef _WIN32
  // Windows' codes: no such file or folder, disk full, access denied, file in use, write-protected
  // disk, end of file, a device error.
  const std::pair<int, int> kCasi[] = {{2, 76}, {3, 76}, {112, 61}, {5, 70}, {32, 70}, {19, 75}, {38, 62}, {1117, 57}};
#else
  const std::pair<int, int> kCasi[] = {{ENOENT, 76}, {ENOSPC, 61}, {EACCES, 70}, {EROFS, 75}, {EISDIR, 75}, {EIO, 57}};
#endif
  for (const auto& [codice, numero] : kCasi) EXPECT_EQ(ErroreDiSistema(codice), numero) << codice;
}

}  // namespace
}  // namespace quibold
