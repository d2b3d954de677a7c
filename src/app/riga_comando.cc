#include "app/riga_comando.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/comando_tutte.h"
#include "app/comando_verifica.h"
#include "recfile/canali.h"
#include "recfile/cp1252.h"
#include "ui/messaggi_terminale.h"
#include "ui/report.h"
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
  bool ApriVisualizzatore(const std::filesystem::path&, const std::filesystem::path&, std::string&) override {
    return true;
  }
  void Termina() override {}
};

// The output folder as given on the command line: a Windows path (with a drive, or from the
// drive's root "\\") keeps its mapping; any other path is relative to the current directory:
// on POSIX, as a Linux user expects, it becomes absolute; on Windows it stays as it is.
std::string CartellaDaRigaComando(const std::string& utf8) {
  if (kWindows || utf8.empty() || IniziaConUnita(utf8) || utf8[0] == '\\' || utf8[0] == '/') return utf8;
  std::string relativa = utf8;
  std::replace(relativa.begin(), relativa.end(), '\\', '/');
  std::error_code ec;
  const std::filesystem::path corrente = std::filesystem::current_path(ec);
  if (ec) return utf8;
  std::string assoluta = Utf8DaPercorso(corrente);
  if (!assoluta.ends_with('/')) assoluta += '/';
  return assoluta + relativa;
}

int Crea(const OpzioniCrea& o, const std::filesystem::path& radice, Terminale& t, Sistema& sistema) {
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
  PiattaformaRigaComando piattaforma;
  StatoFinestra stato(canali, piattaforma);

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
  // The run ends the command: the window is not opened again (nor the archive read again).
  stato.RiapreDopoCreazione = false;

  bool reportScritto = true;
  stato.Report = [&] {
    auto report = ScriviReport(stato, SeparatoreDecimaleDiSistema());
    reportScritto = report.has_value();
    if (report && !(t.uscita << Utf8DaPercorso(*report) << std::endl)) {
      // Whoever reads the path from the output would find none: not a success.
      t.errori << "quibold: impossibile scrivere il percorso del report " << Utf8DaPercorso(*report) << '\n';
      reportScritto = false;
    }
  };
  if (!stato.Crea()) return kUscitaFermata;
  StampaAvvisi(stato.run, t.errori);
  return reportScritto ? kUscitaCompleta : kUscitaSenzaReport;
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
                      const std::function<int(const std::filesystem::path&)>& finestra, Sistema& sistema) {
  CLI::App app{"quibold: file telematico della Certificazione Unica 2018 (fornitura CUR18)", "quibold"};
  // The help in Italian, headings and value kinds included (the subcommand shares the formatter
  // and the option defaults). The messages of a usage error stay the library's own.
  auto formato = app.get_formatter();
  formato->label("Usage", "Uso");
  formato->label("OPTIONS", "OPZIONI");
  formato->label("SUBCOMMAND", "COMANDO");
  formato->label("REQUIRED", "OBBLIGATORIA");
  formato->label("TEXT", "TESTO");
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
  crea->add_option("--data-impegno", o.dataImpegno, "Data impegno alla trasmissione (ggmmaaaa)");
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
  if (*crea) return Crea(o, cartellaRadice, terminale, sistema);
  if (*verifica) return EseguiVerifica(ov, cartellaRadice, terminale, sistema);
  if (!finestra) {
    terminale.errori << "quibold: questa versione non ha la finestra; usare 'quibold crea'\n";
    return kUscitaErroreUso;
  }
  return finestra(cartellaRadice);
}

}  // namespace quibold
