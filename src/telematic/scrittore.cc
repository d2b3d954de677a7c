#include "telematic/scrittore.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "archive/archivio.h"
#include "recfile/numeri.h"

namespace quibold {
namespace {

// A value area built on the stack: the hot path allocates nothing per field.
class Valore {
 public:
  void Bianchi(size_t n) { Ripeti(' ', n); }
  void Ripeti(char c, size_t n) {
    for (size_t i = 0; i < n && n_ < kLungValore; ++i) testo_[n_++] = c;
  }
  void Aggiungi(std::string_view t) {
    for (char c : t) {
      if (n_ < kLungValore) testo_[n_++] = c;
    }
  }
  void Aggiungi(char c) { Ripeti(c, 1); }
  // Decimal digits of a whole number right-aligned in `larghezza` characters.
  void CifreADestra(long long n, size_t larghezza) {
    char cifre[24];
    auto r = std::to_chars(cifre, cifre + sizeof cifre, n);
    size_t quante = static_cast<size_t>(r.ptr - cifre);
    Bianchi(larghezza - quante);
    Aggiungi(std::string_view(cifre, quante));
  }
  operator std::string_view() const { return {testo_, n_}; }

 private:
  char testo_[kLungValore];
  size_t n_ = 0;
};

}  // namespace

std::string& Scrittore::RecordCorrente() { return canali_.BufferOut[kCanaleTelematico]; }

void Scrittore::IniziaRecord(std::string_view testa) {
  std::string& r = RecordCorrente();
  r.reserve(kLungRecord);
  r.assign(testa);
  recordG_ = false;
  campiCD_ = 0;
}

void Scrittore::IniziaRecordG(std::string_view testa) {
  testaG_.assign(testa);
  IniziaRecord(testa);
  recordG_ = true;
  campiG_ = 0;
}

void Scrittore::Aggiungi(std::string_view testo) { RecordCorrente().append(testo); }

void Scrittore::ChiudiRecord() {
  canali_.Canale = kCanaleTelematico;
  ++contatoreRecord;
  canali_.NumRec = contatoreRecord;
  std::string& r = RecordCorrente();
  r.resize(kFineDati, ' ');
  r.append(kFineRecord, sizeof kFineRecord);
  canali_.ScriviRecord();
  // A record that could not be written ends the run: the layer has shown why.
  if (!canali_.Riuscita()) throw ArrestoScrittura{};
}

void Scrittore::Campo(std::string_view codice, std::string_view valore) {
  std::string& r = RecordCorrente();
  r.append(codice);
  r.append(valore);
  r.append(kLungCampo - codice.size() - valore.size(), ' ');
}

void Scrittore::AccodaCampo(std::string_view codice, std::string_view valore) {
  Campo(codice, valore);
  ++campiCD_;
}

void Scrittore::AccodaCampoG(std::string_view codice, std::string_view valore) {
  Campo(codice, valore);
  if (++campiG_ == kMaxCampi) {
    campiG_ = 0;
    ++numG;
    ChiudiRecord();
    RecordCorrente().assign(testaG_);
  }
}

void Scrittore::Accoda(std::string_view codice, std::string_view valore) {
  if (recordG_) {
    AccodaCampoG(codice, valore);
  } else {
    AccodaCampo(codice, valore);
  }
}

void Scrittore::CampoImporto(std::string_view codice) {
  canali_.Arrotonda();
  const double importo = canali_.Importo;
  if (importo <= 0) return;  // zero and negative amounts are not written
  const double intero = std::floor(importo);
  if (intero >= 1e13) {
    throw ArrestoScrittura{"Importo troppo grande nel campo " + std::string(codice) + " "};
  }
  const long long w = static_cast<long long>(intero);
  const long long centesimi = static_cast<long long>(std::floor((importo - intero) * 100 + 0.499));
  Valore v;
  if (w == 0) {
    v.Ripeti('0', 13);
  } else {
    v.CifreADestra(w, 13);
  }
  v.Aggiungi(',');
  v.Aggiungi(static_cast<char>('0' + centesimi / 10));
  v.Aggiungi(static_cast<char>('0' + centesimi % 10));
  Accoda(codice, v);
}

void Scrittore::CampoImportoIntero(std::string_view codice) {
  canali_.Arrotonda();
  const double importo = canali_.Importo;
  if (importo <= 0) return;
  const double intero = std::floor(importo);
  if (intero >= 1e16) {
    throw ArrestoScrittura{"Importo troppo grande nel campo " + std::string(codice) + " "};
  }
  const long long w = static_cast<long long>(intero);
  Valore v;
  if (w == 0) {
    v.Bianchi(kLungValore);
  } else {
    v.CifreADestra(w, kLungValore);
  }
  Accoda(codice, v);
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
  if (ValoreNumerico(valore) > 0) Testo(codice, valore);
}

void Scrittore::TestoDiviso(std::string_view codice, std::string_view valore) {
  Accoda(codice, valore.substr(0, kLungValore));
  // The continuation goes on where the first field stopped, in the value as stored: counted in
  // the trimmed value, leading blanks would shift it and lose characters.
  std::string_view seguito = valore.substr(std::min(valore.size(), kLungValore), 15);
  seguito = seguito.substr(0, seguito.find_last_not_of(' ') + 1);
  if (!seguito.empty()) {
    Valore v;
    v.Aggiungi('+');
    v.Aggiungi(seguito);
    Accoda(codice, v);
  }
}

void Scrittore::TestoDiviso3(std::string_view codice, std::string_view valore) {
  std::string_view t = Rifilato(valore);
  if (t.empty()) return;
  if (t.size() <= kLungValore) return Accoda(codice, t);
  Accoda(codice, t.substr(0, kLungValore));
  Valore seguito;
  seguito.Aggiungi('+');
  seguito.Aggiungi(t.substr(kLungValore, 15));
  Accoda(codice, seguito);
  std::string_view resto = t.size() > 31 ? Rifilato(t.substr(31)) : std::string_view();
  if (!resto.empty()) {
    Valore ultimo;
    ultimo.Aggiungi('+');
    ultimo.Aggiungi(resto.substr(0, 15));
    Accoda(codice, ultimo);
  }
}

void Scrittore::AllineatoDestra(std::string_view codice, std::string_view valore) {
  valore = valore.substr(0, kLungValore);
  Valore v;
  v.Bianchi(kLungValore - valore.size());
  v.Aggiungi(valore);
  Accoda(codice, v);
}

void Scrittore::Flag(std::string_view codice) { Accoda(codice, "               1"); }

void Scrittore::DueCifre(std::string_view codice, std::string_view valore) {
  std::string_view t = Rifilato(valore).substr(0, 2);
  Valore v;
  v.Bianchi(14);
  v.Ripeti('0', 2 - t.size());
  v.Aggiungi(t);
  Accoda(codice, v);
}

double Scrittore::Importo(std::string_view codice, std::string_view valore) {
  canali_.Importo = ValoreNumerico(valore);
  CampoImporto(codice);
  return canali_.Importo;
}

double Scrittore::ImportoIntero(std::string_view codice, std::string_view valore) {
  canali_.Importo = ValoreNumerico(valore);
  CampoImportoIntero(codice);
  return canali_.Importo;
}

void Scrittore::CodiceFiscale(std::string_view codice, std::string_view valore) {
  // NormalizzaCF without a copy: a VAT number of 11 gets its 5 blanks, a code of 16 stays.
  std::string_view t = Rifilato(valore);
  if (t.size() != 11 && t.size() != 16) return;
  Valore cf;
  cf.Aggiungi(t);
  cf.Bianchi(kLungValore - t.size());
  Testo(codice, cf);
}

}  // namespace quibold
