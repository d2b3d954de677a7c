// The record frame and the field rules of the telematic file: every field of every record goes
// through the rules of this class, and every record through ChiudiRecord to an UscitaRecord.
//
// What may stop the run: a call that stops throws ArrestoScrittura. ChiudiRecord stops when the
// record cannot be written, ChiudiUltimoRecord also when the check of the file finds an error.
// In a G record every append may complete the record (its 75th field) and so stop in the same
// way; the amount rules stop, besides, on an amount too large for its value area.
//
// What every field rule requires: a record begun with IniziaRecord or IniziaRecordG and a code of
// exactly 8 characters (the rules cut or continue longer archive text themselves).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "recfile/canali.h"
#include "telematic/formato.h"
#include "telematic/telematico.h"
#include "verifica/verifica.h"

namespace quibold {

// Thrown to stop the run at once. With a text, the run shows it in the "Accesso" error box;
// without, the cause was already shown (the record-file layer's message) or needs none.
struct ArrestoScrittura {
  std::string messaggio;
  std::string dettagli = {};  // what the box keeps after the message, for the clerk to read whole
};

// The message of a file that failed its check: its first ten errors, each with the employee it
// names on a line of its own, then how many more errors and how many warnings it has. `rilievi`
// are the check's findings as the writer names them.
std::string ElencoRilievi(const Verifica& controllo, const std::vector<Rilievo>& rilievi);
// Every finding listed, errors and warnings in file order, each with the employee it names.
std::string ElencoCompleto(const std::vector<Rilievo>& rilievi);

// Where the writer's finished records go.
class UscitaRecord {
 public:
  virtual ~UscitaRecord() = default;
  // Writes `record` (1900 bytes) as record `numero`, counted from 1; false when it could not be
  // written, after the cause was shown.
  [[nodiscard]] virtual bool Scrivi(int32_t numero, std::string_view record) = 0;
  // Once every record written so far is in the file: the check that has seen each of them, and
  // sees none written after; null for an output without a check. Throws ArrestoScrittura when
  // they could not all be written, after the cause was shown.
  virtual Verifica* ControlloCompleto() { return nullptr; }
};

// The program's output: channel 8 of the record files, as the file was opened on it. With a
// check, the records go through it as they are written, on the thread that writes them.
class UscitaCanale final : public UscitaRecord, private VistaScrittura {
 public:
  // REQUIRES: `controllo`, when given, outlives this output and is used by nobody else until
  // ControlloCompleto() returns it.
  explicit UscitaCanale(Canali& canali, Verifica* controllo = nullptr);
  ~UscitaCanale() override;
  UscitaCanale(const UscitaCanale&) = delete;
  UscitaCanale& operator=(const UscitaCanale&) = delete;

  bool Scrivi(int32_t numero, std::string_view record) override;
  Verifica* ControlloCompleto() override;

 private:
  void Scritti(std::string_view dati) override;

  Canali& canali_;
  Verifica* controllo_;  // until ControlloCompleto()
};

class Scrittore {
 public:
  // REQUIRES: `uscita` and `totale` outlive the writer.
  Scrittore(UscitaRecord& uscita, Totali& totale) : Totale(totale), uscita_(uscita) {}

  // --- Record frame ---
  // Begins a record with its positional part (a table of posizionali.h composed): the whole of
  // records A, B and Z, the head of records C, D and G. What passes position 1897 is dropped.
  void IniziaRecord(std::string_view testa);
  // Begins the employee's first G record with `testa`, which its continuation records repeat.
  void IniziaRecordG(std::string_view testa);
  // REQUIRES: a record begun. Pads it to 1897, ends it with "A" CR LF and writes it as the next
  // record.
  void ChiudiRecord();
  // The same for the last record of the file, written only when the output's check of the whole
  // file, this record included, finds no error.
  void ChiudiUltimoRecord();
  // Rounds Importo to cents and writes it with its cents when above 0.
  void CampoImporto(std::string_view codice);
  // Rounds Importo to cents and writes it in whole units when above 0.
  void CampoImportoIntero(std::string_view codice);
  // Trims a fiscal code; 11 characters get 5 blanks. True when the result is valid (11 or 16).
  static bool NormalizzaCF(std::string& testo);

  // --- Field rules; each appends through the current record's append step ---
  void Testo(std::string_view codice, std::string_view valore);
  void TestoSePresente(std::string_view codice, std::string_view valore);
  void TestoSePositivo(std::string_view codice, std::string_view valore);
  void TestoDiviso(std::string_view codice, std::string_view valore);
  void TestoDiviso3(std::string_view codice, std::string_view valore);
  // The value ends at the 16th character of the value area, blanks before it.
  void AllineatoDestra(std::string_view codice, std::string_view valore);
  void Flag(std::string_view codice);
  // 14 blanks and the trimmed value left-filled with "0" to two characters.
  void DueCifre(std::string_view codice, std::string_view valore);
  // The amount that `valore` reads as, through CampoImporto; returns it as rounded, for the
  // totals (zero and negative amounts too, which are not written).
  double ImportoDa(std::string_view codice, std::string_view valore);
  // The same field, for an amount that feeds no total.
  void ImportoSenzaTotali(std::string_view codice, std::string_view valore);
  // The same through CampoImportoIntero.
  double ImportoInteroDa(std::string_view codice, std::string_view valore);
  void CodiceFiscale(std::string_view codice, std::string_view valore);

  // --- Whose records ---
  // The employee whose records D and G follow, as the archive knows them: the record of the
  // employee file and the name. Kept for every employee of the file, a few bytes each.
  void Dipendente(long recordArchivio, std::string nome);
  // Names the employee of each finding that the check placed in a record D or G of this file
  // as the archive knows them: "dipendente ROSSI MARIO, record 7 dell'archivio".
  void NominaDipendenti(std::vector<Rilievo>& rilievi) const;

  // --- What the run keeps ---
  double Importo = 0;  // the amount the amount steps round and write
  Totali& Totale;      // the run totals, which the sections add to
  // Records written so far: all of them, and of each kind (as record Z counts them).
  int Records() const { return records_; }
  int Conteggio(char tipo) const;

 private:
  // REQUIRES: a record begun. Appends positional text; what passes position 1897 is dropped.
  void Aggiungi(std::string_view testo);
  void Completa();  // the padding and the end of the record
  void Scrivi();    // the record as the next one of the file
  // A field is written in place: NuovoCampo writes the code and gives the value area, which the
  // caller fills whole (16 bytes); FineCampo appends the field. The 75th field of a G record
  // writes the record and begins a continuation record with the same head.
  char* NuovoCampo(std::string_view codice);
  void FineCampo();
  // REQUIRES: `valore` of at most 16 characters. The field with `valore` padded with blanks.
  void Accoda(std::string_view codice, std::string_view valore);
  // REQUIRES: `seguito` of at most 15 characters. The continuation "+" `seguito` of a text.
  void AccodaSeguito(std::string_view codice, std::string_view seguito);
  // The value area of an amount: the whole part right-aligned in 13, a comma and two digits.
  void AccodaImporto(std::string_view codice, long long intero, long long centesimi);
  // REQUIRES: `intere` is at most 13 digits without leading zeros (empty for 0).
  void AccodaImporto(std::string_view codice, std::string_view intere, std::array<char, 2> centesimi);

  UscitaRecord& uscita_;
  std::array<char, kLungRecord> record_;  // the record being built, `lunghezza_` bytes so far
  size_t lunghezza_ = 0;
  bool aperto_ = false;  // a record is begun
  // The field being written does not fit in the data area (of a C or D record): its value goes
  // to `scarto_` and the field is dropped.
  bool scartato_ = false;
  std::array<char, kLungValore> scarto_;
  std::string testaG_;
  bool recordG_ = false;
  int campiG_ = 0;
  int records_ = 0;
  std::array<int, 4> conteggi_{};  // B, C, D and G records
  // The employees written, in file order: from which record of the file, and who.
  struct DipendenteScritto {
    int primoRecord;
    long recordArchivio;
    std::string nome;
  };
  std::vector<DipendenteScritto> dipendenti_;
};

}  // namespace quibold
