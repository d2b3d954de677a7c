#include "app/comando_tutte.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>
#include <mutex>
#include <optional>
#include <ostream>
#include <sstream>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "app/comando_verifica.h"
#include "archive/archivio.h"
#include "archive/testata.h"
#include "recfile/canali.h"
#include "recfile/cp1252.h"
#include "recfile/numeri.h"
#include "ui/messaggi_terminale.h"
#include "ui/report.h"
#include "ui/stato.h"

namespace quibold {
namespace {

namespace fs = std::filesystem;

// What became of one certification.
struct EsitoCU {
  int codice = 0;
  std::string nome;  // the withholding agent's name, as the header holds it (Windows-1252)
  std::string file;  // the telematic file, as the window names it (Windows-1252)
  bool creato = false;
  long dipendenti = 0, record = 0, avvisi = 0;
  double redditi = 0, ritenute = 0;
  // The messages shown, each as the terminal prints it (UTF-8, without its last line end); the
  // last is the closing message of a created file, or what stopped the run.
  std::vector<std::string> messaggi;
  std::string righeAvvisi;  // what `crea` prints after a complete file: its warnings, a line each
  std::string fermata;      // what `crea` prints last after a stopped run: what it left of the file
};

// The messages of one certification, gathered to be printed together when it ends: each exactly
// as the terminal prints it, a question answered by --conferma, else no, never at the terminal.
class MessaggiRaccolti : public FinestraMessaggi {
 public:
  explicit MessaggiRaccolti(std::optional<bool> conferma) : terminale_(testo_, nessuno_, false, conferma) {}

  Risposta Mostra(std::string_view testo, std::string_view titolo, Pulsanti pulsanti, Icona icona) override {
    testo_.str({});
    const Risposta r = terminale_.Mostra(testo, titolo, pulsanti, icona);
    std::string mostrato = testo_.str();
    if (mostrato.ends_with('\n')) mostrato.pop_back();
    mostrati.push_back(std::move(mostrato));
    return r;
  }

  std::vector<std::string> mostrati;

 private:
  std::ostringstream testo_;
  std::istringstream nessuno_;
  MessaggiTerminale terminale_;
};

// A batch never asks for the report: it opens no viewer and ends nothing.
class PiattaformaLotto : public Piattaforma {
 public:
  bool ApriVisualizzatore(const fs::path&, const fs::path&, const fs::path&, std::string&) override { return false; }
  void Termina() override {}
};

std::string NomeSostituto(std::string_view testata) {
  std::string nome(Rifilato(CampoComeScritto(testata, kDenominazione1)));
  const std::string_view secondo = Rifilato(CampoComeScritto(testata, kDenominazione2));
  if (!secondo.empty()) nome += (nome.empty() ? "" : " ") + std::string(secondo);
  return nome;
}

// One certification, in the steps of `quibold crea --codice N --tipo N`, from the state that
// the start-up left.
EsitoCU CreaCertificazione(const StatoFinestra& aperta, int codice, const OpzioniTutte& o, const fs::path& radice,
                           Sistema& sistema) {
  EsitoCU e;
  e.codice = codice;
  MessaggiRaccolti messaggi(o.conferma);
  {
    Percorsi percorsi(radice, sistema);
    Canali canali(percorsi, messaggi);
    PiattaformaLotto piattaforma;
    StatoFinestra stato(canali, piattaforma);
    stato.AperturaCome(aperta);
    stato.RiapreDopoCreazione = false;
    stato.Tx[kTxCodice] = std::to_string(codice);
    if (stato.ApriCU()) {
      e.nome = NomeSostituto(canali.Buffer[kCanaleTestata]);
      ScegliTipo(stato, 'N');
      if (o.tipoImpegno) stato.Tx[kTxTipoImpegno] = Cp1252DaUtf8(*o.tipoImpegno);
      if (o.dataImpegno) stato.Tx[kTxDataImpegno] = Cp1252DaUtf8(*o.dataImpegno);
      if (o.cartella) stato.Tx[kTxCartella] = Cp1252DaUtf8(*o.cartella);
      stato.FlagReport = 0;
      e.file = stato.Tx[kTxCartella] + stato.Tx[kTxNomeFile];
      RicordaUscitaNativa(stato, o.cartellaNativa);
      e.creato = stato.Crea();
      if (!e.creato) e.fermata = Utf8DaCp1252(Stampabile(stato.Avanzamento, false));
    }
    if (e.creato) {
      const StatoRun& run = stato.run;
      e.dipendenti = static_cast<long>(run.Totale[kDipendenti]);
      e.redditi = run.Totale[kRedditi];
      e.ritenute = run.Totale[kRitenuteIrpef];
      e.avvisi = run.numeroAvvisi;
      e.record = run.records;  // the file itself may be another run's by now
      std::ostringstream avvisi;
      StampaAvvisi(run, avvisi);
      e.righeAvvisi = avvisi.str();
    }
  }
  e.messaggi = std::move(messaggi.mostrati);
  return e;
}

// A certification that could not be made for a reason outside the run's own checks (memory
// exhausted, a thread that cannot start...) is reported as not created, as a stop.
EsitoCU CreaCertificazioneProtetta(const StatoFinestra& aperta, int codice, const OpzioniTutte& o,
                                   const fs::path& radice, Sistema& sistema) {
  try {
    return CreaCertificazione(aperta, codice, o, radice, sistema);
  } catch (const std::exception& errore) {
    EsitoCU e;
    e.codice = codice;
    e.messaggi.push_back(std::string("quibold: errore interno: ") + errore.what());
    return e;
  }
}

// Where the line of a certification begins: "[k/n] codice nome".
std::string Intestazione(const EsitoCU& e, size_t k, size_t n) {
  std::string riga = "[" + std::to_string(k) + "/" + std::to_string(n) + "] " + std::to_string(e.codice);
  if (!e.nome.empty()) riga += " " + Utf8DaCp1252(Stampabile(e.nome, false));
  return riga;
}

// The progress line of a certification as it ends, then the messages it showed, indented: the
// line quotes the last one (the closing message of a created file is said by "creato").
std::string Avanzamento(const EsitoCU& e, size_t k, size_t n) {
  std::string testo = Intestazione(e, k, n) + ": ";
  std::vector<std::string> sotto(e.messaggi.begin(), e.messaggi.end() - (e.messaggi.empty() ? 0 : 1));
  if (e.creato) {
    testo +=
        Quanti(e.dipendenti, "dipendente", "dipendenti") + ", " + Quanti(e.record, "record", "record") + ", creato";
    if (e.avvisi > 0) testo += " (" + Quanti(e.avvisi, "avviso", "avvisi") + ")";
  } else if (e.messaggi.empty()) {
    testo += "non creato";
  } else {
    const std::string& motivo = e.messaggi.back();
    const size_t fine = motivo.find('\n');
    testo += "non creato: " + motivo.substr(0, fine);
    if (fine != std::string::npos) sotto.insert(sotto.begin(), motivo.substr(fine + 1));
  }
  testo += '\n';
  if (e.creato) sotto.push_back(e.righeAvvisi);
  if (!e.fermata.empty()) sotto.push_back(e.fermata);
  for (const std::string& messaggio : sotto) {
    std::istringstream righe(messaggio);
    for (std::string riga; std::getline(righe, riga);) testo += "    " + riga + '\n';
  }
  return testo;
}

// An amount of the summary: cents, with the system's decimal separator.
std::string Importo(double valore, char separatore) {
  char testo[64];
  std::snprintf(testo, sizeof testo, "%.2f", Arrotonda(valore));
  std::string t = testo;
  std::replace(t.begin(), t.end(), '.', separatore);
  return t;
}

std::string Colonna(const std::string& testo, size_t larghezza, bool destra) {
  if (testo.size() >= larghezza) return testo;
  const std::string bianchi(larghezza - testo.size(), ' ');
  return destra ? bianchi + testo : testo + bianchi;
}

// The name in a column of the table: cut to its width, in bytes of the code page, before it
// becomes UTF-8.
constexpr size_t kLarghezzaNome = 30;
std::string NomeInColonna(const std::string& nome) {
  return Utf8DaCp1252(Colonna(Stampabile(nome.substr(0, kLarghezzaNome), false), kLarghezzaNome, false));
}

struct Somme {
  long create = 0, dipendenti = 0, record = 0;
  double redditi = 0, ritenute = 0;
};

Somme Somma(const std::vector<EsitoCU>& esiti) {
  Somme s;
  for (const EsitoCU& e : esiti) {
    if (!e.creato) continue;
    ++s.create;
    s.dipendenti += e.dipendenti;
    s.record += e.record;
    s.redditi += e.redditi;
    s.ritenute += e.ritenute;
  }
  return s;
}

std::string Tabella(const std::vector<EsitoCU>& esiti, char separatore) {
  auto colonne = [&](const std::string& codice, const std::string& nome, const std::string& dipendenti,
                     const std::string& record, const std::string& redditi, const std::string& ritenute,
                     const std::string& esito, const std::string& avvisi) {
    std::string r = Colonna(codice, 6, true) + "  " + nome + "  " + Colonna(dipendenti, 10, true) + "  " +
                    Colonna(record, 7, true) + "  " + Colonna(redditi, 15, true) + "  " + Colonna(ritenute, 15, true) +
                    "  " + Colonna(esito, 10, false) + "  " + Colonna(avvisi, 6, true);
    r.erase(r.find_last_not_of(' ') + 1);
    return r + '\n';
  };
  std::string t = colonne("codice", Colonna("nome", kLarghezzaNome, false), "dipendenti", "record", "redditi",
                          "ritenute IRPEF", "esito", "avvisi");
  for (const EsitoCU& e : esiti) {
    if (e.creato) {
      t += colonne(std::to_string(e.codice), NomeInColonna(e.nome), std::to_string(e.dipendenti),
                   std::to_string(e.record), Importo(e.redditi, separatore), Importo(e.ritenute, separatore), "creato",
                   std::to_string(e.avvisi));
    } else {
      t += colonne(std::to_string(e.codice), NomeInColonna(e.nome), "-", "-", "-", "-", "non creato", "-");
    }
  }
  const Somme s = Somma(esiti);
  const std::string create = Quanti(s.create, "creata", "create") + " su " + std::to_string(esiti.size());
  t += colonne("totale", Colonna(create, kLarghezzaNome, false), std::to_string(s.dipendenti), std::to_string(s.record),
               Importo(s.redditi, separatore), Importo(s.ritenute, separatore), "", "");
  return t;
}

// The lines `crea` prints on the error stream for this certification.
nlohmann::ordered_json Righe(const EsitoCU& e) {
  nlohmann::ordered_json righe = nlohmann::ordered_json::array();
  std::string tutto;
  for (const std::string& m : e.messaggi) tutto += m + '\n';
  tutto += e.righeAvvisi;
  if (!e.fermata.empty()) tutto += e.fermata + '\n';
  std::istringstream s(tutto);
  for (std::string riga; std::getline(s, riga);) righe.push_back(riga);
  return righe;
}

std::string RiepilogoJson(const std::vector<EsitoCU>& esiti, const std::string& archivio) {
  using Json = nlohmann::ordered_json;
  Json elenco = Json::array();
  for (const EsitoCU& e : esiti) {
    Json voce = {{"codice", e.codice},
                 {"nome", Utf8DaCp1252(e.nome)},
                 {"file", e.file.empty() ? Json(nullptr) : Json(Utf8DaCp1252(e.file))},
                 {"esito", e.creato ? "creato" : "non creato"}};
    if (e.creato) {
      voce["dipendenti"] = e.dipendenti;
      voce["record"] = e.record;
      voce["redditi"] = Arrotonda(e.redditi);
      voce["ritenute_irpef"] = Arrotonda(e.ritenute);
      voce["avvisi"] = e.avvisi;
      voce["motivo"] = nullptr;
    } else {
      for (const char* campo : {"dipendenti", "record", "redditi", "ritenute_irpef", "avvisi"}) voce[campo] = nullptr;
      voce["motivo"] = e.messaggi.empty() ? Json(nullptr) : Json(e.messaggi.back());
    }
    voce["messaggi"] = Righe(e);
    elenco.push_back(std::move(voce));
  }
  const Somme s = Somma(esiti);
  Json totale = {{"certificazioni", esiti.size()},
                 {"create", s.create},
                 {"non_create", static_cast<long>(esiti.size()) - s.create},
                 {"dipendenti", s.dipendenti},
                 {"record", s.record},
                 {"redditi", Arrotonda(s.redditi)},
                 {"ritenute_irpef", Arrotonda(s.ritenute)}};
  return Json{{"archivio", archivio}, {"certificazioni", std::move(elenco)}, {"totale", std::move(totale)}}.dump(2) +
         '\n';
}

}  // namespace

void RegistraTutte(CLI::App& crea, OpzioniTutte& o) {
  crea.get_formatter()->label("Excludes", "Esclude");
  crea.get_formatter()->label("Needs", "Richiede");
  CLI::Option* tutte = crea.add_flag(
      "--tutte", o.tutte,
      "Fornitura normale di ogni certificazione dell'archivio, ciascuna nel suo file TCU<N>18, con un riepilogo");
  CLI::Option* codice = crea.get_option("--codice");
  tutte->excludes(codice);
  for (const char* una : {"--tipo", "--protocollo", "--progressivo", "--record", "--file", "--report"}) {
    tutte->excludes(crea.get_option(una));
  }
  crea.add_flag("--json", o.json, "Con --tutte: il riepilogo in JSON sull'uscita standard")->needs(tutte);
  crea.callback([codice, tutte] {
    if (codice->count() == 0 && tutte->count() == 0) throw CLI::RequiredError("--codice");
  });
  crea.footer(
      "Con --tutte: stato di uscita 0 se ogni file telematico e' creato, 1 se almeno uno non lo e', 2 errore d'uso.");
}

int EseguiTutte(const OpzioniTutte& o, const fs::path& radice, Terminale& t, Sistema& sistema) {
  // The start-up, once for all: the drive, the archive folder and the certifications it holds.
  MessaggiTerminale messaggiAvvio(t.errori, t.ingresso, false, o.conferma);
  Percorsi percorsi(radice, sistema);
  Canali canali(percorsi, messaggiAvvio);
  PiattaformaLotto piattaforma;
  StatoFinestra aperta(canali, piattaforma);
  aperta.Apertura();
  const std::string archivio = Utf8DaCp1252(Stampabile(aperta.PercorsoDati, false));
  const auto n = static_cast<size_t>(aperta.NumeroCodici);
  if (n == 0) {
    t.errori << "quibold: nessuna certificazione nell'archivio " << archivio << '\n';
    return kUscitaFermata;
  }
  t.errori << "Archivio " << archivio << ": " << Quanti(static_cast<long>(n), "certificazione", "certificazioni")
           << '\n'
           << std::flush;

  // Each certification apart, as many at a time as there are cores; each is printed as soon as
  // it and every one before it have ended, so the lines come in the archive's order.
  std::vector<std::optional<EsitoCU>> finiti(n);
  std::atomic<size_t> prossimo{0};
  std::mutex stampa;
  size_t stampati = 0;
  auto lavora = [&] {
    for (size_t k = prossimo++; k < n; k = prossimo++) {
      EsitoCU e = CreaCertificazioneProtetta(aperta, aperta.ElencoCodici[k + 1], o, radice, sistema);
      std::lock_guard<std::mutex> blocco(stampa);
      finiti[k] = std::move(e);
      for (; stampati < n && finiti[stampati]; ++stampati) {
        t.errori << Avanzamento(*finiti[stampati], stampati + 1, n) << std::flush;
      }
    }
  };
  const unsigned core = std::max(1u, std::thread::hardware_concurrency());
  const size_t fili = std::min<size_t>(o.fili > 0 ? o.fili : core, n);
  std::vector<std::thread> accanto;
  for (size_t i = 1; i < fili; ++i) {
    try {
      accanto.emplace_back(lavora);
    } catch (const std::system_error&) {
      break;  // fewer at a time: this thread makes what the others do not
    }
  }
  lavora();
  for (std::thread& filo : accanto) filo.join();

  std::vector<EsitoCU> esiti;
  for (auto& e : finiti) esiti.push_back(std::move(*e));
  const Somme s = Somma(esiti);
  t.errori << Quanti(static_cast<long>(n), "certificazione", "certificazioni") << ": "
           << Quanti(s.create, "file creato", "file creati") << ", "
           << Quanti(static_cast<long>(n) - s.create, "non creato", "non creati") << '\n';
  if (!(t.uscita << (o.json ? RiepilogoJson(esiti, archivio) : Tabella(esiti, SeparatoreDecimaleDiSistema()))
                 << std::flush)) {
    // Whoever reads the summary would find none: not a success, whatever was created.
    t.errori << "quibold: impossibile scrivere il riepilogo\n";
    return kUscitaFermata;
  }
  return static_cast<size_t>(s.create) == n ? kUscitaCompleta : kUscitaFermata;
}

}  // namespace quibold
