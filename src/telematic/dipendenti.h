// The walk over the employee file: record D and the G records of each employee.
#pragma once

#include "telematic/scrittore.h"

namespace quibold {

// Whether the run writes one employee only (cancellation, replacement, single certification).
bool ModalitaSingola(const DatiFinestra& finestra);

// Writes the employees after the header records; stops (ArrestoScrittura) as the run must.
void ScriviDipendenti(Scrittore& s, const DatiFinestra& finestra, Testata& testata,
                      long numeroDipendenti);

}  // namespace quibold
