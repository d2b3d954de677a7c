#include "support/sistema_guasto.h"

namespace quibold::prova {

void SistemaGuasto::Guasta(long n, Guasto guasto, int errore, bool sempre) {
  std::lock_guard<std::mutex> chiave(mutex_);
  chiamate_ = 0;
  registro_.clear();
  n_ = n;
  guasto_ = guasto;
  errore_ = errore;
  sempre_ = sempre;
}

std::vector<std::string> SistemaGuasto::Registro() const {
  std::lock_guard<std::mutex> chiave(mutex_);
  return registro_;
}

SistemaGuasto::Guasto SistemaGuasto::Conta(const char* nome) {
  const long k = ++chiamate_;
  std::lock_guard<std::mutex> chiave(mutex_);
  registro_.emplace_back(nome);
  if (k == n_) return guasto_;
  return sempre_ && n_ > 0 && k > n_ ? Guasto::Errore : Guasto::Nessuno;
}

SistemaGuasto::Guasto SistemaGuasto::Trasferimento(const char* nome, size_t& quanti) {
  const Guasto g = Conta(nome);
  if (g == Guasto::Corto && quanti > 1) quanti /= 2;
  return g;
}

int SistemaGuasto::Apri(const std::filesystem::path& nativo, Apertura modo, Maniglia& file) {
  return Conta("Apri") == Guasto::Errore ? errore_ : vero_.Apri(nativo, modo, file);
}

int SistemaGuasto::Leggi(Maniglia file, char* dove, size_t quanti, long long posizione, size_t& letti) {
  letti = 0;
  return Trasferimento("Leggi", quanti) == Guasto::Errore ? errore_ : vero_.Leggi(file, dove, quanti, posizione, letti);
}

int SistemaGuasto::Scrivi(Maniglia file, const char* da, size_t quanti, long long posizione, size_t& scritti) {
  scritti = 0;
  return Trasferimento("Scrivi", quanti) == Guasto::Errore ? errore_
                                                           : vero_.Scrivi(file, da, quanti, posizione, scritti);
}

int SistemaGuasto::Tronca(Maniglia file, long long lunghezza) {
  return Conta("Tronca") == Guasto::Errore ? errore_ : vero_.Tronca(file, lunghezza);
}

int SistemaGuasto::Descrivi(Maniglia file, TipoFile& tipo, long long& dimensione) {
  return Conta("Descrivi") == Guasto::Errore ? errore_ : vero_.Descrivi(file, tipo, dimensione);
}

int SistemaGuasto::Sincronizza(Maniglia) { return Conta("Sincronizza") == Guasto::Errore ? errore_ : 0; }

int SistemaGuasto::Blocca(Maniglia file) { return Conta("Blocca") == Guasto::Errore ? errore_ : vero_.Blocca(file); }

int SistemaGuasto::Chiudi(Maniglia file) {
  const bool fallisce = Conta("Chiudi") == Guasto::Errore;
  const int esito = vero_.Chiudi(file);
  return fallisce ? errore_ : esito;
}

TipoFile SistemaGuasto::Tipo(const std::filesystem::path& nativo) {
  return Conta("Tipo") == Guasto::Errore ? TipoFile::Nessuno : vero_.Tipo(nativo);
}

bool SistemaGuasto::Presente(const std::filesystem::path& nativo) {
  return Conta("Presente") != Guasto::Errore && vero_.Presente(nativo);
}

bool SistemaGuasto::Elenca(const std::filesystem::path& cartella,
                           const std::function<bool(const VoceCartella&)>& voce) {
  return Conta("Elenca") != Guasto::Errore && vero_.Elenca(cartella, voce);
}

std::optional<IdentitaFile> SistemaGuasto::Identita(const std::filesystem::path& nativo) {
  if (Conta("Identita") == Guasto::Errore) return std::nullopt;
  return vero_.Identita(nativo);
}

std::filesystem::path SistemaGuasto::Risolto(const std::filesystem::path& nativo) {
  return Conta("Risolto") == Guasto::Errore ? std::filesystem::path() : vero_.Risolto(nativo);
}

}  // namespace quibold::prova
