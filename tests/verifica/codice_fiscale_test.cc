#include "verifica/codice_fiscale.h"

#include <gtest/gtest.h>

#include <string>

namespace quibold {
namespace {

TEST(CodiceFiscale, KnownCodesPassAndAnyOneCharacterChangedFails) {
  for (std::string codice : {"RSSMRA85T10A562S", "00743110157"}) {
    EXPECT_EQ(ControllaCF(codice + "     "), EsitoCF::Valido) << codice;
    for (size_t i = 0; i < codice.size(); ++i) {
      std::string cambiato = codice;
      // Another character of the same kind, so that the length and the kind stay valid.
      const char c = codice[i];
      cambiato[i] =
          c >= 'A' ? static_cast<char>('A' + (c - 'A' + 1) % 26) : static_cast<char>('0' + (c - '0' + 1) % 10);
      EXPECT_EQ(ControllaCF(cambiato), EsitoCF::ControlloErrato) << cambiato;
    }
  }
  EXPECT_EQ(CarattereControlloCF("RSSMRA85T10A562"), 'S');
  EXPECT_EQ(CifraControlloPartitaIva("0074311015"), '7');
}

TEST(CodiceFiscale, MalformedCodes) {
  const std::pair<const char*, EsitoCF> casi[] = {
      {"                ", EsitoCF::Mancante},
      {"0074311015", EsitoCF::NumericoNon11},
      {"RSSMRA85T10A562", EsitoCF::PersonaleNon16},
      {"rssmra85t10a562s", EsitoCF::CaratteriNonAmmessi},
  };
  for (const auto& [codice, esito] : casi) EXPECT_EQ(ControllaCF(codice), esito) << codice;
  EXPECT_EQ(CarattereControlloCF("RSSMRA85T10A56"), '\0');
  EXPECT_EQ(CifraControlloPartitaIva("007431101X"), '\0');
}

}  // namespace
}  // namespace quibold
