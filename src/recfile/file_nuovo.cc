#include "recfile/file_nuovo.h"

#include <cassert>
#include <utility>

namespace quibold {
namespace {

// Opens of the temporary file in a row that found it renamed or removed by another run once
// locked: each means that another run ended meanwhile, so a few are plenty.
constexpr int kTentativi = 16;

}  // namespace

std::filesystem::path NomeTemporaneo(const std::filesystem::path& nativo) {
  std::filesystem::path temporaneo = nativo;
  temporaneo += ".incompleto";
  return temporaneo;
}

int LeggiInizio(Sistema& sistema, const std::filesystem::path& nativo, size_t quanti, std::string& inizio,
                bool& esiste) {
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

int FileNuovo::Apri(const std::filesystem::path& nativo) {
  assert(!Aperto());
  rinomina_ = false;
  nome_ = Nome::Precedente;
  if (nativo.empty()) return kPercorsoNonTrovato;  // a name that names nothing
  destinazione_ = sistema_.Risolto(nativo);
  if (destinazione_.empty()) destinazione_ = nativo;
  temporaneo_ = NomeTemporaneo(destinazione_);
  for (int tentativo = 0; tentativo < kTentativi; ++tentativo) {
    Maniglia fd = kNessunFile;
    if (const int errore = sistema_.Apri(temporaneo_, Apertura::Temporanea, fd)) return errore;
    TipoFile tipo = TipoFile::Altro;
    long long dimensione = 0;
    int errore = sistema_.Descrivi(fd, tipo, dimensione);
    if (!errore && tipo != TipoFile::Ordinario) errore = kAccessoPercorso;
    // Any other failure of the lock is a file system that keeps none: the run goes on without.
    if (!errore && sistema_.Blocca(fd) == kFileGiaAperto) errore = kFileGiaAperto;
    IdentitaFile identita;
    if (!errore) errore = sistema_.IdentitaAperto(fd, identita);
    bool altrove = false;  // the name no longer names the file opened
    if (!errore) {
      const auto qui = sistema_.Identita(temporaneo_);
      altrove = !qui || !(*qui == identita);
      // A file of other names too (a hard link) is not this run's to empty.
      if (!altrove && identita.nomi > 1) errore = kAccessoPercorso;
    }
    if (!errore && !altrove) {
      errore = sistema_.Tronca(fd, 0);
      if (!errore) {
        file_ = fd;
        identita_ = identita;
        return 0;
      }
      (void)sistema_.Rimuovi(temporaneo_);  // locked and ours: what cannot be removed, the next run takes up
    }
    (void)sistema_.Chiudi(fd);  // nothing written to it
    if (errore) return errore;
  }
  return kFileGiaAperto;
}

int FileNuovo::Consegna() {
  assert(Aperto());
  rinomina_ = false;
  nome_ = Nome::Precedente;
  int errore = sistema_.Sincronizza(file_);
  if (!errore) {
    errore = sistema_.Rinomina(temporaneo_, destinazione_);
    rinomina_ = errore != 0;
  }
  if (errore) {
    Abbandona();
    return errore;
  }
  // The new file has the name: from here on a failure cannot give the file before it back, and
  // the new one, not known to be safe, is taken away rather than left to be sent.
  errore = sistema_.SincronizzaCartella(destinazione_.parent_path());
  if (errore) {
    // Still locked: the name is this file's.
    nome_ = sistema_.Rimuovi(destinazione_) == 0 ? Nome::Tolto : Nome::NonConfermato;
    (void)sistema_.Chiudi(std::exchange(file_, kNessunFile));  // the failure reported is the one above
    return errore;
  }
  errore = sistema_.Chiudi(std::exchange(file_, kNessunFile));
  if (errore) {
    // No longer locked: the name is taken away only while it still names this file.
    const auto qui = sistema_.Identita(destinazione_);
    nome_ = qui && *qui == identita_ && sistema_.Rimuovi(destinazione_) == 0 ? Nome::Tolto : Nome::NonConfermato;
  }
  return errore;
}

void FileNuovo::Abbandona() {
  if (!Aperto()) return;
  // Still locked: the temporary name is this file's. What cannot be removed, the next run takes up.
  (void)sistema_.Rimuovi(temporaneo_);
  (void)sistema_.Chiudi(std::exchange(file_, kNessunFile));  // nothing of it is kept
}

}  // namespace quibold
