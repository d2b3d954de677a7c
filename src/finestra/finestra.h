// The main window: the controls laid out as designed, mirroring the window state and handing
// every user event to it. The window keeps no state of its own beyond what it shows.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include "ui/stato.h"

class QComboBox;
class QFrame;
class QIcon;
class QLabel;
class QLineEdit;
class QScrollArea;
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

  // Fits the window to `spazio`, the room a screen leaves it (its frame and the taskbar
  // excluded): the designed size, fixed, where that fits; else as much as the room gives, with
  // the client area scrolling inside and the status bar below it, and the user may resize it.
  void AdattaA(QSize spazio);

 protected:
  bool event(QEvent* evento) override;
  bool eventFilter(QObject* oggetto, QEvent* evento) override;

 private:
  int Px(int twips) const;
  // Fits the window to the free area of the screen it is on, and keeps it whole there.
  void AdattaAlloSchermo();
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
  // The focus left `campo` (for `motivo`): a field's text refused is said, and the Tab key keeps
  // the focus in it.
  void Lasciato(QObject* campo, Qt::FocusReason motivo);
  void AdattaLimite(int indice);
  void CampoModificato(int indice, const QString& testo);
  void AggiornaLista();
  void AggiornaCombo1();
  // The status bar's tooltip and description: its whole text, when the bar cuts it.
  void SuggerimentoBarra();

  StatoFinestra& stato_;
  double scala_ = 1.0;  // pixels per twip

  QScrollArea* scorrimento_ = nullptr;  // holds the client area: everything but the status bar
  QWidget* area_ = nullptr;             // the client area, always of the designed size
  bool adattataConCornice_ = false;     // fitted again once its frame was known

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
  // The field that has just got the focus by a click, until the click ends.
  QPointer<QObject> fuocoDaClic_;
};

// The program's icon, in every size drawn for it.
QIcon IconaProgramma();

// Where a window may be on its screen (a box not shown yet: its parent's): the screen's free area
// (its taskbar excluded) and the frame the desktop draws around the window, its own once the
// desktop has drawn it (`mostrata`), until then room for a common title bar and borders. Nothing
// when it is on no screen.
struct PostoSulloSchermo {
  QRect libero;
  QMargins cornice;
  bool mostrata = false;
  QSize spazio() const { return libero.size().shrunkBy(cornice); }
};
std::optional<PostoSulloSchermo> PostoDi(const QWidget* finestra);

}  // namespace quibold
