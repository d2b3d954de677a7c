// The second fuzzer's entry point: every input is raw bytes for the check (see grezzo.h); a check
// that breaks one of its promises aborts, so that the fuzzer keeps the input that made it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/grezzo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t quanti) {
  static const std::vector<std::string> basi = quibold::collaudo::BasiValide();
  const auto violazioni = quibold::collaudo::ProvaControllo({reinterpret_cast<const char*>(dati), quanti}, basi);
  if (violazioni.empty()) return 0;
  for (const auto& v : violazioni) std::fprintf(stderr, "quibold_fuzz_verifica: %s\n", v.c_str());
  std::abort();
}
