// The employee record: 6000 characters, position 1 "$" for a live record, then the fields
// `Campo` 1-500 and `Campo2` 1-103 back to back.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quibold {

inline constexpr char kRecordVivo = '$';

// A run of fields of one width: fields `primo` to `ultimo`, the first at `posizione` (1-based).
struct SerieCampi {
  int primo;
  int ultimo;
  int posizione;
  int larghezza;
};

// The fields of the layout: `Campo` 1 to 500 but 49, which has no place; `Campo2` 1 to 103.
inline constexpr int kUltimoCampo = 500;
inline constexpr int kCampoSenzaPosto = 49;
inline constexpr int kUltimoCampo2 = 103;

// `Campo` 1 to 500, in record order.
extern const std::array<SerieCampi, 328> kTabellaCampo;
// `Campo2` 1 to 103, in record order.
extern const std::array<SerieCampi, 80> kTabellaCampo2;

// One employee's fields, as views into the record they were split from (which must outlive
// them). Index 0 and `Campo` 49 stay empty; `Campo2` is assigned from 1 to 103.
struct CampiDipendente {
  CampiDipendente() = default;
  // Views into a record: a copy would outlive it unnoticed.
  CampiDipendente(const CampiDipendente&) = delete;
  CampiDipendente& operator=(const CampiDipendente&) = delete;

  std::array<std::string_view, 501> Campo;
  std::array<std::string_view, 501> Campo2;
  // Storage for a value the writer puts in place of `Campo2` 18.
  std::string campo2Sostituito;

  void SostituisciCampo2(int indice, std::string valore);
};

// Splits a live employee record into its fields: no trimming, no conversion.
void SeparaCampi(std::string_view record, CampiDipendente& campi);

}  // namespace quibold
