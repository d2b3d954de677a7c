// Sample certification archives: the bundled sample drive root (three certifications that
// together fill every section of the telematic file) and full archives of any size, with every
// field of every employee record filled, for benchmarks and seed corpora.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quibold::esempio {

// One certification: header records 1 and 2 (1200 characters each) and the employee records
// (6000 each).
struct Certificazione {
  std::string testata1;
  std::string testata2;
  std::vector<std::string> dipendenti;
};

// A header record 1 whose fields are put by their index in the header layout, upper case as the
// payroll programs store them.
class Testata {
 public:
  Testata();
  Testata& Campo(int indice, std::string_view valore);
  const std::string& testo() const { return testo_; }

 private:
  std::string testo_;
};

// An employee record, live ("$"), whose fields are put by index in the employee layout (the
// value is cut or padded with blanks to the field's width).
class Dipendente {
 public:
  Dipendente();
  Dipendente& Campo(int indice, std::string_view valore);
  Dipendente& Campo2(int indice, std::string_view valore);
  Dipendente& Stato(char c);
  const std::string& testo() const { return testo_; }

 private:
  std::string testo_;
};

// A person's fiscal code from its first 15 characters, and a company's 11-digit code from its
// first 10 digits, each completed with its check character.
std::string CodiceFiscale(std::string_view primi15);
std::string PartitaIva(std::string_view prime10);
// A person's code from its parts: surname and name letters (6), year, month, day (40 added for a
// woman), municipality code.
std::string CodicePersona(std::string_view lettere, int anno, int mese, int giorno, bool donna,
                          std::string_view comune);

// Header record 2: the kind of certification (2: self-employment) and the employee records.
std::string Testata2(int tipo, size_t dipendenti);

// Certification 1: a company that asks for record C, with employees that fill every section,
// one record not live, one without a date of birth, one whose fields run over several G records.
Certificazione CertificazioneSocieta();
// Certification 2: a natural-person employer with one employee.
Certificazione CertificazionePersonaFisica();
// Certification 3: a certification of self-employment income, which the writer refuses.
Certificazione CertificazioneAutonomi();

// An employee with every field of the record filled with plausible values; `n` varies the
// person.
Dipendente DipendentePieno(int n);
// A company's certification of `n` such employees.
Certificazione ArchivioPieno(int n);

// Writes a whole file, given by its path under the drive root: on the disk, or wherever a test
// keeps its files.
using ScriviFile = std::function<void(const std::filesystem::path& relativo, const std::string& testo)>;
// Writes under the drive root `radice` on the disk; throws std::runtime_error when it cannot.
ScriviFile SulDisco(const std::filesystem::path& radice);

// Writes c\disco.ute (drive C:) and the two files of certification `codice` under the drive
// root `radice`. Throws std::runtime_error when a file cannot be written.
void ScriviCertificazione(const std::filesystem::path& radice, int codice, const Certificazione& c);
void ScriviCertificazione(const ScriviFile& scrivi, int codice, const Certificazione& c);

// A service bureau's archive: certifications 1 to `n` (at most 999), one per client, each a
// company of 1 to `massimoDipendenti` employees whose every field is filled. Among them, as a
// bureau meets them, every 50 from 3 is of self-employment (the writer refuses it), every 50
// from 7 has no employee file, every 100 from 10 an employee file shorter than its header says,
// 11 a surname that begins with "+" (the file fails its check), and every 25 from 5 an employee
// whose fiscal code has a wrong check character (the file passes with a warning).
void ScriviArchivioStudio(const std::filesystem::path& radice, int n, int massimoDipendenti = 90);
void ScriviArchivioStudio(const ScriviFile& scrivi, int n, int massimoDipendenti = 90);

}  // namespace quibold::esempio
