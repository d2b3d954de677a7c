// The telematic writer over a large archive, against the least any writer must do: read the
// employee file record by record and write as many bytes in records of 1900.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/archivio.h"
#include "archive/dipendente.h"
#include "recfile/canali.h"
#include "recfile/percorsi.h"
#include "telematic/formato.h"
#include "telematic/telematico.h"

namespace fs = std::filesystem;

namespace {

using namespace quibold;

constexpr int kDipendenti = 5000;

void Metti(std::string& record, int posizione, std::string_view valore) {
  const size_t inizio = static_cast<size_t>(posizione - 1);
  if (inizio + valore.size() > record.size()) throw std::out_of_range("campo oltre il record");
  std::copy(valore.begin(), valore.end(), record.begin() + static_cast<std::ptrdiff_t>(inizio));
}

// A value that fills a field of `larghezza` the way the archive does: amounts in the fields of
// 12, flags in those of 1, codes, dates and counts in the others; `k` varies the amounts.
std::string Valore(int larghezza, int k) {
  switch (larghezza) {
    case 1: return "X";
    case 2: return "12";
    case 3: return "120";
    case 4: return "H501";
    case 6: return "100.00";
    case 8: return "01012017";
    case 12: return std::to_string(100 + k % 9000) + "." + std::to_string(10 + k % 90);
    case 16: return "RSSMRA80A01H501U";
    default: return std::string(static_cast<size_t>(larghezza) < 20 ? static_cast<size_t>(larghezza) : 20, 'A');
  }
}

template <size_t N>
void Riempi(std::string& record, const std::array<SerieCampi, N>& tabella, int k) {
  for (const SerieCampi& s : tabella) {
    for (int i = s.primo; i <= s.ultimo; ++i) {
      Metti(record, s.posizione + s.larghezza * (i - s.primo), Valore(s.larghezza, k + i));
    }
  }
}

// A drive root with certification 1 of kDipendenti employees whose fields are nearly all filled,
// and an output folder; removed at the end of the program.
struct Archivio {
  Archivio() {
    std::string modello = (fs::temp_directory_path() / "quibold-bench-XXXXXX").string();
    if (!mkdtemp(modello.data())) throw std::runtime_error("mkdtemp");
    radice = modello;
    const fs::path dati = radice / "c" / "vorn" / "quelt" / "2017" / "dati";
    fs::create_directories(dati);
    fs::create_directories(radice / "c" / "out");
    Scrivi(radice / "c" / "disco.ute", "C:        ");

    std::string t1(kLungTestata, ' ');
    Metti(t1, 2, "0");
    Metti(t1, 3, "N");
    Metti(t1, 4, "01234567897     ");
    Metti(t1, 21, "ROSSI SRL");
    Metti(t1, 193, std::to_string(kDipendenti));
    Metti(t1, 201, "X");
    Metti(t1, 205, "10");
    Metti(t1, 207, "SPRFRN70A01F205Y");
    Metti(t1, 223, "1");
    Metti(t1, 224, "01022018");
    Metti(t1, 237, "15022018");
    std::string t2(kLungTestata, ' ');
    Metti(t2, 2, "1");
    Metti(t2, 3, std::to_string(kDipendenti));
    Scrivi(dati / "FCU1.018", t1 + t2);

    std::string tutti;
    tutti.reserve(static_cast<size_t>(kDipendenti) * kLungDipendente);
    for (int k = 0; k < kDipendenti; ++k) {
      std::string r(kLungDipendente, ' ');
      Riempi(r, kTabellaCampo, k);
      Riempi(r, kTabellaCampo2, k);
      Metti(r, 1, "$");
      Metti(r, 67, "01011980");  // date of birth: a live employee
      Metti(r, 231, "   ");      // resident in Italy
      tutti += r;
    }
    fileDipendenti = dati / "DCU1.018";
    Scrivi(fileDipendenti, tutti);
  }
  ~Archivio() {
    std::error_code ec;
    fs::remove_all(radice, ec);
  }

  static void Scrivi(const fs::path& p, const std::string& contenuto) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(contenuto.data(), static_cast<std::streamsize>(contenuto.size()));
  }

  fs::path radice;
  fs::path fileDipendenti;
};

const Archivio& LArchivio() {
  static const Archivio archivio;
  return archivio;
}

// Message boxes nobody sees: the run must end with the closing message and nothing else.
class MessaggiContati : public FinestraMessaggi {
 public:
  Risposta Mostra(std::string_view testo, std::string_view, Pulsanti, Icona) override {
    ultimo = std::string(testo);
    ++mostrati;
    return Risposta::Si;
  }
  std::string ultimo;
  int mostrati = 0;
};

struct Corsa {
  Corsa()
      : percorsi(LArchivio().radice),
        canali(percorsi, messaggi),
        dati{.CodiceCU = "1",
             .PercorsoDati = PercorsoDatiDi("C:"),
             .FlagSingola = 0,
             .Tx = {"1", "N", "", "", "", "C:\\out\\", "TCU118", "", "", "", "", ""},
             .Didascalia = nullptr} {}
  // One whole run; false unless it ended with the closing message alone.
  bool Esegui() {
    messaggi.mostrati = 0;
    return ScriviTelematico(canali, dati, run) && messaggi.mostrati == 1 &&
           messaggi.ultimo == "Memorizazione regolarmente effettuata...";
  }
  fs::path Uscita() const { return LArchivio().radice / "c" / "out" / "TCU118"; }

  MessaggiContati messaggi;
  Percorsi percorsi;
  Canali canali;
  DatiFinestra dati;
  StatoRun run;
};

// What the baseline must write: the size of the writer's output.
size_t ByteUscita() {
  static const size_t byte = [] {
    Corsa c;
    if (!c.Esegui()) throw std::runtime_error("la corsa di prova non e' riuscita: " + c.messaggi.ultimo);
    return static_cast<size_t>(fs::file_size(c.Uscita()));
  }();
  return byte;
}

// The baseline: every employee record read with one pread of 6000 bytes, the output written with
// one pwrite per 1900-byte record. Returns false on an I/O error.
bool Base(const fs::path& uscita, size_t byteUscita) {
  const int in = ::open(LArchivio().fileDipendenti.c_str(), O_RDONLY | O_CLOEXEC);
  const int out = ::open(uscita.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (in < 0 || out < 0) return false;
  std::string record(kLungDipendente, ' ');
  std::string riga(kLungRecord, 'x');
  bool ok = true;
  for (int k = 0; k < kDipendenti && ok; ++k) {
    ok = ::pread(in, record.data(), record.size(), static_cast<off_t>(k) * kLungDipendente) ==
         static_cast<ssize_t>(record.size());
    benchmark::DoNotOptimize(record.data());
  }
  for (size_t scritti = 0; scritti < byteUscita && ok; scritti += kLungRecord) {
    riga[0] = static_cast<char>('A' + scritti % 26);
    ok = ::pwrite(out, riga.data(), riga.size(), static_cast<off_t>(scritti)) == static_cast<ssize_t>(riga.size());
  }
  ::close(in);
  ::close(out);
  return ok;
}

void Contatori(benchmark::State& state, size_t byteUscita) {
  state.counters["dipendenti"] = kDipendenti;
  state.counters["record"] = static_cast<double>(byteUscita / kLungRecord);
  state.counters["dipendenti/s"] =
      benchmark::Counter(static_cast<double>(kDipendenti), benchmark::Counter::kIsIterationInvariantRate);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(byteUscita + static_cast<size_t>(kDipendenti) * kLungDipendente));
}

void BM_ScriviTelematico(benchmark::State& state) {
  const size_t byteUscita = ByteUscita();
  Corsa c;
  for (auto _ : state) {
    if (!c.Esegui()) {
      state.SkipWithError(("corsa non riuscita: " + c.messaggi.ultimo).c_str());
      break;
    }
  }
  Contatori(state, byteUscita);
}
BENCHMARK(BM_ScriviTelematico)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Base(benchmark::State& state) {
  const size_t byteUscita = ByteUscita();
  const fs::path uscita = LArchivio().radice / "c" / "out" / "base";
  for (auto _ : state) {
    if (!Base(uscita, byteUscita)) {
      state.SkipWithError("errore di I/O nella base");
      break;
    }
  }
  Contatori(state, byteUscita);
}
BENCHMARK(BM_Base)->Unit(benchmark::kMillisecond)->UseRealTime();

// Both, alternated in each iteration so that they meet the same cache and disk: the ratio of
// the writer's time to the baseline's.
void BM_Rapporto(benchmark::State& state) {
  using Orologio = std::chrono::steady_clock;
  const size_t byteUscita = ByteUscita();
  const fs::path uscita = LArchivio().radice / "c" / "out" / "base";
  Corsa c;
  std::chrono::duration<double, std::milli> scrittore{}, base{};
  for (auto _ : state) {
    const auto t0 = Orologio::now();
    const bool corsa = c.Esegui();
    const auto t1 = Orologio::now();
    const bool riferimento = Base(uscita, byteUscita);
    const auto t2 = Orologio::now();
    if (!corsa || !riferimento) {
      state.SkipWithError("corsa o base non riuscita");
      break;
    }
    scrittore += t1 - t0;
    base += t2 - t1;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["scrittore_ms"] = scrittore.count() / n;
  state.counters["base_ms"] = base.count() / n;
  state.counters["rapporto"] = base.count() > 0 ? scrittore.count() / base.count() : 0;
}
BENCHMARK(BM_Rapporto)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
