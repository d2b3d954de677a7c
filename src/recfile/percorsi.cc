#include "recfile/percorsi.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>
#include <system_error>

#include "recfile/cp1252.h"

namespace fs = std::filesystem;

namespace quibold {
namespace {

// The entry of `cartella` named `nome`, ignoring case; `nome` itself when there is none.
std::string NomeEsistente(const fs::path& cartella, const std::string& nome) {
  std::error_code ec;
  if (fs::symlink_status(cartella / nome, ec).type() != fs::file_type::not_found && !ec) return nome;
  std::string trovato = nome;
  Percorsi::Elenca(cartella, [&](const Percorsi::Voce& candidato) {
    if (!UgualiSenzaMaiuscole(candidato.nome, nome)) return true;
    trovato = candidato.nome;
    return false;
  });
  return trovato;
}

}  // namespace

bool UgualiSenzaMaiuscole(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

fs::path Percorsi::RadiceDiSistema(std::string_view opzione) {
  fs::path radice;
  if (!opzione.empty()) {
    radice = std::string(opzione);
  } else if (const char* env = std::getenv("QUIBOLD_RADICE"); env && *env) {
    radice = env;
  } else if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
    radice = fs::path(xdg) / "quibold";
  } else {
    const char* home = std::getenv("HOME");
    radice = fs::path(home && *home ? home : ".") / ".local" / "share" / "quibold";
  }
  // Absolute, so that every path of the archive begins with "/" (a path handed to another
  // program can never be taken for one of its options).
  std::error_code ec;
  fs::path assoluta = fs::absolute(radice, ec);
  return ec ? radice : assoluta;
}

fs::path Percorsi::Nativo(std::string_view percorso) const {
  if (!ricordati_.empty()) {
    if (auto it = ricordati_.find(std::string(percorso)); it != ricordati_.end()) return it->second;
  }
  // No file name holds a NUL: such a path names nothing (and must not be cut short at the NUL).
  if (percorso.find('\0') != std::string_view::npos) return {};
  std::string testo = Utf8DaCp1252(percorso);
  if (!testo.empty() && testo[0] == '/') return fs::path(testo);

  std::string unita = "c";
  std::string_view resto = testo;
  if (resto.size() >= 2 && resto[1] == ':' &&
      ((resto[0] >= 'A' && resto[0] <= 'Z') || (resto[0] >= 'a' && resto[0] <= 'z'))) {
    unita = std::string(1, static_cast<char>(resto[0] | 0x20));
    resto.remove_prefix(2);
  }

  // The usual case: every name exists as it is written, and one look-up tells.
  const bool cartella = !resto.empty() && (resto.back() == '\\' || resto.back() == '/');
  {
    fs::path diretto = radice_ / unita;
    size_t i = 0;
    while (i <= resto.size()) {
      size_t j = resto.find_first_of("\\/", i);
      if (j == std::string_view::npos) j = resto.size();
      if (j > i) diretto /= resto.substr(i, j - i);
      i = j + 1;
    }
    if (cartella) diretto += "/";
    struct stat st;
    if (::stat(diretto.c_str(), &st) == 0) return diretto;
  }

  fs::path risultato = radice_;
  risultato /= NomeEsistente(radice_, unita);
  bool esiste = true;  // while every folder so far exists, names are looked up
  size_t i = 0;
  while (i <= resto.size()) {
    size_t j = resto.find_first_of("\\/", i);
    if (j == std::string_view::npos) j = resto.size();
    std::string nome(resto.substr(i, j - i));
    if (!nome.empty()) {
      if (esiste) {
        nome = NomeEsistente(risultato, nome);
        std::error_code ec;
        esiste = fs::is_directory(risultato / nome, ec);
      }
      risultato /= nome;
    }
    i = j + 1;
  }
  // Keep a trailing separator: "D:\dati\" names a folder.
  if (cartella) risultato += "/";
  return risultato;
}

bool Percorsi::EsisteFile(std::string_view percorso) const {
  std::error_code ec;
  return fs::is_regular_file(Nativo(percorso), ec);
}

void Percorsi::Ricorda(std::string percorso, fs::path nativo) const {
  ricordati_.insert_or_assign(std::move(percorso), std::move(nativo));
}

bool Percorsi::Elenca(const fs::path& cartella, const std::function<bool(const Voce&)>& voce) {
  DIR* d = ::opendir(cartella.c_str());
  if (!d) return false;
  while (const dirent* e = ::readdir(d)) {
    Voce v{e->d_name, std::nullopt};
    if (v.nome == "." || v.nome == "..") continue;
    if (e->d_type != DT_UNKNOWN && e->d_type != DT_LNK) v.ordinario = e->d_type == DT_REG;
    if (!voce(v)) break;
  }
  ::closedir(d);
  return true;
}

bool Percorsi::StessoFile(const fs::path& a, const fs::path& b) {
  struct stat sa, sb;
  const bool esisteA = ::stat(a.c_str(), &sa) == 0, esisteB = ::stat(b.c_str(), &sb) == 0;
  if (esisteA && esisteB) return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  if (esisteA != esisteB) return false;  // a file and a name of none
  std::error_code ea, eb;
  std::string pa = fs::weakly_canonical(a, ea).string(), pb = fs::weakly_canonical(b, eb).string();
  if (ea || eb) return false;
  return UgualiSenzaMaiuscole(pa, pb);
}

}  // namespace quibold
