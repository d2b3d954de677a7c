// The main window: the controls laid out as designed, mirroring the window state and handing
// every user event to it. The window keeps no state of its own beyond what it shows.
#pragma once

#include <array>
#include <string>
#include <vector>

#include <QPointer>
#include <QWidget>

#include "ui/stato.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QStatusBar;

namespace quibold {

class FinestraPrincipale : public QWidget {
  Q_OBJECT

 public:
  explicit FinestraPrincipale(StatoFinestra& stato, QWidget* genitore = nullptr);
  ~FinestraPrincipale() override;

  FinestraPrincipale(const FinestraPrincipale&) = delete;
  FinestraPrincipale& operator=(const FinestraPrincipale&) = delete;

  // Copies the state into the controls: texts, enabled states, Frame1, both lists, the status
  // bar and the progress caption. A text is set only when it differs from the one shown.
  void Aggiorna();

 protected:
  bool eventFilter(QObject* oggetto, QEvent* evento) override;

 private:
  int Px(int twips) const;
  // The frame of that name, or the window itself for none.
  QWidget* Contenitore(const char* nome);
  void CreaControlli();
  void CreaPulsanti();
  void CreaCampo(int indice);
  // What the four buttons do.
  void ChiediReport();
  void ApriCertificazione();
  void CreaTelematico();
  void Esci();
  void MostraTesto(int indice);
  void AdattaLimite(int indice);
  void CampoModificato(int indice, const QString& testo);
  void AggiornaLista();
  void AggiornaCombo1();

  StatoFinestra& stato_;
  double scala_ = 1.0;  // pixels per twip

  std::array<QLineEdit*, kNumTx> tx_{};
  QFrame* frame1_ = nullptr;
  QComboBox* lista_ = nullptr;
  QComboBox* combo1_ = nullptr;
  QStatusBar* statusBar1_ = nullptr;
  QLabel* label17_ = nullptr;

  // The entries last put into the two lists, so that they are rebuilt only when they change.
  std::vector<std::string> listaMostrata_;
  std::vector<std::string> combo1Mostrata_;

  // The field that lost the focus only because the window was deactivated or a popup opened:
  // getting it back is not a new entry into the field.
  QPointer<QObject> fuocoSospeso_;
};

}  // namespace quibold
