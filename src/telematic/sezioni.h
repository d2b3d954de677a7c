// The sections of an employee's records as tables: each row names a field code, the archive
// field that feeds it, the rule by which it is written and the run totals it feeds.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "archive/dipendente.h"
#include "archive/testata.h"
#include "telematic/formato.h"
#include "telematic/scrittore.h"

namespace quibold {

enum class Tabella : uint8_t { Campo, Campo2, Testata };

// A table is checked as it is compiled: a row that breaks a rule calls one of these, which are
// not constexpr, so that the compiler refuses the row and names the rule it breaks.
inline void CodiceNonDiOttoCaratteri() {}
inline void CampoFuoriDalTracciato() {}
inline void TotaleSenzaImporto() {}
inline void RegolaPropriaSenzaPasso() {}

// Where a row's value comes from: an employee field of the layout, or a header field.
struct Fonte {
  Tabella tabella;
  uint16_t indice;
};
consteval Fonte C(int indice) {
  if (indice < 1 || indice > kUltimoCampo || indice == kCampoSenzaPosto) CampoFuoriDalTracciato();
  return {Tabella::Campo, static_cast<uint16_t>(indice)};
}
consteval Fonte C2(int indice) {
  if (indice < 1 || indice > kUltimoCampo2) CampoFuoriDalTracciato();
  return {Tabella::Campo2, static_cast<uint16_t>(indice)};
}
consteval Fonte T(IndiceTestata indice) { return {Tabella::Testata, indice}; }
constexpr Fonte kNessuna = {Tabella::Campo, 0};

// The rule of a row: how the value is formed and when the field is written. "Positive" means
// that the value read as a number is above 0; "trimmed" that blanks around it are removed.
enum class Regola : uint8_t {
  Importo,                   // amount with cents, when above 0; feeds the row's totals
  ImportoIntero,             // amount in whole units, when above 0
  Flag,                      // 15 blanks and "1", when the source is "X"
  FlagSempre,                // 15 blanks and "1", always
  CodiceFiscale,             // 11 or 16 characters after trimming
  Testo,                     // as stored, always
  TestoSePresente,           // as stored, when not blank
  TestoSePositivo,           // as stored, when positive
  TestoDiviso,               // 16 characters and a "+" continuation, always
  TestoDivisoSePresente,     // as TestoDiviso, when not blank
  TestoDiviso3,              // trimmed, up to three fields, when not blank
  Destra,                    // as stored, right-aligned, always
  DestraSePositivo,          // as stored, right-aligned, when positive
  PrimoCarattereSePositivo,  // the first character right-aligned, when the field is positive
  UnoODue,                   // right-aligned, when the field is "1" or "2"
  Conteggio3SePositivo,      // trimmed, "0"-filled to 3, right-aligned, when positive
  DueCifre,                  // trimmed, "0"-filled to 2, right-aligned, always
  DueCifreSePositivo,        // as DueCifre, when positive
  DueCifreSePresente,        // as DueCifre (cut to 2), when the trimmed value is not empty
  TestoOltreUnCarattere,     // trimmed, when longer than one character
  CarattereADestra,          // trimmed, right-aligned, when exactly one character
  TestoUnCarattere,          // trimmed, when exactly one character
  DueCaratteriADestra,       // trimmed, cut to 2, blank-filled to 2, right-aligned, when positive
  LetteraABC,                // as stored, when "A", "B" or "C"
  LetteraAB,                 // without blanks, when "A" or "B"
  TestoDueCaratteri,         // trimmed, when exactly two characters
  PrimaCifra,                // first character of the field, right-aligned, when positive
  SecondaCifra,              // second character of the field, right-aligned, when positive
  DodiciMesi,                // the field and the 11 after it, "1" for an "X" else "0", right-aligned, always
  DueCoppieSePositivo,       // the field and the next, each as DueCifre cut to 2, right-aligned, when positive
  Propria,                   // the row's own step, for a field whose rule no other row shares
};

struct Riga;
struct FontiDipendente;
using PassoProprio = void (*)(Scrittore& s, const FontiDipendente& fonti, const Riga& riga);

// A row of a table. Its code has 8 characters; the totals it feeds are those of its code in the
// table of the report's totals (`verifica/totali.h`), and only an amount (or a row's own step)
// may feed one; a row of rule Propria has its step.
struct Riga {
  consteval Riga(std::string_view codice, Fonte fonte, Regola regola, PassoProprio proprio = nullptr)
      : codice(codice), fonte(fonte), regola(regola), proprio(proprio) {
    if (codice.size() != kLungCodice) CodiceNonDiOttoCaratteri();
    const TotaliDelCodice totali = TotaliDi(codice);
    totale = totali.primo;
    totale2 = totali.secondo;
    const bool importo = regola == Regola::Importo || regola == Regola::ImportoIntero || regola == Regola::Propria;
    if (totale != kNessunTotale && !importo) TotaleSenzaImporto();
    if ((regola == Regola::Propria) != (proprio != nullptr)) RegolaPropriaSenzaPasso();
  }

  std::string_view codice;
  Fonte fonte;
  Regola regola;
  PassoProprio proprio;                  // the step of a row of rule Propria
  IndiceTotale totale = kNessunTotale;   // the run total an amount feeds
  IndiceTotale totale2 = kNessunTotale;  // a second one
};

// A count of days as written: the field trimmed and "0"-filled to three characters.
std::string Conteggio3(std::string_view valore);

// Adds `importo` to the run totals the row feeds.
void AggiungiTotali(Scrittore& s, const Riga& r, double importo);

// The position of the row with `codice` in `righe`, or righe.size() when there is none.
template <size_t N>
constexpr size_t PosizioneDi(const std::array<Riga, N>& righe, std::string_view codice) {
  for (size_t i = 0; i < N; ++i) {
    if (righe[i].codice == codice) return i;
  }
  return N;
}

// What a row can read: the certification header and the current employee's fields.
struct FontiDipendente {
  const Testata& testata;
  CampiDipendente& campi;
  std::string_view Valore(Fonte f) const;
};

// Writes the rows in order, each by its rule.
void Emetti(Scrittore& s, const FontiDipendente& fonti, std::span<const Riga> righe);

// A table of rows as its file declares it, by the name of the table.
struct TabellaRighe {
  std::string_view nome;
  std::span<const Riga> righe;
};
// Every table of rows of the writer, in the order the records carry their fields (record C, D,
// then the G sections): a test holds each row against the check's own table of the codes this
// program writes (`verifica/campi.h`): the code known there, of a kind its rule writes, and in
// the same order. A new table goes into the list of its file's function below.
std::vector<TabellaRighe> TabelleRighe();
std::vector<TabellaRighe> TabelleRecordC();        // telematico.cc
std::vector<TabellaRighe> TabelleRecordD();        // dipendenti.cc
std::vector<TabellaRighe> TabelleFiscale();        // sezione_fiscale.cc
std::vector<TabellaRighe> TabelleFamiliari();      // sezione_familiari.cc
std::vector<TabellaRighe> TabellePrevidenziale();  // sezione_previdenziale.cc
std::vector<TabellaRighe> TabelleTFR();            // sezione_tfr.cc
std::vector<TabellaRighe> TabelleDN();             // sezione_dn.cc

// The G sections of one employee, in the order they are written.
void SezioneFiscale(Scrittore& s, const FontiDipendente& fonti);        // DB001, sezione_fiscale.cc
void SezioneFamiliari(Scrittore& s, const FontiDipendente& fonti);      // DB6, dependants, sezione_familiari.cc
void SezionePrevidenziale(Scrittore& s, const FontiDipendente& fonti);  // DC, social security, sezione_previdenziale.cc
void SezioneTFR(Scrittore& s, const FontiDipendente& fonti);            // DF, severance pay, sezione_tfr.cc
void SezioneDN(Scrittore& s, const FontiDipendente& fonti);             // DN, sezione_dn.cc

// The records of the supply that the certification header alone fills. `tipo` is the window's
// supply type; record B stops the run when the header leaves the number of employees blank.
void RecordA(Scrittore& s, const Testata& t);
void RecordB(Scrittore& s, const Testata& t, const std::string& tipo);
void RecordC(Scrittore& s, const Testata& t);

}  // namespace quibold
