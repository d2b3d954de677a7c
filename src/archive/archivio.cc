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

namespace {

// What a name in one of the archive's folders is: `cartellaDati` the archive folder, `radiceC`
// the folder of the drive configuration file, `cartellaBatch` the batch file's.
FileArchivio NomeDellArchivio(std::string_view nome, bool cartellaDati, bool radiceC, bool cartellaBatch) {
  if (cartellaDati) {
    if (!NumeroNelNome(nome, "FCU").empty()) return FileArchivio::Testata;
    if (!NumeroNelNome(nome, "DCU").empty()) return FileArchivio::Dipendenti;
    if (UgualiSenzaMaiuscole(nome, kNomeReport)) return FileArchivio::Report;
  }
  if (radiceC && UgualiSenzaMaiuscole(nome, kNomeDisco)) return FileArchivio::Disco;
  if (cartellaBatch && UgualiSenzaMaiuscole(nome, kNomeBatch)) return FileArchivio::Batch;
  return FileArchivio::Nessuno;
}

}  // namespace

FileArchivio FileDellArchivio(const Percorsi& percorsi, const fs::path& nativo, std::string_view disco,
                              std::string_view percorsoDati) {
  if (nativo.empty()) return FileArchivio::Nessuno;  // names nothing, and is opened as nothing
  Sistema& sistema = percorsi.sistema();
  const fs::path cartellaDati = percorsi.Nativo(percorsoDati);
  const fs::path fileDisco = percorsi.Nativo(kFileDisco);
  const fs::path fileBatch = percorsi.Nativo(NomeFileBatch(disco));

  // By name, within the folder that the output's name, its links followed, lands in.
  fs::path risolto = sistema.Risolto(nativo);
  if (risolto.empty()) risolto = nativo;
  const std::string nome = Utf8DaPercorso(risolto.filename());
  const auto identitaCartella = sistema.Identita(risolto.parent_path());
  auto stessa = [&](const fs::path& cartella) {
    if (identitaCartella) return sistema.Identita(cartella) == identitaCartella;
    // A folder that is not there: the same only as the same path.
    const fs::path risolta = sistema.Risolto(cartella);
    return !risolta.empty() && UgualiSenzaMaiuscole(Utf8DaPercorso(risolta), Utf8DaPercorso(risolto.parent_path()));
  };
  const bool inDati = stessa(cartellaDati);
  const FileArchivio perNome =
      NomeDellArchivio(nome, inDati, stessa(fileDisco.parent_path()), stessa(fileBatch.parent_path()));
  if (perNome != FileArchivio::Nessuno && perNome != FileArchivio::Report && perNome != FileArchivio::Batch) {
    return perNome;
  }

  // An existing output may be another archive file under a name of its own: a hard link, or
  // the target of an archive file that is a link. Only those are compared one by one.
  const auto identita = sistema.Identita(nativo);
  if (!identita) return perNome;
  FileArchivio trovato = FileArchivio::Nessuno;
  // A folder that cannot be read holds no other name for the output.
  (void)sistema.Elenca(cartellaDati, [&](const VoceCartella& voce) {
    const FileArchivio quale = NomeDellArchivio(voce.nome, true, false, false);
    if (quale == FileArchivio::Nessuno || (identita->nomi < 2 && voce.ordinario.has_value())) return true;
    if (inDati && UgualiSenzaMaiuscole(voce.nome, nome)) return true;  // the output itself
    if (sistema.Identita(cartellaDati / PercorsoDaUtf8(voce.nome)) != identita) return true;
    trovato = quale;
    return false;
  });
  if (trovato != FileArchivio::Nessuno) return trovato;
  if (sistema.Identita(fileDisco) == identita) return FileArchivio::Disco;
  if (perNome != FileArchivio::Batch && sistema.Identita(fileBatch) == identita) return FileArchivio::Batch;
  return perNome;
}

}  // namespace quibold
