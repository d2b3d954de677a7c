// Bad input of every kind, run through the real program as a script runs it. For each situation:
// the program neither crashes, hangs nor is killed; it ends with the expected status and says
// why; it reports success only for a complete file with record Z; and every file that was there
// before the run is there after it, byte for byte.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mount.h>
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "recfile/file_nuovo.h"
#include "sistema/sistema.h"
#include "support/archivio_prova.h"
#include "support/cur18_prova.h"
#include "support/programma_prova.h"

namespace quibold {
namespace {

namespace fs = std::filesystem;
using prova::DipendenteProva;
using prova::kFatto;
using prova::RadiceTemporanea;
using prova::RecordProva;
using prova::Unisci;
const fs::path kDati = fs::path("d") / "vorn" / "quelt" / "2017" / "dati";
const fs::path kUscita = fs::path("c") / "telematici";
// The lock's name beside TCU118: the same for every run, on every system and in every version that
// locks so.
const fs::path kBlocco = kUscita / "TCU118.blocco.incompleto";

using Preparazione = std::function<void(const RadiceTemporanea&)>;

struct Situazione {
  const char* nome;
  Preparazione prepara;  // what goes wrong, on top of the sound archive
  // The options of `crea` ("<radice>" stands for the drive root as a native path), or of the
  // command that the first names: "verifica", or "finestra" for none (the window).
  std::vector<std::string> opzioni;
  int stato;              // expected exit status
  std::string messaggio;  // a line the error stream must hold ("" for none in particular)
  prova::OpzioniProgramma programma = {};
  // Where the telematic file goes; empty when another program changes it after the run.
  fs::path uscita = kUscita / "TCU118";
  int segnale = 0;  // the signal that ends the run (its temporary file may stay, the next run takes it up)
};

// The sound archive: drive D holds certification 1 with two live employees; output to
// C:\telematici.
std::string Testata(const std::function<void(RecordProva&)>& cambia = {}) {
  RecordProva t = prova::TestataProva();
  t.Metti(193, "   2");
  if (cambia) cambia(t);
  return t.testo();
}
std::vector<std::string> Dipendenti(const std::function<void(DipendenteProva&)>& cambia = {}) {
  DipendenteProva primo, secondo("VRDGPP75C10F205G", "VERDI", "GIUSEPPE", "10031975");
  primo.Campo(22, "28500.00").Campo(33, "6200.50");
  secondo.Campo(22, "12000").Campo(27, "180");
  if (cambia) cambia(primo);
  return {primo.testo(), secondo.testo()};
}
void ArchivioSano(const RadiceTemporanea& r) {
  r.Scrivi("c/disco.ute", "D:        ");
  r.Scrivi(kDati / "FCU1.018", Testata() + prova::Testata2Prova(1, 2));
  r.Scrivi(kDati / "DCU1.018", Unisci(Dipendenti()));
  fs::create_directories(r.percorso() / kUscita);
}

// Preparations.
Preparazione File(fs::path relativo, std::string contenuto) {
  return [=](const RadiceTemporanea& r) { r.Scrivi(relativo, contenuto); };
}
Preparazione FilePrecedente() { return File(kUscita / "TCU118", prova::Cur18Precedente()); }
Preparazione Rimuovi(fs::path relativo) {
  return [=](const RadiceTemporanea& r) { fs::remove(r.percorso() / relativo); };
}
Preparazione ConTestata(std::function<void(RecordProva&)> cambia, std::string testata2 = prova::Testata2Prova(1, 2)) {
  return File(kDati / "FCU1.018", Testata(cambia) + testata2);
}
Preparazione ConDipendente(std::function<void(DipendenteProva&)> cambia) {
  return File(kDati / "DCU1.018", Unisci(Dipendenti(cambia)));
}
// What Windows lacks (FIFOs, devices under /dev) skips the situation there, saying why.
Preparazione SoloPosix(const char* manca, Preparazione prepara) {
  if (kWindows) return [=](const RadiceTemporanea&) { GTEST_SKIP() << "su Windows non ci sono " << manca; };
  return prepara;
}
// What Windows cannot make (a symbolic link, a FIFO, a mount) is made under Wine by the machine
// below, through which Wine sees it: the very case that a Windows program meets on a Samba share or
// a Linux PC's disk. On a real Windows, and where even that fails, the situation is skipped.
std::string Unix(const fs::path& p) { return "'" + prova::PercorsoUnix(p) + "'"; }
// What the machine below made goes with it, before the root is removed: under Wine a link that
// leads nowhere is a name that Windows can neither see nor remove.
bool fattoSotto = false;
bool Sotto(const std::string& comando) {
  const bool fatto = prova::ComandoUnix(comando);
  fattoSotto = fattoSotto || fatto;
  return fatto;
}
// A link; where the system makes none, the situation is skipped.
Preparazione Collegamento(fs::path relativo, fs::path bersaglio) {
  return [=](const RadiceTemporanea& r) {
    const fs::path nome = r.percorso() / relativo;
    std::error_code ec;
    fs::remove(nome, ec);
    fs::create_symlink(bersaglio, nome, ec);
    bool fatto = !ec && fs::is_symlink(nome);
    if (!fatto && kWindows) fatto = Sotto("ln -s '" + bersaglio.generic_string() + "' " + Unix(nome));
    if (!fatto) GTEST_SKIP() << "qui non si creano collegamenti simbolici";
  };
}
// Skipped under Wine: a link that Wine, not Windows, would resolve (to a folder, or to nothing: Wine
// neither goes through the one when a name is made there, nor tells where the other leads).
Preparazione NonSottoWine(Preparazione prepara) {
  return [=](const RadiceTemporanea& r) {
    if (!prova::PercorsoUnix(r.percorso()).empty()) {
      GTEST_SKIP() << "sotto Wine un collegamento a una cartella o a nulla non e' come quelli di Windows";
    }
    prepara(r);
  };
}
// A file of the archive mounted over a name (a bind mount: root, on Linux), undone as the test ends.
std::vector<fs::path> montati;
Preparazione Montato(fs::path relativo, fs::path archivio) {
  return [=](const RadiceTemporanea& r) {
    r.Scrivi(relativo, "");
    const fs::path da = r.percorso() / archivio, su = r.percorso() / relativo;
#ifdef _WIN32
    const bool fatto = Sotto("mount --bind " + Unix(da) + " " + Unix(su));
#else
    const bool fatto = ::mount(da.c_str(), su.c_str(), nullptr, MS_BIND, nullptr) == 0;
#endif
    if (!fatto) GTEST_SKIP() << "qui non si monta (serve root, su Linux o sotto Wine)";
    montati.push_back(su);
  };
}
struct Smonta {
  const fs::path& radice;
  ~Smonta() {
    for (const fs::path& m : montati) {
#ifdef _WIN32
      prova::ComandoUnix("umount -l " + Unix(m));
#else
      ::umount2(m.c_str(), MNT_DETACH);
#endif
    }
    montati.clear();
    if (std::exchange(fattoSotto, false)) prova::ComandoUnix("rm -rf " + Unix(radice));
  }
};
Preparazione Fifo(fs::path relativo) {
  return [=](const RadiceTemporanea& r) {
    fs::remove(r.percorso() / relativo);
#ifdef _WIN32
    if (!Sotto("mkfifo " + Unix(r.percorso() / relativo))) GTEST_SKIP() << "su Windows non ci sono FIFO";
#else
    ASSERT_EQ(::mkfifo((r.percorso() / relativo).c_str(), 0644), 0);
#endif
  };
}
// Several preparations in turn.
Preparazione Tutte(std::vector<Preparazione> preparazioni) {
  return [=](const RadiceTemporanea& r) {
    for (const auto& p : preparazioni) {
      if (!::testing::Test::IsSkipped()) p(r);
    }
  };
}

// Files that another program holds open, shared with nobody (Windows), and files that another
// run is writing, their temporary file locked as a run locks it, while the run lasts.
std::vector<fs::path> daBloccare, inUso;
#ifdef _WIN32
Preparazione Bloccato(fs::path relativo) {
  return [=](const RadiceTemporanea& r) { daBloccare.push_back(r.percorso() / relativo); };
}
#endif
Preparazione InUso(fs::path relativo) {
  return [=](const RadiceTemporanea& r) {
    fs::path blocco = relativo, suo = relativo;
    blocco += ".blocco.incompleto";
    suo += ".a1b2c3d4.incompleto";
    r.Scrivi(blocco, "");
    r.Scrivi(suo, prova::Cur18Precedente().substr(0, 1900) + "scritto da un'altra elaborazione");
    inUso.push_back(r.percorso() / blocco);
  };
}
Preparazione SolaLettura(fs::path relativo, std::string contenuto) {
  return [=](const RadiceTemporanea& r) {
    r.Scrivi(relativo, contenuto);
    fs::permissions(r.percorso() / relativo, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  };
}
Preparazione CollegamentoFisso(fs::path relativo, fs::path archivio) {
  return [=](const RadiceTemporanea& r) { fs::create_hard_link(r.percorso() / archivio, r.percorso() / relativo); };
}
std::vector<std::shared_ptr<void>> Blocca() {
  std::vector<std::shared_ptr<void>> blocchi;
#ifdef _WIN32
  for (const auto& file : daBloccare) {
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) blocchi.emplace_back(h, CloseHandle);
  }
#endif
  Sistema& sistema = SistemaReale();
  for (const auto& file : inUso) {
    Maniglia f = kNessunFile;
    EXPECT_EQ(sistema.Apri(file, Apertura::Temporanea, f), 0) << file;
    EXPECT_EQ(sistema.Blocca(f), 0) << file;
    blocchi.emplace_back(nullptr, [&sistema, f](void*) { (void)sistema.Chiudi(f); });
  }
  daBloccare.clear();
  inUso.clear();
  return blocchi;
}
// The window's program that is this very program: copies of it, side by side, the first run; in
// a folder of their own, so that the root's snapshots do not read them (seconds under ASan).
std::unique_ptr<RadiceTemporanea> cartellaDelProgramma;
Preparazione FinestraCheEQuestoProgramma() {
  return [](const RadiceTemporanea&) {
    cartellaDelProgramma = std::make_unique<RadiceTemporanea>();
    const fs::path programma(prova::OpzioniProgramma{}.programma), cartella = cartellaDelProgramma->percorso();
    fs::copy_file(programma, cartella / programma.filename());
    fs::copy_file(programma, cartella / ("quibold-finestra" + programma.extension().string()));
  };
}
Preparazione MilleTestate() {
  return [](const RadiceTemporanea& r) {
    const std::string t = Testata() + prova::Testata2Prova(1, 2);
    for (int n = 2; n <= 1000; ++n) r.Scrivi(kDati / ("FCU" + std::to_string(n) + ".018"), t);
  };
}
// For a run without rights: what the root holds readable by all, but for the rights given, as an
// output folder it may not write to, an employee file it may write but not read.
Preparazione Diritti(std::vector<std::pair<fs::path, fs::perms>> diritti) {
  return [=](const RadiceTemporanea& r) {
    for (const auto& e : fs::recursive_directory_iterator(r.percorso())) {
      fs::permissions(e.path(), e.is_directory() ? fs::perms(0755) : fs::perms(0644));
    }
    fs::permissions(r.percorso(), fs::perms(0755));
    for (const auto& [relativo, d] : diritti) fs::permissions(r.percorso() / relativo, d);
  };
}

// A thousand employees, each with a fiscal code whose check character is wrong (a warning), the
// last also with a TAB in the surname (an error).
Preparazione MilleAvvisi() {
  return [](const RadiceTemporanea& r) {
    std::string dipendenti;
    for (int k = 1; k <= 1000; ++k) {
      dipendenti += DipendenteProva("RSSMRA80A01H501X", k < 1000 ? "ROSSI" : "ROSSI\tBIS").Campo(22, "100").testo();
    }
    r.Scrivi(kDati / "FCU1.018", Testata([](RecordProva& t) { t.Metti(193, "1000"); }) + prova::Testata2Prova(1, 1000));
    r.Scrivi(kDati / "DCU1.018", dipendenti);
  };
}

// Every entry under the root, its kind and content, without following links.
std::map<std::string, std::string> Istantanea(const RadiceTemporanea& radice) {
  std::map<std::string, std::string> voci;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(radice.percorso(), ec), fine; !ec && it != fine; it.increment(ec)) {
    const fs::path& p = it->path();
    const std::string nome = p.lexically_relative(radice.percorso()).string();
    const fs::file_type tipo = it->symlink_status(ec).type();
    if (tipo == fs::file_type::symlink) {
      voci[nome] = "-> " + fs::read_symlink(p).string();
    } else if (tipo == fs::file_type::regular) {
      voci[nome] = radice.Leggi(p);  // an absolute path stays as it is
    } else {
      voci[nome] = tipo == fs::file_type::directory ? "cartella" : "speciale";
    }
  }
  return voci;
}

std::vector<std::string> Argomenti(const RadiceTemporanea& r, std::vector<std::string> opzioni) {
  const std::string radice = Utf8DaPercorso(r.percorso());
  for (std::string& o : opzioni) {
    if (o.starts_with("<radice>")) o.replace(0, 8, radice);
  }
  if (!opzioni.empty() && opzioni[0] == "verifica-senza-radice") {  // the real drives (Windows)
    opzioni[0] = "verifica";
    return opzioni;
  }
  if (opzioni.empty() || (opzioni[0] != "verifica" && opzioni[0] != "finestra")) {
    return prova::ArgomentiCrea(r.percorso(), opzioni);
  }
  std::vector<std::string> a = {"--radice", radice};
  if (opzioni[0] == "verifica") a.insert(a.begin(), "verifica");
  a.insert(a.end(), opzioni.begin() + 1, opzioni.end());
  return a;
}

const std::string kInesistente = "Archivio inesistente ";
const std::string kDipendentiInesistente = "Archivio Dipendenti inesistente ";
const std::string kCoincide = "Il file telematico coincide con un file dell'archivio ";
const std::string kRecordNonValido = "Numero di Record del dipendente non valido ";
const std::string kNonSelezionata = "Certificazione non ancora selezionata ";
const std::string kLettura62 = "Errore di lettura tipo  62 nel file binario D:\\vorn\\quelt\\2017\\dati\\";
const std::string kNonOrdinario = "Il file telematico non e' un file ordinario ";
const std::string kCreazione75 = "Errore tipo  75 nella creazione del file ";
const std::string kBloccoOccupato =
    "C:\\telematici\\TCU118: il nome C:\\telematici\\TCU118.blocco.incompleto, che quibold usa accanto al file "
    "mentre lo scrive, e' occupato da qualcosa che non puo' usare (una cartella, un collegamento, un file con altri "
    "nomi, con dati o che non si puo' aprire in scrittura): va tolto";
const std::string kSolaLettura =
    ": il file e' in sola lettura, e non viene sostituito: per sostituirlo, togliergli la sola lettura (nelle "
    "proprieta' del file) e ripetere";
const fs::path kDipendenti = kDati / "DCU1.018";
const std::string kRimastoComEra =
    "Memorizzazione interrotta: nessun file telematico scritto; il file precedente e' rimasto com'era";
const std::string kErroreDopoAvvisi =
    "Il file telematico non ha superato il controllo:\nrecord 2001, posizione 247: errore: carattere di controllo "
    "\"<09>\" nei dati";

// clang-format off
const Situazione kSituazioni[] = {
    {"archivio sano", {}, {}, 0, std::string(kFatto)},
    // The drive configuration file.
    {"disco.ute mancante", Rimuovi("c/disco.ute"), {}, 1, kInesistente},
    {"disco.ute vuoto", File("c/disco.ute", ""), {}, 1, "Errore di lettura tipo  62 nel file binario c:\\disco.ute al record  1"},
    {"disco.ute di 5 byte", File("c/disco.ute", "D:   "), {}, 1, kInesistente},
    {"disco.ute di NUL", File("c/disco.ute", std::string(10, '\0')), {}, 1, kInesistente},
    {"disco.ute illeggibile", File("c/disco.ute", "\x8f\xff\x01$%&/()="), {}, 1, kInesistente},
    {"unita' inesistente", File("c/disco.ute", "Q:        "), {}, 1, kInesistente},
    {"disco.ute verso /dev/zero", SoloPosix("/dev/zero", Collegamento("c/disco.ute", "/dev/zero")), {}, 1, kInesistente},
    // The header file.
    {"testata piu' corta di un record", File(kDati / "FCU1.018", std::string(700, ' ')), {}, 1,
     kLettura62 + "FCU1.018 al record  1"},
    {"testata piu' corta di due record", File(kDati / "FCU1.018", Testata() + "  1"), {}, 1,
     kLettura62 + "FCU1.018 al record  2"},
    {"campi di testata di NUL", ConTestata([](RecordProva& t) { t.Metti(21, std::string(48, '\0')).Metti(81, std::string(35, '\0')); }), {}, 0, ""},
    {"campi di testata minuscoli", ConTestata([](RecordProva& t) { t.Metti(21, "rossi srl").Metti(251, "roma"); }), {}, 0, ""},
    {"campi di testata oltre ASCII", ConTestata([](RecordProva& t) { t.Metti(21, "\xC0\xC8\xCC\xD2\xD9 \x80 \xFF"); }), {}, 0, ""},
    {"conteggio non numerico", ConTestata({}, RecordProva(1200).Metti(2, "1").Metti(3, "ABCD").testo()), {}, 0, ""},
    {"numero dei dipendenti non numerico", ConTestata([](RecordProva& t) { t.Metti(193, "AB12"); }), {}, 1,
     "Il file telematico non ha superato il controllo:"},
    {"tipo 2 rifiutato", ConTestata({}, prova::Testata2Prova(2, 2)), {}, 1, "La CU deve essere per LD, quella selezionata e' per LA "},
    // The employee file.
    {"dipendenti meno del conteggio", ConTestata({}, prova::Testata2Prova(1, 5)), {}, 1, kLettura62 + "DCU1.018 al record  3"},
    {"dipendenti vuoto, conteggio 0", [](const RadiceTemporanea& r) {
       r.Scrivi(kDati / "DCU1.018", "");
       r.Scrivi(kDati / "FCU1.018", Testata() + prova::Testata2Prova(1, 0));
     }, {}, 0, ""},
    {"dipendenti vuoto, conteggio 5", [](const RadiceTemporanea& r) {
       r.Scrivi(kDati / "DCU1.018", "");
       r.Scrivi(kDati / "FCU1.018", Testata() + prova::Testata2Prova(1, 5));
     }, {}, 1, kLettura62 + "DCU1.018 al record  1"},
    {"dipendenti mancante", Rimuovi(kDati / "DCU1.018"), {}, 1, kDipendentiInesistente},
    {"dipendenti in sola scrittura", Diritti({{kUscita, fs::perms(0777)}, {kDati / "DCU1.018", fs::perms(0222)}}), {}, 1,
     "Errore di lettura tipo  52 nel file binario D:\\vorn\\quelt\\2017\\dati\\DCU1.018 al record  1",
     {.senzaDiritti = true}},
    {"importi non numerici", ConDipendente([](DipendenteProva& d) { d.Campo(22, "ABC").Campo(33, "12,50").Campo(34, "1.2.3"); }), {}, 0, ""},
    {"importi enormi", ConDipendente([](DipendenteProva& d) {
       for (int k = 22; k <= 26; ++k) d.Campo(k, "999999999999");  // sixty nines in a row
       d.Campo(33, "1e300");
     }), {}, 0, ""},
    {"importi negativi", ConDipendente([](DipendenteProva& d) { d.Campo(22, "-28500").Campo(33, "-0.01"); }), {}, 0, ""},
    // Text that the check of the written file refuses, or warns of.
    {"telefono che inizia con +", ConTestata([](RecordProva& t) { t.Metti(69, "+39 06 12345"); }), {}, 1,
     "Il file telematico non ha superato il controllo:"},
    {"carattere di controllo nel nome", ConDipendente([](DipendenteProva& d) { d.Campo(2, "ROSSI\tBIS"); }), {}, 1,
     "Il file telematico non ha superato il controllo:"},
    {"codice fiscale errato", ConDipendente([](DipendenteProva& d) { d.Campo(1, "RSSMRA80A01H501X"); }), {}, 0,
     "record 3, posizione 26: avviso: codice fiscale del dipendente con il carattere di controllo errato"},
    {"data di nascita diversa dal codice fiscale", ConDipendente([](DipendenteProva& d) { d.Campo(5, "02011980"); }), {}, 0,
     "record 3, posizione 314: avviso: il codice fiscale indica nato il 01/01/1980, la data di nascita e' 02/01/1980: "
     "l'Agenzia scarta la certificazione se il codice fiscale non e' quello della persona (un codice calcolato da dati "
     "sbagliati, o un dato sbagliato nell'archivio)\n    dipendente ROSSI MARIO, record 1 dell'archivio"},
    {"domicilio all'estero", ConDipendente([](DipendenteProva& d) { d.Campo(12, "EE"); }), {}, 1,
     "Il file telematico non ha superato il controllo:"},
    // The record of a single employee.
    {"record 0", {}, {"--tipo", "T", "--record", "0"}, 1, kRecordNonValido},
    {"record abc", {}, {"--tipo", "T", "--record", "abc"}, 1, kRecordNonValido},
    {"record 1000", {}, {"--tipo", "T", "--record", "1000"}, 1, kRecordNonValido},
    {"record -1", {}, {"--tipo", "T", "--record", "-1"}, 1, kRecordNonValido},
    {"record enorme", {}, {"--tipo", "T", "--record", "99999999999"}, 1, kRecordNonValido},
    // The certification's code.
    {"codice 0", {}, {"--codice", "0"}, 1, kNonSelezionata},
    {"codice 1000", {}, {"--codice", "1000"}, 1, kInesistente},
    {"codice -5", {}, {"--codice", "-5"}, 1, kInesistente},
    {"codice ../x", {}, {"--codice", "../x"}, 1, kNonSelezionata},
    {"codice 1/2", {}, {"--codice", "1/2"}, 1, kInesistente},
    // The output.
    {"cartella di uscita mancante", {}, {"--cartella", "C:\\manca\\"}, 1, "Errore tipo  76 nella creazione del file "},
    {"cartella di uscita senza diritti sopra un file scrivibile", Tutte({FilePrecedente(),
       Diritti({{kUscita / "TCU118", fs::perms(0666)}, {kUscita, fs::perms(0555)}})}), {}, 1,
     "Errore tipo  70 nella creazione del file \nC:\\telematici\\TCU118: la cartella C:\\telematici\\ non si puo' scrivere: mancano i permessi",
     {.senzaDiritti = true}},
    {"uscita in sola lettura", SolaLettura(kUscita / "TCU118", prova::Cur18Precedente()), {}, 1,
     "Errore tipo  70 nella creazione del file \nC:\\telematici\\TCU118" + kSolaLettura},
    {"uscita con il nome di un file temporaneo", InUso(kUscita / "TCU118"), {"--file", "TCU118.incompleto"}, 1,
     "C:\\telematici\\TCU118.incompleto: il nome finisce con \".incompleto\", come quelli che quibold da' ai file mentre li "
     "scrive: va scelto un altro nome"},
    {"uscita di 255 caratteri", {}, {"--file", std::string(255, 'T')}, 0, std::string(kFatto), {}, kUscita / std::string(255, 'T')},
    {"uscita di 256 caratteri", {}, {"--file", std::string(256, 'T')}, 1,
     ": il nome e' piu' lungo dei 255 caratteri che il sistema permette", {}, kUscita / std::string(256, 'T')},
    {"uscita su /dev/full", SoloPosix("/dev/full", {}), {"--cartella", "/dev/", "--file", "full"}, 1, kNonOrdinario},
    {"uscita che e' una FIFO", SoloPosix("FIFO", Fifo(kUscita / "TCU118")), {}, 1, kNonOrdinario, {.secondi = 10}},
    {"uscita aperta da un'altra elaborazione", InUso(kUscita / "TCU118"), {}, 1,
     "Il file C:\\telematici\\TCU118 e' gia' aperto da un'altra elaborazione "},
    // A run that stops leaves the file before it as it was, and no file of its own under the name.
    {"annullamento rifiutato sopra un file precedente", FilePrecedente(),
     {"--tipo", "A", "--protocollo", "12345678901234567", "--progressivo", "123456", "--record", "1"}, 1, kRimastoComEra},
    {"errore del controllo sopra un file precedente",
     Tutte({FilePrecedente(), ConDipendente([](DipendenteProva& d) { d.Campo(2, "ROSSI\tBIS"); })}), {}, 1, kRimastoComEra},
    {"uscita su un file che non e' telematico", File(kUscita / "TCU118", "Cognome;Nome\r\nROSSI;MARIO\r\n"), {}, 1,
     "Il file C:\\telematici\\TCU118 non e' un file telematico CUR18: non viene sostituito "},
    {"uscita su NUL", {}, {"--file", "NUL"}, 1, kNonOrdinario},
    {"uscita su com1.txt", {}, {"--file", "com1.txt"}, 1, kNonOrdinario},
    // Whatever takes a name that the run uses beside the file is neither written nor removed.
    {"blocco collegato ai dipendenti", Collegamento(kBlocco, "../../d/vorn/quelt/2017/dati/DCU1.018"), {}, 1, kBloccoOccupato},
    {"blocco che e' un altro nome dei dipendenti", CollegamentoFisso(kBlocco, kDipendenti), {}, 1, kBloccoOccupato},
    {"blocco montato sui dipendenti", Montato(kBlocco, kDipendenti), {}, 1, kBloccoOccupato},
    {"blocco che e' una cartella", [](const RadiceTemporanea& r) { r.CreaCartella(kBlocco); }, {}, 1, kBloccoOccupato},
    {"blocco che e' una FIFO", SoloPosix("FIFO", Fifo(kBlocco)), {}, 1, kBloccoOccupato},
    {"avanzi di una corsa uccisa che non sono file", Tutte({File(kBlocco, ""),
       Collegamento(kUscita / "TCU118.aaaaaaaa.incompleto", "../../d/vorn/quelt/2017/dati/DCU1.018"),
       CollegamentoFisso(kUscita / "TCU118.bbbbbbbb.incompleto", kDipendenti),
       Montato(kUscita / "TCU118.cccccccc.incompleto", kDipendenti)}), {}, 0, std::string(kFatto)},
    {"vecchio nome temporaneo collegato ai dipendenti", Collegamento(kUscita / "TCU118.incompleto",
       "../../d/vorn/quelt/2017/dati/DCU1.018"), {}, 0, std::string(kFatto)},
#ifndef _WIN32
    {"chiusura dell'uscita fallita", {}, {}, 1, "Errore di scrittura tipo  57 nel file binario C:\\telematici\\TCU118 al record  7",
     {.ambiente = {std::string("LD_PRELOAD=") + prova::kGuastiPrecaricati, "QUIBOLD_CHIUSURA_FALLITA=.incompleto",
                   "ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=1"}}},
    {"corsa uccisa a meta' sopra un file precedente", FilePrecedente(), {}, -1, "",
     {.ambiente = {std::string("LD_PRELOAD=") + prova::kGuastiPrecaricati, "QUIBOLD_UCCISO_SCRIVENDO=/TCU118",
                   "ASAN_OPTIONS=verify_asan_link_order=0"}}, kUscita / "TCU118", 9},
    // The batch counts the records it wrote, not what the file holds once another program had it.
    {"lotto con il file svuotato dopo la corsa", {}, {"--tutte"}, 0, "[1/1] 1 ROSSI SRL: 2 dipendenti, 7 record, creato",
     {.ambiente = {std::string("LD_PRELOAD=") + prova::kGuastiPrecaricati, "QUIBOLD_SVUOTATO_DOPO=.incompleto",
                   "ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=1"}}, {}},
#endif
    {"nome del file fuori da Windows-1252", {}, {"--file", "\xCE\xA9mega"}, 2,
     "quibold: il nome del file \"\xCE\xA9mega\" ha caratteri che la tabella dell'archivio (Windows-1252) non ha: nessun file creato"},
    {"cartella esistente fuori da Windows-1252", SoloPosix("percorsi nativi sotto la radice", [](const RadiceTemporanea& r) {
       fs::create_directories(r.percorso() / kUscita / "\xCE\xA9" "dir");
     }), {"--cartella", "<radice>/c/telematici/\xCE\xA9" "dir/"}, 0, std::string(kFatto), {}, kUscita / "\xCE\xA9" "dir" / "TCU118"},
    {"errore dopo mille avvisi", MilleAvvisi(), {}, 1, kErroreDopoAvvisi},
    {"uscita che e' una cartella", [](const RadiceTemporanea& r) { fs::create_directories(r.percorso() / kUscita / "TCU118"); },
     {}, 1, kCreazione75},
    {"uscita oltre il limite dei file", {}, {}, 1, "Errore di scrittura tipo  61 nel file binario C:\\telematici\\TCU118 al record  3",
     {.limiteFile = 5000}},
    {"uscita sul file dei dipendenti", {}, {"--cartella", "D:\\vorn\\quelt\\2017\\dati\\", "--file", "DCU1.018"}, 1, kCoincide},
    {"uscita sul file dei dipendenti, minuscolo", {}, {"--cartella", "d:\\VORN\\quelt\\2017\\dati\\", "--file", "dcu1.018"}, 1, kCoincide},
    {"uscita su un collegamento ai dipendenti", Collegamento(kDati / "TCU118", "DCU1.018"),
     {"--cartella", "D:\\vorn\\quelt\\2017\\dati\\"}, 1, kCoincide},
    {"uscita sulla testata di un'altra CU", File(kDati / "FCU8.018", "altra"),
     {"--cartella", "D:\\vorn\\quelt\\2017\\dati\\", "--file", "FCU8.018"}, 1, kCoincide},
    {"uscita su disco.ute", {}, {"--cartella", "C:\\", "--file", "DISCO.UTE"}, 1, kCoincide},
    {"uscita sul report", {}, {"--cartella", "D:\\vorn\\quelt\\2017\\dati\\", "--file", "report.txt", "--report"}, 1, kCoincide},
    {"uscita sul file batch", {}, {"--cartella", "D:\\vorn\\QUELT\\2017\\", "--file", "AVSTP.BAT"}, 1, kCoincide},
    // A new name that differs from an archive file's only in case would be found in its place.
    {"uscita che nasconderebbe i dipendenti di un'altra CU", SoloPosix("nomi che differiscono per le maiuscole", File(kDati / "dcu2.018", "altra")),
     {"--cartella", "<radice>/d/vorn/quelt/2017/dati/", "--file", "DCU2.018"}, 1, kCoincide},
    {"uscita che nasconderebbe DISCO.UTE", SoloPosix("nomi che differiscono per le maiuscole", [](const RadiceTemporanea& r) {
       fs::rename(r.percorso() / "c" / "disco.ute", r.percorso() / "c" / "DISCO.UTE");
     }), {"--cartella", "<radice>/c/", "--file", "disco.ute"}, 1, kCoincide},
    {"uscita in una cartella collegata ai dati", NonSottoWine(Tutte({File(kDati / "dcu2.018", "altra"), Collegamento("c/collegata", "../d/vorn/quelt/2017/dati")})),
     {"--cartella", "<radice>/c/collegata/", "--file", "DCU2.018"}, 1, kCoincide},
    {"uscita su un collegamento interrotto verso i dati", NonSottoWine(Tutte({File(kDati / "dcu2.018", "altra"),
       Collegamento(kUscita / "TCU118", "../../d/vorn/quelt/2017/dati/DCU2.018")})), {}, 1, kCoincide},
    {"report collegato ai dipendenti", Collegamento(kDati / "report.txt", "DCU1.018"), {"--report"}, 3,
     "Impossibile scrivere il file D:\\vorn\\QUELT\\2017\\dati\\report.txt: coincide con un file dell'archivio"},
    {"report collegato ad appunti", Tutte({File("appunti.txt", "appunti del ragioniere"),
       Collegamento(kDati / "report.txt", "../../../../../appunti.txt")}), {"--report"}, 3,
     "Impossibile scrivere il file D:\\vorn\\QUELT\\2017\\dati\\report.txt: c'e' un file che non e' un report di quibold, e non "
     "viene sostituito"},
    {"file batch che non e' di quibold", File("d/vorn/quelt/2017/avstp.bat", "copy c:\\dati\\*.* a:\\\r\n"), {"--report"}, 3,
     "Impossibile scrivere il file D:\\vorn\\QUELT\\2017\\avstp.bat: c'e' un file che non e' il file batch di quibold, e non "
     "viene sostituito"},
    {"report in sola lettura", SolaLettura(kDati / "report.txt", "   CERTIFICAZIONE UNICA LAVORO DIPENDENTE ANNO 2018\r\n"), {"--report"}, 3,
     "Impossibile scrivere il file D:\\vorn\\QUELT\\2017\\dati\\report.txt: errore tipo  70 (il file e' in sola lettura, e non viene "
     "sostituito: per sostituirlo, togliergli la sola lettura (nelle proprieta' del file) e ripetere)"},
    // Other commands.
    {"rilievi su un'uscita che nessuno legge", {}, {"verifica", "--json", "D:\\vorn\\quelt\\2017\\dati\\FCU1.018"}, 2,
     "quibold: impossibile scrivere i rilievi sull'uscita standard", {.uscitaRotta = true}},
    {"verifica di un nome fuori da Windows-1252", SoloPosix("\"?\" nei nomi", File(kDati / "?file", "altro")),
     {"verifica", "D:\\vorn\\quelt\\2017\\dati\\\xCE\xA9" "file"}, 2,
     "quibold: impossibile leggere D:\\vorn\\quelt\\2017\\dati\\\xCE\xA9" "file"},
    {"verifica di una FIFO", Fifo(kUscita / "TCU118"), {"verifica", "C:\\telematici\\TCU118"}, 2,
     "TCU118: non e' un file ordinario", {.secondi = 10}},
    {"verifica di un collegamento a /dev/zero", Collegamento(kUscita / "zero", "/dev/zero"), {"verifica", "C:\\telematici\\zero"}, 2,
     "zero: non e' un file ordinario", {.secondi = 10}},
    {"verifica di /dev/zero", SoloPosix("/dev/zero", {}), {"verifica", "/dev/zero"}, 2,
     "quibold: impossibile leggere /dev/zero: non e' un file ordinario", {.secondi = 10}},
    {"verifica di un nome con sequenze di controllo", SoloPosix("caratteri di controllo nei nomi",
       File(kUscita / "TCU1\x1b]0;titolo\x07\x1b[2J18", "A")), {"verifica", "--json", "C:\\telematici\\TCU1*"}, 1,
     "C:\\telematici\\TCU1<1B>]0;titolo<07><1B>[2J18: File con errori: 1 record, 2 errori, 0 avvisi"},
    {"verifica --json di nomi fuori da UTF-8", SoloPosix("nomi fuori da UTF-8", File(kUscita / "TCU\xE8", "A")),
     {"verifica", "--json", "<radice>/c/telematici/TCU\xE8", "<radice>/c/telematici/TCU\xE8"}, 1,
     "Totale: 2 file, 0 corretti, 2 con errori, 0 illeggibili: 2 record, 4 errori, 0 avvisi"},
    {"finestra che e' questo stesso programma", FinestraCheEQuestoProgramma(), {"finestra"}, 2,
     "e' questo stesso programma, che non ha la finestra)", {.secondi = 10}},
    // The archive folder.
    {"mille file di testata", MilleTestate(), {}, 0, ""},
    {"testata 1000 senza dipendenti", MilleTestate(), {"--codice", "1000"}, 1, kDipendentiInesistente},
    {"collegamento a una testata", Collegamento(kDati / "FCU2.018", "FCU1.018"), {"--codice", "2"}, 1, kDipendentiInesistente},
    {"collegamento interrotto", Collegamento(kDati / "FCU3.018", "manca.018"), {"--codice", "3"}, 1, kInesistente},
    {"collegamento circolare", Collegamento(kDati / "FCU4.018", "FCU4.018"), {"--codice", "4"}, 1, kInesistente},
    {"collegamento a /dev/zero", SoloPosix("/dev/zero", Collegamento(kDati / "FCU5.018", "/dev/zero")), {"--codice", "5"}, 1, kInesistente},
    {"testata che e' una FIFO", SoloPosix("FIFO", Fifo(kDati / "FCU6.018")), {"--codice", "6"}, 1, kInesistente},
    {"dipendenti che e' una FIFO", SoloPosix("FIFO", Fifo(kDati / "DCU1.018")), {}, 1, kDipendentiInesistente},
    {"dipendenti verso /dev/zero", SoloPosix("/dev/zero", Collegamento(kDati / "DCU1.018", "/dev/zero")), {}, 1, kDipendentiInesistente},
    {"collegamenti di ogni sorta accanto", SoloPosix("/dev/zero", Tutte({
       Collegamento(kDati / "FCU2.018", "FCU1.018"), Collegamento(kDati / "FCU3.018", "manca"),
       Collegamento(kDati / "FCU4.018", "FCU4.018"), Collegamento(kDati / "FCU5.018", "/dev/zero"), Fifo(kDati / "FCU6.018")})),
     {}, 0, ""},
};
#ifdef _WIN32
// What only Windows has: a read-only file, a file held open by another program, a junction.
const Situazione kSituazioniWindows[] = {
    {"uscita aperta da un altro programma", Tutte({FilePrecedente(), Bloccato(kUscita / "TCU118")}), {}, 1,
     "Errore tipo  70 nella creazione del file "},
    {"dipendenti aperti da un altro programma", Bloccato(kDati / "DCU1.018"), {}, 1,
     "Errore tipo  70 nell'apertura del  file binarioD:\\vorn\\quelt\\2017\\dati\\DCU1.018"},
    {"verifica di COM1", {}, {"verifica", "COM1"}, 2, "quibold: impossibile leggere COM1: non e' un file ordinario",
     {.secondi = 10}},
    {"verifica di una pipe", {}, {"verifica-senza-radice", "\\\\.\\pipe\\quibold"}, 2,
     "quibold: impossibile leggere \\\\.\\pipe\\quibold: non e' un file ordinario", {.secondi = 10}},
    {"uscita su una giunzione verso i dati", [](const RadiceTemporanea& r) {
       const fs::path giunzione = r.percorso() / "c" / "giunzione";
       std::system(("mklink /J \"" + giunzione.string() + "\" \"" + (r.percorso() / kDati).string() + "\" >NUL 2>&1").c_str());
       if (!fs::exists(giunzione / "DCU1.018")) GTEST_SKIP() << "qui non si creano giunzioni";
     }, {"--cartella", "C:\\giunzione\\", "--file", "DCU1.018"}, 1, kCoincide},
};
#endif
// clang-format on

void PrintTo(const Situazione& s, std::ostream* os) { *os << s.nome; }

class IngressiErrati : public ::testing::TestWithParam<Situazione> {};

TEST_P(IngressiErrati, EndAsExpectedAndLeaveTheArchiveAsItWas) {
  const Situazione& s = GetParam();
  if (kWindows && s.programma.senzaDiritti) GTEST_SKIP() << "su Windows non c'e' l'utente senza diritti";
  if (kWindows && s.programma.limiteFile >= 0) GTEST_SKIP() << "su Windows non c'e' un limite alla dimensione dei file";
  RadiceTemporanea radice, cattura;
  Smonta smonta{radice.percorso()};  // before the root goes
  ArchivioSano(radice);
  if (s.prepara) s.prepara(radice);
  if (IsSkipped()) return;
  const auto prima = Istantanea(radice);

  auto blocchi = Blocca();
  prova::OpzioniProgramma programma = s.programma;
  if (cartellaDelProgramma) {
    programma.programma = (cartellaDelProgramma->percorso() / fs::path(programma.programma).filename()).string();
  }
  const prova::EsitoProgramma e = prova::EseguiProgramma(Argomenti(radice, s.opzioni), cattura.percorso(), programma);
  blocchi.clear();
  cartellaDelProgramma.reset();
  if (s.programma.senzaDiritti && e.stato == 127) {
    GTEST_SKIP() << "l'utente " << prova::kUtenteSenzaDiritti << " non avvia la copia del programma in "
                 << fs::temp_directory_path();
  }

  EXPECT_FALSE(e.scaduto);
  EXPECT_EQ(e.segnale, s.segnale);
  EXPECT_EQ(e.errori.find("Sanitizer"), std::string::npos) << e.errori;  // in the sanitizer build
  EXPECT_EQ(e.errori.find("runtime error"), std::string::npos) << e.errori;
  EXPECT_EQ(e.stato, s.stato) << e.errori;
  if (!s.messaggio.empty()) {
    EXPECT_NE(e.errori.find(s.messaggio + "\n"), std::string::npos) << e.errori;
  }
  // Success (the batch says "creato" for the closing message) only with a complete file, though
  // the report may be missing (status 3); after a stop, under the file's name what was there
  // before, or nothing.
  const bool lotto = std::find(s.opzioni.begin(), s.opzioni.end(), "--tutte") != s.opzioni.end();
  const bool successo = e.errori.find(lotto ? ", creato\n" : kFatto) != std::string::npos;
  EXPECT_EQ(successo, e.stato == 0 || e.stato == 3) << e.errori;
  if (!s.uscita.empty() && successo) {
    const std::string f = fs::is_regular_file(radice.percorso() / s.uscita) ? radice.Leggi(s.uscita) : "";
    EXPECT_TRUE(f.size() >= 1900 && f.size() % 1900 == 0 && f[f.size() - 1900] == 'Z') << "senza il record Z";
  } else if (!s.uscita.empty() && !prima.contains(s.uscita.string())) {
    std::error_code ec;
    EXPECT_FALSE(fs::exists(fs::symlink_status(radice.percorso() / s.uscita, ec))) << "un file della corsa fermata";
  }
  // Everything that was there is there as it was; a temporary file stays only when the run was killed.
  const auto dopo = Istantanea(radice);
  for (const auto& [nome, contenuto] : prima) {
    auto it = dopo.find(nome);
    if (it == dopo.end() && contenuto.empty() && NomeDiServizio(nome)) continue;  // a killed run's lock, taken away
    ASSERT_NE(it, dopo.end()) << nome;
    EXPECT_TRUE(it->second == contenuto) << nome << " cambiato";
  }
  for (const auto& [nome, contenuto] : dopo) {
    if (nome.ends_with(".incompleto") && !prima.contains(nome)) {
      EXPECT_NE(s.segnale, 0) << nome << " rimasto";
    }
  }
  if (s.segnale != 0) {
    // The next run takes up the temporary file that the killed one left.
    programma.ambiente.clear();
    const prova::EsitoProgramma dopoUccisa =
        prova::EseguiProgramma(Argomenti(radice, s.opzioni), cattura.percorso(), programma);
    EXPECT_EQ(dopoUccisa.stato, 0) << dopoUccisa.errori;
    for (const auto& [nome, contenuto] : Istantanea(radice)) EXPECT_FALSE(nome.ends_with(".incompleto")) << nome;
  }
  std::error_code ec;  // a read-only output (Windows) is removed with the root
  fs::permissions(radice.percorso() / kUscita / "TCU118", fs::perms::owner_write, fs::perm_options::add, ec);
  fs::permissions(radice.percorso() / kUscita, fs::perms::owner_all, fs::perm_options::add);
}

std::string NomeSituazione(const ::testing::TestParamInfo<Situazione>& info) {
  std::string n;
  for (char c : std::string(info.param.nome)) n += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return n;
}

INSTANTIATE_TEST_SUITE_P(Tutte, IngressiErrati, ::testing::ValuesIn(kSituazioni), NomeSituazione);
#ifdef _WIN32
INSTANTIATE_TEST_SUITE_P(Windows, IngressiErrati, ::testing::ValuesIn(kSituazioniWindows), NomeSituazione);
#endif

}  // namespace
}  // namespace quibold
