#include "app/comando_mostra.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <ostream>
#include <vector>

#include "app/comando_verifica.h"
#include "recfile/cp1252.h"
#include "recfile/percorsi.h"
#include "ui/messaggi_terminale.h"
#include "ui/report.h"
#include "ui/vista_file.h"

namespace quibold {
namespace {

using Json = nlohmann::ordered_json;

// A text of the file as the terminal shows it: UTF-8, a control character as "?".
std::string Mostrabile(const std::string& cp1252) { return Utf8DaCp1252(Stampabile(cp1252, false)); }

// Characters, not bytes, of a UTF-8 text: what a column takes on a terminal.
size_t Larghezza(std::string_view utf8) {
  return static_cast<size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

bool ADestra(const Colonna& c) { return c.tipo >= TipoColonna::Totale; }

std::string Tabella(const VistaFile& vista, char separatore) {
  const auto& colonne = ColonneVista();
  std::vector<std::vector<std::string>> celle(vista.Righe() + 1, std::vector<std::string>(colonne.size()));
  std::vector<size_t> larghezze(colonne.size());
  for (size_t c = 0; c < colonne.size(); ++c) {
    celle[0][c] = colonne[c].titolo;
    for (size_t r = 0; r < vista.Righe(); ++r) celle[r + 1][c] = Mostrabile(vista.Testo(r, c, separatore));
    for (const auto& riga : celle) larghezze[c] = std::max(larghezze[c], Larghezza(riga[c]));
  }
  std::string t;
  for (const auto& riga : celle) {
    std::string linea;
    for (size_t c = 0; c < colonne.size(); ++c) {
      const std::string bianchi(larghezze[c] - Larghezza(riga[c]), ' ');
      if (c > 0) linea += "  ";
      linea += ADestra(colonne[c]) ? bianchi + riga[c] : riga[c] + bianchi;
    }
    linea.erase(linea.find_last_not_of(' ') + 1);
    t += linea + '\n';
  }
  return t;
}

// A column's title as a JSON key: "Totale Redditi" as "totale_redditi".
std::string Chiave(std::string_view titolo) {
  std::string k;
  for (char c : titolo) {
    const bool alfanumerico = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (alfanumerico) {
      k += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    } else if (!k.empty() && k.back() != '_') {
      k += '_';
    }
  }
  if (!k.empty() && k.back() == '_') k.pop_back();
  return k;
}

Json Totali(const Somme& somme) {
  Json t = Json::object();
  for (const Colonna& c : ColonneVista()) {
    if (c.tipo != TipoColonna::Totale) continue;
    const long long s = somme[c.totale];
    t[Chiave(c.titolo)] = c.totale == kDipendenti ? Json(s) : Json(static_cast<double>(s) / 100);
  }
  return t;
}

std::string TestoJson(const VistaFile& vista) {
  const Prospetto& p = vista.prospetto();
  const TestataDelFile& t = p.Testata();
  const Verifica& v = p.verifica();
  const bool sostituisce = t.operazione != ' ';
  Json dipendenti = Json::array();
  long errori = 0, avvisi = 0;
  for (const DipendenteNelFile& d : p.Dipendenti()) {
    dipendenti.push_back({{"progressivo", Utf8DaCp1252(d.progressivo)},
                          {"codice_fiscale", Utf8DaCp1252(d.codiceFiscale)},
                          {"cognome", Utf8DaCp1252(d.cognome)},
                          {"nome", Utf8DaCp1252(d.nome)},
                          {"record", d.primoRecord},
                          {"totali", Totali(d.somme)},
                          {"errori", d.errori},
                          {"avvisi", d.avvisi}});
    errori += d.errori;
    avvisi += d.avvisi;
  }
  const Json documento = {
      {"file", Utf8DaCp1252(vista.Nome())},
      {"fornitura", Utf8DaCp1252(t.fornitura)},
      {"operazione", t.operazione == 'A'   ? "annullamento"
                     : t.operazione == 'S' ? "sostituzione"
                                           : "ordinaria"},
      {"protocollo", sostituisce ? Json(Utf8DaCp1252(t.protocollo)) : Json(nullptr)},
      {"numero_sostituito", sostituisce ? Json(Utf8DaCp1252(t.numeroSostituito)) : Json(nullptr)},
      {"fornitore", Utf8DaCp1252(t.cfFornitore)},
      {"sostituto", {{"codice_fiscale", Utf8DaCp1252(t.cfSostituto)}, {"nome", Utf8DaCp1252(t.sostituto)}}},
      {"dipendenti", std::move(dipendenti)},
      {"totale", {{"totali", Totali(p.Totale())}, {"errori", errori}, {"avvisi", avvisi}}},
      {"fuori_dai_dipendenti", {{"errori", p.ErroriDelFile()}, {"avvisi", p.AvvisiDelFile()}}},
      {"record", v.Records()},
      {"errori", v.Errori()},
      {"avvisi", v.Avvisi()},
  };
  return documento.dump(2, ' ', false, Json::error_handler_t::replace) + '\n';
}

}  // namespace

CLI::App* RegistraMostra(CLI::App& app, OpzioniMostra& o) {
  CLI::App* mostra =
      app.add_subcommand("mostra", "Mostra un file telematico dipendente per dipendente, con le somme del report");
  mostra->group("Comandi");
  mostra->fallthrough();
  mostra->set_help_flag("-h,--help", "Mostra questo aiuto ed esce");
  mostra->add_option("FILE", o.file, "Il file telematico (\"X:\\...\" o \"\\...\" sotto la radice delle unita')")
      ->required()
      ->type_name("TESTO");
  CLI::Option* csv = mostra->add_flag(
      "--csv", o.csv, "Scrive la tabella in CSV per un foglio di calcolo (UTF-8, \";\", virgola decimale)");
  mostra->add_flag("--json", o.json, "Scrive la tabella in JSON")->excludes(csv);
  mostra->footer(
      "Stato di uscita: 0 nessun errore (avvisi ammessi); 1 il file ha errori o non e' un file CUR18; 2 il file e' "
      "illeggibile o la tabella non si puo' scrivere.");
  return mostra;
}

int EseguiMostra(const OpzioniMostra& o, const std::filesystem::path& radice, Terminale& t, Sistema& sistema) {
  const Percorsi percorsi(radice, sistema);
  VistaFile vista;
  if (const Lettura letta = vista.Leggi(sistema, PercorsoFile(o.file, percorsi), o.file); letta != Lettura::Letta) {
    t.errori << "quibold: " << TestoLettura(letta, o.file) << '\n';
    return kVerificaIlleggibile;
  }
  const Verifica& v = vista.prospetto().verifica();
  if (!vista.prospetto().Cur18()) {
    t.errori << "quibold: " << Utf8DaCp1252(Stampabile(TestoNonCur18(vista), true)) << '\n';
    return kVerificaConErrori;
  }
  const std::string riepilogo = Riepilogo(v);
  if (o.csv || o.json) {
    t.uscita << (o.csv ? vista.Csv() : TestoJson(vista));
    t.errori << riepilogo << '\n';
  } else {
    const std::vector<std::string> intestazione = vista.Intestazione();
    // The summary closes the table, as `verifica` closes its findings.
    for (size_t i = 0; i + 1 < intestazione.size(); ++i) t.uscita << Mostrabile(intestazione[i]) << '\n';
    t.uscita << Tabella(vista, SeparatoreDecimaleDiSistema()) << Mostrabile(intestazione.back()) << '\n';
  }
  if (!t.uscita.flush()) {
    t.errori << "quibold: impossibile scrivere la tabella sull'uscita standard\n";
    return kVerificaIlleggibile;
  }
  return v.Errori() > 0 ? kVerificaConErrori : kVerificaSenzaErrori;
}

}  // namespace quibold
