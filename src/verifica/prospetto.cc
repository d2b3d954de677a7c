#include "verifica/prospetto.h"

#include <algorithm>
#include <cstdint>

#include "verifica/campi.h"
#include "verifica/rapida.h"
#include "verifica/testi.h"
#include "verifica/tracciato.h"

namespace quibold {
namespace {

using namespace controllo;
using namespace tracciato;

// Every code of a total is an amount with cents to the check too: its value is read as one here.
constexpr bool TotaliSuImporti() {
  for (const CodiceDelTotale& t : kCodiciDeiTotali) {
    const auto noto = std::find_if(std::begin(campi::kCampiNoti), std::end(campi::kCampiNoti),
                                   [&](const campi::CampoNoto& c) { return c.codice == t.codice; });
    if (noto == std::end(campi::kCampiNoti) || noto->formato != campi::kImporto) return false;
  }
  return true;
}
static_assert(TotaliSuImporti(), "a code of the report's totals that verifica/campi.h does not know as an amount");

// The codes of the totals as words, in a table of open addressing: a field's code is found, or
// known not to be there, in a step or two.
struct TabellaTotali {
  static constexpr size_t kPosti = 256;
  std::array<uint64_t, kPosti> parole{};
  std::array<TotaliDelCodice, kPosti> totali{};
  static constexpr size_t Posto(uint64_t parola) { return ((parola ^ (parola >> 29)) * 0x9E3779B97F4A7C15) >> 56; }
  constexpr const TotaliDelCodice* Cerca(uint64_t parola) const {
    for (size_t i = Posto(parola);; i = (i + 1) % kPosti) {
      if (parole[i] == parola) return &totali[i];
      if (parole[i] == 0) return nullptr;
    }
  }
};
inline constexpr TabellaTotali kTotali = [] {
  TabellaTotali t;
  for (const CodiceDelTotale& c : kCodiciDeiTotali) {
    const uint64_t parola = ParolaFissa(c.codice);
    if (t.Cerca(parola)) continue;  // a code of two totals: one entry with both
    size_t i = TabellaTotali::Posto(parola);
    while (t.parole[i] != 0) i = (i + 1) % TabellaTotali::kPosti;
    t.parole[i] = parola;
    t.totali[i] = TotaliDi(c.codice);
  }
  return t;
}();

std::string SenzaBianchiDopo(std::string_view t) {
  const size_t fine = t.find_last_not_of(' ');
  return std::string(fine == std::string_view::npos ? std::string_view() : t.substr(0, fine + 1));
}

// An amount as the file writes it, in cents: the whole part right-aligned in 13 places (blanks and
// digits), a comma and two digits. False for anything else, which the check reports.
bool Centesimi(const char* valore, long long& centesimi) {
  if (valore[13] != ',' || !Cifra(valore[14]) || !Cifra(valore[15])) return false;
  long long intera = 0;
  int i = 0;
  while (i < 13 && valore[i] == ' ') ++i;
  if (i == 13) return false;
  for (; i < 13; ++i) {
    if (!Cifra(valore[i])) return false;
    intera = intera * 10 + (valore[i] - '0');
  }
  centesimi = intera * 100 + (valore[14] - '0') * 10 + (valore[15] - '0');
  return true;
}

}  // namespace

void Prospetto::Record(std::string_view r) {
  ++records_;
  const char tipo = r.empty() ? '\0' : r[0];
  if (primo_) {
    primo_ = false;
    cur18_ = tipo == 'A' && r.size() >= 20 && r.substr(15, 5) == "CUR18";
  }
  // Whose record this is: a record D begins an employee, and so does a G record of another
  // employee than the current one's (one without its record D); any other record among an
  // employee's is theirs, even one too damaged to tell its kind.
  const bool testa = r.size() >= static_cast<size_t>(kProgressivo.ultima());
  DipendenteNelFile* d = nullptr;
  if (tipo == 'A' || tipo == 'B' || tipo == 'C' || tipo == 'Z') {
    if (tipo == 'Z') dopoZ_ = true;
  } else if (!dopoZ_) {
    bool nuovo = tipo == 'D' || dipendenti_.empty();
    if (!nuovo && tipo == 'G' && testa) {
      const DipendenteNelFile& attuale = dipendenti_.back();
      nuovo =
          SenzaBianchiDopo(kCfDipendente.In(r)) != attuale.codiceFiscale || kProgressivo.In(r) != attuale.progressivo;
    }
    if (nuovo && (tipo == 'D' || tipo == 'G')) {
      DipendenteNelFile& n = dipendenti_.emplace_back();
      n.primoRecord = records_;
      if (testa) {
        n.codiceFiscale = SenzaBianchiDopo(kCfDipendente.In(r));
        n.progressivo = std::string(kProgressivo.In(r));
      }
      conG_ = false;
      seguito_ = nullptr;
    }
    if (!dipendenti_.empty()) d = &dipendenti_.back();
  }

  const long errori = verifica_.Errori(), avvisi = verifica_.Avvisi();
  verifica_.Record(r);
  const long nuoviErrori = verifica_.Errori() - errori, nuoviAvvisi = verifica_.Avvisi() - avvisi;
  if (d) {
    d->ultimoRecord = records_;
    d->errori += nuoviErrori;
    d->avvisi += nuoviAvvisi;
  } else {
    erroriDelFile_ += nuoviErrori;
    avvisiDelFile_ += nuoviAvvisi;
  }
  if (r.size() == kLungRecord) Leggi(r, d);
}

void Prospetto::Leggi(std::string_view r, DipendenteNelFile* d) {
  switch (r[0]) {
    case 'A':
      if (testata_.letta) return;
      testata_.letta = true;
      testata_.fornitura = std::string(r.substr(15, 5));
      testata_.cfFornitore = SenzaBianchiDopo(r.substr(22, 16));
      return;
    case 'B': {
      if (!testata_.cfSostituto.empty()) return;
      testata_.cfSostituto = SenzaBianchiDopo(kCfSostituto.In(r));
      // A company's name, else a person's surname and first name.
      std::string nome = SenzaBianchiDopo(r.substr(136, 60));
      if (nome.find_first_not_of(' ') == std::string::npos) {
        nome = SenzaBianchiDopo(r.substr(92, 24));
        const std::string proprio = SenzaBianchiDopo(r.substr(116, 20));
        if (!proprio.empty()) nome += (nome.empty() ? "" : " ") + proprio;
      }
      testata_.sostituto = nome.substr(std::min(nome.size(), nome.find_first_not_of(' ')));
      testata_.operazione = r[kPosAnnullamento - 1] == '1' ? 'A' : r[kPosSostituzione - 1] == '1' ? 'S' : ' ';
      return;
    }
    case 'D':
      if (d) d->operazione = r[kPosOperazioneD - 1];
      if (testata_.protocollo.empty()) {
        testata_.protocollo = std::string(kProtocollo.In(r));
        testata_.numeroSostituito = std::string(kNumeroSostituito.In(r));
      }
      break;
    case 'G':
      if (d && !conG_) {
        conG_ = true;
        d->somme[kDipendenti] += 1;
      }
      break;
    default: return;
  }
  if (!d) return;
  // The grid, up to its first empty slot: the employee's names in record D, the amounts of the
  // totals in records G. The check says what is wrong with it.
  const char* c = r.data() + kPosGriglia - 1;
  for (int k = 0; k < kCampiRecord; ++k, c += kLungCampo) {
    const std::string_view codice(c, kLungCodice);
    const char* valore = c + kLungCodice;
    if (Otto(c) == kOttoBianchi) break;
    if (valore[0] == '+') {
      // A text that goes on: only a name's continuation is of interest.
      if (seguito_ && codice == codiceSeguito_) seguito_->append(valore + 1, kLungValore - 1);
      continue;
    }
    seguito_ = nullptr;
    if (r[0] == 'D') {
      std::string* nome = codice == "DA002002" ? &d->cognome : codice == "DA002003" ? &d->nome : nullptr;
      if (nome) {
        nome->assign(valore, kLungValore);
        seguito_ = nome;
        codiceSeguito_ = nome == &d->cognome ? "DA002002" : "DA002003";
      }
    } else if (const TotaliDelCodice* t = kTotali.Cerca(Parola(codice))) {
      long long centesimi = 0;
      if (!Centesimi(valore, centesimi)) continue;
      d->somme[t->primo] += centesimi;
      if (t->secondo != kNessunTotale) d->somme[t->secondo] += centesimi;
    }
  }
  if (r[0] == 'D') {
    d->cognome = SenzaBianchiDopo(d->cognome);
    d->nome = SenzaBianchiDopo(d->nome);
  }
}

void Prospetto::Fine() {
  const long errori = verifica_.Errori(), avvisi = verifica_.Avvisi();
  verifica_.Fine();
  erroriDelFile_ += verifica_.Errori() - errori;
  avvisiDelFile_ += verifica_.Avvisi() - avvisi;
}

Somme Prospetto::Totale() const {
  Somme s{};
  for (const DipendenteNelFile& d : dipendenti_) {
    for (size_t i = 0; i < s.size(); ++i) s[i] += d.somme[i];
  }
  return s;
}

std::vector<Rilievo> RilieviDi(const Prospetto& p, const DipendenteNelFile& d) {
  std::vector<Rilievo> r;
  for (const Rilievo& x : p.verifica().Rilievi()) {
    if (x.record >= d.primoRecord && x.record <= d.ultimoRecord) r.push_back(x);
  }
  return r;
}

std::vector<Rilievo> RilieviDelFile(const Prospetto& p) {
  const auto& dipendenti = p.Dipendenti();
  std::vector<Rilievo> r;
  for (const Rilievo& x : p.verifica().Rilievi()) {
    // The employees in file order: the last that begins at or before the finding's record.
    const auto dopo = std::upper_bound(dipendenti.begin(), dipendenti.end(), x.record,
                                       [](long record, const DipendenteNelFile& d) { return record < d.primoRecord; });
    if (dopo == dipendenti.begin() || std::prev(dopo)->ultimoRecord < x.record) r.push_back(x);
  }
  return r;
}

}  // namespace quibold
