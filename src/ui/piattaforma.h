// What the window does to the world outside the program: hand the report to a text viewer and
// end the program. Tests put in their own, so that they never spawn or exit.
#pragma once

#include <filesystem>
#include <string>

namespace quibold {

class Piattaforma {
 public:
  virtual ~Piattaforma() = default;
  // Opens the written report in the text viewer (on Windows through its batch file, which starts
  // `visualizzatore`), without waiting for the viewer to end. Returns false, with the reason in
  // `motivo` (Windows-1252), when the viewer could not be started.
  [[nodiscard]] virtual bool ApriVisualizzatore(const std::filesystem::path& report, const std::filesystem::path& batch,
                                                const std::filesystem::path& visualizzatore, std::string& motivo) = 0;
  // Ends the program at once.
  virtual void Termina() = 0;
};

}  // namespace quibold
