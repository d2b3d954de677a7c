// Fixed-length record files on numbered channels. The caller sets the current channel
// (`Canale`), its file name and record length, and the record number (`NumRec`), then calls an
// operation; the operation works on those values. A failure shows a message box naming the
// system's error number and the program goes on; `Riuscita()` tells the caller how the last
// operation ended.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "recfile/file_nuovo.h"
#include "recfile/messaggi.h"
#include "recfile/percorsi.h"
#include "sistema/sistema.h"

namespace quibold {

// A number as the messages print it: one blank before a non-negative number.
std::string NumeroConSegno(long long n);

// What sees the bytes written to a channel: every byte once, in the order written, just before
// it goes to the file, on the thread that writes it (the caller's, or the one beside). The
// calls for one channel never overlap.
class VistaScrittura {
 public:
  virtual ~VistaScrittura() = default;
  virtual void Scritti(std::string_view dati) = 0;
};

// Fixed-length record files on channels 0 to 10. Reads and writes of ordinary files go through
// a buffer per channel: consecutive records are read ahead in small blocks, and writes that
// follow one another are gathered and written in blocks when the buffer is full, before any
// other read or write of the channel and when it closes. A full block is written on a thread
// beside while the next one is gathered. A block that cannot be written is reported (at the
// next operation of the channel) as the write of its first record that failed would have been,
// and the file is cut back to the whole records before it.
class Canali {
 public:
  static constexpr int kCanali = 11;          // channels 0 to 10
  static constexpr size_t kBlocco = 1 << 20;  // bytes gathered per channel
  // Bytes read at a time (or one record, when longer): few enough to stay in the processor's
  // cache until the records are taken, since the system reads ahead of them itself.
  static constexpr size_t kBloccoLetto = 64 << 10;

  Canali(const Percorsi& percorsi, FinestraMessaggi& messaggi);
  ~Canali();
  Canali(const Canali&) = delete;
  Canali& operator=(const Canali&) = delete;

  int16_t Canale = 0;
  std::array<std::string, kCanali> NomeFile;
  std::array<int16_t, kCanali> LungRec{};
  std::array<std::string, kCanali> Buffer;  // the last record read, per channel (there is no channel 11)
  std::array<std::string, kCanali> BufferOut;
  int32_t NumRec = 0;

  // Closes the channel if open, then opens NomeFile(Canale) for binary reading and writing (as a
  // binary open without an access clause: read and write, else read only, else write only); a
  // missing file is created empty.
  void ApriFile();
  // The same for a file the program only reads: read only, and a missing file is not created
  // (error 53).
  void ApriFileEsistente();
  // Creates NomeFile(Canale) empty (or empties it) and leaves the channel closed.
  void CreaFile();
  // CreaFile then ApriFile as one step that no other run can share, and that leaves the file of
  // that name as it is until ChiudiNuovo: the channel writes a temporary file beside it
  // (FileNuovo), locked while the channel is open. Shows CreaFile's message when it fails, with the
  // file's name and what happened under it, and one that says so when another run writes the file.
  void ApriFileNuovo();
  // Closes a channel opened by ApriFileNuovo as Chiudi does, and the file takes its name. When it
  // cannot (a write, the disk or the rename failed, and said so) Riuscita() is false and
  // NomeDopoConsegna() tells what the name holds. A channel opened by ApriFileNuovo and closed in
  // any other way (Chiudi, ChiudiTutti, the end of the object) is abandoned: the name keeps what
  // it held.
  void ChiudiNuovo(int canale);
  FileNuovo::Nome NomeDopoConsegna() const { return nomeDopoConsegna_; }
  // Reads record NumRec into Buffer(Canale); on failure Buffer(Canale) is unchanged.
  void LeggiRecord();
  // Writes BufferOut(Canale) from the first byte of record NumRec.
  void ScriviRecord();
  // The same for `dati` in place of BufferOut(Canale), which stays as it is.
  void ScriviRecord(std::string_view dati);

  // Writes what `canale` has gathered, and waits until it is written; Riuscita() tells whether
  // it was (and a failure was reported as the failed write of its first record).
  void ScriviRaccolti(int canale);
  // Sets the watcher of `canale`'s writes from now on (nullptr for none), once what the watcher
  // before it was to see has been written. REQUIRES: `vista` outlives its watch.
  void Osserva(int canale, VistaScrittura* vista);

  // Writes what the channel has gathered, sends what was written to stable storage, and closes
  // it; Riuscita() tells whether the writing succeeded (a closed channel succeeds at once). A
  // file that cannot be made safe or closed (a share reports its failed write-back there) is a
  // failed write of its last record, which is cut off the file.
  void Chiudi(int canale);
  void ChiudiTutti();
  bool Aperto(int canale) const;

  // Whether the last of the operations above succeeded.
  bool Riuscita() const { return riuscita_; }

  const Percorsi& percorsi() const { return percorsi_; }
  // The message box of the layer, and of whoever shows messages through it.
  FinestraMessaggi& messaggi() { return *messaggi_; }
  // Shows those messages in `messaggi` from now on, so that a caller can gather or add to them
  // (nullptr: in the box given at construction again). REQUIRES: `messaggi` outlives its use.
  void MostraIn(FinestraMessaggi* messaggi) { messaggi_ = messaggi ? messaggi : &box_; }

 private:
  // What the layer keeps for a channel. Its blocks are allocated on first use and kept.
  struct File {
    Maniglia fd = kNessunFile;
    bool ordinario = false;         // an ordinary file: reads and writes go through the blocks
    std::string nome;               // as it was opened, for the message of a later failed write
    int16_t lunghezza = 1;          // record length of the gathered writes, to number a failed record
    std::unique_ptr<char[]> letti;  // bytes read ahead, from file offset `inizioLetti`
    size_t capienzaLetti = 0;
    size_t quantiLetti = 0;
    long long inizioLetti = 0;
    std::unique_ptr<char[]> raccolti;  // writes gathered, for file offset `inizioRaccolti`
    size_t quantiRaccolti = 0;
    long long inizioRaccolti = 0;
    std::unique_ptr<char[]> riserva;  // the block being written beside, or free
    bool guasto = false;              // a block could not be written (and said so): the file takes no more
    // The last record written, to be cut off and named if the file cannot be made safe.
    int32_t recordUltimo = 0;
    long long inizioUltimo = -1;
    long long fineUltimo = 0;
    VistaScrittura* vista = nullptr;   // sees what is written, whatever file is open
    std::unique_ptr<FileNuovo> nuovo;  // a file opened by ApriFileNuovo, not yet under its name
  };
  class Accanto;

  bool CanaleValido() const { return Canale >= 0 && Canale < kCanali; }
  void Apri(Apertura modo);
  std::string Nome() const { return CanaleValido() ? NomeFile[Canale] : std::string(); }
  // The byte offset (from 0) of record NumRec, or -1 when NumRec is not a valid record number.
  long long Posizione() const;
  // Shows `testo`, as the layer's failures are shown unless another title and icon are given.
  void Errore(std::string testo, std::string_view titolo = kTitoloProgramma, Icona icona = Icona::Nessuna);
  // CreaFile's message, and under it the file's name and what happened.
  void ErroreCreazione(const std::string& nome, const FileNuovo& nuovo, int numero);
  void ErroreTrasferimento(std::string_view operazione, const std::string& nome, long long record, int numero);
  // Reads `lunghezza` bytes at `posizione` into lettura_; the error number, or 0.
  [[nodiscard]] int Leggi(File& f, long long posizione, size_t lunghezza);
  // Writes `dati` at once, shown first to the channel's watcher; the error number, or 0.
  [[nodiscard]] int ScriviSubito(File& f, std::string_view dati, long long posizione, size_t& fatti);
  // Writes `dati` at `posizione`, gathered or at once; the error number, or 0.
  [[nodiscard]] int Scrivi(File& f, long long posizione, std::string_view dati);
  // Writes the gathered bytes, at once or (`accanto`) on a thread beside while the next block is
  // gathered; false when they, or a block before them, could not be written (after the message
  // of the first record that failed).
  [[nodiscard]] bool Svuota(File& f, bool accanto = false);
  // Waits for the block being written beside; false when it could not be written.
  [[nodiscard]] bool Completa();
  // Cuts the file back to the whole records before a failed write and says which record failed.
  void ScritturaFallita(File& f, long long inizio, size_t fatti, int16_t lunghezza, int errore);
  // Sends a written file to stable storage and closes it; on a failure, the last record is cut
  // off (the file opened again when it was closed already) and its write said to have failed.
  bool ChiudiScritto(File& f);
  // Cuts the last record written off an open file that ends with it.
  void TogliUltimo(const File& f, Maniglia fd);

  const Percorsi& percorsi_;
  Sistema& sistema_;
  FinestraMessaggi& box_;
  FinestraMessaggi* messaggi_;
  std::array<File, kCanali> file_;
  std::unique_ptr<Accanto> accanto_;  // started at the first block written beside
  int canaleAccanto_ = -1;            // whose block is being written beside
  long long inizioAccanto_ = 0;
  int16_t lunghezzaAccanto_ = 1;
  std::string lettura_;  // scratch for a read, so that a failed read leaves Buffer unchanged
  bool riuscita_ = true;
  FileNuovo::Nome nomeDopoConsegna_ = FileNuovo::Nome::Precedente;
};

}  // namespace quibold
