// The seed cases of the fuzzer, from the sample archives: each sample certification worked in
// each supply mode, and the company's header with each of its employees alone.
#pragma once

#include <string>
#include <vector>

namespace quibold::collaudo {

struct Seme {
  std::string nome;  // a file name
  std::string dati;  // the case's bytes
};

std::vector<Seme> Semi();

}  // namespace quibold::collaudo
