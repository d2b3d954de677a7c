// Every file-system call of a creation with the report failed in turn, as a disk or a share can
// fail it: with an I/O error, moving half its bytes, and as a disk that is full from then on.
// Whatever fails, the run keeps its promises: success only with a complete file, byte for byte
// the file of a run without faults; a message for every stop; under the file's name after a stop
// the file that was there before, as it was, or (the new file taken away again) nothing, as the
// last message says; no temporary file left but an empty one; the archive as it was; the report
// whole, or a message that says it is not.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "recfile/file_nuovo.h"
#include "support/archivio_prova.h"
#include "support/cur18_prova.h"
#include "support/programma_prova.h"
#include "support/sistema_guasto.h"

namespace quibold::prova {
namespace {

namespace fs = std::filesystem;
using Guasto = SistemaGuasto::Guasto;

constexpr size_t kLungRecord = 1900;
const fs::path kArchivio = fs::path(kSorgenti) / "samples" / "radice";
const fs::path kUscita = fs::path("c") / "telematici" / "TCU118";
const fs::path kReport = fs::path("c") / "vorn" / "quelt" / "2017" / "dati" / "report.txt";
const fs::path kBatch = fs::path("c") / "vorn" / "quelt" / "2017" / "avstp.bat";

struct Corsa {
  int stato;
  std::string errori, uscita, report, batch;
  bool conUscita;  // a file under the telematic file's name
};

// The names that the program gives its own files beside those it writes, in their folders, with
// what each holds.
std::map<fs::path, std::string> DiServizio(const RadiceTemporanea& radice) {
  std::map<fs::path, std::string> trovati;
  for (const fs::path& scritto : {kUscita, kReport, kBatch}) {
    (void)radice.sistema().Elenca(radice.percorso() / scritto.parent_path(), [&](const VoceCartella& voce) {
      const fs::path nome = scritto.parent_path() / PercorsoDaUtf8(voce.nome);
      if (NomeDiServizio(nome)) trovati[nome] = radice.Leggi(nome);
      return true;
    });
  }
  return trovati;
}

// Certification 1 of the bundled sample (a company whose employees fill every section), with the
// report, through `sistema`, over the file of an earlier run; what a run writes is removed first.
Corsa Esegui(const RadiceTemporanea& radice, Sistema& sistema) {
  for (const fs::path& scritto : {kUscita, kReport, kBatch}) radice.Rimuovi(scritto);
  for (const auto& [nome, contenuto] : DiServizio(radice)) radice.Rimuovi(nome);
  radice.Scrivi(kUscita, Cur18Precedente());
  const EsitoProgramma e =
      EseguiComando(ArgomentiCrea(radice.percorso(), {"--report", "--conferma", "si"}), {.sistema = &sistema});
  return {
      e.stato, e.errori, radice.Leggi(kUscita), radice.Leggi(kReport), radice.Leggi(kBatch), radice.Esiste(kUscita)};
}

// The archive's files as they are now, by their path under the root.
std::map<fs::path, std::string> Archivio(const RadiceTemporanea& radice) {
  std::map<fs::path, std::string> file;
  for (const auto& voce : fs::recursive_directory_iterator(kArchivio)) {
    const fs::path relativo = voce.path().lexically_relative(kArchivio);
    if (voce.is_regular_file()) file[relativo] = radice.Leggi(relativo);
  }
  return file;
}

// The sample archive under a root in memory, and the output's folder.
void CopiaArchivio(const RadiceTemporanea& radice) {
  for (const auto& voce : fs::recursive_directory_iterator(kArchivio)) {
    if (voce.is_regular_file()) radice.Scrivi(voce.path().lexically_relative(kArchivio), LeggiFile(voce.path()));
  }
  radice.CreaCartella(kUscita.parent_path());
}

// The sample archive in memory: the runs are many, and the disk adds nothing to what they show.
TEST(Guasti, EveryCallFailedInTurnKeepsTheRunsPromises) {
  SistemaInMemoria memoria;
  RadiceTemporanea radice(memoria);
  CopiaArchivio(radice);
  const auto archivio = Archivio(radice);
  SistemaGuasto sistema(memoria);
  const Corsa sana = Esegui(radice, sistema);
  ASSERT_EQ(sana.stato, 0) << sana.errori;
  const std::vector<const char*> chiamate = sistema.Registro();
  // What a run says is done is on the disk: it outlives the machine's stop.
  memoria.Crollo();
  ASSERT_TRUE(radice.Leggi(kUscita) == sana.uscita && radice.Leggi(kReport) == sana.report)
      << "la corsa senza guasti non ha lasciato sul disco quel che ha detto fatto";

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
      const std::string chiamata = chiamate[n - 1];
      if (modo.guasto == Guasto::Corto && chiamata != "Leggi" && chiamata != "Scrivi") continue;
      SCOPED_TRACE(std::string(modo.nome) + " alla chiamata " + std::to_string(n) + ", " + chiamata);
      sistema.Guasta(static_cast<long>(n), modo.guasto, modo.errore, modo.sempre);
      const Corsa c = Esegui(radice, sistema);
      ++casi;

      const bool completa = c.errori.find(kFatto) != std::string::npos;
      EXPECT_TRUE(c.stato == 0 || c.stato == 1 || c.stato == 3) << c.stato;
      EXPECT_EQ(completa, c.stato == 0 || c.stato == 3) << c.errori;
      if (c.stato != 0) {
        EXPECT_NE(c.errori, "") << "fermata senza un messaggio";
      }
      // A disk that refuses every call from then on keeps what it took: the run can only say
      // that the file's last record failed.
      const size_t ultimo = (c.uscita.size() + kLungRecord - 1) / kLungRecord;
      const bool detto =
          c.errori.find("C:\\telematici\\TCU118 al record  " + std::to_string(ultimo) + "\n") != std::string::npos;
      if (completa) {
        EXPECT_TRUE(c.uscita == sana.uscita) << "un file completo diverso da quello di una corsa senza guasti";
      } else if (!(modo.sempre && detto)) {
        const bool precedente = c.conUscita && c.uscita == Cur18Precedente();
        EXPECT_TRUE(precedente || !c.conUscita) << "sotto il nome un file della corsa fermata\n" << c.errori;
        // What the run says of it is true (it may say less, when the very look at the file failed).
        if (c.errori.find("il file precedente e' rimasto com'era\n") != std::string::npos) {
          EXPECT_TRUE(precedente) << c.errori;
        }
        if (c.errori.find("il file precedente non c'e' piu'\n") != std::string::npos) {
          EXPECT_FALSE(c.conUscita) << c.errori;
        }
      }
      // A file beside stays only empty (a lock's, or a temporary file whose writing failed at once),
      // or when it could not be removed.
      for (const auto& [nome, contenuto] : DiServizio(radice)) {
        EXPECT_TRUE(contenuto.empty() || modo.sempre || chiamata == "Rimuovi") << nome;
      }
      // The batch file names the drive that c:\disco.ute gave, which a failed read leaves empty.
      if (c.stato == 0) {
        EXPECT_TRUE(c.report == sana.report && c.batch.ends_with("\r\nexit\r\n")) << "report o batch incompleti";
      } else if (c.stato == 3) {
        EXPECT_NE(c.errori.find("Impossibile scrivere il file"), std::string::npos) << c.errori;
      }
      EXPECT_TRUE(Archivio(radice) == archivio) << "l'archivio e' cambiato";
      // The machine stops now: under the file's name the file before or the new one, whole; the
      // new one if the run said it was done; the report whole or not there; the archive as it was.
      memoria.Crollo();
      const std::string resta = radice.Leggi(kUscita), report = radice.Leggi(kReport);
      EXPECT_TRUE(completa ? resta == sana.uscita : resta == sana.uscita || resta == Cur18Precedente())
          << "dopo l'arresto sotto il nome " << resta.size() << " byte";
      EXPECT_TRUE(c.stato == 0 ? report == sana.report : report.empty() || report == sana.report)
          << "dopo l'arresto un report di " << report.size() << " byte";
      EXPECT_TRUE(Archivio(radice) == archivio) << "dopo l'arresto l'archivio e' cambiato";
      if (HasFailure()) return;  // one case told in full is worth more than the same fault a thousand times
    }
  }
  std::cout << "[ GUASTI   ] " << chiamate.size() << " chiamate, " << casi << " casi\n";
}

// What a stopped run says of the earlier file is what a look at its name finds after the stop: a
// share's client that removed the earlier file on its way to a rename that then failed, another
// program that put a file of its own under the name while the run wrote (where nothing locks).
TEST(Guasti, WhatAStopSaysOfTheEarlierFileIsWhatTheNameHolds) {
  class Condivisione : public SistemaInMemoria {
   public:
    bool toglie = false, mette = false;
    int Rinomina(const fs::path& da, const fs::path& a) override {
      if (!toglie) return SistemaInMemoria::Rinomina(da, a);
      (void)Rimuovi(a);
      return kErroreIO;
    }
    // Another run's file renamed over the name once this run holds its lock.
    int Blocca(Maniglia f) override {
      if (std::exchange(mette, false)) {
        (void)Rimuovi(Radice() / kUscita);
        Metti(Radice() / kUscita, "d'altri");
      }
      return SistemaInMemoria::Blocca(f);
    }
  };
  const struct {
    bool toglie, mette;
    std::vector<std::string> opzioni;
    const char* righe;  // the last lines
    const char* resta;  // what the name holds
  } kCasi[] = {
      {true,
       false,
       {"--conferma", "si"},
       "Errore tipo  57 nella creazione del file \nC:\\telematici\\TCU118: il file scritto non ha potuto prendere il "
       "nome "
       "(errore di ingresso/uscita)\nMemorizzazione interrotta: nessun file telematico scritto, e il file precedente "
       "non "
       "c'e' piu'\n",
       ""},
      {false,
       true,
       {"--tipo", "A", "--protocollo", "12345678901234567", "--progressivo", "123456", "--record", "1"},
       "Memorizzazione interrotta: nessun file telematico scritto; sotto quel nome ora c'e' un file che questa "
       "elaborazione non ha scritto\n",
       "d'altri"},
  };
  for (const auto& c : kCasi) {
    Condivisione memoria;
    RadiceTemporanea radice(memoria);
    CopiaArchivio(radice);
    radice.Scrivi(kUscita, Cur18Precedente());
    memoria.toglie = c.toglie, memoria.mette = c.mette;
    const EsitoProgramma e = EseguiComando(ArgomentiCrea(radice.percorso(), c.opzioni), {.sistema = &memoria});
    EXPECT_EQ(e.stato, 1);
    EXPECT_TRUE(e.errori.ends_with(c.righe)) << e.errori;
    EXPECT_EQ(radice.Leggi(kUscita), c.resta);
  }
}

}  // namespace
}  // namespace quibold::prova
