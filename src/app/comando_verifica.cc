#include "app/comando_verifica.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <ostream>
#include <vector>

#include "recfile/cp1252.h"
#include "recfile/percorsi.h"
#include "ui/vista_file.h"
#include "verifica/verifica.h"

namespace quibold {
namespace {

namespace fs = std::filesystem;

}  // namespace

fs::path PercorsoFile(const std::string& file, const Percorsi& percorsi) {
  if ((kWindows && percorsi.Radice().empty()) || !(IniziaConUnita(file) || (!file.empty() && file[0] == '\\'))) {
    return PercorsoDaUtf8(file);
  }
  const std::string testo = Cp1252DaUtf8(file);
  return Utf8DaCp1252(testo) == file ? percorsi.Nativo(testo) : fs::path();
}

namespace {

// Hands the check the open file's records, read a block at a time; the error number, or 0.
int LeggiRecord(Sistema& sistema, Maniglia f, Verifica& verifica) {
  return LeggiRecordTelematici(sistema, f, [&](std::string_view r) { verifica.Record(r); });
}

// A file's name as the terminal is to show it: a name found by a pattern may hold any character,
// and a control character (ESC, a C1 control in UTF-8) would reach the terminal as a command. Each
// is shown as its code between angle brackets, as the check shows one in the data ("<1B>").
std::string NomeMostrato(std::string_view nome) {
  static constexpr char kCifre[] = "0123456789ABCDEF";
  std::string mostrato;
  for (size_t k = 0; k < nome.size(); ++k) {
    auto b = static_cast<unsigned char>(nome[k]);
    const bool c1 = b == 0xC2 && k + 1 < nome.size() && static_cast<unsigned char>(nome[k + 1]) >= 0x80 &&
                    static_cast<unsigned char>(nome[k + 1]) <= 0x9F;
    if (c1) b = static_cast<unsigned char>(nome[++k]);
    if (b < 0x20 || b == 0x7F || c1) {
      mostrato += '<';
      mostrato += kCifre[b >> 4];
      mostrato += kCifre[b & 15];
      mostrato += '>';
    } else {
      mostrato += static_cast<char>(b);
    }
  }
  return mostrato;
}

// Whether a Windows path names the devices' space rather than a disk's: "\\.\COM1", "\\.\pipe\x",
// "\\?\GLOBALROOT\Device\...", with either slash.
bool SpazioDeiDispositivi(std::string percorso) {
  std::replace(percorso.begin(), percorso.end(), '/', '\\');
  return percorso.starts_with("\\\\.\\") ||
         (percorso.size() >= 14 && percorso.starts_with("\\\\?\\") &&
          UgualiSenzaMaiuscole(std::string_view(percorso).substr(4, 10), "GLOBALROOT"));
}

const char* NomeGravita(Gravita g) { return g == Gravita::Errore ? "errore" : "avviso"; }

// Feeds the file to the check, a block of records at a time: the check keeps what it needs,
// whatever the size of the file. False, after saying so, when the file cannot be read.
bool Controlla(Sistema& sistema, const fs::path& percorso, const std::string& file, Verifica& verifica, Terminale& t) {
  if (percorso.empty()) {
    t.errori << "quibold: impossibile leggere " << NomeMostrato(file) << '\n';
    return false;
  }
  const std::string mostrato = NomeMostrato(Utf8DaPercorso(percorso));
  auto nonOrdinario = [&] {
    t.errori << "quibold: impossibile leggere " << mostrato << ": non e' un file ordinario\n";
    return false;
  };
  // Only an ordinary file ends: a FIFO waits for a writer, a device reads for ever. A Windows
  // device is refused by its name (a reserved name, or one of the "\\.\" space), before anything
  // could open it; what the open finds to be no file on a disk (a pipe, a device that a name of
  // the disk leads to) is not read either.
  const bool dispositivo = kWindows && (NomeDiDispositivo(file) || SpazioDeiDispositivi(Utf8DaPercorso(percorso)));
  const TipoFile tipo = dispositivo ? TipoFile::Altro : sistema.Tipo(percorso);
  if (tipo == TipoFile::Altro) return nonOrdinario();
  Maniglia f = kNessunFile;
  int errore = tipo == TipoFile::Cartella ? kAccessoPercorso : sistema.Apri(percorso, Apertura::Lettura, f);
  if (errore) {
    t.errori << "quibold: impossibile leggere " << mostrato << '\n';
    return false;
  }
  TipoFile aperto = TipoFile::Altro;
  long long dimensione = 0;
  if (sistema.Descrivi(f, aperto, dimensione) == 0 && aperto != TipoFile::Ordinario) {
    (void)sistema.Chiudi(f);  // not read
    return nonOrdinario();
  }
  errore = LeggiRecord(sistema, f, verifica);
  (void)sistema.Chiudi(f);  // read only: nothing to lose
  if (errore) {
    t.errori << "quibold: errore di lettura in " << mostrato << '\n';
    return false;
  }
  verifica.Fine();
  return true;
}

// Whether `nome` matches `modello`, where "*" stands for any run of characters and "?" for any
// one, without regard to case, as Windows matches names.
bool Corrisponde(std::string_view modello, std::string_view nome) {
  size_t m = 0, n = 0, stella = std::string_view::npos, ripresa = 0;
  while (n < nome.size()) {
    if (m < modello.size() && modello[m] == '*') {
      stella = m++;
      ripresa = n;
    } else if (m < modello.size() &&
               (modello[m] == '?' || UgualiSenzaMaiuscole(modello.substr(m, 1), nome.substr(n, 1)))) {
      ++m;
      ++n;
    } else if (stella != std::string_view::npos) {
      m = stella + 1;
      n = ++ripresa;
    } else {
      return false;
    }
  }
  while (m < modello.size() && modello[m] == '*') ++m;
  return m == modello.size();
}

// The files an argument names: itself or, when its last name holds "*" or "?", the files of its
// folder that match, in the order of their names (a Windows prompt hands the pattern over as it
// is; a Linux shell has matched it already, unless it was quoted).
std::vector<std::string> Espandi(const std::string& argomento, const Percorsi& percorsi, bool& modello) {
  const size_t barra = argomento.find_last_of("\\/");
  const std::string cartella = barra == std::string::npos ? "" : argomento.substr(0, barra + 1);
  const std::string nome = argomento.substr(cartella.size());
  if (nome.find_first_of("*?") == std::string::npos) return {argomento};
  modello = true;
  std::vector<std::string> trovati;
  const fs::path dove = cartella.empty() ? fs::path(".") : PercorsoFile(cartella, percorsi);
  // A folder that cannot be read matches no file, which is said below.
  (void)percorsi.Elenca(dove, [&](const Percorsi::Voce& v) {
    if (v.ordinario.value_or(true) && Corrisponde(nome, v.nome)) trovati.push_back(cartella + std::string(v.nome));
    return true;
  });
  std::sort(trovati.begin(), trovati.end());
  return trovati;
}

}  // namespace

std::string Quanti(long n, const char* uno, const char* molti) {
  return std::to_string(n) + " " + (n == 1 ? uno : molti);
}

CLI::App* RegistraVerifica(CLI::App& app, OpzioniVerifica& o) {
  CLI::App* verifica = app.add_subcommand("verifica", "Controlla uno o piu' file telematici prima dell'invio");
  verifica->group("Comandi");
  verifica->fallthrough();
  verifica->set_help_flag("-h,--help", "Mostra questo aiuto ed esce");
  verifica
      ->add_option("FILE", o.file,
                   "I file telematici (\"X:\\...\" o \"\\...\" sotto la radice delle unita'); con piu' file, "
                   "ogni riga comincia con il nome del suo file e segue un totale")
      ->required()
      ->type_name("TESTO");
  verifica->add_flag("--json", o.json, "Scrive i rilievi come array JSON");
  verifica->footer(
      "Stato di uscita: 0 nessun errore (avvisi ammessi); 1 un file ha errori; 2 un file e' illeggibile o i rilievi "
      "non si possono scrivere.");
  return verifica;
}

int EseguiVerifica(const OpzioniVerifica& o, const fs::path& radice, Terminale& t, Sistema& sistema) {
  const Percorsi percorsi(radice, sistema);
  std::vector<std::string> tutti;
  long conErrori = 0, illeggibili = 0, records = 0, errori = 0, avvisi = 0;
  bool modelli = false;
  for (const std::string& argomento : o.file) {
    const std::vector<std::string> trovati = Espandi(argomento, percorsi, modelli);
    if (trovati.empty()) {
      t.errori << "quibold: nessun file corrisponde a " << NomeMostrato(argomento) << '\n';
      ++illeggibili;
    }
    tutti.insert(tutti.end(), trovati.begin(), trovati.end());
  }
  const auto n = static_cast<long>(tutti.size()) + illeggibili;
  const bool piu = n > 1 || modelli;
  nlohmann::ordered_json elenco = nlohmann::ordered_json::array();
  for (const std::string& file : tutti) {
    const std::string prefisso = piu ? NomeMostrato(file) + ": " : "";
    Verifica verifica(Vaglio::Rapido, OggiLocale());
    if (!Controlla(sistema, PercorsoFile(file, percorsi), file, verifica, t)) {
      ++illeggibili;
      continue;
    }
    conErrori += verifica.Errori() > 0;
    records += verifica.Records();
    errori += verifica.Errori();
    avvisi += verifica.Avvisi();
    const std::string riepilogo = prefisso + Riepilogo(verifica);
    if (o.json) {
      for (const Rilievo& r : verifica.Rilievi()) {
        nlohmann::ordered_json voce;
        if (piu) voce["file"] = Utf8Valido(file);  // a name of POSIX may be any bytes; JSON holds UTF-8
        voce["record"] = r.record;
        voce["posizione"] = r.posizione;
        voce["gravita"] = NomeGravita(r.gravita);
        voce["messaggio"] = Utf8DaCp1252(r.messaggio);
        voce["dipendente"] = r.dipendente.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(r.dipendente);
        elenco.push_back(std::move(voce));
      }
      t.errori << riepilogo << '\n';
    } else {
      // The employee on a line of its own, under the finding's: a program that reads the findings'
      // lines by their beginning "record " reads them as before.
      for (const Rilievo& r : verifica.Rilievi()) {
        t.uscita << prefisso << Utf8DaCp1252(TestoRilievo(r)) << '\n';
        if (!r.dipendente.empty()) t.uscita << prefisso << kRientroDipendente << r.dipendente << '\n';
      }
      t.uscita << riepilogo << '\n';
    }
  }
  if (o.json) t.uscita << elenco.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
  if (piu) {
    (o.json ? t.errori : t.uscita) << "Totale: " << Quanti(n, "file", "file") << ", "
                                   << Quanti(n - conErrori - illeggibili, "corretto", "corretti") << ", "
                                   << Quanti(conErrori, "con errori", "con errori") << ", "
                                   << Quanti(illeggibili, "illeggibile", "illeggibili") << ": "
                                   << Quanti(records, "record", "record") << ", " << Quanti(errori, "errore", "errori")
                                   << ", " << Quanti(avvisi, "avviso", "avvisi") << '\n';
  }
  if (!t.uscita.flush()) {
    // Whoever reads the findings would find none, or some: not a check that passed.
    t.errori << "quibold: impossibile scrivere i rilievi sull'uscita standard\n";
    return kVerificaIlleggibile;
  }
  return illeggibili > 0 ? kVerificaIlleggibile : conErrori > 0 ? kVerificaConErrori : kVerificaSenzaErrori;
}

}  // namespace quibold
