#include "verifica/verifica.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>

#include "verifica/campi.h"
#include "verifica/codice_fiscale.h"
#include "verifica/tracciato.h"

namespace quibold {
namespace {

using namespace tracciato;

bool Cifra(char c) { return c >= '0' && c <= '9'; }
bool Controllo(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// Whether the text holds a control character, sixteen bytes at a time where the machine can.
bool HaControllo(std::string_view t) {
  size_t i = 0;
#if defined(__SSE2__)
  __m128i minimo = _mm_set1_epi8(static_cast<char>(0xFF)), canc = _mm_setzero_si128();
  auto sedici = [&](size_t da) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t.data() + da));
    minimo = _mm_min_epu8(minimo, v);
    canc = _mm_or_si128(canc, _mm_cmpeq_epi8(v, _mm_set1_epi8(0x7F)));
  };
  for (; i + 64 <= t.size(); i += 64) {
    sedici(i);
    sedici(i + 16);
    sedici(i + 32);
    sedici(i + 48);
  }
  for (; i + 16 <= t.size(); i += 16) sedici(i);
  const __m128i sotto = _mm_cmpeq_epi8(_mm_max_epu8(minimo, _mm_set1_epi8(0x1F)), _mm_set1_epi8(0x1F));
  if (_mm_movemask_epi8(_mm_or_si128(sotto, canc)) != 0) return true;
#endif
  for (; i < t.size(); ++i) {
    if (Controllo(t[i])) return true;
  }
  return false;
}

constexpr uint64_t kOttoBianchi = 0x2020202020202020;

uint64_t Otto(const char* p) {
  uint64_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

bool Vuota(std::string_view t) { return t.find_first_not_of(' ') == std::string_view::npos; }
bool SoloCifre(std::string_view t) { return std::all_of(t.begin(), t.end(), Cifra); }
bool Uguale(std::string_view t, const auto& a) { return std::equal(t.begin(), t.end(), a.begin(), a.end()); }

std::string Numero(long n) { return std::to_string(n); }

// Text of the checked file shown in a message: printable ASCII as it is, every other byte as
// its code in hex, so that a message never carries the file's raw bytes.
std::string Visibile(std::string_view t) {
  std::string v = "\"";
  for (unsigned char c : t) {
    if (c >= 0x20 && c < 0x7F) {
      v += static_cast<char>(c);
    } else {
      char esa[8];
      std::snprintf(esa, sizeof esa, "<%02X>", c);
      v += esa;
    }
  }
  return v + "\"";
}

std::string Posizioni(int posizione, int lunghezza) {
  if (lunghezza == 1) return "posizione " + Numero(posizione);
  return "posizioni " + Numero(posizione) + "-" + Numero(posizione + lunghezza - 1);
}

// The characters a field admits, as a message lists them: "0" o "1".
std::string Elenco(std::string_view ammessi) {
  std::string e;
  for (size_t i = 0; i < ammessi.size(); ++i) {
    if (i > 0) e += i + 1 == ammessi.size() ? " o " : ", ";
    e += Visibile(ammessi.substr(i, 1));
  }
  return e;
}

// A real calendar day written ggmmaaaa.
bool DataEsistente(std::string_view d) {
  if (d.size() != 8 || !SoloCifre(d)) return false;
  auto numero = [&](size_t da, size_t quante) {
    int n = 0;
    for (size_t i = da; i < da + quante; ++i) n = n * 10 + (d[i] - '0');
    return n;
  };
  const int giorno = numero(0, 2), mese = numero(2, 2), anno = numero(4, 4);
  if (mese < 1 || mese > 12 || giorno < 1 || anno < 1) return false;
  static constexpr int kGiorni[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool bisestile = anno % 4 == 0 && (anno % 100 != 0 || anno % 400 == 0);
  return giorno <= kGiorni[mese - 1] + (mese == 2 && bisestile ? 1 : 0);
}

// A field code: two capital letters, then six capital letters or digits.
#if defined(__SSE2__)
bool CodiceValido(const char* c) {
  // Bytes from 0x80 compare as negative: neither digits nor letters.
  const __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(c));
  auto tra = [&](char da, char a) {
    const __m128i dentro = _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(static_cast<char>(da - 1))),
                                         _mm_cmplt_epi8(v, _mm_set1_epi8(static_cast<char>(a + 1))));
    return static_cast<unsigned>(_mm_movemask_epi8(dentro)) & 0xFF;
  };
  const unsigned maiuscole = tra('A', 'Z');
  return (maiuscole | tra('0', '9')) == 0xFF && (maiuscole & 3) == 3;
}
#else
bool CodiceValido(const char* c) {
  auto maiuscola = [](char x) { return x >= 'A' && x <= 'Z'; };
  for (int i = 0; i < 8; ++i) {
    if (!maiuscola(c[i]) && (i < 2 || !Cifra(c[i]))) return false;
  }
  return true;
}
#endif

// The classes of the sixteen characters of a value area, bit i for character i.
struct Classi {
  unsigned cifre, zeri, bianchi, alti;  // digits, "0", blanks, bytes from 0x80
};
#if defined(__SSE2__)
Classi ClassiValore(const char* valore) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(valore));
  auto uguali = [&](char c) { return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(c)))); };
  // Bytes from 0x80 compare as negative: below "0".
  const unsigned cifre = ~static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
                             _mm_cmplt_epi8(v, _mm_set1_epi8('0')), _mm_cmpgt_epi8(v, _mm_set1_epi8('9'))))) &
                         0xFFFF;
  return {cifre, uguali('0'), uguali(' '), static_cast<unsigned>(_mm_movemask_epi8(v))};
}
#else
Classi ClassiValore(const char* valore) {
  Classi k{};
  for (unsigned i = 0; i < 16; ++i) {
    const auto c = static_cast<unsigned char>(valore[i]);
    k.cifre |= unsigned{Cifra(static_cast<char>(c))} << i;
    k.zeri |= unsigned{c == '0'} << i;
    k.bianchi |= unsigned{c == ' '} << i;
    k.alti |= unsigned{c >= 0x80} << i;
  }
  return k;
}
#endif

// Digits right-aligned from the first non-blank up to bit `fine` (excluded), with no leading
// zero, after blanks only: the whole part of an amount, or a whole amount.
[[gnu::always_inline]] inline bool CifreADestra(const Classi& k, int fine) {
  const unsigned tutte = (1u << fine) - 1;
  const int prima = std::countr_one(k.bianchi & tutte);
  return prima < fine && ((k.cifre & tutte) >> prima) == (tutte >> prima) && !((k.zeri >> prima) & 1);
}
// A comma and two digits at the end of the value area: the form of an amount.
[[gnu::always_inline]] inline bool FormaImporto(const char* valore, const Classi& k) {
  return valore[13] == ',' && ((k.cifre >> 14) & 3) == 3;
}
// Its 13-character whole part: thirteen zeros, or blanks then digits with no leading zero.
[[gnu::always_inline]] inline bool ParteInteraValida(const Classi& k) {
  return (k.zeri & 0x1FFF) == 0x1FFF || CifreADestra(k, 13);
}

// A field code as one machine word, so that codes compare in one step. The same bytes give the
// same word whatever the machine's byte order.
uint64_t Parola(std::string_view codice) {
  uint64_t p;
  std::memcpy(&p, codice.data(), sizeof p);
  return p;
}
constexpr uint64_t ParolaFissa(std::string_view codice) {
  uint64_t p = 0;
  for (size_t i = 0; i < 8; ++i) {
    const size_t spostamento = std::endian::native == std::endian::little ? 8 * i : 8 * (7 - i);
    p |= static_cast<uint64_t>(static_cast<unsigned char>(codice[i])) << spostamento;
  }
  return p;
}
// What a value area surely right for its kind looks like, in the classes of its characters: the
// test of the common kinds that every field passes through. A value that fails it, or of a kind
// without one, is looked at closely (and reported) by Verifica::Valore.
struct Rapida {
  enum Tipo : uint8_t { Ignoto, Testo, Importo, Intero, Cifre, Uno, Codice, Lettera, DueCaratteri, Data, Cf, Sempre };
  Tipo tipo = Sempre;
  unsigned bianchi = 0;  // the characters that must be blanks
  unsigned cifre = 0;    // the characters that must be digits (Cifre), that must not be all blanks (Codice)
  uint32_t lettere = 0;  // the capital letters admitted, bit 0 for "A" (Lettera)
  [[gnu::always_inline]] bool DaGuardare(const char* valore, const Classi& k) const {
    const bool allineato = (k.bianchi & bianchi) == bianchi;
    switch (tipo) {
      case Ignoto: return FormaImporto(valore, k) && !ParteInteraValida(k);
      case Testo: return k.alti != 0;
      case Importo: return !FormaImporto(valore, k) || !ParteInteraValida(k);
      case Intero: return !CifreADestra(k, 16);
      case Cifre: return !allineato || (k.cifre & cifre) != cifre;
      case Uno: return !allineato || valore[15] != '1';
      case Codice: return !allineato || (k.bianchi & cifre) == cifre;
      case Lettera: {
        const unsigned rango = static_cast<unsigned char>(valore[0]) - 'A';
        return !allineato || rango >= 26 || !((lettere >> rango) & 1);
      }
      case DueCaratteri: return !allineato || (k.bianchi & 3) != 0;
      case Data: return !allineato || !DataEsistente(std::string_view(valore + 8, 8));
      case Cf:
        return k.bianchi != 0xFFFF &&
               (valore[0] == ' ' || ControllaCF(std::string_view(valore, 16)) != EsitoCF::Valido);
      case Sempre: break;
    }
    return true;
  }
};
constexpr Rapida RapidaDi(const campi::Formato& f) {
  using campi::Valore;
  const unsigned prima = f.larghezza > 0 ? (1u << (16 - f.larghezza)) - 1 : 0;  // the blanks before
  const unsigned dopo = 0xFFFF & ~prima;
  switch (f.valore) {
    case Valore::Ignoto: return {Rapida::Ignoto};
    case Valore::Testo: return {Rapida::Testo};
    case Valore::Importo: return {Rapida::Importo};
    case Valore::ImportoIntero: return {Rapida::Intero};
    case Valore::DueCaratteri: return {Rapida::DueCaratteri, 0xFFFC};
    case Valore::Data:
    case Valore::DataSePresente: return {Rapida::Data, 0x00FF};
    case Valore::CodiceFiscale: return {Rapida::Cf};
    case Valore::Lettera: {
      uint32_t lettere = 0;
      for (char c : f.ammessi) lettere |= 1u << (c - 'A');
      return {Rapida::Lettera, 0xFFFE, 0, lettere};
    }
    case Valore::Destra:
      if (f.ammessi == campi::kCifre) return {Rapida::Cifre, prima, dopo};
      if (f.ammessi == "1") return {Rapida::Uno, prima};
      if (f.ammessi.empty()) return {Rapida::Codice, prima, dopo};
      return {};
    default: return {};
  }
}

// The kinds of the fields the check knows: the distinct ones, 0 for a code it does not know.
struct Formati {
  std::array<campi::Formato, 32> formati{};
  std::array<Rapida, 32> rapide{RapidaDi({})};
  size_t quanti = 1;
  constexpr uint8_t Indice(const campi::Formato& f) {
    for (size_t i = 0; i < quanti; ++i) {
      if (formati[i] == f) return static_cast<uint8_t>(i);
    }
    formati[quanti] = f;
    rapide[quanti] = RapidaDi(f);
    return static_cast<uint8_t>(quanti++);
  }
};
// The codes of the fields the check knows, in a table of open addressing where a code is found
// in a step or two: its slot is the code's word times a multiplier, in the top ten bits.
struct TabellaCampi {
  static constexpr size_t kPosti = 1024;
  Formati tipi;
  std::array<uint64_t, kPosti> parole{};
  std::array<uint8_t, kPosti> formati{};
  static constexpr size_t Posto(uint64_t parola) { return ((parola ^ (parola >> 29)) * 0x9E3779B97F4A7C15) >> 54; }
  // The index of the code's kind in `tipi`; 0 when the check does not know it.
  constexpr uint8_t Cerca(uint64_t parola) const {
    for (size_t i = Posto(parola);; i = (i + 1) % kPosti) {
      if (parole[i] == parola) return formati[i];
      if (parole[i] == 0) return 0;
    }
  }
};
// Called only for a code of the table that is not of 8 characters or is there twice (whose second
// kind would never be read): not constexpr, so that the build stops and names the fault.
void CodiceNotoNonValidoODoppio() {}

constexpr TabellaCampi kCampi = [] {
  TabellaCampi t;
  static_assert(std::size(campi::kCampiNoti) < TabellaCampi::kPosti / 2);
  for (const campi::CampoNoto& c : campi::kCampiNoti) {
    if (c.codice.size() != 8 || t.Cerca(ParolaFissa(c.codice)) != 0) CodiceNotoNonValidoODoppio();
    const uint64_t parola = ParolaFissa(c.codice);
    size_t i = TabellaCampi::Posto(parola);
    while (t.parole[i] != 0) i = (i + 1) % TabellaCampi::kPosti;
    t.parole[i] = parola;
    t.formati[i] = t.tipi.Indice(c.formato);
  }
  return t;
}();

std::string DescrizioneCF(EsitoCF esito, std::string_view codice) {
  const size_t inizio = codice.find_first_not_of(' ');
  const size_t lung = inizio == std::string_view::npos ? 0 : codice.find_last_not_of(' ') - inizio + 1;
  switch (esito) {
    case EsitoCF::Valido: return "valido";
    case EsitoCF::Mancante: return "mancante";
    case EsitoCF::NumericoNon11: return "numerico di " + Numero(static_cast<long>(lung)) + " cifre invece di 11";
    case EsitoCF::PersonaleNon16: return "di " + Numero(static_cast<long>(lung)) + " caratteri invece di 16";
    case EsitoCF::CaratteriNonAmmessi: return "con caratteri diversi da lettere maiuscole e cifre";
    case EsitoCF::ControlloErrato: return "con il carattere di controllo errato";
  }
  return {};
}

bool HaAlti(std::string_view testo) {
  return std::any_of(testo.begin(), testo.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

const char* Attesi(bool annullamento, int fase) {
  static const char* const kAttesi[] = {"il record A", "il record B",        "un record C, D o Z", "un record D o Z",
                                        "un record G", "un record G, D o Z", "la fine del file"};
  if (fase == 4 && annullamento) return "un record D o Z";  // a cancellation's D has no G records
  return kAttesi[fase];
}

// The employee of a record D or G by its head: the fiscal code without the blanks after it, and
// the progressive.
std::string DipendenteDellaTesta(std::string_view cf, std::string_view progressivo) {
  auto testo = [](std::string_view t) {
    const std::string v = Visibile(t);
    return v.substr(1, v.size() - 2);  // without the quotes
  };
  const size_t fine = cf.find_last_not_of(' ');
  return (fine == std::string_view::npos ? std::string("dipendente senza codice fiscale")
                                         : "dipendente con codice fiscale " + testo(cf.substr(0, fine + 1))) +
         ", progressivo " + testo(progressivo);
}

}  // namespace

void Verifica::Aggiungi(long record, int posizione, Gravita gravita, std::string messaggio, bool delDipendente) {
  // The messages reach a terminal, a JSON document and the window in any code page: ASCII only.
  assert(std::all_of(messaggio.begin(), messaggio.end(), [](char c) { return c >= ' ' && c <= '~'; }));
  const bool errore = gravita == Gravita::Errore;
  (errore ? errori_ : avvisi_) += 1;
  // Named only once listed: a finding left out costs no text.
  auto elencato = [&] {
    return Rilievo{record, posizione, gravita, std::move(messaggio),
                   delDipendente ? DipendenteDellaTesta(cfDelRecord_, progressivoDelRecord_) : std::string()};
  };
  if (!ElencoPieno()) {
    rilievi_.push_back(elencato());
    avvisiElencati_ += errore ? 0 : 1;
    return;
  }
  if (nonElencati_ == 0) {
    // The list is full: from now on its last place holds the note, and a finding makes room.
    ultimoAvviso_ = rilievi_.size();
    LasciaFuori();
    rilievi_.push_back({});
  }
  // An error takes the place of the last warning listed; anything else is left out.
  if (errore && avvisiElencati_ > 0) {
    LasciaFuori();
    rilievi_.insert(rilievi_.end() - 1, elencato());
  } else {
    ContaNonElencato({record, posizione, gravita, {}, {}});
  }
  Rilievo& nota = rilievi_.back();
  nota.record = recordNonElencato_;
  nota.posizione = posizioneNonElencata_;
  nota.gravita = nonElencatiErrori_ > 0 ? Gravita::Errore : Gravita::Avviso;
}

void Verifica::LasciaFuori() {
  // The listed findings end before the note, once there is one.
  const size_t elencati = rilievi_.size() - (nonElencati_ > 0 ? 1 : 0);
  size_t i = std::min(ultimoAvviso_, elencati);
  if (avvisiElencati_ > 0) {
    while (rilievi_[i - 1].gravita != Gravita::Avviso) --i;
    --avvisiElencati_;
  } else {
    i = elencati;
  }
  // Warnings are never listed again once the list is full: the next one to leave is before it.
  ultimoAvviso_ = i - 1;
  ContaNonElencato(rilievi_[i - 1]);
  rilievi_.erase(rilievi_.begin() + static_cast<std::ptrdiff_t>(i - 1));
}

void Verifica::ContaNonElencato(const Rilievo& r) {
  if (nonElencati_ == 0 || r.record < recordNonElencato_ ||
      (r.record == recordNonElencato_ && r.posizione < posizioneNonElencata_)) {
    recordNonElencato_ = r.record;
    posizioneNonElencata_ = r.posizione;
  }
  ++nonElencati_;
  nonElencatiErrori_ += r.gravita == Gravita::Errore ? 1 : 0;
}

void Verifica::MessaggioNota() {
  if (nonElencati_ == 0) return;
  rilievi_.back().messaggio = "elenco limitato a " + Numero(static_cast<long>(kMaxRilievi)) +
                              " rilievi, gli errori prima degli avvisi: altri " + Numero(nonElencati_) +
                              " non sono elencati (di cui " + Numero(nonElencatiErrori_) +
                              " errori), il primo dei quali e' qui";
}

void Verifica::Record(std::string_view r) {
  ++records_;
  // Whose records are these: the head of a record D or G names its employee.
  const bool dipendente = r.size() >= static_cast<size_t>(kProgressivo.ultima()) && (r[0] == 'D' || r[0] == 'G');
  cfDelRecord_ = dipendente ? kCfDipendente.In(r) : std::string_view();
  progressivoDelRecord_ = dipendente ? kProgressivo.In(r) : std::string_view();
  Esamina(r);
  if (!delRecord_.empty()) ElencaDelRecord();
  cfDelRecord_ = progressivoDelRecord_ = {};
}

void Verifica::ElencaDelRecord() {
  // The checks of a record go by kind, not by place: the clerk reads its findings by position.
  std::stable_sort(delRecord_.begin(), delRecord_.end(),
                   [](const Rilievo& a, const Rilievo& b) { return a.posizione < b.posizione; });
  const bool dipendente = !cfDelRecord_.empty();
  for (Rilievo& r : delRecord_) Aggiungi(r.record, r.posizione, r.gravita, std::move(r.messaggio), dipendente);
  delRecord_.clear();
}

void Verifica::Esamina(std::string_view r) {
  if (r.empty()) {
    Errore(1, "record vuoto");
    return;
  }
  const char tipo = r[0];
  Sequenza(tipo);
  if (r.size() != kLungRecord) {
    if (r.size() < kLungRecord) {
      Errore(static_cast<int>(r.size()) + 1, "record incompleto: " + Numero(static_cast<long>(r.size())) +
                                                 " caratteri invece di 1900 (il file e' troncato)");
    } else {
      Errore(static_cast<int>(kLungRecord) + 1,
             "record di " + Numero(static_cast<long>(r.size())) + " caratteri invece di 1900");
    }
    return;
  }
  Cornice(r);
  switch (tipo) {
    case 'A': RecordA(r); break;
    case 'B': RecordB(r); break;
    case 'C': RecordC(r); break;
    case 'D': RecordD(r); break;
    case 'G': RecordG(r); break;
    case 'Z': RecordZ(r); break;
    default: break;
  }
}

void Verifica::Fine() {
  // The findings name the record that is missing.
  if (records_ == 0) {
    Aggiungi(1, 1, Gravita::Errore, "file vuoto: nessun record");
  } else if (fase_ != Fase::DopoZ) {
    Aggiungi(records_ + 1, 1, Gravita::Errore,
             "manca il record Z di coda: il file finisce dopo il record " + Numero(records_));
  }
  MessaggioNota();
}

// Record order: one A, one B, at most one C, then each D followed by its G records (none for a
// cancellation), one Z last.
void Verifica::Sequenza(char tipo) {
  const bool dSenzaG = fase_ == Fase::DopoD && !annullamento_;
  // Where an employee's records may begin, or the file end: after the front records, or after
  // an employee's records (a cancellation's D has no G).
  const bool fineDipendente =
      fase_ == Fase::DopoB || fase_ == Fase::DopoC || fase_ == Fase::DopoG || (fase_ == Fase::DopoD && annullamento_);
  bool aPosto = false;
  Fase nuova = fase_;
  switch (tipo) {
    case 'A':
      aPosto = fase_ == Fase::Inizio;
      nuova = Fase::DopoA;
      break;
    case 'B':
      aPosto = fase_ == Fase::DopoA;
      nuova = Fase::DopoB;
      ++numB_;
      break;
    case 'C':
      aPosto = fase_ == Fase::DopoB;
      nuova = Fase::DopoC;
      ++numC_;
      break;
    case 'D':
      aPosto = fineDipendente;
      nuova = Fase::DopoD;
      ++numD_;
      break;
    case 'G':
      aPosto = fase_ == Fase::DopoG || dSenzaG;
      nuova = Fase::DopoG;
      ++numG_;
      break;
    case 'Z':
      aPosto = fineDipendente;
      nuova = Fase::DopoZ;
      break;
    default:
      Errore(1, "tipo di record sconosciuto " + Visibile(std::string_view(&tipo, 1)) +
                    ": i tipi ammessi sono A, B, C, D, G e Z");
      return;
  }
  if (!aPosto) {
    const std::string atteso = Attesi(annullamento_, static_cast<int>(fase_));
    const std::string nome = std::string("record ") + tipo;
    if (fase_ == Fase::DopoZ) {
      Errore(1, nome + " dopo il record Z, che deve essere l'ultimo");
    } else if (dSenzaG) {
      Errore(1, nome + " fuori posto: il record D precedente non ha record G (qui si attende un record G)");
    } else if (tipo == 'G' && fase_ == Fase::DopoD) {
      Errore(1, "record G dopo un record D di annullamento, che non ne ha");
    } else if (tipo == 'G') {
      Errore(1, "record G prima del suo record D (qui si attende " + atteso + ")");
    } else {
      Errore(1, nome + " fuori posto: qui si attende " + atteso);
    }
  }
  if (tipo == 'C' && !annunciaC_ && numB_ > 0) {
    Errore(1, "record C presente, ma il record B (posizione 410) non lo annuncia");
  }
  if (fase_ == Fase::DopoB && tipo != 'C' && annunciaC_) {
    Errore(1, "manca il record C che il record B annuncia (posizione 410)");
  }
  if (tipo == 'G' && fase_ != Fase::DopoG && fase_ != Fase::DopoD) haDipendente_ = false;  // no D of its own
  if (fase_ != Fase::DopoZ) fase_ = nuova;
}

// Every record: no control characters in the data, then "A", CR, LF.
void Verifica::Cornice(std::string_view r) {
  // Looked for sixteen bytes at a time; counted and placed only when there are some.
  if (HaControllo(r.substr(0, kFineDati))) {
    int quanti = 0;
    for (int i = 0; i < kFineDati; ++i) quanti += Controllo(r[static_cast<size_t>(i)]);
    int primo = 1;
    while (static_cast<unsigned char>(r[static_cast<size_t>(primo - 1)]) >= 0x20 &&
           r[static_cast<size_t>(primo - 1)] != 0x7F) {
      ++primo;
    }
    const int altri = quanti - 1;
    const char c = r[static_cast<size_t>(primo - 1)];
    std::string cosa = c == '\r'   ? "ritorno carrello (CR) dentro il record, che lo spezzerebbe"
                       : c == '\n' ? "a capo (LF) dentro il record, che lo spezzerebbe"
                                   : "carattere di controllo " + Visibile(std::string_view(&c, 1)) + " nei dati";
    if (altri > 0) cosa += "; nel record ce ne sono altri " + Numero(altri);
    Errore(primo, cosa);
  }
  if (r[kPosChiusura - 1] != 'A') Errore(kPosChiusura, "il record deve chiudersi con \"A\" in posizione 1898");
  if (r[kPosCR - 1] != '\r') Errore(kPosCR, "manca il ritorno carrello (CR) in posizione 1899");
  if (r[kPosLF - 1] != '\n') Errore(kPosLF, "manca l'a capo (LF) in posizione 1900");
}

void Verifica::NonAscii(std::string_view testo, int posizione, const std::string& dove) {
  const auto alto =
      std::find_if(testo.begin(), testo.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  if (alto == testo.end()) return;
  const int i = static_cast<int>(alto - testo.begin());
  Avviso(posizione + i, [&] {
    return "carattere " + Visibile(std::string_view(&*alto, 1)) + " fuori dall'ASCII " + dove +
           ": l'Agenzia potrebbe non accettarlo";
  });
}

void Verifica::CodiceFiscale(std::string_view codice, int posizione, std::string_view nome, bool obbligatorio,
                             bool conControllo, std::string_view campo) {
  const EsitoCF esito = ControllaCF(codice);
  if (esito == EsitoCF::Valido && codice[0] != ' ') return;
  auto chi = [&] { return std::string(nome) + (campo.empty() ? "" : " " + Visibile(campo)); };
  if (esito == EsitoCF::Valido || esito == EsitoCF::Mancante) {
    if (esito == EsitoCF::Mancante && obbligatorio) Errore(posizione, chi() + " mancante");
    if (esito == EsitoCF::Valido) Errore(posizione, chi() + " " + Visibile(codice) + " non allineato a sinistra");
  } else if (esito == EsitoCF::ControlloErrato) {
    if (conControllo) Avviso(posizione, [&] { return chi() + " " + DescrizioneCF(esito, codice); });
  } else {
    Errore(posizione, chi() + " " + DescrizioneCF(esito, codice) + ": " + Visibile(codice));
  }
}

// The positional fields of a record by their kinds, in the layout's tables.
void Verifica::Posizionali(std::string_view r, const CampoPosizionale* campi, size_t quanti) {
  for (const CampoPosizionale& c : std::span(campi, quanti)) {
    const std::string_view t = c.zona.In(r);
    const int p = c.zona.posizione;
    auto nome = [&] { return std::string(c.nome); };
    auto dove = [&] {
      return nome() + " (record " + std::string(r.substr(0, 1)) + ", " + Posizioni(p, c.zona.lunghezza) + ")";
    };
    switch (c.contenuto) {
      case Contenuto::Proprio: break;
      case Contenuto::Vuoto:
      case Contenuto::VuotoAtteso: {
        const size_t i = t.find_first_not_of(' ');
        if (i == std::string_view::npos) break;
        if (c.contenuto == Contenuto::Vuoto) {
          Errore(p + static_cast<int>(i), nome() + ": le " + Posizioni(p, c.zona.lunghezza) + " devono essere vuote");
        } else {
          Avviso(p + static_cast<int>(i), [&] {
            return nome() + ": le " + Posizioni(p, c.zona.lunghezza) + " dovrebbero essere vuote, qui " +
                   Visibile(t.substr(i, 16));
          });
        }
        break;
      }
      case Contenuto::Fisso:
        if (t != c.ammessi) Errore(p, dove() + " deve essere " + Visibile(c.ammessi) + ", qui " + Visibile(t));
        break;
      case Contenuto::Scelta:
        if (c.ammessi.find(t[0]) == std::string_view::npos) {
          Errore(p, dove() + ": ammessi " + Elenco(c.ammessi) + ", qui " + Visibile(t));
        }
        break;
      case Contenuto::Cifre:
      case Contenuto::CifreOVuoto:
        if (!SoloCifre(t) && (c.contenuto == Contenuto::Cifre || !Vuota(t))) {
          Errore(p, dove() + " non numerico: " + Visibile(t));
        }
        break;
      case Contenuto::Data:
        if (!DataEsistente(t)) Errore(p, dove() + ": " + Visibile(t) + " non e' una data esistente (ggmmaaaa)");
        break;
      case Contenuto::CodiceFiscale: CodiceFiscale(t, p, c.nome, true); break;
      case Contenuto::CodiceFiscaleSePresente: CodiceFiscale(t, p, c.nome, false); break;
      case Contenuto::FormaCodiceFiscale: CodiceFiscale(t, p, c.nome, true, false); break;
      case Contenuto::Testo:
        if (HaAlti(t)) NonAscii(t, p, "in " + dove());
        break;
    }
  }
}

void Verifica::RecordA(std::string_view r) { Posizionali(r, kRecordA); }

// The head shared by records B, C, D and G: the withholding agent's code, the module number.
void Verifica::TestaComune(std::string_view r) {
  const std::string_view cf = kCfSostituto.In(r);
  if (!haSostituto_) {
    haSostituto_ = true;
    std::copy(cf.begin(), cf.end(), sostituto_.begin());
    CodiceFiscale(cf, kCfSostituto.posizione, "codice fiscale del sostituto d'imposta", true);
  } else if (!Uguale(cf, sostituto_)) {
    Errore(kCfSostituto.posizione, "codice fiscale del sostituto d'imposta diverso da quello dei record precedenti");
  }
  if (kModulo.In(r) != kPrimoModulo) {
    Errore(kModulo.posizione, "numero del modulo (posizioni 18-25) diverso da \"00000001\"");
  }
}

void Verifica::RecordB(std::string_view r) {
  TestaComune(r);
  Posizionali(r, kRecordB);
  const char annulla = r[kPosAnnullamento - 1], sostituisce = r[kPosSostituzione - 1];
  if (annulla == '1' && sostituisce == '1') {
    Errore(kPosSostituzione, "annullamento e sostituzione insieme (posizioni 91 e 92)");
  }
  operazione_ = annulla == '1' ? 'A' : sostituisce == '1' ? 'S' : ' ';
  annunciaC_ = r[kPosQuadroCT - 1] == '1';
}

void Verifica::RecordC(std::string_view r) {
  TestaComune(r);
  Posizionali(r, kTestaC);
  Griglia<'C'>(r);
}

void Verifica::RecordD(std::string_view r) {
  TestaComune(r);
  Posizionali(r, kTestaD);
  const std::string_view cf = kCfDipendente.In(r);
  haDipendente_ = true;
  std::copy(cf.begin(), cf.end(), dipendente_.begin());

  // The employees are numbered 00001, 00002, ... in file order.
  char atteso[8];
  std::snprintf(atteso, sizeof atteso, "%05ld", numD_ % 100000);
  const std::string_view progressivo = kProgressivo.In(r);
  std::copy(progressivo.begin(), progressivo.end(), progressivo_.begin());
  if (progressivo != std::string_view(atteso, 5)) {
    Errore(kProgressivo.posizione, "progressivo del dipendente " + Visibile(progressivo) + " invece di \"" +
                                       std::string(atteso, 5) + "\" (i progressivi vanno in ordine da 00001)");
  }
  const char operazione = r[kPosOperazioneD - 1];
  annullamento_ = operazione == 'A';
  if (operazione != ' ' && operazione != 'A' && operazione != 'S') {
    Errore(kPosOperazioneD, "posizione 84: atteso uno spazio, \"A\" (annullamento) o \"S\" (sostituzione)");
  } else {
    if (operazione != operazione_) {
      Errore(kPosOperazioneD,
             "l'operazione del record D (posizione 84) non concorda con il record B "
             "(posizioni 91 e 92)");
    }
    // A normal supply names no submission to replace; a cancellation or a replacement must.
    for (const Zona& z : {kProtocollo, kNumeroSostituito}) {
      const std::string_view t = z.In(r);
      if (!SoloCifre(t)) continue;  // already an error of its own
      const bool zeri = t.find_first_not_of('0') == std::string_view::npos;
      if ((operazione == ' ') == zeri) continue;
      const std::string cosa = z.posizione == kProtocollo.posizione ? "il protocollo della fornitura"
                                                                    : "il progressivo della certificazione";
      if (operazione == ' ') {
        Errore(z.posizione, "fornitura ordinaria (posizione 84 vuota) con " + cosa + " da sostituire o annullare (" +
                                Posizioni(z.posizione, z.lunghezza) + ") " + Visibile(t) + ": deve essere di zeri");
      } else {
        Errore(z.posizione, std::string(operazione == 'A' ? "annullamento" : "sostituzione") + " senza " + cosa +
                                " da " + (operazione == 'A' ? "annullare" : "sostituire") + " (" +
                                Posizioni(z.posizione, z.lunghezza) + "): solo zeri");
      }
    }
  }
  haUltimoG_ = false;
  Griglia<'D'>(r);
}

void Verifica::RecordG(std::string_view r) {
  TestaComune(r);
  const std::string_view cf = kCfDipendente.In(r), progressivo = kProgressivo.In(r);
  if (!haDipendente_) {
    // No record D before it: its own head stands for the employee from here on.
    haDipendente_ = true;
    haUltimoG_ = false;
    std::copy(cf.begin(), cf.end(), dipendente_.begin());
    std::copy(progressivo.begin(), progressivo.end(), progressivo_.begin());
  } else {
    if (!Uguale(cf, dipendente_)) {
      Errore(kCfDipendente.posizione, "codice fiscale del dipendente diverso da quello del suo record D");
    }
    if (!Uguale(progressivo, progressivo_)) {
      Errore(kProgressivo.posizione, "progressivo del dipendente diverso da quello del suo record D");
    }
  }
  Posizionali(r, kTestaG);
  Griglia<'G'>(r);
}

void Verifica::RecordZ(std::string_view r) {
  Posizionali(r, kRecordZ);
  const long presenti[] = {numB_, numC_, numD_, numG_};
  const char tipi[] = {'B', 'C', 'D', 'G'};
  for (size_t i = 0; i < 4; ++i) {
    const std::string_view t = kConteggiZ[i].In(r);
    const std::string dove = Posizioni(kConteggiZ[i].posizione, kConteggiZ[i].lunghezza);
    if (!SoloCifre(t)) {
      Errore(kConteggiZ[i].posizione,
             std::string("numero dei record ") + tipi[i] + " (" + dove + ") non numerico: " + Visibile(t));
      continue;
    }
    const long dichiarati = std::stol(std::string(t));
    if (dichiarati != presenti[i]) {
      Errore(kConteggiZ[i].posizione, std::string("il record Z conta ") + Numero(dichiarati) + " record " + tipi[i] +
                                          " (" + dove + "), nel file ce ne sono " + Numero(presenti[i]));
    }
  }
  const std::string_view zeri = kZeriZ.In(r);
  const size_t i = zeri.find_first_not_of('0');
  if (i != std::string_view::npos) {
    Errore(kZeriZ.posizione + static_cast<int>(i), "record Z: le posizioni 52-69 devono essere \"0\"");
  }
}

void Verifica::Valore(uint8_t formato, const char* valore, std::string_view codice, int posizione) {
  using campi::Valore;
  const campi::Formato& f = kCampi.tipi.formati[formato];
  const std::string_view testo(valore, kLungValore);
  const Classi k = ClassiValore(valore);
  auto campo = [&] { return "il campo " + Visibile(codice); };
  switch (f.valore) {
    case Valore::Ignoto:
      // A code of another program: an amount is still an amount.
      if (FormaImporto(valore, k) && !ParteInteraValida(k)) {
        Errore(posizione, "importo malformato nel campo " + Visibile(codice) +
                              ": la parte intera deve essere di tredici zeri o di cifre allineate a destra "
                              "senza zeri iniziali");
      }
      break;
    case Valore::Testo:
      if (k.alti != 0) NonAscii(testo, posizione, "nel campo " + Visibile(codice));
      break;
    case Valore::Importo:
      if (!FormaImporto(valore, k) || !ParteInteraValida(k)) {
        Errore(posizione, "importo malformato nel campo " + Visibile(codice) + ": " + Visibile(testo) +
                              " (tredici zeri o cifre allineate a destra senza zeri iniziali, la virgola, due "
                              "decimali)");
      }
      break;
    case Valore::ImportoIntero:
      if (k.bianchi == 0xFFFF) {
        Avviso(posizione, [&] { return campo() + " e' un importo in unita' senza valore (un importo sotto 1)"; });
      } else if (!CifreADestra(k, 16)) {
        Errore(posizione, "importo in unita' malformato nel campo " + Visibile(codice) + ": " + Visibile(testo) +
                              " (cifre allineate a destra senza zeri iniziali)");
      }
      break;
    case Valore::Data:
    case Valore::DataSePresente: {
      const std::string_view data = testo.substr(8);
      const bool nessuna = f.valore == Valore::DataSePresente && (Vuota(data) || data == "00000000");
      if ((k.bianchi & 0xFF) != 0xFF || (!nessuna && !DataEsistente(data))) {
        Errore(posizione, campo() + " deve avere otto spazi e una data esistente ggmmaaaa, qui " + Visibile(testo));
      }
      break;
    }
    case Valore::Provincia:
    case Valore::Comune: {
      if (k.bianchi == 0xFFFF) break;  // written even when the archive has none
      const bool provincia = f.valore == Valore::Provincia;
      const int lettere = provincia ? 2 : 1, lunghezza = provincia ? 2 : 4;
      bool maiuscole = true, forma = (k.bianchi >> lunghezza) == (0xFFFFu >> lunghezza);
      for (int i = 0; i < lunghezza; ++i) {
        const char c = valore[i];
        const bool maiuscola = c >= 'A' && c <= 'Z', minuscola = c >= 'a' && c <= 'z';
        forma = forma && (i < lettere ? maiuscola || minuscola : Cifra(c));
        maiuscole = maiuscole && !minuscola;
      }
      const std::string cosa = provincia ? "sigla della provincia" : "codice del comune";
      const std::string nonValido = provincia ? " non valida" : " non valido";
      const std::string regola = provincia ? "due lettere maiuscole" : "una lettera maiuscola e tre cifre";
      if (!forma) {
        Errore(posizione,
               cosa + nonValido + " nel campo " + Visibile(codice) + ": " + Visibile(testo) + " (" + regola + ")");
      } else if (!maiuscole) {
        Avviso(posizione,
               [&] { return cosa + " in minuscolo nel campo " + Visibile(codice) + ": " + Visibile(testo); });
      }
      break;
    }
    case Valore::CodiceFiscale:
      if (k.bianchi != 0xFFFF) CodiceFiscale(testo, posizione, "codice fiscale del campo", false, true, codice);
      break;
    case Valore::CfSostituto:
      if (haSostituto_ && !Uguale(testo, sostituto_)) {
        Errore(posizione, campo() + " deve ripetere il codice fiscale del sostituto d'imposta delle posizioni 2-17");
      }
      break;
    case Valore::CfDipendente:
      if (haDipendente_ && !Uguale(testo, dipendente_)) {
        Errore(posizione, campo() + " deve ripetere il codice fiscale del dipendente delle posizioni 26-41");
      }
      break;
    case Valore::Lettera:
      if (f.ammessi.find(valore[0]) == std::string_view::npos || (k.bianchi >> 1) != 0x7FFF) {
        Errore(posizione, campo() + " ammette " + Elenco(f.ammessi) + " seguito da spazi, qui " + Visibile(testo));
      }
      break;
    case Valore::DueCaratteri:
      if ((k.bianchi & 3) != 0 || (k.bianchi >> 2) != 0x3FFF) {
        Errore(posizione, campo() + " deve avere due caratteri seguiti da spazi, qui " + Visibile(testo));
      }
      break;
    case Valore::Destra: {
      const int vuote = kLungValore - f.larghezza;
      const std::string_view coda = testo.substr(static_cast<size_t>(vuote));
      const bool allineato = (k.bianchi & ((1u << vuote) - 1)) == (1u << vuote) - 1;
      const bool ammesso = f.ammessi.empty() ? !Vuota(coda) : std::all_of(coda.begin(), coda.end(), [&](char c) {
        return f.ammessi.find(c) != std::string_view::npos;
      });
      if (!allineato || !ammesso) {
        const std::string cosa = f.ammessi.empty()            ? "un codice"
                                 : f.ammessi == "1"           ? "\"1\""
                                 : f.ammessi == campi::kCifre ? "solo cifre"
                                                              : "solo " + Elenco(f.ammessi);
        Errore(posizione, campo() + " deve avere " + Numero(vuote) + " spazi e poi " + Numero(f.larghezza) +
                              (f.larghezza == 1 ? " carattere: " : " caratteri: ") + cosa + ", qui " + Visibile(testo));
      }
      break;
    }
  }
}

// The fields of records C, D and G: 75 slots of 24 from position 90, each a field or blank,
// the fields first; the value of a continuation begins with "+" under the same code. One copy
// of the loop per kind of record, so that the kind costs no test per field.
template <char kTipo>
void Verifica::Griglia(std::string_view r) {
  constexpr int kMaxCampi = kTipo == 'C' ? kMaxCampiC : kTipo == 'D' ? kMaxCampiD : kCampiRecord;
  int campi = 0;
  bool vuota = false;
  bool haPrecedente = kTipo == 'G' && haUltimoG_;
  uint64_t precedente = haPrecedente ? ultimoG_ : 0;

  assert(r.size() >= static_cast<size_t>(kPosGriglia - 1 + kCampiRecord * kLungCampo));  // REQUIRES: a whole grid
  const char* c = r.data() + kPosGriglia - 1;
  for (int k = 0; k < kCampiRecord; ++k, c += kLungCampo) {
    const int pos = kPosGriglia + k * kLungCampo;
    if (Otto(c) == kOttoBianchi && Otto(c + 8) == kOttoBianchi && Otto(c + 16) == kOttoBianchi) {
      vuota = true;
      continue;
    }
    if (vuota) {
      Errore(pos,
             "campo dopo una casella vuota: i campi devono seguirsi senza spazi dalla posizione 90; "
             "il resto del record non e' controllato");
      return;
    }
    const std::string_view codice(c, kLungCodice);
    if (!CodiceValido(c)) {
      Errore(pos, "codice di campo non valido " + Visibile(codice) +
                      " (due lettere maiuscole e sei cifre o lettere): campo fuori dalla griglia di 24 "
                      "caratteri che parte dalla posizione 90? Il resto del record non e' controllato");
      return;
    }
    ++campi;
    if (campi == kMaxCampi + 1) {
      Errore(pos, std::string("il record ") + kTipo + " ha piu' di " + Numero(kMaxCampi) + " campi");
    }
    const bool sezioneA = c[0] == 'D' && c[1] == 'A';
    const bool sezioneAmmessa = kTipo == 'C'   ? c[0] == 'C' && c[1] == 'T'
                                : kTipo == 'D' ? sezioneA
                                               : c[0] == 'D' && !sezioneA;
    if (!sezioneAmmessa) {
      Errore(pos, "campo " + Visibile(codice) + " di una sezione che il record " + kTipo + " non contiene");
    }

    const uint64_t parola = Parola(codice);
    const uint8_t formato = kCampi.Cerca(parola);
    const char* valore = c + kLungCodice;
    const int posValore = pos + kLungCodice;
    if (valore[0] == '+') {
      const campi::Valore tipo = kCampi.tipi.formati[formato].valore;
      if (!haPrecedente) {
        Errore(posValore, "il valore del campo " + Visibile(codice) +
                              " inizia con \"+\", che l'Agenzia legge come continuazione del campo precedente, "
                              "ma qui non c'e' un campo precedente: un testo dell'archivio che inizia con "
                              "\"+\" (per esempio un telefono scritto \"+39...\") produce questo errore");
      } else if (precedente != parola) {
        char prima[kLungCodice];
        std::memcpy(prima, &precedente, sizeof prima);
        Errore(posValore, "il valore del campo " + Visibile(codice) +
                              " inizia con \"+\", che l'Agenzia legge come continuazione del campo precedente " +
                              Visibile(std::string_view(prima, sizeof prima)) +
                              ", che ha un altro codice: un testo dell'archivio che inizia con \"+\" (per "
                              "esempio un telefono scritto \"+39...\") produce questo errore");
      } else if (tipo != campi::Valore::Testo && tipo != campi::Valore::Ignoto) {
        Errore(posValore, "il valore del campo " + Visibile(codice) +
                              " inizia con \"+\", ma il campo non e' un testo e non continua");
      } else if (HaAlti(std::string_view(valore, kLungValore))) {
        NonAscii(std::string_view(valore, kLungValore), posValore, "nel campo " + Visibile(codice));
      }
    } else if (formato != 0 || kTipo == 'G') {
      if (kCampi.tipi.rapide[formato].DaGuardare(valore, ClassiValore(valore))) {
        Valore(formato, valore, codice, posValore);
      }
    }
    precedente = parola;
    haPrecedente = true;
  }
  if (kTipo == 'G' && haPrecedente) {
    haUltimoG_ = true;
    ultimoG_ = precedente;
  }
  const std::string_view coda = kCodaGriglia.In(r);
  if (const size_t i = coda.find_first_not_of(' '); i != std::string_view::npos) {
    Errore(kCodaGriglia.posizione + static_cast<int>(i),
           "dopo l'ultimo campo: le posizioni 1890-1897 devono essere vuote");
  }
}

std::string TestoRilievo(const Rilievo& r) {
  return "record " + Numero(r.record) + ", posizione " + Numero(r.posizione) + ": " +
         (r.gravita == Gravita::Errore ? "errore" : "avviso") + ": " + r.messaggio;
}

std::string RigheRilievo(const Rilievo& r) {
  std::string righe = TestoRilievo(r);
  if (!r.dipendente.empty()) righe += "\n" + std::string(kRientroDipendente) + r.dipendente;
  return righe;
}

std::string Riepilogo(const Verifica& v) {
  auto quanti = [](long n, const char* uno, const char* molti) { return Numero(n) + " " + (n == 1 ? uno : molti); };
  return std::string(v.Errori() == 0 ? "File corretto: " : "File con errori: ") +
         quanti(v.Records(), "record", "record") + ", " + quanti(v.Errori(), "errore", "errori") + ", " +
         quanti(v.Avvisi(), "avviso", "avvisi");
}

}  // namespace quibold
