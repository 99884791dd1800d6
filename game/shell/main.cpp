// velta: the game. The command line's arguments, joined with single blanks,
// are the one command-line string the game reads: empty, "/D", or a test-play
// line such as "05 00000480 __ed.vtg".
#include "shell/startup.h"

#include <string>

int main(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    // A normal quit ends with status 0, a display that cannot start with 1.
    return runGame(line) == 1 ? 0 : 1;
}
