// Code the build must refuse, a case at a time (tests/CMakeLists.txt names each case, the
// library whose place it takes and the compiler's reason).

// A layer reaches a layer it does not link: the header is not even found.
#if defined(NON_COMPILA_telematic_vede_ui)
#include "ui/stato.h"
#elif defined(NON_COMPILA_verifica_vede_telematic)
#include "telematic/scrittore.h"
#elif defined(NON_COMPILA_archive_vede_telematic)
#include "telematic/telematico.h"
#elif defined(NON_COMPILA_ui_vede_finestra)
#include "finestra/finestra.h"

// A table row that breaks the rules of the tables.
#else
#include "telematic/sezioni.h"

namespace quibold {
using enum Regola;
#if defined(NON_COMPILA_codice_di_sette)
constexpr Riga kRiga{"DB00100", C(22), Importo};
#elif defined(NON_COMPILA_campo_600)
constexpr Riga kRiga{"DB001001", C(600), Importo};
#elif defined(NON_COMPILA_campo_49)
constexpr Riga kRiga{"DB001001", C(49), Importo};
#elif defined(NON_COMPILA_campo2_104)
constexpr Riga kRiga{"DF001920", C2(104), Importo};
#elif defined(NON_COMPILA_totale_di_un_testo)
// A code that feeds a total, written as text.
constexpr Riga kRiga{"DB001001", C(22), TestoSePresente};
#endif
}  // namespace quibold
#endif
