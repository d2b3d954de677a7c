// The main window's state and procedures, without the toolkit: the texts and enabled states of
// the fields, the lists, the status bar and progress caption, and what each event of the window
// does. The Qt window mirrors this state; the command line drives it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "recfile/canali.h"
#include "telematic/telematico.h"
#include "ui/piattaforma.h"

namespace quibold {

// What each input field of the window holds, by its index in `Tx`.
enum CampoFinestra : uint8_t {
  kTxCodice = 0,           // the certification's code
  kTxTipoFornitura = 1,    // "N" normal, "A" cancellation, "S" replacement
  kTxProtocollo = 2,       // the protocol of the supply to cancel or replace (17)
  kTxProgressivo = 3,      // its progressive number (6)
  kTxRecord = 4,           // the record of the one employee of a cancellation, replacement or single supply
  kTxCartella = 5,         // drive and folder of the telematic file
  kTxNomeFile = 6,         // its name
  kTxCfIntermediario = 7,  // shown only: the header's
  kTxTipoImpegno = 8,      // the commitment to transmit, when the header has none
  kTxDataImpegno = 9,
  kTxCellulare = 10,  // shown only: the header's
  kTxEmail = 11,      // shown only: the header's
  kNumTx = 12,
};

class StatoFinestra {
 public:
  StatoFinestra(Canali& canali, Piattaforma& piattaforma);

  // --- What the controls show (texts are Windows-1252 bytes) ---
  std::array<std::string, kNumTx> Tx;  // the input fields, by CampoFinestra
  std::array<bool, kNumTx> TxAbilitato{};
  std::vector<std::string> lista;          // the certifications found: "code name-name"
  std::string CertificazioneMostrata;      // the text in the list's box
  std::vector<std::string> TipiFornitura;  // the supply types offered (control Combo1)
  int TipoScelto = -1;                     // the one chosen, -1 for none
  bool DatiVisibili = false;               // the certification's data (frame Frame1)
  std::string BarraDiStato;                // the help or progress text (StatusBar1)
  std::string Avanzamento;                 // the caption of a run in progress (Label17)

  // --- Window-level values ---
  std::array<int, 1000> ElencoCodici{};  // entry k of lista (from 1) is certification ElencoCodici[k]
  int NumeroCodici = 0;
  std::string CodiceCU;
  int16_t FlagSingola = 0;
  int16_t FlagReport = 0;

  // --- Shared values ---
  std::string Disco;
  std::string PercorsoDati;
  std::string TestoMessaggio;

  // The run's header fields and totals, filled by the writer and printed by the report.
  StatoRun run;

  // --- Procedures ---
  void Messaggio(std::string_view testo);  // shows `testo` in the status bar
  // Shows the help text of field `indice`, unless the status bar holds the warnings of a run or
  // the refusal of a date.
  void messaggi(int indice);
  // The focus leaves field `indice`: false, after the status bar says why, when its text is
  // refused (a date that does not exist).
  [[nodiscard]] bool LasciaCampo(int indice);
  // The window opening: from the design state, every step of the start-up in order.
  void Apertura();
  // The window as the opening of `aperta` left it, every value above included, without reading
  // the archive again: a batch opens the archive once and starts each certification from there.
  void AperturaCome(const StatoFinestra& aperta);
  void ScegliCertificazione(int k);  // the k-th entry of the list, counted from 1
  // The text typed in the list's box, confirmed: when it begins with the code of a certification
  // of the list, that entry is chosen (ScegliCertificazione) and true returned; a code that the
  // list lacks is said in the status bar.
  bool ScegliCodiceDigitato(std::string_view testo);
  [[nodiscard]] bool ApriCU();  // opens the certification in Tx(kTxCodice); false after a message (Command1)
  // The k-th supply type, counted from 0: its letter, the single certification set for "T" and
  // cleared for any other, fields 2 to 4 enabled for "A", "S" and "T" and disabled for "N".
  void ScegliTipoFornitura(int k);
  void ChiediReport();  // the report question (Command5)
  // What the creation run is asked to make, from the fields.
  ImpostazioniTelematico Impostazioni();
  // The creation run (Command2). True when the file was written completely.
  [[nodiscard]] bool Crea();
  void Esci();  // ends the program (Command3)

  // Called whenever the state changed outside an event of the view (the progress caption
  // during a run, the re-opening after it), so that the view can mirror it at once.
  std::function<void()> Cambiata;
  // Whether the last run asked for the report and it reached its viewer (StampaReport).
  bool ReportConsegnato = false;
  // Whether a complete run without report opens the window anew, as the window does; a batch
  // that drops each certification's state once its file is made does not.
  bool RiapreDopoCreazione = true;
  // Whether a box tells where the report was written once its viewer took it, as the window
  // does before it ends; the command line prints the path itself.
  bool DiceDoveIlReport = true;

  // A field's help text and its most characters (0: no limit), by CampoFinestra.
  static constexpr auto kAiuti = std::to_array<std::string_view>({
      "Inserire il codice della CU",
      "Tipo fornitura",
      "Protocollo 1 della CU da sostituire o annullare",
      "Protocollo 2 della CU da sostituire o annullare",
      "N.Record del Dipendente all'interno della C.U.",
      "Unita' e percorso del file",
      "Nome del file",
      "Codice fiscale Intermediario",
      "1=Dichiarazione predisposta dal Sostituto, 2=Da chi effettua l'invio",
      "Data dell'Impegno formato : ggmmaaaa",
      "Cellulare",
      "Indirizzo email",
  });
  static constexpr auto kLunghezzaMassima = std::to_array({60, 60, 17, 6, 3, 0, 0, 0, 1, 8, 60, 60});
  static_assert(kAiuti.size() == kNumTx && kLunghezzaMassima.size() == kNumTx, "a row for every field");
  // The fields that hold a date ggmmaaaa: they take digits only.
  static constexpr bool CampoData(int indice) { return indice == kTxDataImpegno; }
  // The digits of a date as typed or pasted ("31/01/2018" and "31-01-2018" give "31012018").
  static std::string SoloCifre(std::string_view testo);
  // Whether a date is refused: one that is given (it does not read as 0, as a blank field or
  // "00000000" does, which the run takes as missing) but is no day of the calendar as ggmmaaaa.
  static bool DataRifiutata(std::string_view data);

  Canali& canali() { return canali_; }
  Piattaforma& piattaforma() { return piattaforma_; }

 private:
  void StatoDiProgetto();
  void Notifica() {
    if (Cambiata) Cambiata();
  }
  void CopiaIntermediario(std::string_view testata);
  // ApriCU, with `poi` as the last line of a box that says why it stopped.
  bool ApriCertificazione(std::string_view poi);
  std::string VoceLista(std::string_view codice, std::string_view testata) const;

  Canali& canali_;
  Piattaforma& piattaforma_;
  bool avvisiInBarra_ = false;  // the status bar tells what the last run's check warned of
  bool dataInBarra_ = false;    // the status bar tells why the date left was refused
  std::string discoSegnalato_;  // the box of a drive file that could not be read, once shown
  // A certification was chosen in the list or opened since the window opened: CodiceCU is it.
  bool certificazioneScelta_ = false;
};

}  // namespace quibold
