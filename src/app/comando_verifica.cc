#include "app/comando_verifica.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <array>
#include <fstream>
#include <ostream>
#include <system_error>

#include "recfile/cp1252.h"
#include "recfile/percorsi.h"
#include "verifica/verifica.h"

namespace quibold {
namespace {

namespace fs = std::filesystem;

constexpr size_t kLungRecord = 1900;

fs::path PercorsoFile(const std::string& file, const fs::path& radice) {
  const bool unita =
      file.size() >= 2 && file[1] == ':' && ((file[0] >= 'A' && file[0] <= 'Z') || (file[0] >= 'a' && file[0] <= 'z'));
  if (unita || (!file.empty() && file[0] == '\\')) return Percorsi(radice).Nativo(Cp1252DaUtf8(file));
  return fs::path(file);
}

const char* NomeGravita(Gravita g) { return g == Gravita::Errore ? "errore" : "avviso"; }

}  // namespace

CLI::App* RegistraVerifica(CLI::App& app, OpzioniVerifica& o) {
  CLI::App* verifica = app.add_subcommand("verifica", "Controlla un file telematico prima dell'invio");
  verifica->group("Comandi");
  verifica->fallthrough();
  verifica->set_help_flag("-h,--help", "Mostra questo aiuto ed esce");
  verifica->add_option("FILE", o.file, "Il file telematico (\"X:\\...\" o \"\\...\" sotto la radice delle unita')")
      ->required()
      ->type_name("TESTO");
  verifica->add_flag("--json", o.json, "Scrive i rilievi come array JSON");
  verifica->footer("Stato di uscita: 0 nessun errore (avvisi ammessi); 1 il file ha errori; 2 file illeggibile.");
  return verifica;
}

int EseguiVerifica(const OpzioniVerifica& o, const fs::path& radice, Terminale& t) {
  const fs::path percorso = PercorsoFile(o.file, radice);
  std::error_code ec;
  std::ifstream f;
  if (!fs::is_directory(percorso, ec)) f.open(percorso, std::ios::binary);
  if (!f.is_open()) {
    t.errori << "quibold: impossibile leggere " << percorso.string() << '\n';
    return 2;
  }

  // One record at a time: the check keeps what it needs, whatever the size of the file.
  Verifica verifica;
  std::array<char, kLungRecord> record;
  while (f.read(record.data(), record.size()) || f.gcount() > 0) {
    const auto letti = static_cast<size_t>(f.gcount());
    verifica.Record(std::string_view(record.data(), letti));
    if (letti < record.size()) break;
  }
  if (f.bad()) {
    t.errori << "quibold: errore di lettura in " << percorso.string() << '\n';
    return 2;
  }
  verifica.Fine();

  const long errori = verifica.Errori();
  const std::string riepilogo = Riepilogo(verifica);
  if (o.json) {
    nlohmann::ordered_json elenco = nlohmann::ordered_json::array();
    for (const Rilievo& r : verifica.Rilievi()) {
      elenco.push_back({{"record", r.record},
                        {"posizione", r.posizione},
                        {"gravita", NomeGravita(r.gravita)},
                        {"messaggio", Utf8DaCp1252(r.messaggio)}});
    }
    t.uscita << elenco.dump(2) << '\n';
    t.errori << riepilogo << '\n';
  } else {
    for (const Rilievo& r : verifica.Rilievi()) t.uscita << Utf8DaCp1252(TestoRilievo(r)) << '\n';
    t.uscita << riepilogo << '\n';
  }
  t.uscita.flush();
  return errori == 0 ? 0 : 1;
}

}  // namespace quibold
