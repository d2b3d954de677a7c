#include <gtest/gtest.h>

#include "archive/archivio.h"
#include "archive/dipendente.h"
#include "archive/testata.h"
#include "support/archivio_prova.h"

namespace quibold {
namespace {

TEST(TracciatoDipendente, SplitTakesEachFieldAsStored) {
  std::string record(6000, ' ');
  for (size_t i = 0; i < record.size(); ++i) record[i] = static_cast<char>('!' + i % 90);
  CampiDipendente c;
  SeparaCampi(record, c);
  EXPECT_EQ(c.Campo[1], record.substr(1, 16));
  EXPECT_EQ(c.Campo[26], record.substr(281, 12));  // last of the run 22-26 at 234
  EXPECT_TRUE(c.Campo[49].empty());
  EXPECT_TRUE(c.Campo[0].empty());
  EXPECT_EQ(c.Campo[477], record.substr(3981, 12));
  EXPECT_EQ(c.Campo[478], record.substr(3993, 1));  // position 3994
  EXPECT_EQ(c.Campo[479], record.substr(3994, 12));
  EXPECT_EQ(c.Campo[500], record.substr(4111, 6));  // ends at 4117
  EXPECT_EQ(c.Campo2[1], record.substr(4117, 12));
  EXPECT_EQ(c.Campo2[103], record.substr(5247, 12));  // ends at 5259
  EXPECT_TRUE(c.Campo2[104].empty());
}

TEST(TracciatoDipendente, ASplitReplacesTheFieldsOfTheRecordBefore) {
  prova::DipendenteProva primo;
  primo.Campo(27, "400");
  prova::DipendenteProva secondo;
  secondo.Campo(27, "120");
  std::string a = primo.testo(), b = secondo.testo();
  CampiDipendente c;
  SeparaCampi(a, c);
  c.Campo[27] = "365";
  c.SostituisciCampo2(18, "70");
  SeparaCampi(b, c);
  EXPECT_EQ(c.Campo[27], "120");
  EXPECT_EQ(c.Campo2[18], std::string(12, ' '));
}

TEST(Testata, FieldsByPositionNulToBlanksUpperCase) {
  prova::RecordProva r(1200);
  r.Metti(2, "1").Metti(3, "d").Metti(4, "rssmra80a01h501u").Metti(21, "caff\xE8 rossi");
  r.Metti(45, std::string(24, '\0')).Metti(411, "xyz");
  Testata t = SeparaTestata(r.testo());
  EXPECT_EQ(t[1], "1");
  EXPECT_EQ(t[2], "D");
  EXPECT_EQ(t[3], "RSSMRA80A01H501U");
  EXPECT_EQ(t[5], "CAFF\xC8 ROSSI" + std::string(13, ' '));
  EXPECT_EQ(t[6], std::string(24, ' '));
  EXPECT_EQ(t[44], "XYZ");
  EXPECT_TRUE(t[0].empty());
  EXPECT_TRUE(t[45].empty());
}

TEST(Testata, AFieldWithSomeNulsIsKeptAsItIs) {
  prova::RecordProva r(1200);
  r.Metti(193, std::string("1\0\0\0", 4));
  EXPECT_EQ(SeparaTestata(r.testo())[14], std::string("1\0\0\0", 4));
}

TEST(Testata, SecondRecordGivesKindAndEmployees) {
  Testata2 t = LeggiTestata2(prova::Testata2Prova(2, 37));
  EXPECT_EQ(t.tipo, 2);
  EXPECT_EQ(t.dipendenti, 37);
  EXPECT_EQ(LeggiTestata2(std::string(1200, ' ')).dipendenti, 0);
}

TEST(NomiArchivio, NumbersWithoutLeadingZeros) {
  EXPECT_EQ(PercorsoDatiDi("D:"), "D:\\vorn\\quelt\\2017\\dati\\");
  EXPECT_EQ(NomeFileTestata(PercorsoDatiDi("D:"), "7"), "D:\\vorn\\quelt\\2017\\dati\\FCU7.018");
  EXPECT_EQ(NomeFileDipendenti(PercorsoDatiDi(""), "12"), "\\vorn\\quelt\\2017\\dati\\DCU12.018");
}

}  // namespace
}  // namespace quibold
