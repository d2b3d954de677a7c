#include "recfile/canali.h"

#include <algorithm>
#include <cassert>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <limits>
#include <mutex>
#include <thread>

#include "recfile/numeri.h"

namespace quibold {

std::string NumeroConSegno(long long n) { return n >= 0 ? " " + std::to_string(n) : std::to_string(n); }

namespace {

// Reads until `n` bytes or the end of the file (error 62 when that comes before `minimo`);
// `fatti` says how many were read. The error number, or 0.
int LeggiTutto(Sistema& sistema, Maniglia fd, char* dove, size_t n, long long posizione, size_t minimo, size_t& fatti) {
  fatti = 0;
  while (fatti < minimo) {
    size_t letti = 0;
    const int errore = sistema.Leggi(fd, dove + fatti, n - fatti, posizione + static_cast<long long>(fatti), letti);
    if (errore) return errore;
    if (letti == 0) return kOltreFineFile;
    fatti += letti;
  }
  return 0;
}

// Writes all `n` bytes (error 61 when the device takes none); `fatti` says how many were written.
int ScriviTutto(Sistema& sistema, Maniglia fd, const char* da, size_t n, long long posizione, size_t& fatti) {
  fatti = 0;
  while (fatti < n) {
    size_t scritti = 0;
    const int errore = sistema.Scrivi(fd, da + fatti, n - fatti, posizione + static_cast<long long>(fatti), scritti);
    if (errore) return errore;
    if (scritti == 0) return kDiscoPieno;
    fatti += scritti;
  }
  return 0;
}

}  // namespace

// Writes one block at a time on a thread of its own.
class Canali::Accanto {
 public:
  explicit Accanto(Sistema& sistema) : sistema_(sistema), filo_([this] { Lavora(); }) {}
  ~Accanto() {
    {
      std::lock_guard<std::mutex> chiave(mutex_);
      basta_ = true;
    }
    cambiato_.notify_all();
    filo_.join();
  }
  // REQUIRES: no block under way; `dati` stays as it is until Attendi() returns. The watcher,
  // when given, sees the block first.
  void Scrivi(Maniglia fd, const char* dati, size_t quanti, long long posizione, VistaScrittura* vista) {
    Avvia({fd, dati, quanti, posizione, vista});
  }
  // The error number of the block (0 when it was transferred whole) and the bytes transferred.
  int Attendi(size_t& fatti) {
    std::unique_lock<std::mutex> chiave(mutex_);
    cambiato_.wait(chiave, [this] { return !daFare_; });
    fatti = fatti_;
    return errore_;
  }

 private:
  struct Lavoro {
    Maniglia fd;
    const char* daScrivere;
    size_t quanti;
    long long posizione;
    VistaScrittura* vista;
  };
  void Avvia(const Lavoro& lavoro) {
    {
      std::lock_guard<std::mutex> chiave(mutex_);
      assert(!daFare_);  // one block at a time
      lavoro_ = lavoro;
      daFare_ = true;
    }
    cambiato_.notify_all();
  }
  void Lavora() {
    std::unique_lock<std::mutex> chiave(mutex_);
    while (true) {
      cambiato_.wait(chiave, [this] { return daFare_ || basta_; });
      if (!daFare_) return;
      const Lavoro l = lavoro_;
      chiave.unlock();
      size_t fatti = 0;
      if (l.vista) l.vista->Scritti(std::string_view(l.daScrivere, l.quanti));
      const int errore = ScriviTutto(sistema_, l.fd, l.daScrivere, l.quanti, l.posizione, fatti);
      // The disk may take the block now, while the next is gathered: the close waits for less.
      if (!errore) sistema_.AvviaSincronia(l.fd, l.posizione, l.quanti);
      chiave.lock();
      errore_ = errore;
      fatti_ = fatti;
      daFare_ = false;
      cambiato_.notify_all();
    }
  }

  Sistema& sistema_;
  std::mutex mutex_;
  std::condition_variable cambiato_;
  Lavoro lavoro_{};
  bool daFare_ = false, basta_ = false;
  int errore_ = 0;
  size_t fatti_ = 0;
  std::thread filo_;  // last: it starts once everything above is in place
};

Canali::Canali(const Percorsi& percorsi, FinestraMessaggi& messaggi)
    : percorsi_(percorsi), sistema_(percorsi.sistema()), box_(messaggi), messaggi_(&messaggi) {}

Canali::~Canali() { ChiudiTutti(); }

bool Canali::Aperto(int canale) const {
  return canale >= 0 && canale < kCanali && file_[static_cast<size_t>(canale)].fd != kNessunFile;
}

void Canali::Chiudi(int canale) {
  riuscita_ = true;
  if (!Aperto(canale)) return;
  File& f = file_[static_cast<size_t>(canale)];
  if (f.nuovo) {
    // Never to take its name: what was gathered for it, or is being written beside, is of no use.
    if (canaleAccanto_ == canale) {
      size_t fatti = 0;
      (void)accanto_->Attendi(fatti);
      canaleAccanto_ = -1;
    }
    f.quantiRaccolti = 0;
    f.nuovo.reset();  // the temporary file removed
    f.fd = kNessunFile;
    f.quantiLetti = 0;
    f.inizioUltimo = -1;
    return;
  }
  bool scritto = Svuota(f);
  if (scritto && f.inizioUltimo >= 0) {
    scritto = ChiudiScritto(f);
  } else {
    (void)sistema_.Chiudi(f.fd);  // read, or failed and said so: nothing more to lose
  }
  f.fd = kNessunFile;
  f.quantiLetti = 0;
  f.inizioUltimo = -1;
  riuscita_ = scritto;
}

void Canali::ChiudiNuovo(int canale) {
  riuscita_ = true;
  if (!Aperto(canale)) return;
  File& f = file_[static_cast<size_t>(canale)];
  if (!f.nuovo) return Chiudi(canale);
  bool scritto = Svuota(f);
  if (scritto) {
    if (const int errore = f.nuovo->Consegna()) {
      // A file written whole that could not take its name is a failed creation of the file; one
      // that the disk did not confirm is a failed write of its last record, as a channel's close
      // reports it.
      if (f.nuovo->creazione()) {
        ErroreCreazione(f.nome, *f.nuovo, errore);
      } else {
        ErroreTrasferimento("scrittura", f.nome, f.recordUltimo, errore);
      }
      nomeDopoConsegna_ = f.nuovo->nome();
      scritto = false;
    }
  }
  f.nuovo.reset();  // abandoned when it was not delivered
  f.fd = kNessunFile;
  f.quantiLetti = 0;
  f.inizioUltimo = -1;
  riuscita_ = scritto;
}

bool Canali::ChiudiScritto(File& f) {
  int errore = sistema_.Sincronizza(f.fd);
  if (errore) TogliUltimo(f, f.fd);
  const int chiusura = sistema_.Chiudi(f.fd);
  if (!errore && chiusura) {
    errore = chiusura;
    Maniglia fd = kNessunFile;
    if (sistema_.Apri(percorsi_.Nativo(f.nome), Apertura::Uscita, fd) == 0) {
      TogliUltimo(f, fd);
      (void)sistema_.Chiudi(fd);  // the failure reported is the first close's
    }
  }
  if (!errore) return true;
  ErroreTrasferimento("scrittura", f.nome, f.recordUltimo, errore);
  return false;
}

void Canali::TogliUltimo(const File& f, Maniglia fd) {
  TipoFile tipo = TipoFile::Altro;
  long long dimensione = -1;
  if (sistema_.Descrivi(fd, tipo, dimensione) == 0 && tipo == TipoFile::Ordinario && dimensione == f.fineUltimo) {
    if (sistema_.Tronca(fd, f.inizioUltimo) != 0) {
      // The cut failed too: the message still names the record that is not safe.
    }
  }
}

void Canali::ScriviRaccolti(int canale) {
  riuscita_ = true;
  if (!Aperto(canale)) return;
  File& f = file_[static_cast<size_t>(canale)];
  riuscita_ = Svuota(f);  // which waits for a block of the channel being written beside
}

void Canali::Osserva(int canale, VistaScrittura* vista) {
  if (canale < 0 || canale >= kCanali) return;
  // The watcher before may be seeing a block on the thread beside. A block that failed was
  // said and marks its file, whose next operation fails.
  if (canaleAccanto_ == canale) (void)Completa();
  file_[static_cast<size_t>(canale)].vista = vista;
}

void Canali::ChiudiTutti() {
  bool tutti = true;
  for (int k = 0; k < kCanali; ++k) {
    Chiudi(k);
    tutti = tutti && riuscita_;
  }
  riuscita_ = tutti;
}

void Canali::ErroreCreazione(const std::string& nome, const FileNuovo& nuovo, int numero) {
  Errore("Errore tipo " + NumeroConSegno(numero) + " nella creazione del file \n" + nome + ": " +
         TestoCausa(nuovo, numero, nome));
}

void Canali::Errore(std::string testo, std::string_view titolo, Icona icona) {
  riuscita_ = false;
  messaggi_->Mostra(testo, titolo, Pulsanti::Ok, icona);
}

void Canali::ErroreTrasferimento(std::string_view operazione, const std::string& nome, long long record, int numero) {
  Errore("Errore di " + std::string(operazione) + " tipo " + NumeroConSegno(numero) + " nel file binario " + nome +
         " al record " + NumeroConSegno(record));
}

long long Canali::Posizione() const {
  long long p = static_cast<long long>(NumRec) * LungRec[Canale] - LungRec[Canale] + 1;
  if (NumRec < 1 || p < 1 || p > std::numeric_limits<int32_t>::max()) return -1;
  return p - 1;
}

void Canali::ApriFile() { Apri(Apertura::Binaria); }

void Canali::ApriFileEsistente() { Apri(Apertura::Lettura); }

void Canali::Apri(Apertura modo) {
  riuscita_ = true;
  auto messaggio = [this](int n) {
    Errore("Errore tipo " + NumeroConSegno(n) + " nell'apertura del  file binario" + Nome());
  };
  if (!CanaleValido()) return messaggio(kCanaleNonAperto);
  Chiudi(Canale);
  riuscita_ = true;
  Maniglia fd = kNessunFile;
  if (const int errore = sistema_.Apri(percorsi_.Nativo(NomeFile[Canale]), modo, fd)) {
    return messaggio(errore);
  }
  File& f = file_[static_cast<size_t>(Canale)];
  TipoFile tipo = TipoFile::Altro;
  long long dimensione = 0;
  f.fd = fd;
  f.ordinario = sistema_.Descrivi(fd, tipo, dimensione) == 0 && tipo == TipoFile::Ordinario;
  f.nome = NomeFile[Canale];
  f.quantiLetti = f.quantiRaccolti = 0;
  f.guasto = false;
}

void Canali::ApriFileNuovo() {
  riuscita_ = true;
  if (!CanaleValido()) return Errore("Errore tipo " + NumeroConSegno(kCanaleNonAperto) + " nella creazione del file ");
  Chiudi(Canale);
  riuscita_ = true;
  nomeDopoConsegna_ = FileNuovo::Nome::Precedente;
  auto nuovo = std::make_unique<FileNuovo>(sistema_);
  if (const int errore = nuovo->Apri(percorsi_.Nativo(NomeFile[Canale]))) {
    if (nuovo->causa() == FileNuovo::Causa::InUso) {
      return Errore("Il file " + Nome() +
                        " e' gia' aperto da un'altra elaborazione \nAttendere che l'altra elaborazione (su questo "
                        "o su un altro computer) finisca, poi creare di nuovo il file",
                    kTitoloAccesso, Icona::Errore);
    }
    return ErroreCreazione(Nome(), *nuovo, errore);
  }
  File& f = file_[static_cast<size_t>(Canale)];
  f.fd = nuovo->file();
  f.nuovo = std::move(nuovo);
  f.ordinario = true;
  f.nome = NomeFile[Canale];
  f.quantiLetti = f.quantiRaccolti = 0;
  f.guasto = false;
}

void Canali::CreaFile() {
  riuscita_ = true;
  auto messaggio = [this](int n) { Errore("Errore tipo " + NumeroConSegno(n) + " nella creazione del file "); };
  if (!CanaleValido()) return messaggio(kCanaleNonAperto);
  Chiudi(Canale);
  riuscita_ = true;
  Maniglia fd = kNessunFile;
  if (const int errore = sistema_.Apri(percorsi_.Nativo(NomeFile[Canale]), Apertura::Svuotata, fd)) {
    return messaggio(errore);
  }
  (void)sistema_.Chiudi(fd);  // nothing was written to it
}

int Canali::Leggi(File& f, long long posizione, size_t lunghezza) {
  lettura_.resize(lunghezza);
  size_t fatti = 0;
  if (!f.ordinario || lunghezza > kBlocco) {
    return LeggiTutto(sistema_, f.fd, lettura_.data(), lunghezza, posizione, lunghezza, fatti);
  }
  const bool giaLetti = posizione >= f.inizioLetti && posizione + static_cast<long long>(lunghezza) <=
                                                          f.inizioLetti + static_cast<long long>(f.quantiLetti);
  if (!giaLetti) {
    // What was gathered for writing must be in the file before it is read back.
    if (!Svuota(f)) return -1;
    // The records from this one on, a small block of them.
    const size_t blocco = std::max(kBloccoLetto, lunghezza);
    if (f.capienzaLetti < blocco) {
      f.letti = std::make_unique_for_overwrite<char[]>(blocco);
      f.capienzaLetti = blocco;
    }
    f.inizioLetti = posizione;
    const int errore = LeggiTutto(sistema_, f.fd, f.letti.get(), blocco, posizione, lunghezza, f.quantiLetti);
    if (errore) return errore;
  }
  lettura_.assign(f.letti.get() + (posizione - f.inizioLetti), lunghezza);
  return 0;
}

void Canali::LeggiRecord() {
  riuscita_ = true;
  const size_t lunghezza = CanaleValido() && LungRec[Canale] > 0 ? static_cast<size_t>(LungRec[Canale]) : 0;
  if (!Aperto(Canale)) {
    // Positioning and the transfer each fail on a channel that is not open.
    ErroreTrasferimento("lettura", Nome(), NumRec, kCanaleNonAperto);
    return ErroreTrasferimento("lettura", Nome(), NumRec, kCanaleNonAperto);
  }
  const long long posizione = Posizione();
  if (posizione < 0) return ErroreTrasferimento("lettura", Nome(), NumRec, kNumeroRecordErrato);
  const int errore = Leggi(file_[static_cast<size_t>(Canale)], posizione, lunghezza);
  if (errore < 0) return;  // a gathered write failed, and said so
  if (errore) return ErroreTrasferimento("lettura", Nome(), NumRec, errore);
  Buffer[Canale].swap(lettura_);
}

bool Canali::Completa() {
  if (canaleAccanto_ < 0) return true;
  File& f = file_[static_cast<size_t>(canaleAccanto_)];
  canaleAccanto_ = -1;
  size_t fatti = 0;
  const int errore = accanto_->Attendi(fatti);
  if (!errore) return true;
  ScritturaFallita(f, inizioAccanto_, fatti, lunghezzaAccanto_, errore);
  return false;
}

void Canali::ScritturaFallita(File& f, long long inizio, size_t fatti, int16_t lunghezzaRecord, int errore) {
  // Only whole records stay: a record written in part is cut off the end of the file.
  const long long fine = inizio + static_cast<long long>(fatti);
  const long long lunghezza = lunghezzaRecord > 0 ? lunghezzaRecord : 1;
  const long long interi = fine / lunghezza * lunghezza;
  TipoFile tipo = TipoFile::Altro;
  long long dimensione = -1;
  if (interi < fine && interi >= inizio && sistema_.Descrivi(f.fd, tipo, dimensione) == 0 && dimensione == fine) {
    if (sistema_.Tronca(f.fd, interi) != 0) {
      // The cut failed too: the message below still names the record that is not whole.
    }
  }
  f.guasto = true;
  f.quantiRaccolti = 0;
  ErroreTrasferimento("scrittura", f.nome, interi / lunghezza + 1, errore);
}

bool Canali::Svuota(File& f, bool accanto) {
  const int canale = static_cast<int>(&f - file_.data());
  // The block before this one, or another channel's, must be written first; one that failed was
  // said and marks its file (this one's is seen just below).
  if (canaleAccanto_ == canale || (accanto && canaleAccanto_ >= 0)) (void)Completa();
  if (f.guasto) {
    f.quantiRaccolti = 0;
    riuscita_ = false;
    return false;
  }
  if (f.quantiRaccolti == 0) return true;
  if (accanto) {
    if (!accanto_) accanto_ = std::make_unique<Accanto>(sistema_);
    if (!f.riserva) f.riserva = std::make_unique_for_overwrite<char[]>(kBlocco);
    f.raccolti.swap(f.riserva);
    accanto_->Scrivi(f.fd, f.riserva.get(), f.quantiRaccolti, f.inizioRaccolti, f.vista);
    canaleAccanto_ = canale;
    inizioAccanto_ = f.inizioRaccolti;
    lunghezzaAccanto_ = f.lunghezza;
    f.quantiRaccolti = 0;
    return true;
  }
  size_t fatti = 0;
  const int errore = ScriviSubito(f, std::string_view(f.raccolti.get(), f.quantiRaccolti), f.inizioRaccolti, fatti);
  f.quantiRaccolti = 0;
  if (!errore) return true;
  ScritturaFallita(f, f.inizioRaccolti, fatti, f.lunghezza, errore);
  return false;
}

int Canali::ScriviSubito(File& f, std::string_view dati, long long posizione, size_t& fatti) {
  if (f.vista) f.vista->Scritti(dati);
  return ScriviTutto(sistema_, f.fd, dati.data(), dati.size(), posizione, fatti);
}

int Canali::Scrivi(File& f, long long posizione, std::string_view dati) {
  size_t fatti = 0;
  if (!f.ordinario) return ScriviSubito(f, dati, posizione, fatti);
  if (f.guasto) return Svuota(f) ? 0 : -1;  // the file takes no more: no message again
  f.quantiLetti = 0;                        // what was read ahead may be about to change
  const bool segue = posizione == f.inizioRaccolti + static_cast<long long>(f.quantiRaccolti);
  // Elsewhere in the file, or more than a block: what was gathered goes first, at once.
  if ((!segue || dati.size() > kBlocco) && !Svuota(f)) return -1;
  if (dati.size() > kBlocco) return ScriviSubito(f, dati, posizione, fatti);
  // A full block is written beside, while the next one is gathered.
  if (f.quantiRaccolti + dati.size() > kBlocco && !Svuota(f, true)) return -1;
  if (!f.raccolti) f.raccolti = std::make_unique_for_overwrite<char[]>(kBlocco);
  if (f.quantiRaccolti == 0) f.inizioRaccolti = posizione;
  std::memcpy(f.raccolti.get() + f.quantiRaccolti, dati.data(), dati.size());
  f.quantiRaccolti += dati.size();
  f.lunghezza = LungRec[Canale];
  return 0;
}

void Canali::ScriviRecord() {
  if (!CanaleValido()) return ScriviRecord({});
  ScriviRecord(BufferOut[Canale]);
}

void Canali::ScriviRecord(std::string_view dati) {
  riuscita_ = true;
  if (!Aperto(Canale)) {
    ErroreTrasferimento("scrittura", Nome(), NumRec, kCanaleNonAperto);
    return ErroreTrasferimento("scrittura", Nome(), NumRec, kCanaleNonAperto);
  }
  const long long posizione = Posizione();
  if (posizione < 0) return ErroreTrasferimento("scrittura", Nome(), NumRec, kNumeroRecordErrato);
  File& f = file_[static_cast<size_t>(Canale)];
  const int errore = Scrivi(f, posizione, dati);
  if (errore < 0) return;  // the gathered records failed, and said so
  if (errore) return ErroreTrasferimento("scrittura", Nome(), NumRec, errore);
  f.recordUltimo = NumRec;
  f.inizioUltimo = posizione;
  f.fineUltimo = posizione + static_cast<long long>(dati.size());
}

}  // namespace quibold
