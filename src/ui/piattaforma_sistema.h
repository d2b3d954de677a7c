// The platform of a real run: the text viewer and the real end of the process.
#pragma once

#include <chrono>
#include <string>
#include <utility>

#include "ui/piattaforma.h"

namespace quibold {

class PiattaformaSistema : public Piattaforma {
 public:
  // On POSIX `lanciatore` is the program that hands a file to the desktop's viewer; one still
  // running after `attesa` counts as started. Windows runs the report's batch file instead.
  explicit PiattaformaSistema(std::string lanciatore = "xdg-open",
                              std::chrono::milliseconds attesa = std::chrono::milliseconds(1000))
      : lanciatore_(std::move(lanciatore)), attesa_(attesa) {}

  // POSIX: starts the launcher with the report as its one argument, never through a shell, and
  // waits at most `attesa` for it: one that cannot be started or ends in error within the wait
  // has failed. Windows: starts the batch file minimized, without waiting, when the viewer it
  // starts is there; else opens the report with the system's viewer of text files.
  bool ApriVisualizzatore(const std::filesystem::path& report, const std::filesystem::path& batch,
                          const std::filesystem::path& visualizzatore, std::string& motivo) override;
  // Ends the process at once: no window events, no destructors.
  void Termina() override;

 private:
  std::string lanciatore_;
  std::chrono::milliseconds attesa_;
};

}  // namespace quibold
