#include "recfile/numeri.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <system_error>

namespace quibold {

namespace {

// The floor of a finite double, without a library call where a whole number of 63 bits holds it.
inline double Intero(double x) {
  if (!(std::fabs(x) < 0x1p62)) return std::floor(x);
  const double t = static_cast<double>(static_cast<long long>(x));
  return t > x ? t - 1 : t;
}

// The general reading: the digits gathered and handed to the library's correctly rounded
// conversion; a longer run of integer digits keeps its magnitude through an exponent, so that
// the value never silently shrinks.
double ValoreGenerale(std::string_view testo) {
  constexpr size_t kCapienza = 96;
  char cifre[kCapienza + 24];
  size_t n = 0;
  long scartate = 0;  // integer digits that did not fit
  bool negativo = false, segno = false, punto = false, numero = false;
  for (char c : testo) {
    if (c == ' ' || c == '\t' || c == '\n') continue;
    if ((c == '+' || c == '-') && !segno && !numero && !punto) {
      segno = true;
      negativo = c == '-';
      continue;
    }
    if (c >= '0' && c <= '9') {
      numero = true;
      if (n < kCapienza) {
        cifre[n++] = c;
      } else if (!punto) {
        ++scartate;
      }
      continue;
    }
    if (c == '.' && !punto) {
      punto = true;
      if (n < kCapienza) cifre[n++] = '.';
      continue;
    }
    break;
  }
  if (!numero) return 0.0;
  if (scartate > 0) {
    cifre[n++] = 'e';
    n = static_cast<size_t>(std::to_chars(cifre + n, cifre + sizeof cifre, scartate).ptr - cifre);
  }
  double valore = 0.0;
  if (std::from_chars(cifre, cifre + n, valore).ec == std::errc::result_out_of_range) {
    valore = HUGE_VAL;  // too large for a double: it must not read as 0
  }
  return negativo ? -valore : valore;
}

// The digits of a number of at most 19 of them, read as ValoreNumerico reads: the digits as one
// whole number and how many of them follow the point.
struct Cifre {
  uint64_t mantissa = 0;
  int decimali = 0;
  bool negativo = false;
  bool nessuna = true;  // no digit at all: the text reads as 0
};

// Where the number of a text of the usual shape stands: digits, with at most one point among
// them, together between blanks. Positions from 0; `fine` is one past the last character.
struct Forma {
  int inizio = 0, fine = 0;
  int punto = -1;     // -1 for none
  bool vuota = true;  // no digit at all
};

#if defined(__SSE2__)
__extension__ typedef unsigned __int128 Parola16;  // 16 characters, the first in the lowest byte

// The whole number of the `quante` digits (at most 8) in the highest bytes of `x`, the first
// digit the lowest of them; what lies below them is taken as "0".
inline uint64_t CifreInAlto(uint64_t x, int quante) {
  if (quante <= 0) return 0;  // a point alone
  if (quante < 8) {
    const uint64_t davanti = (uint64_t{1} << (8 * (8 - quante))) - 1;
    x = (x & ~davanti) | (0x3030303030303030 & davanti);
  }
  x -= 0x3030303030303030;
  x = (x * 10 + (x >> 8)) & 0x00FF00FF00FF00FF;
  x = (x * 100 + (x >> 16)) & 0x0000FFFF0000FFFF;
  return (x * 10000 + (x >> 32)) & 0xFFFFFFFF;
}

// The whole number of the digits at [da, a) of the 16 characters, at most 8 of them.
inline uint64_t OttoCifre(Parola16 testo, int da, int a) {
  const uint64_t x =
      a >= 8 ? static_cast<uint64_t>(testo >> (8 * (a - 8))) : static_cast<uint64_t>(testo << (8 * (8 - a)));
  return CifreInAlto(x, a - da);
}

inline uint64_t SediciCifre(Parola16 testo, int da, int a) {
  if (a - da <= 8) return a > da ? OttoCifre(testo, da, a) : 0;
  return OttoCifre(testo, da, a - 8) * 100000000 + OttoCifre(testo, a - 8, a);
}

// The shape of a text of 8 to 16 characters, from the classes of all its characters at once;
// false for a text of another shape (or length).
bool FormaSemplice(std::string_view testo, Forma& f) {
  const size_t n = testo.size();
  if (n < 8 || n > 16) return false;
  constexpr uint64_t kBianchi = 0x2020202020202020;
  uint64_t primi, ultimi;
  std::memcpy(&primi, testo.data(), 8);
  std::memcpy(&ultimi, testo.data() + n - 8, 8);
  const unsigned resto = static_cast<unsigned>(n - 8);  // characters after the first eight
  const uint64_t secondi = resto == 0   ? kBianchi
                           : resto == 8 ? ultimi
                                        : (ultimi >> (8 * (8 - resto))) | (kBianchi << (8 * resto));
  const __m128i v = _mm_set_epi64x(static_cast<long long>(secondi), static_cast<long long>(primi));
  const unsigned non = static_cast<unsigned>(
      _mm_movemask_epi8(_mm_or_si128(_mm_cmplt_epi8(v, _mm_set1_epi8('0')), _mm_cmpgt_epi8(v, _mm_set1_epi8('9')))));
  const unsigned cifre = ~non & 0xFFFFu;
  const unsigned bianchi = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(' '))));
  const unsigned punto = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('.'))));
  const unsigned numero = cifre | punto;
  if ((numero | bianchi) != 0xFFFFu || (punto & (punto - 1)) != 0) return false;
  f.vuota = cifre == 0;
  if (numero == 0) return true;
  f.inizio = std::countr_zero(numero);
  const unsigned corsa = numero >> f.inizio;
  if ((corsa & (corsa + 1)) != 0) return false;  // blanks among the digits
  f.fine = 32 - std::countl_zero(numero);
  f.punto = punto == 0 ? -1 : std::countr_zero(punto);
  return true;
}

// An amount of 8 to 16 characters of the usual shape, read at once; false for any other text.
bool LeggiCifreInsieme(std::string_view testo, Cifre& c) {
  Forma f;
  if (!FormaSemplice(testo, f)) return false;
  c.nessuna = f.vuota;
  if (f.fine == 0) return true;
  const int inizio = f.inizio, fine = f.fine;
  if (fine - inizio <= 8) {
    // The usual amount: the run, point and all, in one word with its last character in the
    // highest byte (the run lies within the text, which has at least eight characters).
    uint64_t x;
    std::memcpy(&x, testo.data() + (fine >= 8 ? fine - 8 : 0), 8);
    if (fine < 8) x <<= 8 * (8 - fine);
    int quante = fine - inizio;
    if (f.punto >= 0) {
      // The characters before the point move up by one byte, over it.
      const int q = f.punto - (fine - 8);  // the point's byte in the word
      const uint64_t prima = q == 0 ? 0 : ~uint64_t{0} >> (64 - 8 * q);
      x = ((x & prima) << 8) | (x & ~(prima | (uint64_t{0xFF} << (8 * q))));
      c.decimali = fine - f.punto - 1;
      --quante;
    }
    c.mantissa = CifreInAlto(x, quante);
    return true;
  }
  // A longer number: the sixteen characters as one word.
  const size_t n = testo.size();
  char sedici[16];
  std::memset(sedici, ' ', sizeof sedici);
  std::memcpy(sedici, testo.data(), n);
  Parola16 parola;
  std::memcpy(&parola, sedici, sizeof parola);
  if (f.punto < 0) {
    c.mantissa = SediciCifre(parola, inizio, fine);
    return true;
  }
  static constexpr uint64_t kPotenze[] = {1,
                                          10,
                                          100,
                                          1000,
                                          10000,
                                          100000,
                                          1000000,
                                          10000000,
                                          100000000,
                                          1000000000,
                                          10000000000,
                                          100000000000,
                                          1000000000000,
                                          10000000000000,
                                          100000000000000,
                                          1000000000000000};
  c.decimali = fine - f.punto - 1;
  c.mantissa = SediciCifre(parola, inizio, f.punto) * kPotenze[c.decimali] + SediciCifre(parola, f.punto + 1, fine);
  return true;
}
#else
bool FormaSemplice(std::string_view, Forma&) { return false; }
#endif

// False when the number has more than 19 digits.
bool LeggiCifre(std::string_view testo, Cifre& c) {
#if defined(__SSE2__)
  if (LeggiCifreInsieme(testo, c)) return true;
#endif
  c = Cifre();
  int cifre = 0;
  bool segno = false, punto = false;
  for (char carattere : testo) {
    const unsigned cifra = static_cast<unsigned char>(carattere) - '0';
    if (cifra < 10) {
      if (++cifre > 19) return false;
      c.mantissa = c.mantissa * 10 + cifra;
      c.decimali += punto;
    } else if (carattere == ' ') {
      continue;
    } else if (carattere == '.' && !punto) {
      punto = true;
    } else if ((carattere == '+' || carattere == '-') && !segno && cifre == 0 && !punto) {
      segno = true;
      c.negativo = carattere == '-';
    } else if (carattere == '\t' || carattere == '\n') {
      continue;
    } else {
      break;
    }
  }
  c.nessuna = cifre == 0;
  return true;
}

}  // namespace

double ValoreNumerico(std::string_view testo) {
  // The common case: the digits as a whole number below 2^53 divided by an exact power of ten
  // is correctly rounded, the very double the general reading gives.
  static constexpr double kPotenze[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
                                        1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
  Cifre c;
  if (!LeggiCifre(testo, c) || c.mantissa >= (uint64_t{1} << 53)) return ValoreGenerale(testo);
  if (c.nessuna) return 0.0;
  const double valore = static_cast<double>(c.mantissa) / kPotenze[c.decimali];
  return c.negativo ? -valore : valore;
}

bool Positivo(std::string_view testo) {
  // Digits below 2^53 over a power of ten read above 0 exactly when they are not all zeros and
  // no minus sign stands before them.
  Cifre c;
  if (!LeggiCifre(testo, c) || c.mantissa >= (uint64_t{1} << 53)) return ValoreGenerale(testo) > 0;
  return !c.nessuna && !c.negativo && c.mantissa > 0;
}

bool CifreImporto(std::string_view testo, std::string_view& intere, std::array<char, 2>& centesimi) {
  Forma f;
  if (!FormaSemplice(testo, f)) return false;
  std::string_view cifre;
  char primo = '0', secondo = '0';
  if (!f.vuota) {
    const int fineIntere = f.punto >= 0 ? f.punto : f.fine;
    const int decimali = f.punto >= 0 ? f.fine - f.punto - 1 : 0;
    if (decimali > 2) return false;
    int i = f.inizio;
    while (i < fineIntere && testo[static_cast<size_t>(i)] == '0') ++i;
    if (fineIntere - i > 10) return false;  // ten billion or more
    cifre = std::string_view(testo.data() + i, static_cast<size_t>(fineIntere - i));
    if (decimali > 0) primo = testo[static_cast<size_t>(f.punto + 1)];
    if (decimali > 1) secondo = testo[static_cast<size_t>(f.punto + 2)];
  }
  intere = cifre;
  // The two digits in one store: the callers read them as one, and a read that spans two
  // stores waits for both to reach the cache.
  const unsigned a = static_cast<unsigned char>(primo), b = static_cast<unsigned char>(secondo);
  const auto due = static_cast<uint16_t>(std::endian::native == std::endian::little ? a | b << 8 : b | a << 8);
  std::memcpy(centesimi.data(), &due, sizeof due);
  return true;
}

double Arrotonda(double importo) {
  // An amount that already is a whole number of cents (the double nearest to m / 100, with
  // |m| below 10^12) comes out of the two stages as it went in: no product strays from its
  // whole number by more than a thousandth, far from the 0.499 added before each floor. The
  // stages give +0 for -0, and so does the sum.
  if (std::fabs(importo) < 1e10) {
    const double centesimi = importo * 100;
    const long long m = static_cast<long long>(centesimi < 0 ? centesimi - 0.5 : centesimi + 0.5);
    if (static_cast<double>(m) / 100 == importo) return importo + 0.0;
  }
  importo = importo * 1000;
  importo = Intero(importo + 0.499);
  importo = importo / 1000;
  importo = importo * 100;
  importo = Intero(importo + 0.499);
  importo = importo / 100;
  return importo;
}

std::string_view Rifilato(std::string_view testo) {
  size_t inizio = testo.find_first_not_of(' ');
  if (inizio == std::string_view::npos) return {};
  size_t fine = testo.find_last_not_of(' ');
  return testo.substr(inizio, fine - inizio + 1);
}

}  // namespace quibold
