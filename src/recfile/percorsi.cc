#include "recfile/percorsi.h"

#include <system_error>

#include "recfile/cp1252.h"

namespace fs = std::filesystem;

namespace quibold {
namespace {

// The entry of `cartella` named `nome` (UTF-8), ignoring case; `nome` itself when there is none.
std::string NomeEsistente(Sistema& sistema, const fs::path& cartella, const std::string& nome) {
  if (sistema.Presente(cartella / PercorsoDaUtf8(nome))) return nome;
  std::string trovato = nome;
  // A folder that cannot be read keeps the name as given: opening it then says what is wrong.
  (void)sistema.Elenca(cartella, [&](const VoceCartella& candidato) {
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

bool NomeDiDispositivo(std::string_view percorso) {
  std::string_view nome = percorso.substr(percorso.find_last_of("\\/") + 1);
  // The name before any extension (or a stream's colon), blanks after it ignored, as Windows reads it.
  nome = nome.substr(0, nome.find_first_of(".:"));
  while (!nome.empty() && nome.back() == ' ') nome.remove_suffix(1);
  for (std::string_view dispositivo : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
    if (UgualiSenzaMaiuscole(nome, dispositivo)) return true;
  }
  // COM and LPT with a digit 1 to 9, or a superscript 1, 2 or 3 (a byte in Windows-1252, two in UTF-8).
  if (nome.size() < 4 ||
      !(UgualiSenzaMaiuscole(nome.substr(0, 3), "COM") || UgualiSenzaMaiuscole(nome.substr(0, 3), "LPT"))) {
    return false;
  }
  std::string_view cifra = nome.substr(3);
  if (cifra.size() == 2 && cifra[0] == '\xC2') cifra.remove_prefix(1);
  return cifra.size() == 1 &&
         ((cifra[0] >= '1' && cifra[0] <= '9') || cifra[0] == '\xB9' || cifra[0] == '\xB2' || cifra[0] == '\xB3');
}

fs::path Percorsi::RadiceDiSistema(std::string_view opzione) {
  fs::path radice;
  if (!opzione.empty()) {
    radice = PercorsoDaUtf8(opzione);
  } else if (const auto ambiente = Ambiente("QUIBOLD_RADICE"); ambiente && !ambiente->empty()) {
    radice = PercorsoDaUtf8(*ambiente);
  } else {
    radice = RadicePredefinita();
    if (radice.empty()) return radice;  // the real drives
  }
  // Absolute, so that every path of the archive begins with "/" (a path handed to another
  // program can never be taken for one of its options).
  return Assoluto(radice);
}

fs::path Percorsi::Nativo(std::string_view percorso) const {
  if (!ricordati_.empty()) {
    if (auto it = ricordati_.find(std::string(percorso)); it != ricordati_.end()) return it->second;
  }
  // No file name holds a NUL: such a path names nothing (and must not be cut short at the NUL).
  if (percorso.find('\0') != std::string_view::npos) return {};
  std::string testo = Utf8DaCp1252(percorso);
  const bool conUnita = IniziaConUnita(testo);
  const bool dallaRadice = !testo.empty() && (testo[0] == '\\' || testo[0] == '/');
  if constexpr (kWindows) {
    // The real drives take every path as it is; under a drive root, a relative path stays
    // relative to the current folder, as it would on the real drives.
    if (radice_.empty() || (!conUnita && !dallaRadice)) return PercorsoDaUtf8(testo);
  } else {
    if (!testo.empty() && testo[0] == '/') return PercorsoDaUtf8(testo);
  }

  std::string unita = "c";
  std::string_view resto = testo;
  if (conUnita) {
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
      if (j > i) diretto /= PercorsoDaUtf8(resto.substr(i, j - i));
      i = j + 1;
    }
    if (cartella) diretto /= "";
    if (sistema_.Tipo(diretto) != TipoFile::Nessuno) return diretto;
  }

  fs::path risultato = radice_;
  risultato /= NomeEsistente(sistema_, radice_, unita);
  bool esiste = true;  // while every folder so far exists, names are looked up
  size_t i = 0;
  while (i <= resto.size()) {
    size_t j = resto.find_first_of("\\/", i);
    if (j == std::string_view::npos) j = resto.size();
    std::string nome(resto.substr(i, j - i));
    if (!nome.empty()) {
      if (esiste) {
        nome = NomeEsistente(sistema_, risultato, nome);
        esiste = sistema_.Tipo(risultato / PercorsoDaUtf8(nome)) == TipoFile::Cartella;
      }
      risultato /= PercorsoDaUtf8(nome);
    }
    i = j + 1;
  }
  // Keep a trailing separator: "D:\dati\" names a folder.
  if (cartella) risultato /= "";
  return risultato;
}

bool Percorsi::EsisteFile(std::string_view percorso) const {
  return sistema_.Tipo(Nativo(percorso)) == TipoFile::Ordinario;
}

void Percorsi::Ricorda(std::string percorso, fs::path nativo) const {
  ricordati_.insert_or_assign(std::move(percorso), std::move(nativo));
}

}  // namespace quibold
