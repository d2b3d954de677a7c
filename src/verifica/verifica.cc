#include "verifica/verifica.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>

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

// Eight characters at a time: a word whose byte i is the character at p + i (for the steps of
// machines without SSE2).
[[maybe_unused]] uint64_t OttoInOrdine(const char* p) {
  const uint64_t w = Otto(p);
  return std::endian::native == std::endian::little ? w : __builtin_bswap64(w);
}
constexpr uint64_t kAlti = 0x8080808080808080, kUni = 0x0101010101010101;
// The top bit of each byte set where the byte is at least `n` (for bytes below 0x80).
constexpr uint64_t Almeno(uint64_t w, unsigned n) { return ((w | kAlti) - kUni * n) & kAlti; }
// The top bit of each byte set where the byte equals `c`.
[[maybe_unused]] constexpr uint64_t Uguali(uint64_t w, unsigned char c) {
  const uint64_t x = w ^ (kUni * c);
  return ~(((x & ~kAlti) + ~kAlti) | x | ~kAlti);
}
// The top bit of each byte set where the byte is a digit, or a capital letter.
[[maybe_unused]] constexpr uint64_t Cifre(uint64_t w) { return Almeno(w, '0') & ~Almeno(w, '9' + 1) & ~w; }
[[maybe_unused]] constexpr uint64_t Maiuscole(uint64_t w) { return Almeno(w, 'A') & ~Almeno(w, 'Z' + 1) & ~w; }
// The top bits of the eight bytes gathered into eight bits, byte i to bit i.
[[maybe_unused]] constexpr unsigned Bit(uint64_t alti) {
  return static_cast<unsigned>(((alti >> 7) * 0x0102040810204080) >> 56);
}
bool Vuota(std::string_view t) { return t.find_first_not_of(' ') == std::string_view::npos; }
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
  const uint64_t w = OttoInOrdine(c);
  const uint64_t maiuscole = Maiuscole(w);
  return ((Cifre(w) | maiuscole) == kAlti) && (maiuscole & 0x8080) == 0x8080;
}
#endif

// The 13-character whole part of an amount: thirteen zeros, or blanks then digits with no
// leading zero. From the classes of the whole part's characters, bit i for character i.
bool ParteInteraValida(unsigned zeri, unsigned bianchi, unsigned cifre) {
  constexpr unsigned kTredici = 0x1FFF;
  zeri &= kTredici;
  if (zeri == kTredici) return true;
  const int primaCifra = std::countr_one(bianchi & kTredici);
  return primaCifra < 13 && ((cifre & kTredici) >> primaCifra) == (kTredici >> primaCifra) &&
         !((zeri >> primaCifra) & 1);
}

#if defined(__SSE2__)
// A value area that has the form of an amount (a comma and two digits at its end) but not a
// valid whole part.
bool ImportoMalformato(const char* valore) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(valore));
  auto maschera = [&](char c) { return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(c)))); };
  const unsigned cifre = ~static_cast<unsigned>(
      _mm_movemask_epi8(_mm_or_si128(_mm_cmplt_epi8(v, _mm_set1_epi8('0')), _mm_cmpgt_epi8(v, _mm_set1_epi8('9')))));
  if (!((maschera(',') >> 13) & 1) || ((cifre >> 14) & 3) != 3) return false;  // not an amount
  return !ParteInteraValida(maschera('0'), maschera(' '), cifre);
}
#else
bool ImportoMalformato(const char* valore) {
  if (valore[13] != ',' || !Cifra(valore[14]) || !Cifra(valore[15])) return false;
  const uint64_t a = OttoInOrdine(valore), b = OttoInOrdine(valore + 5);  // characters 0-7 and 5-12
  return !ParteInteraValida(Bit(Uguali(a, '0')) | Bit(Uguali(b, '0')) << 5,
                            Bit(Uguali(a, ' ')) | Bit(Uguali(b, ' ')) << 5, Bit(Cifre(a)) | Bit(Cifre(b)) << 5);
}
#endif

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
template <size_t N>
constexpr std::array<uint64_t, N> Parole(const std::string_view (&codici)[N]) {
  std::array<uint64_t, N> p{};
  for (size_t i = 0; i < N; ++i) p[i] = ParolaFissa(codici[i]);
  return p;
}
constexpr auto kParolaCfSostituto = Parole(kCampiCfSostituto);
constexpr uint64_t kParolaCfDipendente = ParolaFissa(kCampoCfDipendente);
// The codes of the fields that hold a fiscal code, in a table where each is found in one step:
// the code times a multiplier, in its top six bits, names its slot.
struct TabellaCodici {
  uint64_t moltiplicatore = 0;
  std::array<uint64_t, 64> parole{};
  constexpr bool Contiene(uint64_t parola) const { return parole[(parola * moltiplicatore) >> 58] == parola; }
};
constexpr TabellaCodici kCodiciFiscali = [] {
  const auto parole = Parole(kCampiCodiceFiscale);
  for (uint64_t i = 1;; ++i) {
    uint64_t m = i * 0x9E3779B97F4A7C15;  // multipliers spread over the word
    m = (m ^ (m >> 31)) * 0xBF58476D1CE4E5B9 | 1;
    TabellaCodici t{m, {}};
    bool libere = true;
    for (uint64_t p : parole) {
      uint64_t& posto = t.parole[(p * m) >> 58];
      libere = libere && posto == 0;
      posto = p;
    }
    if (libere) return t;
  }
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

const char* Attesi(bool annullamento, int fase) {
  static const char* const kAttesi[] = {"il record A", "il record B",        "un record C, D o Z", "un record D o Z",
                                        "un record G", "un record G, D o Z", "la fine del file"};
  if (fase == 4 && annullamento) return "un record D o Z";  // a cancellation's D has no G records
  return kAttesi[fase];
}

}  // namespace

void Verifica::Aggiungi(long record, int posizione, Gravita gravita, std::string messaggio) {
  (gravita == Gravita::Errore ? errori_ : avvisi_) += 1;
  if (nonElencati_ == 0 && rilievi_.size() < kMaxRilievi) {
    rilievi_.push_back({record, posizione, gravita, std::move(messaggio)});
    return;
  }
  if (nonElencati_ == 0) {
    // The list is full: the finding in its last place is the first one left out, and the
    // note takes its place.
    nonElencati_ = 1;
    nonElencatiErrori_ = rilievi_.back().gravita == Gravita::Errore ? 1 : 0;
    MessaggioNota();
  }
  ++nonElencati_;
  if (gravita == Gravita::Errore) {
    ++nonElencatiErrori_;
    rilievi_.back().gravita = Gravita::Errore;
  }
}

void Verifica::MessaggioNota() {
  if (nonElencati_ == 0) return;
  rilievi_.back().messaggio = "elenco interrotto a " + Numero(static_cast<long>(kMaxRilievi)) +
                              " rilievi: questo e i seguenti non sono elencati (" + Numero(nonElencati_) +
                              " rilievi, di cui " + Numero(nonElencatiErrori_) + " errori)";
}

void Verifica::Record(std::string_view r) {
  ++records_;
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

void Verifica::Vuoto(std::string_view r, int posizione, int lunghezza, const char* cosa) {
  const std::string_view t = r.substr(static_cast<size_t>(posizione - 1), static_cast<size_t>(lunghezza));
  const size_t i = t.find_first_not_of(' ');
  if (i == std::string_view::npos) return;
  Errore(posizione + static_cast<int>(i),
         std::string(cosa) + ": le " + Posizioni(posizione, lunghezza) + " devono essere vuote");
}

void Verifica::AvvisoCF(std::string_view codice, int posizione, const char* di, std::string_view campo) {
  const EsitoCF esito = ControllaCF(codice);
  if (esito == EsitoCF::Valido) return;
  // Past the end of the list a warning is only counted: a file whose every employee has a code
  // to look at must not cost a message each.
  if (rilievi_.size() >= kMaxRilievi) return Aggiungi(records_, posizione, Gravita::Avviso, {});
  std::string chi = di;
  if (!campo.empty()) chi += " " + Visibile(campo);
  Aggiungi(records_, posizione, Gravita::Avviso, "codice fiscale " + chi + " " + DescrizioneCF(esito, codice));
}

void Verifica::RecordA(std::string_view r) {
  Vuoto(r, kVuotoTestaAZ.posizione, kVuotoTestaAZ.lunghezza, "record A");
  if (kFornitura.In(r) != kCodiceFornitura) {
    Errore(kFornitura.posizione,
           "il codice della fornitura (posizioni 16-20) deve essere \"CUR18\", qui " + Visibile(kFornitura.In(r)));
  }
  AvvisoCF(kCfFornitoreA.In(r), kCfFornitoreA.posizione, "del fornitore");
}

// The head shared by records B, C, D and G: the withholding agent's code, the module number.
void Verifica::TestaComune(std::string_view r) {
  const std::string_view cf = kCfSostituto.In(r);
  if (!haSostituto_) {
    haSostituto_ = true;
    std::copy(cf.begin(), cf.end(), sostituto_.begin());
    AvvisoCF(cf, kCfSostituto.posizione, "del sostituto d'imposta");
  } else if (!Uguale(cf, sostituto_)) {
    Errore(kCfSostituto.posizione, "codice fiscale del sostituto d'imposta diverso da quello dei record precedenti");
  }
  if (kModulo.In(r) != kPrimoModulo) {
    Errore(kModulo.posizione, "numero del modulo (posizioni 18-25) diverso da \"00000001\"");
  }
}

void Verifica::RecordB(std::string_view r) {
  TestaComune(r);
  const char annulla = r[kPosAnnullamento - 1], sostituisce = r[kPosSostituzione - 1];
  for (int p : {kPosAnnullamento, kPosSostituzione}) {
    if (r[static_cast<size_t>(p - 1)] != '0' && r[static_cast<size_t>(p - 1)] != '1') {
      Errore(p, "posizione " + Numero(p) + ": atteso \"0\" o \"1\"");
    }
  }
  if (annulla == '1' && sostituisce == '1') {
    Errore(kPosSostituzione, "annullamento e sostituzione insieme (posizioni 91 e 92)");
  }
  operazione_ = annulla == '1' ? 'A' : sostituisce == '1' ? 'S' : ' ';
  const char quadroCT = r[kPosQuadroCT - 1];
  if (quadroCT != '0' && quadroCT != '1') Errore(kPosQuadroCT, "posizione 410: atteso \"0\" o \"1\"");
  annunciaC_ = quadroCT == '1';
  for (int p : kPosUnoB) {
    if (r[static_cast<size_t>(p - 1)] != '1') Errore(p, "posizione " + Numero(p) + ": atteso \"1\"");
  }
  if (r[kPosZeroB - 1] != '0') Errore(kPosZeroB, "posizione 309: atteso \"0\"");
  const std::string_view dipendenti = kDipendentiB.In(r);
  if (!std::all_of(dipendenti.begin(), dipendenti.end(), Cifra)) {
    Errore(kDipendentiB.posizione, "numero dei dipendenti (posizioni 402-409) non numerico: " + Visibile(dipendenti));
  }
  if (!Vuota(kCfRappresentante.In(r))) {
    AvvisoCF(kCfRappresentante.In(r), kCfRappresentante.posizione, "del rappresentante");
  }
}

void Verifica::RecordC(std::string_view r) {
  TestaComune(r);
  Vuoto(r, kVuotoC.posizione, kVuotoC.lunghezza, "testa del record C");
  Griglia<'C'>(r);
}

void Verifica::RecordD(std::string_view r) {
  TestaComune(r);
  const std::string_view cf = kCfDipendente.In(r);
  haDipendente_ = true;
  std::copy(cf.begin(), cf.end(), dipendente_.begin());
  AvvisoCF(cf, kCfDipendente.posizione, "del dipendente");

  // The employees are numbered 00001, 00002, ... in file order.
  char atteso[8];
  std::snprintf(atteso, sizeof atteso, "%05ld", numD_ % 100000);
  const std::string_view progressivo = kProgressivo.In(r);
  std::copy(progressivo.begin(), progressivo.end(), progressivo_.begin());
  if (progressivo != std::string_view(atteso, 5)) {
    Errore(kProgressivo.posizione, "progressivo del dipendente " + Visibile(progressivo) + " invece di \"" +
                                       std::string(atteso, 5) + "\" (i progressivi vanno in ordine da 00001)");
  }
  Vuoto(r, kVuotoD1.posizione, kVuotoD1.lunghezza, "testa del record D");
  const char operazione = r[kPosOperazioneD - 1];
  annullamento_ = operazione == 'A';
  if (operazione != ' ' && operazione != 'A' && operazione != 'S') {
    Errore(kPosOperazioneD, "posizione 84: atteso uno spazio, \"A\" (annullamento) o \"S\" (sostituzione)");
  } else if (operazione != operazione_) {
    Errore(kPosOperazioneD,
           "l'operazione del record D (posizione 84) non concorda con il record B "
           "(posizioni 91 e 92)");
  }
  Vuoto(r, kVuotoD2.posizione, kVuotoD2.lunghezza, "testa del record D");
  if (r[kPosUnoD - 1] != '1') Errore(kPosUnoD, "posizione 89: atteso \"1\"");
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
  Vuoto(r, kVuotoG.posizione, kVuotoG.lunghezza, "testa del record G");
  Griglia<'G'>(r);
}

void Verifica::RecordZ(std::string_view r) {
  Vuoto(r, kVuotoTestaAZ.posizione, kVuotoTestaAZ.lunghezza, "record Z");
  const long presenti[] = {numB_, numC_, numD_, numG_};
  const char tipi[] = {'B', 'C', 'D', 'G'};
  for (size_t i = 0; i < 4; ++i) {
    const std::string_view t = kConteggiZ[i].In(r);
    const std::string dove = Posizioni(kConteggiZ[i].posizione, kConteggiZ[i].lunghezza);
    if (!std::all_of(t.begin(), t.end(), Cifra)) {
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
  Vuoto(r, kVuotoCodaZ.posizione, kVuotoCodaZ.lunghezza, "record Z");
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

  const char* c = r.data() + kPosGriglia - 1;  // REQUIRES: a whole record
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
    const char* valore = c + kLungCodice;
    const int posValore = pos + kLungCodice;
    if (valore[0] == '+') {
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
      }
    } else {
      const std::string_view testo(valore, kLungValore);
      if (kTipo == 'G' && ImportoMalformato(valore)) {
        Errore(posValore, "importo malformato nel campo " + Visibile(codice) +
                              ": la parte intera deve essere di tredici zeri o di cifre allineate a destra "
                              "senza zeri iniziali");
      }
      if (kTipo != 'G' && (parola == kParolaCfSostituto[0] || parola == kParolaCfSostituto[1])) {
        if (haSostituto_ && !Uguale(testo, sostituto_)) {
          Errore(posValore, "il campo " + Visibile(codice) +
                                " deve ripetere il codice fiscale del sostituto d'imposta delle posizioni 2-17");
        }
      } else if (kTipo == 'D' && parola == kParolaCfDipendente) {
        if (haDipendente_ && !Uguale(testo, dipendente_)) {
          Errore(posValore, "il campo " + Visibile(codice) +
                                " deve ripetere il codice fiscale del dipendente delle posizioni 26-41");
        }
      } else if (kCodiciFiscali.Contiene(parola)) {
        AvvisoCF(testo, posValore, "del campo", codice);
      }
    }
    precedente = parola;
    haPrecedente = true;
  }
  if (kTipo == 'G' && haPrecedente) {
    haUltimoG_ = true;
    ultimoG_ = precedente;
  }
  Vuoto(r, kCodaGriglia.posizione, kCodaGriglia.lunghezza, "dopo l'ultimo campo");
}

std::string TestoRilievo(const Rilievo& r) {
  return "record " + Numero(r.record) + ", posizione " + Numero(r.posizione) + ": " +
         (r.gravita == Gravita::Errore ? "errore" : "avviso") + ": " + r.messaggio;
}

std::string Riepilogo(const Verifica& v) {
  auto quanti = [](long n, const char* uno, const char* molti) { return Numero(n) + " " + (n == 1 ? uno : molti); };
  return std::string(v.Errori() == 0 ? "File corretto: " : "File con errori: ") +
         quanti(v.Records(), "record", "record") + ", " + quanti(v.Errori(), "errore", "errori") + ", " +
         quanti(v.Avvisi(), "avviso", "avvisi");
}

}  // namespace quibold
