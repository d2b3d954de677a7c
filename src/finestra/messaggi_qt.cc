#include "finestra/messaggi_qt.h"

#include <QMessageBox>
#include <QPushButton>
#include <QString>

#include "recfile/cp1252.h"

namespace quibold {

namespace {

QString Testo(std::string_view cp1252) { return QString::fromStdString(Utf8DaCp1252(cp1252)); }

// The closing message of a creation from the window: "OK", or "Mostra il file" to see the file
// just written.
Risposta ChiusuraConMostra(QWidget* genitore, std::string_view testo, std::string_view titolo, Icona icona) {
  QMessageBox box(genitore);
  box.setWindowTitle(Testo(titolo.empty() ? kTitoloProgramma : titolo));
  box.setTextFormat(Qt::PlainText);
  box.setText(Testo(testo));
  box.setIcon(icona == Icona::Errore ? QMessageBox::Critical : QMessageBox::NoIcon);
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  QPushButton* mostra = box.addButton(QStringLiteral("&Mostra il file"), QMessageBox::ActionRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
  return box.clickedButton() == mostra ? Risposta::MostraFile : Risposta::Ok;
}

}  // namespace

Risposta MessaggiQt::Mostra(std::string_view testo, std::string_view titolo, Pulsanti pulsanti, Icona icona) {
  if (pulsanti == Pulsanti::OkMostraFile) return ChiusuraConMostra(genitore_.data(), testo, titolo, icona);
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
  const int scelta = box.exec();
  if (pulsanti == Pulsanti::Ok) return Risposta::Ok;
  return scelta == QMessageBox::Yes ? Risposta::Si : Risposta::No;
}

}  // namespace quibold
