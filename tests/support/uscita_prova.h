// Test support: the writer's output kept in memory, record by record; it can be made to fail.
#pragma once

#include <string>
#include <vector>

#include "telematic/scrittore.h"

namespace quibold::prova {

class UscitaInMemoria : public UscitaRecord {
 public:
  // Keeps record `numero` in place; fails (as a full disk would) from record `guastaDa` on.
  bool Scrivi(int32_t numero, std::string_view record) override {
    if (guastaDa > 0 && numero >= guastaDa) return false;
    if (records.size() < static_cast<size_t>(numero)) records.resize(static_cast<size_t>(numero));
    records[static_cast<size_t>(numero - 1)] = std::string(record);
    return true;
  }
  std::vector<std::string> records;
  int guastaDa = 0;
};

}  // namespace quibold::prova
