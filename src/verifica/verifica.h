// The check of a CUR18 telematic file, ours or another program's, before it is sent: its frame
// (records, order, heads, field grid) and the values of the fields it knows, each by its kind
// (digits, dates, flags, codes of a fixed set, fiscal codes, amounts, text). Records are fed one
// by one as they are read or written, then Fine(); the findings say which record and position
// are wrong and why. An error is what the revenue agency refuses; a warning what may be right.
// It keeps a fixed amount of state whatever the length of the file, and never stops at the
// first finding.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quibold {

namespace tracciato {
struct CampoPosizionale;
}

enum class Gravita { Errore, Avviso };

// One finding: record and position are 1-based; the message is Italian, in ASCII.
struct Rilievo {
  long record;
  int posizione;
  Gravita gravita;
  std::string messaggio;
  // Whose records hold it: in a record D or G, the employee as its head names them
  // ("dipendente con codice fiscale RSSMRA80A01H501U, progressivo 00003"), in ASCII; empty
  // elsewhere. A writer that knows the employee from the archive may name them so instead.
  std::string dipendente;
};

// How closely the check looks: Rapido passes over what the quick tests of the bytes take as
// surely right (the program's way, see rapida.h); Completo looks at every value by its rules, so
// that the tests can hold the two to one another.
enum class Vaglio { Rapido, Completo };

class Verifica {
 public:
  static constexpr size_t kMaxRilievi = 1000;

  // `oggi`, the day the check is made as aaaammgg (20180315): a signature after it is a warning;
  // 0 when the day is not known (the signature is then never after it).
  explicit Verifica(Vaglio vaglio = Vaglio::Rapido, long oggi = 0)
      : completo_(vaglio == Vaglio::Completo), oggi_(oggi) {}

  // The next record: 1900 bytes, or fewer for an incomplete last record.
  void Record(std::string_view record);
  // End of the file: what only the whole file can tell (empty file, record Z missing).
  void Fine();

  // At most kMaxRilievi findings in file order. When there were more, the list keeps every error
  // before it keeps a warning (the earliest of each), and its last entry is a note that says how
  // many were left out, at the place of the first of them (complete after Fine()).
  const std::vector<Rilievo>& Rilievi() const { return rilievi_; }
  bool Troncato() const { return nonElencati_ > 0; }
  // Every finding counted, also those beyond the cap.
  long Errori() const { return errori_; }
  long Avvisi() const { return avvisi_; }
  long Records() const { return records_; }

 private:
  // Where the file stands: the kind of the last record in place.
  enum class Fase { Inizio, DopoA, DopoB, DopoC, DopoD, DopoG, DopoZ };

  // `delDipendente`: the finding is in the record being read, a record D or G.
  void Aggiungi(long record, int posizione, Gravita gravita, std::string messaggio, bool delDipendente = false);
  // A finding of the record being read: kept aside until the record is read whole, then listed
  // in the order of its positions.
  void Errore(int posizione, std::string messaggio) {
    delRecord_.push_back({records_, posizione, Gravita::Errore, std::move(messaggio), {}});
  }
  // A warning past a full list would be left out: its message is not even built.
  template <class Messaggio>
  void Avviso(int posizione, Messaggio&& messaggio) {
    delRecord_.push_back(
        {records_, posizione, Gravita::Avviso, ElencoPieno() ? std::string() : std::string(messaggio()), {}});
  }
  // Lists the findings of the record just read, by position.
  void ElencaDelRecord();
  bool ElencoPieno() const { return nonElencati_ > 0 || rilievi_.size() >= kMaxRilievi; }
  // Takes the last listed warning (else the last listed finding) off the list, as left out.
  void LasciaFuori();
  void ContaNonElencato(const Rilievo& r);
  void MessaggioNota();

  void Esamina(std::string_view r);
  void Sequenza(char tipo);
  void Cornice(std::string_view r);
  void RecordA(std::string_view r);
  void RecordB(std::string_view r);
  void TestaComune(std::string_view r);
  void RecordC(std::string_view r);
  void RecordD(std::string_view r);
  void RecordG(std::string_view r);
  void RecordZ(std::string_view r);
  template <char kTipo>
  void Griglia(std::string_view r);
  void Posizionali(std::string_view r, const tracciato::CampoPosizionale* campi, size_t quanti);
  template <size_t N>
  void Posizionali(std::string_view r, const tracciato::CampoPosizionale (&campi)[N]) {
    Posizionali(r, campi, N);
  }
  // The value area of a field, by the kind of its code (`formato`, an index in the check's table).
  void Valore(uint8_t formato, const char* valore, std::string_view codice, int posizione);
  void NonAscii(std::string_view testo, int posizione, const std::string& dove);
  // The employee's fiscal code of the head of record D against the sex and the date of birth of
  // its fields (value areas, null when the record has none), at `posSesso` and `posNascita`.
  void Persona(const char* sesso, int posSesso, const char* nascita, int posNascita);
  // A fiscal code: its shape is an error, its check character a warning; `nome` and the field
  // `campo` say whose.
  void CodiceFiscale(std::string_view codice, int posizione, std::string_view nome, bool obbligatorio,
                     bool conControllo = true, std::string_view campo = {});

  bool completo_;
  long oggi_;
  std::vector<Rilievo> rilievi_;    // the findings listed, then the note when some are left out
  std::vector<Rilievo> delRecord_;  // the findings of the record being read, as found
  // The head of the record being read, when it is a record D or G: its employee's fiscal code and
  // progressive (views into the record, while it is read).
  std::string_view cfDelRecord_, progressivoDelRecord_;
  long errori_ = 0, avvisi_ = 0, records_ = 0;
  long nonElencati_ = 0, nonElencatiErrori_ = 0;
  long avvisiElencati_ = 0;
  size_t ultimoAvviso_ = 0;  // no warning listed after this place once some are left out
  long recordNonElencato_ = 0;
  int posizioneNonElencata_ = 0;

  Fase fase_ = Fase::Inizio;
  long numB_ = 0, numC_ = 0, numD_ = 0, numG_ = 0;

  // The withholding agent's code, from the first head that holds it.
  bool haSostituto_ = false;
  std::array<char, 16> sostituto_{};
  // What record B announces: a record C, and the operation of every record D (' ', 'A', 'S').
  bool annunciaC_ = false;
  char operazione_ = ' ';
  // The current employee: head of its record D (or of a G record with none before it).
  bool haDipendente_ = false;
  bool annullamento_ = false;
  std::array<char, 16> dipendente_{};
  std::array<char, 5> progressivo_{};
  // The code of the last field of the employee's previous G record, for a continuation.
  bool haUltimoG_ = false;
  uint64_t ultimoG_ = 0;
};

// A finding as one line: "record N, posizione P: errore: message".
std::string TestoRilievo(const Rilievo& r);
// The employee a finding names, as the line under it shows them: indented by four blanks.
inline constexpr std::string_view kRientroDipendente = "    ";
// The finding's line, then, when it names an employee, a second line with them, indented.
std::string RigheRilievo(const Rilievo& r);

// The summary of a check: "File corretto: N record, E errori, A avvisi" (or "File con errori: ...").
std::string Riepilogo(const Verifica& v);

}  // namespace quibold
