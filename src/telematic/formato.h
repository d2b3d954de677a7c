// The telematic file of the CU 2018 supply "CUR18": records of 1900 characters; records C, D and
// G have a positional head of 89 characters and then fields of 24 (an 8-character code and a
// 16-character value).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "recfile/numeri.h"

namespace quibold {

inline constexpr std::string_view kCodiceFornitura = "CUR18";
inline constexpr size_t kLungRecord = 1900;
inline constexpr size_t kFineDati = 1897;  // positions 1-1897 hold the data
inline constexpr char kFineRecord[] = {'A', '\r', '\n'};
inline constexpr size_t kLungTesta = 89;  // head of records C, D and G
inline constexpr size_t kLungCodice = 8;
inline constexpr size_t kLungValore = 16;
inline constexpr size_t kLungCampo = kLungCodice + kLungValore;
inline constexpr int kMaxCampi = 75;  // fields per record, positions 90-1889
inline constexpr std::string_view kModulo = "00000001";
inline constexpr std::string_view kCfProduttore = "AAAAAA00A00A000A";

// Text cut or padded on the right with blanks to exactly `larghezza`: a positional field.
inline std::string Largo(std::string_view testo, size_t larghezza) {
  std::string t(testo.substr(0, larghezza));
  t.resize(larghezza, ' ');
  return t;
}

// Trimmed text padded on the left with "0" to `larghezza` (longer text stays whole).
inline std::string ConZeri(std::string_view testo, size_t larghezza) {
  std::string_view t = Rifilato(testo);
  std::string z(t.size() < larghezza ? larghezza - t.size() : 0, '0');
  z += t;
  return z;
}

}  // namespace quibold
