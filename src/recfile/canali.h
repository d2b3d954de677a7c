// Fixed-length record files on numbered channels. The caller sets the current channel
// (`Canale`), its file name and record length, and the record number (`NumRec`), then calls an
// operation; the operation works on those values. A failure shows a message box naming the
// system's error number and the program goes on; `Riuscita()` tells the caller how the last
// operation ended.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "recfile/messaggi.h"
#include "recfile/percorsi.h"

namespace quibold {

// The system's error numbers.
enum ErroreFile : int {
  kCanaleNonAperto = 52,
  kFileNonTrovato = 53,
  kErroreIO = 57,
  kDiscoPieno = 61,
  kOltreFineFile = 62,
  kNumeroRecordErrato = 63,
  kPermessoNegato = 70,
  kAccessoPercorso = 75,
  kPercorsoNonTrovato = 76,
};

// The error number of an operating-system error (errno).
int ErroreDaErrno(int errnum);

// A number as the messages print it: one blank before a non-negative number.
std::string NumeroConSegno(long long n);

class Canali {
 public:
  static constexpr int kCanali = 11;  // channels 0 to 10

  Canali(const Percorsi& percorsi, FinestraMessaggi& messaggi);
  ~Canali();
  Canali(const Canali&) = delete;
  Canali& operator=(const Canali&) = delete;

  int16_t Canale = 0;
  std::array<std::string, kCanali> NomeFile;
  std::array<int16_t, kCanali> LungRec{};
  std::array<std::string, kCanali + 1> Buffer;
  std::array<std::string, kCanali> BufferOut;
  int32_t NumRec = 0;
  double Importo = 0;

  // Closes the channel if open, then opens NomeFile(Canale) for binary reading and writing;
  // a missing file is created empty.
  void ApriFile();
  // Creates NomeFile(Canale) empty (or empties it) and leaves the channel closed.
  void CreaFile();
  // Reads record NumRec into Buffer(Canale); on failure Buffer(Canale) is unchanged.
  void LeggiRecord();
  // Writes BufferOut(Canale) from the first byte of record NumRec, with one write.
  void ScriviRecord();
  // Rounds Importo to cents.
  void Arrotonda();

  void Chiudi(int canale);
  void ChiudiTutti();
  bool Aperto(int canale) const;

  // Whether the last of the operations above succeeded.
  bool Riuscita() const { return riuscita_; }

  const Percorsi& percorsi() const { return percorsi_; }
  FinestraMessaggi& messaggi() { return messaggi_; }

 private:
  bool CanaleValido() const { return Canale >= 0 && Canale < kCanali; }
  std::string Nome() const { return CanaleValido() ? NomeFile[Canale] : std::string(); }
  // The byte offset (from 0) of record NumRec, or -1 when NumRec is not a valid record number.
  long long Posizione() const;
  void Errore(std::string testo);
  // Reads or writes `lunghezza` bytes of record NumRec through `trasferisci`, reporting a failure
  // with the message of `operazione` ("lettura" or "scrittura").
  template <typename Trasferimento>
  void Trasferisci(std::string_view operazione, size_t lunghezza, Trasferimento trasferisci);

  const Percorsi& percorsi_;
  FinestraMessaggi& messaggi_;
  std::array<int, kCanali> fd_;
  std::string lettura_;  // scratch for a read, so that a failed read leaves Buffer unchanged
  bool riuscita_ = true;
};

}  // namespace quibold
