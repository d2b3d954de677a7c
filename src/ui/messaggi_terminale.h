// Message boxes on a terminal: each text on one line of the error stream (UTF-8); a Yes/No
// question is answered by a fixed answer, else at the terminal when there is one, else No.
#pragma once

#include <iosfwd>
#include <optional>

#include "recfile/messaggi.h"

namespace quibold {

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
