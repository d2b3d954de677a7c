// The command line: `quibold [--radice DIR]` opens the window; `quibold crea ...` runs the
// creation without a window, driving the same window state.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>

namespace quibold {

struct Terminale {
  std::ostream& uscita;
  std::ostream& errori;
  std::istream& ingresso;
  bool interattivo;  // whether `ingresso` is a terminal that can answer questions
};

// Runs the command line; `finestra` opens the window on a drive root and returns the exit
// status (absent when the program has no window). Returns the exit status: 0 done, 1 the run
// stopped, 2 a usage error.
int EseguiRigaComando(int argc, const char* const* argv, Terminale terminale,
                      const std::function<int(const std::filesystem::path&)>& finestra);

}  // namespace quibold
