#include "verifica/verifica.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>

#include "verifica/campi.h"
#include "verifica/rapida.h"
#include "verifica/testi.h"
#include "verifica/tracciato.h"

namespace quibold {
namespace {

using namespace controllo;
using namespace tracciato;

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
  int quanti = 0;
  if (completo_ || HaControllo(r.substr(0, kFineDati))) {
    for (int i = 0; i < kFineDati; ++i) quanti += Controllo(r[static_cast<size_t>(i)]);
  }
  if (quanti > 0) {
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
      case Contenuto::Scelta: {
        bool ammesso = false;
        for (size_t i = 0; i + t.size() <= c.ammessi.size(); i += t.size()) {
          ammesso = ammesso || c.ammessi.substr(i, t.size()) == t;
        }
        if (!ammesso) Errore(p, dove() + ": ammessi " + Elenco(c.ammessi, t.size()) + ", qui " + Visibile(t));
        break;
      }
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
  // Record D: the employee's sex and date of birth, for their fiscal code.
  static constexpr uint64_t kSesso = ParolaFissa("DA002004"), kNascita = ParolaFissa("DA002005");
  const char *sesso = nullptr, *nascita = nullptr;
  int posSesso = 0, posNascita = 0;

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
      if (completo_ || kCampi.tipi.rapide[formato].DaGuardare(valore, ClassiValore(valore))) {
        Valore(formato, valore, codice, posValore);
      }
    } else if (Otto(valore) == kOttoBianchi && Otto(valore + 8) == kOttoBianchi) {
      // A code this program never writes, in record C or D: only a field with no value is judged.
      Valore(formato, valore, codice, posValore);
    }
    if constexpr (kTipo == 'D') {
      if (parola == kSesso && sesso == nullptr) sesso = valore, posSesso = posValore;
      if (parola == kNascita && nascita == nullptr) nascita = valore, posNascita = posValore;
    }
    precedente = parola;
    haPrecedente = true;
  }
  if constexpr (kTipo == 'D') Persona(sesso, posSesso, nascita, posNascita);
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