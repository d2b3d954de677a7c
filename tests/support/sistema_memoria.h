// Test support: a file system in memory behind the platform layer's interface, so that a test or
// the fuzzer runs the program's file operations without a disk: folders, ordinary files and
// special files (devices), opens with their access and locks, and what is on the disk apart from
// what was only written or named, so that a crash can be played back (Crollo): a file's bytes are
// on the disk once the file is synchronized, and a name given or taken away (a file made, renamed,
// removed) once its folder is, as on a real disk. Names are compared as the host's file system
// compares them (with regard to case on POSIX, without on Windows); paths are lexical, there are
// no links. Calls may come from two threads at once, as from the program's writer beside.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "sistema/sistema.h"

namespace quibold::prova {

class SistemaInMemoria : public Sistema {
 public:
  // A folder that is absolute on this system, for a drive root in memory.
  static std::filesystem::path Radice();

  SistemaInMemoria();

  // --- For the test: what is on the "disk" ---
  // What the test puts and takes away is on the disk at once.
  // Makes a folder and the folders above it.
  void CreaCartella(const std::filesystem::path& cartella);
  // Writes a whole file (its folders made), as synchronized.
  void Metti(const std::filesystem::path& file, std::string_view contenuto);
  // A special file: a device that takes every write (Nulla) or none (Piena, as a full disk), and
  // has nothing to read.
  enum class Speciale { Nulla, Piena };
  void MettiSpeciale(const std::filesystem::path& file, Speciale speciale);
  // Marks a file read-only, as the clerk protects a file already sent: Identita says so.
  void SolaLettura(const std::filesystem::path& file);
  // From now on the disk holds at most `byte` bytes in all its files: a write past them moves what
  // fits, then fails as a full disk does.
  void Capienza(long long byte);
  // The content of an ordinary file; empty when there is none.
  std::string Contenuto(const std::filesystem::path& file) const;
  // Removes a file or a folder with all it holds; false when there was nothing.
  bool RimuoviTutto(const std::filesystem::path& nome);
  // The machine stops: every name is as its folder was last synchronized, every file keeps only
  // what was synchronized (a file never synchronized is empty), every open is gone with its lock.
  void Crollo();

  // --- Sistema ---
  int Apri(const std::filesystem::path& nativo, Apertura modo, Maniglia& file) override;
  int Leggi(Maniglia file, char* dove, size_t quanti, long long posizione, size_t& letti) override;
  int Scrivi(Maniglia file, const char* da, size_t quanti, long long posizione, size_t& scritti) override;
  int Tronca(Maniglia file, long long lunghezza) override;
  int Descrivi(Maniglia file, TipoFile& tipo, long long& dimensione) override;
  int Sincronizza(Maniglia file) override;
  int Blocca(Maniglia file) override;
  int IdentitaAperto(Maniglia file, IdentitaFile& identita) override;
  int Chiudi(Maniglia file) override;
  TipoFile Tipo(const std::filesystem::path& nativo) override;
  bool Presente(const std::filesystem::path& nativo) override;
  bool Elenca(const std::filesystem::path& cartella, const std::function<bool(const VoceCartella&)>& voce) override;
  int Rinomina(const std::filesystem::path& da, const std::filesystem::path& a) override;
  int Rimuovi(const std::filesystem::path& nativo) override;
  int SincronizzaCartella(const std::filesystem::path& cartella) override;
  std::optional<IdentitaFile> Identita(const std::filesystem::path& nativo) override;
  std::filesystem::path Risolto(const std::filesystem::path& nativo) override;

 private:
  struct Nodo {
    TipoFile tipo = TipoFile::Ordinario;
    std::string nome;  // the last name as it was created
    std::string dati;
    std::string sincronizzati;  // what the disk has
    uint64_t indice = 0;
    Maniglia bloccatoDa = kNessunFile;
    Speciale speciale = Speciale::Nulla;  // of a special file
    bool solaLettura = false;
  };
  struct Aperto {
    std::shared_ptr<Nodo> nodo;
    bool lettura = false, scrittura = false;
  };

  // The key of a name: lexical, without a trailing separator, and on Windows in lower case.
  static std::string Chiave(const std::filesystem::path& nome);
  static std::string ChiaveMadre(const std::string& chiave);
  // Whether a key is the folder's or one under it.
  static bool Sotto(const std::string& chiave, const std::string& cartella);
  // The last name of a path, as a folder's entry shows it.
  static std::string UltimoNome(const std::filesystem::path& nome);
  std::shared_ptr<Nodo> Trova(const std::filesystem::path& nome) const;
  std::shared_ptr<Nodo> Nuovo(const std::filesystem::path& nome, TipoFile tipo);
  // The name as it is now, on the disk at once.
  void Durevole(const std::filesystem::path& nome);
  void CreaCartellaSenzaChiave(const std::filesystem::path& cartella);
  Aperto* Apertura_(Maniglia file);

  mutable std::mutex mutex_;
  std::map<std::string, std::shared_ptr<Nodo>> nodi_;
  std::map<std::string, std::shared_ptr<Nodo>> durevoli_;  // the names as the disk has them
  std::map<Maniglia, Aperto> aperti_;
  long long capienza_ = -1;  // no limit
  Maniglia prossima_ = 3;
  uint64_t prossimoIndice_ = 1;
};

}  // namespace quibold::prova
