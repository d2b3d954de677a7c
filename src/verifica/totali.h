// The totals of the reconciliation report and the field codes that add up to each: the one
// table that both the writer (which adds every amount of such a code to its totals as it writes
// it) and the per-employee reading of a file (which sums the same codes per employee) read.
#pragma once

#include <cstdint>
#include <string_view>

namespace quibold {

// What each run total adds up, by its index in the writer's totals; the report prints each under
// a label of its own. Indices 23 to 30 are kept at 0.
enum IndiceTotale : uint8_t {
  kNessunTotale = 0,
  kDipendenti = 1,                   // employees whose first G record was begun
  kRedditi = 2,                      // DB001001 to DB001004
  kRitenuteIrpef = 3,                // DB001021
  kAddizionaleRegionale = 4,         // DB001022
  kAddizionaleRegionaleAP = 5,       // DB001023, of the years before
  kAddizionaleComunaleAP = 6,        // DB001025, of the years before
  kAddizionaleComunale = 7,          // DB001026, DB001027
  kAccontoComunale2018 = 8,          // DB001029
  kTrattenuteAssistenzaFiscale = 9,  // the amounts withheld by the tax-assistance settlement
  kRimborsiAssistenzaFiscale = 10,   // the amounts refunded by it
  kDetrazioni = 11,                  // DB001373
  kBonus = 12,                       // DB001392
  kTassazioneSeparata = 13,          // DB001511, DB001512
  kRedditiDaTerzi = 14,              // DB001531 to DB001535
  kImponibileInps = 15,              // DC001004
  kTfrAnno = 16,                     // DF001801
  kTfrAnniPrecedenti = 17,           // DF001802
  kRitenuteTfrAnno = 18,             // DF001804
  kRitenuteTfrAnniPrecedenti = 19,   // DF001806
  kRivalutazioniTfr = 20,            // DF001911
  kCompensiCollaboratori = 21,       // DC001043
  kAccontoComunale = 22,             // DB001026, also in kAddizionaleComunale
  kUltimoTotale = kAccontoComunale,
};

struct CodiceDelTotale {
  IndiceTotale totale;
  std::string_view codice;
};

// Which amounts add to each total, total by total. An amount adds to its totals whether or not it
// is written: the writer leaves out an amount of 0 or below, which the totals count all the same.
// A code may add to two totals (DB001026). kDipendenti counts employees, not amounts.
// clang-format off
inline constexpr CodiceDelTotale kCodiciDeiTotali[] = {
    {kRedditi, "DB001001"}, {kRedditi, "DB001002"}, {kRedditi, "DB001003"}, {kRedditi, "DB001004"},
    {kRitenuteIrpef, "DB001021"},
    {kAddizionaleRegionale, "DB001022"},
    {kAddizionaleRegionaleAP, "DB001023"},
    {kAddizionaleComunaleAP, "DB001025"},
    {kAddizionaleComunale, "DB001026"}, {kAddizionaleComunale, "DB001027"},
    {kAccontoComunale2018, "DB001029"},
    {kTrattenuteAssistenzaFiscale, "DB001061"}, {kTrattenuteAssistenzaFiscale, "DB001071"},
    {kTrattenuteAssistenzaFiscale, "DB001081"}, {kTrattenuteAssistenzaFiscale, "DB001091"},
    {kTrattenuteAssistenzaFiscale, "DB001106"}, {kTrattenuteAssistenzaFiscale, "DB001111"},
    {kTrattenuteAssistenzaFiscale, "DB001121"}, {kTrattenuteAssistenzaFiscale, "DB001122"},
    {kTrattenuteAssistenzaFiscale, "DB001124"}, {kTrattenuteAssistenzaFiscale, "DB001126"},
    {kTrattenuteAssistenzaFiscale, "DB001127"}, {kTrattenuteAssistenzaFiscale, "DB001261"},
    {kTrattenuteAssistenzaFiscale, "DB001271"}, {kTrattenuteAssistenzaFiscale, "DB001281"},
    {kTrattenuteAssistenzaFiscale, "DB001291"}, {kTrattenuteAssistenzaFiscale, "DB001306"},
    {kTrattenuteAssistenzaFiscale, "DB001311"}, {kTrattenuteAssistenzaFiscale, "DB001321"},
    {kTrattenuteAssistenzaFiscale, "DB001322"}, {kTrattenuteAssistenzaFiscale, "DB001324"},
    {kTrattenuteAssistenzaFiscale, "DB001326"}, {kTrattenuteAssistenzaFiscale, "DB001327"},
    {kRimborsiAssistenzaFiscale, "DB001062"}, {kRimborsiAssistenzaFiscale, "DB001072"},
    {kRimborsiAssistenzaFiscale, "DB001082"}, {kRimborsiAssistenzaFiscale, "DB001092"},
    {kRimborsiAssistenzaFiscale, "DB001262"}, {kRimborsiAssistenzaFiscale, "DB001272"},
    {kRimborsiAssistenzaFiscale, "DB001282"}, {kRimborsiAssistenzaFiscale, "DB001292"},
    {kDetrazioni, "DB001373"},
    {kBonus, "DB001392"},
    {kTassazioneSeparata, "DB001511"}, {kTassazioneSeparata, "DB001512"},
    {kRedditiDaTerzi, "DB001531"}, {kRedditiDaTerzi, "DB001532"}, {kRedditiDaTerzi, "DB001533"},
    {kRedditiDaTerzi, "DB001534"}, {kRedditiDaTerzi, "DB001535"},
    {kImponibileInps, "DC001004"},
    {kTfrAnno, "DF001801"},
    {kTfrAnniPrecedenti, "DF001802"},
    {kRitenuteTfrAnno, "DF001804"},
    {kRitenuteTfrAnniPrecedenti, "DF001806"},
    {kRivalutazioniTfr, "DF001911"},
    {kCompensiCollaboratori, "DC001043"},
    {kAccontoComunale, "DB001026"},
};
// clang-format on

// The totals a code adds to: none, one, or two.
struct TotaliDelCodice {
  IndiceTotale primo = kNessunTotale;
  IndiceTotale secondo = kNessunTotale;
};

// Called only for a code of the table above that adds to more than two totals: not constexpr, so
// that the build stops at the lookup and names the fault.
inline void CodiceConPiuDiDueTotali() {}

constexpr TotaliDelCodice TotaliDi(std::string_view codice) {
  TotaliDelCodice t;
  for (const CodiceDelTotale& c : kCodiciDeiTotali) {
    if (c.codice != codice) continue;
    if (t.primo == kNessunTotale) {
      t.primo = c.totale;
    } else if (t.secondo == kNessunTotale) {
      t.secondo = c.totale;
    } else {
      CodiceConPiuDiDueTotali();
    }
  }
  return t;
}

}  // namespace quibold
