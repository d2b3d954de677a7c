// The parts of the platform layer that are the same on every system.
#include <algorithm>
#include <random>
#include <system_error>

#include "sistema/sistema.h"

namespace quibold {

std::string_view DescrizioneErrore(int numero) {
  switch (numero) {
    case kCanaleNonAperto: return "file non aperto";
    case kFileNonTrovato: return "file non trovato";
    case kFileGiaAperto: return "file gia' aperto da un'altra elaborazione";
    case kFileEsistente: return "file gia' esistente";
    case kDiscoPieno: return "disco pieno";
    case kOltreFineFile: return "lettura oltre la fine del file";
    case kNumeroRecordErrato: return "numero di record errato";
    case kPermessoNegato: return "permesso negato";
    case kAccessoPercorso: return "accesso al percorso o al file non riuscito";
    case kPercorsoNonTrovato: return "percorso non trovato";
    default: return "errore di ingresso/uscita";
  }
}

std::string ArgomentoQuotato(std::string_view argomento) {
  if (!argomento.empty() && argomento.find_first_of(" \t\n\v\"") == std::string_view::npos) {
    return std::string(argomento);
  }
  std::string q = "\"";
  size_t barre = 0;
  for (char c : argomento) {
    if (c == '\\') {
      ++barre;
      continue;
    }
    q.append(c == '"' ? barre * 2 + 1 : barre, '\\');
    barre = 0;
    q += c;
  }
  q.append(barre * 2, '\\');
  return q + "\"";
}

std::filesystem::path CartellaCorrente() {
  std::error_code ec;
  std::filesystem::path corrente = std::filesystem::current_path(ec);
  return ec ? std::filesystem::path() : corrente;
}

std::filesystem::path Assoluto(const std::filesystem::path& percorso) {
  std::error_code ec;
  std::filesystem::path assoluto = std::filesystem::absolute(percorso, ec);
  return ec ? percorso : assoluto;
}

std::filesystem::path CartellaTemporanea(const std::filesystem::path& base, std::string_view prefisso) {
  static constexpr char kLettere[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device caso;
  std::uniform_int_distribution<size_t> lettera(0, sizeof kLettere - 2);
  for (int tentativo = 0; tentativo < 100; ++tentativo) {
    std::string nome(prefisso);
    for (int k = 0; k < 8; ++k) nome += kLettere[lettera(caso)];
    const std::filesystem::path cartella = base / PercorsoDaUtf8(nome);
    std::error_code ec;
    // A folder made now is this call's: one already there answers false.
    if (std::filesystem::create_directory(cartella, ec)) return cartella;
    if (ec) throw std::filesystem::filesystem_error("cartella temporanea", cartella, ec);
  }
  throw std::filesystem::filesystem_error("cartella temporanea", base, std::make_error_code(std::errc::file_exists));
}

bool StessoProgramma(const std::filesystem::path& programma) {
  if (Ambiente(kVariabilePassaggio)) return true;
  Sistema& sistema = SistemaReale();
  const std::filesystem::path questo = QuestoProgramma();
  const auto identita = sistema.Identita(programma);
  if (questo.empty() || !identita) return false;
  if (sistema.Identita(questo) == identita) return true;
  // A copy: the same size and the same bytes. A program of its own differs in size at once.
  Maniglia file[2] = {kNessunFile, kNessunFile};
  long long dimensione[2] = {-1, -2};
  const std::filesystem::path* percorsi[2] = {&programma, &questo};
  for (int k = 0; k < 2; ++k) {
    TipoFile tipo;
    if (sistema.Apri(*percorsi[k], Apertura::Lettura, file[k]) != 0 ||
        sistema.Descrivi(file[k], tipo, dimensione[k]) != 0) {
      dimensione[k] = -1 - k;
    }
  }
  bool uguali = dimensione[0] == dimensione[1];
  std::vector<char> blocchi[2] = {std::vector<char>(1 << 16), std::vector<char>(1 << 16)};
  for (long long posizione = 0; uguali && posizione < dimensione[0];) {
    size_t letti[2] = {0, 0};
    for (int k = 0; k < 2; ++k) {
      if (sistema.Leggi(file[k], blocchi[k].data(), blocchi[k].size(), posizione, letti[k]) != 0) letti[k] = 0;
    }
    uguali = letti[0] > 0 && letti[0] == letti[1] &&
             std::equal(blocchi[0].begin(), blocchi[0].begin() + letti[0], blocchi[1].begin());
    posizione += static_cast<long long>(letti[0]);
  }
  for (Maniglia f : file) {
    if (f != kNessunFile) (void)sistema.Chiudi(f);  // only read: nothing of them to lose
  }
  return uguali;
}

}  // namespace quibold
