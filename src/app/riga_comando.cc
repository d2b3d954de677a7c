#include "app/riga_comando.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <optional>
#include <ostream>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "app/comando_tutte.h"
#include "app/comando_verifica.h"
#include "recfile/canali.h"
#include "recfile/cp1252.h"
#include "ui/messaggi_terminale.h"
#include "ui/stato.h"

namespace quibold {
namespace {

struct OpzioniCrea {
  std::string codice;
  std::optional<std::string> tipo, protocollo, progressivo, record, tipoImpegno, dataImpegno, cartella, file;
  bool report = false;
  std::optional<std::string> conferma;
};

// A platform for the command line: it opens no viewer and ends nothing; the run just returns.
class PiattaformaRigaComando : public Piattaforma {
 public:
  explicit PiattaformaRigaComando(std::ostream& uscita) : uscita_(uscita) {}
  // The command line's viewer is whoever reads its output: the report's path is printed there.
  bool ApriVisualizzatore(const std::filesystem::path& report, const std::filesystem::path&,
                          const std::filesystem::path&, std::string& motivo) override {
    if (uscita_ << Utf8DaPercorso(report) << std::endl) return true;
    motivo = "impossibile scriverne il percorso sull'uscita";  // whoever reads it would find none
    return false;
  }
  void Termina() override {}

 private:
  std::ostream& uscita_;
};

// The output folder as given on the command line: a Windows path (with a drive, or from the
// drive's root "\\") keeps its mapping; any other path is relative to the current directory:
// on POSIX, as a Linux user expects, it becomes absolute; on Windows it stays as it is.
std::string CartellaDaRigaComando(const std::string& utf8) {
  if (kWindows || utf8.empty() || IniziaConUnita(utf8) || utf8[0] == '\\' || utf8[0] == '/') return utf8;
  std::string relativa = utf8;
  std::replace(relativa.begin(), relativa.end(), '\\', '/');
  const std::filesystem::path corrente = CartellaCorrente();
  if (corrente.empty()) return utf8;
  std::string assoluta = Utf8DaPercorso(corrente);
  if (!assoluta.ends_with('/')) assoluta += '/';
  return assoluta + relativa;
}

int Crea(const OpzioniCrea& o, const std::filesystem::path& radice, Terminale& t, Sistema& sistema,
         Piattaforma* visualizzatore) {
  // The output's names first: a name that cannot be written stops the command before anything.
  std::string cartella, file;
  std::filesystem::path cartellaNativa, nessuna;
  if ((o.cartella &&
       !NomeDiUscita(CartellaDaRigaComando(*o.cartella), true, radice, sistema, t.errori, cartella, cartellaNativa)) ||
      (o.file && !NomeDiUscita(*o.file, false, radice, sistema, t.errori, file, nessuna))) {
    return kUscitaErroreUso;
  }
  std::optional<bool> conferma;
  if (o.conferma) conferma = *o.conferma == "si";
  MessaggiTerminale messaggi(t.errori, t.ingresso, t.interattivo, conferma);
  Percorsi percorsi(radice, sistema);
  Canali canali(percorsi, messaggi);
  PiattaformaRigaComando terminale(t.uscita);
  StatoFinestra stato(canali, visualizzatore ? *visualizzatore : terminale);

  stato.Apertura();
  stato.Tx[kTxCodice] = Cp1252DaUtf8(o.codice);
  if (!stato.ApriCU()) return kUscitaFermata;
  if (o.tipo) ScegliTipo(stato, (*o.tipo)[0]);
  auto imposta = [&](CampoFinestra campo, const std::optional<std::string>& valore) {
    if (valore) stato.Tx[campo] = Cp1252DaUtf8(*valore);
  };
  imposta(kTxProtocollo, o.protocollo);
  imposta(kTxProgressivo, o.progressivo);
  imposta(kTxRecord, o.record);
  imposta(kTxTipoImpegno, o.tipoImpegno);
  imposta(kTxDataImpegno, o.dataImpegno);
  if (o.cartella) stato.Tx[kTxCartella] = cartella;
  if (o.file) stato.Tx[kTxNomeFile] = file;
  RicordaUscitaNativa(stato, cartellaNativa);
  stato.FlagReport = o.report ? 1 : 0;
  // The run ends the command: the window is not opened again (nor the archive read again), and the
  // report's path is printed, not told in a box.
  stato.RiapreDopoCreazione = false;
  stato.DiceDoveIlReport = false;

  if (!stato.Crea()) {
    t.errori << Utf8DaCp1252(Stampabile(stato.Avanzamento, false)) << '\n';  // what became of the file
    return kUscitaFermata;
  }
  StampaAvvisi(stato.run, t.errori);
  return stato.FlagReport == 0 || stato.ReportConsegnato ? kUscitaCompleta : kUscitaSenzaReport;
}

// The parser's messages in Italian. The library builds them in English from a few fixed forms
// (those of its version 2.1, every one that this command line can meet, and a few more); each is
// read back here and said again. A form not known keeps its words, after an Italian lead.
std::string MessaggioItaliano(const CLI::App* app, const CLI::Error& errore) {
  struct Forma {
    const char* inglese;
    const char* italiano;
  };
  static const Forma kForme[] = {
      {R"(The following argument was not expected: (.*))", "argomento non previsto: $1"},
      {R"(The following arguments were not expected: (.*))", "argomenti non previsti: $1"},
      {R"(A subcommand is required)", "manca il comando"},
      {R"((.*) is required)", "manca $1, che e' obbligatorio"},
      {R"((.*): \d+ required .* missing)", "$1: manca il valore"},
      {R"((.*): (.*) not in (\{.*\}))", "$1: \"$2\" non e' tra i valori ammessi $3"},
      {R"((.*) excludes (.*))", "$1 e $2 non si usano insieme"},
      {R"((.*) requires (.*))", "$1 richiede $2"},
      {R"(Could not convert: (.*) = (.*))", "$1: valore non valido \"$2\""},
      {R"((.*): At Most (\d+) required but received (\d+))", "$1: indicato $3 volte, al massimo $2"},
      {R"((.*): At least (\d+) required but received (\d+))", "$1: indicato $3 volte, almeno $2"},
      {R"(Expected exactly (\d+) arguments to (.*), got (\d+))", "$2: attesi $1 valori, qui $3"},
      {R"(Expected at least (\d+) arguments to (.*), got (\d+))", "$2: attesi almeno $1 valori, qui $3"},
      {R"((.*): too many inputs for a flag)", "$1: l'opzione non prende valori"},
      {R"((.*): Should be true/false or a number)", "$1: atteso vero o falso, o un numero"},
      {R"(The value (.*) is not an allowed value for (.*))", "$2: valore non ammesso \"$1\""},
      {R"((.*) was given a disallowed flag override)", "$1: valore non ammesso"},
      {R"((.*): Too many positional arguments with unlimited expected args)", "$1: troppi argomenti"},
      {R"((.*) was not readable \(missing\?\))", "$1: file illeggibile"},
  };
  std::string inglese = errore.what();
  // The library lists unexpected arguments last to first: they are given again in their order.
  if (inglese.starts_with("The following argument")) {
    const std::vector<std::string> resto = app->remaining(true);
    if (!resto.empty()) {
      std::string elenco;
      for (const std::string& a : resto) elenco += (elenco.empty() ? "" : " ") + a;
      inglese = inglese.substr(0, inglese.find(": ") + 2) + elenco;
    }
  }
  std::string testo = "riga di comando non valida: " + inglese;
  for (const Forma& f : kForme) {
    const std::regex forma(f.inglese);
    if (std::regex_match(inglese, forma)) {
      testo = std::regex_replace(inglese, forma, f.italiano);
      break;
    }
  }
  // Where to read more: the help of the command being given.
  std::string aiuto = app->get_name();
  for (const CLI::App* comando : app->get_subcommands()) aiuto += " " + comando->get_name();
  return "quibold: " + testo + "\nPer l'aiuto: " + aiuto + " --help\n";
}

// "--opzione=" with nothing after the sign gives the option an empty value, as "--opzione ''"
// does; left to the parser it would take the next argument as its value.
std::vector<std::string> ValoriVuotiEspliciti(int argc, const char* const* argv) {
  std::vector<std::string> argomenti;
  for (int i = 0; i < argc; ++i) {
    std::string_view a = argv[i];
    if (i > 0 && a.size() > 3 && a.starts_with("--") && a.ends_with('=') && a.find('=') == a.size() - 1) {
      argomenti.emplace_back(a.substr(0, a.size() - 1));
      argomenti.emplace_back();
    } else {
      argomenti.emplace_back(a);
    }
  }
  return argomenti;
}

}  // namespace

bool NomeDiUscita(const std::string& utf8, bool cartella, const std::filesystem::path& radice, Sistema& sistema,
                  std::ostream& errori, std::string& campo, std::filesystem::path& nativa) {
  campo = Cp1252DaUtf8(utf8);
  if (Utf8DaCp1252(campo) == utf8) return true;
  // A native path: on POSIX an absolute one, on Windows any on the real drives.
  const bool nativo = kWindows ? radice.empty() : utf8.starts_with('/');
  if (cartella && nativo && sistema.Tipo(PercorsoDaUtf8(utf8)) == TipoFile::Cartella) {
    nativa = PercorsoDaUtf8(utf8);
    return true;
  }
  errori << "quibold: " << (cartella ? "la cartella" : "il nome del file") << " \"" << utf8
         << "\" ha caratteri che la tabella dell'archivio (Windows-1252) non ha: nessun file creato\n";
  return false;
}

void ScegliTipo(StatoFinestra& stato, char lettera) {
  for (size_t k = 0; k < stato.TipiFornitura.size(); ++k) {
    if (stato.TipiFornitura[k][0] == lettera) stato.ScegliTipoFornitura(static_cast<int>(k));
  }
}

void RicordaUscitaNativa(StatoFinestra& stato, const std::filesystem::path& nativa) {
  if (nativa.empty()) return;
  const std::string& nome = stato.Tx[kTxNomeFile];
  stato.canali().percorsi().Ricorda(stato.Tx[kTxCartella] + nome, nativa / PercorsoDaUtf8(Utf8DaCp1252(nome)));
}

void StampaAvvisi(const StatoRun& run, std::ostream& errori) {
  // The file may be sent; what its check warned of goes to the error stream.
  for (const Rilievo& avviso : run.avvisi) errori << Utf8DaCp1252(RigheRilievo(avviso)) << '\n';
}

int EseguiRigaComando(int argc, const char* const* argv, Terminale terminale,
                      const std::function<int(const std::filesystem::path&)>& finestra, Sistema& sistema,
                      Piattaforma* visualizzatore) {
  CLI::App app{"quibold: file telematico della Certificazione Unica 2018 (fornitura CUR18)", "quibold"};
  // The help in Italian, headings and value kinds included (the subcommand shares the formatter
  // and the option defaults), and so are the messages of a usage error.
  auto formato = app.get_formatter();
  formato->label("Usage", "Uso");
  formato->label("OPTIONS", "OPZIONI");
  formato->label("SUBCOMMAND", "COMANDO");
  formato->label("REQUIRED", "OBBLIGATORIA");
  formato->label("TEXT", "TESTO");
  formato->label("Positionals", "Argomenti");
  app.failure_message(MessaggioItaliano);
  formato->column_width(32);
  app.option_defaults()->group("Opzioni");
  app.set_help_flag("-h,--help", "Mostra questo aiuto ed esce");
  std::string radice;
  app.add_option("--radice", radice, "Cartella che contiene le unita' (c, d, ...) dei percorsi Windows");

  OpzioniCrea o;
  CLI::App* crea = app.add_subcommand("crea", "Crea il file telematico senza finestra");
  crea->group("Comandi");
  crea->fallthrough();
  crea->set_help_flag("-h,--help", "Mostra questo aiuto ed esce");
  crea->add_option("--codice", o.codice, "Codice della certificazione");
  crea->add_option("--tipo", o.tipo, "Tipo fornitura: N normale, A annullamento, S sostituzione, T normale singola")
      ->type_name("TESTO")
      ->check(CLI::IsMember({"N", "A", "S", "T"}));
  crea->add_option("--protocollo", o.protocollo, "Protocollo identificativo della CU da sostituire o annullare");
  crea->add_option("--progressivo", o.progressivo, "Protocollo assegnato alla CU da sostituire o annullare");
  crea->add_option("--record", o.record, "Numero di record del dipendente nell'archivio");
  crea->add_option("--tipo-impegno", o.tipoImpegno, "Tipo impegno alla trasmissione (1 o 2)");
  // The date as people type it: its digits ("31/01/2018" is 31012018); one that does not exist
  // is refused before anything is read.
  crea->add_option("--data-impegno", o.dataImpegno, "Data impegno alla trasmissione (ggmmaaaa)")
      ->transform([](const std::string& data) { return StatoFinestra::SoloCifre(data); })
      ->check([](const std::string& data) {
        return StatoFinestra::DataRifiutata(data) ? "la data " + data + " non esiste (ggmmaaaa)" : std::string();
      });
  crea->add_option("--cartella", o.cartella, "Unita' e percorso del file telematico");
  crea->add_option("--file", o.file, "Nome del file telematico");
  crea->add_flag("--report", o.report, "Scrive il report di quadratura e ne stampa il percorso");
  crea->add_option("--conferma", o.conferma, "Risposta alle domande di conferma: si o no")
      ->type_name("TESTO")
      ->check(CLI::IsMember({"si", "no"}));
  OpzioniTutte tutte;
  RegistraTutte(*crea, tutte);

  app.footer(
      "Stato di uscita: 0 file telematico completo (e report scritto, se chiesto); 1 elaborazione "
      "interrotta; 2 errore d'uso; 3 file telematico completo ma report non scritto.");
  OpzioniVerifica ov;
  CLI::App* verifica = RegistraVerifica(app, ov);

  try {
    std::vector<std::string> argomenti = ValoriVuotiEspliciti(argc, argv);
    std::reverse(argomenti.begin(), argomenti.end());
    argomenti.pop_back();  // the program's name
    app.parse(argomenti);
  } catch (const CLI::ParseError& e) {
    int codice = app.exit(e, terminale.uscita, terminale.errori);
    return codice == 0 ? kUscitaCompleta : kUscitaErroreUso;
  }

  const auto cartellaRadice = Percorsi::RadiceDiSistema(radice);
  if (*crea && tutte.tutte) {
    if (o.cartella) {
      tutte.cartella = CartellaDaRigaComando(*o.cartella);
      std::string campo;
      if (!NomeDiUscita(*tutte.cartella, true, cartellaRadice, sistema, terminale.errori, campo,
                        tutte.cartellaNativa)) {
        return kUscitaErroreUso;
      }
    }
    tutte.tipoImpegno = o.tipoImpegno;
    tutte.dataImpegno = o.dataImpegno;
    if (o.conferma) tutte.conferma = *o.conferma == "si";
    return EseguiTutte(tutte, cartellaRadice, terminale, sistema);
  }
  if (*crea) return Crea(o, cartellaRadice, terminale, sistema, visualizzatore);
  if (*verifica) return EseguiVerifica(ov, cartellaRadice, terminale, sistema);
  if (!finestra) {
    terminale.errori << "quibold: questa versione non ha la finestra; usare 'quibold crea'\n";
    return kUscitaErroreUso;
  }
  return finestra(cartellaRadice);
}

}  // namespace quibold
