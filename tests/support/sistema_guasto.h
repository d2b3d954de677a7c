// Test support: a system that hands every call to another (the real one, or one in memory) and
// makes a chosen call fail, as a disk or a share can: the N-th call, once or from then on, with a
// chosen error, or a read or write that moves only half of what it was asked. Calls are counted
// from every thread (a channel's block is written on a thread beside). Synchronizing (a file or a
// folder) is counted and can fail like any other call; one that succeeds reaches the system
// below, so that a file system in memory knows what a crash would leave. A failed
// synchronization, or a failed close of a file written since it was last synchronized, leaves of
// the file what the last synchronization that succeeded had sent to the disk (nothing, before
// the first): the disk never had the rest.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <vector>

#include "sistema/sistema.h"

namespace quibold::prova {

class SistemaGuasto : public Sistema {
 public:
  explicit SistemaGuasto(Sistema& sotto = SistemaReale()) : vero_(sotto) {}

  enum class Guasto {
    Nessuno,
    Errore,  // the call fails with the error, doing nothing (a close closes all the same)
    Corto,   // a read or write moves half the bytes asked, at least one; other calls succeed
  };

  // From the next call on: call `n` (counted from 1) fails as `guasto` says; with `sempre`,
  // every call after it fails too, with the error. The count and the record start again.
  void Guasta(long n, Guasto guasto, int errore = kErroreIO, bool sempre = false) {
    std::lock_guard<std::mutex> chiave(mutex_);
    chiamate_ = 0;
    registro_.clear();
    n_ = n, guasto_ = guasto, errore_ = errore, sempre_ = sempre;
  }
  // The name of each call since, in order ("Scrivi", "Tipo"...).
  std::vector<const char*> Registro() const {
    std::lock_guard<std::mutex> chiave(mutex_);
    return registro_;
  }

  int Apri(const std::filesystem::path& p, Apertura m, Maniglia& f) override {
    return Fallisce("Apri") ? errore_ : vero_.Apri(p, m, f);
  }
  int Leggi(Maniglia f, char* dove, size_t quanti, long long p, size_t& letti) override {
    letti = 0;
    return Fallisce("Leggi", &quanti) ? errore_ : vero_.Leggi(f, dove, quanti, p, letti);
  }
  int Scrivi(Maniglia f, const char* da, size_t quanti, long long p, size_t& scritti) override {
    scritti = 0;
    if (Fallisce("Scrivi", &quanti)) return errore_;
    Sporco(f, true);
    return vero_.Scrivi(f, da, quanti, p, scritti);
  }
  int Tronca(Maniglia f, long long n) override { return Fallisce("Tronca") ? errore_ : vero_.Tronca(f, n); }
  int Descrivi(Maniglia f, TipoFile& t, long long& n) override {
    return Fallisce("Descrivi") ? errore_ : vero_.Descrivi(f, t, n);
  }
  int Sincronizza(Maniglia f) override {
    if (Fallisce("Sincronizza")) {
      Perdi(f);  // a disk that could not keep the file keeps what it had
      return errore_;
    }
    const int esito = vero_.Sincronizza(f);
    TipoFile tipo;
    long long dimensione = 0;
    if (esito == 0 && vero_.Descrivi(f, tipo, dimensione) == 0) {
      std::lock_guard<std::mutex> chiave(mutex_);
      sincronizzati_[f] = dimensione;
    }
    Sporco(f, false);
    return esito;
  }
  int Blocca(Maniglia f) override { return Fallisce("Blocca") ? errore_ : vero_.Blocca(f); }
  int IdentitaAperto(Maniglia f, IdentitaFile& i) override {
    return Fallisce("IdentitaAperto") ? errore_ : vero_.IdentitaAperto(f, i);
  }
  int Chiudi(Maniglia f) override {
    const bool fallisce = Fallisce("Chiudi");
    if (Sporco(f, false) && fallisce) Perdi(f);  // lost, as above
    {
      std::lock_guard<std::mutex> chiave(mutex_);
      sincronizzati_.erase(f);
    }
    const int esito = vero_.Chiudi(f);
    return fallisce ? errore_ : esito;
  }
  int Rinomina(const std::filesystem::path& da, const std::filesystem::path& a) override {
    return Fallisce("Rinomina") ? errore_ : vero_.Rinomina(da, a);
  }
  int Rimuovi(const std::filesystem::path& p) override { return Fallisce("Rimuovi") ? errore_ : vero_.Rimuovi(p); }
  int SincronizzaCartella(const std::filesystem::path& p) override {
    return Fallisce("SincronizzaCartella") ? errore_ : vero_.SincronizzaCartella(p);
  }
  TipoFile Tipo(const std::filesystem::path& p) override {
    return Fallisce("Tipo") ? TipoFile::Nessuno : vero_.Tipo(p);
  }
  bool Presente(const std::filesystem::path& p) override { return !Fallisce("Presente") && vero_.Presente(p); }
  bool Elenca(const std::filesystem::path& p, const std::function<bool(const VoceCartella&)>& voce) override {
    return !Fallisce("Elenca") && vero_.Elenca(p, voce);
  }
  std::optional<IdentitaFile> Identita(const std::filesystem::path& p) override {
    return Fallisce("Identita") ? std::nullopt : vero_.Identita(p);
  }
  std::filesystem::path Risolto(const std::filesystem::path& p) override {
    return Fallisce("Risolto") ? std::filesystem::path() : vero_.Risolto(p);
  }

 private:
  // Counts the call; whether it fails. A short transfer has its `quanti` halved instead.
  bool Fallisce(const char* nome, size_t* quanti = nullptr) {
    const long k = ++chiamate_;
    std::lock_guard<std::mutex> chiave(mutex_);
    registro_.push_back(nome);
    if (k == n_ && guasto_ == Guasto::Corto && quanti && *quanti > 1) *quanti /= 2;
    return (k == n_ && guasto_ == Guasto::Errore) || (sempre_ && k > n_);
  }
  // The file back to what its last synchronization sent to the disk.
  void Perdi(Maniglia f) {
    long long tenuti = 0;
    {
      std::lock_guard<std::mutex> chiave(mutex_);
      if (const auto it = sincronizzati_.find(f); it != sincronizzati_.end()) tenuti = it->second;
    }
    (void)vero_.Tronca(f, tenuti);
  }
  // Marks the file written since it was last synchronized, or not; whether it was.
  bool Sporco(Maniglia f, bool scritto) {
    std::lock_guard<std::mutex> chiave(mutex_);
    const bool era = std::erase(sporchi_, f) > 0;
    if (scritto) sporchi_.push_back(f);
    return era;
  }

  Sistema& vero_;
  std::atomic<long> chiamate_{0};
  long n_ = 0;
  Guasto guasto_ = Guasto::Nessuno;
  int errore_ = kErroreIO;
  bool sempre_ = false;
  mutable std::mutex mutex_;
  std::vector<const char*> registro_;
  std::vector<Maniglia> sporchi_;
  std::map<Maniglia, long long> sincronizzati_;  // the size the last synchronization sent to the disk
};

}  // namespace quibold::prova
