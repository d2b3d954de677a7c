// The platform layer on Windows: wide-character calls throughout, paths converted from and to
// UTF-8 here and nowhere else.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>  // first: the headers below need its definitions

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <winternl.h>

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "sistema/sistema.h"

namespace quibold {

int ErroreDiSistema(int codice) {
  switch (static_cast<DWORD>(codice)) {
    case ERROR_INVALID_HANDLE: return kCanaleNonAperto;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return kFileEsistente;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY: return kPercorsoNonTrovato;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE: return kDiscoPieno;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return kPermessoNegato;
    case ERROR_WRITE_PROTECT:
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_CANT_RESOLVE_FILENAME: return kAccessoPercorso;
    case ERROR_HANDLE_EOF: return kOltreFineFile;
    default: return kErroreIO;
  }
}

namespace {

std::wstring Largo(std::string_view testo) {
  if (testo.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, testo.data(), static_cast<int>(testo.size()), nullptr, 0);
  std::wstring largo(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, testo.data(), static_cast<int>(testo.size()), largo.data(), n);
  return largo;
}

std::string Stretto(std::wstring_view largo) {
  if (largo.empty()) return {};
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, largo.data(), static_cast<int>(largo.size()), nullptr, 0, nullptr, nullptr);
  std::string testo(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, largo.data(), static_cast<int>(largo.size()), testo.data(), n, nullptr, nullptr);
  return testo;
}

// The system's own words for an error code, in UTF-8.
std::string TestoErrore(DWORD codice) {
  wchar_t* testo = nullptr;
  const DWORD n =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, codice, 0, reinterpret_cast<wchar_t*>(&testo), 0, nullptr);
  std::wstring parole = n ? std::wstring(testo, n) : L"errore " + std::to_wstring(codice);
  if (testo) LocalFree(testo);
  while (!parole.empty() && (parole.back() == L'\n' || parole.back() == L'\r' || parole.back() == L'.')) {
    parole.pop_back();
  }
  return Stretto(parole);
}

HANDLE H(Maniglia file) { return reinterpret_cast<HANDLE>(file); }

OVERLAPPED Alla(long long posizione) {
  OVERLAPPED o{};
  o.Offset = static_cast<DWORD>(static_cast<unsigned long long>(posizione) & 0xFFFFFFFFu);
  o.OffsetHigh = static_cast<DWORD>(static_cast<unsigned long long>(posizione) >> 32);
  return o;
}

int Errore() { return ErroreDiSistema(static_cast<int>(GetLastError())); }

#ifndef NDEBUG
// Whether a handle was opened with the right to write, as the system granted it (for the
// assertions of the callers' promises).
bool ApertoInScrittura(HANDLE h) {
  PUBLIC_OBJECT_BASIC_INFORMATION base{};
  using Interroga = LONG(WINAPI*)(HANDLE, OBJECT_INFORMATION_CLASS, void*, ULONG, ULONG*);
  const auto interroga =
      reinterpret_cast<Interroga>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll"), "NtQueryObject")));
  if (!interroga || interroga(h, ObjectBasicInformation, &base, sizeof base, nullptr) < 0) return true;  // not told
  return (base.GrantedAccess & (FILE_WRITE_DATA | GENERIC_WRITE)) != 0;
}
#endif

// A transfer that the handle's access does not allow fails as on a channel not open for it, as
// POSIX's EBADF does.
int ErroreTrasferimento() { return GetLastError() == ERROR_ACCESS_DENIED ? kCanaleNonAperto : Errore(); }

// Bytes moved by one call: a DWORD's worth at most.
DWORD Quanti(size_t quanti) { return static_cast<DWORD>(std::min<size_t>(quanti, 1u << 30)); }

// What a name's attributes tell, following a link (a symbolic link or a junction) to its target.
std::optional<DWORD> Attributi(const wchar_t* nome) {
  DWORD attributi = GetFileAttributesW(nome);
  if (attributi == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  if (attributi & FILE_ATTRIBUTE_REPARSE_POINT) {
    HANDLE h = CreateFileW(nome, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    const bool letto = GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    if (!letto) return std::nullopt;
    attributi = info.dwFileAttributes;
  }
  return attributi;
}

IdentitaFile DaInformazioni(const BY_HANDLE_FILE_INFORMATION& info) {
  return IdentitaFile{info.dwVolumeSerialNumber,
                      (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow, info.nNumberOfLinks,
                      (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0};
}

TipoFile DaAttributi(DWORD attributi) {
  if (attributi & FILE_ATTRIBUTE_DIRECTORY) return TipoFile::Cartella;
  if (attributi & FILE_ATTRIBUTE_DEVICE) return TipoFile::Altro;
  return TipoFile::Ordinario;
}

class SistemaWindows : public Sistema {
 public:
  int Apri(const std::filesystem::path& nativo, Apertura modo, Maniglia& file) override {
    const wchar_t* nome = nativo.c_str();
    HANDLE h = INVALID_HANDLE_VALUE;
    DWORD errore = ERROR_SUCCESS;
    // Shared for reading and writing, as an open without a lock clause; not inherited. A file
    // only read, and a run's own files, are shared for renaming and removal too: a run may rename
    // its new file over one that another run is looking at. A run's own link is opened as itself.
    const bool temporanea = modo == Apertura::Temporanea || modo == Apertura::Nuova;
    const DWORD condivisione =
        FILE_SHARE_READ | FILE_SHARE_WRITE | (temporanea || modo == Apertura::Lettura ? FILE_SHARE_DELETE : 0);
    const DWORD attributi = FILE_ATTRIBUTE_NORMAL | (temporanea ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    auto apri = [&](DWORD accesso, DWORD come) {
      h = CreateFileW(nome, accesso, condivisione, nullptr, come, attributi, nullptr);
      if (h == INVALID_HANDLE_VALUE) errore = GetLastError();
      return h != INVALID_HANDLE_VALUE;
    };
    switch (modo) {
      case Apertura::Binaria:
        if (!apri(GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS) && errore == ERROR_ACCESS_DENIED &&
            !apri(GENERIC_READ, OPEN_EXISTING) && !apri(GENERIC_WRITE, OPEN_EXISTING)) {
          errore = ERROR_ACCESS_DENIED;
        }
        break;
      case Apertura::Svuotata:
        // Emptied rather than created again, so that a hidden file can be written as any other.
        if (apri(GENERIC_WRITE, OPEN_ALWAYS) && GetFileType(h) == FILE_TYPE_DISK && !SetEndOfFile(h)) {
          errore = GetLastError();
          CloseHandle(h);
          h = INVALID_HANDLE_VALUE;
        }
        break;
      case Apertura::Lettura: apri(GENERIC_READ, OPEN_EXISTING); break;
      case Apertura::Uscita:
      case Apertura::Temporanea:
        if (!apri(GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS) && errore == ERROR_ACCESS_DENIED &&
            !apri(GENERIC_WRITE, OPEN_ALWAYS)) {
          errore = ERROR_ACCESS_DENIED;
        }
        break;
      case Apertura::Nuova: apri(GENERIC_READ | GENERIC_WRITE, CREATE_NEW); break;
    }
    // A link opened as itself is no file to write: as a link that POSIX does not follow.
    BY_HANDLE_FILE_INFORMATION info;
    if (temporanea && h != INVALID_HANDLE_VALUE && GetFileInformationByHandle(h, &info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      CloseHandle(h);
      return kAccessoPercorso;
    }
    if (h == INVALID_HANDLE_VALUE) {
      // A folder opened as a file is refused as access denied: an access error of the path.
      const DWORD attributi = GetFileAttributesW(nome);
      if (errore == ERROR_ACCESS_DENIED && attributi != INVALID_FILE_ATTRIBUTES &&
          (attributi & FILE_ATTRIBUTE_DIRECTORY)) {
        return kAccessoPercorso;
      }
      return ErroreDiSistema(static_cast<int>(errore));
    }
    file = reinterpret_cast<Maniglia>(h);
    return 0;
  }

  int Leggi(Maniglia file, char* dove, size_t quanti, long long posizione, size_t& letti) override {
    letti = 0;
    OVERLAPPED o = Alla(posizione);
    DWORD n = 0;
    if (!ReadFile(H(file), dove, Quanti(quanti), &n, &o)) {
      if (GetLastError() == ERROR_HANDLE_EOF) return 0;
      return ErroreTrasferimento();
    }
    letti = n;
    return 0;
  }

  int Scrivi(Maniglia file, const char* da, size_t quanti, long long posizione, size_t& scritti) override {
    scritti = 0;
    OVERLAPPED o = Alla(posizione);
    DWORD n = 0;
    if (!WriteFile(H(file), da, Quanti(quanti), &n, &o)) return ErroreTrasferimento();
    scritti = n;
    return 0;
  }

  int Tronca(Maniglia file, long long lunghezza) override {
    FILE_END_OF_FILE_INFO fine;
    fine.EndOfFile.QuadPart = lunghezza;
    return SetFileInformationByHandle(H(file), FileEndOfFileInfo, &fine, sizeof fine) ? 0 : Errore();
  }

  int Descrivi(Maniglia file, TipoFile& tipo, long long& dimensione) override {
    dimensione = 0;
    if (GetFileType(H(file)) != FILE_TYPE_DISK) {
      tipo = TipoFile::Altro;
      return 0;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(H(file), &info)) return Errore();
    tipo = DaAttributi(info.dwFileAttributes);
    dimensione =
        static_cast<long long>((static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    return 0;
  }

  int Sincronizza(Maniglia file) override {
    if (GetFileType(H(file)) != FILE_TYPE_DISK) return 0;  // a pipe or a console holds nothing to keep
    return FlushFileBuffers(H(file)) ? 0 : Errore();
  }

  int Blocca(Maniglia file) override {
    assert(ApertoInScrittura(H(file)));
    // Every run locks the same byte, far beyond the file's own bytes, so that the lock works
    // between runs as an advisory one.
    OVERLAPPED o = Alla(kByteBloccato);
    if (LockFileEx(H(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &o)) return 0;
    const DWORD errore = GetLastError();
    return errore == ERROR_LOCK_VIOLATION || errore == ERROR_IO_PENDING ? kFileGiaAperto : Errore();
  }

  int IdentitaAperto(Maniglia file, IdentitaFile& identita) override {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(H(file), &info)) return Errore();
    identita = DaInformazioni(info);
    return 0;
  }

  int Chiudi(Maniglia file) override { return CloseHandle(H(file)) ? 0 : Errore(); }

  int Rinomina(const std::filesystem::path& da, const std::filesystem::path& a) override {
    // Written through: the call returns once the new name is on the disk, as synchronizing the
    // folder makes sure on POSIX.
    return MoveFileExW(da.c_str(), a.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0 : Errore();
  }

  int Rimuovi(const std::filesystem::path& nativo) override { return DeleteFileW(nativo.c_str()) ? 0 : Errore(); }

  // Rinomina has waited for the disk already; a name Rimuovi took away need not be durable. A
  // folder that is not there fails, as on POSIX.
  int SincronizzaCartella(const std::filesystem::path& cartella) override {
    const DWORD attributi = GetFileAttributesW(cartella.empty() ? L"." : cartella.c_str());
    if (attributi == INVALID_FILE_ATTRIBUTES) return Errore();
    return (attributi & FILE_ATTRIBUTE_DIRECTORY) ? 0 : kPercorsoNonTrovato;
  }

  TipoFile Tipo(const std::filesystem::path& nativo) override {
    const auto attributi = Attributi(nativo.c_str());
    return attributi ? DaAttributi(*attributi) : TipoFile::Nessuno;
  }

  bool Presente(const std::filesystem::path& nativo) override {
    return GetFileAttributesW(nativo.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  bool Elenca(const std::filesystem::path& cartella, const std::function<bool(const VoceCartella&)>& voce) override {
    if (cartella.empty()) return false;
    std::wstring modello = cartella.native();
    if (modello.back() != L'\\' && modello.back() != L'/') modello += L'\\';
    modello += L'*';
    WIN32_FIND_DATAW dati;
    HANDLE h = FindFirstFileExW(modello.c_str(), FindExInfoBasic, &dati, FindExSearchNameMatch, nullptr,
                                FIND_FIRST_EX_LARGE_FETCH);
    if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;  // nothing in it at all
    do {
      const std::wstring_view largo = dati.cFileName;
      if (largo == L"." || largo == L"..") continue;
      const std::string nome = Stretto(largo);
      VoceCartella v{nome, std::nullopt};
      if (!(dati.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        v.ordinario = DaAttributi(dati.dwFileAttributes) == TipoFile::Ordinario;
      }
      if (!voce(v)) break;
    } while (FindNextFileW(h, &dati));
    FindClose(h);
    return true;
  }

  std::optional<IdentitaFile> Identita(const std::filesystem::path& nativo) override {
    // No access asked: neither the file's sharing nor its rights stand in the way.
    HANDLE h = CreateFileW(nativo.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    const bool letto = GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    if (!letto) return std::nullopt;
    return DaInformazioni(info);
  }

  std::filesystem::path Risolto(const std::filesystem::path& nativo) override {
    const DWORD n = GetFullPathNameW(nativo.c_str(), 0, nullptr, nullptr);
    if (n == 0) return {};
    std::wstring pieno(n, L'\0');
    const DWORD scritti = GetFullPathNameW(nativo.c_str(), n, pieno.data(), nullptr);
    if (scritti == 0 || scritti >= n) return {};
    pieno.resize(scritti);
    const std::filesystem::path assoluto(pieno);
    // Links and junctions, the short names and the case as the disk has them: the path of the
    // file itself when it exists, else of its folder with the name as given.
    if (auto finale = PercorsoFinale(assoluto); !finale.empty()) return finale;
    if (auto cartella = PercorsoFinale(assoluto.parent_path()); !cartella.empty()) {
      return cartella / assoluto.filename();
    }
    return assoluto;
  }

 private:
  // The path the system opens for `nativo`, every link followed; empty when nothing is there.
  static std::filesystem::path PercorsoFinale(const std::filesystem::path& nativo) {
    HANDLE h = CreateFileW(nativo.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::wstring finale(MAX_PATH, L'\0');
    DWORD n = GetFinalPathNameByHandleW(h, finale.data(), static_cast<DWORD>(finale.size()), FILE_NAME_NORMALIZED);
    if (n >= finale.size()) {
      finale.resize(n + 1);
      n = GetFinalPathNameByHandleW(h, finale.data(), static_cast<DWORD>(finale.size()), FILE_NAME_NORMALIZED);
    }
    CloseHandle(h);
    if (n == 0 || n >= finale.size()) return {};
    finale.resize(n);
    // "\\?\C:\..." as the plain "C:\..." that the other paths are; a share's as "\\server\...".
    if (finale.starts_with(L"\\\\?\\UNC\\")) return std::filesystem::path(L"\\\\" + finale.substr(8));
    if (finale.starts_with(L"\\\\?\\")) return std::filesystem::path(finale.substr(4));
    return std::filesystem::path(finale);
  }
};

std::wstring Quotato(const std::wstring& argomento) { return Largo(ArgomentoQuotato(Stretto(argomento))); }

// The console's code page before this program set UTF-8, to be put back as it ends.
UINT codicePrima = 0;
void RipristinaConsole() {
  if (codicePrima) SetConsoleOutputCP(codicePrima);
}

}  // namespace

std::filesystem::path PercorsoDaUtf8(std::string_view testo) { return std::filesystem::path(Largo(testo)); }
std::string Utf8DaPercorso(const std::filesystem::path& percorso) { return Stretto(percorso.native()); }

Sistema& SistemaReale() {
  static SistemaWindows sistema;
  return sistema;
}

std::optional<std::string> Ambiente(const char* nome) {
  const wchar_t* valore = _wgetenv(Largo(nome).c_str());
  if (!valore) return std::nullopt;
  return Stretto(valore);
}

std::filesystem::path RadicePredefinita() { return {}; }

void PreparaProcesso() {
  // Bytes as written: LF stays LF, as on POSIX; the console shows them as UTF-8.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  DWORD modo;
  if (GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &modo) || GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &modo)) {
    codicePrima = GetConsoleOutputCP();
    if (SetConsoleOutputCP(CP_UTF8)) {
      std::atexit(RipristinaConsole);
    } else {
      codicePrima = 0;
    }
  }
}

std::vector<std::string> ArgomentiUtf8(int argc, char** argv) {
  int n = 0;
  wchar_t** larghi = CommandLineToArgvW(GetCommandLineW(), &n);
  if (!larghi) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> argomenti;
  for (int k = 0; k < n; ++k) argomenti.push_back(Stretto(larghi[k]));
  LocalFree(larghi);
  return argomenti;
}

// NUL, a file or a pipe is no terminal: only a console has a console mode.
bool IngressoInterattivo() {
  DWORD modo;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &modo) != 0;
}

std::filesystem::path QuestoProgramma() {
  std::wstring questo(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, questo.data(), static_cast<DWORD>(questo.size()));
    if (n == 0) return {};
    if (n < questo.size()) {
      questo.resize(n);
      return std::filesystem::path(questo);
    }
    questo.resize(questo.size() * 2);
  }
}

std::filesystem::path ProgrammaAccanto(std::string_view nome) {
  const auto questo = QuestoProgramma();
  if (questo.empty()) return {};
  const auto programma = questo.parent_path() / (Largo(nome) + L".exe");
  return GetFileAttributesW(programma.c_str()) != INVALID_FILE_ATTRIBUTES ? programma : std::filesystem::path();
}

bool PassaAlProgramma(const std::filesystem::path& programma, const std::vector<std::string>& argomenti,
                      std::string& errore) {
  std::wstring riga = Quotato(programma.native());
  for (size_t k = 1; k < argomenti.size(); ++k) riga += L" " + Largo(ArgomentoQuotato(argomenti[k]));
  STARTUPINFOW avvio{};
  avvio.cb = sizeof avvio;
  PROCESS_INFORMATION processo{};
  SetEnvironmentVariableW(Largo(kVariabilePassaggio).c_str(), L"1");
  if (!CreateProcessW(programma.c_str(), riga.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &avvio,
                      &processo)) {
    errore = TestoErrore(GetLastError());
    SetEnvironmentVariableW(Largo(kVariabilePassaggio).c_str(), nullptr);
    return false;
  }
  CloseHandle(processo.hThread);
  CloseHandle(processo.hProcess);
  return true;
}

namespace {

// Whether the command interpreter finds `programma`, named without an extension, as a batch
// file's line names it: with one of the extensions it tries (PATHEXT).
bool ProgrammaPresente(const std::filesystem::path& programma) {
  const wchar_t* pathext = _wgetenv(L"PATHEXT");
  std::wstring estensioni = pathext && *pathext ? pathext : L".COM;.EXE;.BAT;.CMD";
  for (size_t inizio = 0; inizio <= estensioni.size();) {
    size_t fine = estensioni.find(L';', inizio);
    if (fine == std::wstring::npos) fine = estensioni.size();
    if (fine > inizio) {
      const std::wstring nome = programma.native() + estensioni.substr(inizio, fine - inizio);
      const DWORD attributi = GetFileAttributesW(nome.c_str());
      if (attributi != INVALID_FILE_ATTRIBUTES && !(attributi & FILE_ATTRIBUTE_DIRECTORY)) return true;
    }
    inizio = fine + 1;
  }
  return false;
}

}  // namespace

bool ApriReport(const std::filesystem::path& report, const std::filesystem::path& batch,
                const std::filesystem::path& visualizzatore, const std::string&, std::chrono::milliseconds,
                std::string& motivo) {
  // Without the suite's viewer the batch file would only say, in a console, that it found no
  // program: the report goes to the viewer of text files that the user chose.
  if (!ProgrammaPresente(visualizzatore)) {
    SHELLEXECUTEINFOW apri{};
    apri.cbSize = sizeof apri;
    // Done before the program ends: no dialog of the system's own, which would ask what to open it with.
    apri.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    apri.lpVerb = L"open";
    apri.lpFile = report.c_str();
    apri.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&apri)) return true;
    const DWORD errore = GetLastError();
    // Without a program for ".txt" Windows says so; Wine tries to run the file itself.
    motivo = errore == ERROR_NO_ASSOCIATION || errore == ERROR_BAD_EXE_FORMAT
                 ? std::string("nessun programma di questo computer apre i file di testo (.txt)")
                 : "il programma dei file di testo non si avvia: " + TestoErrore(errore);
    return false;
  }
  // The command interpreter runs the batch file in a console of its own, minimized; "/s" takes
  // the outer quotes away and leaves the batch file's name quoted, whatever it holds.
  const wchar_t* interprete = _wgetenv(L"ComSpec");
  std::wstring programma = interprete && *interprete ? interprete : L"cmd.exe";
  std::wstring riga = Quotato(programma) + L" /s /c \"\"" + batch.native() + L"\"\"";
  STARTUPINFOW avvio{};
  avvio.cb = sizeof avvio;
  avvio.dwFlags = STARTF_USESHOWWINDOW;
  avvio.wShowWindow = SW_SHOWMINIMIZED;
  PROCESS_INFORMATION processo{};
  if (!CreateProcessW(nullptr, riga.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr, &avvio,
                      &processo)) {
    motivo = "impossibile avviare " + Stretto(programma) + ": " + TestoErrore(GetLastError());
    return false;
  }
  CloseHandle(processo.hThread);
  CloseHandle(processo.hProcess);
  return true;
}

void TerminaSubito(int stato) {
  std::fflush(nullptr);
  RipristinaConsole();
  _exit(stato);
}

char SeparatoreDecimale() {
  wchar_t separatore[8] = {};
  // The count includes the closing NUL: one character, which the report's code page must hold.
  const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separatore, 8);
  const wchar_t c = separatore[0];
  if (n == 2 && (c < 0x80 || (c >= 0xA0 && c <= 0xFF))) return static_cast<char>(c);
  return '.';
}

long OggiLocale() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return t.wYear * 10000L + t.wMonth * 100L + t.wDay;
}

}  // namespace quibold
