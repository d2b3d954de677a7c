// The severance-pay section (DF): what every employee gets, then blocks A and B.
#include <array>
#include <charconv>
#include <string>

#include "recfile/numeri.h"
#include "telematic/sezioni.h"

namespace quibold {
namespace {

using enum Regola;

// Written for every employee.
constexpr auto kTFR = std::to_array<Riga>({
    {"DF001801", C(448), Importo},
    {"DF001802", C(449), Importo},
    {"DF001803", C(450), Importo},
    {"DF001804", C(451), Importo},
    {"DF001806", C(453), Importo},
    {"DF001808", C(455), ImportoIntero},
    {"DF001809", C(456), Importo},
    {"DF001810", C(457), Importo},
    {"DF001811", C(458), Importo},
    {"DF001812", C(459), Importo},
    {"DF001813", C(460), Importo},
    {"DF001814", C(461), DestraSePositivo},
    {"DF001815", C(462), DestraSePositivo},
    {"DF001816", C(463), Importo},
    {"DF001817", C(464), ImportoIntero},
    {"DF001818", C(465), Flag},
    {"DF001819", C(466), CodiceFiscale},
});

// Written when `Campo` 488 is positive.
// clang-format off
constexpr auto kTFRBloccoA = std::to_array<Riga>({
    {"DF001A35", C(482), ImportoIntero},
    {"DF001B35", C(483), DueCifreSePositivo},
    {"DF001A36", C(494), ImportoIntero},
    {"DF001B36", C(495), DueCifreSePositivo},
    {"DF001A37", C(484), ImportoIntero},
    {"DF001B37", C(485), DueCifreSePositivo},
    {"DF001838", C(486), Importo},
    {"DF001839", C(488), Importo},
    {"DF001840", C(489), Importo},
    {"DF001841", C(490), LetteraABC},
    {"DF001842", C(491), ImportoIntero},
    {"DF001843", C(492), ImportoIntero},
    {"DF001844", C(493), Importo},
    {"DF001845", C(498), ImportoIntero},
    {"DF001846", C(499), Importo},
    {"DF001847", C(500), Importo},
    {"DF001848", C2(1), Importo},
    {"DF001849", C2(2), Importo},
    {"DF001850", C2(3), LetteraABC},
    {"DF001851", C2(4), Importo},
    {"DF001852", C2(5), ImportoIntero},
    {"DF001853", C2(6), CodiceFiscale},
});
// clang-format on

// Written when `Campo2` 17 is positive.
constexpr auto kTFRBloccoB = std::to_array<Riga>({
    {"DF001854", C2(7), Flag},
    {"DF001855", C2(8), Flag},
    {"DF001856", C2(9), CodiceFiscale},
    {"DF001A57", C2(10), ImportoIntero},
    {"DF001B57", C2(11), DueCifreSePositivo},
    {"DF001A58", C2(12), ImportoIntero},
    {"DF001B58", C2(13), DueCifreSePositivo},
    {"DF001A59", C2(14), DueCifreSePositivo},
    {"DF001B59", C2(15), DueCifreSePositivo},
    {"DF001860", C2(16), Importo},
    {"DF001861", C2(17), Importo},
    {"DF001862", C2(18), Importo},
    {"DF001863", C2(19), LetteraABC},
    {"DF001864", C2(20), ImportoIntero},
    {"DF001865", C2(21), ImportoIntero},
    {"DF001866", C2(22), Importo},
    {"DF001867", C2(23), ImportoIntero},
    {"DF001868", C2(24), Importo},
    {"DF001869", C2(25), Importo},
    {"DF001870", C2(26), LetteraABC},
    {"DF001871", C2(27), Importo},
    {"DF001872", C2(28), ImportoIntero},
    {"DF001873", C2(29), CodiceFiscale},
    {"DF001894", C2(52), Importo},
    {"DF001895", C2(53), Flag},
    {"DF001A96", C2(54), Importo},
    {"DF001B96", C2(55), LetteraAB},
    {"DF001A97", C2(56), Importo},
    {"DF001B97", C2(57), LetteraAB},
    {"DF001898", C2(58), Importo},
    {"DF001899", C2(59), Importo},
    {"DF001900", C2(60), Importo},
    {"DF001901", C2(61), Importo},
    {"DF001902", C2(62), Importo},
    {"DF001903", C2(63), Importo},
    {"DF001905", C2(65), Importo},
    {"DF001907", C2(67), Importo},
    {"DF001908", C2(68), Importo},
    {"DF001909", C2(69), Importo},
    {"DF001910", C2(70), Importo},
    {"DF001911", C2(71), Importo},
    {"DF001914", C2(72), Importo},
    {"DF001915", C2(73), Importo},
    {"DF001916", C2(74), ImportoIntero},
    {"DF001920", C2(103), Importo},
});

// The text of a number as the archive writes it, "." as decimal point, whatever the locale.
// Always in plain digits: an exponent ("1e+05") would read back as its first digits only.
std::string TestoNumero(double valore) {
  char testo[400];  // room for any double in plain digits
  auto r = std::to_chars(testo, testo + sizeof testo, valore, std::chars_format::fixed);
  return std::string(testo, r.ptr);
}

}  // namespace

std::vector<TabellaRighe> TabelleTFR() {
  return {{"kTFR", kTFR}, {"kTFRBloccoA", kTFRBloccoA}, {"kTFRBloccoB", kTFRBloccoB}};
}

void SezioneTFR(Scrittore& s, const FontiDipendente& fonti) {
  Emetti(s, fonti, kTFR);
  if (Positivo(fonti.campi.Campo[488])) Emetti(s, fonti, kTFRBloccoA);

  const auto& campo2 = fonti.campi.Campo2;
  if (Positivo(campo2[17])) {
    // What is paid in the year ("DF001862") is at most the total less what was paid before.
    const double totale = ValoreNumerico(campo2[17]);
    const double pagato = ValoreNumerico(campo2[18]);
    const double anticipato = ValoreNumerico(campo2[22]);
    if (totale < pagato + anticipato) fonti.campi.SostituisciCampo2(18, TestoNumero(totale - anticipato));
    Emetti(s, fonti, kTFRBloccoB);
  }
}

}  // namespace quibold
