#include "telematic/posizionali.h"

#include <algorithm>
#include <cassert>
#include <string>

#include "recfile/numeri.h"

namespace quibold::posizionali {
namespace {

// Appends `testo` cut or padded with blanks to `larghezza`.
void Accoda(std::string& r, std::string_view testo, size_t larghezza) {
  const size_t quanti = std::min(testo.size(), larghezza);
  r.append(testo.data(), quanti);
  r.append(larghezza - quanti, ' ');
}

// The text of `riempimento` before it is cut or padded to `larghezza`: a field's or the row's own,
// or one made in `fatto`.
std::string_view Valore(const Riempimento& riempimento, size_t larghezza, const Fonti& f, std::string& fatto) {
  const auto campo = [&] { return f.campi.Valore(riempimento.fonte); };
  switch (riempimento.modo) {
    case Modo::Bianchi: return {};
    case Modo::Fisso: return riempimento.testo;
    case Modo::Testo: return campo();
    case Modo::Numero: return fatto = ConZeri(campo(), larghezza);
    case Modo::NumeroOZeri: return ValoreNumerico(campo()) == 0 ? fatto.assign(larghezza, '0') : campo();
    case Modo::SegnoX: return campo() == "X" ? "1" : "0";
    case Modo::SeFornitura: return f.tipoFornitura == riempimento.testo ? "1" : "0";
    case Modo::Operazione: return f.tipoFornitura == "A" || f.tipoFornitura == "S" ? f.tipoFornitura : "";
    case Modo::Conteggio:
      assert(f.scrittore);  // REQUIRES: the writer whose records are counted
      return fatto = ConZeri(std::to_string(f.scrittore->Conteggio(riempimento.testo[0])), larghezza);
    case Modo::Progressivo: return fatto = ConZeri(f.progressivo, larghezza);
  }
  return {};
}

}  // namespace

std::string Componi(std::span<const Posizionale> righe, const Fonti& fonti) {
  const bool personaFisica = fonti.campi.testata[kPersonaFisica] == "D";
  std::string r, fatto;
  r.reserve(righe.empty() ? 0 : static_cast<size_t>(righe.back().zona.ultima()));
  for (const Posizionale& p : righe) {
    const auto larghezza = static_cast<size_t>(p.zona.lunghezza);
    Accoda(r, Valore(personaFisica ? p.perPersonaFisica : p.riempimento, larghezza, fonti, fatto), larghezza);
  }
  return r;
}

}  // namespace quibold::posizionali
