// What the value area of each field code of records C, D and G holds, as the check knows it:
// one row per code that this program writes, in the order in which its records carry them.
// A code missing here (another program may write codes this one never does) is judged only by
// what every field must be.
#pragma once

#include <cstdint>
#include <string_view>

namespace quibold::campi {

// The kinds of value area (16 characters).
enum class Valore : uint8_t {
  Ignoto,            // a code this program never writes
  Testo,             // text, left-aligned; the only kind a "+" continuation may carry on
  Importo,           // 13 places (blanks, then digits: "0000000000000" or "            0"), ",", two decimals
  ImportoIntero,     // whole units right-aligned, blanks before them (blank below one unit)
  Data,              // 8 blanks and a real day ggmmaaaa
  DataNascita,       // the same, of a person born from 1900 to 2017
  DataFirma,         // the same, not after today; no date (8 blanks or 8 zeros) is kept apart
  Provincia,         // an Italian province of 2017-2018 (province.h), or blank
  ProvinciaNascita,  // the same, or "EE" (born abroad); a province of an earlier time may be right
  Comune,            // a capital letter and three digits, or blank
  CodiceFiscale,     // 16 capital letters and digits, or 11 digits and 5 blanks
  CfSostituto,       // repeats the withholding agent's code of the heads
  CfDipendente,      // repeats the employee's code of the head of record D
  Lettera,           // one character of `ammessi`, then 15 blanks
  DueCaratteri,      // two characters, then 14 blanks
  Destra,            // blanks, then `larghezza` characters of `ammessi` (any, not all blank, when empty);
                     // digits are a number: fewer of them right-aligned after blanks read the same
};

struct Formato {
  Valore valore = Valore::Ignoto;
  uint8_t larghezza = 0;
  std::string_view ammessi = {};
  friend constexpr bool operator==(const Formato&, const Formato&) = default;
};

inline constexpr std::string_view kCifre = "0123456789";

// One letter of a fixed set.
constexpr Formato Lettera(std::string_view ammessi) { return {Valore::Lettera, 1, ammessi}; }
// Right-aligned: digits, a code of any characters, characters of a set.
constexpr Formato Serie(int larghezza, std::string_view ammessi) {
  return {Valore::Destra, static_cast<uint8_t>(larghezza), ammessi};
}
constexpr Formato Cifre(int larghezza) { return Serie(larghezza, kCifre); }
constexpr Formato Codice(int larghezza) { return Serie(larghezza, {}); }

inline constexpr Formato kTesto{Valore::Testo}, kImporto{Valore::Importo}, kIntero{Valore::ImportoIntero},
    kData{Valore::Data}, kDataNascita{Valore::DataNascita}, kDataFirma{Valore::DataFirma},
    kProvincia{Valore::Provincia}, kProvinciaNascita{Valore::ProvinciaNascita}, kComune{Valore::Comune},
    kCf{Valore::CodiceFiscale}, kCfSostituto{Valore::CfSostituto}, kCfDipendente{Valore::CfDipendente},
    kDueCaratteri{Valore::DueCaratteri};
inline constexpr Formato kFlag = Serie(1, "1");  // 15 blanks and "1"
inline constexpr Formato kDueCifre = Cifre(2);   // 14 blanks and two digits

struct CampoNoto {
  std::string_view codice;
  Formato formato;
};

// clang-format off
inline constexpr CampoNoto kCampiNoti[] = {
    // Record C: the CT fields.
    {"CT001001", kCfSostituto}, {"CT001002", kTesto}, {"CT001003", kTesto},
    {"CT002001", kFlag}, {"CT002002", kTesto},
    {"CT003001", kCf}, {"CT003002", kTesto}, {"CT003003", kTesto}, {"CT003004", kTesto}, {"CT003005", kFlag},

    // Record D: the withholding agent, the employee (sex, province and municipality codes as the
    // archive holds them: "M", "RM", "H501"), the foreign address, the signature.
    {"DA001001", kCfSostituto}, {"DA001002", kTesto}, {"DA001003", kTesto}, {"DA001004", kTesto},
    {"DA001005", kProvincia}, {"DA001006", kTesto}, {"DA001007", kTesto}, {"DA001008", kTesto},
    {"DA001009", kTesto}, {"DA001010", kTesto}, {"DA001011", kTesto},
    {"DA002001", kCfDipendente}, {"DA002002", kTesto}, {"DA002003", kTesto}, {"DA002004", Lettera("MF")},
    {"DA002005", kDataNascita}, {"DA002006", kTesto}, {"DA002007", kProvinciaNascita}, {"DA002008", kTesto},
    {"DA002009", Cifre(1)}, {"DA002010", Serie(1, "12")},
    {"DA002020", kTesto}, {"DA002021", kProvincia}, {"DA002022", kComune},
    {"DA002024", kTesto}, {"DA002025", kProvincia}, {"DA002026", kComune},
    {"DA002040", kTesto}, {"DA002041", kTesto}, {"DA002042", kTesto}, {"DA002043", kFlag}, {"DA002044", Cifre(3)},
    {"DA003001", kDataFirma}, {"DA003002", kFlag},

    // Records G: the employee's fiscal fields (DB001).
    {"DB001001", kImporto}, {"DB001002", kImporto}, {"DB001003", kImporto}, {"DB001004", kImporto},
    {"DB001005", kImporto}, {"DB001006", Cifre(3)}, {"DB001008", kData}, {"DB001009", kData},
    {"DB001010", kFlag}, {"DB001011", Cifre(1)},
    {"DB001021", kImporto}, {"DB001022", kImporto}, {"DB001023", kImporto}, {"DB001024", kImporto},
    {"DB001025", kImporto}, {"DB001026", kImporto}, {"DB001027", kImporto}, {"DB001028", kImporto},
    {"DB001029", kImporto},
    {"DB001051", kTesto}, {"DB001052", kFlag}, {"DB001054", Cifre(1)}, {"DB001055", Cifre(1)},
    {"DB001061", kImporto}, {"DB001062", kImporto}, {"DB001063", kImporto}, {"DB001064", kImporto},
    {"DB001071", kImporto}, {"DB001072", kImporto}, {"DB001073", kImporto}, {"DB001074", kImporto},
    {"DB001075", kDueCifre},
    {"DB001081", kImporto}, {"DB001082", kImporto}, {"DB001083", kImporto}, {"DB001084", kImporto},
    {"DB001085", kTesto},
    {"DB001091", kImporto}, {"DB001092", kImporto}, {"DB001093", kImporto}, {"DB001094", kImporto},
    {"DB001106", kImporto}, {"DB001107", kImporto}, {"DB001111", kImporto}, {"DB001112", kImporto},
    {"DB001121", kImporto}, {"DB001122", kImporto}, {"DB001123", kFlag}, {"DB001124", kImporto},
    {"DB001125", kTesto}, {"DB001126", kImporto}, {"DB001127", kImporto}, {"DB001128", kFlag},
    {"DB001141", kImporto}, {"DB001142", kImporto}, {"DB001143", kImporto},
    {"DB001151", kImporto}, {"DB001152", kImporto}, {"DB001153", kImporto},
    {"DB001261", kImporto}, {"DB001262", kImporto}, {"DB001263", kImporto}, {"DB001264", kImporto},
    {"DB001271", kImporto}, {"DB001272", kImporto}, {"DB001273", kImporto}, {"DB001274", kImporto},
    {"DB001275", kDueCifre},
    {"DB001281", kImporto}, {"DB001282", kImporto}, {"DB001283", kImporto}, {"DB001284", kImporto},
    {"DB001285", kTesto},
    {"DB001291", kImporto}, {"DB001292", kImporto}, {"DB001293", kImporto}, {"DB001294", kImporto},
    {"DB001306", kImporto}, {"DB001307", kImporto}, {"DB001311", kImporto}, {"DB001312", kImporto},
    {"DB001321", kImporto}, {"DB001322", kImporto}, {"DB001323", kFlag}, {"DB001324", kImporto},
    {"DB001325", kTesto}, {"DB001326", kImporto}, {"DB001327", kImporto}, {"DB001328", kFlag},
    {"DB001341", kIntero}, {"DB001342", kImporto}, {"DB001343", kIntero}, {"DB001344", kImporto},
    {"DB001361", kImporto}, {"DB001362", kImporto}, {"DB001363", kImporto}, {"DB001364", kImporto},
    {"DB001365", kImporto}, {"DB001366", kImporto}, {"DB001367", kImporto}, {"DB001368", kImporto},
    {"DB001369", kImporto}, {"DB001370", kImporto}, {"DB001371", kImporto}, {"DB001372", kImporto},
    {"DB001373", kImporto}, {"DB001374", kImporto}, {"DB001375", Cifre(3)},
    {"DB001376", kImporto}, {"DB001377", kImporto}, {"DB001378", kImporto},
    {"DB001391", Cifre(1)}, {"DB001392", kImporto}, {"DB001393", kImporto}, {"DB001394", kImporto},
    {"DB001395", Cifre(1)}, {"DB001396", kImporto}, {"DB001397", kImporto}, {"DB001399", kImporto},
    {"DB001411", Codice(1)}, {"DB001412", kImporto}, {"DB001413", kImporto}, {"DB001414", kImporto},
    {"DB001415", kData}, {"DB001425", kCf},
    {"DB001431", kImporto}, {"DB001432", Cifre(2)}, {"DB001433", kImporto},
    {"DB001438", kImporto}, {"DB001439", kImporto}, {"DB001440", kImporto}, {"DB001441", kImporto},
    {"DB001442", kImporto}, {"DB001443", kCf}, {"DB001444", kFlag},
    {"DB001451", kImporto}, {"DB001453", kImporto}, {"DB001454", kImporto}, {"DB001462", Cifre(3)},
    {"DB001473", kImporto}, {"DB001474", kImporto}, {"DB001475", kImporto}, {"DB001476", kFlag},
    {"DB001477", Lettera("AB")}, {"DB001478", kImporto},
    {"DB001481", kImporto}, {"DB001482", kImporto}, {"DB001484", Codice(1)}, {"DB001485", kImporto},
    {"DB001486", kTesto}, {"DB001487", kImporto}, {"DB001A89", Cifre(2)}, {"DB001B89", kDueCifre},
    {"DB001490", kIntero}, {"DB001491", kImporto}, {"DB001492", kCf},
    {"DB001496", kImporto}, {"DB001497", kImporto}, {"DB001498", kImporto}, {"DB001499", kImporto},
    {"DB001511", kImporto}, {"DB001512", kImporto}, {"DB001513", kImporto}, {"DB001515", kIntero},
    {"DB001516", kImporto}, {"DB001517", kImporto}, {"DB001518", kImporto}, {"DB001520", kImporto},
    {"DB001521", kIntero}, {"DB001522", kCf},
    {"DB001531", kImporto}, {"DB001532", kImporto}, {"DB001533", kImporto}, {"DB001534", kImporto},
    {"DB001535", kImporto}, {"DB001536", kCf}, {"DB001537", kIntero},
    {"DB001538", kImporto}, {"DB001539", kImporto}, {"DB001540", kImporto}, {"DB001541", kImporto},
    {"DB001542", kImporto}, {"DB001543", kImporto}, {"DB001544", kImporto}, {"DB001545", kImporto},
    {"DB001546", kImporto},
    {"DB001551", kIntero}, {"DB001552", kImporto}, {"DB001553", kIntero}, {"DB001554", kImporto},
    {"DB001561", kImporto}, {"DB001562", kImporto}, {"DB001563", kImporto}, {"DB001564", kImporto},
    {"DB001611", kCf}, {"DB001612", kFlag},

    // The dependants: the spouse, then rows 2 to 8 (relationship letter, fiscal code, two counts,
    // "C" or a percentage, flag), then the deduction for large families.
    {"DB601001", kFlag}, {"DB601004", kCf}, {"DB601005", kDueCifre},
    {"DB602001", Lettera("FD")}, {"DB602004", kCf}, {"DB602005", kDueCifre}, {"DB602006", kDueCifre},
    {"DB602B07", Lettera("C")}, {"DB602A07", kImporto}, {"DB602008", kFlag},
    {"DB603001", Lettera("FAD")}, {"DB603004", kCf}, {"DB603005", kDueCifre}, {"DB603006", kDueCifre},
    {"DB603B07", Lettera("C")}, {"DB603A07", kImporto}, {"DB603008", kFlag},
    {"DB604001", Lettera("FAD")}, {"DB604004", kCf}, {"DB604005", kDueCifre}, {"DB604006", kDueCifre},
    {"DB604B07", Lettera("C")}, {"DB604A07", kImporto}, {"DB604008", kFlag},
    {"DB605001", Lettera("FAD")}, {"DB605004", kCf}, {"DB605005", kDueCifre}, {"DB605006", kDueCifre},
    {"DB605B07", Lettera("C")}, {"DB605A07", kImporto}, {"DB605008", kFlag},
    {"DB606001", Lettera("FAD")}, {"DB606004", kCf}, {"DB606005", kDueCifre}, {"DB606006", kDueCifre},
    {"DB606B07", Lettera("C")}, {"DB606A07", kImporto}, {"DB606008", kFlag},
    {"DB607001", Lettera("FAD")}, {"DB607004", kCf}, {"DB607005", kDueCifre}, {"DB607006", kDueCifre},
    {"DB607B07", Lettera("C")}, {"DB607A07", kImporto}, {"DB607008", kFlag},
    {"DB608001", Lettera("FAD")}, {"DB608004", kCf}, {"DB608005", kDueCifre}, {"DB608006", kDueCifre},
    {"DB608B07", Lettera("C")}, {"DB608A07", kImporto}, {"DB608008", kFlag},
    {"DB610001", kImporto},

    // Social security: the INPS block (registration code, twelve month flags), the
    // collaborators' block, the third block (its code of 11 characters, two pairs of two digits).
    {"DC001001", Cifre(10)}, {"DC001002", kFlag}, {"DC001003", kFlag},
    {"DC001004", kImporto}, {"DC001005", kImporto}, {"DC001006", kImporto},
    {"DC001007", kFlag}, {"DC001008", Serie(12, "01")},
    {"DC001043", kImporto}, {"DC001044", kImporto}, {"DC001045", kImporto}, {"DC001046", kImporto},
    {"DC001047", kFlag}, {"DC001048", Serie(12, "01")}, {"DC001049", kTesto}, {"DC001050", kTesto},
    {"DC001071", kTesto}, {"DC001072", Cifre(11)}, {"DC001073", Cifre(4)}, {"DC001074", Cifre(4)},
    {"DC001075", kTesto}, {"DC001076", kFlag},

    // Severance pay: the part every employee gets (two 8-digit values), block A, block B.
    {"DF001801", kImporto}, {"DF001802", kImporto}, {"DF001803", kImporto}, {"DF001804", kImporto},
    {"DF001806", kImporto}, {"DF001808", kIntero}, {"DF001809", kImporto}, {"DF001810", kImporto},
    {"DF001811", kImporto}, {"DF001812", kImporto}, {"DF001813", kImporto},
    {"DF001814", Cifre(8)}, {"DF001815", Cifre(8)}, {"DF001816", kImporto}, {"DF001817", kIntero},
    {"DF001818", kFlag}, {"DF001819", kCf},
    {"DF001A35", kIntero}, {"DF001B35", kDueCifre}, {"DF001A36", kIntero}, {"DF001B36", kDueCifre},
    {"DF001A37", kIntero}, {"DF001B37", kDueCifre},
    {"DF001838", kImporto}, {"DF001839", kImporto}, {"DF001840", kImporto}, {"DF001841", Lettera("ABC")},
    {"DF001842", kIntero}, {"DF001843", kIntero}, {"DF001844", kImporto}, {"DF001845", kIntero},
    {"DF001846", kImporto}, {"DF001847", kImporto}, {"DF001848", kImporto}, {"DF001849", kImporto},
    {"DF001850", Lettera("ABC")}, {"DF001851", kImporto}, {"DF001852", kIntero}, {"DF001853", kCf},
    {"DF001854", kFlag}, {"DF001855", kFlag}, {"DF001856", kCf},
    {"DF001A57", kIntero}, {"DF001B57", kDueCifre}, {"DF001A58", kIntero}, {"DF001B58", kDueCifre},
    {"DF001A59", kDueCifre}, {"DF001B59", kDueCifre},
    {"DF001860", kImporto}, {"DF001861", kImporto}, {"DF001862", kImporto}, {"DF001863", Lettera("ABC")},
    {"DF001864", kIntero}, {"DF001865", kIntero}, {"DF001866", kImporto}, {"DF001867", kIntero},
    {"DF001868", kImporto}, {"DF001869", kImporto}, {"DF001870", Lettera("ABC")}, {"DF001871", kImporto},
    {"DF001872", kIntero}, {"DF001873", kCf},
    {"DF001894", kImporto}, {"DF001895", kFlag},
    {"DF001A96", kImporto}, {"DF001B96", Lettera("AB")}, {"DF001A97", kImporto}, {"DF001B97", Lettera("AB")},
    {"DF001898", kImporto}, {"DF001899", kImporto}, {"DF001900", kImporto}, {"DF001901", kImporto},
    {"DF001902", kImporto}, {"DF001903", kImporto}, {"DF001905", kImporto}, {"DF001907", kImporto},
    {"DF001908", kImporto}, {"DF001909", kImporto}, {"DF001910", kImporto}, {"DF001911", kImporto},
    {"DF001914", kImporto}, {"DF001915", kImporto}, {"DF001916", kIntero}, {"DF001920", kImporto},

    // The DN codes: two characters each.
    {"DN001001", kDueCaratteri}, {"DN001002", kDueCaratteri}, {"DN001003", kDueCaratteri},
    {"DN001004", kDueCaratteri}, {"DN001005", kDueCaratteri}, {"DN001006", kDueCaratteri},
    {"DN001007", kDueCaratteri}, {"DN001008", kDueCaratteri}, {"DN001009", kDueCaratteri},
    {"DN001010", kDueCaratteri}, {"DN001011", kDueCaratteri}, {"DN001012", kDueCaratteri},
    {"DN001013", kDueCaratteri}, {"DN001014", kDueCaratteri}, {"DN001015", kDueCaratteri},
    {"DN001016", kDueCaratteri}, {"DN001017", kDueCaratteri}, {"DN001018", kDueCaratteri},
    {"DN001019", kDueCaratteri},
};
// clang-format on

}  // namespace quibold::campi
