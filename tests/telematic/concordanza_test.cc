// The writer and the check held to one another: every field code the writer can emit must be one
// the check knows (`verifica/campi.h`), of a kind the row's rule writes, in the order the records
// carry them. A code missing from the check's table would be judged only as any field; a row out
// of order would be refused by the agency and pass every other test. The positional parts are
// held as they compile (`telematic/posizionali.h`); here, that those checks find what they are for.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "samples/archivio_esempio.h"
#include "support/corsa_prova.h"
#include "telematic/posizionali.h"
#include "telematic/sezioni.h"
#include "verifica/campi.h"
#include "verifica/tracciato.h"

namespace quibold {
namespace {

using campi::Formato;
using campi::Valore;

// Where each code stands in the check's table.
const std::map<std::string_view, size_t>& PostiNoti() {
  static const auto posti = [] {
    std::map<std::string_view, size_t> p;
    for (size_t i = 0; i < std::size(campi::kCampiNoti); ++i) p[campi::kCampiNoti[i].codice] = i;
    return p;
  }();
  return posti;
}

// Whether a field of kind `f` is what rule `r` writes: a left-aligned text may be any kind of
// left-aligned value (a province, a fiscal code), a text continued with "+" only text; a
// right-aligned value has the width the rule gives it.
bool Scrive(Regola r, const Formato& f) {
  const auto destra = [&](int larghezza) { return f.valore == Valore::Destra && f.larghezza == larghezza; };
  const bool testoASinistra =
      f.valore == Valore::Testo || f.valore == Valore::Provincia || f.valore == Valore::ProvinciaNascita ||
      f.valore == Valore::Comune || f.valore == Valore::CodiceFiscale || f.valore == Valore::CfSostituto ||
      f.valore == Valore::CfDipendente || f.valore == Valore::Lettera || f.valore == Valore::DueCaratteri;
  switch (r) {
    case Regola::Importo: return f.valore == Valore::Importo;
    case Regola::ImportoIntero: return f.valore == Valore::ImportoIntero;
    case Regola::Flag:
    case Regola::FlagSempre: return f == campi::kFlag;
    case Regola::CodiceFiscale:
      return f.valore == Valore::CodiceFiscale || f.valore == Valore::CfSostituto || f.valore == Valore::CfDipendente;
    case Regola::Testo:
    case Regola::TestoSePresente:
    case Regola::TestoSePositivo:
    case Regola::TestoOltreUnCarattere: return testoASinistra;
    case Regola::TestoDiviso:
    case Regola::TestoDivisoSePresente:
    case Regola::TestoDiviso3: return f.valore == Valore::Testo;
    case Regola::TestoUnCarattere:
    case Regola::LetteraABC:
    case Regola::LetteraAB: return f.valore == Valore::Lettera || f.valore == Valore::Testo;
    case Regola::TestoDueCaratteri: return f.valore == Valore::DueCaratteri;
    case Regola::Destra:
    case Regola::DestraSePositivo:
      return f.valore == Valore::Destra || f.valore == Valore::Data || f.valore == Valore::DataNascita ||
             f.valore == Valore::DataFirma;
    case Regola::PrimoCarattereSePositivo:
    case Regola::UnoODue:
    case Regola::CarattereADestra:
    case Regola::PrimaCifra:
    case Regola::SecondaCifra: return destra(1);
    case Regola::DueCifre:
    case Regola::DueCifreSePositivo:
    case Regola::DueCifreSePresente:
    case Regola::DueCaratteriADestra: return destra(2);
    case Regola::Conteggio3SePositivo: return destra(3);
    case Regola::DueCoppieSePositivo: return destra(4);
    case Regola::DodiciMesi: return destra(12);
    case Regola::Propria: return f.valore != Valore::Ignoto;  // its own step: known is all that can be said
  }
  return false;
}

TEST(Concordanza, EveryRowOfTheWriterIsKnownToTheCheckOfItsKindAndInOrder) {
  const auto& posti = PostiNoti();
  size_t righe = 0;
  long ultimo = -1;
  std::string_view codiceUltimo = "(none)";
  for (const TabellaRighe& t : TabelleRighe()) {
    for (const Riga& r : t.righe) {
      ++righe;
      SCOPED_TRACE(std::string(t.nome) + " " + std::string(r.codice));
      const auto posto = posti.find(r.codice);
      ASSERT_NE(posto, posti.end()) << "missing from verifica/campi.h";
      EXPECT_TRUE(Scrive(r.regola, campi::kCampiNoti[posto->second].formato))
          << "its kind in verifica/campi.h is not what rule " << static_cast<int>(r.regola) << " writes";
      EXPECT_GT(static_cast<long>(posto->second), ultimo) << "out of order: after " << codiceUltimo;
      ultimo = static_cast<long>(posto->second);
      codiceUltimo = r.codice;
    }
  }
  EXPECT_GT(righe, 300u);  // the tables were found at all
}

// What no table holds (the dependants' rows from the second on, the choices of record C) is
// held to the check's table in the files the writer makes of the samples, whose employees fill
// every section: each code known, and in order within each employee's records.
TEST(Concordanza, EveryCodeOfTheSampleFilesIsKnownToTheCheckAndInOrder) {
  const auto& posti = PostiNoti();
  const struct {
    const char* nome;
    esempio::Certificazione certificazione;
  } casi[] = {
      {"company", esempio::CertificazioneSocieta()},
      {"natural person", esempio::CertificazionePersonaFisica()},
      {"full archive", esempio::ArchivioPieno(2)},
  };
  for (const auto& c : casi) {
    prova::CorsaBanco corsa;
    ASSERT_TRUE(corsa.Esegui(c.certificazione)) << c.nome;
    size_t ultimo = 0;
    for (const std::string& r : corsa.records) {
      if (r[0] == 'C' || r[0] == 'D') ultimo = 0;  // a G record goes on from the one before it
      if (r[0] != 'C' && r[0] != 'D' && r[0] != 'G') continue;
      for (const std::string& codice : prova::Codici(prova::Campi(r))) {
        SCOPED_TRACE(std::string(c.nome) + " " + codice);
        const auto posto = posti.find(codice);
        ASSERT_NE(posto, posti.end()) << "missing from verifica/campi.h";
        EXPECT_GE(posto->second, ultimo) << "out of order";
        ultimo = posto->second;
      }
    }
  }
}

// A positional part of ten characters as the check and the writer might describe it, and the
// faults of rows swapped, left out, ending short, or of a writer at odds with the check.
namespace posizionali_prova {

using namespace posizionali;
using tracciato::Contenuto;
using tracciato::Difetto;
using tracciato::PrimoDifetto;
using tracciato::Zona;

constexpr tracciato::CampoPosizionale kControllo[] = {
    {{1, 1}, Contenuto::Proprio, "tipo"},
    {{2, 4}, Contenuto::Vuoto, "vuoto"},
    {{6, 3}, Contenuto::Fisso, "fisso", "ABC"},
    {{9, 2}, Contenuto::Cifre, "cifre"},
};
constexpr bool DifettoIn(const auto& righe, int ultima, int posizione, Difetto difetto) {
  const auto d = PrimoDifetto(righe, 1, ultima);
  return d.posizione == posizione && d.difetto == difetto;
}
static_assert(DifettoIn(kControllo, 10, 0, Difetto::Nessuno));
static_assert(DifettoIn(std::to_array<Zona>({{1, 1}, {6, 3}, {2, 4}, {9, 2}}), 10, 2, Difetto::RigaFuoriPosto));
static_assert(DifettoIn(std::to_array<Zona>({{1, 1}, {2, 4}, {9, 2}}), 10, 6, Difetto::RigaFuoriPosto));
static_assert(DifettoIn(std::to_array<Zona>({{1, 1}, {2, 4}, {6, 3}, {9, 0}}), 10, 9, Difetto::RigaFuoriPosto));
static_assert(DifettoIn(kControllo, 12, 11, Difetto::FineFuoriPosto));

// The writer's part with one row replaced by `riga`, the others as the check wants them.
constexpr DisaccordoTracciato ConRiga(size_t i, Posizionale riga) {
  auto r = std::to_array<Posizionale>({{{1, 1}, Fisso("A")},
                                       {{2, 4}, Bianchi()},
                                       {{6, 3}, Fisso("ABC")},
                                       {{9, 2}, Numero(T(kNumeroDipendenti)), Fisso("00")}});
  r[i] = riga;
  return PrimoDisaccordo(r, kControllo);
}
constexpr bool DisaccordoIn(DisaccordoTracciato d, int posizione, Disaccordo disaccordo) {
  return d.posizione == posizione && d.disaccordo == disaccordo;
}
static_assert(DisaccordoIn(ConRiga(0, {{1, 1}, Testo(T(kPersonaFisica))}), 0, Disaccordo::Nessuno));
static_assert(DisaccordoIn(ConRiga(1, {{2, 4}, Testo(T(kEmail))}), 2, Disaccordo::ScrittoDoveVuoto));
static_assert(DisaccordoIn(ConRiga(1, {{2, 4}, Bianchi(), Fisso("0000")}), 2, Disaccordo::ScrittoDoveVuoto));
static_assert(DisaccordoIn(ConRiga(2, {{6, 3}, Fisso("ABD")}), 6, Disaccordo::FissoDiverso));
static_assert(DisaccordoIn(ConRiga(2, {{6, 3}, Testo(T(kEmail))}), 6, Disaccordo::FissoDiverso));
static_assert(DisaccordoIn(ConRiga(3, {{9, 2}, Numero(T(kNumeroDipendenti)), Bianchi()}), 9,
                           Disaccordo::VuotoDoveValore));
// A zone of the writer across the start of one of the check's.
static_assert(DisaccordoIn(PrimoDisaccordo(std::to_array<Posizionale>({{{1, 1}, Fisso("A")},
                                                                       {{2, 5}, Bianchi()},
                                                                       {{7, 2}, Fisso("BC")},
                                                                       {{9, 2}, Fisso("00")}}),
                                           kControllo),
                           6, Disaccordo::ZonaDiversa));

}  // namespace posizionali_prova

}  // namespace
}  // namespace quibold
