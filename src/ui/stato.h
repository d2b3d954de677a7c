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

inline constexpr int kNumTx = 12;

class StatoFinestra {
 public:
  StatoFinestra(Canali& canali, Piattaforma& piattaforma);

  // --- Controls (texts are Windows-1252 bytes) ---
  std::array<std::string, kNumTx> Tx;
  std::array<bool, kNumTx> TxAbilitato{};
  std::vector<std::string> lista;        // entries of the certification list
  std::string listaTesto;                // text shown in the list's edit box
  std::vector<std::string> Combo1;       // supply types
  int Combo1Scelta = -1;                 // chosen entry, -1 for none
  bool Frame1Visibile = false;
  std::string StatusBar1;
  std::string Label17;                   // progress caption

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
  void Messaggio(std::string_view testo);
  void messaggi(int indice);
  // The window opening: from the design state, every step of the start-up in order.
  void Apertura();
  void SceltaLista(int k);   // k counted from 1
  void Command3();           // exit
  bool ApriCU();             // Command1: open the certification in Tx(0); false after a message
  void SceltaCombo1(int k);  // k counted from 0
  void Command5();           // report question
  // Creation run. Returns true when the file was written completely.
  bool Command2();

  // Called whenever the state changed outside an event of the view (the progress caption
  // during a run, the re-opening after it), so that the view can mirror it at once.
  std::function<void()> Cambiata;
  // Called when the run with report has written its files; the default is StampaReport.
  std::function<void()> Report;

  static const std::array<std::string_view, kNumTx> kAiuti;
  static constexpr int kLunghezzaMassima[kNumTx] = {60, 60, 17, 6, 3, 0, 0, 0, 1, 8, 60, 60};

  Canali& canali() { return canali_; }
  Piattaforma& piattaforma() { return piattaforma_; }

 private:
  void StatoDiProgetto();
  void Notifica() { if (Cambiata) Cambiata(); }
  void CopiaIntermediario(std::string_view testata);
  std::string VoceLista(std::string_view codice, std::string_view testata) const;

  Canali& canali_;
  Piattaforma& piattaforma_;
};

}  // namespace quibold
