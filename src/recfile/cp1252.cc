#include "recfile/cp1252.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

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

// A conversion opened once per thread and direction, and set back to its initial state at each use.
class Conversione {
 public:
  Conversione(const char* verso, const char* da) : cd_(iconv_open(verso, da)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv: conversione non disponibile");
  }
  ~Conversione() { iconv_close(cd_); }
  Conversione(const Conversione&) = delete;
  Conversione& operator=(const Conversione&) = delete;
  iconv_t Pronta() {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    return cd_;
  }

 private:
  iconv_t cd_;
};

// One iconv conversion, calling `inconvertibile` for each input sequence iconv rejects: `passo`
// bytes at a time, or (0) a UTF-8 character or a single malformed byte.
template <typename Sostituto>
std::string Converti(Conversione& conversione, std::string_view testo, size_t passo, Sostituto inconvertibile) {
  iconv_t cd = conversione.Pronta();
  std::string uscita;
  uscita.reserve(testo.size() * 2);
  char* in = const_cast<char*>(testo.data());
  size_t restano = testo.size();
  char blocco[256];
  while (restano > 0) {
    char* out = blocco;
    size_t spazio = sizeof blocco;
    size_t r = iconv(cd, &in, &restano, &out, &spazio);
    uscita.append(blocco, static_cast<size_t>(out - blocco));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      // EILSEQ or EINVAL: skip the offending sequence.
      const size_t salto = passo != 0 ? passo : LunghezzaUtf8(std::string_view(in, restano));
      inconvertibile(uscita, std::string_view(in, salto));
      in += salto;
      restano -= salto;
    }
  }
  return uscita;
}

}  // namespace

std::string Utf8DaCp1252(std::string_view testo) {
  thread_local Conversione daCp1252("UTF-8", "WINDOWS-1252");
  return Converti(daCp1252, testo, 1, [](std::string& u, std::string_view byte) {
    unsigned char b = static_cast<unsigned char>(byte[0]);  // 0x81, 0x8D, 0x8F, 0x90, 0x9D
    u += static_cast<char>(0xC0 | (b >> 6));
    u += static_cast<char>(0x80 | (b & 0x3F));
  });
}

std::string Cp1252DaUtf8(std::string_view testo) {
  thread_local Conversione versoCp1252("WINDOWS-1252", "UTF-8");
  return Converti(versoCp1252, testo, 0, [](std::string& u, std::string_view sequenza) {
    // The C1 controls that Windows-1252 leaves undefined round-trip to their own byte.
    if (sequenza.size() == 2 && static_cast<unsigned char>(sequenza[0]) == 0xC2) {
      unsigned char b = static_cast<unsigned char>(sequenza[1]);
      if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) {
        u += static_cast<char>(b);
        return;
      }
    }
    u += '?';
  });
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
