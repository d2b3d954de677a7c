#include "finestra/applicazione_qt.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "finestra/finestra.h"

namespace quibold {

bool TestiQtInItaliano(QApplication& applicazione, const QString& cartella) {
  auto* traduzione = new QTranslator(&applicazione);
  if (!traduzione->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"), QStringLiteral("_"),
                        cartella)) {
    delete traduzione;
    return false;
  }
  QApplication::installTranslator(traduzione);
  return true;
}

void PreparaApplicazione(QApplication& applicazione) {
  const QString cartella = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!TestiQtInItaliano(applicazione, cartella)) {
    qWarning("quibold: traduzione italiana dei testi di Qt non trovata in %s", qPrintable(cartella));
  }
  // The desktop matches the window with the menu entry quibold.desktop by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("quibold"));
  QApplication::setWindowIcon(IconaProgramma());
}

}  // namespace quibold
