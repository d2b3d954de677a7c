// Every file-system call of a creation with the report failed in turn, as a disk or a share can
// fail it: with an I/O error, moving half its bytes, and as a disk that is full from then on.
// Whatever fails, the run keeps its promises: success only with a complete file, byte for byte
// the file of a run without faults, and a record Z only with success; a message for every stop;
// only whole records in the file; the archive as it was; the report whole, or a message that
// says it is not.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/riga_comando.h"
#include "support/archivio_prova.h"
#include "support/sistema_guasto.h"

namespace quibold::prova {
namespace {

namespace fs = std::filesystem;
using Guasto = SistemaGuasto::Guasto;

constexpr std::string_view kFatto = "Memorizazione regolarmente effettuata...";
constexpr size_t kLungRecord = 1900;
const fs::path kArchivio = fs::path(QUIBOLD_SORGENTI) / "samples" / "radice";
const fs::path kDati = fs::path("c") / "vorn" / "quelt" / "2017";

struct Corsa {
  int stato;
  std::string errori, uscita, report, batch;
};

// Whether the run said that the file's last record, whole or not, could not be written.
bool LastRecordSaidToFail(const Corsa& c) {
  const size_t ultimo = (c.uscita.size() + kLungRecord - 1) / kLungRecord;
  return c.errori.find("nel file binario C:\\telematici\\TCU118 al record  " + std::to_string(ultimo) + "\n") !=
         std::string::npos;
}

class Guasti : public ::testing::Test {
 protected:
  // The bundled sample on drive C, with an empty output folder; between cases only what a run
  // writes goes (the archive is compared after every case).
  void Prepara() {
    if (!fs::exists(radice.percorso() / "c")) {
      fs::copy(kArchivio / "c", radice.percorso() / "c", fs::copy_options::recursive);
      fs::create_directories(radice.percorso() / "c" / "telematici");
    }
    for (const fs::path& scritto :
         {fs::path("c") / "telematici" / "TCU118", kDati / "dati" / "report.txt", kDati / "avstp.bat"}) {
      fs::remove(radice.percorso() / scritto);
    }
  }
  // Certification 1, the company whose employees fill every section, with the report.
  Corsa Esegui() {
    const std::string cartellaRadice = Utf8DaPercorso(radice.percorso());
    const char* argv[] = {"quibold",  "crea",       "--radice",   cartellaRadice.c_str(),
                          "--codice", "1",          "--cartella", "C:\\telematici\\",
                          "--report", "--conferma", "si"};
    std::ostringstream uscita, errori;
    std::istringstream ingresso;
    Corsa c;
    c.stato = EseguiRigaComando(static_cast<int>(std::size(argv)), argv, Terminale{uscita, errori, ingresso, false},
                                nullptr, sistema);
    c.errori = errori.str();
    auto leggi = [&](const fs::path& file) {
      return fs::is_regular_file(radice.percorso() / file) ? radice.Leggi(file) : "";
    };
    c.uscita = leggi(fs::path("c") / "telematici" / "TCU118");
    c.report = leggi(kDati / "dati" / "report.txt");
    c.batch = leggi(kDati / "avstp.bat");
    return c;
  }
  // The archive's files as they are now, by their path under the root.
  std::map<std::string, std::string> Archivio() const {
    std::map<std::string, std::string> file;
    for (const auto& voce : fs::recursive_directory_iterator(kArchivio)) {
      if (voce.is_regular_file()) {
        const fs::path relativo = voce.path().lexically_relative(kArchivio);
        file[relativo.generic_string()] = radice.Leggi(relativo);
      }
    }
    return file;
  }

  RadiceTemporanea radice;
  SistemaGuasto sistema;
};

TEST_F(Guasti, EveryCallFailedInTurnKeepsTheRunsPromises) {
  Prepara();
  const auto archivio = Archivio();
  sistema.Guasta(0, Guasto::Nessuno);
  const Corsa sana = Esegui();
  ASSERT_EQ(sana.stato, 0) << sana.errori;
  ASSERT_FALSE(sana.report.empty());
  const std::vector<std::string> chiamate = sistema.Registro();

  const struct {
    const char* nome;
    Guasto guasto;
    int errore;
    bool sempre;
  } kModi[] = {
      {"errore di I/O", Guasto::Errore, kErroreIO, false},
      {"meta' dei byte", Guasto::Corto, 0, false},
      {"disco pieno da li' in poi", Guasto::Errore, kDiscoPieno, true},
  };
  int casi = 0;
  for (const auto& modo : kModi) {
    for (size_t n = 1; n <= chiamate.size(); ++n) {
      const std::string& chiamata = chiamate[n - 1];
      if (modo.guasto == Guasto::Corto && chiamata != "Leggi" && chiamata != "Scrivi") continue;
      SCOPED_TRACE(std::string(modo.nome) + " alla chiamata " + std::to_string(n) + ", " + chiamata);
      Prepara();
      sistema.Guasta(static_cast<long>(n), modo.guasto, modo.errore, modo.sempre);
      const Corsa c = Esegui();
      ++casi;

      const bool completa = c.errori.find(kFatto) != std::string::npos;
      EXPECT_TRUE(c.stato == 0 || c.stato == 1 || c.stato == 3) << c.stato;
      EXPECT_EQ(completa, c.stato == 0 || c.stato == 3) << c.errori;
      if (c.stato != 0) {
        EXPECT_NE(c.errori, "") << "fermata senza un messaggio";
      }
      if (completa) {
        EXPECT_TRUE(c.uscita == sana.uscita) << "un file completo diverso da quello di una corsa senza guasti";
      } else if (!(modo.sempre && LastRecordSaidToFail(c))) {
        // A disk that refuses every call from then on keeps what it took: the run can only say
        // that the file's last record failed.
        EXPECT_EQ(c.uscita.size() % kLungRecord, 0u) << "un record a meta'\n" << c.errori;
        for (size_t r = 0; r < c.uscita.size(); r += kLungRecord) {
          EXPECT_NE(c.uscita[r], 'Z') << "un record Z senza successo\n" << c.errori;
        }
      }
      if (c.stato == 0) {
        // The batch file names the drive that c:\disco.ute gave, which a failed read leaves empty.
        EXPECT_TRUE(c.report == sana.report && c.batch.ends_with("\r\nexit\r\n")) << "report o file batch incompleti";
      } else if (c.stato == 3) {
        EXPECT_NE(c.errori.find("Impossibile scrivere il file"), std::string::npos) << c.errori;
      }
      EXPECT_TRUE(Archivio() == archivio) << "l'archivio e' cambiato";
      if (HasFailure()) return;  // one case told in full is worth more than the same fault a thousand times
    }
  }
  std::cout << "[ GUASTI   ] " << chiamate.size() << " chiamate, " << casi << " casi\n";
  RecordProperty("chiamate", static_cast<int>(chiamate.size()));
  RecordProperty("casi", casi);
}

}  // namespace
}  // namespace quibold::prova
