// What the whole program's toolkit needs before the window opens.
#pragma once

#include <QString>

class QApplication;

namespace quibold {

// Loads the toolkit's own texts in Italian (context menus, standard dialogs) from `cartella`,
// whatever the system's language: the program speaks Italian only. False when the catalogue is
// not there; those texts then stay in English.
bool TestiQtInItaliano(QApplication& applicazione, const QString& cartella);

// The Italian texts from where the toolkit keeps its translations, the program's icon, the name
// under which the desktop's menu lists it, and tooltips in the palette's tooltip colours. A
// missing catalogue is reported on the error stream; the window opens all the same.
void PreparaApplicazione(QApplication& applicazione);

}  // namespace quibold
