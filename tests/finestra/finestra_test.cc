// The main window over a small archive: what it shows, where the focus goes, how typing is
// limited, and that every event reaches the window state.
#include <memory>
#include <string>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyleOptionComboBox>
#include <QTextBlock>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

#include "finestra/applicazione_qt.h"
#include "finestra/finestra.h"
#include "finestra/messaggi_qt.h"
#include "recfile/cp1252.h"
#include "support/banco_prova.h"
#include "ui/stato.h"

namespace quibold {
namespace {

const QString kAvvio = QStringLiteral(
    "Selezionare la CU dall'elenco oppure inserire il codice ad essa relativo.Premere <ok> per "
    "continuare.");
const QString kTipologia = QStringLiteral("Selezionare la tipologia di trasmissione della CU");

QString Aiuto(int i) { return QString::fromStdString(std::string(StatoFinestra::kAiuti[static_cast<size_t>(i)])); }

// An archive with certifications 3 and 12, the window over it, shown and active.
struct Banco : prova::BancoProva {
  std::unique_ptr<FinestraPrincipale> finestra;

  Banco() {
    Certificazione(3, prova::TestataProva());
    prova::RecordProva dodici = prova::TestataProva();
    dodici.Metti(21, "BIANCHI SPA")
        .Metti(45, "FILIALE NORD")
        .Metti(207, "BNCLGU60B02F205Z")
        .Metti(223, "2")
        .Metti(224, "15032018")
        .Metti(330, "3331234567")
        .Metti(343, "studio@esempio.it");
    Certificazione(12, dodici);
    finestra = std::make_unique<FinestraPrincipale>(stato);
  }
  // Certification `codice` of one employee under header `testata`; the window starts again.
  void Certificazione(int codice, const prova::RecordProva& testata,
                      const prova::DipendenteProva& dipendente = prova::DipendenteProva()) {
    prova::ScriviArchivio(radice, codice, testata.testo(), prova::Testata2Prova(1, 1), {dipendente.testo()});
    stato.Apertura();
    if (finestra) finestra->Aggiorna();
  }
  // Field `i` given a text by the program.
  void Imposta(int i, const std::string& testo) {
    stato.Tx[static_cast<size_t>(i)] = testo;
    finestra->Aggiorna();
  }

  bool Mostra() {
    finestra->show();
    finestra->activateWindow();
    return QTest::qWaitForWindowActive(finestra.get());
  }

  template <class T>
  T* Controllo(const QString& nome) const {
    return finestra->findChild<T*>(nome);
  }
  QLineEdit* Tx(int i) const { return Controllo<QLineEdit>(QStringLiteral("Tx(%1)").arg(i)); }
  QComboBox* Lista() const { return Controllo<QComboBox>(QStringLiteral("lista")); }
  QComboBox* Combo1() const { return Controllo<QComboBox>(QStringLiteral("Combo1")); }
  QFrame* Frame1() const { return Controllo<QFrame>(QStringLiteral("Frame1")); }
  QPushButton* Pulsante(const char* nome) const { return Controllo<QPushButton>(QString::fromLatin1(nome)); }
  QString Stato() const { return Controllo<QStatusBar>(QStringLiteral("StatusBar1"))->currentMessage(); }

  // The control holding the focus, by name (an editable list's edit box counts as the list).
  static QString Fuoco() {
    QWidget* w = QApplication::focusWidget();
    if (w && qobject_cast<QComboBox*>(w->parentWidget())) w = w->parentWidget();
    return w ? w->objectName() : QString();
  }
  static void Tasto(Qt::Key tasto, Qt::KeyboardModifiers modificatori = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), tasto, modificatori);
  }
  // The control with the focus, then those the Tab key takes it to, `volte` times.
  static QStringList Giro(int volte) {
    QStringList visti = {Fuoco()};
    for (int k = 0; k < volte; ++k) {
      Tasto(Qt::Key_Tab);
      visti << Fuoco();
    }
    return visti;
  }
  // A click near the end of field `i`.
  void Clic(int i) const {
    QTest::mouseClick(Tx(i), Qt::LeftButton, {}, QPoint(Tx(i)->width() - 4, Tx(i)->height() / 2));
  }

  // Types the code into Tx(0) and presses Command1.
  void Apri(const char* codice) {
    Tx(0)->setFocus(Qt::MouseFocusReason);
    Tx(0)->selectAll();
    QTest::keyClicks(Tx(0), QString::fromLatin1(codice));
    QTest::mouseClick(Pulsante("Command1"), Qt::LeftButton);
  }
  // Chooses an entry of Combo1 from the keyboard: Home, then Down to it.
  void Scegli(int voce) {
    Combo1()->setFocus(Qt::MouseFocusReason);
    Tasto(Qt::Key_Home);
    for (int k = 0; k < voce; ++k) Tasto(Qt::Key_Down);
  }
};

}  // namespace

class FinestraTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<Banco> b;

 private slots:
  // As the program does: the toolkit's texts in Italian, whatever the system's language.
  void initTestCase() { PreparaApplicazione(*qApp); }
  void init() { b = std::make_unique<Banco>(); }
  void cleanup() { b.reset(); }

  void aperturaMostraLoStato() {
    // clang-format off
    const QStringList nomi = {
        "Command1", "Command2", "Command3", "Command5", "Frame1", "Frame2", "Frame3", "Frame4",
        "lista",    "Combo1",   "StatusBar1", "Image3", "Label2", "Label3", "Label4", "Label17",
        "Label18",  "Label19",  "Label20",  "Label27",  "Label28", "Label44"};
    // clang-format on
    for (const QString& nome : nomi) QVERIFY2(b->finestra->findChild<QWidget*>(nome), qPrintable(nome));
    QCOMPARE(b->finestra->windowTitle(), QStringLiteral("Seleziona CU 2017"));
    QCOMPARE(b->Pulsante("Command1")->toolTip(), QStringLiteral("Apre la CU del codice indicato"));
    QCOMPARE(b->Pulsante("Command2")->toolTip(), QStringLiteral("Crea file telematico della CU"));
    QCOMPARE(b->Pulsante("Command3")->toolTip(), QStringLiteral("Esce"));
    QCOMPARE(b->Pulsante("Command2")->accessibleName(), QStringLiteral("FASE 3 ELABORA TELEMATICO"));
    QVERIFY(b->finestra->windowIcon().availableSizes().contains(QSize(256, 256)));
    // On an office's screen the window has the designed size, fixed.
    QCOMPARE(b->finestra->minimumSize(), b->finestra->maximumSize());

    // Before the window is shown: the state of the opening, nothing chosen.
    QCOMPARE(b->Stato(), kAvvio);
    QVERIFY(b->Frame1()->isHidden());
    QCOMPARE(b->Lista()->count(), 2);
    QCOMPARE(b->Lista()->itemText(0), QStringLiteral("3 ROSSI SRL-"));
    QCOMPARE(b->Lista()->itemText(1), QStringLiteral("12 BIANCHI SPA-FILIALE NORD"));
    QCOMPARE(b->Lista()->currentText(), QString());
    QCOMPARE(b->Lista()->currentIndex(), -1);
    QCOMPARE(b->Combo1()->count(), 4);
    QCOMPARE(b->Combo1()->itemText(3), QStringLiteral("T=Normale SINGOLA"));
    QCOMPARE(b->Combo1()->currentIndex(), -1);
    // Each field as the state has it (the intermediary of the last certification, untrimmed),
    // greyed where it says.
    for (int i = 0; i < kNumTx; ++i) {
      QVERIFY(b->Tx(i));
      QCOMPARE(b->Tx(i)->text(), QString::fromStdString(Utf8DaCp1252(b->stato.Tx[static_cast<size_t>(i)])));
      QCOMPARE(b->Tx(i)->isEnabled(), b->stato.TxAbilitato[static_cast<size_t>(i)]);
    }
    // A greyed field shows its whole text as its tooltip, never read as markup; an empty one none.
    QVERIFY(b->Tx(11)->toolTip().contains(QStringLiteral("studio@esempio.it")));
    b->Imposta(10, "<b>3331234567</b>");
    QVERIFY(b->Tx(10)->toolTip().contains(QStringLiteral("&lt;b&gt;3331234567&lt;/b&gt;")));
    QVERIFY(b->Tx(2)->toolTip().isEmpty() && b->Tx(9)->toolTip().isEmpty());
    // A screen reader reads that text as it is, and names the two lists by their labels.
    auto accessibile = [](QWidget* w, QAccessible::Text quale) {
      return QAccessible::queryAccessibleInterface(w)->text(quale);
    };
    QCOMPARE(accessibile(b->Tx(10), QAccessible::Description), QStringLiteral("<b>3331234567</b>"));
    QCOMPARE(accessibile(b->Tx(9), QAccessible::Description), QString());
    QCOMPARE(accessibile(b->Lista(), QAccessible::Name), QStringLiteral("Certificazione"));
    QCOMPARE(accessibile(b->Combo1(), QAccessible::Name), QStringLiteral("Tipo Fornitura"));

    // Shown: the focus is in Tx(0), whose help text replaces the opening message.
    QVERIFY(b->Mostra());
    QCOMPARE(Banco::Fuoco(), QStringLiteral("Tx(0)"));
    QCOMPARE(b->Stato(), Aiuto(0));
  }

  void ordineDelFuoco() {
    QVERIFY(b->Mostra());
    // Frame1 hidden: only the upper controls.
    QCOMPARE(Banco::Giro(6), (QStringList{"Tx(0)", "lista", "Command3", "Command1", "Command2", "Command5", "Tx(0)"}));

    // Certification open and a single supply chosen: fields 2 to 4 take part too; 7, 10 and 11
    // never do. Passing through the list, which shows the opened certification, chooses nothing.
    b->Apri("12");
    QVERIFY(b->Frame1()->isVisible());
    b->Scegli(3);
    QVERIFY(b->Tx(2)->isEnabled());
    b->Tx(0)->setFocus(Qt::MouseFocusReason);
    QCOMPARE(Banco::Giro(15),
             (QStringList{"Tx(0)", "lista", "Command3", "Command1", "Command2", "Tx(1)", "Combo1", "Tx(2)", "Tx(3)",
                          "Tx(4)", "Tx(5)", "Tx(6)", "Tx(8)", "Tx(9)", "Command5", "Tx(0)"}));
    QVERIFY(b->Frame1()->isVisible());
    Banco::Tasto(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(Banco::Fuoco(), QStringLiteral("Command5"));
    Banco::Tasto(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(Banco::Fuoco(), QStringLiteral("Tx(9)"));
  }

  void aiutiEntrandoNeiCampi() {
    QVERIFY(b->Mostra());
    b->Apri("3");
    b->Scegli(3);  // T=Normale SINGOLA: fields 2 to 4 enabled
    QCOMPARE(b->Stato(), kTipologia);

    b->Tx(1)->setFocus(Qt::MouseFocusReason);
    QCOMPARE(b->Stato(), Aiuto(1));
    Banco::Tasto(Qt::Key_Tab);
    QCOMPARE(Banco::Fuoco(), QStringLiteral("Combo1"));
    QCOMPARE(b->Stato(), Aiuto(1));
    Banco::Tasto(Qt::Key_Tab);
    QCOMPARE(Banco::Fuoco(), QStringLiteral("Tx(2)"));
    QCOMPARE(b->Stato(), QStringLiteral("Protocollo 1 della CU da sostituire o annullare"));

    // Every enabled field shows its own text on entry, and leaving it shows nothing new.
    for (int i : {0, 3, 4, 5, 6, 8, 9}) {
      b->Tx(i)->setFocus(Qt::TabFocusReason);
      QCOMPARE(b->Stato(), Aiuto(i));
    }
    b->Pulsante("Command5")->setFocus(Qt::TabFocusReason);
    QCOMPARE(b->Stato(), Aiuto(9));

    // Getting the focus back with the window is not a new entry into the field.
    b->Tx(4)->setFocus(Qt::TabFocusReason);
    b->stato.Messaggio("altro");
    b->finestra->Aggiorna();
    QFocusEvent uscita(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(b->Tx(4), &uscita);
    QFocusEvent ritorno(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(b->Tx(4), &ritorno);
    QCOMPARE(b->Stato(), QStringLiteral("altro"));
  }

  void lunghezzaMassimaSoloPerLaDigitazione() {
    QVERIFY(b->Mostra());
    b->Apri("12");
    const QString diciassette(17, QLatin1Char(' '));

    // A text from the program longer than the limit is shown whole, and nothing can be added.
    b->Imposta(8, std::string(17, ' '));
    QCOMPARE(b->Tx(8)->text(), diciassette);
    b->Tx(8)->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(b->Tx(8), QStringLiteral("1"));
    QCOMPARE(b->Tx(8)->text(), diciassette);

    // Cleared by the user, it takes one character again.
    b->Tx(8)->selectAll();
    Banco::Tasto(Qt::Key_Backspace);
    QCOMPARE(b->stato.Tx[8], std::string());
    QTest::keyClicks(b->Tx(8), QStringLiteral("12"));
    QCOMPARE(b->Tx(8)->text(), QStringLiteral("1"));
    QCOMPARE(b->stato.Tx[8], std::string("1"));

    // Shortening a long text by one does not open room for typing: the limit is one.
    b->Imposta(8, std::string(17, ' '));
    b->Tx(8)->setCursorPosition(5);
    Banco::Tasto(Qt::Key_Backspace);
    QCOMPARE(b->Tx(8)->cursorPosition(), 4);
    QTest::keyClicks(b->Tx(8), QStringLiteral("2"));
    QCOMPARE(b->stato.Tx[8], std::string(16, ' '));

    // Pasting over the long text keeps only what the limit allows.
    b->Imposta(8, std::string(17, ' '));
    QApplication::clipboard()->setText(QStringLiteral("12"));
    b->Tx(8)->selectAll();
    QTest::keyClick(b->Tx(8), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(b->Tx(8)->text(), QStringLiteral("1"));
    QCOMPARE(b->stato.Tx[8], std::string("1"));
    // Typing over a part of it adds nothing while the rest is already too long.
    b->Imposta(8, std::string(17, ' '));
    b->Tx(8)->setSelection(3, 2);
    QTest::keyClicks(b->Tx(8), QStringLiteral("x"));
    QCOMPARE(b->stato.Tx[8], std::string(15, ' '));

    // The date takes eight characters.
    b->Tx(9)->setFocus(Qt::MouseFocusReason);
    b->Tx(9)->selectAll();
    QTest::keyClicks(b->Tx(9), QStringLiteral("010220189"));
    QCOMPARE(b->stato.Tx[9], std::string("01022018"));

    // The folder has no limit; typing in the middle keeps the cursor where it is, blanks included.
    b->Tx(5)->setFocus(Qt::MouseFocusReason);
    b->Tx(5)->setCursorPosition(2);
    QTest::keyClicks(b->Tx(5), QStringLiteral(" x "));
    QCOMPARE(b->Tx(5)->cursorPosition(), 5);
    QCOMPARE(b->stato.Tx[5], std::string("C: x \\vorn\\quelt\\2017\\dati\\"));
    // The field keeps its own history of the typing: undo takes it back, in the state too.
    QTest::keyClick(b->Tx(5), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(b->Tx(5)->text(), QStringLiteral("C:\\vorn\\quelt\\2017\\dati\\"));
    QCOMPARE(b->stato.Tx[5], std::string("C:\\vorn\\quelt\\2017\\dati\\"));
    const QString lungo(300, QLatin1Char('a'));
    b->Imposta(5, lungo.toStdString());
    QCOMPARE(b->Tx(5)->text(), lungo);
  }

  // A date takes the digits of what is typed or pasted; one that does not exist keeps the Tab key
  // in its field, selected, and the status bar says why.
  void dataComeSiScrive() {
    QVERIFY(b->Mostra());
    b->Apri("12");
    b->Imposta(9, "");
    QApplication::clipboard()->setText(QStringLiteral("31/01/2018"));
    b->Tx(9)->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(b->Tx(9), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(b->stato.Tx[9], std::string("31012018"));
    b->Tx(9)->selectAll();
    QTest::keyClicks(b->Tx(9), QStringLiteral("31-02-2018"));
    Banco::Tasto(Qt::Key_Tab);
    QTRY_COMPARE(b->Tx(9)->selectedText(), QStringLiteral("31022018"));
    QCOMPARE(Banco::Fuoco(), QStringLiteral("Tx(9)"));
    QVERIFY(b->Stato().startsWith(QStringLiteral("La data dell'impegno 31022018 non esiste")));
    QTest::keyClicks(b->Tx(9), QStringLiteral("28022018"));
    Banco::Tasto(Qt::Key_Tab);
    QTRY_COMPARE(Banco::Fuoco(), QStringLiteral("Command5"));
  }

  void clicSuCampoDiSoliSpazi() {
    QVERIFY(b->Mostra());
    b->Apri("3");
    QCOMPARE(Banco::Fuoco(), QStringLiteral("Command1"));
    // Clicked into, a field of blanks is selected whole, and typing replaces the blanks.
    for (const std::string& spazi : {std::string(" "), std::string(17, ' ')}) {
      b->Tx(0)->setFocus(Qt::TabFocusReason);
      b->Imposta(8, spazi);
      b->Clic(8);
      QCOMPARE(Banco::Fuoco(), QStringLiteral("Tx(8)"));
      QTest::keyClicks(b->Tx(8), QStringLiteral("1"));
      QCOMPARE(b->stato.Tx[8], std::string("1"));
    }
    // So is a field as long as its limit, where typing would be refused: the header's date of
    // eight zeros.
    b->Imposta(9, "00000000");
    b->Clic(9);
    QTest::keyClicks(b->Tx(9), QStringLiteral("15032018"));
    QCOMPARE(b->stato.Tx[9], std::string("15032018"));
    // A field with text keeps the cursor where the click put it.
    b->Imposta(9, "0102");
    b->Clic(9);
    QTest::keyClicks(b->Tx(9), QStringLiteral("2018"));
    QCOMPARE(b->stato.Tx[9], std::string("01022018"));
  }

  void testiDiQtInItaliano() {
    // The test runs with LC_ALL=C: the menus are Italian all the same.
    QScopedPointer<QMenu> menu(b->Tx(0)->createStandardContextMenu());
    QStringList testi;
    for (const QAction* a : menu->actions()) {
      if (!a->isSeparator()) testi << a->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
    }
    QCOMPARE(testi, (QStringList{"Annulla", "Rifai", "Taglia", "Copia", "Incolla", "Elimina", "Seleziona tutto"}));
    QVERIFY(!TestiQtInItaliano(*qApp, QString::fromStdString(b->radice.percorso().string())));
  }

  void schermoPiccolo() {
    QVERIFY(b->Mostra());
    b->Apri("12");
    auto* scorrimento = b->Controllo<QScrollArea>(QStringLiteral("Scorrimento"));
    auto* barra = b->Controllo<QStatusBar>(QStringLiteral("StatusBar1"));
    const QSize progetto = b->finestra->size();
    const int altezzaBarra = barra->height();

    // Smaller than the window: it fits, the controls scroll, the status bar stays whole at the
    // bottom, and the window may be resized up to what the controls need.
    b->finestra->AdattaA(QSize(700, 400));
    QCOMPARE(b->finestra->size(), QSize(700, 400));
    QVERIFY(b->finestra->maximumWidth() > progetto.width() && b->finestra->maximumHeight() > progetto.height());
    QCOMPARE(barra->geometry(), QRect(0, 400 - altezzaBarra, 700, altezzaBarra));
    QTRY_VERIFY(scorrimento->verticalScrollBar()->isVisible() && scorrimento->horizontalScrollBar()->isVisible());
    // A field out of sight comes into it, where its cursor is, when the Tab key reaches it.
    b->Tx(8)->setFocus(Qt::TabFocusReason);
    Banco::Tasto(Qt::Key_Tab);
    const QRect cursore = b->Tx(9)->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    QVERIFY(scorrimento->viewport()->rect().contains(
        QRect(b->Tx(9)->mapTo(scorrimento->viewport(), cursore.topLeft()), cursore.size())));

    // Only too short: no bar across.
    b->finestra->AdattaA(QSize(1200, 600));
    QTRY_VERIFY(scorrimento->verticalScrollBar()->isVisible() && !scorrimento->horizontalScrollBar()->isVisible());
    // Room enough again: the designed size, fixed.
    b->finestra->AdattaA(QSize(1280, 1000));
    QCOMPARE(b->finestra->size(), progetto);
    QCOMPARE(b->finestra->minimumSize(), b->finestra->maximumSize());
    QTRY_VERIFY(!scorrimento->verticalScrollBar()->isVisible());
  }

  void testiInWindows1252() {
    QVERIFY(b->Mostra());
    b->Apri("12");
    b->Imposta(6, "caff\xE8 \x80");
    QCOMPARE(b->Tx(6)->text(), QString::fromUtf8("caffè €"));
    b->Tx(6)->setFocus(Qt::MouseFocusReason);
    b->Tx(6)->selectAll();
    for (QChar c : QString::fromUtf8("età")) {  // key clicks of QTest take ASCII only
      QKeyEvent tasto(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(b->Tx(6), &tasto);
    }
    QCOMPARE(b->stato.Tx[6], std::string("et\xE0"));
    b->stato.BarraDiStato = "perch\xE9";
    b->finestra->Aggiorna();
    QCOMPARE(b->Stato(), QString::fromUtf8("perché"));
  }

  void tipoFornituraAbilitaIProtocolli() {
    QVERIFY(b->Mostra());
    b->Apri("3");
    for (int i : {2, 3, 4}) QVERIFY(!b->Tx(i)->isEnabled());
    b->Scegli(1);  // A=Annullamento
    QCOMPARE(b->Combo1()->currentIndex(), 1);
    QCOMPARE(b->Tx(1)->text(), QStringLiteral("A"));
    for (int i : {2, 3, 4}) QVERIFY(b->Tx(i)->isEnabled());
    QCOMPARE(b->Stato(), kTipologia);

    // A single supply is a normal one for the state's letter.
    b->Scegli(3);
    QCOMPARE(b->Tx(1)->text(), QStringLiteral("N"));
    QCOMPARE(b->stato.FlagSingola, 1);
  }

  void sceltaDallaLista() {
    QVERIFY(b->Mostra());
    b->Apri("3");
    QVERIFY(b->Frame1()->isVisible());
    QCOMPARE(b->Lista()->currentText(), QStringLiteral("3 ROSSI SRL-"));

    b->Lista()->setFocus(Qt::MouseFocusReason);
    b->Lista()->setCurrentIndex(0);
    Banco::Tasto(Qt::Key_Down);  // the second entry
    QCOMPARE(b->Tx(0)->text(), QStringLiteral("12"));
    QCOMPARE(b->Tx(6)->text(), QStringLiteral("TCU1218"));
    QCOMPARE(b->Lista()->currentText(), QStringLiteral("12 BIANCHI SPA-FILIALE NORD"));
    QCOMPARE(b->Stato(), kTipologia);
    QVERIFY(b->Frame1()->isHidden());
    QCOMPARE(b->stato.CodiceCU, std::string("12"));

    // Text typed into the list's box stays there while other events update the window.
    b->Lista()->lineEdit()->selectAll();
    QTest::keyClicks(b->Lista()->lineEdit(), QStringLiteral("abc"));
    b->Tx(0)->setFocus(Qt::MouseFocusReason);
    Banco::Tasto(Qt::Key_End);
    QTest::keyClicks(b->Tx(0), QStringLiteral("z"));
    QCOMPARE(b->stato.Tx[0], std::string("12z"));
    QCOMPARE(b->Lista()->currentText(), QStringLiteral("abc"));
    QCOMPARE(b->Lista()->count(), 2);
  }

  void pulsanti() {
    QVERIFY(b->Mostra());
    // Command1 without a code: the error box, Frame1 stays hidden.
    QTest::mouseClick(b->Pulsante("Command1"), Qt::LeftButton);
    QCOMPARE(b->messaggi.Testi(), (std::vector<std::string>{"Certificazione non ancora selezionata "}));
    QVERIFY(b->Frame1()->isHidden());

    b->messaggi.risposte = {Risposta::Si};
    QTest::mouseClick(b->Pulsante("Command5"), Qt::LeftButton);
    QCOMPARE(b->messaggi.mostrati.back().pulsanti, Pulsanti::SiNo);
    QCOMPARE(b->stato.FlagReport, 1);

    QCOMPARE(b->piattaforma.terminazioni, 0);
    QTest::mouseClick(b->Pulsante("Command3"), Qt::LeftButton);
    QCOMPARE(b->piattaforma.terminazioni, 1);
  }

  void riaperturaDopoLaCreazione() {
    QVERIFY(b->Mostra());
    b->Apri("3");
    b->Scegli(0);
    QCOMPARE(b->Combo1()->currentIndex(), 0);

    // The writer's caption shows at once.
    b->stato.Avanzamento = "Elaborazione in corso";
    b->stato.Cambiata();
    QCOMPARE(b->Controllo<QLabel>(QStringLiteral("Label17"))->text(), QStringLiteral("Elaborazione in corso"));

    // A run without report: the file is written and the window starts over.
    QTest::mouseClick(b->Pulsante("Command2"), Qt::LeftButton);
    QVERIFY2(!b->messaggi.mostrati.empty(), "the run shows its closing message");
    QCOMPARE(b->messaggi.mostrati.back().testo, std::string("Memorizazione regolarmente effettuata..."));
    QVERIFY(b->Frame1()->isHidden());
    QCOMPARE(b->Tx(0)->text(), QString());
    QCOMPARE(b->Tx(1)->text(), QStringLiteral("N"));
    for (int i : {2, 3, 4}) QVERIFY(!b->Tx(i)->isEnabled());
    QCOMPARE(b->Combo1()->currentIndex(), -1);
    QCOMPARE(b->Lista()->currentText(), QString());
    QCOMPARE(b->Lista()->currentIndex(), -1);
    QCOMPARE(b->Lista()->count(), 2);
    QCOMPARE(b->Controllo<QLabel>(QStringLiteral("Label17"))->text(), QString());
    QCOMPARE(Banco::Fuoco(), QStringLiteral("Tx(0)"));
    QCOMPARE(b->Stato(), Aiuto(0));
  }

  void domandeConSiENo() {
    // The window with the real message boxes, each read and closed with its escape button.
    MessaggiQt box;
    Canali canali{b->percorsi, box};
    StatoFinestra stato{canali, b->piattaforma};
    stato.Apertura();
    FinestraPrincipale finestra(stato);
    box.ImpostaGenitore(&finestra);
    QStringList visti;
    QTimer risponditore;
    connect(&risponditore, &QTimer::timeout, [&visti] {
      auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!m) return;
      QStringList testi;
      for (QAbstractButton* p : m->buttons()) testi << p->text();
      testi.sort();
      visti << testi.join(QLatin1Char('/'));
      m->escapeButton()->click();
    });
    risponditore.start(10);
    auto premi = [&finestra](const char* nome) {
      QTest::mouseClick(finestra.findChild<QPushButton*>(QString::fromLatin1(nome)), Qt::LeftButton);
    };

    premi("Command1");  // no code: an OK box
    premi("Command5");  // the report question
    stato.Tx[0] = "3";
    QVERIFY(stato.ApriCU());
    stato.ScegliTipoFornitura(1);  // a cancellation: the writer asks to confirm the employee
    stato.Tx[2] = stato.Tx[3] = stato.Tx[4] = "1";
    premi("Command2");
    QCOMPARE(visti, (QStringList{"OK", QString::fromUtf8("&No/&Sì"), QString::fromUtf8("&No/&Sì")}));
  }

  void invioPremeIlPulsanteConIlFuoco() {
    QVERIFY(b->Mostra());
    auto blu = [](QWidget* w) {  // navy pixels
      const QImage i = w->grab().toImage();
      int n = 0;
      for (int k = 0; k < i.width() * i.height(); ++k) {
        n += i.pixelColor(k % i.width(), k / i.width()) == QColor(0, 0, 128);
      }
      return n;
    };
    QPushButton* fase1 = b->Pulsante("Command5");
    const int senzaFuoco = blu(fase1);

    // Tabbing from the code to FASE 2: Return opens the certification.
    QTest::keyClicks(b->Tx(0), QStringLiteral("3"));
    for (int k = 0; k < 3; ++k) Banco::Tasto(Qt::Key_Tab);
    QCOMPARE(Banco::Fuoco(), QStringLiteral("Command1"));
    Banco::Tasto(Qt::Key_Return);
    QVERIFY(b->Frame1()->isVisible());

    // The keypad's Enter on FASE 1 asks for the report; the focus shows as a navy frame.
    fase1->setFocus(Qt::TabFocusReason);
    b->messaggi.risposte = {Risposta::Si};
    Banco::Tasto(Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(b->stato.FlagReport, 1);
    // Held, it asks once: the first press the button sees, even one called a repeat (Wine lost the
    // release of the Enter that closed a box shown before the window), then one after a release.
    b->messaggi.mostrati.clear();
    for (const auto& [tipo, ripetuto] : {std::pair{QEvent::KeyPress, true},
                                         {QEvent::KeyPress, true},
                                         {QEvent::KeyRelease, false},
                                         {QEvent::KeyPress, false}}) {
      QKeyEvent tasto(tipo, Qt::Key_Return, Qt::NoModifier, QString(), ripetuto);
      QApplication::sendEvent(fase1, &tasto);
    }
    QCOMPARE(b->messaggi.mostrati.size(), size_t{2});
    QVERIFY(blu(fase1) - senzaFuoco >= 2 * (fase1->width() + fase1->height()));
  }

  void testiInteri() {
    // A certification whose list entry is wider than the list's box.
    b->Certificazione(
        7, prova::TestataProva().Metti(21, "IMPRESA COSTRUZIONI EDIL").Metti(45, "I MERIDIONALI RIUNITE SPA"));
    QVERIFY(b->Mostra());
    b->Apri("7");
    b->Scegli(3);
    // The caption with the widest company name: 48 characters and no blank.
    b->stato.Avanzamento = "Memorizzazione in corso......della CU di " + std::string(48, 'W');
    b->finestra->Aggiorna();
    QVERIFY(b->Controllo<QLabel>(QStringLiteral("Label19"))->text().contains(QStringLiteral("LUGLIO 1998, n.322")));

    // Every label whole inside its rectangle, with the fonts in use; all that are not, named.
    QStringList tagliate;
    for (const QLabel* l : b->finestra->findChildren<QLabel*>()) {
      const int a = Qt::AlignLeft | Qt::AlignTop | (l->wordWrap() ? Qt::TextWordWrap : 0);
      const QRect serve = l->fontMetrics().boundingRect(l->contentsRect(), a, l->text());
      if (!l->text().isEmpty() && !l->contentsRect().contains(serve)) {
        tagliate << QStringLiteral("%1 (%2x%3 in %4x%5)")
                        .arg(l->objectName())
                        .arg(serve.width())
                        .arg(serve.height())
                        .arg(l->contentsRect().width())
                        .arg(l->contentsRect().height());
      }
    }
    QVERIFY2(tagliate.isEmpty(), qPrintable(tagliate.join(QStringLiteral(", "))));
    // Each supply type whole beside the arrow of the closed Combo1.
    QStyleOptionComboBox opzione;
    opzione.initFrom(b->Combo1());
    const QRect campo =
        b->Combo1()->style()->subControlRect(QStyle::CC_ComboBox, &opzione, QStyle::SC_ComboBoxEditField, b->Combo1());
    for (int k = 0; k < b->Combo1()->count(); ++k) {
      QVERIFY2(b->Combo1()->fontMetrics().horizontalAdvance(b->Combo1()->itemText(k)) <= campo.width(),
               qPrintable(b->Combo1()->itemText(k)));
    }

    // A long entry chosen from the list shows its start, where the code is.
    b->Lista()->setFocus(Qt::MouseFocusReason);
    b->Lista()->setCurrentIndex(0);
    Banco::Tasto(Qt::Key_Down);
    QLineEdit* voce = b->Lista()->lineEdit();
    QVERIFY(voce->text().startsWith(QStringLiteral("7 IMPRESA")));
    QVERIFY(voce->fontMetrics().horizontalAdvance(voce->text()) > voce->width());
    const QRect cursore = voce->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    QVERIFY(cursore.left() < voce->fontMetrics().averageCharWidth());
    // Whole when the list is open.
    QVERIFY(b->Lista()->view()->minimumWidth() > voce->fontMetrics().horizontalAdvance(voce->text()));
  }

  // Arrowing through the supply types passes over "T": the normal supply chosen at the end is
  // one, and runs as one. End and Home go to the last and the first.
  void tipoFornituraConLeFrecce() {
    QVERIFY(b->Mostra());
    b->Apri("3");
    b->Combo1()->setFocus(Qt::TabFocusReason);
    Banco::Tasto(Qt::Key_End);
    QCOMPARE(b->stato.TipoScelto, 3);
    Banco::Tasto(Qt::Key_Home);
    QCOMPARE(b->stato.TipoScelto, 0);
    Banco::Tasto(Qt::Key_End);  // T=Normale SINGOLA
    QCOMPARE(b->stato.FlagSingola, 1);
    for (int k = 0; k < 3; ++k) Banco::Tasto(Qt::Key_Up);
    QCOMPARE(b->Combo1()->currentText(), QStringLiteral("N=Normale"));
    QCOMPARE(b->stato.FlagSingola, 0);
    for (int i : {2, 3, 4}) QVERIFY(!b->Tx(i)->isEnabled());
    QTest::mouseClick(b->Pulsante("Command2"), Qt::LeftButton);
    QCOMPARE(b->messaggi.Testi(), (std::vector<std::string>{"Memorizazione regolarmente effettuata..."}));
  }

  // A run that stops: its box shows under the caption of a stop, and once it is closed the focus
  // is where Enter, pressed again, starts nothing.
  void dopoUnArresto() {
    b->Certificazione(4, prova::TestataProva(), prova::DipendenteProva("RSSMRA80A01H501U", "+ROSSI"));
    QVERIFY(b->Mostra());
    auto* didascalia = b->Controllo<QLabel>(QStringLiteral("Label17"));
    b->messaggi.Osserva = [didascalia] { return didascalia->text().toStdString(); };
    b->Apri("4");
    b->Pulsante("Command2")->setFocus(Qt::TabFocusReason);
    Banco::Tasto(Qt::Key_Return);
    QCOMPARE(b->messaggi.mostrati.size(), size_t{1});
    const prova::MessaggioMostrato& box = b->messaggi.mostrati[0];
    QVERIFY(box.testo.starts_with("Il file telematico non ha superato il controllo:"));
    // The employee as the archive knows them, under the error; every finding in the details.
    const std::string rossi = "\n    dipendente +ROSSI MARIO, record 1 dell'archivio";
    QVERIFY(box.testo.find(rossi) != std::string::npos);
    QVERIFY(box.dettagli.starts_with("record 3, posizione 242: errore: ") && box.dettagli.ends_with(rossi));
    QCOMPARE(box.visto, std::string("Memorizzazione interrotta: nessun file telematico da inviare"));
    QCOMPARE(Banco::Fuoco(), QStringLiteral("Tx(0)"));
    Banco::Tasto(Qt::Key_Return);
    QCOMPARE(b->messaggi.mostrati.size(), size_t{1});
  }

  // A code typed in the list's box and Enter choose its certification; one the list lacks, nothing.
  void codiceDigitatoNellaLista() {
    QVERIFY(b->Mostra());
    for (const char* codice : {"12", "45"}) {
      b->Lista()->setFocus(Qt::MouseFocusReason);
      b->Lista()->lineEdit()->selectAll();
      QTest::keyClicks(b->Lista()->lineEdit(), QString::fromLatin1(codice));
      Banco::Tasto(Qt::Key_Return);
      QCOMPARE(b->Tx(0)->text(), QStringLiteral("12"));
    }
    QCOMPARE(b->Stato(), QStringLiteral("Nessuna certificazione con il codice 45 nell'elenco"));
    // A status bar that cuts its text has it whole in its tooltip and its description.
    auto* barra = b->Controllo<QStatusBar>(QStringLiteral("StatusBar1"));
    for (const std::string& testo : {std::string(300, 'x') + " <fine>", std::string("breve")}) {
      b->stato.Messaggio(testo);
      b->finestra->Aggiorna();
      QCOMPARE(barra->toolTip().contains(QStringLiteral("x &lt;fine&gt;")), testo != "breve");
      QCOMPARE(QAccessible::queryAccessibleInterface(barra)->text(QAccessible::Description),
               QString::fromStdString(testo));
    }
  }

  // A tooltip takes the palette's tooltip colours: Windows' visual style gives it its theme's text
  // colour, which Wine's theme makes light grey on the white it draws.
  void suggerimentiLeggibili() {
    QVERIFY(b->Mostra());
    QToolTip::showText(b->finestra->mapToGlobal(QPoint(20, 20)), QStringLiteral("<p>quibold</p>"), b->finestra.get());
    const QWidgetList finestre = QApplication::topLevelWidgets();
    const auto suggerimento =
        std::find_if(finestre.begin(), finestre.end(), [](QWidget* w) { return w->inherits("QTipLabel"); });
    QVERIFY(suggerimento != finestre.end() && (*suggerimento)->isVisible());
    QCOMPARE((*suggerimento)->palette().color(QPalette::ToolTipText), QToolTip::palette().color(QPalette::ToolTipText));
    QToolTip::hideText();
  }

  void visualizzatoreCheNonParte() {
    QVERIFY(b->Mostra());
    b->Apri("3");
    b->stato.FlagReport = 1;
    b->piattaforma.rifiuto = "nessun programma installato per aprire il file";
    QTest::mouseClick(b->Pulsante("Command2"), Qt::LeftButton);
    // After the run's closing message, a box names the report, and one the reason; then the end.
    QCOMPARE(b->piattaforma.aperti.size(), size_t{1});
    const std::vector<std::string> testi = b->messaggi.Testi();
    const std::string report = Cp1252DaUtf8(b->piattaforma.aperti[0].string());
    QCOMPARE(testi.size(), size_t{3});
    QCOMPARE(testi[1], "Il report di quadratura e' stato scritto in " + report);
    QVERIFY(testi[2].find(report) != std::string::npos);
    QVERIFY(testi[2].find(b->piattaforma.rifiuto) != std::string::npos);
    QCOMPARE(b->messaggi.mostrati[2].icona, Icona::Errore);
    QCOMPARE(b->piattaforma.terminazioni, 1);
  }

  // The box of a check that stopped a run, with 14 errors and 193 warnings: on the free area of
  // the screen the test runs on, and on a laptop's 1366x768 with a taskbar, the box fits with its
  // buttons; the first errors show at once, and "Copia" gives the whole text.
  void riquadroDeiRilievi() {
    QString testo = QStringLiteral("Il file telematico non ha superato il controllo:"), dettagli;
    for (int k = 1; k <= 207; ++k) {
      const QString r = QString::fromUtf8(
                            "record %1, posizione 242: %2: carattere di controllo nei dati\n    "
                            "dipendente NICCOLÒ, record %1 dell'archivio")
                            .arg(k)
                            .arg(k <= 14 ? "errore" : "avviso");
      if (k <= 10) testo += QLatin1Char('\n') + r;
      dettagli += (k > 1 ? QStringLiteral("\n") : QString()) + r;
    }
    testo += QStringLiteral("\ne altri 4 errori\ne 193 avvisi");
    RiquadroDettagli riquadro(testo, dettagli, QStringLiteral("Accesso"), Icona::Errore);
    QVERIFY(riquadro.height() < riquadro.screen()->availableGeometry().height());
    const QSize portatile = QSize(1366, 768 - 40).shrunkBy(QMargins(8, 31, 8, 8));  // a taskbar; a frame
    riquadro.AdattaA(portatile);
    riquadro.show();
    QVERIFY(QRect(QPoint(), portatile).contains(riquadro.rect()));
    auto* ok = riquadro.findChild<QPushButton*>(QStringLiteral("OK"));
    QVERIFY(riquadro.rect().contains(QRect(ok->mapTo(&riquadro, QPoint()), ok->size())));
    auto* area = riquadro.findChild<QPlainTextEdit*>(QStringLiteral("Dettagli"));
    QVERIFY(area->cursorForPosition(QPoint(0, 0)).block().text().startsWith(QStringLiteral("record 1,")));
    QVERIFY(area->viewport()->height() >= 12 * area->fontMetrics().lineSpacing());
    QTest::mouseClick(riquadro.findChild<QPushButton*>(QStringLiteral("Copia")), Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(), testo + QStringLiteral("\n\n") + dettagli);
  }

  void messaggiQt() {
    MessaggiQt box;
    struct Visto {
      QString testo, titolo, dettagli;
      QMessageBox::Icon icona = QMessageBox::NoIcon;
      QMessageBox::StandardButtons pulsanti;
      Qt::TextFormat formato = Qt::PlainText;
      bool operator==(const Visto&) const = default;
    } visto;
    auto rispondi = [&visto](QMessageBox::StandardButton scelta) {
      QTimer::singleShot(0, [&visto, scelta] {
        auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(m);
        visto = {m->text(), m->windowTitle(), m->detailedText(), m->icon(), m->standardButtons(), m->textFormat()};
        if (scelta == QMessageBox::Escape) {
          QTest::keyClick(m, Qt::Key_Escape);
        } else {
          m->button(scelta)->click();
        }
      });
    };

    rispondi(QMessageBox::Yes);
    QCOMPARE(box.Mostra("Vuoi <b>creare</b> ?", kTitoloProgramma, Pulsanti::SiNo, Icona::Nessuna), Risposta::Si);
    QCOMPARE(visto,
             (Visto{"Vuoi <b>creare</b> ?", "quibold", {}, QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No}));

    rispondi(QMessageBox::No);
    QCOMPARE(box.Mostra("?", "", Pulsanti::SiNo, Icona::Nessuna), Risposta::No);
    QCOMPARE(visto.titolo, QStringLiteral("quibold"));
    rispondi(QMessageBox::Escape);
    QCOMPARE(box.Mostra("?", "x", Pulsanti::SiNo, Icona::Nessuna), Risposta::No);
    // S and N answer, as in Windows' own boxes (were a key to do nothing, a later key answers the
    // other way: Escape No, Enter the default Yes).
    for (const auto& [tasto, altro, risposta] :
         {std::tuple{Qt::Key_S, Qt::Key_Escape, Risposta::Si}, {Qt::Key_N, Qt::Key_Return, Risposta::No}}) {
      QTimer::singleShot(0, [tasto, altro] {
        QWidget* m = QApplication::activeModalWidget();
        QTest::keyClick(m, tasto);
        QTimer::singleShot(1000, m, [m, altro] { QTest::keyClick(m, altro); });
      });
      QCOMPARE(box.Mostra("?", "x", Pulsanti::SiNo, Icona::Nessuna), risposta);
    }
    rispondi(QMessageBox::Ok);
    QCOMPARE(box.Mostra("Archivio inesistente ", "Accesso", Pulsanti::Ok, Icona::Errore), Risposta::Ok);
    QCOMPARE(visto, (Visto{"Archivio inesistente ", "Accesso", {}, QMessageBox::Critical, QMessageBox::Ok}));

    rispondi(QMessageBox::Ok);
    box.Mostra("l'unit\xE0", "Accesso", Pulsanti::Ok, Icona::Errore);
    QCOMPARE(visto.testo, QString::fromUtf8("l'unità"));
    QCOMPARE(visto.dettagli, QString());
  }
};

}  // namespace quibold

QTEST_MAIN(quibold::FinestraTest)
#include "finestra_test.moc"
