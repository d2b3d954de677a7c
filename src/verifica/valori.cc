// The rules of the values of the fields the check knows, by their kinds (campi.h), and of the
// fiscal codes and the text beyond ASCII wherever they stand. Verifica::Valore sees a value only
// when the quick test of its kind (rapida.h, Rapida::DaGuardare) did not take it as right: a new
// rule here must be matched there.
#include <algorithm>
#include <optional>
#include <string>

#include "verifica/campi.h"
#include "verifica/codice_fiscale.h"
#include "verifica/province.h"
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

void Verifica::Persona(const char* sesso, int posSesso, const char* nascita, int posNascita) {
  const std::string_view cf(dipendente_.data(), dipendente_.size());
  // A person's code of 16 characters (its shape is a finding of its own); one of 11 digits (a
  // company's form, or a provisional code) says nothing of the person.
  const EsitoCF esito = ControllaCF(cf);
  if (cf.find(' ') != std::string_view::npos || (esito != EsitoCF::Valido && esito != EsitoCF::ControlloErrato)) {
    return;
  }
  const std::optional<NascitaCF> n = NascitaDaCF(cf);
  const std::string_view perche =
      ": l'Agenzia scarta la certificazione se il codice fiscale non e' quello della persona (un codice calcolato "
      "da dati sbagliati, o un dato sbagliato nell'archivio)";
  if (!n) {
    Avviso(kCfDipendente.posizione, [&] {
      return "il codice fiscale del dipendente " + Visibile(cf) +
             " non ha una data di nascita e un sesso leggibili nei caratteri 7-11" + std::string(perche);
    });
    return;
  }
  if (sesso != nullptr && (sesso[0] == 'M' || sesso[0] == 'F') && (sesso[0] == 'F') != n->donna) {
    Avviso(posSesso, [&] {
      return std::string("il codice fiscale indica ") + (n->donna ? "una donna" : "un uomo") + ", il sesso e' " +
             Visibile(std::string_view(sesso, 1)) + std::string(perche);
    });
  }
  if (nascita == nullptr || !Vuota(std::string_view(nascita, 8))) return;
  const std::string_view data(nascita + 8, 8);
  if (!DataEsistente(data)) return;  // an error of its own
  const long giorno = Giorno(data), anno = giorno / 10000;
  if (giorno % 10000 == n->mese * 100 + n->giorno && anno % 100 == n->anno) return;
  // The code tells the year without its century: the one nearest the date of birth.
  long indicato = anno - anno % 100 + n->anno;
  if (indicato > anno + 50) indicato -= 100;
  if (indicato < anno - 50) indicato += 100;
  Avviso(posNascita, [&] {
    return std::string("il codice fiscale indica ") + (n->donna ? "nata" : "nato") + " il " +
           DataLeggibile(Ggmmaaaa(indicato * 10000 + n->mese * 100 + n->giorno)) + ", la data di nascita e' " +
           DataLeggibile(data) + std::string(perche);
  });
}

void Verifica::Valore(uint8_t formato, const char* valore, std::string_view codice, int posizione) {
  using campi::Valore;
  const campi::Formato& f = kCampi.tipi.formati[formato];
  const std::string_view testo(valore, kLungValore);
  const Classi k = ClassiValore(valore);
  auto campo = [&] { return "il campo " + Visibile(codice); };
  // A field written with no value: the agency's own programs leave such a field out, and a datum
  // it requires is then missing.
  const bool vuoto = k.bianchi == 0xFFFF;
  auto senzaValore = [&] {
    Avviso(posizione, [&] {
      return campo() +
             " e' scritto senza valore (16 spazi): un campo vuoto non va scritto; se il dato e' "
             "obbligatorio, l'Agenzia scarta la certificazione";
    });
  };
  switch (f.valore) {
    case Valore::Ignoto:
      // A code of another program: an amount is still an amount.
      if (vuoto) {
        senzaValore();
      } else if (FormaImporto(valore, k) && !ParteInteraValida(k)) {
        Errore(posizione, "importo malformato nel campo " + Visibile(codice) +
                              ": la parte intera deve essere di cifre allineate a destra dopo gli spazi");
      }
      break;
    case Valore::Testo:
      if (vuoto) {
        senzaValore();
      } else if (k.alti != 0) {
        NonAscii(testo, posizione, "nel campo " + Visibile(codice));
      }
      break;
    case Valore::Importo:
      if (!FormaImporto(valore, k) || !ParteInteraValida(k)) {
        Errore(posizione, "importo malformato nel campo " + Visibile(codice) + ": " + Visibile(testo) +
                              " (cifre allineate a destra dopo spazi o zeri, la virgola, due decimali)");
      }
      break;
    case Valore::ImportoIntero:
      if (vuoto) {
        Avviso(posizione, [&] { return campo() + " e' un importo in unita' senza valore (un importo sotto 1)"; });
      } else if (!CifreADestra(k, 16)) {
        Errore(posizione, "importo in unita' malformato nel campo " + Visibile(codice) + ": " + Visibile(testo) +
                              " (cifre allineate a destra dopo gli spazi)");
      }
      break;
    case Valore::Data:
    case Valore::DataNascita:
    case Valore::DataFirma: {
      const std::string_view data = testo.substr(8);
      const bool spazi = (k.bianchi & 0xFF) == 0xFF;
      if (f.valore == Valore::DataFirma && spazi && (Vuota(data) || data == "00000000")) {
        Avviso(posizione, [&] {
          return campo() + " non ha la data della firma (" + Visibile(data) +
                 "): l'Agenzia scarta la certificazione non datata";
        });
      } else if (!spazi || !DataEsistente(data)) {
        Errore(posizione, campo() + " deve avere otto spazi e una data esistente ggmmaaaa, qui " + Visibile(testo));
      } else if (const long giorno = Giorno(data);
                 f.valore == Valore::DataNascita && (giorno < 19000101 || giorno > 20171231)) {
        Avviso(posizione, [&] {
          return campo() + ": data di nascita " + DataLeggibile(data) +
                 " fuori dagli anni 1900-2017: l'Agenzia scarta la certificazione di una persona che non trova "
                 "nella sua anagrafe";
        });
      } else if (f.valore == Valore::DataFirma && oggi_ > 0 && giorno > oggi_) {
        Avviso(posizione, [&] {
          return campo() + ": la data della firma " + DataLeggibile(data) + " viene dopo oggi, " +
                 DataLeggibile(Ggmmaaaa(oggi_)) + ": l'Agenzia scarta la certificazione firmata nel futuro";
        });
      }
      break;
    }
    case Valore::Provincia:
    case Valore::ProvinciaNascita:
    case Valore::Comune: {
      if (vuoto) {
        senzaValore();
        break;
      }
      const bool provincia = f.valore != Valore::Comune;
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
        break;
      }
      if (provincia) {
        // Held to the provinces of 2017-2018 as capital letters; the case is a finding of its own.
        auto maiuscola = [](char c) { return c >= 'a' ? static_cast<char>(c - 'a' + 'A') : c; };
        const char a = maiuscola(valore[0]), b = maiuscola(valore[1]);
        const bool estero = a == 'E' && b == 'E';
        const std::string sigla = Visibile(testo.substr(0, 2));
        if (f.valore == Valore::Provincia && estero) {
          Errore(posizione, cosa + nonValido + " nel campo " + Visibile(codice) + ": " + sigla +
                                " (estero) vale solo per la provincia di nascita; qui ci vuole una provincia italiana");
          break;
        }
        if (!estero && !province::InVigore(a, b)) {
          if (f.valore == Valore::Provincia) {
            Errore(posizione, cosa + nonValido + " nel campo " + Visibile(codice) + ": " + sigla +
                                  " non e' una provincia italiana del 2017-2018");
          } else {
            Avviso(posizione, [&] {
              return cosa + " " + sigla + " nel campo " + Visibile(codice) +
                     " non e' una provincia del 2017-2018: e' giusta solo se e' quella di allora di una "
                     "provincia poi soppressa o rinominata";
            });
          }
          break;
        }
      }
      if (!maiuscole) {
        Avviso(posizione,
               [&] { return cosa + " in minuscolo nel campo " + Visibile(codice) + ": " + Visibile(testo); });
      }
      break;
    }
    case Valore::CodiceFiscale:
      if (vuoto) {
        senzaValore();
      } else {
        CodiceFiscale(testo, posizione, "codice fiscale del campo", false, true, codice);
      }
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
      if (vuoto) {
        senzaValore();
      } else if (f.ammessi.find(valore[0]) == std::string_view::npos || (k.bianchi >> 1) != 0x7FFF) {
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
      // Digits are a number, as the agency reads them: "  5" is "005".
      const bool cifre = f.ammessi == campi::kCifre;
      const bool ammesso = cifre               ? CifreADestra(k, kLungValore)
                           : f.ammessi.empty() ? !Vuota(coda)
                                               : std::all_of(coda.begin(), coda.end(), [&](char c) {
                                                   return f.ammessi.find(c) != std::string_view::npos;
                                                 });
      if (!allineato || !ammesso) {
        const std::string cosa = f.ammessi.empty()  ? "un codice"
                                 : f.ammessi == "1" ? "\"1\""
                                 : cifre            ? "solo cifre, o meno cifre allineate a destra dopo gli spazi"
                                                    : "solo " + Elenco(f.ammessi);
        Errore(posizione, campo() + " deve avere " + Numero(vuote) + " spazi e poi " + Numero(f.larghezza) +
                              (f.larghezza == 1 ? " carattere: " : " caratteri: ") + cosa + ", qui " + Visibile(testo));
      }
      break;
    }
  }
}

}  // namespace quibold
