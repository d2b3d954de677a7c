// The DN section: nineteen codes of two characters, each written when it trims to two.
#include <array>

#include "telematic/sezioni.h"

namespace quibold {
namespace {

using enum Regola;

// clang-format off
constexpr auto kDN = std::to_array<Riga>({
    {"DN001001", C2(75), TestoDueCaratteri},
    {"DN001002", C2(76), TestoDueCaratteri},
    {"DN001003", C2(77), TestoDueCaratteri},
    {"DN001004", C2(78), TestoDueCaratteri},
    {"DN001005", C2(79), TestoDueCaratteri},
    {"DN001006", C2(80), TestoDueCaratteri},
    {"DN001007", C2(81), TestoDueCaratteri},
    {"DN001008", C2(82), TestoDueCaratteri},
    {"DN001009", C2(83), TestoDueCaratteri},
    {"DN001010", C2(84), TestoDueCaratteri},
    {"DN001011", C2(85), TestoDueCaratteri},
    {"DN001012", C2(86), TestoDueCaratteri},
    {"DN001013", C2(87), TestoDueCaratteri},
    {"DN001014", C2(88), TestoDueCaratteri},
    {"DN001015", C2(89), TestoDueCaratteri},
    {"DN001016", C2(90), TestoDueCaratteri},
    {"DN001017", C2(91), TestoDueCaratteri},
    {"DN001018", C2(92), TestoDueCaratteri},
    {"DN001019", C2(93), TestoDueCaratteri},
});
// clang-format on

}  // namespace

std::vector<TabellaRighe> TabelleDN() { return {{"kDN", kDN}}; }

void SezioneDN(Scrittore& s, const FontiDipendente& fonti) { Emetti(s, fonti, kDN); }

}  // namespace quibold
