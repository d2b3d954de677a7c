#include "fuzz/caso.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "recfile/canali.h"
#include "recfile/file_nuovo.h"
#include "recfile/messaggi.h"
#include "recfile/percorsi.h"
#include "sistema/sistema.h"
#include "ui/piattaforma.h"
#include "ui/stato.h"
#include "verifica/verifica.h"

namespace fs = std::filesystem;

namespace quibold::collaudo {
namespace {

constexpr size_t kLungRecord = 1900;
constexpr std::string_view kFatto = "Memorizazione regolarmente effettuata...";
constexpr std::string_view kDisco = "C:        ";
// More message boxes than any run can honestly show: the start-up, opening, question, stop and
// closing messages, the re-opening after a run. A storm of them is a fault of its own.
constexpr size_t kMaxMessaggi = 12;

const fs::path& CartellaDati() {
  static const fs::path dati = fs::path("c") / "vorn" / "quelt" / "2017" / "dati";
  return dati;
}

struct Mostrato {
  std::string testo, titolo;
  Pulsanti pulsanti;
  Icona icona;
  Risposta risposta;
};

// Records every box; answers the i-th Yes/No question with bit i of the case's answers.
class MessaggiCaso : public FinestraMessaggi {
 public:
  explicit MessaggiCaso(uint8_t risposte) : risposte_(risposte) {}
  Risposta Mostra(std::string_view testo, std::string_view titolo, Pulsanti pulsanti, Icona icona) override {
    Risposta r = Risposta::Ok;
    if (pulsanti == Pulsanti::SiNo) {
      r = domande_ < 8 && ((risposte_ >> domande_) & 1) ? Risposta::Si : Risposta::No;
      ++domande_;
    }
    mostrati.push_back({std::string(testo), std::string(titolo), pulsanti, icona, r});
    return r;
  }
  std::vector<Mostrato> mostrati;

 private:
  uint8_t risposte_;
  int domande_ = 0;
};

class PiattaformaCaso : public Piattaforma {
 public:
  bool ApriVisualizzatore(const fs::path&, const fs::path&, const fs::path&, std::string&) override { return true; }
  void Termina() override { ++terminazioni; }
  int terminazioni = 0;
};

// A box that may end a run that stopped: an error box, the record-file layer's message, or a
// confirmation answered No.
bool ChiudeUnArresto(const Mostrato& m) {
  return m.icona == Icona::Errore || m.testo.starts_with("Errore") ||
         (m.pulsanti == Pulsanti::SiNo && m.risposta == Risposta::No);
}

std::string Breve(std::string_view testo) {
  std::string t(testo.substr(0, 160));
  for (char& c : t) {
    if (static_cast<unsigned char>(c) < 32) c = ' ';
  }
  return "\"" + t + "\"";
}

}  // namespace

Caso LeggiCaso(std::string_view dati) {
  auto byte = [&](size_t i) -> uint8_t { return i < dati.size() ? static_cast<uint8_t>(dati[i]) : 0; };
  auto da = [&](size_t i, size_t n = std::string_view::npos) {
    return std::string(dati.substr(std::min(i, dati.size()), n));
  };
  Caso c;
  Scelte& s = c.scelte;
  s.tipo = byte(0) & 7;
  s.apre = (byte(0) >> 3) & 1;
  s.report = (byte(0) >> 4) & 1;
  s.uscita = byte(0) >> 5;
  s.risposte = byte(1);
  s.battuti = byte(2) & 0x3f;
  s.tipoPrima = (byte(2) >> 6) & 1;
  size_t posizione = 3;
  std::string* testi[] = {&s.codice, &s.protocollo, &s.progressivo, &s.record, &s.tipoImpegno, &s.dataImpegno};
  for (size_t k = 0; k < std::size(testi); ++k) {
    std::string slot = da(posizione, static_cast<size_t>(kLarghezze[k]));
    *testi[k] = slot.substr(0, slot.find('\0'));
    posizione += static_cast<size_t>(kLarghezze[k]);
  }
  c.testata = da(kLungScelte, kLungFileTestata);
  c.dipendenti = da(kLungScelte + kLungFileTestata);
  return c;
}

std::string ScriviCaso(const Caso& c) {
  if (!c.dipendenti.empty() && c.testata.size() != kLungFileTestata) {
    throw std::invalid_argument("un caso con dipendenti ha una testata di due record esatti");
  }
  const Scelte& s = c.scelte;
  std::string d;
  d += static_cast<char>((s.tipo & 7) | (s.apre << 3) | (s.report << 4) | ((s.uscita & 7) << 5));
  d += static_cast<char>(s.risposte);
  d += static_cast<char>((s.battuti & 0x3f) | (s.tipoPrima << 6));
  const std::string* testi[] = {&s.codice, &s.protocollo, &s.progressivo, &s.record, &s.tipoImpegno, &s.dataImpegno};
  for (size_t k = 0; k < std::size(testi); ++k) {
    std::string slot = testi[k]->substr(0, static_cast<size_t>(kLarghezze[k]));
    slot.resize(static_cast<size_t>(kLarghezze[k]), '\0');
    d += slot;
  }
  return d + c.testata + c.dipendenti;
}

Banco::Banco() {
  if (const auto radici = Ambiente("QUIBOLD_FUZZ_RADICI"); radici && !radici->empty()) {
    radice_ = CartellaTemporanea(PercorsoDaUtf8(*radici), "quibold-fuzz-");
  } else {
    memoria_ = std::make_unique<prova::SistemaInMemoria>();
    radice_ = prova::SistemaInMemoria::Radice();
  }
}

Banco::~Banco() {
  if (memoria_) return;
  std::error_code ec;
  fs::remove_all(radice_, ec);
}

Sistema& Banco::sistema() const { return memoria_ ? *memoria_ : SistemaReale(); }

void Banco::Prepara(const std::vector<std::pair<fs::path, std::string_view>>& file,
                    const std::vector<fs::path>& cartelle) const {
  if (memoria_) {
    (void)memoria_->RimuoviTutto(radice_ / "c");
    for (const auto& c : cartelle) memoria_->CreaCartella(radice_ / c);
    for (const auto& [nome, contenuto] : file) memoria_->Metti(radice_ / nome, contenuto);
    return;
  }
  std::error_code ec;
  fs::remove_all(radice_ / "c", ec);
  for (const auto& c : cartelle) fs::create_directories(radice_ / c);
  for (const auto& [nome, contenuto] : file) {
    std::ofstream f(radice_ / nome, std::ios::binary | std::ios::trunc);
    f.write(contenuto.data(), static_cast<std::streamsize>(contenuto.size()));
    if (!f.flush()) throw std::runtime_error("impossibile scrivere " + (radice_ / nome).string());
  }
}

std::string Banco::Leggi(const fs::path& nativo) const {
  if (memoria_) return memoria_->Contenuto(nativo);
  std::error_code ec;
  if (!fs::is_regular_file(nativo, ec)) return {};
  std::ifstream f(nativo, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

Esito ProvaCaso(const Banco& banco, std::string_view dati) {
  const Caso caso = LeggiCaso(dati);
  const Scelte& s = caso.scelte;
  const Uscita& u = kUscite[s.uscita];
  const fs::path& radice = banco.radice();

  // A fresh drive C for every case: the configuration file, the archive, an output folder.
  const std::pair<fs::path, std::string_view> archivio[] = {
      {fs::path("c") / "disco.ute", kDisco},
      {CartellaDati() / "FCU1.018", caso.testata},
      {CartellaDati() / "DCU1.018", caso.dipendenti},
  };
  banco.Prepara({std::begin(archivio), std::end(archivio)}, {CartellaDati(), fs::path("c") / "out"});

  MessaggiCaso messaggi(s.risposte);
  PiattaformaCaso piattaforma;
  Percorsi percorsi(radice, banco.sistema());
  fs::path nativoUscita;
  size_t primaDellaCorsa = 0;
  bool riuscito = false, conReport = false;
  {
    Canali canali(percorsi, messaggi);
    StatoFinestra stato(canali, piattaforma);
    stato.Apertura();
    auto sceltaTipo = [&] {
      if (s.tipo < 4) stato.ScegliTipoFornitura(s.tipo);
    };
    if (s.tipoPrima) sceltaTipo();
    if (s.apre) {
      stato.Tx[kTxCodice] = s.battuti & 32 ? s.codice : "1";
      (void)stato.ApriCU();  // a certification that does not open is a case too: the run must stop
    } else {
      stato.ScegliCertificazione(1);
    }
    if (!s.tipoPrima) sceltaTipo();
    if (s.report) stato.ChiediReport();
    const std::pair<CampoFinestra, const std::string*> campi[] = {{kTxProtocollo, &s.protocollo},
                                                                  {kTxProgressivo, &s.progressivo},
                                                                  {kTxRecord, &s.record},
                                                                  {kTxTipoImpegno, &s.tipoImpegno},
                                                                  {kTxDataImpegno, &s.dataImpegno}};
    for (size_t k = 0; k < std::size(campi); ++k) {
      if (s.battuti & (1 << k)) stato.Tx[campi[k].first] = *campi[k].second;
    }
    if (*u.cartella) stato.Tx[kTxCartella] = u.cartella;
    if (*u.nome) stato.Tx[kTxNomeFile] = u.nome;
    nativoUscita = percorsi.Nativo(stato.Tx[kTxCartella] + stato.Tx[kTxNomeFile]);
    primaDellaCorsa = messaggi.mostrati.size();
    conReport = stato.FlagReport == 1;
    riuscito = stato.Crea();
  }

  std::vector<std::string> violazioni;
  auto viola = [&](std::string testo) { violazioni.push_back(std::move(testo)); };
  const auto& mostrati = messaggi.mostrati;

  // The closing message; with the report, a line of what the check warned of may follow it.
  const auto fatti = std::count_if(mostrati.begin(), mostrati.end(), [](const Mostrato& m) {
    return m.testo.substr(0, m.testo.find('\n')) == kFatto && m.titolo == "Creazione Telematico";
  });
  if (riuscito && fatti != 1) viola("run reported complete with " + std::to_string(fatti) + " closing messages");
  if (!riuscito && fatti != 0) viola("closing message shown by a run that stopped");
  if (mostrati.size() > kMaxMessaggi) {
    viola(std::to_string(mostrati.size()) + " message boxes, the last " + Breve(mostrati.back().testo));
  }

  // The output file: complete with success, never complete without.
  const std::string uscita = banco.Leggi(nativoUscita);
  const size_t records = (uscita.size() + kLungRecord - 1) / kLungRecord;
  bool conZ = false;
  for (size_t r = 0; r < records; ++r) conZ = conZ || uscita[r * kLungRecord] == 'Z';
  const bool finisceConZ =
      !uscita.empty() && uscita.size() % kLungRecord == 0 && uscita[uscita.size() - kLungRecord] == 'Z';
  const bool daRifiutare = u.dellArchivio || s.uscita >= 6;
  if (riuscito && daRifiutare) viola("run reported complete writing to " + Breve(nativoUscita.string()));
  if (riuscito && !finisceConZ)
    viola("run reported complete, file of " + std::to_string(uscita.size()) + " bytes without a final record Z");
  if (!riuscito && !u.dellArchivio && conZ) {
    viola("run that stopped left a record Z in its file" +
          (mostrati.empty() ? std::string() : ", after " + Breve(mostrati.back().testo)));
  }
  // Nothing was there before the run: a stop leaves no file of its own, not even a temporary one.
  if (!riuscito && !u.dellArchivio && banco.sistema().Tipo(nativoUscita) == TipoFile::Ordinario) {
    viola("run that stopped left a file of " + std::to_string(uscita.size()) + " bytes under the output's name");
  }
  (void)banco.sistema().Elenca(nativoUscita.parent_path(), [&](const VoceCartella& voce) {
    if (NomeDiServizio(PercorsoDaUtf8(voce.nome))) viola("run left " + std::string(voce.nome));
    return true;
  });
  if (riuscito) {
    Verifica controllo;
    for (size_t r = 0; r < records; ++r)
      controllo.Record(std::string_view(uscita).substr(r * kLungRecord, kLungRecord));
    controllo.Fine();
    if (controllo.Errori() > 0) {
      const auto& rilievi = controllo.Rilievi();
      const auto primo =
          std::find_if(rilievi.begin(), rilievi.end(), [](const Rilievo& r) { return r.gravita == Gravita::Errore; });
      viola("complete file fails its check: " + (primo == rilievi.end() ? std::string("?") : TestoRilievo(*primo)));
    }
    if (conReport && piattaforma.terminazioni != 1) viola("run with report did not end the program");
    if (conReport && banco.Leggi(radice / CartellaDati() / "report.txt").empty())
      viola("run with report wrote no report");
  } else if (mostrati.size() == primaDellaCorsa) {
    viola("run stopped without a message");
  } else if (!ChiudeUnArresto(mostrati.back())) {
    viola("run stopped, the last message " + Breve(mostrati.back().testo));
  }

  // The archive as it was written.
  for (const auto& [file, contenuto] : archivio) {
    if (banco.Leggi(radice / file) != contenuto) viola("archive file changed: " + file.filename().string());
  }
  return {riuscito, std::move(violazioni), uscita};
}

}  // namespace quibold::collaudo
