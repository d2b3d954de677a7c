// The view of a telematic file employee by employee, a window of its own: the supply's data, a
// table (a model over the rows of the view's state, sortable by any column, the sums row always
// last, the rows with errors marked), the check's findings of the selected row under it, "Salva
// come CSV..." and "Chiudi". And the window's dialogs that lead to it.
#pragma once

#include <QDialog>
#include <QPointer>

#include "ui/dialoghi.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace quibold {

class VistaFile;

class FinestraVista : public QDialog {
  Q_OBJECT

 public:
  explicit FinestraVista(VistaFile& vista, QWidget* genitore = nullptr);

  QTableView* tabella() const { return tabella_; }
  QPlainTextEdit* rilievi() const { return rilievi_; }
  // The row of the view's state shown at row `riga` of the table, as it is sorted.
  int RigaDellaVista(int riga) const;
  // Fits the window to `spazio`, the room the screen leaves it (its frame excluded).
  void AdattaA(QSize spazio);

 private:
  void MostraRilievi(int riga);

  VistaFile& vista_;
  QLabel* intestazione_ = nullptr;
  QTableView* tabella_ = nullptr;
  QSortFilterProxyModel* ordine_ = nullptr;
  QPlainTextEdit* rilievi_ = nullptr;
};

// The window's dialogs: Qt's own file dialogs (in Italian whatever the system's, as every text of
// the window), and the view, each modal to the main window.
class DialoghiQt : public Dialoghi {
 public:
  void ImpostaGenitore(QWidget* genitore) { genitore_ = genitore; }
  std::optional<std::filesystem::path> ScegliTelematico(const std::filesystem::path& cartella) override;
  void MostraVista(VistaFile& vista) override;
  std::optional<std::filesystem::path> ScegliCsv(const std::filesystem::path& proposto) override;

 private:
  QPointer<QWidget> genitore_;
};

}  // namespace quibold
