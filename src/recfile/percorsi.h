// Windows paths on this machine. A drive "X:" is the folder "x" under the drive root; a path
// with no drive is on drive c; "\" and "/" both separate; existing names match case-insensitively,
// as on Windows; a native absolute path ("/...") is used as it is.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quibold {

class Percorsi {
 public:
  explicit Percorsi(std::filesystem::path radice) : radice_(std::move(radice)) {}

  // The drive root: `opzione` when given, else $QUIBOLD_RADICE, else
  // ${XDG_DATA_HOME:-$HOME/.local/share}/quibold; made absolute.
  static std::filesystem::path RadiceDiSistema(std::string_view opzione = {});

  const std::filesystem::path& Radice() const { return radice_; }

  // The native path of a Windows path (Windows-1252 bytes).
  std::filesystem::path Nativo(std::string_view percorso) const;

  // True only for an ordinary file of exactly that name; a missing drive or folder answers false.
  bool EsisteFile(std::string_view percorso) const;

 private:
  std::filesystem::path radice_;
};

}  // namespace quibold
