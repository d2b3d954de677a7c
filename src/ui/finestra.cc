#include "ui/finestra.h"

#include <algorithm>
#include <functional>
#include <utility>

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QValidator>

#include "recfile/cp1252.h"

namespace quibold {

namespace {

const QColor kBianco(255, 255, 255);
const QColor kNero(0, 0, 0);
const QColor kAzzurro(192, 192, 255);
const QColor kBlu(0, 0, 128);
const QColor kGrigio(128, 128, 128);
const QColor kGrigioScuro(64, 64, 64);

// Window size in twips (client area).
constexpr int kLarghezza = 15135;
constexpr int kAltezza = 11130;

QString DaCp1252(std::string_view testo) { return QString::fromStdString(Utf8DaCp1252(testo)); }

std::string ACp1252(const QString& testo) { return Cp1252DaUtf8(testo.toStdString()); }

QFont Carattere(const char* famiglia, double punti, bool grassetto = false, bool corsivo = false) {
  QFont f{QString::fromLatin1(famiglia)};
  f.setStyleHint(QFont::SansSerif);
  f.setPointSizeF(punti);
  f.setBold(grassetto);
  f.setItalic(corsivo);
  return f;
}

QFont Tahoma(double punti = 12, bool corsivo = false) { return Carattere("Tahoma", punti, false, corsivo); }

// The text colour of an enabled control; a disabled one keeps the style's grey.
void ColoreTesto(QWidget* controllo, const QColor& colore) {
  QPalette p = controllo->palette();
  for (QPalette::ColorGroup gruppo : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(gruppo, QPalette::WindowText, colore);
    p.setColor(gruppo, QPalette::Text, colore);
    p.setColor(gruppo, QPalette::ButtonText, colore);
  }
  controllo->setPalette(p);
}

void Sfondo(QWidget* controllo, const QColor& colore) {
  QPalette p = controllo->palette();
  p.setColor(QPalette::Window, colore);
  controllo->setPalette(p);
  controllo->setAutoFillBackground(true);
}

// The designed fonts are Windows fonts. Where they are missing, the nearest in width among the
// common free ones, so that the texts keep to the space the controls give them.
void SostituisciCaratteri() {
  static const bool fatto = [] {
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans"),
                                QStringLiteral("Arial")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("DejaVu Sans Condensed"),
                                QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    return true;
  }();
  static_cast<void>(fatto);
}

// A label as the window has them: plain text, top left.
QLabel* Etichetta(QWidget* genitore, const char* nome, const char* testo) {
  auto* l = new QLabel(genitore);
  l->setObjectName(QString::fromLatin1(nome));
  l->setTextFormat(Qt::PlainText);
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  l->setText(QString::fromLatin1(testo));
  return l;
}

// A frame without caption: an etched border around a coloured area.
QFrame* Cornice(QWidget* genitore, const char* nome, const QColor& sfondo) {
  auto* f = new QFrame(genitore);
  f->setObjectName(QString::fromLatin1(nome));
  f->setFrameShape(QFrame::Box);
  f->setFrameShadow(QFrame::Sunken);
  Sfondo(f, sfondo);
  return f;
}

// The program's logo: a stack of three records beside the program's name.
QPixmap Logo(QSize dimensione) {
  QPixmap immagine(dimensione);
  immagine.fill(kBianco);
  QPainter g(&immagine);
  g.setRenderHint(QPainter::Antialiasing);
  const QRectF area = QRectF(immagine.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  g.setPen(Qt::NoPen);
  g.setBrush(kBlu);
  g.drawRoundedRect(area, 4, 4);
  const double h = area.height();
  const double riga = (h - 8) / 3;
  g.setBrush(kAzzurro);
  for (int k = 0; k < 3; ++k) g.drawRect(QRectF(5 + k * 2, 4 + k * riga, h * 0.6, riga - 2));
  QFont f = Carattere("Tahoma", 10, true);
  f.setPixelSize(std::max(8, static_cast<int>(h * 0.55)));
  g.setFont(f);
  g.setPen(kBianco);
  g.drawText(area.adjusted(h * 0.6 + 14, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
             QStringLiteral("quibold"));
  return immagine;
}

// What the user types into a field may not make it longer than its limit. The field's maximum
// length already stops typing at the end of a text; this catches an edit that replaces part of
// a text the program made longer than the limit: of the new text only what fits is kept, as
// a Windows edit box does.
class LimiteDigitazione : public QValidator {
 public:
  LimiteDigitazione(int limite, std::function<QString()> precedente, QObject* genitore)
      : QValidator(genitore), limite_(limite), precedente_(std::move(precedente)) {}

  State validate(QString& testo, int& cursore) const override {
    if (testo.size() <= limite_) return Acceptable;
    const QString prima = precedente_();
    // The edit put testo[inizio, cursore) in place of a part of `prima`; before and after it
    // the text is as it was.
    const qsizetype dopo = testo.size() - cursore;
    if (cursore < 0 || dopo > prima.size()) return Acceptable;
    const qsizetype massimo = std::min<qsizetype>(cursore, prima.size() - dopo);
    qsizetype inizio = 0;
    while (inizio < massimo && testo[inizio] == prima[inizio]) ++inizio;
    const qsizetype spazio = std::max<qsizetype>(0, limite_ - (inizio + dopo));
    if (cursore - inizio > spazio) {
      testo = testo.left(inizio + spazio) + testo.right(dopo);
      cursore = static_cast<int>(inizio + spazio);
    }
    return Acceptable;
  }

 private:
  int limite_;
  std::function<QString()> precedente_;
};

struct Posto {
  int sinistra, alto, larghezza, altezza;
};

// Where each field sits, relative to its frame, and how it is written.
struct Campo {
  const char* etichetta;
  const char* testoEtichetta;
  Posto postoEtichetta;
  Posto postoCampo;
  bool blu;     // navy text
  double punti; // font size
};

// Fields 1 to 6 are in Frame1, 7 to 11 in Frame4; field 0 is placed with the row of Frame2.
const Campo kCampi[kNumTx] = {
    {"Label10", "Codice", {7680, 480, 1335, 375}, {8520, 360, 615, 405}, true, 12},
    {"Label5", "Tipo Fornitura ", {240, 360, 1815, 495}, {6720, 360, 615, 375}, true, 14.25},
    {"Label1", "1-Protocollo Identificativo della CU", {240, 960, 4095, 495}, {4320, 960, 3015, 375}, false, 12},
    {"Label6", "2-Protocollo assegnato alla CU", {240, 1560, 4095, 855}, {4320, 1560, 3015, 375}, false, 12},
    {"Label7", "Rk Archivio CU Lav.Dipendente", {240, 2280, 4095, 375}, {4320, 2160, 3015, 375}, false, 12},
    {"Label8", "Unita' e percorso del file", {240, 2880, 2895, 375}, {4320, 2880, 3015, 375}, false, 12},
    {"Label9", "Nome del file telematico", {240, 3480, 2895, 375}, {4320, 3480, 3015, 375}, false, 12},
    {"Label21", "Cod.fiscale Intermediario", {120, 240, 2775, 495}, {3480, 240, 3015, 375}, false, 12},
    {"Label22", "Tipo Impegno", {120, 840, 1815, 495}, {3480, 840, 3015, 375}, true, 14.25},
    {"Label23", "Data Impegno", {120, 1440, 1815, 495}, {3480, 1440, 3015, 375}, true, 14.25},
    {"Label24", "N.Cellulare Intermediario", {120, 2040, 3135, 495}, {3480, 2040, 3015, 375}, true, 14.25},
    {"Label25", "Email Intermediario", {120, 2640, 3135, 495}, {3480, 2640, 3015, 375}, true, 14.25},
};

}  // namespace

FinestraPrincipale::FinestraPrincipale(StatoFinestra& stato, QWidget* genitore)
    : QWidget(genitore, Qt::Window), stato_(stato) {
  SostituisciCaratteri();
  scala_ = logicalDpiX() / 96.0 / 15.0;
  setObjectName(QStringLiteral("FinestraPrincipale"));
  setWindowTitle(QStringLiteral("Seleziona CU 2017"));
  setFont(Tahoma());
  Sfondo(this, kBianco);
  setFixedSize(Px(kLarghezza), Px(kAltezza));

  CreaControlli();

  stato_.Cambiata = [this] {
    Aggiorna();
    // The writer calls this while the window handles no events: paint now.
    repaint();
  };
  Aggiorna();
}

FinestraPrincipale::~FinestraPrincipale() { stato_.Cambiata = nullptr; }

int FinestraPrincipale::Px(int twips) const { return qRound(twips * scala_); }

void FinestraPrincipale::Posiziona(QWidget* controllo, int sinistra, int alto, int larghezza,
                                   int altezza) const {
  // Both edges are rounded, so that neighbouring controls meet as they do in twips.
  const int x = Px(sinistra);
  const int y = Px(alto);
  controllo->setGeometry(x, y, Px(sinistra + larghezza) - x, Px(alto + altezza) - y);
}

void FinestraPrincipale::CreaControlli() {
  auto posiziona = [this](QWidget* c, const Posto& p) {
    Posiziona(c, p.sinistra, p.alto, p.larghezza, p.altezza);
  };
  auto etichetta = [&](QWidget* genitore, const char* nome, const char* testo, Posto p) {
    QLabel* l = Etichetta(genitore, nome, testo);
    posiziona(l, p);
    return l;
  };

  // --- Heading ---
  const QFont titolo = Carattere("MS Sans Serif", 24, true);
  QLabel* l = etichetta(this, "Label2", "CERTIFICAZIONE", {360, 120, 4335, 615});
  l->setFont(titolo);
  ColoreTesto(l, kGrigio);
  l = etichetta(this, "Label3", "UNICA", {360, 600, 2055, 495});
  l->setFont(titolo);
  ColoreTesto(l, kNero);
  l = etichetta(this, "Label4", "2018", {2280, 600, 2415, 495});
  l->setFont(titolo);
  ColoreTesto(l, kGrigio);

  auto* immagine = new QLabel(this);
  immagine->setObjectName(QStringLiteral("Image3"));
  posiziona(immagine, {360, 1200, 1800, 450});
  immagine->setPixmap(Logo(immagine->size()));

  etichetta(this, "Label19",
            "CERTIFICAZIONE DI CUI ALL'ART.4 COMMI 6-ter e 6-quater        DEL D.P.R. 22 LUGLIO "
            "1009, n.322, RELATIVA ALL'ANNO",
            {6360, 240, 7215, 735});
  etichetta(this, "Label20", "      2017", {12840, 840, 2055, 615})->setFont(Tahoma(18));
  etichetta(this, "Label27", "Versione 18.00", {13440, 1440, 1095, 255})
      ->setFont(Carattere("MS Sans Serif", 8.25));

  // --- Frame2: the certification and the four phase buttons ---
  QFrame* frame2 = Cornice(this, "Frame2", kAzzurro);
  posiziona(frame2, {240, 1800, 14775, 1935});
  ColoreTesto(etichetta(frame2, "Label44", "Certificazione", {240, 360, 1455, 615}), kBlu);

  lista_ = new QComboBox(frame2);
  lista_->setObjectName(QStringLiteral("lista"));
  lista_->setEditable(true);
  lista_->setInsertPolicy(QComboBox::NoInsert);
  lista_->setCompleter(nullptr);
  ColoreTesto(lista_, kBlu);
  posiziona(lista_, {1800, 360, 5775, 405});

  auto pulsante = [&](const char* nome, QStyle::StandardPixmap figura, const char* suggerimento,
                      Posto p) {
    auto* b = new QPushButton(frame2);
    b->setObjectName(QString::fromLatin1(nome));
    b->setIcon(style()->standardIcon(figura, nullptr, b));
    b->setIconSize(QSize(Px(480), Px(480)));
    b->setToolTip(QString::fromLatin1(suggerimento));
    posiziona(b, p);
    return b;
  };
  QPushButton* command5 = pulsante("Command5", QStyle::SP_FileDialogContentsView,
                                   "Chiede se creare il report della memorizzazione",
                                   {9480, 360, 1095, 855});
  QPushButton* command1 = pulsante("Command1", QStyle::SP_DialogOpenButton,
                                   "Apre la CU del codice indicato", {10680, 360, 1095, 855});
  QPushButton* command2 = pulsante("Command2", QStyle::SP_DialogSaveButton,
                                   "Crea file telematico della CU", {11880, 360, 1680, 855});
  QPushButton* command3 =
      pulsante("Command3", QStyle::SP_DialogCloseButton, "Esce", {13800, 360, 735, 855});

  const QFont fase = Tahoma(8.25);
  struct Fase {
    const char* nome;
    const char* testo;
    Posto posto;
  };
  static constexpr Fase kFasi[] = {
      {"Label28", "     FASE 1          REPORT", {9600, 1320, 975, 375}},
      {"Label14", " FASE 2     APRE CU", {10920, 1320, 855, 495}},
      {"Label15", "           FASE 3            ELABORA TELEMATICO", {12000, 1320, 1695, 495}},
      {"Label16", "FASE 4     FINE", {13920, 1320, 615, 495}},
  };
  std::vector<QLabel*> fasi;
  for (const auto& [nome, testo, p] : kFasi) {
    l = etichetta(frame2, nome, testo, p);
    l->setFont(fase);
    ColoreTesto(l, kBlu);
    fasi.push_back(l);
  }

  // --- Frame1: supply data; Frame4 inside it: the intermediary ---
  frame1_ = Cornice(this, "Frame1", kBianco);
  posiziona(frame1_, {240, 3840, 14775, 3975});
  frame1_->hide();
  ColoreTesto(frame1_, kGrigioScuro);

  combo1_ = new QComboBox(frame1_);
  combo1_->setObjectName(QStringLiteral("Combo1"));
  ColoreTesto(combo1_, kNero);
  posiziona(combo1_, {4320, 360, 2295, 405});

  QFrame* frame4 = Cornice(frame1_, "Frame4", kAzzurro);
  posiziona(frame4, {7680, 240, 6855, 3495});

  for (int i = 0; i < kNumTx; ++i) {
    const Campo& c = kCampi[i];
    QWidget* genitore = i == 0 ? static_cast<QWidget*>(frame2) : i <= 6 ? frame1_ : frame4;
    l = etichetta(genitore, c.etichetta, c.testoEtichetta, c.postoEtichetta);
    ColoreTesto(l, i == 0 ? kBlu : kGrigioScuro);

    auto* t = new QLineEdit(genitore);
    t->setObjectName(QStringLiteral("Tx(%1)").arg(i));
    t->setFont(Tahoma(c.punti));
    ColoreTesto(t, c.blu ? kBlu : kNero);
    if (const int limite = StatoFinestra::kLunghezzaMassima[i]; limite > 0) {
      t->setMaxLength(limite);
      t->setValidator(new LimiteDigitazione(
          limite, [this, i] { return DaCp1252(stato_.Tx[static_cast<size_t>(i)]); }, t));
    }
    posiziona(t, c.postoCampo);
    t->installEventFilter(this);
    connect(t, &QLineEdit::textEdited, this, [this, i](const QString& testo) { CampoModificato(i, testo); });
    tx_[static_cast<size_t>(i)] = t;
  }

  // --- Progress caption, disclaimer, status bar ---
  label17_ = etichetta(this, "Label17", "", {240, 7920, 14775, 615});
  label17_->setFont(Tahoma(15.75));
  ColoreTesto(label17_, kGrigioScuro);
  Sfondo(label17_, kAzzurro);

  QFrame* frame3 = Cornice(this, "Frame3", kBianco);
  posiziona(frame3, {360, 8640, 14655, 1935});
  const QFont corsivo = Tahoma(12, true);
  etichetta(frame3, "Label11",
            "Il software e' uno strumento di aiuto per il vostro lavoro. L'autore non si assume "
            "responsabilita' per eventuali sanzioni derivanti da",
            {120, 240, 14415, 375})
      ->setFont(corsivo);
  etichetta(frame3, "Label12",
            "mancata rispondenza dei dati elaborati con eventi reali o accertati successivamente "
            "dagli organi ispettivi.",
            {120, 600, 14415, 375})
      ->setFont(corsivo);
  etichetta(frame3, "Label13",
            "L'uso di questo software pertanto implica agli effetti della legge l'accettazione di "
            "queste condizioni.",
            {120, 960, 14415, 495})
      ->setFont(corsivo);
  etichetta(frame3, "Label18", "quibold - programma per la Certificazione Unica", {120, 1440, 14415, 375})
      ->setFont(Tahoma(9.75, true));

  statusBar1_ = new QStatusBar(this);
  statusBar1_->setObjectName(QStringLiteral("StatusBar1"));
  statusBar1_->setSizeGripEnabled(false);
  Sfondo(statusBar1_, QApplication::palette().color(QPalette::Button));
  posiziona(statusBar1_, {0, 10635, kLarghezza, 495});

  // A label wraps at blanks when it has room for a second line; one that has not keeps to one
  // line, cut at its right edge, rather than show a second line cut in half. The phase labels
  // always show their phase over their word.
  for (QLabel* scritta : findChildren<QLabel*>()) {
    scritta->setWordWrap(scritta->height() >= 2 * scritta->fontMetrics().lineSpacing());
  }
  for (QLabel* scritta : fasi) scritta->setWordWrap(true);

  // --- Events ---
  connect(lista_, &QComboBox::activated, this, [this](int indice) {
    stato_.SceltaLista(indice + 1);
    Aggiorna();
  });
  connect(lista_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& testo) {
    stato_.listaTesto = ACp1252(testo);
    Aggiorna();
  });
  connect(combo1_, &QComboBox::activated, this, [this](int indice) {
    stato_.SceltaCombo1(indice);
    Aggiorna();
  });
  connect(command1, &QPushButton::clicked, this, [this] {
    stato_.ApriCU();
    Aggiorna();
  });
  connect(command5, &QPushButton::clicked, this, [this] {
    stato_.Command5();
    Aggiorna();
  });
  connect(command2, &QPushButton::clicked, this, [this] {
    // The run holds the window until it ends; its message boxes are modal.
    const bool scritto = stato_.Command2();
    Aggiorna();
    // Without the report the window has been opened anew: the focus starts again in Tx(0).
    if (scritto && stato_.FlagReport != 1) tx_[0]->setFocus(Qt::OtherFocusReason);
  });
  connect(command3, &QPushButton::clicked, this, [this] {
    stato_.Command3();
    Aggiorna();
  });

  // --- Focus order; labels, frames and the status bar never take the focus ---
  std::vector<QWidget*> ordine = {tx_[0], lista_, command3, command1, command2, tx_[1], combo1_};
  for (int i = 2; i < kNumTx; ++i) ordine.push_back(tx_[static_cast<size_t>(i)]);
  ordine.push_back(command5);
  for (size_t k = 0; k + 1 < ordine.size(); ++k) setTabOrder(ordine[k], ordine[k + 1]);
  statusBar1_->setFocusPolicy(Qt::NoFocus);
  tx_[0]->setFocus(Qt::OtherFocusReason);
}

void FinestraPrincipale::MostraTesto(int indice) {
  QLineEdit* t = tx_[static_cast<size_t>(indice)];
  const QString testo = DaCp1252(stato_.Tx[static_cast<size_t>(indice)]);
  if (t->text() == testo) return;
  // The maximum length limits typing only: a longer text from the program is shown whole. It is
  // raised before a longer text and lowered after a shorter one, so that it never cuts a text.
  const int limite = StatoFinestra::kLunghezzaMassima[indice];
  const int voluto = std::max(limite, static_cast<int>(testo.size()));
  const int cursore = t->cursorPosition();
  if (limite > 0 && t->maxLength() < voluto) t->setMaxLength(voluto);
  t->setText(testo);
  if (limite > 0 && t->maxLength() > voluto) t->setMaxLength(voluto);
  // A field being typed in keeps its cursor; any other shows its text from the beginning.
  t->setCursorPosition(t->hasFocus() ? std::min(cursore, static_cast<int>(testo.size())) : 0);
}

void FinestraPrincipale::AdattaLimite(int indice) {
  // Once the user shortens a text the program made longer than the limit, the limit holds
  // again from that length down: no more can be typed than the field allows.
  const int limite = StatoFinestra::kLunghezzaMassima[indice];
  if (limite <= 0) return;
  QLineEdit* t = tx_[static_cast<size_t>(indice)];
  const int voluto = std::max(limite, static_cast<int>(t->text().size()));
  if (t->maxLength() == voluto) return;
  const int cursore = t->cursorPosition();
  t->setMaxLength(voluto);
  t->setCursorPosition(cursore);
}

void FinestraPrincipale::CampoModificato(int indice, const QString& testo) {
  // The state first: the field's check of typing compares with the text the state holds.
  stato_.Tx[static_cast<size_t>(indice)] = ACp1252(testo);
  AdattaLimite(indice);
  Aggiorna();
}

void FinestraPrincipale::AggiornaLista() {
  if (listaMostrata_ != stato_.lista) {
    lista_->clear();
    for (const std::string& voce : stato_.lista) lista_->addItem(DaCp1252(voce));
    listaMostrata_ = stato_.lista;
    lista_->setCurrentIndex(-1);
  }
  const QString testo = DaCp1252(stato_.listaTesto);
  if (lista_->currentText() == testo) return;
  // The current entry follows the text: the one equal to it, else none. Left on another entry,
  // the box would take the text for a choice of the user when it loses the focus and choose the
  // matching entry itself.
  const int voce = lista_->findText(testo, Qt::MatchExactly | Qt::MatchCaseSensitive);
  lista_->setCurrentIndex(voce);
  if (voce < 0) lista_->setEditText(testo);
  if (!lista_->lineEdit()->hasFocus()) lista_->lineEdit()->setCursorPosition(0);
}

void FinestraPrincipale::AggiornaCombo1() {
  if (combo1Mostrata_ != stato_.Combo1) {
    combo1_->clear();
    for (const std::string& voce : stato_.Combo1) combo1_->addItem(DaCp1252(voce));
    combo1Mostrata_ = stato_.Combo1;
  }
  const int scelta = stato_.Combo1Scelta >= 0 && stato_.Combo1Scelta < combo1_->count()
                         ? stato_.Combo1Scelta
                         : -1;
  if (combo1_->currentIndex() != scelta) combo1_->setCurrentIndex(scelta);
}

void FinestraPrincipale::Aggiorna() {
  for (int i = 0; i < kNumTx; ++i) {
    MostraTesto(i);
    const bool abilitato = stato_.TxAbilitato[static_cast<size_t>(i)];
    QLineEdit* t = tx_[static_cast<size_t>(i)];
    if (t->isEnabled() != abilitato) t->setEnabled(abilitato);
  }
  if (frame1_->isHidden() == stato_.Frame1Visibile) frame1_->setVisible(stato_.Frame1Visibile);
  AggiornaLista();
  AggiornaCombo1();

  const QString messaggio = DaCp1252(stato_.StatusBar1);
  if (statusBar1_->currentMessage() != messaggio) {
    if (messaggio.isEmpty()) {
      statusBar1_->clearMessage();
    } else {
      statusBar1_->showMessage(messaggio);
    }
  }
  const QString didascalia = DaCp1252(stato_.Label17);
  if (label17_->text() != didascalia) label17_->setText(didascalia);
}

bool FinestraPrincipale::eventFilter(QObject* oggetto, QEvent* evento) {
  const QEvent::Type tipo = evento->type();
  if (tipo == QEvent::FocusIn || tipo == QEvent::FocusOut) {
    const Qt::FocusReason motivo = static_cast<QFocusEvent*>(evento)->reason();
    const bool sospensione = motivo == Qt::ActiveWindowFocusReason || motivo == Qt::PopupFocusReason;
    if (tipo == QEvent::FocusOut) {
      fuocoSospeso_ = sospensione ? oggetto : nullptr;
    } else {
      const bool ripresa = sospensione && fuocoSospeso_ == oggetto;
      fuocoSospeso_ = nullptr;
      if (!ripresa) {
        const auto trovato = std::find(tx_.begin(), tx_.end(), oggetto);
        if (trovato != tx_.end()) {
          stato_.messaggi(static_cast<int>(trovato - tx_.begin()));
          Aggiorna();
        }
      }
    }
  }
  return QWidget::eventFilter(oggetto, evento);
}

}  // namespace quibold
