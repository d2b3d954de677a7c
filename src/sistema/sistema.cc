// The parts of the platform layer that are the same on every system.
#include <random>
#include <system_error>

#include "sistema/sistema.h"

namespace quibold {

std::string_view DescrizioneErrore(int numero) {
  switch (numero) {
    case kCanaleNonAperto: return "file non aperto";
    case kFileNonTrovato: return "file non trovato";
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

}  // namespace quibold
