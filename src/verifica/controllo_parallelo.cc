#include "verifica/controllo_parallelo.h"

#include "verifica/tracciato.h"

namespace quibold {

ControlloParallelo::ControlloParallelo(Verifica& verifica) : verifica_(verifica) {
  riempito_.reserve(kRecordPerBlocco * tracciato::kLungRecord);
  inLavoro_.reserve(kRecordPerBlocco * tracciato::kLungRecord);
  filo_ = std::thread([this] { Lavora(); });
}

ControlloParallelo::~ControlloParallelo() {
  {
    std::lock_guard<std::mutex> chiave(mutex_);
    basta_ = true;
  }
  cambiato_.notify_all();
  if (filo_.joinable()) filo_.join();
}

void ControlloParallelo::Record(std::string_view record) {
  riempito_.insert(riempito_.end(), record.begin(), record.end());
  if (riempito_.size() >= kRecordPerBlocco * tracciato::kLungRecord) Consegna();
}

void ControlloParallelo::Consegna() {
  std::unique_lock<std::mutex> chiave(mutex_);
  cambiato_.wait(chiave, [this] { return !daControllare_; });
  inLavoro_.swap(riempito_);
  riempito_.clear();
  daControllare_ = true;
  chiave.unlock();
  cambiato_.notify_all();
}

void ControlloParallelo::Fine() {
  if (!riempito_.empty()) Consegna();
  {
    std::unique_lock<std::mutex> chiave(mutex_);
    cambiato_.wait(chiave, [this] { return !daControllare_; });
    basta_ = true;
  }
  cambiato_.notify_all();
  filo_.join();
  verifica_.Fine();
}

void ControlloParallelo::Lavora() {
  std::unique_lock<std::mutex> chiave(mutex_);
  while (true) {
    cambiato_.wait(chiave, [this] { return daControllare_ || basta_; });
    if (!daControllare_) return;  // nothing more, and nothing left to check
    chiave.unlock();
    const std::string_view blocco(inLavoro_.data(), inLavoro_.size());
    for (size_t i = 0; i < blocco.size(); i += tracciato::kLungRecord) {
      verifica_.Record(blocco.substr(i, tracciato::kLungRecord));
    }
    chiave.lock();
    daControllare_ = false;
    cambiato_.notify_all();
  }
}

}  // namespace quibold
