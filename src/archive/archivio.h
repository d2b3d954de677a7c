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
inline constexpr std::string_view kNomeDisco = kFileDisco.substr(3);
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
inline constexpr std::string_view kNomeBatch = "avstp.bat";
inline std::string NomeFileReport(std::string_view disco) {
  return std::string(disco) + "\\vorn\\QUELT\\2017\\dati\\" + std::string(kNomeReport);
}
inline std::string NomeFileBatch(std::string_view disco) {
  return std::string(disco) + "\\vorn\\QUELT\\2017\\" + std::string(kNomeBatch);
}
// The text viewer in the suite's program folder, which the batch file starts with the report.
inline std::string NomeVisualizzatore(std::string_view disco) { return std::string(disco) + "\\wvorn\\wordpad"; }

// A certification present in the archive folder: its number and its header file.
struct TestataPresente {
  int codice;
  std::filesystem::path nativo;
};

// The certifications of the archive folder, from one reading of it: every ordinary file (or link
// to one) named "FCU" & n & ".018" without regard to case, n from 1 to 999 written without
// leading zeros, by ascending n. Where two names differ only in case, the exact one wins.
std::vector<TestataPresente> ElencoTestate(const Percorsi& percorsi, std::string_view percorsoDati);

// The files of the archive, as a run's output must never replace them.
enum class FileArchivio { Nessuno, Disco, Testata, Dipendenti, Report, Batch };

// Which file of the archive writing to the native path `nativo` would replace, or hide: a new
// name that differs from an archive file's only in case, in the same folder, would be found in
// its place by every later run. The archive files are the header and employee files of the
// archive folder ("FCU"/"DCU" & number & ".018", whether present or not), the report in it, the
// drive configuration file and the batch file. The output's links are followed, a dangling one
// to the name it would make; folders are compared by identity (a bind mount, a linked folder);
// an existing output is compared by identity with the archive files that are links, and with
// all of them when it has more than one name.
FileArchivio FileDellArchivio(const Percorsi& percorsi, const std::filesystem::path& nativo, std::string_view disco,
                              std::string_view percorsoDati);

}  // namespace quibold
