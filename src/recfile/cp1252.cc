#include "recfile/cp1252.h"

#include <array>
#include <iterator>

namespace quibold {
namespace {

// The length of the well-formed UTF-8 sequence that `testo` begins with, or 1 when it does not
// begin with one: a character the code page lacks is passed over whole, a stray byte alone.
size_t LunghezzaUtf8(std::string_view testo) {
  const auto b = [&](size_t i) { return static_cast<unsigned char>(testo[i]); };
  const unsigned char lead = b(0);
  size_t lunghezza = 1;
  unsigned char minimo = 0x80, massimo = 0xBF;  // the bounds of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    lunghezza = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    lunghezza = 3;
    if (lead == 0xE0) minimo = 0xA0;   // no overlong forms
    if (lead == 0xED) massimo = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    lunghezza = 4;
    if (lead == 0xF0) minimo = 0x90;
    if (lead == 0xF4) massimo = 0x8F;  // nothing beyond U+10FFFF
  } else {
    return 1;
  }
  if (lunghezza > testo.size() || b(1) < minimo || b(1) > massimo) return 1;
  for (size_t i = 2; i < lunghezza; ++i) {
    if (b(i) < 0x80 || b(i) > 0xBF) return 1;
  }
  return lunghezza;
}

// The characters of the bytes 0x80-0x9F; every other byte is the character of the same number
// (ASCII below, Latin-1 above). The five bytes that the code page leaves undefined map to the
// control characters of the same value, as Windows does.
constexpr auto kDa80A9F = std::to_array<char16_t>({
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
});
static_assert(kDa80A9F.size() == 32);

void AccodaUtf8(std::string& u, char32_t c) {
  if (c < 0x80) {
    u += static_cast<char>(c);
  } else if (c < 0x800) {
    u += static_cast<char>(0xC0 | (c >> 6));
    u += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    u += static_cast<char>(0xE0 | (c >> 12));
    u += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    u += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The byte of a character, or '?' for one the code page lacks.
char ByteCp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (size_t k = 0; k < std::size(kDa80A9F); ++k) {
    if (kDa80A9F[k] == c) return static_cast<char>(0x80 + k);
  }
  return '?';
}

}  // namespace

std::string Utf8DaCp1252(std::string_view testo) {
  std::string u;
  u.reserve(testo.size() * 2);
  for (char c : testo) {
    const unsigned char b = static_cast<unsigned char>(c);
    AccodaUtf8(u, b >= 0x80 && b < 0xA0 ? kDa80A9F[b - 0x80] : b);
  }
  return u;
}

std::string Utf8Valido(std::string_view testo) {
  std::string u;
  u.reserve(testo.size());
  for (size_t i = 0; i < testo.size();) {
    const size_t n = LunghezzaUtf8(testo.substr(i));
    if (n > 1 || static_cast<unsigned char>(testo[i]) < 0x80) {
      u += testo.substr(i, n);
    } else {
      u += Utf8DaCp1252(testo.substr(i, 1));
    }
    i += n;
  }
  return u;
}

std::string Cp1252DaUtf8(std::string_view testo) {
  std::string t;
  t.reserve(testo.size());
  while (!testo.empty()) {
    // A malformed byte becomes one "?", and a character the code page lacks another, whole.
    const size_t n = LunghezzaUtf8(testo);
    char32_t c = static_cast<unsigned char>(testo[0]);
    if (n > 1) {
      c &= 0x3F >> (n - 1);
      for (size_t i = 1; i < n; ++i) c = (c << 6) | (static_cast<unsigned char>(testo[i]) & 0x3F);
    } else if (c >= 0x80) {
      c = U'?';
    }
    t += ByteCp1252(c);
    testo.remove_prefix(n);
  }
  return t;
}

char MaiuscolaCp1252(char c) {
  unsigned char b = static_cast<unsigned char>(c);
  if (b >= 'a' && b <= 'z') return static_cast<char>(b - 0x20);
  if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 0x20);
  switch (b) {
    case 0x9A: return static_cast<char>(0x8A);
    case 0x9C: return static_cast<char>(0x8C);
    case 0x9E: return static_cast<char>(0x8E);
    case 0xFF: return static_cast<char>(0x9F);
    default: return c;
  }
}

void MaiuscoloCp1252(std::string& testo) {
  for (char& c : testo) c = MaiuscolaCp1252(c);
}

}  // namespace quibold
