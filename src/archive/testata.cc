#include "archive/testata.h"

#include <algorithm>

#include "recfile/cp1252.h"
#include "recfile/numeri.h"

namespace quibold {

constexpr std::array<CampoTestata, 44> kCampiTestata = {{
    {1, 2, 1},    {2, 3, 1},    {3, 4, 16},    {4, 20, 1},    {5, 21, 24},   {6, 45, 24},   {7, 69, 12},
    {8, 81, 35},  {9, 116, 16}, {10, 132, 2},  {11, 134, 11}, {12, 145, 24}, {13, 169, 24}, {14, 193, 4},
    {15, 197, 4}, {16, 201, 1}, {17, 202, 1},  {18, 203, 2},  {19, 205, 2},  {20, 207, 16}, {21, 223, 1},
    {22, 224, 8}, {23, 232, 1}, {24, 233, 1},  {25, 234, 3},  {26, 237, 8},  {27, 245, 6},  {28, 251, 24},
    {29, 275, 2}, {30, 277, 5}, {31, 282, 24}, {32, 306, 3},  {33, 309, 1},  {34, 310, 12}, {35, 322, 1},
    {36, 323, 1}, {37, 324, 3}, {38, 327, 3},  {39, 330, 12}, {40, 342, 1},  {41, 343, 45}, {42, 388, 17},
    {43, 405, 6}, {44, 411, 3},
}};

// Field k is entry k - 1, and the fields lie back to back over positions 2 to 413.
constexpr bool Contigui() {
  int posizione = 2;
  for (size_t k = 0; k < kCampiTestata.size(); ++k) {
    const CampoTestata& c = kCampiTestata[k];
    if (c.indice != static_cast<int>(k) + 1 || c.posizione != posizione || c.lunghezza < 1) return false;
    posizione += c.lunghezza;
  }
  return posizione == 414;
}
static_assert(Contigui());

std::string_view Posizioni(std::string_view record, int posizione, int lunghezza) {
  size_t inizio = static_cast<size_t>(posizione - 1);
  if (inizio >= record.size()) return {};
  return record.substr(inizio, static_cast<size_t>(lunghezza));
}

std::string_view CampoComeScritto(std::string_view record, IndiceTestata indice) {
  const CampoTestata& c = kCampiTestata[static_cast<size_t>(indice - 1)];
  return Posizioni(record, c.posizione, c.lunghezza);
}

Testata SeparaTestata(std::string_view record) {
  Testata t;
  for (const CampoTestata& c : kCampiTestata) {
    std::string valore(Posizioni(record, c.posizione, c.lunghezza));
    if (!valore.empty() && std::all_of(valore.begin(), valore.end(), [](char x) { return x == 0; })) {
      valore.assign(valore.size(), ' ');
    }
    MaiuscoloCp1252(valore);
    t[static_cast<size_t>(c.indice)] = std::move(valore);
  }
  return t;
}

Testata2 LeggiTestata2(std::string_view record) {
  return {static_cast<int>(ValoreNumerico(Posizioni(record, 2, 1))),
          static_cast<long>(ValoreNumerico(Posizioni(record, 3, 4)))};
}

}  // namespace quibold
