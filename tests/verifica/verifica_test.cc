#include "verifica/verifica.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "support/cur18_prova.h"
#include "verifica/campi.h"
#include "verifica/codice_fiscale.h"

namespace quibold {
namespace {

using Records = std::vector<std::string>;

// The day the tests take as today.
constexpr long kOggi = 20180315;

// Feeds a file in blocks of 1900 bytes, as the command reads it.
Verifica Controlla(const std::string& file, Vaglio vaglio = Vaglio::Rapido) {
  Verifica v(vaglio, kOggi);
  for (size_t i = 0; i < file.size(); i += 1900) v.Record(std::string_view(file).substr(i, 1900));
  v.Fine();
  return v;
}

TEST(Verifica, AWellFormedFilePassesWithNoFinding) {
  Verifica v = Controlla(prova::Unisci(prova::Cur18Prova()));
  EXPECT_TRUE(v.Rilievi().empty()) << v.Rilievi()[0].messaggio;
  EXPECT_EQ(v.Records(), 7);
}

using Guasta = std::function<void(Records&)>;  // records 0-6: A B C D G G Z

// A field in place of the last of record D, or of the first of the last record G.
Guasta UltimoD(std::string_view codice, std::string_view valore) {
  return [campo = prova::Cur18Campo(codice, valore)](Records& r) { r[3].replace(161, 24, campo); };
}
Guasta PrimoG(std::string_view codice, std::string_view valore) {
  return [campo = prova::Cur18Campo(codice, valore)](Records& r) { r[5].replace(89, 24, campo); };
}

// The employee's fiscal code in the heads of records D and G and in field DA002001.
Guasta CodiceDipendente(std::string primi15) {
  return [cf = primi15 + CarattereControlloCF(primi15)](Records& r) {
    for (size_t i : {3, 4, 5}) r[i].replace(25, 16, cf);
    r[3].replace(121, 16, cf);
  };
}

struct Guasto {
  const char* nome;
  Guasta guasta;
  long record;
  int posizione;
  Gravita gravita;
  const char* messaggio;  // part of the first finding's message
};

const Guasto kGuasti[] = {
    {"cut by one byte", [](Records& r) { r.back().pop_back(); }, 7, 1900, Gravita::Errore, "incompleto"},
    {"empty file", [](Records& r) { r.clear(); }, 1, 1, Gravita::Errore, "file vuoto"},
    {"Z missing", [](Records& r) { r.pop_back(); }, 7, 1, Gravita::Errore, "manca il record Z"},
    {"wrong G count in Z", [](Records& r) { r[6][50] = '3'; }, 7, 43, Gravita::Errore,
     "conta 3 record G (posizioni 43-51), nel file ce ne sono 2"},
    {"field moved by one position",
     [](Records& r) {
       r[4].insert(113, " ");  // the rest of the record moves on by one; its last blank goes
       r[4].erase(1889, 1);
     },
     5, 114, Gravita::Errore, "codice di campo non valido"},
    {"G before its D", [](Records& r) { std::swap(r[3], r[4]); }, 4, 1, Gravita::Errore,
     "record G prima del suo record D"},
    {"continuation after another code", [](Records& r) { r[4].replace(121, 16, "+39 06 12345678 "); }, 5, 122,
     Gravita::Errore, "\"+\" (per esempio un telefono"},
    {"continuation first in the employee's G records", [](Records& r) { r[4].replace(97, 16, "+39 06 12345678 "); }, 5,
     98, Gravita::Errore, "non c'e' un campo precedente"},
    {"wrong check character: a warning", [](Records& r) { r[4][136] = 'T'; }, 5, 122, Gravita::Avviso,
     "carattere di controllo errato"},
    {"CR before the end", [](Records& r) { r[1][1898] = ' '; }, 2, 1899, Gravita::Errore, "ritorno carrello"},
    {"LF inside the data", [](Records& r) { r[3][150] = '\n'; }, 4, 151, Gravita::Errore, "a capo"},
    {"another withholding agent", [](Records& r) { r[5][1] = '1'; }, 6, 2, Gravita::Errore,
     "sostituto d'imposta diverso"},
    {"progressive out of order", [](Records& r) { r[3][45] = '2'; }, 4, 42, Gravita::Errore,
     "\"00002\" invece di \"00001\""},
    {"amount with a blank among its digits", [](Records& r) { r[4][107] = ' '; }, 5, 98, Gravita::Errore,
     "importo malformato"},
    {"unknown record type", [](Records& r) { r[5][0] = 'Q'; }, 6, 1, Gravita::Errore,
     "tipo di record sconosciuto \"Q\""},
    {"record C not announced by B", [](Records& r) { r[1][409] = '0'; }, 3, 1, Gravita::Errore, "non lo annuncia"},
    {"G after a cancellation's D",
     [](Records& r) {
       r[1][90] = '1';
       r[3].replace(46, 23, "00000000000012345000042");
       r[3][83] = 'A';
     },
     5, 1, Gravita::Errore, "annullamento"},

    // Positional values: record A, B, the head of D.
    {"supplier type neither 01 nor 10", [](Records& r) { r[0].replace(20, 2, "11"); }, 1, 21, Gravita::Errore,
     "tipo del fornitore (record A, posizioni 21-22): ammessi \"01\" o \"10\", qui \"11\""},
    {"supplier's code of 15 characters", [](Records& r) { r[0][37] = ' '; }, 1, 23, Gravita::Errore,
     "di 15 caratteri invece di 16"},
    {"commitment date cut to eight characters", [](Records& r) { r[1].replace(428, 8, "31/01/20"); }, 2, 429,
     Gravita::Errore, "(record B, posizioni 429-436): \"31/01/20\" non e' una data esistente"},
    {"commitment date of 30 February", [](Records& r) { r[1].replace(428, 8, "30022018"); }, 2, 429, Gravita::Errore,
     "non e' una data esistente"},
    {"producer's code of 15 characters", [](Records& r) { r[1][88] = ' '; }, 2, 74, Gravita::Errore,
     "codice fiscale del produttore del software di 15 caratteri"},
    {"representative's code of 3 characters", [](Records& r) { r[1].replace(309, 3, "ABC"); }, 2, 310, Gravita::Errore,
     "codice fiscale del rappresentante di 3 caratteri"},
    {"representative's office of letters", [](Records& r) { r[1].replace(325, 2, "AM"); }, 2, 326, Gravita::Errore,
     "codice di carica del rappresentante (record B, posizioni 326-327) non numerico"},
    {"commitment type 3", [](Records& r) { r[1][427] = '3'; }, 2, 428, Gravita::Errore, "ammessi \"1\" o \"2\""},
    {"data where record B has blanks", [](Records& r) { r[1][1500] = 'X'; }, 2, 1501, Gravita::Avviso,
     "dovrebbero essere vuote"},
    {"a name beyond ASCII", [](Records& r) { r[1][140] = '\xC8'; }, 2, 141, Gravita::Avviso,
     "\"<C8>\" fuori dall'ASCII"},
    {"normal supply naming a submission to replace", [](Records& r) { r[3][62] = '1'; }, 4, 47, Gravita::Errore,
     "fornitura ordinaria"},
    {"replacement without its protocol",
     [](Records& r) {
       r[1][91] = '1';
       r[3][83] = 'S';
     },
     4, 47, Gravita::Errore, "sostituzione senza il protocollo"},
    {"protocol with a letter", [](Records& r) { r[3][50] = 'A'; }, 4, 47, Gravita::Errore, "non numerico"},
    {"employee's code of 15 characters", [](Records& r) { r[3][40] = ' '; }, 4, 26, Gravita::Errore,
     "codice fiscale del dipendente di 15 caratteri"},

    // Field values.
    {"date of birth of 31 February", UltimoD("DA002005", "        31022017"), 4, 170, Gravita::Errore,
     "data esistente"},
    {"province of a letter and a digit", UltimoD("DA002007", "R1"), 4, 170, Gravita::Errore,
     "sigla della provincia non valida"},
    {"province in lower case", UltimoD("DA002007", "rm"), 4, 170, Gravita::Avviso, "in minuscolo"},
    {"municipality code of three characters", UltimoD("DA002022", "H50"), 4, 170, Gravita::Errore,
     "codice del comune non valido"},
    {"flag holding X", PrimoG("DB001010", "               X"), 6, 98, Gravita::Errore,
     "15 spazi e poi 1 carattere: \"1\""},
    {"two digits holding a letter", PrimoG("DB601005", "              1A"), 6, 98, Gravita::Errore, "solo cifre"},
    {"right-aligned digits left-aligned", PrimoG("DC001073", "0512"), 6, 98, Gravita::Errore,
     "12 spazi e poi 4 caratteri"},
    {"whole amount with a sign", PrimoG("DF001808", "             -36"), 6, 98, Gravita::Errore,
     "importo in unita' malformato"},
    {"whole amount without value", PrimoG("DF001808", ""), 6, 98, Gravita::Avviso, "senza valore"},
    {"month flags holding a 2", PrimoG("DC001008", "    110111111112"), 6, 98, Gravita::Errore, "solo \"0\" o \"1\""},
    {"right-aligned code without value", PrimoG("DB001411", ""), 6, 98, Gravita::Errore,
     "15 spazi e poi 1 carattere: un codice"},
    {"amount of a code this program never writes", PrimoG("DB009001", "    1.234.567,50"), 6, 98, Gravita::Errore,
     "importo malformato"},
    {"amount with a decimal point", PrimoG("DB001001", "1234.50"), 6, 98, Gravita::Errore, "importo malformato"},
    {"letter outside its set", PrimoG("DF001841", "D"), 6, 98, Gravita::Errore, "ammette \"A\", \"B\" o \"C\""},
    {"DN code of one character", [](Records& r) { r[5][98] = ' '; }, 6, 98, Gravita::Errore, "due caratteri"},
    {"fiscal code of 14 characters", PrimoG("DB001425", "RSSMRA85T10A56"), 6, 98, Gravita::Errore,
     "di 14 caratteri invece di 16"},
    {"continuation of a field that is no text",
     [](Records& r) { r[5].replace(113, 24, prova::Cur18Campo("DN001001", "+C")); }, 6, 122, Gravita::Errore,
     "non e' un testo"},

    // What the agency refuses, or will likely discard the certification for (the employee's code
    // says a man born on 10/12/1985; today is 15/03/2018).
    {"withholding agent abroad", UltimoD("DA001005", "EE"), 4, 170, Gravita::Errore,
     "\"EE\" (estero) vale solo per la provincia di nascita"},
    {"residence in no province", UltimoD("DA002021", "XX"), 4, 170, Gravita::Errore,
     "\"XX\" non e' una provincia italiana del 2017-2018"},
    {"born in a province of an earlier time", UltimoD("DA002007", "FU"), 4, 170, Gravita::Avviso,
     "\"FU\" nel campo \"DA002007\" non e' una provincia del 2017-2018"},
    {"foreign state code with a letter", UltimoD("DA002044", "             0A9"), 4, 170, Gravita::Errore,
     "13 spazi e poi 3 caratteri: solo cifre"},
    {"social-security code with a letter", PrimoG("DC001072", "     1234567890A"), 6, 98, Gravita::Errore,
     "5 spazi e poi 11 caratteri: solo cifre"},
    {"sex neither M nor F", UltimoD("DA002004", "X"), 4, 170, Gravita::Errore, "ammette \"M\" o \"F\" seguito"},
    {"sex left blank", UltimoD("DA002004", ""), 4, 170, Gravita::Avviso, "\"DA002004\" e' scritto senza valore"},
    {"text left blank", UltimoD("DA002020", ""), 4, 170, Gravita::Avviso, "\"DA002020\" e' scritto senza valore"},
    {"signature date of zeros", UltimoD("DA003001", "        00000000"), 4, 170, Gravita::Avviso,
     "non ha la data della firma"},
    {"signature date after today", UltimoD("DA003001", "        16032018"), 4, 170, Gravita::Avviso,
     "la data della firma 16/03/2018 viene dopo oggi, 15/03/2018"},
    {"born before 1900", UltimoD("DA002005", "        31121899"), 4, 170, Gravita::Avviso,
     "data di nascita 31/12/1899 fuori dagli anni 1900-2017"},
    {"born after 2017", UltimoD("DA002005", "        10122085"), 4, 170, Gravita::Avviso,
     "data di nascita 10/12/2085 fuori dagli anni 1900-2017"},
    {"fiscal code against the date of birth", UltimoD("DA002005", "        11121985"), 4, 170, Gravita::Avviso,
     "il codice fiscale indica nato il 10/12/1985, la data di nascita e' 11/12/1985"},
    {"fiscal code against the sex", UltimoD("DA002004", "F"), 4, 170, Gravita::Avviso,
     "il codice fiscale indica un uomo, il sesso e' \"F\""},
    {"fiscal code with no month of birth", CodiceDipendente("RSSMRA85Z10A562"), 4, 26, Gravita::Avviso,
     "non ha una data di nascita e un sesso leggibili"},
};

// What the agency accepts, as other programs write it.
const std::pair<const char*, Guasta> kAccettati[] = {
    {"amount of blanks and one zero before the comma", PrimoG("DB001001", "            0,40")},
    {"whole amount with zeros before it", PrimoG("DF001808", "             036")},
    {"digits fewer than the field's, right-aligned", PrimoG("DB001006", "               5")},
    {"record D without the confirmation", [](Records& r) { r[3][88] = '0'; }},
    {"born abroad", UltimoD("DA002007", "EE")},
    {"signed today", UltimoD("DA003001", "        15032018")},
    {"date of birth as the code says", UltimoD("DA002005", "        10121985")},
    {"code made unique with letters for digits", CodiceDipendente("RSSMRA85T1LA562")},
};

TEST(Verifica, WhatTheAgencyAcceptsIsNoFinding) {
  for (const auto& [nome, guasta] : kAccettati) {
    Records r = prova::Cur18Prova();
    guasta(r);
    const Verifica v = Controlla(prova::Unisci(r));
    EXPECT_TRUE(v.Rilievi().empty()) << nome << ": " << TestoRilievo(v.Rilievi()[0]);
  }
}

TEST(Verifica, EachFaultIsTheFirstFinding) {
  for (const Guasto& g : kGuasti) {
    Records r = prova::Cur18Prova();
    g.guasta(r);
    Verifica v = Controlla(prova::Unisci(r));
    ASSERT_FALSE(v.Rilievi().empty()) << g.nome;
    const Rilievo& primo = v.Rilievi()[0];
    EXPECT_EQ(primo.record, g.record) << g.nome;
    EXPECT_EQ(primo.posizione, g.posizione) << g.nome;
    EXPECT_EQ(primo.gravita, g.gravita) << g.nome;
    EXPECT_NE(primo.messaggio.find(g.messaggio), std::string::npos) << g.nome << ": " << primo.messaggio;
    if (g.gravita == Gravita::Avviso) {
      EXPECT_EQ(v.Errori(), 0) << g.nome;
    }
  }
}

// The checks of a record go by kind; its findings come by position, each naming the employee
// whose record it is, as the head of a record D or G names them.
TEST(Verifica, FindingsOfARecordComeByPositionNamingTheEmployee) {
  Records r = prova::Cur18Prova();
  r[1][1500] = 'X';                                                  // B: no employee
  r[3].replace(161, 24, prova::Cur18Campo("DA002007", "R1"));        // D: a province at 170...
  r[3].replace(185, 24, prova::Cur18Campo("DA002020", "ROMA\x01"));  // ...before a control character
  r[5].replace(25, 16, "                ");                          // G: no fiscal code
  r[5].replace(89, 24, prova::Cur18Campo("DN001001", "A"));
  Verifica v = Controlla(prova::Unisci(r));
  std::vector<std::tuple<long, int, std::string>> visti;
  for (const Rilievo& f : v.Rilievi()) visti.emplace_back(f.record, f.posizione, f.dipendente);
  const std::string rossi = "dipendente con codice fiscale RSSMRA85T10A562S, progressivo 00001";
  const std::string senza = "dipendente senza codice fiscale, progressivo 00001";
  EXPECT_EQ(visti, (std::vector<std::tuple<long, int, std::string>>{
                       {2, 1501, ""}, {4, 170, rossi}, {4, 198, rossi}, {6, 26, senza}, {6, 98, senza}}));
  EXPECT_EQ(RigheRilievo(v.Rilievi()[1]), TestoRilievo(v.Rilievi()[1]) + "\n    " + rossi);
  EXPECT_EQ(RigheRilievo(v.Rilievi()[0]), TestoRilievo(v.Rilievi()[0]));
}

TEST(Verifica, TheListStopsAtItsCapButTheCountsGoOn) {
  Records r = prova::Cur18Prova();
  r.insert(r.begin() + 3, 1200, prova::Cur18Record("Q"));  // after C, before D: only the type is wrong
  Verifica v = Controlla(prova::Unisci(r));
  EXPECT_EQ(v.Errori(), 1200);
  ASSERT_EQ(v.Rilievi().size(), Verifica::kMaxRilievi);
  EXPECT_TRUE(v.Troncato());
  EXPECT_EQ(v.Rilievi().back().record, 1003);  // the first finding left out
  EXPECT_NE(v.Rilievi().back().messaggio.find("altri 201 non sono elencati (di cui 201 errori)"), std::string::npos)
      << v.Rilievi().back().messaggio;
}

// An error after a thousand warnings is listed, in its place in file order: warnings leave.
TEST(Verifica, TheCapKeepsEveryErrorBeforeAnyWarning) {
  Records r = prova::Cur18Prova();
  std::string avviso = r[5];
  avviso.replace(113, 24, prova::Cur18Campo("DB601004", "RSSMRA85T10A562T"));  // wrong check letter
  r.insert(r.begin() + 5, 1200, avviso);
  r.back()[50] = '3';  // the G count of Z, wrong
  Verifica v = Controlla(prova::Unisci(r));
  EXPECT_EQ(v.Errori(), 1);
  EXPECT_EQ(v.Avvisi(), 1200);
  const auto& l = v.Rilievi();
  ASSERT_EQ(l.size(), Verifica::kMaxRilievi);
  const Rilievo& errore = l[l.size() - 2];
  EXPECT_EQ(errore.gravita, Gravita::Errore);
  EXPECT_EQ(errore.record, 1207);
  EXPECT_EQ(l[l.size() - 3].record, 1003);  // the earliest warnings stay
  EXPECT_EQ(l.back().record, 1004);         // the first left out
  EXPECT_NE(l.back().messaggio.find("altri 202 non sono elencati (di cui 0 errori)"), std::string::npos)
      << l.back().messaggio;
}

// The quick tests of the bytes hide nothing: every code the check knows, of records D and G, with
// each of a set of values that lie on the edges of the kinds, finds the same through both ways.
TEST(Verifica, TheQuickTestsHideNoFindingOfTheRules) {
  // clang-format off
  const char* const kValori[] = {
      "", "0000000000000,00", "            1,00", "           01,00", "1234567890123,45", "    1234,5      ",
      "               1", "               2", "              12", "             012", "          123456",
      "        01012017", "        31022017", "        00000000", "A", "a", "AB", "RM", "rm", "H501", "h501",
      "RSSMRA85T10A562S", "RSSMRA85T10A562T", "00743110157", "+SEGUITO", "CITT\xC0", "   1,00", "1",
      "            0,40", "             036", "EE", "XX", "M", "F", "        31121899", "        16032018",
      "        11121985", "    5"};
  // clang-format on
  for (const char* valore : kValori) {
    SCOPED_TRACE(valore);
    Records file = prova::Cur18Prova();
    const std::string testa = file[4].substr(0, 89);
    std::vector<std::string> d, g;
    for (const campi::CampoNoto& c : campi::kCampiNoti) {
      if (c.codice.starts_with("DA")) d.push_back(prova::Cur18Campo(c.codice, valore));
      if (c.codice[0] == 'D' && !c.codice.starts_with("DA")) g.push_back(prova::Cur18Campo(c.codice, valore));
    }
    Records nuovi = {file[3].substr(0, 89) + std::string()};
    for (size_t i = 0; i < d.size() && i < 75; ++i) nuovi[0] += d[i];
    for (size_t i = 0; i < g.size(); ++i) {
      if (i % 75 == 0) nuovi.push_back(testa);
      nuovi.back() += g[i];
    }
    for (auto& r : nuovi) r = prova::Cur18Record(r);
    file.erase(file.begin() + 3, file.end());
    file.insert(file.end(), nuovi.begin(), nuovi.end());
    file.push_back(prova::Cur18Record(prova::Cur18Z(1, 1, 1, static_cast<long>(nuovi.size() - 1))));
    const Verifica rapida = Controlla(prova::Unisci(file)), completa = Controlla(prova::Unisci(file), Vaglio::Completo);
    ASSERT_GT(completa.Rilievi().size(), 0u);  // the edges are found somewhere
    ASSERT_EQ(rapida.Rilievi().size(), completa.Rilievi().size());
    for (size_t i = 0; i < completa.Rilievi().size(); ++i) {
      EXPECT_EQ(TestoRilievo(rapida.Rilievi()[i]), TestoRilievo(completa.Rilievi()[i]));
    }
  }
}

}  // namespace
}  // namespace quibold
