// Test support: where this build put the programs that the tests run, and where the clone's
// sources are. They are absolute paths of one clone, so they are compiled into one small file
// that the build generates (luoghi_prova.cc in the build folder), never into the definitions of
// every file: the other files of the tests then compile alike in every clone, and a second
// clone takes them from ccache.
#pragma once

namespace quibold::prova {

extern const char* const kProgrammaQuibold;   // the command line's program
extern const char* const kSorgenti;           // the clone's folder
extern const char* const kFinestraFinta;      // Windows: the window's stand-in; elsewhere ""
extern const char* const kGuastiPrecaricati;  // POSIX: the faults loaded into the program; elsewhere ""

}  // namespace quibold::prova
