// Test support: a temporary drive root with a small certification archive, a message box that
// records what it is shown and answers from a script, and a platform that only remembers.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/dipendente.h"
#include "recfile/messaggi.h"
#include "samples/archivio_esempio.h"
#include "support/sistema_memoria.h"
#include "ui/piattaforma.h"
#include "verifica/codice_fiscale.h"

namespace quibold::prova {

// The closing message of a complete telematic file.
inline constexpr std::string_view kFatto = "Memorizazione regolarmente effettuata...";

struct MessaggioMostrato {
  std::string testo;
  std::string titolo;
  Pulsanti pulsanti;
  Icona icona;
  std::string dettagli = {};
  std::string visto = {};  // what `Osserva` saw as the box was shown
};

// Records every message; answers Yes/No questions from `risposte` (No once it runs out).
class MessaggiRegistrati : public FinestraMessaggi {
 public:
  Risposta Mostra(std::string_view testo, std::string_view titolo, Pulsanti pulsanti, Icona icona) override;
  Risposta MostraConDettagli(std::string_view testo, std::string_view dettagli, std::string_view titolo,
                             Pulsanti pulsanti, Icona icona) override;
  std::vector<MessaggioMostrato> mostrati;
  std::deque<Risposta> risposte;
  std::vector<std::string> Testi() const;
  // When set, called as each box is shown; what it returns is kept with the box.
  std::function<std::string()> Osserva;
};

class PiattaformaFinta : public Piattaforma {
 public:
  bool ApriVisualizzatore(const std::filesystem::path& report, const std::filesystem::path& batch,
                          const std::filesystem::path&, std::string& motivo) override {
    aperti.push_back(report);
    batchAperti.push_back(batch);
    motivo = rifiuto;
    return rifiuto.empty();
  }
  void Termina() override { ++terminazioni; }
  std::string rifiuto;                                     // when set, the viewer fails for this reason
  std::vector<std::filesystem::path> aperti, batchAperti;  // the reports and their batch files
  int terminazioni = 0;
};

// A temporary folder used as the drive root, on the disk (removed at the end) or in a file system
// in memory (`memoria`, which outlives the root). Paths below are native and relative to it.
class RadiceTemporanea {
 public:
  RadiceTemporanea();
  explicit RadiceTemporanea(SistemaInMemoria& memoria);
  RadiceTemporanea(const RadiceTemporanea&) = delete;
  RadiceTemporanea& operator=(const RadiceTemporanea&) = delete;
  ~RadiceTemporanea();
  const std::filesystem::path& percorso() const { return percorso_; }
  // The system that holds the root, for the program's operations on it.
  Sistema& sistema() const;
  bool InMemoria() const { return memoria_ != nullptr; }
  // Writes `contenuto` to a file under the root (native relative path), making its folders.
  void Scrivi(const std::filesystem::path& relativo, std::string_view contenuto) const;
  std::string Leggi(const std::filesystem::path& relativo) const;
  bool Esiste(const std::filesystem::path& relativo) const;
  void CreaCartella(const std::filesystem::path& relativo) const;
  void Rimuovi(const std::filesystem::path& relativo) const;
  // The sample generator's writes, into this root.
  esempio::ScriviFile Scrittura() const {
    return [this](const std::filesystem::path& relativo, const std::string& testo) { Scrivi(relativo, testo); };
  }

 private:
  std::filesystem::path percorso_;
  SistemaInMemoria* memoria_ = nullptr;
};

// The whole of a file on the disk; empty when it cannot be read.
std::string LeggiFile(const std::filesystem::path& file);

// Sets an environment variable of this process (ASCII), or removes it (nullptr).
void ImpostaAmbiente(const char* nome, const char* valore);

// A record of `lunghezza` blanks in which text is put at 1-based positions.
class RecordProva {
 public:
  explicit RecordProva(size_t lunghezza, char riempimento = ' ') : testo_(lunghezza, riempimento) {}
  RecordProva& Metti(int posizione, std::string_view valore);
  const std::string& testo() const { return testo_; }

 private:
  std::string testo_;
};

// Header record 1 with usable defaults: a company "ROSSI SRL" of Milan with 1 employee declared, a
// supplier, commitment type 1 and date 01022018; set further fields with Metti.
RecordProva TestataProva();
// Header record 2: kind and number of employee records.
std::string Testata2Prova(int tipo, int dipendenti);

// An employee record of the sample generator, live, with fiscal code, surname, first name and
// date of birth set, the sex that the code tells, born and living in Rome; other fields put by
// index with Campo / Campo2 (the value is cut or padded to the field's width).
class DipendenteProva : public esempio::Dipendente {
 public:
  explicit DipendenteProva(std::string_view cf = "RSSMRA80A01H501U", std::string_view cognome = "ROSSI",
                           std::string_view nome = "MARIO", std::string_view nascita = "01011980") {
    const std::optional<NascitaCF> n = NascitaDaCF(cf);
    Campo(1, cf).Campo(2, cognome).Campo(3, nome).Campo(4, n && n->donna ? "F" : "M").Campo(5, nascita);
    Campo(6, "ROMA").Campo(7, "RM");
    for (int domicilio : {11, 14}) Campo(domicilio, "ROMA").Campo(domicilio + 1, "RM").Campo(domicilio + 2, "H501");
  }
  DipendenteProva& Campo(int indice, std::string_view valore) {
    esempio::Dipendente::Campo(indice, valore);
    return *this;
  }
  DipendenteProva& Campo2(int indice, std::string_view valore) {
    esempio::Dipendente::Campo2(indice, valore);
    return *this;
  }
  DipendenteProva& Stato(char c) {
    esempio::Dipendente::Stato(c);
    return *this;
  }
};

// Writes c:\disco.ute ("C:" plus blanks) and the header and employee files of certification
// `codice` under the root's drive c.
void ScriviArchivio(const RadiceTemporanea& radice, int codice, const std::string& testata1,
                    const std::string& testata2, const std::vector<std::string>& dipendenti);

// The records of a telematic file, 1900 bytes each; their types in order ("ABDGZ").
std::vector<std::string> Records(const std::string& file);
std::string Tipi(const std::vector<std::string>& records);

// The fields (24 characters each) of a C, D or G record, up to the first blank field; as views
// into the record, or as copies.
std::vector<std::string_view> VisteCampi(std::string_view record);
std::vector<std::string> Campi(const std::string& record);

// A value area: the value right-aligned (Dx) or left-aligned (Sx) in 16 characters.
std::string Dx(std::string_view v);
std::string Sx(std::string_view v);

// The value areas of the fields with `codice`, in order.
std::vector<std::string> Valori(const std::vector<std::string>& campi, std::string_view codice);
// The codes of the fields, in order.
std::vector<std::string> Codici(const std::vector<std::string>& campi);

}  // namespace quibold::prova
