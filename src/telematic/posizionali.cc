#include "telematic/posizionali.h"

#include <cassert>

#include "recfile/numeri.h"

namespace quibold::posizionali {
namespace {

// Appends `testo` cut or padded with blanks to `larghezza`.
void Accoda(std::string& r, std::string_view testo, size_t larghezza) {
  const size_t quanti = std::min(testo.size(), larghezza);
  r.append(testo.data(), quanti);
  r.append(larghezza - quanti, ' ');
}

// The text of `riempimento` before it is cut or padded to `larghezza`.
std::string Valore(const Riempimento& riempimento, size_t larghezza, const Fonti& f) {
  const auto campo = [&] { return f.campi.Valore(riempimento.fonte); };
  switch (riempimento.modo) {
    case Modo::Bianchi: return {};
    case Modo::Fisso: return std::string(riempimento.testo);
    case Modo::Testo: return std::string(campo());
    case Modo::Numero: return ConZeri(campo(), larghezza);
    case Modo::NumeroOZeri: return ValoreNumerico(campo()) == 0 ? std::string(larghezza, '0') : std::string(campo());
    case Modo::SegnoX: return campo() == "X" ? "1" : "0";
    case Modo::SeFornitura: return f.tipoFornitura == riempimento.testo ? "1" : "0";
    case Modo::Operazione: return f.tipoFornitura == "A" || f.tipoFornitura == "S" ? std::string(f.tipoFornitura) : "";
    case Modo::Conteggio:
      assert(f.scrittore);  // REQUIRES: a writer to count the records of
      return ConZeri(std::to_string(f.scrittore->Conteggio(riempimento.testo[0])), larghezza);
    case Modo::Progressivo: return ConZeri(f.progressivo, larghezza);
  }
  return {};
}

}  // namespace

std::string Componi(std::span<const Posizionale> righe, const Fonti& fonti) {
  const bool personaFisica = fonti.campi.testata[kPersonaFisica] == "D";
  std::string r;
  r.reserve(righe.empty() ? 0 : static_cast<size_t>(righe.back().zona.ultima()));
  for (const Posizionale& p : righe) {
    const auto larghezza = static_cast<size_t>(p.zona.lunghezza);
    const Riempimento& riempimento = personaFisica ? p.perPersonaFisica : p.riempimento;
    if (riempimento.modo == Modo::Testo) {
      Accoda(r, fonti.campi.Valore(riempimento.fonte), larghezza);  // the common case, without a copy
    } else {
      Accoda(r, Valore(riempimento, larghezza, fonti), larghezza);
    }
  }
  return r;
}

}  // namespace quibold::posizionali
