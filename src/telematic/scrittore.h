// The record frame and the field rules of the telematic file: every field of every record goes
// through the rules of this class, and every record through ChiudiRecord to an UscitaRecord.
//
// What may stop the run: a call that stops throws ArrestoScrittura. ChiudiRecord stops when the
// record cannot be written, ChiudiUltimoRecord also when the check of the file finds an error.
// In a G record every append may complete the record (its 75th field) and so stop in the same
// way; the amount rules stop, besides, on an amount too large for its value area.
//
// What every append requires (AccodaCampo, AccodaCampoG and the field rules): a record begun
// with IniziaRecord or IniziaRecordG; a code of exactly 8 characters; a value of at most 16 (the
// rules cut or continue longer archive text themselves).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "recfile/canali.h"
#include "telematic/formato.h"
#include "telematic/telematico.h"
#include "verifica/controllo_parallelo.h"

namespace quibold {

// Thrown to stop the run at once. With a text, the run shows it in the "Accesso" error box;
// without, the cause was already shown (the record-file layer's message) or needs none.
struct ArrestoScrittura {
  std::string messaggio;
};

// The message of a file that failed its check: the first ten findings, a line each.
std::string ElencoRilievi(const Verifica& controllo);

// Where the writer's finished records go.
class UscitaRecord {
 public:
  virtual ~UscitaRecord() = default;
  // Writes `record` (1900 bytes) as record `numero`, counted from 1; false when it could not be
  // written, after the cause was shown.
  virtual bool Scrivi(int32_t numero, std::string_view record) = 0;
};

// The program's output: channel 8 of the record files, as the file was opened on it.
class UscitaCanale final : public UscitaRecord {
 public:
  explicit UscitaCanale(Canali& canali) : canali_(canali) {}
  bool Scrivi(int32_t numero, std::string_view record) override;

 private:
  Canali& canali_;
};

class Scrittore {
 public:
  // REQUIRES: `uscita`, `totale` and `controllo` (when given) outlive the writer. Every record
  // written is handed to `controllo` too.
  Scrittore(UscitaRecord& uscita, Totali& totale, ControlloParallelo* controllo = nullptr)
      : Totale(totale), uscita_(uscita), controllo_(controllo) {}

  // --- Record frame ---
  // Begins a record with its positional part so far.
  void IniziaRecord(std::string_view testa);
  // Begins the employee's first G record with `testa`, which its continuation records repeat.
  void IniziaRecordG(std::string_view testa);
  // REQUIRES: a record begun. Appends positional text; what passes position 1897 is dropped.
  void Aggiungi(std::string_view testo);
  // REQUIRES: a record begun. Pads it to 1897, ends it with "A" CR LF, hands it to the check and
  // writes it as the next record.
  void ChiudiRecord();
  // The same for the last record of the file, written only when the check of the whole file,
  // this record included, finds no error.
  void ChiudiUltimoRecord();
  // Appends a field (code and value, padded to 24) to the current C or D record.
  void AccodaCampo(std::string_view codice, std::string_view valore);
  // Appends a field to the current G record; the 75th field writes the record and begins a
  // continuation record with the same head.
  void AccodaCampoG(std::string_view codice, std::string_view valore);
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

  // --- What the run keeps ---
  double Importo = 0;  // the amount the amount steps round and write
  Totali& Totale;      // the run totals, which the sections add to
  // Records written so far: all of them, and of each kind (as record Z counts them).
  int Records() const { return records_; }
  int Conteggio(char tipo) const;

 private:
  void Completa();  // the padding and the end of the record
  void Scrivi();    // the record as the next one of the file
  void Accoda(std::string_view codice, std::string_view valore);
  void Campo(std::string_view codice, std::string_view valore);
  // The value area of an amount: the whole part right-aligned in 13, a comma and two digits.
  void AccodaImporto(std::string_view codice, long long intero, long long centesimi);
  // REQUIRES: `intere` is at most 13 digits without leading zeros (empty for 0).
  void AccodaImporto(std::string_view codice, std::string_view intere, std::array<char, 2> centesimi);

  UscitaRecord& uscita_;
  ControlloParallelo* controllo_;
  std::array<char, kLungRecord> record_;  // the record being built, `lunghezza_` bytes so far
  size_t lunghezza_ = 0;
  bool aperto_ = false;  // a record is begun
  std::string testaG_;
  bool recordG_ = false;
  int campiG_ = 0;
  int records_ = 0;
  std::array<int, 4> conteggi_{};  // B, C, D and G records
};

}  // namespace quibold
