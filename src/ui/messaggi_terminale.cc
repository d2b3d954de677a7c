#include "ui/messaggi_terminale.h"

#include <istream>
#include <ostream>
#include <string>

#include "recfile/cp1252.h"

namespace quibold {

std::string Stampabile(std::string_view testo, bool righe) {
  std::string t(testo);
  for (char& c : t) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (c == '\n' && righe) continue;
    if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) c = '?';
  }
  return t;
}

Risposta MessaggiTerminale::Mostra(std::string_view testo, std::string_view, Pulsanti pulsanti, Icona) {
  errori_ << Utf8DaCp1252(Stampabile(testo, pulsanti == Pulsanti::Ok));
  if (pulsanti == Pulsanti::Ok) {
    errori_ << '\n' << std::flush;
    return Risposta::Ok;
  }
  if (conferma_) {
    errori_ << (*conferma_ ? " si" : " no") << '\n' << std::flush;
    return *conferma_ ? Risposta::Si : Risposta::No;
  }
  if (!terminale_) {
    errori_ << " no\n" << std::flush;
    return Risposta::No;
  }
  errori_ << " [s/n] " << std::flush;
  std::string risposta;
  std::getline(ingresso_, risposta);
  return !risposta.empty() && (risposta[0] == 's' || risposta[0] == 'S' || risposta[0] == 'y' || risposta[0] == 'Y')
             ? Risposta::Si
             : Risposta::No;
}

}  // namespace quibold
