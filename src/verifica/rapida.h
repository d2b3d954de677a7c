// The check's fast path: what a record's bytes look like when they are surely right, tested a
// machine word or sixteen bytes at a time, and the table of the field codes the check knows. A
// field whose value passes its kind's quick test (Rapida::DaGuardare false) is never looked at
// closely: the rules of Verifica::Valore (valori.cc) see only what the quick test lets through.
// So a new rule on a value that the quick test of its kind takes as right must change that test
// too (here, in DaGuardare); the check's tests and its raw-byte fuzzer run every file through
// both paths (Vaglio::Completo skips the quick tests) and fail when they find different things.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "verifica/campi.h"
#include "verifica/codice_fiscale.h"
#include "verifica/testi.h"

namespace quibold::controllo {

// Whether the text holds a control character, sixteen bytes at a time where the machine can.
inline bool HaControllo(std::string_view t) {
  size_t i = 0;
#if defined(__SSE2__)
  __m128i minimo = _mm_set1_epi8(static_cast<char>(0xFF)), canc = _mm_setzero_si128();
  auto sedici = [&](size_t da) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t.data() + da));
    minimo = _mm_min_epu8(minimo, v);
    canc = _mm_or_si128(canc, _mm_cmpeq_epi8(v, _mm_set1_epi8(0x7F)));
  };
  for (; i + 64 <= t.size(); i += 64) {
    sedici(i);
    sedici(i + 16);
    sedici(i + 32);
    sedici(i + 48);
  }
  for (; i + 16 <= t.size(); i += 16) sedici(i);
  const __m128i sotto = _mm_cmpeq_epi8(_mm_max_epu8(minimo, _mm_set1_epi8(0x1F)), _mm_set1_epi8(0x1F));
  if (_mm_movemask_epi8(_mm_or_si128(sotto, canc)) != 0) return true;
#endif
  for (; i < t.size(); ++i) {
    if (Controllo(t[i])) return true;
  }
  return false;
}

inline constexpr uint64_t kOttoBianchi = 0x2020202020202020;

inline uint64_t Otto(const char* p) {
  uint64_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

// A field code: two capital letters, then six capital letters or digits.
#if defined(__SSE2__)
inline bool CodiceValido(const char* c) {
  // Bytes from 0x80 compare as negative: neither digits nor letters.
  const __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(c));
  auto tra = [&](char da, char a) {
    const __m128i dentro = _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(static_cast<char>(da - 1))),
                                         _mm_cmplt_epi8(v, _mm_set1_epi8(static_cast<char>(a + 1))));
    return static_cast<unsigned>(_mm_movemask_epi8(dentro)) & 0xFF;
  };
  const unsigned maiuscole = tra('A', 'Z');
  return (maiuscole | tra('0', '9')) == 0xFF && (maiuscole & 3) == 3;
}
#else
inline bool CodiceValido(const char* c) {
  auto maiuscola = [](char x) { return x >= 'A' && x <= 'Z'; };
  for (int i = 0; i < 8; ++i) {
    if (!maiuscola(c[i]) && (i < 2 || !Cifra(c[i]))) return false;
  }
  return true;
}
#endif

// The classes of the sixteen characters of a value area, bit i for character i.
struct Classi {
  unsigned cifre, bianchi, alti;  // digits, blanks, bytes from 0x80
};
#if defined(__SSE2__)
inline Classi ClassiValore(const char* valore) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(valore));
  auto uguali = [&](char c) { return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(c)))); };
  // Bytes from 0x80 compare as negative: below "0".
  const unsigned cifre = ~static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
                             _mm_cmplt_epi8(v, _mm_set1_epi8('0')), _mm_cmpgt_epi8(v, _mm_set1_epi8('9'))))) &
                         0xFFFF;
  return {cifre, uguali(' '), static_cast<unsigned>(_mm_movemask_epi8(v))};
}
#else
inline Classi ClassiValore(const char* valore) {
  Classi k{};
  for (unsigned i = 0; i < 16; ++i) {
    const auto c = static_cast<unsigned char>(valore[i]);
    k.cifre |= unsigned{Cifra(static_cast<char>(c))} << i;
    k.bianchi |= unsigned{c == ' '} << i;
    k.alti |= unsigned{c >= 0x80} << i;
  }
  return k;
}
#endif

// A number right-aligned up to bit `fine` (excluded): blanks, then at least one digit, zeros
// before the others allowed ("0000000000000", "            0", "  0036"), as the agency reads a
// number: the whole part of an amount, a whole amount, a field of digits.
[[gnu::always_inline]] inline bool CifreADestra(const Classi& k, int fine) {
  const unsigned tutte = (1u << fine) - 1;
  const int prima = std::countr_one(k.bianchi & tutte);
  return prima < fine && ((k.cifre & tutte) >> prima) == (tutte >> prima);
}
// A comma and two digits at the end of the value area: the form of an amount.
[[gnu::always_inline]] inline bool FormaImporto(const char* valore, const Classi& k) {
  return valore[13] == ',' && ((k.cifre >> 14) & 3) == 3;
}
// Its 13-character whole part: a number right-aligned.
[[gnu::always_inline]] inline bool ParteInteraValida(const Classi& k) { return CifreADestra(k, 13); }

// A field code as one machine word, so that codes compare in one step. The same bytes give the
// same word whatever the machine's byte order.
inline uint64_t Parola(std::string_view codice) {
  uint64_t p;
  std::memcpy(&p, codice.data(), sizeof p);
  return p;
}
constexpr uint64_t ParolaFissa(std::string_view codice) {
  uint64_t p = 0;
  for (size_t i = 0; i < 8; ++i) {
    const size_t spostamento = std::endian::native == std::endian::little ? 8 * i : 8 * (7 - i);
    p |= static_cast<uint64_t>(static_cast<unsigned char>(codice[i])) << spostamento;
  }
  return p;
}
// What a value area surely right for its kind looks like, in the classes of its characters: the
// test of the common kinds that every field passes through. A value that fails it, or of a kind
// without one, is looked at closely (and reported) by Verifica::Valore.
struct Rapida {
  enum Tipo : uint8_t { Ignoto, Testo, Importo, Intero, Cifre, Uno, Codice, Lettera, DueCaratteri, Data, Cf, Sempre };
  Tipo tipo = Sempre;
  unsigned bianchi = 0;  // the characters that must be blanks
  unsigned cifre = 0;    // the characters that must not be all blanks (Codice)
  uint32_t lettere = 0;  // the capital letters admitted, bit 0 for "A" (Lettera)
  [[gnu::always_inline]] bool DaGuardare(const char* valore, const Classi& k) const {
    const bool allineato = (k.bianchi & bianchi) == bianchi;
    switch (tipo) {
      case Ignoto: return k.bianchi == 0xFFFF || (FormaImporto(valore, k) && !ParteInteraValida(k));
      case Testo: return k.alti != 0 || k.bianchi == 0xFFFF;
      case Importo: return !FormaImporto(valore, k) || !ParteInteraValida(k);
      case Intero: return !CifreADestra(k, 16);
      case Cifre: return !allineato || !CifreADestra(k, 16);
      case Uno: return !allineato || valore[15] != '1';
      case Codice: return !allineato || (k.bianchi & cifre) == cifre;
      case Lettera: {
        const unsigned rango = static_cast<unsigned char>(valore[0]) - 'A';
        return !allineato || rango >= 26 || !((lettere >> rango) & 1);
      }
      case DueCaratteri: return !allineato || (k.bianchi & 3) != 0;
      case Data: return !allineato || !DataEsistente(std::string_view(valore + 8, 8));
      case Cf: return valore[0] == ' ' || ControllaCF(std::string_view(valore, 16)) != EsitoCF::Valido;
      case Sempre: break;
    }
    return true;
  }
};
constexpr Rapida RapidaDi(const campi::Formato& f) {
  using campi::Valore;
  const unsigned prima = f.larghezza > 0 ? (1u << (16 - f.larghezza)) - 1 : 0;  // the blanks before
  const unsigned dopo = 0xFFFF & ~prima;
  switch (f.valore) {
    case Valore::Ignoto: return {Rapida::Ignoto};
    case Valore::Testo: return {Rapida::Testo};
    case Valore::Importo: return {Rapida::Importo};
    case Valore::ImportoIntero: return {Rapida::Intero};
    case Valore::DueCaratteri: return {Rapida::DueCaratteri, 0xFFFC};
    case Valore::Data: return {Rapida::Data, 0x00FF};
    case Valore::CodiceFiscale: return {Rapida::Cf};
    case Valore::Lettera: {
      uint32_t lettere = 0;
      for (char c : f.ammessi) lettere |= 1u << (c - 'A');
      return {Rapida::Lettera, 0xFFFE, 0, lettere};
    }
    case Valore::Destra:
      if (f.ammessi == campi::kCifre) return {Rapida::Cifre, prima};
      if (f.ammessi == "1") return {Rapida::Uno, prima};
      if (f.ammessi.empty()) return {Rapida::Codice, prima, dopo};
      return {};
    default: return {};
  }
}

// The kinds of the fields the check knows: the distinct ones, 0 for a code it does not know.
struct Formati {
  std::array<campi::Formato, 32> formati{};
  std::array<Rapida, 32> rapide{RapidaDi({})};
  size_t quanti = 1;
  constexpr uint8_t Indice(const campi::Formato& f) {
    for (size_t i = 0; i < quanti; ++i) {
      if (formati[i] == f) return static_cast<uint8_t>(i);
    }
    formati[quanti] = f;
    rapide[quanti] = RapidaDi(f);
    return static_cast<uint8_t>(quanti++);
  }
};
// The codes of the fields the check knows, in a table of open addressing where a code is found
// in a step or two: its slot is the code's word times a multiplier, in the top ten bits.
struct TabellaCampi {
  static constexpr size_t kPosti = 1024;
  Formati tipi;
  std::array<uint64_t, kPosti> parole{};
  std::array<uint8_t, kPosti> formati{};
  static constexpr size_t Posto(uint64_t parola) { return ((parola ^ (parola >> 29)) * 0x9E3779B97F4A7C15) >> 54; }
  // The index of the code's kind in `tipi`; 0 when the check does not know it.
  constexpr uint8_t Cerca(uint64_t parola) const {
    for (size_t i = Posto(parola);; i = (i + 1) % kPosti) {
      if (parole[i] == parola) return formati[i];
      if (parole[i] == 0) return 0;
    }
  }
};
// Called only for a code of the table that is not of 8 characters or is there twice (whose second
// kind would never be read): not constexpr, so that the build stops and names the fault.
inline void CodiceNotoNonValidoODoppio() {}

inline constexpr TabellaCampi kCampi = [] {
  TabellaCampi t;
  static_assert(std::size(campi::kCampiNoti) < TabellaCampi::kPosti / 2);
  for (const campi::CampoNoto& c : campi::kCampiNoti) {
    if (c.codice.size() != 8 || t.Cerca(ParolaFissa(c.codice)) != 0) CodiceNotoNonValidoODoppio();
    const uint64_t parola = ParolaFissa(c.codice);
    size_t i = TabellaCampi::Posto(parola);
    while (t.parole[i] != 0) i = (i + 1) % TabellaCampi::kPosti;
    t.parole[i] = parola;
    t.formati[i] = t.tipi.Indice(c.formato);
  }
  return t;
}();

}  // namespace quibold::controllo
