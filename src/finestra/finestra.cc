#include "finestra/finestra.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QEvent>
#include <QFocusEvent>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>
#include <QValidator>
#include <QWindow>

#include "recfile/cp1252.h"

namespace quibold {

namespace {

// The window's colours; kEreditato leaves a control the colour of its container.
constexpr QRgb kBianco = qRgb(255, 255, 255);
constexpr QRgb kNero = qRgb(0, 0, 0);
constexpr QRgb kAzzurro = qRgb(192, 192, 255);
constexpr QRgb kBlu = qRgb(0, 0, 128);
constexpr QRgb kGrigio = qRgb(128, 128, 128);
constexpr QRgb kGrigioScuro = qRgb(64, 64, 64);
constexpr QRgb kEreditato = 0;  // a real colour is always opaque

// Window size in twips (client area), and the top of the status bar: above it the controls.
constexpr int kLarghezza = 15135;
constexpr int kAltezza = 11130;
constexpr int kAltoBarraDiStato = 10635;

QString DaCp1252(std::string_view testo) { return QString::fromStdString(Utf8DaCp1252(testo)); }

std::string ACp1252(const QString& testo) { return Cp1252DaUtf8(testo.toStdString()); }

// A font of the design; a control whose font names no family keeps the window's Tahoma 12.
struct Carattere {
  const char* famiglia = nullptr;
  double punti = 0;
  bool grassetto = false;
  bool corsivo = false;
};

constexpr Carattere kDellaFinestra{};
constexpr Carattere kTitolo{"MS Sans Serif", 24, true};
constexpr Carattere kVersione{"MS Sans Serif", 8.25};
constexpr Carattere kAnno{"Tahoma", 18};
constexpr Carattere kFase{"Tahoma", 8.25};
constexpr Carattere kDidascalia{"Tahoma", 15.75};
constexpr Carattere kAvvertenza{"Tahoma", 12, false, true};
constexpr Carattere kNota{"Tahoma", 9.75, false, true};

QFont Font(const Carattere& c) {
  QFont f{QString::fromLatin1(c.famiglia)};
  f.setStyleHint(QFont::SansSerif);
  f.setPointSizeF(c.punti);
  f.setBold(c.grassetto);
  f.setItalic(c.corsivo);
  return f;
}

QFont Tahoma(double punti = 12) { return Font({"Tahoma", punti}); }

// The text colour of an enabled control; a disabled one keeps the style's grey.
void ColoreTesto(QWidget* controllo, QRgb colore) {
  if (colore == kEreditato) return;
  QPalette p = controllo->palette();
  for (QPalette::ColorGroup gruppo : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(gruppo, QPalette::WindowText, colore);
    p.setColor(gruppo, QPalette::Text, colore);
    p.setColor(gruppo, QPalette::ButtonText, colore);
  }
  controllo->setPalette(p);
}

void Sfondo(QWidget* controllo, QRgb colore) {
  if (colore == kEreditato) return;
  QPalette p = controllo->palette();
  p.setColor(QPalette::Window, colore);
  controllo->setPalette(p);
  controllo->setAutoFillBackground(true);
}

// The designed fonts are Windows fonts. Where they are missing, the nearest in width among the
// common free ones, so that the texts keep to the space the controls give them.
void SostituisciCaratteri() {
  static const bool fatto = [] {
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans Condensed"),
                                                          QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("DejaVu Sans Condensed"),
                                QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    return true;
  }();
  static_cast<void>(fatto);
}

// The program's logo: a stack of three records beside the program's name.
QPixmap Logo(QSize dimensione) {
  QPixmap immagine(dimensione);
  immagine.fill(QColor(kBianco));
  QPainter g(&immagine);
  g.setRenderHint(QPainter::Antialiasing);
  const QRectF area = QRectF(immagine.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(kBlu));
  g.drawRoundedRect(area, 4, 4);
  const double h = area.height();
  const double riga = (h - 8) / 3;
  g.setBrush(QColor(kAzzurro));
  for (int k = 0; k < 3; ++k) g.drawRect(QRectF(5 + k * 2, 4 + k * riga, h * 0.6, riga - 2));
  QFont f = Font({"Tahoma", 10, true});
  f.setPixelSize(std::max(8, static_cast<int>(h * 0.55)));
  g.setFont(f);
  g.setPen(QColor(kBianco));
  g.drawText(area.adjusted(h * 0.6 + 14, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("quibold"));
  return immagine;
}

// A text of the program or the archive as a tooltip, never read as markup, its blanks kept.
QString Suggerimento(const QString& testo) {
  return QStringLiteral("<p style='white-space:pre'>%1</p>").arg(testo.toHtmlEscaped());
}

// What the user types into a field may not make it longer than its limit. The field's maximum
// length already stops typing at the end of a text; this catches an edit that replaces part of
// a text the program made longer than the limit: of the new text only what fits is kept, as
// a Windows edit box does. A date takes only the digits of what is typed or pasted
// ("31/01/2018" is 31012018): its field has no maximum length of its own, which would cut the
// pasted text before its slashes were taken out.
class LimiteDigitazione : public QValidator {
 public:
  LimiteDigitazione(int limite, bool soloCifre, std::function<QString()> precedente, QObject* genitore)
      : QValidator(genitore), limite_(limite), soloCifre_(soloCifre), precedente_(std::move(precedente)) {}

  State validate(QString& testo, int& cursore) const override {
    if (!soloCifre_ && testo.size() <= limite_) return Acceptable;
    const QString prima = precedente_();
    // The edit put testo[inizio, cursore) in place of a part of `prima`; before and after it
    // the text is as it was.
    const qsizetype dopo = testo.size() - cursore;
    if (cursore < 0 || dopo > prima.size()) return Acceptable;
    const qsizetype massimo = std::min<qsizetype>(cursore, prima.size() - dopo);
    qsizetype inizio = 0;
    while (inizio < massimo && testo[inizio] == prima[inizio]) ++inizio;
    QString messo = testo.mid(inizio, cursore - inizio);
    if (soloCifre_) messo.removeIf([](QChar c) { return c < u'0' || c > u'9'; });
    messo.truncate(std::max<qsizetype>(0, limite_ - (inizio + dopo)));
    if (messo.size() < cursore - inizio) {
      testo = testo.left(inizio) + messo + testo.right(dopo);
      cursore = static_cast<int>(inizio + messo.size());
    }
    return Acceptable;
  }

 private:
  int limite_;
  bool soloCifre_;
  std::function<QString()> precedente_;
};

// The most characters the field itself takes from typing (0: no limit): a date's limit is its
// validator's alone.
int LimiteDelCampo(int indice) {
  return StatoFinestra::CampoData(indice) ? 0 : StatoFinestra::kLunghezzaMassima[static_cast<size_t>(indice)];
}

// A button of the window: with the focus, Enter and the keypad's Enter press it, as Space does,
// once for as long as the key is held. The first press it sees clicks, even one the system calls
// a repeat: after a box closed with Enter before the window was shown, Wine never told the key's
// release, and the clerk's next Enter did nothing.
class Pulsante : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void keyPressEvent(QKeyEvent* evento) override {
    if (Invio(evento)) {
      if (!tenuto_) click();
      tenuto_ = true;
      evento->accept();
      return;
    }
    QPushButton::keyPressEvent(evento);
  }
  void keyReleaseEvent(QKeyEvent* evento) override {
    if (Invio(evento) && !evento->isAutoRepeat()) tenuto_ = false;
    QPushButton::keyReleaseEvent(evento);
  }
  void focusInEvent(QFocusEvent* evento) override {
    tenuto_ = false;
    QPushButton::focusInEvent(evento);
  }

 private:
  static bool Invio(const QKeyEvent* evento) {
    return (evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) &&
           (evento->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  }
  bool tenuto_ = false;  // Enter is held down on this button
};

// The platform's style, with the focus drawn as a navy frame two pixels wide around the button,
// field or list that has it: the style's own mark is too faint to find at a glance.
class StileFinestra : public QProxyStyle {
 public:
  void drawControl(ControlElement elemento, const QStyleOption* opzione, QPainter* pittore,
                   const QWidget* controllo) const override {
    QProxyStyle::drawControl(elemento, opzione, pittore, controllo);
    if (elemento == CE_PushButton) SegnaFuoco(opzione, pittore);
  }
  void drawPrimitive(PrimitiveElement elemento, const QStyleOption* opzione, QPainter* pittore,
                     const QWidget* controllo) const override {
    QProxyStyle::drawPrimitive(elemento, opzione, pittore, controllo);
    if (elemento == PE_FrameLineEdit) SegnaFuoco(opzione, pittore);
  }
  void drawComplexControl(ComplexControl elemento, const QStyleOptionComplex* opzione, QPainter* pittore,
                          const QWidget* controllo) const override {
    QProxyStyle::drawComplexControl(elemento, opzione, pittore, controllo);
    if (elemento == CC_ComboBox) SegnaFuoco(opzione, pittore);
  }

 private:
  static void SegnaFuoco(const QStyleOption* opzione, QPainter* pittore) {
    if (!(opzione->state & State_HasFocus)) return;
    pittore->save();
    pittore->setRenderHint(QPainter::Antialiasing, false);
    pittore->setPen(QPen(QColor(kBlu), 2));
    pittore->setBrush(Qt::NoBrush);
    pittore->drawRect(QRectF(opzione->rect).adjusted(1, 1, -1, -1));
    pittore->restore();
  }
};

struct Posto {
  int sinistra, alto, larghezza, altezza;
};

// Places a control at a position in twips, `scala` pixels per twip. Both edges are rounded, so
// that neighbouring controls meet as they do in twips.
void Posiziona(QWidget* controllo, const Posto& p, double scala) {
  const int x = qRound(p.sinistra * scala);
  const int y = qRound(p.alto * scala);
  controllo->setGeometry(x, y, qRound((p.sinistra + p.larghezza) * scala) - x,
                         qRound((p.alto + p.altezza) * scala) - y);
}

// The controls as designed, one row each. A control sits in the frame named by `dentro`, or
// in the window itself when none is named; a frame comes before what it holds. A few labels are
// a little wider or taller than designed, so that their texts show whole in the fonts that
// stand in for the designed ones.

// A frame without caption: an etched border around a coloured area.
struct RigaCornice {
  const char* nome;
  const char* dentro;
  Posto posto;
  QRgb sfondo;
  QRgb testo;  // the colour of the texts inside that have none of their own
};

// clang-format off
constexpr RigaCornice kCornici[] = {
    {"Frame2", nullptr, {240, 1800, 14775, 1935}, kAzzurro, kEreditato},
    {"Frame1", nullptr, {240, 3840, 14775, 3975}, kBianco, kGrigioScuro},
    {"Frame4", "Frame1", {7680, 240, 6855, 3495}, kAzzurro, kEreditato},
    {"Frame3", nullptr, {360, 8640, 14655, 1935}, kBianco, kEreditato},
};
// clang-format on

// A label: plain text from the top left. It wraps at blanks when it has room for a second line;
// one that has not keeps to one line rather than show a second line cut in half, unless it
// always wraps (the phase labels show their phase over their word).
struct RigaEtichetta {
  const char* nome;
  const char* dentro;
  const char* testo;
  Posto posto;
  Carattere carattere;
  QRgb colore;
  QRgb sfondo = kEreditato;
  bool sempreACapo = false;
};

// clang-format off
constexpr RigaEtichetta kEtichette[] = {
    {"Label2", nullptr, "CERTIFICAZIONE", {360, 120, 4335, 615}, kTitolo, kGrigio},
    {"Label3", nullptr, "UNICA", {360, 600, 2055, 600}, kTitolo, kNero},
    {"Label4", nullptr, "2018", {2280, 600, 2415, 600}, kTitolo, kGrigio},
    {"Label19", nullptr,
     "CERTIFICAZIONE DI CUI ALL'ART.4 COMMI 6-ter e 6-quater        DEL D.P.R. 22 LUGLIO 1998, n.322, "
     "RELATIVA ALL'ANNO",
     {6360, 240, 7215, 735}, kDellaFinestra, kEreditato},
    {"Label20", nullptr, "      2017", {12840, 840, 2055, 615}, kAnno, kEreditato},
    {"Label27", nullptr, "Versione 18.00", {13440, 1440, 1140, 255}, kVersione, kEreditato},
    {"Label44", "Frame2", "Certificazione", {240, 360, 1545, 615}, kDellaFinestra, kBlu},
    {"Label28", "Frame2", "     FASE 1          REPORT", {9600, 1320, 975, 495}, kFase, kBlu, kEreditato, true},
    {"Label14", "Frame2", " FASE 2     APRE CU", {10920, 1320, 855, 495}, kFase, kBlu, kEreditato, true},
    {"Label15", "Frame2", "           FASE 3            ELABORA TELEMATICO", {12000, 1320, 1815, 495}, kFase,
     kBlu, kEreditato, true},
    {"Label16", "Frame2", "FASE 4     FINE", {13920, 1320, 615, 495}, kFase, kBlu, kEreditato, true},
    // Room for two lines: the caption names the company with its 48 characters.
    {"Label17", nullptr, "", {240, 7830, 14775, 795}, kDidascalia, kGrigioScuro, kAzzurro},
    {"Label11", "Frame3",
     "Il software e' uno strumento di aiuto per il vostro lavoro. L'autore non si assume "
     "responsabilita' per eventuali sanzioni derivanti da",
     {120, 240, 14415, 375}, kAvvertenza, kEreditato},
    {"Label12", "Frame3",
     "mancata rispondenza dei dati elaborati con eventi reali o accertati successivamente "
     "dagli organi ispettivi.",
     {120, 600, 14415, 375}, kAvvertenza, kEreditato},
    {"Label13", "Frame3",
     "L'uso di questo software pertanto implica agli effetti della legge l'accettazione di "
     "queste condizioni.",
     {120, 960, 14415, 495}, kAvvertenza, kEreditato},
    {"Label18", "Frame3", "quibold - programma per la Certificazione Unica", {120, 1440, 14415, 375}, kNota,
     kEreditato},
};
// clang-format on

// An input field and the label beside it; the index of a row is the field's.
struct RigaCampo {
  const char* dentro;
  const char* etichetta;
  const char* testoEtichetta;
  Posto postoEtichetta;
  QRgb coloreEtichetta;
  Posto postoCampo;
  QRgb coloreCampo;
  double punti;
};

// clang-format off
constexpr auto kCampi = std::to_array<RigaCampo>({
    {"Frame2", "Label10", "Codice", {7680, 480, 1335, 375}, kBlu, {8520, 360, 615, 405}, kBlu, 12},
    {"Frame1", "Label5", "Tipo Fornitura ", {240, 360, 1815, 495}, kGrigioScuro, {6720, 360, 615, 375}, kBlu,
     14.25},
    {"Frame1", "Label1", "1-Protocollo Identificativo della CU", {240, 960, 4095, 495}, kGrigioScuro,
     {4320, 960, 3015, 375}, kNero, 12},
    {"Frame1", "Label6", "2-Protocollo assegnato alla CU", {240, 1560, 4095, 855}, kGrigioScuro,
     {4320, 1560, 3015, 375}, kNero, 12},
    {"Frame1", "Label7", "Rk Archivio CU Lav.Dipendente", {240, 2280, 4095, 375}, kGrigioScuro,
     {4320, 2160, 3015, 375}, kNero, 12},
    {"Frame1", "Label8", "Unita' e percorso del file", {240, 2880, 2895, 375}, kGrigioScuro,
     {4320, 2880, 3015, 375}, kNero, 12},
    {"Frame1", "Label9", "Nome del file telematico", {240, 3480, 2895, 375}, kGrigioScuro,
     {4320, 3480, 3015, 375}, kNero, 12},
    {"Frame4", "Label21", "Cod.fiscale Intermediario", {120, 240, 3135, 495}, kGrigioScuro,
     {3480, 240, 3015, 375}, kNero, 12},
    {"Frame4", "Label22", "Tipo Impegno", {120, 840, 1815, 495}, kGrigioScuro, {3480, 840, 3015, 375}, kBlu,
     14.25},
    {"Frame4", "Label23", "Data Impegno", {120, 1440, 1815, 495}, kGrigioScuro, {3480, 1440, 3015, 375}, kBlu,
     14.25},
    {"Frame4", "Label24", "N.Cellulare Intermediario", {120, 2040, 3135, 495}, kGrigioScuro,
     {3480, 2040, 3015, 375}, kBlu, 14.25},
    {"Frame4", "Label25", "Email Intermediario", {120, 2640, 3135, 495}, kGrigioScuro, {3480, 2640, 3015, 375},
     kBlu, 14.25},
});
// clang-format on
static_assert(kCampi.size() == kNumTx, "a row for every field of the window");

QLabel* CreaEtichetta(QWidget* genitore, const RigaEtichetta& r, double scala) {
  auto* l = new QLabel(genitore);
  l->setObjectName(QString::fromLatin1(r.nome));
  l->setTextFormat(Qt::PlainText);
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  l->setText(QString::fromLatin1(r.testo));
  if (r.carattere.famiglia) l->setFont(Font(r.carattere));
  ColoreTesto(l, r.colore);
  Sfondo(l, r.sfondo);
  Posiziona(l, r.posto, scala);
  l->setWordWrap(r.sempreACapo || l->height() >= 2 * l->fontMetrics().lineSpacing());
  // A line wider than the room it has in the fonts in use (Windows draws Tahoma's italics by
  // slanting the regular face, wider than the design allowed for) has its letters drawn a
  // little closer, down to nine tenths of their spacing, rather than lose its last words; its
  // letters keep the size of the lines beside it.
  if (!l->wordWrap()) {
    QFont f = l->font();
    double spaziatura = 100;
    const QRect spazio = l->contentsRect();
    while (QFontMetrics(f).boundingRect(spazio, Qt::AlignLeft | Qt::AlignTop, l->text()).width() > spazio.width() &&
           spaziatura > 90) {
      spaziatura -= 0.5;
      f.setLetterSpacing(QFont::PercentageSpacing, spaziatura);
    }
    if (spaziatura < 100) l->setFont(f);
  }
  return l;
}

// The controls that take the focus, in the order of the Tab key.
constexpr const char* kOrdineFuoco[] = {"Tx(0)",  "lista", "Command3", "Command1", "Command2", "Tx(1)",
                                        "Combo1", "Tx(2)", "Tx(3)",    "Tx(4)",    "Tx(5)",    "Tx(6)",
                                        "Tx(7)",  "Tx(8)", "Tx(9)",    "Tx(10)",   "Tx(11)",   "Command5"};

// The window's tables hold one another, checked as this file compiles: a frame that a control
// sits in is a row of kCornici (listed before any frame inside it), a button's caption a row of
// kEtichette, every field and every button is in kOrdineFuoco once, and no name is given twice.
// A row left out fails the build: the compiler names what is missing and for which control
// ("kMancanza = ...").
enum class Mancanza : uint8_t {
  Nessuna,
  Cornice,          // `controllo` sits in a frame that kCornici lacks, or lists after it
  Didascalia,       // button `controllo` has a caption that kEtichette lacks
  NelGiroDelFuoco,  // `controllo` is not in kOrdineFuoco, or is there twice
  NomeRipetuto,     // two controls are named `controllo`
};
struct RigaMancante {
  Mancanza mancanza = Mancanza::Nessuna;
  char controllo[24] = {};
};

constexpr RigaMancante Manca(Mancanza mancanza, std::string_view controllo) {
  RigaMancante r{mancanza};
  std::copy_n(controllo.begin(), std::min(controllo.size(), sizeof r.controllo - 1), r.controllo);
  return r;
}

template <RigaMancante kMancanza>
consteval bool TabelleComplete() {
  static_assert(kMancanza.mancanza == Mancanza::Nessuna,
                "a row is missing from the window's tables: what and for which control are in 'kMancanza = ...'");
  return true;
}

constexpr bool Uguali(const char* a, std::string_view b) { return a && std::string_view(a) == b; }

// Whether `nome` names a frame of kCornici before row `prima` (a control's frame: any row).
constexpr bool Cornice(const char* nome, size_t prima = std::size(kCornici)) {
  if (!nome) return true;  // the window itself
  for (size_t i = 0; i < prima; ++i) {
    if (Uguali(kCornici[i].nome, nome)) return true;
  }
  return false;
}

constexpr int VolteNelGiroDelFuoco(std::string_view nome) {
  return static_cast<int>(
      std::count_if(std::begin(kOrdineFuoco), std::end(kOrdineFuoco), [&](const char* n) { return Uguali(n, nome); }));
}

// The names the tables give, controls made in code aside.
constexpr size_t kNomiDate = std::size(kCornici) + std::size(kEtichette) + kCampi.size();
constexpr std::array<std::string_view, kNomiDate> NomiDate() {
  std::array<std::string_view, kNomiDate> nomi;
  size_t n = 0;
  for (const RigaCornice& r : kCornici) nomi[n++] = r.nome;
  for (const RigaEtichetta& r : kEtichette) nomi[n++] = r.nome;
  for (const RigaCampo& r : kCampi) nomi[n++] = r.etichetta;
  return nomi;
}

constexpr RigaMancante MancanzeDelleTabelle() {
  for (size_t i = 0; i < std::size(kCornici); ++i) {
    if (!Cornice(kCornici[i].dentro, i)) return Manca(Mancanza::Cornice, kCornici[i].nome);
  }
  for (const RigaEtichetta& r : kEtichette) {
    if (!Cornice(r.dentro)) return Manca(Mancanza::Cornice, r.nome);
  }
  for (const RigaCampo& r : kCampi) {
    if (!Cornice(r.dentro)) return Manca(Mancanza::Cornice, r.etichetta);
  }
  static_assert(kNumTx <= 100);
  for (int i = 0; i < kNumTx; ++i) {
    RigaMancante campo{Mancanza::NelGiroDelFuoco, "Tx("};  // the field's name, "Tx(i)"
    size_t k = 3;
    if (i >= 10) campo.controllo[k++] = static_cast<char>('0' + i / 10);
    campo.controllo[k++] = static_cast<char>('0' + i % 10);
    campo.controllo[k] = ')';
    if (VolteNelGiroDelFuoco(campo.controllo) != 1) return campo;
  }
  const auto nomi = NomiDate();
  for (size_t i = 0; i < nomi.size(); ++i) {
    for (size_t j = 0; j < i; ++j) {
      if (nomi[i] == nomi[j]) return Manca(Mancanza::NomeRipetuto, nomi[i]);
    }
  }
  return {};
}
static_assert(TabelleComplete<MancanzeDelleTabelle()>());

// The buttons, a table of their own (CreaPulsanti): each caption a label of kEtichette, each
// button in the Tab key's order once, no button named as another control.
template <class Pulsanti>
constexpr RigaMancante MancanzeDeiPulsanti(const Pulsanti& pulsanti) {
  const auto nomi = NomiDate();
  for (const auto& p : pulsanti) {
    if (std::none_of(std::begin(kEtichette), std::end(kEtichette),
                     [&](const RigaEtichetta& e) { return Uguali(e.nome, p.didascalia); })) {
      return Manca(Mancanza::Didascalia, p.nome);
    }
    if (VolteNelGiroDelFuoco(p.nome) != 1) return Manca(Mancanza::NelGiroDelFuoco, p.nome);
    const auto omonimo = [&](const auto& q) { return Uguali(q.nome, p.nome); };
    if (std::find(nomi.begin(), nomi.end(), std::string_view(p.nome)) != nomi.end() ||
        std::count_if(std::begin(pulsanti), std::end(pulsanti), omonimo) > 1) {
      return Manca(Mancanza::NomeRipetuto, p.nome);
    }
  }
  return {};
}
// The check finds a caption and a place in the Tab key's order that are missing.
struct PulsanteProva {
  const char* nome;
  const char* didascalia;
};
static_assert(MancanzeDeiPulsanti(std::to_array<PulsanteProva>({{"Command5", "Label99"}})).mancanza ==
              Mancanza::Didascalia);
static_assert(MancanzeDeiPulsanti(std::to_array<PulsanteProva>({{"Command9", "Label28"}})).mancanza ==
              Mancanza::NelGiroDelFuoco);

}  // namespace

FinestraPrincipale::FinestraPrincipale(StatoFinestra& stato, QWidget* genitore)
    : QWidget(genitore, Qt::Window), stato_(stato) {
  SostituisciCaratteri();
  scala_ = logicalDpiX() / 96.0 / 15.0;
  setObjectName(QStringLiteral("FinestraPrincipale"));
  setWindowTitle(QStringLiteral("Seleziona CU 2017"));
  setFont(Tahoma());
  Sfondo(this, kBianco);
  setWindowIcon(IconaProgramma());

  // The controls sit in an area of the designed size that scrolls when the screen is smaller
  // than the window; the status bar stays below it, always in sight.
  scorrimento_ = new QScrollArea(this);
  scorrimento_->setObjectName(QStringLiteral("Scorrimento"));
  scorrimento_->setFrameShape(QFrame::NoFrame);
  scorrimento_->setFocusPolicy(Qt::NoFocus);
  area_ = new QWidget;
  area_->setObjectName(QStringLiteral("AreaControlli"));
  area_->setFixedSize(Px(kLarghezza), Px(kAltoBarraDiStato));
  scorrimento_->setWidget(area_);

  CreaControlli();

  auto* pila = new QVBoxLayout(this);
  pila->setContentsMargins(0, 0, 0, 0);
  pila->setSpacing(0);
  pila->addWidget(scorrimento_, 1);
  pila->addWidget(statusBar1_);
  AdattaAlloSchermo();

  stato_.Cambiata = [this] {
    Aggiorna();
    // The writer calls this while the window handles no events: paint now.
    repaint();
  };
  Aggiorna();
}

FinestraPrincipale::~FinestraPrincipale() { stato_.Cambiata = nullptr; }

int FinestraPrincipale::Px(int twips) const { return qRound(twips * scala_); }

void FinestraPrincipale::AdattaA(QSize spazio) {
  const QSize progetto(Px(kLarghezza), Px(kAltezza));
  if (progetto.width() <= spazio.width() && progetto.height() <= spazio.height()) {
    setFixedSize(progetto);
    return;
  }
  // A scroll bar in one direction takes room from the other, and may call for a bar there too.
  const int barra = scorrimento_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scorrimento_);
  const bool verticale = progetto.height() > spazio.height() ||
                         (progetto.width() > spazio.width() && progetto.height() + barra > spazio.height());
  const bool orizzontale = progetto.width() + (verticale ? barra : 0) > spazio.width();
  // Larger than the controls and their bars it shows nothing more.
  const QSize massimo = progetto + QSize(verticale ? barra : 0, orizzontale ? barra : 0);
  setMinimumSize((progetto / 3).boundedTo(spazio));
  setMaximumSize(massimo);
  resize(massimo.boundedTo(spazio));
}

void FinestraPrincipale::AdattaAlloSchermo() {
  const auto posto = PostoDi(this);
  if (!posto) return;
  AdattaA(posto->spazio());
  // A window that fills the free area goes to its corner, its frame inside it; one shown already
  // moves only when it does not fit where it is.
  const bool riempie = minimumSize() != maximumSize();
  if (posto->mostrata ? !posto->libero.contains(frameGeometry()) : riempie) move(posto->libero.topLeft());
}

bool FinestraPrincipale::event(QEvent* evento) {
  // Once active, the window has its frame: it fits again, now with the frame's real size.
  if (evento->type() == QEvent::WindowActivate && !adattataConCornice_) {
    adattataConCornice_ = true;
    AdattaAlloSchermo();
  }
  return QWidget::event(evento);
}

QWidget* FinestraPrincipale::Contenitore(const char* nome) {
  if (!nome) return area_;
  auto* cornice = findChild<QFrame*>(QString::fromLatin1(nome));
  Q_ASSERT(cornice);
  return cornice;
}

void FinestraPrincipale::CreaControlli() {
  for (const RigaCornice& r : kCornici) {
    auto* f = new QFrame(Contenitore(r.dentro));
    f->setObjectName(QString::fromLatin1(r.nome));
    f->setFrameShape(QFrame::Box);
    f->setFrameShadow(QFrame::Sunken);
    Sfondo(f, r.sfondo);
    ColoreTesto(f, r.testo);
    Posiziona(f, r.posto, scala_);
  }
  frame1_ = findChild<QFrame*>(QStringLiteral("Frame1"));
  frame1_->hide();

  for (const RigaEtichetta& r : kEtichette) CreaEtichetta(Contenitore(r.dentro), r, scala_);
  label17_ = findChild<QLabel*>(QStringLiteral("Label17"));

  auto* immagine = new QLabel(area_);
  immagine->setObjectName(QStringLiteral("Image3"));
  immagine->setAccessibleName(QStringLiteral("quibold"));
  Posiziona(immagine, {360, 1200, 1800, 450}, scala_);
  immagine->setPixmap(Logo(immagine->size()));

  lista_ = new QComboBox(Contenitore("Frame2"));
  lista_->setObjectName(QStringLiteral("lista"));
  lista_->setEditable(true);
  lista_->setInsertPolicy(QComboBox::NoInsert);
  lista_->setCompleter(nullptr);
  lista_->setAccessibleName(QStringLiteral("Certificazione"));  // as the label beside it
  ColoreTesto(lista_, kBlu);
  Posiziona(lista_, {1800, 360, 5775, 405}, scala_);
  connect(lista_, &QComboBox::activated, this, [this](int indice) {
    stato_.ScegliCertificazione(indice + 1);
    Aggiorna();
    // A chosen entry is shown from its start, where its code is, however long it is.
    lista_->lineEdit()->setCursorPosition(0);
  });
  connect(lista_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& testo) {
    stato_.CertificazioneMostrata = ACp1252(testo);
    Aggiorna();
  });
  // A code typed in the list's box and confirmed with Enter chooses its certification.
  connect(lista_->lineEdit(), &QLineEdit::returnPressed, this, [this] {
    if (!stato_.ScegliCodiceDigitato(ACp1252(lista_->currentText()))) {
      Aggiorna();
      return;
    }
    Aggiorna();
    lista_->lineEdit()->setCursorPosition(0);
  });

  combo1_ = new QComboBox(Contenitore("Frame1"));
  combo1_->setObjectName(QStringLiteral("Combo1"));
  combo1_->setAccessibleName(QStringLiteral("Tipo Fornitura"));  // as the label of the field beside it
  ColoreTesto(combo1_, kNero);
  // Wide enough for "T=Normale SINGOLA" beside its arrow, also in a font wider than Tahoma.
  Posiziona(combo1_, {3600, 360, 3015, 405}, scala_);
  connect(combo1_, &QComboBox::activated, this, [this](int indice) {
    stato_.ScegliTipoFornitura(indice);
    Aggiorna();
  });

  CreaPulsanti();
  for (int i = 0; i < kNumTx; ++i) CreaCampo(i);

  statusBar1_ = new QStatusBar(this);
  statusBar1_->setObjectName(QStringLiteral("StatusBar1"));
  statusBar1_->setSizeGripEnabled(false);
  statusBar1_->setFocusPolicy(Qt::NoFocus);
  Sfondo(statusBar1_, QApplication::palette().color(QPalette::Button).rgb());
  statusBar1_->setFixedHeight(Px(kAltezza) - Px(kAltoBarraDiStato));
  statusBar1_->installEventFilter(this);  // its width tells whether its text is whole

  // The Tab key's order; labels, frames and the status bar never take the focus.
  QWidget* prima = nullptr;
  for (const char* nome : kOrdineFuoco) {
    auto* controllo = findChild<QWidget*>(QString::fromLatin1(nome));
    if (prima) setTabOrder(prima, controllo);
    prima = controllo;
  }
  tx_[0]->setFocus(Qt::OtherFocusReason);

  auto* stile = new StileFinestra;
  stile->setParent(this);
  for (QWidget* controllo : findChildren<QWidget*>()) controllo->setStyle(stile);
}

void FinestraPrincipale::CreaPulsanti() {
  struct RigaPulsante {
    const char* nome;
    QStyle::StandardPixmap figura;
    const char* suggerimento;
    const char* didascalia;  // the phase label under the button
    Posto posto;
    void (FinestraPrincipale::*azione)();
  };
  // clang-format off
  static constexpr RigaPulsante kPulsanti[] = {
      {"Command5", QStyle::SP_FileDialogContentsView, "Chiede se creare il report della memorizzazione", "Label28",
       {9480, 360, 1095, 855}, &FinestraPrincipale::ChiediReport},
      {"Command1", QStyle::SP_DialogOpenButton, "Apre la CU del codice indicato", "Label14", {10680, 360, 1095, 855},
       &FinestraPrincipale::ApriCertificazione},
      {"Command2", QStyle::SP_DialogSaveButton, "Crea file telematico della CU", "Label15", {11880, 360, 1680, 855},
       &FinestraPrincipale::CreaTelematico},
      {"Command3", QStyle::SP_DialogCloseButton, "Esce", "Label16", {13800, 360, 735, 855},
       &FinestraPrincipale::Esci},
  };
  // clang-format on
  static_assert(TabelleComplete<MancanzeDeiPulsanti(kPulsanti)>());
  for (const RigaPulsante& r : kPulsanti) {
    auto* b = new Pulsante(Contenitore("Frame2"));
    b->setObjectName(QString::fromLatin1(r.nome));
    b->setIcon(style()->standardIcon(r.figura, nullptr, b));
    b->setIconSize(QSize(Px(480), Px(480)));
    b->setToolTip(QString::fromLatin1(r.suggerimento));
    // A button shows only a picture: a screen reader names it by its caption.
    b->setAccessibleName(findChild<QLabel*>(QString::fromLatin1(r.didascalia))->text().simplified());
    b->setAccessibleDescription(b->toolTip());
    Posiziona(b, r.posto, scala_);
    connect(b, &QPushButton::clicked, this, r.azione);
  }
}

void FinestraPrincipale::CreaCampo(int i) {
  const RigaCampo& r = kCampi[i];
  QWidget* genitore = Contenitore(r.dentro);
  QLabel* etichetta = CreaEtichetta(
      genitore, {r.etichetta, r.dentro, r.testoEtichetta, r.postoEtichetta, kDellaFinestra, r.coloreEtichetta}, scala_);

  auto* t = new QLineEdit(genitore);
  t->setObjectName(QStringLiteral("Tx(%1)").arg(i));
  t->setFont(Tahoma(r.punti));
  ColoreTesto(t, r.coloreCampo);
  if (const int limite = StatoFinestra::kLunghezzaMassima[i]; limite > 0) {
    if (LimiteDelCampo(i) > 0) t->setMaxLength(limite);
    t->setValidator(new LimiteDigitazione(
        limite, StatoFinestra::CampoData(i), [this, i] { return DaCp1252(stato_.Tx[static_cast<size_t>(i)]); }, t));
  }
  Posiziona(t, r.postoCampo, scala_);
  etichetta->setBuddy(t);  // a screen reader names the field by its label
  t->installEventFilter(this);
  connect(t, &QLineEdit::textEdited, this, [this, i](const QString& testo) { CampoModificato(i, testo); });
  tx_[static_cast<size_t>(i)] = t;
}

void FinestraPrincipale::ChiediReport() {
  stato_.ChiediReport();
  Aggiorna();
}

void FinestraPrincipale::ApriCertificazione() {
  (void)stato_.ApriCU();  // a failure was shown in its box; the window shows the fields as they are
  Aggiorna();
}

void FinestraPrincipale::CreaTelematico() {
  // The run holds the window until it ends; its message boxes are modal.
  const bool scritto = stato_.Crea();
  Aggiorna();
  // Without the report the window has been opened anew: the focus starts again in Tx(0). After a
  // stop too: left on this button, the Enter that closed the box, pressed once more, would start
  // the same run again.
  if (!scritto || stato_.FlagReport != 1) tx_[0]->setFocus(Qt::OtherFocusReason);
}

void FinestraPrincipale::Esci() {
  stato_.Esci();
  Aggiorna();
}

void FinestraPrincipale::MostraTesto(int indice) {
  QLineEdit* t = tx_[static_cast<size_t>(indice)];
  const QString testo = DaCp1252(stato_.Tx[static_cast<size_t>(indice)]);
  if (t->text() == testo) return;
  // The maximum length limits typing only: a longer text from the program is shown whole. It is
  // raised before a longer text and lowered after a shorter one, so that it never cuts a text.
  const int limite = LimiteDelCampo(indice);
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
  const int limite = LimiteDelCampo(indice);
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
    // The open list is as wide as its longest entry needs, within the window.
    QAbstractItemView* vista = lista_->view();
    const int margini = vista->frameWidth() * 2 + lista_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                        lista_->fontMetrics().averageCharWidth() * 2;
    const int spazio = area_->width() - lista_->mapTo(area_, QPoint(0, 0)).x();
    vista->setMinimumWidth(std::max(std::min(vista->sizeHintForColumn(0) + margini, spazio), lista_->width()));
  }
  const QString testo = DaCp1252(stato_.CertificazioneMostrata);
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
  if (combo1Mostrata_ != stato_.TipiFornitura) {
    combo1_->clear();
    for (const std::string& voce : stato_.TipiFornitura) combo1_->addItem(DaCp1252(voce));
    combo1Mostrata_ = stato_.TipiFornitura;
  }
  const int scelta = stato_.TipoScelto >= 0 && stato_.TipoScelto < combo1_->count() ? stato_.TipoScelto : -1;
  if (combo1_->currentIndex() != scelta) combo1_->setCurrentIndex(scelta);
}

void FinestraPrincipale::Aggiorna() {
  for (int i = 0; i < kNumTx; ++i) {
    MostraTesto(i);
    const bool abilitato = stato_.TxAbilitato[static_cast<size_t>(i)];
    QLineEdit* t = tx_[static_cast<size_t>(i)];
    if (t->isEnabled() != abilitato) t->setEnabled(abilitato);
    // A greyed field cannot be scrolled through: its whole text shows as its tooltip, and a
    // screen reader reads it as the field's description, without the tooltip's markup.
    const bool intero = !abilitato && !t->text().trimmed().isEmpty();
    const QString suggerimento = intero ? Suggerimento(t->text()) : QString();
    if (t->toolTip() != suggerimento) t->setToolTip(suggerimento);
    const QString descrizione = intero ? t->text() : QString();
    if (t->accessibleDescription() != descrizione) t->setAccessibleDescription(descrizione);
  }
  if (frame1_->isHidden() == stato_.DatiVisibili) frame1_->setVisible(stato_.DatiVisibili);
  AggiornaLista();
  AggiornaCombo1();

  const QString messaggio = DaCp1252(stato_.BarraDiStato);
  if (statusBar1_->currentMessage() != messaggio) {
    if (messaggio.isEmpty()) {
      statusBar1_->clearMessage();
    } else {
      statusBar1_->showMessage(messaggio);
    }
    SuggerimentoBarra();
  }
  const QString didascalia = DaCp1252(stato_.Avanzamento);
  if (label17_->text() != didascalia) label17_->setText(didascalia);
}

void FinestraPrincipale::SuggerimentoBarra() {
  // The status bar shows one line, cut at the window's edge: a longer text (the warnings of a
  // run) is whole in its tooltip, wrapped, and in its description for a screen reader.
  const QString messaggio = statusBar1_->currentMessage();
  const int spazio = statusBar1_->contentsRect().width() - 2 * statusBar1_->fontMetrics().averageCharWidth();
  const bool tagliato = statusBar1_->fontMetrics().horizontalAdvance(messaggio) > spazio;
  const QString suggerimento = tagliato ? QStringLiteral("<p>%1</p>").arg(messaggio.toHtmlEscaped()) : QString();
  if (statusBar1_->toolTip() != suggerimento) statusBar1_->setToolTip(suggerimento);
  if (statusBar1_->accessibleDescription() != messaggio) statusBar1_->setAccessibleDescription(messaggio);
}

bool FinestraPrincipale::eventFilter(QObject* oggetto, QEvent* evento) {
  const QEvent::Type tipo = evento->type();
  if (oggetto == statusBar1_) {
    if (tipo == QEvent::Resize) SuggerimentoBarra();
    return QWidget::eventFilter(oggetto, evento);
  }
  if (tipo == QEvent::MouseButtonRelease && oggetto == fuocoDaClic_) {
    // A click into a field where typing would be refused selects its whole text, as the Tab key
    // does, so that typing replaces it: a field of only blanks (left in place, they leave no room
    // in a short field), or one as long as its limit (a date of eight zeros). A drag that
    // selected a part keeps its selection.
    fuocoDaClic_ = nullptr;
    auto* t = static_cast<QLineEdit*>(oggetto);
    const auto indice = static_cast<size_t>(std::find(tx_.begin(), tx_.end(), t) - tx_.begin());
    const int limite = indice < tx_.size() ? StatoFinestra::kLunghezzaMassima[indice] : 0;
    const bool pieno = limite > 0 && t->text().size() >= limite;
    if (!t->hasSelectedText() && !t->text().isEmpty() && (pieno || t->text().trimmed().isEmpty())) t->selectAll();
  }
  if (tipo == QEvent::FocusIn || tipo == QEvent::FocusOut) {
    const Qt::FocusReason motivo = static_cast<QFocusEvent*>(evento)->reason();
    const bool sospensione = motivo == Qt::ActiveWindowFocusReason || motivo == Qt::PopupFocusReason;
    fuocoDaClic_ = nullptr;
    if (tipo == QEvent::FocusOut) {
      fuocoSospeso_ = sospensione ? oggetto : nullptr;
      if (!sospensione) Lasciato(oggetto, motivo);
    } else {
      const bool ripresa = sospensione && fuocoSospeso_ == oggetto;
      fuocoSospeso_ = nullptr;
      if (motivo == Qt::MouseFocusReason) fuocoDaClic_ = oggetto;
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

void FinestraPrincipale::Lasciato(QObject* campo, Qt::FocusReason motivo) {
  const auto trovato = std::find(tx_.begin(), tx_.end(), campo);
  if (trovato == tx_.end()) return;
  const bool accettato = stato_.LasciaCampo(static_cast<int>(trovato - tx_.begin()));
  Aggiorna();
  // A text refused keeps the Tab key in its field, selected, for the clerk to type it again; a
  // click elsewhere goes where it was made (a run refuses the text all the same).
  if (accettato || (motivo != Qt::TabFocusReason && motivo != Qt::BacktabFocusReason)) return;
  QLineEdit* t = *trovato;
  QMetaObject::invokeMethod(
      t,
      [t] {
        t->setFocus(Qt::OtherFocusReason);
        t->selectAll();
      },
      Qt::QueuedConnection);
}

std::optional<PostoSulloSchermo> PostoDi(const QWidget* finestra) {
  const QWidget* sopra = finestra->parentWidget();
  const QScreen* schermo = (sopra && !finestra->isVisible() ? sopra : finestra)->screen();
  if (!schermo) return std::nullopt;
  PostoSulloSchermo posto{schermo->availableGeometry(), QMargins(8, 40, 8, 8)};
  const QWindow* nativa = finestra->windowHandle();
  posto.mostrata = nativa && !nativa->frameMargins().isNull();
  if (posto.mostrata) posto.cornice = nativa->frameMargins();
  return posto;
}

QIcon IconaProgramma() {
  // The sizes made from the drawing when the program is built, one file each.
  QIcon icona;
  for (QDirIterator file(QStringLiteral(":/quibold/icona")); file.hasNext();) icona.addFile(file.next());
  return icona;
}

}  // namespace quibold
