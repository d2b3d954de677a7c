// Test support: a system that hands every call to the real one and makes a chosen call fail, as a
// disk or a share can: the N-th call, once or from then on, with a chosen error, or a read or
// write that moves only half of what it was asked. Calls are counted from every thread (a
// channel's block is written on a thread beside). Synchronizing is counted and can fail, but
// never reaches the disk: the tests would wait for it thousands of times.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "sistema/sistema.h"

namespace quibold::prova {

class SistemaGuasto : public Sistema {
 public:
  enum class Guasto {
    Nessuno,
    Errore,  // the call fails with `errore`, doing nothing (a close closes all the same)
    Corto,   // a read or write moves half the bytes asked, at least one; other calls succeed
  };

  explicit SistemaGuasto(Sistema& vero = SistemaReale()) : vero_(vero) {}

  // From the next call on: call `n` (counted from 1) fails as `guasto` says; with `sempre`,
  // every call after it fails too (with the error). The count starts again.
  void Guasta(long n, Guasto guasto, int errore = kErroreIO, bool sempre = false);
  long Chiamate() const { return chiamate_; }
  // The name of each call made since the last Guasta, in order ("Scrivi", "Tipo"...).
  std::vector<std::string> Registro() const;

  int Apri(const std::filesystem::path& nativo, Apertura modo, Maniglia& file) override;
  int Leggi(Maniglia file, char* dove, size_t quanti, long long posizione, size_t& letti) override;
  int Scrivi(Maniglia file, const char* da, size_t quanti, long long posizione, size_t& scritti) override;
  int Tronca(Maniglia file, long long lunghezza) override;
  int Descrivi(Maniglia file, TipoFile& tipo, long long& dimensione) override;
  int Sincronizza(Maniglia file) override;
  int Blocca(Maniglia file) override;
  int Chiudi(Maniglia file) override;
  TipoFile Tipo(const std::filesystem::path& nativo) override;
  bool Presente(const std::filesystem::path& nativo) override;
  bool Elenca(const std::filesystem::path& cartella, const std::function<bool(const VoceCartella&)>& voce) override;
  std::optional<IdentitaFile> Identita(const std::filesystem::path& nativo) override;
  std::filesystem::path Risolto(const std::filesystem::path& nativo) override;

 private:
  // Counts a call; what it must do.
  Guasto Conta(const char* nome);
  Guasto Trasferimento(const char* nome, size_t& quanti);

  Sistema& vero_;
  std::atomic<long> chiamate_{0};
  long n_ = 0;
  Guasto guasto_ = Guasto::Nessuno;
  int errore_ = kErroreIO;
  bool sempre_ = false;
  mutable std::mutex mutex_;
  std::vector<std::string> registro_;
};

}  // namespace quibold::prova
