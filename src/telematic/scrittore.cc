#include "telematic/scrittore.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <utility>

#include "archive/archivio.h"
#include "recfile/numeri.h"

namespace quibold {
namespace {

// Copies the at most 16 characters of `testo` to `dove` in a few moves, whatever their number.
inline void CopiaBreve(char* dove, std::string_view testo) {
  assert(testo.size() <= kLungValore);
  const char* da = testo.data();
  const size_t n = testo.size();
  if (n >= 8) {
    uint64_t primi, ultimi;
    std::memcpy(&primi, da, 8);
    std::memcpy(&ultimi, da + n - 8, 8);
    std::memcpy(dove, &primi, 8);
    std::memcpy(dove + n - 8, &ultimi, 8);
  } else if (n >= 4) {
    uint32_t primi, ultimi;
    std::memcpy(&primi, da, 4);
    std::memcpy(&ultimi, da + n - 4, 4);
    std::memcpy(dove, &primi, 4);
    std::memcpy(dove + n - 4, &ultimi, 4);
  } else {
    for (size_t i = 0; i < n; ++i) dove[i] = da[i];
  }
}

}  // namespace

UscitaCanale::UscitaCanale(Canali& canali, Verifica* controllo) : canali_(canali), controllo_(controllo) {
  if (controllo_) canali_.Osserva(kCanaleTelematico, this);
}

UscitaCanale::~UscitaCanale() {
  if (controllo_) canali_.Osserva(kCanaleTelematico, nullptr);
}

void UscitaCanale::Scritti(std::string_view dati) {
  // The channel shows whole writes, and each of ours is a record: a shorter rest would be checked
  // as the incomplete record it is.
  for (size_t i = 0; i < dati.size(); i += kLungRecord) controllo_->Record(dati.substr(i, kLungRecord));
}

Verifica* UscitaCanale::ControlloCompleto() {
  if (!controllo_) return nullptr;
  canali_.ScriviRaccolti(kCanaleTelematico);
  if (!canali_.Riuscita()) throw ArrestoScrittura{};
  canali_.Osserva(kCanaleTelematico, nullptr);
  return std::exchange(controllo_, nullptr);
}

bool UscitaCanale::Scrivi(int32_t numero, std::string_view record) {
  canali_.Canale = kCanaleTelematico;
  canali_.NumRec = numero;
  canali_.ScriviRecord(record);  // the record as BufferOut(8) would hold it, without the copy
  return canali_.Riuscita();
}

namespace {

// Where record Z's count of a kind of record stands among the four, or -1 for a kind it does
// not count.
int PostoConteggio(char tipo) {
  constexpr std::string_view kContati = "BCDG";
  const size_t posto = kContati.find(tipo);
  return posto == std::string_view::npos ? -1 : static_cast<int>(posto);
}

}  // namespace

int Scrittore::Conteggio(char tipo) const {
  const int posto = PostoConteggio(tipo);
  return posto < 0 ? 0 : conteggi_[static_cast<size_t>(posto)];
}

void Scrittore::IniziaRecord(std::string_view testa) {
  lunghezza_ = 0;
  aperto_ = true;
  Aggiungi(testa);
  recordG_ = false;
}

void Scrittore::IniziaRecordG(std::string_view testa) {
  testaG_.assign(testa);
  IniziaRecord(testa);
  recordG_ = true;
  campiG_ = 0;
}

void Scrittore::Aggiungi(std::string_view testo) {
  assert(aperto_);
  // What lies beyond the data area is cut off when the record closes: it need not be kept.
  const size_t quanti = std::min(testo.size(), kFineDati - std::min(lunghezza_, kFineDati));
  std::copy_n(testo.data(), quanti, record_.data() + lunghezza_);
  lunghezza_ += quanti;
}

void Scrittore::ChiudiRecord() {
  Completa();
  Scrivi();
}

void Scrittore::ChiudiUltimoRecord() {
  Completa();
  if (Verifica* controllo = uscita_.ControlloCompleto()) {
    controllo->Record(std::string_view(record_.data(), kLungRecord));
    controllo->Fine();
    if (controllo->Errori() > 0) {
      std::vector<Rilievo> rilievi = controllo->Rilievi();
      NominaDipendenti(rilievi);
      throw ArrestoScrittura{ElencoRilievi(*controllo, rilievi), ElencoCompleto(rilievi)};
    }
  }
  Scrivi();
}

void Scrittore::Completa() {
  assert(aperto_);
  std::memset(record_.data() + lunghezza_, ' ', kFineDati - lunghezza_);
  std::memcpy(record_.data() + kFineDati, kFineRecord, sizeof kFineRecord);
}

void Scrittore::Scrivi() {
  aperto_ = false;
  ++records_;
  if (const int posto = PostoConteggio(record_[0]); posto >= 0) ++conteggi_[static_cast<size_t>(posto)];
  // A record that could not be written ends the run: the output has shown why.
  if (!uscita_.Scrivi(records_, std::string_view(record_.data(), kLungRecord))) throw ArrestoScrittura{};
}

void Scrittore::Dipendente(long recordArchivio, std::string nome) {
  dipendenti_.push_back({records_ + 1, recordArchivio, std::move(nome)});
}

std::string Scrittore::NomeDipendente(const DipendenteScritto& d) {
  return "dipendente " + (d.nome.empty() ? std::string("senza nome") : d.nome) + ", record " +
         std::to_string(d.recordArchivio) + " dell'archivio";
}

void Scrittore::NominaDipendenti(std::vector<Rilievo>& rilievi) const {
  for (Rilievo& r : rilievi) {
    if (r.dipendente.empty()) continue;  // not in an employee's records
    // The last employee whose records begin at or before the finding's.
    const auto dopo = std::upper_bound(dipendenti_.begin(), dipendenti_.end(), r.record,
                                       [](long record, const DipendenteScritto& d) { return record < d.primoRecord; });
    if (dopo == dipendenti_.begin()) continue;
    r.dipendente = NomeDipendente(*std::prev(dopo));
  }
}

void Scrittore::NonScritto(std::string_view codice, IndiceTotale totale, IndiceTotale totale2, double importo) {
  assert(importo < 0);  // REQUIRES: an amount below 0
  const std::string chi = dipendenti_.empty() ? std::string() : NomeDipendente(dipendenti_.back());
  nonScritti_.push_back({chi, static_cast<long>(dipendenti_.size()), std::string(codice), totale, totale2, importo});
}

std::string ElencoRilievi(const Verifica& controllo, const std::vector<Rilievo>& rilievi) {
  constexpr long kMostrati = 10;
  std::string testo = "Il file telematico non ha superato il controllo:";
  // The errors first, in file order: they are what stops the file; the warnings only counted.
  const size_t elencati = rilievi.size() - (controllo.Troncato() ? 1 : 0);
  long mostrati = 0;
  for (size_t i = 0; i < elencati && mostrati < kMostrati; ++i) {
    if (rilievi[i].gravita != Gravita::Errore) continue;
    testo += "\n" + RigheRilievo(rilievi[i]);
    ++mostrati;
  }
  if (const long altri = controllo.Errori() - mostrati; altri > 0) {
    testo += altri == 1 ? "\ne un altro errore" : "\ne altri " + std::to_string(altri) + " errori";
  }
  if (const long avvisi = controllo.Avvisi(); avvisi > 0) {
    testo += "\ne " + std::to_string(avvisi) + (avvisi == 1 ? " avviso" : " avvisi");
  }
  return testo;
}

std::string ElencoCompleto(const std::vector<Rilievo>& rilievi) {
  std::string testo;
  for (const Rilievo& r : rilievi) testo += (testo.empty() ? "" : "\n") + RigheRilievo(r);
  return testo;
}

char* Scrittore::NuovoCampo(std::string_view codice) {
  assert(aperto_ && codice.size() == kLungCodice);
  // A C or D record holds far fewer fields than the data area can; one that did not fit would
  // be cut off when the record closes.
  scartato_ = lunghezza_ + kLungCampo > kFineDati;
  if (scartato_) return scarto_.data();
  char* campo = record_.data() + lunghezza_;
  std::memcpy(campo, codice.data(), kLungCodice);
  return campo + kLungCodice;
}

void Scrittore::FineCampo() {
  if (!scartato_) lunghezza_ += kLungCampo;
  if (recordG_ && ++campiG_ == kMaxCampi) {
    campiG_ = 0;
    ChiudiRecord();
    IniziaRecord(testaG_);
    recordG_ = true;
  }
}

void Scrittore::Accoda(std::string_view codice, std::string_view valore) {
  assert(valore.size() <= kLungValore);
  char* v = NuovoCampo(codice);
  std::memset(v, ' ', kLungValore);
  CopiaBreve(v, valore);
  FineCampo();
}

void Scrittore::CampoImporto(std::string_view codice) {
  Importo = Arrotonda(Importo);
  const double importo = Importo;
  if (importo <= 0) return;  // zero and negative amounts are not written
  if (!(importo < 1e13)) {
    throw ArrestoScrittura{"Importo troppo grande nel campo " + std::string(codice) + " "};
  }
  // Positive and below 2^63: the conversions take the floor.
  const long long w = static_cast<long long>(importo);
  const long long centesimi = static_cast<long long>((importo - static_cast<double>(w)) * 100 + 0.499);
  AccodaImporto(codice, w, centesimi);
}

void Scrittore::AccodaImporto(std::string_view codice, long long intero, long long centesimi) {
  assert(intero >= 0 && intero < 10'000'000'000'000 && centesimi >= 0 && centesimi < 100);
  char cifre[20];
  char* p = std::end(cifre);
  for (; intero > 0; intero /= 10) *--p = static_cast<char>('0' + intero % 10);
  AccodaImporto(codice, std::string_view(p, static_cast<size_t>(std::end(cifre) - p)),
                {static_cast<char>('0' + centesimi / 10), static_cast<char>('0' + centesimi % 10)});
}

void Scrittore::AccodaImporto(std::string_view codice, std::string_view intere, std::array<char, 2> centesimi) {
  // Thirteen zeros for a whole part of 0, else its digits right-aligned in 13; then the cents.
  [[maybe_unused]] const auto cifra = [](char c) { return c >= '0' && c <= '9'; };
  assert(intere.size() <= 13 && (intere.empty() || intere[0] != '0'));
  assert(std::all_of(intere.begin(), intere.end(), cifra) && cifra(centesimi[0]) && cifra(centesimi[1]));
  char* v = NuovoCampo(codice);
  std::memset(v, intere.empty() ? '0' : ' ', 13);
  CopiaBreve(v + 13 - intere.size(), intere);
  v[13] = ',';
  v[14] = centesimi[0];
  v[15] = centesimi[1];
  FineCampo();
}

void Scrittore::CampoImportoIntero(std::string_view codice) {
  Importo = Arrotonda(Importo);
  const double importo = Importo;
  if (importo <= 0) return;
  if (!(importo < 1e16)) {
    throw ArrestoScrittura{"Importo troppo grande nel campo " + std::string(codice) + " "};
  }
  // The floor of a positive amount, right-aligned; a field of blanks below 1.
  char* v = NuovoCampo(codice);
  std::memset(v, ' ', kLungValore);
  char* p = v + kLungValore;
  for (long long w = static_cast<long long>(importo); w > 0; w /= 10) *--p = static_cast<char>('0' + w % 10);
  FineCampo();
}

bool Scrittore::NormalizzaCF(std::string& testo) {
  std::string_view t = Rifilato(testo);
  bool valido = false;
  if (t.size() == 11) {
    testo = std::string(t) + "     ";
    valido = true;
  } else {
    valido = t.size() == 16;
    testo = std::string(t);
  }
  return valido;
}

void Scrittore::Testo(std::string_view codice, std::string_view valore) {
  Accoda(codice, valore.substr(0, kLungValore));
}

void Scrittore::TestoSePresente(std::string_view codice, std::string_view valore) {
  if (!Rifilato(valore).empty()) Testo(codice, valore);
}

void Scrittore::TestoSePositivo(std::string_view codice, std::string_view valore) {
  if (Positivo(valore)) Testo(codice, valore);
}

void Scrittore::TestoDiviso(std::string_view codice, std::string_view valore) {
  Accoda(codice, valore.substr(0, kLungValore));
  // The continuation goes on where the first field stopped, in the value as stored: counted in
  // the trimmed value, leading blanks would shift it and lose characters.
  std::string_view seguito = valore.substr(std::min(valore.size(), kLungValore), 15);
  seguito = seguito.substr(0, seguito.find_last_not_of(' ') + 1);
  if (!seguito.empty()) AccodaSeguito(codice, seguito);
}

void Scrittore::TestoDiviso3(std::string_view codice, std::string_view valore) {
  std::string_view t = Rifilato(valore);
  if (t.empty()) return;
  if (t.size() <= kLungValore) return Accoda(codice, t);
  Accoda(codice, t.substr(0, kLungValore));
  AccodaSeguito(codice, t.substr(kLungValore, 15));
  std::string_view resto = t.size() > 31 ? Rifilato(t.substr(31)) : std::string_view();
  if (!resto.empty()) AccodaSeguito(codice, resto.substr(0, 15));
}

void Scrittore::AccodaSeguito(std::string_view codice, std::string_view seguito) {
  assert(seguito.size() < kLungValore);
  char* v = NuovoCampo(codice);
  std::memset(v, ' ', kLungValore);
  v[0] = '+';
  CopiaBreve(v + 1, seguito);
  FineCampo();
}

void Scrittore::AllineatoDestra(std::string_view codice, std::string_view valore) {
  valore = valore.substr(0, kLungValore);
  char* v = NuovoCampo(codice);
  std::memset(v, ' ', kLungValore);
  CopiaBreve(v + kLungValore - valore.size(), valore);
  FineCampo();
}

void Scrittore::Flag(std::string_view codice) {
  std::memcpy(NuovoCampo(codice), "               1", kLungValore);
  FineCampo();
}

void Scrittore::DueCifre(std::string_view codice, std::string_view valore) {
  std::string_view t = Rifilato(valore).substr(0, 2);
  char* v = NuovoCampo(codice);
  std::memset(v, ' ', 14);
  v[14] = v[15] = '0';
  CopiaBreve(v + kLungValore - t.size(), t);
  FineCampo();
}

void Scrittore::ImportoSenzaTotali(std::string_view codice, std::string_view valore) {
  // An amount of the usual shape goes to its field digit by digit: the value it reads as is
  // needed by no total, and the rounding would leave it as it is.
  std::string_view intere;
  std::array<char, 2> centesimi;
  if (!CifreImporto(valore, intere, centesimi)) {
    ImportoDa(codice, valore);
  } else if (!intere.empty() || centesimi[0] != '0' || centesimi[1] != '0') {
    AccodaImporto(codice, intere, centesimi);
  }
}

double Scrittore::ImportoDa(std::string_view codice, std::string_view valore) {
  // An amount of the usual shape is a whole number of cents that the rounding leaves as it is:
  // its field comes from its digits and its value from the cents, the very bytes and the very
  // double of the general way.
  std::string_view intere;
  std::array<char, 2> centesimi;
  if (CifreImporto(valore, intere, centesimi)) {
    long long c = 0;
    for (char cifra : intere) c = c * 10 + (cifra - '0');
    c = c * 100 + (centesimi[0] - '0') * 10 + (centesimi[1] - '0');
    Importo = static_cast<double>(c) / 100;
    if (c > 0) AccodaImporto(codice, intere, centesimi);
    return Importo;
  }
  Importo = ValoreNumerico(valore);
  CampoImporto(codice);
  return Importo;
}

double Scrittore::ImportoInteroDa(std::string_view codice, std::string_view valore) {
  Importo = ValoreNumerico(valore);
  CampoImportoIntero(codice);
  return Importo;
}

void Scrittore::CodiceFiscale(std::string_view codice, std::string_view valore) {
  // NormalizzaCF without a copy: a VAT number of 11 gets its 5 blanks, a code of 16 stays.
  std::string_view t = Rifilato(valore);
  if (t.size() == 11 || t.size() == 16) Accoda(codice, t);
}

}  // namespace quibold
