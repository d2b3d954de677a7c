// The second fuzzer's case: raw bytes for the check, as another program's file may hold anything.
// The first byte says what the rest is: bit 0 clear, a whole file; set, damage to a file of valid
// records (one of `basi`, the writer's own files of the samples), in groups of four bytes: the
// base (first group only, its first byte), then a position (three bytes, modulo the file's
// length) and the byte put there. Bits 1-6 say how many times the file is fed over again (1-64),
// so that a short input makes a long file. The check must not crash, must keep its findings
// within their cap, every error before a warning, in file order, each at a place of the file,
// its message in printable ASCII, and its counts right; its quick tests of the bytes must hide
// nothing that looking at every value finds (Vaglio::Completo); and the reading employee by
// employee (Prospetto) must count each finding once, for an employee or for the file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quibold::collaudo {

// The file that a case feeds to the check, once.
std::string FileGrezzo(std::string_view dati, const std::vector<std::string>& basi);

// Feeds the case's file to the check as `quibold verifica` does, as many times as it says; what
// the check did wrong, one line each.
std::vector<std::string> ProvaControllo(std::string_view dati, const std::vector<std::string>& basi);

// The valid files: the telematic files the writer makes of the seeds that complete.
std::vector<std::string> BasiValide();

}  // namespace quibold::collaudo
