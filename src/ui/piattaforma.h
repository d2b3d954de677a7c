// What the window does to the world outside the program: hand the report to a text viewer and
// end the program. Tests put in their own, so that they never spawn or exit.
#pragma once

#include <filesystem>

namespace quibold {

class Piattaforma {
 public:
  virtual ~Piattaforma() = default;
  // Opens `file` in the desktop's text viewer, without waiting for it.
  virtual void ApriVisualizzatore(const std::filesystem::path& file) = 0;
  // Ends the program at once.
  virtual void Termina() = 0;
};

}  // namespace quibold
