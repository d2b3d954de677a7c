// Windows-1252, the code page of the archive and of the telematic file. Text stays in bytes;
// these conversions are for the window and the terminal only.
#pragma once

#include <string>
#include <string_view>

namespace quibold {

// UTF-8 text of Windows-1252 bytes. The five bytes that the code page leaves undefined map to
// the control characters of the same value, as Windows does.
std::string Utf8DaCp1252(std::string_view testo);

// Text that may not be UTF-8 (a file name of POSIX is any bytes) as valid UTF-8: what is valid
// UTF-8 stays as it is, and every other byte is read as Windows-1252, as the archive's names
// would be written.
std::string Utf8Valido(std::string_view testo);

// Windows-1252 bytes of UTF-8 text; a character the code page lacks becomes "?".
std::string Cp1252DaUtf8(std::string_view testo);

// Upper case as the code page has it: a-z, the accented small letters 0xE0-0xFE (except 0xF7),
// and 0x9A, 0x9C, 0x9E, 0xFF; every other byte is kept.
char MaiuscolaCp1252(char c);
void MaiuscoloCp1252(std::string& testo);

}  // namespace quibold
