#include "app/comando_verifica.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <ostream>
#include <vector>

#include "recfile/cp1252.h"
#include "recfile/percorsi.h"
#include "verifica/verifica.h"

namespace quibold {
namespace {

namespace fs = std::filesystem;

constexpr size_t kLungRecord = 1900;

fs::path PercorsoFile(const std::string& file, const Percorsi& percorsi) {
  if (IniziaConUnita(file) || (!file.empty() && file[0] == '\\')) return percorsi.Nativo(Cp1252DaUtf8(file));
  return PercorsoDaUtf8(file);
}

// Hands the check the open file's records, read a block at a time; the error number, or 0.
int LeggiRecord(Sistema& sistema, Maniglia f, Verifica& verifica) {
  std::vector<char> blocco(kLungRecord * 64);
  size_t pieni = 0;  // bytes of the block not yet handed over
  long long posizione = 0;
  for (;;) {
    size_t letti = 0;
    if (const int errore = sistema.Leggi(f, blocco.data() + pieni, blocco.size() - pieni, posizione, letti)) {
      return errore;
    }
    if (letti == 0) break;
    posizione += static_cast<long long>(letti);
    pieni += letti;
    size_t dati = 0;
    for (; pieni - dati >= kLungRecord; dati += kLungRecord) {
      verifica.Record(std::string_view(blocco.data() + dati, kLungRecord));
    }
    std::copy(blocco.data() + dati, blocco.data() + pieni, blocco.data());
    pieni -= dati;
  }
  if (pieni > 0) verifica.Record(std::string_view(blocco.data(), pieni));  // the last, cut short
  return 0;
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

int EseguiVerifica(const OpzioniVerifica& o, const fs::path& radice, Terminale& t, Sistema& sistema) {
  const Percorsi percorsi(radice, sistema);
  const fs::path percorso = PercorsoFile(o.file, percorsi);
  Maniglia f = kNessunFile;
  int errore =
      sistema.Tipo(percorso) == TipoFile::Cartella ? kAccessoPercorso : sistema.Apri(percorso, Apertura::Lettura, f);
  if (errore) {
    t.errori << "quibold: impossibile leggere " << Utf8DaPercorso(percorso) << '\n';
    return 2;
  }
  // One record at a time: the check keeps what it needs, whatever the size of the file.
  Verifica verifica;
  errore = LeggiRecord(sistema, f, verifica);
  sistema.Chiudi(f);
  if (errore) {
    t.errori << "quibold: errore di lettura in " << Utf8DaPercorso(percorso) << '\n';
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
