// Where paths are bytes (and in the build for Windows 9x, which takes them in the ANSI code
// page), the arguments are taken as given.
#include "ReplayArguments.h"

std::vector<std::string> ReplayArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}
