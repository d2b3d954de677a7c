// Writes the fuzzer's seed cases into a folder: quibold_semi DIR
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "fuzz/semi.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "uso: quibold_semi DIR\n";
    return 2;
  }
  try {
    std::filesystem::create_directories(argv[1]);
    for (const auto& seme : quibold::collaudo::Semi()) {
      std::ofstream f(std::filesystem::path(argv[1]) / seme.nome, std::ios::binary | std::ios::trunc);
      f.write(seme.dati.data(), static_cast<std::streamsize>(seme.dati.size()));
      if (!f.flush()) throw std::runtime_error("impossibile scrivere " + seme.nome);
    }
  } catch (const std::exception& e) {
    std::cerr << "quibold_semi: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
