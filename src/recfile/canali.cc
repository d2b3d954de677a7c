#include "recfile/canali.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <limits>

#include "recfile/numeri.h"

namespace quibold {

int ErroreDaErrno(int errnum) {
  switch (errnum) {
    case EBADF: return kCanaleNonAperto;
    case ENOENT:
    case ENOTDIR: return kPercorsoNonTrovato;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return kDiscoPieno;
    case EACCES:
    case EPERM: return kPermessoNegato;
    case EISDIR:
    case EROFS:
    case ETXTBSY:
    case ELOOP:
    case ENAMETOOLONG: return kAccessoPercorso;
    default: return kErroreIO;
  }
}

std::string NumeroConSegno(long long n) {
  return n >= 0 ? " " + std::to_string(n) : std::to_string(n);
}

Canali::Canali(const Percorsi& percorsi, FinestraMessaggi& messaggi)
    : percorsi_(percorsi), messaggi_(messaggi) {
  fd_.fill(-1);
}

Canali::~Canali() { ChiudiTutti(); }

bool Canali::Aperto(int canale) const {
  return canale >= 0 && canale < kCanali && fd_[canale] >= 0;
}

void Canali::Chiudi(int canale) {
  if (!Aperto(canale)) return;
  ::close(fd_[canale]);
  fd_[canale] = -1;
}

void Canali::ChiudiTutti() {
  for (int k = 0; k < kCanali; ++k) Chiudi(k);
}

void Canali::Errore(std::string testo) {
  riuscita_ = false;
  messaggi_.Mostra(testo, kTitoloProgramma, Pulsanti::Ok, Icona::Nessuna);
}

long long Canali::Posizione() const {
  long long p = static_cast<long long>(NumRec) * LungRec[Canale] - LungRec[Canale] + 1;
  if (NumRec < 1 || p < 1 || p > std::numeric_limits<int32_t>::max()) return -1;
  return p - 1;
}

void Canali::ApriFile() {
  riuscita_ = true;
  auto messaggio = [this](int n) {
    Errore("Errore tipo " + NumeroConSegno(n) + " nell'apertura del  file binario" + Nome());
  };
  if (!CanaleValido()) return messaggio(kCanaleNonAperto);
  Chiudi(Canale);
  std::string nativo = percorsi_.Nativo(NomeFile[Canale]).string();
  // As a binary open without an access clause: read and write, else read only, else write only.
  int fd = ::open(nativo.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
    int primo = errno;
    fd = ::open(nativo.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) fd = ::open(nativo.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) errno = primo;
  }
  if (fd < 0) return messaggio(ErroreDaErrno(errno));
  fd_[Canale] = fd;
}

void Canali::CreaFile() {
  riuscita_ = true;
  auto messaggio = [this](int n) {
    Errore("Errore tipo " + NumeroConSegno(n) + " nella creazione del file ");
  };
  if (!CanaleValido()) return messaggio(kCanaleNonAperto);
  Chiudi(Canale);
  std::string nativo = percorsi_.Nativo(NomeFile[Canale]).string();
  int fd = ::open(nativo.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return messaggio(ErroreDaErrno(errno));
  ::close(fd);
}

void Canali::LeggiRecord() {
  riuscita_ = true;
  auto messaggio = [this](int n) {
    Errore("Errore di lettura tipo " + NumeroConSegno(n) + " nel file binario " + Nome() +
           " al record " + NumeroConSegno(NumRec));
  };
  if (!Aperto(Canale)) {
    // Positioning and reading each fail on a channel that is not open.
    messaggio(kCanaleNonAperto);
    return messaggio(kCanaleNonAperto);
  }
  long long posizione = Posizione();
  if (posizione < 0) return messaggio(kNumeroRecordErrato);
  size_t lunghezza = LungRec[Canale] > 0 ? static_cast<size_t>(LungRec[Canale]) : 0;
  lettura_.resize(lunghezza);
  size_t letti = 0;
  while (letti < lunghezza) {
    ssize_t r = ::pread(fd_[Canale], lettura_.data() + letti, lunghezza - letti,
                        static_cast<off_t>(posizione + static_cast<long long>(letti)));
    if (r < 0) {
      if (errno == EINTR) continue;
      return messaggio(ErroreDaErrno(errno));
    }
    if (r == 0) return messaggio(kOltreFineFile);
    letti += static_cast<size_t>(r);
  }
  Buffer[Canale].swap(lettura_);
}

void Canali::ScriviRecord() {
  riuscita_ = true;
  auto messaggio = [this](int n) {
    Errore("Errore di scrittura tipo " + NumeroConSegno(n) + " nel file binario " + Nome() +
           " al record " + NumeroConSegno(NumRec));
  };
  if (!Aperto(Canale)) {
    messaggio(kCanaleNonAperto);
    return messaggio(kCanaleNonAperto);
  }
  long long posizione = Posizione();
  if (posizione < 0) return messaggio(kNumeroRecordErrato);
  const std::string& dati = BufferOut[Canale];
  size_t scritti = 0;
  while (scritti < dati.size()) {
    ssize_t r = ::pwrite(fd_[Canale], dati.data() + scritti, dati.size() - scritti,
                         static_cast<off_t>(posizione + static_cast<long long>(scritti)));
    if (r < 0) {
      if (errno == EINTR) continue;
      return messaggio(ErroreDaErrno(errno));
    }
    if (r == 0) return messaggio(kDiscoPieno);
    scritti += static_cast<size_t>(r);
  }
}

void Canali::Arrotonda() { Importo = quibold::Arrotonda(Importo); }

}  // namespace quibold
