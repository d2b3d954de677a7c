// The message box: every message of the program goes through this one interface, so that the
// window, the command line and the tests each show (or record) them in their own way.
#pragma once

#include <string_view>

namespace quibold {

enum class Pulsanti { Ok, SiNo };
enum class Icona { Nessuna, Errore };
enum class Risposta { Ok, Si, No };

// The title of a message box that names none of its own.
inline constexpr std::string_view kTitoloProgramma = "quibold";
// The title of a box that says why a step stopped, with the error icon.
inline constexpr std::string_view kTitoloAccesso = "Accesso";

class FinestraMessaggi {
 public:
  virtual ~FinestraMessaggi() = default;
  // Shows `testo` (Windows-1252 bytes) and returns the button pressed; Ok for an OK box.
  virtual Risposta Mostra(std::string_view testo, std::string_view titolo, Pulsanti pulsanti, Icona icona) = 0;
  // The same with `dettagli`, a longer text that a box keeps after `testo` where it can be read
  // whole, selected and copied (the window's box shows it on request). A box without such a place
  // shows `testo` alone.
  virtual Risposta MostraConDettagli(std::string_view testo, std::string_view dettagli, std::string_view titolo,
                                     Pulsanti pulsanti, Icona icona) {
    static_cast<void>(dettagli);
    return Mostra(testo, titolo, pulsanti, icona);
  }
};

}  // namespace quibold
