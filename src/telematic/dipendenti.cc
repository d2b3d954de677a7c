#include "telematic/dipendenti.h"

#include <array>
#include <cmath>
#include <string>

#include "archive/archivio.h"
#include "archive/dipendente.h"
#include "recfile/numeri.h"
#include "telematic/posizionali.h"
#include "telematic/sezioni.h"

namespace quibold {
namespace {

using enum Regola;

// Record D before the confirmation question of a cancellation or replacement.
constexpr auto kAnagraficaPrima = std::to_array<Riga>({
    {"DA001001", T(kCfSostituto), Testo},
    {"DA001002", T(kDenominazione1), TestoDiviso},
    {"DA001003", T(kDenominazione2), TestoDivisoSePresente},
    {"DA001004", T(kComune), TestoDiviso},
    {"DA001005", T(kProvincia), Testo},
    {"DA001006", T(kCap), TestoSePositivo},
    {"DA001007", T(kIndirizzo), TestoDiviso},
    {"DA001008", T(kTelefono), TestoSePositivo},
    {"DA001009", T(kEmail), TestoDiviso3},
    {"DA001010", T(kCodiceAttivita), TestoSePositivo},
    {"DA001011", T(kCodiceSede), TestoSePositivo},
    {"DA002001", C(1), Testo},
    {"DA002002", C(2), TestoDiviso},
    {"DA002003", C(3), TestoDiviso},
    {"DA002004", C(4), Testo},
});

// Record D after the confirmation question, up to the foreign address.
constexpr auto kAnagraficaDopo = std::to_array<Riga>({
    {"DA002005", C(5), Destra},
    {"DA002006", C(6), TestoDiviso},
    {"DA002007", C(7), Testo},
    {"DA002008", C(8), TestoSePresente},
    {"DA002009", C(9), PrimoCarattereSePositivo},
    {"DA002010", C(10), UnoODue},
    {"DA002020", C(11), TestoDiviso},
    {"DA002021", C(12), Testo},
    {"DA002022", C(13), Testo},
    {"DA002024", C(14), TestoDiviso},
    {"DA002025", C(15), Testo},
    {"DA002026", C(16), Testo},
});

// Written when the foreign state code (`Campo` 21) is positive.
constexpr auto kResidenzaEstera = std::to_array<Riga>({
    {"DA002040", C(17), TestoDivisoSePresente},
    {"DA002041", C(18), TestoDiviso},
    {"DA002042", C(19), TestoDiviso},
    {"DA002043", C(20), Flag},
    {"DA002044", C(21), Destra},
});

constexpr auto kAnagraficaFine = std::to_array<Riga>({
    {"DA003001", T(kDataFirma), Destra},
    {"DA003002", kNessuna, FlagSempre},
});

}  // namespace

std::vector<TabellaRighe> TabelleRecordD() {
  return {{"kAnagraficaPrima", kAnagraficaPrima},
          {"kAnagraficaDopo", kAnagraficaDopo},
          {"kResidenzaEstera", kResidenzaEstera},
          {"kAnagraficaFine", kAnagraficaFine}};
}

bool ModalitaSingola(const ImpostazioniTelematico& impostazioni) {
  return impostazioni.tipoFornitura == "S" || impostazioni.tipoFornitura == "A" || impostazioni.singola;
}

void ScriviDipendenti(Scrittore& s, Canali& canali, const ImpostazioniTelematico& impostazioni, Testata& testata,
                      long numeroDipendenti) {
  const std::string& tipo = impostazioni.tipoFornitura;
  const bool annullamento = tipo == "A";
  const bool sostituzione = tipo == "S";
  const bool singola = ModalitaSingola(impostazioni);

  // A normal supply names no submission to replace, whatever protocol it was given (the window
  // keeps its text after a cancellation or a replacement): its records D carry zeros there, and
  // the report prints no protocol.
  const bool ordinaria = !annullamento && !sostituzione;
  testata[kProtocolloSostituito] = Largo(ordinaria ? std::string() : impostazioni.protocollo, 17);
  testata[kProgressivoSostituito] = Largo(ordinaria ? std::string() : impostazioni.progressivo, 6);
  int progressivo = 0;

  canali.Canale = kCanaleDipendenti;
  canali.LungRec[kCanaleDipendenti] = kLungDipendente;
  canali.NomeFile[kCanaleDipendenti] = NomeFileDipendenti(impostazioni.PercorsoDati, impostazioni.CodiceCU);
  if (!canali.percorsi().EsisteFile(canali.NomeFile[kCanaleDipendenti])) {
    throw ArrestoScrittura{"Archivio Dipendenti inesistente "};
  }
  canali.ApriFile();
  if (!canali.Riuscita()) throw ArrestoScrittura{};

  CampiDipendente campi;
  const FontiDipendente fonti{testata, campi};
  long n = 0;
  while (true) {
    canali.Canale = kCanaleDipendenti;
    ++n;
    if (n > numeroDipendenti) break;
    canali.NumRec = static_cast<int32_t>(n);
    if (singola) {
      n = static_cast<long>(ValoreNumerico(impostazioni.recordDipendente));
      canali.NumRec = static_cast<int32_t>(n);
    }
    canali.LeggiRecord();
    // A record that cannot be read (past the end of a file shorter than its count, a file that
    // cannot be read at all) would drop an employee without a trace: the run stops, after the
    // layer's message.
    if (!canali.Riuscita()) throw ArrestoScrittura{};
    const std::string& record = canali.Buffer[kCanaleDipendenti];
    bool vivo = !record.empty() && record[0] == kRecordVivo;
    if (vivo) {
      SeparaCampi(record, campi);
      vivo = ValoreNumerico(campi.Campo[5]) != 0;
    }
    if (!vivo) {
      // The one record asked for holds nobody to certify: the run cannot go on.
      if (singola) throw ArrestoScrittura{"Il record indicato non contiene un dipendente da certificare "};
      continue;  // a record that is not live is passed over
    }

    ++progressivo;
    // What the heads of the employee's records D and G read besides the fields.
    const std::string numero = std::to_string(progressivo);
    const posizionali::Fonti fontiTesta{fonti, tipo, numero};
    // The check's findings in this employee's records name them as the office knows them.
    std::string nome(Rifilato(campi.Campo[2]));
    const std::string_view nomeProprio = Rifilato(campi.Campo[3]);
    if (!nomeProprio.empty()) nome += (nome.empty() ? "" : " ") + std::string(nomeProprio);
    s.Dipendente(n, std::move(nome));

    s.IniziaRecord(posizionali::Componi(posizionali::kTestaD, fontiTesta));
    Emetti(s, fonti, kAnagraficaPrima);
    if (annullamento || sostituzione) {
      std::string domanda = "Confermi la funzione di Annul/Sostit. del dipendente ";
      domanda += campi.Campo[2];
      domanda += campi.Campo[3];
      domanda += " ?";
      if (canali.messaggi().Mostra(domanda, kTitoloProgramma, Pulsanti::SiNo, Icona::Nessuna) != Risposta::Si) {
        throw ArrestoScrittura{};
      }
    }
    Emetti(s, fonti, kAnagraficaDopo);
    if (Positivo(campi.Campo[21])) Emetti(s, fonti, kResidenzaEstera);
    Emetti(s, fonti, kAnagraficaFine);
    s.ChiudiRecord();
    if (annullamento) break;

    s.IniziaRecordG(posizionali::Componi(posizionali::kTestaG, fontiTesta));
    s.Totale[kDipendenti] += 1;
    SezioneFiscale(s, fonti);
    SezioneFamiliari(s, fonti);
    SezionePrevidenziale(s, fonti);
    SezioneTFR(s, fonti);
    SezioneDN(s, fonti);
    s.ChiudiRecord();
    if (sostituzione || impostazioni.singola) break;
  }
}

}  // namespace quibold
