// The window's own dialogs beside the message boxes: choosing a file and showing the view of a
// telematic file. The Qt window gives its own; the command line has none; tests put in theirs,
// which choose without a display.
#pragma once

#include <filesystem>
#include <optional>

namespace quibold {

class VistaFile;

class Dialoghi {
 public:
  virtual ~Dialoghi() = default;
  // The telematic file to check, chosen by the user from the folder `cartella` (native);
  // nothing when the user gives it up.
  [[nodiscard]] virtual std::optional<std::filesystem::path> ScegliTelematico(
      const std::filesystem::path& cartella) = 0;
  // Shows the view of a file in a window of its own, until the user closes it.
  virtual void MostraVista(VistaFile& vista) = 0;
  // Where to save the view's CSV, `proposto` offered; nothing when the user gives it up.
  [[nodiscard]] virtual std::optional<std::filesystem::path> ScegliCsv(const std::filesystem::path& proposto) = 0;
};

}  // namespace quibold
