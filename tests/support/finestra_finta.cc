// Test support on Windows: a stand-in for the window's program. It writes the arguments it was
// given, as the program reads them (UTF-8), one a line, to "argomenti.txt" beside itself, and
// ends with status 5.
#include <fstream>

#include "sistema/sistema.h"

int main(int argc, char** argv) {
  const auto argomenti = quibold::ArgomentiUtf8(argc, argv);
  std::ofstream f(quibold::ProgrammaAccanto("quibold-finestra").parent_path() / "argomenti.txt", std::ios::binary);
  for (size_t k = 1; k < argomenti.size(); ++k) f << argomenti[k] << '\n';
  return 5;
}
