// The certification archive: where its files are, on which channels and with which record
// lengths they are read.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "recfile/percorsi.h"

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
inline std::string PercorsoDatiDi(std::string_view disco) { return std::string(disco) + std::string(kCartellaDati); }

// The certification header file, "FCU" & code & ".018" in the archive folder.
inline std::string NomeFileTestata(std::string_view percorsoDati, std::string_view codice) {
  return std::string(percorsoDati) + "FCU" + std::string(codice) + ".018";
}

// The employee file, "DCU" & code & ".018" in the archive folder.
inline std::string NomeFileDipendenti(std::string_view percorsoDati, std::string_view codice) {
  return std::string(percorsoDati) + "DCU" + std::string(codice) + ".018";
}

// The reconciliation report and the batch file that opens it, on the archive's drive.
inline constexpr std::string_view kNomeReport = "report.txt";
inline std::string NomeFileReport(std::string_view disco) {
  return std::string(disco) + "\\vorn\\QUELT\\2017\\dati\\" + std::string(kNomeReport);
}
inline std::string NomeFileBatch(std::string_view disco) {
  return std::string(disco) + "\\vorn\\QUELT\\2017\\avstp.bat";
}

// A certification present in the archive folder: its number and its header file.
struct TestataPresente {
  int codice;
  std::filesystem::path nativo;
};

// The certifications of the archive folder, from one reading of it: every ordinary file (or link
// to one) named "FCU" & n & ".018" without regard to case, n from 1 to 999 written without
// leading zeros, by ascending n. Where two names differ only in case, the exact one wins.
std::vector<TestataPresente> ElencoTestate(const Percorsi& percorsi, std::string_view percorsoDati);

// What the output of a run must never be: the certification's header and employee files, every
// other header and employee file of the archive folder, the drive configuration file, the
// report and its batch file. Native paths.
std::vector<std::filesystem::path> FileDellArchivio(const Percorsi& percorsi, std::string_view disco,
                                                    std::string_view percorsoDati, std::string_view codice);

}  // namespace quibold
