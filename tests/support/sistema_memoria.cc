#include "support/sistema_memoria.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace fs = std::filesystem;

namespace quibold::prova {

fs::path SistemaInMemoria::Radice() { return kWindows ? fs::path("M:/memoria") : fs::path("/memoria"); }

SistemaInMemoria::SistemaInMemoria() { CreaCartella(Radice()); }

std::string SistemaInMemoria::Chiave(const fs::path& nome) {
  std::string k = nome.lexically_normal().generic_string();
  while (k.size() > 1 && k.back() == '/') k.pop_back();
  if constexpr (kWindows) {
    for (char& c : k) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
  }
  return k;
}

std::string SistemaInMemoria::ChiaveMadre(const std::string& chiave) {
  const size_t barra = chiave.rfind('/');
  if (barra == std::string::npos) return {};
  return barra == 0 ? "/" : chiave.substr(0, barra);
}

bool SistemaInMemoria::Sotto(const std::string& chiave, const std::string& cartella) {
  return chiave == cartella || (chiave.size() > cartella.size() && chiave.starts_with(cartella) &&
                                (cartella == "/" || chiave[cartella.size()] == '/'));
}

std::string SistemaInMemoria::UltimoNome(const fs::path& nome) {
  const fs::path normale = nome.lexically_normal();
  return Utf8DaPercorso((normale.has_filename() ? normale : normale.parent_path()).filename());
}

std::shared_ptr<SistemaInMemoria::Nodo> SistemaInMemoria::Trova(const fs::path& nome) const {
  const auto it = nodi_.find(Chiave(nome));
  return it == nodi_.end() ? nullptr : it->second;
}

std::shared_ptr<SistemaInMemoria::Nodo> SistemaInMemoria::Nuovo(const fs::path& nome, TipoFile tipo) {
  auto nodo = std::make_shared<Nodo>();
  nodo->tipo = tipo;
  nodo->nome = UltimoNome(nome);
  nodo->indice = prossimoIndice_++;
  nodi_[Chiave(nome)] = nodo;
  return nodo;
}

void SistemaInMemoria::Durevole(const fs::path& nome) {
  const std::string k = Chiave(nome);
  if (const auto it = nodi_.find(k); it != nodi_.end()) durevoli_[k] = it->second;
}

void SistemaInMemoria::CreaCartellaSenzaChiave(const fs::path& cartella) {
  const fs::path normale = cartella.lexically_normal();
  fs::path parziale;
  for (const fs::path& parte : normale) {
    if (parte.empty()) continue;
    parziale /= parte;
    if (parziale == normale.root_path() || !parziale.has_filename()) continue;
    const auto nodo = Trova(parziale);
    if (!nodo) {
      Nuovo(parziale, TipoFile::Cartella);
      Durevole(parziale);
    }
  }
}

void SistemaInMemoria::CreaCartella(const fs::path& cartella) {
  std::lock_guard<std::mutex> chiave(mutex_);
  CreaCartellaSenzaChiave(cartella);
}

void SistemaInMemoria::Metti(const fs::path& file, std::string_view contenuto) {
  std::lock_guard<std::mutex> chiave(mutex_);
  CreaCartellaSenzaChiave(file.parent_path());
  auto nodo = Trova(file);
  if (!nodo || nodo->tipo != TipoFile::Ordinario) nodo = Nuovo(file, TipoFile::Ordinario);
  nodo->dati = nodo->sincronizzati = std::string(contenuto);
  Durevole(file);
}

void SistemaInMemoria::MettiSpeciale(const fs::path& file, Speciale speciale) {
  std::lock_guard<std::mutex> chiave(mutex_);
  CreaCartellaSenzaChiave(file.parent_path());
  Nuovo(file, TipoFile::Altro)->speciale = speciale;
  Durevole(file);
}

void SistemaInMemoria::SolaLettura(const fs::path& file) {
  std::lock_guard<std::mutex> chiave(mutex_);
  if (const auto nodo = Trova(file)) nodo->solaLettura = true;
}

void SistemaInMemoria::Capienza(long long byte) {
  std::lock_guard<std::mutex> chiave(mutex_);
  capienza_ = byte;
}

std::string SistemaInMemoria::Contenuto(const fs::path& file) const {
  std::lock_guard<std::mutex> chiave(mutex_);
  const auto nodo = Trova(file);
  return nodo && nodo->tipo == TipoFile::Ordinario ? nodo->dati : std::string();
}

bool SistemaInMemoria::RimuoviTutto(const fs::path& nome) {
  std::lock_guard<std::mutex> chiave(mutex_);
  const std::string k = Chiave(nome);
  const size_t prima = nodi_.size();
  std::erase_if(nodi_, [&](const auto& voce) { return Sotto(voce.first, k); });
  std::erase_if(durevoli_, [&](const auto& voce) { return Sotto(voce.first, k); });
  return nodi_.size() != prima;
}

void SistemaInMemoria::Crollo() {
  std::lock_guard<std::mutex> chiave(mutex_);
  nodi_ = durevoli_;
  for (auto& [nome, nodo] : nodi_) {
    nodo->dati = nodo->sincronizzati;
    nodo->bloccatoDa = kNessunFile;
  }
  aperti_.clear();
}

SistemaInMemoria::Aperto* SistemaInMemoria::Apertura_(Maniglia file) {
  const auto it = aperti_.find(file);
  return it == aperti_.end() ? nullptr : &it->second;
}

int SistemaInMemoria::Apri(const fs::path& nativo, Apertura modo, Maniglia& file) {
  std::lock_guard<std::mutex> chiave(mutex_);
  const std::string k = Chiave(nativo);
  auto madre = nodi_.find(ChiaveMadre(k));
  if (madre == nodi_.end() || madre->second->tipo != TipoFile::Cartella) return kPercorsoNonTrovato;
  auto nodo = Trova(nativo);
  const bool crea = modo != Apertura::Lettura;
  if (nodo && modo == Apertura::Nuova) return kFileEsistente;
  if (!nodo) {
    if (!crea) return kPercorsoNonTrovato;
    nodo = Nuovo(nativo, TipoFile::Ordinario);
  }
  Aperto a{nodo, modo != Apertura::Svuotata, modo != Apertura::Lettura};
  if (nodo->tipo == TipoFile::Cartella && a.scrittura) return kAccessoPercorso;
  if (modo == Apertura::Svuotata) nodo->dati.clear();
  file = prossima_++;
  aperti_[file] = a;
  return 0;
}

int SistemaInMemoria::Leggi(Maniglia file, char* dove, size_t quanti, long long posizione, size_t& letti) {
  std::lock_guard<std::mutex> chiave(mutex_);
  letti = 0;
  Aperto* a = Apertura_(file);
  if (!a || !a->lettura) return kCanaleNonAperto;
  if (a->nodo->tipo == TipoFile::Cartella) return kAccessoPercorso;
  if (a->nodo->tipo == TipoFile::Altro) return 0;
  const std::string& dati = a->nodo->dati;
  if (posizione < 0) return kErroreIO;
  if (static_cast<size_t>(posizione) >= dati.size()) return 0;
  letti = std::min(quanti, dati.size() - static_cast<size_t>(posizione));
  std::memcpy(dove, dati.data() + posizione, letti);
  return 0;
}

int SistemaInMemoria::Scrivi(Maniglia file, const char* da, size_t quanti, long long posizione, size_t& scritti) {
  std::lock_guard<std::mutex> chiave(mutex_);
  scritti = 0;
  Aperto* a = Apertura_(file);
  if (!a || !a->scrittura) return kCanaleNonAperto;
  if (posizione < 0) return kErroreIO;
  if (a->nodo->tipo == TipoFile::Altro) {
    if (a->nodo->speciale == Speciale::Piena) return kDiscoPieno;
    scritti = quanti;
    return 0;
  }
  std::string& dati = a->nodo->dati;
  if (capienza_ >= 0) {
    long long usati = 0;
    for (const auto& [nome, nodo] : nodi_) usati += static_cast<long long>(nodo->dati.size());
    const long long crescita =
        std::max(0LL, posizione + static_cast<long long>(quanti) - static_cast<long long>(dati.size()));
    if (usati + crescita > capienza_) {
      const long long libero = std::max(0LL, capienza_ - usati) + static_cast<long long>(dati.size()) - posizione;
      if (libero <= 0) return kDiscoPieno;
      quanti = static_cast<size_t>(libero);
    }
  }
  const size_t fine = static_cast<size_t>(posizione) + quanti;
  if (dati.size() < fine) dati.resize(fine, '\0');
  std::memcpy(dati.data() + posizione, da, quanti);
  scritti = quanti;
  return 0;
}

int SistemaInMemoria::Tronca(Maniglia file, long long lunghezza) {
  std::lock_guard<std::mutex> chiave(mutex_);
  Aperto* a = Apertura_(file);
  if (!a || !a->scrittura) return kCanaleNonAperto;
  if (lunghezza < 0) return kErroreIO;
  a->nodo->dati.resize(static_cast<size_t>(lunghezza), '\0');
  return 0;
}

int SistemaInMemoria::Descrivi(Maniglia file, TipoFile& tipo, long long& dimensione) {
  std::lock_guard<std::mutex> chiave(mutex_);
  Aperto* a = Apertura_(file);
  if (!a) return kCanaleNonAperto;
  tipo = a->nodo->tipo;
  dimensione = static_cast<long long>(a->nodo->dati.size());
  return 0;
}

int SistemaInMemoria::Sincronizza(Maniglia file) {
  std::lock_guard<std::mutex> chiave(mutex_);
  Aperto* a = Apertura_(file);
  if (!a) return kCanaleNonAperto;
  a->nodo->sincronizzati = a->nodo->dati;
  return 0;
}

int SistemaInMemoria::Blocca(Maniglia file) {
  std::lock_guard<std::mutex> chiave(mutex_);
  Aperto* a = Apertura_(file);
  if (!a) return kCanaleNonAperto;
  assert(a->scrittura);  // a write lock needs a file open for writing
  if (a->nodo->bloccatoDa != kNessunFile && a->nodo->bloccatoDa != file) return kFileGiaAperto;
  a->nodo->bloccatoDa = file;
  return 0;
}

int SistemaInMemoria::IdentitaAperto(Maniglia file, IdentitaFile& identita) {
  std::lock_guard<std::mutex> chiave(mutex_);
  Aperto* a = Apertura_(file);
  if (!a) return kCanaleNonAperto;
  identita = {1, a->nodo->indice, 1, a->nodo->solaLettura};
  return 0;
}

int SistemaInMemoria::Chiudi(Maniglia file) {
  std::lock_guard<std::mutex> chiave(mutex_);
  Aperto* a = Apertura_(file);
  if (!a) return kCanaleNonAperto;
  if (a->nodo->bloccatoDa == file) a->nodo->bloccatoDa = kNessunFile;
  aperti_.erase(file);
  return 0;
}

TipoFile SistemaInMemoria::Tipo(const fs::path& nativo) {
  std::lock_guard<std::mutex> chiave(mutex_);
  const auto nodo = Trova(nativo);
  return nodo ? nodo->tipo : TipoFile::Nessuno;
}

bool SistemaInMemoria::Presente(const fs::path& nativo) { return Tipo(nativo) != TipoFile::Nessuno; }

bool SistemaInMemoria::Elenca(const fs::path& cartella, const std::function<bool(const VoceCartella&)>& voce) {
  std::vector<std::pair<std::string, bool>> voci;
  {
    std::lock_guard<std::mutex> chiave(mutex_);
    const auto nodo = Trova(cartella);
    if (!nodo || nodo->tipo != TipoFile::Cartella) return false;
    const std::string k = Chiave(cartella);
    for (const auto& [nome, figlio] : nodi_) {
      if (nome != k && ChiaveMadre(nome) == k) voci.emplace_back(figlio->nome, figlio->tipo == TipoFile::Ordinario);
    }
  }
  // Called without the lock: the caller may look at the files it is told of.
  for (const auto& [nome, ordinario] : voci) {
    if (!voce(VoceCartella{nome, ordinario})) break;
  }
  return true;
}

int SistemaInMemoria::Rinomina(const fs::path& da, const fs::path& a) {
  std::lock_guard<std::mutex> chiave(mutex_);
  const auto nodo = Trova(da);
  if (!nodo) return kPercorsoNonTrovato;
  const std::string destinazione = Chiave(a);
  const auto madre = nodi_.find(ChiaveMadre(destinazione));
  if (madre == nodi_.end() || madre->second->tipo != TipoFile::Cartella) return kPercorsoNonTrovato;
  if (const auto sostituito = nodi_.find(destinazione); sostituito != nodi_.end()) {
    if (sostituito->second->tipo == TipoFile::Cartella) return kAccessoPercorso;
    // Windows replaces no file that is open, whatever the open shares.
    const bool aperto = std::any_of(aperti_.begin(), aperti_.end(),
                                    [&](const auto& voce) { return voce.second.nodo == sostituito->second; });
    if (kWindows && aperto) return kPermessoNegato;
  }
  // The name and, for a folder, every name under it.
  const std::string origine = Chiave(da);
  std::vector<std::pair<std::string, std::shared_ptr<Nodo>>> spostati;
  std::erase_if(nodi_, [&](const auto& voce) {
    if (!Sotto(voce.first, origine)) return false;
    spostati.emplace_back(destinazione + voce.first.substr(origine.size()), voce.second);
    return true;
  });
  nodo->nome = UltimoNome(a);
  for (auto& [k, n] : spostati) nodi_[k] = n;
  return 0;
}

int SistemaInMemoria::Rimuovi(const fs::path& nativo) {
  std::lock_guard<std::mutex> chiave(mutex_);
  const std::string k = Chiave(nativo);
  const auto it = nodi_.find(k);
  if (it == nodi_.end()) return kPercorsoNonTrovato;
  if (it->second->tipo == TipoFile::Cartella) return kAccessoPercorso;
  nodi_.erase(it);  // an open keeps the file until it closes
  return 0;
}

int SistemaInMemoria::SincronizzaCartella(const fs::path& cartella) {
  std::lock_guard<std::mutex> chiave(mutex_);
  const auto nodo = Trova(cartella);
  if (!nodo || nodo->tipo != TipoFile::Cartella) return kPercorsoNonTrovato;
  // The folder's entries as they are now. A folder renamed into it brings the names under it that
  // were on the disk under its old name.
  const std::string k = Chiave(cartella);
  std::erase_if(durevoli_, [&](const auto& voce) { return voce.first != k && ChiaveMadre(voce.first) == k; });
  for (const auto& [nome, figlio] : nodi_) {
    if (nome == k || ChiaveMadre(nome) != k) continue;
    durevoli_[nome] = figlio;
    if (figlio->tipo != TipoFile::Cartella) continue;
    for (const auto& [sotto, discendente] : nodi_) {
      if (sotto == nome || !Sotto(sotto, nome)) continue;
      const std::string& qui = sotto;  // not the binding: a lambda of clang 14 takes none
      const std::shared_ptr<Nodo>& nodo = discendente;
      const auto prima = std::find_if(durevoli_.begin(), durevoli_.end(),
                                      [&](const auto& voce) { return voce.second == nodo && voce.first != qui; });
      if (prima == durevoli_.end()) continue;
      durevoli_.erase(prima);
      durevoli_[sotto] = discendente;
    }
  }
  return 0;
}

std::optional<IdentitaFile> SistemaInMemoria::Identita(const fs::path& nativo) {
  std::lock_guard<std::mutex> chiave(mutex_);
  const auto nodo = Trova(nativo);
  if (!nodo) return std::nullopt;
  return IdentitaFile{1, nodo->indice, 1, nodo->solaLettura};
}

fs::path SistemaInMemoria::Risolto(const fs::path& nativo) {
  if (!nativo.is_absolute()) return {};
  fs::path p = nativo.lexically_normal();
  if (!p.has_filename() && p.has_parent_path() && p != p.root_path()) p = p.parent_path();
  return p;
}

}  // namespace quibold::prova
