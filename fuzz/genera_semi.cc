// Writes the seed cases of the fuzzers into folders: quibold_semi DIR [DIR-VERIFICA]. DIR gets the
// writer's cases; DIR-VERIFICA the check's: each telematic file that the writer makes of them,
// whole and with a few bytes damaged.
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "fuzz/grezzo.h"
#include "fuzz/semi.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::cerr << "uso: quibold_semi DIR [DIR-VERIFICA]\n";
    return 2;
  }
  auto scrivi = [](const std::filesystem::path& cartella, const std::string& nome, const std::string& dati) {
    std::ofstream f(cartella / nome, std::ios::binary | std::ios::trunc);
    f.write(dati.data(), static_cast<std::streamsize>(dati.size()));
    if (!f.flush()) throw std::runtime_error("impossibile scrivere " + nome);
  };
  try {
    std::filesystem::create_directories(argv[1]);
    for (const auto& seme : quibold::collaudo::Semi()) scrivi(argv[1], seme.nome, seme.dati);
    if (argc == 3) {
      std::filesystem::create_directories(argv[2]);
      const auto basi = quibold::collaudo::BasiValide();
      for (size_t k = 0; k < basi.size(); ++k) {
        scrivi(argv[2], "file-" + std::to_string(k), std::string(1, '\0') + basi[k]);
        // The base, then three bytes put in its first records: a type, a digit, a blank.
        scrivi(argv[2], "danni-" + std::to_string(k),
               std::string{'\1', static_cast<char>(k), 0, 0, 0, 'Q', 0, 0x07, 0x6C, 'x', 0, 0x0E, 0x20, ' '});
      }
    }
  } catch (const std::exception& e) {
    std::cerr << "quibold_semi: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
