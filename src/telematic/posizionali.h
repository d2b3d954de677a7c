// The positional parts of the records as tables: records A, B and Z whole (positions 1-1897),
// the heads of records C, D and G (1-89). A row is a zone of the record and what fills it, in
// record order, as a reader holds it against the layout.
//
// The tables are checked as they compile. A fixed text has its zone's width. The rows lie back to
// back over their part. Each table agrees, zone by zone, with the check's own table of the same
// part (verifica/tracciato.h), which was written apart from it: every zone of the check begins
// where a row of the writer begins; where the check wants blanks the writer writes blanks, where
// it wants a fixed text the writer writes that text, and where it wants a value the writer never
// writes blanks alone. A row swapped, left out, of a wrong width or at odds with the check fails
// the build, the compiler naming the position and the fault.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "telematic/sezioni.h"
#include "verifica/tracciato.h"

namespace quibold::posizionali {

using tracciato::Zona;

// A row breaks a rule of the tables: the compiler refuses the row and names the rule.
inline void FissoDiAltraLarghezza() {}

// How a zone is filled. Every value is cut or padded with blanks on the right to the zone's width.
enum class Modo : uint8_t {
  Bianchi,      // blanks
  Fisso,        // `testo`, exactly as wide as the zone
  Testo,        // the field `fonte` as stored
  Numero,       // the field `fonte` trimmed and "0"-filled on the left
  NumeroOZeri,  // the field `fonte` as stored, or "0"s when it reads as 0
  SegnoX,       // "1" when the field `fonte` is "X", else "0"
  SeFornitura,  // "1" when the run's supply type is `testo`, else "0"
  Operazione,   // the run's supply type when it is "A" (cancellation) or "S" (replacement), else a blank
  Conteggio,    // how many records of type `testo` were written before, "0"-filled on the left
  Progressivo,  // the employee's progressive number in the file, "0"-filled on the left
};

struct Riempimento {
  Modo modo;
  Fonte fonte = kNessuna;
  std::string_view testo = {};
};
consteval Riempimento Bianchi() { return {Modo::Bianchi}; }
consteval Riempimento Fisso(std::string_view testo) { return {Modo::Fisso, kNessuna, testo}; }
consteval Riempimento Testo(Fonte f) { return {Modo::Testo, f}; }
consteval Riempimento Numero(Fonte f) { return {Modo::Numero, f}; }
consteval Riempimento NumeroOZeri(Fonte f) { return {Modo::NumeroOZeri, f}; }
consteval Riempimento SegnoX(Fonte f) { return {Modo::SegnoX, f}; }
consteval Riempimento SeFornitura(std::string_view tipo) { return {Modo::SeFornitura, kNessuna, tipo}; }
consteval Riempimento Operazione() { return {Modo::Operazione}; }
consteval Riempimento Conteggio(std::string_view tipo) { return {Modo::Conteggio, kNessuna, tipo}; }
consteval Riempimento Progressivo() { return {Modo::Progressivo}; }

// A zone and what fills it. A zone of record B that a natural person (`Testata` 2 "D") fills
// otherwise has a second filling, for them.
struct Posizionale {
  consteval Posizionale(Zona z, Riempimento r) : Posizionale(z, r, r) {}
  consteval Posizionale(Zona z, Riempimento r, Riempimento perPersonaFisica)
      : zona(z), riempimento(r), perPersonaFisica(perPersonaFisica) {
    for (const Riempimento& x : {r, perPersonaFisica}) {
      if (x.modo == Modo::Fisso && static_cast<int>(x.testo.size()) != z.lunghezza) FissoDiAltraLarghezza();
    }
  }

  Zona zona;
  Riempimento riempimento;
  Riempimento perPersonaFisica;
};

// What the zones read besides the header and the employee's fields.
struct Fonti {
  FontiDipendente campi;
  std::string_view tipoFornitura = {};   // the window's: "N", "A" or "S"
  std::string_view progressivo = {};     // the employee's number in the file: "1", "2", ...
  const Scrittore* scrittore = nullptr;  // the records written so far, for record Z
};

// The text of the zones of `righe`, one after the other.
std::string Componi(std::span<const Posizionale> righe, const Fonti& fonti);

// clang-format off
// Record A: the supply.
inline constexpr auto kRecordA = std::to_array<Posizionale>({
    {{1, 1}, Fisso("A")},
    {{2, 14}, Bianchi()},
    {{16, 5}, Fisso(kCodiceFornitura)},
    {{21, 2}, Testo(T(kTipoFornitore))},
    {{23, 16}, Testo(T(kCfFornitore))},
    {{39, 1859}, Bianchi()},
});

// Record B: the withholding agent's front page. The name block (93-196) and the second block
// (310-382) differ for a natural person: the second column.
inline constexpr auto kRecordB = std::to_array<Posizionale>({
    {{1, 1}, Fisso("B")},
    {{2, 16}, Testo(T(kCfSostituto))},
    {{18, 8}, Fisso(kModulo)},
    {{26, 48}, Bianchi()},
    {{74, 16}, Fisso(kCfProduttore)},
    {{90, 1}, Bianchi()},
    {{91, 1}, SeFornitura("A")},
    {{92, 1}, SeFornitura("S")},
    {{93, 24}, Bianchi(), Testo(T(kDenominazione1))},
    {{117, 20}, Bianchi(), Testo(T(kDenominazione2))},
    {{137, 24}, Testo(T(kDenominazione1)), Bianchi()},
    {{161, 24}, Testo(T(kDenominazione2)), Bianchi()},
    {{185, 12}, Bianchi()},
    {{197, 35}, Testo(T(kEmail))},
    {{232, 65}, Bianchi()},
    {{297, 12}, Testo(T(kTelefono))},
    {{309, 1}, Fisso("0")},
    {{310, 16}, Testo(T(kCfRappresentante)), Bianchi()},
    {{326, 2}, Testo(T(kCaricaRappresentante)), Fisso("00")},
    {{328, 24}, Testo(T(kCognomeRappresentante)), Bianchi()},
    {{352, 20}, Testo(T(kNomeRappresentante)), Bianchi()},
    {{372, 11}, NumeroOZeri(T(kCfSocietaRappresentante)), Fisso("00000000000")},
    {{383, 19}, Bianchi()},
    {{402, 8}, Numero(T(kNumeroDipendenti))},
    {{410, 1}, SegnoX(T(kConRecordC))},
    {{411, 1}, Fisso("1")},
    {{412, 16}, Testo(T(kCfFornitore))},
    {{428, 1}, Testo(T(kTipoImpegno))},
    {{429, 8}, Testo(T(kDataImpegno))},
    {{437, 1}, Fisso("1")},
    {{438, 1460}, Bianchi()},
});

// The heads of records C, D and G, which their fields follow from position 90.
inline constexpr auto kTestaC = std::to_array<Posizionale>({
    {{1, 1}, Fisso("C")},
    {{2, 16}, Testo(T(kCfSostituto))},
    {{18, 8}, Fisso(kModulo)},
    {{26, 64}, Bianchi()},
});
inline constexpr auto kTestaD = std::to_array<Posizionale>({
    {{1, 1}, Fisso("D")},
    {{2, 16}, Testo(T(kCfSostituto))},
    {{18, 8}, Fisso(kModulo)},
    {{26, 16}, Testo(C(1))},  // the employee's fiscal code
    {{42, 5}, Progressivo()},
    {{47, 17}, Numero(T(kProtocolloSostituito))},
    {{64, 6}, Numero(T(kProgressivoSostituito))},
    {{70, 14}, Bianchi()},
    {{84, 1}, Operazione()},
    {{85, 4}, Bianchi()},
    {{89, 1}, Fisso("1")},
});
inline constexpr auto kTestaG = std::to_array<Posizionale>({
    {{1, 1}, Fisso("G")},
    {{2, 16}, Testo(T(kCfSostituto))},
    {{18, 8}, Fisso(kModulo)},
    {{26, 16}, Testo(C(1))},
    {{42, 5}, Progressivo()},
    {{47, 43}, Bianchi()},
});

// Record Z: the records of each type, then zeros.
inline constexpr auto kRecordZ = std::to_array<Posizionale>({
    {{1, 1}, Fisso("Z")},
    {{2, 14}, Bianchi()},
    {{16, 9}, Conteggio("B")},
    {{25, 9}, Conteggio("C")},
    {{34, 9}, Conteggio("D")},
    {{43, 9}, Conteggio("G")},
    {{52, 9}, Fisso("000000000")},
    {{61, 9}, Fisso("000000000")},
    {{70, 1828}, Bianchi()},
});
// clang-format on

// --- The writer's tables held to the check's ---

// How a writer's table can disagree with the check's table of the same part.
enum class Disaccordo : uint8_t {
  Nessuno,
  ZonaDiversa,       // the check has a zone beginning at `posizione`, inside a zone of the writer
  ScrittoDoveVuoto,  // the writer writes at `posizione`, where the check wants blanks
  FissoDiverso,      // the writer's fixed text at `posizione` is not the check's
  VuotoDoveValore,   // the writer writes blanks alone at `posizione`, where the check wants a value
};
struct DisaccordoTracciato {
  int posizione = 0;
  Disaccordo disaccordo = Disaccordo::Nessuno;
};

// Whether the check's kind of zone takes a zone of blanks.
constexpr bool PrendeBianchi(tracciato::Contenuto c) {
  using tracciato::Contenuto;
  return c == Contenuto::Proprio || c == Contenuto::Vuoto || c == Contenuto::VuotoAtteso || c == Contenuto::Testo ||
         c == Contenuto::CodiceFiscaleSePresente || c == Contenuto::CifreOVuoto;
}

// Whether `r` may fill part of a zone of the check of kind `c` (`intera`: the whole of it).
constexpr Disaccordo Concorda(const Riempimento& r, const tracciato::CampoPosizionale& c, bool intera) {
  using tracciato::Contenuto;
  if (c.contenuto == Contenuto::Vuoto || c.contenuto == Contenuto::VuotoAtteso) {
    return r.modo == Modo::Bianchi ? Disaccordo::Nessuno : Disaccordo::ScrittoDoveVuoto;
  }
  if (c.contenuto == Contenuto::Fisso) {
    return intera && r.modo == Modo::Fisso && r.testo == c.ammessi ? Disaccordo::Nessuno : Disaccordo::FissoDiverso;
  }
  if (c.contenuto == Contenuto::Scelta && r.modo == Modo::Fisso && c.ammessi.find(r.testo) == std::string_view::npos) {
    return Disaccordo::FissoDiverso;
  }
  if (r.modo == Modo::Bianchi && !PrendeBianchi(c.contenuto)) return Disaccordo::VuotoDoveValore;
  return Disaccordo::Nessuno;
}

// The first disagreement of the writer's rows `scritti` with the check's rows `attesi`, both of
// which lie back to back from position 1 to the same last position.
template <class Scritti, class Attesi>
constexpr DisaccordoTracciato PrimoDisaccordo(const Scritti& scritti, const Attesi& attesi) {
  auto atteso = std::begin(attesi);
  for (const Posizionale& s : scritti) {
    while (atteso != std::end(attesi) && atteso->zona.ultima() < s.zona.posizione) ++atteso;
    if (atteso == std::end(attesi)) return {s.zona.posizione, Disaccordo::ZonaDiversa};
    // The check's next zone must not begin inside this one.
    if (s.zona.ultima() > atteso->zona.ultima()) return {atteso->zona.ultima() + 1, Disaccordo::ZonaDiversa};
    const bool intera = s.zona.posizione == atteso->zona.posizione && s.zona.lunghezza == atteso->zona.lunghezza;
    for (const Riempimento& r : {s.riempimento, s.perPersonaFisica}) {
      if (const Disaccordo d = Concorda(r, *atteso, intera); d != Disaccordo::Nessuno) return {s.zona.posizione, d};
    }
  }
  return {};
}

// A table that disagrees with the check's fails the build here: the compiler names the
// disagreement and its position ("kDisaccordo = ...") and the line of the tables' check
// ("required from here").
template <DisaccordoTracciato kDisaccordo>
consteval bool Concordano() {
  static_assert(kDisaccordo.disaccordo == Disaccordo::Nessuno,
                "a positional table of the writer disagrees with the check's (verifica/tracciato.h): the tables "
                "are the ones checked at the line 'required from here', the position and the disagreement are in "
                "'kDisaccordo = ...'");
  return true;
}

using tracciato::PrimoDifetto;
using tracciato::SenzaDifetti;
inline constexpr int kUltimaDelRecord = static_cast<int>(kFineDati);
inline constexpr int kUltimaDellaTesta = static_cast<int>(kLungTesta);
static_assert(SenzaDifetti<PrimoDifetto(kRecordA, 1, kUltimaDelRecord)>());
static_assert(SenzaDifetti<PrimoDifetto(kRecordB, 1, kUltimaDelRecord)>());
static_assert(SenzaDifetti<PrimoDifetto(kTestaC, 1, kUltimaDellaTesta)>());
static_assert(SenzaDifetti<PrimoDifetto(kTestaD, 1, kUltimaDellaTesta)>());
static_assert(SenzaDifetti<PrimoDifetto(kTestaG, 1, kUltimaDellaTesta)>());
static_assert(SenzaDifetti<PrimoDifetto(kRecordZ, 1, kUltimaDelRecord)>());
static_assert(Concordano<PrimoDisaccordo(kRecordA, tracciato::kRecordA)>());
static_assert(Concordano<PrimoDisaccordo(kRecordB, tracciato::kRecordB)>());
static_assert(Concordano<PrimoDisaccordo(kTestaC, tracciato::kTestaC)>());
static_assert(Concordano<PrimoDisaccordo(kTestaD, tracciato::kTestaD)>());
static_assert(Concordano<PrimoDisaccordo(kTestaG, tracciato::kTestaG)>());
static_assert(Concordano<PrimoDisaccordo(kRecordZ, tracciato::kRecordZ)>());

}  // namespace quibold::posizionali
