// Message boxes on a terminal: each text on one line of the error stream (UTF-8); a Yes/No
// question is answered by a fixed answer, else at the terminal when there is one, else No.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "recfile/messaggi.h"

namespace quibold {

// The text with every control character made a "?": archive text quoted in a message must not
// break its line nor reach the terminal as a control sequence. Besides the C0 controls and DEL,
// the five bytes that Windows-1252 leaves undefined would become C1 controls. A message that
// only informs may have lines of its own (`righe`: the findings of the check, a line each); a
// question quotes archive text, and stays on its line.
std::string Stampabile(std::string_view testo, bool righe);

class MessaggiTerminale : public FinestraMessaggi {
 public:
  MessaggiTerminale(std::ostream& errori, std::istream& ingresso, bool terminale, std::optional<bool> conferma)
      : errori_(errori), ingresso_(ingresso), terminale_(terminale), conferma_(conferma) {}

  Risposta Mostra(std::string_view testo, std::string_view titolo, Pulsanti pulsanti, Icona icona) override;

 private:
  std::ostream& errori_;
  std::istream& ingresso_;
  bool terminale_;
  std::optional<bool> conferma_;
};

}  // namespace quibold
