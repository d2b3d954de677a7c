#include "finestra/messaggi_qt.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QString>
#include <QStyle>
#include <QVBoxLayout>

#include "finestra/finestra.h"
#include "recfile/cp1252.h"

namespace quibold {

namespace {

QString Testo(std::string_view cp1252) { return QString::fromStdString(Utf8DaCp1252(cp1252)); }

}  // namespace

RiquadroDettagli::RiquadroDettagli(const QString& testo, const QString& dettagli, const QString& titolo, Icona icona,
                                   QWidget* genitore)
    : QDialog(genitore) {
  setObjectName(QStringLiteral("RiquadroDettagli"));
  setWindowTitle(titolo);
  const qsizetype a = testo.indexOf(QLatin1Char('\n'));
  const QString prima = a < 0 ? testo : testo.left(a);
  const QString resto = a < 0 ? QString() : testo.mid(a + 1);
  intero_ = testo + QStringLiteral("\n\n") + dettagli;

  auto* capo = new QHBoxLayout;
  if (icona == Icona::Errore) {
    auto* figura = new QLabel(this);
    const int lato = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    figura->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, this).pixmap(lato, lato));
    figura->setAlignment(Qt::AlignTop);
    capo->addWidget(figura);
  }
  auto* intestazione = new QLabel(this);
  intestazione->setObjectName(QStringLiteral("Intestazione"));
  intestazione->setTextFormat(Qt::PlainText);  // archive text and file names: never markup
  intestazione->setText(prima);
  intestazione->setWordWrap(true);
  intestazione->setTextInteractionFlags(Qt::TextSelectableByMouse);
  capo->addWidget(intestazione, 1);

  area_ = new QPlainTextEdit(this);
  area_->setObjectName(QStringLiteral("Dettagli"));
  area_->setReadOnly(true);
  area_->setLineWrapMode(QPlainTextEdit::NoWrap);
  area_->setPlainText(resto.isEmpty() ? dettagli : resto + QStringLiteral("\n\n") + dettagli);
  area_->setAccessibleName(prima);

  auto* pulsanti = new QDialogButtonBox(this);
  QPushButton* copia = pulsanti->addButton(QStringLiteral("&Copia"), QDialogButtonBox::ActionRole);
  copia->setObjectName(QStringLiteral("Copia"));
  copia->setAutoDefault(false);
  QPushButton* ok = pulsanti->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("OK"));
  ok->setDefault(true);
  connect(copia, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(intero_); });
  connect(pulsanti, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* pila = new QVBoxLayout(this);
  pila->addLayout(capo);
  pila->addWidget(area_, 1);
  pila->addWidget(pulsanti);
  ok->setFocus(Qt::OtherFocusReason);
  AdattaAlloSchermo();
}

void RiquadroDettagli::AdattaA(QSize spazio) {
  // As wide as a line of findings with the employee's name, as tall as every line; within the room.
  const QFontMetrics m = area_->fontMetrics();
  const int bordi = 2 * area_->frameWidth() + area_->verticalScrollBar()->sizeHint().width() +
                    2 * static_cast<int>(area_->document()->documentMargin());
  const int righe = area_->document()->blockCount();
  const QSize minimo = layout()->totalMinimumSize();
  const int altroOltreArea = std::max(0, layout()->totalSizeHint().height() - area_->sizeHint().height());
  const QSize voluto(std::max(minimo.width(), m.averageCharWidth() * 100 + bordi),
                     altroOltreArea + (righe + 1) * m.lineSpacing() + bordi);
  setMaximumSize(spazio.expandedTo(minimo));
  resize(voluto.boundedTo(spazio).expandedTo(minimo));
}

void RiquadroDettagli::AdattaAlloSchermo() {
  const auto posto = PostoDi(this);
  if (!posto) return;
  AdattaA(posto->spazio());
  const QRect libero = posto->libero;
  if (posto->mostrata && !libero.contains(frameGeometry())) {
    // Whole on the screen: its top left corner moved in as far as needed.
    const QRect f = frameGeometry();
    move(std::clamp(f.left(), libero.left(), std::max(libero.left(), libero.right() + 1 - f.width())),
         std::clamp(f.top(), libero.top(), std::max(libero.top(), libero.bottom() + 1 - f.height())));
  }
}

bool RiquadroDettagli::event(QEvent* evento) {
  // Once active, the box has its frame: it fits again, with the frame's real size.
  if (evento->type() == QEvent::WindowActivate && !adattatoConCornice_) {
    adattatoConCornice_ = true;
    AdattaAlloSchermo();
  }
  return QDialog::event(evento);
}

Risposta MessaggiQt::Mostra(std::string_view testo, std::string_view titolo, Pulsanti pulsanti, Icona icona) {
  return MostraConDettagli(testo, {}, titolo, pulsanti, icona);
}

Risposta MessaggiQt::MostraConDettagli(std::string_view testo, std::string_view dettagli, std::string_view titolo,
                                       Pulsanti pulsanti, Icona icona) {
  const QString titoloBox = Testo(titolo.empty() ? kTitoloProgramma : titolo);
  if (!dettagli.empty() && pulsanti == Pulsanti::Ok) {
    RiquadroDettagli riquadro(Testo(testo), Testo(dettagli), titoloBox, icona, genitore_.data());
    riquadro.exec();
    return Risposta::Ok;
  }
  QMessageBox box(genitore_.data());
  box.setWindowTitle(titoloBox);
  // Messages carry file names and archive text: never read them as markup.
  box.setTextFormat(Qt::PlainText);
  box.setText(Testo(testo));
  if (!dettagli.empty()) box.setDetailedText(Testo(dettagli));
  box.setIcon(icona == Icona::Errore ? QMessageBox::Critical : QMessageBox::NoIcon);
  // The buttons are named here: the toolkit's own names follow its translations, which may
  // be missing or in another language. A question is answered with S or N, as Windows' own are.
  if (pulsanti == Pulsanti::SiNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&S\u00ec"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
  }
  const int scelta = box.exec();
  if (pulsanti == Pulsanti::Ok) return Risposta::Ok;
  return scelta == QMessageBox::Yes ? Risposta::Si : Risposta::No;
}

}  // namespace quibold
