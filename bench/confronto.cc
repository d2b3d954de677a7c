// The program against a raw copy of the same bytes, on the same disk: for full archives of
// 1,000 and 9,999 employees, the wall time and peak memory of `quibold crea`, and the time of
// `cat` reading the employee file and writing a file as large as the telematic file; each over
// the file its previous run wrote (as an office runs it again) and into a new file; then the
// start-up with and without 20,000 other files in the archive folder; then a service bureau's
// 300 certifications made by `crea --tutte` against the same made one at a time.
//   quibold_confronto QUIBOLD CARTELLA
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "samples/archivio_esempio.h"

namespace fs = std::filesystem;

namespace {

struct Misura {
  double secondi;
  double processore;  // user and system time, of all its threads
  long memoriaKb;     // peak resident memory
};

// Runs a program with its output thrown away; its wall time, processor time and peak memory.
// Any exit status but 0 (or 1, when `fermateAmmesse`: some certifications stop) is a failure.
Misura Esegui(const std::vector<std::string>& argomenti, bool fermateAmmesse = false) {
  std::vector<char*> argv;
  for (const auto& a : argomenti) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const auto inizio = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    const int nulla = open("/dev/null", O_RDWR);
    dup2(nulla, 0);
    dup2(nulla, 1);
    dup2(nulla, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int stato = 0;
  struct rusage uso {};
  wait4(pid, &stato, 0, &uso);
  const std::chrono::duration<double> durata = std::chrono::steady_clock::now() - inizio;
  if (!WIFEXITED(stato) || WEXITSTATUS(stato) > (fermateAmmesse ? 1 : 0)) {
    throw std::runtime_error("esecuzione non riuscita: " + argomenti.front() + " " + argomenti[1]);
  }
  const auto secondi = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return {durata.count(), secondi(uso.ru_utime) + secondi(uso.ru_stime), uso.ru_maxrss};
}

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

std::vector<std::string> Crea(const std::string& quibold, const fs::path& radice) {
  return {quibold, "crea", "--radice", radice.string(), "--codice", "1", "--cartella", "C:\\uscita\\"};
}

// A service bureau's archive of 300 certifications (some refused or stopping): `crea --tutte`
// against the 300 runs of `crea --codice N --tipo N` one after the other, alternately, each
// over the files its previous round wrote; then the files of both compared byte for byte.
void Studio(const std::string& quibold, const fs::path& radice) {
  constexpr int kCertificazioni = 300;
  constexpr int kRipetizioni = 3;
  fs::remove_all(radice);
  quibold::esempio::ScriviArchivioStudio(radice, kCertificazioni);
  const fs::path tutte = radice / "c" / "tutte", una = radice / "c" / "una";
  fs::create_directories(tutte);
  fs::create_directories(una);
  const std::vector<std::string> lotto = {quibold,         "crea",       "--tutte",    "--radice",
                                          radice.string(), "--cartella", "C:\\tutte\\"};
  auto unaAllaVolta = [&] {
    double secondi = 0;
    for (int codice = 1; codice <= kCertificazioni; ++codice) {
      secondi += Esegui({quibold, "crea", "--radice", radice.string(), "--codice", std::to_string(codice), "--tipo",
                         "N", "--cartella", "C:\\una\\"},
                        true)
                     .secondi;
    }
    return secondi;
  };
  Esegui(lotto, true);  // the archive in the page cache, the files once
  unaAllaVolta();
  std::vector<double> tempiLotto, tempiUna, processore;
  for (int i = 0; i < kRipetizioni; ++i) {
    const Misura m = Esegui(lotto, true);
    tempiLotto.push_back(m.secondi);
    processore.push_back(m.processore);
    tempiUna.push_back(unaAllaVolta());
  }
  int uguali = 0, file = 0;
  for (const auto& voce : fs::directory_iterator(una)) {
    ++file;
    std::ifstream a(voce.path(), std::ios::binary), b(tutte / voce.path().filename(), std::ios::binary);
    const std::string da((std::istreambuf_iterator<char>(a)), {}), db((std::istreambuf_iterator<char>(b)), {});
    uguali += b.is_open() && da == db;
  }
  const auto nelLotto = std::distance(fs::directory_iterator(tutte), fs::directory_iterator());
  const double l = Mediana(tempiLotto), u = Mediana(tempiUna);
  std::printf(
      "\nstudio (%d CU): crea --tutte %.3f s (CPU %.3f s), una alla volta %.3f s, rapporto %.2f; %d file su %d "
      "identici (%td scritti da --tutte)\n",
      kCertificazioni, l, Mediana(processore), u, l / u, uguali, file, nelLotto);
  fs::remove_all(radice);
}

}  // namespace

int main(int argc, char** argv) try {
  if (argc != 3) {
    std::fprintf(stderr, "uso: quibold_confronto QUIBOLD CARTELLA\n");
    return 2;
  }
  const std::string quibold = fs::absolute(argv[1]).string();
  const fs::path cartella = fs::absolute(argv[2]);
  constexpr int kRipetizioni = 5;

  // Each size is timed over the file the previous run wrote, as an office runs it again, and
  // into a new file, which shows what the work itself costs. The program's processor time (all
  // threads) beside its wall time shows how busy it keeps the cores.
  std::printf("%-11s %8s %45s %33s %13s\n", "", "", "sopra il file precedente", "in un file nuovo", "");
  std::printf("%-11s %8s %11s %11s %11s %9s  %11s %11s %9s %13s\n", "dipendenti", "record", "quibold (s)", "CPU (s)",
              "cat (s)", "rapporto", "quibold (s)", "cat (s)", "rapporto", "memoria (MB)");
  for (int dipendenti : {1000, 9999}) {
    const fs::path radice = cartella / ("pieno" + std::to_string(dipendenti));
    fs::remove_all(radice);
    quibold::esempio::ScriviCertificazione(radice, 1, quibold::esempio::ArchivioPieno(dipendenti));
    fs::create_directories(radice / "c" / "uscita");
    const fs::path archivio = radice / "c" / "vorn" / "quelt" / "2017" / "dati" / "DCU1.018";
    const fs::path uscita = radice / "c" / "uscita" / "TCU118";
    const fs::path copiato = radice / "copia";
    const std::vector<std::string> copia = {"/bin/sh",
                                            "-c",
                                            "cat \"$1\" > /dev/null && cat \"$2\" > \"$3\"",
                                            "sh",
                                            archivio.string(),
                                            uscita.string(),
                                            copiato.string()};
    Esegui(Crea(quibold, radice));  // the files in the page cache, the output once
    Esegui(copia);
    // Alternated, so that both meet the same cache and disk. Every file emptied by a run over it
    // was written into a new file: a file emptied and written again is sent to disk as it is
    // closed, and emptying it once more would wait for that (60 ms against 15 for the copy).
    std::vector<double> quiboldSopra, processore, copiaSopra, quiboldNuovo, copiaNuovo;
    long memoria = 0;
    for (int i = 0; i < kRipetizioni; ++i) {
      const Misura m = Esegui(Crea(quibold, radice));
      quiboldSopra.push_back(m.secondi);
      processore.push_back(m.processore);
      memoria = std::max(memoria, m.memoriaKb);
      copiaSopra.push_back(Esegui(copia).secondi);
      fs::remove(uscita);
      quiboldNuovo.push_back(Esegui(Crea(quibold, radice)).secondi);
      fs::remove(copiato);
      copiaNuovo.push_back(Esegui(copia).secondi);
    }
    const double qs = Mediana(quiboldSopra), cs = Mediana(copiaSopra);
    const double qn = Mediana(quiboldNuovo), cn = Mediana(copiaNuovo);
    std::printf("%-11d %8ju %11.3f %11.3f %11.3f %9.2f  %11.3f %11.3f %9.2f %13.1f\n", dipendenti,
                static_cast<uintmax_t>(fs::file_size(uscita) / 1900), qs, Mediana(processore), cs, qs / cs, qn, cn,
                qn / cn, static_cast<double>(memoria) / 1024);
    fs::remove_all(radice);
  }

  // Start-up: one small certification, alone in its folder and then among 20,000 other files.
  const fs::path radice = cartella / "avvio";
  fs::remove_all(radice);
  quibold::esempio::ScriviCertificazione(radice, 1, quibold::esempio::ArchivioPieno(1));
  fs::create_directories(radice / "c" / "uscita");
  auto avvio = [&] {
    std::vector<double> t;
    for (int i = 0; i < 7; ++i) t.push_back(Esegui(Crea(quibold, radice)).secondi);
    return Mediana(t);
  };
  const double solo = avvio();
  const fs::path dati = radice / "c" / "vorn" / "quelt" / "2017" / "dati";
  for (int i = 0; i < 20000; ++i) std::ofstream(dati / ("ALTRO" + std::to_string(i) + ".DAT")) << 'x';
  const double affollato = avvio();
  std::printf("\navvio (una CU di un dipendente): %.3f s da sola, %.3f s tra 20000 altri file (+%.3f s)\n", solo,
              affollato, affollato - solo);
  fs::remove_all(radice);
  Studio(quibold, cartella / "studio");
  return 0;
} catch (const std::exception& e) {
  std::fprintf(stderr, "quibold_confronto: %s\n", e.what());
  return 1;
}
