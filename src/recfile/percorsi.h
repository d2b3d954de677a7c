// Windows paths on this machine. A drive "X:" is the folder "x" under the drive root; a path
// with no drive is on drive c; "\" and "/" both separate; existing names match case-insensitively,
// as on Windows; a native absolute path ("/...") is used as it is.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quibold {

// Whether two names are the same without regard to the case of the letters A-Z, as the file
// system of the archive compares them.
bool UgualiSenzaMaiuscole(std::string_view a, std::string_view b);

class Percorsi {
 public:
  explicit Percorsi(std::filesystem::path radice) : radice_(std::move(radice)) {}

  // The drive root: `opzione` when given, else $QUIBOLD_RADICE, else
  // ${XDG_DATA_HOME:-$HOME/.local/share}/quibold; made absolute.
  static std::filesystem::path RadiceDiSistema(std::string_view opzione = {});

  const std::filesystem::path& Radice() const { return radice_; }

  // The native path of a Windows path (Windows-1252 bytes); empty for a path holding a NUL.
  std::filesystem::path Nativo(std::string_view percorso) const;

  // True only for an ordinary file of exactly that name; a missing drive or folder answers false.
  bool EsisteFile(std::string_view percorso) const;

  // Remembers the native path of a Windows path that the caller has just resolved from a reading
  // of its folder, so that Nativo need not look its names up again; Dimentica drops them all.
  void Ricorda(std::string percorso, std::filesystem::path nativo) const;
  void Dimentica() const { ricordati_.clear(); }

  // An entry of a folder: its name, and whether it is an ordinary file when the reading of the
  // folder already tells (else, a link for instance, `ordinario` is unknown).
  struct Voce {
    std::string_view nome;
    std::optional<bool> ordinario;
  };
  // The entries of a native folder (neither "." nor ".."), from one reading of it; calls `voce`
  // for each until it returns false. False when the folder cannot be read.
  static bool Elenca(const std::filesystem::path& cartella, const std::function<bool(const Voce&)>& voce);

  // True when two native paths name the same file: the same file on disk when both exist (links,
  // hard links and case resolved), else the same path once resolved, without regard to case.
  static bool StessoFile(const std::filesystem::path& a, const std::filesystem::path& b);

 private:
  std::filesystem::path radice_;
  mutable std::unordered_map<std::string, std::filesystem::path> ricordati_;
};

}  // namespace quibold
