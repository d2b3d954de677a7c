// The walk over the employee file: record D and the G records of each employee.
#pragma once

#include "telematic/scrittore.h"

namespace quibold {

// Whether the run writes one employee only (cancellation, replacement, single certification).
bool ModalitaSingola(const ImpostazioniTelematico& impostazioni);

// Writes the employees after the header records, reading them through `canali` (which also
// asks the confirmation questions); stops (ArrestoScrittura) as the run must.
void ScriviDipendenti(Scrittore& s, Canali& canali, const ImpostazioniTelematico& impostazioni, Testata& testata,
                      long numeroDipendenti);

}  // namespace quibold
