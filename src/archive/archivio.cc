#include "archive/archivio.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <system_error>

namespace fs = std::filesystem;

namespace quibold {
namespace {

// The number text of a name `prefisso` & digits & ".018" (any case), or empty for another name.
std::string_view NumeroNelNome(std::string_view nome, std::string_view prefisso) {
  constexpr std::string_view kEstensione = ".018";
  if (nome.size() <= prefisso.size() + kEstensione.size()) return {};
  if (!UgualiSenzaMaiuscole(nome.substr(0, prefisso.size()), prefisso)) return {};
  if (nome.substr(nome.size() - kEstensione.size()) != kEstensione) return {};
  std::string_view numero = nome.substr(prefisso.size(), nome.size() - prefisso.size() - kEstensione.size());
  if (!std::all_of(numero.begin(), numero.end(), [](char c) { return c >= '0' && c <= '9'; })) return {};
  return numero;
}

}  // namespace

std::vector<TestataPresente> ElencoTestate(const Percorsi& percorsi, std::string_view percorsoDati) {
  struct Trovata {
    fs::path esatta;  // "FCU" & n & ".018" as written
    bool esattaOrdinaria = false;
    fs::path variante;  // the first ordinary file whose name differs only in case
  };
  std::map<int, Trovata> trovate;
  std::error_code ec;
  for (fs::directory_iterator it(percorsi.Nativo(percorsoDati), ec), fine; !ec && it != fine; it.increment(ec)) {
    const std::string nome = it->path().filename().string();
    const std::string_view numero = NumeroNelNome(nome, "FCU");
    if (numero.empty() || numero[0] == '0' || numero.size() > 3) continue;
    int n = 0;
    std::from_chars(numero.data(), numero.data() + numero.size(), n);
    Trovata& t = trovate[n];
    std::error_code e;
    const bool ordinaria = it->is_regular_file(e);
    if (nome.starts_with("FCU")) {
      t.esatta = it->path();
      t.esattaOrdinaria = ordinaria;
    } else if (ordinaria && t.variante.empty()) {
      t.variante = it->path();
    }
  }
  std::vector<TestataPresente> elenco;
  for (const auto& [n, t] : trovate) {
    if (!t.esatta.empty()) {
      if (t.esattaOrdinaria) elenco.push_back({n, t.esatta});
    } else if (!t.variante.empty()) {
      elenco.push_back({n, t.variante});
    }
  }
  return elenco;
}

std::vector<fs::path> FileDellArchivio(const Percorsi& percorsi, std::string_view disco,
                                       std::string_view percorsoDati, std::string_view codice) {
  std::vector<fs::path> file = {
      percorsi.Nativo(NomeFileTestata(percorsoDati, codice)),
      percorsi.Nativo(NomeFileDipendenti(percorsoDati, codice)),
      percorsi.Nativo(kFileDisco),
      percorsi.Nativo(NomeFileReport(disco)),
      percorsi.Nativo(NomeFileBatch(disco)),
  };
  std::error_code ec;
  for (fs::directory_iterator it(percorsi.Nativo(percorsoDati), ec), fine; !ec && it != fine; it.increment(ec)) {
    const std::string nome = it->path().filename().string();
    if (!NumeroNelNome(nome, "FCU").empty() || !NumeroNelNome(nome, "DCU").empty()) file.push_back(it->path());
  }
  return file;
}

}  // namespace quibold
