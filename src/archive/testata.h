// The certification header file: record 1 holds the header fields (`Testata`), record 2 the kind
// of certification and the number of employee records.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quibold {

// Header fields by index, 1 to 44 filled; 0 and 45-50 stay empty.
using Testata = std::array<std::string, 51>;

// What the header fields hold, by their index in `Testata`; a field the archive describes no
// further is named by the field of the telematic file it fills. The indices not named are read
// by nobody.
enum IndiceTestata : uint8_t {
  kTipoFornituraCU = 1,  // the certification's own supply: "0" normal, "1" cancellation, "2" replacement
  kPersonaFisica = 2,    // "D" when the withholding agent is a natural person
  kCfSostituto = 3,      // the withholding agent's fiscal code
  kDenominazione1 = 5,   // name, first part (a natural person's surname)
  kDenominazione2 = 6,   // name, second part (a natural person's first name)
  kTelefono = 7,
  kEmail = 8,
  kCfRappresentante = 9,  // the representative's block of record B (not a natural person)
  kCaricaRappresentante = 10,
  kCfSocietaRappresentante = 11,
  kCognomeRappresentante = 12,
  kNomeRappresentante = 13,
  kNumeroDipendenti = 14,  // as record B declares it; must not be blank
  kConRecordC = 16,        // "X": record C is written
  kTipoFornitore = 19,     // of the intermediary that sends the file
  kCfFornitore = 20,
  kTipoImpegno = 21,  // of the commitment to transmit
  kDataImpegno = 22,
  kDataFirma = 26,       // DA003001
  kCodiceAttivita = 27,  // DA001010
  kComune = 28,          // the withholding agent's address: DA001004 to DA001007
  kProvincia = 29,
  kCap = 30,
  kIndirizzo = 31,
  kCodiceSede = 32,      // DA001011
  kSceltaQuadroCT = 33,  // "B": record C carries the intermediary's block CT003
  kPerCT001002 = 34,
  kFlagCT002001 = 35,  // "X": the flag CT002001, else the field CT002002
  kPerCT002002 = 37,
  kPerCT003002 = 38,
  kCellulareIntermediario = 39,  // CT003003
  kEmailIntermediario = 41,      // CT003004
  kProtocolloSostituito = 42,    // set by the writer from the window: the supply to cancel or replace
  kProgressivoSostituito = 43,
};

struct CampoTestata {
  int indice;
  int posizione;  // 1-based, within the 1200-byte record
  int lunghezza;
};

// The characters of a record from a 1-based position, as many as the record still holds.
std::string_view Posizioni(std::string_view record, int posizione, int lunghezza);

// Every header field, in index order: field k is entry k - 1.
extern const std::array<CampoTestata, 44> kCampiTestata;

// The characters of header field `indice` in record 1 as stored: neither upper-cased nor made
// blanks from NULs (as many as the record still holds).
std::string_view CampoComeScritto(std::string_view record, IndiceTestata indice);

// Splits header record 1 into its fields; a field of NUL characters only becomes blanks of the
// same width, and every field is upper-cased (Windows-1252).
Testata SeparaTestata(std::string_view record);

struct Testata2 {
  int tipo;         // 2 marks a self-employment certification
  long dipendenti;  // number of employee records in the employee file
};

// Reads header record 2.
Testata2 LeggiTestata2(std::string_view record);

}  // namespace quibold
