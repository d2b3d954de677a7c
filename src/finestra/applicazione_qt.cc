#include "finestra/applicazione_qt.h"

#include <QApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QToolTip>
#include <QTranslator>

#include "finestra/finestra.h"

namespace quibold {

namespace {

// Every tooltip in the palette's tooltip colours. Windows' visual style gives a tooltip the text
// colour of its theme once it polishes it, whatever the background it draws: under Wine's theme,
// light grey on white.
class ColoriDeiSuggerimenti : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* oggetto, QEvent* evento) override {
    // Shown, the tooltip has been polished by the style (its Polish event reaches a filter first).
    if (evento->type() == QEvent::Show && oggetto->inherits("QTipLabel")) {
      static_cast<QWidget*>(oggetto)->setPalette(QToolTip::palette());
    }
    return QObject::eventFilter(oggetto, evento);
  }
};

}  // namespace

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
  applicazione.installEventFilter(new ColoriDeiSuggerimenti(&applicazione));
}

}  // namespace quibold
