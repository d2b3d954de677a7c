// The certification archive: where its files are, on which channels and with which record
// lengths they are read.
#pragma once

#include <string>
#include <string_view>

namespace quibold {

inline constexpr std::string_view kFileDisco = "c:\\disco.ute";
inline constexpr std::string_view kCartellaDati = "\\vorn\\quelt\\2017\\dati\\";

inline constexpr int kCanaleTestata = 1;
inline constexpr int kCanaleDipendenti = 2;
inline constexpr int kCanaleTelematico = 8;
inline constexpr int kCanaleReport = 9;
inline constexpr int kCanaleDisco = 10;

inline constexpr int kLungDisco = 10;
inline constexpr int kLungTestata = 1200;
inline constexpr int kLungDipendente = 6000;

// The archive folder on a drive: `disco` & "\vorn\quelt\2017\dati\".
inline std::string PercorsoDatiDi(std::string_view disco) {
  return std::string(disco) + std::string(kCartellaDati);
}

// The certification header file, "FCU" & code & ".018" in the archive folder.
inline std::string NomeFileTestata(std::string_view percorsoDati, std::string_view codice) {
  return std::string(percorsoDati) + "FCU" + std::string(codice) + ".018";
}

// The employee file, "DCU" & code & ".018" in the archive folder.
inline std::string NomeFileDipendenti(std::string_view percorsoDati, std::string_view codice) {
  return std::string(percorsoDati) + "DCU" + std::string(codice) + ".018";
}

}  // namespace quibold
