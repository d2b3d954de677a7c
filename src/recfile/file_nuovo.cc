#include "recfile/file_nuovo.h"

#include <cassert>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "recfile/cp1252.h"
#include "recfile/percorsi.h"

namespace quibold {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kServizio = ".incompleto";
constexpr std::string_view kBlocco = ".blocco.incompleto";
constexpr size_t kCasuali = 8;  // random characters of a temporary file's name
// The longest name a file system allows (ext4, NTFS: 255 bytes, or UTF-16 units on Windows), and
// the longest part of it that the names beside a file keep: they add 20 at most.
constexpr size_t kNomeMassimo = 255;
constexpr size_t kBaseMassima = 200;
// Opens in a row: of the lock's file, found removed by the run that held it; of a temporary file,
// whose random name was taken. Each means something rare: a few are plenty.
constexpr int kTentativi = 16;

// The name that the names beside `destinazione` begin with: its own, or, when longer than
// kBaseMassima, its beginning and a hash of the whole (ASCII letters in one case, as Windows
// compares names), so that two long names with the same beginning do not share a lock.
fs::path Base(const fs::path& destinazione) {
  auto nome = destinazione.filename().native();
  if (nome.size() <= kBaseMassima) return destinazione;
  uint64_t hash = 0xcbf29ce484222325ULL;  // FNV-1a
  for (auto c : nome) {
    auto u = static_cast<uint64_t>(c);
    if (u >= 'A' && u <= 'Z') u += 'a' - 'A';
    hash = (hash ^ u) * 0x100000001b3ULL;
  }
  size_t taglio = kBaseMassima - 17;
  // Never within a character: a UTF-8 sequence (POSIX) or a UTF-16 pair (Windows).
  if constexpr (sizeof(nome[0]) == 1) {
    while (taglio > 0 && (static_cast<unsigned char>(nome[taglio]) & 0xC0) == 0x80) --taglio;
  } else {
    if (static_cast<uint32_t>(nome[taglio]) >= 0xDC00 && static_cast<uint32_t>(nome[taglio]) <= 0xDFFF) --taglio;
  }
  using Carattere = fs::path::value_type;
  nome.resize(taglio);
  nome += static_cast<Carattere>('~');
  for (int k = 15; k >= 0; --k) nome += static_cast<Carattere>("0123456789abcdef"[(hash >> (k * 4)) & 15]);
  return destinazione.parent_path() / fs::path(nome);
}

fs::path ConSuffisso(const fs::path& base, std::string_view suffisso) {
  fs::path p = base;
  p += PercorsoDaUtf8(suffisso);
  return p;
}

// A new temporary name: eight letters or digits drawn from a generator of the thread's own.
std::string Casuale() {
  static constexpr char kLettere[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937_64 generatore{std::random_device{}()};
  std::uniform_int_distribution<size_t> lettera(0, sizeof kLettere - 2);
  std::string testo(".");
  for (size_t k = 0; k < kCasuali; ++k) testo += kLettere[lettera(generatore)];
  return testo;
}

bool UgualiNome(std::string_view a, std::string_view b) { return kWindows ? UgualiSenzaMaiuscole(a, b) : a == b; }

// Whether `nome` is that of a temporary file beside the file whose names begin with `base`.
bool Avanzo(std::string_view nome, std::string_view base) {
  if (nome.size() != base.size() + 1 + kCasuali + kServizio.size()) return false;
  if (!UgualiNome(nome.substr(0, base.size()), base) || nome[base.size()] != '.') return false;
  for (char c : nome.substr(base.size() + 1, kCasuali)) {
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return UgualiNome(nome.substr(base.size() + 1 + kCasuali), kServizio);
}

// The folder of a file's name as the office gave it, "\" or "/" included.
std::string_view CartellaDi(std::string_view file) {
  const size_t barra = file.find_last_of("\\/");
  return barra == std::string_view::npos ? std::string_view() : file.substr(0, barra + 1);
}

}  // namespace

int LeggiInizio(Sistema& sistema, const fs::path& nativo, size_t quanti, std::string& inizio, bool& esiste) {
  inizio.clear();
  esiste = false;
  Maniglia fd = kNessunFile;
  if (const int errore = sistema.Apri(nativo, Apertura::Lettura, fd)) {
    return errore == kPercorsoNonTrovato ? 0 : errore;  // a folder that is missing says so when the file is made
  }
  esiste = true;
  inizio.resize(quanti);
  size_t fatti = 0;
  int errore = 0;
  while (!errore && fatti < quanti) {
    size_t letti = 0;
    errore = sistema.Leggi(fd, inizio.data() + fatti, quanti - fatti, static_cast<long long>(fatti), letti);
    if (letti == 0) break;
    fatti += letti;
  }
  inizio.resize(fatti);
  (void)sistema.Chiudi(fd);  // only read: nothing of it to lose
  return errore;
}

int ContenutoNome(Sistema& sistema, const fs::path& nativo, std::optional<IdentitaFile>& identita) {
  identita = sistema.Identita(nativo);
  if (identita) return 0;
  // Nothing told: nothing there, or a look that failed; an open tells which.
  Maniglia fd = kNessunFile;
  const int errore = sistema.Apri(nativo, Apertura::Lettura, fd);
  if (errore == kPercorsoNonTrovato) return 0;
  if (errore) return errore;
  (void)sistema.Chiudi(fd);  // only read
  return kErroreIO;          // there, yet not told
}

bool NomeDiServizio(const fs::path& nativo) {
  const std::string nome = Utf8DaPercorso(nativo.filename());
  return nome.size() >= kServizio.size() &&
         UgualiSenzaMaiuscole(std::string_view(nome).substr(nome.size() - kServizio.size()), kServizio);
}

FileNuovo::Causa CausaDelNome(const fs::path& nativo) {
  if (NomeDiServizio(nativo)) return FileNuovo::Causa::NomeDiServizio;
  if (nativo.filename().native().size() > kNomeMassimo) return FileNuovo::Causa::NomeLungo;
  return FileNuovo::Causa::Nessuna;
}

int FileNuovo::Fallisce(int errore, Causa causa, const fs::path& nome) {
  causa_ = causa;
  nomeCausa_ = nome;
  return errore;
}

int FileNuovo::Apri(const fs::path& nativo) {
  assert(!Aperto());
  creazione_ = senzaBlocchi_ = false;
  nome_ = Nome::Precedente;
  causa_ = Causa::Nessuna;
  if (nativo.empty()) return kPercorsoNonTrovato;  // a name that names nothing
  destinazione_ = sistema_.Risolto(nativo);
  if (destinazione_.empty()) destinazione_ = nativo;
  nomeCausa_ = destinazione_;
  if (const Causa causa = CausaDelNome(destinazione_); causa != Causa::Nessuna) {
    return Fallisce(kAccessoPercorso, causa, destinazione_);
  }
  // A file the office protected is not replaced: it was sent, or is to be kept.
  if (const auto prima = sistema_.Identita(destinazione_); prima && prima->solaLettura) {
    return Fallisce(kPermessoNegato, Causa::SolaLettura, destinazione_);
  }
  const fs::path base = Base(destinazione_);
  blocco_ = ConSuffisso(base, kBlocco);
  // A lock's file already there is a killed run's: its temporary files may be there too.
  const bool avanzi = sistema_.Presente(blocco_);
  if (const int errore = Blocca()) return errore;
  if (avanzi && !senzaBlocchi_) TogliAvanzi(base);
  for (int tentativo = 0; tentativo < kTentativi; ++tentativo) {
    temporaneo_ = ConSuffisso(base, Casuale() + std::string(kServizio));
    Maniglia fd = kNessunFile;
    int errore = sistema_.Apri(temporaneo_, Apertura::Nuova, fd);
    if (errore == kFileEsistente) continue;
    if (!errore) {
      errore = sistema_.IdentitaAperto(fd, identita_);
      if (!errore) {
        file_ = fd;
        return 0;
      }
      (void)sistema_.Chiudi(fd);  // nothing written to it
      (void)sistema_.Rimuovi(temporaneo_);
    }
    LasciaBlocco();
    const bool cartella = errore == kPermessoNegato || errore == kAccessoPercorso;
    return Fallisce(errore, cartella ? Causa::Cartella : Causa::Nessuna, destinazione_.parent_path());
  }
  LasciaBlocco();
  return Fallisce(kFileEsistente, Causa::Nessuna, temporaneo_);
}

int FileNuovo::Blocca() {
  for (int tentativo = 0; tentativo < kTentativi; ++tentativo) {
    Maniglia fd = kNessunFile;
    if (const int errore = sistema_.Apri(blocco_, Apertura::Temporanea, fd)) {
      // A link, a folder, a file that this user may not open: not followed, not used. Else the
      // folder takes no new file.
      if ((errore == kAccessoPercorso || errore == kPermessoNegato) && sistema_.Presente(blocco_)) {
        return Fallisce(errore, Causa::NomeOccupato, blocco_);
      }
      const bool cartella = errore == kPermessoNegato || errore == kAccessoPercorso;
      return Fallisce(errore, cartella ? Causa::Cartella : Causa::Nessuna, destinazione_.parent_path());
    }
    // Only an empty ordinary file of one name is a lock's: anything else there is not the
    // program's to lock, nor to remove.
    TipoFile tipo = TipoFile::Altro;
    long long dimensione = 0;
    int errore = sistema_.Descrivi(fd, tipo, dimensione);
    IdentitaFile identita;
    if (!errore) errore = sistema_.IdentitaAperto(fd, identita);
    if (!errore && (tipo != TipoFile::Ordinario || identita.nomi > 1 || dimensione != 0)) {
      (void)sistema_.Chiudi(fd);  // only looked at
      return Fallisce(kAccessoPercorso, Causa::NomeOccupato, blocco_);
    }
    if (!errore) {
      errore = sistema_.Blocca(fd);
      if (errore == kFileGiaAperto) {
        (void)sistema_.Chiudi(fd);
        return Fallisce(errore, Causa::InUso, destinazione_);
      }
      // Any other failure is a file system that keeps no locks (for every run): the run goes on without.
      senzaBlocchi_ = errore != 0;
      errore = 0;
      // The name must still name the file locked: the run that held it may have removed it just
      // before it let it go.
      if (const auto qui = sistema_.Identita(blocco_); qui && *qui == identita) {
        bloccoFile_ = fd;
        identitaBlocco_ = identita;
        return 0;
      }
    }
    (void)sistema_.Chiudi(fd);  // never written
    if (errore) return Fallisce(errore, Causa::Nessuna, blocco_);
  }
  return Fallisce(kFileGiaAperto, Causa::InUso, destinazione_);
}

void FileNuovo::TogliAvanzi(const fs::path& base) {
  const std::string nome = Utf8DaPercorso(base.filename());
  const fs::path cartella = base.parent_path();
  std::vector<fs::path> avanzi;
  // Ordinary files only, as the folder's reading tells them: a link, a folder, a FIFO stay.
  // A folder that cannot be read leaves them.
  (void)sistema_.Elenca(cartella.empty() ? fs::path(".") : cartella, [&](const VoceCartella& voce) {
    if (voce.ordinario == true && Avanzo(voce.nome, nome)) avanzi.push_back(cartella / PercorsoDaUtf8(voce.nome));
    return true;
  });
  for (const fs::path& avanzo : avanzi) {
    // Of one name: another name of the same file (an archive file's) is not the program's.
    if (const auto identita = sistema_.Identita(avanzo); identita && identita->nomi == 1) {
      (void)sistema_.Rimuovi(avanzo);  // what cannot be removed stays, harmless: no run uses its name again
    }
  }
}

void FileNuovo::TogliTemporaneo() {
  // Nothing told (a look that failed, or nothing there) is taken for this run's file: removing
  // a name that is gone does no harm.
  if (const auto qui = sistema_.Identita(temporaneo_); !qui || *qui == identita_) {
    (void)sistema_.Rimuovi(temporaneo_);  // what cannot be removed, a later run takes away
  }
}

void FileNuovo::LasciaBlocco() {
  if (bloccoFile_ == kNessunFile) return;
  const auto qui = sistema_.Identita(blocco_);
  const bool suo = qui && *qui == identitaBlocco_;
  // Removed while still held: a run that opens it meanwhile finds, once it holds it, that the name
  // names another file or none, and opens it anew. Without a lock there is nothing to keep, and a
  // share's client removes no file it holds open: it is closed first. One that stays, empty, is
  // taken up by the next run.
  if (suo && !senzaBlocchi_) (void)sistema_.Rimuovi(blocco_);
  (void)sistema_.Chiudi(std::exchange(bloccoFile_, kNessunFile));  // never written
  if (suo && senzaBlocchi_) (void)sistema_.Rimuovi(blocco_);
}

int FileNuovo::Consegna() {
  assert(Aperto());
  creazione_ = false;
  nome_ = Nome::Precedente;
  causa_ = Causa::Nessuna;
  // Closed before its rename: a share's client renames no file it holds open, and reports a
  // failed write-back at the close.
  int errore = sistema_.Sincronizza(file_);
  const int chiusura = sistema_.Chiudi(std::exchange(file_, kNessunFile));
  if (!errore) errore = chiusura;
  if (errore) {
    TogliTemporaneo();
    LasciaBlocco();
    return errore;
  }
  creazione_ = true;
  // Still the file written, under the name it was made with, and of no other name.
  if (const auto qui = sistema_.Identita(temporaneo_); !qui || !(*qui == identita_) || qui->nomi > 1) {
    if (!qui) (void)sistema_.Rimuovi(temporaneo_);  // this run's, or nothing
    LasciaBlocco();
    return Fallisce(kAccessoPercorso, Causa::Cambiato, temporaneo_);
  }
  // A file made read-only while the run wrote is not replaced either.
  if (const auto prima = sistema_.Identita(destinazione_); prima && prima->solaLettura) {
    TogliTemporaneo();
    LasciaBlocco();
    return Fallisce(kPermessoNegato, Causa::SolaLettura, destinazione_);
  }
  errore = sistema_.Rinomina(temporaneo_, destinazione_);
  if (errore) {
    TogliTemporaneo();
    LasciaBlocco();
    return Fallisce(errore, Causa::Rinomina, destinazione_);
  }
  creazione_ = false;
  // The new file has the name: from here on a failure cannot give the file before it back, and
  // the new one, not known to be safe, is taken away rather than left to be sent.
  errore = sistema_.SincronizzaCartella(destinazione_.parent_path());
  if (errore) {
    const auto qui = sistema_.Identita(destinazione_);
    nome_ = qui && *qui == identita_ && sistema_.Rimuovi(destinazione_) == 0 ? Nome::Tolto : Nome::NonConfermato;
  }
  LasciaBlocco();
  return errore;
}

void FileNuovo::Abbandona() {
  if (!Aperto()) return;
  (void)sistema_.Chiudi(std::exchange(file_, kNessunFile));  // nothing of it is kept
  TogliTemporaneo();
  LasciaBlocco();
}

std::string TestoCausa(FileNuovo::Causa causa, const fs::path& nome, int errore, std::string_view file) {
  using enum FileNuovo::Causa;
  const std::string cartella(CartellaDi(file));
  const std::string cartellaDetta = cartella.empty() ? "la cartella corrente" : "la cartella " + cartella;
  // A name beside the file, shown in the folder as the office named it.
  const std::string accanto = cartella + Cp1252DaUtf8(Utf8DaPercorso(nome.filename()));
  switch (causa) {
    case NomeDiServizio:
      return "il nome finisce con \".incompleto\", come quelli che quibold da' ai file mentre li scrive: "
             "va scelto un altro nome";
    case NomeLungo: return "il nome e' piu' lungo dei 255 caratteri che il sistema permette";
    case SolaLettura:
      return "il file e' in sola lettura, e non viene sostituito: per sostituirlo, togliergli la sola lettura "
             "(nelle proprieta' del file) e ripetere";
    case InUso: return "il file e' gia' aperto da un'altra elaborazione";
    case NomeOccupato:
      return "il nome " + accanto +
             ", che quibold usa accanto al file mentre lo scrive, e' occupato da qualcosa che non puo' usare (una "
             "cartella, un collegamento, un file con altri nomi, con dati o che non si puo' aprire in scrittura): "
             "va tolto";
    case Cartella:
      return errore == kAccessoPercorso ? cartellaDetta + " e' in sola lettura: non vi si possono creare file"
                                        : cartellaDetta + " non si puo' scrivere: mancano i permessi";
    case NonUnFile: return "non e' un file ordinario, ma una cartella o un dispositivo";
    case Cambiato:
      return "il file scritto, " + accanto + ", e' stato cambiato da un altro programma prima di prendere il nome";
    case Rinomina:
      return "il file scritto non ha potuto prendere il nome (" + std::string(DescrizioneErrore(errore)) + ")";
    case Nessuna: break;
  }
  if (errore == kPercorsoNonTrovato) return cartellaDetta + " non esiste";
  if (errore == kDiscoPieno) return "il disco e' pieno";
  return std::string(DescrizioneErrore(errore));
}

}  // namespace quibold
