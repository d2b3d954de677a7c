// The record frame and the field rules of the telematic file. Every field of every record goes
// through the rules of this class, and every record through `ChiudiRecord`.
#pragma once

#include <array>
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

class Scrittore {
 public:
  // Every record written is handed to `controllo` too, when there is one.
  Scrittore(Canali& canali, Totali& totale, ControlloParallelo* controllo = nullptr)
      : Totale(totale), canali_(canali), controllo_(controllo) {}

  Canali& canali() { return canali_; }

  // --- Record frame ---
  // Starts a record in BufferOut(8) with its positional part so far.
  void IniziaRecord(std::string_view testa);
  // Starts the employee's first G record with `testa`, which continuation records repeat.
  void IniziaRecordG(std::string_view testa);
  // Appends positional text to the record being built.
  void Aggiungi(std::string_view testo);
  // Pads the record to 1897, ends it with "A" CR LF, hands it to the check and writes it as the
  // next record. Stops the run when the record cannot be written.
  void ChiudiRecord();
  // The same for the last record of the file, which is written only when the check of the whole
  // file, this record included, finds no error; else the run stops with the findings.
  void ChiudiUltimoRecord();
  // Appends a field (code and value, padded to 24) to the current C or D record.
  void AccodaCampo(std::string_view codice, std::string_view valore);
  // Appends a field to the current G record; the 75th field writes the record and opens a
  // continuation record with the same head.
  void AccodaCampoG(std::string_view codice, std::string_view valore);
  // Writes Importo (rounded to cents) as an amount with cents when above 0.
  void CampoImporto(std::string_view codice);
  // Writes Importo (rounded to cents) in whole units when above 0.
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
  // The amount of `valore` through CampoImporto; returns it as rounded, for the totals.
  double Importo(std::string_view codice, std::string_view valore);
  // The same field, for an amount that feeds no total.
  void ImportoSoloCampo(std::string_view codice, std::string_view valore);
  double ImportoIntero(std::string_view codice, std::string_view valore);
  void CodiceFiscale(std::string_view codice, std::string_view valore);

  // --- Counts for record Z ---
  int contatoreRecord = 0;
  int numB = 0, numC = 0, numD = 0, numG = 0;
  Totali& Totale;

 private:
  void Completa();  // the padding and the end of the record
  void Scrivi();    // the record as the next one of the file
  void Accoda(std::string_view codice, std::string_view valore);
  void Campo(std::string_view codice, std::string_view valore);
  // The value area of an amount: the whole part right-aligned in 13, a comma and two digits.
  void AccodaImporto(std::string_view codice, long long intero, long long centesimi);
  // REQUIRES: `intere` is at most 13 digits without leading zeros (empty for 0).
  void AccodaImporto(std::string_view codice, std::string_view intere, std::array<char, 2> centesimi);

  Canali& canali_;
  ControlloParallelo* controllo_;
  std::array<char, kLungRecord> record_;  // the record being built, `lunghezza_` bytes so far
  size_t lunghezza_ = 0;
  std::string testaG_;
  bool recordG_ = false;
  int campiCD_ = 0;
  int campiG_ = 0;
};

}  // namespace quibold
