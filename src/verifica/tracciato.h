// The layout of a CUR18 file as the check knows it, stated here on its own so that the check
// never borrows a constant from the program that writes the file. Positions are 1-based.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

namespace quibold::tracciato {

// Characters `lunghezza` from position `posizione` of a record.
struct Zona {
  int posizione;
  int lunghezza;
  constexpr int ultima() const { return posizione + lunghezza - 1; }
  constexpr std::string_view In(std::string_view record) const {
    return record.substr(static_cast<size_t>(posizione - 1), static_cast<size_t>(lunghezza));
  }
};

// Every record: 1900 bytes, data in 1-1897, then "A", CR, LF.
inline constexpr size_t kLungRecord = 1900;
inline constexpr int kFineDati = 1897;
inline constexpr int kPosChiusura = 1898;  // "A"
inline constexpr int kPosCR = 1899;
inline constexpr int kPosLF = 1900;

// What a positional field holds, and how the check judges it.
enum class Contenuto : uint8_t {
  Proprio,                  // judged by the record's own step (type, order, counts, codes repeated)
  Vuoto,                    // blanks; anything else is an error
  VuotoAtteso,              // blanks here, but a file of another program may use them: a warning
  Fisso,                    // exactly `ammessi`
  Scelta,                   // one of the codes of `ammessi`, each as long as the field, one after another
  Cifre,                    // digits only
  CifreOVuoto,              // digits only, or blanks only
  Data,                     // a real calendar day ggmmaaaa
  CodiceFiscale,            // a fiscal code, required
  CodiceFiscaleSePresente,  // a fiscal code, or blanks
  FormaCodiceFiscale,       // a fiscal code by its shape only: a fixed code with no check character
  Testo,                    // text; characters beyond ASCII are a warning
};

struct CampoPosizionale {
  Zona zona;
  Contenuto contenuto;
  std::string_view nome;  // as the findings name it
  std::string_view ammessi = {};
};

using enum Contenuto;

// Record A.
inline constexpr CampoPosizionale kRecordA[] = {
    {{1, 1}, Proprio, "tipo di record"},
    {{2, 14}, Vuoto, "record A"},
    {{16, 5}, Fisso, "codice della fornitura", "CUR18"},
    {{21, 2}, Scelta, "tipo del fornitore", "0110"},
    {{23, 16}, CodiceFiscale, "codice fiscale del fornitore"},
    {{39, 1859}, VuotoAtteso, "record A"},
};

// Heads of records B, C, D and G.
inline constexpr Zona kCfSostituto = {2, 16};
inline constexpr Zona kModulo = {18, 8};
inline constexpr std::string_view kPrimoModulo = "00000001";

// Record B. The name block (93-196) holds a person's surname and first name, or the company's
// name from 137; the second block (310-382) the representative of a company.
inline constexpr int kPosAnnullamento = 91;  // "1" for a cancellation
inline constexpr int kPosSostituzione = 92;  // "1" for a replacement
inline constexpr int kPosQuadroCT = 410;     // "1" when a record C follows
inline constexpr CampoPosizionale kRecordB[] = {
    {{1, 1}, Proprio, "tipo di record"},
    {kCfSostituto, Proprio, "codice fiscale del sostituto d'imposta"},
    {kModulo, Proprio, "numero del modulo"},
    {{26, 48}, VuotoAtteso, "record B"},
    {{74, 16}, FormaCodiceFiscale, "codice fiscale del produttore del software"},
    {{90, 1}, VuotoAtteso, "record B"},
    {{kPosAnnullamento, 1}, Scelta, "segno di annullamento", "01"},
    {{kPosSostituzione, 1}, Scelta, "segno di sostituzione", "01"},
    {{93, 24}, Testo, "cognome del sostituto d'imposta"},
    {{117, 20}, Testo, "nome del sostituto d'imposta"},
    {{137, 60}, Testo, "denominazione del sostituto d'imposta"},
    {{197, 35}, Testo, "indirizzo di posta elettronica"},
    {{232, 65}, VuotoAtteso, "record B"},
    {{297, 12}, Testo, "telefono"},
    {{309, 1}, Fisso, "posizione 309", "0"},
    {{310, 16}, CodiceFiscaleSePresente, "codice fiscale del rappresentante"},
    {{326, 2}, CifreOVuoto, "codice di carica del rappresentante"},
    {{328, 24}, Testo, "cognome del rappresentante"},
    {{352, 20}, Testo, "nome del rappresentante"},
    {{372, 11}, Cifre, "codice fiscale della societa' rappresentante"},
    {{383, 19}, VuotoAtteso, "record B"},
    {{402, 8}, Cifre, "numero dei dipendenti"},
    {{kPosQuadroCT, 1}, Scelta, "segno del record C", "01"},
    {{411, 1}, Fisso, "posizione 411", "1"},
    {{412, 16}, CodiceFiscaleSePresente, "codice fiscale del fornitore"},
    {{428, 1}, Scelta, "tipo dell'impegno alla trasmissione", "12"},
    {{429, 8}, Data, "data dell'impegno alla trasmissione"},
    {{437, 1}, Fisso, "posizione 437", "1"},
    {{438, 1460}, VuotoAtteso, "record B"},
};

// Heads of records C, D and G beyond the common part.
inline constexpr Zona kCfDipendente = {26, 16};
inline constexpr Zona kProgressivo = {42, 5};
inline constexpr Zona kProtocollo = {47, 17};       // of the supply that a record D cancels or replaces
inline constexpr Zona kNumeroSostituito = {64, 6};  // of the certification in that supply
inline constexpr int kPosOperazioneD = 84;          // " ", "A" (cancellation) or "S" (replacement)
inline constexpr CampoPosizionale kTestaC[] = {
    {{1, 25}, Proprio, "testa comune"},
    {{26, 64}, Vuoto, "testa del record C"},
};
inline constexpr CampoPosizionale kTestaD[] = {
    {{1, 25}, Proprio, "testa comune"},
    {kCfDipendente, CodiceFiscale, "codice fiscale del dipendente"},
    {kProgressivo, Proprio, "progressivo del dipendente"},
    {kProtocollo, Cifre, "protocollo della fornitura da sostituire o annullare"},
    {kNumeroSostituito, Cifre, "progressivo della certificazione da sostituire o annullare"},
    {{70, 14}, Vuoto, "testa del record D"},
    {{kPosOperazioneD, 1}, Proprio, "operazione"},
    {{85, 4}, Vuoto, "testa del record D"},
    {{89, 1}, Scelta, "conferma della certificazione", "01"},
};
inline constexpr CampoPosizionale kTestaG[] = {
    {{1, 46}, Proprio, "testa comune, dipendente e progressivo"},
    {{47, 43}, Vuoto, "testa del record G"},
};

// The field grid of records C, D and G: 75 slots of 24 (code 8, value 16) from 90, then blanks.
inline constexpr int kPosGriglia = 90;
inline constexpr int kLungCampo = 24;
inline constexpr int kLungCodice = 8;
inline constexpr int kLungValore = 16;
inline constexpr int kCampiRecord = 75;
inline constexpr Zona kCodaGriglia = {1890, 8};
inline constexpr int kMaxCampiC = 12;
inline constexpr int kMaxCampiD = 48;
// Section letters of the fields each record may hold: C "CT", D "DA", G any "D?" but "DA".
inline constexpr std::string_view kSezioneC = "CT";
inline constexpr std::string_view kSezioneD = "DA";

// Record Z: counts of B, C, D and G records, nine digits each, then eighteen zeros.
inline constexpr Zona kConteggiZ[] = {{16, 9}, {25, 9}, {34, 9}, {43, 9}};
inline constexpr Zona kZeriZ = {52, 18};
inline constexpr CampoPosizionale kRecordZ[] = {
    {{1, 1}, Proprio, "tipo di record"},
    {{2, 14}, Vuoto, "record Z"},
    {{16, 54}, Proprio, "numeri dei record e zeri"},
    {{70, 1828}, Vuoto, "record Z"},
};

// --- The tables hold together, checked as this header compiles ---

// What can be wrong with the rows of a positional part of a record, which must lie back to back
// from its first position to its last: two rows swapped, a row left out, a length mistyped.
enum class Difetto : uint8_t {
  Nessuno,
  RigaFuoriPosto,  // no row begins at `posizione`, where the row before it ends
  FineFuoriPosto,  // the rows end at `posizione` - 1, not at the last position of their part
};
struct DifettoTracciato {
  int posizione = 0;
  Difetto difetto = Difetto::Nessuno;
};

// The first fault of the rows `righe` (zones, or rows with a zone), which must cover positions
// `prima` to `ultima` in order.
template <class Righe>
constexpr DifettoTracciato PrimoDifetto(const Righe& righe, int prima, int ultima) {
  int posizione = prima;
  for (const auto& riga : righe) {
    Zona z;
    if constexpr (std::is_same_v<std::remove_cvref_t<decltype(riga)>, Zona>) {
      z = riga;
    } else {
      z = riga.zona;
    }
    if (z.posizione != posizione || z.lunghezza < 1) return {posizione, Difetto::RigaFuoriPosto};
    posizione += z.lunghezza;
  }
  if (posizione != ultima + 1) return {posizione, Difetto::FineFuoriPosto};
  return {};
}

// A table with a fault fails the build here: the compiler names the fault and its position
// ("kDifetto = ...") and the line of the table's check ("required from here").
template <DifettoTracciato kDifetto>
consteval bool SenzaDifetti() {
  static_assert(kDifetto.difetto == Difetto::Nessuno,
                "the rows of a positional table must lie back to back: the table is the one checked at the line "
                "'required from here', the position and the fault are in 'kDifetto = ...'");
  return true;
}

static_assert(SenzaDifetti<PrimoDifetto(kRecordA, 1, kFineDati)>());
static_assert(SenzaDifetti<PrimoDifetto(kRecordB, 1, kFineDati)>());
static_assert(SenzaDifetti<PrimoDifetto(kTestaC, 1, kPosGriglia - 1)>());
static_assert(SenzaDifetti<PrimoDifetto(kTestaD, 1, kPosGriglia - 1)>());
static_assert(SenzaDifetti<PrimoDifetto(kTestaG, 1, kPosGriglia - 1)>());
static_assert(SenzaDifetti<PrimoDifetto(kRecordZ, 1, kFineDati)>());
// Record Z's counts and zeros fill the zone its table leaves to the record's own step.
static_assert(SenzaDifetti<PrimoDifetto(kConteggiZ, kRecordZ[2].zona.posizione, kZeriZ.posizione - 1)>());
static_assert(kZeriZ.ultima() == kRecordZ[2].zona.ultima());
// The grid: 75 fields of a code and a value from the end of the head, then blanks to the end of the data.
static_assert(kLungCampo == kLungCodice + kLungValore);
static_assert(kPosGriglia + kCampiRecord * kLungCampo == kCodaGriglia.posizione && kCodaGriglia.ultima() == kFineDati &&
              kFineDati + 3 == static_cast<int>(kLungRecord));

}  // namespace quibold::tracciato
