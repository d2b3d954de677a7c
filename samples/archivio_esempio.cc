#include "samples/archivio_esempio.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "archive/archivio.h"
#include "archive/dipendente.h"
#include "archive/testata.h"
#include "verifica/codice_fiscale.h"

namespace fs = std::filesystem;

namespace quibold::esempio {
namespace {

void Metti(std::string& record, int posizione, int larghezza, std::string_view valore) {
  std::string v(valore.substr(0, static_cast<size_t>(larghezza)));
  v.resize(static_cast<size_t>(larghezza), ' ');
  record.replace(static_cast<size_t>(posizione - 1), v.size(), v);
}

// Position and width of a field of the employee record.
template <size_t N>
SerieCampi Posto(const std::array<SerieCampi, N>& tabella, int indice) {
  for (const SerieCampi& s : tabella) {
    if (indice >= s.primo && indice <= s.ultimo) {
      return {indice, indice, s.posizione + s.larghezza * (indice - s.primo), s.larghezza};
    }
  }
  throw std::out_of_range("campo " + std::to_string(indice) + " assente dal tracciato");
}

std::string Cifre(long n, int larghezza) {
  char t[24];
  std::snprintf(t, sizeof t, "%0*ld", larghezza, n);
  return t;
}

// An amount as the payroll programs store it: euros with "." and two decimals.
std::string Importo(long centesimi) {
  char t[24];
  std::snprintf(t, sizeof t, "%ld.%02ld", centesimi / 100, centesimi % 100);
  return t;
}

Testata TestataSocieta(std::string_view ragioneSociale, size_t dipendenti) {
  Testata t;
  t.Campo(1, "0")
      .Campo(2, "N")
      .Campo(3, PartitaIva("0123456789"))
      .Campo(5, ragioneSociale)
      .Campo(7, "0612345678")
      .Campo(8, "ufficio.personale@ferrbianchi.it")
      .Campo(9, CodicePersona("BNCGNN", 60, 1, 1, false, "H501"))
      .Campo(10, "01")
      .Campo(11, "")
      .Campo(12, "BIANCHI")
      .Campo(13, "GIOVANNI")
      .Campo(14, std::string(dipendenti < 1000 ? 4 - std::to_string(dipendenti).size() : 0, ' ') +
                     std::to_string(dipendenti))
      .Campo(16, "X")
      .Campo(19, "10")
      .Campo(20, CodicePersona("SPRFRN", 70, 1, 1, false, "F205"))
      .Campo(21, "1")
      .Campo(22, "01022018")
      .Campo(26, "15022018")
      .Campo(27, "00100")
      .Campo(28, "ROMA")
      .Campo(29, "RM")
      .Campo(30, "00184")
      .Campo(31, "VIA NAZIONALE 12")
      .Campo(32, "477")
      .Campo(33, "B")
      .Campo(34, "0612345678")
      .Campo(38, "001")
      .Campo(39, "3331234567")
      .Campo(41, "paghe@studioverdiconsulenti.it");
  return t;
}

// The personal data that every sample employee has.
Dipendente Persona(std::string_view cf, std::string_view cognome, std::string_view nome, char sesso,
                   std::string_view nascita, std::string_view luogo, std::string_view provincia,
                   std::string_view comune) {
  Dipendente d;
  d.Campo(1, cf)
      .Campo(2, cognome)
      .Campo(3, nome)
      .Campo(4, std::string(1, sesso))
      .Campo(5, nascita)
      .Campo(6, luogo)
      .Campo(7, provincia)
      .Campo(10, "1")
      .Campo(11, luogo)
      .Campo(12, provincia)
      .Campo(13, comune)
      .Campo(14, luogo)
      .Campo(15, provincia)
      .Campo(16, comune);
  return d;
}

}  // namespace

Testata::Testata() : testo_(static_cast<size_t>(kLungTestata), ' ') {}

Testata& Testata::Campo(int indice, std::string_view valore) {
  const CampoTestata& c = kCampiTestata.at(static_cast<size_t>(indice - 1));
  std::string v(valore);
  for (char& x : v) {
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
  }
  Metti(testo_, c.posizione, c.lunghezza, v);
  return *this;
}

Dipendente::Dipendente() : testo_(static_cast<size_t>(kLungDipendente), ' ') { testo_[0] = kRecordVivo; }

Dipendente& Dipendente::Campo(int indice, std::string_view valore) {
  const SerieCampi s = Posto(kTabellaCampo, indice);
  Metti(testo_, s.posizione, s.larghezza, valore);
  return *this;
}

Dipendente& Dipendente::Campo2(int indice, std::string_view valore) {
  const SerieCampi s = Posto(kTabellaCampo2, indice);
  Metti(testo_, s.posizione, s.larghezza, valore);
  return *this;
}

Dipendente& Dipendente::Stato(char c) {
  testo_[0] = c;
  return *this;
}

std::string CodiceFiscale(std::string_view primi15) {
  const char c = CarattereControlloCF(primi15);
  if (c == '\0') throw std::invalid_argument("codice fiscale: " + std::string(primi15));
  // Appended, not added: g++ 12 inlining the sum warns falsely of reading past the 15 characters.
  std::string codice(primi15);
  codice += c;
  return codice;
}

std::string PartitaIva(std::string_view prime10) {
  const char c = CifraControlloPartitaIva(prime10);
  if (c == '\0') throw std::invalid_argument("partita IVA: " + std::string(prime10));
  return std::string(prime10) + c;
}

std::string CodicePersona(std::string_view lettere, int anno, int mese, int giorno, bool donna,
                          std::string_view comune) {
  static constexpr char kMesi[] = "ABCDEHLMPRST";
  std::string base(lettere);
  base += Cifre(anno % 100, 2);
  base += kMesi[(mese - 1) % 12];
  base += Cifre(giorno + (donna ? 40 : 0), 2);
  base += comune;
  return CodiceFiscale(base);
}

std::string Testata2(int tipo, size_t dipendenti) {
  std::string r(static_cast<size_t>(kLungTestata), ' ');
  Metti(r, 2, 1, std::to_string(tipo));
  const std::string n = std::to_string(dipendenti);
  Metti(r, 3, 4, std::string(4 - n.size(), ' ') + n);
  return r;
}

Certificazione CertificazioneSocieta() {
  // A full-year employee with a spouse and three children, both social-security blocks and DN
  // codes.
  Dipendente rossi = Persona(CodicePersona("RSSMRA", 80, 1, 1, false, "H501"), "ROSSI", "MARIO", 'M', "01011980",
                             "ROMA", "RM", "H501");
  rossi.Campo(22, "28500.00")
      .Campo(27, "365")
      .Campo(33, "6200.50")
      .Campo(34, "400.10")
      .Campo(36, "110.00")
      .Campo(38, "55.00")
      .Campo(39, "128.40")
      .Campo(41, "61.20")
      .Campo(150, "6200.50")
      .Campo(151, "1200.00")
      .Campo(152, "380.00")
      .Campo(156, "95.00")
      .Campo(169, "960.00")
      .Campo(172, "1")
      // Dependants: the spouse, the first child (half the deduction) and two more children.
      .Campo(295, "X")
      .Campo(296, CodicePersona("VRDLCU", 82, 2, 1, true, "H501"))
      .Campo(297, "12")
      .Campo(298, "X")
      .Campo(300, CodicePersona("RSSLCA", 10, 3, 1, true, "H501"))
      .Campo(301, "12")
      .Campo(303, "50")
      .Campo(304, "X")
      .Campo(305, "X")
      .Campo(308, CodicePersona("RSSPLA", 12, 5, 20, false, "H501"))
      .Campo(309, "12")
      .Campo(311, "C")
      .Campo(313, "X")
      .Campo(316, CodicePersona("RSSGNN", 15, 9, 3, false, "H501"))
      .Campo(317, "12")
      .Campo(318, "04")
      .Campo(319, "100")
      .Campo(361, "400.00")
      // Social security: INPS block with the month flags, and the collaborators' block.
      .Campo(362, "1234567890")
      .Campo(363, "X")
      .Campo(365, "28500.00")
      .Campo(366, "2622.00")
      .Campo(369, "X")
      .Campo(370, "X")
      .Campo(371, "X")
      .Campo(372, "X")
      .Campo(373, "X")
      .Campo(374, "X")
      .Campo(375, "X")
      .Campo(376, "X")
      .Campo(377, "X")
      .Campo(378, "X")
      .Campo(379, "X")
      .Campo(380, "X")
      .Campo(381, "3000.00")
      .Campo(382, "810.00")
      .Campo(383, "270.00")
      .Campo(385, "")
      .Campo(386, "X")
      .Campo(387, "X")
      .Campo(388, "X")
      .Campo2(101, "01")
      .Campo2(102, "A1")
      .Campo(440, "A")
      .Campo(441, PartitaIva("0212345678"))
      .Campo(442, "1")
      .Campo(443, "12")
      .Campo(444, "01")
      .Campo(445, "06")
      .Campo(446, "2017")
      .Campo(447, "X")
      .Campo(448, "1500.00")
      .Campo(451, "345.00")
      .Campo2(75, "AB")
      .Campo2(76, "C ")
      .Campo2(77, "BR");

  // Part of the year, resident abroad since, with severance pay in both blocks.
  Dipendente verdi = Persona(CodicePersona("VRDGPP", 75, 3, 10, false, "F205"), "VERDI", "GIUSEPPE", 'M', "10031975",
                             "MILANO", "MI", "F205");
  verdi.Campo(17, "X7790123")
      .Campo(18, "MADRID")
      .Campo(19, "CALLE MAYOR 14")
      .Campo(20, "X")
      .Campo(21, "032")
      .Campo(22, "12000.00")
      .Campo(27, "120")
      .Campo(29, "01032017")
      .Campo(30, "30062017")
      .Campo(32, "1")
      .Campo(33, "1500.00")
      .Campo(34, "150.00")
      .Campo(150, "1500.00")
      .Campo(151, "540.00")
      .Campo(448, "2400.00")
      .Campo(449, "800.00")
      .Campo(451, "552.00")
      .Campo(453, "184.00")
      .Campo(461, "30062017")
      .Campo(466, PartitaIva("0312345678"))
      .Campo(482, "12")
      .Campo(483, "5")
      .Campo(486, "23.00")
      .Campo(488, "3200.00")
      .Campo(489, "736.00")
      .Campo(490, "A")
      .Campo(491, "4")
      .Campo(493, "3200.00")
      .Campo2(7, "X")
      .Campo2(9, CodicePersona("GLLFNC", 70, 6, 5, false, "F205"))
      .Campo2(10, "4")
      .Campo2(14, "5")
      .Campo2(16, "23.00")
      .Campo2(17, "1000.00")
      .Campo2(18, "900.00")
      .Campo2(19, "B")
      .Campo2(22, "300.00")
      .Campo2(52, "120.00")
      .Campo2(55, "A ")
      .Campo2(71, "45.60")
      .Campo2(75, "EF");

  Dipendente neri = Persona(CodicePersona("NRENNA", 90, 4, 10, true, "L219"), "NERI", "ANNA", 'F', "10041990", "TORINO",
                            "TO", "L219");
  neri.Campo(22, "9000.00").Stato('*');  // a record not live

  Dipendente gallo =
      Persona(CodicePersona("GLLLGU", 85, 7, 7, false, "H501"), "GALLO", "LUIGI", 'M', "", "ROMA", "RM", "H501");
  gallo.Campo(22, "7000.00");  // no date of birth: left out

  // A second income code with no income: only the fields from DB001481 on.
  Dipendente esposito = Persona(CodicePersona("SPSNNA", 48, 12, 1, true, "F839"), "ESPOSITO", "ANNA", 'F', "01121948",
                                "NAPOLI", "NA", "F839");
  esposito.Campo(10, "2").Campo(232, "850.00").Campo(235, "1").Campo2(75, "ZZ");

  Certificazione c;
  c.dipendenti = {rossi.testo(),   verdi.testo(), neri.testo(), gallo.testo(), DipendentePieno(1).testo(),
                  esposito.testo()};
  c.testata1 = TestataSocieta("FERRAMENTA BIANCHI SRL", 4).testo();
  c.testata2 = Testata2(1, c.dipendenti.size());
  return c;
}

Certificazione CertificazionePersonaFisica() {
  Testata t;
  t.Campo(1, "0")
      .Campo(2, "D")
      .Campo(3, CodicePersona("MRNPLA", 58, 11, 23, false, "D612"))
      .Campo(5, "MARINI")
      .Campo(6, "PAOLO")
      .Campo(7, "055234567")
      .Campo(8, "paolo.marini@example.it")
      .Campo(14, "1")
      .Campo(16, "X")
      .Campo(19, "01")
      .Campo(20, CodicePersona("MRNPLA", 58, 11, 23, false, "D612"))
      .Campo(21, "2")
      .Campo(22, "20022018")
      .Campo(26, "20022018")
      .Campo(28, "FIRENZE")
      .Campo(29, "FI")
      .Campo(30, "50122")
      .Campo(31, "BORGO PINTI 40")
      .Campo(33, "")
      .Campo(35, "X");
  Dipendente d = Persona(CodicePersona("GLLLCU", 66, 5, 14, true, "D612"), "GIALLI", "LUCIA", 'F', "14051966",
                         "FIRENZE", "FI", "D612");
  d.Campo(22, "8400.00")
      .Campo(27, "365")
      .Campo(33, "420.00")
      .Campo(34, "98.00")
      .Campo(362, "5544332211")
      .Campo(365, "8400.00")
      .Campo(368, "X")
      .Campo(448, "610.00");
  return {t.testo(), Testata2(1, 1), {d.testo()}};
}

Certificazione CertificazioneAutonomi() {
  Certificazione c = CertificazionePersonaFisica();
  c.testata1 = TestataSocieta("STUDIO TECNICO ASSOCIATO", 1).Campo(16, "").testo();
  c.testata2 = Testata2(2, 1);
  return c;
}

Dipendente DipendentePieno(int n) {
  static const char* const kCognomi[] = {
      "DELLA ROVERE MONTECCHI", "FONTANA", "COLOMBO", "RICCI", "MARINO", "GRECO", "BRUNO", "GALLI", "CONTI", "DE LUCA"};
  static const char* const kLettere[] = {"DLLMNC", "FNTLRA", "CLMGLI", "RCCSRA", "MRNFBA",
                                         "GRCNDR", "BRNMTT", "GLLSFN", "CNTLSS", "DLCGRG"};
  const int k = (n + 9) % 10;  // the first has a surname that continues in a second field
  const int anno = 60 + n % 40, mese = 1 + n % 12, giorno = 1 + n % 28;
  const std::string nascita = Cifre(giorno, 2) + Cifre(mese, 2) + "19" + Cifre(anno, 2);

  Dipendente d;
  // First every field by its width: a flag, a two-digit code, a count, a number, a date, a
  // company code, an amount, a fiscal code or a text.
  auto riempi = [&](int indice, int larghezza, bool secondo) {
    const long centesimi = 10000 + (indice * 7919L + n * 104729L + (secondo ? 5003 : 0)) % 900000;
    std::string v;
    switch (larghezza) {
      case 1: v = "X"; break;
      case 2: v = Cifre(1 + indice % 12, 2); break;
      case 3: v = Cifre(1 + indice % 30, 3); break;
      case 4: v = "2017"; break;
      case 6:  // at least 1.00, so that a whole amount has a value
        v = Importo(centesimi % 10000 < 100 ? centesimi % 10000 + 100 : centesimi % 10000);
        break;
      case 8: v = "31122017"; break;
      case 11: v = PartitaIva("0" + Cifre(100000000L + indice * 7L, 9)); break;
      case 12: v = Importo(centesimi); break;
      case 16: v = CodicePersona("BNCNNA", 50 + indice % 50, 1 + indice % 12, 1 + indice % 28, true, "A944"); break;
      default: v = "ANNOTAZIONE " + std::to_string(indice); break;
    }
    if (secondo)
      d.Campo2(indice, v);
    else
      d.Campo(indice, v);
  };
  for (const SerieCampi& s : kTabellaCampo) {
    for (int i = s.primo; i <= s.ultimo; ++i) riempi(i, s.larghezza, false);
  }
  for (const SerieCampi& s : kTabellaCampo2) {
    for (int i = s.primo; i <= s.ultimo; ++i) riempi(i, s.larghezza, true);
  }

  // Then the fields whose width does not tell what they hold.
  d.Campo(1, CodicePersona(kLettere[k], anno, mese, giorno, false, "H501"))
      .Campo(2, kCognomi[k])
      .Campo(3, "ALESSANDRO")
      .Campo(4, "M")
      .Campo(5, nascita)
      .Campo(6, "CIVITAVECCHIA")
      .Campo(7, "RM")
      .Campo(8, "A")
      .Campo(9, "1")
      .Campo(10, "1")
      .Campo(11, "ROMA")
      .Campo(12, "RM")
      .Campo(13, "H501")
      .Campo(14, "ROMA")
      .Campo(15, "RM")
      .Campo(16, "H501")
      .Campo(17, "B4471902")
      .Campo(18, "BRUXELLES")
      .Campo(19, "RUE ROYALE 120")
      .Campo(21, "017")
      .Campo(27, "365")
      .Campo(29, "01012017")
      .Campo(30, "31122017")
      .Campo(32, "2")
      .Campo(53, "1")
      .Campo(63, "7")
      .Campo(68, "H501")
      .Campo(83, "F205")
      .Campo(111, "3")
      .Campo(116, "L219")
      .Campo(121, "12")
      .Campo(131, "A944")
      .Campo(164, "12")
      .Campo(165, "50")
      .Campo(168, "1")
      .Campo(172, "2")
      .Campo(175, "1250.00")
      .Campo(176, "1")
      .Campo(194, "2")
      .Campo(216, "5")
      .Campo(230, "A")
      .Campo(235, "1")
      .Campo(237, "2")
      .Campo(240, "5")
      .Campo(241, "5")
      // Dependants: a spouse and seven children, the first at half, one with a disability.
      .Campo(299, " ")
      .Campo(303, "50")
      .Campo(306, "")
      .Campo(307, "")
      .Campo(311, "C")
      .Campo(362, "9876543210")
      .Campo(368, "")
      .Campo(385, "")
      .Campo(440, "A")
      .Campo(490, "B")
      .Campo(498, "2017")
      .Campo2(3, "C")
      .Campo2(14, "5")
      .Campo2(19, "A")
      .Campo2(20, "1")
      .Campo2(21, "2")
      .Campo2(26, "B")
      .Campo2(55, "A")
      .Campo2(57, "B")
      .Campo2(72, "2500.00")
      .Campo2(73, "300.00")
      .Campo2(102, "INPS0001");
  for (int riga = 4; riga <= 9; ++riga) d.Campo(305 + 8 * (riga - 3) + 1, "").Campo(305 + 8 * (riga - 3) + 2, "");
  static const char* const kDN[] = {"A1", "A2", "B1", "B2", "C1", "C2", "D1", "D2", "E1", "E2",
                                    "F1", "F2", "G1", "G2", "H1", "H2", "L1", "L2", "M1"};
  for (int i = 0; i < 19; ++i) d.Campo2(75 + i, kDN[i]);
  return d;
}

Certificazione ArchivioPieno(int n) {
  Certificazione c;
  for (int i = 1; i <= n; ++i) c.dipendenti.push_back(DipendentePieno(i).testo());
  c.testata1 = TestataSocieta("MANIFATTURE RIUNITE DEL LAZIO SPA", static_cast<size_t>(n)).testo();
  c.testata2 = Testata2(1, c.dipendenti.size());
  return c;
}

ScriviFile SulDisco(const fs::path& radice) {
  return [radice](const fs::path& relativo, const std::string& testo) {
    const fs::path file = radice / relativo;
    fs::create_directories(file.parent_path());
    std::ofstream f(file, std::ios::binary | std::ios::trunc);
    f.write(testo.data(), static_cast<std::streamsize>(testo.size()));
    if (!f.flush()) throw std::runtime_error("impossibile scrivere " + file.string());
  };
}

namespace {

const fs::path kDati = fs::path("c") / "vorn" / "quelt" / "2017" / "dati";

void ScriviTestata(const ScriviFile& scrivi, int codice, const Certificazione& c) {
  scrivi(fs::path("c") / "disco.ute", "C:        ");
  scrivi(kDati / ("FCU" + std::to_string(codice) + ".018"), c.testata1 + c.testata2);
}

}  // namespace

void ScriviCertificazione(const ScriviFile& scrivi, int codice, const Certificazione& c) {
  ScriviTestata(scrivi, codice, c);
  std::string dipendenti;
  for (const auto& d : c.dipendenti) dipendenti += d;
  scrivi(kDati / ("DCU" + std::to_string(codice) + ".018"), dipendenti);
}

void ScriviCertificazione(const fs::path& radice, int codice, const Certificazione& c) {
  ScriviCertificazione(SulDisco(radice), codice, c);
}

void ScriviArchivioStudio(const fs::path& radice, int n, int massimoDipendenti) {
  ScriviArchivioStudio(SulDisco(radice), n, massimoDipendenti);
}

void ScriviArchivioStudio(const ScriviFile& scrivi, int n, int massimoDipendenti) {
  static const char* const kCognomi[] = {"ROSSI", "FERRARI", "RUSSO", "ESPOSITO", "ROMANO", "COSTA", "RIZZO"};
  static const char* const kForme[] = {"SRL", "SPA", "SNC", "SAS", "SRLS"};
  for (int codice = 1; codice <= n; ++codice) {
    const int dipendenti = 2 + (codice * 37) % std::max(massimoDipendenti - 1, 1);
    const std::string nome = std::string(kCognomi[codice % 7]) + " " + kForme[codice % 5];
    Certificazione c;
    for (int i = 1; i <= dipendenti; ++i) {
      Dipendente d = DipendentePieno(codice + i);
      if (i == 1 && codice == 11) d.Campo(2, "+ROSSI");
      c.dipendenti.push_back(d.testo());
    }
    c.testata1 = TestataSocieta(nome, static_cast<size_t>(dipendenti)).testo();
    c.testata2 = Testata2(codice % 50 == 3 ? 2 : 1, c.dipendenti.size());
    if (codice % 100 == 10) c.dipendenti.pop_back();
    if (codice % 25 == 5) c.dipendenti[0][static_cast<size_t>(Posto(kTabellaCampo, 1).posizione + 14)] ^= 1;
    if (codice % 50 == 7) {
      ScriviTestata(scrivi, codice, c);  // and no employee file
    } else {
      ScriviCertificazione(scrivi, codice, c);
    }
  }
}

}  // namespace quibold::esempio
