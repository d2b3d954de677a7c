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

template <typename Trasferimento>
void Canali::Trasferisci(std::string_view operazione, size_t lunghezza, Trasferimento trasferisci) {
  riuscita_ = true;
  auto messaggio = [&](int n) {
    Errore("Errore di " + std::string(operazione) + " tipo " + NumeroConSegno(n) + " nel file binario " +
           Nome() + " al record " + NumeroConSegno(NumRec));
  };
  if (!Aperto(Canale)) {
    // Positioning and the transfer each fail on a channel that is not open.
    messaggio(kCanaleNonAperto);
    return messaggio(kCanaleNonAperto);
  }
  const long long posizione = Posizione();
  if (posizione < 0) return messaggio(kNumeroRecordErrato);
  size_t fatti = 0;
  while (fatti < lunghezza) {
    ssize_t r = trasferisci(fd_[Canale], fatti, static_cast<off_t>(posizione + static_cast<long long>(fatti)));
    if (r < 0) {
      if (errno == EINTR) continue;
      return messaggio(ErroreDaErrno(errno));
    }
    if (r == 0) return messaggio(operazione == "lettura" ? kOltreFineFile : kDiscoPieno);
    fatti += static_cast<size_t>(r);
  }
}

void Canali::LeggiRecord() {
  const size_t lunghezza = CanaleValido() && LungRec[Canale] > 0 ? static_cast<size_t>(LungRec[Canale]) : 0;
  lettura_.resize(lunghezza);
  Trasferisci("lettura", lunghezza, [&](int fd, size_t fatti, off_t da) {
    return ::pread(fd, lettura_.data() + fatti, lunghezza - fatti, da);
  });
  if (riuscita_) Buffer[Canale].swap(lettura_);
}

void Canali::ScriviRecord() {
  static const std::string kNessunDato;  // a channel outside the table has no buffer to write
  const std::string& dati = CanaleValido() ? BufferOut[Canale] : kNessunDato;
  Trasferisci("scrittura", dati.size(), [&](int fd, size_t fatti, off_t da) {
    return ::pwrite(fd, dati.data() + fatti, dati.size() - fatti, da);
  });
}

void Canali::Arrotonda() { Importo = quibold::Arrotonda(Importo); }

}  // namespace quibold
