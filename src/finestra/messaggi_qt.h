// The message box of the window: the program's messages shown with QMessageBox.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include "recfile/messaggi.h"

class QPlainTextEdit;

namespace quibold {

// A message with its details (the findings of a check that stopped a run): the message's first
// line beside its icon, then the rest of it and the details, in one area that takes the room,
// scrolls, and can be selected; "Copia" puts the whole text on the clipboard. The box is never
// larger than the free area of its screen, so that its buttons are always in sight.
class RiquadroDettagli : public QDialog {
  Q_OBJECT

 public:
  RiquadroDettagli(const QString& testo, const QString& dettagli, const QString& titolo, Icona icona,
                   QWidget* genitore = nullptr);

  // Fits the box to `spazio`, the room a screen leaves it (its frame excluded): as tall as its
  // text needs, up to that room, and as wide as a line of findings.
  void AdattaA(QSize spazio);

 protected:
  bool event(QEvent* evento) override;

 private:
  // Fits the box to the free area of the screen it is on, and keeps it whole there.
  void AdattaAlloSchermo();

  QPlainTextEdit* area_ = nullptr;
  QString intero_;  // the whole text, as "Copia" gives it
  bool adattatoConCornice_ = false;
};

class MessaggiQt : public FinestraMessaggi {
 public:
  explicit MessaggiQt(QWidget* genitore = nullptr) : genitore_(genitore) {}

  // The window the boxes are centred on and modal to; none until the main window exists.
  void ImpostaGenitore(QWidget* genitore) { genitore_ = genitore; }

  // Shows the box and waits for the answer. Closing a Yes/No box without choosing answers No.
  Risposta Mostra(std::string_view testo, std::string_view titolo, Pulsanti pulsanti, Icona icona) override;
  // The details in the box's own pane, opened by its button, where they can be selected and copied.
  Risposta MostraConDettagli(std::string_view testo, std::string_view dettagli, std::string_view titolo,
                             Pulsanti pulsanti, Icona icona) override;

 private:
  QPointer<QWidget> genitore_;
};

}  // namespace quibold
