// The check of a file that is being written, on a thread of its own: the writer hands over each
// record (a copy, in blocks) and goes on at once; the check sees the records in the order they
// were written. Its findings are read from the check once Fine() has returned.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "verifica/verifica.h"

namespace quibold {

class ControlloParallelo {
 public:
  // REQUIRES: `verifica` outlives this object and is not used by anyone else until Fine().
  explicit ControlloParallelo(Verifica& verifica);
  // Without Fine(), the records not yet checked are dropped.
  ~ControlloParallelo();
  ControlloParallelo(const ControlloParallelo&) = delete;
  ControlloParallelo& operator=(const ControlloParallelo&) = delete;

  // REQUIRES: `record` is a whole record of the file (1900 bytes).
  void Record(std::string_view record);
  // Waits until every record is checked, then ends the check (Verifica::Fine).
  void Fine();
  // REQUIRES: Fine() has returned.
  const Verifica& verifica() const { return verifica_; }

 private:
  static constexpr size_t kRecordPerBlocco = 256;

  // Hands the block being filled to the thread, once it has checked the one before.
  void Consegna();
  void Lavora();

  Verifica& verifica_;
  std::vector<char> riempito_;  // the block the writer fills
  std::vector<char> inLavoro_;  // the block the thread checks

  std::mutex mutex_;
  std::condition_variable cambiato_;
  bool daControllare_ = false;  // inLavoro_ holds records for the thread
  bool basta_ = false;          // no more blocks will come
  std::thread filo_;
};

}  // namespace quibold
