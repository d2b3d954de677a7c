// The fuzzer's entry point: every input is a case (see caso.h); a run that breaks one of its
// promises aborts, so that the fuzzer keeps the input that made it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/caso.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t quanti) {
  static const quibold::collaudo::Banco banco;  // one drive root for the whole process
  const auto esito = quibold::collaudo::ProvaCaso(banco, {reinterpret_cast<const char*>(dati), quanti});
  if (esito.violazioni.empty()) return 0;
  for (const auto& v : esito.violazioni) std::fprintf(stderr, "quibold_fuzz: %s\n", v.c_str());
  std::abort();
}
