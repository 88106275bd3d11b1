// The tool's arguments, with paths as the game's file code takes them.
#pragma once

#include <string>
#include <vector>

// The arguments after the program's name.
std::vector<std::string> ReplayArguments(int argc, char** argv);
