// The layout of a CUR18 file as the check knows it, stated here on its own so that the check
// never borrows a constant from the program that writes the file. Positions are 1-based.
#pragma once

#include <cstddef>
#include <string_view>

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

// Record A.
inline constexpr Zona kFornitura = {16, 5};
inline constexpr std::string_view kCodiceFornitura = "CUR18";
inline constexpr Zona kCfFornitoreA = {23, 16};

// Heads of records B, C, D and G.
inline constexpr Zona kCfSostituto = {2, 16};
inline constexpr Zona kModulo = {18, 8};
inline constexpr std::string_view kPrimoModulo = "00000001";

// Record B.
inline constexpr int kPosAnnullamento = 91;  // "1" for a cancellation
inline constexpr int kPosSostituzione = 92;  // "1" for a replacement
inline constexpr Zona kCfRappresentante = {310, 16};
inline constexpr Zona kDipendentiB = {402, 8};  // the employees declared, eight digits
inline constexpr int kPosQuadroCT = 410;        // "1" when a record C follows
inline constexpr int kPosUnoB[] = {411, 437};   // always "1"
inline constexpr int kPosZeroB = 309;           // always "0"

// Heads of records C, D and G beyond the common part.
inline constexpr Zona kVuotoC = {26, 64};
inline constexpr Zona kCfDipendente = {26, 16};
inline constexpr Zona kProgressivo = {42, 5};
inline constexpr Zona kVuotoD1 = {70, 14};
inline constexpr int kPosOperazioneD = 84;  // " ", "A" (cancellation) or "S" (replacement)
inline constexpr Zona kVuotoD2 = {85, 4};
inline constexpr int kPosUnoD = 89;  // "1"
inline constexpr Zona kVuotoG = {47, 43};

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

// Blank stretches of the positional records (beyond what the fields above cover).
inline constexpr Zona kVuotoTestaAZ = {2, 14};
inline constexpr Zona kVuotoCodaZ = {70, 1828};

// Fields that repeat a code of the heads: the withholding agent's, the employee's.
inline constexpr std::string_view kCampiCfSostituto[] = {"CT001001", "DA001001"};
inline constexpr std::string_view kCampoCfDipendente = "DA002001";
// Other fields whose value is a fiscal code or a VAT number.
inline constexpr std::string_view kCampiCodiceFiscale[] = {
    "CT003001", "DB001425", "DB001443", "DB001492", "DB001522", "DB001536", "DB001611",
    "DB601004", "DB602004", "DB603004", "DB604004", "DB605004", "DB606004", "DB607004",
    "DB608004", "DF001819", "DF001853", "DF001856", "DF001873",
};

}  // namespace quibold::tracciato
