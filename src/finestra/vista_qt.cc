#include "finestra/vista_qt.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QBrush>
#include <QDir>
#include <QFileDialog>
#include <QFont>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <QWindow>

#include "recfile/cp1252.h"
#include "ui/report.h"
#include "ui/vista_file.h"

namespace quibold {
namespace {

QString DaCp1252(std::string_view testo) { return QString::fromStdString(Utf8DaCp1252(testo)); }
QString DaPercorso(const std::filesystem::path& p) { return QString::fromStdString(Utf8DaPercorso(p)); }
// A path the file dialog chose, with the system's own separators ("\\" on Windows): the view
// names the file as the clerk knows such paths.
std::filesystem::path APercorso(const QString& p) { return PercorsoDaUtf8(QDir::toNativeSeparators(p).toStdString()); }

// The colours of the marked rows: the check found errors, only warnings, or the report's totals
// of the run that wrote the file count amounts the row's sums do not hold.
const QColor kConErrori(255, 205, 205);
const QColor kConAvvisi(255, 240, 190);
const QColor kDifferente(215, 225, 255);

// The view's rows, a column each of the view's columns; the text of a cell is made only when the
// table paints it, so that a file of any size opens at once.
class ModelloVista : public QAbstractTableModel {
 public:
  ModelloVista(const VistaFile& vista, QObject* genitore)
      : QAbstractTableModel(genitore), vista_(vista), separatore_(SeparatoreDecimaleDiSistema()) {}

  int rowCount(const QModelIndex& genitore) const override {
    return genitore.isValid() ? 0 : static_cast<int>(vista_.Righe());
  }
  int columnCount(const QModelIndex& genitore) const override {
    return genitore.isValid() ? 0 : static_cast<int>(ColonneVista().size());
  }

  QVariant headerData(int sezione, Qt::Orientation orientamento, int ruolo) const override {
    if (orientamento != Qt::Horizontal || ruolo != Qt::DisplayRole) return {};
    return QString::fromStdString(ColonneVista()[static_cast<size_t>(sezione)].titolo);
  }

  QVariant data(const QModelIndex& i, int ruolo) const override {
    const auto riga = static_cast<size_t>(i.row()), colonna = static_cast<size_t>(i.column());
    const Colonna& c = ColonneVista()[colonna];
    const bool numero = c.tipo >= TipoColonna::Totale;
    switch (ruolo) {
      case Qt::DisplayRole: return DaCp1252(vista_.Testo(riga, colonna, separatore_));
      case Qt::UserRole:  // what the column sorts by
        return numero ? QVariant(vista_.Numero(riga, colonna)) : QVariant(DaCp1252(vista_.Testo(riga, colonna, '.')));
      case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter | (numero ? Qt::AlignRight : Qt::AlignLeft));
      case Qt::BackgroundRole:
        if (vista_.RigaSomme(riga)) return {};
        if (vista_.ConErrori(riga)) return QBrush(kConErrori);
        if (vista_.Differente(riga)) return QBrush(kDifferente);
        if (vista_.ConAvvisi(riga)) return QBrush(kConAvvisi);
        return {};
      case Qt::FontRole: {
        if (!vista_.RigaSomme(riga) && !(c.tipo == TipoColonna::Errori && vista_.ConErrori(riga))) return {};
        QFont f = QApplication::font();
        f.setBold(true);
        return f;
      }
      case Qt::ToolTipRole:
        if (vista_.RigaSomme(riga)) return QStringLiteral("Somme delle colonne");
        if (vista_.ConErrori(riga)) return QStringLiteral("Errori del controllo: sono elencati sotto la tabella");
        if (vista_.Differente(riga))
          return QStringLiteral("Le somme differiscono dal report: il motivo e' sotto la tabella");
        return {};
      default: return {};
    }
  }

 private:
  const VistaFile& vista_;
  char separatore_;
};

// The order of the rows: by the column's numbers or texts, the sums row last whichever way.
class OrdineVista : public QSortFilterProxyModel {
 public:
  OrdineVista(const VistaFile& vista, QObject* genitore) : QSortFilterProxyModel(genitore), vista_(vista) {
    setSortRole(Qt::UserRole);
  }

 protected:
  bool lessThan(const QModelIndex& a, const QModelIndex& b) const override {
    const bool sommeA = vista_.RigaSomme(static_cast<size_t>(a.row()));
    const bool sommeB = vista_.RigaSomme(static_cast<size_t>(b.row()));
    if (sommeA || sommeB) return sortOrder() == Qt::AscendingOrder ? sommeB && !sommeA : sommeA && !sommeB;
    return QSortFilterProxyModel::lessThan(a, b);
  }

 private:
  const VistaFile& vista_;
};

}  // namespace

FinestraVista::FinestraVista(VistaFile& vista, QWidget* genitore) : QDialog(genitore), vista_(vista) {
  setObjectName(QStringLiteral("FinestraVista"));
  setWindowTitle(QStringLiteral("Verifica del file telematico ") + DaCp1252(vista.Nome()));
  setSizeGripEnabled(true);

  QStringList righe;
  for (const std::string& r : vista.Intestazione()) righe << DaCp1252(r);
  intestazione_ = new QLabel(righe.join(QLatin1Char('\n')), this);
  intestazione_->setObjectName(QStringLiteral("Intestazione"));
  intestazione_->setTextFormat(Qt::PlainText);
  intestazione_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* modello = new ModelloVista(vista, this);
  ordine_ = new OrdineVista(vista, this);
  ordine_->setSourceModel(modello);
  tabella_ = new QTableView(this);
  tabella_->setObjectName(QStringLiteral("Tabella"));
  tabella_->setModel(ordine_);
  tabella_->setSortingEnabled(true);
  tabella_->sortByColumn(-1, Qt::AscendingOrder);  // the file's order until a heading is clicked
  tabella_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tabella_->setSelectionMode(QAbstractItemView::SingleSelection);
  tabella_->setAlternatingRowColors(false);
  tabella_->setWordWrap(false);
  tabella_->verticalHeader()->hide();
  // Rows of one height, known without measuring them: 9,999 rows scroll as a few.
  tabella_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  tabella_->verticalHeader()->setDefaultSectionSize(tabella_->fontMetrics().height() + 6);
  tabella_->horizontalHeader()->setResizeContentsPrecision(200);
  tabella_->resizeColumnsToContents();
  tabella_->setAccessibleName(QStringLiteral("Dipendenti"));

  rilievi_ = new QPlainTextEdit(this);
  rilievi_->setObjectName(QStringLiteral("Rilievi"));
  rilievi_->setReadOnly(true);
  rilievi_->setLineWrapMode(QPlainTextEdit::NoWrap);
  rilievi_->setAccessibleName(QStringLiteral("Rilievi del controllo"));
  connect(tabella_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& attuale) { MostraRilievi(attuale.row()); });

  auto* divisore = new QSplitter(Qt::Vertical, this);
  divisore->addWidget(tabella_);
  divisore->addWidget(rilievi_);
  divisore->setStretchFactor(0, 3);
  divisore->setStretchFactor(1, 1);
  divisore->setChildrenCollapsible(false);

  auto* salva = new QPushButton(QStringLiteral("&Salva come CSV..."), this);
  salva->setObjectName(QStringLiteral("SalvaCsv"));
  salva->setToolTip(QStringLiteral("Salva la tabella in un file CSV per un foglio di calcolo"));
  salva->setAutoDefault(false);
  connect(salva, &QPushButton::clicked, this, [this] {
    if (vista_.SalvaComeCsv) vista_.SalvaComeCsv();
  });
  auto* chiudi = new QPushButton(QStringLiteral("&Chiudi"), this);
  chiudi->setObjectName(QStringLiteral("Chiudi"));
  chiudi->setToolTip(QStringLiteral("Chiude la finestra"));
  chiudi->setAutoDefault(false);
  connect(chiudi, &QPushButton::clicked, this, &QDialog::accept);

  auto* pulsanti = new QHBoxLayout;
  pulsanti->addStretch(1);
  pulsanti->addWidget(salva);
  pulsanti->addWidget(chiudi);
  auto* pila = new QVBoxLayout(this);
  pila->addWidget(intestazione_);
  pila->addWidget(divisore, 1);
  pila->addLayout(pulsanti);

  setTabOrder(tabella_, rilievi_);
  setTabOrder(rilievi_, salva);
  setTabOrder(salva, chiudi);
  tabella_->setFocus(Qt::OtherFocusReason);
  // The first row selected, its findings shown: an employee with errors first, where there is one.
  int prima = 0;
  for (size_t r = 0; r + 1 < vista.Righe(); ++r) {
    if (vista.ConErrori(r)) {
      prima = static_cast<int>(r);
      break;
    }
  }
  tabella_->selectRow(prima);
  MostraRilievi(prima);

  if (const QScreen* schermo = genitore ? genitore->screen() : QGuiApplication::primaryScreen()) {
    AdattaA(schermo->availableGeometry().size().shrunkBy(QMargins(8, 40, 8, 8)));
  }
}

int FinestraVista::RigaDellaVista(int riga) const { return ordine_->mapToSource(ordine_->index(riga, 0)).row(); }

void FinestraVista::MostraRilievi(int riga) {
  if (riga < 0) return;
  rilievi_->setPlainText(
      DaCp1252(vista_.Rilievi(static_cast<size_t>(RigaDellaVista(riga)), SeparatoreDecimaleDiSistema())));
}

void FinestraVista::AdattaA(QSize spazio) {
  // As wide as the table wants, up to the room there is; tall enough for a good many rows.
  const int larghezza = tabella_->horizontalHeader()->length() + tabella_->verticalScrollBar()->sizeHint().width() +
                        2 * tabella_->frameWidth() + layout()->contentsMargins().left() +
                        layout()->contentsMargins().right();
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  resize(QSize(larghezza, 720).boundedTo(spazio));
}

std::optional<std::filesystem::path> DialoghiQt::ScegliTelematico(const std::filesystem::path& cartella) {
  QFileDialog dialogo(genitore_.data(), QStringLiteral("Verifica un file telematico"), DaPercorso(cartella));
  // Qt's own dialog, in Italian as the rest of the window whatever the system's language.
  dialogo.setOption(QFileDialog::DontUseNativeDialog);
  dialogo.setFileMode(QFileDialog::ExistingFile);
  dialogo.setAcceptMode(QFileDialog::AcceptOpen);
  dialogo.setNameFilters({QStringLiteral("Tutti i file (*)")});
  dialogo.setLabelText(QFileDialog::Accept, QStringLiteral("Verifica"));
  if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return std::nullopt;
  return APercorso(dialogo.selectedFiles().front());
}

void DialoghiQt::MostraVista(VistaFile& vista) {
  FinestraVista finestra(vista, genitore_.data());
  finestra.exec();
}

std::optional<std::filesystem::path> DialoghiQt::ScegliCsv(const std::filesystem::path& proposto) {
  QFileDialog dialogo(genitore_.data(), QStringLiteral("Salva come CSV"), DaPercorso(proposto));
  dialogo.setOption(QFileDialog::DontUseNativeDialog);
  dialogo.setFileMode(QFileDialog::AnyFile);
  dialogo.setAcceptMode(QFileDialog::AcceptSave);
  dialogo.setNameFilters({QStringLiteral("File CSV (*.csv)"), QStringLiteral("Tutti i file (*)")});
  dialogo.setDefaultSuffix(QStringLiteral("csv"));
  if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return std::nullopt;
  return APercorso(dialogo.selectedFiles().front());
}

}  // namespace quibold
