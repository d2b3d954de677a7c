// The platform of a real run: the desktop's text viewer and the real end of the process.
#pragma once

#include "ui/piattaforma.h"

namespace quibold {

class PiattaformaSistema : public Piattaforma {
 public:
  // Starts xdg-open with the file as its one argument, never through a shell, without waiting.
  void ApriVisualizzatore(const std::filesystem::path& file) override;
  // Ends the process at once: no window events, no destructors.
  void Termina() override;
};

}  // namespace quibold
