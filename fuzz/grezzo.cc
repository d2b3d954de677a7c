#include "fuzz/grezzo.h"

#include <algorithm>
#include <cstdint>

#include "fuzz/caso.h"
#include "fuzz/semi.h"
#include "verifica/verifica.h"

namespace quibold::collaudo {
namespace {

constexpr size_t kLungRecord = 1900;
constexpr size_t kMaxMessaggio = 400;  // a finding's message quotes little of the file
constexpr long kOggi = 20180315;       // the day of the check, so that a signature may come after it

int Volte(std::string_view dati) { return dati.empty() ? 1 : ((static_cast<uint8_t>(dati[0]) >> 1) & 63) + 1; }

}  // namespace

std::string FileGrezzo(std::string_view dati, const std::vector<std::string>& basi) {
  if (dati.empty() || !(dati[0] & 1) || basi.empty()) return std::string(dati.substr(std::min<size_t>(1, dati.size())));
  dati.remove_prefix(1);
  std::string file = basi[dati.empty() ? 0 : static_cast<uint8_t>(dati[0]) % basi.size()];
  for (size_t i = 0; i + 4 <= dati.size(); i += 4) {
    const auto b = [&](size_t k) { return static_cast<size_t>(static_cast<uint8_t>(dati[i + k])); };
    file[(b(0) << 16 | b(1) << 8 | b(2)) % file.size()] = dati[i + 3];
  }
  return file;
}

std::vector<std::string> ProvaControllo(std::string_view dati, const std::vector<std::string>& basi) {
  const std::string file = FileGrezzo(dati, basi);
  const int volte = Volte(dati);
  Verifica v(Vaglio::Rapido, kOggi);
  long records = 0;
  for (int k = 0; k < volte; ++k) {
    for (size_t p = 0; p < file.size(); p += kLungRecord, ++records) {
      v.Record(std::string_view(file).substr(p, kLungRecord));
    }
  }
  v.Fine();

  std::vector<std::string> violazioni;
  auto viola = [&](std::string testo) { violazioni.push_back(std::move(testo)); };
  const auto& rilievi = v.Rilievi();
  if (v.Records() != records)
    viola("records counted " + std::to_string(v.Records()) + " of " + std::to_string(records));
  if (rilievi.size() > Verifica::kMaxRilievi) viola(std::to_string(rilievi.size()) + " findings listed");
  const size_t elencati = rilievi.size() - (v.Troncato() ? 1 : 0);
  long errori = 0, avvisi = 0;
  for (size_t i = 0; i < rilievi.size(); ++i) {
    const Rilievo& r = rilievi[i];
    const std::string dove = "finding " + std::to_string(i + 1) + " (" + TestoRilievo(r).substr(0, 120) + ")";
    (r.gravita == Gravita::Errore ? errori : avvisi) += i < elencati;
    if (r.record < 1 || r.record > records + 1 || r.posizione < 1 || r.posizione > static_cast<int>(kLungRecord) + 1) {
      viola(dove + ": no place of the file");
    }
    const Rilievo* prima = i > 0 && i < elencati ? &rilievi[i - 1] : nullptr;
    if (prima && (r.record < prima->record || (r.record == prima->record && r.posizione < prima->posizione))) {
      viola(dove + ": out of file order");
    }
    auto stampabile = [](const std::string& t) {
      return std::all_of(t.begin(), t.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
    };
    if (r.messaggio.empty() || r.messaggio.size() > kMaxMessaggio || !stampabile(r.messaggio)) {
      viola(dove + ": message empty, long or not printable ASCII");
    }
    if (r.dipendente.size() > kMaxMessaggio || !stampabile(r.dipendente)) viola(dove + ": employee not printable");
  }
  if (!v.Troncato() && (errori != v.Errori() || avvisi != v.Avvisi())) {
    viola("listed " + std::to_string(errori) + " errors, " + std::to_string(avvisi) + " warnings of " +
          std::to_string(v.Errori()) + ", " + std::to_string(v.Avvisi()));
  }
  if (v.Troncato() && errori != std::min<long>(v.Errori(), static_cast<long>(elencati))) {
    viola("a full list with " + std::to_string(errori) + " errors of " + std::to_string(v.Errori()));
  }
  if (records == 0 && v.Errori() == 0) viola("an empty file passed");

  // The quick tests of the bytes hide nothing: the file once through each way finds the same.
  Verifica rapida(Vaglio::Rapido, kOggi), completa(Vaglio::Completo, kOggi);
  for (size_t p = 0; p < file.size(); p += kLungRecord) {
    rapida.Record(std::string_view(file).substr(p, kLungRecord));
    completa.Record(std::string_view(file).substr(p, kLungRecord));
  }
  rapida.Fine(), completa.Fine();
  const auto& a = rapida.Rilievi();
  const auto& b = completa.Rilievi();
  const auto diversi = std::mismatch(a.begin(), a.end(), b.begin(), b.end(), [](const Rilievo& x, const Rilievo& y) {
    return TestoRilievo(x) == TestoRilievo(y) && x.dipendente == y.dipendente;
  });
  if (diversi.first != a.end() || diversi.second != b.end() || rapida.Avvisi() != completa.Avvisi()) {
    viola("the quick tests hid a finding: " +
          (diversi.second != b.end() ? TestoRilievo(*diversi.second).substr(0, 120) : std::string("a count")));
  }
  return violazioni;
}

std::vector<std::string> BasiValide() {
  const Banco banco;
  std::vector<std::string> basi;
  for (const Seme& seme : Semi()) {
    Esito esito = ProvaCaso(banco, seme.dati);
    if (esito.riuscito) basi.push_back(std::move(esito.uscita));
  }
  return basi;
}

}  // namespace quibold::collaudo
