#include "ui/piattaforma_sistema.h"

#include "recfile/cp1252.h"
#include "sistema/sistema.h"

namespace quibold {

bool PiattaformaSistema::ApriVisualizzatore(const std::filesystem::path& report, const std::filesystem::path& batch,
                                            const std::filesystem::path& visualizzatore, std::string& motivo) {
  std::string perche;
  if (ApriReport(report, batch, visualizzatore, lanciatore_, attesa_, perche)) return true;
  motivo = Cp1252DaUtf8(perche);
  return false;
}

void PiattaformaSistema::Termina() { TerminaSubito(0); }

}  // namespace quibold
