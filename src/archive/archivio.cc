#include "archive/archivio.h"

#include <algorithm>
#include <charconv>
#include <map>

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
  const fs::path cartella = percorsi.Nativo(percorsoDati);
  // A folder that cannot be read lists no certification, as one that is not there.
  (void)percorsi.Elenca(cartella, [&](const Percorsi::Voce& voce) {
    const std::string_view nome = voce.nome;
    const std::string_view numero = NumeroNelNome(nome, "FCU");
    if (numero.empty() || numero[0] == '0' || numero.size() > 3) return true;
    int n = 0;
    std::from_chars(numero.data(), numero.data() + numero.size(), n);
    Trovata& t = trovate[n];
    const fs::path file = cartella / PercorsoDaUtf8(nome);
    // A link is followed to what it names.
    const bool ordinaria = voce.ordinario ? *voce.ordinario : percorsi.sistema().Tipo(file) == TipoFile::Ordinario;
    if (nome.starts_with("FCU")) {
      t.esatta = file;
      t.esattaOrdinaria = ordinaria;
    } else if (ordinaria && t.variante.empty()) {
      t.variante = file;
    }
    return true;
  });
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

std::vector<fs::path> FileDellArchivio(const Percorsi& percorsi, std::string_view disco, std::string_view percorsoDati,
                                       std::string_view codice) {
  // The archive folder is read once: its header and employee files, and the report in whatever
  // case it is written; the names of the certification's own files and of the report as they
  // would be created, should they be missing.
  const fs::path cartella = percorsi.Nativo(percorsoDati);
  std::vector<fs::path> file = {
      cartella / ("FCU" + std::string(codice) + ".018"),
      cartella / ("DCU" + std::string(codice) + ".018"),
      cartella / kNomeReport,
      percorsi.Nativo(kFileDisco),
      percorsi.Nativo(NomeFileBatch(disco)),
  };
  // A folder that cannot be read adds none of its other files: the ones named above stay.
  (void)percorsi.Elenca(cartella, [&](const Percorsi::Voce& voce) {
    const std::string_view nome = voce.nome;
    if (!NumeroNelNome(nome, "FCU").empty() || !NumeroNelNome(nome, "DCU").empty() ||
        UgualiSenzaMaiuscole(nome, kNomeReport)) {
      file.push_back(cartella / PercorsoDaUtf8(nome));
    }
    return true;
  });
  return file;
}

}  // namespace quibold
