// Windows paths on this machine. Under a drive root, a drive "X:" is the folder "x" of the root;
// a path with no drive is on drive c; "\" and "/" both separate; existing names match without
// regard to case, as on Windows. On POSIX a native absolute path ("/...") is used as it is; on
// Windows without a drive root the paths are the real drives', and a relative path is relative
// to the current folder with a drive root too.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "sistema/sistema.h"

namespace quibold {

// Whether two names are the same without regard to the case of the letters A-Z, as the file
// system of the archive compares them.
bool UgualiSenzaMaiuscole(std::string_view a, std::string_view b);

// Whether a path begins with a drive, "X:".
inline bool IniziaConUnita(std::string_view percorso) {
  return percorso.size() >= 2 && percorso[1] == ':' &&
         ((percorso[0] >= 'A' && percorso[0] <= 'Z') || (percorso[0] >= 'a' && percorso[0] <= 'z'));
}

// Whether the last name of a path is one that Windows keeps for a device, in any case and with
// any extension: CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9 (and with the superscript digits
// 1, 2 and 3), CONIN$, CONOUT$. Windows opens the device for it in every folder, so that it
// names no file.
bool NomeDiDispositivo(std::string_view percorso);

class Percorsi {
 public:
  // `radice` empty: the real drives (Windows only). Every file and name operation goes through
  // `sistema`.
  explicit Percorsi(std::filesystem::path radice, Sistema& sistema = SistemaReale())
      : radice_(std::move(radice)), sistema_(sistema) {}

  // The drive root: `opzione` when given (UTF-8), else $QUIBOLD_RADICE, else the system's default
  // (RadicePredefinita: none on Windows); made absolute.
  static std::filesystem::path RadiceDiSistema(std::string_view opzione = {});

  const std::filesystem::path& Radice() const { return radice_; }
  Sistema& sistema() const { return sistema_; }

  // The native path of a Windows path (Windows-1252 bytes); empty for a path holding a NUL.
  std::filesystem::path Nativo(std::string_view percorso) const;

  // True only for an ordinary file of exactly that name; a missing drive or folder answers false.
  bool EsisteFile(std::string_view percorso) const;

  // Remembers the native path of a Windows path that the caller has just resolved from a reading
  // of its folder, so that Nativo need not look its names up again; Dimentica drops them all.
  void Ricorda(std::string percorso, std::filesystem::path nativo) const;
  void Dimentica() const { ricordati_.clear(); }

  using Voce = VoceCartella;
  // The entries of a native folder (neither "." nor ".."), from one reading of it; calls `voce`
  // for each until it returns false. False when the folder cannot be read.
  [[nodiscard]] bool Elenca(const std::filesystem::path& cartella, const std::function<bool(const Voce&)>& voce) const {
    return sistema_.Elenca(cartella, voce);
  }

 private:
  std::filesystem::path radice_;
  Sistema& sistema_;
  mutable std::unordered_map<std::string, std::filesystem::path> ricordati_;
};

}  // namespace quibold
