// The message box of the window: the program's messages shown with QMessageBox.
#pragma once

#include <QPointer>
#include <QWidget>

#include "recfile/messaggi.h"

namespace quibold {

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
