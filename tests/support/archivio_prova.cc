#include "support/archivio_prova.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "sistema/sistema.h"

namespace fs = std::filesystem;

namespace quibold::prova {

Risposta MessaggiRegistrati::MostraConDettagli(std::string_view testo, std::string_view dettagli,
                                               std::string_view titolo, Pulsanti pulsanti, Icona icona) {
  const Risposta r = Mostra(testo, titolo, pulsanti, icona);
  mostrati.back().dettagli = std::string(dettagli);
  return r;
}

Risposta MessaggiRegistrati::Mostra(std::string_view testo, std::string_view titolo, Pulsanti pulsanti, Icona icona) {
  mostrati.push_back({std::string(testo), std::string(titolo), pulsanti, icona});
  if (Osserva) mostrati.back().visto = Osserva();
  if (pulsanti == Pulsanti::Ok) return Risposta::Ok;
  if (risposte.empty()) return Risposta::No;
  Risposta r = risposte.front();
  risposte.pop_front();
  return r;
}

std::vector<std::string> MessaggiRegistrati::Testi() const {
  std::vector<std::string> t;
  for (const auto& m : mostrati) t.push_back(m.testo);
  return t;
}

RadiceTemporanea::RadiceTemporanea() : percorso_(CartellaTemporanea(fs::temp_directory_path(), "quibold-prova-")) {}

RadiceTemporanea::RadiceTemporanea(SistemaInMemoria& memoria)
    : percorso_(SistemaInMemoria::Radice()), memoria_(&memoria) {}

RadiceTemporanea::~RadiceTemporanea() {
  if (memoria_) return;
  std::error_code ec;
  fs::remove_all(percorso_, ec);
}

Sistema& RadiceTemporanea::sistema() const { return memoria_ ? *memoria_ : SistemaReale(); }

void RadiceTemporanea::Scrivi(const fs::path& relativo, std::string_view contenuto) const {
  fs::path p = percorso_ / relativo;
  if (memoria_) return memoria_->Metti(p, contenuto);
  fs::create_directories(p.parent_path());
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f.write(contenuto.data(), static_cast<std::streamsize>(contenuto.size()));
}

std::string RadiceTemporanea::Leggi(const fs::path& relativo) const {
  return memoria_ ? memoria_->Contenuto(percorso_ / relativo) : LeggiFile(percorso_ / relativo);
}

std::string LeggiFile(const fs::path& file) {
  std::ifstream f(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

bool RadiceTemporanea::Esiste(const fs::path& relativo) const {
  if (memoria_) return memoria_->Presente(percorso_ / relativo);
  std::error_code ec;
  return fs::exists(fs::symlink_status(percorso_ / relativo, ec));
}

void RadiceTemporanea::CreaCartella(const fs::path& relativo) const {
  if (memoria_) return memoria_->CreaCartella(percorso_ / relativo);
  fs::create_directories(percorso_ / relativo);
}

void RadiceTemporanea::Rimuovi(const fs::path& relativo) const {
  if (memoria_) {
    (void)memoria_->RimuoviTutto(percorso_ / relativo);
    return;
  }
  std::error_code ec;
  fs::remove_all(percorso_ / relativo, ec);
}

void ImpostaAmbiente(const char* nome, const char* valore) {
#ifdef _WIN32
  // The wide environment, which the program reads; an empty value removes the variable.
  const std::string v = valore ? valore : "";
  _wputenv_s(std::wstring(nome, nome + std::strlen(nome)).c_str(), std::wstring(v.begin(), v.end()).c_str());
#else
  if (valore) {
    setenv(nome, valore, 1);
  } else {
    unsetenv(nome);
  }
#endif
}

RecordProva& RecordProva::Metti(int posizione, std::string_view valore) {
  testo_.replace(static_cast<size_t>(posizione - 1), valore.size(), valore);
  return *this;
}

RecordProva TestataProva() {
  RecordProva r(1200);
  r.Metti(2, "0")                    // normal supply
      .Metti(3, "N")                 // not a natural person
      .Metti(4, "01234567897     ")  // withholding agent
      .Metti(21, "ROSSI SRL")
      .Metti(193, "   1")  // employees declared
      .Metti(205, "10")
      .Metti(207, "SPRFRN70A01F205Y")
      .Metti(223, "1")
      .Metti(224, "01022018")
      .Metti(237, "15022018")
      .Metti(251, "MILANO")  // the seat
      .Metti(275, "MI")
      .Metti(282, "VIA TORINO 1");
  return r;
}

std::string Testata2Prova(int tipo, int dipendenti) {
  RecordProva r(1200);
  std::string n = std::to_string(dipendenti);
  r.Metti(2, std::to_string(tipo)).Metti(3, std::string(4 - n.size(), ' ') + n);
  return r.testo();
}

void ScriviArchivio(const RadiceTemporanea& radice, int codice, const std::string& testata1,
                    const std::string& testata2, const std::vector<std::string>& dipendenti) {
  radice.Scrivi("c/disco.ute", "C:        ");
  fs::path dati = fs::path("c") / "vorn" / "quelt" / "2017" / "dati";
  radice.Scrivi(dati / ("FCU" + std::to_string(codice) + ".018"), testata1 + testata2);
  std::string tutti;
  for (const auto& d : dipendenti) tutti += d;
  radice.Scrivi(dati / ("DCU" + std::to_string(codice) + ".018"), tutti);
}

std::vector<std::string> Records(const std::string& file) {
  std::vector<std::string> r;
  for (size_t i = 0; i + 1900 <= file.size(); i += 1900) r.push_back(file.substr(i, 1900));
  return r;
}

std::string Tipi(const std::vector<std::string>& records) {
  std::string t;
  for (const auto& r : records) t += r[0];
  return t;
}

std::vector<std::string_view> VisteCampi(std::string_view record) {
  std::vector<std::string_view> c;
  for (size_t p = 89; p + 24 <= 1889; p += 24) {
    const std::string_view campo = record.substr(p, 24);
    if (campo.find_first_not_of(' ') == std::string_view::npos) break;
    c.push_back(campo);
  }
  return c;
}

std::vector<std::string> Campi(const std::string& record) {
  const auto viste = VisteCampi(record);
  return {viste.begin(), viste.end()};
}

std::string Dx(std::string_view v) { return std::string(16 - v.size(), ' ') + std::string(v); }
std::string Sx(std::string_view v) { return std::string(v) + std::string(16 - v.size(), ' '); }

std::vector<std::string> Valori(const std::vector<std::string>& campi, std::string_view codice) {
  std::vector<std::string> v;
  for (const auto& c : campi) {
    if (c.compare(0, 8, codice) == 0) v.push_back(c.substr(8));
  }
  return v;
}

std::vector<std::string> Codici(const std::vector<std::string>& campi) {
  std::vector<std::string> v;
  for (const auto& c : campi) v.push_back(c.substr(0, 8));
  return v;
}

}  // namespace quibold::prova
