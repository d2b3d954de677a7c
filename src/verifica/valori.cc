// The rules of the values of the fields the check knows, by their kinds (campi.h), and of the
// fiscal codes and the text beyond ASCII wherever they stand. Verifica::Valore sees a value only
// when the quick test of its kind (rapida.h, Rapida::DaGuardare) did not take it as right: a new
// rule here must be matched there.
#include <algorithm>
#include <string>

#include "verifica/campi.h"
#include "verifica/codice_fiscale.h"
#include "verifica/rapida.h"
#include "verifica/testi.h"
#include "verifica/tracciato.h"
#include "verifica/verifica.h"

namespace quibold {
namespace {

using namespace controllo;
using namespace tracciato;

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

}  // namespace

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

}  // namespace quibold
