// A telematic file employee by employee, as the check reads it: every record goes through the
// check, and beside it the heads of records D and G say whose records they are, the fields
// DA002002 and DA002003 the employee's surname and name, and the amounts of the codes of the
// report's totals (`totali.h`) add up per employee. Each employee gets the findings of the check
// in their own records; what is in no employee's records (records A, B, C, Z, the end of the
// file) is the file's. A damaged record still counts for the employee whose records it stands
// among.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "verifica/totali.h"
#include "verifica/verifica.h"

namespace quibold {

// The report's totals of some records, by IndiceTotale: amounts in cents; kDipendenti counts the
// employees that have G records.
using Somme = std::array<long long, kUltimoTotale + 1>;

// One employee of a file. Texts are the file's bytes (Windows-1252 for a file of this program).
struct DipendenteNelFile {
  long primoRecord = 0;  // the employee's first record in the file, from 1 (a record D, or a G without one)
  long ultimoRecord = 0;
  std::string progressivo;    // as the head holds it: "00001"
  std::string codiceFiscale;  // without the blanks after it
  std::string cognome, nome;  // DA002002 and DA002003, their continuations joined, without blanks after
  char operazione = ' ';      // of its record D: " ", "A" (cancellation) or "S" (replacement)
  Somme somme{};
  long errori = 0, avvisi = 0;  // every finding in its records, also those beyond the list's cap
};

// What records A, B and the first record D say of the supply.
struct TestataDelFile {
  bool letta = false;            // a record A has been read
  std::string fornitura;         // record A, 16-20: "CUR18"
  std::string cfFornitore;       // record A, 23-38, without the blanks after it
  std::string cfSostituto;       // record B, 2-17, without the blanks after it
  std::string sostituto;         // its name: the company's, or surname and first name of a person
  char operazione = ' ';         // record B, 91-92: " " normal, "A" cancellation, "S" replacement
  std::string protocollo;        // the supply cancelled or replaced, as the first record D holds it (47-63)
  std::string numeroSostituito;  // and the certification in it (64-69)
};

class Prospetto {
 public:
  // `verifica`: the check the records go through, as its caller sets it up.
  explicit Prospetto(Verifica verifica = Verifica()) : verifica_(std::move(verifica)) {}

  // The next record (1900 bytes, or fewer for an incomplete last one), then the end of the file.
  void Record(std::string_view record);
  void Fine();

  const Verifica& verifica() const { return verifica_; }
  const TestataDelFile& Testata() const { return testata_; }
  const std::vector<DipendenteNelFile>& Dipendenti() const { return dipendenti_; }
  // Whether the file begins as a CUR18 file does: a record A of that supply.
  bool Cur18() const { return cur18_; }
  // The sums of every employee.
  Somme Totale() const;
  // The findings in no employee's records.
  long ErroriDelFile() const { return erroriDelFile_; }
  long AvvisiDelFile() const { return avvisiDelFile_; }

 private:
  void Leggi(std::string_view r, DipendenteNelFile* d);

  Verifica verifica_;
  TestataDelFile testata_;
  std::vector<DipendenteNelFile> dipendenti_;
  bool cur18_ = false;
  bool primo_ = true;   // no record read yet
  bool dopoZ_ = false;  // past record Z: no employee's records any more
  bool conG_ = false;   // the current employee has a G record
  long records_ = 0;
  long erroriDelFile_ = 0, avvisiDelFile_ = 0;
  // The last field of the current employee's records, for a text that goes on in the next field.
  std::string* seguito_ = nullptr;
  std::string_view codiceSeguito_;
};

// The findings of the check of `p` in the records of `d`, in file order, as listed (the list
// holds at most Verifica::kMaxRilievi of the whole file).
std::vector<Rilievo> RilieviDi(const Prospetto& p, const DipendenteNelFile& d);
// The listed findings in no employee's records.
std::vector<Rilievo> RilieviDelFile(const Prospetto& p);

}  // namespace quibold
