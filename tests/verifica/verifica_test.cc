#include "verifica/verifica.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/cur18_prova.h"

namespace quibold {
namespace {

using Records = std::vector<std::string>;

// Feeds a file in blocks of 1900 bytes, as the command reads it.
Verifica Controlla(const std::string& file) {
  Verifica v;
  for (size_t i = 0; i < file.size(); i += 1900) v.Record(std::string_view(file).substr(i, 1900));
  v.Fine();
  return v;
}

TEST(Verifica, AWellFormedFilePassesWithNoFinding) {
  Verifica v = Controlla(prova::Unisci(prova::Cur18Prova()));
  EXPECT_TRUE(v.Rilievi().empty()) << v.Rilievi()[0].messaggio;
  EXPECT_EQ(v.Records(), 7);
}

struct Guasto {
  const char* nome;
  std::function<void(Records&)> guasta;  // records 0-6: A B C D G G Z
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
    {"LF inside the data", [](Records& r) { r[4][499] = '\n'; }, 5, 500, Gravita::Errore, "a capo"},
    {"another withholding agent", [](Records& r) { r[5][1] = '1'; }, 6, 2, Gravita::Errore,
     "sostituto d'imposta diverso"},
    {"progressive out of order", [](Records& r) { r[3][45] = '2'; }, 4, 42, Gravita::Errore,
     "\"00002\" invece di \"00001\""},
    {"amount with a leading zero", [](Records& r) { r[4][106] = '0'; }, 5, 98, Gravita::Errore, "importo malformato"},
    {"unknown record type", [](Records& r) { r[5][0] = 'Q'; }, 6, 1, Gravita::Errore,
     "tipo di record sconosciuto \"Q\""},
    {"record C not announced by B", [](Records& r) { r[1][409] = '0'; }, 3, 1, Gravita::Errore, "non lo annuncia"},
    {"G after a cancellation's D",
     [](Records& r) {
       r[1][90] = '1';
       r[3][83] = 'A';
     },
     5, 1, Gravita::Errore, "annullamento"},
};

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

TEST(Verifica, TheListStopsAtItsCapButTheCountsGoOn) {
  Records r = prova::Cur18Prova();
  r.insert(r.begin() + 3, 1200, prova::Cur18Record("Q"));  // after C, before D: only the type is wrong
  Verifica v = Controlla(prova::Unisci(r));
  EXPECT_EQ(v.Errori(), 1200);
  ASSERT_EQ(v.Rilievi().size(), Verifica::kMaxRilievi);
  EXPECT_TRUE(v.Troncato());
  EXPECT_EQ(v.Rilievi().back().record, 1003);  // the first finding left out
  EXPECT_NE(v.Rilievi().back().messaggio.find("(201 rilievi, di cui 201 errori)"), std::string::npos)
      << v.Rilievi().back().messaggio;
}

}  // namespace
}  // namespace quibold
