// The hot steps of the writer, one by one, on employees whose every field is filled: splitting
// an employee record, the fiscal section DB001, an amount field; and a whole run.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "archive/archivio.h"
#include "archive/dipendente.h"
#include "banco_bench.h"
#include "recfile/canali.h"
#include "recfile/percorsi.h"
#include "samples/archivio_esempio.h"
#include "telematic/scrittore.h"
#include "telematic/sezioni.h"
#include "telematic/telematico.h"

namespace fs = std::filesystem;

namespace {

using namespace quibold;

// A writer whose records go nowhere.
class UscitaNulla : public UscitaRecord {
 public:
  bool Scrivi(int32_t, std::string_view record) override {
    benchmark::DoNotOptimize(record.data());
    return true;
  }
};
struct ScrittoreNulla {
  ScrittoreNulla() { s.IniziaRecordG(std::string(89, 'G')); }
  UscitaNulla uscita;
  Totali totale{};
  Scrittore s{uscita, totale};
};

void BM_SeparaCampi(benchmark::State& state) {
  const std::string record = esempio::DipendentePieno(7).testo();
  CampiDipendente campi;
  for (auto _ : state) {
    SeparaCampi(record, campi);
    benchmark::DoNotOptimize(campi.Campo[500].data());
  }
}
BENCHMARK(BM_SeparaCampi);

void BM_SezioneFiscale(benchmark::State& state) {
  const std::string record = esempio::DipendentePieno(7).testo();
  const Testata testata = SeparaTestata(esempio::ArchivioPieno(1).testata1);
  CampiDipendente campi;
  ScrittoreNulla w;
  for (auto _ : state) {
    SeparaCampi(record, campi);  // the section caps the day count in place
    SezioneFiscale(w.s, FontiDipendente{testata, campi});
  }
}
BENCHMARK(BM_SezioneFiscale);

void BM_CampoImporto(benchmark::State& state) {
  const char* importi[] = {"28500.00    ", "    1234.5  ", "0.40        ", "172889.47   "};
  ScrittoreNulla w;
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(w.s.ImportoDa("DB001001", importi[i++ % 4]));
}
BENCHMARK(BM_CampoImporto);

// A whole run over a full archive of 1,000 employees in a temporary drive root.
void BM_ScriviTelematico(benchmark::State& state) {
  const fs::path radice = fs::temp_directory_path() / ("quibold-bench-" + std::to_string(getpid()));
  esempio::ScriviCertificazione(radice, 1, esempio::ArchivioPieno(1000));
  fs::create_directories(radice / "c" / "out");
  banco::MessaggiMuti messaggi;
  Percorsi percorsi(radice);
  Canali canali(percorsi, messaggi);
  const ImpostazioniTelematico dati = banco::Impostazioni();
  StatoRun run;
  for (auto _ : state) {
    if (!ScriviTelematico(canali, dati, run)) {
      state.SkipWithError("corsa non riuscita");
      break;
    }
  }
  state.counters["dipendenti/s"] = benchmark::Counter(1000, benchmark::Counter::kIsIterationInvariantRate);
  fs::remove_all(radice);
}
BENCHMARK(BM_ScriviTelematico)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
