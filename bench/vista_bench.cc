// The view of a file of 9,999 employees, every field filled (about 60,000 records, 113 MB): read
// through the check, then shown in the window's view (a model over the rows) and scrolled from the
// first row to the last, sorted by a column. The clerk waits for this when the file opens.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QTableView>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "archive/archivio.h"
#include "banco_bench.h"
#include "finestra/vista_qt.h"
#include "recfile/canali.h"
#include "recfile/percorsi.h"
#include "samples/archivio_esempio.h"
#include "telematic/telematico.h"
#include "ui/vista_file.h"

namespace fs = std::filesystem;

namespace {

using namespace quibold;

constexpr int kDipendenti = 9999;

// A temporary drive root, removed at the end of the run.
const fs::path& Radice() {
  static const fs::path radice = fs::temp_directory_path() / ("quibold-bench-vista-" + std::to_string(getpid()));
  return radice;
}

// The telematic file of the full archive, written once by the writer into the root.
const fs::path& FilePieno() {
  static const fs::path file = [] {
    esempio::ScriviCertificazione(Radice(), 1, esempio::ArchivioPieno(kDipendenti));
    fs::create_directories(Radice() / "c" / "out");
    banco::MessaggiMuti messaggi;
    Percorsi percorsi(Radice());
    Canali canali(percorsi, messaggi);
    StatoRun run;
    if (!ScriviTelematico(canali, banco::Impostazioni(), run)) std::abort();
    return Radice() / "c" / "out" / "TCU118";
  }();
  return file;
}

void BM_LeggiFile(benchmark::State& state) {
  const fs::path& file = FilePieno();
  for (auto _ : state) {
    VistaFile vista;
    if (vista.Leggi(SistemaReale(), file, file.string()) != Lettura::Letta) state.SkipWithError("lettura fallita");
    benchmark::DoNotOptimize(vista.Righe());
  }
  state.counters["dipendenti/s"] = benchmark::Counter(kDipendenti, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LeggiFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the file on the disk to its view on the screen, scrolled to the last row and sorted.
void BM_ApriVista(benchmark::State& state) {
  const fs::path& file = FilePieno();
  for (auto _ : state) {
    VistaFile vista;
    if (vista.Leggi(SistemaReale(), file, file.string()) != Lettura::Letta) state.SkipWithError("lettura fallita");
    FinestraVista finestra(vista);
    finestra.show();
    QApplication::processEvents();
    QTableView* tabella = finestra.tabella();
    tabella->verticalScrollBar()->setValue(tabella->verticalScrollBar()->maximum());
    tabella->sortByColumn(5, Qt::DescendingOrder);
    tabella->repaint();
    QApplication::processEvents();
    benchmark::DoNotOptimize(tabella->model()->rowCount());
  }
}
BENCHMARK(BM_ApriVista)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication applicazione(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code errore;
  fs::remove_all(Radice(), errore);
  return 0;
}
