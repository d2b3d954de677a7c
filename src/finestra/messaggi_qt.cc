#include "finestra/messaggi_qt.h"

#include <QMessageBox>
#include <QPushButton>
#include <QString>

#include "recfile/cp1252.h"

namespace quibold {

namespace {

QString Testo(std::string_view cp1252) { return QString::fromStdString(Utf8DaCp1252(cp1252)); }

}  // namespace

Risposta MessaggiQt::Mostra(std::string_view testo, std::string_view titolo, Pulsanti pulsanti, Icona icona) {
  return MostraConDettagli(testo, {}, titolo, pulsanti, icona);
}

Risposta MessaggiQt::MostraConDettagli(std::string_view testo, std::string_view dettagli, std::string_view titolo,
                                       Pulsanti pulsanti, Icona icona) {
  QMessageBox box(genitore_.data());
  box.setWindowTitle(Testo(titolo.empty() ? kTitoloProgramma : titolo));
  // Messages carry file names and archive text: never read them as markup.
  box.setTextFormat(Qt::PlainText);
  box.setText(Testo(testo));
  if (!dettagli.empty()) box.setDetailedText(Testo(dettagli));
  box.setIcon(icona == Icona::Errore ? QMessageBox::Critical : QMessageBox::NoIcon);
  // The buttons are named here: the toolkit's own names follow its translations, which may
  // be missing or in another language.
  if (pulsanti == Pulsanti::SiNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("S\u00ec"));
    box.button(QMessageBox::No)->setText(QStringLiteral("No"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
  }
  // The closing message of a creation: the file just written can be shown from here.
  QPushButton* mostra = pulsanti == Pulsanti::OkMostraFile
                            ? box.addButton(QStringLiteral("&Mostra il file"), QMessageBox::ActionRole)
                            : nullptr;
  const int scelta = box.exec();
  if (mostra && box.clickedButton() == mostra) return Risposta::MostraFile;
  if (pulsanti != Pulsanti::SiNo) return Risposta::Ok;
  return scelta == QMessageBox::Yes ? Risposta::Si : Risposta::No;
}

}  // namespace quibold
